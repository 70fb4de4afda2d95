// JPEG reading and writing: the libraries' test pictures against djpeg's decodes, the thumbnail
// scales, the 8-bit path, the gauge, and round trips through the writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/BmpFile.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/ReaderSettings.h"
#include "formats/FormatJpeg.h"
#include "formats/Readers.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

std::string JpegRef(const std::string& name) { return ReferenceDir("jpeg") + "\\" + name; }

// Loads a file as a 24-bit picture and returns its pixels.
Image Load24(const std::string& path)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    PackedDIB dib = LoadJPEG(path.c_str());
    Image image = DibToImage(dib);
    GlobalFreeHandle(dib);
    return image;
}

void BlockColor(int x, int y, BYTE* rgb)
{
    static const BYTE kColors[6][3] = {{255, 0, 0},     {0, 0, 255},  {0, 200, 0},
                                       {250, 250, 250}, {20, 20, 20}, {240, 200, 40}};
    const BYTE* c = kColors[((x / 16) + 2 * (y / 16)) % 6];
    rgb[0] = c[0];
    rgb[1] = c[1];
    rgb[2] = c[2];
}

int BlockIndex2(int x, int y) { return ((x / 16) + (y / 16)) % 2; }
int BlockIndex16(int x, int y) { return ((x / 16) + 3 * (y / 16)) % 16; }
int BlockIndex256(int x, int y) { return ((x / 16) * 37 + (y / 16) * 11) % 256; }

// Largest channel difference over the inner pixels of each 16 x 16 block (the upsampler blends
// chroma across block edges, so the two pixels next to an edge are left out).
int MaxInnerBlockDifference(const Image& a, const Image& b)
{
    int worst = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13)
                continue;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(int(a.At(x, y)[c]) - int(b.At(x, y)[c])));
        }
    }
    return worst;
}

// Answers the message boxes of this thread, in order, as a user would click.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::vector<int> answers, void (*beforeAnswer)() = nullptr)
    {
        s_answers = std::move(answers);
        s_before = beforeAnswer;
        s_asked = 0;
        s_hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxAnswerer() { UnhookWindowsHookEx(s_hook); }
    int Asked() const { return s_asked; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            HWND box = reinterpret_cast<HWND>(wParam);
            char className[32] = "";
            GetClassNameA(box, className, sizeof(className));
            // Only this thread's box: windows are shared with the other tests on the display.
            if (lstrcmpA(className, "#32770") == 0 && s_asked < static_cast<int>(s_answers.size())
                && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
                if (s_before)
                    s_before();
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(s_answers[s_asked], BN_CLICKED), 0);
                ++s_asked;
            }
        }
        return CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static HHOOK s_hook;
    static std::vector<int> s_answers;
    static void (*s_before)();
    static int s_asked;
};
HHOOK MessageBoxAnswerer::s_hook = nullptr;
std::vector<int> MessageBoxAnswerer::s_answers;
void (*MessageBoxAnswerer::s_before)() = nullptr;
int MessageBoxAnswerer::s_asked = 0;

std::string g_folderToCreate;
void CreatePendingFolder() { CreateDirectoryA(g_folderToCreate.c_str(), nullptr); }

// Name of the single entry of a folder, as the file system spells it.
std::string OnlyEntryName(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    std::string name;
    int count = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (lstrcmpA(data.cFileName, ".") != 0 && lstrcmpA(data.cFileName, "..") != 0) {
                name = data.cFileName;
                ++count;
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return count == 1 ? name : std::string();
}

} // namespace

// ---- Reading the libraries' test pictures ----

TEST(LoadJPEG, DecodesTestPicturesAsDjpegDoes)
{
    struct Case {
        std::string file;
        std::string reference;
    };
    const std::vector<Case> cases = {
        {TestImage("jpeg", "testorig.jpg"), JpegRef("testorig.pnm")},
        {TestImage("jpeg", "testimgint.jpg"), JpegRef("testimgint.pnm")},
        {TestImage("jpeg", "testimgari.jpg"), JpegRef("testimgari.pnm")}, // arithmetic coding
        {JpegRef("progressive.jpg"), JpegRef("progressive.pnm")},
        {JpegRef("sample444.jpg"), JpegRef("sample444.pnm")},
        {JpegRef("sample422.jpg"), JpegRef("sample422.pnm")},
        {JpegRef("restart.jpg"), JpegRef("restart.pnm")},
        {JpegRef("rgb.jpg"), JpegRef("rgb.pnm")},
        {JpegRef("grey.jpg"), JpegRef("grey.pnm")},
        {JpegRef("large.jpg"), JpegRef("large.pnm")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Image reference;
        ASSERT_TRUE(ReadNetpbm(c.reference, &reference)) << "missing reference " << c.reference;
        Image actual = Load24(c.file);
        Difference d = Compare(actual, reference);
        ASSERT_TRUE(d.sameSize) << actual.width << "x" << actual.height;
        // The same library decodes both sides; only the SIMD code paths differ.
        EXPECT_LE(d.maxDiff, 1) << d.Describe();
    }
}

TEST(LoadJPEG, DecodeStaysNearTheOriginalPicture)
{
    Image original;
    ASSERT_TRUE(ReadNetpbm(TestImage("jpeg", "testorig.ppm"), &original));
    Difference d = Compare(Load24(TestImage("jpeg", "testorig.jpg")), original);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanDiff, 4.0) << d.Describe();
}

// What the reader does not support: 12-bit samples (the library is built for 8-bit samples).
TEST(LoadJPEG, TwelveBitFileIsRefusedNotSupported)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    EXPECT_EQ(LoadJPEG(TestImage("jpeg", "testorig12.jpg").c_str()), nullptr);
}

TEST(LoadJPEG, CmykFileShowsItsRealColours)
{
    Image reference;
    ASSERT_TRUE(ReadNetpbm(JpegRef("cmyk.pam"), &reference));
    Image actual = Load24(JpegRef("cmyk.jpg"));
    Difference d = Compare(actual, reference);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanDiff, 2.0) << d.Describe();
    EXPECT_LE(d.maxDiff, 12) << d.Describe();
}

TEST(LoadJPEG, GreyFileGivesTwentyFourBitsWithEqualChannels)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    PackedDIB dib = LoadJPEG(JpegRef("grey.jpg").c_str());
    ASSERT_NE(dib, nullptr);
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(header->biBitCount, 24);
    GlobalUnlock(dib);
    Image image = DibToImage(dib);
    GlobalFreeHandle(dib);
    bool equal = true;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            equal = equal && image.At(x, y)[0] == image.At(x, y)[1] && image.At(x, y)[1] == image.At(x, y)[2];
    EXPECT_TRUE(equal);
}

TEST(LoadJPEG, DispatcherUsesTheReaderForJpegFiles)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(12), &LoadJPEG);
    EXPECT_EQ(GetJPEGResourceReader(), &LoadJPEGResource);
}

TEST(LoadJPEG, PicconvWritesWhatTheReaderReads)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 2; // picconv keeps the default setting; the screen decides (24 bits here)
    SetScreenBitsPerPixelForTest(0);
    for (const std::string& file : {TestImage("jpeg", "testorig.jpg"), TestImage("jpeg", "testimgari.jpg"),
                                    JpegRef("progressive.jpg"), JpegRef("cmyk.jpg"), JpegRef("grey.jpg")})
        ExpectPicconvMatchesReader(file, LoadJPEG);
    testpaths::TempDir dir;
    EXPECT_EQ(RunPicconv(TestImage("jpeg", "testorig12.jpg"), dir.File("x.bmp")), 1);
    // The library thumbnail: the 1/8 decode (200 x 132) fitted into 84 x 68.
    ASSERT_EQ(RunPicconv(JpegRef("large.jpg"), dir.File("thumb.bmp"), "84x68"), 0);
    PackedDIB thumb = LoadBMPFile(dir.File("thumb.bmp").c_str());
    ASSERT_NE(thumb, nullptr);
    Image image = DibToImage(thumb);
    GlobalFreeHandle(thumb);
    EXPECT_EQ(image.width, 84);
    EXPECT_EQ(image.height, 55);
}

// ---- Thumbnail mode ----

TEST(LoadJPEG, ThumbnailOfLargeFileEqualsDjpegAtEachScale)
{
    // 1600 x 1050: both sides reach 300, so the thumbnail is the 1/8 decode.
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    ThumbnailDecodeMode = 1;
    PackedDIB dib = LoadJPEG(JpegRef("large.jpg").c_str());
    ThumbnailDecodeMode = 0;
    Image reference;
    ASSERT_TRUE(ReadNetpbm(JpegRef("large-1_8.pnm"), &reference));
    Difference d = Compare(DibToImage(dib), reference);
    GlobalFreeHandle(dib);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LE(d.maxDiff, 1) << d.Describe();
    EXPECT_EQ(LastJPEGHeaderSize.width, 1600);
    EXPECT_EQ(LastJPEGHeaderSize.height, 1050);
}

TEST(LoadJPEG, ThumbnailScaleIsChosenByTheSmallerSide)
{
    testpaths::TempDir dir;
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {150, 1000, 75, 500}, // under 200: half
        {99, 5000, 99, 5000}, // under 100: full size
        {300, 300, 38, 38},   // both at least 300: an eighth, rounded up
        {250, 900, 63, 225},  // under 300: a quarter
        {1000, 120, 500, 60}, // the height decides as the width does
        {100, 400, 50, 200},  // exactly 100: half
        {400, 100, 200, 50},  // exactly 100: half
        {200, 400, 50, 100},  // exactly 200: a quarter
        {400, 200, 100, 50},  // exactly 200: a quarter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        PackedDIB source = MakeTrueColorDib(c.width, c.height, BlockColor);
        const std::string path = dir.File("scale.jpg");
        ASSERT_EQ(SaveJPEG(source, path.c_str(), 80), 0);
        GlobalFreeHandle(source);
        ReaderStateGuard guard;
        g_CouleursJPEG = 0;
        ThumbnailDecodeMode = 1;
        PackedDIB dib = LoadJPEG(path.c_str());
        ThumbnailDecodeMode = 0;
        ASSERT_NE(dib, nullptr);
        const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
        EXPECT_EQ(DIBWidth(block), static_cast<DWORD>(c.expectedWidth));
        EXPECT_EQ(DIBHeight(block), static_cast<DWORD>(c.expectedHeight));
        GlobalUnlock(dib);
        GlobalFreeHandle(dib);
        EXPECT_EQ(LastJPEGHeaderSize.width, c.width);
        EXPECT_EQ(LastJPEGHeaderSize.height, c.height);
    }
}

TEST(LoadJPEG, ThumbnailOnEightBitScreenIsFullSizeEightBit)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 2;
    SetScreenBitsPerPixelForTest(8);
    ThumbnailDecodeMode = 1;
    PackedDIB dib = LoadJPEG(JpegRef("large.jpg").c_str());
    ThumbnailDecodeMode = 0;
    ASSERT_NE(dib, nullptr);
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(header->biBitCount, 8);
    EXPECT_EQ(header->biWidth, 1600);
    EXPECT_EQ(header->biHeight, 1050);
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

// ---- Output depth ----

TEST(LoadJPEG, CouleursJpegChoosesTheDepth)
{
    struct Case {
        int setting, screenBits, expectedBits;
    };
    const Case cases[] = {{0, 8, 24}, {1, 32, 8}, {2, 8, 8}, {2, 32, 24}, {2, 16, 24}, {2, 4, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE("setting " + std::to_string(c.setting) + ", screen " + std::to_string(c.screenBits));
        ReaderStateGuard guard;
        g_CouleursJPEG = c.setting;
        SetScreenBitsPerPixelForTest(c.screenBits);
        PackedDIB dib = LoadJPEG(TestImage("jpeg", "testorig.jpg").c_str());
        ASSERT_NE(dib, nullptr);
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        EXPECT_EQ(header->biBitCount, c.expectedBits);
        GlobalUnlock(dib);
        GlobalFreeHandle(dib);
    }
}

TEST(LoadJPEG, EightBitPathMatchesDjpegQuantiser)
{
    const char* const files[][2] = {{"testorig", "testorig-256.bmp"}, {"grey", "grey-256.bmp"}};
    for (const auto& f : files) {
        SCOPED_TRACE(f[0]);
        const std::string source =
            std::string(f[0]) == "testorig" ? TestImage("jpeg", "testorig.jpg") : JpegRef("grey.jpg");
        ReaderStateGuard guard;
        g_CouleursJPEG = 1;
        PackedDIB dib = LoadJPEG(source.c_str());
        ASSERT_NE(dib, nullptr);
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        EXPECT_EQ(header->biBitCount, 8);
        EXPECT_EQ(header->biClrUsed, 256u);
        GlobalUnlock(dib);
        PackedDIB reference = LoadBMPFile(JpegRef(f[1]).c_str());
        ASSERT_NE(reference, nullptr);
        Difference d = Compare(DibToImage(dib), DibToImage(reference));
        GlobalFreeHandle(dib);
        GlobalFreeHandle(reference);
        ASSERT_TRUE(d.sameSize);
        EXPECT_LE(d.maxDiff, 1) << d.Describe();
    }
}

TEST(LoadJPEG, EightBitGreyPictureHasGreyColourTable)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 1;
    PackedDIB dib = LoadJPEG(JpegRef("grey.jpg").c_str());
    ASSERT_NE(dib, nullptr);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    int distinct = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table[i].rgbRed, table[i].rgbGreen);
        EXPECT_EQ(table[i].rgbGreen, table[i].rgbBlue);
        if (table[i].rgbRed != 0)
            ++distinct;
    }
    EXPECT_GT(distinct, 100);
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

TEST(LoadJPEG, CmykOnEightBitPathIsReducedNotRefused)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 1;
    PackedDIB dib = LoadJPEG(JpegRef("cmyk.jpg").c_str());
    ASSERT_NE(dib, nullptr);
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(header->biBitCount, 8);
    GlobalUnlock(dib);
    Image reference;
    ASSERT_TRUE(ReadNetpbm(JpegRef("cmyk.pam"), &reference));
    Difference d = Compare(DibToImage(dib), reference);
    GlobalFreeHandle(dib);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanDiff, 40.0) << d.Describe(); // a 256-colour ramp, dithered
}

// ---- Gauge and switches ----

TEST(LoadJPEG, GaugeRunsOncePerLoadAndEndsAtTheLastRow)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    PackedDIB dib = LoadJPEG(TestImage("jpeg", "testorig.jpg").c_str());
    ASSERT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_GT(progress.sets, 0);
    EXPECT_EQ(progress.lastDone, 149u);
    EXPECT_EQ(progress.lastTotal, 149u);
}

TEST(LoadJPEG, ThumbnailModeShowsNoGaugeAndRestoresTheSwitch)
{
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    ThumbnailDecodeMode = 1;
    PackedDIB dib = LoadJPEG(TestImage("jpeg", "testorig.jpg").c_str());
    ThumbnailDecodeMode = 0;
    ASSERT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins + progress.sets + progress.ends, 0);
    EXPECT_EQ(g_bReportProgress, TRUE);
}

TEST(LoadJPEG, TextFileNamedJpgGivesNullAndEndsTheGauge)
{
    testpaths::TempDir dir;
    const std::string path = dir.File("notes.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(path, "Ceci n'est pas une image.\r\n"));
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    LastJPEGHeaderSize = {123, 456};
    EXPECT_EQ(LoadJPEG(path.c_str()), nullptr);
    EXPECT_EQ(progress.begins, progress.ends);
    EXPECT_EQ(g_bReportProgress, TRUE);
    // Not reset by a failure.
    EXPECT_EQ(LastJPEGHeaderSize.width, 123);
    EXPECT_EQ(LastJPEGHeaderSize.height, 456);
}

TEST(LoadJPEG, MissingFileGivesNullWithoutGauge)
{
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    EXPECT_EQ(LoadJPEG("Z:\\nowhere\\missing.jpg"), nullptr);
    EXPECT_EQ(LoadJPEG(nullptr), nullptr);
    EXPECT_EQ(progress.begins + progress.ends, 0);
}

TEST(LoadJPEG, TruncatedScanKeepsWhatWasDecoded)
{
    // The library fills the missing part and warns: the picture is still shown, as viewers do.
    std::string bytes = FileBytes(TestImage("jpeg", "testorig.jpg"));
    ASSERT_GT(bytes.size(), 2000u);
    testpaths::TempDir dir;
    const std::string path = dir.File("cut.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(path, bytes.substr(0, bytes.size() * 2 / 3)));
    Image cut = Load24(path);
    Image whole = Load24(TestImage("jpeg", "testorig.jpg"));
    ASSERT_EQ(cut.width, 227);
    ASSERT_EQ(cut.height, 149);
    // The top rows are the same as in the whole file.
    for (int x = 0; x < cut.width; ++x)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(cut.At(x, 0)[c], whole.At(x, 0)[c]);
}

// ---- Writing ----

TEST(SaveJPEG, RoundTripsOneFourEightAndTwentyFourBits)
{
    testpaths::TempDir dir;
    std::vector<RGBQUAD> colors;
    for (int i = 0; i < 256; ++i)
        colors.push_back(RGBQUAD{BYTE(i * 7), BYTE(255 - i), BYTE(i * 13), 0});
    colors[0] = RGBQUAD{255, 0, 0, 0}; // blue
    colors[1] = RGBQUAD{0, 0, 255, 0}; // red
    struct Case {
        WORD bits;
        PackedDIB dib;
    };
    const Case cases[] = {
        {1, MakeIndexedDib(64, 48, 1, colors, BlockIndex2)},
        {4, MakeIndexedDib(80, 48, 4, colors, BlockIndex16)},
        {8, MakeIndexedDib(96, 64, 8, colors, BlockIndex256)},
        {24, MakeTrueColorDib(96, 48, BlockColor)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits");
        const std::string path = dir.File("round" + std::to_string(c.bits) + ".jpg");
        ASSERT_EQ(SaveJPEG(c.dib, path.c_str(), 100), 0);
        Image expected = DibToImage(c.dib);
        Image actual = Load24(path);
        ASSERT_EQ(actual.width, expected.width);
        ASSERT_EQ(actual.height, expected.height);
        EXPECT_LE(MaxInnerBlockDifference(actual, expected), 6);
        GlobalFreeHandle(c.dib);
    }
}

TEST(SaveJPEG, OneBitPictureKeepsItsColourTable)
{
    testpaths::TempDir dir;
    // Red and blue, not black and white.
    PackedDIB dib = MakeIndexedDib(32, 32, 1, {RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}}, BlockIndex2);
    const std::string path = dir.File("redblue.jpg");
    ASSERT_EQ(SaveJPEG(dib, path.c_str(), 100), 0);
    GlobalFreeHandle(dib);
    Image image = Load24(path);
    ASSERT_EQ(image.width, 32);
    const uint16_t* red = image.At(5, 5);
    const uint16_t* blue = image.At(21, 5);
    EXPECT_GT(red[0], 240);
    EXPECT_LT(red[2], 20);
    EXPECT_GT(blue[2], 240);
    EXPECT_LT(blue[0], 20);
}

TEST(SaveJPEG, TopRowIsWrittenFirstAndWidthOneWorks)
{
    testpaths::TempDir dir;
    PackedDIB dib =
        MakeTrueColorDib(1, 32, [](int, int y, BYTE* rgb) { rgb[0] = rgb[1] = rgb[2] = y < 16 ? 255 : 0; });
    const std::string path = dir.File("column.jpg");
    ASSERT_EQ(SaveJPEG(dib, path.c_str(), 95), 0);
    GlobalFreeHandle(dib);
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    PackedDIB loaded = LoadJPEG(path.c_str());
    ASSERT_NE(loaded, nullptr);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(loaded));
    EXPECT_EQ(DIBWidth(block), 1u);
    EXPECT_EQ(GlobalSize(loaded) >= sizeof(BITMAPINFOHEADER) + 4 * 32, true); // 4-byte rows
    GlobalUnlock(loaded);
    Image image = DibToImage(loaded);
    GlobalFreeHandle(loaded);
    EXPECT_GT(image.At(0, 2)[0], 230); // top: white
    EXPECT_LT(image.At(0, 29)[0], 25); // bottom: black
}

TEST(SaveJPEG, DecodesLikeCjpegAtTheSameQuality)
{
    PackedDIB picture = LoadBMPFile(TestImage("jpeg", "vgl_6548_0026a.bmp").c_str());
    ASSERT_NE(picture, nullptr);
    testpaths::TempDir dir;
    for (int quality : {50, 90}) {
        SCOPED_TRACE(quality);
        const std::string path = dir.File("vgl.jpg");
        ASSERT_EQ(SaveJPEG(picture, path.c_str(), quality), 0);
        Difference d = Compare(Load24(path), Load24(JpegRef("vgl-q" + std::to_string(quality) + ".jpg")));
        ASSERT_TRUE(d.sameSize);
        EXPECT_EQ(d.maxDiff, 0) << d.Describe();
    }
    GlobalFreeHandle(picture);
}

TEST(SaveJPEG, UnsupportedDepthsGiveThreeAndLeaveExistingFile)
{
    testpaths::TempDir dir;
    const std::string path = dir.File("KEEP.JPG");
    ASSERT_TRUE(testpaths::WriteBytes(path, "previous contents"));
    for (WORD bits : {16, 32}) {
        PackedDIB dib = CreateDIB(8, 8, bits);
        EXPECT_EQ(SaveJPEG(dib, path.c_str(), 80), 3);
        GlobalFreeHandle(dib);
    }
    EXPECT_EQ(SaveJPEG(nullptr, path.c_str(), 80), 3);
    EXPECT_EQ(FileBytes(path), "previous contents");
    EXPECT_EQ(OnlyEntryName(dir.Path()), "KEEP.JPG");
    // A path longer than the system allows is refused without touching anything.
    PackedDIB dib = CreateDIB(8, 8, 24);
    EXPECT_EQ(SaveJPEG(dib, (dir.Path() + "\\" + std::string(300, 'a') + ".jpg").c_str(), 80), 3);
    GlobalFreeHandle(dib);
}

TEST(SaveJPEG, FileTakesTheNameAsTyped)
{
    testpaths::TempDir dir;
    PackedDIB dib = MakeTrueColorDib(16, 16, BlockColor);
    ASSERT_EQ(SaveJPEG(dib, dir.File("Chat\xE9.jpg").c_str(), 80), 0);
    GlobalFreeHandle(dib);
    EXPECT_EQ(OnlyEntryName(dir.Path()), "Chat\xE9.jpg");
}

TEST(SaveJPEG, IndexPastTheColourTableIsWrittenBlack)
{
    testpaths::TempDir dir;
    // An 8-bit picture with a 2-entry table (biClrUsed 2): index 200 lies past it.
    const int width = 32, height = 32;
    const DWORD rowBytes = DIBRowBytes(width, 8);
    PackedDIB dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + rowBytes * height);
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 8;
    header->biClrUsed = 2;
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    table[0] = table[1] = RGBQUAD{255, 255, 255, 0};
    BYTE* rows = block + sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y * rowBytes + x] = x < 16 ? 1 : 200;
    GlobalUnlock(dib);
    const std::string path = dir.File("past.jpg");
    ASSERT_EQ(SaveJPEG(dib, path.c_str(), 100), 0);
    GlobalFreeHandle(dib);
    Image image = Load24(path);
    ASSERT_EQ(image.width, width);
    EXPECT_GT(image.At(4, 4)[0], 240);
    EXPECT_LT(image.At(28, 4)[0], 15);
}

TEST(SaveJPEG, GaugeRunsOnceWhileWriting)
{
    testpaths::TempDir dir;
    PackedDIB dib = MakeTrueColorDib(40, 30, BlockColor);
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    EXPECT_EQ(SaveJPEG(dib, dir.File("g.jpg").c_str(), 75), 0);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.lastDone, 30u);
    EXPECT_EQ(progress.lastTotal, 30u);
}

TEST(SaveJPEG, MissingFolderAsksAndIgnoreGivesOne)
{
    testpaths::TempDir dir;
    PackedDIB dib = MakeTrueColorDib(16, 16, BlockColor);
    MessageBoxAnswerer answers({IDIGNORE});
    EXPECT_EQ(SaveJPEG(dib, dir.File("absent\\x.jpg").c_str(), 80), 1);
    EXPECT_EQ(answers.Asked(), 1);
    GlobalFreeHandle(dib);
}

TEST(SaveJPEG, MissingFolderAsksAndAbortGivesTwo)
{
    testpaths::TempDir dir;
    PackedDIB dib = MakeTrueColorDib(16, 16, BlockColor);
    MessageBoxAnswerer answers({IDABORT});
    EXPECT_EQ(SaveJPEG(dib, dir.File("absent\\x.jpg").c_str(), 80), 2);
    EXPECT_EQ(answers.Asked(), 1);
    GlobalFreeHandle(dib);
}

TEST(SaveJPEG, RetryAfterTheFolderAppearsWritesTheFile)
{
    testpaths::TempDir dir;
    PackedDIB dib = MakeTrueColorDib(16, 16, BlockColor);
    g_folderToCreate = dir.File("LATER");
    MessageBoxAnswerer answers({IDRETRY}, CreatePendingFolder);
    EXPECT_EQ(SaveJPEG(dib, dir.File("later\\x.jpg").c_str(), 80), 0);
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_EQ(OnlyEntryName(dir.File("LATER")), "x.jpg");
    GlobalFreeHandle(dib);
}

TEST(SaveJPEG, FailedReplaceLeavesTargetAndNoTemporaryFile)
{
    testpaths::TempDir dir;
    // The target is a folder: the file is written beside it but cannot take its place.
    ASSERT_TRUE(CreateDirectoryA(dir.File("PHOTO.JPG").c_str(), nullptr));
    PackedDIB dib = MakeTrueColorDib(16, 16, BlockColor);
    EXPECT_EQ(SaveJPEG(dib, dir.File("photo.jpg").c_str(), 80), 4);
    GlobalFreeHandle(dib);
    EXPECT_EQ(OnlyEntryName(dir.Path()), "PHOTO.JPG");
    EXPECT_NE(GetFileAttributesA(dir.File("PHOTO.JPG").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}
