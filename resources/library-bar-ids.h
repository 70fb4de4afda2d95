// Identifiers of the library bar: its folder tree's icons, its two tool bars and the password
// dialogs of the protected folder.
#pragma once

// ---- the folder tree ----
#define IDB_LIBRARY_TREE                                                                                     \
    151 // 7 cells of 16 x 16, magenta mask: root, the four fixed folders, closed and open folder
#define IDS_FOLDER_NAME_REFUSED 55189

// ---- tool bars of the bar (raw RT_TOOLBAR resources with bitmaps of the same ids) ----
#define IDR_LIBBAR_TOOLS1 233 // 15 x 15: new folder, delete, the three add modes
#define IDR_LIBBAR_TOOLS2 234 // 16 x 16: the picture commands
#define ID_LIBBAR_TOOLHOST 103
#define ID_LIBBAR_STATUSLINE 105
#define ID_LIBBAR_LIST 101
#define ID_LIBBAR_TREE 103

// ---- protected folder ----
#define IDI_PASSWORD 305
#define IDD_ENTER_PASSWORD 136
#define IDC_PASSWORD_ENTER 1064
#define IDD_SET_PASSWORD 137
#define IDC_PASSWORD_OLD 1065
#define IDC_PASSWORD_NEW 1066
#define IDC_PASSWORD_VERIFY 1067
#define IDC_PASSWORD_OLD_LABEL 1080
#define IDC_PASSWORD_NEW_LABEL 1123
#define IDC_PASSWORD_VERIFY_LABEL 1125
