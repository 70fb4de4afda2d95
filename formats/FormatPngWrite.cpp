// PNG writing through libpng: 1-, 4- and 8-bit pictures as palette files, 24-bit ones as RGB,
// written beside the target, every write checked, and moved over it once complete.
#include "formats/FormatPng.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/DibSource.h"
#include "core/FileWrappers.h"
#include "core/Progress.h"
#include "framework/SafeFileWrite.h"
#include "formats/FileSink.h"
#include "formats/PngErrors.h"

namespace {

// A failed write (a full disk) stops the library at once: the file would lack its end.
void PngWriteToSink(png_structp png, png_bytep data, png_size_t length)
{
    if (!FileSinkPut(static_cast<FileSink*>(png_get_io_ptr(png)), data, length))
        png_error(png, "write failed");
}

void PngFlushSink(png_structp png)
{
    if (!FileSinkFlush(static_cast<FileSink*>(png_get_io_ptr(png))))
        png_error(png, "write failed");
}

// Compresses the picture into the sink. No object with a destructor lives here: a library error
// jumps back into this frame. false when the library or a write failed.
bool CompressPng(FileSink* sink, const DibSource* src, int tableEntries, bool report)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngIgnoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, PngWriteToSink, PngFlushSink);
    const int bits = src->BitCount();
    const png_uint_32 width = static_cast<png_uint_32>(src->Width());
    const png_uint_32 height = static_cast<png_uint_32>(src->Height());
    png_set_IHDR(png, info, width, height, bits == 24 ? 8 : bits,
                 bits == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (bits == 24) {
        png_color_8 significant;
        memset(&significant, 0, sizeof(significant));
        significant.red = significant.green = significant.blue = 8;
        png_set_sBIT(png, info, &significant);
    } else {
        // Entries past the picture's own table are black.
        png_color palette[256];
        const RGBQUAD* colors = src->Colors();
        for (int i = 0; i < 256; ++i) {
            const bool inTable = i < tableEntries;
            palette[i].red = inTable ? colors[i].rgbRed : 0;
            palette[i].green = inTable ? colors[i].rgbGreen : 0;
            palette[i].blue = inTable ? colors[i].rgbBlue : 0;
        }
        png_set_PLTE(png, info, palette, 1 << bits);
    }
    png_write_info(png, info);
    if (bits == 24)
        png_set_bgr(png);
    for (png_uint_32 y = 0; y < height; ++y) {
        // The top row of the picture, stored last, is written first.
        png_write_row(png, const_cast<png_bytep>(src->Row(static_cast<int>(height - 1 - y))));
        if (report)
            SetProgress(y + 1, height);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Colour-table entries the picture really has: biClrUsed, or all that its depth allows when that
// is 0 (pictures from the clipboard, scanners and other programs often leave it 0).
int ColorTableEntries(PackedDIB dib)
{
    const int count = DIBNumColorsHandle(dib);
    return count > 256 ? 256 : count;
}

} // namespace

int SavePNG(PackedDIB dib, LPCSTR path, DWORD* pError)
{
    DWORD unused = ERROR_SUCCESS;
    if (pError == nullptr)
        pError = &unused;
    *pError = ERROR_SUCCESS;
    if (!dib || !path || path[0] == 0 || strlen(path) >= MAX_PATH)
        return kSavePNGFailed;
    const int tableEntries = ColorTableEntries(dib);
    DibSource src(dib);
    // Checked before any file is touched.
    if (!src.Ok() || src.Width() <= 0 || src.Height() <= 0)
        return kSavePNGFailed;
    CSafeFileWrite output(path);
    HANDLE file = output.IsValid() ? output.Handle() : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        *pError = output.Error();
        return kSavePNGFailed;
    }
    std::unique_ptr<FileSink> sink(new (std::nothrow) FileSink);
    if (!sink) {
        *pError = ERROR_NOT_ENOUGH_MEMORY;
        return kSavePNGFailed;
    }
    FileSinkInit(sink.get(), file);
    const bool report = ShouldReportProgress();
    if (report)
        BeginProgress(IDS_PNG_WRITING);
    // Nothing counts as written before the last byte has reached the file.
    bool written = CompressPng(sink.get(), &src, tableEntries, report) && FileSinkFlush(sink.get());
    if (!written && sink->failed)
        *pError = PeekWriteFileError();
    if (written && !output.Commit()) {
        written = false;
        *pError = output.Error();
    }
    if (report)
        EndProgress();
    return written ? kSavePNGDone : kSavePNGFailed;
}
