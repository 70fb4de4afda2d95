// PNG reading through libpng: the transformations to a 1-, 4-, 8- or 24-bit picture, the colour
// table, and the rows of every interlace pass.
#include "formats/FormatPng.h"

#include <cstdio>
#include <cstring>

#include "core/Progress.h"
#include "formats/PngErrors.h"

#include <windows.h>

void PNGCBAPI PngFail(png_structp png, png_const_charp message)
{
    OutputDebugStringA(message);
    OutputDebugStringA("\n");
    png_longjmp(png, 1);
}

void PNGCBAPI PngIgnoreWarning(png_structp, png_const_charp) {}

namespace {

// Everything a read changes after the recovery point is armed and reads again after a jump.
struct PngReadJob {
    PackedDIB volatile dib;
    BYTE* volatile block;
    volatile bool complete;
};

void ReleasePicture(PngReadJob* job)
{
    if (job->block)
        GlobalUnlock(job->dib);
    job->block = nullptr;
    job->dib = GlobalFreeHandle(job->dib);
}

// Requests the transformations that turn any PNG into rows of 1, 4, 8 or 24 bits per pixel.
// Returns the number of interlace passes.
int RequestTransformations(png_structp png, png_infop info)
{
    png_uint_32 width, height;
    int depth, colorType, interlace;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth == 2)
        png_set_expand(png);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparency)
        png_set_expand(png);
    png_color_16 black;
    memset(&black, 0, sizeof(black));
    png_set_background(png, &black, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    double fileGamma;
    if (png_get_gAMA(png, info, &fileGamma) && fileGamma > 0)
        png_set_gamma(png, 2.2, fileGamma);
    else
        png_set_gamma(png, 2.2, 0.45);
    if (depth == 2)
        png_set_packing(png);
    // Palettes with transparency become colour too: their rows need blue, green, red as well.
    if (colorType == PNG_COLOR_TYPE_RGB || colorType == PNG_COLOR_TYPE_RGB_ALPHA
        || (colorType == PNG_COLOR_TYPE_PALETTE && transparency))
        png_set_bgr(png);
    return interlace != PNG_INTERLACE_NONE ? png_set_interlace_handling(png) : 1;
}

// The colour table of a 1-, 4- or 8-bit result: a grey ramp, or the file's palette (entries the
// palette lacks stay black).
void FillColorTable(png_structp png, png_infop info, BYTE* block)
{
    const int entries = DIBNumColors(block);
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    ZeroMemory(table, entries * sizeof(RGBQUAD));
    const int colorType = png_get_color_type(png, info);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        for (int i = 0; i < entries; ++i) {
            const BYTE level = static_cast<BYTE>(i * 255 / (entries - 1));
            table[i].rgbRed = table[i].rgbGreen = table[i].rgbBlue = level;
        }
        return;
    }
    png_colorp palette = nullptr;
    int count = 0;
    if (!png_get_PLTE(png, info, &palette, &count) || !palette)
        return;
    if (count > entries)
        count = entries;
    for (int i = 0; i < count; ++i) {
        table[i].rgbRed = palette[i].red;
        table[i].rgbGreen = palette[i].green;
        table[i].rgbBlue = palette[i].blue;
    }
}

// Reads an open file. No object with a destructor lives here: a library error jumps back into
// this frame.
PackedDIB DecodePngStream(FILE* file, bool report)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngIgnoreWarning);
    if (!png)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 0;
    }
    PngReadJob job;
    job.dib = 0;
    job.block = nullptr;
    job.complete = false;
    if (setjmp(png_jmpbuf(png))) {
        // A file cut after its last row (no IEND) still shows the whole picture.
        if (!job.complete)
            ReleasePicture(&job);
        else if (job.block)
            GlobalUnlock(job.dib);
        png_destroy_read_struct(&png, &info, nullptr);
        return job.dib;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    const int passes = RequestTransformations(png, info);
    png_read_update_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int channels = png_get_channels(png, info);
    const int pixelDepth = channels * png_get_bit_depth(png, info);
    const bool supported = (channels == 1 && (pixelDepth == 1 || pixelDepth == 4 || pixelDepth == 8))
                           || (channels == 3 && pixelDepth == 24);
    const DWORD rowBytes = DIBRowBytes(width, static_cast<WORD>(pixelDepth));
    if (!supported || rowBytes == 0 || png_get_rowbytes(png, info) > rowBytes) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    job.dib = CreateDIB(width, height, static_cast<WORD>(pixelDepth));
    job.block = job.dib ? static_cast<BYTE*>(GlobalLock(job.dib)) : nullptr;
    if (!job.block) {
        job.dib = GlobalFreeHandle(job.dib);
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    if (pixelDepth <= 8)
        FillColorTable(png, info, job.block);

    BYTE* rows = FindDIBBits(job.block);
    const size_t dataBytes = (static_cast<size_t>(width) * pixelDepth + 7) / 8;
    const DWORD total = height * static_cast<DWORD>(passes);
    DWORD done = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 r = 0; r < height; ++r) {
            png_bytep row = rows + static_cast<size_t>(height - 1 - r) * rowBytes;
            // Each pass fills in only its own pixels.
            if (pass == 0 && passes > 1)
                memset(row, 0, dataBytes);
            png_read_rows(png, &row, nullptr, 1);
            if (report)
                SetProgress(++done, total);
        }
    }
    job.complete = true;
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    GlobalUnlock(job.dib);
    return job.dib;
}

} // namespace

PackedDIB LoadPNG(LPCSTR path)
{
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file)
        return 0;
    setvbuf(file, nullptr, _IOFBF, 64 * 1024);
    const bool report = ShouldReportProgress();
    if (report)
        BeginProgress(static_cast<LPCSTR>(nullptr));
    PackedDIB dib = DecodePngStream(file, report);
    fclose(file);
    if (report)
        EndProgress();
    return dib;
}
