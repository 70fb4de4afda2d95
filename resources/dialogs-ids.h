// Dialog templates of the preferences sheet and the small dialogs, and their control ids.
#pragma once

// ---- preferences pages ----
#define IDD_PREFS_GENERAL 292
#define IDD_PREFS_TOOLBARS 294
#define IDD_PREFS_LIBRARY 295
#define IDD_PREFS_EDITOR 213
#define IDD_PREFS_JPEG 331
#define IDD_PREFS_PHOTOCD 352
#define IDD_PREFS_WMF 184

// General
#define IDC_GEN_SHOW_WELCOME 1130
#define IDC_GEN_EXPLORER_AUTO 1113
#define IDC_GEN_INFO_SUPPRESS 1128
#define IDC_GEN_WARN_COLOR16 1127
#define IDC_GEN_WARN_COMPONENTS 1139
#define IDC_GEN_WARN_ASSOC 1138
#define IDC_GEN_MAXIMISE 1112
#define IDC_GEN_COLOR_VIEW 1012
#define IDC_GEN_COLOR_FULLSCREEN 1013

// Tool bars
#define IDC_TB_CLEAR_RECENTS 1264
#define IDC_TB_ANIMATION 1273
#define IDC_TB_BITMAP 1267
#define IDC_TB_TEXT 1270
#define IDC_TB_RECENTS 1261
#define IDC_TB_COOLBAR 1259
#define IDC_TB_DIB_BARS 1053
#define IDC_TB_EXPLORER_BARS 1063
#define IDC_TB_NOTE 1080

// Library and editor pages
#define IDC_PATH_EDIT 1065
#define IDC_PATH_BROWSE 1262

// JPEG
#define IDC_JPEG_COLORS_24 1013
#define IDC_JPEG_COLORS_8 1010
#define IDC_JPEG_COLORS_SCREEN 1016
#define IDC_JPEG_RATE 1161

// Photo CD
#define IDC_PCD_MINI 1000
#define IDC_PCD_MEDIUM 1001
#define IDC_PCD_NORMAL 1004
#define IDC_PCD_MAXI 1005

// WMF
#define IDC_WMF_HEIGHT 1005 // after "&Hauteur :"
#define IDC_WMF_WIDTH 1004  // after "&Largeur :"

// ---- small dialogs ----
#define IDD_LOAD_ERROR 215
#define IDC_LOADERR_PATH 1110
#define IDC_LOADERR_NAME 1099
#define IDC_PICTURE_WARNING 1294
#define IDC_PICTURE_LOGO 1097

#define IDD_SLIDESHOW 224
#define IDC_SLIDE_LOOP 1153
#define IDC_SLIDE_PAUSE 1154
#define IDC_SLIDE_PAUSE_LABEL 1156
#define IDC_SLIDE_SECONDS_LABEL 1157
#define IDC_SLIDE_MANUAL 1151
#define IDC_SLIDE_AUTOMATIC 1152
#define IDC_SLIDE_SIZE_ACTUAL 1015
#define IDC_SLIDE_SIZE_MAX 1021
#define IDC_SLIDE_SIZE_FIT 1052
#define IDC_SLIDE_MUSIC 1155
#define IDC_SLIDE_BROWSE 55182

#define IDD_NEW_FOLDER 297
#define IDC_NEWFOLDER_NAME 1251
#define IDI_NEW_FOLDER 318

#define IDD_CREATE_QUESTION 351
#define IDC_QUESTION_TEXT 1080
#define IDC_QUESTION_NO 1250
#define IDC_QUESTION_DONT_ASK 1200

// ---- about box ----
#define IDD_ABOUT 147
#define IDC_ABOUT_PICTURE 1066
#define IDC_ABOUT_MEMORY 1068
#define IDC_ABOUT_VIDEO 1074
#define IDC_ABOUT_PROGRAM 1080

// ---- welcome window and its tips ----
#define IDD_WELCOME 256
#define IDC_WELCOME_SHOW_AT_START 1129
#define IDC_WELCOME_PICTURE 1285
#define IDC_WELCOME_TIP_PANEL 1133
#define IDC_WELCOME_NEXT_TIP 20
#define IDC_WELCOME_HELP 5
#define IDC_WELCOME_WHY 7
#define IDC_WELCOME_WEB 50
#define IDI_WELCOME_TIP 260

// ---- start-up warnings ----
#define IDC_WARN_DONT_SHOW 1129 // "Ne plus afficher" (ticked: "Toujours afficher" in the colour-depth box)
#define IDC_WARN_TITLE 1140
#define IDC_WARN_SUBTITLE 1226
#define IDC_WARN_PICTURE 1206

#define IDD_ASSOC_WARNING 290
#define IDC_ASSOC_AUTO_CORRECT 1135
#define IDC_ASSOC_PICTURES 1225
#define IDC_ASSOC_CLOSE 1250
#define IDC_ASSOC_DETAIL 1276

#define IDD_VGA16_WARNING 291

#define IDD_COLOR_DEPTH_WARNING 255
#define IDC_DEPTH_TEXT 1133
#define IDC_DEPTH_ADVICE 1143

#define IDD_COMPONENTS_WARNING 354
#define IDC_COMP_PICTURE 1017
#define IDC_COMP_QT_ARROW 1165
#define IDC_COMP_COMCTL_ARROW 1167
#define IDC_COMP_QT_LINE 1026
#define IDC_COMP_COMCTL_LINE 1032
#define IDC_COMP_QT_TEXT 1248
#define IDC_COMP_COMCTL_TEXT 1249
#define IDC_COMP_INSTALL 1286

// ---- picture types to associate ----
#define IDD_DOC_TYPES 355
#define IDC_TYPES_BMP 1200
#define IDC_TYPES_JPEG 1203
#define IDC_TYPES_PNG 1205
#define IDC_TYPES_TIFF 1207
#define IDC_TYPES_GIF 1208
#define IDC_TYPES_PICT 1209
#define IDC_TYPES_PHOTOCD 1210
#define IDC_TYPES_PCX 1212
#define IDC_TYPES_IFF 1214
#define IDC_TYPES_TARGA 1216
#define IDC_TYPES_WMF 1218
#define IDS_COMCTL_INSTALL_FAILED 55190

// ---- the icons of the associated picture kinds ----
// The shell counts a program's icons in id order, so these come right after the main icon (2): the
// icon index n an association registers is the icon with id 2 + n.
#define IDI_FILETYPE_FIRST 3
#define IDI_FILETYPE_BMP 3
#define IDI_FILETYPE_JPEG 4
#define IDI_FILETYPE_PHOTOCD 5
#define IDI_FILETYPE_PCX 6
#define IDI_FILETYPE_PICT 7
#define IDI_FILETYPE_PNG 8
#define IDI_FILETYPE_TARGA 9
#define IDI_FILETYPE_TIFF 10
#define IDI_FILETYPE_GIF 11
#define IDI_FILETYPE_WMF 12
#define IDI_FILETYPE_IFF 13
#define IDI_FILETYPE_LBM 14
