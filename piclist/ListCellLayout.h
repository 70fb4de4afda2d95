// Where a thumbnail list draws inside one cell: cell sizes of the four views and the trash rows, the
// thumbnail's place in each view, the short colour-depth texts of the small view and the strip cell
// that shows a file type. Pure arithmetic, shared by the list's drawing and its tests.
#pragma once
#include "framework/String.h"

#include <windows.h>

// The views of a thumbnail list.
enum PicListView {
    kViewLarge = 0,  // 109 x 121 cards
    kViewMedium = 1, // 87 x 90 cards
    kViewSmall = 2,  // 150 x 40 rows with a picture box and three lines of text
    kViewList = 3,   // 150 x 16 one-line rows
};

// How the lists draw a name or a line of text: one line, cut at its end with an ellipsis when it is
// longer than its room, never at both ends.
const UINT kListTextFlags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

// Width and height of one cell; trash rows keep the view's width and are 16 high.
SIZE ListCellSize(int view, BOOL trashMode);

// The thumbnail of a large card (drawn 1:1) for a thumbnail of w x h, the card's top-left at
// (left, top); selected cards are pressed 3 pixels right and down.
RECT LargeThumbRect(int left, int top, int w, int h, BOOL selected);
// The thumbnail of a medium card, scaled into 67 x 58 with its proportions kept. A thumbnail with a
// zero side is drawn 1 x 1 rather than dividing by zero.
RECT MediumThumbRect(int left, int top, int w, int h, BOOL selected);
// The picture box of a small row (46 x 35 for the 40-pixel row) and the thumbnail fitted into it.
RECT SmallPictureBox(const RECT& cell);
RECT SmallThumbRect(const RECT& box, int w, int h);

// The short colour-depth text of the small view's third line ("16M coul." ...).
LPCSTR ShortColorDepthName(int bits);
// The small view's third line for a picture of w x h and bits, as it fits room pixels in the font
// selected in hdc: "%dx%d - %s"; without the dash when that does not fit; then with the depth's first
// word only ("16M"); what still does not fit is cut by the drawing.
CString SmallViewMeasuresText(HDC hdc, int w, int h, int bits, int room);

// Cell of the icon strips (32- and 16-pixel) showing a picture type: 1 to 12 for BMP, JPG, PNG, TIF,
// GIF, PIC, PCD, PCX, LBM, IFF, TGA, WMF; a type without a cell of its own shows as the generic
// picture page (cell 13 of the 16-pixel strip) or, in the 32-pixel strip, as the BMP page.
int StripCellForType(int typeCode, BOOL smallStrip);
const int kStripCellUnreadable = 0;
const int kStripCellPicturePage = 13;
const int kStripCellFolder = 14;
const int kStripCellPadlock = 15;
const int kStripCellLockedFolder = 16;
