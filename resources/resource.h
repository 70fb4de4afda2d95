// Resource and command identifiers of the program: documents, icons, cursors, bitmaps, tool bars,
// menus, dialogs, strings, commands and control-bar ids.
#pragma once

// The framework's standard command and bar ids (ID_FILE_OPEN, ID_VIEW_STATUS_BAR...).
#include "framework/StdIds.h"

// Tool-bar resources. The resource compiler has no tool-bar statement, so each tool bar is a raw
// resource of type RT_TOOLBAR (241) holding 16-bit little-endian words:
//     version (1), image width, image height, button count, then one command id per button
//     (0 for a separator).
// The button images are the bitmap resource of the same id: a strip of image-width cells, one per
// button that is not a separator, in order, with light grey RGB(192,192,192) as the button face.
#define RT_TOOLBAR_TYPE 241

// JPEG pictures: raw resources of type RT_JPEG_TYPE (11000) holding a whole JFIF file each.
#define RT_JPEG_TYPE 11000
#define IDJ_TITLE_PICTURE 1 // splash window and About box, 529 x 169

// Main frame and the document templates: each id names a menu, an icon and a document string;
// the main frame's also names its accelerator table, tool bar and title.
#define IDR_MAINFRAME 2
#define IDR_EXPLORERTYPE 40 // folder explorer (template 1)
#define IDR_DIBTYPE 41      // still picture (template 2)
#define IDR_GIFTYPE 42      // animated GIF (template 3)
#define IDR_PRINTLIBTYPE 69 // picture-list printing (template 4)
#define IDR_SEARCHTYPE 400  // search results (template 5)

// Context menus: one menu whose pop-ups are taken by position.
#define IDR_CONTEXTMENUS 232
#define CONTEXT_EXPLORER_LIST 0
#define CONTEXT_PICTURE_VIEW 1
#define CONTEXT_ANIMATION_VIEW 2
#define CONTEXT_LOCAL_TOOLBAR 3
#define CONTEXT_STANDARD_TOOLBAR 4
#define CONTEXT_LIBRARY_SELECTION 5
#define CONTEXT_LIBRARY_VIEW 6
#define CONTEXT_DIALOG_BAR 7
#define CONTEXT_LIBRARY_LIST 8
#define CONTEXT_LIBRARY_TREE 9
#define CONTEXT_FAVORITES 10
#define CONTEXT_ARRANGEMENT 11
#define CONTEXT_WEB 12
#define CONTEXT_EXPLORER_SELECTION 13

// Shared icons (32 x 32 and 16 x 16).
#define IDI_PICTURE_UNREADABLE 172 // drawn for a picture that could not be read
#define IDI_RESIZE_LEFTRIGHT 155   // library bar splitter, used as a cursor
#define IDI_RESIZE_UPDOWN 335      // library bar splitter, used as a cursor
#define IDI_GENERIC_FILE 295       // a file whose type has no registered icon

// Shared cursors (32 x 32).
#define IDCUR_APP_ARROW 395 // the main window class's cursor
#define IDCUR_DRAG_MOVE_ONE 394
#define IDCUR_DRAG_MOVE_MANY 393
#define IDCUR_DRAG_COPY_ONE 392
#define IDCUR_DRAG_COPY_MANY 391
#define IDCUR_DRAG_NO_DROP 396
#define IDCUR_PICTURE_POINT 397 // a point on a shown picture
#define IDCUR_ZOOM 302
#define IDCUR_HAND 158       // over tool-bar buttons and the cool-bar logo
#define IDCUR_BUSY 267       // busy cursor, kind 0
#define IDCUR_BUSY_ARROW 282 // kind 1: working in the background

// Bitmaps.
#define IDB_FILETYPES 338      // 16 x 16 file-type icons; image n = file-type code n - 1, magenta mask
#define IDB_GAUGE 155          // progress gauge, 11 x 14: edge 0, filled cell 1-4, empty cell 5-8, edge 9-10
#define IDB_STATUS_ICONS 220   // 12 x 12 status-pane icons every 13 pixels
#define IDB_COOLBAR_NORMAL 229 // cool-bar tool band, 28 x 20 cells, magenta mask
#define IDB_COOLBAR_HOT 190
#define IDB_COOLBAR_DISABLED 358
#define IDB_COOLBAR_BACKGROUND 356
#define IDB_LOGO_ANIMATION 26577 // 30 frames of 40 x 40 side by side
#define IDB_LOGO_ANIMATION16 357 // the same in the 16 standard colours
#define IDB_CHECKERBOARD 26578   // 8 x 8 white and light-grey dither of checked buttons
#define IDB_DIGITS 264           // 144 x 15 digit strip of the animation bar's displays
#define IDB_COLOR_ARROW 173      // 46 x 14: the colour button's arrow, normal then disabled

// Thumbnail lists: card backgrounds (normal / selected, with a thumbnail / with the camera
// placeholder), the type-icon strips and the two busy animations (AVI resources).
#define IDB_CARD_LARGE 180            // 109 x 121
#define IDB_CARD_LARGE_EMPTY 205      // 109 x 121, no thumbnail
#define IDB_CARD_LARGE_SEL 192        // 109 x 121, selected
#define IDB_CARD_LARGE_SEL_EMPTY 209  // 109 x 121, selected, no thumbnail
#define IDB_CARD_MEDIUM 196           // 87 x 90
#define IDB_CARD_MEDIUM_EMPTY 211     // 87 x 90, no thumbnail
#define IDB_CARD_MEDIUM_SEL 202       // 87 x 90, selected
#define IDB_CARD_MEDIUM_SEL_EMPTY 231 // 87 x 90, selected, no thumbnail
#define IDB_TYPE_STRIP32 26579        // 13 cells of 32 x 32: unreadable, then 12 picture types
#define IDB_TYPE_STRIP16 246          // 17 cells of 16 x 16: those 13 and four trash icons
#define IDR_AVI_LOADING 258           // a folder loading, 100 x 60 at most, 15 frames
#define IDR_AVI_LOCKED 401            // the locked protected folder

// The file-type strip's layout.
#define FILETYPE_IMAGE_SIZE 16
#define FILETYPE_IMAGE_COUNT 52
#define FILETYPE_IMAGE_UNKNOWN 0
#define FILETYPE_IMAGE_FOLDER 1

// Open dialog with preview: the template placed under the standard open dialog.
#define IDD_OPEN_PREVIEW 270
#define IDC_OPEN_SHOW_PREVIEW 1166
#define IDC_OPEN_PREVIEW_BOX 1168
#define IDC_OPEN_STANDARD_AREA 1119 // stc32: where the standard dialog's controls go
#define WM_OPEN_PREVIEW_LOAD 1125   // WM_USER + 101, posted to load the selected picture

// Strings.
#define IDS_STATUS_TOTAL_COUNT 10 // "Total: %d Images (%s)" of the explorer and search panes
#define IDS_STATUS_SELECTED_COUNT 11
#define IDS_PREFERENCES_CAPTION 13
#define IDS_FAVORITE_FOLDER 14    // Dossier "%s"
#define IDS_FAVORITE_PICTURE 15   // Image "%s"
#define IDS_PROGRESS_JPEG_READ 16 // gauge texts
#define IDS_PROGRESS_JPEG_WRITE 19
#define IDS_COPY_NAME_FORMAT 20 // "%s (copie %%d)": a free name for a copy
#define IDS_PROGRESS_COPY 22
#define IDS_PROGRESS_ADD 23
#define IDS_PROGRESS_MOVE 24
#define IDS_PROGRESS_EXPORT 25
#define IDS_PRINT_SELECTION_COUNT 32 // subtitles of a printed picture list
#define IDS_PRINT_TOTAL_COUNT 34
#define IDS_TOOLBAR_STANDARD 35
#define IDS_LIBRARY_BAR 36
#define IDS_PRODUCT_NAME 37 // the library tree's root
#define IDS_PICTURE_PROPERTIES 39
// String 40, the selection properties title, is also the explorer template's document string.
#define IDS_RENAME_BASE_NAME 43
#define IDS_TRASH_DELETED_FROM 46 // a trash item's line: deletion date and former folder
#define IDS_RESTORE_FILE_FAILED 49
#define IDS_RESTORE_FOLDER_FAILED 50
#define IDS_COUNT_ONE_PICTURE 51 // counts of the library list's status panes
#define IDS_COUNT_PICTURES 52
#define IDS_COUNT_ONE_SELECTED 53
#define IDS_COUNT_SELECTED 54
#define IDS_RENAME_NAME_TAKEN 55
#define IDS_RENAME_FAILED 56
#define IDS_PROFILE_NAME 57 // "Tessarine 3.0": the settings key under the company key
#define IDS_MACHINE_INI 58  // the INI file of the machine-wide settings
#define IDS_LIBRARY_TITLE 64
#define IDS_COPY_FAILED 65
#define IDS_NEW_FOLDER_LABEL 66
#define IDS_MOVE_FAILED 67
#define IDS_PROGRESS_DELETE 68
#define IDS_TYPED_PATH_NO_DRIVE 71
#define IDS_BROWSE_LIBRARY_FOLDER 81
#define IDS_BROWSE_EXPORT_FOLDER 82
#define IDS_IMPORT_TITLE 83
#define IDS_ANIM_CAPTION_FRAME 84 // captions of the animation bar's displays
#define IDS_PICTURE_PIXELS 85
#define IDS_PROGRESS_PNG_WRITE 88
#define IDS_ANIM_CAPTION_TIME 98
#define IDS_ANIM_CAPTION_TOTAL 100
#define IDS_ANIM_SPEED 102 // "%d ips"
#define IDS_COMCTL_INSTALLED 108
#define IDS_FILTER_PROGRAMS 124
#define IDS_BROWSE_TITLE 125
#define IDS_NO_EXTERNAL_EDITOR 126
#define IDS_DOCUMENT_OPEN_FAILED 128
#define IDS_DOCUMENT_MISSING 130
#define IDS_DOCUMENT_TYPE_UNKNOWN 40290  // a file of no known type asked to open
#define IDS_DOCUMENTS_TYPE_UNKNOWN 40291 // several of them, in one drop or one open
#define IDS_PASTE_UNREADABLE 40292       // a clipboard picture that cannot be read
#define IDS_CREATE_FOLDER_FAILED 156
#define IDS_SEARCH_NO_MATCH 185
#define IDS_SEARCH_CONFIRM_STOP 186
#define IDS_SEARCH_NO_CRITERIA 187
#define IDS_FILESIZE_BYTES 244 // size texts: short value, then the exact count
#define IDS_FILESIZE_KB 245
#define IDS_FILESIZE_MB 246
#define IDS_FILE_DATE 247 // day, month, year, hour, minute, second
#define IDS_FOLDER_NAME_TAKEN 248
#define IDS_FILESIZE_BYTES_SHORT 249
#define IDS_FILESIZE_KB_SHORT 250
#define IDS_FILESIZE_MB_SHORT 251
#define IDS_RECENTS_CONFIRM_CLEAR 339
#define IDS_FAVORITE_EXISTS 340
#define IDS_FAVORITE_NAME_TAKEN 341
#define IDS_FAVORITE_CONFIRM_EDIT 342
#define IDS_PROGRESS_BMP_WRITE 359
#define IDS_PROGRESS_BMP_READ 360
#define IDS_TYPE_BMP 361
#define IDS_TYPE_JPEG 362
#define IDS_TYPE_PHOTOCD 363
#define IDS_TYPE_PCX 364
#define IDS_TYPE_PICT 365
#define IDS_TYPE_PNG 366
#define IDS_TYPE_TARGA 367
#define IDS_TYPE_TIFF 368
#define IDS_TYPE_GIF 369
#define IDS_TYPE_WMF 370
#define IDS_TYPE_IFF 371
#define IDS_FILTER_BMP 372
#define IDS_FILTER_JPEG 373
#define IDS_FILTER_PHOTOCD 375
#define IDS_FILTER_PCX 376
#define IDS_FILTER_PICT 377
#define IDS_FILTER_PNG 378
#define IDS_FILTER_TARGA 379
#define IDS_FILTER_TIFF 380
#define IDS_FILTER_GIF 381
#define IDS_FILTER_WMF 382
#define IDS_FILTER_IFF 383
#define IDS_FOLDER_PICTURES 384  // "Images"
#define IDS_FOLDER_FAVORITES 385 // "Images Favorites"
#define IDS_FOLDER_PROTECTED 386 // the protected-pictures folder
#define IDS_FOLDER_TRASH 387     // the trash folder
#define IDS_TYPE_UNKNOWN 55014   // a file of no known type
#define IDS_ABOUT_MEMORY 55015
#define IDS_PICTURE_IN_FOLDER 55029 // title of a library picture
#define IDS_PASSWORD_OLD_WRONG 55060
#define IDS_PASSWORD_VERIFY_FAILED 55077
#define IDS_PRODUCT_BANNER 55078 // product name and version, the footer of printed lists
#define IDS_PRINT_PAGE_NUMBER 55079
#define IDS_PASSWORD_REFUSED 55081
#define IDS_PASSWORD_NOT_SET 55083
#define IDS_PASSWORD_SAVED 55085
#define IDS_PASSWORD_NONE 55087
#define IDS_PROGRESS_PASTE 55094
#define IDS_PLEASE_WAIT 55096   // "Patientez ..."
#define IDS_PICTURE_TITLE 55097 // "%dx%d - %s"
#define IDS_DEPTH_MONO 55098
#define IDS_DEPTH_16 55099
#define IDS_DEPTH_256 55100
#define IDS_DEPTH_65536 55101
#define IDS_DEPTH_16M 55102
#define IDS_ABOUT_VIDEO 55103
#define IDS_DEPTH_RECOMMENDED 55105
#define IDS_WELCOME_TIP_TITLE 55122
#define IDS_DEPTH_32768 55144
#define IDS_DEPTH_32 55145
#define IDS_FILTER_ALL_PICTURES 55147
#define IDS_FILTER_ALL_FILES 55148
#define IDS_SAVE_JPEG_CANNOT_CREATE 55149 // empty: the box shows the path alone
#define IDS_COPY_CANNOT_OPEN_SOURCE 55152
#define IDS_COPY_CANNOT_CREATE_TARGET 55153
#define IDS_COPY_READ_ERROR 55154
#define IDS_COPY_WRITE_ERROR 55155
#define IDS_FILTER_SOUNDS 55176
#define IDS_PICTURE_STATUS 55177
#define IDS_SAVE_PICTURE_FAILED 55178
#define IDS_ANIM_TITLE 55179 // title of an animated picture: size and play state
#define IDS_SCANNER_MANAGER_FAILED 40600
#define IDS_SCANNER_SOURCE_FAILED 40601
#define IDS_SCANNER_ENABLE_FAILED 40602
#define IDS_MUSIC_CANNOT_PLAY 40603
#define IDS_OPEN_TITLE 55180
#define IDS_EXPLORER 55181
#define IDS_EXPLORER_FOLDER_GONE 40330 // the explorer's title once its folder is gone
#define IDS_TYPE_ZCB 55502
#define IDS_TYPE_AIF 55503
#define IDS_TYPE_ANI 55504
#define IDS_TYPE_ASF 55505
#define IDS_TYPE_ASP 55506
#define IDS_TYPE_AU 55507
#define IDS_TYPE_AVI 55508
#define IDS_TYPE_CUR 55510
#define IDS_TYPE_FLC 55511
#define IDS_TYPE_FLI 55512
#define IDS_TYPE_FLASHPIX 55513
#define IDS_TYPE_HTML 55515
#define IDS_TYPE_ZIB 55516
#define IDS_TYPE_ICO 55517
#define IDS_TYPE_ILBM 55520
#define IDS_TYPE_MIDI 55521
#define IDS_TYPE_MOD 55522
#define IDS_TYPE_QUICKTIME 55523
#define IDS_TYPE_MP3 55524
#define IDS_TYPE_MPEG 55525
#define IDS_TYPE_PSD 55530
#define IDS_TYPE_QTIF 55531
#define IDS_TYPE_RA 55532
#define IDS_TYPE_RAM 55533
#define IDS_TYPE_RM 55534
#define IDS_TYPE_RMI 55535
#define IDS_TYPE_RT 55536
#define IDS_TYPE_S3M 55537
#define IDS_TYPE_SMI 55538
#define IDS_TYPE_SND 55539
#define IDS_TYPE_ZSV 55540
#define IDS_TYPE_SWF 55541
#define IDS_TYPE_WAV 55544
#define IDS_TYPE_WMA 55545
#define IDS_TYPE_WM 55547
#define IDS_TYPE_WMV 55548
#define IDS_TYPE_XM 55549

// Control bars and their children.
#define ID_COOLBAR 59406 // AFX_IDW_CONTROLBAR_FIRST + 14
#define ID_LIBRARY_BAR 59407
#define ID_COOLBAND_TOOLS 1000
#define ID_COOLBAND_RECENTS 1002
#define ID_COOLBAND_LOGO 1003
#define ID_INDICATOR_INFO 54990 // the information panes of the status bar

// Favourites menu items: ID_FAVORITE_FIRST + index in the favourites list.
#define ID_FAVORITE_FIRST 50000
#define ID_FAVORITE_LAST 50500

// Commands of the program.
#define ID_ANIM_PLAY_PAUSE 32773
#define ID_EXPLORER_SLIDESHOW 32786
#define ID_VIEW_FULLSCREEN 32789
#define ID_ZOOM_IN 32791
#define ID_ZOOM_OUT 32792
#define ID_PREFERENCES 32795
#define ID_EXPLORER_OPEN 32800
#define ID_ANIM_REPEAT 32806
#define ID_EXPLORER_PROPERTIES 32808
#define ID_VIEW_ACTUAL_SIZE 32810
#define ID_VIEW_PROPORTIONAL 32812
#define ID_VIEW_FIT_WINDOW 32814
#define ID_FILE_PRINT_POSTER 32816
#define ID_ANIM_PLACEHOLDER 32818 // the animation bar's last button, made a separator at creation
#define ID_FILE_PRINT_POSTER_PREVIEW 32820
#define ID_WINDOW_REORGANIZE 32825
#define ID_EXPLORER_SORT_NAME 32827
#define ID_EXPLORER_SORT_TYPE 32829
#define ID_EXPLORER_SORT_SIZE 32831
#define ID_EXPLORER_SORT_DATE 32833
#define ID_EXPLORER_SORT_DESCENDING 32835
#define ID_EXPLORER_SORT_ASCENDING 32837
#define ID_EXPLORER_AUTO_PREVIEW 32839
#define ID_EXPLORER_PREVIEW 32842
#define ID_EXPLORER_AUTO_FULLSCREEN 32847
#define ID_EXPLORER_OPEN_FULLSCREEN 32849
#define ID_WINDOW_AUTO_REORGANIZE 32850
#define ID_EXPLORER_VIEW_LARGE 32851
#define ID_EXPLORER_VIEW_MEDIUM 32853
#define ID_EXPLORER_VIEW_SMALL 32855
#define ID_EXPLORER_VIEW_LIST 32857
#define ID_EXPLORER_PARENT 32859
#define ID_HELP_WELCOME 32861
#define ID_VIEW_LIBRARY_BAR 32873
#define ID_VIEW_LOCAL_TOOLBAR 32881
#define ID_LIB_RESERVED1 32887
#define ID_LIB_RESERVED2 32888
#define ID_LIB_SHOW_ROOT_FOLDER 32889
#define ID_RESERVED_32900 32900
#define ID_ANIM_SLIDER 32901
#define ID_ANIM_POSITION 32903
#define ID_ANIM_TOTAL 32904
#define ID_ANIM_TIME_DISPLAY 32905
#define ID_ANIM_SPEED 32906
#define ID_WINDOW_FULL 32911
#define ID_WEB_HOME 32914
#define ID_LIB_VIEW_MENU 32933
#define ID_LIB_NEW_FOLDER 32934
#define ID_VIEW_STANDARD_TOOLBAR 32935
#define ID_HIDE_LOCAL_TOOLBAR 32937
#define ID_HIDE_STANDARD_TOOLBAR 32939
#define ID_LIB_SELECT_ALL 32943
#define ID_LIB_DESELECT_ALL 32945
#define ID_LIB_INVERT_SELECTION 32947
#define ID_FAVORITES_ADD 32951
#define ID_FAVORITES_EDIT 32953
#define ID_COOL_FAVORITES 32955
#define ID_COOL_ARRANGEMENT 32958
#define ID_COOL_INTERNET 32961
#define ID_WEB_SUPPORT 32964
#define ID_NEW_EXPLORER 32971
#define ID_WEB_PRODUCT 32972
#define ID_WINDOW_MOSAIC 32975
#define ID_LIB_OPEN_PICTURE 32976
#define ID_LIB_PARENT_FOLDER 32977
#define ID_LIB_PROPERTIES 32979
#define ID_LIB_SELECTION_MENU 32980
#define ID_LIB_DESELECT_PATTERN 32983
#define ID_LIB_SELECT_PATTERN 32984
#define ID_LIB_VIEW_LARGE 32985
#define ID_LIB_VIEW_MEDIUM 32986
#define ID_LIB_VIEW_SMALL 32987
#define ID_LIB_VIEW_LIST 32988
#define ID_LIB_SORT_NAME 32989
#define ID_LIB_SORT_TYPE 32990
#define ID_LIB_SORT_SIZE 32991
#define ID_LIB_SORT_DATE 32992
#define ID_LIB_SORT_ASCENDING 32993
#define ID_LIB_SORT_DESCENDING 32994
#define ID_LIB_ADD_JPEG 32996
#define ID_LIB_ADD_UNCOMPRESSED 32998
#define ID_LIB_ADD_PNG 32999
#define ID_LIB_DELETE 33002
#define ID_LIB_RENAME 33003
#define ID_LIB_EMPTY_DELETED 33004
#define ID_LIB_ERASE 33005
#define ID_LIB_RECOVER 33006
#define ID_LIB_REFRESH 33007
#define ID_LIB_OPEN_FOLDER 33008
#define ID_LIB_SLIDESHOW 33009
#define ID_LIB_AUTO_FULLSCREEN 33010
#define ID_LIB_OPEN_FULLSCREEN 33011
#define ID_EXPLORER_ADD_TO_LIBRARY 33012
#define ID_EXPLORER_NEW_FOLDER 33013
#define ID_EXPLORER_DELETE 33014
#define ID_EXPLORER_SELECTION_MENU 33015
#define ID_EXPLORER_SELECT_PATTERN 33016
#define ID_EXPLORER_DESELECT_PATTERN 33017
#define ID_EXPLORER_SELECT_ALL 33018
#define ID_EXPLORER_DESELECT_ALL 33019
#define ID_EXPLORER_INVERT_SELECTION 33020
#define ID_PICTURE_ADD_TO_LIBRARY 33024
#define ID_PROTECTED_PASSWORD 33025
#define ID_LIB_IMPORT 33026
#define ID_LIB_EXPORT 33027
#define ID_LIB_PRINT 33028
#define ID_LIB_SEARCH 33030
#define ID_EXPLORER_EDIT_PICTURE 33033
#define ID_LIB_EDIT_PICTURE 33034
#define ID_SEARCH_EXPORT 33036
#define ID_EDIT_PASTE_NEW 33037
#define ID_LIB_COPY 33038
#define ID_EXPLORER_REFRESH 33039
#define ID_TWAIN_ACQUIRE 33040
#define ID_TWAIN_SELECT_SOURCE 33041
#define ID_WEB_PRODUCTS 33043
#include "resources/dialogs-ids.h"

// The library's trash and replace questions.
#include "resources/library-store-ids.h"

// Identifiers of the main window's commands and favourites dialogs.
#include "resources/commands-ids.h"

// The library bar, its tree and the protected folder.
#include "resources/library-bar-ids.h"

// The pattern dialogs and the library search.
#include "resources/search-ids.h"
