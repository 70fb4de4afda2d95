// Reading and writing Windows bitmap files.
#include "core/BmpFile.h"

#include "core/FileWrappers.h"
#include "core/Progress.h"
#include "framework/SafeFileWrite.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

const WORD kBitmapSignature = 0x4D42; // "BM"
const DWORD kFileHeaderBytes = 14;
const DWORD kCoreHeaderBytes = 12;
const DWORD kLargestHeaderBytes = 124; // BITMAPV5HEADER
const DWORD kPiece = 32767;
const UINT kReadingText = 360;   // "Lecture BMP..."
const UINT kWritingText = 359;   // "Ecriture BMP..."
const DWORD kAlphaBitfields = 6; // BI_ALPHABITFIELDS

DWORD U32(const BYTE* p)
{
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}
WORD U16(const BYTE* p) { return WORD(p[0] | (p[1] << 8)); }
void Put32(BYTE* p, DWORD v)
{
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
    p[2] = BYTE(v >> 16);
    p[3] = BYTE(v >> 24);
}

// Where the bitmap file's bytes come from: an open file or a block of memory. Offsets count from
// the first byte of the file header.
class BmpInput {
public:
    virtual ~BmpInput() = default;
    virtual DWORD Size() const = 0;
    // Reads exactly count bytes at offset; the large reads of rows drive the gauge.
    virtual bool ReadAt(DWORD offset, void* dest, DWORD count, bool withProgress) = 0;
};

class MemoryInput : public BmpInput {
public:
    MemoryInput(const void* data, DWORD size)
        : m_data(static_cast<const BYTE*>(data)), m_size(data ? size : 0)
    {}
    DWORD Size() const override { return m_size; }
    bool ReadAt(DWORD offset, void* dest, DWORD count, bool) override
    {
        if (offset > m_size || count > m_size - offset)
            return false;
        if (count)
            memcpy(dest, m_data + offset, count);
        return true;
    }

private:
    const BYTE* m_data;
    DWORD m_size;
};

class FileInput : public BmpInput {
public:
    explicit FileInput(HANDLE file) : m_file(file), m_base(0), m_size(0)
    {
        LARGE_INTEGER position = {}, zero = {}, size = {};
        if (!SetFilePointerEx(file, zero, &position, FILE_CURRENT) || !GetFileSizeEx(file, &size))
            return;
        m_base = position.QuadPart;
        LONGLONG rest = size.QuadPart - position.QuadPart;
        m_size = rest <= 0 ? 0 : rest > 0xFFFFFFFFll ? 0xFFFFFFFFu : DWORD(rest);
    }
    DWORD Size() const override { return m_size; }
    bool ReadAt(DWORD offset, void* dest, DWORD count, bool withProgress) override
    {
        LARGE_INTEGER to;
        to.QuadPart = m_base + offset;
        if (!SetFilePointerEx(m_file, to, nullptr, FILE_BEGIN))
            return false;
        return withProgress ? ReadFileWithProgress(m_file, dest, count) != FALSE
                            : ReadFileExact(m_file, dest, count) != FALSE;
    }

private:
    HANDLE m_file;
    LONGLONG m_base;
    DWORD m_size;
};

// One colour channel of a BI_BITFIELDS pixel.
struct Channel {
    DWORD mask = 0;
    int shift = 0;
    DWORD max = 0; // largest value after shifting
    void Set(DWORD m)
    {
        mask = m;
        shift = 0;
        max = 0;
        if (m == 0)
            return;
        while (((m >> shift) & 1) == 0)
            ++shift;
        DWORD v = m >> shift;
        int bits = 0;
        while (bits < 32 && (v >> bits) != 0)
            ++bits;
        max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    }
    BYTE Extract(DWORD pixel) const
    {
        if (max == 0)
            return 0;
        DWORD v = (pixel & mask) >> shift;
        if (max >= 255) {
            int drop = 0;
            while ((max >> drop) > 255)
                ++drop;
            return BYTE(v >> drop);
        }
        return BYTE((v * 255 + max / 2) / max);
    }
};

// What the headers say, checked.
struct BmpLayout {
    bool core = false;
    DWORD headerBytes = 0;
    LONG width = 0;
    DWORD height = 0;
    bool topDown = false;
    WORD bits = 0;
    DWORD compression = BI_RGB;
    DWORD sizeImage = 0;
    LONG xPels = 0, yPels = 0;
    DWORD clrImportant = 0;
    DWORD tableOffset = 0;
    DWORD fileColors = 0; // entries the file declares
    DWORD colors = 0;     // entries the picture keeps
    DWORD rowsOffset = 0;
    bool convert = false; // bit fields that are not the plain 16- or 32-bit layout: to 24 bits
    WORD outBits = 0;
    Channel red, green, blue;
};

bool ReadLayout(BmpInput& in, BmpLayout& l)
{
    BYTE fileHeader[kFileHeaderBytes];
    if (!in.ReadAt(0, fileHeader, kFileHeaderBytes, false) || U16(fileHeader) != kBitmapSignature)
        return false;
    DWORD offBits = U32(fileHeader + 10);

    BYTE h[kLargestHeaderBytes] = {};
    if (!in.ReadAt(kFileHeaderBytes, h, 4, false))
        return false;
    l.headerBytes = U32(h);
    if (l.headerBytes == kCoreHeaderBytes) {
        l.core = true;
        if (!in.ReadAt(kFileHeaderBytes, h, kCoreHeaderBytes, false))
            return false;
        l.width = U16(h + 4);
        l.height = U16(h + 6);
        l.bits = U16(h + 10);
    } else {
        if (l.headerBytes < sizeof(BITMAPINFOHEADER) || l.headerBytes > kLargestHeaderBytes)
            return false;
        if (!in.ReadAt(kFileHeaderBytes, h, l.headerBytes, false))
            return false;
        l.width = LONG(U32(h + 4));
        LONG height = LONG(U32(h + 8));
        l.bits = U16(h + 14);
        l.compression = U32(h + 16);
        l.sizeImage = U32(h + 20);
        l.xPels = LONG(U32(h + 24));
        l.yPels = LONG(U32(h + 28));
        l.fileColors = U32(h + 32);
        l.clrImportant = U32(h + 36);
        if (height == LONG(0x80000000))
            return false;
        l.topDown = height < 0;
        l.height = DWORD(height < 0 ? -height : height);
    }
    if (l.width <= 0 || l.height == 0)
        return false;
    switch (l.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }

    bool bitfields = l.compression == BI_BITFIELDS || l.compression == kAlphaBitfields;
    switch (l.compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
        if (l.bits != 8 || l.topDown)
            return false;
        break;
    case BI_BITFIELDS:
    case kAlphaBitfields:
        // A 64-byte header is OS/2's, where these values mean Huffman and RLE24 coding.
        if ((l.bits != 16 && l.bits != 32) || l.headerBytes == 64)
            return false;
        break;
    default: // BI_RLE4, embedded JPEG or PNG, and the unknown
        return false;
    }

    // Masks: after a 40-byte header in the file, inside the longer headers.
    DWORD maskBytes = 0;
    DWORD masks[3] = {0, 0, 0};
    if (bitfields) {
        if (l.headerBytes == sizeof(BITMAPINFOHEADER)) {
            maskBytes = l.compression == kAlphaBitfields ? 16 : 12;
            BYTE m[12];
            if (!in.ReadAt(kFileHeaderBytes + l.headerBytes, m, 12, false))
                return false;
            for (int i = 0; i < 3; ++i)
                masks[i] = U32(m + 4 * i);
        } else {
            for (int i = 0; i < 3; ++i)
                masks[i] = U32(h + 40 + 4 * i);
        }
    } else if (l.bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (l.bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    l.red.Set(masks[0]);
    l.green.Set(masks[1]);
    l.blue.Set(masks[2]);
    l.outBits = l.bits;
    if (bitfields) {
        bool plain16 = l.bits == 16 && masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F;
        bool plain32 = l.bits == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
        if (!plain16 && !plain32) {
            l.convert = true;
            l.outBits = 24;
        }
    }

    // Colour table: the declared count is where the rows start; at most 2^bits (256 above 8 bits)
    // entries are kept.
    if (l.bits <= 8) {
        DWORD full = 1u << l.bits;
        if (l.fileColors == 0)
            l.fileColors = full;
        l.colors = l.fileColors < full ? l.fileColors : full;
    } else {
        l.colors = l.fileColors < 256 ? l.fileColors : 256;
    }
    DWORD entryBytes = l.core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    l.tableOffset = kFileHeaderBytes + l.headerBytes + maskBytes;
    // A table said to be longer than the room before the rows keeps the entries that are there.
    if (offBits >= l.tableOffset && (offBits - l.tableOffset) / entryBytes < l.colors)
        l.colors = (offBits - l.tableOffset) / entryBytes;
    if (l.bits <= 8 && l.colors == 0)
        return false;
    ULONGLONG afterTable = ULONGLONG(l.tableOffset) + ULONGLONG(l.fileColors) * entryBytes;
    ULONGLONG rowsOffset = offBits ? offBits : afterTable;
    if (ULONGLONG(l.tableOffset) + ULONGLONG(l.colors) * entryBytes > in.Size() || rowsOffset > in.Size())
        return false;
    l.rowsOffset = DWORD(rowsOffset);

    if (PackedDIBBytes(DWORD(l.width), l.height, l.outBits, l.colors) > kMaxPackedDIBBytes)
        return false;
    return true;
}

void FlipRows(BYTE* rows, DWORD rowBytes, DWORD height)
{
    std::unique_ptr<BYTE[]> temp(new (std::nothrow) BYTE[rowBytes]);
    if (!temp)
        return;
    for (DWORD top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        memcpy(temp.get(), rows + ULONGLONG(top) * rowBytes, rowBytes);
        memcpy(rows + ULONGLONG(top) * rowBytes, rows + ULONGLONG(bottom) * rowBytes, rowBytes);
        memcpy(rows + ULONGLONG(bottom) * rowBytes, temp.get(), rowBytes);
    }
}

bool ReadRows(BmpInput& in, const BmpLayout& l, BYTE* dest)
{
    const DWORD width = DWORD(l.width);
    const DWORD inRow = DIBRowBytes(width, l.bits);
    const DWORD outRow = DIBRowBytes(width, l.outBits);

    if (l.compression == BI_RLE8) {
        DWORD available = in.Size() - l.rowsOffset;
        DWORD size = l.sizeImage ? l.sizeImage : available;
        if (size > available)
            return false;
        std::unique_ptr<BYTE[]> packed(new (std::nothrow) BYTE[size ? size : 1]);
        if (!packed || !in.ReadAt(l.rowsOffset, packed.get(), size, true))
            return false;
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof(header);
        header.biWidth = l.width;
        header.biHeight = LONG(l.height);
        header.biBitCount = 8;
        DecodeRLE8(&header, dest, packed.get(), size);
        return true;
    }

    const ULONGLONG rowsBytes = ULONGLONG(inRow) * l.height;
    if (rowsBytes > in.Size() - l.rowsOffset)
        return false; // the rows end early
    if (!l.convert) {
        if (!in.ReadAt(l.rowsOffset, dest, DWORD(rowsBytes), true))
            return false;
        if (l.topDown)
            FlipRows(dest, outRow, l.height);
        return true;
    }

    std::unique_ptr<BYTE[]> raw(new (std::nothrow) BYTE[size_t(rowsBytes)]);
    if (!raw || !in.ReadAt(l.rowsOffset, raw.get(), DWORD(rowsBytes), true))
        return false;
    for (DWORD y = 0; y < l.height; ++y) {
        const BYTE* src = raw.get() + ULONGLONG(y) * inRow;
        DWORD outY = l.topDown ? l.height - 1 - y : y;
        BYTE* out = dest + ULONGLONG(outY) * outRow;
        for (DWORD x = 0; x < width; ++x) {
            DWORD pixel = l.bits == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
            out[3 * x] = l.blue.Extract(pixel);
            out[3 * x + 1] = l.green.Extract(pixel);
            out[3 * x + 2] = l.red.Extract(pixel);
        }
    }
    return true;
}

PackedDIB ReadBitmap(BmpInput& in)
{
    BmpLayout l;
    if (!ReadLayout(in, l))
        return 0;
    const DWORD outRow = DIBRowBytes(DWORD(l.width), l.outBits);
    const ULONGLONG total = PackedDIBBytes(DWORD(l.width), l.height, l.outBits, l.colors);
    HGLOBAL handle = GlobalAlloc(GHND, SIZE_T(total));
    if (!handle)
        return 0;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    if (!header)
        return GlobalFreeHandle(handle);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = l.width;
    header->biHeight = LONG(l.height);
    header->biPlanes = 1;
    header->biBitCount = l.outBits;
    header->biCompression = BI_RGB;
    header->biSizeImage = outRow * l.height;
    header->biXPelsPerMeter = l.xPels;
    header->biYPelsPerMeter = l.yPels;
    header->biClrUsed = l.colors;
    header->biClrImportant = l.clrImportant <= l.colors ? l.clrImportant : 0;

    bool ok = true;
    BYTE* table = reinterpret_cast<BYTE*>(header + 1);
    if (l.colors) {
        if (l.core) {
            // Read the triples into the table's tail, then widen them from the first entry up.
            BYTE* triples = table + l.colors;
            ok = in.ReadAt(l.tableOffset, triples, l.colors * 3, false);
            for (DWORD i = 0; ok && i < l.colors; ++i) {
                BYTE b = triples[3 * i], g = triples[3 * i + 1], r = triples[3 * i + 2];
                table[4 * i] = b;
                table[4 * i + 1] = g;
                table[4 * i + 2] = r;
                table[4 * i + 3] = 0;
            }
        } else {
            ok = in.ReadAt(l.tableOffset, table, l.colors * 4, false);
        }
    }
    if (ok)
        ok = ReadRows(in, l, table + l.colors * 4);
    GlobalUnlock(handle);
    if (!ok)
        return GlobalFreeHandle(handle);
    return handle;
}

} // namespace

BOOL ReadFileWithProgress(HANDLE file, void* dest, DWORD count)
{
    const BOOL report = ShouldReportProgress();
    if (report)
        BeginProgress(kReadingText);
    BYTE* out = static_cast<BYTE*>(dest);
    DWORD done = 0;
    BOOL ok = TRUE;
    while (done < count) {
        DWORD piece = count - done < 32768 ? count - done : kPiece;
        if (!ReadFileExact(file, out + done, piece)) {
            ok = FALSE;
            break;
        }
        done += piece;
        if (report)
            SetProgress(done, count);
    }
    if (report)
        EndProgress();
    return ok;
}

DWORD WriteFileWithProgress(HANDLE file, const void* src, DWORD count)
{
    const BOOL report = ShouldReportProgress();
    if (report)
        BeginProgress(kWritingText);
    const BYTE* in = static_cast<const BYTE*>(src);
    DWORD done = 0;
    while (count - done >= 32768) {
        if (!WriteFileExact(file, in + done, kPiece)) {
            if (report)
                EndProgress();
            return 0;
        }
        done += kPiece;
        if (report)
            SetProgress(done, count);
    }
    if (!WriteFileExact(file, in + done, count - done)) {
        if (report)
            EndProgress();
        return 0;
    }
    if (report) {
        SetProgress(count, count);
        EndProgress();
    }
    return count;
}

BOOL DecodeRLE8(const BITMAPINFOHEADER* header, BYTE* dest, const BYTE* src, DWORD srcBytes)
{
    if (!header || !dest || (!src && srcBytes))
        return FALSE;
    const DWORD width = header->biWidth > 0 ? DWORD(header->biWidth) : 0;
    const DWORD height = DWORD(header->biHeight < 0 ? -header->biHeight : header->biHeight);
    const DWORD stride = DIBRowBytes(width, 8);
    DWORD x = 0, y = 0, i = 0;
    BOOL clean = TRUE;
    auto put = [&](BYTE value) {
        if (x < width && y < height)
            dest[ULONGLONG(y) * stride + x] = value;
        else
            clean = FALSE;
        if (x <= width)
            ++x;
    };
    while (srcBytes - i >= 2) {
        BYTE count = src[i], value = src[i + 1];
        i += 2;
        if (count > 0) {
            for (BYTE n = 0; n < count; ++n)
                put(value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            if (y < height)
                ++y;
            break;
        case 1: // end of bitmap
            return clean;
        case 2: // delta
            if (srcBytes - i < 2)
                return FALSE;
            x += src[i];
            y += src[i + 1];
            i += 2;
            if (x > width)
                x = width + 1;
            if (y > height)
                y = height;
            break;
        default: { // absolute run, padded to a whole word
            DWORD run = value;
            if (srcBytes - i < run) {
                run = srcBytes - i;
                clean = FALSE;
            }
            for (DWORD n = 0; n < run; ++n)
                put(src[i + n]);
            i += run;
            if ((value & 1) && i < srcBytes)
                ++i;
            if (run < value)
                return FALSE;
            break;
        }
        }
    }
    if (i != srcBytes)
        clean = FALSE; // half a pair at the end
    return clean;
}

PackedDIB ReadDIBFile(HANDLE file)
{
    if (file == INVALID_HANDLE_VALUE || file == nullptr)
        return 0;
    FileInput in(file);
    return ReadBitmap(in);
}

PackedDIB ReadDIBFromMemory(const void* data, DWORD size)
{
    MemoryInput in(data, size);
    return ReadBitmap(in);
}

PackedDIB LoadBMPFile(LPCSTR path)
{
    HANDLE file = OpenFileForRead(path);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    PackedDIB dib = ReadDIBFile(file);
    CloseHandle(file);
    return dib;
}

WORD SaveDIBFile(PackedDIB dib, LPCSTR path, DWORD* pError)
{
    DWORD error = ERROR_SUCCESS;
    if (pError != nullptr)
        *pError = error;
    if (!dib)
        return kSaveDIBNoPicture;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    if (!header)
        return kSaveDIBCannotLock;
    const SIZE_T blockBytes = GlobalSize(dib);
    // Only the 40-byte form with an uncompressed or RLE picture can be written as it is held.
    if (blockBytes < sizeof(BITMAPINFOHEADER) || header->biSize != sizeof(BITMAPINFOHEADER)
        || header->biWidth <= 0 || header->biCompression > BI_RLE4) {
        GlobalUnlock(dib);
        return kSaveDIBCannotLock;
    }
    const DWORD tableBytes = PaletteSize(header);
    ULONGLONG imageBytes;
    if (header->biCompression == BI_RLE8 || header->biCompression == BI_RLE4) {
        imageBytes = header->biSizeImage;
    } else {
        LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
        imageBytes = ULONGLONG(DIBRowBytes(DWORD(header->biWidth), header->biBitCount)) * DWORD(height);
    }
    const ULONGLONG total = sizeof(BITMAPINFOHEADER) + tableBytes + imageBytes;
    if (total > blockBytes || total > kMaxPackedDIBBytes) {
        GlobalUnlock(dib);
        return kSaveDIBCannotLock;
    }
    if (header->biCompression == BI_RGB)
        header->biSizeImage = DWORD(imageBytes);

    BYTE fileHeader[kFileHeaderBytes] = {};
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    Put32(fileHeader + 2, DWORD(kFileHeaderBytes + total));
    Put32(fileHeader + 10, kFileHeaderBytes + sizeof(BITMAPINFOHEADER) + tableBytes);

    WORD result = kSaveDIBWriteFailed;
    CSafeFileWrite out(path);
    HANDLE file = out.Handle();
    if (file == INVALID_HANDLE_VALUE)
        error = out.Error();
    else if (!WriteFileExact(file, fileHeader, kFileHeaderBytes)
             || WriteFileWithProgress(file, header, DWORD(total)) != DWORD(total))
        error = PeekWriteFileError();
    else if (!out.Commit())
        error = out.Error();
    else
        result = kSaveDIBOk;
    GlobalUnlock(dib);
    if (pError != nullptr)
        *pError = error;
    return result;
}
