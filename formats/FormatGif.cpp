// GIF reading through giflib: the decoder's input, the first image as a still picture, and the
// screen-to-picture conversion both GIF loaders use.
#include "formats/FormatGif.h"

#include <cstdlib>
#include <cstring>

#include "core/Progress.h"
#include "formats/GifInput.h"
#include "framework/String.h"

namespace {

int ReadGifInput(GifFileType* gif, GifByteType* buffer, int count)
{
    GifInput* input = static_cast<GifInput*>(gif->UserData);
    if (!input || count <= 0)
        return 0;
    DWORD got = 0;
    if (input->file) {
        got = static_cast<DWORD>(fread(buffer, 1, static_cast<size_t>(count), input->file));
    } else if (input->memory) {
        const DWORD left = input->size - input->position;
        got = static_cast<DWORD>(count) < left ? static_cast<DWORD>(count) : left;
        memcpy(buffer, input->memory + input->position, got);
    }
    for (DWORD i = 0; i < got && input->position + i < 3; ++i) {
        if (buffer[i] >= 'a' && buffer[i] <= 'z')
            buffer[i] = static_cast<GifByteType>(buffer[i] - 'a' + 'A');
    }
    input->position += got;
    return static_cast<int>(got);
}

void ReportRow(DWORD done, DWORD total) { SetProgress(done, total); }

} // namespace

// ---- Shared with the frame loader ----

GifFileType* OpenGifDecoder(GifInput* input)
{
    int error = 0;
    return DGifOpen(input, ReadGifInput, &error);
}

GifFileType* OpenGifFile(LPCSTR path, GifInput* input)
{
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file)
        return nullptr;
    setvbuf(file, nullptr, _IOFBF, 64 * 1024);
    char signature[3];
    const long size = (fseek(file, 0, SEEK_END) == 0) ? ftell(file) : -1;
    const bool isGif = size >= 3 && fseek(file, 0, SEEK_SET) == 0 && fread(signature, 1, 3, file) == 3
                       && _strnicmp(signature, "GIF", 3) == 0 && fseek(file, 0, SEEK_SET) == 0;
    if (!isGif) {
        fclose(file);
        return nullptr;
    }
    input->file = file;
    input->size = static_cast<DWORD>(size);
    input->position = 0;
    GifFileType* gif = OpenGifDecoder(input);
    if (!gif) {
        fclose(file);
        input->file = nullptr;
    }
    return gif;
}

DWORD GifInputPosition(const GifFileType* gif)
{
    const GifInput* input = static_cast<const GifInput*>(gif->UserData);
    return input ? input->position : 0;
}

DWORD GifInputSize(const GifFileType* gif)
{
    const GifInput* input = static_cast<const GifInput*>(gif->UserData);
    return input ? input->size : 0;
}

bool GifScreenFits(const GifFileType* gif)
{
    return gif->SWidth > 0 && gif->SHeight > 0
           && PackedDIBBytes(static_cast<DWORD>(gif->SWidth), static_cast<DWORD>(gif->SHeight), 8, 256)
                  <= kMaxPackedDIBBytes;
}

bool GifImageInsideScreen(const GifFileType* gif)
{
    const GifImageDesc& image = gif->Image;
    return image.Left >= 0 && image.Top >= 0 && image.Width > 0 && image.Height > 0
           && image.Left + image.Width <= gif->SWidth && image.Top + image.Height <= gif->SHeight;
}

const ColorMapObject* GifImageColorMap(const GifFileType* gif)
{
    return gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
}

WORD GifPictureBits(const GifFileType* gif, const ColorMapObject* map)
{
    int bits = map ? map->BitsPerPixel : 8;
    if (gif->SColorMap && gif->SColorMap->BitsPerPixel > bits)
        bits = gif->SColorMap->BitsPerPixel;
    return (bits == 1 || bits == 4) ? static_cast<WORD>(bits) : 8;
}

bool ReadGifImageRows(GifFileType* gif, BYTE* screen, BYTE* line, int transparent,
                      void (*rowDone)(DWORD done, DWORD total))
{
    static const int kPassStart[4] = {0, 4, 2, 1};
    static const int kPassStep[4] = {8, 8, 4, 2};
    const GifImageDesc& image = gif->Image;
    const int passes = image.Interlace ? 4 : 1;
    DWORD done = 0;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = image.Interlace ? kPassStart[pass] : 0;
        const int step = image.Interlace ? kPassStep[pass] : 1;
        for (int row = start; row < image.Height; row += step) {
            BYTE* target = screen + static_cast<size_t>(image.Top + row) * gif->SWidth + image.Left;
            if (transparent < 0) {
                if (DGifGetLine(gif, target, image.Width) == GIF_ERROR)
                    return false;
            } else {
                if (DGifGetLine(gif, line, image.Width) == GIF_ERROR)
                    return false;
                for (int x = 0; x < image.Width; ++x) {
                    if (line[x] != transparent)
                        target[x] = line[x];
                }
            }
            if (rowDone)
                rowDone(++done, static_cast<DWORD>(image.Height));
        }
    }
    return true;
}

bool SkipGifExtensionBlocks(GifFileType* gif)
{
    GifByteType* block = nullptr;
    do {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    } while (block != nullptr);
    return true;
}

// ---- Public operations ----

void PackGIFRow(const BYTE* src, BYTE* dst, WORD width, WORD bits)
{
    // The counters are wider than the width: at 65,535 pixels a 16-bit one stepping by two would
    // wrap to 0 and never end.
    const DWORD count = width;
    if (bits == 1) {
        for (DWORD x = 0; x < count; ++x) {
            const BYTE mask = static_cast<BYTE>(0x80 >> (x % 8));
            if (src[x])
                dst[x / 8] |= mask;
            else
                dst[x / 8] &= static_cast<BYTE>(~mask);
        }
    } else if (bits == 4) {
        for (DWORD x = 0; x < count; x += 2) {
            const BYTE low = (x + 1 < count) ? (src[x + 1] & 15) : 0;
            dst[x / 2] = static_cast<BYTE>((src[x] & 15) * 16 + low);
        }
    } else {
        memcpy(dst, src, count);
    }
}

PackedDIB BuildGIFDIB(const BYTE* rows, const GifFileType* gif, const ColorMapObject* colorMap, WORD bits)
{
    if (bits != 1 && bits != 4)
        bits = 8;
    const DWORD width = static_cast<DWORD>(gif->SWidth), height = static_cast<DWORD>(gif->SHeight);
    PackedDIB dib = CreateDIB(width, height, bits);
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    if (!block)
        return GlobalFreeHandle(dib);
    const DWORD rowBytes = DIBRowBytes(width, bits);
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    header->biSizeImage = rowBytes * height;
    const int entries = 1 << bits;
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    ZeroMemory(table, entries * sizeof(RGBQUAD));
    if (colorMap && colorMap->Colors) {
        const int count = colorMap->ColorCount < entries ? colorMap->ColorCount : entries;
        for (int i = 0; i < count; ++i) {
            table[i].rgbRed = colorMap->Colors[i].Red;
            table[i].rgbGreen = colorMap->Colors[i].Green;
            table[i].rgbBlue = colorMap->Colors[i].Blue;
        }
    }
    BYTE* bitsStart = FindDIBBits(block);
    for (DWORD y = 0; y < height; ++y)
        PackGIFRow(rows + static_cast<size_t>(y) * width,
                   bitsStart + static_cast<size_t>(height - 1 - y) * rowBytes, static_cast<WORD>(width),
                   bits);
    GlobalUnlock(dib);
    return dib;
}

PackedDIB DecodeFirstGIFImage(GifFileType* gif)
{
    if (!gif)
        return 0;
    BYTE* screen = nullptr;
    if (GifScreenFits(gif))
        screen = static_cast<BYTE*>(calloc(static_cast<size_t>(gif->SWidth) * gif->SHeight, 1));
    int error = 0;
    if (!screen) {
        DGifCloseFile(gif, &error);
        return 0;
    }
    const bool report = ShouldReportProgress();
    if (report)
        BeginProgress(static_cast<LPCSTR>(nullptr));
    PackedDIB dib = 0;
    bool reading = true;
    while (reading && !dib) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            break;
        switch (record) {
        case IMAGE_DESC_RECORD_TYPE:
            if (DGifGetImageDesc(gif) == GIF_ERROR || !GifImageInsideScreen(gif)
                || !ReadGifImageRows(gif, screen, nullptr, -1, report ? ReportRow : nullptr)) {
                reading = false;
                break;
            }
            {
                const ColorMapObject* map = GifImageColorMap(gif);
                dib = BuildGIFDIB(screen, gif, map, GifPictureBits(gif, map));
            }
            break;
        case EXTENSION_RECORD_TYPE: {
            int code = 0;
            GifByteType* block = nullptr;
            reading =
                DGifGetExtension(gif, &code, &block) != GIF_ERROR && (!block || SkipGifExtensionBlocks(gif));
            break;
        }
        default: // the terminator, or a record the decoder does not know
            reading = false;
            break;
        }
    }
    free(screen);
    if (report)
        EndProgress();
    DGifCloseFile(gif, &error);
    return dib;
}

PackedDIB LoadGIF(LPCSTR path)
{
    GifInput input;
    GifFileType* gif = OpenGifFile(path, &input);
    if (!gif)
        return 0;
    PackedDIB dib = DecodeFirstGIFImage(gif);
    fclose(input.file);
    return dib;
}

PackedDIB LoadGIFResource(HINSTANCE, LPCSTR name)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC resource = name ? FindResourceA(module, name, MAKEINTRESOURCEA(GIF_RESOURCE_TYPE)) : nullptr;
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data)
        return 0;
    GifInput input;
    input.memory = data;
    input.size = SizeofResource(module, resource);
    GifFileType* gif = OpenGifDecoder(&input);
    PackedDIB dib = gif ? DecodeFirstGIFImage(gif) : nullptr;
    UnlockResourceData(const_cast<BYTE*>(data));
    FreeResource(loaded);
    return dib;
}
