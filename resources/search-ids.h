// Identifiers of the pattern dialogs, the search-criteria dialog and the search-progress dialog.
#pragma once

// ---- select and deselect by pattern ----
#define IDD_SELECT_PICTURES 286
#define IDD_DESELECT_PICTURES 353
#define IDC_PATTERN_COMBO 1171
#define IDC_PATTERN_REPLACE 1187
#define IDI_SELECT_PICTURES 169
#define IDI_DESELECT_PICTURES 170

// ---- search criteria ----
#define IDD_SEARCH_LIBRARY 367
#define IDC_SEARCH_PICTURE 1294 // the illustration "SEARCHPIC"
#define IDC_SEARCH_LOGO 1097    // "ORVANEL8"
#define IDC_SEARCH_INTRO 1203
#define IDC_SEARCH_ASK 1202
#define IDC_SEARCH_NAME 1082
#define IDC_SEARCH_AUTHOR 1083
#define IDC_SEARCH_KEYWORD 1084
#define IDC_SEARCH_COMMENT 1087

// ---- search progress ----
#define IDD_SEARCH_PROGRESS 271
#define IDC_SEARCH_ANIMATION 1003
#define IDC_SEARCH_PROGRESS 1102
#define IDC_SEARCH_FOLDER 1295
#define IDC_SEARCH_FILE 1296
#define IDC_SEARCH_FOUND 1297
#define IDR_SEARCH_ANIMATION 406 // AVI clip of the progress dialog
