// JPEG writing: a packed DIB of 1, 4, 8 or 24 bits to a baseline JPEG file, written beside the
// target, every write checked, and moved over it once complete.
#include "formats/FormatJpeg.h"

#include "core/FileUtil.h"
#include "core/FileWrappers.h"
#include "core/Progress.h"
#include "core/DibSource.h"
#include "framework/SafeFileWrite.h"
#include "formats/FileSink.h"
#include "formats/JpegErrors.h"

#include <jerror.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// One picture row as red, green, blue through the colour table (indices past it read as black).
template <int Bits> void ExpandRow(const BYTE* row, int width, const RGBQUAD* colors, JSAMPLE* out)
{
    for (int x = 0; x < width; ++x, out += 3) {
        int red, green, blue;
        ReadPixel<Bits>(row, x, colors, red, green, blue);
        out[0] = static_cast<JSAMPLE>(red);
        out[1] = static_cast<JSAMPLE>(green);
        out[2] = static_cast<JSAMPLE>(blue);
    }
}

void ExpandIndexedRow(const DibSource& src, const BYTE* row, JSAMPLE* out)
{
    if (src.BitCount() == 1)
        ExpandRow<1>(row, src.Width(), src.Colors(), out);
    else if (src.BitCount() == 4)
        ExpandRow<4>(row, src.Width(), src.Colors(), out);
    else
        ExpandRow<8>(row, src.Width(), src.Colors(), out);
}

// The library's output goes straight into a checked sink: a failed write (a full disk) stops the
// compression at once.
struct SinkDestination {
    jpeg_destination_mgr pub;
    FileSink* sink;
    JOCTET buffer[16384];
};

void InitSinkDestination(j_compress_ptr cinfo)
{
    SinkDestination* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = sizeof(dest->buffer);
}

boolean EmptySinkDestination(j_compress_ptr cinfo)
{
    SinkDestination* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
    if (!FileSinkPut(dest->sink, dest->buffer, sizeof(dest->buffer)))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = sizeof(dest->buffer);
    return TRUE;
}

void TermSinkDestination(j_compress_ptr cinfo)
{
    SinkDestination* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
    const size_t held = sizeof(dest->buffer) - dest->pub.free_in_buffer;
    if (!FileSinkPut(dest->sink, dest->buffer, held) || !FileSinkFlush(dest->sink))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void UseSinkDestination(j_compress_ptr cinfo, FileSink* sink)
{
    SinkDestination* dest = static_cast<SinkDestination*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(SinkDestination)));
    dest->pub.init_destination = InitSinkDestination;
    dest->pub.empty_output_buffer = EmptySinkDestination;
    dest->pub.term_destination = TermSinkDestination;
    dest->sink = sink;
    cinfo->dest = &dest->pub;
}

// Compresses the picture into the sink. No object with a destructor lives here: a library error
// jumps back into this frame. false when the library or a write failed (the file is then
// incomplete).
bool CompressPicture(FileSink* sink, const DibSource* src, int quality, bool report)
{
    jpeg_compress_struct cinfo;
    JpegErrorManager error;
    cinfo.err = InitJpegErrorManager(&error);
    if (setjmp(error.recovery)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    UseSinkDestination(&cinfo, sink);
    cinfo.image_width = src->Width();
    cinfo.image_height = src->Height();
    cinfo.input_components = 3;
    // 24-bit rows go to the library as they are stored: blue, green, red.
    cinfo.in_color_space = src->BitCount() == 24 ? JCS_EXT_BGR : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);

    JSAMPARRAY line = nullptr;
    if (src->BitCount() != 24)
        line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                          src->Width() * 3, 1);
    const int height = src->Height();
    for (int done = 0; done < height; ++done) {
        // The top row of the picture, stored last, is written first.
        const BYTE* row = src->Row(height - 1 - done);
        JSAMPROW pointer;
        if (src->BitCount() == 24) {
            pointer = const_cast<JSAMPROW>(row);
        } else {
            ExpandIndexedRow(*src, row, line[0]);
            pointer = line[0];
        }
        jpeg_write_scanlines(&cinfo, &pointer, 1);
        if (report)
            SetProgress(done + 1, height);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

// Creates the file beside the target, writes it and moves it over the target. Returns a
// SaveJPEGResult; asks the user about shown while the file cannot be created, unless pError takes
// why it failed.
int WriteJpegFile(const DibSource* src, LPCSTR target, int quality, LPCSTR shown, DWORD* pError)
{
    for (;;) {
        CSafeFileWrite output(target);
        HANDLE file = output.IsValid() ? output.Handle() : INVALID_HANDLE_VALUE;
        std::unique_ptr<FileSink> sink(file != INVALID_HANDLE_VALUE ? new (std::nothrow) FileSink : nullptr);
        if (!sink) {
            const DWORD error = file == INVALID_HANDLE_VALUE ? output.Error() : ERROR_NOT_ENOUGH_MEMORY;
            if (pError != nullptr) {
                *pError = error;
                return kSaveJPEGAborted;
            }
            const int answer = AskFileErrorRetry(IDS_JPEG_CANNOT_CREATE, shown, error);
            if (answer == IDRETRY)
                continue;
            // Given up: the caller's message says why too.
            KeepWriteFileError(error);
            return answer == IDIGNORE ? kSaveJPEGIgnored : kSaveJPEGAborted;
        }
        const bool report = ShouldReportProgress();
        if (report)
            BeginProgress(IDS_JPEG_WRITING);
        FileSinkInit(sink.get(), file);
        bool written = CompressPicture(sink.get(), src, quality, report);
        DWORD error = !written && sink->failed ? PeekWriteFileError() : ERROR_SUCCESS;
        if (written && !output.Commit()) {
            written = false;
            error = output.Error();
        }
        if (report)
            EndProgress();
        if (pError != nullptr)
            *pError = error;
        return written ? kSaveJPEGDone : kSaveJPEGWriteFailed;
    }
}

} // namespace

int SaveJPEG(PackedDIB dib, LPCSTR path, int quality, LPCSTR shownPath, DWORD* pError)
{
    if (pError != nullptr)
        *pError = ERROR_SUCCESS;
    if (!dib || !path)
        return kSaveJPEGBadPicture;
    const size_t length = strlen(path);
    if (length == 0 || length >= MAX_PATH)
        return kSaveJPEGBadPicture;

    DibSource src(dib);
    if (!src.Ok() || src.Width() <= 0 || src.Height() <= 0 || src.Width() > JPEG_MAX_DIMENSION
        || src.Height() > JPEG_MAX_DIMENSION)
        return kSaveJPEGBadPicture;
    return WriteJpegFile(&src, path, quality, shownPath != nullptr ? shownPath : path, pError);
}
