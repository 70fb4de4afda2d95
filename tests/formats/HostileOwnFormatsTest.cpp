// Hostile input for the IFF, PCX, Targa, metafile and PhotoCD readers: hundreds of truncated and
// corrupted variants of real files, each decoded from a buffer that ends (or starts) at an
// inaccessible page. Every variant must give a null picture or a well-formed one, quickly, without
// a crash or a read outside its bytes.
#include "formats/FormatIff.h"
#include "formats/FormatMeta.h"
#include "formats/FormatPcd.h"
#include "formats/FormatPcx.h"
#include "formats/FormatTga.h"

#include "core/LoadDispatch.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <functional>

using namespace owntest;

namespace {

typedef std::function<PackedDIB(const uint8_t*, size_t)> Decoder;

struct Outcome {
    int variants = 0;
    int pictures = 0;
};

// Decodes one variant from a guarded buffer; fails the test for an inconsistent picture or a slow
// decode.
void RunVariant(const Decoder& decode, const std::string& bytes, bool guardBefore, const std::string& what,
                Outcome& out)
{
    GuardedBytes guarded(bytes, guardBefore);
    ASSERT_NE(guarded.Data(), nullptr);
    const DWORD start = GetTickCount();
    PackedDIB dib = decode(guarded.Data(), guarded.Size());
    const DWORD elapsed = GetTickCount() - start;
    ++out.variants;
    if (dib) {
        ++out.pictures;
        EXPECT_TRUE(IsConsistentDib(dib)) << what;
        GlobalFreeHandle(dib);
    }
    EXPECT_LT(elapsed, 20000u) << what;
}

// Truncations, single-byte overwrites of the first bytes, field extremes and random damage.
Outcome Mutate(const Decoder& decode, const std::string& seed, const std::vector<size_t>& fields,
               uint32_t rngSeed, int randomVariants)
{
    Outcome out;
    // The untouched seed, from both ends of a guard.
    RunVariant(decode, seed, false, "seed", out);
    RunVariant(decode, seed, true, "seed, guard before", out);
    // Truncated at every length up to 64, then at 40 points spread over the file.
    for (size_t n = 0; n < seed.size() && n < 64; ++n)
        RunVariant(decode, seed.substr(0, n), false, "cut at " + std::to_string(n), out);
    for (int i = 1; i < 40; ++i) {
        const size_t n = seed.size() * i / 40;
        RunVariant(decode, seed.substr(0, n), false, "cut at " + std::to_string(n), out);
    }
    // The header's fields at their extremes.
    for (size_t at : fields) {
        for (uint8_t v : {0x00, 0xFF, 0x80, 0x7F, 0x01}) {
            if (at >= seed.size())
                continue;
            std::string s = seed;
            s[at] = static_cast<char>(v);
            RunVariant(decode, s, false, "byte " + std::to_string(at) + " = " + std::to_string(v), out);
            if (at + 1 < s.size()) {
                s[at + 1] = static_cast<char>(v);
                RunVariant(decode, s, (at & 1) != 0,
                           "bytes " + std::to_string(at) + "+1 = " + std::to_string(v), out);
            }
        }
    }
    // Random damage: a few bytes anywhere, sometimes in the first 128.
    Random rng(rngSeed);
    for (int i = 0; i < randomVariants; ++i) {
        std::string s = seed;
        const int changes = 1 + static_cast<int>(rng.Below(4));
        for (int c = 0; c < changes; ++c) {
            const size_t limit = (rng.Below(2) && s.size() > 128) ? 128 : s.size();
            s[rng.Below(static_cast<uint32_t>(limit))] = static_cast<char>(rng.Below(256));
        }
        RunVariant(decode, s, (i & 1) != 0, "random variant " + std::to_string(i), out);
    }
    return out;
}

std::vector<size_t> Range(size_t first, size_t last)
{
    std::vector<size_t> v;
    for (size_t i = first; i < last; ++i)
        v.push_back(i);
    return v;
}

std::string Prepared(const std::string& name) { return testpaths::ReadBytes(OwnDataDir() + "\\" + name); }

// Offsets of the chunk headers (identifier and length) of an IFF file.
std::vector<size_t> IffChunkFields(const std::string& f)
{
    std::vector<size_t> v = Range(0, 12);
    size_t at = 12;
    while (at + 8 <= f.size()) {
        for (size_t i = 0; i < 8; ++i)
            v.push_back(at + i);
        const uint32_t len = (uint8_t(f[at + 4]) << 24) | (uint8_t(f[at + 5]) << 16)
                             | (uint8_t(f[at + 6]) << 8) | uint8_t(f[at + 7]);
        if (std::string(f, at, 4) == "BMHD")
            for (size_t i = 0; i < 20; ++i)
                v.push_back(at + 8 + i);
        at += 8 + len + (len & 1);
    }
    return v;
}

} // namespace

TEST(HostileOwnFormats, IffVariantsNeverCrashOrHang)
{
    const Decoder decode = [](const uint8_t* p, size_t n) { return DecodeIFF(p, n); };
    int total = 0;
    for (const char* name : {"ilbm_4planes.iff", "ilbm_8planes_raw.iff", "ilbm_masked.iff", "ilbm_deep24.iff",
                             "ilbm_ham6.iff", "ilbm_rgb8.iff", "ilbm_rgbn.iff", "ilbm_dcol555.iff"}) {
        SCOPED_TRACE(name);
        const std::string seed = Prepared(name);
        ASSERT_FALSE(seed.empty()) << "reference files missing: scripts/test.sh prepares them";
        const Outcome o = Mutate(decode, seed, IffChunkFields(seed), 0x1FF0 + total, 40);
        EXPECT_GT(o.pictures, 0);
        total += o.variants;
    }
    // Chunk lengths that point backwards or far beyond the file.
    std::string seed = Prepared("ilbm_4planes.iff");
    for (uint32_t length : {0xFFFFFFF8u, 0x80000000u, 0x7FFFFFFFu, 0u, 1u}) {
        std::string s = seed;
        s[16] = static_cast<char>(length >> 24);
        s[17] = static_cast<char>(length >> 16);
        s[18] = static_cast<char>(length >> 8);
        s[19] = static_cast<char>(length);
        Outcome o;
        RunVariant(decode, s, false, "BMHD length " + std::to_string(length), o);
        total += o.variants;
    }
    EXPECT_GE(total, 300);
}

TEST(HostileOwnFormats, PcxVariantsNeverCrashOrHang)
{
    const Decoder decode = [](const uint8_t* p, size_t n) { return DecodePCX(p, n); };
    int total = 0;
    for (const char* name : {"pcx_n_4planes.pcx", "pcx_n_packed2.pcx", "pcx_n_8bit.pcx", "pcx_i_24bit.pcx",
                             "pcx_i_32bit.pcx", "pcx_i_bw.pcx"}) {
        SCOPED_TRACE(name);
        const std::string seed = Prepared(name);
        ASSERT_FALSE(seed.empty()) << "reference files missing: scripts/test.sh prepares them";
        std::vector<size_t> fields = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 65, 66, 67};
        const Outcome o = Mutate(decode, seed, fields, 0x2EE0 + total, 30);
        EXPECT_GT(o.pictures, 0);
        total += o.variants;
    }
    // Every layout of bits and planes over a real file's data, and its line length at extremes.
    const std::string seed = Prepared("pcx_n_4planes.pcx");
    for (int bits : {1, 2, 4, 8, 24, 32}) {
        for (int planes = 0; planes <= 5; ++planes) {
            for (unsigned bpl : {0u, 1u, 8u, 65535u}) {
                std::string s = seed;
                s[3] = static_cast<char>(bits);
                s[65] = static_cast<char>(planes);
                SetU16LE(s, 66, bpl);
                Outcome o;
                RunVariant(decode, s, false, "layout", o);
                total += o.variants;
            }
        }
    }
    // An all-0xFF run-length stream (runs of 63) and all-0xC0 (runs of nothing).
    for (char fill : {'\xFF', '\xC0'}) {
        std::string s = seed.substr(0, 128) + std::string(4096, fill);
        Outcome o;
        RunVariant(decode, s, false, "fill", o);
        total += o.variants;
    }
    EXPECT_GE(total, 300);
}

TEST(HostileOwnFormats, TgaVariantsNeverCrashOrHang)
{
    const Decoder decode = [](const uint8_t* p, size_t n) { return DecodeTGA(p, n); };
    int total = 0;
    for (const char* name :
         {"tga_n_cmap_rle.tga", "tga_n_cmap16.tga", "tga_i_rgb_rle.tga", "tga_i_16_RLE.tga", "tga_i_rgba.tga",
          "tga_i_grey_rle.tga", "tga_i_topfirst_rle.tga"}) {
        SCOPED_TRACE(name);
        const std::string seed = Prepared(name);
        ASSERT_FALSE(seed.empty()) << "reference files missing: scripts/test.sh prepares them";
        const Outcome o = Mutate(decode, seed, Range(0, 18), 0x3DD0 + total, 30);
        EXPECT_GT(o.pictures, 0);
        total += o.variants;
    }
    // Depths, map entry sizes and map lengths at their extremes, and a huge picture of no data.
    const std::string seed = Prepared("tga_n_cmap_rle.tga");
    for (int depth : {0, 1, 7, 8, 15, 16, 24, 31, 32, 33, 64}) {
        for (int mapBits : {0, 8, 15, 24, 32, 64}) {
            std::string s = seed;
            s[16] = static_cast<char>(depth);
            s[7] = static_cast<char>(mapBits);
            Outcome o;
            RunVariant(decode, s, false, "depth/map", o);
            total += o.variants;
        }
    }
    std::string huge = seed.substr(0, 18);
    SetU16LE(huge, 12, 0xFFFF);
    SetU16LE(huge, 14, 0xFFFF);
    huge[2] = 10;
    huge[16] = 24;
    huge[1] = 0;
    Outcome o;
    RunVariant(decode, huge, false, "65535 x 65535", o);
    total += o.variants;
    EXPECT_GE(total, 300);
}

TEST(HostileOwnFormats, MetafileVariantsNeverCrashOrHang)
{
    const Decoder decode = [](const uint8_t* p, size_t n) { return DecodeMetafile(p, n); };
    // An enhanced metafile drawn with lines, shapes, text, a region and a bitmap.
    const RECT frame = {0, 0, 3000, 2000};
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    ASSERT_NE(dc, nullptr);
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
    Rectangle(dc, 5, 5, 60, 40);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 80, 60);
    const POINT poly[4] = {{10, 10}, {50, 20}, {30, 50}, {5, 40}};
    Polygon(dc, poly, 4);
    TextOutA(dc, 10, 10, "Tessarine", 9);
    HRGN region = CreateEllipticRgn(20, 20, 70, 50);
    FillRgn(dc, region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(region);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biSizeImage = 48; // without it Wine records the bitmap without its bits
    BYTE bits[48];
    for (int i = 0; i < 48; ++i)
        bits[i] = static_cast<BYTE>(i * 5);
    StretchDIBits(dc, 40, 30, 20, 20, 0, 0, 4, 4, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::string enhanced(GetEnhMetaFileBits(emf, 0, nullptr), '\0');
    GetEnhMetaFileBits(emf, static_cast<UINT>(enhanced.size()), reinterpret_cast<BYTE*>(&enhanced[0]));
    DeleteEnhMetaFile(emf);
    ASSERT_TRUE(CheckEnhancedMetafile(enhanced.data(), enhanced.size()));

    // The same kind of drawing as a placeable Windows metafile.
    HDC mdc = CreateMetaFileA(nullptr);
    SetWindowExtEx(mdc, 100, 80, nullptr);
    SelectObject(mdc, GetStockObject(GRAY_BRUSH));
    Ellipse(mdc, 5, 5, 60, 40);
    Polyline(mdc, poly, 4);
    TextOutA(mdc, 10, 10, "Tessarine", 9);
    StretchDIBits(mdc, 40, 30, 20, 20, 0, 0, 4, 4, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    HMETAFILE wmfHandle = CloseMetaFile(mdc);
    std::string wmf(GetMetaFileBitsEx(wmfHandle, 0, nullptr), '\0');
    GetMetaFileBitsEx(wmfHandle, static_cast<UINT>(wmf.size()), &wmf[0]);
    DeleteMetaFile(wmfHandle);
    std::string placeable;
    PutU32LE(placeable, 0x9AC6CDD7);
    PutU16LE(placeable, 0);
    PutU16LE(placeable, 0);
    PutU16LE(placeable, 0);
    PutU16LE(placeable, 100);
    PutU16LE(placeable, 80);
    PutU16LE(placeable, 96);
    PutU32LE(placeable, 0);
    PutU16LE(placeable, 0);
    placeable += wmf;
    ASSERT_TRUE(CheckWindowsMetafile(wmf.data(), wmf.size()));

    int total = 0;
    std::vector<size_t> headerFields = Range(0, 12);
    for (size_t f : Range(24, 60))
        headerFields.push_back(f);
    for (size_t f : Range(68, 88))
        headerFields.push_back(f);
    const Outcome e = Mutate(decode, enhanced, headerFields, 0x4CC0, 120);
    EXPECT_GT(e.pictures, 0);
    total += e.variants;
    const Outcome p = Mutate(decode, placeable, Range(0, 40), 0x4CC1, 120);
    EXPECT_GT(p.pictures, 0);
    total += p.variants;
    const Outcome w = Mutate(decode, wmf, Range(0, 18), 0x4CC2, 60);
    total += w.variants;
    // Damage inside the records: every record's size and type words, of both kinds.
    for (size_t at = 108; at + 8 <= enhanced.size();) {
        const uint32_t size = uint8_t(enhanced[at + 4]) | (uint8_t(enhanced[at + 5]) << 8)
                              | (uint8_t(enhanced[at + 6]) << 16)
                              | (uint32_t(uint8_t(enhanced[at + 7])) << 24);
        for (size_t field : {at, at + 4, at + 8, at + 12}) {
            for (uint32_t v : {0u, 3u, 0xFFFFFFF0u, 0x7FFFFFFFu}) {
                if (field + 4 > enhanced.size())
                    continue;
                std::string s = enhanced;
                SetU32LE(s, field, v);
                Outcome o;
                RunVariant(decode, s, false, "record at " + std::to_string(at), o);
                total += o.variants;
            }
        }
        if (size < 8)
            break;
        at += size;
    }
    EXPECT_GE(total, 300);
}

TEST(HostileOwnFormats, PhotoCdVariantsNeverCrashOrHang)
{
    const std::string seed = Prepared("pcd_landscape.pcd");
    ASSERT_FALSE(seed.empty()) << "reference files missing: scripts/test.sh prepares them";
    // A residual stream after the Base: a table and a few rows.
    std::string withResiduals = seed;
    withResiduals.resize(388 * 2048, '\0');
    const std::string table("\x02\x00\x00\x00\x00\x01\x80\x00\x08\x02\xC0\x00\xF8", 13);
    withResiduals += table + std::string(2048 - table.size(), '\0');
    std::string stream;
    for (int row = 0; row < 8; ++row) {
        stream += "\xFF\xFF\xFE";
        PutU16BE(stream, static_cast<unsigned>(row << 1));
        stream += std::string(200, '\x92'); // 10 0 10 0 1..: +8, 0, +8 ...
    }
    stream += "\xFF\xFF\xFE";
    PutU16BE(stream, 1024 << 1);
    withResiduals += stream;
    int total = 0;
    for (int size : {0, 2, 3}) {
        SCOPED_TRACE(size);
        const Decoder decode = [size](const uint8_t* p, size_t n) { return DecodePCD(p, n, size); };
        const std::string& s = size == 3 ? withResiduals : seed;
        // Cuts around every sector the reader uses, and damage to the table and the stream.
        for (size_t sector : {1, 4, 23, 96, 388, 389, 390}) {
            for (long delta : {-1L, 0L, 1L, 777L}) {
                const long n = long(sector * 2048) + delta;
                if (n <= 0 || size_t(n) >= s.size())
                    continue;
                Outcome o;
                RunVariant(decode, s.substr(0, n), false, "cut", o);
                total += o.variants;
            }
        }
        Random rng(0x5BB0 + size);
        for (int i = 0; i < 40; ++i) {
            std::string v = s;
            const size_t base = size == 3 ? 388 * 2048 : 96 * 2048;
            for (int c = 0; c < 6; ++c)
                v[base + rng.Below(static_cast<uint32_t>(v.size() - base))] =
                    static_cast<char>(rng.Below(256));
            Outcome o;
            RunVariant(decode, v, (i & 1) != 0, "damage " + std::to_string(i), o);
            EXPECT_EQ(o.pictures, 1);
            total += o.variants;
        }
    }
    // Huffman codes of 17, 18 and 256 bits, and streams of random bits, all ones, and one row
    // header repeated.
    const Decoder fourBase = [](const uint8_t* p, size_t n) { return DecodePCD(p, n, 3); };
    for (int length : {16, 17, 255}) {
        std::string v = withResiduals;
        v[388 * 2048 + 1] = static_cast<char>(length);
        Outcome o;
        RunVariant(fourBase, v, false, "code length", o);
        total += o.variants;
    }
    Random rng(0x5BC0);
    std::string randomBits, ones(20000, '\xFF'), repeated;
    for (int i = 0; i < 20000; ++i)
        randomBits.push_back(static_cast<char>(rng.Below(256)));
    for (int i = 0; i < 2000; ++i) {
        repeated += "\xFF\xFF\xFE";
        PutU16BE(repeated, 1023 << 1);
    }
    for (const std::string& tail : {randomBits, ones, repeated}) {
        std::string v = withResiduals.substr(0, 389 * 2048) + tail;
        Outcome o;
        RunVariant(fourBase, v, false, "stream", o);
        EXPECT_EQ(o.pictures, 1);
        total += o.variants;
    }
    EXPECT_GE(total, 100);
}
