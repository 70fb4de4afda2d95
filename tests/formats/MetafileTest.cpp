// The metafile reader: enhanced, placeable and plain metafiles drawn with GDI or built here, the
// sizes they are played at, and the checks that keep malformed ones away from the player.
#include "formats/FormatMeta.h"

#include "core/BmpFile.h"
#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "core/ReaderSettings.h"
#include "formats/Readers.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace owntest;

namespace {

// An enhanced metafile built byte by byte: a reference device of 1000 x 1000 pixels on 100 x 100
// mm, so the frame in 0.01 mm is ten times the picture's size in pixels.
std::string Emf(int framePixelsX, int framePixelsY, const std::string& records, int handles = 2)
{
    std::string h;
    PutU32LE(h, EMR_HEADER);
    PutU32LE(h, 108);
    for (int i = 0; i < 4; ++i)
        PutU32LE(h, 0); // bounds
    PutU32LE(h, 0);
    PutU32LE(h, 0);
    PutU32LE(h, static_cast<uint32_t>(framePixelsX * 10));
    PutU32LE(h, static_cast<uint32_t>(framePixelsY * 10));
    PutU32LE(h, ENHMETA_SIGNATURE);
    PutU32LE(h, 0x10000);
    PutU32LE(h, 0); // bytes, set below
    PutU32LE(h, 0); // records, set below
    PutU16LE(h, handles);
    PutU16LE(h, 0);
    PutU32LE(h, 0);
    PutU32LE(h, 0);
    PutU32LE(h, 0); // palette entries
    PutU32LE(h, 1000);
    PutU32LE(h, 1000);
    PutU32LE(h, 100);
    PutU32LE(h, 100);
    PutU32LE(h, 0);
    PutU32LE(h, 0);
    PutU32LE(h, 0);
    PutU32LE(h, 100000);
    PutU32LE(h, 100000);
    std::string eof;
    PutU32LE(eof, EMR_EOF);
    PutU32LE(eof, 20);
    PutU32LE(eof, 0);
    PutU32LE(eof, 16);
    PutU32LE(eof, 20);
    std::string all = h + records + eof;
    SetU32LE(all, 48, static_cast<uint32_t>(all.size()));
    SetU32LE(all, 52, 3);
    return all;
}

std::string Record(uint32_t type, const std::vector<uint32_t>& fields)
{
    std::string r;
    PutU32LE(r, type);
    PutU32LE(r, static_cast<uint32_t>(8 + 4 * fields.size()));
    for (uint32_t f : fields)
        PutU32LE(r, f);
    return r;
}

// A black rectangle over the left half of a w x h picture, with no outline.
std::string LeftHalfBlack(int w, int h)
{
    return Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, 0x000000, 0}) + Record(EMR_SELECTOBJECT, {1})
           + Record(EMR_SELECTOBJECT, {0x80000000u | NULL_PEN})
           + Record(EMR_RECTANGLE, {0, 0, static_cast<uint32_t>(w / 2), static_cast<uint32_t>(h + 1)});
}

PackedDIB Decode(const std::string& bytes) { return DecodeMetafile(bytes.data(), bytes.size()); }

// Restores the metafile settings and the thumbnail flag a test changes.
struct SettingsGuard {
    int cx = g_DefaultWmfCX, cy = g_DefaultWmfCY, thumb = ThumbnailDecodeMode;
    ~SettingsGuard()
    {
        g_DefaultWmfCX = cx;
        g_DefaultWmfCY = cy;
        ThumbnailDecodeMode = thumb;
    }
};

std::string MetafileBits(HMETAFILE mf)
{
    const UINT n = GetMetaFileBitsEx(mf, 0, nullptr);
    std::string bits(n, '\0');
    GetMetaFileBitsEx(mf, n, &bits[0]);
    DeleteMetaFile(mf);
    return bits;
}

// A Windows metafile drawn with GDI: a black filled rectangle in the top-left quarter of a
// 2880 x 1440 box.
std::string DrawnWindowsMetafile()
{
    HDC dc = CreateMetaFileA(nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 2880, 1440, nullptr);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, 1441, 721);
    return MetafileBits(CloseMetaFile(dc));
}

std::string Placeable(const std::string& wmf, int inch = 1440, bool goodChecksum = true)
{
    std::string h;
    PutU32LE(h, 0x9AC6CDD7);
    PutU16LE(h, 0);
    PutU16LE(h, 0);
    PutU16LE(h, 0);
    PutU16LE(h, 2880);
    PutU16LE(h, 1440);
    PutU16LE(h, inch);
    PutU32LE(h, 0);
    unsigned sum = 0;
    for (size_t i = 0; i < h.size(); i += 2)
        sum ^= uint8_t(h[i]) | (uint8_t(h[i + 1]) << 8);
    PutU16LE(h, goodChecksum ? sum : sum ^ 0x5555);
    return h + wmf;
}

bool IsBlack(const uint16_t* p) { return p[0] < 40 && p[1] < 40 && p[2] < 40; }
bool IsWhite(const uint16_t* p) { return p[0] > 215 && p[1] > 215 && p[2] > 215; }

} // namespace

TEST(FormatMeta, FitsIntoTheDefaultSizeKeepingTheProportions)
{
    int w = 320, h = 100;
    FitMetafileSize(&w, &h, 640, 480);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 200);
    w = 100, h = 400;
    FitMetafileSize(&w, &h, 640, 480);
    EXPECT_EQ(w, 120);
    EXPECT_EQ(h, 480);
    w = 2000, h = 1500;
    FitMetafileSize(&w, &h, 640, 480);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    w = 5000, h = 1;
    FitMetafileSize(&w, &h, 640, 480);
    EXPECT_EQ(h, 1); // never 0
}

TEST(FormatMeta, EnhancedMetafilesPlayAtTheFittedSizeOnWhite)
{
    SettingsGuard guard;
    g_DefaultWmfCX = 640;
    g_DefaultWmfCY = 480;
    ThumbnailDecodeMode = 0;
    struct Case {
        int w, h, expectW, expectH;
    } cases[] = {{320, 100, 640, 200}, {100, 400, 120, 480}, {2000, 1500, 640, 480}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        DibHolder dib(Decode(Emf(c.w, c.h, LeftHalfBlack(c.w, c.h))));
        ASSERT_TRUE(dib);
        const DibShape s = ShapeOf(dib.Get());
        EXPECT_EQ(s.width, c.expectW);
        EXPECT_EQ(s.height, c.expectH);
        const Image img = DibToImage(dib.Get());
        ASSERT_FALSE(img.Empty());
        EXPECT_TRUE(IsBlack(img.At(c.expectW / 4, c.expectH / 2)));
        EXPECT_TRUE(IsWhite(img.At(c.expectW * 3 / 4, c.expectH / 2)));
    }
}

TEST(FormatMeta, ThumbnailsKeepTheMetafilesOwnSize)
{
    SettingsGuard guard;
    ThumbnailDecodeMode = 1;
    DibHolder dib(Decode(Emf(2000, 1500, LeftHalfBlack(2000, 1500))));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).width, 2000);
    EXPECT_EQ(ShapeOf(dib.Get()).height, 1500);
    DibHolder huge(Decode(Emf(20000, 500, "")));
    ASSERT_TRUE(huge);
    EXPECT_EQ(ShapeOf(huge.Get()).width, 4096);
    EXPECT_EQ(ShapeOf(huge.Get()).height, 102);
}

TEST(FormatMeta, OutOfRangeSettingsFallBackToTheDefaults)
{
    SettingsGuard guard;
    ThumbnailDecodeMode = 0;
    g_DefaultWmfCX = 0;
    g_DefaultWmfCY = 100000;
    DibHolder dib(Decode(Emf(320, 100, "")));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).width, 640);
    EXPECT_EQ(ShapeOf(dib.Get()).height, 200);
    g_DefaultWmfCX = 200;
    g_DefaultWmfCY = 300;
    DibHolder custom(Decode(Emf(320, 100, "")));
    ASSERT_TRUE(custom);
    EXPECT_EQ(ShapeOf(custom.Get()).width, 200);
    EXPECT_EQ(ShapeOf(custom.Get()).height, 62);
}

TEST(FormatMeta, EnhancedContentInAWmfFileIsReadAsEnhanced)
{
    SettingsGuard guard;
    ThumbnailDecodeMode = 0;
    testpaths::TempDir dir;
    // Drawn with GDI into a file named .wmf.
    const std::string path = dir.File("drawn.wmf");
    const RECT frame = {0, 0, 4000, 2000};
    HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
    ASSERT_NE(dc, nullptr);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 0, 0, 10, 10);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    const std::string bytes = testpaths::ReadBytes(path);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(40, 4), " EMF");
    EXPECT_TRUE(CheckEnhancedMetafile(bytes.data(), bytes.size()));
    HENHMETAFILE handle = OpenMetafileHandle(path.c_str());
    ASSERT_NE(handle, nullptr);
    int w = EMFWidthPixels(handle), h = EMFHeightPixels(handle);
    DeleteEnhMetaFile(handle);
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    FitMetafileSize(&w, &h, g_DefaultWmfCX, g_DefaultWmfCY);
    InstallPictureReaders();
    ASSERT_EQ(GetPictureReader(kFileTypeWMF), &LoadMetafile);
    DibHolder dib(GetPictureReader(kFileTypeWMF)(path.c_str()));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).width, w);
    EXPECT_EQ(ShapeOf(dib.Get()).height, h);
}

TEST(FormatMeta, PlaceableMetafilesGetExtentsFromTheirBoxAndUnits)
{
    const std::string file = Placeable(DrawnWindowsMetafile());
    HENHMETAFILE handle = PlaceableWMFToEMF(file.data(), file.size());
    ASSERT_NE(handle, nullptr);
    ENHMETAHEADER h;
    ASSERT_GE(GetEnhMetaFileHeader(handle, sizeof(h), &h), 88u);
    EXPECT_NEAR(h.rclFrame.right - h.rclFrame.left, 5080, 2);
    EXPECT_NEAR(h.rclFrame.bottom - h.rclFrame.top, 2540, 2);
    DeleteEnhMetaFile(handle);
}

TEST(FormatMeta, PlaceableMetafilesPlayWithTheirDrawingInPlace)
{
    SettingsGuard guard;
    ThumbnailDecodeMode = 0;
    for (bool goodChecksum : {true, false}) {
        SCOPED_TRACE(goodChecksum ? "good checksum" : "wrong checksum");
        testpaths::TempDir dir;
        ASSERT_TRUE(
            testpaths::WriteBytes(dir.File("p.wmf"), Placeable(DrawnWindowsMetafile(), 1440, goodChecksum)));
        DibHolder dib(LoadMetafile(dir.File("p.wmf").c_str()));
        ASSERT_TRUE(dib);
        const DibShape s = ShapeOf(dib.Get());
        EXPECT_EQ(s.width, 640);
        EXPECT_NEAR(s.height, 320, 2);
        const Image img = DibToImage(dib.Get());
        ASSERT_FALSE(img.Empty());
        EXPECT_TRUE(IsBlack(img.At(s.width / 4, s.height / 4)));
        EXPECT_TRUE(IsWhite(img.At(s.width * 3 / 4, s.height / 4)));
        EXPECT_TRUE(IsWhite(img.At(s.width / 4, s.height * 3 / 4)));
    }
}

TEST(FormatMeta, PlainWindowsMetafilesLoad)
{
    SettingsGuard guard;
    ThumbnailDecodeMode = 0;
    const std::string wmf = DrawnWindowsMetafile();
    EXPECT_TRUE(CheckWindowsMetafile(wmf.data(), wmf.size()));
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("plain.wmf"), wmf));
    DibHolder dib(LoadMetafile(dir.File("plain.wmf").c_str()));
    ASSERT_TRUE(dib);
    const DibShape s = ShapeOf(dib.Get());
    EXPECT_TRUE(s.width == 640 || s.height == 480) << s.width << "x" << s.height;
}

TEST(FormatMeta, RefusesFilesThatAreNotMetafilesOrLieAboutTheirSize)
{
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("empty.wmf"), ""));
    EXPECT_FALSE(LoadMetafile(dir.File("empty.wmf").c_str()));
    EXPECT_FALSE(LoadMetafile(dir.File("missing.wmf").c_str()));
    for (const std::string& bad : {std::string("0123456789"), std::string(300, '\x5A')}) {
        DibHolder dib(Decode(bad));
        EXPECT_FALSE(dib);
    }
    // A placeable header whose metafile claims 4 GB.
    std::string inflated = Placeable(DrawnWindowsMetafile());
    SetU32LE(inflated, 22 + 6, 0x7FFFFFFF);
    EXPECT_FALSE(PlaceableWMFToEMF(inflated.data(), inflated.size()));
    DibHolder dib(Decode(inflated));
    EXPECT_FALSE(dib);
    std::string noUnits = Placeable(DrawnWindowsMetafile(), 0);
    EXPECT_FALSE(PlaceableWMFToEMF(noUnits.data(), noUnits.size()));
}

TEST(FormatMeta, RefusesEmptyFramesAndDevicesWithoutMillimetres)
{
    std::string zeroMillimetres = Emf(320, 100, "");
    SetU32LE(zeroMillimetres, 80, 0);
    std::string zeroFrame = Emf(0, 100, "");
    std::string negativeFrame = Emf(320, 100, "");
    SetU32LE(negativeFrame, 24, 5000); // left beyond right
    for (const std::string& bad : {zeroMillimetres, zeroFrame, negativeFrame}) {
        DibHolder dib(Decode(bad));
        EXPECT_FALSE(dib);
    }
}

TEST(FormatMeta, ChecksKeepMalformedRecordsFromThePlayer)
{
    const std::string good = Emf(10, 10, LeftHalfBlack(10, 10));
    EXPECT_TRUE(CheckEnhancedMetafile(good.data(), good.size()));
    // An object index beyond the handle table.
    std::string index = Emf(10, 10, Record(EMR_CREATEPEN, {7, 0, 1, 0, 0}), 2);
    // A record of size 0 would make the player go round for ever.
    std::string zeroSize = good;
    SetU32LE(zeroSize, 108 + 4, 0);
    // A polyline with more points than its record holds.
    std::string points = Emf(10, 10, Record(EMR_POLYLINE16, {0, 0, 0, 0, 1000, 0x00010001}));
    // Text whose characters lie past the record.
    std::string text =
        Emf(10, 10, Record(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 0, 0, 50, 76, 0, 0, 0, 0, 0, 0}));
    // A bitmap whose rows need more bytes than the record has.
    std::string bitmap =
        Emf(10, 10, Record(EMR_STRETCHDIBITS, {0,  0,   0, 0, 0,        0,  0,  0,  0,   0,   80,
                                               40, 120, 4, 0, 0xCC0020, 10, 10, 40, 100, 100, 1 | (24u << 16),
                                               0,  0,   0, 0, 0,        0,  0}));
    // No end record.
    std::string noEnd = good.substr(0, good.size() - 20);
    SetU32LE(noEnd, 48, static_cast<uint32_t>(noEnd.size()));
    // The header claims more bytes than there are.
    std::string longer = good;
    SetU32LE(longer, 48, static_cast<uint32_t>(good.size() + 64));
    for (const std::string& bad : {index, zeroSize, points, text, bitmap, noEnd, longer}) {
        EXPECT_FALSE(CheckEnhancedMetafile(bad.data(), bad.size()));
        DibHolder dib(Decode(bad));
        EXPECT_FALSE(dib);
    }
}

TEST(FormatMeta, WindowsMetafileChecksFollowEveryCountAndIndex)
{
    const std::string good = DrawnWindowsMetafile();
    ASSERT_TRUE(CheckWindowsMetafile(good.data(), good.size()));
    std::string selectBeyond = good;
    // Find the first SELECTOBJECT record and point it past the object table.
    size_t at = 18;
    while (at + 6 <= selectBeyond.size()) {
        const uint32_t words =
            uint8_t(good[at]) | (uint8_t(good[at + 1]) << 8) | (uint8_t(good[at + 2]) << 16);
        const unsigned function = uint8_t(good[at + 4]) | (uint8_t(good[at + 5]) << 8);
        if (function == META_SELECTOBJECT) {
            SetU16LE(selectBeyond, at + 6, 500);
            break;
        }
        if (words < 3)
            break;
        at += words * 2;
    }
    ASSERT_LT(at + 6, selectBeyond.size()) << "the drawing selects objects";
    EXPECT_FALSE(CheckWindowsMetafile(selectBeyond.data(), selectBeyond.size()));
    std::string longer = good;
    SetU32LE(longer, 6, static_cast<uint32_t>(good.size() / 2 + 10));
    EXPECT_FALSE(CheckWindowsMetafile(longer.data(), longer.size()));
    std::string zeroRecord = good;
    SetU32LE(zeroRecord, 18, 0);
    EXPECT_FALSE(CheckWindowsMetafile(zeroRecord.data(), zeroRecord.size()));
}

TEST(FormatMeta, APlaceableMetafileConvertsThroughPicconv)
{
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("drawn.wmf"), Placeable(DrawnWindowsMetafile())));
    ASSERT_EQ(RunPicconv(dir.File("drawn.wmf"), dir.File("drawn.bmp")), 0);
    DibHolder dib(LoadBMPFile(dir.File("drawn.bmp").c_str()));
    const Image img = DibToImage(dib.Get());
    ASSERT_FALSE(img.Empty());
    EXPECT_EQ(img.width, 640);
    EXPECT_NEAR(img.height, 320, 2);
    EXPECT_TRUE(IsBlack(img.At(img.width / 4, img.height / 4)));
    EXPECT_TRUE(IsWhite(img.At(img.width * 3 / 4, img.height * 3 / 4)));
}
