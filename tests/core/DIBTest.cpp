// CDIB: ownership and palette, the archive form (byte-exact and hostile), loading through the
// dispatcher, drawing, and thumbnails.
#include <gtest/gtest.h>

#include "core/BmpFile.h"
#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Progress.h"
#include "core/ReaderOptions.h"
#include "core/ReaderSettings.h"
#include "framework/Archive.h"
#include "framework/Dc.h"
#include "framework/File.h"
#include "framework/HandleMap.h"
#include "tests/core/DibTestUtil.h"
#include "tests/support/TestPaths.h"

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

using namespace dibtest;

namespace {

// A picture whose pixels differ from each other.
PackedDIB MakePicture(int width, int height, WORD bits)
{
    PackedDIB dib = CreateDIB(width, height, bits);
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* rows = FindDIBBits(p);
    DWORD size = RowBytes(width, bits) * height;
    for (DWORD i = 0; i < size; ++i)
        rows[i] = BYTE(i * 29 + 3);
    GlobalUnlock(dib);
    return dib;
}

PackedDIB Solid24(int width, int height, Rgb c)
{
    PackedDIB dib = CreateDIB(width, height, 24);
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* rows = FindDIBBits(p);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* px = rows + y * RowBytes(width, 24) + 3 * x;
            px[0] = BYTE(c.b), px[1] = BYTE(c.g), px[2] = BYTE(c.r);
        }
    GlobalUnlock(dib);
    return dib;
}

std::string Store(CDIB& dib)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    dib.Serialize(ar);
    ar.Close();
    return std::string(reinterpret_cast<const char*>(file.GetBufferPtr()), file.GetLength());
}

// Loads bytes into dib; returns the bytes left unread in the archive afterwards.
DWORD Load(CDIB& dib, const std::string& bytes)
{
    std::string copy = bytes;
    CMemFile file(reinterpret_cast<BYTE*>(copy.empty() ? nullptr : &copy[0]), UINT(copy.size()));
    CArchive ar(&file, CArchive::load);
    dib.Serialize(ar);
    DWORD left = ar.GetBytesLeft();
    ar.Close();
    return left;
}

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

std::string BlockBytes(PackedDIB dib, size_t count)
{
    std::string s(static_cast<const char*>(GlobalLock(dib)), count);
    GlobalUnlock(dib);
    return s;
}

// A 32-bit memory canvas and a CDC over it.
struct Canvas {
    HDC hdc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* pixels = nullptr;
    int width;
    CDC dc;
    Canvas(int w, int h) : width(w)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<DWORD*>(bits);
        hdc = CreateCompatibleDC(nullptr);
        old = SelectObject(hdc, bitmap);
        for (int i = 0; i < w * h; ++i)
            pixels[i] = 0x00FF00FF;
        dc.Attach(hdc);
    }
    ~Canvas()
    {
        dc.Detach();
        SelectObject(hdc, old);
        DeleteDC(hdc);
        DeleteObject(bitmap);
    }
    Rgb At(int x, int y) const
    {
        GdiFlush();
        DWORD v = pixels[y * width + x];
        return Rgb{int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255)};
    }
};

const Rgb kUntouched{255, 0, 255};

// A fake JPEG reader: a 50 x 40 picture whose file header said 800 x 600.
std::atomic<int> g_fakeJpegCalls{0};
PackedDIB FakeJpeg(LPCSTR)
{
    ++g_fakeJpegCalls;
    LastJPEGHeaderSize = PictureSize{800, 600};
    return CreateDIB(50, 40, 24);
}

// Records the options a reader saw.
struct SeenState {
    BOOL progress;
    int photoCD, couleurs, thumbMode;
};
SeenState g_seen;
PackedDIB WatchingReader(LPCSTR)
{
    const ReaderOptions seen = CurrentReaderOptions();
    g_seen = SeenState{seen.reportProgress, seen.photoCDSize, seen.jpegColours, ThumbnailDecodeMode};
    return CreateDIB(300, 100, 8);
}
PackedDIB FailingReader(LPCSTR)
{
    const ReaderOptions seen = CurrentReaderOptions();
    g_seen = SeenState{seen.reportProgress, seen.photoCDSize, seen.jpegColours, ThumbnailDecodeMode};
    return 0;
}

// Puts a reader in for one test and the previous one back.
struct ReaderScope {
    int code;
    PictureReader saved;
    ReaderScope(int c, PictureReader reader) : code(c), saved(GetPictureReader(c))
    {
        SetPictureReader(c, reader);
    }
    ~ReaderScope() { SetPictureReader(code, saved); }
};

std::string WriteBmp(const testpaths::TempDir& dir, const std::string& name, PackedDIB dib)
{
    std::string path = dir.File(name);
    EXPECT_EQ(SaveDIBFile(dib, path.c_str()), kSaveDIBOk);
    return path;
}

} // namespace

TEST(CDIB, NewObjectIsEmpty)
{
    CDIB dib;
    EXPECT_EQ(dib.GetHandle(), nullptr);
    EXPECT_EQ(dib.Width(), 0u);
    EXPECT_EQ(dib.Height(), 0u);
    EXPECT_EQ(dib.NumColors(), 0);
    EXPECT_EQ(dib.GetDelay(), 0);
    EXPECT_EQ(dib.GetTransparentIndex(), -1);
    EXPECT_EQ(dib.GetPalette()->GetSafeHandle(), nullptr);
    EXPECT_STREQ(dib.GetRuntimeClass()->m_lpszClassName, "CDIB");
    EXPECT_EQ(dib.GetRuntimeClass()->m_wSchema, 0u);
}

TEST(CDIB, AttachRebuildsThePaletteOnlyForPalettePictures)
{
    CDIB dib;
    dib.Attach(CreateDIB(4, 3, 8));
    EXPECT_EQ(dib.Width(), 4u);
    EXPECT_EQ(dib.Height(), 3u);
    EXPECT_EQ(dib.NumColors(), 256);
    HGDIOBJ palette = dib.GetPalette()->GetSafeHandle();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(dib.GetPalette()->GetEntryCount(), 256);

    dib.Attach(CreateDIB(4, 3, 24)); // a true-colour picture keeps the old palette
    EXPECT_EQ(dib.GetPalette()->GetSafeHandle(), palette);
    EXPECT_EQ(dib.NumColors(), 0);

    dib.Attach(CreateDIB(4, 3, 4));
    EXPECT_EQ(dib.GetPalette()->GetEntryCount(), 16);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the old palette was deleted";

    dib.Free();
    EXPECT_EQ(dib.GetHandle(), nullptr);
    EXPECT_EQ(dib.GetPalette()->GetSafeHandle(), nullptr);
}

TEST(CDIB, CopiesAndAssignments)
{
    CDIB empty;
    CDIB copyOfEmpty(empty);
    EXPECT_EQ(copyOfEmpty.GetHandle(), nullptr);
    CDIB assigned;
    assigned.Attach(CreateDIB(2, 2, 8));
    assigned = empty;
    EXPECT_EQ(assigned.GetHandle(), nullptr);

    CDIB source;
    source.Attach(MakePicture(5, 3, 8));
    source.SetDelay(12);
    source.SetTransparentIndex(7);
    CDIB copy(source);
    ASSERT_NE(copy.GetHandle(), nullptr);
    EXPECT_NE(copy.GetHandle(), source.GetHandle());
    EXPECT_EQ(BlockBytes(copy.GetHandle(), GlobalSize(source.GetHandle())),
              BlockBytes(source.GetHandle(), GlobalSize(source.GetHandle())));
    EXPECT_EQ(copy.GetDelay(), 0) << "the copy constructor does not copy the frame values";
    EXPECT_EQ(copy.GetTransparentIndex(), -1);
    EXPECT_EQ(copy.NumColors(), 256);
    EXPECT_NE(copy.GetPalette()->GetSafeHandle(), nullptr);

    CDIB other;
    other = source;
    EXPECT_EQ(other.GetDelay(), 12) << "assignment does";
    EXPECT_EQ(other.GetTransparentIndex(), 7);
    EXPECT_NE(other.GetHandle(), source.GetHandle());

    HGLOBAL before = source.GetHandle();
    source = source;
    EXPECT_EQ(source.GetHandle(), before) << "self-assignment leaves it unchanged";
    EXPECT_EQ(source.GetDelay(), 12);

    PackedDIB callers = MakePicture(2, 2, 24);
    CDIB fromHandle;
    fromHandle.SetDelay(5);
    fromHandle = callers;
    EXPECT_NE(fromHandle.GetHandle(), callers) << "a copy: the handle stays the caller's";
    EXPECT_EQ(fromHandle.GetDelay(), 0);
    EXPECT_NE(GlobalSize(callers), SIZE_T(0));
    GlobalFreeHandle(callers);
    fromHandle = fromHandle.GetHandle();
    EXPECT_NE(fromHandle.GetHandle(), nullptr) << "assigning its own block keeps it";
}

TEST(CDIB, ArchiveOfAnEmptyObjectIsFourZeroBytes)
{
    CDIB empty;
    EXPECT_EQ(Store(empty), std::string(4, '\0'));
    CDIB full;
    full.Attach(CreateDIB(3, 2, 8));
    EXPECT_EQ(Load(full, std::string(4, '\0')), 0u);
    EXPECT_EQ(full.GetHandle(), nullptr);
    EXPECT_EQ(full.GetPalette()->GetSafeHandle(), nullptr);
}

TEST(CDIB, ArchiveOfAPictureIsFlagCountAndBytes)
{
    CDIB dib;
    dib.Attach(MakePicture(3, 2, 8));
    // biSizeImage does not take part in the count.
    static_cast<BITMAPINFOHEADER*>(GlobalLock(dib.GetHandle()))->biSizeImage = 12345;
    GlobalUnlock(dib.GetHandle());
    const DWORD n = 40 + 1024 + 4 * 2;
    std::string stored = Store(dib);
    ASSERT_EQ(stored.size(), 8u + n);
    EXPECT_EQ(stored.substr(0, 4), Dword(1));
    EXPECT_EQ(stored.substr(4, 4), Dword(n));
    EXPECT_EQ(stored.substr(8), BlockBytes(dib.GetHandle(), n));

    CDIB loaded;
    loaded.SetDelay(9);
    EXPECT_EQ(Load(loaded, stored), 0u);
    ASSERT_NE(loaded.GetHandle(), nullptr);
    EXPECT_EQ(GlobalSize(loaded.GetHandle()), SIZE_T(n));
    EXPECT_EQ(BlockBytes(loaded.GetHandle(), n), stored.substr(8));
    EXPECT_EQ(loaded.NumColors(), 256);
    EXPECT_NE(loaded.GetPalette()->GetSafeHandle(), nullptr);
    EXPECT_EQ(Store(loaded), stored) << "the round trip is byte-identical";

    // A large picture crosses the 32768-byte pieces without a trace.
    CDIB big;
    big.Attach(MakePicture(301, 117, 24));
    std::string bigStored = Store(big);
    CDIB bigLoaded;
    Load(bigLoaded, bigStored);
    EXPECT_EQ(Store(bigLoaded), bigStored);
    EXPECT_EQ(bigStored.size(), 8u + 40 + DIBRowBytes(301, 24) * 117);
}

TEST(CDIB, HostileArchivesAreRefusedWithoutACrash)
{
    CDIB good;
    good.Attach(MakePicture(3, 2, 8));
    const std::string stored = Store(good);

    // A byte count that claims more than the archive holds.
    CDIB dib;
    dib.Attach(CreateDIB(2, 2, 24));
    std::string lying = Dword(1) + Dword(0x7FFFFFF0) + stored.substr(8);
    EXPECT_THROW(Load(dib, lying), CArchiveException);
    EXPECT_EQ(dib.GetHandle(), nullptr);

    // Truncated: the flag and no count; the count and half the bytes.
    EXPECT_THROW(Load(dib, Dword(1)), CArchiveException);
    EXPECT_THROW(Load(dib, Dword(1) + Dword(100)), CArchiveException);
    EXPECT_THROW(Load(dib, stored.substr(0, stored.size() / 2)), CArchiveException);
    EXPECT_THROW(Load(dib, std::string("\x01\x00", 2)), CArchiveException);
    EXPECT_EQ(dib.GetHandle(), nullptr);

    // Consistent counts around inconsistent pictures: refused, the archive stays in step.
    auto withHeader = [&](auto change) {
        std::string bytes = stored;
        auto* h = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[8]);
        change(*h);
        return bytes + "TAIL";
    };
    const std::string inconsistent[] = {
        withHeader([](BITMAPINFOHEADER& h) { h.biWidth = 0; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biHeight = 0; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biHeight = -2; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biWidth = 100000; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biBitCount = 7; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biClrUsed = 5000; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biSize = 12; }),
        withHeader([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }),
        Dword(1) + Dword(10) + std::string(10, '\0') + "TAIL",
        Dword(1) + Dword(0) + "TAIL",
    };
    for (const std::string& bytes : inconsistent) {
        dib.Attach(CreateDIB(2, 2, 24));
        EXPECT_EQ(Load(dib, bytes), 4u) << "only the tail is left";
        EXPECT_EQ(dib.GetHandle(), nullptr);
    }
}

TEST(CDIB, ReadChoosesTheReaderByTypeName)
{
    testpaths::TempDir dir;
    DibHolder picture(MakePicture(7, 5, 8));
    std::string photo = WriteBmp(dir, "photo.jpg", picture);
    CDIB dib;
    dib.Read(photo.c_str(), "BMP");
    ASSERT_NE(dib.GetHandle(), nullptr) << "the BMP reader took the .jpg file";
    EXPECT_EQ(dib.Width(), 7u);
    EXPECT_EQ(LastPictureInfo.width, 7);
    EXPECT_EQ(LastPictureInfo.height, 5);
    EXPECT_EQ(LastPictureInfo.bitCount, 8);
    EXPECT_EQ(dib.NumColors(), 256);

    ReaderScope jpeg(12, &FakeJpeg);
    int calls = g_fakeJpegCalls;
    dib.Read(WriteBmp(dir, "other.bmp", picture).c_str(), "JPEG");
    EXPECT_EQ(g_fakeJpegCalls, calls + 1) << "a type name without a dot";
    EXPECT_EQ(dib.Width(), 50u);
    EXPECT_EQ(LastPictureInfo.width, 800) << "a JPEG records the size its header declared";
    EXPECT_EQ(LastPictureInfo.height, 600);
    EXPECT_EQ(LastPictureInfo.bitCount, 24);
}

TEST(CDIB, ReadLeavesLastPictureInfoAloneWithoutAReader)
{
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("icon.ico"), std::string(100, 'i')));
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("damaged.bmp"), "BM this is not a bitmap"));
    CDIB dib;
    dib.Attach(CreateDIB(3, 3, 24));
    LastPictureInfo = PictureInfo{11, 22, 33};
    dib.Read(dir.File("icon.ico").c_str());
    EXPECT_EQ(dib.GetHandle(), nullptr);
    EXPECT_EQ(LastPictureInfo.width, 11) << "no reader: untouched";
    dib.Read(dir.File("missing.bmp").c_str());
    EXPECT_EQ(LastPictureInfo.width, 11) << "missing file: untouched";
    dib.Read("");
    EXPECT_EQ(LastPictureInfo.height, 22);
    dib.Read(dir.File("damaged.bmp").c_str());
    EXPECT_EQ(dib.GetHandle(), nullptr);
    EXPECT_EQ(LastPictureInfo.width, 0) << "a failed read: all zero";
    EXPECT_EQ(LastPictureInfo.height, 0);
    EXPECT_EQ(LastPictureInfo.bitCount, 0);
}

TEST(CDIB, ReadOfATrueColourPictureKeepsTheOldPalette)
{
    testpaths::TempDir dir;
    DibHolder rgb(MakePicture(4, 4, 24));
    std::string path = WriteBmp(dir, "rgb.bmp", rgb);
    CDIB dib;
    dib.Attach(CreateDIB(2, 2, 8));
    HGDIOBJ palette = dib.GetPalette()->GetSafeHandle();
    dib.Read(path.c_str());
    EXPECT_EQ(dib.Width(), 4u);
    EXPECT_EQ(dib.GetPalette()->GetSafeHandle(), palette);
}

TEST(CDIB, DrawScaledFitsAndCentres)
{
    CDIB dib;
    dib.Attach(Solid24(200, 100, Rgb{10, 200, 30}));
    Canvas canvas(100, 100);
    RECT drawn = {};
    dib.DrawScaled(&canvas.dc, CRect(0, 0, 100, 100), FALSE, &drawn);
    EXPECT_EQ(drawn.left, 0);
    EXPECT_EQ(drawn.top, 25);
    EXPECT_EQ(drawn.right, 100);
    EXPECT_EQ(drawn.bottom, 75);
    EXPECT_EQ(canvas.At(50, 24), kUntouched);
    EXPECT_EQ(canvas.At(50, 25), (Rgb{10, 200, 30}));
    EXPECT_EQ(canvas.At(99, 74), (Rgb{10, 200, 30}));
    EXPECT_EQ(canvas.At(50, 75), kUntouched);

    CDIB tall;
    tall.Attach(Solid24(10, 40, Rgb{1, 2, 3}));
    tall.DrawScaled(&canvas.dc, CRect(10, 10, 30, 30), TRUE, &drawn);
    EXPECT_EQ(CRect(drawn), CRect(17, 10, 22, 30));
    EXPECT_EQ(canvas.At(19, 20), (Rgb{1, 2, 3})) << "the resampled path draws too";
}

TEST(CDIB, DrawingWithoutPixelsDrawsNothing)
{
    Canvas canvas(20, 20);
    CDIB empty;
    RECT drawn = {-1, -1, -1, -1};
    empty.DrawScaled(&canvas.dc, CRect(0, 0, 20, 20), FALSE, &drawn);
    EXPECT_EQ(drawn.left, -1) << "nothing drawn, nothing stored";
    empty.DrawFit(&canvas.dc, CRect(0, 0, 20, 20));
    CDIB flat;
    flat.Attach(CreateDIB(0, 5, 24));
    flat.DrawScaled(&canvas.dc, CRect(0, 0, 20, 20), FALSE, &drawn);
    flat.DrawScaled(&canvas.dc, CRect(0, 0, 20, 20), TRUE, nullptr);
    flat.DrawFit(&canvas.dc, CRect(0, 0, 20, 20));
    CDIB dib;
    dib.Attach(Solid24(4, 4, Rgb{9, 9, 9}));
    dib.DrawScaled(&canvas.dc, CRect(5, 5, 5, 5), TRUE, nullptr); // an empty box
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.At(x, y), kUntouched);
}

TEST(CDIB, DrawOnAnEightBitScreenResamplesTrueColour)
{
    SetScreenBitsPerPixelForTest(8);
    CDIB dib;
    dib.Attach(Solid24(8, 8, Rgb{255, 255, 255}));
    Canvas canvas(16, 16);
    dib.DrawScaled(&canvas.dc, CRect(0, 0, 16, 16), FALSE, nullptr);
    SetScreenBitsPerPixelForTest(0);
    // Through the application palette's ramp: white stays white.
    EXPECT_EQ(canvas.At(8, 8), (Rgb{255, 255, 255}));
    EXPECT_EQ(canvas.At(0, 0), (Rgb{255, 255, 255}));
}

TEST(CDIB, PaintAndDrawPartsOfThePicture)
{
    CDIB dib;
    dib.Attach(MakePicture(6, 4, 24));
    Canvas canvas(12, 8);
    CRect src(1, 1, 4, 3), dest(0, 0, 3, 2);
    EXPECT_NE(dib.Paint(&canvas.dc, src, dest, nullptr), 0);
    EXPECT_EQ(canvas.At(0, 0), PixelOf(dib.GetHandle(), 1, 1));
    EXPECT_EQ(canvas.At(2, 1), PixelOf(dib.GetHandle(), 3, 2));

    dib.Draw(&canvas.dc, CRect(4, 2, 10, 6), CPoint(0, 0), nullptr);
    EXPECT_EQ(canvas.At(4, 2), PixelOf(dib.GetHandle(), 0, 0));
    EXPECT_EQ(canvas.At(9, 5), PixelOf(dib.GetHandle(), 5, 3));
}

TEST(CDIB, FramesAndTopRowsAreDrawnFitted)
{
    // Four 2 x 2 frames side by side, each of one colour.
    const Rgb colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    PackedDIB strip = CreateDIB(8, 2, 24);
    BYTE* rows = FindDIBBits(GlobalLock(strip));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x) {
            BYTE* px = rows + y * RowBytes(8, 24) + 3 * x;
            px[0] = BYTE(colors[x / 2].b), px[1] = BYTE(colors[x / 2].g), px[2] = BYTE(colors[x / 2].r);
        }
    GlobalUnlock(strip);
    CDIB dib;
    dib.Attach(strip);
    Canvas canvas(10, 10);
    dib.DrawFrameFit(&canvas.dc, CRect(0, 0, 10, 10), 4, 2);
    EXPECT_EQ(canvas.At(5, 5), colors[2]);
    dib.DrawFrameFit(&canvas.dc, CRect(0, 0, 10, 10), 4, 9);
    EXPECT_EQ(canvas.At(5, 5), colors[3]) << "the index is clamped to the last frame";
    dib.DrawFrameFit(&canvas.dc, CRect(0, 0, 10, 10), 0, 0); // nothing for no frames

    CDIB twoTone;
    twoTone.Attach(MakePicture(4, 4, 24));
    Canvas part(8, 8);
    twoTone.DrawPartFit(&part.dc, CRect(0, 0, 8, 8), FALSE, 2);
    EXPECT_EQ(part.At(0, 2), PixelOf(twoTone.GetHandle(), 0, 0)) << "the top rows, 4 x 2 fitted to 8 x 4";
    EXPECT_EQ(part.At(7, 5), PixelOf(twoTone.GetHandle(), 3, 1));
    EXPECT_EQ(part.At(0, 1), kUntouched);
    twoTone.DrawPartFit(&part.dc, CRect(0, 0, 8, 8), TRUE, 2);
    EXPECT_NE(part.At(4, 4), kUntouched) << "resampled through mode 1";
}

TEST(CDIB, TemporaryPaletteAndBitmap)
{
    CDIB dib;
    EXPECT_EQ(dib.CreateDIBPalette(), nullptr);
    EXPECT_EQ(dib.CreateBitmap(nullptr), nullptr);
    dib.Attach(MakePicture(3, 2, 4));
    CPalette* palette = dib.CreateDIBPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_NE(palette->GetSafeHandle(), dib.GetPalette()->GetSafeHandle());
    EXPECT_EQ(palette->GetEntryCount(), 16);
    CBitmap* bitmap = dib.CreateBitmap(palette);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm;
    bitmap->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 3);
    HGDIOBJ hbm = bitmap->Detach();
    HGDIOBJ hpal = palette->Detach();
    AfxDeleteTempMaps();
    EXPECT_NE(GetObjectType(hbm), 0u) << "detached handles are the caller's";
    DeleteObject(hbm);
    DeleteObject(hpal);
}

TEST(CDIB, ResourcesAndCreate)
{
    CDIB dib;
    ASSERT_TRUE(dib.LoadResource(100));
    EXPECT_EQ(dib.Width(), 2u);
    EXPECT_EQ(PixelOf(dib.GetHandle(), 0, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(dib.GetHandle(), 1, 1), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelOf(dib.GetHandle(), 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(dib.GetHandle(), 1, 0), (Rgb{255, 255, 255}));
    EXPECT_FALSE(dib.LoadResource(101));
    EXPECT_EQ(dib.GetHandle(), nullptr);
    EXPECT_EQ(LoadDIBResource(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101)), nullptr);

    SetJPEGResourceReader(nullptr);
    EXPECT_FALSE(dib.LoadJPEGResource("SPLASH"));
    SetJPEGResourceReader([](HINSTANCE, LPCSTR name) -> PackedDIB {
        return strcmp(name, "SPLASH") == 0 ? CreateDIB(9, 9, 8) : nullptr;
    });
    EXPECT_TRUE(dib.LoadJPEGResource("SPLASH"));
    EXPECT_EQ(dib.Width(), 9u);
    EXPECT_EQ(dib.NumColors(), 256);
    EXPECT_FALSE(dib.LoadJPEGResource("OTHER"));
    SetJPEGResourceReader(nullptr);

    DibHolder source(MakePicture(5, 3, 8));
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(source));
    CDIB made;
    EXPECT_TRUE(made.Create(header, FindDIBBits(header)));
    GlobalUnlock(source);
    EXPECT_EQ(BlockBytes(made.GetHandle(), GlobalSize(source)), BlockBytes(source, GlobalSize(source)));
    EXPECT_EQ(made.GetBits(), FindDIBBits(GlobalLock(made.GetHandle())));
    GlobalUnlock(made.GetHandle());
}

TEST(CDIB, ThumbnailSizes)
{
    testpaths::TempDir dir;
    DibHolder small(MakePicture(50, 40, 24));
    std::string smallPath = WriteBmp(dir, "small.bmp", small);
    DibHolder thumb(LoadThumbnailDIB(smallPath.c_str(), 84, 68, 32));
    ASSERT_NE(thumb.dib, nullptr);
    EXPECT_EQ(HeaderOf(thumb).biWidth, 50) << "never enlarged";
    EXPECT_EQ(HeaderOf(thumb).biHeight, 40);
    EXPECT_EQ(HeaderOf(thumb).biBitCount, 24);

    DibHolder wide(MakePicture(300, 100, 8));
    DibHolder wideThumb(LoadThumbnailDIB(WriteBmp(dir, "wide.bmp", wide).c_str(), 84, 68, 24));
    EXPECT_EQ(HeaderOf(wideThumb).biWidth, 84);
    EXPECT_EQ(HeaderOf(wideThumb).biHeight, 28);
    EXPECT_EQ(LastPictureInfo.width, 300) << "the full size stays for the record";

    DibHolder tall(MakePicture(40, 300, 24));
    DibHolder tallThumb(LoadThumbnailDIB(WriteBmp(dir, "tall.bmp", tall).c_str(), 84, 68, 24));
    EXPECT_EQ(HeaderOf(tallThumb).biWidth, 9);
    EXPECT_EQ(HeaderOf(tallThumb).biHeight, 68);

    ReaderScope jpeg(12, &FakeJpeg);
    DibHolder jpegThumb(LoadThumbnailDIB(smallPath.c_str(), 84, 68, 24, "JPG"));
    EXPECT_EQ(HeaderOf(jpegThumb).biWidth, 84) << "JPEG pictures are always fitted";
    EXPECT_EQ(HeaderOf(jpegThumb).biHeight, 67);
    EXPECT_EQ(LastPictureInfo.width, 800);

    DibHolder eight(LoadThumbnailDIB(smallPath.c_str(), 84, 68, 8));
    EXPECT_EQ(HeaderOf(eight).biBitCount, 8);
    DibHolder four(LoadThumbnailDIB(smallPath.c_str(), 84, 68, 4));
    EXPECT_EQ(HeaderOf(four).biBitCount, 8);

    EXPECT_EQ(LoadThumbnailDIB(dir.File("none.bmp").c_str(), 84, 68, 24), nullptr);
    DibHolder line(MakePicture(1000, 1, 24));
    DibHolder lineThumb(LoadThumbnailDIB(WriteBmp(dir, "line.bmp", line).c_str(), 84, 68, 24));
    EXPECT_EQ(HeaderOf(lineThumb).biHeight, 1) << "at least one line";

    DibHolder deep(MakePicture(90, 10, 32));
    DibHolder deepThumb(LoadThumbnailDIB(WriteBmp(dir, "deep.bmp", deep).c_str(), 45, 68, 24));
    EXPECT_EQ(HeaderOf(deepThumb).biWidth, 45) << "32-bit pictures get thumbnails too";
}

TEST(CDIB, ThumbnailTurnsSwitchesOffAndRestoresThem)
{
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("x.tga"), "anything"));
    g_bReportProgress = TRUE;
    g_PhotoCDSize = 3;
    g_CouleursJPEG = 2;
    {
        ReaderScope watch(31, &WatchingReader);
        DibHolder thumb(LoadThumbnailDIB(dir.File("x.tga").c_str(), 84, 68, 24));
        EXPECT_NE(thumb.dib, nullptr);
    }
    EXPECT_EQ(g_seen.progress, FALSE);
    EXPECT_EQ(g_seen.photoCD, 0);
    EXPECT_EQ(g_seen.couleurs, 0);
    EXPECT_EQ(g_seen.thumbMode, 1);
    EXPECT_EQ(g_bReportProgress, TRUE);
    EXPECT_EQ(g_PhotoCDSize, 3);
    EXPECT_EQ(g_CouleursJPEG, 2);
    EXPECT_EQ(ThumbnailDecodeMode, 0);
    {
        ReaderScope failing(31, &FailingReader);
        EXPECT_EQ(LoadThumbnailDIB(dir.File("x.tga").c_str(), 84, 68, 24), nullptr);
    }
    EXPECT_EQ(g_seen.thumbMode, 1);
    EXPECT_EQ(g_bReportProgress, TRUE);
    EXPECT_EQ(g_PhotoCDSize, 3);
    EXPECT_EQ(g_CouleursJPEG, 2);
    EXPECT_EQ(ThumbnailDecodeMode, 0);
    g_PhotoCDSize = 2;
}

TEST(CDIB, ThumbnailsOnTwoThreadsKeepTheirOwnResults)
{
    testpaths::TempDir dir;
    DibHolder a(MakePicture(200, 100, 24));
    DibHolder b(MakePicture(60, 120, 8));
    const std::string pathA = WriteBmp(dir, "a.bmp", a), pathB = WriteBmp(dir, "b.bmp", b);
    std::atomic<int> failures{0};
    auto worker = [&](const std::string& path, LONG width, LONG height, int fullWidth) {
        for (int i = 0; i < 25; ++i) {
            DibHolder thumb(LoadThumbnailDIB(path.c_str(), 84, 68, 24));
            BITMAPINFOHEADER h = HeaderOf(thumb);
            if (h.biWidth != width || h.biHeight != height || LastPictureInfo.width != fullWidth)
                ++failures;
        }
    };
    std::thread first(worker, pathA, 84, 42, 200);
    std::thread second(worker, pathB, 34, 68, 60);
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
}
