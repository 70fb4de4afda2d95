// The loaders of JPEG pictures kept as resources: a copy of this test program is given the
// resources with UpdateResource and loaded as the resource module.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Palette.h"
#include "core/ReaderOptions.h"
#include "core/ReaderSettings.h"
#include "formats/FormatJpeg.h"
#include "formats/Readers.h"
#include "framework/String.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

// Points the system's temporary folder (TMP, TEMP) at a folder of the test's own while it lives,
// so that copies left by the loaders are not confused with other programs' files.
class PrivateTempFolder {
public:
    explicit PrivateTempFolder(const std::string& folder)
    {
        GetEnvironmentVariableA("TMP", m_tmp, MAX_PATH);
        GetEnvironmentVariableA("TEMP", m_temp, MAX_PATH);
        CreateDirectoryA(folder.c_str(), nullptr);
        SetEnvironmentVariableA("TMP", folder.c_str());
        SetEnvironmentVariableA("TEMP", folder.c_str());
    }
    ~PrivateTempFolder()
    {
        SetEnvironmentVariableA("TMP", m_tmp[0] ? m_tmp : nullptr);
        SetEnvironmentVariableA("TEMP", m_temp[0] ? m_temp : nullptr);
    }

private:
    char m_tmp[MAX_PATH] = "";
    char m_temp[MAX_PATH] = "";
};

// Files tmp*.tmp in the temporary folder, where the loaders put their copies.
int TemporaryCopies()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((std::string(folder) + "tmp*.tmp").c_str(), &data);
    int count = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return count;
}

// A copy of this program holding the test resources, made the resource module while it lives.
class ResourceModule {
public:
    explicit ResourceModule(const testpaths::TempDir& dir)
    {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string copy = dir.File("resources.exe");
        if (!CopyFileA(self, copy.c_str(), FALSE))
            return;
        const std::string jpeg = FileBytes(TestImage("jpeg", "testorig.jpg"));
        const std::string broken = "\xFF\xD8\xFF\xE0 not really a JPEG";
        HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
        if (!update)
            return;
        const WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
        bool ok = UpdateResourceA(update, MAKEINTRESOURCEA(JPEG_RESOURCE_TYPE), MAKEINTRESOURCEA(1), language,
                                  const_cast<char*>(jpeg.data()), static_cast<DWORD>(jpeg.size()))
                  && UpdateResourceA(update, "JPEG", "SPLASH", language, const_cast<char*>(jpeg.data()),
                                     static_cast<DWORD>(jpeg.size()))
                  && UpdateResourceA(update, "JPEG", "BROKEN", language, const_cast<char*>(broken.data()),
                                     static_cast<DWORD>(broken.size()));
        if (!EndUpdateResourceA(update, !ok) || !ok)
            return;
        m_module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (m_module) {
            m_previous = AfxGetResourceHandle();
            AfxSetResourceHandle(m_module);
        }
    }
    ~ResourceModule()
    {
        if (m_module) {
            AfxSetResourceHandle(m_previous);
            FreeLibrary(m_module);
        }
    }
    bool Ok() const { return m_module != nullptr; }

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

Image LoadFile24(const std::string& path)
{
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    PackedDIB dib = LoadJPEG(path.c_str());
    Image image = DibToImage(dib);
    GlobalFreeHandle(dib);
    return image;
}

int BitCount(PackedDIB dib)
{
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    const int bits = header->biBitCount;
    GlobalUnlock(dib);
    return bits;
}

} // namespace

TEST(LoadJPEGResource, NumberedResourceGivesThePictureAndLeavesNoCopy)
{
    testpaths::TempDir dir;
    ResourceModule resources(dir);
    ASSERT_TRUE(resources.Ok());
    PrivateTempFolder temp(dir.File("temp"));
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    SetScreenBitsPerPixelForTest(32);
    const int copies = TemporaryCopies();
    PackedDIB dib = LoadJPEGResourceById(nullptr, 1);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(BitCount(dib), 24);
    Difference d = Compare(DibToImage(dib), LoadFile24(TestImage("jpeg", "testorig.jpg")));
    GlobalFreeHandle(dib);
    EXPECT_TRUE(d.sameSize);
    EXPECT_EQ(d.maxDiff, 0);
    EXPECT_EQ(TemporaryCopies(), copies);
    EXPECT_EQ(LoadJPEGResourceById(nullptr, 2), nullptr);
    EXPECT_EQ(TemporaryCopies(), copies);
}

TEST(LoadJPEGResource, NumberedResourceOnAFourBitScreenIsReduced)
{
    testpaths::TempDir dir;
    ResourceModule resources(dir);
    ASSERT_TRUE(resources.Ok());
    ReaderStateGuard guard;
    g_CouleursJPEG = 2;
    SetScreenBitsPerPixelForTest(4);
    PackedDIB dib = LoadJPEGResourceById(nullptr, 1);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(BitCount(dib), 8);
    // The eight colours of one bit per channel, nothing else.
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const BYTE* rows = FindDIBBits(block);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    for (DWORD i = 0; i < DIBRowBytes(DIBWidth(block), 8) * DIBHeight(block); i += 97) {
        const RGBQUAD& c = table[rows[i]];
        EXPECT_TRUE((c.rgbRed == 0 || c.rgbRed == 255) && (c.rgbGreen == 0 || c.rgbGreen == 255)
                    && (c.rgbBlue == 0 || c.rgbBlue == 255));
    }
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

TEST(LoadJPEGResource, NamedResourceLoadsWithoutTheGauge)
{
    testpaths::TempDir dir;
    ResourceModule resources(dir);
    ASSERT_TRUE(resources.Ok());
    PrivateTempFolder temp(dir.File("temp"));
    ReaderStateGuard guard;
    g_CouleursJPEG = 0;
    g_bReportProgress = TRUE;
    RecordingProgress progress;
    const int copies = TemporaryCopies();
    PackedDIB dib = LoadJPEGResource(nullptr, "SPLASH");
    ASSERT_NE(dib, nullptr);
    GlobalFreeHandle(dib);
    EXPECT_EQ(progress.begins + progress.sets + progress.ends, 0);
    EXPECT_EQ(g_bReportProgress, TRUE);
    // A damaged resource and a missing one: nothing, and no copy left behind.
    EXPECT_EQ(LoadJPEGResource(nullptr, "BROKEN"), nullptr);
    EXPECT_EQ(LoadJPEGResource(nullptr, "ABSENT"), nullptr);
    EXPECT_EQ(TemporaryCopies(), copies);
}

TEST(LoadJPEGResource, SixteenColourLoaderUsesOnlyTheStandardColours)
{
    testpaths::TempDir dir;
    ResourceModule resources(dir);
    ASSERT_TRUE(resources.Ok());
    PackedDIB dib = LoadJPEGResource16Colors(nullptr, "SPLASH");
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(JPEGFixedColorMap.flag, 0);
    EXPECT_EQ(BitCount(dib), 8);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(table[9].rgbRed, 255); // (255, 0, 0), entry 9
    EXPECT_EQ(table[9].rgbGreen, 0);
    EXPECT_EQ(table[7].rgbBlue, 192);
    for (int i = 16; i < 256; ++i)
        EXPECT_EQ(table[i].rgbRed + table[i].rgbGreen + table[i].rgbBlue, 0);
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

TEST(LoadJPEGResource, PaletteLoaderQuantisesOntoThePalette)
{
    testpaths::TempDir dir;
    ResourceModule resources(dir);
    ASSERT_TRUE(resources.Ok());
    LOGPALETTE256 greys = {0x300, 256, {}};
    for (int i = 0; i < 256; ++i)
        greys.palPalEntry[i] = PALETTEENTRY{BYTE(i), BYTE(i), BYTE(i), 0};
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&greys));
    ASSERT_NE(palette, nullptr);
    PackedDIB dib = LoadJPEGResourceWithPalette(nullptr, "SPLASH", palette);
    DeleteObject(palette);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(JPEGFixedColorMap.flag, 0);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; i += 15) {
        EXPECT_EQ(table[i].rgbRed, i);
        EXPECT_EQ(table[i].rgbBlue, i);
    }
    GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

// The fixed colour map is process-wide: while the interface thread loads a resource onto it, a
// worker's load must neither see it nor have its map changed under it.
TEST(LoadJPEGResource, FixedMapLoadsNeverReachAnotherThreadsPictures)
{
    testpaths::TempDir dir;
    ResourceModule resources(dir);
    ASSERT_TRUE(resources.Ok());
    PrivateTempFolder temp(dir.File("temp"));
    InstallPictureReaders();
    const std::string path = TestImage("jpeg", "testorig.jpg");
    std::atomic<bool> done{false};
    std::atomic<int> loads{0}, eightBit{0};
    std::thread worker([&] {
        ReaderOptions options = CurrentReaderOptions().WithProgress(FALSE);
        options.jpegColours = 0;
        CReaderOptionsScope scope(options);
        while (!done) {
            CDIB picture;
            picture.Read(path.c_str(), "");
            ++loads;
            if (picture.NumColors() != 0)
                ++eightBit;
        }
    });
    for (int i = 0; i < 12; ++i) {
        PackedDIB dib = LoadJPEGResource16Colors(nullptr, "SPLASH");
        EXPECT_NE(dib, nullptr);
        GlobalFreeHandle(dib);
    }
    while (loads < 3)
        SwitchToThread();
    done = true;
    worker.join();
    EXPECT_EQ(eightBit.load(), 0) << "of " << loads.load() << " loads";
}
