// Cell geometry of the thumbnail list.
#include "piclist/ListCellLayout.h"

#include "core/FileTypes.h"

SIZE ListCellSize(int view, BOOL trashMode)
{
    SIZE size = {150, 16};
    switch (view) {
    case kViewLarge:
        size = {109, 121};
        break;
    case kViewMedium:
        size = {87, 90};
        break;
    case kViewSmall:
        size = {150, 40};
        break;
    default:
        break;
    }
    if (trashMode)
        size.cy = 16;
    return size;
}

RECT LargeThumbRect(int left, int top, int w, int h, BOOL selected)
{
    int x = left + 7 + (84 - w) / 2 + (selected ? 5 : 2);
    int y = top + 21 + (68 - h) / 2 + (selected ? 4 : 1);
    return {x, y, x + w, y + h};
}

RECT MediumThumbRect(int left, int top, int w, int h, BOOL selected)
{
    int sw = 1;
    int sh = 1;
    if (w > 0 && h > 0) {
        if (h * 67 / w < 59) {
            sw = 67;
            sh = h * 67 / w;
        } else {
            sw = w * 58 / h;
            sh = 58;
        }
        if (sw < 1)
            sw = 1;
        if (sh < 1)
            sh = 1;
    }
    int x = left + 7 + (67 - sw) / 2 + (selected ? 5 : 2);
    int y = top + 7 + (58 - sh) / 2 + (selected ? 4 : 1);
    return {x, y, x + sw, y + sh};
}

RECT SmallPictureBox(const RECT& cell)
{
    int left = cell.left + 2;
    int top = cell.top + 2;
    int bottom = cell.bottom - 3;
    int bh = bottom - top;
    int bw = bh * 8 / 6;
    return {left, top, left + bw, bottom};
}

RECT SmallThumbRect(const RECT& box, int w, int h)
{
    int bw = box.right - box.left;
    int bh = box.bottom - box.top;
    int width = 1;
    int height = 1;
    if (w > 0 && h > 0) {
        width = bw;
        height = h * bw / w;
        if (height > bh) {
            width = w * bh / h;
            height = bh;
        }
        if (width < 1)
            width = 1;
        if (height < 1)
            height = 1;
    }
    int x = box.left + (bw - width) / 2;
    int y = box.top + (bh - height) / 2;
    return {x, y, x + width, y + height};
}

LPCSTR ShortColorDepthName(int bits)
{
    switch (bits) {
    case 1:
        return "Mono";
    case 4:
        return "16 coul.";
    case 8:
        return "256 coul.";
    case 15:
        return "32K coul.";
    case 16:
        return "64K coul.";
    case 24:
        return "16M coul.";
    case 32:
        return "16M coul. 32b";
    default:
        return "?";
    }
}

CString SmallViewMeasuresText(HDC hdc, int w, int h, int bits, int room)
{
    // The depth's first word ("16M" of "16M coul.") still says it when the whole name does not fit.
    CString depth = ShortColorDepthName(bits);
    int blank = depth.Find(' ');
    CString depthWord = blank > 0 ? depth.Left(blank) : depth;
    CString forms[3];
    forms[0].Format("%dx%d - %s", w, h, static_cast<LPCSTR>(depth));
    forms[1].Format("%dx%d %s", w, h, static_cast<LPCSTR>(depth));
    forms[2].Format("%dx%d %s", w, h, static_cast<LPCSTR>(depthWord));
    for (const CString& text : forms) {
        SIZE extent = {};
        if (!::GetTextExtentPoint32A(hdc, text, text.GetLength(), &extent) || extent.cx <= room)
            return text;
    }
    return forms[2];
}

int StripCellForType(int typeCode, BOOL smallStrip)
{
    switch (typeCode) {
    case kFileTypeBMP:
        return 1;
    case kFileTypeJPEG:
        return 2;
    case kFileTypePNG:
        return 3;
    case kFileTypeTIFF:
        return 4;
    case kFileTypeGIF:
        return 5;
    case kFileTypePICT:
        return 6;
    case kFileTypePCD:
        return 7;
    case kFileTypePCX:
        return 8;
    case kFileTypeLBM:
        return 9;
    case kFileTypeIFF:
        return 10;
    case kFileTypeTGA:
        return 11;
    case kFileTypeWMF:
        return 12;
    default:
        return smallStrip ? kStripCellPicturePage : 1;
    }
}
