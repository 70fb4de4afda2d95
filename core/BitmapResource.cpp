// Bitmap resources made into device bitmaps for the current screen depth.
#include "core/ColorReduce.h"
#include "core/FileUtil.h"
#include "core/PackedDib.h"
#include "core/SystemUtil.h"
#include "framework/Gdi.h"

BOOL LoadBitmapWithPalette(CBitmap* bitmap, UINT id, CPalette* palette)
{
    PackedDIB resource = LoadDIBResource(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    if (resource == nullptr)
        return FALSE;
    HPALETTE hpal = palette != nullptr ? static_cast<HPALETTE>(palette->GetSafeHandle()) : nullptr;
    const int depth = GetScreenBitsPerPixel();
    HBITMAP made = nullptr;
    if (depth <= 8) {
        // Palette screens get the picture already reduced to the ramp the palette shows.
        PackedDIB reduced = ConvertDIBTo8Bit(resource, hpal, depth < 5 ? kPaletteR1G1B1 : kPaletteR2G3B2);
        if (reduced != nullptr) {
            made = DIBToBitmap(reduced, hpal);
            GlobalFreeHandle(reduced);
        }
    } else {
        made = DIBToBitmap(resource, hpal);
    }
    if (made != nullptr && bitmap != nullptr) {
        bitmap->DeleteObject();
        bitmap->Attach(made);
    } else if (made != nullptr) {
        DeleteObject(made);
    }
    GlobalFreeHandle(resource);
    return TRUE;
}
