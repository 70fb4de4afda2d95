// File and folder utilities: existence, deletion that stays inside what it was given, path case,
// resources written to temporary files, copies and safe replacement.
#include <gtest/gtest.h>

#include "core/FileUtil.h"
#include "core/FileWrappers.h"
#include "framework/SafeFileWrite.h"
#include "framework/File.h"
#include "framework/String.h"
#include "framework/TestSeams.h"
#include "tests/support/TestPaths.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Names of the files and folders in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
            names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

// Restores the working directory a test changes.
struct CwdScope {
    std::string saved = CurrentDirectory();
    ~CwdScope() { SetCurrentDirectoryA(saved.c_str()); }
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::string& path, const std::string& text = "x")
{
    ASSERT_TRUE(testpaths::WriteBytes(path, text)) << path;
}

// A disk that takes half of each write and says nothing of the rest, as a full one may.
BOOL WINAPI HalfTakenWrite(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    return ::WriteFile(file, data, count / 2, written, overlapped);
}

CString DiskFullWords(DWORD error, LPCSTR) { return error == ERROR_DISK_FULL ? "Le disque est plein." : ""; }

// A directory junction (or, failing that, a directory symbolic link) from link to target; false
// when the system can make neither.
bool MakeJunction(const std::string& link, const std::string& target)
{
    typedef BOOLEAN(WINAPI * CreateLink)(LPCSTR, LPCSTR, DWORD);
    auto createLink = reinterpret_cast<CreateLink>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (createLink && createLink(link.c_str(), target.c_str(), 1 /* directory */)) {
        DWORD attributes = GetFileAttributesA(link.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
        RemoveDirectoryA(link.c_str());
    }
    if (!CreateDirectoryA(link.c_str(), nullptr))
        return false;
    HANDLE h = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        RemoveDirectoryA(link.c_str());
        return false;
    }
    std::wstring substitute = L"\\??\\";
    for (char c : target)
        substitute += wchar_t(static_cast<unsigned char>(c));
    const WORD substituteBytes = WORD(substitute.size() * 2);
    std::vector<BYTE> buffer(8 + 8 + substituteBytes + 2 + 2, 0);
    auto put16 = [&](size_t at, WORD v) { memcpy(&buffer[at], &v, 2); };
    DWORD tag = 0xA0000003; // IO_REPARSE_TAG_MOUNT_POINT
    memcpy(&buffer[0], &tag, 4);
    put16(4, WORD(buffer.size() - 8));
    put16(8, 0);                          // substitute name offset
    put16(10, substituteBytes);           // substitute name length
    put16(12, WORD(substituteBytes + 2)); // print name offset (empty print name)
    put16(14, 0);
    memcpy(&buffer[16], substitute.data(), substituteBytes);
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(h, 0x000900A4 /* FSCTL_SET_REPARSE_POINT */, buffer.data(),
                              DWORD(buffer.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(h);
    DWORD attributes = GetFileAttributesA(link.c_str());
    if (!ok || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveDirectoryA(link.c_str());
        return false;
    }
    return true;
}

} // namespace

TEST(FileUtil, ExistenceOfFilesFoldersAndPatterns)
{
    testpaths::TempDir dir;
    Touch(dir.File("b.jpg"));
    CreateDirectoryA(dir.File("a.jpg").c_str(), nullptr);
    CreateDirectoryA(dir.File("only").c_str(), nullptr);
    CreateDirectoryA(dir.File("only\\x.png").c_str(), nullptr);

    EXPECT_EQ(FileExists(dir.File("b.jpg").c_str()), 1);
    EXPECT_EQ(FileExists(dir.File("a.jpg").c_str()), 0) << "a folder is not a file";
    EXPECT_EQ(FileExists(dir.File("none.jpg").c_str()), 0);
    EXPECT_EQ(FileExists(dir.File("*.jpg").c_str()), 1) << "a matching file, even after a matching folder";
    EXPECT_EQ(FileExists(dir.File("only\\*.png").c_str()), 0) << "only a folder matches";
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(FileExists(nullptr), 0);

    EXPECT_EQ(FolderExists(dir.Path().c_str()), 1);
    EXPECT_EQ(FolderExists(dir.File("b.jpg").c_str()), 0) << "a file is not a folder";
    EXPECT_EQ(FolderExists(dir.File("none").c_str()), 0);
    EXPECT_EQ(FolderExists(dir.File("a.j?g").c_str()), 0) << "a pattern names no folder";
    EXPECT_EQ(FolderExists("Q:\\"), 1) << "a drive root, present or not";
    EXPECT_EQ(FolderExists("q:\\"), 1);
    EXPECT_EQ(FolderExists("Q:"), 0) << "two characters ask the disk";
    EXPECT_EQ(FolderExists(""), 0);

    EXPECT_EQ(FolderHasSubfolders(dir.Path().c_str()), 1);
    EXPECT_EQ(FolderHasSubfolders(dir.File("only\\x.png").c_str()), 0);
}

TEST(FileUtil, FileLengthAndItsException)
{
    testpaths::TempDir dir;
    Touch(dir.File("five"), "12345");
    EXPECT_EQ(GetFileLength(dir.File("five").c_str()), 5u);
    EXPECT_EQ(GetFileSizeByName(dir.File("five").c_str()), 5u);
    EXPECT_EQ(GetFileSizeByName(dir.File("none").c_str()), 0u);
    EXPECT_THROW(GetFileLength(dir.File("none").c_str()), CFileException);
}

TEST(FileUtil, DeleteFolderTreeLeavesDotFilesAndSaysSo)
{
    testpaths::TempDir dir;
    std::string root = dir.File("tree");
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    Touch(root + "\\a.txt");
    Touch(root + "\\sub\\b.txt");
    Touch(root + "\\sub\\.keep");
    SetFileAttributesA((root + "\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(DeleteFolderTree(root.c_str()), 0);
    EXPECT_FALSE(Exists(root + "\\a.txt")) << "read-only files are deleted";
    EXPECT_FALSE(Exists(root + "\\sub\\b.txt"));
    EXPECT_TRUE(Exists(root + "\\sub\\.keep"));

    DeleteFileA((root + "\\sub\\.keep").c_str());
    CwdScope cwd;
    SetCurrentDirectoryA((root + "\\sub").c_str());
    EXPECT_EQ(DeleteFolderTree(root.c_str()), 1) << "even while it is the current directory";
    EXPECT_FALSE(Exists(root));
}

TEST(FileUtil, DeleteFolderTreeDoesNotFollowJunctions)
{
    testpaths::TempDir dir;
    std::string target = dir.File("precious");
    std::string tree = dir.File("tree");
    CreateDirectoryA(target.c_str(), nullptr);
    CreateDirectoryA(tree.c_str(), nullptr);
    Touch(target + "\\keep.txt");
    if (!MakeJunction(tree + "\\link", target))
        GTEST_SKIP() << "this system cannot make directory junctions";
    EXPECT_EQ(DeleteFolderTree(tree.c_str()), 1);
    EXPECT_FALSE(Exists(tree));
    EXPECT_TRUE(Exists(target + "\\keep.txt")) << "the junction's target is untouched";

    ASSERT_TRUE(MakeJunction(dir.File("direct"), target));
    EXPECT_EQ(DeleteFolderTree(dir.File("direct").c_str()), 1) << "a junction given directly";
    EXPECT_TRUE(Exists(target + "\\keep.txt"));
    EXPECT_EQ(EmptyFolder(dir.Path().c_str()), 1);
}

TEST(FileUtil, EmptyFolderKeepsTheFolderAndTheWorkingDirectory)
{
    testpaths::TempDir dir;
    CwdScope cwd;
    std::string root = dir.File("box");
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    Touch(root + "\\a.txt");
    Touch(root + "\\sub\\b.txt");
    SetCurrentDirectoryA(dir.Path().c_str());
    EXPECT_EQ(EmptyFolder(root.c_str()), 1);
    EXPECT_TRUE(Exists(root));
    EXPECT_FALSE(Exists(root + "\\a.txt"));
    EXPECT_FALSE(Exists(root + "\\sub"));
    EXPECT_EQ(CurrentDirectory(), dir.Path());

    // A file held open without delete sharing keeps its subfolder: failure, directory restored.
    CreateDirectoryA((root + "\\busy").c_str(), nullptr);
    Touch(root + "\\busy\\held.txt");
    HANDLE held =
        CreateFileA((root + "\\busy\\held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(EmptyFolder(root.c_str()), 0);
    EXPECT_EQ(CurrentDirectory(), dir.Path());
    CloseHandle(held);
}

TEST(FileUtil, DeleteFilesInFolderStaysInItsFolder)
{
    testpaths::TempDir dir;
    Touch(dir.File("a.dai"));
    Touch(dir.File("b.dai"));
    Touch(dir.File("c.jpg"));
    Touch(dir.File(".hidden.dai"));
    EXPECT_EQ(DeleteFilesInFolder(dir.File("*.none").c_str()), 1) << "nothing matched";
    EXPECT_EQ(DeleteFilesInFolder(dir.File("*.dai").c_str()), 1);
    EXPECT_FALSE(Exists(dir.File("a.dai")));
    EXPECT_FALSE(Exists(dir.File("b.dai")));
    EXPECT_TRUE(Exists(dir.File("c.jpg")));
    EXPECT_TRUE(Exists(dir.File(".hidden.dai")));

    // A bare name is taken in the current directory, never in the drive's root.
    char root[4] = {dir.Path()[0], ':', '\\', 0};
    std::string name = "tessarine_probe.dai";
    std::string inRoot = std::string(root) + name;
    Touch(inRoot);
    Touch(dir.File(name));
    {
        CwdScope cwd;
        SetCurrentDirectoryA(dir.Path().c_str());
        EXPECT_EQ(DeleteFilesInFolder(name.c_str()), 1);
    }
    EXPECT_FALSE(Exists(dir.File(name)));
    EXPECT_TRUE(Exists(inRoot));
    DeleteFileA(inRoot.c_str());
}

TEST(FileUtil, DeleteFileForceAndEnsureFolder)
{
    testpaths::TempDir dir;
    std::string path = dir.File("locked.txt");
    Touch(path);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    DeleteFileForce(path.c_str());
    EXPECT_FALSE(Exists(path));
    DeleteFileForce(path.c_str()); // nothing there: nothing happens

    std::string place = dir.File("place");
    Touch(place);
    EnsureFolder(place.c_str());
    EXPECT_EQ(FolderExists(place.c_str()), 1) << "the file made way for the folder";
    EnsureFolder(place.c_str());
    EXPECT_EQ(FolderExists(place.c_str()), 1);
}

TEST(FileUtil, NormalizePathCase)
{
    const struct {
        const char* in;
        const char* out;
    } good[] = {
        {"c:\\WINDOWS\\MyFolder\\system", "C:\\Windows\\MyFolder\\System"},
        {"d:\\PHOTOS\\vacances 2001", "D:\\Photos\\Vacances 2001"},
        {"e:\\2001\\a", "E:\\2001\\A"},
        {"f:\\\xC9T\xC9 2001", "F:\\\xC9t\xE9 2001"}, // accented letters fold in the ANSI code page
    };
    for (const auto& c : good) {
        CString path(c.in);
        EXPECT_EQ(NormalizePathCase(path), 1) << c.in;
        EXPECT_STREQ(path, c.out);
    }
    for (const char* bad :
         {"D:\\", "D:\\Photos\\", "D:\\a\\\\b", "", "\\\\server\\share", "D:relative", ":\\x"}) {
        CString path(bad);
        EXPECT_EQ(NormalizePathCase(path), 0) << bad;
        EXPECT_STREQ(path, bad) << "left unchanged";
    }
}

TEST(FileUtil, GetDriveRoot)
{
    EXPECT_STREQ(GetDriveRoot("C:\\folder\\file.jpg"), "C:\\");
    EXPECT_STREQ(GetDriveRoot("abc\\x"), "abc");
    EXPECT_STREQ(GetDriveRoot("\\\\server\\share"), "");
    EXPECT_STREQ(GetDriveRoot("C:"), "");
    EXPECT_STREQ(GetDriveRoot("x\\y"), "");
}

TEST(FileUtil, ScreenDepthIsMeasuredOnceAndCanBeForcedForTests)
{
    int first = GetScreenBitsPerPixel();
    EXPECT_GE(first, 1);
    EXPECT_EQ(GetScreenBitsPerPixel(), first);
    SetScreenBitsPerPixelForTest(8);
    EXPECT_EQ(GetScreenBitsPerPixel(), 8);
    SetScreenBitsPerPixelForTest(0);
    EXPECT_EQ(GetScreenBitsPerPixel(), first);
}

TEST(FileUtil, ResourcesAreWrittenToTemporaryFiles)
{
    const std::string expected = [] {
        std::string s;
        for (int i = 0; i < 7000; ++i)
            s += "0123456789";
        return s;
    }();
    char path[MAX_PATH] = "untouched";
    EXPECT_EQ(ExtractResourceToTempFile("JPEG", "MISSING", path), 0);
    EXPECT_STREQ(path, "untouched") << "a missing resource leaves the buffer";

    ASSERT_EQ(ExtractResourceToTempFile("JPEG", "BLOB", path), 1);
    char tempFolder[MAX_PATH];
    GetTempPathA(MAX_PATH, tempFolder);
    EXPECT_EQ(std::string(path).find(tempFolder), 0u) << path;
    std::string name = std::string(path).substr(strlen(tempFolder));
    EXPECT_EQ(name.substr(0, 3), "tmp") << name;
    EXPECT_EQ(testpaths::ReadBytes(path), expected);
    DeleteFileForce(path);
    EXPECT_FALSE(Exists(path));

    ASSERT_EQ(ExtractResourceToTempFileById(11000, 1, nullptr, path), 1);
    EXPECT_EQ(testpaths::ReadBytes(path).size(), 70000u);
    DeleteFileForce(path);
    EXPECT_EQ(ExtractResourceToTempFileById(11000, 2, nullptr, path), 0);
}

TEST(FileUtil, CopiesReplaceTheDestinationOnlyWhenComplete)
{
    testpaths::TempDir dir;
    std::string source = dir.File("source.bin"), dest = dir.File("dest.bin");
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    Touch(source, data);
    Touch(dest, "old");
    SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CopyFileWithProgress(source.c_str(), dest.c_str()), 0);
    EXPECT_EQ(testpaths::ReadBytes(dest), data);
    EXPECT_EQ(CopyFileWithProgress(source.c_str(), source.c_str()), 0) << "the same file is left alone";
    EXPECT_EQ(testpaths::ReadBytes(source), data);

    HANDLE out = CreateFileForWrite(dir.File("appended.bin").c_str());
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(WriteFileExact(out, "head", 4));
    EXPECT_EQ(CopyFileToHandleOk(out, source.c_str()), 1);
    EXPECT_EQ(CopyFileToHandle(dir.File("none").c_str(), out), 2);
    CloseHandle(out);
    EXPECT_EQ(testpaths::ReadBytes(dir.File("appended.bin")), "head" + data);
    FreeWorkBuffer();
    FreeWorkBuffer();
    EXPECT_EQ(AllocWorkBuffer(), 1);
    FreeWorkBuffer();
}

TEST(FileUtil, SafeFileWriteLeavesTheTargetUntilCommitted)
{
    testpaths::TempDir dir;
    std::string target = dir.File("record.dai");
    Touch(target, "before");
    {
        CSafeFileWrite write(target.c_str());
        ASSERT_TRUE(write.IsValid());
        ASSERT_TRUE(WriteFileExact(write.Handle(), "half", 4));
        EXPECT_EQ(testpaths::ReadBytes(target), "before");
    } // abandoned
    EXPECT_EQ(testpaths::ReadBytes(target), "before");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"record.dai"}) << "no temporary file is left";
    {
        CSafeFileWrite write(target.c_str());
        ASSERT_TRUE(WriteFileExact(write.Handle(), "after", 5));
        EXPECT_TRUE(write.Commit());
    }
    EXPECT_EQ(testpaths::ReadBytes(target), "after");
    CSafeFileWrite nowhere(dir.File("missing\\x.dai").c_str());
    EXPECT_FALSE(nowhere.IsValid());
    EXPECT_EQ(nowhere.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(nowhere.Commit());
}

// GetTempFileName cannot name a file in a folder longer than 246 characters: the temporary name
// must fit wherever the target's full path does, up to MAX_PATH, and go away on failure.
TEST(FileUtil, SafeFileWriteWorksForEveryPathUpToMaxPath)
{
    for (size_t folderLength : {240u, 247u, 250u, 257u}) {
        SCOPED_TRACE(folderLength);
        testpaths::TempDir dir;
        const std::string folder = testpaths::MakeFolderOfLength(dir.Path(), folderLength);
        ASSERT_EQ(folder.size(), folderLength);
        const std::string longest = folder + "\\" + std::string(MAX_PATH - 2 - folderLength, 'n');
        ASSERT_EQ(longest.size(), size_t(MAX_PATH - 1));
        for (const std::string& target : {folder + "\\p", longest}) {
            {
                CSafeFileWrite write(target.c_str());
                ASSERT_TRUE(write.IsValid()) << target;
                EXPECT_LE(strlen(write.TempPath()), target.size());
                ASSERT_TRUE(WriteFileExact(write.Handle(), "new", 3));
                ASSERT_TRUE(write.Commit());
            }
            EXPECT_EQ(testpaths::ReadBytes(target), "new");
            {
                CSafeFileWrite abandoned(target.c_str());
                ASSERT_TRUE(abandoned.IsValid());
                ASSERT_TRUE(WriteFileExact(abandoned.Handle(), "half", 4));
            }
            EXPECT_EQ(testpaths::ReadBytes(target), "new");
        }
        EXPECT_EQ(NamesIn(folder).size(), 2u) << "only the targets: no temporary file";
    }
    // A path that does not fit is refused without creating anything.
    testpaths::TempDir dir;
    const std::string folder = testpaths::MakeFolderOfLength(dir.Path(), 250);
    CSafeFileWrite tooLong((folder + "\\" + std::string(MAX_PATH, 'x')).c_str());
    EXPECT_FALSE(tooLong.IsValid());
    EXPECT_TRUE(NamesIn(folder).empty());
}

TEST(FileUtil, FileWrappersModes)
{
    testpaths::TempDir dir;
    std::string path = dir.File("w.bin");
    Touch(path, "0123456789");
    HANDLE h = CreateFileForWrite(path.c_str());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(h, nullptr), 0u) << "an existing file is truncated";
    EXPECT_TRUE(WriteFileExact(h, "abcdef", 6));
    EXPECT_EQ(GetFilePosition(h), 6u);
    EXPECT_EQ(SeekFromStart(h, 2), 2u);
    EXPECT_EQ(SeekFromCurrent(h, 1), 3u);
    EXPECT_EQ(SeekFromEnd(h, -1), 5u);
    char c = 0;
    EXPECT_TRUE(ReadFileExact(h, &c, 1));
    EXPECT_EQ(c, 'f');
    EXPECT_FALSE(ReadFileExact(h, &c, 1)) << "nothing left to read";
    CloseFileHandle(h);
    EXPECT_EQ(OpenFileForRead(dir.File("none").c_str()), INVALID_HANDLE_VALUE);
    HANDLE both = OpenFileForReadWrite(path.c_str());
    EXPECT_NE(both, INVALID_HANDLE_VALUE);
    CloseFileHandle(both);
}

TEST(FileUtil, CopyErrorsAskAbortRetryIgnore)
{
    testpaths::TempDir dir;
    const std::string missing = dir.File("missing.bin"), dest = dir.File("dest.bin");
    struct Disarm {
        ~Disarm()
        {
            SetFileCauseWords(nullptr);
            AfxTestReset();
        }
    } disarm;
    AfxTestArm();
    AfxScriptMessageBox(IDIGNORE);
    EXPECT_EQ(CopyFileWithProgress(missing.c_str(), dest.c_str()), 1) << "Ignore";
    AfxScriptMessageBox(IDABORT);
    EXPECT_EQ(CopyFileWithProgress(missing.c_str(), dest.c_str()), 2) << "Abort";
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 2u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Impossible d'ouvrir le fichier source.\n" + missing);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].type, UINT(MB_ABORTRETRYIGNORE | MB_ICONHAND));

    // A destination that cannot be made: asked again on Retry, given up on Abort.
    Touch(dir.File("there.bin"), "data");
    AfxScriptMessageBox(IDRETRY);
    AfxScriptMessageBox(IDABORT);
    EXPECT_EQ(CopyFileWithProgress(dir.File("there.bin").c_str(), dir.File("nowhere\\x.bin").c_str()), 2);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 4u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[3].text.find("Impossible de cr\xE9"
                                                         "er le fichier destination."),
              0u);
    EXPECT_TRUE(AfxTestPendingScripts().empty());
    EXPECT_FALSE(Exists(dest));

    // A write the disk takes only in part, without an error: the box says the disk is full.
    SetFileCauseWords(DiskFullWords);
    AfxPlatform().pfnWriteFile = HalfTakenWrite;
    AfxScriptMessageBox(IDABORT);
    EXPECT_EQ(CopyFileWithProgress(dir.File("there.bin").c_str(), dest.c_str()), 2);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 5u);
    const std::string said = AfxTestRecords().messageBoxes[4].text;
    EXPECT_EQ(said.find("Erreur lors de l'\xE9"
                        "criture du fichier."),
              0u);
    EXPECT_NE(said.find("\n" + dest + "\nLe disque est plein."), std::string::npos) << said;
    EXPECT_FALSE(Exists(dest));
    AfxResetPlatform();

    AfxPlatform().pfnScreenBitsPerPixel = [] { return 4; };
    EXPECT_EQ(GetScreenBitsPerPixel(), 4) << "the platform seam decides while armed";
    AfxTestReset();
    EXPECT_GE(GetScreenBitsPerPixel(), 8);
}
