// Kodak PhotoCD: the interleaved YCC planes of the Base pictures, upsampling, the Huffman-coded
// luma residuals of 4Base, the colour conversion and the turn into an upright picture.
#include "formats/FormatPcd.h"

#include "core/Progress.h"
#include "core/ReaderOptions.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

const size_t kSector = 2048;
const size_t kOrientationOffset = kSector + 1538;
const DWORD kBase16Sector = 4;
const DWORD kBase4Sector = 23;
const DWORD kBaseSector = 96;
const DWORD kHuffmanSector = 388;
const DWORD kResidualSector = 389;
const size_t kMaxFileBytes = 64u << 20; // far beyond the 4Base residuals

// Sequential reads from the file bytes; what lies past the end reads as 0.
class SectorReader {
public:
    SectorReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    void SeekSector(DWORD sector) { m_pos = static_cast<size_t>(sector) * kSector; }
    void Read(BYTE* dest, size_t count)
    {
        const size_t have = m_pos < m_size ? (m_size - m_pos < count ? m_size - m_pos : count) : 0;
        if (have)
            memcpy(dest, m_data + m_pos, have);
        memset(dest + have, 0, count - have);
        m_pos += count;
    }
    // The next byte, or -1 past the end.
    int Byte() { return m_pos < m_size ? m_data[m_pos++] : (++m_pos, -1); }
    bool AtEnd() const { return m_pos >= m_size; }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Rows of the three planes: two luma rows of width bytes, then one row of each chroma component
// of width / 2 bytes, for every pair of luma rows.
void PcdReadInterleaved(SectorReader& in, DWORD width, DWORD height, PcdPlane planes[3])
{
    planes[0].width = width;
    planes[0].height = height;
    for (int c = 1; c < 3; ++c) {
        planes[c].width = width / 2;
        planes[c].height = height / 2;
    }
    for (DWORD y = 0; y + 1 < height; y += 2) {
        in.Read(planes[0].Row(y), width);
        in.Read(planes[0].Row(y + 1), width);
        in.Read(planes[1].Row(y / 2), width / 2);
        in.Read(planes[2].Row(y / 2), width / 2);
    }
}

// A picture read at its own size (Base/16, Base/4): all three planes end up width x height.
bool PcdReadSubBase(SectorReader& in, DWORD width, DWORD height, DWORD sector, PcdPlane planes[3])
{
    for (int c = 0; c < 3; ++c)
        if (!planes[c].Allocate(width, height))
            return false;
    in.SeekSector(sector);
    PcdReadInterleaved(in, width, height, planes);
    return PcdUpsample(planes[1]) && PcdUpsample(planes[2]);
}

// The Base picture, read the same way.
bool PcdReadBase(SectorReader& in, DWORD width, DWORD height, DWORD sector, PcdPlane planes[3])
{
    return PcdReadSubBase(in, width, height, sector, planes);
}

// ---- 4Base luma residuals ----

struct HuffmanCode {
    uint32_t code = 0; // left-aligned in 16 bits
    int length = 0;
    int value = 0; // signed 8-bit delta
};

// Reads `count` tables (1 to 3) one after the other from the reader's position; false for an entry
// longer than 16 bits.
bool PcdReadHuffmanTables(SectorReader& in, int count, std::vector<HuffmanCode> tables[3])
{
    for (int t = 0; t < count && t < 3; ++t) {
        BYTE entries = 0;
        in.Read(&entries, 1);
        tables[t].resize(static_cast<size_t>(entries) + 1);
        for (HuffmanCode& e : tables[t]) {
            BYTE b[4];
            in.Read(b, 4);
            e.length = b[0] + 1;
            e.code = (uint32_t(b[1]) << 8) | b[2];
            e.value = static_cast<signed char>(b[3]);
            if (e.length > 16)
                return false;
        }
    }
    return true;
}

// The bit stream, most significant bit first, through a 32-bit window. Past the end zeros come
// in; Finished() tells when no bit of the file is left in the window.
class BitReader {
public:
    explicit BitReader(SectorReader& in) : m_in(in) { Fill(); }
    uint32_t Window() const { return m_window; }
    void Drop(int n)
    {
        m_window = n >= 32 ? 0 : m_window << n;
        m_real -= n;
        m_bits -= n;
        Fill();
    }
    bool Finished() const { return m_real <= 0; }

private:
    void Fill()
    {
        while (m_bits <= 24) {
            const int b = m_in.Byte();
            m_window |= uint32_t(b < 0 ? 0 : b) << (24 - m_bits);
            m_bits += 8;
            if (b >= 0)
                m_real = m_bits;
        }
    }
    SectorReader& m_in;
    uint32_t m_window = 0;
    int m_bits = 0; // bits in the window
    int m_real = 0; // of which taken from the file
};

inline bool AtSync(uint32_t window) { return (window >> 8) == 0xFFFFFE; }

// Moves to the next sync pattern; false when the file ends first.
bool FindSync(BitReader& bits)
{
    while (!bits.Finished() && (bits.Window() & 0x00FFF000) != 0x00FFF000)
        bits.Drop(8);
    while (!bits.Finished() && !AtSync(bits.Window()))
        bits.Drop(1);
    return !bits.Finished();
}

void PcdDecodeResidual(SectorReader& in, const std::vector<HuffmanCode>& table, PcdPlane& luma)
{
    // First matching entry for every 16-bit prefix, in table order; -1 where none matches.
    std::vector<short> lookup(65536, -1);
    for (size_t i = table.size(); i-- > 0;) {
        const HuffmanCode& e = table[i];
        const uint32_t mask = (0xFFFFu << (16 - e.length)) & 0xFFFF;
        if (e.code & ~mask)
            continue; // bits beyond its length: no window can match it
        const uint32_t first = e.code;
        const uint32_t span = 1u << (16 - e.length);
        for (uint32_t v = first; v < first + span; ++v)
            lookup[v] = static_cast<short>(i);
    }
    in.SeekSector(kResidualSector);
    BitReader bits(in);
    if (!FindSync(bits))
        return;
    for (;;) {
        bits.Drop(24);
        const uint32_t header = bits.Window() >> 16;
        bits.Drop(16);
        const int plane = static_cast<int>(header >> 14);
        const DWORD row = (header >> 1) & 0x1FFF;
        if (row == luma.height)
            return; // the end of the residuals
        if (plane == 0 && row < luma.height) {
            BYTE* q = luma.Row(row);
            DWORD x = 0;
            while (!bits.Finished() && !AtSync(bits.Window()) && x < luma.width) {
                const short i = lookup[bits.Window() >> 16];
                if (i < 0)
                    break; // unknown code: on to the next row
                int v = q[x] + table[i].value;
                q[x++] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
                bits.Drop(table[i].length);
            }
        }
        // Chroma rows, bad rows, overlong rows and unknown codes: on to the next sync pattern.
        if (!FindSync(bits))
            return;
    }
}

bool PcdRead4Base(SectorReader& in, PcdPlane planes[3])
{
    for (int c = 0; c < 3; ++c)
        if (!planes[c].Allocate(1536, 1024))
            return false;
    in.SeekSector(kBaseSector);
    PcdReadInterleaved(in, 768, 512, planes);
    if (!PcdUpsample(planes[0]) || !PcdUpsample(planes[1]) || !PcdUpsample(planes[1])
        || !PcdUpsample(planes[2]) || !PcdUpsample(planes[2]))
        return false;
    std::vector<HuffmanCode> tables[3];
    in.SeekSector(kHuffmanSector);
    try {
        if (PcdReadHuffmanTables(in, 1, tables))
            PcdDecodeResidual(in, tables[0], planes[0]);
    } catch (const std::bad_alloc&) {
        // Without room for the code table the picture keeps its upsampled luma.
    }
    return true;
}

// ---- Colour and output ----

struct YccTables {
    int y[256];
    int c2Red[256];
    int c1Green[256];
    int c2Green[256];
    int c1Blue[256];
    YccTables()
    {
        for (int i = 0; i < 256; ++i) {
            y[i] = 1391 * i;
            c2Red[i] = 1865 * i - 255023;
            c1Green[i] = -441 * i;
            c2Green[i] = -949 * i + 199313;
            c1Blue[i] = 2271 * i - 353784;
        }
    }
};

const YccTables& Ycc()
{
    static const YccTables tables; // built once, thread-safely
    return tables;
}

inline BYTE To8Bits(int v)
{
    v >>= 8; // arithmetic shift: the compilers we use keep the sign
    return static_cast<BYTE>((v < 0 ? 0 : v > 1023 ? 1023 : v) / 4);
}

// A 24-bit picture of the planes (red, green, blue by now) turned by the orientation: output row r
// of the upright picture becomes picture row (height - 1 - r) counted from the bottom.
PackedDIB PcdPlanesToDIB(PcdPlane planes[3], int orientation, CProgressScope& progress)
{
    const DWORD w = planes[0].width;
    const DWORD h = planes[0].height;
    const bool turned = orientation == 2 || orientation == 3;
    const DWORD outW = turned ? h : w;
    const DWORD outH = turned ? w : h;
    PackedDIB dib = CreateDIB(outW, outH, 24);
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    if (!block)
        return GlobalFreeHandle(dib);
    BYTE* bits = FindDIBBits(block);
    const DWORD rowBytes = DIBRowBytes(outW, 24);
    for (DWORD r = 0; r < outH; ++r) {
        BYTE* out = bits + static_cast<size_t>(outH - 1 - r) * rowBytes;
        for (DWORD c = 0; c < outW; ++c) {
            DWORD py = r, px = c;
            switch (orientation) {
            case 2:
                py = h - 1 - c;
                px = r;
                break;
            case 3:
                py = c;
                px = w - 1 - r;
                break;
            case 4:
                py = h - 1 - r;
                px = w - 1 - c;
                break;
            default:
                break;
            }
            const size_t at = static_cast<size_t>(py) * planes[0].stride + px;
            out[3 * c] = planes[2].data[at];
            out[3 * c + 1] = planes[1].data[at];
            out[3 * c + 2] = planes[0].data[at];
        }
        progress.Row(r + 1, outH);
    }
    GlobalUnlock(dib);
    return dib;
}

PackedDIB PcdWriteImage(PcdPlane planes[3], int orientation, CProgressScope& progress)
{
    PcdYccToRgb(planes);
    return PcdPlanesToDIB(planes, orientation, progress);
}

} // namespace

bool PcdPlane::Allocate(DWORD allocWidth, DWORD allocHeight)
{
    try {
        data.assign(static_cast<size_t>(allocWidth) * allocHeight, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    stride = allocWidth;
    rows = allocHeight;
    width = height = 0;
    return true;
}

bool PcdUpsample(PcdPlane& plane)
{
    const DWORD w = plane.width, h = plane.height;
    if (w == 0 || h == 0 || 2 * w > plane.stride || 2 * h > plane.rows)
        return false;
    // From the last row back, so that no source row is overwritten before it is used; within a
    // row from the right, for the first row expands onto itself.
    for (DWORD r = h; r-- > 0;) {
        const BYTE* src = plane.Row(r);
        BYTE* dst = plane.Row(2 * r);
        dst[2 * w - 1] = src[w - 1];
        dst[2 * w - 2] = src[w - 1];
        for (DWORD x = w - 1; x-- > 0;) {
            dst[2 * x + 1] = static_cast<BYTE>((src[x] + src[x + 1] + 1) / 2);
            dst[2 * x] = src[x];
        }
    }
    for (DWORD r = 0; r + 1 < h; ++r) {
        const BYTE* a = plane.Row(2 * r);
        const BYTE* b = plane.Row(2 * r + 2);
        BYTE* d = plane.Row(2 * r + 1);
        for (DWORD x = 0; x + 1 < w; ++x) {
            d[2 * x] = static_cast<BYTE>((a[2 * x] + b[2 * x] + 1) / 2);
            d[2 * x + 1] = static_cast<BYTE>((a[2 * x] + a[2 * x + 2] + b[2 * x] + b[2 * x + 2] + 2) / 4);
        }
        d[2 * w - 2] = static_cast<BYTE>((a[2 * w - 2] + b[2 * w - 2] + 1) / 2);
        d[2 * w - 1] = static_cast<BYTE>((a[2 * w - 1] + b[2 * w - 1] + 1) / 2);
    }
    memcpy(plane.Row(2 * h - 1), plane.Row(2 * h - 2), 2 * w);
    plane.width = 2 * w;
    plane.height = 2 * h;
    return true;
}

void PcdYccToRgb(PcdPlane planes[3])
{
    for (DWORD y = 0; y < planes[0].height; ++y) {
        BYTE* p0 = planes[0].Row(y);
        BYTE* p1 = planes[1].Row(y);
        BYTE* p2 = planes[2].Row(y);
        for (DWORD x = 0; x < planes[0].width; ++x)
            PcdYccPixelToRgb(p0[x], p1[x], p2[x], &p0[x], &p1[x], &p2[x]);
    }
}

void PcdYccPixelToRgb(BYTE y, BYTE c1, BYTE c2, BYTE* red, BYTE* green, BYTE* blue)
{
    const YccTables& t = Ycc();
    *red = To8Bits(t.y[y] + t.c2Red[c2]);
    *green = To8Bits(t.y[y] + t.c1Green[c1] + t.c2Green[c2]);
    *blue = To8Bits(t.y[y] + t.c1Blue[c1]);
}

int PcdReadOrientation(const void* data, size_t size)
{
    static const int kCodes[4] = {1, 3, 4, 2};
    if (data == nullptr || size <= kOrientationOffset)
        return 1;
    return kCodes[static_cast<const BYTE*>(data)[kOrientationOffset] & 3];
}

PackedDIB DecodePCD(const void* data, size_t size, int photoCDSize)
{
    CProgressScope progress;
    SectorReader in(static_cast<const BYTE*>(data), data ? size : 0);
    const int orientation = PcdReadOrientation(data, size);
    PcdPlane planes[3];
    bool ok = false;
    switch (photoCDSize) {
    case 0:
        ok = PcdReadSubBase(in, 192, 128, kBase16Sector, planes);
        break;
    case 1:
        ok = PcdReadSubBase(in, 384, 256, kBase4Sector, planes);
        break;
    case 3:
        ok = PcdRead4Base(in, planes);
        break;
    default:
        ok = PcdReadBase(in, 768, 512, kBaseSector, planes);
        break;
    }
    return ok ? PcdWriteImage(planes, orientation, progress) : 0;
}

PackedDIB LoadPCD(LPCSTR path)
{
    if (path == nullptr)
        return 0;
    FILE* stream = fopen(path, "rb");
    if (stream == nullptr)
        return 0;
    std::vector<BYTE> bytes;
    bool ok = true;
    try {
        BYTE piece[32768];
        size_t n = 0;
        while (bytes.size() < kMaxFileBytes && (n = fread(piece, 1, sizeof(piece), stream)) > 0)
            bytes.insert(bytes.end(), piece, piece + n);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    fclose(stream);
    return ok ? DecodePCD(bytes.data(), bytes.size(), CurrentReaderOptions().photoCDSize) : 0;
}
