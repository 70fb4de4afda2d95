// JPEG reading: the 24-bit path (scaled down by the DCT while thumbnails are built) and the 8-bit
// path quantised by the library.
#include "formats/FormatJpeg.h"

#include <cstdint>

#include "core/ColorReduce.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Progress.h"
#include "core/ReaderOptions.h"
#include "formats/JpegErrors.h"

#include <jerror.h>

JPEGColorMap JPEGFixedColorMap = {};

namespace {

// What the library may allocate for one picture besides the picture itself (coefficient buffers
// of progressive files): a crafted file asking for more is refused instead of exhausting memory.
const long kLibraryMemoryLimit = 384L * 1024 * 1024;
// Real progressive files have about ten scans; thousands of tiny scans only make a decode crawl.
const int kMaxScans = 1000;
// Lines handed to the library per call: it decodes two or more rows per pass of its upsampler.
const int kLinesPerCall = 16;
// Pictures from this size on have their fresh pages committed on a second thread (see below).
const size_t kPrefaultFrom = 8 * 1024 * 1024;
const size_t kPageBytes = 4096;

// The first write to each page of a fresh block costs a page fault; for a 12-megapixel picture
// that is a third of the decode. A second thread takes those faults ahead of the decoder, in the
// order the rows are written (from the end of the block down), so they overlap the decode. It
// touches each page with an interlocked compare-exchange of 0 by 0, which commits the page and
// never changes a byte the decoder may already have written.
struct PageToucher {
    HANDLE thread;
    uintptr_t first; // first whole page inside the block
    uintptr_t last;  // last page start whose first word lies inside the block
    volatile LONG stop;
};

DWORD WINAPI TouchPages(void* parameter)
{
    PageToucher* toucher = static_cast<PageToucher*>(parameter);
    for (uintptr_t page = toucher->last; page >= toucher->first && !toucher->stop; page -= kPageBytes)
        InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(page), 0, 0);
    return 0;
}

void StartTouchingPages(PageToucher* toucher, BYTE* block, size_t size)
{
    toucher->thread = nullptr;
    toucher->stop = 0;
    if (size < kPrefaultFrom)
        return;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(block);
    const uintptr_t end = begin + size;
    toucher->first = (begin + kPageBytes - 1) & ~(kPageBytes - 1);
    toucher->last = (end - sizeof(LONG)) & ~(kPageBytes - 1);
    toucher->thread = CreateThread(nullptr, 0, TouchPages, toucher, 0, nullptr);
}

// Stops the thread (it polls the flag) and waits for it; the block may be freed afterwards.
void StopTouchingPages(PageToucher* toucher)
{
    if (!toucher->thread)
        return;
    InterlockedExchange(&toucher->stop, 1);
    WaitForSingleObject(toucher->thread, INFINITE);
    CloseHandle(toucher->thread);
    toucher->thread = nullptr;
}

// The file source. The library's Huffman decoder takes its fast path only while a few KiB of input
// are buffered (512 bytes per block of an MCU); reading 64 KiB at a time (the stdio source reads
// 4 KiB) lets it nearly always, and a full decode gains a tenth. A decode reduced to 1/8 keeps
// almost no AC coefficient, only skips them, and there the careful path is the quicker one on this
// 32-bit build: reading 1 KiB at a time keeps the buffer below the fast path's threshold for every
// colour MCU, which makes such a decode about 4 % quicker than 4 KiB pieces.
const size_t kInputBufferBytes = 64 * 1024;
const size_t kScaledInputBytes = 1024;

struct FileSource {
    jpeg_source_mgr pub;
    FILE* file;
    JOCTET* buffer; // kInputBufferBytes
    size_t piece;   // bytes read at a time
    bool startOfFile;
};

void InitFileSource(j_decompress_ptr cinfo) { reinterpret_cast<FileSource*>(cinfo->src)->startOfFile = true; }

boolean FillFileSource(j_decompress_ptr cinfo)
{
    FileSource* source = reinterpret_cast<FileSource*>(cinfo->src);
    size_t count = fread(source->buffer, 1, source->piece, source->file);
    if (count == 0) {
        if (source->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A file cut short: the library finishes the picture with what it has, as a warning.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = count;
    source->startOfFile = false;
    return TRUE;
}

void SkipFileSource(j_decompress_ptr cinfo, long count)
{
    jpeg_source_mgr* source = cinfo->src;
    if (count <= 0)
        return;
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        (*source->fill_input_buffer)(cinfo);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermFileSource(j_decompress_ptr) {}

void UseFileSource(j_decompress_ptr cinfo, FILE* file)
{
    FileSource* source = static_cast<FileSource*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(FileSource)));
    source->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_large)(reinterpret_cast<j_common_ptr>(cinfo),
                                                                     JPOOL_PERMANENT, kInputBufferBytes));
    source->file = file;
    source->piece = kInputBufferBytes;
    source->pub.init_source = InitFileSource;
    source->pub.fill_input_buffer = FillFileSource;
    source->pub.skip_input_data = SkipFileSource;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = TermFileSource;
    source->pub.bytes_in_buffer = 0;
    source->pub.next_input_byte = nullptr;
    cinfo->src = &source->pub;
}

// Everything a decode changes after its recovery point is armed and reads again after a jump.
struct DecodeJob {
    JpegErrorManager error;
    jpeg_progress_mgr progress;
    PageToucher toucher;
    PackedDIB volatile dib;
    BYTE* volatile bits;
    volatile bool complete;
};

void CheckScanCount(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        cinfo->err->msg_code = JERR_NOT_COMPILED;
        (*cinfo->err->error_exit)(cinfo);
    }
}

// 8 bits when the fixed map is on or "CouleursJPEG" asks for it; 2 (or anything out of range)
// follows the screen.
bool WantsEightBitOutput()
{
    if (JPEGFixedColorMap.flag != 0)
        return true;
    const int colours = CurrentReaderOptions().jpegColours;
    if (colours == 0)
        return false;
    if (colours == 1)
        return true;
    return GetScreenBitsPerPixel() == 8;
}

// The smaller side decides: a picture is reduced by 1/8 only when both sides reach 300 pixels.
unsigned int ThumbnailScaleDenominator(JDIMENSION width, JDIMENSION height)
{
    if (width < 100 || height < 100)
        return 1;
    if (width < 200 || height < 200)
        return 2;
    if (width < 300 || height < 300)
        return 4;
    return 8;
}

BYTE MultiplyInk(unsigned int a, unsigned int b) { return static_cast<BYTE>((a * b + 127) / 255); }

// One decoded line that the library could not give in blue, green, red order: CMYK (Adobe files
// store the inks inverted), YCCK (the library hands it over as CMYK) or an unknown layout, of which
// the first component is shown as grey.
void ConvertLine(const JSAMPLE* src, BYTE* dst, JDIMENSION width, int components, J_COLOR_SPACE space,
                 bool invertedInks)
{
    if (space == JCS_CMYK && components == 4) {
        for (JDIMENSION x = 0; x < width; ++x, src += 4, dst += 3) {
            unsigned int c = src[0], m = src[1], y = src[2], k = src[3];
            if (!invertedInks) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            dst[0] = MultiplyInk(y, k);
            dst[1] = MultiplyInk(m, k);
            dst[2] = MultiplyInk(c, k);
        }
        return;
    }
    for (JDIMENSION x = 0; x < width; ++x, src += components, dst += 3)
        dst[0] = dst[1] = dst[2] = src[0];
}

void ReleasePicture(DecodeJob* job)
{
    StopTouchingPages(&job->toucher);
    if (job->bits)
        GlobalUnlock(job->dib);
    job->bits = nullptr;
    job->dib = GlobalFreeHandle(job->dib);
}

// Allocates and locks the output picture; false leaves job->dib 0.
bool AllocatePicture(DecodeJob* job, JDIMENSION width, JDIMENSION height, WORD bits)
{
    job->dib = CreateDIB(width, height, bits);
    if (!job->dib)
        return false;
    BYTE* header = static_cast<BYTE*>(GlobalLock(job->dib));
    if (!header) {
        job->dib = GlobalFreeHandle(job->dib);
        return false;
    }
    job->bits = header;
    StartTouchingPages(&job->toucher, header, GlobalSize(job->dib));
    return true;
}

BYTE* PictureRow(DecodeJob* job, JDIMENSION y, JDIMENSION height, DWORD rowBytes)
{
    return FindDIBBits(job->bits) + static_cast<size_t>(height - 1 - y) * rowBytes;
}

// Reads every output line straight into the picture rows, bottom-up.
void ReadLinesIntoRows(j_decompress_ptr cinfo, DecodeJob* job, DWORD rowBytes, bool report)
{
    JSAMPROW rows[kLinesPerCall];
    const JDIMENSION height = cinfo->output_height;
    while (cinfo->output_scanline < height) {
        const JDIMENSION first = cinfo->output_scanline;
        JDIMENSION count = height - first;
        if (count > kLinesPerCall)
            count = kLinesPerCall;
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = PictureRow(job, first + i, height, rowBytes);
        jpeg_read_scanlines(cinfo, rows, count);
        if (report)
            SetProgress(cinfo->output_scanline, height);
    }
}

// Reads every line into a work row and converts it into the picture.
void ReadLinesConverted(j_decompress_ptr cinfo, DecodeJob* job, DWORD rowBytes, bool report)
{
    const JDIMENSION width = cinfo->output_width, height = cinfo->output_height;
    JSAMPARRAY line = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                  width * cinfo->output_components, 1);
    const bool inverted = cinfo->saw_Adobe_marker != 0;
    while (cinfo->output_scanline < height) {
        const JDIMENSION y = cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, line, 1);
        ConvertLine(line[0], PictureRow(job, y, height, rowBytes), width, cinfo->output_components,
                    cinfo->out_color_space, inverted);
        if (report)
            SetProgress(cinfo->output_scanline, height);
    }
}

// The 24-bit path. false when the picture cannot be allocated.
bool DecodeTrueColor(j_decompress_ptr cinfo, DecodeJob* job, bool thumbnail, bool report)
{
    if (thumbnail) {
        cinfo->scale_num = 1;
        cinfo->scale_denom = ThumbnailScaleDenominator(cinfo->image_width, cinfo->image_height);
        if (cinfo->scale_denom == 8)
            reinterpret_cast<FileSource*>(cinfo->src)->piece = kScaledInputBytes;
    }
    bool direct = false;
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo->out_color_space = JCS_EXT_BGR;
        direct = true;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo->out_color_space = JCS_CMYK;
        break;
    default:
        break;
    }
    cinfo->quantize_colors = FALSE;
    jpeg_start_decompress(cinfo);
    if (!AllocatePicture(job, cinfo->output_width, cinfo->output_height, 24))
        return false;
    const DWORD rowBytes = DIBRowBytes(cinfo->output_width, 24);
    if (direct)
        ReadLinesIntoRows(cinfo, job, rowBytes, report);
    else
        ReadLinesConverted(cinfo, job, rowBytes, report);
    return true;
}

// The 8-bit path: the library's quantiser (or the fixed map), Floyd-Steinberg dithering, no scaling.
bool DecodePalettized(j_decompress_ptr cinfo, DecodeJob* job, bool report)
{
    cinfo->quantize_colors = TRUE;
    if (JPEGFixedColorMap.flag != 0) {
        JSAMPARRAY map =
            (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, 256, 3);
        for (int i = 0; i < 256; ++i) {
            map[0][i] = JPEGFixedColorMap.entries[i][2];
            map[1][i] = JPEGFixedColorMap.entries[i][1];
            map[2][i] = JPEGFixedColorMap.entries[i][0];
        }
        cinfo->colormap = map;
        cinfo->actual_number_of_colors = 256;
        cinfo->two_pass_quantize = TRUE;
    } else {
        cinfo->desired_number_of_colors = 256;
    }
    cinfo->dither_mode = JDITHER_FS;
    jpeg_start_decompress(cinfo);
    if (!AllocatePicture(job, cinfo->output_width, cinfo->output_height, 8))
        return false;
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(job->bits + sizeof(BITMAPINFOHEADER));
    ZeroMemory(table, 256 * sizeof(RGBQUAD));
    const int colors = cinfo->actual_number_of_colors < 256 ? cinfo->actual_number_of_colors : 256;
    const bool grey = cinfo->out_color_components < 3;
    for (int i = 0; i < colors && cinfo->colormap; ++i) {
        table[i].rgbRed = cinfo->colormap[0][i];
        table[i].rgbGreen = cinfo->colormap[grey ? 0 : 1][i];
        table[i].rgbBlue = cinfo->colormap[grey ? 0 : 2][i];
    }
    ReadLinesIntoRows(cinfo, job, DIBRowBytes(cinfo->output_width, 8), report);
    return true;
}

// Decodes an open file. No object with a destructor lives here: a library error jumps back into
// this frame.
PackedDIB DecodeJpegStream(FILE* file, bool eightBit, bool thumbnail, bool report)
{
    jpeg_decompress_struct cinfo;
    DecodeJob job;
    job.dib = 0;
    job.bits = nullptr;
    job.complete = false;
    job.toucher.thread = nullptr;
    cinfo.err = InitJpegErrorManager(&job.error);
    if (setjmp(job.error.recovery)) {
        // Damage after the last line (a bad marker before EOI) costs the user nothing.
        StopTouchingPages(&job.toucher);
        if (!job.complete)
            ReleasePicture(&job);
        else if (job.bits)
            GlobalUnlock(job.dib);
        jpeg_destroy_decompress(&cinfo);
        return job.dib;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kLibraryMemoryLimit;
    job.progress.progress_monitor = CheckScanCount;
    cinfo.progress = &job.progress;
    UseFileSource(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    LastJPEGHeaderSize.width = static_cast<int>(cinfo.image_width);
    LastJPEGHeaderSize.height = static_cast<int>(cinfo.image_height);

    // The quantiser works on three-component colour; CMYK pictures take the 24-bit path and are
    // reduced afterwards.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool ok = (eightBit && !cmyk) ? DecodePalettized(&cinfo, &job, report)
                                        : DecodeTrueColor(&cinfo, &job, thumbnail, report);
    if (!ok) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    job.complete = true;
    StopTouchingPages(&job.toucher);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    GlobalUnlock(job.dib);
    return job.dib;
}

} // namespace

PackedDIB LoadJPEG(LPCSTR path)
{
    const bool eightBit = WantsEightBitOutput();
    const bool thumbnail = ThumbnailDecodeMode == 1;
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file)
        return 0;
    // Whole 64 KiB pieces go straight into the source's buffer; 4 KiB ones come from here.
    setvbuf(file, nullptr, _IOFBF, 64 * 1024);
    const bool report = !thumbnail && ShouldReportProgress();
    if (report)
        BeginProgress(IDS_JPEG_READING);
    PackedDIB dib = DecodeJpegStream(file, eightBit, thumbnail, report);
    fclose(file);
    if (report)
        EndProgress();

    // A CMYK picture on the 8-bit path: reduced to the application palette's ramp.
    if (dib && eightBit && DIBNumColorsHandle(dib) == 0) {
        PackedDIB reduced = ConvertDIBTo8Bit(dib, nullptr, kApplicationPaletteMode);
        GlobalFreeHandle(dib);
        dib = reduced;
    }
    return dib;
}

void AddColorMapEntry(jpeg_decompress_struct* cinfo, int red, int green, int blue)
{
    // Only a three-row map with room for 256 entries (the fixed map, the two-pass quantiser's).
    if (!cinfo || !cinfo->colormap || cinfo->out_color_components < 3)
        return;
    const int count = cinfo->actual_number_of_colors;
    for (int i = 0; i < count; ++i) {
        if (cinfo->colormap[0][i] == red && cinfo->colormap[1][i] == green && cinfo->colormap[2][i] == blue)
            return;
    }
    if (count >= 256)
        return;
    cinfo->colormap[0][count] = static_cast<JSAMPLE>(red);
    cinfo->colormap[1][count] = static_cast<JSAMPLE>(green);
    cinfo->colormap[2][count] = static_cast<JSAMPLE>(blue);
    cinfo->actual_number_of_colors = count + 1;
}
