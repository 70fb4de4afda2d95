// Record-by-record checks of enhanced and Windows metafiles. The system's metafile player trusts
// every count, offset and object index it reads, so a metafile reaches it only when each of them
// stays inside its record and every object index inside the handle table.
#include "formats/FormatMeta.h"

#include "core/ByteReader.h"

#include <cstdint>

namespace {

// Record numbers the system headers name only as reserved.
const uint32_t kEmrDrawEscape = 105;
const uint32_t kEmrExtEscape = 106;
const uint32_t kEmrSmallTextOut = 108;
const uint32_t kEmrNamedEscape = 110;
const uint16_t kMetaEof = 0x0000;

// ---- Shared: bitmaps and regions embedded in records ----

// A packed bitmap (header, colour table, bits) whose header lies in [header, header + headerBytes)
// and whose bits lie in [bits, bits + bitsBytes) of the record. scans: rows the call will read
// (0: all of them).
bool CheckBitmap(const ByteReader& rec, uint64_t header, uint64_t headerBytes, uint64_t bits,
                 uint64_t bitsBytes, uint32_t scans = 0)
{
    if (header + headerBytes > rec.Size() || bits + bitsBytes > rec.Size() || headerBytes < 12)
        return false;
    const ByteReader h(rec.Data() + header, static_cast<size_t>(headerBytes));
    uint32_t size = 0;
    h.U32LEAt(0, &size);
    int64_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0, sizeImage = 0, used = 0;
    uint64_t entryBytes = 4;
    if (size == 12) {
        uint16_t w = 0, hh = 0;
        h.U16LEAt(4, &w);
        h.U16LEAt(6, &hh);
        h.U16LEAt(10, &bitCount);
        width = w;
        height = hh;
        entryBytes = 3;
    } else if (size >= 40 && size <= headerBytes) {
        uint32_t w = 0, hh = 0;
        h.U32LEAt(4, &w);
        h.U32LEAt(8, &hh);
        h.U16LEAt(14, &bitCount);
        h.U32LEAt(16, &compression);
        h.U32LEAt(20, &sizeImage);
        h.U32LEAt(32, &used);
        width = static_cast<int32_t>(w);
        height = static_cast<int32_t>(hh);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || width > 65535 || height > 65535 || height < -65535)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    uint64_t colors = used ? used : (bitCount <= 8 ? (1u << bitCount) : 0);
    if (colors > 256 && bitCount <= 8)
        return false;
    if (compression == BI_BITFIELDS && size == 40)
        colors += 3;
    if (size + colors * entryBytes > headerBytes)
        return false;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    if (scans > rows)
        return false;
    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
    switch (compression) {
    case BI_RGB:
    case BI_BITFIELDS:
        return rowBytes * rows <= bitsBytes;
    case BI_RLE8:
    case BI_RLE4:
        return height > 0 && bitCount == (compression == BI_RLE8 ? 8 : 4) && sizeImage > 0
               && sizeImage <= bitsBytes;
    default:
        return false;
    }
}

// A bitmap named by four offsets of the record; with `optional`, no bitmap at all (sizes 0) passes.
bool CheckBitmapAt(const ByteReader& rec, size_t fields, bool optional, uint32_t scans = 0)
{
    uint32_t offHeader = 0, headerBytes = 0, offBits = 0, bitsBytes = 0;
    rec.U32LEAt(fields, &offHeader);
    rec.U32LEAt(fields + 4, &headerBytes);
    rec.U32LEAt(fields + 8, &offBits);
    rec.U32LEAt(fields + 12, &bitsBytes);
    if (headerBytes == 0 && bitsBytes == 0)
        return optional;
    return CheckBitmap(rec, offHeader, headerBytes, offBits, bitsBytes, scans);
}

// RGNDATA of `bytes` bytes at `at`: a 32-byte header whose rectangles stay inside.
bool CheckRegion(const ByteReader& rec, uint64_t at, uint64_t bytes)
{
    if (at + bytes > rec.Size() || bytes < 32)
        return false;
    uint32_t headerSize = 0, count = 0;
    rec.U32LEAt(static_cast<size_t>(at), &headerSize);
    rec.U32LEAt(static_cast<size_t>(at) + 8, &count);
    return headerSize >= 32 && uint64_t(headerSize) + uint64_t(count) * 16 <= bytes;
}

// ---- Enhanced metafiles ----

// Smallest size of each record type (the fixed part of its structure); 8 for types without one.
uint32_t EmfMinSize(uint32_t type)
{
    static const uint16_t kMin[123] = {8,  88, 28,  28, 28,  28, 28,  32,  32,  16,  // 0-9
                                       16, 16, 16,  16, 20,  20, 12,  12,  12,  12,  // 10-19
                                       12, 12, 12,  32, 12,  12, 16,  16,  8,   24,  // 20-29
                                       24, 24, 24,  8,  12,  32, 36,  12,  28,  24,  // 30-39
                                       12, 28, 24,  24, 32,  40, 40,  40,  12,  16,  // 40-49
                                       20, 16, 8,   24, 16,  40, 28,  12,  12,  8,   // 50-59
                                       8,  8,  24,  24, 24,  8,  8,   12,  8,   8,   // 60-69
                                       12, 32, 40,  28, 28,  16, 100, 108, 128, 140, // 70-79
                                       76, 80, 104, 76, 76,  28, 28,  28,  28,  28,  // 80-89
                                       32, 32, 28,  32, 32,  52, 40,  40,  12,  340, // 90-99
                                       12, 12, 12,  28, 48,  16, 16,  8,   36,  8,   // 100-109
                                       20, 24, 20,  20, 108, 12, 108, 8,   36,  8,   // 110-119
                                       16, 24, 608};
    return type < 123 ? kMin[type] : 8;
}

struct EmfContext {
    uint32_t handles = 0; // size of the handle table; index 0 is the metafile itself
    bool ObjectIndex(uint32_t index) const { return index >= 1 && index < handles; }
    bool SelectIndex(uint32_t index) const { return (index & 0x80000000u) != 0 || ObjectIndex(index); }
};

// The EMRTEXT at `at`: its string and spacing array inside the record.
bool CheckEmfText(const ByteReader& rec, size_t at, bool wide)
{
    uint32_t chars = 0, offString = 0, options = 0, offDx = 0;
    if (!rec.Has(at, 40))
        return false;
    rec.U32LEAt(at + 8, &chars);
    rec.U32LEAt(at + 12, &offString);
    rec.U32LEAt(at + 16, &options);
    rec.U32LEAt(at + 36, &offDx);
    if (chars == 0)
        return true;
    if (uint64_t(offString) + uint64_t(chars) * (wide ? 2 : 1) > rec.Size())
        return false;
    const uint64_t dxBytes = uint64_t(chars) * 4 * ((options & ETO_PDY) ? 2 : 1);
    return offDx == 0 || uint64_t(offDx) + dxBytes <= rec.Size();
}

bool CheckEmfRecord(uint32_t type, const ByteReader& rec, const EmfContext& ctx)
{
    const uint64_t size = rec.Size();
    if (size < EmfMinSize(type))
        return false;
    uint32_t a = 0, b = 0, c = 0;
    switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
        rec.U32LEAt(24, &a);
        return 28 + uint64_t(a) * 8 <= size;
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        rec.U32LEAt(24, &a);
        return 28 + uint64_t(a) * 4 <= size;
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
        rec.U32LEAt(24, &a); // polygons
        rec.U32LEAt(28, &b); // points
        const uint64_t pointBytes = (type == EMR_POLYPOLYLINE || type == EMR_POLYPOLYGON) ? 8 : 4;
        if (32 + uint64_t(a) * 4 + uint64_t(b) * pointBytes > size)
            return false;
        uint64_t total = 0;
        for (uint32_t i = 0; i < a; ++i) {
            rec.U32LEAt(32 + size_t(i) * 4, &c);
            total += c;
        }
        return total <= b;
    }
    case EMR_POLYDRAW:
        rec.U32LEAt(24, &a);
        return 28 + uint64_t(a) * 9 <= size;
    case EMR_POLYDRAW16:
        rec.U32LEAt(24, &a);
        return 28 + uint64_t(a) * 5 <= size;
    case EMR_SELECTOBJECT:
    case EMR_SELECTPALETTE:
        rec.U32LEAt(8, &a);
        return ctx.SelectIndex(a);
    case EMR_CREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_DELETEOBJECT:
    case EMR_RESIZEPALETTE:
    case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_CREATECOLORSPACE:
    case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE:
    case EMR_COLORCORRECTPALETTE:
        rec.U32LEAt(8, &a);
        return ctx.ObjectIndex(a);
    case EMR_CREATECOLORSPACEW:
        rec.U32LEAt(8, &a);
        rec.U32LEAt(604, &b);
        return ctx.ObjectIndex(a) && 608 + uint64_t(b) <= size;
    case EMR_CREATEPALETTE: {
        uint16_t entries = 0;
        rec.U32LEAt(8, &a);
        rec.U16LEAt(14, &entries);
        return ctx.ObjectIndex(a) && 16 + uint64_t(entries) * 4 <= size;
    }
    case EMR_SETPALETTEENTRIES:
        rec.U32LEAt(8, &a);
        rec.U32LEAt(16, &b);
        return ctx.ObjectIndex(a) && 20 + uint64_t(b) * 4 <= size;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        rec.U32LEAt(8, &a);
        return ctx.ObjectIndex(a) && CheckBitmapAt(rec, 16, false);
    case EMR_EXTCREATEPEN:
        rec.U32LEAt(8, &a);
        rec.U32LEAt(48, &b);
        return ctx.ObjectIndex(a) && 52 + uint64_t(b) * 4 <= size && CheckBitmapAt(rec, 12, true);
    case EMR_GDICOMMENT:
        rec.U32LEAt(8, &a);
        return 12 + uint64_t(a) <= size;
    case EMR_FILLRGN:
        rec.U32LEAt(24, &a);
        rec.U32LEAt(28, &b);
        return ctx.ObjectIndex(b) && CheckRegion(rec, 32, a);
    case EMR_FRAMERGN:
        rec.U32LEAt(24, &a);
        rec.U32LEAt(28, &b);
        return ctx.ObjectIndex(b) && CheckRegion(rec, 40, a);
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        rec.U32LEAt(24, &a);
        return CheckRegion(rec, 28, a);
    case EMR_EXTSELECTCLIPRGN:
        rec.U32LEAt(8, &a);
        // The player reads a region whenever the record has room for a region header.
        if (16 + uint64_t(a) > size)
            return false;
        return size < 16 + 32 || CheckRegion(rec, 16, size - 16);
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        return CheckBitmapAt(rec, 84, true);
    case EMR_MASKBLT:
        return CheckBitmapAt(rec, 84, true) && CheckBitmapAt(rec, 112, true);
    case EMR_PLGBLT:
        return CheckBitmapAt(rec, 96, true) && CheckBitmapAt(rec, 124, true);
    case EMR_SETDIBITSTODEVICE:
        rec.U32LEAt(72, &a);
        return CheckBitmapAt(rec, 48, false, a);
    case EMR_STRETCHDIBITS:
        return CheckBitmapAt(rec, 48, false);
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        return CheckEmfText(rec, 36, type == EMR_EXTTEXTOUTW);
    case EMR_POLYTEXTOUTA:
    case EMR_POLYTEXTOUTW:
        rec.U32LEAt(36, &a);
        if (40 + uint64_t(a) * 40 > size)
            return false;
        for (uint32_t i = 0; i < a; ++i)
            if (!CheckEmfText(rec, 40 + size_t(i) * 40, type == EMR_POLYTEXTOUTW))
                return false;
        return true;
    case kEmrSmallTextOut:
        rec.U32LEAt(16, &a); // characters
        rec.U32LEAt(20, &b); // options
        return 36 + ((b & 0x100) ? 0 : 16) + uint64_t(a) * ((b & 0x200) ? 1 : 2) <= size;
    case kEmrDrawEscape:
    case kEmrExtEscape:
        rec.U32LEAt(12, &a);
        return 16 + uint64_t(a) <= size;
    case kEmrNamedEscape:
    case EMR_SETICMPROFILEA:
    case EMR_SETICMPROFILEW:
        rec.U32LEAt(12, &a);
        rec.U32LEAt(16, &b);
        return 20 + uint64_t(a) + b <= size;
    case EMR_COLORMATCHTOTARGETW:
        rec.U32LEAt(16, &a);
        rec.U32LEAt(20, &b);
        return 24 + uint64_t(a) + b <= size;
    case EMR_GLSRECORD:
        rec.U32LEAt(8, &a);
        return 12 + uint64_t(a) <= size;
    case EMR_GLSBOUNDEDRECORD:
        rec.U32LEAt(24, &a);
        return 28 + uint64_t(a) <= size;
    case EMR_GRADIENTFILL: {
        rec.U32LEAt(24, &a); // vertices
        rec.U32LEAt(28, &b); // meshes
        rec.U32LEAt(32, &c); // mode
        const uint64_t corners = c == GRADIENT_FILL_TRIANGLE ? 3 : 2;
        if (c > GRADIENT_FILL_TRIANGLE || 36 + uint64_t(a) * 16 + uint64_t(b) * corners * 4 > size)
            return false;
        const size_t mesh = 36 + size_t(a) * 16;
        for (uint64_t i = 0; i < uint64_t(b) * corners; ++i) {
            uint32_t index = 0;
            rec.U32LEAt(mesh + size_t(i) * 4, &index);
            if (index >= a)
                return false;
        }
        return true;
    }
    default:
        return true;
    }
}

// ---- Windows metafiles ----

struct WmfContext {
    uint32_t objects = 0; // size of the handle table
    uint64_t metafileBytes = 0;
    bool Index(uint16_t index) const { return index < objects; }
};

// A packed bitmap that starts at the record's parameter word `first` and ends inside the record.
bool CheckWmfBitmap(const ByteReader& params, size_t first)
{
    if (first * 2 > params.Size())
        return false;
    const ByteReader rest(params.Data() + first * 2, params.Size() - first * 2);
    uint32_t headerSize = 0;
    if (!rest.U32LEAt(0, &headerSize) || headerSize > rest.Size())
        return false;
    // The colour table is counted at four bytes an entry, the most any caller reads.
    uint16_t bitCount = 0;
    uint32_t used = 0, compression = 0;
    if (headerSize == 12) {
        rest.U16LEAt(10, &bitCount);
    } else {
        rest.U16LEAt(14, &bitCount);
        rest.U32LEAt(16, &compression);
        rest.U32LEAt(32, &used);
    }
    uint64_t colors = used ? used : (bitCount <= 8 ? (1u << (bitCount & 15)) : 0);
    if (compression == BI_BITFIELDS && headerSize == 40)
        colors += 3;
    const uint64_t table = headerSize + colors * 4;
    if (table > rest.Size())
        return false;
    return CheckBitmap(rest, 0, table, table, rest.Size() - table);
}

// A device-dependent bitmap of the old blit records: width x height with the given planes and bits
// per pixel, in 16-bit-aligned rows starting at parameter `first`.
bool CheckWmfDeviceBitmap(const ByteReader& params, size_t first, uint16_t width, uint16_t height,
                          uint16_t planes, uint16_t bitCount)
{
    const uint64_t rowBytes = ((uint64_t(width) * bitCount + 15) / 16) * 2;
    return first * 2 + rowBytes * height * planes <= params.Size();
}

bool CheckWmfRecord(uint16_t function, const ByteReader& params, uint64_t recordOffset, const WmfContext& ctx)
{
    const size_t n = params.Size() / 2; // parameter words
    auto p = [&params](size_t i) {
        uint16_t v = 0;
        params.U16LEAt(i * 2, &v);
        return v;
    };
    switch (function) {
    case kMetaEof:
    case META_SAVEDC:
    case META_REALIZEPALETTE:
        return true;
    case META_SETBKMODE:
    case META_SETMAPMODE:
    case META_SETROP2:
    case META_SETRELABS:
    case META_SETPOLYFILLMODE:
    case META_SETSTRETCHBLTMODE:
    case META_SETTEXTCHAREXTRA:
    case META_RESTOREDC:
    case META_SETTEXTALIGN:
    case META_RESIZEPALETTE:
        return n >= 1;
    case META_SETBKCOLOR:
    case META_SETTEXTCOLOR:
    case META_SETTEXTJUSTIFICATION:
    case META_SETWINDOWORG:
    case META_SETWINDOWEXT:
    case META_SETVIEWPORTORG:
    case META_SETVIEWPORTEXT:
    case META_OFFSETWINDOWORG:
    case META_OFFSETVIEWPORTORG:
    case META_LINETO:
    case META_MOVETO:
    case META_OFFSETCLIPRGN:
    case META_SETMAPPERFLAGS:
    case META_SETLAYOUT:
        return n >= 2;
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT:
    case META_EXCLUDECLIPRECT:
    case META_INTERSECTCLIPRECT:
    case META_ELLIPSE:
    case META_FLOODFILL:
    case META_RECTANGLE:
    case META_SETPIXEL:
    case META_CREATEBRUSHINDIRECT:
        return n >= 4;
    case META_EXTFLOODFILL:
    case META_CREATEPENINDIRECT:
        return n >= 5;
    case META_ROUNDRECT:
    case META_PATBLT:
        return n >= 6;
    case META_ARC:
    case META_PIE:
    case META_CHORD:
        return n >= 8;
    case META_CREATEFONTINDIRECT:
        // The player copies a 32-byte face name whatever the record's length: it must lie inside
        // the metafile.
        return n >= 9 && recordOffset + 6 + 18 + 32 <= ctx.metafileBytes;
    case META_SELECTOBJECT:
    case META_DELETEOBJECT:
    case META_INVERTREGION:
    case META_PAINTREGION:
        return n >= 1 && ctx.Index(p(0));
    case META_SELECTCLIPREGION:
        return n >= 1 && (p(0) == 0 || ctx.Index(p(0)));
    case META_SELECTPALETTE:
        return n >= 2 && ctx.Index(p(1));
    case META_FILLREGION:
        return n >= 2 && ctx.Index(p(0)) && ctx.Index(p(1));
    case META_FRAMEREGION:
        return n >= 4 && ctx.Index(p(2)) && ctx.Index(p(3));
    case META_TEXTOUT:
        return n >= 1 && p(0) < 0x8000 && ((size_t(p(0)) + 1) >> 1) + 3 <= n;
    case META_EXTTEXTOUT: {
        if (n < 4 || p(2) >= 0x8000)
            return false;
        const size_t rect = (p(3) & (ETO_OPAQUE | ETO_CLIPPED)) ? 4 : 0;
        return 4 + rect + ((size_t(p(2)) + 1) >> 1) <= n;
    }
    case META_POLYGON:
    case META_POLYLINE:
        return n >= 1 && 1 + size_t(p(0)) * 2 <= n;
    case META_POLYPOLYGON: {
        if (n < 1 || 1 + size_t(p(0)) > n)
            return false;
        uint64_t total = 0;
        for (size_t i = 0; i < p(0); ++i) {
            if (p(1 + i) >= 0x8000)
                return false;
            total += p(1 + i);
        }
        return 1 + p(0) + total * 2 <= n;
    }
    case META_ESCAPE:
        return n >= 2 && 2 + ((size_t(p(1)) + 1) >> 1) <= n;
    case META_CREATEPALETTE:
    case META_SETPALENTRIES:
    case META_ANIMATEPALETTE:
        return n >= 2 && 2 + size_t(p(1)) * 2 <= n;
    case META_CREATEREGION: {
        if (n < 11)
            return false;
        size_t at = 11;
        for (size_t band = 0; band < p(5); ++band) {
            if (at >= n || (p(at) & 1))
                return false;
            const size_t end = at + p(at) + 3;
            if (end >= n || p(end) != p(at))
                return false;
            at = end + 1;
        }
        return true;
    }
    case META_DIBCREATEPATTERNBRUSH:
        return n >= 2 && CheckWmfBitmap(params, 2);
    case META_CREATEPATTERNBRUSH:
        if (n < 2)
            return false;
        if (p(0) == BS_PATTERN) {
            if (n < 2 + 20)
                return false;
            uint32_t w = 0, h = 0;
            uint16_t planes = 0, bitCount = 0;
            params.U32LEAt(4 + 4, &w);
            params.U32LEAt(4 + 8, &h);
            params.U16LEAt(4 + 12, &planes);
            params.U16LEAt(4 + 14, &bitCount);
            if (w > 65535 || h > 65535)
                return false;
            return CheckWmfDeviceBitmap(params, 24, static_cast<uint16_t>(w), static_cast<uint16_t>(h),
                                        planes, bitCount);
        }
        return p(0) != BS_DIBPATTERN || CheckWmfBitmap(params, 2);
    case META_DIBBITBLT:
        if (n < 9)
            return false;
        return params.Size() + 6 <= 12 * 2 || CheckWmfBitmap(params, 8);
    case META_DIBSTRETCHBLT:
        return n >= 10 && CheckWmfBitmap(params, 10);
    case META_STRETCHDIB:
        return n >= 11 && CheckWmfBitmap(params, 11);
    case META_SETDIBTODEV: {
        if (n < 9 || !CheckWmfBitmap(params, 9))
            return false;
        // The rows the call reads must be rows of the bitmap.
        int32_t height = 0;
        uint32_t headerSize = 0;
        params.U32LEAt(18, &headerSize);
        if (headerSize == 12) {
            uint16_t h = 0;
            params.U16LEAt(18 + 6, &h);
            height = h;
        } else {
            params.U32LEAt(18 + 8, reinterpret_cast<uint32_t*>(&height));
        }
        const int64_t rows = height < 0 ? -int64_t(height) : height;
        return int64_t(p(1)) <= rows;
    }
    case META_BITBLT:
        return n >= 12 && CheckWmfDeviceBitmap(params, 12, p(7), p(8), p(10), p(11));
    case META_STRETCHBLT:
        return n >= 15 && CheckWmfDeviceBitmap(params, 15, p(10), p(11), p(13), p(14));
    default:
        return true; // the player skips what it does not know
    }
}

} // namespace

bool CheckEnhancedMetafile(const void* data, size_t size)
{
    const ByteReader in(data, size);
    uint32_t type = 0, headerSize = 0, signature = 0, bytes = 0, description = 0, offDescription = 0;
    uint32_t palette = 0;
    uint16_t handles = 0;
    if (!in.Has(0, 88))
        return false;
    in.U32LEAt(0, &type);
    in.U32LEAt(4, &headerSize);
    in.U32LEAt(40, &signature);
    in.U32LEAt(48, &bytes);
    in.U16LEAt(56, &handles);
    in.U32LEAt(60, &description);
    in.U32LEAt(64, &offDescription);
    in.U32LEAt(68, &palette);
    if (type != EMR_HEADER || signature != ENHMETA_SIGNATURE || headerSize < 88 || (headerSize & 3)
        || bytes > size || (bytes & 3) || bytes < uint64_t(headerSize) + 20)
        return false;
    if (description && uint64_t(offDescription) + uint64_t(description) * 2 > headerSize)
        return false;
    EmfContext ctx;
    ctx.handles = handles;
    uint64_t offset = headerSize;
    while (offset < bytes) {
        uint32_t recordType = 0, recordSize = 0;
        in.U32LEAt(static_cast<size_t>(offset), &recordType);
        in.U32LEAt(static_cast<size_t>(offset) + 4, &recordSize);
        if (recordSize < 8 || (recordSize & 3) || offset + recordSize > bytes)
            return false;
        const ByteReader rec(in.Data() + offset, recordSize);
        if (!CheckEmfRecord(recordType, rec, ctx))
            return false;
        if (recordType == EMR_EOF) {
            // The palette sits in the end record, which must close the metafile.
            uint32_t entries = 0, offEntries = 0;
            rec.U32LEAt(8, &entries);
            rec.U32LEAt(12, &offEntries);
            if (entries != palette || offset + recordSize != bytes)
                return false;
            return entries == 0 || uint64_t(offEntries) + uint64_t(entries) * 4 <= recordSize;
        }
        offset += recordSize;
    }
    return false; // no end record
}

bool CheckWindowsMetafile(const void* wmf, size_t size)
{
    const ByteReader in(wmf, size);
    uint16_t type = 0, headerWords = 0, version = 0, objects = 0;
    uint32_t words = 0;
    if (!in.Has(0, 18))
        return false;
    in.U16LEAt(0, &type);
    in.U16LEAt(2, &headerWords);
    in.U16LEAt(4, &version);
    in.U32LEAt(6, &words);
    in.U16LEAt(10, &objects);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300))
        return false;
    const uint64_t bytes = uint64_t(words) * 2;
    if (bytes > size || bytes < 18 + 6)
        return false;
    WmfContext ctx;
    ctx.objects = objects;
    ctx.metafileBytes = bytes;
    uint64_t offset = 18;
    while (offset + 6 <= bytes) {
        uint32_t recordWords = 0;
        uint16_t function = 0;
        in.U32LEAt(static_cast<size_t>(offset), &recordWords);
        in.U16LEAt(static_cast<size_t>(offset) + 4, &function);
        if (recordWords < 3 || offset + uint64_t(recordWords) * 2 > bytes)
            return false;
        const ByteReader params(in.Data() + offset + 6, static_cast<size_t>(recordWords) * 2 - 6);
        if (!CheckWmfRecord(function, params, offset, ctx))
            return false;
        if (function == kMetaEof)
            return true;
        offset += uint64_t(recordWords) * 2;
    }
    return false; // no end record
}
