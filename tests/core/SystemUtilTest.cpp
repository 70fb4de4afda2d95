// Path splitting, folder and file tests, folder creation, DOS dates, common controls, file icons.
#include <gtest/gtest.h>

#include <string>

#include "core/RegistryUtil.h"
#include "core/SystemUtil.h"
#include "tests/support/TestPaths.h"

namespace {

std::string S(const CString& s) { return s.Str(); }

// Sets the last write to a local time (converted with the zone's present offset, as the system's
// conversions do).
void SetWriteTime(const std::string& path, const SYSTEMTIME& localTime)
{
    FILETIME local, ft;
    ASSERT_TRUE(SystemTimeToFileTime(&localTime, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &ft));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
}

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    st.wMilliseconds = ms;
    return st;
}

// The pixels of an icon's colour and mask bitmaps.
std::string IconBits(HICON icon)
{
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return "";
    std::string bits;
    for (HBITMAP h : {info.hbmColor, info.hbmMask}) {
        BITMAP bm = {};
        if (h != nullptr && GetObjectA(h, sizeof(bm), &bm)) {
            std::string part(size_t(bm.bmWidthBytes) * bm.bmHeight, '\0');
            GetBitmapBits(h, LONG(part.size()), &part[0]);
            bits += part;
        }
        if (h != nullptr)
            DeleteObject(h);
    }
    return bits;
}

bool IsFolder(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TEST(SplitPath, FolderAndNameAtTheLastBackslash)
{
    CString folder = "inchang\xE9", name;
    SplitPath("C:\\Images\\a.jpg", &folder, &name);
    EXPECT_EQ(S(folder), "C:\\Images");
    EXPECT_EQ(S(name), "a.jpg");
    folder = "inchang\xE9";
    SplitPath("a.jpg", &folder, &name);
    EXPECT_EQ(S(folder), "inchang\xE9");
    EXPECT_EQ(S(name), "a.jpg");
    SplitPath("C:\\a.jpg", &folder, &name);
    EXPECT_EQ(S(folder), "C:");
    EXPECT_EQ(S(name), "a.jpg");
}

TEST(HasSubfolders, IgnoresDotNamesAndFiles)
{
    testpaths::TempDir dir;
    EXPECT_FALSE(HasSubfolders(dir.Path().c_str()));
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("photo.jpg"), "x"));
    ASSERT_TRUE(CreateDirectoryA(dir.File(".cache").c_str(), nullptr));
    EXPECT_FALSE(HasSubfolders(dir.Path().c_str()));
    ASSERT_TRUE(CreateDirectoryA(dir.File("Vacances").c_str(), nullptr));
    EXPECT_TRUE(HasSubfolders(dir.Path().c_str()));
    EXPECT_TRUE(HasSubfolders((dir.Path() + "\\").c_str()));
    EXPECT_FALSE(HasSubfolders(dir.File("absent").c_str()));
}

TEST(IsFileInUse, OnlyAFileHeldByAnotherHandleIsBusy)
{
    testpaths::TempDir dir;
    const std::string free = dir.File("libre.jpg"), locked = dir.File("ouvert.jpg");
    const std::string ro = dir.File("lecture.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(free, "a"));
    ASSERT_TRUE(testpaths::WriteBytes(locked, "b"));
    ASSERT_TRUE(testpaths::WriteBytes(ro, "c"));
    ASSERT_TRUE(SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(IsFileInUse(dir.File("absent.jpg").c_str()));
    EXPECT_FALSE(IsFileInUse(ro.c_str()));
    EXPECT_FALSE(IsFileInUse(free.c_str()));
    EXPECT_TRUE(IsFileInUse(locked.c_str()));
    EXPECT_FALSE(IsFileInUse(dir.Path().c_str())) << "a folder never becomes free: not busy";

    EXPECT_EQ(IsFileMissingOrBusy(dir.File("absent.jpg").c_str()), 1);
    EXPECT_EQ(IsFileMissingOrBusy(locked.c_str()), 1);
    EXPECT_EQ(IsFileMissingOrBusy(ro.c_str()), 0);
    EXPECT_EQ(IsFileMissingOrBusy(free.c_str()), 0);

    CloseHandle(holder);
    EXPECT_FALSE(IsFileInUse(locked.c_str()));
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CreateFolderPath, CreatesEachLevel)
{
    testpaths::TempDir dir;
    const std::string target = dir.File("a") + "\\b\\";
    EXPECT_TRUE(CreateFolderPath(target.c_str()));
    EXPECT_TRUE(IsFolder(dir.File("a")));
    EXPECT_TRUE(IsFolder(dir.File("a") + "\\b"));
    // Again: everything exists already.
    EXPECT_TRUE(CreateFolderPath(target.c_str()));
}

TEST(CreateFolderPath, RefusesAFileInTheWayAndOverlongPaths)
{
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("a"), "file"));
    EXPECT_FALSE(CreateFolderPath((dir.File("a") + "\\b").c_str()));
    EXPECT_FALSE(IsFolder(dir.File("a") + "\\b"));
    EXPECT_FALSE(CreateFolderPath("C:"));
    EXPECT_FALSE(CreateFolderPath(nullptr));
    const std::string longPath = dir.File(std::string(300, 'x'));
    EXPECT_FALSE(CreateFolderPath(longPath.c_str()));
}

TEST(DosDates, FileDatesAreLocalTimeInTwoSecondSteps)
{
    testpaths::TempDir dir;
    const std::string a = dir.File("a.jpg"), b = dir.File("b.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(a, "a"));
    ASSERT_TRUE(testpaths::WriteBytes(b, "b"));
    SetWriteTime(a, At(2001, 9, 1, 12, 0, 0));
    WORD date = 1, time = 1;
    GetFileDosDateTime(a.c_str(), &date, &time);
    EXPECT_EQ(date, 0x2B21);
    EXPECT_EQ(time, 0x6000);
    date = 7;
    time = 8;
    GetFileDosDateTime(dir.File("absent").c_str(), &date, &time);
    EXPECT_EQ(date, 7);
    EXPECT_EQ(time, 8);

    // 0.2 s apart, in the same two-second step.
    SetWriteTime(b, At(2001, 9, 1, 12, 0, 0, 200));
    EXPECT_EQ(CompareFileDates(a.c_str(), b.c_str()), 0);
    SetWriteTime(b, At(2001, 9, 1, 12, 0, 2));
    EXPECT_EQ(CompareFileDates(a.c_str(), b.c_str()), -1);
    EXPECT_EQ(CompareFileDates(b.c_str(), a.c_str()), 1);
    // A missing file counts as older than any file.
    EXPECT_EQ(CompareFileDates(dir.File("absent").c_str(), a.c_str()), -1);
    EXPECT_EQ(CompareFileDates(a.c_str(), dir.File("absent").c_str()), 1);
}

TEST(DosDates, CurrentDateIsToday)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WORD date = 0, time = 0;
    GetCurrentDosDateTime(&date, &time);
    EXPECT_EQ(date & 0x1F, now.wDay);
    EXPECT_EQ((date >> 5) & 0x0F, now.wMonth);
    EXPECT_EQ((date >> 9) + 1980, now.wYear);
}

TEST(CommonControls, VersionDecision)
{
    EXPECT_FALSE(ComCtlVersionAtLeast472(1, 4, 71));
    EXPECT_TRUE(ComCtlVersionAtLeast472(1, 4, 72));
    EXPECT_TRUE(ComCtlVersionAtLeast472(1, 5, 0));
    EXPECT_FALSE(ComCtlVersionAtLeast472(1, 3, 99));
    EXPECT_FALSE(ComCtlVersionAtLeast472(1, 0, 0)) << "no version information";
    EXPECT_FALSE(ComCtlVersionAtLeast472(0, 6, 0));
    // Wine's library exports InitCommonControlsEx; the answer is kept.
    EXPECT_TRUE(InitComCtl32());
    EXPECT_EQ(InitComCtl32(), InitComCtl32());
}

TEST(GetFileTypeIcon, UnknownTypesGiveACopyOfTheFallback)
{
    HICON fallback = LoadIconA(nullptr, IDI_ASTERISK);
    SetFileTypeFallbackIcon(fallback);
    for (LPCSTR name : {"sans_extension", "photo.inconnuextension", "a.tres_longue_extension_de_fichier"}) {
        HICON icon = GetFileTypeIcon(name);
        ASSERT_NE(icon, nullptr) << name;
        EXPECT_NE(icon, fallback) << "a copy the caller may destroy";
        EXPECT_TRUE(DestroyIcon(icon));
    }
    SetFileTypeFallbackIcon(nullptr);
    HICON icon = GetFileTypeIcon("x.pasdetype");
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST(GetFileTypeIcon, RegisteredTypeGivesItsDefaultIconElseTheFallback)
{
    HICON expected = nullptr;
    if (ExtractIconExA("user32.dll", 0, &expected, nullptr, 1) == 0 || expected == nullptr)
        GTEST_SKIP() << "no icon in user32.dll here";
    HICON fallback = LoadIconA(nullptr, IDI_ASTERISK);
    ASSERT_NE(IconBits(expected), IconBits(fallback));
    SetFileTypeFallbackIcon(fallback);
    ASSERT_EQ(RegSetString(HKEY_CLASSES_ROOT, ".tsttype", nullptr, "TessarineTestType"), 1);
    ASSERT_EQ(RegSetString(HKEY_CLASSES_ROOT, "TessarineTestType\\DefaultIcon", nullptr, "user32.dll,0"), 1);
    HICON icon = GetFileTypeIcon("C:\\Images\\photo.TstType");
    EXPECT_EQ(IconBits(icon), IconBits(expected));
    DestroyIcon(icon);

    // No DefaultIcon, and an open command whose program has no icon: the fallback.
    RegDeleteKeyTree(HKEY_CLASSES_ROOT, "TessarineTestType\\DefaultIcon");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    ASSERT_EQ(RegSetString(HKEY_CLASSES_ROOT, "TessarineTestType\\shell\\Open\\command", nullptr,
                           (std::string("\"") + self + "\" \"%1\"").c_str()),
              1);
    icon = GetFileTypeIcon("photo.tsttype");
    EXPECT_EQ(IconBits(icon), IconBits(fallback));
    DestroyIcon(icon);

    DestroyIcon(expected);
    RegDeleteKeyTree(HKEY_CLASSES_ROOT, "TessarineTestType");
    RegDeleteKeyTree(HKEY_CLASSES_ROOT, ".tsttype");
    SetFileTypeFallbackIcon(nullptr);
}
