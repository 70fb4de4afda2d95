// TIFF reading: libtiff's test pictures against ImageMagick's decodes, what is refused, and files
// written here with libtiff for every photometric interpretation, layout and codec.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <tiffio.h>

#include "core/LoadDispatch.h"
#include "formats/FormatTiff.h"
#include "formats/QuickTime.h"
#include "formats/Readers.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

// A TIFF written for a test: tags, then the rows (top-down, as TIFF stores them) or raw strips.
struct TiffSpec {
    uint32_t width = 8, height = 6;
    uint16_t bits = 8, samples = 1, photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t predictor = 0;
    uint32_t tileSize = 0; // tiles of tileSize x tileSize when non-zero
    uint32_t rowsPerStrip = 0;
    std::vector<uint16_t> red, green, blue; // colour map
    std::vector<uint16_t> extraSamples;
    std::vector<std::vector<BYTE>> rows; // one per row (per plane and row when planar)
    std::string rawStrip;                // written as it is when set
    int pages = 1;
};

bool WriteTiff(const std::string& path, const TiffSpec& spec)
{
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return false;
    bool ok = true;
    for (int page = 0; page < spec.pages && ok; ++page) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, spec.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, spec.height);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, spec.bits);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, spec.samples);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, spec.photometric);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, spec.planar);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, spec.compression);
        if (spec.predictor)
            TIFFSetField(tif, TIFFTAG_PREDICTOR, spec.predictor);
        if (spec.compression == COMPRESSION_JPEG)
            TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 95);
        if (!spec.red.empty())
            TIFFSetField(tif, TIFFTAG_COLORMAP, spec.red.data(), spec.green.data(), spec.blue.data());
        if (!spec.extraSamples.empty())
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(spec.extraSamples.size()),
                         spec.extraSamples.data());
        if (spec.photometric == PHOTOMETRIC_YCBCR)
            TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 1, 1);
        if (spec.pages > 1) {
            TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
            TIFFSetField(tif, TIFFTAG_PAGENUMBER, page, spec.pages);
        }
        if (spec.tileSize) {
            TIFFSetField(tif, TIFFTAG_TILEWIDTH, spec.tileSize);
            TIFFSetField(tif, TIFFTAG_TILELENGTH, spec.tileSize);
            const tmsize_t tileBytes = TIFFTileSize(tif);
            const size_t pixelBytes = spec.samples * spec.bits / 8;
            std::vector<BYTE> tile(static_cast<size_t>(tileBytes));
            for (uint32_t ty = 0; ty < spec.height && ok; ty += spec.tileSize) {
                for (uint32_t tx = 0; tx < spec.width && ok; tx += spec.tileSize) {
                    std::fill(tile.begin(), tile.end(), 0);
                    for (uint32_t y = 0; y < spec.tileSize && ty + y < spec.height; ++y)
                        for (uint32_t x = 0; x < spec.tileSize && tx + x < spec.width; ++x)
                            memcpy(&tile[(y * spec.tileSize + x) * pixelBytes],
                                   &spec.rows[ty + y][(tx + x) * pixelBytes], pixelBytes);
                    ok = TIFFWriteTile(tif, tile.data(), tx, ty, 0, 0) >= 0;
                }
            }
        } else {
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, spec.rowsPerStrip ? spec.rowsPerStrip : spec.height);
            if (!spec.rawStrip.empty()) {
                ok = TIFFWriteRawStrip(tif, 0, const_cast<char*>(spec.rawStrip.data()),
                                       static_cast<tmsize_t>(spec.rawStrip.size()))
                     >= 0;
            } else if (spec.planar == PLANARCONFIG_SEPARATE) {
                for (uint16_t s = 0; s < spec.samples && ok; ++s)
                    for (uint32_t y = 0; y < spec.height && ok; ++y)
                        ok = TIFFWriteScanline(tif, const_cast<BYTE*>(spec.rows[s * spec.height + y].data()),
                                               y, s)
                             >= 0;
            } else {
                for (uint32_t y = 0; y < spec.height && ok; ++y)
                    ok = TIFFWriteScanline(tif, const_cast<BYTE*>(spec.rows[y].data()), y, 0) >= 0;
            }
        }
        ok = ok && TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return ok;
}

// Rows of one byte per sample from a colour function (top-down).
std::vector<std::vector<BYTE>> ColorRows(uint32_t width, uint32_t height, int samples,
                                         const std::function<void(uint32_t, uint32_t, BYTE*)>& color)
{
    std::vector<std::vector<BYTE>> rows(height, std::vector<BYTE>(width * samples));
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            color(x, y, &rows[y][x * samples]);
    return rows;
}

void Scene(uint32_t x, uint32_t y, BYTE* rgb)
{
    rgb[0] = static_cast<BYTE>(x * 8);
    rgb[1] = static_cast<BYTE>(y * 10);
    rgb[2] = static_cast<BYTE>((x / 4 + y / 4) % 2 ? 200 : 30);
}

struct Loaded {
    Image image;
    int bits = 0;
    std::vector<RGBQUAD> table;
    std::string rows; // the pixel bytes, bottom-up as stored
};

Loaded Load(const std::string& path)
{
    Loaded result;
    PackedDIB dib = LoadTIFF(path.c_str());
    if (!dib)
        return result;
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    result.bits = header->biBitCount;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    result.table.assign(table, table + DIBNumColors(block));
    result.rows.assign(reinterpret_cast<const char*>(FindDIBBits(block)),
                       DIBRowBytes(header->biWidth, header->biBitCount) * header->biHeight);
    GlobalUnlock(dib);
    result.image = DibToImage(dib);
    GlobalFreeHandle(dib);
    return result;
}

} // namespace

// ---- libtiff's own pictures ----

TEST(LoadTIFF, TestPicturesMatchReferenceDecodes)
{
    struct Case {
        const char* file;
        int bits;    // depth of the picture
        int maxDiff; // JPEG-compressed files are converted on two different paths
        double meanDiff;
    };
    const Case cases[] = {
        {"minisblack-1c-8b.tiff", 8, 0, 0},
        {"miniswhite-1c-1b.tiff", 1, 0, 0},
        {"palette-1c-1b.tiff", 1, 0, 0},
        {"palette-1c-4b.tiff", 8, 0, 0},
        {"palette-1c-8b.tiff", 8, 0, 0},
        {"rgb-3c-8b.tiff", 24, 0, 0},
        {"lzw-single-strip.tiff", 1, 0, 0},
        {"quad-lzw-compat.tiff", 24, 0, 0}, // old-style LZW
        {"deflate-last-strip-extra-data.tiff", 8, 0, 0},
        {"testfax4.tiff", 1, 0, 0}, // CCITT Group 4
        {"custom_dir_EXIF_GPS.tiff", 24, 0, 0},
        {"tiff_with_subifd_chain.tif", 24, 0, 0}, // tiled grey: through the RGBA conversion
        {"test_two_ifds.tif", 8, 0, 0},
        {"test_ifd_loop_to_first.tif", 8, 0, 0},
        {"test_ifd_loop_to_self.tif", 8, 0, 0},
        {"quad-tile.jpg.tiff", 24, 12, 1.5}, // tiled, JPEG, YCbCr
        {"ojpeg_chewey_subsamp21_multi_strip.tiff", 24, 12, 1.5},
        {"ojpeg_zackthecat_subsamp22_single_strip.tiff", 24, 12, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string name = c.file;
        name = name.substr(0, name.find_last_of('.'));
        Image reference;
        ASSERT_TRUE(ReadNetpbm(ReferenceDir("tiff") + "\\" + name + ".pam", &reference))
            << "missing reference";
        Loaded loaded = Load(TestImage("tiff", c.file));
        ASSERT_FALSE(loaded.image.Empty());
        EXPECT_EQ(loaded.bits, c.bits);
        Difference d = Compare(loaded.image, reference);
        ASSERT_TRUE(d.sameSize) << loaded.image.width << "x" << loaded.image.height;
        EXPECT_LE(d.maxDiff, c.maxDiff) << d.Describe();
        EXPECT_LE(d.meanDiff, c.meanDiff) << d.Describe();
    }
}

TEST(LoadTIFF, PicconvWritesWhatTheReaderReads)
{
    for (const char* name : {"palette-1c-4b.tiff", "miniswhite-1c-1b.tiff", "quad-tile.jpg.tiff",
                             "ojpeg_chewey_subsamp21_multi_strip.tiff", "rgb-3c-8b.tiff"})
        ExpectPicconvMatchesReader(TestImage("tiff", name), LoadTIFF);
    testpaths::TempDir dir;
    EXPECT_EQ(RunPicconv(TestImage("tiff", "rgb-3c-16b.tiff"), dir.File("x.bmp")), 1);
}

// What the reader does not support, among libtiff's pictures: refused, never half shown.
TEST(LoadTIFF, UnsupportedTestPicturesAreRefused)
{
    const char* const refused[] = {
        "minisblack-1c-16b.tiff",             // 16 bits per sample
        "rgb-3c-16b.tiff",                    // 16 bits per sample
        "logluv-3c-16b.tiff",                 // LogLuv, 16 bits per sample
        "minisblack-2c-8b-alpha.tiff",        // two samples (grey and alpha)
        "test_float64_predictor2_be_lzw.tif", // 64-bit floating-point samples
        "test_float64_predictor2_le_lzw.tif",
    };
    WindowWatch watch;
    for (const char* file : refused) {
        SCOPED_TRACE(file);
        EXPECT_EQ(LoadTIFF(TestImage("tiff", file).c_str()), nullptr);
    }
    EXPECT_EQ(watch.Created(), 0);
}

// ImageMagick cannot read this one, so there is no reference: libtiff reads it, and so do we.
TEST(LoadTIFF, OldJpegWithoutRowsPerStripDecodes)
{
    Loaded loaded = Load(TestImage("tiff", "ojpeg_single_strip_no_rowsperstrip.tiff"));
    ASSERT_FALSE(loaded.image.Empty());
    EXPECT_EQ(loaded.bits, 24);
    // Not a black picture: the colours came through.
    long long sum = 0;
    for (uint16_t v : loaded.image.samples)
        sum += v;
    EXPECT_GT(sum, static_cast<long long>(loaded.image.samples.size()) * 20);
}

TEST(LoadTIFF, DispatcherAsksQuickTimeFirstThenLibtiff)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(32), &LoadTIFFPreferringQuickTime);
}

// ---- Photometric interpretations and depths ----

TEST(LoadTIFF, OneBitWhiteIsZeroAndBlackIsZeroGiveTheSamePicture)
{
    testpaths::TempDir dir;
    TiffSpec black;
    black.width = 13;
    black.height = 4;
    black.bits = 1;
    black.photometric = PHOTOMETRIC_MINISBLACK;
    for (uint32_t y = 0; y < 4; ++y)
        black.rows.push_back({static_cast<BYTE>(0xA5 + y), 0x38});
    TiffSpec white = black;
    white.photometric = PHOTOMETRIC_MINISWHITE;
    for (auto& row : white.rows)
        for (BYTE& b : row)
            b = static_cast<BYTE>(~b);
    ASSERT_TRUE(WriteTiff(dir.File("b.tif"), black));
    ASSERT_TRUE(WriteTiff(dir.File("w.tif"), white));
    Loaded a = Load(dir.File("b.tif")), b = Load(dir.File("w.tif"));
    ASSERT_EQ(a.bits, 1);
    ASSERT_EQ(b.bits, 1);
    EXPECT_EQ(Compare(a.image, b.image).maxDiff, 0);
    EXPECT_EQ(a.table[0].rgbRed, 0);
    EXPECT_EQ(b.table[0].rgbRed, 255);
    EXPECT_EQ(a.image.At(0, 0)[0], 255); // 0xA5: first bit set, white
}

TEST(LoadTIFF, FourBitGreyOfOddWidthFillsEveryPixel)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 5;
    spec.height = 2;
    spec.bits = 4;
    spec.rows = {{0x01, 0x23, 0x40}, {0xFE, 0xDC, 0xB0}};
    ASSERT_TRUE(WriteTiff(dir.File("g4.tif"), spec));
    Loaded g = Load(dir.File("g4.tif"));
    ASSERT_EQ(g.bits, 8);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(g.table[i].rgbGreen, i * 17);
    for (int i = 16; i < 256; ++i)
        EXPECT_EQ(g.table[i].rgbGreen, 0);
    // Stored bottom-up, 8 bytes a row: 5 pixels and zero padding.
    EXPECT_EQ(g.rows.substr(8, 8), std::string("\x00\x01\x02\x03\x04\x00\x00\x00", 8));
    EXPECT_EQ(g.rows.substr(0, 8), std::string("\x0F\x0E\x0D\x0C\x0B\x00\x00\x00", 8));
}

TEST(LoadTIFF, TwoBitGreySpreadsToBytes)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 6;
    spec.height = 1;
    spec.bits = 2;
    spec.rows = {{0x1B, 0xE0}}; // 0 1 2 3 | 3 2
    ASSERT_TRUE(WriteTiff(dir.File("g2.tif"), spec));
    Loaded g = Load(dir.File("g2.tif"));
    ASSERT_EQ(g.bits, 8);
    EXPECT_EQ(g.rows.substr(0, 6), std::string("\x00\x01\x02\x03\x03\x02", 6));
    EXPECT_EQ(g.table[3].rgbRed, 255);
    EXPECT_EQ(g.table[1].rgbRed, 85);
}

TEST(LoadTIFF, ColourMapScaleIsRecognised)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 4;
    spec.height = 1;
    spec.bits = 8;
    spec.photometric = PHOTOMETRIC_PALETTE;
    spec.rows = {{0, 1, 2, 255}};
    spec.red.assign(256, 0);
    spec.green.assign(256, 0);
    spec.blue.assign(256, 0);
    spec.red[1] = 200; // 8-bit values written into the 16-bit fields
    spec.green[2] = 100;
    spec.blue[255] = 255;
    ASSERT_TRUE(WriteTiff(dir.File("p8.tif"), spec));
    Loaded low = Load(dir.File("p8.tif"));
    ASSERT_EQ(low.bits, 8);
    EXPECT_EQ(low.image.At(1, 0)[0], 200);
    EXPECT_EQ(low.image.At(2, 0)[1], 100);
    spec.red[3] = 256; // one value of 256 or more: every entry is on the 16-bit scale
    ASSERT_TRUE(WriteTiff(dir.File("p16.tif"), spec));
    Loaded high = Load(dir.File("p16.tif"));
    EXPECT_EQ(high.image.At(1, 0)[0], 200 * 255 / 65535);
    EXPECT_EQ(high.image.At(3, 0)[2], 255 * 255 / 65535);
    const uint16_t maps[3] = {255, 255, 256};
    EXPECT_EQ(TIFFColorMapBits(2, maps, maps, maps), 8);
    EXPECT_EQ(TIFFColorMapBits(3, maps, maps, maps), 16);
}

TEST(LoadTIFF, FourBitPaletteGivesSixteenColours)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.bits = 4;
    spec.photometric = PHOTOMETRIC_PALETTE;
    spec.rows = {{0x5F, 0x30}};
    for (int i = 0; i < 16; ++i) {
        spec.red.push_back(static_cast<uint16_t>(i * 4096));
        spec.green.push_back(static_cast<uint16_t>(65535 - i * 4096));
        spec.blue.push_back(30000);
    }
    ASSERT_TRUE(WriteTiff(dir.File("p4.tif"), spec));
    Loaded p = Load(dir.File("p4.tif"));
    ASSERT_EQ(p.bits, 8);
    EXPECT_EQ(p.rows.substr(0, 3), std::string("\x05\x0F\x03", 3));
    EXPECT_EQ(p.table[15].rgbRed, 15 * 4096 * 255 / 65535);
    EXPECT_EQ(p.table[16].rgbBlue, 0);
}

TEST(LoadTIFF, OneBitPaletteUsesItsColourMap)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bits = 1;
    spec.photometric = PHOTOMETRIC_PALETTE;
    spec.rows = {{0x40}}; // 0 then 1
    spec.red = {65535, 0};
    spec.green = {0, 0};
    spec.blue = {0, 65535};
    ASSERT_TRUE(WriteTiff(dir.File("p1.tif"), spec));
    Loaded p = Load(dir.File("p1.tif"));
    ASSERT_EQ(p.bits, 1);
    EXPECT_EQ(p.image.At(0, 0)[0], 255); // red
    EXPECT_EQ(p.image.At(1, 0)[2], 255); // blue
}

TEST(LoadTIFF, RgbaIgnoresAlphaAndCmykIsConverted)
{
    testpaths::TempDir dir;
    TiffSpec rgba;
    rgba.width = 2;
    rgba.height = 1;
    rgba.samples = 4;
    rgba.photometric = PHOTOMETRIC_RGB;
    rgba.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    rgba.rows = {{10, 20, 30, 0, 250, 240, 230, 128}};
    ASSERT_TRUE(WriteTiff(dir.File("rgba.tif"), rgba));
    Loaded a = Load(dir.File("rgba.tif"));
    ASSERT_EQ(a.bits, 24);
    EXPECT_EQ(a.rows.substr(0, 6), std::string("\x1E\x14\x0A\xE6\xF0\xFA", 6));

    TiffSpec cmyk;
    cmyk.width = 3;
    cmyk.height = 1;
    cmyk.samples = 4;
    cmyk.photometric = PHOTOMETRIC_SEPARATED;
    cmyk.rows = {{0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0}};
    ASSERT_TRUE(WriteTiff(dir.File("cmyk.tif"), cmyk));
    Loaded c = Load(dir.File("cmyk.tif"));
    ASSERT_EQ(c.bits, 24);
    EXPECT_EQ(c.rows.substr(0, 9), std::string("\xFE\xFE\xFE\x00\x00\x00\xFE\xFE\x00", 9));
}

TEST(LoadTIFF, YCbCrShowsItsColours)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.samples = 3;
    spec.photometric = PHOTOMETRIC_YCBCR;
    // Grey (Y 128, no chroma), and a red-ish pixel.
    spec.rows = {{128, 128, 128, 76, 85, 255, 128, 128, 128, 76, 85, 255},
                 {128, 128, 128, 76, 85, 255, 128, 128, 128, 76, 85, 255}};
    ASSERT_TRUE(WriteTiff(dir.File("ycc.tif"), spec));
    Loaded y = Load(dir.File("ycc.tif"));
    ASSERT_EQ(y.bits, 24);
    EXPECT_NEAR(y.image.At(0, 0)[0], 128, 2);
    EXPECT_NEAR(y.image.At(0, 0)[2], 128, 2);
    EXPECT_GT(y.image.At(1, 1)[0], 240);
    EXPECT_LT(y.image.At(1, 1)[1], 15);
}

TEST(LoadTIFF, SeparatePlanesAndTilesGiveTheSamePicture)
{
    testpaths::TempDir dir;
    TiffSpec plain;
    plain.width = 37;
    plain.height = 21;
    plain.samples = 3;
    plain.photometric = PHOTOMETRIC_RGB;
    plain.rows = ColorRows(37, 21, 3, Scene);
    ASSERT_TRUE(WriteTiff(dir.File("plain.tif"), plain));

    TiffSpec planar = plain;
    planar.planar = PLANARCONFIG_SEPARATE;
    planar.rows.clear();
    for (int s = 0; s < 3; ++s)
        for (uint32_t y = 0; y < 21; ++y) {
            std::vector<BYTE> plane(37);
            for (uint32_t x = 0; x < 37; ++x)
                plane[x] = plain.rows[y][x * 3 + s];
            planar.rows.push_back(plane);
        }
    ASSERT_TRUE(WriteTiff(dir.File("planar.tif"), planar));

    TiffSpec tiled = plain;
    tiled.tileSize = 16;
    ASSERT_TRUE(WriteTiff(dir.File("tiled.tif"), tiled));

    Loaded a = Load(dir.File("plain.tif"));
    ASSERT_FALSE(a.image.Empty());
    for (const char* other : {"planar.tif", "tiled.tif"}) {
        SCOPED_TRACE(other);
        Loaded b = Load(dir.File(other));
        ASSERT_EQ(b.bits, 24);
        EXPECT_EQ(a.rows, b.rows);
    }
}

TEST(LoadTIFF, EveryCodecOfTheBuildDecodesTheSamePicture)
{
    testpaths::TempDir dir;
    TiffSpec base;
    base.width = 40;
    base.height = 30;
    base.samples = 3;
    base.photometric = PHOTOMETRIC_RGB;
    base.rowsPerStrip = 8;
    base.rows = ColorRows(40, 30, 3, Scene);
    ASSERT_TRUE(WriteTiff(dir.File("none.tif"), base));
    Loaded reference = Load(dir.File("none.tif"));
    ASSERT_FALSE(reference.image.Empty());
    struct Codec {
        const char* name;
        uint16_t compression;
        uint16_t predictor;
        int tolerance;
    };
    const Codec codecs[] = {
        {"packbits", COMPRESSION_PACKBITS, 0, 0},
        {"lzw", COMPRESSION_LZW, 0, 0},
        {"lzw+predictor", COMPRESSION_LZW, PREDICTOR_HORIZONTAL, 0},
        {"deflate", COMPRESSION_ADOBE_DEFLATE, 0, 0},
        {"pixarlog", COMPRESSION_PIXARLOG, 0, 2},
        {"jpeg", COMPRESSION_JPEG, 0, 24},
    };
    for (const Codec& c : codecs) {
        SCOPED_TRACE(c.name);
        TiffSpec spec = base;
        spec.compression = c.compression;
        spec.predictor = c.predictor;
        ASSERT_TRUE(WriteTiff(dir.File(std::string(c.name) + ".tif"), spec));
        Loaded loaded = Load(dir.File(std::string(c.name) + ".tif"));
        Difference d = Compare(loaded.image, reference.image);
        ASSERT_TRUE(d.sameSize);
        EXPECT_LE(d.maxDiff, c.tolerance) << d.Describe();
    }

    // Bilevel codecs: CCITT RLE, Group 3 and Group 4, on a 1-bit picture.
    TiffSpec bilevel;
    bilevel.width = 45;
    bilevel.height = 20;
    bilevel.bits = 1;
    bilevel.photometric = PHOTOMETRIC_MINISWHITE;
    for (uint32_t y = 0; y < 20; ++y) {
        std::vector<BYTE> row(6);
        for (size_t b = 0; b < row.size(); ++b)
            row[b] = static_cast<BYTE>((y * 29 + b * 71) & (b == 5 ? 0xF8 : 0xFF));
        bilevel.rows.push_back(row);
    }
    ASSERT_TRUE(WriteTiff(dir.File("bi-none.tif"), bilevel));
    Loaded bilevelReference = Load(dir.File("bi-none.tif"));
    ASSERT_EQ(bilevelReference.bits, 1);
    for (uint16_t compression : {COMPRESSION_CCITTRLE, COMPRESSION_CCITTFAX3, COMPRESSION_CCITTFAX4}) {
        SCOPED_TRACE(compression);
        TiffSpec spec = bilevel;
        spec.compression = compression;
        ASSERT_TRUE(WriteTiff(dir.File("bi.tif"), spec));
        Loaded loaded = Load(dir.File("bi.tif"));
        EXPECT_EQ(loaded.rows, bilevelReference.rows);
    }

    // NeXT: libtiff only decodes it; the strip is written by hand (each row a literal run).
    TiffSpec next;
    next.width = 8;
    next.height = 2;
    next.bits = 2;
    next.photometric = PHOTOMETRIC_MINISWHITE;
    next.compression = COMPRESSION_NEXT;
    next.rawStrip = std::string("\x00\x1B\xE4", 3) + std::string("\x00\xFF\x00", 3);
    ASSERT_TRUE(WriteTiff(dir.File("next.tif"), next));
    Loaded n = Load(dir.File("next.tif"));
    ASSERT_EQ(n.bits, 8);
    EXPECT_EQ(n.rows.substr(8, 8), std::string("\x00\x01\x02\x03\x03\x02\x01\x00", 8));
    EXPECT_EQ(n.rows.substr(0, 8), std::string("\x03\x03\x03\x03\x00\x00\x00\x00", 8));
    EXPECT_EQ(n.table[0].rgbRed, 255); // white is zero
}

TEST(LoadTIFF, MultiPageFileShowsItsFirstPage)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.pages = 2;
    spec.rows = {{10, 20, 30}, {40, 50, 60}};
    ASSERT_TRUE(WriteTiff(dir.File("pages.tif"), spec));
    Loaded loaded = Load(dir.File("pages.tif"));
    ASSERT_EQ(loaded.bits, 8);
    EXPECT_EQ(loaded.image.At(2, 1)[0], 60);
}

TEST(LoadTIFF, RefusedLayoutsGiveNullAndShowNothing)
{
    testpaths::TempDir dir;
    WindowWatch watch;
    TiffSpec sixteen;
    sixteen.bits = 16;
    sixteen.rows.assign(6, std::vector<BYTE>(16, 7));
    ASSERT_TRUE(WriteTiff(dir.File("16.tif"), sixteen));
    EXPECT_EQ(LoadTIFF(dir.File("16.tif").c_str()), nullptr);

    TiffSpec mask;
    mask.bits = 1;
    mask.photometric = PHOTOMETRIC_MASK;
    mask.rows.assign(6, std::vector<BYTE>(1, 0xF0));
    ASSERT_TRUE(WriteTiff(dir.File("mask.tif"), mask));
    EXPECT_EQ(LoadTIFF(dir.File("mask.tif").c_str()), nullptr);

    TiffSpec three;
    three.bits = 3;
    three.rows.assign(6, std::vector<BYTE>(3, 0x55));
    ASSERT_TRUE(WriteTiff(dir.File("3.tif"), three));
    EXPECT_EQ(LoadTIFF(dir.File("3.tif").c_str()), nullptr);

    // A strip that decodes to garbage: Deflate data cut short.
    TiffSpec deflate;
    deflate.width = 64;
    deflate.height = 64;
    deflate.compression = COMPRESSION_ADOBE_DEFLATE;
    deflate.rows = ColorRows(64, 64, 1, [](uint32_t x, uint32_t y, BYTE* v) { *v = BYTE(x * y + x); });
    ASSERT_TRUE(WriteTiff(dir.File("deflate.tif"), deflate));
    std::string bytes = FileBytes(dir.File("deflate.tif"));
    for (size_t i = 40; i < 200 && i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("broken.tif"), bytes));
    EXPECT_EQ(LoadTIFF(dir.File("broken.tif").c_str()), nullptr);

    ASSERT_TRUE(testpaths::WriteBytes(dir.File("text.tif"), "II*\0 but nothing else"));
    EXPECT_EQ(LoadTIFF(dir.File("text.tif").c_str()), nullptr);
    EXPECT_EQ(LoadTIFF(dir.File("missing.tif").c_str()), nullptr);
    EXPECT_EQ(watch.Created(), 0);
    // The watch does see a box when there is one.
    MessageBoxA(nullptr, "test", "test", MB_OK);
    EXPECT_GE(watch.Created(), 1);
}

TEST(LoadTIFF, GaugeIsBalancedOnSuccessAndFailure)
{
    testpaths::TempDir dir;
    TiffSpec spec;
    spec.rows.assign(6, std::vector<BYTE>(8, 9));
    ASSERT_TRUE(WriteTiff(dir.File("g.tif"), spec));
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    PackedDIB dib = LoadTIFF(dir.File("g.tif").c_str());
    ASSERT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.lastDone, 6u);
    EXPECT_EQ(progress.lastTotal, 6u);
    std::string bytes = FileBytes(dir.File("g.tif"));
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("cut.tif"), bytes.substr(0, bytes.size() - 60)));
    EXPECT_EQ(LoadTIFF(dir.File("cut.tif").c_str()), nullptr);
    EXPECT_EQ(progress.begins, progress.ends);
}
