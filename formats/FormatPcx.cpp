// ZSoft PCX pictures: header, run-length lines and the merge of planes into picture rows.
#include "formats/FormatPcx.h"

#include "core/BufFile.h"
#include "core/ByteReader.h"
#include "core/Progress.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

const size_t kHeaderBytes = 128;
const size_t kPaletteBytes = 768;

struct PcxHeader {
    int version = 0;
    int bitsPerPixel = 0;
    int planes = 0;
    DWORD width = 0;
    DWORD height = 0;
    DWORD bytesPerLine = 0;
};

// The picture depth of a layout the reader decodes, or 0.
int DepthOf(int bits, int planes)
{
    if (bits == 1 && planes == 1)
        return 1;
    if ((bits == 1 && planes >= 2 && planes <= 4) || ((bits == 2 || bits == 4) && planes == 1))
        return 4;
    if (bits == 8 && planes == 1)
        return 8;
    if (bits == 8 && (planes == 3 || planes == 4))
        return 24;
    return 0;
}

bool ReadHeader(const ByteReader& in, PcxHeader& h)
{
    uint8_t version = 0, bits = 0, planes = 0;
    uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0, bpl = 0;
    if (!in.Has(0, kHeaderBytes))
        return false;
    in.U8At(1, &version);
    in.U8At(3, &bits);
    in.U16LEAt(4, &xmin);
    in.U16LEAt(6, &ymin);
    in.U16LEAt(8, &xmax);
    in.U16LEAt(10, &ymax);
    in.U8At(65, &planes);
    in.U16LEAt(66, &bpl);
    if (version != 5 || DepthOf(bits, planes) == 0)
        return false;
    if (xmax < xmin || ymax < ymin)
        return false;
    h.version = version;
    h.bitsPerPixel = bits;
    h.planes = planes;
    h.width = DWORD(xmax) - xmin + 1;
    h.height = DWORD(ymax) - ymin + 1;
    h.bytesPerLine = bpl;
    // Each plane's line must hold the row's pixels.
    return uint64_t(h.bytesPerLine) * 8 >= uint64_t(h.width) * h.bitsPerPixel;
}

void FillColorTable(const ByteReader& in, int depth, RGBQUAD* table)
{
    if (depth == 1 || depth == 4) {
        const uint8_t* map = in.Span(16, 48);
        const int count = depth == 1 ? 2 : 16;
        for (int i = 0; i < count; ++i)
            table[i] = RGBQUAD{map[3 * i + 2], map[3 * i + 1], map[3 * i], 0};
        // Many writers leave the map of a monochrome file empty: show it black and white.
        if (depth == 1 && memcmp(&table[0], &table[1], sizeof(RGBQUAD)) == 0) {
            table[0] = RGBQUAD{0, 0, 0, 0};
            table[1] = RGBQUAD{255, 255, 255, 0};
        }
    } else if (depth == 8) {
        const uint8_t* map = in.Span(in.Size() - kPaletteBytes, kPaletteBytes);
        for (int i = 0; i < 256; ++i)
            table[i] = RGBQUAD{map[3 * i + 2], map[3 * i + 1], map[3 * i], 0};
    }
}

} // namespace

int DecodePCXLine(PcxByteSource* source, BYTE* line, DWORD n, DWORD size)
{
    memset(line, 0, size);
    DWORD done = 0;
    while (done < n) {
        const BYTE b = source->ReadByte();
        DWORD count = 1;
        BYTE value = b;
        if ((b & 0xC0) == 0xC0) {
            count = b & 0x3F;
            value = source->ReadByte();
        }
        for (DWORD i = 0; i < count && done + i < size; ++i)
            line[done + i] = value;
        done += count;
    }
    return 1;
}

int MergePCXPlanes(const BYTE* line, BYTE* row, DWORD lineBytes, DWORD rowBytes, int planes,
                   DWORD bytesPerLine, int bitsPerPixel, int depth, DWORD width)
{
    if (DepthOf(bitsPerPixel, planes) != depth || uint64_t(planes) * bytesPerLine > lineBytes
        || uint64_t(bytesPerLine) * 8 < uint64_t(width) * bitsPerPixel)
        return 0;
    switch (depth) {
    case 1:
        if ((width + 7) / 8 > rowBytes)
            return 0;
        memcpy(row, line, (width + 7) / 8);
        return 1;
    case 8:
        if (width > rowBytes)
            return 0;
        memcpy(row, line, width);
        return 1;
    case 24:
        if (uint64_t(width) * 3 > rowBytes)
            return 0;
        for (DWORD x = 0; x < width; ++x) {
            row[3 * x] = line[2 * bytesPerLine + x];
            row[3 * x + 1] = line[bytesPerLine + x];
            row[3 * x + 2] = line[x];
        }
        return 1;
    default:
        break;
    }
    // Four bits per pixel, from one to four planes of one bit or one plane of 2 or 4 bits.
    if ((width + 1) / 2 > rowBytes)
        return 0;
    if (bitsPerPixel == 4) {
        memcpy(row, line, (width + 1) / 2);
        return 1;
    }
    memset(row, 0, (width + 1) / 2);
    for (DWORD x = 0; x < width; ++x) {
        unsigned v = 0;
        if (bitsPerPixel == 2) {
            v = (line[x >> 2] >> (6 - 2 * (x & 3))) & 3;
        } else {
            for (int k = 0; k < planes; ++k)
                v |= ((line[k * bytesPerLine + (x >> 3)] >> (7 - (x & 7))) & 1u) << k;
        }
        row[x >> 1] |= static_cast<BYTE>((x & 1) ? v : v << 4);
    }
    return 1;
}

bool IsPCXSignature(const void* data, size_t size)
{
    PcxHeader header;
    return ReadHeader(ByteReader(data, size), header);
}

PackedDIB DecodePCX(const void* data, size_t size)
{
    const ByteReader in(data, size);
    PcxHeader h;
    if (!ReadHeader(in, h))
        return 0;
    const int depth = DepthOf(h.bitsPerPixel, h.planes);
    if (depth == 8 && size < kHeaderBytes + kPaletteBytes)
        return 0;
    const DWORD lineBytes = h.planes * h.bytesPerLine;
    const DWORD rowBytes = DIBRowBytes(h.width, static_cast<WORD>(depth));
    if (rowBytes == 0)
        return 0;
    const DWORD workBytes = rowBytes > lineBytes ? rowBytes : lineBytes;

    PackedDIB dib = CreateDIB(h.width, h.height, static_cast<WORD>(depth));
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    if (!block)
        return GlobalFreeHandle(dib);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    header->biSizeImage = rowBytes * h.height;
    FillColorTable(in, depth, reinterpret_cast<RGBQUAD*>(block + header->biSize));
    BYTE* bits = FindDIBBits(block);

    std::vector<BYTE> line, row;
    try {
        line.resize(workBytes);
        row.resize(workBytes);
    } catch (const std::bad_alloc&) {
        GlobalUnlock(dib);
        return GlobalFreeHandle(dib);
    }

    CProgressScope progress;
    PcxByteSource source(in.Data() + kHeaderBytes, size - kHeaderBytes);
    const size_t encodedBytes = size - kHeaderBytes;
    for (DWORD y = 0; y < h.height; ++y) {
        // Past the end every byte is 0, and so is every row: the block already holds them.
        if (source.Position() >= encodedBytes)
            break;
        DecodePCXLine(&source, line.data(), lineBytes, workBytes);
        MergePCXPlanes(line.data(), row.data(), lineBytes, rowBytes, h.planes, h.bytesPerLine, h.bitsPerPixel,
                       depth, h.width);
        memcpy(bits + static_cast<size_t>(h.height - 1 - y) * rowBytes, row.data(), rowBytes);
        progress.Row(y + 1, h.height);
    }
    GlobalUnlock(dib);
    return dib;
}

PackedDIB LoadPCX(LPCSTR path)
{
    if (path == nullptr)
        return 0;
    std::vector<BYTE> bytes;
    try {
        // The buffered reader fills itself 32767 bytes per system call.
        CBufFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
            return 0;
        const DWORD length = file.GetLength();
        if (length > kMaxPackedDIBBytes)
            return 0;
        bytes.resize(length);
        for (DWORD i = 0; i < length; ++i)
            bytes[i] = file.ReadByte();
        file.Close();
    } catch (const CException&) {
        return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return DecodePCX(bytes.data(), bytes.size());
}
