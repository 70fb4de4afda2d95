// The members of the packed-DIB family that work on the framework's bitmap and palette objects.
#include "core/PackedDib.h"

#include "framework/Gdi.h"

BOOL DIBToCompatibleBitmap(PackedDIB dib, CBitmap* bitmap, CPalette* palette)
{
    if (!dib || !bitmap)
        return FALSE;
    void* p = GlobalLock(dib);
    if (!p)
        return FALSE;
    const int width = int(DIBWidth(p)), height = int(DIBHeight(p));
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    HDC memory = CreateCompatibleDC(screen);
    bitmap->DeleteObject();
    HBITMAP made = CreateCompatibleBitmap(screen, width, height);
    BOOL ok = made && memory;
    if (ok) {
        bitmap->Attach(made);
        HGDIOBJ oldBitmap = SelectObject(memory, made);
        HPALETTE hpal = palette ? static_cast<HPALETTE>(palette->GetSafeHandle()) : nullptr;
        HPALETTE oldPalette = hpal ? SelectPalette(memory, hpal, FALSE) : nullptr;
        if (hpal)
            RealizePalette(memory);
        StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, FindDIBBits(p),
                      static_cast<const BITMAPINFO*>(p), DIB_RGB_COLORS, SRCCOPY);
        if (oldPalette)
            SelectPalette(memory, oldPalette, TRUE);
        SelectObject(memory, oldBitmap);
    } else if (made) {
        DeleteObject(made);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(desktop, screen);
    GlobalUnlock(dib);
    return ok;
}

BOOL CreateDIBPaletteObject(PackedDIB dib, CPalette* palette)
{
    if (!palette)
        return FALSE;
    palette->DeleteObject();
    HPALETTE made = CreateDIBPaletteHandle(dib);
    if (made)
        return palette->Attach(made);
    return palette->Attach(GetStockObject(DEFAULT_PALETTE));
}

BOOL CreateScreenCompatibleBitmap(CBitmap* bitmap, WORD width, WORD height)
{
    if (!bitmap)
        return FALSE;
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    bitmap->DeleteObject();
    HBITMAP made = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(desktop, screen);
    if (made)
        bitmap->Attach(made);
    return 1;
}

BOOL PaintDIBIntoBitmap(PackedDIB dib, CBitmap* bitmap, CPalette* palette, const RECT* src, const RECT* dest)
{
    if (!dib || !bitmap || !bitmap->GetSafeHandle() || !src || !dest)
        return FALSE;
    void* p = GlobalLock(dib);
    if (!p)
        return FALSE;
    HDC screen = GetDC(0);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(0, screen);
    if (!memory) {
        GlobalUnlock(dib);
        return FALSE;
    }
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap->GetSafeHandle());
    HPALETTE hpal = palette ? static_cast<HPALETTE>(palette->GetSafeHandle()) : nullptr;
    HPALETTE oldPalette = hpal ? SelectPalette(memory, hpal, FALSE) : nullptr;
    if (hpal)
        RealizePalette(memory);
    SetStretchBltMode(memory, COLORONCOLOR);
    // Both rectangles include their right and bottom edges.
    const int srcWidth = src->right - src->left + 1, srcHeight = src->bottom - src->top + 1;
    const int destWidth = dest->right - dest->left + 1, destHeight = dest->bottom - dest->top + 1;
    const int srcY = int(DIBHeight(p)) - src->bottom - 1;
    int lines =
        StretchDIBits(memory, dest->left, dest->top, destWidth, destHeight, src->left, srcY, srcWidth,
                      srcHeight, FindDIBBits(p), static_cast<const BITMAPINFO*>(p), DIB_RGB_COLORS, SRCCOPY);
    if (oldPalette)
        SelectPalette(memory, oldPalette, TRUE);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    GlobalUnlock(dib);
    return lines > 0;
}
