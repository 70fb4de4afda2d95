// Dialog templates and pictures of picture, poster and thumbnail-sheet printing, and their control ids.
#pragma once

// The poster dialog.
#define IDD_POSTER 216
#define IDC_POSTER_WIDTH 1116
#define IDC_POSTER_HEIGHT 1118
#define IDC_POSTER_PICTURE 1294
#define IDC_POSTER_LOGO 1097

// The thumbnail-sheet options.
#define IDD_PRINT_LIST 366
#define IDC_PRINT_LIST_ALL 1006 // then 1007: the selected pictures
#define IDC_PRINT_LIST_SELECTED 1007
#define IDC_PRINT_LIST_SIZE 1008 // then 1009 to 1011
#define IDC_PRINT_LIST_PICTURE 1206
#define IDC_PRINT_LIST_LOGO 1097
