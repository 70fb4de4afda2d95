// The PCX reader: files written by netpbm and ImageMagick, and files built here for each layout
// and run-length rule.
#include "formats/FormatPcx.h"

#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "formats/Readers.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace owntest;

namespace {

std::string Header(int bits, int planes, int width, int height, int bytesPerLine, int version = 5)
{
    std::string h(128, '\0');
    h[0] = 10;
    h[1] = static_cast<char>(version);
    h[2] = 1;
    h[3] = static_cast<char>(bits);
    SetU16LE(h, 4, 3); // xmin, ymin: the size comes from the differences
    SetU16LE(h, 6, 5);
    SetU16LE(h, 8, 3 + width - 1);
    SetU16LE(h, 10, 5 + height - 1);
    for (int i = 0; i < 48; ++i)
        h[16 + i] = static_cast<char>((i * 29 + 7) & 255);
    h[65] = static_cast<char>(planes);
    SetU16LE(h, 66, bytesPerLine);
    return h;
}

// Run-length: runs of equal bytes and bytes with both top bits set become count + value.
std::string Rle(const std::string& line)
{
    std::string out;
    size_t i = 0;
    while (i < line.size()) {
        size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i])
            ++run;
        const unsigned char b = static_cast<unsigned char>(line[i]);
        if (run > 1 || (b & 0xC0) == 0xC0) {
            PutU8(out, 0xC0 | static_cast<unsigned>(run));
            PutU8(out, b);
        } else {
            PutU8(out, b);
        }
        i += run;
    }
    return out;
}

std::vector<int> Pattern(int width, int height, int values)
{
    std::vector<int> p(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p[size_t(y) * width + x] = (x * 5 + y * 3 + (x ^ y)) % values;
    return p;
}

// A file of one-bit planes (1 to 4) for the pixel values.
std::string Planar(int width, int height, int planes, int bytesPerLine, const std::vector<int>& pixels)
{
    std::string f = Header(1, planes, width, height, bytesPerLine);
    for (int y = 0; y < height; ++y) {
        std::string line(size_t(planes) * bytesPerLine, '\0');
        for (int k = 0; k < planes; ++k)
            for (int x = 0; x < width; ++x)
                if ((pixels[size_t(y) * width + x] >> k) & 1)
                    line[k * bytesPerLine + x / 8] |= static_cast<char>(0x80 >> (x % 8));
        f += Rle(line);
    }
    return f;
}

PackedDIB Decode(const std::string& bytes) { return DecodePCX(bytes.data(), bytes.size()); }

} // namespace

TEST(FormatPcx, NetpbmAndImageMagickFilesMatchTheirSources)
{
    const auto entries = ReadManifest("PCX");
    ASSERT_GE(entries.size(), 14u) << "reference files missing: scripts/test.sh prepares them";
    for (const ManifestEntry& e : entries) {
        SCOPED_TRACE(e.file);
        DibHolder dib(LoadPCX(e.file.c_str()));
        ASSERT_TRUE(dib);
        const Image decoded = DibToImage(dib.Get());
        ASSERT_FALSE(decoded.Empty());
        Image reference;
        ASSERT_TRUE(ReadNetpbm(e.reference, &reference, 255));
        const Difference d = Compare(decoded, reference);
        EXPECT_GE(d.maxDiff, 0) << "size " << decoded.width << "x" << decoded.height;
        EXPECT_LE(d.maxDiff, e.tolerance) << "mean difference " << d.meanDiff;
    }
}

TEST(FormatPcx, SixteenColoursInFourPlanesGiveFourBitRowsAndTheHeaderColours)
{
    const auto pixels = Pattern(7, 3, 16);
    DibHolder dib(Decode(Planar(7, 3, 4, 4, pixels)));
    ASSERT_TRUE(dib);
    const DibShape s = ShapeOf(dib.Get());
    EXPECT_EQ(s.width, 7);
    EXPECT_EQ(s.height, 3);
    EXPECT_EQ(s.bits, 4);
    EXPECT_EQ(DIBRowBytes(7, 4), 4u);
    const std::string h = Header(1, 4, 7, 3, 4);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(TableEntry(dib.Get(), i).rgbRed, uint8_t(h[16 + 3 * i]));
        EXPECT_EQ(TableEntry(dib.Get(), i).rgbBlue, uint8_t(h[16 + 3 * i + 2]));
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(IndexAt(dib.Get(), x, y), pixels[size_t(y) * 7 + x]);
}

TEST(FormatPcx, MonochromeTakesTheFirstTwoHeaderColours)
{
    const auto pixels = Pattern(19, 4, 2);
    DibHolder dib(Decode(Planar(19, 4, 1, 4, pixels)));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).bits, 1);
    const std::string h = Header(1, 1, 19, 4, 4);
    EXPECT_EQ(TableEntry(dib.Get(), 0).rgbRed, uint8_t(h[16]));
    EXPECT_EQ(TableEntry(dib.Get(), 1).rgbGreen, uint8_t(h[20]));
    EXPECT_EQ(IndexAt(dib.Get(), 18, 3), pixels[3 * 19 + 18]);
}

TEST(FormatPcx, MonochromeWithAnEmptyColourMapIsBlackAndWhite)
{
    std::string file = Planar(8, 1, 1, 2, Pattern(8, 1, 2));
    for (int i = 16; i < 64; ++i)
        file[i] = 0;
    DibHolder dib(Decode(file));
    ASSERT_TRUE(dib);
    EXPECT_EQ(TableEntry(dib.Get(), 0).rgbRed, 0);
    EXPECT_EQ(TableEntry(dib.Get(), 1).rgbRed, 255);
    EXPECT_EQ(TableEntry(dib.Get(), 1).rgbBlue, 255);
}

TEST(FormatPcx, TwoHundredFiftySixColoursTakeTheLast768BytesWhateverComesBefore)
{
    std::string f = Header(8, 1, 5, 2, 6);
    const auto pixels = Pattern(5, 2, 256);
    for (int y = 0; y < 2; ++y) {
        std::string line(6, '\0');
        for (int x = 0; x < 5; ++x)
            line[x] = static_cast<char>(pixels[size_t(y) * 5 + x]);
        f += Rle(line);
    }
    f.push_back('\x55'); // not the usual 0x0C marker
    for (int i = 0; i < 256; ++i) {
        PutU8(f, i);
        PutU8(f, 255 - i);
        PutU8(f, (i * 3) & 255);
    }
    DibHolder dib(Decode(f));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).bits, 8);
    EXPECT_EQ(TableEntry(dib.Get(), 200).rgbRed, 200);
    EXPECT_EQ(TableEntry(dib.Get(), 200).rgbGreen, 55);
    EXPECT_EQ(TableEntry(dib.Get(), 200).rgbBlue, (200 * 3) & 255);
    EXPECT_EQ(IndexAt(dib.Get(), 4, 1), pixels[5 + 4]);
}

TEST(FormatPcx, TrueColourPlanesBecomeBlueGreenRed)
{
    std::string f = Header(8, 3, 3, 1, 4);
    const std::string line("\x10\x11\x12\x00\x20\x21\x22\x00\x30\x31\x32\x00", 12);
    f += Rle(line);
    DibHolder dib(Decode(f));
    ASSERT_TRUE(dib);
    const Image rgb = DibToImage(dib.Get());
    ASSERT_FALSE(rgb.Empty());
    EXPECT_EQ(rgb.At(2, 0)[0], 0x12); // red from plane 0
    EXPECT_EQ(rgb.At(2, 0)[1], 0x22);
    EXPECT_EQ(rgb.At(2, 0)[2], 0x32);
}

TEST(FormatPcx, RunLengthCodes)
{
    PcxByteSource oneByte(reinterpret_cast<const BYTE*>("\xC1\xC5"), 2);
    BYTE line[4] = {9, 9, 9, 9};
    DecodePCXLine(&oneByte, line, 1, 4);
    EXPECT_EQ(line[0], 0xC5);
    EXPECT_EQ(line[1], 0);

    // A count of 0 uses its value byte and stores nothing.
    PcxByteSource zero(reinterpret_cast<const BYTE*>("\xC0\x77\x05"), 3);
    DecodePCXLine(&zero, line, 1, 4);
    EXPECT_EQ(line[0], 5);
    EXPECT_EQ(zero.Position(), 3u);

    std::string run63 = "\xFF\x42";
    std::vector<BYTE> wide(63);
    PcxByteSource longest(reinterpret_cast<const BYTE*>(run63.data()), run63.size());
    DecodePCXLine(&longest, wide.data(), 63, 63);
    EXPECT_EQ(wide[62], 0x42);

    // A run past the end of the line is cut and not carried into the next line.
    PcxByteSource cut(reinterpret_cast<const BYTE*>("\xC6\x11\x22\x33"), 4);
    BYTE first[4], second[4];
    DecodePCXLine(&cut, first, 4, 4);
    DecodePCXLine(&cut, second, 2, 4);
    EXPECT_EQ(first[3], 0x11);
    EXPECT_EQ(second[0], 0x22);
    EXPECT_EQ(second[1], 0x33);
}

TEST(FormatPcx, ExtraBytesPerLineAreDecodedButNotShown)
{
    const auto pixels = Pattern(9, 3, 16);
    DibHolder narrow(Decode(Planar(9, 3, 4, 2, pixels)));
    DibHolder padded(Decode(Planar(9, 3, 4, 6, pixels)));
    ASSERT_TRUE(narrow);
    ASSERT_TRUE(padded);
    const Image a = DibToImage(narrow.Get());
    const Image b = DibToImage(padded.Get());
    ASSERT_FALSE(a.Empty());
    ASSERT_FALSE(b.Empty());
    EXPECT_EQ(Compare(a, b).maxDiff, 0);
}

TEST(FormatPcx, PackedTwoAndFourBitPixelsLoad)
{
    std::string f2 = Header(2, 1, 5, 1, 2);
    f2 += Rle(std::string("\x1B\x80", 2)); // 0 1 2 3 | 2
    DibHolder two(Decode(f2));
    ASSERT_TRUE(two);
    const int expect2[5] = {0, 1, 2, 3, 2};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(IndexAt(two.Get(), x, 0), expect2[x]);
    std::string f4 = Header(4, 1, 3, 1, 2);
    f4 += Rle(std::string("\x9A\xB0", 2));
    DibHolder four(Decode(f4));
    ASSERT_TRUE(four);
    EXPECT_EQ(IndexAt(four.Get(), 0, 0), 9);
    EXPECT_EQ(IndexAt(four.Get(), 2, 0), 11);
}

TEST(FormatPcx, RefusesOtherVersionsLayoutsAndShortFiles)
{
    const std::string good = Planar(6, 2, 4, 2, Pattern(6, 2, 16));
    {
        DibHolder dib(Decode(good));
        ASSERT_TRUE(dib);
    }
    std::string version3 = good;
    version3[1] = 3;
    std::string twoPlanesOfTwo = Header(2, 2, 6, 2, 2) + good.substr(128);
    std::string twoPlanesOfEight = Header(8, 2, 6, 2, 6) + good.substr(128);
    std::string backwards = good;
    SetU16LE(backwards, 8, 1); // xmax below xmin
    std::string tooNarrow = Header(8, 3, 6, 2, 4) + good.substr(128);
    std::string eightBitNoPalette = Header(8, 1, 6, 2, 6) + std::string(372 - 128, '\x01');
    for (const std::string& bad : {version3, twoPlanesOfTwo, twoPlanesOfEight, backwards, tooNarrow,
                                   eightBitNoPalette, good.substr(0, 100)}) {
        DibHolder dib(Decode(bad));
        EXPECT_FALSE(dib);
    }
}

TEST(FormatPcx, DataThatEndsEarlyLeavesTheRestIndexZero)
{
    const auto pixels = Pattern(16, 6, 16);
    std::string f = Planar(16, 6, 4, 2, pixels);
    f.resize(128 + 3);
    DibHolder dib(Decode(f));
    ASSERT_TRUE(dib);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(IndexAt(dib.Get(), x, 5), 0);
}

TEST(FormatPcx, ReportsOneProgressStepPerLine)
{
    ProgressRecorder progress;
    DibHolder dib(Decode(Planar(6, 9, 2, 2, Pattern(6, 9, 4))));
    ASSERT_TRUE(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.sets, 9);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.lastTotal, 9u);
}

TEST(FormatPcx, PcxFilesGoThroughTheDispatcher)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(kFileTypePCX), &LoadPCX);
    testpaths::TempDir dir;
    const auto pixels = Pattern(11, 4, 16);
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("a.pcx"), Planar(11, 4, 4, 2, pixels)));
    DibHolder dib(GetPictureReader(kFileTypePCX)(dir.File("a.pcx").c_str()));
    ASSERT_TRUE(dib);
    EXPECT_EQ(IndexAt(dib.Get(), 10, 3), pixels[3 * 11 + 10]);
    EXPECT_FALSE(LoadPCX(dir.File("missing.pcx").c_str()));
}

TEST(FormatPcx, ToolFilesConvertThroughPicconv) { EXPECT_GE(CheckThroughPicconv("PCX"), 14); }
