// Hostile input for the JPEG, PNG, GIF and TIFF readers: hundreds of truncated and damaged variants
// of the libraries' test pictures, and headers with extreme fields. Every variant gives a null
// picture or a well-formed one, never a crash or a hang, and nothing leaks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <zlib.h>

#include "core/DIB.h"
#include "core/ReaderSettings.h"
#include "formats/FormatGif.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "formats/FormatTiff.h"
#include "framework/Collections.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

typedef PackedDIB (*Reader)(LPCSTR path);

struct Variant {
    std::string name;
    std::string bytes;
    bool truncated = false;
    size_t damageFrom = 0; // first byte changed (or the cut)
};

// A small deterministic generator, so a failing variant can be found again.
struct Random {
    uint32_t state;
    explicit Random(uint32_t seed) : state(seed ? seed : 1) {}
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    size_t Below(size_t n) { return n ? Next() % n : 0; }
};

// Cuts at every small length, then at evenly spaced points; single-byte overwrites with the
// values parsers trip on, half of them in the first 512 bytes (the headers); runs of noise.
std::vector<Variant> MakeVariants(const std::string& seed, int count, uint32_t randomSeed)
{
    std::vector<Variant> variants;
    Random random(randomSeed);
    const int cuts = count / 3;
    for (int i = 0; i < cuts; ++i) {
        const size_t length =
            i < 16 ? static_cast<size_t>(i) * 4 : 64 + (seed.size() - 64) * (i - 16) / (cuts - 16);
        if (length >= seed.size())
            continue;
        Variant v;
        v.name = "cut at " + std::to_string(length);
        v.bytes = seed.substr(0, length);
        v.truncated = true;
        v.damageFrom = length;
        variants.push_back(v);
    }
    static const unsigned char kValues[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xFE};
    const int flips = count / 2;
    for (int i = 0; i < flips; ++i) {
        Variant v;
        v.bytes = seed;
        const size_t span = (i % 2 == 0 && seed.size() > 512) ? 512 : seed.size();
        const size_t at = random.Below(span);
        const unsigned char value =
            (i % 3 == 2) ? static_cast<unsigned char>(random.Next()) : kValues[random.Below(6)];
        if (static_cast<unsigned char>(v.bytes[at]) == value)
            v.bytes[at] = static_cast<char>(value ^ 0x55);
        else
            v.bytes[at] = static_cast<char>(value);
        v.name =
            "byte " + std::to_string(at) + " = " + std::to_string(static_cast<unsigned char>(v.bytes[at]));
        v.damageFrom = at;
        variants.push_back(v);
    }
    while (static_cast<int>(variants.size()) < count) {
        Variant v;
        v.bytes = seed;
        const size_t at = random.Below(seed.size());
        const size_t length = 8 + random.Below(56);
        for (size_t k = at; k < at + length && k < v.bytes.size(); ++k)
            v.bytes[k] = static_cast<char>(random.Next());
        v.name = "noise at " + std::to_string(at);
        v.damageFrom = at;
        variants.push_back(v);
    }
    return variants;
}

// A loaded picture is well formed: the header agrees with the block and the depth is one the
// program draws.
bool WellFormed(PackedDIB dib)
{
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    if (!block)
        return false;
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const WORD bits = header->biBitCount;
    bool ok = header->biSize == sizeof(BITMAPINFOHEADER) && header->biWidth > 0 && header->biHeight > 0
              && header->biCompression == BI_RGB && (bits == 1 || bits == 4 || bits == 8 || bits == 24);
    if (ok) {
        const ULONGLONG needed =
            sizeof(BITMAPINFOHEADER) + PaletteSize(block)
            + static_cast<ULONGLONG>(DIBRowBytes(header->biWidth, bits)) * header->biHeight;
        ok = needed <= GlobalSize(dib);
    }
    GlobalUnlock(dib);
    return ok;
}

struct SweepResult {
    int variants = 0;
    int nulls = 0;
    int pictures = 0;
};

// Runs every variant through the reader. mustRefuse says which variants must give null.
SweepResult Sweep(Reader reader, const std::vector<Variant>& variants, const std::string& file,
                  bool (*mustRefuse)(const Variant&, const std::string& seed), const std::string& seed,
                  bool alsoFrames = false)
{
    SweepResult result;
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        EXPECT_TRUE(testpaths::WriteBytes(file, v.bytes));
        const DWORD start = GetTickCount();
        PackedDIB dib = reader(file.c_str());
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_LT(elapsed, 20000u);
        ++result.variants;
        if (dib) {
            ++result.pictures;
            EXPECT_TRUE(WellFormed(dib));
            GlobalFreeHandle(dib);
            if (mustRefuse && mustRefuse(v, seed))
                ADD_FAILURE() << "a picture from a variant that must be refused";
        } else {
            ++result.nulls;
        }
        if (alsoFrames) {
            CObArray frames;
            const int count = LoadAnimatedGIF(file.c_str(), &frames);
            EXPECT_EQ(count, frames.GetSize());
            for (INT_PTR i = 0; i < frames.GetSize(); ++i) {
                EXPECT_TRUE(WellFormed(static_cast<CDIB*>(frames.GetAt(i))->GetHandle()));
                delete frames.GetAt(i);
            }
        }
    }
    return result;
}

// Resources before and after a sweep: a reader that leaks a handle, a picture or a library
// object per refused file shows here.
void ExpectNoGrowth(const ResourceSnapshot& before, const ResourceSnapshot& after)
{
    EXPECT_LE(after.handles, before.handles + 2);
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.userObjects, before.userObjects);
    EXPECT_LT(after.privateBytes, before.privateBytes + 16 * 1024 * 1024)
        << (after.privateBytes - before.privateBytes) << " more bytes";
}

void Report(const char* format, const SweepResult& r)
{
    printf("%s: %d variants, %d refused, %d shown\n", format, r.variants, r.nulls, r.pictures);
}

// ---- What must be refused, by format ----

// Offset just past the end of the last IDAT chunk: cut before it, the picture is incomplete.
size_t PngImageDataEnd(const std::string& png)
{
    size_t p = 8, end = 0;
    while (p + 12 <= png.size()) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(png.data()) + p;
        const size_t length = (size_t(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
        if (png.compare(p + 4, 4, "IDAT") == 0)
            end = p + 12 + length;
        p += 12 + length;
    }
    return end;
}

// Whether an offset lies in a critical chunk (IHDR, PLTE, IDAT: length, type, data or CRC) or
// the signature.
bool PngCritical(const std::string& png, size_t offset)
{
    if (offset < 8)
        return true;
    size_t p = 8;
    while (p + 12 <= png.size()) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(png.data()) + p;
        const size_t length = (size_t(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
        if (offset >= p && offset < p + 12 + length)
            return png.compare(p + 4, 4, "IHDR") == 0 || png.compare(p + 4, 4, "PLTE") == 0
                   || png.compare(p + 4, 4, "IDAT") == 0;
        p += 12 + length;
    }
    return false;
}

bool PngMustRefuse(const Variant& v, const std::string& seed)
{
    if (v.truncated)
        return v.damageFrom < PngImageDataEnd(seed);
    // A single changed byte in a critical chunk breaks its CRC (or its framing).
    return v.name.compare(0, 5, "byte ") == 0 && PngCritical(seed, v.damageFrom);
}

// Offset of the first scan's data: a JPEG cut before it has no picture to show.
size_t JpegFirstScan(const std::string& jpeg)
{
    size_t p = 2;
    while (p + 4 <= jpeg.size()) {
        if (static_cast<unsigned char>(jpeg[p]) != 0xFF)
            return jpeg.size();
        const unsigned char marker = static_cast<unsigned char>(jpeg[p + 1]);
        const size_t length =
            (static_cast<unsigned char>(jpeg[p + 2]) << 8) | static_cast<unsigned char>(jpeg[p + 3]);
        if (marker == 0xDA)
            return p + 2 + length;
        p += 2 + length;
    }
    return jpeg.size();
}

bool JpegMustRefuse(const Variant& v, const std::string& seed)
{
    return v.truncated && v.damageFrom < JpegFirstScan(seed);
}

// GIF: a cut before the end of the first image's data leaves nothing to show. The first image of
// these seeds ends within its first two thirds.
bool GifMustRefuse(const Variant& v, const std::string& seed) { return v.truncated && v.damageFrom < 20; }

bool TiffMustRefuse(const Variant& v, const std::string&) { return v.truncated && v.damageFrom < 8; }

// PNG chunk with a correct CRC.
std::string PngChunk(const char* type, const std::string& data)
{
    std::string chunk;
    const uint32_t length = static_cast<uint32_t>(data.size());
    chunk += static_cast<char>(length >> 24);
    chunk += static_cast<char>(length >> 16);
    chunk += static_cast<char>(length >> 8);
    chunk += static_cast<char>(length);
    chunk += std::string(type, 4) + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    chunk += static_cast<char>(crc >> 24);
    chunk += static_cast<char>(crc >> 16);
    chunk += static_cast<char>(crc >> 8);
    chunk += static_cast<char>(crc);
    return chunk;
}

std::string BigEndian32(uint32_t v)
{
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
}

// A PNG with the given IHDR fields, chunks and one IDAT of zlib-compressed rows.
std::string CraftPng(uint32_t width, uint32_t height, int depth, int colorType, const std::string& extra,
                     const std::string& rawRows)
{
    std::string ihdr = BigEndian32(width) + BigEndian32(height);
    ihdr += static_cast<char>(depth);
    ihdr += static_cast<char>(colorType);
    ihdr += std::string(3, '\0');
    uLongf size = compressBound(static_cast<uLong>(rawRows.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(rawRows.data()),
             static_cast<uLong>(rawRows.size()));
    packed.resize(size);
    return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr) + extra + PngChunk("IDAT", packed)
           + PngChunk("IEND", "");
}

} // namespace

// ---- Sweeps over the libraries' pictures ----

TEST(HostileLibraryFormats, JpegVariantsAreRefusedOrShownWhole)
{
    ReaderStateGuard guard;
    testpaths::TempDir dir;
    const std::string file = dir.File("v.jpg");
    const std::string seeds[] = {TestImage("jpeg", "testorig.jpg"), TestImage("jpeg", "testimgari.jpg"),
                                 ReferenceDir("jpeg") + "\\progressive.jpg",
                                 ReferenceDir("jpeg") + "\\grey.jpg"};
    SweepResult total;
    for (int eightBit = 0; eightBit < 2; ++eightBit) {
        g_CouleursJPEG = eightBit;
        for (const std::string& path : seeds) {
            SCOPED_TRACE(path);
            const std::string seed = FileBytes(path);
            ASSERT_FALSE(seed.empty());
            const std::vector<Variant> variants =
                MakeVariants(seed, 60, static_cast<uint32_t>(seed.size()) + eightBit);
            Sweep(LoadJPEG, std::vector<Variant>(variants.begin(), variants.begin() + 3), file, nullptr,
                  seed);
            const ResourceSnapshot before = ResourceSnapshot::Take();
            const SweepResult r = Sweep(LoadJPEG, variants, file, JpegMustRefuse, seed);
            ExpectNoGrowth(before, ResourceSnapshot::Take());
            total.variants += r.variants;
            total.nulls += r.nulls;
            total.pictures += r.pictures;
        }
    }
    Report("JPEG", total);
    EXPECT_GE(total.variants, 400);
    EXPECT_GT(total.nulls, 100);
}

TEST(HostileLibraryFormats, PngVariantsAreRefused)
{
    testpaths::TempDir dir;
    const std::string file = dir.File("v.png");
    SweepResult total;
    for (const char* name :
         {"basn2c08.png", "basn3p04.png", "ibasn6a16.png", "basn4a16.png", "ftbyn3p08.png"}) {
        SCOPED_TRACE(name);
        const std::string seed = FileBytes(TestImage("png", name));
        ASSERT_FALSE(seed.empty());
        const std::vector<Variant> variants = MakeVariants(seed, 70, static_cast<uint32_t>(seed.size()));
        Sweep(LoadPNG, std::vector<Variant>(variants.begin(), variants.begin() + 3), file, nullptr, seed);
        const ResourceSnapshot before = ResourceSnapshot::Take();
        const SweepResult r = Sweep(LoadPNG, variants, file, PngMustRefuse, seed);
        ExpectNoGrowth(before, ResourceSnapshot::Take());
        total.variants += r.variants;
        total.nulls += r.nulls;
        total.pictures += r.pictures;
    }
    Report("PNG", total);
    EXPECT_GE(total.variants, 300);
    EXPECT_GT(total.nulls, total.variants * 3 / 4);
}

TEST(HostileLibraryFormats, GifVariantsAreRefusedOrShownWhole)
{
    testpaths::TempDir dir;
    const std::string file = dir.File("v.gif");
    SweepResult total;
    for (const char* name : {"treescap-interlaced.gif", "welcome2.gif", "x-trans.gif", "gifgrid.gif"}) {
        SCOPED_TRACE(name);
        const std::string seed = FileBytes(TestImage("gif", name));
        ASSERT_FALSE(seed.empty());
        const std::vector<Variant> variants = MakeVariants(seed, 80, static_cast<uint32_t>(seed.size()));
        Sweep(LoadGIF, std::vector<Variant>(variants.begin(), variants.begin() + 3), file, nullptr, seed,
              true);
        const ResourceSnapshot before = ResourceSnapshot::Take();
        const SweepResult r = Sweep(LoadGIF, variants, file, GifMustRefuse, seed, true);
        ExpectNoGrowth(before, ResourceSnapshot::Take());
        total.variants += r.variants;
        total.nulls += r.nulls;
        total.pictures += r.pictures;
    }
    Report("GIF", total);
    EXPECT_GE(total.variants, 300);
}

TEST(HostileLibraryFormats, TiffVariantsAreRefusedOrShownWholeWithoutMessages)
{
    testpaths::TempDir dir;
    const std::string file = dir.File("v.tif");
    WindowWatch watch;
    SweepResult total;
    for (const char* name :
         {"palette-1c-8b.tiff", "rgb-3c-8b.tiff", "quad-lzw-compat.tiff",
          "ojpeg_zackthecat_subsamp22_single_strip.tiff", "miniswhite-1c-1b.tiff", "quad-tile.jpg.tiff"}) {
        SCOPED_TRACE(name);
        const std::string seed = FileBytes(TestImage("tiff", name));
        ASSERT_FALSE(seed.empty());
        const std::vector<Variant> variants = MakeVariants(seed, 60, static_cast<uint32_t>(seed.size()));
        Sweep(LoadTIFF, std::vector<Variant>(variants.begin(), variants.begin() + 3), file, nullptr, seed);
        const ResourceSnapshot before = ResourceSnapshot::Take();
        const SweepResult r = Sweep(LoadTIFF, variants, file, TiffMustRefuse, seed);
        ExpectNoGrowth(before, ResourceSnapshot::Take());
        total.variants += r.variants;
        total.nulls += r.nulls;
        total.pictures += r.pictures;
    }
    Report("TIFF", total);
    EXPECT_GE(total.variants, 300);
    // libtiff's warnings and errors made no window (no message box).
    EXPECT_EQ(watch.Created(), 0);
}

// ---- Extreme headers ----

TEST(HostileLibraryFormats, JpegExtremeSizesAreRefused)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    const std::string seed = FileBytes(TestImage("jpeg", "testorig.jpg"));
    // The frame header (SOF0): height and width follow the marker, length and precision.
    const size_t sof = seed.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    testpaths::TempDir dir;
    for (uint16_t size : {0, 65500}) {
        SCOPED_TRACE(size);
        std::string bytes = seed;
        bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(size >> 8);
        bytes[sof + 6] = bytes[sof + 8] = static_cast<char>(size & 0xFF);
        ASSERT_TRUE(testpaths::WriteBytes(dir.File("big.jpg"), bytes));
        const DWORD start = GetTickCount();
        EXPECT_EQ(LoadJPEG(dir.File("big.jpg").c_str()), nullptr);
        g_CouleursJPEG = 1;
        EXPECT_EQ(LoadJPEG(dir.File("big.jpg").c_str()), nullptr);
        g_CouleursJPEG = 0;
        EXPECT_LT(GetTickCount() - start, 20000u);
    }
}

TEST(HostileLibraryFormats, PngExtremeHeadersAreRefused)
{
    testpaths::TempDir dir;
    const std::string row3x1 = std::string("\0\x01\x02\x03", 4);
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string palette300;
    for (int i = 0; i < 300; ++i)
        palette300 += std::string{char(i), char(i), char(i)};
    const Case cases[] = {
        {"zero width", CraftPng(0, 1, 8, 0, "", row3x1)},
        {"width past the limit", CraftPng(0x7FFFFFFF, 1, 8, 0, "", row3x1)},
        {"a million squared", CraftPng(1000000, 1000000, 8, 0, "", row3x1)},
        {"bit depth 3", CraftPng(3, 1, 3, 0, "", row3x1)},
        {"colour type 5", CraftPng(3, 1, 8, 5, "", row3x1)},
        {"palette of 300", CraftPng(3, 1, 8, 3, PngChunk("PLTE", palette300), row3x1)},
        {"no palette", CraftPng(3, 1, 8, 3, "", row3x1)},
        {"rows missing", CraftPng(3, 40, 8, 0, "", row3x1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testpaths::WriteBytes(dir.File("x.png"), c.bytes));
        EXPECT_EQ(LoadPNG(dir.File("x.png").c_str()), nullptr);
    }
    // The crafting is right: the same file with sane fields loads.
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("ok.png"), CraftPng(3, 1, 8, 0, "", row3x1)));
    PackedDIB dib = LoadPNG(dir.File("ok.png").c_str());
    EXPECT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    // A tRNS longer than the palette, and palette indices past the palette: shown, indices black.
    const std::string plte = std::string("\xFF\0\0\0\xFF\0", 6);
    ASSERT_TRUE(testpaths::WriteBytes(
        dir.File("trns.png"),
        CraftPng(3, 1, 8, 3, PngChunk("PLTE", plte) + PngChunk("tRNS", std::string(5, '\x80')),
                 std::string("\0\x00\x01\x07", 4))));
    dib = LoadPNG(dir.File("trns.png").c_str());
    if (dib) {
        EXPECT_TRUE(WellFormed(dib));
        GlobalFreeHandle(dib);
    }
}

TEST(HostileLibraryFormats, TiffExtremeSizesAreRefused)
{
    testpaths::TempDir dir;
    // A minimal little-endian TIFF: one 8-bit grey strip of 4 bytes, then the fields to vary.
    auto craft = [](uint32_t width, uint32_t height, uint16_t bits, uint16_t samples) {
        std::string t("II*\0\x08\0\0\0", 8);
        const uint16_t entries = 8;
        auto put16 = [&](uint16_t v) {
            t += static_cast<char>(v & 0xFF);
            t += static_cast<char>(v >> 8);
        };
        auto put32 = [&](uint32_t v) {
            put16(static_cast<uint16_t>(v & 0xFFFF));
            put16(static_cast<uint16_t>(v >> 16));
        };
        auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
            put16(tag);
            put16(type);
            put32(count);
            put32(value);
        };
        put16(entries);
        const uint32_t dataOffset = 8 + 2 + entries * 12 + 4;
        entry(256, 4, 1, width);
        entry(257, 4, 1, height);
        entry(258, 3, 1, bits);
        entry(259, 3, 1, 1);
        entry(262, 3, 1, 1);
        entry(273, 4, 1, dataOffset);
        entry(277, 3, 1, samples);
        entry(279, 4, 1, 4);
        put32(0);
        t += std::string("\x10\x20\x30\x40", 4);
        return t;
    };
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("ok.tif"), craft(2, 2, 8, 1)));
    PackedDIB dib = LoadTIFF(dir.File("ok.tif").c_str());
    EXPECT_NE(dib, nullptr); // the crafting is right
    GlobalFreeHandle(dib);
    struct Case {
        const char* name;
        uint32_t width, height;
        uint16_t bits, samples;
    };
    const Case cases[] = {
        {"huge width", 0x7FFFFFFF, 1, 8, 1},
        {"huge both", 100000, 100000, 8, 1},
        {"zero width", 0, 2, 8, 1},
        {"bits 0", 2, 2, 0, 1},
        {"bits 32", 2, 2, 32, 1},
        {"samples 0", 2, 2, 8, 0},
        {"samples 5", 2, 2, 8, 5},
        {"rows past the data", 2, 4000, 8, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testpaths::WriteBytes(dir.File("x.tif"), craft(c.width, c.height, c.bits, c.samples)));
        const DWORD start = GetTickCount();
        EXPECT_EQ(LoadTIFF(dir.File("x.tif").c_str()), nullptr);
        EXPECT_LT(GetTickCount() - start, 20000u);
    }
}
