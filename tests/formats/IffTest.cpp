// The IFF/ILBM reader: files written by netpbm, and files built here for each rule of the format.
#include "formats/FormatIff.h"

#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "formats/Readers.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace owntest;

namespace {

struct Chunk {
    std::string id;
    std::string data;
};

std::string Container(const std::string& id, const std::string& type, const std::vector<Chunk>& chunks)
{
    std::string body = type;
    for (const Chunk& c : chunks) {
        body += c.id;
        PutU32BE(body, static_cast<uint32_t>(c.data.size()));
        body += c.data;
        if (c.data.size() & 1)
            body.push_back('\0');
    }
    std::string out = id;
    PutU32BE(out, static_cast<uint32_t>(body.size()));
    return out + body;
}

std::string Bmhd(int width, int height, int planes, int compression, int masking = 0)
{
    std::string s;
    PutU16BE(s, width);
    PutU16BE(s, height);
    PutU16BE(s, 0);
    PutU16BE(s, 0);
    PutU8(s, planes);
    PutU8(s, masking);
    PutU8(s, compression);
    PutU8(s, 0);
    PutU16BE(s, 0);
    PutU8(s, 10);
    PutU8(s, 11);
    PutU16BE(s, width);
    PutU16BE(s, height);
    return s;
}

// Colour i of a test map: distinct, with every channel used.
std::string Cmap(int entries)
{
    std::string s;
    for (int i = 0; i < entries; ++i) {
        PutU8(s, (i * 37 + 11) & 255);
        PutU8(s, (i * 91 + 5) & 255);
        PutU8(s, (i * 13 + 200) & 255);
    }
    return s;
}

// ByteRun1: runs of three or more equal bytes repeated, the rest literal.
std::string ByteRun1(const std::string& row)
{
    std::string out;
    size_t i = 0;
    while (i < row.size()) {
        size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            PutU8(out, 257 - run);
            out.push_back(row[i]);
            i += run;
            continue;
        }
        size_t lit = 0;
        while (i + lit < row.size() && lit < 128) {
            if (i + lit + 2 < row.size() && row[i + lit] == row[i + lit + 1]
                && row[i + lit] == row[i + lit + 2])
                break;
            ++lit;
        }
        PutU8(out, static_cast<unsigned>(lit - 1));
        out += row.substr(i, lit);
        i += lit;
    }
    return out;
}

// BODY of planar rows for pixel values (row-major), with an optional all-ones mask plane.
std::string PlanarBody(int width, int height, int planes, const std::vector<int>& pixels, bool compress,
                       bool mask = false)
{
    const size_t planeBytes = ((width + 15) / 16) * 2;
    std::string body;
    for (int y = 0; y < height; ++y) {
        std::string row((planes + (mask ? 1 : 0)) * planeBytes, '\0');
        for (int k = 0; k < planes + (mask ? 1 : 0); ++k)
            for (int x = 0; x < width; ++x) {
                const bool bit = k < planes ? ((pixels[size_t(y) * width + x] >> k) & 1) : true;
                if (bit)
                    row[k * planeBytes + x / 8] |= static_cast<char>(0x80 >> (x % 8));
            }
        body += compress ? ByteRun1(row) : row;
    }
    return body;
}

std::vector<int> Pattern(int width, int height, int values)
{
    std::vector<int> p(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p[size_t(y) * width + x] = (x * 7 + y * 3 + (x * y) % 5) % values;
    return p;
}

std::string MakeIlbm(int width, int height, int planes, const std::vector<int>& pixels, bool compress,
                     int cmapEntries)
{
    std::vector<Chunk> chunks = {{"BMHD", Bmhd(width, height, planes, compress ? 1 : 0)}};
    if (cmapEntries > 0)
        chunks.push_back({"CMAP", Cmap(cmapEntries)});
    chunks.push_back({"BODY", PlanarBody(width, height, planes, pixels, compress)});
    return Container("FORM", "ILBM", chunks);
}

PackedDIB Decode(const std::string& bytes) { return DecodeIFF(bytes.data(), bytes.size()); }

void ExpectPixels(PackedDIB dib, int width, int height, const std::vector<int>& pixels)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(IndexAt(dib, x, y), pixels[size_t(y) * width + x]) << "at " << x << "," << y;
}

} // namespace

TEST(FormatIff, NetpbmFilesMatchTheirSources)
{
    const auto entries = ReadManifest("ILBM");
    ASSERT_GE(entries.size(), 20u) << "reference files missing: scripts/test.sh prepares them";
    for (const ManifestEntry& e : entries) {
        SCOPED_TRACE(e.file);
        DibHolder dib(LoadIFF(e.file.c_str()));
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

TEST(FormatIff, FivePlanesGiveEightBitsWithTheMapFirstAndBlackAfter)
{
    const auto pixels = Pattern(320, 200, 32);
    DibHolder dib(Decode(MakeIlbm(320, 200, 5, pixels, true, 32)));
    ASSERT_TRUE(dib);
    const DibShape s = ShapeOf(dib.Get());
    EXPECT_EQ(s.width, 320);
    EXPECT_EQ(s.height, 200);
    EXPECT_EQ(s.bits, 8);
    EXPECT_EQ(s.colors, 256);
    const std::string map = Cmap(32);
    for (int i = 0; i < 32; ++i) {
        const RGBQUAD q = TableEntry(dib.Get(), i);
        EXPECT_EQ(q.rgbRed, uint8_t(map[3 * i]));
        EXPECT_EQ(q.rgbGreen, uint8_t(map[3 * i + 1]));
        EXPECT_EQ(q.rgbBlue, uint8_t(map[3 * i + 2]));
    }
    for (int i = 32; i < 256; ++i) {
        const RGBQUAD q = TableEntry(dib.Get(), i);
        EXPECT_EQ(q.rgbRed | q.rgbGreen | q.rgbBlue, 0) << i;
    }
    ExpectPixels(dib.Get(), 320, 200, pixels);
}

TEST(FormatIff, RawAndByteRun1BodiesGiveTheSamePicture)
{
    const auto pixels = Pattern(45, 17, 16);
    DibHolder packed(Decode(MakeIlbm(45, 17, 4, pixels, true, 16)));
    DibHolder raw(Decode(MakeIlbm(45, 17, 4, pixels, false, 16)));
    ASSERT_TRUE(packed);
    ASSERT_TRUE(raw);
    EXPECT_EQ(ShapeOf(raw.Get()).bits, 4);
    ExpectPixels(packed.Get(), 45, 17, pixels);
    ExpectPixels(raw.Get(), 45, 17, pixels);
}

TEST(FormatIff, PlaneRowsArePaddedToSixteenBits)
{
    // 100 pixels: 14 bytes per plane row (not 13), so every row lands where it belongs.
    const auto pixels = Pattern(100, 9, 8);
    const std::string file = MakeIlbm(100, 9, 3, pixels, false, 8);
    ASSERT_EQ(file.size() - 12 - 8 - 20 - 8 - 24 - 8, 9u * 3 * 14);
    DibHolder dib(Decode(file));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).bits, 4); // three planes: the top bit of each nibble stays 0
    ExpectPixels(dib.Get(), 100, 9, pixels);
}

TEST(FormatIff, OnePlaneGivesOneBitWithTwoMapColours)
{
    const auto pixels = Pattern(13, 5, 2);
    DibHolder dib(Decode(MakeIlbm(13, 5, 1, pixels, true, 2)));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).bits, 1);
    const std::string map = Cmap(2);
    EXPECT_EQ(TableEntry(dib.Get(), 1).rgbRed, uint8_t(map[3]));
    EXPECT_EQ(TableEntry(dib.Get(), 1).rgbBlue, uint8_t(map[5]));
    ExpectPixels(dib.Get(), 13, 5, pixels);
}

TEST(FormatIff, ColourMapsLongerThan256EntriesKeepTheFirst256)
{
    const auto pixels = Pattern(8, 4, 256);
    DibHolder dib(Decode(MakeIlbm(8, 4, 8, pixels, true, 300)));
    ASSERT_TRUE(dib);
    const std::string map = Cmap(300);
    EXPECT_EQ(TableEntry(dib.Get(), 255).rgbGreen, uint8_t(map[3 * 255 + 1]));
    ExpectPixels(dib.Get(), 8, 4, pixels);
}

TEST(FormatIff, OddChunksArePaddedAndTheWalkGoesOn)
{
    const auto pixels = Pattern(10, 3, 4);
    const std::string file = Container("FORM", "ILBM",
                                       {{"ANNO", "hello"},
                                        {"BMHD", Bmhd(10, 3, 2, 1)},
                                        {"AUTH", "odd"},
                                        {"CMAP", Cmap(4)},
                                        {"BODY", PlanarBody(10, 3, 2, pixels, true)}});
    DibHolder dib(Decode(file));
    ASSERT_TRUE(dib);
    ExpectPixels(dib.Get(), 10, 3, pixels);
}

TEST(FormatIff, ByteRun1NoOpCodeProducesNothing)
{
    std::string body;
    PutU8(body, 128); // no-op
    PutU8(body, 1);   // two literal bytes
    PutU8(body, 0xA5);
    PutU8(body, 0x0F);
    DibHolder dib(
        Decode(Container("FORM", "ILBM", {{"BMHD", Bmhd(16, 1, 1, 1)}, {"CMAP", Cmap(2)}, {"BODY", body}})));
    ASSERT_TRUE(dib);
    const int expected[16] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1};
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(IndexAt(dib.Get(), x, 0), expected[x]) << x;
}

TEST(FormatIff, ARunPastTheRowIsDroppedNotCarried)
{
    // Row 0: a run of 6 bytes where the row holds 2; row 1 then starts with its own codes.
    std::string body;
    PutU8(body, 256 - 5);
    PutU8(body, 0xFF);
    PutU8(body, 1);
    PutU8(body, 0x00);
    PutU8(body, 0x81);
    DibHolder dib(
        Decode(Container("FORM", "ILBM", {{"BMHD", Bmhd(16, 2, 1, 1)}, {"CMAP", Cmap(2)}, {"BODY", body}})));
    ASSERT_TRUE(dib);
    EXPECT_EQ(IndexAt(dib.Get(), 15, 0), 1);
    EXPECT_EQ(IndexAt(dib.Get(), 0, 1), 0);
    EXPECT_EQ(IndexAt(dib.Get(), 15, 1), 1);
}

TEST(FormatIff, MaskPlaneIsSkipped)
{
    const auto pixels = Pattern(21, 6, 16);
    std::string withMask = Container("FORM", "ILBM",
                                     {{"BMHD", Bmhd(21, 6, 4, 1, 1)},
                                      {"CMAP", Cmap(16)},
                                      {"BODY", PlanarBody(21, 6, 4, pixels, true, true)}});
    DibHolder dib(Decode(withMask));
    ASSERT_TRUE(dib);
    ExpectPixels(dib.Get(), 21, 6, pixels);
}

TEST(FormatIff, ListAndCatHoldingAPictureFormLoad)
{
    const auto pixels = Pattern(9, 4, 4);
    const std::string form = MakeIlbm(9, 4, 2, pixels, true, 4);
    for (const char* outer : {"LIST", "CAT "}) {
        std::string file = outer;
        PutU32BE(file, static_cast<uint32_t>(4 + form.size()));
        file += "ILBM" + form;
        DibHolder dib(Decode(file));
        ASSERT_TRUE(dib) << outer;
        ExpectPixels(dib.Get(), 9, 4, pixels);
    }
}

TEST(FormatIff, WithoutAColourMapTheColoursAreAGreyRamp)
{
    const auto pixels = Pattern(6, 2, 4);
    DibHolder dib(Decode(MakeIlbm(6, 2, 2, pixels, false, 0)));
    ASSERT_TRUE(dib);
    EXPECT_EQ(TableEntry(dib.Get(), 15).rgbRed, 255);
    EXPECT_EQ(TableEntry(dib.Get(), 0).rgbRed, 0);
    EXPECT_EQ(TableEntry(dib.Get(), 5).rgbGreen, 85);
}

TEST(FormatIff, ChunkyPbmFormLoadsAsEightBits)
{
    std::string body;
    std::vector<int> pixels = Pattern(7, 3, 256);
    for (int y = 0; y < 3; ++y) {
        std::string row;
        for (int x = 0; x < 7; ++x)
            PutU8(row, pixels[size_t(y) * 7 + x]);
        row.push_back('\0'); // rows are padded to an even length
        body += ByteRun1(row);
    }
    DibHolder dib(
        Decode(Container("FORM", "PBM ", {{"BMHD", Bmhd(7, 3, 8, 1)}, {"CMAP", Cmap(256)}, {"BODY", body}})));
    ASSERT_TRUE(dib);
    ExpectPixels(dib.Get(), 7, 3, pixels);
}

TEST(FormatIff, RefusesWhatIsNotAPictureItCanRead)
{
    const auto pixels = Pattern(4, 2, 2);
    const std::string good = MakeIlbm(4, 2, 1, pixels, true, 2);
    {
        DibHolder unchanged(Decode(good));
        ASSERT_TRUE(unchanged) << "the unchanged file must load";
    }
    std::string aiff = good;
    aiff.replace(8, 4, "AIFF");
    std::string riff = good;
    riff.replace(0, 4, "RIFF");
    const std::string noBody = Container("FORM", "ILBM", {{"BMHD", Bmhd(4, 2, 1, 1)}, {"CMAP", Cmap(2)}});
    const std::string bodyFirst =
        Container("FORM", "ILBM", {{"BODY", PlanarBody(4, 2, 1, pixels, true)}, {"BMHD", Bmhd(4, 2, 1, 1)}});
    std::string shortHeader = Container("FORM", "ILBM", {{"BMHD", Bmhd(4, 2, 1, 1).substr(0, 19)}});
    std::string shortMap = good.substr(0, 12 + 8 + 20 + 8 + 3);
    for (const std::string& bad : {aiff, riff, noBody, bodyFirst, shortHeader, shortMap}) {
        DibHolder dib(Decode(bad));
        EXPECT_FALSE(dib);
    }
    EXPECT_FALSE(IsIFFSignature(aiff.data(), aiff.size()));
    EXPECT_TRUE(IsIFFSignature(good.data(), good.size()));
}

TEST(FormatIff, AChunkLengthPointingBackDoesNotLoop)
{
    std::string file = Container("FORM", "ILBM", {{"ANNO", "abcd"}, {"BMHD", Bmhd(4, 2, 1, 1)}});
    SetU32BE(file, 16, 0xFFFFFFF8); // -8 read as signed would seek back onto the same chunk
    // A nested form the reader skips, whose length wraps round a 32-bit offset.
    std::string nested = Container("LIST", "ILBM", {{"FORM", "FTXTabcd"}, {"BMHD", Bmhd(4, 2, 1, 1)}});
    SetU32BE(nested, 16, 0xFFFFFFF0);
    const DWORD start = GetTickCount();
    DibHolder dib(Decode(file));
    DibHolder other(Decode(nested));
    EXPECT_FALSE(dib);
    EXPECT_FALSE(other);
    EXPECT_LT(GetTickCount() - start, 20000u);
}

TEST(FormatIff, ABodyThatEndsEarlyGivesThePictureWithZeroRows)
{
    const auto pixels = Pattern(16, 8, 2);
    std::string file = MakeIlbm(16, 8, 1, pixels, false, 2);
    file.resize(file.size() - 4 * 2); // the last four rows of 2 bytes are gone
    DibHolder dib(Decode(file));
    ASSERT_TRUE(dib);
    EXPECT_EQ(IndexAt(dib.Get(), 1, 3), pixels[3 * 16 + 1]);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(IndexAt(dib.Get(), x, 7), 0);
}

TEST(FormatIff, ReportsOneProgressStepPerRowBetweenBeginAndEnd)
{
    ProgressRecorder progress;
    const auto pixels = Pattern(5, 11, 4);
    DibHolder dib(Decode(MakeIlbm(5, 11, 2, pixels, true, 4)));
    ASSERT_TRUE(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.sets, 11);
    EXPECT_EQ(progress.lastDone, 11u);
    EXPECT_EQ(progress.lastTotal, 11u);
    EXPECT_EQ(progress.lastText, "");
}

TEST(FormatIff, NoProgressIsReportedWhileTheSwitchIsOff)
{
    ProgressRecorder progress;
    g_bReportProgress = FALSE;
    DibHolder dib(Decode(MakeIlbm(5, 3, 2, Pattern(5, 3, 4), true, 4)));
    g_bReportProgress = TRUE;
    ASSERT_TRUE(dib);
    EXPECT_EQ(progress.begins + progress.sets + progress.ends, 0);
}

TEST(FormatIff, LbmAndIffFilesGoThroughTheDispatcher)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(kFileTypeIFF), &LoadIFF);
    EXPECT_EQ(GetPictureReader(kFileTypeLBM), &LoadIFF);
    testpaths::TempDir dir;
    const auto pixels = Pattern(12, 7, 16);
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("Images Prot\xE9g\xE9"
                                               "es.lbm"),
                                      MakeIlbm(12, 7, 4, pixels, true, 16)));
    DibHolder dib(GetPictureReader(kFileTypeLBM)(dir.File("Images Prot\xE9g\xE9"
                                                          "es.lbm")
                                                     .c_str()));
    ASSERT_TRUE(dib);
    ExpectPixels(dib.Get(), 12, 7, pixels);
    EXPECT_FALSE(LoadIFF(dir.File("missing.iff").c_str()));
}

TEST(FormatIff, ByteOrderHelpersSwapOnlyWhenAskedTo)
{
    EXPECT_EQ(SwapBytes16(0x1234, 0), 0x3412);
    EXPECT_EQ(SwapBytes16(0x1234, 1), 0x1234);
    EXPECT_EQ(SwapBytes32(0x12345678, 0), 0x78563412u);
    EXPECT_EQ(SwapBytes32(0x12345678, 1), 0x12345678u);
    BITMAPINFOHEADER h;
    EXPECT_EQ(InitIFFBitmapHeader(&h, 100, 3, 5), 100u);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(InitIFFBitmapHeader(&h, 100, 3, 3), 52u);
    EXPECT_EQ(h.biBitCount, 4);
    EXPECT_EQ(InitIFFBitmapHeader(&h, 100, 3, 24), 300u);
    EXPECT_EQ(h.biSize, 40u);
}

TEST(FormatIff, NetpbmFilesConvertThroughPicconv) { EXPECT_GE(CheckThroughPicconv("ILBM"), 20); }
