// CPicListBox drawing: the cards of the large and medium views, the rows of the small view and of the
// list, and the trash rows.
#include "shell/SharedUi.h"
#include "core/StringUtil.h"
#include "core/SystemUtil.h"
#include "core/TextFormat.h"
#include "piclist/DelObject.h"
#include "piclist/ListCellLayout.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

// The shared cell bitmaps, loaded by the first list and kept for the rest of the run.
enum CellBitmap {
    kLargeBuilt,
    kLargeEmpty,
    kLargeSelBuilt,
    kLargeSelEmpty,
    kMediumBuilt,
    kMediumEmpty,
    kMediumSelBuilt,
    kMediumSelEmpty,
    kStrip32,
    kStrip16,
    kCellBitmapCount
};
CBitmap g_cellBitmaps[kCellBitmapCount];
BOOL g_bCellBitmapsLoaded = FALSE;
HICON g_hIconUnreadableFallback = nullptr;

const COLORREF kLightGrey = RGB(192, 192, 192);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kNavy = RGB(0, 0, 128);
// The trash rows' name column is never narrower than this.
const int kTrashNameMin = 120;

HPALETTE AppPalette()
{
    return g_pAppPalette != nullptr ? static_cast<HPALETTE>(g_pAppPalette->GetSafeHandle()) : nullptr;
}

HICON UnreadableIcon()
{
    if (g_hIconUnreadable != nullptr)
        return g_hIconUnreadable;
    if (g_hIconUnreadableFallback == nullptr)
        g_hIconUnreadableFallback =
            ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_PICTURE_UNREADABLE));
    return g_hIconUnreadableFallback;
}

void Fill(HDC hdc, int left, int top, int right, int bottom, COLORREF color)
{
    if (right <= left || bottom <= top)
        return;
    RECT rc = {left, top, right, bottom};
    COLORREF old = ::SetBkColor(hdc, color);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hdc, old);
}

// A one-pixel frame: topLeft colour on the top and left sides, bottomRight on the others.
void Edge(HDC hdc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    Fill(hdc, rc.left, rc.top, rc.right - 1, rc.top + 1, topLeft);
    Fill(hdc, rc.left, rc.top, rc.left + 1, rc.bottom - 1, topLeft);
    Fill(hdc, rc.right - 1, rc.top, rc.right, rc.bottom, bottomRight);
    Fill(hdc, rc.left, rc.bottom - 1, rc.right, rc.bottom, bottomRight);
}

void Frame(HDC hdc, const RECT& rc, COLORREF color) { Edge(hdc, rc, color, color); }

// A label's text room: its box without the one-pixel edge.
RECT InsideEdge(const RECT& box) { return {box.left + 1, box.top, box.right - 1, box.bottom}; }

// Copies (stretching when the sizes differ) a device bitmap through a memory DC with the application
// palette realised in the background on both sides.
void Blit(HDC hdc, HBITMAP hbm, int x, int y, int w, int h, int sx, int sy, int sw, int sh)
{
    if (hbm == nullptr || w <= 0 || h <= 0)
        return;
    HDC mem = ::CreateCompatibleDC(hdc);
    if (mem == nullptr)
        return;
    HGDIOBJ oldBitmap = ::SelectObject(mem, hbm);
    HPALETTE hpal = AppPalette();
    HPALETTE oldPalMem = nullptr;
    HPALETTE oldPal = nullptr;
    if (hpal != nullptr) {
        oldPalMem = ::SelectPalette(mem, hpal, TRUE);
        ::RealizePalette(mem);
        oldPal = ::SelectPalette(hdc, hpal, TRUE);
        ::RealizePalette(hdc);
    }
    if (w == sw && h == sh) {
        ::BitBlt(hdc, x, y, w, h, mem, sx, sy, SRCCOPY);
    } else {
        int oldMode = ::SetStretchBltMode(hdc, HALFTONE);
        POINT origin;
        ::SetBrushOrgEx(hdc, 0, 0, &origin);
        ::StretchBlt(hdc, x, y, w, h, mem, sx, sy, sw, sh, SRCCOPY);
        ::SetStretchBltMode(hdc, oldMode);
    }
    if (hpal != nullptr) {
        ::SelectPalette(mem, oldPalMem, TRUE);
        ::SelectPalette(hdc, oldPal, TRUE);
    }
    ::SelectObject(mem, oldBitmap);
    ::DeleteDC(mem);
}

void BlitWhole(HDC hdc, const CBitmap& bitmap, int x, int y)
{
    BITMAP bm = {};
    if (bitmap.GetSafeHandle() == nullptr || bitmap.GetBitmap(&bm) == 0)
        return;
    Blit(hdc, static_cast<HBITMAP>(bitmap.GetSafeHandle()), x, y, bm.bmWidth, bm.bmHeight, 0, 0, bm.bmWidth,
         bm.bmHeight);
}

void StripCell(HDC hdc, CellBitmap strip, int cell, int x, int y)
{
    int size = strip == kStrip32 ? 32 : 16;
    Blit(hdc, static_cast<HBITMAP>(g_cellBitmaps[strip].GetSafeHandle()), x, y, size, size, cell * size, 0,
         size, size);
}

void Text(HDC hdc, const CString& text, RECT rc, UINT flags, HFONT font, COLORREF color)
{
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(hdc, font) : nullptr;
    ::SetTextColor(hdc, color);
    ::SetBkMode(hdc, TRANSPARENT);
    ::DrawTextA(hdc, text, text.GetLength(), &rc, flags);
    if (oldFont != nullptr)
        ::SelectObject(hdc, oldFont);
}

BOOL HasFocus(HWND hwnd) { return ::GetFocus() == hwnd; }

// Row colours of the small view, the list and the trash rows.
void RowColors(BOOL selected, BOOL focused, COLORREF* back, COLORREF* text)
{
    if (!selected) {
        *back = kWhite;
        *text = kBlack;
    } else if (focused) {
        *back = ::GetSysColor(COLOR_HIGHLIGHT);
        *text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        *back = kGrey;
        *text = kWhite;
    }
}

} // namespace

void CPicListBox::LoadSharedCellBitmaps()
{
    if (g_bCellBitmapsLoaded)
        return;
    g_bCellBitmapsLoaded = TRUE;
    static const UINT cards[] = {IDB_CARD_LARGE,           IDB_CARD_LARGE_EMPTY,     IDB_CARD_LARGE_SEL,
                                 IDB_CARD_LARGE_SEL_EMPTY, IDB_CARD_MEDIUM,          IDB_CARD_MEDIUM_EMPTY,
                                 IDB_CARD_MEDIUM_SEL,      IDB_CARD_MEDIUM_SEL_EMPTY};
    CPalette* pPalette = g_pAppPalette;
    for (int i = 0; i < 8; i++)
        LoadBitmapWithPalette(&g_cellBitmaps[i], cards[i], pPalette);
    g_cellBitmaps[kStrip32].LoadBitmap(IDB_TYPE_STRIP32);
    g_cellBitmaps[kStrip16].LoadBitmap(IDB_TYPE_STRIP16);
}

void CPicListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->itemID == static_cast<UINT>(-1) || lpDIS->itemData == 0)
        return;
    int count = GetCount();
    if (count <= 0 || static_cast<int>(lpDIS->itemID) >= count)
        return;
    int saved = ::SaveDC(lpDIS->hDC);
    if (LIBLIST_TRASH_MODE)
        DrawTrashItem(lpDIS, reinterpret_cast<CDelObject*>(lpDIS->itemData));
    else
        DrawPictureItem(lpDIS, reinterpret_cast<CPicObject*>(lpDIS->itemData));
    ::RestoreDC(lpDIS->hDC, saved);
}

void CPicListBox::DrawPictureItem(LPDRAWITEMSTRUCT lpDIS, CPicObject* pRecord)
{
    HDC hdc = lpDIS->hDC;
    const RECT cell = lpDIS->rcItem;
    BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    BOOL focused = HasFocus(m_hWnd);
    BOOL entire = (lpDIS->itemAction & ODA_DRAWENTIRE) != 0;
    BOOL select = (lpDIS->itemAction & ODA_SELECT) != 0;
    BOOL hasFocusMark = (lpDIS->itemState & ODS_FOCUS) != 0;
    HFONT font = static_cast<HFONT>(m_font.GetSafeHandle());
    CString label = PicListNameLabel(pRecord, m_bHideExtensions);

    if (m_nView == kViewLarge || m_nView == kViewMedium) {
        BOOL large = m_nView == kViewLarge;
        if (entire || select) {
            BOOL built = pRecord->m_nThumbState == 1;
            int base = large ? kLargeBuilt : kMediumBuilt;
            int index = base + (selected ? 2 : 0) + (built ? 0 : 1);
            BlitWhole(hdc, g_cellBitmaps[index], cell.left, cell.top);
            if (built && EnsureDeviceBitmap(pRecord)) {
                HBITMAP hbm = static_cast<HBITMAP>(pRecord->m_bmThumb.GetSafeHandle());
                int w = pRecord->m_nThumbWidth;
                int h = pRecord->m_nThumbHeight;
                BITMAP bm = {};
                if (pRecord->m_bmThumb.GetBitmap(&bm) != 0) {
                    // The bitmap's own size is the truth when a record's fields disagree with it.
                    w = bm.bmWidth;
                    h = bm.bmHeight;
                }
                if (large) {
                    RECT pic = LargeThumbRect(cell.left, cell.top, w, h, selected);
                    Blit(hdc, hbm, pic.left, pic.top, w, h, 0, 0, w, h);
                    Frame(hdc, {pic.left - 1, pic.top - 1, pic.right, pic.bottom + 1}, kBlack);
                    Edge(hdc, {pic.left - 2, pic.top - 2, pic.right + 1, pic.bottom + 2}, kGrey, kWhite);
                } else {
                    RECT pic = MediumThumbRect(cell.left, cell.top, w, h, selected);
                    int sw = pic.right - pic.left;
                    int sh = pic.bottom - pic.top;
                    Blit(hdc, hbm, pic.left, pic.top, sw, sh, 0, 0, w, h);
                    Frame(hdc, {pic.left - 1, pic.top - 1, pic.right, pic.bottom}, kBlack);
                    Edge(hdc, {pic.left - 2, pic.top - 2, pic.right + 1, pic.bottom + 1}, kGrey, kWhite);
                }
            } else if (pRecord->m_nThumbState == -1) {
                int shift = selected ? 3 : 0;
                int x = cell.left + (large ? 34 : 25) + shift;
                int y = cell.top + (large ? 40 : 21) + shift;
                if (HICON icon = UnreadableIcon())
                    ::DrawIconEx(hdc, x, y, icon, 32, 32, 0, nullptr, DI_NORMAL);
            }
        }
        int left = cell.left + (selected ? 3 : 0);
        int top = cell.top + (selected ? 3 : 0);
        COLORREF back = kLightGrey;
        COLORREF ink = kBlack;
        if (selected) {
            back = focused ? kNavy : kGrey;
            ink = kWhite;
        }
        RECT nameBox = large ? RECT{left + 8, top + 6, left + 94, top + 18}
                             : RECT{left + 6, top + 68, left + 78, top + 80};
        Fill(hdc, nameBox.left, nameBox.top, nameBox.right, nameBox.bottom, back);
        Edge(hdc, nameBox, kGrey, kWhite);
        Text(hdc, label, InsideEdge(nameBox), kListTextFlags | DT_CENTER, font, ink);
        if (large) {
            RECT infoBox = {left + 8, top + 94, left + 94, top + 106};
            Fill(hdc, infoBox.left, infoBox.top, infoBox.right, infoBox.bottom, back);
            Edge(hdc, infoBox, kGrey, kWhite);
            Text(hdc, pRecord->m_strInfo, InsideEdge(infoBox), kListTextFlags | DT_CENTER, font, ink);
        }
        int inset = large ? 7 : 3;
        RECT focus = {left + 3, top + 3, cell.right - inset, cell.bottom - inset};
        if (!selected) {
            focus.right -= 3;
            focus.bottom -= 3;
        }
        if (hasFocusMark) {
            Frame(hdc, focus, kWhite);
            ::DrawFocusRect(hdc, &focus);
        } else {
            Edge(hdc, focus, kWhite, kGrey);
        }
        return;
    }

    COLORREF back;
    COLORREF ink;
    RowColors(selected, focused, &back, &ink);
    if (m_nView == kViewSmall) {
        RECT box = SmallPictureBox(cell);
        if (entire) {
            Fill(hdc, box.left, box.top, box.right, box.bottom, kLightGrey);
            if (pRecord->m_nThumbState == 1 && EnsureDeviceBitmap(pRecord)) {
                BITMAP bm = {};
                pRecord->m_bmThumb.GetBitmap(&bm);
                RECT pic = SmallThumbRect(box, bm.bmWidth, bm.bmHeight);
                Blit(hdc, static_cast<HBITMAP>(pRecord->m_bmThumb.GetSafeHandle()), pic.left, pic.top,
                     pic.right - pic.left, pic.bottom - pic.top, 0, 0, bm.bmWidth, bm.bmHeight);
            } else {
                int cellIndex = pRecord->m_nThumbState == -1 ? kStripCellUnreadable
                                                             : StripCellForType(pRecord->m_nType, FALSE);
                StripCell(hdc, kStrip32, cellIndex, box.left + 7, box.top + 2);
            }
            Frame(hdc, {box.left, box.top, box.right + 1, box.bottom + 1}, kBlack);
            Frame(hdc, {box.left + 1, box.top + 1, box.right, box.bottom}, kLightGrey);
        }
        Fill(hdc, cell.left, cell.top, cell.right, box.top, back);
        Fill(hdc, cell.left, cell.top, box.left, cell.bottom, back);
        Fill(hdc, box.right + 1, cell.top, cell.right, cell.bottom, back);
        Fill(hdc, cell.left, box.bottom + 1, cell.right, cell.bottom, back);
        RECT line = {box.right + 4, cell.top + 1, cell.right - 4, cell.top + 20};
        Text(hdc, label, line, kListTextFlags, static_cast<HFONT>(g_fontSmallBold.GetSafeHandle()), ink);
        ::OffsetRect(&line, 0, 14);
        Text(hdc, pRecord->m_strInfo, line, kListTextFlags, font, ink);
        ::OffsetRect(&line, 0, 11);
        if (pRecord->m_nBitCount != 0) {
            HGDIOBJ oldFont = font != nullptr ? ::SelectObject(hdc, font) : nullptr;
            CString text = SmallViewMeasuresText(hdc, pRecord->m_nWidth, pRecord->m_nHeight,
                                                 pRecord->m_nBitCount, line.right - line.left);
            if (oldFont != nullptr)
                ::SelectObject(hdc, oldFont);
            Text(hdc, text, line, kListTextFlags, font, ink);
        }
        if (hasFocusMark)
            ::DrawFocusRect(hdc, &cell);
        return;
    }

    // The one-line list.
    if (entire) {
        int cellIndex =
            pRecord->m_nThumbState == -1 ? kStripCellUnreadable : StripCellForType(pRecord->m_nType, TRUE);
        Fill(hdc, cell.left, cell.top, cell.left + 18, cell.bottom, kWhite);
        StripCell(hdc, kStrip16, cellIndex, cell.left + 1, cell.top);
    }
    Fill(hdc, cell.left + 18, cell.top, cell.right, cell.bottom, back);
    RECT textRect = {cell.left + 19, cell.top + 1, cell.right, cell.bottom};
    Text(hdc, m_bHideExtensions ? pRecord->m_strBaseName : pRecord->m_strFileName, textRect, kListTextFlags,
         static_cast<HFONT>(g_fontSmall.GetSafeHandle()), ink);
    if (hasFocusMark) {
        RECT focus = {cell.left + 18, cell.top, cell.right, cell.bottom};
        ::DrawFocusRect(hdc, &focus);
    }
}

void CPicListBox::DrawTrashItem(LPDRAWITEMSTRUCT lpDIS, CDelObject* pRecord)
{
    HDC hdc = lpDIS->hDC;
    const RECT cell = lpDIS->rcItem;
    BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    COLORREF back;
    COLORREF ink;
    RowColors(selected, HasFocus(m_hWnd), &back, &ink);
    if (lpDIS->itemAction & ODA_DRAWENTIRE) {
        int cellIndex;
        if (pRecord->m_nKind == kTrashPicture)
            cellIndex = pRecord->m_bFromProtected ? kStripCellPadlock : kStripCellPicturePage;
        else
            cellIndex = pRecord->m_bFromProtected ? kStripCellLockedFolder : kStripCellFolder;
        Fill(hdc, cell.left, cell.top, cell.left + 18, cell.bottom, kWhite);
        StripCell(hdc, kStrip16, cellIndex, cell.left + 1, cell.top);
    }
    Fill(hdc, cell.left + 18, cell.top, cell.right, cell.bottom, back);
    HFONT font = static_cast<HFONT>(g_fontSmall.GetSafeHandle());
    CString folder;
    CString name;
    SplitPath(pRecord->m_strRelPath, &folder, &name);
    const int nameRight =
        cell.left + 19
        + std::max(kTrashNameMin, std::min(m_nTrashNameWidth, static_cast<int>(cell.right - cell.left) / 2));
    Text(hdc, name, {cell.left + 19, cell.top + 1, nameRight, cell.bottom}, kListTextFlags, font, ink);
    CString when =
        FormatDosDateTime(static_cast<WORD>(pRecord->m_dwDelDate), static_cast<WORD>(pRecord->m_dwDelTime));
    CString format = LoadStringOr(IDS_TRASH_DELETED_FROM, "Supprim\xe9 %s dans \"%s\".");
    CString line;
    line.Format(format, static_cast<LPCSTR>(when), static_cast<LPCSTR>(folder));
    Text(hdc, line, {nameRight + 3, cell.top + 1, cell.right, cell.bottom}, kListTextFlags, font, ink);
    if (lpDIS->itemState & ODS_FOCUS) {
        RECT focus = {cell.left + 18, cell.top, cell.right, cell.bottom};
        ::DrawFocusRect(hdc, &focus);
    }
}

void CPicListBox::MeasureTrashNames()
{
    m_nTrashNameWidth = kTrashNameMin;
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc == nullptr)
        return;
    HGDIOBJ oldFont =
        g_fontSmall.GetSafeHandle() != nullptr ? ::SelectObject(hdc, g_fontSmall.GetSafeHandle()) : nullptr;
    for (int i = 0; i < GetCount(); i++) {
        CDelObject* pRecord = dynamic_cast<CDelObject*>(reinterpret_cast<CObject*>(GetItemData(i)));
        if (pRecord == nullptr)
            continue;
        CString folder;
        CString name;
        SplitPath(pRecord->m_strRelPath, &folder, &name);
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32A(hdc, name, name.GetLength(), &extent);
        // DrawText's ellipsis takes over a few pixels before the end.
        m_nTrashNameWidth = std::max(m_nTrashNameWidth, static_cast<int>(extent.cx) + 4);
    }
    if (oldFont != nullptr)
        ::SelectObject(hdc, oldFont);
    ::ReleaseDC(m_hWnd, hdc);
}
