// Truevision Targa pictures: header, colour map, raw and run-length rows; the stream layer the
// reader reads its files with.
#include "formats/FormatTga.h"

#include "core/ByteReader.h"
#include "core/Progress.h"
#include "framework/File.h"
#include "framework/SafeFileWrite.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

const size_t kHeaderBytes = 18;

// The twelve pixel forms: (image type, depth) pairs the reader decodes.
enum Form {
    kNoForm = 0,
    kMapped8 = 1,
    kMapped16 = 2,
    kTrue555 = 3,
    kTrue24 = 4,
    kTrue32 = 5,
    kGrey8 = 6,
    kRleMapped8 = 7,
    kRleMapped16 = 8,
    kRle555 = 9,
    kRle24 = 10,
    kRle32 = 11,
    kRleGrey8 = 12
};

Form FormOf(int imageType, int depth)
{
    switch (imageType) {
    case 1:
        return depth == 8 ? kMapped8 : depth == 16 ? kMapped16 : kNoForm;
    case 2:
        return depth == 16 ? kTrue555 : depth == 24 ? kTrue24 : depth == 32 ? kTrue32 : kNoForm;
    case 3:
        return depth == 8 ? kGrey8 : kNoForm;
    case 9:
        return depth == 8 ? kRleMapped8 : depth == 16 ? kRleMapped16 : kNoForm;
    case 10:
        return depth == 16 ? kRle555 : depth == 24 ? kRle24 : depth == 32 ? kRle32 : kNoForm;
    case 11:
        return depth == 8 ? kRleGrey8 : kNoForm;
    default:
        return kNoForm;
    }
}

bool IsRunLength(Form f) { return f >= kRleMapped8; }
bool IsMapped(Form f) { return f == kMapped8 || f == kMapped16 || f == kRleMapped8 || f == kRleMapped16; }
bool IsGrey(Form f) { return f == kGrey8 || f == kRleGrey8; }

struct TgaHeader {
    int idLength = 0;
    int mapType = 0;
    int imageType = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    DWORD width = 0;
    DWORD height = 0;
    int depth = 0; // 15 counted as 16
    int descriptor = 0;
    Form form = kNoForm;
};

bool ReadHeader(const ByteReader& in, TgaHeader& h)
{
    const uint8_t* p = in.Span(0, kHeaderBytes);
    if (p == nullptr)
        return false;
    h.idLength = p[0];
    h.mapType = p[1];
    h.imageType = p[2];
    h.mapFirst = p[3] | (p[4] << 8);
    h.mapLength = p[5] | (p[6] << 8);
    h.mapEntryBits = p[7];
    h.width = p[12] | (p[13] << 8);
    h.height = p[14] | (p[15] << 8);
    h.depth = p[16] == 15 ? 16 : p[16];
    h.descriptor = p[17];
    h.form = FormOf(h.imageType, h.depth);
    return h.form != kNoForm && h.width > 0 && h.height > 0;
}

// Five-bit channel widened to 8 bits: i * 255 / 31, truncated.
BYTE Expand5(unsigned v) { return static_cast<BYTE>((v & 31) * 255 / 31); }

// Run-length pixels: one header byte covers count pixels (bit 7: one value repeated, else count
// values), and packets go on across rows. Bytes missing at the end of the data read as 0.
class RleReader {
public:
    RleReader(const BYTE* data, size_t size, int pixelBytes)
        : m_data(data), m_size(size), m_pixelBytes(pixelBytes)
    {}

    DWORD ReadTGARLEPixel()
    {
        if (--m_left < 1) {
            const int h = m_pos < m_size ? m_data[m_pos++] : 0;
            m_left = (h & 127) + 1;
            m_run = (h & 128) != 0;
            if (m_run)
                m_value = ReadValue();
        }
        if (!m_run)
            m_value = ReadValue();
        return m_value;
    }
    // True when the data is used up and no pixel of it is pending: every further pixel is 0.
    bool Exhausted() const { return m_pos >= m_size && (m_left <= 1 || !m_run || m_value == 0); }

private:
    DWORD ReadValue()
    {
        DWORD v = 0;
        for (int i = 0; i < m_pixelBytes; ++i) {
            const DWORD b = m_pos < m_size ? m_data[m_pos++] : 0;
            v |= b << (8 * i);
        }
        return v;
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    int m_pixelBytes;
    int m_left = 0;
    bool m_run = false;
    DWORD m_value = 0;
};

// The colour map into the picture's 256-entry table (black where the map gives nothing); entries
// are placed from the map's first index, entries past 255 dropped. False when the map is cut
// short or, for a colour-mapped picture, its entries are not 15, 16, 24 or 32 bits.
bool ReadColorMap(const ByteReader& in, size_t& pos, const TgaHeader& h, RGBQUAD* table)
{
    memset(table, 0, 256 * sizeof(RGBQUAD));
    if (h.mapType == 0 || h.mapLength == 0)
        return true;
    const int entryBytes = h.mapEntryBits == 15 ? 2 : h.mapEntryBits / 8;
    const size_t mapBytes = size_t(h.mapLength) * (entryBytes > 0 ? entryBytes : 1);
    const uint8_t* map = in.Span(pos, mapBytes);
    if (map == nullptr)
        return false;
    pos += mapBytes;
    if (!IsMapped(h.form))
        return true;
    if (entryBytes < 2 || entryBytes > 4)
        return false;
    for (int i = 0; i < h.mapLength; ++i) {
        const int index = h.mapFirst + i;
        if (index > 255)
            break;
        const uint8_t* e = map + size_t(i) * entryBytes;
        RGBQUAD& q = table[index];
        if (entryBytes == 2) {
            const unsigned v = e[0] | (e[1] << 8);
            q.rgbRed = Expand5(v >> 10);
            q.rgbGreen = Expand5(v >> 5);
            q.rgbBlue = Expand5(v);
        } else {
            q.rgbBlue = e[0];
            q.rgbGreen = e[1];
            q.rgbRed = e[2];
        }
    }
    return true;
}

// One pixel value of the file into the output row: an index or grey byte, or blue, green, red.
inline void PutPixel(Form form, DWORD v, BYTE* out)
{
    switch (form) {
    case kMapped8:
    case kMapped16:
    case kGrey8:
    case kRleMapped8:
    case kRleMapped16:
    case kRleGrey8:
        out[0] = static_cast<BYTE>(v);
        break;
    case kTrue555:
    case kRle555:
        out[0] = Expand5(v);
        out[1] = Expand5(v >> 5);
        out[2] = Expand5(v >> 10);
        break;
    default:
        out[0] = static_cast<BYTE>(v);
        out[1] = static_cast<BYTE>(v >> 8);
        out[2] = static_cast<BYTE>(v >> 16);
        break;
    }
}

} // namespace

bool IsTGASignature(const void* data, size_t size)
{
    TgaHeader h;
    return ReadHeader(ByteReader(data, size), h);
}

PackedDIB DecodeTGA(const void* data, size_t size)
{
    const ByteReader in(data, size);
    TgaHeader h;
    if (!ReadHeader(in, h))
        return 0;
    size_t pos = kHeaderBytes + h.idLength;
    RGBQUAD table[256];
    if (!ReadColorMap(in, pos, h, table))
        return 0;
    const bool indexed = IsMapped(h.form) || IsGrey(h.form);
    if (IsGrey(h.form))
        for (int i = 0; i < 256; ++i)
            table[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    const int outBytes = indexed ? 1 : 3;
    const int pixelBytes = h.depth / 8;
    // Raw rows that the file cannot hold would fail the picture anyway: refuse before allocating.
    if (!IsRunLength(h.form) && (pos > size || uint64_t(h.width) * h.height * pixelBytes > size - pos))
        return 0;

    PackedDIB dib = CreateDIB(h.width, h.height, static_cast<WORD>(indexed ? 8 : 24));
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    if (!block)
        return GlobalFreeHandle(dib);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    if (indexed)
        memcpy(block + header->biSize, table, sizeof(table));
    BYTE* bits = FindDIBBits(block);
    const DWORD rowBytes = DIBRowBytes(h.width, static_cast<WORD>(indexed ? 8 : 24));
    const bool topFirst = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    const size_t rawRowBytes = size_t(h.width) * pixelBytes;

    CProgressScope progress;
    RleReader rle(in.Data() + (pos < size ? pos : size), pos < size ? size - pos : 0, pixelBytes);
    bool ok = true;
    for (DWORD r = 0; r < h.height && ok; ++r) {
        BYTE* out = bits + size_t(topFirst ? h.height - 1 - r : r) * rowBytes;
        if (IsRunLength(h.form)) {
            if (rle.Exhausted())
                break; // every remaining pixel is 0, as the block already is
            for (DWORD x = 0; x < h.width; ++x) {
                const DWORD v = rle.ReadTGARLEPixel();
                PutPixel(h.form, v, out + size_t(rightToLeft ? h.width - 1 - x : x) * outBytes);
            }
        } else {
            const uint8_t* row = in.Span(pos, rawRowBytes);
            if (row == nullptr) {
                ok = false;
                break;
            }
            pos += rawRowBytes;
            for (DWORD x = 0; x < h.width; ++x) {
                const uint8_t* p = row + size_t(x) * pixelBytes;
                DWORD v = 0;
                for (int i = 0; i < pixelBytes; ++i)
                    v |= DWORD(p[i]) << (8 * i);
                PutPixel(h.form, v, out + size_t(rightToLeft ? h.width - 1 - x : x) * outBytes);
            }
        }
        progress.Row(r + 1, h.height);
    }
    GlobalUnlock(dib);
    if (!ok)
        return GlobalFreeHandle(dib);
    return dib;
}

// ---- Stream layer ----

namespace {

struct StreamSlot {
    int chunkSize = 0;
    int mode = 0;
    WORD readSize = 0;
    size_t pos = 0;   // next unread (or first free for writing) byte in the buffer
    size_t count = 0; // bytes held
    BYTE* buffer = nullptr;
    BYTE* data = nullptr;
    CFile file;
    std::unique_ptr<CSafeFileWrite> output; // a write slot's file, moved over the target at close
    bool failed = false;                    // a write slot lost bytes: its file is dropped
};

StreamSlot* Slots()
{
    static StreamSlot slots[3];
    return slots;
}

StreamSlot* GetStreamSlot(int slot, int modeMask)
{
    if (slot < 0 || slot > 2)
        return nullptr;
    StreamSlot* s = &Slots()[slot];
    if (s->file.m_hFile == CFile::hFileNull || (s->mode & modeMask) == 0)
        return nullptr;
    return s;
}

UINT ReadInto(StreamSlot* s, BYTE* dest, UINT count)
{
    try {
        return s->file.Read(dest, count);
    } catch (const CException&) {
        return 0;
    }
}

bool WriteHeld(StreamSlot* s, size_t count)
{
    try {
        s->file.Write(s->buffer, static_cast<UINT>(count));
        return true;
    } catch (const CException&) {
        s->failed = true;
        return false;
    }
}

} // namespace

int StreamOpen(LPCSTR path, BYTE* buffer, WORD readSize, int chunkSize, int mode)
{
    if (chunkSize < 1 || readSize < 1 || buffer == nullptr || (mode != kStreamRead && mode != kStreamWrite))
        return -1;
    for (int i = 0; i < 3; ++i) {
        StreamSlot* s = &Slots()[i];
        if (s->file.m_hFile != CFile::hFileNull)
            continue;
        // A written file goes to a temporary file first and replaces the target only when complete.
        if (mode == kStreamWrite) {
            s->output.reset(new (std::nothrow) CSafeFileWrite(path));
            if (!s->output || !s->output->IsValid()
                || !s->file.Open(s->output->TempPath(),
                                 CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
                s->output.reset();
                return -1;
            }
        } else if (!s->file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
            return -1;
        }
        s->failed = false;
        s->chunkSize = chunkSize;
        s->mode = mode;
        s->readSize = readSize;
        s->pos = 0;
        s->count = 0;
        s->buffer = buffer;
        s->data = buffer;
        return i;
    }
    return -1;
}

void StreamClose(int slot)
{
    StreamSlot* s = GetStreamSlot(slot, kStreamRead | kStreamWrite);
    if (s == nullptr)
        return;
    if (s->mode == kStreamWrite && s->count > 0)
        WriteHeld(s, s->count);
    s->file.Abort();
    if (s->output) {
        if (!s->failed)
            s->output->Commit();
        s->output.reset(); // an uncommitted file is removed
    }
    s->count = 0;
    s->pos = 0;
}

int StreamRead(int slot, int n)
{
    StreamSlot* s = GetStreamSlot(slot, kStreamRead);
    if (s == nullptr)
        return 0;
    // A request never exceeds the chunk, so the held bytes plus one refill fit the buffer.
    size_t want = (n <= 0 || n > s->chunkSize) ? size_t(s->chunkSize) : size_t(n);
    while (want > s->count) {
        memmove(s->buffer, s->buffer + s->pos, s->count);
        s->pos = 0;
        const UINT got = ReadInto(s, s->buffer + s->count, s->readSize);
        if (got == 0)
            break;
        s->count += got;
    }
    if (want > s->count)
        want = s->count;
    s->data = s->buffer + s->pos;
    s->pos += want;
    s->count -= want;
    return static_cast<int>(want);
}

BYTE* StreamData(int slot)
{
    StreamSlot* s = GetStreamSlot(slot, kStreamRead | kStreamWrite);
    return s ? s->data : nullptr;
}

int StreamGetByte(int slot)
{
    StreamSlot* s = GetStreamSlot(slot, kStreamRead);
    if (s == nullptr)
        return -1;
    if (s->count == 0) {
        s->pos = 0;
        s->count = ReadInto(s, s->buffer, s->readSize);
        if (s->count == 0)
            return -1;
    }
    --s->count;
    return s->buffer[s->pos++];
}

int StreamSeek(int slot, long offset)
{
    StreamSlot* s = GetStreamSlot(slot, kStreamRead | kStreamWrite);
    if (s == nullptr)
        return -1;
    if (s->mode == kStreamWrite && s->count > 0 && !WriteHeld(s, s->count))
        return -1;
    s->pos = 0;
    s->count = 0;
    s->data = s->buffer;
    try {
        s->file.Seek(offset, CFile::begin);
    } catch (const CException&) {
        return -1;
    }
    return 1;
}

int StreamWrite(int slot, int n)
{
    StreamSlot* s = GetStreamSlot(slot, kStreamWrite);
    if (s == nullptr)
        return 0;
    const size_t take = (n <= 0 || n > s->chunkSize) ? size_t(s->chunkSize) : size_t(n);
    s->count += take;
    while (s->count >= s->readSize) {
        if (!WriteHeld(s, s->readSize))
            return 0;
        s->count -= s->readSize;
        memmove(s->buffer, s->buffer + s->readSize, s->count);
    }
    s->data = s->buffer + s->count;
    return static_cast<int>(take);
}

PackedDIB LoadTGA(LPCSTR path)
{
    if (path == nullptr)
        return 0;
    const WORD readSize = 8192;
    const int chunkSize = 6144;
    std::vector<BYTE> bytes;
    BYTE* buffer = new (std::nothrow) BYTE[readSize + chunkSize];
    if (buffer == nullptr)
        return 0;
    const int slot = StreamOpen(path, buffer, readSize, chunkSize, kStreamRead);
    if (slot < 0) {
        delete[] buffer;
        return 0;
    }
    bool ok = true;
    try {
        for (;;) {
            const int n = StreamRead(slot, 0);
            if (n <= 0)
                break;
            if (bytes.size() + n > kMaxPackedDIBBytes) {
                ok = false;
                break;
            }
            const BYTE* p = StreamData(slot);
            bytes.insert(bytes.end(), p, p + n);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    StreamClose(slot);
    delete[] buffer;
    return ok ? DecodeTGA(bytes.data(), bytes.size()) : 0;
}
