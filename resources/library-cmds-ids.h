// Identifiers of the library's commands: the picture properties sheet and its pages, the rename
// dialogs of pictures and folders, and the folder deletion confirmation.
#pragma once

// ---- picture properties sheet ----
// The caption of the several-pictures and selection sheets is string 40 (IDR_EXPLORERTYPE).
#define IDS_SELECTION_PROPERTIES 40
#define IDD_PICPROP_IMAGE 356
#define IDD_PICPROP_COMMENT 357
#define IDD_PICPROP_SELECTION 358
#define IDD_PICPROP_IDENTITY 359
#define IDD_PICPROP_PREVIEW 360
#define IDI_PICPROP_IMAGE 385
#define IDI_PICPROP_SELECTION 169 // the icon of the pattern dialogs (search.rc)
#define IDI_PICPROP_IDENTITY 386
#define IDI_PICPROP_COMMENT 291
#define IDI_PICPROP_PREVIEW 387
// page Image
#define IDC_PICPROP_FOLDER 1291
#define IDC_PICPROP_FILE_NAME 1290
#define IDC_PICPROP_FORMAT 1292
#define IDC_PICPROP_FILE_SIZE 1293
#define IDC_PICPROP_DIMENSIONS 1295
#define IDC_PICPROP_DEPTH 1294
#define IDC_PICPROP_MEMORY 1296
#define IDC_PICPROP_MODIFIED 1297
// page Sélection
#define IDC_PICPROP_COUNT 1117
#define IDC_PICPROP_TOTAL_SIZE 1129
// page Identité
#define IDC_PICPROP_NAME 1292
#define IDC_PICPROP_AUTHOR 1294
#define IDC_PICPROP_KEYWORDS 1295
// page Commentaire
#define IDC_PICPROP_COMMENT 1111
// page Aperçu, and the rename dialog's preview
#define IDC_PICTURE_PREVIEW 1168

// ---- renaming ----
#define IDD_RENAME_PICTURES 279
#define IDD_RENAME_PICTURE 282
#define IDD_DELETE_FOLDER 284
#define IDD_RENAME_FOLDER 287
#define IDI_RENAME_FOLDER 306
#define IDC_RENAME_NAME 1065
#define IDC_RENAME_ZERO_PAD 1293
#define IDC_RENAME_LIST 1042
#define IDC_RENAME_FOLDER_NAME 1162
#define IDC_DIALOG_ILLUSTRATION 1206
#define IDC_DELETE_FOLDER_TITLE 1027
#define IDC_DELETE_FOLDER_TEXT 1026
#define IDC_DELETE_FOLDER_NAME 1034
#define IDS_NAME_REFUSED 55240
#define IDS_TEXTS_NOT_KEPT 40200             // status line: a picture's texts cannot be kept
#define IDS_PROPERTIES_NOT_SAVED 40201       // the properties sheet could not write a record
#define IDS_PROPERTIES_RECORD_OF_OTHER 40202 // the record file is the other picture's of that name
#define IDS_PROPERTIES_CLOSE 40203           // the closing button of a sheet that only shows
#define IDS_SET_ASIDE_KEPT 40210             // listing: a file set aside could not take its name back
#define IDS_SET_ASIDE_KEPT_MANY 40211        // the same for several files, listed after the text
#define IDS_PROPERTIES_RETRY 40240           // the sheet comes back with the texts typed
#define IDS_PROPERTIES_NOT_KEPT 40241        // no retry: the texts typed are not kept
#define IDS_RENAME_FOLDER_TAKEN 40700
#define IDS_RENAME_FOLDER_FAILED 40701
#define IDS_CREATE_LIBRARY_FOLDER_FAILED 40702
// ---- export ----
#define IDS_EXPORT_DONE_NONE 40703
#define IDS_EXPORT_DONE_ONE 40704
#define IDS_EXPORT_DONE_MANY 40705
