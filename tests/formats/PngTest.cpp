// PNG reading and writing: the PNG suite against ImageMagick's decodes (with the reader's gamma and
// black background applied), interlaced twins, colour tables, and round trips through the writer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <png.h>

#include "core/LoadDispatch.h"
#include "formats/FormatGif.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "formats/FormatTiff.h"
#include "formats/Readers.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

// The chunks of a PNG file by type (the last of each type), and IHDR's fields.
struct PngChunks {
    std::map<std::string, std::string> data;
    std::vector<std::string> order;
    int bitDepth = 0;
    int colorType = -1;
};

PngChunks ReadChunks(const std::string& path)
{
    PngChunks chunks;
    const std::string bytes = FileBytes(path);
    size_t p = 8;
    while (p + 12 <= bytes.size()) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data()) + p;
        const size_t length = (size_t(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
        const std::string type = bytes.substr(p + 4, 4);
        if (p + 12 + length > bytes.size())
            break;
        chunks.data[type] = bytes.substr(p + 8, length);
        chunks.order.push_back(type);
        p += 12 + length;
    }
    const std::string& ihdr = chunks.data["IHDR"];
    if (ihdr.size() >= 13) {
        chunks.bitDepth = static_cast<unsigned char>(ihdr[8]);
        chunks.colorType = static_cast<unsigned char>(ihdr[9]);
    }
    return chunks;
}

// The file's gamma as the reader takes it: gAMA, else 0.45.
double FileGamma(const PngChunks& chunks)
{
    auto it = chunks.data.find("gAMA");
    if (it == chunks.data.end() || it->second.size() < 4)
        return 0.45;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(it->second.data());
    return ((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]) / 100000.0;
}

// How far a decoded pixel lies outside what the reader should show for the reference pixel: the
// sample decoded to linear light with the file's gamma, alpha composited onto black there, then
// encoded for a 2.2 screen. libpng composites 8-bit files in 8-bit linear values, so the expected
// value is a range: the linear result give or take one step.
int Excess(const Image& reference, const Image& actual, double fileGamma, int* worst, double* total)
{
    const bool significant = std::fabs(fileGamma * 2.2 - 1.0) > 0.05;
    auto encode = [&](double linear) {
        linear = linear < 0 ? 0 : (linear > 1 ? 1 : linear);
        return 255.0 * std::pow(linear, 1.0 / 2.2);
    };
    *worst = 0;
    *total = 0;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            const uint16_t* r = reference.At(x, y);
            const uint16_t* a = actual.At(x, y);
            const double alpha = r[3] / double(reference.maxval);
            const bool partial = alpha > 0 && alpha < 1;
            for (int c = 0; c < 3; ++c) {
                const double v = r[c] / double(reference.maxval);
                const double linear = std::pow(v, 1.0 / fileGamma) * alpha;
                const double step = partial ? 1.0 / 255 : 0;
                double low = encode(linear - step), high = encode(linear + step);
                // Opaque pixels take the direct correction, none at all when it is within 5%.
                if (alpha == 1 && !significant)
                    low = high = 255.0 * v;
                double excess = 0;
                if (a[c] < low)
                    excess = low - a[c];
                else if (a[c] > high)
                    excess = a[c] - high;
                *worst = std::max(*worst, static_cast<int>(std::ceil(excess - 1e-9)));
                *total += excess;
            }
        }
    }
    *total /= 3.0 * reference.width * reference.height;
    return *worst;
}

struct Loaded {
    Image image;
    int bits = 0;
    int colors = 0;
    std::vector<RGBQUAD> table;
    std::string bytes; // the whole block
};

Loaded Load(const std::string& path)
{
    Loaded result;
    PackedDIB dib = LoadPNG(path.c_str());
    if (!dib)
        return result;
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    result.bits = header->biBitCount;
    result.colors = DIBNumColors(block);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    result.table.assign(table, table + result.colors);
    result.bytes.assign(reinterpret_cast<const char*>(block), GlobalSize(dib));
    GlobalUnlock(dib);
    result.image = DibToImage(dib);
    GlobalFreeHandle(dib);
    return result;
}

// Writes a PNG with libpng for the tests (rows top-down, packed as PNG stores them).
bool WritePng(const std::string& path, int width, int height, int depth, int colorType,
              const std::vector<std::vector<BYTE>>& rows, const std::vector<png_color>& palette = {},
              const std::vector<BYTE>& trns = {}, bool interlace = false)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, depth, colorType,
                 interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!trns.empty() && colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
    } else if (!trns.empty()) {
        png_color_16 transparent;
        memset(&transparent, 0, sizeof(transparent));
        transparent.gray = trns[0];
        png_set_tRNS(png, info, nullptr, 0, &transparent);
    }
    png_write_info(png, info);
    const int passes = interlace ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y)
            png_write_row(png, rows[y].data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

// The suite's interlaced files of 8 bits and more, named after their plain twins.
const char* const kInterlacedTwins[] = {
    "basn0g08",  "basn0g16",  "basn2c08",  "basn2c16",  "basn3p08",  "basn4a08",  "basn4a16",
    "basn6a08",  "basn6a16",  "ftbbn2c16", "ftbbn3p08", "ftbgn2c16", "ftbgn3p08", "ftbrn2c08",
    "ftbwn0g16", "ftbwn3p08", "ftbyn3p08", "ftp0n0g08", "ftp0n2c08", "ftp0n3p08", "ftp1n3p08",
};

int Gradient16(int x, int y) { return (x + y) % 16; }
int Gradient256(int x, int y) { return (x * 9 + y * 17) % 256; }
int Stripes2(int x, int) { return (x / 3) % 2; }

} // namespace

// ---- The PNG suite ----

TEST(LoadPNG, SuiteDecodesAsReferenceWithGammaAndBlackBackground)
{
    std::vector<std::string> files = {
        "basn0g01",  "basn0g02",  "basn0g04",  "basn0g08",  "basn0g16",  "basn2c08",
        "basn2c16",  "basn3p01",  "basn3p02",  "basn3p04",  "basn3p08",  "basn4a08",
        "basn4a16",  "basn6a08",  "basn6a16",  "ftbbn0g01", "ftbbn0g02", "ftbbn0g04",
        "ftbbn2c16", "ftbbn3p08", "ftbgn2c16", "ftbgn3p08", "ftbrn2c08", "ftbwn0g16",
        "ftbwn3p08", "ftbyn3p08", "ftp0n0g08", "ftp0n2c08", "ftp0n3p08", "ftp1n3p08",
    };
    for (const char* name : kInterlacedTwins)
        files.push_back(std::string("i") + name);
    // The low-depth interlaced files, kept in their own folder, carry no gAMA chunk.
    for (const char* name : {"basn0g01", "basn0g02", "basn0g04", "basn3p01", "basn3p02", "basn3p04",
                             "ftbbn0g01", "ftbbn0g02", "ftbbn0g04"})
        files.push_back(std::string("interlaced\\i") + name);
    int checked = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const std::string path = TestImage("png", (name + ".png").c_str());
        std::string twin = name.substr(name.find_last_of('\\') + 1);
        if (twin[0] == 'i')
            twin = twin.substr(1);
        Image reference;
        ASSERT_TRUE(ReadNetpbm(ReferenceDir("png") + "\\" + twin + ".pam", &reference))
            << "missing reference";
        const PngChunks chunks = ReadChunks(path);
        Loaded loaded = Load(path);
        ASSERT_EQ(loaded.image.width, reference.width);
        ASSERT_EQ(loaded.image.height, reference.height);
        ++checked;
        // Depth by the file's colour type and bit depth (a palette with tRNS becomes colour).
        const bool transparency = chunks.data.count("tRNS") != 0;
        int expectedBits;
        if (chunks.colorType == 2 || chunks.colorType == 6 || (chunks.colorType == 3 && transparency))
            expectedBits = 24;
        else if (chunks.colorType == 4 || transparency || chunks.bitDepth >= 8 || chunks.bitDepth == 2)
            expectedBits = 8;
        else
            expectedBits = chunks.bitDepth;
        EXPECT_EQ(loaded.bits, expectedBits);
        // Grey kept at 4 bits is gamma-corrected at that depth, truncated: up to a step off.
        const bool coarse = expectedBits == 4 && chunks.colorType == 0;
        int worst = 0;
        double mean = 0;
        Excess(reference, loaded.image, FileGamma(chunks), &worst, &mean);
        EXPECT_LE(worst, coarse ? 17 : 2);
        EXPECT_LE(mean, coarse ? 9.0 : 0.75); // 16-bit samples lose their low byte
    }
    EXPECT_EQ(checked, 60);
}

TEST(LoadPNG, InterlacedFilesEqualTheirPlainTwins)
{
    // Made here: the suite's interlaced files differ from their twins in their gAMA chunks.
    struct Case {
        int type, depth;
        bool transparency;
    };
    const Case cases[] = {
        {PNG_COLOR_TYPE_GRAY, 1, false},      {PNG_COLOR_TYPE_GRAY, 2, false},
        {PNG_COLOR_TYPE_GRAY, 4, false},      {PNG_COLOR_TYPE_GRAY, 8, false},
        {PNG_COLOR_TYPE_GRAY, 16, false},     {PNG_COLOR_TYPE_GRAY, 4, true},
        {PNG_COLOR_TYPE_PALETTE, 1, false},   {PNG_COLOR_TYPE_PALETTE, 2, false},
        {PNG_COLOR_TYPE_PALETTE, 4, false},   {PNG_COLOR_TYPE_PALETTE, 8, false},
        {PNG_COLOR_TYPE_PALETTE, 8, true},    {PNG_COLOR_TYPE_RGB, 8, false},
        {PNG_COLOR_TYPE_RGB, 16, false},      {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}, {PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
    };
    testpaths::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + ", depth " + std::to_string(c.depth));
        const int width = 13, height = 11;
        const int channels = c.type == PNG_COLOR_TYPE_RGB          ? 3
                             : c.type == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                             : c.type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                   : 1;
        std::vector<std::vector<BYTE>> rows(height, std::vector<BYTE>((width * channels * c.depth + 7) / 8));
        for (int y = 0; y < height; ++y)
            for (size_t b = 0; b < rows[y].size(); ++b)
                rows[y][b] = static_cast<BYTE>(y * 37 + b * 101 + 7);
        std::vector<png_color> palette;
        std::vector<BYTE> trns;
        if (c.type == PNG_COLOR_TYPE_PALETTE) {
            for (int i = 0; i < (1 << c.depth); ++i)
                palette.push_back(png_color{BYTE(i * 40), BYTE(255 - i * 20), BYTE(i * 7)});
            if (c.transparency)
                trns = {0, 128, 255, 40};
        }
        if (c.type == PNG_COLOR_TYPE_GRAY && c.transparency)
            trns = {0}; // tRNS of a grey picture is written through the colour, below
        ASSERT_TRUE(WritePng(dir.File("plain.png"), width, height, c.depth, c.type, rows, palette, trns));
        ASSERT_TRUE(
            WritePng(dir.File("inter.png"), width, height, c.depth, c.type, rows, palette, trns, true));
        Loaded a = Load(dir.File("plain.png"));
        Loaded b = Load(dir.File("inter.png"));
        ASSERT_FALSE(a.image.Empty());
        EXPECT_TRUE(a.bytes == b.bytes);
    }
}

TEST(LoadPNG, PicconvWritesWhatTheReaderReads)
{
    for (const char* name :
         {"basn0g01.png", "basn0g04.png", "basn3p04.png", "basn6a16.png", "ibasn2c08.png", "ftbyn3p08.png"})
        ExpectPicconvMatchesReader(TestImage("png", name), LoadPNG);
}

TEST(LoadPNG, InterlacedProgressCountsSevenPasses)
{
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    PackedDIB dib = LoadPNG(TestImage("png", "ibasn2c08.png").c_str());
    ASSERT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.lastTotal, 7u * 32u);
    EXPECT_EQ(progress.lastDone, 7u * 32u);
}

TEST(LoadPNG, GreyTablesAreRampsOfTheirDepth)
{
    Loaded g1 = Load(TestImage("png", "basn0g01.png"));
    ASSERT_EQ(g1.bits, 1);
    EXPECT_EQ(g1.table[0].rgbRed, 0);
    EXPECT_EQ(g1.table[1].rgbRed, 255);
    Loaded g4 = Load(TestImage("png", "basn0g04.png"));
    ASSERT_EQ(g4.bits, 4);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(g4.table[i].rgbRed, i * 17);
        EXPECT_EQ(g4.table[i].rgbBlue, i * 17);
    }
    Loaded g2 = Load(TestImage("png", "basn0g02.png")); // 2-bit grey becomes 8 bits
    ASSERT_EQ(g2.bits, 8);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(g2.table[i].rgbGreen, i);
    Loaded ga = Load(TestImage("png", "basn4a08.png")); // grey + alpha: 8-bit ramp
    ASSERT_EQ(ga.bits, 8);
    EXPECT_EQ(ga.table[200].rgbRed, 200);
}

TEST(LoadPNG, PaletteTablesKeepTheFilesColours)
{
    testpaths::TempDir dir;
    // 4 bits with five colours: the five, then black.
    std::vector<png_color> five = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {10, 20, 30}};
    std::vector<std::vector<BYTE>> rows(6, std::vector<BYTE>(3));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x)
            rows[y][x] = static_cast<BYTE>(((x * 2 + y) % 5) << 4 | ((x * 2 + 1 + y) % 5));
    ASSERT_TRUE(WritePng(dir.File("p4.png"), 5, 6, 4, PNG_COLOR_TYPE_PALETTE, rows, five));
    Loaded p4 = Load(dir.File("p4.png"));
    ASSERT_EQ(p4.bits, 4);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(p4.table[i].rgbRed, five[i].red);
        EXPECT_EQ(p4.table[i].rgbGreen, five[i].green);
        EXPECT_EQ(p4.table[i].rgbBlue, five[i].blue);
    }
    for (int i = 5; i < 16; ++i)
        EXPECT_EQ(p4.table[i].rgbRed + p4.table[i].rgbGreen + p4.table[i].rgbBlue, 0);
    EXPECT_EQ(p4.image.At(0, 0)[0], 255); // index 0: red
    EXPECT_EQ(p4.image.At(1, 0)[1], 255); // index 1: green, in the low half of the byte
    EXPECT_EQ(p4.image.At(4, 5)[0], 10);  // index 4

    // 1 bit, red and blue: shown red and blue, as the file says.
    std::vector<std::vector<BYTE>> bitRows(4, std::vector<BYTE>(1, 0xA0));
    ASSERT_TRUE(
        WritePng(dir.File("p1.png"), 3, 4, 1, PNG_COLOR_TYPE_PALETTE, bitRows, {{255, 0, 0}, {0, 0, 255}}));
    Loaded p1 = Load(dir.File("p1.png"));
    ASSERT_EQ(p1.bits, 1);
    EXPECT_EQ(p1.image.At(0, 0)[2], 255); // bit set: blue
    EXPECT_EQ(p1.image.At(1, 0)[0], 255); // bit clear: red

    // 2-bit palette: one byte per pixel, with its palette.
    std::vector<std::vector<BYTE>> twoRows(2, std::vector<BYTE>(1, 0x1B)); // 0,1,2,3
    ASSERT_TRUE(WritePng(dir.File("p2.png"), 4, 2, 2, PNG_COLOR_TYPE_PALETTE, twoRows,
                         {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}));
    Loaded p2 = Load(dir.File("p2.png"));
    ASSERT_EQ(p2.bits, 8);
    EXPECT_EQ(p2.image.At(3, 1)[0], 10);
    EXPECT_EQ(p2.table[2].rgbBlue, 9);
}

TEST(LoadPNG, PaletteWithTransparencyKeepsRedAndBlueInPlace)
{
    testpaths::TempDir dir;
    std::vector<std::vector<BYTE>> rows(2, std::vector<BYTE>{0, 1, 2});
    // Entry 2 fully transparent: black; entry 1 half transparent: darker blue.
    ASSERT_TRUE(WritePng(dir.File("t.png"), 3, 2, 8, PNG_COLOR_TYPE_PALETTE, rows,
                         {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}}, {255, 128, 0}));
    Loaded t = Load(dir.File("t.png"));
    ASSERT_EQ(t.bits, 24);
    EXPECT_EQ(t.image.At(0, 0)[0], 255);
    EXPECT_EQ(t.image.At(0, 0)[2], 0);
    EXPECT_EQ(t.image.At(1, 0)[0], 0);
    EXPECT_GT(t.image.At(1, 0)[2], 100);
    EXPECT_LT(t.image.At(1, 0)[2], 200);
    EXPECT_EQ(t.image.At(2, 1)[1], 0);
}

TEST(LoadPNG, SixteenBitColourGivesBlueGreenRedBytes)
{
    testpaths::TempDir dir;
    std::vector<std::vector<BYTE>> rows(1, std::vector<BYTE>{0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00});
    ASSERT_TRUE(WritePng(dir.File("c16.png"), 1, 1, 16, PNG_COLOR_TYPE_RGB, rows));
    PackedDIB dib = LoadPNG(dir.File("c16.png").c_str());
    ASSERT_NE(dib, nullptr);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const BYTE* pixel = FindDIBBits(block);
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(block)->biBitCount, 24);
    EXPECT_EQ(pixel[0], 0x00); // blue
    EXPECT_EQ(pixel[1], 0x80); // green
    EXPECT_EQ(pixel[2], 0xFF); // red
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

TEST(LoadPNG, NotAPngGivesNullAndBalancedGauge)
{
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("x.png"), "GIF89a not a png at all"));
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    EXPECT_EQ(LoadPNG(dir.File("x.png").c_str()), nullptr);
    EXPECT_EQ(LoadPNG(dir.File("missing.png").c_str()), nullptr);
    EXPECT_EQ(progress.begins, progress.ends);
}

TEST(LoadPNG, FileCutAfterItsLastRowStillShows)
{
    // No IEND: the picture is complete, so it is shown.
    std::string bytes = FileBytes(TestImage("png", "basn2c08.png"));
    ASSERT_GT(bytes.size(), 12u);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("noend.png"), bytes.substr(0, bytes.size() - 12)));
    Loaded cut = Load(dir.File("noend.png"));
    Loaded whole = Load(TestImage("png", "basn2c08.png"));
    ASSERT_FALSE(cut.image.Empty());
    EXPECT_EQ(cut.bytes, whole.bytes);
    // Cut inside the image data: refused.
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("cut.png"), bytes.substr(0, bytes.size() / 2)));
    EXPECT_EQ(LoadPNG(dir.File("cut.png").c_str()), nullptr);
}

TEST(LoadPNG, DispatcherUsesTheReaderForPngFiles)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(22), &LoadPNG);
}

// ---- Writing ----

TEST(SavePNG, RoundTripsOneFourEightAndTwentyFourBitsExactly)
{
    testpaths::TempDir dir;
    std::vector<RGBQUAD> colors;
    for (int i = 0; i < 256; ++i)
        colors.push_back(RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 5), 0});
    struct Case {
        WORD bits;
        PackedDIB dib;
        int plteEntries;
    };
    const Case cases[] = {
        {1, MakeIndexedDib(13, 7, 1, colors, Stripes2), 2},
        {4, MakeIndexedDib(9, 5, 4, colors, Gradient16), 16},
        {8, MakeIndexedDib(33, 17, 8, colors, Gradient256), 256},
        {24,
         MakeTrueColorDib(31, 9,
                          [](int x, int y, BYTE* rgb) {
                              rgb[0] = BYTE(x * 8);
                              rgb[1] = BYTE(y * 20);
                              rgb[2] = BYTE(x * y);
                          }),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits");
        const std::string path = dir.File("r" + std::to_string(c.bits) + ".png");
        ASSERT_EQ(SavePNG(c.dib, path.c_str()), 0);
        const PngChunks chunks = ReadChunks(path);
        EXPECT_EQ(chunks.bitDepth, c.bits == 24 ? 8 : c.bits);
        EXPECT_EQ(chunks.colorType, c.bits == 24 ? 2 : 3);
        EXPECT_EQ(chunks.data.count("PLTE") ? chunks.data.at("PLTE").size() : 0u, size_t(c.plteEntries * 3));
        if (c.bits == 24) {
            EXPECT_EQ(chunks.data.count("sBIT") ? chunks.data.at("sBIT") : std::string(),
                      std::string("\x08\x08\x08"));
        }
        Loaded loaded = Load(path);
        Difference d = Compare(loaded.image, DibToImage(c.dib));
        ASSERT_TRUE(d.sameSize);
        EXPECT_EQ(d.maxDiff, 0) << d.Describe();
        EXPECT_EQ(loaded.bits, c.bits);
        GlobalFreeHandle(c.dib);
    }
}

TEST(SavePNG, TopRowOfThePictureIsTheFilesFirstRow)
{
    testpaths::TempDir dir;
    PackedDIB dib = MakeTrueColorDib(2, 2, [](int, int y, BYTE* rgb) {
        rgb[0] = y == 0 ? 255 : 0;
        rgb[1] = 0;
        rgb[2] = y == 0 ? 0 : 255;
    });
    ASSERT_EQ(SavePNG(dib, dir.File("top.png").c_str()), 0);
    GlobalFreeHandle(dib);
    // Read back with libpng directly: row 0 is red.
    FILE* file = fopen(dir.File("top.png").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    BYTE row[6];
    png_read_row(png, row, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(file);
    EXPECT_EQ(row[0], 255);
    EXPECT_EQ(row[2], 0);
}

TEST(SavePNG, TableShorterThanTheDepthIsFilledWithBlack)
{
    testpaths::TempDir dir;
    std::vector<RGBQUAD> colors(256, RGBQUAD{50, 60, 70, 0});
    PackedDIB full = MakeIndexedDib(4, 4, 8, colors, [](int x, int) { return x; });
    // Rebuild it with biClrUsed 20: 20 entries, then the rows.
    const BYTE* source = static_cast<const BYTE*>(GlobalLock(full));
    const DWORD rowBytes = DIBRowBytes(4, 8);
    PackedDIB dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 20 * sizeof(RGBQUAD) + rowBytes * 4);
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    memcpy(block, source, sizeof(BITMAPINFOHEADER) + 20 * sizeof(RGBQUAD));
    reinterpret_cast<BITMAPINFOHEADER*>(block)->biClrUsed = 20;
    memcpy(block + sizeof(BITMAPINFOHEADER) + 20 * sizeof(RGBQUAD), FindDIBBits(source), rowBytes * 4);
    GlobalUnlock(dib);
    GlobalUnlock(full);
    GlobalFreeHandle(full);
    ASSERT_EQ(SavePNG(dib, dir.File("c20.png").c_str()), 0);
    GlobalFreeHandle(dib);
    const std::string plte = ReadChunks(dir.File("c20.png")).data["PLTE"];
    ASSERT_EQ(plte.size(), 768u);
    EXPECT_EQ(static_cast<unsigned char>(plte[19 * 3]), 70);
    EXPECT_EQ(plte.substr(20 * 3), std::string(236 * 3, '\0'));
}

TEST(SavePNG, ColourCountZeroIsWrittenWithTheRealColours)
{
    testpaths::TempDir dir;
    std::vector<RGBQUAD> colors;
    for (int i = 0; i < 16; ++i)
        colors.push_back(RGBQUAD{BYTE(i * 16), BYTE(200), BYTE(255 - i * 16), 0});
    PackedDIB dib = MakeIndexedDib(8, 2, 4, colors, [](int x, int y) { return x + 8 * y; });
    BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    header->biClrUsed = 0; // the table is still all 16 entries
    GlobalUnlock(dib);
    ASSERT_EQ(SavePNG(dib, dir.File("c0.png").c_str()), 0);
    Loaded loaded = Load(dir.File("c0.png"));
    Difference d = Compare(loaded.image, DibToImage(dib));
    GlobalFreeHandle(dib);
    ASSERT_TRUE(d.sameSize);
    EXPECT_EQ(d.maxDiff, 0) << d.Describe();
    EXPECT_EQ(loaded.image.At(15 % 8, 1)[1], 200);
}

TEST(SavePNG, UnsupportedDepthsGiveOneAndLeaveExistingFile)
{
    testpaths::TempDir dir;
    const std::string path = dir.File("keep.png");
    ASSERT_TRUE(testpaths::WriteBytes(path, "earlier picture"));
    for (WORD bits : {16, 32}) {
        PackedDIB dib = CreateDIB(8, 8, bits);
        EXPECT_EQ(SavePNG(dib, path.c_str()), 1);
        GlobalFreeHandle(dib);
    }
    EXPECT_EQ(SavePNG(nullptr, path.c_str()), 1);
    PackedDIB dib = CreateDIB(8, 8, 24);
    EXPECT_EQ(SavePNG(dib, (dir.Path() + "\\" + std::string(300, 'p') + ".png").c_str()), 1);
    GlobalFreeHandle(dib);
    EXPECT_EQ(FileBytes(path), "earlier picture");
}

TEST(SavePNG, ReplacesAnExistingFileWhole)
{
    testpaths::TempDir dir;
    const std::string path = dir.File("pic.png");
    ASSERT_TRUE(testpaths::WriteBytes(path, std::string(100000, 'x')));
    PackedDIB dib =
        MakeTrueColorDib(5, 5, [](int x, int, BYTE* rgb) { rgb[0] = rgb[1] = rgb[2] = BYTE(x * 50); });
    ASSERT_EQ(SavePNG(dib, path.c_str()), 0);
    GlobalFreeHandle(dib);
    EXPECT_LT(FileBytes(path).size(), 1000u);
    EXPECT_EQ(FileBytes(path).substr(1, 3), "PNG");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir.Path() + "\\*").c_str(), &data);
    int entries = 0;
    do {
        if (data.cFileName[0] != '.')
            ++entries;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    EXPECT_EQ(entries, 1); // no temporary file left beside it
}

TEST(SavePNG, WriteThatCannotBeCompletedLeavesTheTarget)
{
    testpaths::TempDir dir;
    // The target is a folder: the new file cannot take its place.
    ASSERT_TRUE(CreateDirectoryA(dir.File("shot.png").c_str(), nullptr));
    PackedDIB dib = CreateDIB(4, 4, 24);
    EXPECT_EQ(SavePNG(dib, dir.File("shot.png").c_str()), 1);
    // A folder that does not exist.
    EXPECT_EQ(SavePNG(dib, dir.File("nowhere\\shot.png").c_str()), 1);
    GlobalFreeHandle(dib);
    EXPECT_NE(GetFileAttributesA(dir.File("shot.png").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(SavePNG, GaugeRunsOnceWhileWriting)
{
    testpaths::TempDir dir;
    PackedDIB dib = CreateDIB(6, 9, 8);
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    EXPECT_EQ(SavePNG(dib, dir.File("g.png").c_str()), 0);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.lastDone, 9u);
    EXPECT_EQ(progress.lastTotal, 9u);
}

// ---- Paths ----

TEST(LibraryReaders, OpenFilesInFoldersWithAccentedNames)
{
    ASSERT_EQ(GetACP(), 1252u);
    testpaths::TempDir dir;
    const std::string folder = dir.File("Images Prot\xE9g\xE9"
                                        "es");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    struct Case {
        std::string source, name;
        PackedDIB (*reader)(LPCSTR);
    };
    const Case cases[] = {
        {TestImage("png", "basn2c08.png"), "\xE9t\xE9.png", LoadPNG},
        {TestImage("gif", "treescap.gif"), "for\xEAt.gif", LoadGIF},
        {TestImage("tiff", "rgb-3c-8b.tiff"), "ch\xE2teau.tif", LoadTIFF},
        {TestImage("jpeg", "testorig.jpg"), "\xC9l\xE9ment.jpg", LoadJPEG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "\\" + c.name;
        ASSERT_TRUE(CopyFileA(c.source.c_str(), path.c_str(), FALSE));
        PackedDIB dib = c.reader(path.c_str());
        EXPECT_NE(dib, nullptr);
        GlobalFreeHandle(dib);
    }
    // Written there too.
    PackedDIB dib = CreateDIB(4, 4, 8);
    EXPECT_EQ(SavePNG(dib, (folder + "\\copie d'\xE9t\xE9.png").c_str()), 0);
    EXPECT_EQ(SaveJPEG(dib, (folder + "\\copie d'\xE9t\xE9.jpg").c_str(), 80), 0);
    GlobalFreeHandle(dib);
}
