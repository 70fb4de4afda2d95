// Reading and writing bitmap files: every header kind and depth, RLE8, and refused input.
#include <gtest/gtest.h>

#include "core/BmpFile.h"
#include "core/Progress.h"
#include "tests/core/DibTestUtil.h"
#include "tests/support/TestPaths.h"

#include <cstring>
#include <vector>

using namespace dibtest;

namespace {

PackedDIB LoadBytes(const std::string& bytes) { return ReadDIBFromMemory(bytes.data(), DWORD(bytes.size())); }

// A picture of the given depth whose pixels differ from each other.
PackedDIB MakePicture(int width, int height, WORD bits)
{
    PackedDIB dib = CreateDIB(width, height, bits);
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* rows = FindDIBBits(p);
    DWORD size = RowBytes(width, bits) * height;
    for (DWORD i = 0; i < size; ++i)
        rows[i] = BYTE(i * 37 + 11);
    GlobalUnlock(dib);
    return dib;
}

std::vector<RGBQUAD> Grey(int n)
{
    std::vector<RGBQUAD> table;
    for (int i = 0; i < n; ++i)
        table.push_back(RGBQUAD{BYTE(i * 255 / (n - 1)), BYTE(255 - i * 255 / (n - 1)), BYTE(i), 0});
    return table;
}

std::string Fill(size_t count, int seed)
{
    std::string s(count, '\0');
    for (size_t i = 0; i < count; ++i)
        s[i] = char(i * 13 + seed);
    return s;
}

struct ProgressLog : IProgressSink {
    int begins = 0, ends = 0;
    std::vector<DWORD> done;
    DWORD total = 0;
    void BeginProgress(LPCSTR) override { ++begins; }
    void SetProgress(DWORD d, DWORD t) override
    {
        done.push_back(d);
        total = t;
    }
    void EndProgress() override { ++ends; }
};

struct SinkScope {
    explicit SinkScope(IProgressSink* sink) { SetProgressSink(sink); }
    ~SinkScope() { SetProgressSink(nullptr); }
};

} // namespace

TEST(BmpFile, RoundTripKeepsEveryByteAtEveryDepth)
{
    testpaths::TempDir dir;
    for (WORD bits : {1, 4, 8, 16, 24, 32}) {
        for (int width : {1, 3, 5, 17}) {
            DibHolder dib(MakePicture(width, 3, bits));
            std::string path = dir.File("round.bmp");
            ASSERT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBOk);
            DibHolder back(LoadBMPFile(path.c_str()));
            ASSERT_NE(back.dib, nullptr) << bits << " bits, width " << width;
            ASSERT_EQ(GlobalSize(back), GlobalSize(dib)) << bits << " bits, width " << width;
            EXPECT_EQ(memcmp(GlobalLock(back), GlobalLock(dib), GlobalSize(dib)), 0) << bits << "/" << width;
            GlobalUnlock(back);
            GlobalUnlock(dib);
        }
    }
}

TEST(BmpFile, OnePixel24BitFileIs58Bytes)
{
    testpaths::TempDir dir;
    DibHolder dib(CreateDIB(1, 1, 24));
    std::string path = dir.File("one.bmp");
    ASSERT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBOk);
    std::string bytes = testpaths::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(&bytes[2]), 58u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(&bytes[6]), 0u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(&bytes[10]), 54u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(&bytes[14 + 20]), 4u) << "biSizeImage written";
    EXPECT_EQ(HeaderOf(dib).biSizeImage, 4u) << "and set in the picture";
}

TEST(BmpFile, TrueColourWithoutTableOrImageSize)
{
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bits = 24;
    s.rows = Fill(RowBytes(3, 24) * 2, 5);
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    BITMAPINFOHEADER h = HeaderOf(dib);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biSizeImage, RowBytes(3, 24) * 2);
    EXPECT_EQ(GlobalSize(dib), SIZE_T(40 + 24));
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    EXPECT_EQ(memcmp(p + 40, s.rows.data(), s.rows.size()), 0);
    GlobalUnlock(dib);
}

TEST(BmpFile, PaletteDepthsGetTheirFullTableWhenClrUsedIsZero)
{
    for (WORD bits : {1, 4, 8}) {
        BmpSpec s;
        s.width = 5;
        s.height = 2;
        s.bits = bits;
        s.colors = Grey(1 << bits);
        s.rows = Fill(RowBytes(5, bits) * 2, bits);
        DibHolder dib(LoadBytes(BuildBmp(s)));
        ASSERT_NE(dib.dib, nullptr) << bits;
        EXPECT_EQ(HeaderOf(dib).biClrUsed, DWORD(1 << bits));
        EXPECT_EQ(DIBNumColorsHandle(dib), 1 << bits);
        const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
        EXPECT_EQ(memcmp(p + 40, s.colors.data(), s.colors.size() * 4), 0);
        GlobalUnlock(dib);
    }
}

TEST(BmpFile, ShortColourTableIsKeptShort)
{
    BmpSpec s;
    s.width = 4;
    s.height = 1;
    s.bits = 8;
    s.clrUsed = 3;
    s.colors = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    s.rows = std::string("\x02\x01\x00\x02", 4);
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 3u);
    EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelOf(dib, 2, 0), (Rgb{255, 0, 0}));
}

TEST(BmpFile, SixteenBitWithoutTable)
{
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 16;
    s.rows = std::string("\x00\x7C\x1F\x00", 4); // red, blue in 5-5-5
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biBitCount, 16);
    EXPECT_EQ(GlobalSize(dib), SIZE_T(40 + 4));
    EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{0, 0, 255}));
}

TEST(BmpFile, CoreHeaderBecomesInfoHeaderWithQuads)
{
    BmpSpec s;
    s.headerSize = 12;
    s.width = 3;
    s.height = 2;
    s.bits = 8;
    s.colors = Grey(256);
    s.rows = Fill(RowBytes(3, 8) * 2, 1);
    std::string file = BuildBmp(s);
    ASSERT_EQ(file.size(), 14u + 12 + 768 + 8);
    DibHolder dib(LoadBytes(file));
    ASSERT_NE(dib.dib, nullptr);
    BITMAPINFOHEADER h = HeaderOf(dib);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed, 256u);
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    EXPECT_EQ(memcmp(p + 40, s.colors.data(), 1024), 0) << "triples widened to quads";
    EXPECT_EQ(memcmp(p + 40 + 1024, s.rows.data(), 8), 0);
    GlobalUnlock(dib);

    s.bits = 24;
    s.colors.clear();
    s.rows = Fill(RowBytes(3, 24) * 2, 2);
    DibHolder trueColour(LoadBytes(BuildBmp(s)));
    ASSERT_NE(trueColour.dib, nullptr);
    EXPECT_EQ(GlobalSize(trueColour), SIZE_T(40 + 24));
}

TEST(BmpFile, TopDownRowsAreStoredBottomUp)
{
    BmpSpec s;
    s.width = 2;
    s.height = -3;
    s.bits = 24;
    for (int y = 0; y < 3; ++y) // file row 0 is the top line
        s.rows += std::string{char(y), 0, char(100 + y), char(y), 0, char(100 + y), 0, 0};
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biHeight, 3);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(PixelOf(dib, 1, y), (Rgb{100 + y, 0, y})) << y;
}

TEST(BmpFile, V5HeaderWithPlainMasksKeeps32BitPixels)
{
    BmpSpec s;
    s.headerSize = 124;
    s.width = 2;
    s.height = 2;
    s.bits = 32;
    s.compression = BI_BITFIELDS;
    s.masks[0] = 0x00FF0000;
    s.masks[1] = 0x0000FF00;
    s.masks[2] = 0x000000FF;
    s.masks[3] = 0xFF000000;
    s.rows = Fill(16, 3);
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    BITMAPINFOHEADER h = HeaderOf(dib);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biCompression, DWORD(BI_RGB));
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    EXPECT_EQ(memcmp(p + 40, s.rows.data(), 16), 0);
    GlobalUnlock(dib);
}

TEST(BmpFile, V4Header565BitFieldsBecome24Bit)
{
    BmpSpec s;
    s.headerSize = 108;
    s.width = 4;
    s.height = 1;
    s.bits = 16;
    s.compression = BI_BITFIELDS;
    s.masks[0] = 0xF800;
    s.masks[1] = 0x07E0;
    s.masks[2] = 0x001F;
    // white, red, full green, half blue (16 of 31)
    s.rows = std::string("\xFF\xFF\x00\xF8\xE0\x07\x10\x00", 8);
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biBitCount, 24);
    EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(dib, 2, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelOf(dib, 3, 0), (Rgb{0, 0, 132}));
}

TEST(BmpFile, InfoHeaderBitFieldMasksFollowTheHeader)
{
    BmpSpec s;
    s.width = 2;
    s.height = -1;
    s.bits = 32;
    s.compression = BI_BITFIELDS;
    s.masks[0] = 0xFF000000; // RGBA byte order
    s.masks[1] = 0x00FF0000;
    s.masks[2] = 0x0000FF00;
    s.rows = std::string("\x80\x30\x20\x10\xFF\x03\x02\x01", 8);
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biBitCount, 24);
    EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{1, 2, 3}));
}

TEST(BmpFile, Rle8StreamDecodes)
{
    BmpSpec s;
    s.width = 6;
    s.height = 3;
    s.bits = 8;
    s.compression = BI_RLE8;
    s.colors = Grey(256);
    // bottom row: 3 x 1, then absolute 7 8 9 (odd: one pad byte); end of line
    // middle row: delta 2 right, then 2 x 4; end of line
    // top row: 6 x 5; end of bitmap
    s.rows = std::string("\x03\x01\x00\x03\x07\x08\x09\x00\x00\x00"
                         "\x00\x02\x02\x00\x02\x04\x00\x00"
                         "\x06\x05\x00\x01",
                         22);
    s.sizeImage = DWORD(s.rows.size());
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    BITMAPINFOHEADER h = HeaderOf(dib);
    EXPECT_EQ(h.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(h.biSizeImage, 8u * 3);
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    const BYTE* rows = p + 40 + 1024;
    const BYTE expected[24] = {1, 1, 1, 7, 8, 9, 0, 0, 0, 0, 4, 4, 0, 0, 0, 0, 5, 5, 5, 5, 5, 5, 0, 0};
    EXPECT_EQ(memcmp(rows, expected, 24), 0);
    GlobalUnlock(dib);
}

TEST(BmpFile, Rle8DecoderNeverLeavesItsBuffers)
{
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 4;
    h.biHeight = 2;
    h.biBitCount = 8;
    std::vector<BYTE> buffer(8 + 16, 0xAA); // rows, then a guard
    const std::string streams[] = {
        std::string("\xFF\x01", 2),                         // run far past the row
        std::string("\x00\x02\xFF\xFF\x02\x01", 6),         // delta far past the end, then a run
        std::string("\x00\x00\x00\x00\x00\x00\x04\x03", 8), // lines past the last row
        std::string("\x00\xFF\x01\x02", 4),                 // absolute run longer than the data
        std::string("\x00\x02\x01", 3),                     // delta cut short
        std::string("\x02", 1),                             // half a pair
    };
    for (const std::string& stream : streams) {
        std::fill(buffer.begin(), buffer.end(), 0xAA);
        EXPECT_FALSE(
            DecodeRLE8(&h, buffer.data(), reinterpret_cast<const BYTE*>(stream.data()), DWORD(stream.size())))
            << "stream of " << stream.size() << " bytes";
        for (size_t i = 8; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xAA) << "guard byte " << i;
    }
    const std::string longRun("\x09\x07\x00\x01", 4);
    std::fill(buffer.begin(), buffer.end(), 0xAA);
    EXPECT_FALSE(DecodeRLE8(&h, buffer.data(), reinterpret_cast<const BYTE*>(longRun.data()), 4));
    EXPECT_EQ(buffer[3], 7);
    EXPECT_EQ(buffer[4], 0xAA) << "a run is clipped at the end of its row";
}

TEST(BmpFile, RefusesRle4)
{
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 4;
    s.compression = BI_RLE4;
    s.colors = Grey(16);
    s.rows = std::string("\x02\x12\x00\x01", 4);
    EXPECT_EQ(LoadBytes(BuildBmp(s)), nullptr);
}

TEST(BmpFile, HostileEveryTruncationIsRefused)
{
    std::vector<BmpSpec> samples(4);
    samples[0].width = 5, samples[0].height = 3, samples[0].bits = 24;
    samples[0].rows = Fill(RowBytes(5, 24) * 3, 1);
    samples[1].headerSize = 12, samples[1].width = 3, samples[1].height = 2, samples[1].bits = 4;
    samples[1].colors = Grey(16), samples[1].rows = Fill(8, 2);
    samples[2].width = 6, samples[2].height = 1, samples[2].bits = 8, samples[2].compression = BI_RLE8;
    samples[2].colors = Grey(256), samples[2].rows = std::string("\x06\x02\x00\x01", 4);
    samples[2].sizeImage = 4;
    samples[3].headerSize = 124, samples[3].width = 2, samples[3].height = 2, samples[3].bits = 16;
    samples[3].compression = BI_BITFIELDS, samples[3].masks[0] = 0xF800, samples[3].masks[1] = 0x7E0;
    samples[3].masks[2] = 0x1F, samples[3].rows = Fill(8, 3);
    for (const BmpSpec& s : samples) {
        std::string file = BuildBmp(s);
        DibHolder whole(LoadBytes(file));
        ASSERT_NE(whole.dib, nullptr) << "the untouched sample loads";
        for (size_t cut = 0; cut < file.size(); ++cut) {
            // A copy of exactly the shortened length, so reading past it is caught by the bounds.
            std::vector<char> shorter(file.begin(), file.begin() + cut);
            EXPECT_EQ(ReadDIBFromMemory(shorter.data(), DWORD(cut)), nullptr) << "cut at " << cut;
        }
    }
}

TEST(BmpFile, HostileHeadersAreRefused)
{
    BmpSpec good;
    good.width = 2;
    good.height = 2;
    good.bits = 8;
    good.colors = Grey(256);
    good.rows = Fill(8, 1);
    auto refused = [](BmpSpec s) { return LoadBytes(BuildBmp(s)) == nullptr; };
    BmpSpec s = good;
    s.width = 0;
    EXPECT_TRUE(refused(s));
    s = good, s.width = -4;
    EXPECT_TRUE(refused(s));
    s = good, s.height = 0;
    EXPECT_TRUE(refused(s));
    s = good, s.bits = 7;
    EXPECT_TRUE(refused(s));
    s = good, s.headerSize = 20;
    EXPECT_TRUE(refused(s));
    s = good, s.headerSize = 200;
    EXPECT_TRUE(refused(s));
    s = good, s.compression = 4; // embedded JPEG
    EXPECT_TRUE(refused(s));
    s = good, s.offBits = 5000; // rows past the end of the file
    EXPECT_TRUE(refused(s));
    s = good, s.width = 50000, s.height = 50000, s.bits = 24; // 7.5 GB of rows
    EXPECT_TRUE(refused(s));
    s = good, s.width = 0x7FFFFFFF, s.height = 1, s.bits = 32;
    EXPECT_TRUE(refused(s));
    s = good, s.height = -2, s.compression = BI_RLE8; // top-down RLE does not exist
    EXPECT_TRUE(refused(s));
    s = good, s.clrUsed = 0xFFFFFFFF, s.keepZeroOffBits = true; // rows said to start past the file
    EXPECT_TRUE(refused(s));

    std::string notBitmap = BuildBmp(good);
    notBitmap[0] = 'X';
    EXPECT_EQ(LoadBytes(notBitmap), nullptr);
    EXPECT_EQ(ReadDIBFromMemory(nullptr, 100), nullptr);
}

TEST(BmpFile, OversizedColourCountIsClampedToTheDepth)
{
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 4;
    s.clrUsed = 5000;
    s.colors = Grey(16);
    s.rows = std::string("\x1F\x00\x00\x00", 4);
    std::string file = BuildBmp(s);
    // The rows stand right after the 16 entries the file really holds.
    *reinterpret_cast<DWORD*>(&file[10]) = 14 + 40 + 64;
    DibHolder dib(LoadBytes(file));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 16u);
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{15, 0, 255})) << "entry 15 of the table";
}

TEST(BmpFile, MissingFileGivesNull)
{
    EXPECT_EQ(LoadBMPFile("Z:\\no\\such\\folder\\picture.bmp"), nullptr);
    EXPECT_EQ(LoadBMPFile(nullptr), nullptr);
}

TEST(BmpFile, ProgressIsReportedInPiecesAndAlwaysEnded)
{
    ProgressLog log;
    SinkScope scope(&log);
    testpaths::TempDir dir;
    DibHolder dib(MakePicture(300, 200, 24)); // 180000 bytes of rows
    std::string path = dir.File("big.bmp");
    ASSERT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBOk);
    EXPECT_EQ(log.begins, 1);
    EXPECT_EQ(log.ends, 1);
    ASSERT_FALSE(log.done.empty());
    EXPECT_EQ(log.done.back(), log.total);
    EXPECT_EQ(log.total, 40u + 180000);
    for (size_t i = 0; i < log.done.size(); ++i)
        EXPECT_LE(log.done[i] - (i ? log.done[i - 1] : 0), 32767u);

    log = ProgressLog();
    DibHolder back(LoadBMPFile(path.c_str()));
    ASSERT_NE(back.dib, nullptr);
    EXPECT_EQ(log.begins, 1);
    EXPECT_EQ(log.ends, 1);
    EXPECT_EQ(log.total, 180000u);
    EXPECT_EQ(log.done.back(), 180000u);
    EXPECT_EQ(log.done.front(), 32767u);

    // A file whose rows end early still ends the gauge it began.
    std::string bytes = testpaths::ReadBytes(path);
    std::string cutPath = dir.File("cut.bmp");
    ASSERT_TRUE(testpaths::WriteBytes(cutPath, bytes.substr(0, 54 + 100)));
    log = ProgressLog();
    EXPECT_EQ(LoadBMPFile(cutPath.c_str()), nullptr);
    EXPECT_EQ(log.begins, log.ends);

    g_bReportProgress = FALSE;
    log = ProgressLog();
    DibHolder quiet(LoadBMPFile(path.c_str()));
    g_bReportProgress = TRUE;
    EXPECT_EQ(log.begins, 0) << "the switch turns reports off";
}

TEST(BmpFile, SaveResultCodes)
{
    testpaths::TempDir dir;
    EXPECT_EQ(SaveDIBFile(nullptr, dir.File("a.bmp").c_str()), kSaveDIBNoPicture);
    DibHolder dib(CreateDIB(2, 2, 8));
    EXPECT_EQ(SaveDIBFile(dib, dir.File("missing\\a.bmp").c_str()), kSaveDIBWriteFailed);

    // A block that claims more rows than it holds is not written past its end.
    DibHolder small(CreateDIB(2, 2, 24));
    static_cast<BITMAPINFOHEADER*>(GlobalLock(small))->biHeight = 1000;
    GlobalUnlock(small);
    EXPECT_EQ(SaveDIBFile(small, dir.File("b.bmp").c_str()), kSaveDIBCannotLock);

    HGLOBAL core = GlobalAlloc(GHND, 12 + 6);
    static_cast<BITMAPCOREHEADER*>(GlobalLock(core))->bcSize = 12;
    GlobalUnlock(core);
    EXPECT_EQ(SaveDIBFile(core, dir.File("c.bmp").c_str()), kSaveDIBCannotLock);
    GlobalFree(core);
}

TEST(BmpFile, FailedSaveLeavesTheEarlierFileAndNoLeftovers)
{
    testpaths::TempDir dir;
    std::string path = dir.File("kept.bmp");
    ASSERT_TRUE(testpaths::WriteBytes(path, "earlier contents"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    DibHolder dib(CreateDIB(4, 4, 24));
    EXPECT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBWriteFailed);
    EXPECT_EQ(testpaths::ReadBytes(path), "earlier contents");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(dir.File("*.tmp").c_str(), &data);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "temporary file left: " << data.cFileName;
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);

    EXPECT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBOk);
    EXPECT_EQ(testpaths::ReadBytes(path).size(), 14u + 40 + 48) << "a writable file is replaced";
}

TEST(BmpFile, ColourCountLongerThanTheRoomBeforeTheRows)
{
    // 24 bits with a colour count the file has no room for: the pixels still load.
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 24;
    s.clrUsed = 0xFFFFFFFF;
    s.rows = std::string("\x01\x02\x03\x04\x05\x06\x00\x00", 8);
    DibHolder dib(LoadBytes(BuildBmp(s)));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 0u);
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{6, 5, 4}));

    // 8 bits with 4 entries before the rows and a count of 256: the 4 are kept.
    BmpSpec p;
    p.width = 2;
    p.height = 1;
    p.bits = 8;
    p.colors = {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {4, 4, 4, 0}};
    p.rows = std::string("\x03\x01\x00\x00", 4);
    DibHolder four(LoadBytes(BuildBmp(p)));
    ASSERT_NE(four.dib, nullptr);
    EXPECT_EQ(HeaderOf(four).biClrUsed, 4u);
    EXPECT_EQ(PixelOf(four, 0, 0), (Rgb{4, 4, 4}));

    // No room at all for a palette picture's table: refused.
    p.colors.clear();
    EXPECT_EQ(LoadBytes(BuildBmp(p)), nullptr);
}
