// Windows metafiles: telling the three kinds apart, converting them to enhanced metafiles, and
// playing them into a picture of the chosen size.
#include "formats/FormatMeta.h"

#include "core/ByteReader.h"
#include "core/LoadDispatch.h"
#include "core/Palette.h"
#include "core/ReaderOptions.h"
#include "core/ReaderSettings.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

const uint32_t kEmfSignature = 0x464D4520; // " EMF"
const uint32_t kPlaceableKey = 0x9AC6CDD7;
const size_t kPlaceableHeaderBytes = 22;
const size_t kWmfHeaderBytes = 18;
const int kMinDefaultSize = 10;
const int kMaxDefaultSize = 5000;
const int kMaxThumbnailSide = 4096;

int SettingOrDefault(int value, int fallback)
{
    return value >= kMinDefaultSize && value <= kMaxDefaultSize ? value : fallback;
}

// The application palette's colours, for metafiles without a palette of their own.
HPALETTE CreateApplicationPalette()
{
    LOGPALETTE256 log;
    log.palVersion = 0x300;
    log.palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD c = GetFixedPaletteColor(kApplicationPaletteMode, i);
        log.palPalEntry[i] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
    }
    return CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
}

bool ReadHeader(HENHMETAFILE metafile, ENHMETAHEADER* header)
{
    memset(header, 0, sizeof(*header));
    if (metafile == nullptr)
        return false;
    const UINT got = GetEnhMetaFileHeader(metafile, sizeof(*header), header);
    return got >= offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL);
}

// Plays the metafile onto a white bitmap of width x height and returns it as a picture. Deletes
// the metafile.
PackedDIB Render(HENHMETAFILE metafile, int width, int height)
{
    HPALETTE palette = CreateEMFPalette(metafile);
    if (palette == nullptr)
        palette = CreateApplicationPalette();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    PackedDIB dib = 0;
    if (bitmap != nullptr && memory != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        HPALETTE oldPalette = palette ? SelectPalette(memory, palette, FALSE) : nullptr;
        if (palette)
            RealizePalette(memory);
        PatBlt(memory, 0, 0, width, height, WHITENESS);
        const RECT frame = {0, 0, width, height};
        PlayEnhMetaFile(memory, metafile, &frame);
        if (oldPalette)
            SelectPalette(memory, oldPalette, FALSE);
        SelectObject(memory, oldBitmap);
        dib = BitmapToDIB(bitmap, palette);
    }
    DeleteEnhMetaFile(metafile);
    if (memory)
        DeleteDC(memory);
    if (bitmap)
        DeleteObject(bitmap);
    if (palette)
        DeleteObject(palette);
    return dib;
}

PackedDIB RenderMetafile(HENHMETAFILE metafile)
{
    if (metafile == nullptr)
        return 0;
    int width = EMFWidthPixels(metafile);
    int height = EMFHeightPixels(metafile);
    if (width <= 0 || height <= 0) {
        DeleteEnhMetaFile(metafile);
        return 0;
    }
    if (ThumbnailDecodeMode) {
        // The metafile's own size, within bounds a thumbnail never needs to pass.
        if (width > kMaxThumbnailSide || height > kMaxThumbnailSide)
            FitMetafileSize(&width, &height, kMaxThumbnailSide, kMaxThumbnailSide);
    } else {
        const ReaderOptions options = CurrentReaderOptions();
        FitMetafileSize(&width, &height, SettingOrDefault(options.wmfWidth, kDefaultWmfCX),
                        SettingOrDefault(options.wmfHeight, kDefaultWmfCY));
    }
    return Render(metafile, width, height);
}

HENHMETAFILE PlainWMFToEMF(const BYTE* wmf, size_t size)
{
    if (!CheckWindowsMetafile(wmf, size))
        return nullptr;
    uint32_t words = 0;
    ByteReader(wmf, size).U32LEAt(6, &words);
    return SetWinMetaFileBits(words * 2, wmf, nullptr, nullptr);
}

} // namespace

int MapFileForRead(LPCSTR path, LPCSTR mappingName, MappedFileRecord* record)
{
    *record = MappedFileRecord();
    if (path == nullptr)
        return 0;
    record->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_READONLY, nullptr);
    if (record->file == INVALID_HANDLE_VALUE)
        return 0;
    record->size = GetFileSize(record->file, nullptr);
    record->mapping = CreateFileMappingA(record->file, nullptr, PAGE_READONLY, 0, 0, mappingName);
    if (record->mapping != nullptr)
        record->view = static_cast<const BYTE*>(MapViewOfFile(record->mapping, FILE_MAP_READ, 0, 0, 0));
    if (record->view == nullptr || record->size == INVALID_FILE_SIZE) {
        UnmapFile(record);
        return 0;
    }
    return 1;
}

int UnmapFile(MappedFileRecord* record)
{
    if (record->view)
        UnmapViewOfFile(record->view);
    if (record->mapping)
        CloseHandle(record->mapping);
    if (record->file != INVALID_HANDLE_VALUE)
        CloseHandle(record->file);
    *record = MappedFileRecord();
    return 1;
}

HENHMETAFILE PlaceableWMFToEMF(const void* header, size_t available)
{
    const ByteReader in(header, available);
    int16_t left = 0, top = 0, right = 0, bottom = 0;
    uint16_t inch = 0;
    if (!in.Has(0, kPlaceableHeaderBytes + kWmfHeaderBytes))
        return nullptr;
    in.U16LEAt(6, reinterpret_cast<uint16_t*>(&left));
    in.U16LEAt(8, reinterpret_cast<uint16_t*>(&top));
    in.U16LEAt(10, reinterpret_cast<uint16_t*>(&right));
    in.U16LEAt(12, reinterpret_cast<uint16_t*>(&bottom));
    in.U16LEAt(14, &inch);
    const BYTE* wmf = in.Data() + kPlaceableHeaderBytes;
    const size_t wmfBytes = available - kPlaceableHeaderBytes;
    if (inch == 0 || !CheckWindowsMetafile(wmf, wmfBytes))
        return nullptr;
    uint32_t words = 0;
    in.U32LEAt(kPlaceableHeaderBytes + 6, &words);
    // Extents in 0.01 mm, as MM_ANISOTROPIC pictures give them.
    METAFILEPICT picture;
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = MulDiv(right - left, 2540, inch);
    picture.yExt = MulDiv(bottom - top, 2540, inch);
    picture.hMF = nullptr;
    HDC screen = GetDC(nullptr);
    HENHMETAFILE metafile = SetWinMetaFileBits(words * 2, wmf, screen, &picture);
    ReleaseDC(nullptr, screen);
    return metafile;
}

HENHMETAFILE MetafileHandleFromBytes(const void* data, size_t size)
{
    const ByteReader in(data, size);
    uint32_t signature = 0, key = 0;
    if (in.U32LEAt(40, &signature) && signature == kEmfSignature) {
        if (!CheckEnhancedMetafile(data, size))
            return nullptr;
        uint32_t bytes = 0;
        in.U32LEAt(48, &bytes);
        return SetEnhMetaFileBits(bytes, in.Data());
    }
    if (in.U32LEAt(0, &key) && key == kPlaceableKey)
        return PlaceableWMFToEMF(data, size);
    return PlainWMFToEMF(in.Data(), in.Size());
}

HENHMETAFILE OpenMetafileHandle(LPCSTR path)
{
    MappedFileRecord record;
    if (!MapFileForRead(path, nullptr, &record))
        return nullptr;
    HENHMETAFILE metafile = MetafileHandleFromBytes(record.view, record.size);
    UnmapFile(&record);
    return metafile;
}

int EMFWidthPixels(HENHMETAFILE metafile)
{
    ENHMETAHEADER h;
    if (!ReadHeader(metafile, &h) || h.szlMillimeters.cx <= 0 || h.szlDevice.cx <= 0)
        return 0;
    const int pixels = MulDiv(h.rclFrame.right - h.rclFrame.left, h.szlDevice.cx, h.szlMillimeters.cx * 100);
    return pixels > 0 ? pixels : 0;
}

int EMFHeightPixels(HENHMETAFILE metafile)
{
    ENHMETAHEADER h;
    if (!ReadHeader(metafile, &h) || h.szlMillimeters.cy <= 0 || h.szlDevice.cy <= 0)
        return 0;
    const int pixels = MulDiv(h.rclFrame.bottom - h.rclFrame.top, h.szlDevice.cy, h.szlMillimeters.cy * 100);
    return pixels > 0 ? pixels : 0;
}

HPALETTE CreateEMFPalette(HENHMETAFILE metafile)
{
    if (metafile == nullptr)
        return nullptr;
    const UINT n = GetEnhMetaFilePaletteEntries(metafile, 0, nullptr);
    if (n == 0 || n == GDI_ERROR || n > 65535)
        return nullptr;
    std::vector<BYTE> block;
    try {
        block.assign(4 + 4 * size_t(n), 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(n);
    if (GetEnhMetaFilePaletteEntries(metafile, n, log->palPalEntry) != n)
        return nullptr;
    return CreatePalette(log);
}

void FitMetafileSize(int* width, int* height, int cx, int cy)
{
    const uint64_t w = static_cast<uint64_t>(*width), h = static_cast<uint64_t>(*height);
    const uint64_t t = h * static_cast<uint64_t>(cx) / w;
    if (t <= static_cast<uint64_t>(cy)) {
        *height = static_cast<int>(t);
        *width = cx;
    } else {
        *width = static_cast<int>(w * static_cast<uint64_t>(cy) / h);
        *height = cy;
    }
    if (*width < 1)
        *width = 1;
    if (*height < 1)
        *height = 1;
}

PackedDIB DecodeMetafile(const void* data, size_t size)
{
    return RenderMetafile(MetafileHandleFromBytes(data, size));
}

PackedDIB LoadMetafile(LPCSTR path) { return RenderMetafile(OpenMetafileHandle(path)); }
