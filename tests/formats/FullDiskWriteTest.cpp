// The picture writers on a disk that fills up while they write: every cut, up to the file's very last
// byte, is a failure that leaves the earlier file as it was and nothing beside it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/BmpFile.h"
#include "core/FileWrappers.h"
#include "core/PackedDib.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "tests/formats/LibFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (data.cFileName[0] != '.')
            names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// Lifts the limit whatever the test's outcome.
struct RoomScope {
    explicit RoomScope(LONGLONG bytes) { SetWriteFileRoom(bytes); }
    ~RoomScope() { SetWriteFileRoom(-1); }
};

} // namespace

TEST(FullDiskWrite, EveryCutIsAFailureThatLeavesTheEarlierFile)
{
    PackedDIB dib = libfmt::MakeTrueColorDib(97, 61, [](int x, int y, BYTE* rgb) {
        rgb[0] = BYTE(x * 7 + y);
        rgb[1] = BYTE(y * 13);
        rgb[2] = BYTE((x * y) ^ 0x5A);
    });
    ASSERT_NE(dib, nullptr);
    struct Writer {
        const char* name;
        std::function<bool(LPCSTR)> write; // true when the writer reports success
    };
    const Writer writers[] = {
        {"shot.png", [dib](LPCSTR path) { return SavePNG(dib, path) == kSavePNGDone; }},
        {"shot.jpg", [dib](LPCSTR path) { return SaveJPEG(dib, path, 80) == kSaveJPEGDone; }},
        {"shot.bmp", [dib](LPCSTR path) { return SaveDIBFile(dib, path) == kSaveDIBOk; }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        testpaths::TempDir whole;
        ASSERT_TRUE(w.write(whole.File(w.name).c_str()));
        const LONGLONG size = static_cast<LONGLONG>(testpaths::ReadBytes(whole.File(w.name)).size());
        ASSERT_GT(size, 100);
        for (LONGLONG room : {0LL, 8LL, size / 2, size - 12, size - 1}) {
            SCOPED_TRACE(room);
            testpaths::TempDir dir;
            const std::string target = dir.File(w.name);
            ASSERT_TRUE(testpaths::WriteBytes(target, "earlier picture"));
            {
                RoomScope full(room);
                EXPECT_FALSE(w.write(target.c_str()));
            }
            EXPECT_EQ(testpaths::ReadBytes(target), "earlier picture");
            EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{w.name});
            // Into a folder without the file: nothing at all is left.
            testpaths::TempDir empty;
            {
                RoomScope full(room);
                EXPECT_FALSE(w.write(empty.File(w.name).c_str()));
            }
            EXPECT_TRUE(Entries(empty.Path()).empty());
        }
        // With exactly the room the file needs, it is written whole.
        testpaths::TempDir dir;
        {
            RoomScope full(size);
            EXPECT_TRUE(w.write(dir.File(w.name).c_str()));
        }
        EXPECT_EQ(testpaths::ReadBytes(dir.File(w.name)), testpaths::ReadBytes(whole.File(w.name)));
    }
    GlobalFreeHandle(dib);
}
