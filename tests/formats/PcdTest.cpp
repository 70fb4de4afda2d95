// The PhotoCD reader: files written by ImageMagick at each resolution, and files built here for the
// orientation, colour conversion, upsampling and 4Base luma residual rules.
#include "formats/FormatPcd.h"

#include "core/BmpFile.h"
#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "core/ReaderSettings.h"
#include "formats/Readers.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace owntest;

namespace {

const size_t kSector = 2048;

typedef std::function<int(int x, int y)> PlaneFn;

// Writes a picture of w x h in the interleaved layout from sector `first`.
void PutPicture(std::string& file, size_t first, int w, int h, const PlaneFn& luma, const PlaneFn& c1,
                const PlaneFn& c2)
{
    std::string data;
    for (int y = 0; y < h; y += 2) {
        for (int r = 0; r < 2; ++r)
            for (int x = 0; x < w; ++x)
                PutU8(data, luma(x, y + r));
        for (int x = 0; x < w / 2; ++x)
            PutU8(data, c1(x, y / 2));
        for (int x = 0; x < w / 2; ++x)
            PutU8(data, c2(x, y / 2));
    }
    if (file.size() < first * kSector + data.size())
        file.resize(first * kSector + data.size(), '\0');
    file.replace(first * kSector, data.size(), data);
}

// An image pack whose three pictures have the given planes (chroma functions take chroma
// coordinates), and the orientation bits at byte 1538 of sector 1.
std::string MakePcd(int orientationBits, const PlaneFn& luma, const PlaneFn& c1, const PlaneFn& c2)
{
    std::string file(2 * kSector, '\0');
    file.replace(kSector, 7, "PCD_IPI");
    file[kSector + 1538] = static_cast<char>(orientationBits);
    PutPicture(file, 4, 192, 128, luma, c1, c2);
    PutPicture(file, 23, 384, 256, luma, c1, c2);
    PutPicture(file, 96, 768, 512, luma, c1, c2);
    return file;
}

PlaneFn Constant(int v)
{
    return [v](int, int) { return v; };
}

class BitWriter {
public:
    void Put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            m_acc = static_cast<uint8_t>((m_acc << 1) | ((value >> i) & 1));
            if (++m_count == 8) {
                m_bytes.push_back(static_cast<char>(m_acc));
                m_count = 0;
            }
        }
    }
    void Sync() { Put(0xFFFFFE, 24); }
    void Row(int plane, int row)
    {
        Sync();
        Put((uint32_t(plane) << 14) | (uint32_t(row) << 1), 16);
    }
    std::string Bytes()
    {
        std::string out = m_bytes;
        if (m_count)
            out.push_back(static_cast<char>(m_acc << (8 - m_count)));
        return out;
    }

private:
    std::string m_bytes;
    uint8_t m_acc = 0;
    int m_count = 0;
};

// Codes of the test table: "0" adds 0, "10" adds 8, "110" subtracts 8.
void Code(BitWriter& w, int delta)
{
    if (delta == 0)
        w.Put(0, 1);
    else if (delta == 8)
        w.Put(2, 2);
    else
        w.Put(6, 3);
}

std::string HuffmanTable()
{
    std::string t;
    PutU8(t, 2); // three entries
    const int entries[3][3] = {{1, 0x0000, 0}, {2, 0x8000, 8}, {3, 0xC000, -8}};
    for (const auto& e : entries) {
        PutU8(t, e[0] - 1);
        PutU16BE(t, e[1]);
        PutU8(t, e[2] & 255);
    }
    return t;
}

void PutSector(std::string& file, size_t sector, const std::string& data)
{
    if (file.size() < sector * kSector + data.size())
        file.resize(sector * kSector + data.size(), '\0');
    file.replace(sector * kSector, data.size(), data);
}

PackedDIB Decode(const std::string& file, int size) { return DecodePCD(file.data(), file.size(), size); }

const uint16_t* PixelAt(const Image& img, int x, int y) { return img.At(x, y); }

// The conversion written out from its definition, for comparison.
void ExpectedRgb(int y, int c1, int c2, int* r, int* g, int* b)
{
    auto clamp = [](int v) {
        v >>= 8;
        return (v < 0 ? 0 : v > 1023 ? 1023 : v) / 4;
    };
    *r = clamp(1391 * y + 1865 * c2 - 255023);
    *g = clamp(1391 * y - 441 * c1 - 949 * c2 + 199313);
    *b = clamp(1391 * y + 2271 * c1 - 353784);
}

struct SettingGuard {
    int size = g_PhotoCDSize;
    ~SettingGuard() { g_PhotoCDSize = size; }
};

} // namespace

TEST(FormatPcd, ImageMagickFilesDecodeToTheirSourceAtEachResolution)
{
    // ImageMagick's writer does not scale luma and chroma as Kodak's PhotoYCC does, so the colours
    // come out through a fixed transform of the source's: the pixels must follow that transform
    // closely (rows, chroma placement, orientation and resolution all right), and the transform
    // must keep each channel on itself.
    const auto entries = ReadManifest("PCD");
    ASSERT_GE(entries.size(), 12u) << "reference files missing: scripts/test.sh prepares them";
    SettingGuard guard;
    for (const ManifestEntry& e : entries) {
        SCOPED_TRACE(e.reference);
        Image reference;
        ASSERT_TRUE(ReadNetpbm(e.reference, &reference, 255));
        const int longer = reference.width > reference.height ? reference.width : reference.height;
        g_PhotoCDSize = longer == 192 ? 0 : longer == 384 ? 1 : longer == 768 ? 2 : 3;
        DibHolder dib(LoadPCD(e.file.c_str()));
        ASSERT_TRUE(dib);
        const Image decoded = DibToImage(dib.Get());
        ASSERT_FALSE(decoded.Empty());
        ASSERT_EQ(decoded.width, reference.width);
        ASSERT_EQ(decoded.height, reference.height);
        const ColourFit fit = FitColours(reference, decoded);
        // The smallest pictures differ most between ImageMagick's resizing and the reference's.
        const bool small = longer == 192;
        EXPECT_LT(fit.meanResidual, small ? 3.0 : 2.0);
        EXPECT_LT(fit.p99Residual, small ? 12.0 : 8.0);
        const bool grey = e.file.find("grey") != std::string::npos;
        for (int ch = 0; ch < 3 && !grey; ++ch) {
            EXPECT_GT(fit.coef[ch][ch], 1.0) << ch;
            for (int other = 0; other < 3; ++other) {
                if (other != ch) {
                    EXPECT_GT(fit.coef[ch][ch], 3 * std::abs(fit.coef[ch][other])) << ch << " from " << other;
                }
            }
        }
        if (grey) {
            // A grey source stays grey and keeps its order of light and dark.
            int worst = 0;
            for (size_t i = 0; i + 2 < decoded.samples.size(); i += 4) {
                const int r = decoded.samples[i], g = decoded.samples[i + 1], b = decoded.samples[i + 2];
                worst = std::max(worst, std::abs(r - g));
                worst = std::max(worst, std::abs(g - b));
            }
            EXPECT_LE(worst, 3);
            const int y = decoded.height / 2, right = decoded.width - 3;
            EXPECT_EQ(decoded.At(2, y)[1] < decoded.At(right, y)[1],
                      reference.At(2, y)[1] < reference.At(right, y)[1]);
        }
    }
}

TEST(FormatPcd, TheSettingChoosesTheResolution)
{
    const std::string file = MakePcd(0, Constant(120), Constant(140), Constant(150));
    struct Case {
        int setting, width, height;
    } cases[] = {{0, 192, 128}, {1, 384, 256}, {2, 768, 512}, {3, 1536, 1024}, {7, 768, 512}, {-1, 768, 512}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        DibHolder dib(Decode(file, c.setting));
        ASSERT_TRUE(dib);
        const DibShape s = ShapeOf(dib.Get());
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
        EXPECT_EQ(s.bits, 24);
    }
}

TEST(FormatPcd, OrientationTurnsThePicture)
{
    // A bright luma block in the top-left corner of the stored picture.
    const PlaneFn luma = [](int x, int y) { return (x < 16 && y < 16) ? 250 : 20; };
    struct Case {
        int bits, width, height, cornerX, cornerY;
    } cases[] = {
        {0, 192, 128, 0, 0},     // as stored
        {1, 128, 192, 0, 191},   // a quarter counter-clockwise: top-left goes to bottom-left
        {2, 192, 128, 191, 127}, // half a turn
        {3, 128, 192, 127, 0},   // a quarter clockwise: top-left goes to top-right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const std::string file = MakePcd(c.bits, luma, Constant(156), Constant(137));
        EXPECT_EQ(PcdReadOrientation(file.data(), file.size()), c.bits == 0   ? 1
                                                                : c.bits == 1 ? 3
                                                                : c.bits == 2 ? 4
                                                                              : 2);
        DibHolder dib(Decode(file, 0));
        ASSERT_TRUE(dib);
        const Image img = DibToImage(dib.Get());
        ASSERT_FALSE(img.Empty());
        ASSERT_EQ(img.width, c.width);
        ASSERT_EQ(img.height, c.height);
        EXPECT_GT(PixelAt(img, c.cornerX, c.cornerY)[1], 200);
        EXPECT_LT(PixelAt(img, c.width - 1 - c.cornerX, c.height - 1 - c.cornerY)[1], 60);
    }
}

TEST(FormatPcd, ColourConversionFollowsThePhotoYccFormula)
{
    BYTE r, g, b;
    PcdYccPixelToRgb(0, 0, 0, &r, &g, &b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 194);
    EXPECT_EQ(b, 0);
    const int samples[][3] = {
        {255, 255, 255}, {128, 156, 137}, {60, 200, 30}, {200, 10, 250}, {30, 100, 100}};
    for (const auto& s : samples) {
        int er, eg, eb;
        ExpectedRgb(s[0], s[1], s[2], &er, &eg, &eb);
        PcdYccPixelToRgb(BYTE(s[0]), BYTE(s[1]), BYTE(s[2]), &r, &g, &b);
        EXPECT_EQ(r, er);
        EXPECT_EQ(g, eg);
        EXPECT_EQ(b, eb);
    }
}

TEST(FormatPcd, UpsamplingAveragesNeighboursAndRepeatsTheLastRowAndColumn)
{
    PcdPlane plane;
    ASSERT_TRUE(plane.Allocate(4, 4));
    plane.width = 2;
    plane.height = 2;
    plane.Row(0)[0] = 10;
    plane.Row(0)[1] = 20;
    plane.Row(1)[0] = 30;
    plane.Row(1)[1] = 41;
    ASSERT_TRUE(PcdUpsample(plane));
    EXPECT_EQ(plane.width, 4u);
    EXPECT_EQ(plane.height, 4u);
    const int expected[4][4] = {{10, 15, 20, 20}, {20, 25, 31, 31}, {30, 36, 41, 41}, {30, 36, 41, 41}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(plane.Row(y)[x], expected[y][x]) << x << "," << y;
    EXPECT_FALSE(PcdUpsample(plane)) << "no room left to double";
}

TEST(FormatPcd, FourBaseWithoutResidualsIsTheBaseUpsampled)
{
    const std::string file = MakePcd(
        0, [](int x, int y) { return (x * 3 + y) & 255; }, Constant(156), Constant(137));
    DibHolder base(Decode(file, 2));
    DibHolder fourBase(Decode(file, 3));
    ASSERT_TRUE(base);
    ASSERT_TRUE(fourBase);
    const Image small = DibToImage(base.Get());
    const Image large = DibToImage(fourBase.Get());
    ASSERT_FALSE(small.Empty());
    ASSERT_FALSE(large.Empty());
    // Even pixels of even rows are the Base pixels themselves.
    for (int y = 0; y < 512; y += 37)
        for (int x = 0; x < 768; x += 41)
            ASSERT_EQ(memcmp(small.At(x, y), large.At(2 * x, 2 * y), 3), 0) << x << "," << y;
}

TEST(FormatPcd, LumaResidualsCorrectTheirRows)
{
    std::string file = MakePcd(
        0, [](int, int y) { return y == 0 ? 250 : 100; }, Constant(156), Constant(137));
    PutSector(file, 388, HuffmanTable());
    BitWriter w;
    w.Row(0, 0); // +8 on every pixel of row 0 (250 clamps at 255)
    for (int x = 0; x < 1536; ++x)
        Code(w, 8);
    w.Row(0, 3); // -8 on the first 100 pixels of row 3: a short row, kept as far as it goes
    for (int x = 0; x < 100; ++x)
        Code(w, -8);
    w.Row(2, 4); // chroma rows are skipped
    for (int x = 0; x < 50; ++x)
        Code(w, 8);
    w.Row(0, 2000); // beyond the picture: skipped
    for (int x = 0; x < 50; ++x)
        Code(w, 8);
    w.Row(0, 5); // an overlong row stops at the plane's edge
    for (int x = 0; x < 1600; ++x)
        Code(w, 8);
    w.Row(0, 1024); // the end
    PutSector(file, 389, w.Bytes());
    DibHolder dib(Decode(file, 3));
    ASSERT_TRUE(dib);
    const Image img = DibToImage(dib.Get());
    ASSERT_FALSE(img.Empty());
    auto expect = [&img](int x, int y, int luma) {
        int r, g, b;
        ExpectedRgb(luma, 156, 137, &r, &g, &b);
        const uint16_t* p = img.At(x, y);
        EXPECT_EQ(p[0], r) << x << "," << y;
        EXPECT_EQ(p[1], g) << x << "," << y;
        EXPECT_EQ(p[2], b) << x << "," << y;
    };
    expect(700, 0, 255);
    expect(10, 3, 92);
    expect(200, 3, 100);
    expect(1535, 5, 108);
    expect(10, 4, 100);
    expect(10, 6, 100);
}

TEST(FormatPcd, MalformedResidualsStopWithoutHanging)
{
    struct Case {
        const char* what;
        std::string table;
        std::string stream;
    };
    std::string zeroLength = HuffmanTable();
    zeroLength[1] = static_cast<char>(20); // a 21-bit code
    BitWriter truncated;
    truncated.Row(0, 0);
    for (int x = 0; x < 300; ++x)
        Code(truncated, 8);
    BitWriter repeated;
    for (int i = 0; i < 3000; ++i)
        repeated.Row(0, 1023);
    const Case cases[] = {
        {"no sync", HuffmanTable(), std::string(5000, '\x5A')},
        {"all ones", HuffmanTable(), std::string(5000, '\xFF')},
        {"code longer than 16 bits", zeroLength, truncated.Bytes()},
        {"cut inside a row", HuffmanTable(), truncated.Bytes()},
        {"repeated headers", HuffmanTable(), repeated.Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string file = MakePcd(0, Constant(100), Constant(156), Constant(137));
        PutSector(file, 388, c.table);
        file.resize(389 * kSector);
        file += c.stream;
        const DWORD start = GetTickCount();
        DibHolder dib(Decode(file, 3));
        ASSERT_TRUE(dib);
        EXPECT_LT(GetTickCount() - start, 20000u);
    }
}

TEST(FormatPcd, AShortFileGivesAPictureWithZeroedMissingParts)
{
    const std::string full = MakePcd(0, Constant(180), Constant(156), Constant(137));
    const std::string cut = full.substr(0, 96 * kSector + 768 * 100); // about 66 rows of the Base
    DibHolder a(Decode(cut, 2));
    DibHolder b(Decode(cut, 2));
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    const Image ia = DibToImage(a.Get());
    const Image ib = DibToImage(b.Get());
    ASSERT_FALSE(ia.Empty());
    ASSERT_FALSE(ib.Empty());
    EXPECT_EQ(Compare(ia, ib).maxDiff, 0) << "the same file gives the same picture";
    int r, g, bl;
    ExpectedRgb(0, 0, 0, &r, &g, &bl);
    EXPECT_EQ(ia.At(400, 500)[1], g); // zero planes where the file ends
    ExpectedRgb(180, 156, 137, &r, &g, &bl);
    EXPECT_EQ(ia.At(400, 10)[1], g);
    DibHolder tiny(Decode(std::string(100, '\0'), 0));
    EXPECT_TRUE(tiny);
}

TEST(FormatPcd, ReportsOneProgressStepPerOutputRow)
{
    ProgressRecorder progress;
    const std::string file = MakePcd(1, Constant(120), Constant(140), Constant(150));
    DibHolder dib(Decode(file, 0));
    ASSERT_TRUE(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.sets, 192);
    EXPECT_EQ(progress.lastTotal, 192u);
}

TEST(FormatPcd, PcdFilesGoThroughTheDispatcherAtTheSettingsResolution)
{
    SettingGuard guard;
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(kFileTypePCD), &LoadPCD);
    testpaths::TempDir dir;
    ASSERT_TRUE(
        testpaths::WriteBytes(dir.File("a.pcd"), MakePcd(0, Constant(90), Constant(156), Constant(137))));
    g_PhotoCDSize = 1;
    DibHolder dib(GetPictureReader(kFileTypePCD)(dir.File("a.pcd").c_str()));
    ASSERT_TRUE(dib);
    EXPECT_EQ(ShapeOf(dib.Get()).width, 384);
    ProgressRecorder progress;
    EXPECT_FALSE(LoadPCD(dir.File("missing.pcd").c_str()));
    EXPECT_EQ(progress.begins, progress.ends);
}

TEST(FormatPcd, ImageMagickFilesConvertThroughPicconvAtTheDefaultResolution)
{
    // picconv reads the settings' defaults: the Base picture, 768 x 512 (portrait 512 x 768).
    testpaths::TempDir dir;
    for (const char* name : {"landscape", "portrait"}) {
        SCOPED_TRACE(name);
        const std::string out = dir.File(std::string(name) + ".bmp");
        ASSERT_EQ(RunPicconv(OwnDataDir() + "\\pcd_" + name + ".pcd", out), 0);
        DibHolder dib(LoadBMPFile(out.c_str()));
        const Image decoded = DibToImage(dib.Get());
        ASSERT_FALSE(decoded.Empty());
        const bool portrait = std::string(name) == "portrait";
        Image reference;
        ASSERT_TRUE(
            ReadNetpbm(OwnDataDir() + (portrait ? "\\src_pcd_portrait_512x768.ppm" : "\\src_pcd_768x512.ppm"),
                       &reference, 255));
        ASSERT_EQ(decoded.width, reference.width);
        ASSERT_EQ(decoded.height, reference.height);
        const ColourFit fit = FitColours(reference, decoded);
        EXPECT_LT(fit.meanResidual, 2.0);
        EXPECT_LT(fit.p99Residual, 8.0);
    }
}
