// Identifiers of the library's record and trash storage: the trash dialogs, the replace questions,
// their icons and their messages.
#pragma once

// ---- trash ----
#define IDD_DELETE_NOTICE 361
#define IDC_DELETE_NOTICE_DONT_SHOW 1200
#define IDD_RECOVER_CONFIRM 363
#define IDD_ERASE_CONFIRM 364
#define IDD_EMPTY_TRASH_CONFIRM 365
#define IDI_TRASH_QUESTION 300 // dialogs 361, 363 and 364
#define IDI_TRASH_EMPTY 389    // dialog 365
#define IDS_TRASH_FULL 55186
#define IDS_TRASH_MOVE_FAILED 55187
#define IDS_TRASH_ERASE_FAILED 55188
#define IDS_TRASH_EMPTY_PARTIAL 40305
#define IDS_TRASH_RECORD_LEFT 40306
#define IDS_RESTORE_TEXTS_KEPT 40307
#define IDS_TRASH_KEPT_UNSPELLED 40320 // a folder kept whole: it holds a name the code page cannot spell

// ---- failures of file operations ----
#define IDS_FOLDER_NOT_REPLACED 40300
#define IDS_BATCH_GO_ON 40301
#define IDS_BATCH_SUMMARY 40302
#define IDS_BATCH_SUMMARY_MORE 40303
#define IDS_BATCH_SUMMARY_ONE_MORE 40840
#define IDS_ADD_FAILED 40304

// ---- why a file step failed ----
#define IDS_CAUSE_DISK_FULL 40230
#define IDS_CAUSE_READ_ONLY 40231
#define IDS_CAUSE_WRITE_PROTECTED 40232
#define IDS_CAUSE_HELD 40233
#define IDS_CAUSE_FOLDER_THERE 40234
#define IDS_CAUSE_FILE_THERE 40235
#define IDS_CAUSE_PATH_NOT_FOUND 40236
#define IDS_CAUSE_FILE_NOT_FOUND 40237
#define IDS_CAUSE_ACCESS_DENIED 40238
#define IDS_CAUSE_SYSTEM_ERROR 40239
#define IDS_CAUSE_NAME_TOO_LONG 40242
#define IDS_CAUSE_INVALID_NAME 40243
#define IDS_CAUSE_NOT_IN_TRASH 40244         // a restore of an item whose files the trash no longer holds
#define IDS_CAUSE_FOLDER_NAME_TOO_LONG 40245 // a folder's name, as typed, makes a path too long
#define IDS_CAUSE_UNSPELLED_NAME 40810

// ---- replace questions ----
#define IDD_FILE_REPLACE 347
#define IDD_FOLDER_REPLACE 362
#define IDI_FILE_REPLACE 294
#define IDI_FOLDER_REPLACE 388
#define IDI_REPLACE_FOLDER 318 // the folder pictures of dialog 362 (the new-folder icon)
#define IDC_REPLACE_TEXT 1080
#define IDC_REPLACE_EXISTING_TEXT 1123
#define IDC_REPLACE_NEW_TEXT 1125
#define IDC_REPLACE_EXISTING_ICON 1229
#define IDC_REPLACE_NEW_ICON 1231
#define IDC_REPLACE_IF_NEWER 1287
#define IDC_REPLACE_YES_TO_ALL 1288
#define IDC_REPLACE_NO_TO_ALL 1289
