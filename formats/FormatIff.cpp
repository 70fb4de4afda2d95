// Amiga IFF pictures: the chunk walk, ByteRun1 rows and the merge of bit-planes into pixels.
#include "formats/FormatIff.h"

#include "core/ByteReader.h"
#include "core/Progress.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr uint32_t Tag(char a, char b, char c, char d)
{
    return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) | (uint32_t(uint8_t(c)) << 8)
           | uint32_t(uint8_t(d));
}

const uint32_t kFORM = Tag('F', 'O', 'R', 'M');
const uint32_t kLIST = Tag('L', 'I', 'S', 'T');
const uint32_t kCAT = Tag('C', 'A', 'T', ' ');
const uint32_t kPROP = Tag('P', 'R', 'O', 'P');
const uint32_t kAIFF = Tag('A', 'I', 'F', 'F');
const uint32_t kILBM = Tag('I', 'L', 'B', 'M');
const uint32_t kPBM = Tag('P', 'B', 'M', ' ');
const uint32_t kRGB8 = Tag('R', 'G', 'B', '8');
const uint32_t kRGBN = Tag('R', 'G', 'B', 'N');
const uint32_t kBMHD = Tag('B', 'M', 'H', 'D');
const uint32_t kCMAP = Tag('C', 'M', 'A', 'P');
const uint32_t kCAMG = Tag('C', 'A', 'M', 'G');
const uint32_t kDCOL = Tag('D', 'C', 'O', 'L');
const uint32_t kBODY = Tag('B', 'O', 'D', 'Y');

const DWORD kCamgHam = 0x800;
const DWORD kCamgHalfBrite = 0x80;
const int kMaskHasMaskPlane = 1;

// Begins the gauge when progress is reported and ends it on every way out.
enum class Layout { Planar, Chunky, Rgb8, Rgbn };

// What the chunk walk found.
struct IffFile {
    Layout layout = Layout::Planar;
    bool haveHeader = false;
    WORD width = 0;
    WORD height = 0;
    int planes = 0;
    int masking = 0;
    int compression = 0;
    bool haveColorMap = false;
    BYTE colorMap[768] = {};
    DWORD camg = 0;
    int directBits[3] = {0, 0, 0}; // DCOL: bits of red, green and blue; 0 when absent
    const BYTE* body = nullptr;
    size_t bodySize = 0;
};

bool IsPictureForm(uint32_t type) { return type == kILBM || type == kPBM || type == kRGB8 || type == kRGBN; }

Layout LayoutOf(uint32_t type)
{
    if (type == kPBM)
        return Layout::Chunky;
    if (type == kRGB8)
        return Layout::Rgb8;
    if (type == kRGBN)
        return Layout::Rgbn;
    return Layout::Planar;
}

// Walks the chunks up to the first BODY. Container chunks (a nested FORM of a picture type, LIST,
// CAT, PROP) are entered, since their chunks follow in order; every step moves forward, so a
// hostile length can end the walk but never turn it back.
bool WalkChunks(const ByteReader& in, IffFile& file)
{
    uint32_t id = 0, type = 0;
    if (!in.U32BEAt(0, &id) || !in.U32BEAt(8, &type))
        return false;
    if ((id != kFORM && id != kLIST && id != kCAT) || type == kAIFF)
        return false;
    file.layout = LayoutOf(type);
    uint64_t pos = 12;
    for (;;) {
        uint32_t length = 0;
        if (!in.U32BEAt(static_cast<size_t>(pos), &id) || !in.U32BEAt(static_cast<size_t>(pos) + 4, &length))
            return false; // the file ends without a BODY
        const uint64_t data = pos + 8;
        const uint64_t next = data + length + (length & 1);
        if (id == kFORM || id == kLIST || id == kCAT || id == kPROP) {
            uint32_t inner = 0;
            if (length < 4 || !in.U32BEAt(static_cast<size_t>(data), &inner))
                return false;
            if (id == kFORM && !IsPictureForm(inner)) {
                if (next > in.Size())
                    return false;
                pos = next;
                continue;
            }
            if (id == kFORM)
                file.layout = LayoutOf(inner);
            pos = data + 4;
            continue;
        }
        if (id == kBMHD) {
            const uint8_t* h = in.Span(static_cast<size_t>(data), 20);
            if (length < 20 || h == nullptr)
                return false;
            file.width = static_cast<WORD>((h[0] << 8) | h[1]);
            file.height = static_cast<WORD>((h[2] << 8) | h[3]);
            file.planes = h[8];
            file.masking = h[9];
            file.compression = h[10];
            file.haveHeader = true;
        } else if (id == kCMAP) {
            const size_t kept = length > 768 ? 768 : length;
            memset(file.colorMap, 0, sizeof(file.colorMap));
            if (!in.CopyAt(static_cast<size_t>(data), file.colorMap, kept))
                return false;
            file.haveColorMap = true;
        } else if (id == kCAMG) {
            uint32_t camg = 0;
            if (length >= 4 && in.U32BEAt(static_cast<size_t>(data), &camg))
                file.camg = camg;
        } else if (id == kDCOL) {
            const uint8_t* d = in.Span(static_cast<size_t>(data), 3);
            if (length >= 4 && d != nullptr) {
                file.directBits[0] = d[0];
                file.directBits[1] = d[1];
                file.directBits[2] = d[2];
            }
        } else if (id == kBODY) {
            if (!file.haveHeader)
                return false; // size and depth are unknown before BMHD
            if (data >= in.Size())
                return false;
            file.body = in.Data() + data;
            const uint64_t available = in.Size() - data;
            file.bodySize = static_cast<size_t>(length < available ? length : available);
            return true;
        }
        if (next > in.Size())
            return false;
        pos = next;
    }
}

// The BODY bytes in sequence; past the end nothing more comes.
class BodyCursor {
public:
    BodyCursor(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_pos < m_size; }
    BYTE Next() { return m_data[m_pos++]; }
    size_t Take(BYTE* dest, size_t count)
    {
        const size_t n = count < m_size - m_pos ? count : m_size - m_pos;
        memcpy(dest, m_data + m_pos, n);
        m_pos += n;
        return n;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// One row of rowBytes bytes into row (zero-filled first): ByteRun1 or raw. Bytes of a run that
// would pass the end of the row are consumed and dropped; 128 is a no-op. Every code consumes
// input, so a hostile stream cannot stall the loop.
void ReadRow(BodyCursor& body, bool byteRun1, BYTE* row, size_t rowBytes)
{
    memset(row, 0, rowBytes);
    if (!byteRun1) {
        body.Take(row, rowBytes);
        return;
    }
    size_t o = 0;
    while (o < rowBytes && body.More()) {
        const int n = static_cast<signed char>(body.Next());
        if (n >= 0) {
            for (int i = 0; i <= n && body.More(); ++i) {
                const BYTE b = body.Next();
                if (o < rowBytes)
                    row[o++] = b;
            }
        } else if (n != -128) {
            if (!body.More())
                break;
            const BYTE b = body.Next();
            for (int i = 0; i < 1 - n && o < rowBytes; ++i)
                row[o++] = b;
        }
    }
}

inline unsigned PlaneBit(const BYTE* plane, unsigned x) { return (plane[x >> 3] >> (7 - (x & 7))) & 1u; }

// Value of pixel x over `count` planes starting at `first`, plane k giving bit (k - first).
inline uint32_t PixelBits(const BYTE* row, size_t planeBytes, int first, int count, unsigned x)
{
    uint32_t v = 0;
    for (int k = 0; k < count; ++k)
        v |= PlaneBit(row + planeBytes * static_cast<size_t>(first + k), x) << k;
    return v;
}

// A channel of `bits` bits widened to 8 bits, rounded.
inline BYTE Widen(uint32_t value, int bits)
{
    if (bits == 8)
        return static_cast<BYTE>(value);
    const uint64_t max = (uint64_t(1) << bits) - 1;
    return static_cast<BYTE>((uint64_t(value) * 255 + max / 2) / max);
}

// How a planar file's pixels become colours.
enum class Kind { Indexed, Ham, Deep };

struct Decoder {
    const IffFile& file;
    Kind kind = Kind::Indexed;
    int colorPlanes = 0; // planes that carry colour (without the mask plane)
    int depth = 0;       // 1, 4, 8 or 24
    int rgbBits[3] = {0, 0, 0};
    int rgbFirst[3] = {0, 0, 0};
    size_t planeBytes = 0;
    size_t encodedBytes = 0;
    RGBQUAD table[256] = {};
};

bool Plan(Decoder& d)
{
    const IffFile& f = d.file;
    if (f.width == 0 || f.height == 0)
        return false;
    if (f.layout == Layout::Chunky) {
        if (f.planes < 1 || f.planes > 8)
            return false;
        d.depth = 8;
        d.encodedBytes = (static_cast<size_t>(f.width) + 1) & ~size_t(1);
        return true;
    }
    if (f.layout == Layout::Rgb8 || f.layout == Layout::Rgbn) {
        d.depth = 24;
        return f.compression == 4;
    }
    d.colorPlanes = f.planes;
    d.planeBytes = ((static_cast<size_t>(f.width) + 15) / 16) * 2;
    const int stored = f.planes + (f.masking == kMaskHasMaskPlane ? 1 : 0);
    d.encodedBytes = d.planeBytes * static_cast<size_t>(stored);
    if (f.planes >= 1 && f.planes <= 8) {
        if ((f.camg & kCamgHam) && f.planes >= 5) {
            d.kind = Kind::Ham;
            d.depth = 24;
        } else {
            d.kind = Kind::Indexed;
            d.depth = f.planes == 1 ? 1 : (f.planes <= 4 ? 4 : 8);
        }
        return true;
    }
    d.kind = Kind::Deep;
    d.depth = 24;
    if (f.directBits[0] || f.directBits[1] || f.directBits[2]) {
        for (int c = 0; c < 3; ++c)
            d.rgbBits[c] = f.directBits[c];
        const int sum = d.rgbBits[0] + d.rgbBits[1] + d.rgbBits[2];
        if (sum != f.planes && sum + 8 != f.planes)
            return false;
    } else if (f.planes == 32) {
        d.rgbBits[0] = d.rgbBits[1] = d.rgbBits[2] = 8; // the last 8 planes are alpha
    } else if (f.planes % 3 == 0) {
        d.rgbBits[0] = d.rgbBits[1] = d.rgbBits[2] = f.planes / 3;
    } else {
        return false;
    }
    for (int c = 0; c < 3; ++c)
        if (d.rgbBits[c] < 1 || d.rgbBits[c] > 16)
            return false;
    d.rgbFirst[1] = d.rgbBits[0];
    d.rgbFirst[2] = d.rgbBits[0] + d.rgbBits[1];
    return true;
}

void BuildColorTable(Decoder& d)
{
    const IffFile& f = d.file;
    const int entries = d.depth == 24 ? 256 : 1 << d.depth;
    for (int i = 0; i < entries; ++i) {
        if (f.haveColorMap) {
            d.table[i].rgbRed = f.colorMap[3 * i];
            d.table[i].rgbGreen = f.colorMap[3 * i + 1];
            d.table[i].rgbBlue = f.colorMap[3 * i + 2];
        } else {
            // No CMAP at all: a grey ramp rather than a black picture.
            const BYTE grey = static_cast<BYTE>(entries > 1 ? i * 255 / (entries - 1) : 0);
            d.table[i].rgbRed = d.table[i].rgbGreen = d.table[i].rgbBlue = grey;
        }
        d.table[i].rgbReserved = 0;
    }
    // Extra half-brite: the upper 32 colours are the lower 32 at half intensity.
    if (d.kind == Kind::Indexed && (f.camg & kCamgHalfBrite) && f.planes == 6 && f.haveColorMap) {
        for (int i = 32; i < 64; ++i) {
            d.table[i].rgbRed = d.table[i - 32].rgbRed >> 1;
            d.table[i].rgbGreen = d.table[i - 32].rgbGreen >> 1;
            d.table[i].rgbBlue = d.table[i - 32].rgbBlue >> 1;
        }
    }
}

void MergeIndexed(const Decoder& d, const BYTE* row, BYTE* out)
{
    const unsigned width = d.file.width;
    if (d.depth == 1) {
        memcpy(out, row, (width + 7) / 8);
        return;
    }
    for (unsigned x = 0; x < width; ++x) {
        const uint32_t v = PixelBits(row, d.planeBytes, 0, d.colorPlanes, x);
        if (d.depth == 8)
            out[x] = static_cast<BYTE>(v);
        else
            out[x >> 1] |= static_cast<BYTE>((x & 1) ? v : v << 4);
    }
}

// Hold-and-modify: the top two planes say whether the rest index the colour map or replace one
// channel of the previous pixel's colour; every row starts from colour 0.
void MergeHam(const Decoder& d, const BYTE* row, BYTE* out)
{
    const int dataBits = d.colorPlanes - 2;
    const uint32_t dataMask = (1u << dataBits) - 1;
    BYTE r = d.table[0].rgbRed, g = d.table[0].rgbGreen, b = d.table[0].rgbBlue;
    for (unsigned x = 0; x < d.file.width; ++x) {
        const uint32_t v = PixelBits(row, d.planeBytes, 0, d.colorPlanes, x);
        const uint32_t value = v & dataMask;
        // A modified channel takes the data bits as its high bits and keeps its own low bits.
        const int low = 8 - dataBits;
        const BYTE keepMask = static_cast<BYTE>((1u << low) - 1);
        switch (v >> dataBits) {
        case 0:
            r = d.table[value].rgbRed;
            g = d.table[value].rgbGreen;
            b = d.table[value].rgbBlue;
            break;
        case 1:
            b = static_cast<BYTE>((value << low) | (b & keepMask));
            break;
        case 2:
            r = static_cast<BYTE>((value << low) | (r & keepMask));
            break;
        default:
            g = static_cast<BYTE>((value << low) | (g & keepMask));
            break;
        }
        out[3 * x] = b;
        out[3 * x + 1] = g;
        out[3 * x + 2] = r;
    }
}

void MergeDeep(const Decoder& d, const BYTE* row, BYTE* out)
{
    for (unsigned x = 0; x < d.file.width; ++x) {
        for (int c = 0; c < 3; ++c) {
            const uint32_t v = PixelBits(row, d.planeBytes, d.rgbFirst[c], d.rgbBits[c], x);
            out[3 * x + (2 - c)] = Widen(v, d.rgbBits[c]);
        }
    }
}

// RGB8 / RGBN: a stream of colour words, each with a repeat count (3 or 7 bits; 0 means the
// count follows in a byte, or when that byte is 0, in a 16-bit word). Runs go on across rows.
class RgbRunReader {
public:
    RgbRunReader(BodyCursor& body, bool rgbn) : m_body(body), m_rgbn(rgbn) {}

    // Next pixel as blue, green, red; black once the stream is used up.
    void Next(BYTE* bgr)
    {
        if (m_left == 0)
            Load();
        if (m_left > 0)
            --m_left;
        bgr[0] = m_b;
        bgr[1] = m_g;
        bgr[2] = m_r;
    }
    // True when no run is pending.
    bool Idle() const { return m_left == 0; }

private:
    bool Byte(uint32_t* out)
    {
        if (!m_body.More())
            return false;
        *out = m_body.Next();
        return true;
    }
    void Load()
    {
        uint32_t count = 0;
        if (m_rgbn) {
            uint32_t hi = 0, lo = 0;
            if (!Byte(&hi) || !Byte(&lo))
                return End();
            const uint32_t w = (hi << 8) | lo;
            m_r = static_cast<BYTE>(((w >> 12) & 15) * 17);
            m_g = static_cast<BYTE>(((w >> 8) & 15) * 17);
            m_b = static_cast<BYTE>(((w >> 4) & 15) * 17);
            count = w & 7;
        } else {
            uint32_t r = 0, g = 0, b = 0, c = 0;
            if (!Byte(&r) || !Byte(&g) || !Byte(&b) || !Byte(&c))
                return End();
            m_r = static_cast<BYTE>(r);
            m_g = static_cast<BYTE>(g);
            m_b = static_cast<BYTE>(b);
            count = c & 127;
        }
        if (count == 0) {
            if (!Byte(&count))
                return End();
            if (count == 0) {
                uint32_t hi = 0, lo = 0;
                if (!Byte(&hi) || !Byte(&lo))
                    return End();
                count = (hi << 8) | lo;
            }
        }
        m_left = count;
    }
    void End()
    {
        m_r = m_g = m_b = 0;
        m_left = 0;
    }

    BodyCursor& m_body;
    bool m_rgbn;
    uint32_t m_left = 0;
    BYTE m_r = 0, m_g = 0, m_b = 0;
};

// Rows from file row `first` on, as all-zero data gives them: index 0 (the zeroed block) except
// for HAM, whose rows then show colour 0.
void FillRemainingRows(const Decoder& d, BYTE* bits, DWORD rowBytes, DWORD first)
{
    if (d.kind != Kind::Ham)
        return;
    const DWORD height = d.file.height;
    for (DWORD r = first; r < height; ++r) {
        BYTE* out = bits + static_cast<size_t>(height - 1 - r) * rowBytes;
        for (unsigned x = 0; x < d.file.width; ++x) {
            out[3 * x] = d.table[0].rgbBlue;
            out[3 * x + 1] = d.table[0].rgbGreen;
            out[3 * x + 2] = d.table[0].rgbRed;
        }
    }
}

PackedDIB Decode(const IffFile& file)
{
    Decoder d{file};
    if (!Plan(d))
        return 0;
    BuildColorTable(d);

    PackedDIB dib = CreateDIB(file.width, file.height, static_cast<WORD>(d.depth));
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    if (!block)
        return GlobalFreeHandle(dib);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const DWORD rowBytes = DIBRowBytes(header->biWidth, header->biBitCount);
    if (d.depth <= 8)
        memcpy(block + header->biSize, d.table, sizeof(RGBQUAD) << d.depth);
    BYTE* bits = FindDIBBits(block);

    std::vector<BYTE> encoded;
    try {
        encoded.assign(d.encodedBytes ? d.encodedBytes : 1, 0);
    } catch (const std::bad_alloc&) {
        GlobalUnlock(dib);
        return GlobalFreeHandle(dib);
    }

    CProgressScope progress;
    BodyCursor body(file.body, file.bodySize);
    RgbRunReader runs(body, file.layout == Layout::Rgbn);
    const bool byteRun1 = file.compression != 0;
    for (DWORD r = 0; r < file.height; ++r) {
        BYTE* out = bits + static_cast<size_t>(file.height - 1 - r) * rowBytes;
        const bool rgb = file.layout == Layout::Rgb8 || file.layout == Layout::Rgbn;
        if (!body.More() && (!rgb || runs.Idle())) {
            // The BODY is used up: the remaining rows are those of all-zero data.
            FillRemainingRows(d, bits, rowBytes, r);
            break;
        }
        if (rgb) {
            for (unsigned x = 0; x < file.width; ++x)
                runs.Next(out + 3 * x);
        } else {
            ReadRow(body, byteRun1, encoded.data(), d.encodedBytes);
            if (file.layout == Layout::Chunky)
                memcpy(out, encoded.data(), file.width);
            else if (d.kind == Kind::Indexed)
                MergeIndexed(d, encoded.data(), out);
            else if (d.kind == Kind::Ham)
                MergeHam(d, encoded.data(), out);
            else
                MergeDeep(d, encoded.data(), out);
        }
        progress.Row(r + 1, file.height);
    }
    GlobalUnlock(dib);
    return dib;
}

} // namespace

bool IsIFFSignature(const void* data, size_t size)
{
    ByteReader in(data, size);
    uint32_t id = 0, type = 0;
    if (!in.U32BEAt(0, &id) || !in.U32BEAt(8, &type))
        return false;
    return (id == kFORM || id == kLIST || id == kCAT) && type != kAIFF;
}

PackedDIB DecodeIFF(const void* data, size_t size)
{
    ByteReader in(data, size);
    IffFile file;
    if (!WalkChunks(in, file))
        return 0;
    return Decode(file);
}

PackedDIB LoadIFF(LPCSTR path)
{
    if (path == nullptr)
        return 0;
    FILE* stream = fopen(path, "rb");
    if (stream == nullptr)
        return 0;
    std::vector<BYTE> bytes;
    bool ok = fseek(stream, 0, SEEK_END) == 0;
    const long length = ok ? ftell(stream) : -1;
    ok = ok && length >= 0 && static_cast<unsigned long>(length) <= kMaxPackedDIBBytes
         && fseek(stream, 0, SEEK_SET) == 0;
    if (ok) {
        try {
            bytes.resize(static_cast<size_t>(length));
            ok = fread(bytes.data(), 1, bytes.size(), stream) == bytes.size();
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    fclose(stream);
    return ok ? DecodeIFF(bytes.data(), bytes.size()) : 0;
}

DWORD InitIFFBitmapHeader(BITMAPINFOHEADER* header, WORD width, WORD height, int planes)
{
    const WORD depth = static_cast<WORD>(planes <= 1 ? 1 : planes <= 4 ? 4 : planes <= 8 ? 8 : 24);
    memset(header, 0, sizeof(*header));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = depth;
    header->biCompression = BI_RGB;
    return DIBRowBytes(width, depth);
}

DWORD ReadDWordBE(FILE* stream, int /*flag*/)
{
    BYTE b[4] = {0, 0, 0, 0};
    if (fread(b, 1, 4, stream) != 4)
        return 0;
    return (DWORD(b[0]) << 24) | (DWORD(b[1]) << 16) | (DWORD(b[2]) << 8) | DWORD(b[3]);
}

WORD SwapBytes16(WORD value, int flag)
{
    return flag ? value : static_cast<WORD>((value << 8) | (value >> 8));
}

DWORD SwapBytes32(DWORD value, int flag)
{
    if (flag)
        return value;
    return (value << 24) | ((value & 0xFF00) << 8) | ((value >> 8) & 0xFF00) | (value >> 24);
}

WORD ReadWord16(FILE* stream, int flag)
{
    BYTE b[2] = {0, 0};
    if (fread(b, 1, 2, stream) != 2)
        return 0;
    return flag ? static_cast<WORD>(b[0] | (b[1] << 8)) : static_cast<WORD>((b[0] << 8) | b[1]);
}
