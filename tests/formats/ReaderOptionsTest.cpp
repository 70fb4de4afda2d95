// The readers' options are per thread: thumbnails built on a worker never show in the user's
// settings, which the user-interface thread goes on reading and changing meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/DIB.h"
#include "core/LoadDispatch.h"
#include "core/ReaderOptions.h"
#include "core/ReaderSettings.h"
#include "formats/FormatJpeg.h"
#include "formats/Readers.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

using namespace libfmt;

namespace {

void Stripes(int x, int y, BYTE* rgb)
{
    rgb[0] = BYTE(x * 3);
    rgb[1] = BYTE(y * 5);
    rgb[2] = BYTE((x + y) & 0x80);
}

bool SameOptions(const ReaderOptions& a, const ReaderOptions& b)
{
    return a.reportProgress == b.reportProgress && a.photoCDSize == b.photoCDSize
           && a.jpegColours == b.jpegColours && a.wmfWidth == b.wmfWidth && a.wmfHeight == b.wmfHeight;
}

// What the worker's stand-in reader saw; wrong counts loads that saw anything but thumbnail options.
std::atomic<int> g_thumbnailReads{0};
std::atomic<int> g_wrongThumbnailOptions{0};
PackedDIB WatchingReader(LPCSTR)
{
    const ReaderOptions seen = CurrentReaderOptions();
    ++g_thumbnailReads;
    if (seen.reportProgress || seen.photoCDSize != 0 || seen.jpegColours != 0)
        ++g_wrongThumbnailOptions;
    return CreateDIB(120, 90, 24);
}

// The user's settings as the test found them, put back at the end.
struct UserSettingsGuard {
    ReaderOptions saved = UserReaderOptions();
    ~UserSettingsGuard()
    {
        g_bReportProgress = saved.reportProgress;
        g_PhotoCDSize = saved.photoCDSize;
        g_CouleursJPEG = saved.jpegColours;
        g_DefaultWmfCX = saved.wmfWidth;
        g_DefaultWmfCY = saved.wmfHeight;
    }
};

void SetUserSettings(const ReaderOptions& o)
{
    g_bReportProgress = o.reportProgress;
    g_PhotoCDSize = o.photoCDSize;
    g_CouleursJPEG = o.jpegColours;
    g_DefaultWmfCX = o.wmfWidth;
    g_DefaultWmfCY = o.wmfHeight;
}

} // namespace

TEST(ReaderOptions, ScopesNestAndBelongToTheirThread)
{
    UserSettingsGuard guard;
    SetUserSettings(ReaderOptions{TRUE, 2, 2, 640, 480});
    {
        CReaderOptionsScope outer(ReaderOptions{FALSE, 0, 1, 100, 100});
        {
            CReaderOptionsScope inner(CurrentReaderOptions().WithProgress(TRUE));
            EXPECT_TRUE(SameOptions(CurrentReaderOptions(), ReaderOptions{TRUE, 0, 1, 100, 100}));
            ReaderOptions other{};
            std::thread([&] { other = CurrentReaderOptions(); }).join();
            EXPECT_TRUE(SameOptions(other, UserReaderOptions())) << "another thread sees the user's settings";
        }
        EXPECT_TRUE(SameOptions(CurrentReaderOptions(), ReaderOptions{FALSE, 0, 1, 100, 100}));
        EXPECT_EQ(g_CouleursJPEG, 2);
    }
    EXPECT_TRUE(SameOptions(CurrentReaderOptions(), UserReaderOptions()));
}

TEST(ReaderOptions, WorkerThumbnailsLeaveTheUserSettingsAsTheUserLeftThem)
{
    InstallPictureReaders();
    testpaths::TempDir dir;
    PackedDIB source = MakeTrueColorDib(400, 300, Stripes);
    const std::string jpeg = dir.File("worker.jpg");
    ASSERT_EQ(SaveJPEG(source, jpeg.c_str(), 80), 0);
    GlobalFreeHandle(source);
    const std::string stand = dir.File("stand.tga");
    ASSERT_TRUE(testpaths::WriteBytes(stand, "anything"));
    const PictureReader savedTga = GetPictureReader(31);
    SetPictureReader(31, &WatchingReader);
    g_thumbnailReads = 0;
    g_wrongThumbnailOptions = 0;

    UserSettingsGuard guard;
    const ReaderOptions choices[] = {
        {TRUE, 3, 1, 800, 600},
        {FALSE, 1, 2, 320, 200},
        {TRUE, 2, 1, 5000, 10},
    };
    SetUserSettings(choices[0]);

    std::atomic<bool> done{false};
    std::atomic<int> badThumbnails{0};
    std::thread worker([&] {
        for (int i = 0; i < 40; ++i) {
            PackedDIB thumb = LoadThumbnailDIB(i % 2 ? jpeg.c_str() : stand.c_str(), 84, 68, 24);
            if (thumb == nullptr)
                ++badThumbnails;
            else
                GlobalFreeHandle(thumb);
        }
        done = true;
    });

    // Meanwhile the user changes the settings and reads them back, and loads with them.
    int rounds = 0, changed = 0, eightBitLoads = 0;
    ReaderOptions last = choices[0];
    while (!done || rounds < 50) {
        last = choices[rounds % 3];
        SetUserSettings(last);
        for (int look = 0; look < 20; ++look) {
            SwitchToThread();
            if (!SameOptions(UserReaderOptions(), last) || !SameOptions(CurrentReaderOptions(), last))
                ++changed;
        }
        if (rounds % 10 == 0 && last.jpegColours == 1) {
            CDIB picture;
            picture.Read(jpeg.c_str(), "");
            if (picture.NumColors() > 0)
                ++eightBitLoads;
        }
        ++rounds;
    }
    worker.join();
    SetPictureReader(31, savedTga);

    EXPECT_EQ(changed, 0) << "a thumbnail load showed in the user's settings";
    EXPECT_TRUE(SameOptions(UserReaderOptions(), last)) << "the settings are as the user left them";
    EXPECT_EQ(badThumbnails.load(), 0);
    EXPECT_EQ(g_thumbnailReads.load(), 20);
    EXPECT_EQ(g_wrongThumbnailOptions.load(), 0) << "thumbnails load quietly, small and in 24 bits";
    EXPECT_GT(eightBitLoads, 0) << "the user's own loads follow the user's \"CouleursJPEG\"";
    EXPECT_EQ(ThumbnailDecodeMode, 0);
}
