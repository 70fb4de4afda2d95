// TIFF reading through libtiff: scanline by scanline for the plain layouts, and through libtiff's
// RGBA conversion for YCbCr, tiled, old-JPEG and separate-plane files.
#include "formats/FormatTiff.h"

#include <cstdlib>
#include <cstring>

#include <tiffio.h>

#include "core/Progress.h"
#include "framework/String.h"

namespace {

// What libtiff may allocate at once for one file (a strip, a tile, a colour map).
const tmsize_t kMaxLibraryAllocation = 256 * 1024 * 1024;
// The RGBA conversion works in bands of rows of at most this many bytes.
const size_t kMaxRgbaBand = 64 * 1024 * 1024;

int SilentHandler(TIFF*, void*, const char*, const char*, va_list)
{
    return 1; // handled: nothing reaches the process-wide handlers
}

// Once per process: the handlers libtiff uses before a file is open show nothing either.
void SilenceLibraryHandlers()
{
    static const bool silenced = [] {
        TIFFSetWarningHandler(nullptr);
        TIFFSetErrorHandler(nullptr);
        return true;
    }();
    (void)silenced;
}

TIFF* OpenSilently(LPCSTR path)
{
    SilenceLibraryHandlers();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, SilentHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, SilentHandler, nullptr);
    TIFF* tif = TIFFOpenExt(path, "r", options);
    TIFFOpenOptionsFree(options);
    return tif;
}

struct TiffLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitsPerSample = 1;
    uint16_t samples = 1;
    uint16_t photometric = 0;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE;
};

bool ReadLayout(TIFF* tif, TiffLayout* layout)
{
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &layout->bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout->samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &layout->planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &layout->compression);
    return TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout->width) == 1
           && TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout->height) == 1
           && TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &layout->photometric) == 1 && layout->width > 0
           && layout->height > 0;
}

// The picture a reader fills: created, locked, and released again on failure.
class PictureUnderConstruction {
public:
    bool Create(uint32_t width, uint32_t height, WORD bits)
    {
        m_dib = CreateDIB(width, height, bits);
        m_block = m_dib ? static_cast<BYTE*>(GlobalLock(m_dib)) : nullptr;
        if (!m_block)
            m_dib = GlobalFreeHandle(m_dib);
        m_rowBytes = DIBRowBytes(width, bits);
        m_height = height;
        return m_block != nullptr;
    }
    ~PictureUnderConstruction()
    {
        if (m_block)
            GlobalUnlock(m_dib);
        GlobalFreeHandle(m_dib);
    }
    RGBQUAD* Table() const { return reinterpret_cast<RGBQUAD*>(m_block + sizeof(BITMAPINFOHEADER)); }
    // Row r counted from the top of the picture.
    BYTE* Row(uint32_t r) const
    {
        return FindDIBBits(m_block) + static_cast<size_t>(m_height - 1 - r) * m_rowBytes;
    }
    PackedDIB Release()
    {
        GlobalUnlock(m_dib);
        m_block = nullptr;
        PackedDIB dib = m_dib;
        m_dib = 0;
        return dib;
    }

private:
    PackedDIB m_dib = 0;
    BYTE* m_block = nullptr;
    DWORD m_rowBytes = 0;
    uint32_t m_height = 0;
};

BYTE ColorMapComponent(uint16_t value, int mapBits)
{
    return mapBits == 16 ? static_cast<BYTE>(static_cast<unsigned int>(value) * 255u / 65535u)
                         : static_cast<BYTE>(value & 0xFF);
}

// The colour table of a one-sample picture; false when a palette file has no colour map.
bool FillColorTable(TIFF* tif, const TiffLayout& layout, RGBQUAD* table, int tableEntries)
{
    ZeroMemory(table, tableEntries * sizeof(RGBQUAD));
    const int n = 1 << layout.bitsPerSample;
    if (layout.photometric == PHOTOMETRIC_PALETTE) {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) != 1 || !red || !green || !blue)
            return false;
        const int mapBits = TIFFColorMapBits(n, red, green, blue);
        for (int i = 0; i < n && i < tableEntries; ++i) {
            table[i].rgbRed = ColorMapComponent(red[i], mapBits);
            table[i].rgbGreen = ColorMapComponent(green[i], mapBits);
            table[i].rgbBlue = ColorMapComponent(blue[i], mapBits);
        }
        return true;
    }
    for (int i = 0; i < n && i < tableEntries; ++i) {
        BYTE level = static_cast<BYTE>(i * 255 / (n - 1));
        if (layout.photometric == PHOTOMETRIC_MINISWHITE)
            level = static_cast<BYTE>(255 - level);
        table[i].rgbRed = table[i].rgbGreen = table[i].rgbBlue = level;
    }
    return true;
}

void ConvertOneSampleRow(const BYTE* src, BYTE* dst, uint32_t width, int bits)
{
    switch (bits) {
    case 1:
        memcpy(dst, src, (width + 7) / 8);
        break;
    case 2:
        for (uint32_t x = 0; x < width; ++x)
            dst[x] = static_cast<BYTE>((src[x / 4] >> (6 - 2 * (x % 4))) & 3);
        break;
    case 4:
        for (uint32_t x = 0; x < width; ++x)
            dst[x] = static_cast<BYTE>((x % 2 == 0) ? src[x / 2] >> 4 : src[x / 2] & 15);
        break;
    default:
        memcpy(dst, src, width);
        break;
    }
}

void ConvertColorRow(const BYTE* src, BYTE* dst, uint32_t width, int samples, bool cmyk)
{
    for (uint32_t x = 0; x < width; ++x, src += samples, dst += 3) {
        if (cmyk && samples == 4) {
            const unsigned int k = 255u - src[3];
            dst[0] = static_cast<BYTE>((k * (255u - src[2])) >> 8);
            dst[1] = static_cast<BYTE>((k * (255u - src[1])) >> 8);
            dst[2] = static_cast<BYTE>((k * (255u - src[0])) >> 8);
        } else {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
}

// The plain layouts, one scanline at a time. 0 when the layout is refused or a row fails.
PackedDIB ReadScanlines(TIFF* tif, const TiffLayout& layout)
{
    const bool oneSample = layout.samples == 1;
    const int bits = layout.bitsPerSample;
    WORD depth;
    if (oneSample) {
        if (layout.photometric != PHOTOMETRIC_MINISWHITE && layout.photometric != PHOTOMETRIC_MINISBLACK
            && layout.photometric != PHOTOMETRIC_PALETTE)
            return 0;
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8)
            return 0;
        depth = bits == 1 ? 1 : 8;
    } else {
        if ((layout.photometric != PHOTOMETRIC_RGB && layout.photometric != PHOTOMETRIC_SEPARATED)
            || bits != 8 || (layout.samples != 3 && layout.samples != 4))
            return 0;
        depth = 24;
    }
    const uint64_t needed = (static_cast<uint64_t>(layout.width) * layout.samples * bits + 7) / 8;
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (scanline <= 0 || static_cast<uint64_t>(scanline) < needed)
        return 0;

    PictureUnderConstruction picture;
    if (!picture.Create(layout.width, layout.height, depth))
        return 0;
    BYTE* buffer = static_cast<BYTE*>(malloc(static_cast<size_t>(scanline)));
    if (!buffer)
        return 0;
    CProgressScope gauge;
    bool ok = !oneSample || FillColorTable(tif, layout, picture.Table(), 1 << depth);
    for (uint32_t r = 0; ok && r < layout.height; ++r) {
        if (TIFFReadScanline(tif, buffer, r, 0) < 0) {
            ok = false;
            break;
        }
        if (oneSample)
            ConvertOneSampleRow(buffer, picture.Row(r), layout.width, bits);
        else
            ConvertColorRow(buffer, picture.Row(r), layout.width, layout.samples,
                            layout.photometric == PHOTOMETRIC_SEPARATED);
        gauge.Row(r + 1, layout.height);
    }
    free(buffer);
    return ok ? picture.Release() : 0;
}

// libtiff's RGBA conversion, in bands of whole strips or tiles, into a 24-bit picture.
PackedDIB ReadThroughRgba(TIFF* tif, const TiffLayout& layout)
{
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message))
        return 0;
    uint32_t band = 0;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
    if (band == 0 || band > layout.height)
        band = layout.height;
    const uint64_t bandBytes = static_cast<uint64_t>(layout.width) * band * 4;
    if (bandBytes > kMaxRgbaBand) {
        // Untiled files can be cut into smaller bands; a tile row cannot.
        if (TIFFIsTiled(tif))
            return 0;
        // Whole groups of subsampled YCbCr rows (at most 4 high) in each band.
        band = static_cast<uint32_t>(kMaxRgbaBand / (static_cast<uint64_t>(layout.width) * 4)) & ~15u;
        if (band == 0)
            return 0;
    }
    PictureUnderConstruction picture;
    if (!picture.Create(layout.width, layout.height, 24))
        return 0;
    uint32_t* raster = static_cast<uint32_t*>(malloc(static_cast<size_t>(layout.width) * band * 4));
    if (!raster)
        return 0;
    TIFFRGBAImage image;
    if (!TIFFRGBAImageBegin(&image, tif, 0, message)) {
        free(raster);
        return 0;
    }
    image.req_orientation = ORIENTATION_TOPLEFT;
    CProgressScope gauge;
    bool ok = true;
    for (uint32_t top = 0; ok && top < layout.height; top += band) {
        const uint32_t rows = layout.height - top < band ? layout.height - top : band;
        image.row_offset = static_cast<int>(top);
        image.col_offset = 0;
        if (!TIFFRGBAImageGet(&image, raster, layout.width, rows)) {
            ok = false;
            break;
        }
        for (uint32_t r = 0; r < rows; ++r) {
            const uint32_t* src = raster + static_cast<size_t>(r) * layout.width;
            BYTE* dst = picture.Row(top + r);
            for (uint32_t x = 0; x < layout.width; ++x, dst += 3) {
                dst[0] = static_cast<BYTE>(TIFFGetB(src[x]));
                dst[1] = static_cast<BYTE>(TIFFGetG(src[x]));
                dst[2] = static_cast<BYTE>(TIFFGetR(src[x]));
            }
        }
        gauge.Row(top + rows, layout.height);
    }
    TIFFRGBAImageEnd(&image);
    free(raster);
    return ok ? picture.Release() : 0;
}

// The layouts the scanline reader cannot give correctly go through the RGBA conversion.
bool NeedsRgbaConversion(TIFF* tif, const TiffLayout& layout)
{
    return layout.photometric == PHOTOMETRIC_YCBCR || TIFFIsTiled(tif)
           || layout.compression == COMPRESSION_OJPEG
           || (layout.planar == PLANARCONFIG_SEPARATE && layout.samples > 1);
}

} // namespace

PackedDIB LoadTIFF(LPCSTR path)
{
    if (!path)
        return 0;
    TIFF* tif = OpenSilently(path);
    if (!tif)
        return 0;
    PackedDIB dib = 0;
    TiffLayout layout;
    if (ReadLayout(tif, &layout) && layout.bitsPerSample >= 1 && layout.bitsPerSample <= 8
        && (layout.samples == 1 || layout.samples == 3 || layout.samples == 4))
        dib = NeedsRgbaConversion(tif, layout) ? ReadThroughRgba(tif, layout) : ReadScanlines(tif, layout);
    TIFFClose(tif);
    return dib;
}

int TIFFColorMapBits(int count, const uint16_t* red, const uint16_t* green, const uint16_t* blue)
{
    for (int i = 0; i < count; ++i) {
        if (red[i] >= 256 || green[i] >= 256 || blue[i] >= 256)
            return 16;
    }
    return 8;
}

int TIFFReaderStub(void*, CString) { return 0; }
