// The JPEG pictures kept among the program's resources: copied to a temporary file and read there.
#include "formats/FormatJpeg.h"

#include "core/BusyCursor.h"
#include "core/ColorReduce.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/ReaderOptions.h"

namespace {

// Reads a temporary copy without the gauge and deletes it, also when the decode failed.
PackedDIB LoadTemporaryJpeg(const char* tempPath)
{
    PackedDIB dib;
    {
        CReaderOptionsScope quiet(CurrentReaderOptions().WithProgress(FALSE));
        dib = LoadJPEG(tempPath);
    }
    DeleteFileForce(tempPath);
    return dib;
}

PackedDIB LoadWithFixedMap(LPCSTR name)
{
    JPEGFixedColorMap.flag = 1;
    PackedDIB dib = LoadJPEGResource(nullptr, name);
    JPEGFixedColorMap.flag = 0;
    return dib;
}

} // namespace

PackedDIB LoadJPEGResourceById(HINSTANCE, WORD id)
{
    const int screenBits = GetScreenBitsPerPixel();
    SetAppCursor(kAppCursorBusy);
    char tempPath[MAX_PATH];
    if (!ExtractResourceToTempFileById(JPEG_RESOURCE_TYPE, id, nullptr, tempPath)) {
        RestoreAppCursor();
        return 0;
    }
    PackedDIB dib = LoadJPEG(tempPath);
    if (dib && screenBits < 8) {
        PackedDIB reduced = ConvertDIBTo8Bit(dib, nullptr, kPaletteR1G1B1);
        GlobalFreeHandle(dib);
        dib = reduced;
    }
    DeleteFileForce(tempPath);
    RestoreAppCursor();
    return dib;
}

PackedDIB LoadJPEGResource(HINSTANCE, LPCSTR name)
{
    char tempPath[MAX_PATH];
    if (!name || !ExtractResourceToTempFile("JPEG", name, tempPath))
        return 0;
    return LoadTemporaryJpeg(tempPath);
}

PackedDIB LoadJPEGResourceWithPalette(HINSTANCE, LPCSTR name, HPALETTE palette)
{
    CDecoderLock lock; // the map is process-wide: no other load may see it or change it meanwhile
    PALETTEENTRY entries[256] = {};
    if (palette)
        GetPaletteEntries(palette, 0, 256, entries);
    for (int i = 0; i < 256; ++i) {
        JPEGFixedColorMap.entries[i][0] = entries[i].peBlue;
        JPEGFixedColorMap.entries[i][1] = entries[i].peGreen;
        JPEGFixedColorMap.entries[i][2] = entries[i].peRed;
    }
    return LoadWithFixedMap(name);
}

PackedDIB LoadJPEGResource16Colors(HINSTANCE, LPCSTR name)
{
    static const BYTE kStandardColors[16][3] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    CDecoderLock lock; // the map is process-wide: no other load may see it or change it meanwhile
    ZeroMemory(JPEGFixedColorMap.entries, sizeof(JPEGFixedColorMap.entries));
    for (int i = 0; i < 16; ++i) {
        JPEGFixedColorMap.entries[i][0] = kStandardColors[i][2];
        JPEGFixedColorMap.entries[i][1] = kStandardColors[i][1];
        JPEGFixedColorMap.entries[i][2] = kStandardColors[i][0];
    }
    return LoadWithFixedMap(name);
}

BOOL JPEGResourceLoadersReady() { return TRUE; }
