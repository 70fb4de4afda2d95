// The frames of an animated GIF: every image drawn onto a persistent screen of colour indices, and
// the screen after each image kept as a CDIB with the image's delay and transparent index.
#include "formats/FormatGif.h"

#include <cstdlib>
#include <new>

#include "core/DIB.h"
#include "core/Progress.h"
#include "formats/GifInput.h"
#include "framework/Collections.h"
#include "framework/Exceptions.h"

namespace {

// Frames stop once they hold this much together: a crafted file of thousands of large frames
// must not exhaust the address space.
const ULONGLONG kMaxFrameBytes = 384ull * 1024 * 1024;

// What a graphic control block says about the next image.
struct FrameState {
    int delay = 4; // 1/100 s
    int transparent = -1;
    int disposal = 0;
};

// A graphic control block (code 0xF9) whose first data block holds its four bytes: packed fields,
// delay (low, high) and transparent index. Other extensions carry nothing for the frames.
void ReadGraphicControl(int code, const GifByteType* block, FrameState* state)
{
    if (code != GRAPHICS_EXT_FUNC_CODE || !block || block[0] != 4)
        return;
    const BYTE packed = block[1];
    state->delay = static_cast<short>(block[2] | (block[3] << 8));
    if (packed & 1)
        state->transparent = block[4];
    state->disposal = (packed & 0x1C) >> 2;
}

// Appends a frame; false when the frame could not be made (the picture is then freed).
bool AppendFrame(CObArray* frames, PackedDIB dib, const FrameState& state)
{
    CDIB* frame = new (std::nothrow) CDIB;
    if (!frame) {
        GlobalFreeHandle(dib);
        return false;
    }
    frame->Attach(dib);
    frame->SetDelay(state.delay);
    frame->SetTransparentIndex(state.transparent);
    try {
        frames->Add(frame);
    } catch (CException&) {
        delete frame;
        return false;
    }
    return true;
}

} // namespace

int DecodeGIFFrames(GifFileType* gif, CObArray* frames)
{
    if (!gif)
        return 0;
    int error = 0;
    BYTE* screen = nullptr;
    BYTE* line = nullptr;
    if (frames && GifScreenFits(gif)) {
        screen = static_cast<BYTE*>(calloc(static_cast<size_t>(gif->SWidth) * gif->SHeight, 1));
        line = static_cast<BYTE*>(malloc(static_cast<size_t>(gif->SWidth)));
    }
    if (!screen || !line) {
        free(screen);
        free(line);
        DGifCloseFile(gif, &error);
        return 0;
    }
    const bool report = ShouldReportProgress();
    if (report)
        BeginProgress(static_cast<LPCSTR>(nullptr));
    const ULONGLONG frameBytes =
        PackedDIBBytes(static_cast<DWORD>(gif->SWidth), static_cast<DWORD>(gif->SHeight), 8, 256);
    ULONGLONG heldBytes = 0;
    int count = 0;
    FrameState state;
    bool reading = true;
    while (reading) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            break;
        if (record == EXTENSION_RECORD_TYPE) {
            // Any extension between a graphic control block and its image cancels it.
            state = FrameState();
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                break;
            ReadGraphicControl(code, block, &state);
            reading = !block || SkipGifExtensionBlocks(gif);
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR || !GifImageInsideScreen(gif))
                break;
            // Transparent pixels keep what earlier images left, unless the frame is to be
            // replaced by its background (disposal 2).
            const int keep = state.disposal == 2 ? -1 : state.transparent;
            if (!ReadGifImageRows(gif, screen, line, keep, nullptr)
                || heldBytes + frameBytes > kMaxFrameBytes)
                break;
            const ColorMapObject* map = GifImageColorMap(gif);
            PackedDIB dib = BuildGIFDIB(screen, gif, map, GifPictureBits(gif, map));
            if (!dib || !AppendFrame(frames, dib, state))
                break;
            heldBytes += frameBytes;
            ++count;
            state = FrameState();
            if (report)
                SetProgress(GifInputPosition(gif), GifInputSize(gif));
        } else {
            reading = false; // the terminator, or a record the decoder does not know
        }
    }
    free(screen);
    free(line);
    if (report)
        EndProgress();
    DGifCloseFile(gif, &error);
    return count;
}

int LoadAnimatedGIF(LPCSTR path, CObArray* frames)
{
    if (!frames)
        return 0;
    GifInput input;
    GifFileType* gif = OpenGifFile(path, &input);
    if (!gif)
        return 0;
    const int count = DecodeGIFFrames(gif, frames);
    fclose(input.file);
    return count;
}
