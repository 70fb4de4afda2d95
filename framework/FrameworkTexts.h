// The framework's own French texts (idle prompt, default titles, validation and document messages),
// kept in one table.
#pragma once
#include "framework/String.h"

// Ids of the framework texts. They lie above the program's own string ids.
enum : UINT {
    AFX_IDS_IDLEMESSAGE = 0xF000, // "Prêt"
    AFX_IDS_UNTITLED,             // title of a document without a name
    AFX_IDP_PARSE_INT,
    AFX_IDP_PARSE_UINT,
    AFX_IDP_PARSE_INT_RANGE,   // %1, %2: the bounds
    AFX_IDP_PARSE_STRING_SIZE, // %1: the most characters allowed
    AFX_IDP_PARSE_RADIO_BUTTON,
    AFX_IDP_ASK_TO_SAVE, // %1: the document's title
    AFX_IDP_FAILED_TO_OPEN_DOC,
    AFX_IDP_FAILED_TO_SAVE_DOC,
    AFX_IDP_FAILED_TO_CREATE_DOC,
    AFX_IDP_INTERNAL_FAILURE,
    AFX_IDP_COMMAND_FAILURE,
    AFX_IDS_ALLFILTER, // "Tous les fichiers (*.*)"
    // Printing and print preview.
    AFX_IDP_NO_PRINTER,
    AFX_IDP_PRINT_FAILED,
    AFX_IDP_PRINT_NOTHING,
    AFX_IDS_PRINT_STATUS_TITLE,
    AFX_IDS_PRINT_STATUS_DOC,     // %1: the document
    AFX_IDS_PRINT_STATUS_PRINTER, // %1: the printer, %2: its port
    AFX_IDS_PRINT_STATUS_PAGE,    // %u: the page
    AFX_IDS_CANCEL,
    AFX_IDS_PREVIEW_TITLE,
    AFX_IDS_PREVIEW_PRINT,
    AFX_IDS_PREVIEW_NEXT,
    AFX_IDS_PREVIEW_PREV,
    AFX_IDS_PREVIEW_TWO_PAGES,
    AFX_IDS_PREVIEW_ONE_PAGE,
    AFX_IDS_PREVIEW_ZOOM_IN,
    AFX_IDS_PREVIEW_ZOOM_OUT,
    AFX_IDS_PREVIEW_CLOSE,
    AFX_IDS_PREVIEW_PAGE,  // %u
    AFX_IDS_PREVIEW_PAGES, // %u-%u
    // The file dialogs.
    AFX_IDP_FILE_NAME_TOO_LONG,    // %u: the most characters of a full path
    AFX_IDP_FILE_NAME_UNSPELLED,   // %s: a file's name with a letter the code page lacks
    AFX_IDP_FOLDER_NAME_UNSPELLED, // %s: a folder's name or path likewise
    AFX_IDS_FRAMEWORK_LAST
};

// The framework text with that id, or null for any other id.
LPCSTR AfxFrameworkText(UINT nID);

// A framework text, or the program's string-table entry for any other id (empty when there is none).
CString AfxLoadText(UINT nID);
