// GIF reading: giflib's test pictures against ImageMagick's decodes, and files written here with
// giflib's encoder for depths, packing, interlacing, frames, delays and transparency.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <gif_lib.h>

#include "core/DIB.h"
#include "core/LoadDispatch.h"
#include "formats/FormatGif.h"
#include "formats/Readers.h"
#include "framework/Collections.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

// One record of a GIF written for a test.
struct GifRecord {
    enum Kind { Image, GraphicControl, Extension } kind = Image;
    // Image
    int left = 0, top = 0, width = 0, height = 0;
    bool interlace = false;
    std::vector<BYTE> pixels; // top-down, width x height
    int localBits = 0;        // 0: no local map
    std::vector<GifColorType> localColors;
    // Graphic control
    int delay = 0, transparent = -1, disposal = 0;
    // Any other extension: code and one data block
    int code = 0;
    std::string data;
};

struct GifSpec {
    int width = 0, height = 0;
    int globalBits = 8; // 0: no global map
    std::vector<GifColorType> globalColors;
    std::vector<GifRecord> records;
};

int AppendOutput(GifFileType* gif, const GifByteType* bytes, int count)
{
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
    return count;
}

ColorMapObject* MakeMap(int bits, const std::vector<GifColorType>& colors)
{
    std::vector<GifColorType> all(1 << bits);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = i < colors.size() ? colors[i] : GifColorType{BYTE(i), BYTE(i * 3), BYTE(i * 7)};
    return GifMakeMapObject(1 << bits, all.data());
}

// The bytes of a GIF file; empty when giflib refuses the description.
std::string EncodeGif(const GifSpec& spec)
{
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendOutput, &error);
    if (!gif)
        return std::string();
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = spec.globalBits ? MakeMap(spec.globalBits, spec.globalColors) : nullptr;
    bool ok = EGifPutScreenDesc(gif, spec.width, spec.height, 8, 0, global) == GIF_OK;
    GifFreeMapObject(global);
    for (const GifRecord& r : spec.records) {
        if (!ok)
            break;
        if (r.kind == GifRecord::GraphicControl) {
            const GifByteType block[4] = {
                static_cast<GifByteType>((r.disposal << 2) | (r.transparent >= 0 ? 1 : 0)),
                static_cast<GifByteType>(r.delay & 0xFF), static_cast<GifByteType>((r.delay >> 8) & 0xFF),
                static_cast<GifByteType>(r.transparent >= 0 ? r.transparent : 0)};
            ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block) == GIF_OK;
        } else if (r.kind == GifRecord::Extension) {
            ok = EGifPutExtension(gif, r.code, static_cast<int>(r.data.size()), r.data.data()) == GIF_OK;
        } else {
            ColorMapObject* local = r.localBits ? MakeMap(r.localBits, r.localColors) : nullptr;
            ok = EGifPutImageDesc(gif, r.left, r.top, r.width, r.height, r.interlace, local) == GIF_OK;
            GifFreeMapObject(local);
            std::vector<int> order;
            if (r.interlace) {
                const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
                for (int p = 0; p < 4; ++p)
                    for (int y = start[p]; y < r.height; y += step[p])
                        order.push_back(y);
            } else {
                for (int y = 0; y < r.height; ++y)
                    order.push_back(y);
            }
            for (int y : order) {
                std::vector<GifPixelType> line(r.pixels.begin() + y * r.width,
                                               r.pixels.begin() + (y + 1) * r.width);
                ok = ok && EGifPutLine(gif, line.data(), r.width) == GIF_OK;
            }
        }
    }
    EGifCloseFile(gif, &error);
    return ok ? out : std::string();
}

GifRecord ImageRecord(int left, int top, int width, int height, int (*pixel)(int x, int y))
{
    GifRecord r;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            r.pixels.push_back(static_cast<BYTE>(pixel(x, y)));
    return r;
}

GifRecord Control(int delay, int transparent, int disposal)
{
    GifRecord r;
    r.kind = GifRecord::GraphicControl;
    r.delay = delay;
    r.transparent = transparent;
    r.disposal = disposal;
    return r;
}

GifRecord Comment(const std::string& text)
{
    GifRecord r;
    r.kind = GifRecord::Extension;
    r.code = COMMENT_EXT_FUNC_CODE;
    r.data = text;
    return r;
}

int Diagonal(int x, int y) { return (x + y) % 4; }
int Ones(int, int) { return 1; }
int Fives(int, int) { return 5; }
int LeftFiveRightSeven(int x, int) { return x < 2 ? 5 : 7; }
int Sixteen(int x, int y) { return (x * 3 + y) % 16; }
int Rows(int, int y) { return y * 20; }

// A load run on its own thread, so that a test can give up on a reader that never returns.
struct GifLoadJob {
    std::string path;
    PackedDIB dib = nullptr;
};

DWORD WINAPI LoadGifOnThread(LPVOID p)
{
    GifLoadJob* job = static_cast<GifLoadJob*>(p);
    job->dib = LoadGIF(job->path.c_str());
    return 0;
}

// Writes a file and loads its first image.
PackedDIB WriteAndLoad(const testpaths::TempDir& dir, const std::string& name, const std::string& bytes)
{
    const std::string path = dir.File(name);
    EXPECT_TRUE(testpaths::WriteBytes(path, bytes));
    return LoadGIF(path.c_str());
}

struct Frames {
    CObArray array;
    ~Frames()
    {
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            delete array.GetAt(i);
    }
    CDIB* At(int i) { return static_cast<CDIB*>(array.GetAt(i)); }
    // Colour index of a pixel (top-down) of an 8-bit frame.
    int Index(int frame, int x, int y)
    {
        PackedDIB dib = At(frame)->GetHandle();
        const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
        const DWORD height = DIBHeight(block), rowBytes = DIBRowBytes(DIBWidth(block), 8);
        const int value = FindDIBBits(block)[(height - 1 - y) * rowBytes + x];
        GlobalUnlock(dib);
        return value;
    }
};

std::vector<GifColorType> Palette(int count)
{
    std::vector<GifColorType> colors;
    for (int i = 0; i < count; ++i)
        colors.push_back(GifColorType{BYTE(i * 10), BYTE(255 - i * 10), BYTE(i * 5)});
    return colors;
}

} // namespace

// ---- giflib's own pictures ----

TEST(LoadGIF, TestPicturesMatchReferenceDecodes)
{
    const char* const files[] = {
        "fire", "gifgrid", "porsche", "solid2", "treescap", "treescap-interlaced", "welcome2", "x-trans"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        Image reference;
        ASSERT_TRUE(ReadNetpbm(ReferenceDir("gif") + "\\" + name + ".pam", &reference))
            << "missing reference";
        PackedDIB dib = LoadGIF(TestImage("gif", (std::string(name) + ".gif").c_str()).c_str());
        ASSERT_NE(dib, nullptr);
        // Transparent pixels show their colour-table entry here; the reference leaves them out.
        Difference d = Compare(DibToImage(dib), reference, 255);
        GlobalFreeHandle(dib);
        ASSERT_TRUE(d.sameSize);
        EXPECT_EQ(d.maxDiff, 0) << d.Describe();
        EXPECT_GT(d.compared, 0);
    }
}

TEST(LoadGIF, PicconvWritesWhatTheReaderReads)
{
    for (const char* name : {"welcome2.gif", "treescap-interlaced.gif", "x-trans.gif", "porsche.gif"})
        ExpectPicconvMatchesReader(TestImage("gif", name), LoadGIF);
}

// Not a GIF, though it sits among them: refused.
TEST(LoadGIF, IconFileIsRefused) { EXPECT_EQ(LoadGIF(TestImage("gif", "sample.ico").c_str()), nullptr); }

TEST(LoadAnimatedGIF, TestAnimationsMatchComposedFrames)
{
    struct Case {
        const char* name;
        int frames;
        int delay;
    };
    for (const Case& c : {Case{"fire", 33, 5}, Case{"welcome2", 6, 100}}) {
        SCOPED_TRACE(c.name);
        Frames frames;
        ASSERT_EQ(
            LoadAnimatedGIF(TestImage("gif", (std::string(c.name) + ".gif").c_str()).c_str(), &frames.array),
            c.frames);
        for (int i = 0; i < c.frames; ++i) {
            SCOPED_TRACE(i);
            Image reference;
            ASSERT_TRUE(ReadNetpbm(
                ReferenceDir("gif") + "\\" + c.name + "-frame-" + std::to_string(i) + ".pam", &reference));
            EXPECT_EQ(frames.At(i)->GetDelay(), c.delay);
            // Pixels the composed reference leaves transparent (cleared to the background) differ
            // by design: this reader keeps the transparent index there.
            Difference d = Compare(DibToImage(frames.At(i)->GetHandle()), reference, 255);
            ASSERT_TRUE(d.sameSize);
            EXPECT_EQ(d.maxDiff, 0) << d.Describe();
        }
    }
}

TEST(LoadGIF, DispatcherUsesTheReaderForGifFiles)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(9), &LoadGIF);
}

// ---- Depth, packing and orientation ----

TEST(LoadGIF, TwoBitMapGivesEightBitsWithFourColours)
{
    GifSpec spec;
    spec.width = 6;
    spec.height = 3;
    spec.globalBits = 2;
    spec.globalColors = Palette(4);
    spec.records.push_back(ImageRecord(0, 0, 6, 3, Diagonal));
    testpaths::TempDir dir;
    PackedDIB dib = WriteAndLoad(dir, "two.gif", EncodeGif(spec));
    ASSERT_NE(dib, nullptr);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    EXPECT_EQ(header->biBitCount, 8);
    EXPECT_EQ(header->biClrUsed, 256u);
    EXPECT_EQ(header->biSizeImage, 8u * 3u);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(table[i].rgbRed, i * 10);
    for (int i = 4; i < 256; ++i)
        EXPECT_EQ(table[i].rgbRed + table[i].rgbGreen + table[i].rgbBlue, 0);
    // The top-left pixel sits in the last row of the block.
    EXPECT_EQ(FindDIBBits(block)[2 * 8 + 0], 0);
    EXPECT_EQ(FindDIBBits(block)[2 * 8 + 1], 1);
    EXPECT_EQ(FindDIBBits(block)[0 * 8 + 0], 2);
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

TEST(LoadGIF, OddWidthsPackIntoOneAndFourBits)
{
    testpaths::TempDir dir;
    for (int bits : {1, 4}) {
        SCOPED_TRACE(bits);
        GifSpec spec;
        spec.width = bits == 1 ? 13 : 5;
        spec.height = 3;
        spec.globalBits = bits;
        spec.globalColors = Palette(1 << bits);
        spec.records.push_back(
            ImageRecord(0, 0, spec.width, 3, bits == 1 ? [](int x, int y) { return (x + y) % 2; } : Sixteen));
        PackedDIB dib = WriteAndLoad(dir, "odd.gif", EncodeGif(spec));
        ASSERT_NE(dib, nullptr);
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        EXPECT_EQ(header->biBitCount, bits);
        GlobalUnlock(dib);
        Image image = DibToImage(dib);
        GlobalFreeHandle(dib);
        const std::vector<GifColorType> colors = Palette(1 << bits);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < spec.width; ++x) {
                const int index = bits == 1 ? (x + y) % 2 : Sixteen(x, y);
                ASSERT_EQ(image.At(x, y)[0], colors[index].Red) << x << "," << y;
                ASSERT_EQ(image.At(x, y)[1], colors[index].Green) << x << "," << y;
            }
        }
    }
}

TEST(LoadGIF, InterlacedImageEqualsItsPlainTwin)
{
    testpaths::TempDir dir;
    GifSpec spec;
    spec.width = 3;
    spec.height = 10;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 3, 10, Rows));
    PackedDIB plain = WriteAndLoad(dir, "plain.gif", EncodeGif(spec));
    spec.records[0].interlace = true;
    PackedDIB interlaced = WriteAndLoad(dir, "inter.gif", EncodeGif(spec));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(interlaced, nullptr);
    Image a = DibToImage(plain), b = DibToImage(interlaced);
    EXPECT_EQ(Compare(a, b).maxDiff, 0);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(b.At(1, y)[0], Palette(256)[y * 20].Red);
    GlobalFreeHandle(plain);
    GlobalFreeHandle(interlaced);
}

TEST(LoadGIF, LocalMapDeeperThanTheGlobalOneKeepsItsColours)
{
    GifSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.globalBits = 1;
    spec.globalColors = Palette(2);
    GifRecord image = ImageRecord(0, 0, 4, 4, [](int x, int y) { return x * 4 + y + 100; });
    image.localBits = 8;
    image.localColors = Palette(256);
    spec.records.push_back(image);
    testpaths::TempDir dir;
    PackedDIB dib = WriteAndLoad(dir, "local.gif", EncodeGif(spec));
    ASSERT_NE(dib, nullptr);
    Image picture = DibToImage(dib);
    GlobalFreeHandle(dib);
    EXPECT_EQ(picture.At(3, 2)[1], Palette(256)[3 * 4 + 2 + 100].Green);
    EXPECT_EQ(picture.At(0, 0)[0], Palette(256)[100].Red);
}

TEST(LoadGIF, ImageOnlyPartlyCoveringTheScreenLeavesIndexZeroAround)
{
    GifSpec spec;
    spec.width = 8;
    spec.height = 6;
    spec.globalBits = 4;
    spec.globalColors = Palette(16);
    spec.records.push_back(ImageRecord(2, 1, 3, 2, Fives));
    testpaths::TempDir dir;
    PackedDIB dib = WriteAndLoad(dir, "part.gif", EncodeGif(spec));
    ASSERT_NE(dib, nullptr);
    Image picture = DibToImage(dib);
    GlobalFreeHandle(dib);
    EXPECT_EQ(picture.At(0, 0)[0], Palette(16)[0].Red);
    EXPECT_EQ(picture.At(2, 1)[0], Palette(16)[5].Red);
    EXPECT_EQ(picture.At(4, 2)[0], Palette(16)[5].Red);
    EXPECT_EQ(picture.At(5, 2)[0], Palette(16)[0].Red);
}

// ---- Refusals ----

TEST(LoadGIF, SignatureIsCheckedWithoutCase)
{
    GifSpec spec;
    spec.width = spec.height = 2;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 2, 2, Ones));
    std::string bytes = EncodeGif(spec);
    ASSERT_EQ(bytes.substr(0, 6), "GIF89a");
    testpaths::TempDir dir;
    bytes.replace(0, 3, "gif");
    PackedDIB dib = WriteAndLoad(dir, "lower.gif", bytes);
    EXPECT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    bytes.replace(0, 3, "GIX");
    EXPECT_EQ(WriteAndLoad(dir, "gix.gif", bytes), nullptr);
    EXPECT_EQ(WriteAndLoad(dir, "empty.gif", std::string()), nullptr);
    EXPECT_EQ(WriteAndLoad(dir, "short.gif", "GI"), nullptr);
    EXPECT_EQ(LoadGIF(dir.File("missing.gif").c_str()), nullptr);
}

TEST(LoadGIF, ImageOutsideTheScreenIsRefused)
{
    GifSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(2, 0, 4, 2, Ones)); // 2 + 4 > 4
    testpaths::TempDir dir;
    const std::string bytes = EncodeGif(spec);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(WriteAndLoad(dir, "outside.gif", bytes), nullptr);
    Frames frames;
    EXPECT_EQ(LoadAnimatedGIF(dir.File("outside.gif").c_str(), &frames.array), 0);
}

TEST(LoadGIF, HugeScreenIsRefusedWithoutAllocating)
{
    GifSpec spec;
    spec.width = 65535;
    spec.height = 65535;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 1, 1, Ones));
    testpaths::TempDir dir;
    const ResourceSnapshot before = ResourceSnapshot::Take();
    EXPECT_EQ(WriteAndLoad(dir, "huge.gif", EncodeGif(spec)), nullptr);
    Frames frames;
    EXPECT_EQ(LoadAnimatedGIF(dir.File("huge.gif").c_str(), &frames.array), 0);
    EXPECT_LT(ResourceSnapshot::Take().privateBytes, before.privateBytes + 64 * 1024 * 1024);
}

// The widest screen a GIF can give, 4-bit: packing its rows must end. The load runs on a thread
// so that a hang fails the test instead of stalling the run.
TEST(LoadGIF, HostileWidestScreenWithFourBitMapLoads)
{
    GifSpec spec;
    spec.width = 65535;
    spec.height = 2;
    spec.globalBits = 4;
    spec.globalColors = Palette(16);
    spec.records.push_back(ImageRecord(65530, 1, 5, 1, Sixteen));
    testpaths::TempDir dir;
    const std::string path = dir.File("widest.gif");
    ASSERT_TRUE(testpaths::WriteBytes(path, EncodeGif(spec)));
    GifLoadJob* job = new GifLoadJob{path};
    HANDLE thread = CreateThread(nullptr, 0, LoadGifOnThread, job, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    if (WaitForSingleObject(thread, 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "LoadGIF did not return";
        return; // the thread and its job are left to the process's end
    }
    CloseHandle(thread);
    PackedDIB dib = job->dib;
    delete job;
    ASSERT_NE(dib, nullptr);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    EXPECT_EQ(DIBWidth(block), 65535u);
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(block)->biBitCount, 4);
    // Top row (stored last) is all index 0; the bottom row ends with the image, odd last pixel in
    // the high half of the final byte.
    const BYTE* bottom = FindDIBBits(block);
    const DWORD rowBytes = DIBRowBytes(65535, 4);
    EXPECT_EQ(bottom[rowBytes + 32767], 0);
    EXPECT_EQ(bottom[32765], (Sixteen(0, 0) << 4) | Sixteen(1, 0)); // x 65530, 65531
    EXPECT_EQ(bottom[32766], (Sixteen(2, 0) << 4) | Sixteen(3, 0));
    EXPECT_EQ(bottom[32767], Sixteen(4, 0) << 4);
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

TEST(LoadGIF, CutsDecideWhatIsShown)
{
    GifSpec spec;
    spec.width = 20;
    spec.height = 20;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 20, 20, [](int x, int y) { return x * y % 251; }));
    spec.records.push_back(ImageRecord(0, 0, 20, 20, [](int x, int y) { return (x + 3 * y) % 199; }));
    const std::string bytes = EncodeGif(spec);
    ASSERT_FALSE(bytes.empty());
    // The second image starts where the first image's data ends: find its descriptor (0x2C).
    const size_t second = bytes.rfind('\x2C', bytes.size() - 40);
    ASSERT_NE(second, std::string::npos);
    testpaths::TempDir dir;
    // Cut inside the second image: the first is shown, and the animation has one frame.
    PackedDIB first = WriteAndLoad(dir, "cut2.gif", bytes.substr(0, second + 20));
    EXPECT_NE(first, nullptr);
    GlobalFreeHandle(first);
    Frames frames;
    EXPECT_EQ(LoadAnimatedGIF(dir.File("cut2.gif").c_str(), &frames.array), 1);
    // Cut inside the first image: nothing.
    EXPECT_EQ(WriteAndLoad(dir, "cut1.gif", bytes.substr(0, 60)), nullptr);
    Frames none;
    EXPECT_EQ(LoadAnimatedGIF(dir.File("cut1.gif").c_str(), &none.array), 0);
}

TEST(LoadGIF, GaugeIsBalancedAndCountsTheImageRows)
{
    GifSpec spec;
    spec.width = 5;
    spec.height = 7;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 5, 7, Ones));
    testpaths::TempDir dir;
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    PackedDIB dib = WriteAndLoad(dir, "g.gif", EncodeGif(spec));
    ASSERT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.lastDone, 7u);
    EXPECT_EQ(progress.lastTotal, 7u);
}

// ---- Frames ----

TEST(LoadAnimatedGIF, FramesWithoutControlBlocksTakeTheDefaults)
{
    GifSpec spec;
    spec.width = spec.height = 4;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 4, 4, Ones));
    spec.records.push_back(ImageRecord(1, 1, 2, 2, Fives));
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("plain.gif"), EncodeGif(spec)));
    Frames frames;
    ASSERT_EQ(LoadAnimatedGIF(dir.File("plain.gif").c_str(), &frames.array), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(frames.At(i)->GetDelay(), 4);
        EXPECT_EQ(frames.At(i)->GetTransparentIndex(), -1);
    }
    // Each frame is the whole screen after its image.
    EXPECT_EQ(frames.Index(1, 0, 0), 1);
    EXPECT_EQ(frames.Index(1, 1, 1), 5);
}

TEST(LoadAnimatedGIF, TransparentPixelsKeepThePreviousFrameUnlessDisposed)
{
    GifSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 4, 2, Ones));
    spec.records.push_back(Control(10, 5, 1)); // keep: index 5 shows what was there
    spec.records.push_back(ImageRecord(0, 0, 4, 2, LeftFiveRightSeven));
    spec.records.push_back(Control(20, 5, 2)); // disposed: index 5 is written
    spec.records.push_back(ImageRecord(0, 0, 4, 2, LeftFiveRightSeven));
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("t.gif"), EncodeGif(spec)));
    Frames frames;
    ASSERT_EQ(LoadAnimatedGIF(dir.File("t.gif").c_str(), &frames.array), 3);
    EXPECT_EQ(frames.Index(1, 0, 0), 1);
    EXPECT_EQ(frames.Index(1, 3, 1), 7);
    EXPECT_EQ(frames.Index(2, 0, 0), 5);
    EXPECT_EQ(frames.Index(2, 3, 0), 7);
    EXPECT_EQ(frames.At(1)->GetDelay(), 10);
    EXPECT_EQ(frames.At(1)->GetTransparentIndex(), 5);
    EXPECT_EQ(frames.At(2)->GetDelay(), 20);
}

TEST(LoadAnimatedGIF, ExtensionBetweenControlAndImageCancelsIt)
{
    GifSpec spec;
    spec.width = spec.height = 2;
    spec.globalColors = Palette(256);
    spec.records.push_back(Control(50, 3, 1));
    spec.records.push_back(Comment("made here"));
    spec.records.push_back(ImageRecord(0, 0, 2, 2, Ones));
    // A four-byte comment is not a graphic control block.
    spec.records.push_back(Comment("abcd"));
    spec.records.push_back(ImageRecord(0, 0, 2, 2, Ones));
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("c.gif"), EncodeGif(spec)));
    Frames frames;
    ASSERT_EQ(LoadAnimatedGIF(dir.File("c.gif").c_str(), &frames.array), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(frames.At(i)->GetDelay(), 4);
        EXPECT_EQ(frames.At(i)->GetTransparentIndex(), -1);
    }
}

TEST(LoadAnimatedGIF, LongDelayIsASignedSixteenBitValue)
{
    GifSpec spec;
    spec.width = spec.height = 2;
    spec.globalColors = Palette(256);
    spec.records.push_back(Control(40000, -1, 0));
    spec.records.push_back(ImageRecord(0, 0, 2, 2, Ones));
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("d.gif"), EncodeGif(spec)));
    Frames frames;
    ASSERT_EQ(LoadAnimatedGIF(dir.File("d.gif").c_str(), &frames.array), 1);
    EXPECT_EQ(frames.At(0)->GetDelay(), 40000 - 65536);
}

TEST(LoadAnimatedGIF, ManyFramesWithOwnMapsDecodeWithoutGrowth)
{
    GifSpec spec;
    spec.width = spec.height = 8;
    spec.globalColors = Palette(256);
    for (int i = 0; i < 300; ++i) {
        GifRecord image = ImageRecord(0, 0, 8, 8, Sixteen);
        image.localBits = 4;
        image.localColors = Palette(16);
        spec.records.push_back(Control(2, -1, 0));
        spec.records.push_back(image);
    }
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("many.gif"), EncodeGif(spec)));
    {
        Frames warmUp;
        ASSERT_EQ(LoadAnimatedGIF(dir.File("many.gif").c_str(), &warmUp.array), 300);
    }
    const ResourceSnapshot before = ResourceSnapshot::Take();
    for (int round = 0; round < 5; ++round) {
        Frames frames;
        ASSERT_EQ(LoadAnimatedGIF(dir.File("many.gif").c_str(), &frames.array), 300);
        EXPECT_EQ(frames.At(299)->GetDelay(), 2);
    }
    const ResourceSnapshot after = ResourceSnapshot::Take();
    EXPECT_LE(after.handles, before.handles);
    EXPECT_LT(after.privateBytes, before.privateBytes + 2 * 1024 * 1024);
}

TEST(LoadAnimatedGIF, GaugeFollowsTheFilePosition)
{
    GifSpec spec;
    spec.width = spec.height = 4;
    spec.globalColors = Palette(256);
    spec.records.push_back(ImageRecord(0, 0, 4, 4, Ones));
    spec.records.push_back(ImageRecord(0, 0, 4, 4, Fives));
    const std::string bytes = EncodeGif(spec);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("p.gif"), bytes));
    ReaderStateGuard guard;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    Frames frames;
    ASSERT_EQ(LoadAnimatedGIF(dir.File("p.gif").c_str(), &frames.array), 2);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.sets, 2);
    EXPECT_EQ(progress.lastTotal, bytes.size());
    EXPECT_GT(progress.lastDone, bytes.size() / 2);
    EXPECT_LE(progress.lastDone, bytes.size());
}
