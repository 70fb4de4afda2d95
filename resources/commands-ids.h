// Identifiers of the favourites dialogs and of the messages of the main window's commands.
#pragma once

#define IDI_FAVORITES 332 // the icon of the favourites dialogs

#define IDD_ADD_FAVORITE 348
#define IDD_RENAME_FAVORITE 349
#define IDD_EDIT_FAVORITES 350
#define IDC_FAVORITE_TEXT 1080 // "... '%s' ..." filled with the document's title
#define IDC_FAVORITE_LIST 1211
#define IDC_FAVORITE_NAME 1251
#define IDC_FAVORITE_RENAME 1268
#define IDC_FAVORITE_DELETE 1271

#define IDS_TYPED_PATH_TOO_LONG 72   // a path typed in the "Récents" box longer than a path can be
#define IDS_FAVORITE_NAME_REFUSED 73 // a favourite name with "|", a separator, ".." or a forbidden character
