// CFile and CMemFile: open modes, system errors as CFileException causes, positions and lengths.
#include "framework/File.h"

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using testpaths::ReadBytes;
using testpaths::TempDir;
using testpaths::WriteBytes;

namespace {
const UINT kReadShared = CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary;
const UINT kWriteNew = CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeBinary;
} // namespace

TEST(CFile, OpenMissingFileReportsFileNotFound)
{
    TempDir dir;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(dir.File("absent.dai").c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(error.m_strFileName, dir.File("absent.dai").c_str());
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST(CFile, OpenInMissingFolderReportsBadPath)
{
    TempDir dir;
    CFileException error;
    CFile file;
    EXPECT_FALSE(file.Open(dir.File("no-such-folder\\x.dai").c_str(), kWriteNew, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open("", kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open("", kReadShared)); // no error object: still just FALSE
}

TEST(CFile, ThrowingConstructorCarriesCauseAndName)
{
    TempDir dir;
    const std::string path = dir.File("absent.jpg");
    try {
        CFile file(path.c_str(), kReadShared);
        FAIL() << "opened a missing file";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, path.c_str());
        char text[256];
        EXPECT_TRUE(e.GetErrorMessage(text, sizeof(text)));
        EXPECT_NE(std::strstr(text, "introuvable"), nullptr);
        EXPECT_NE(std::strstr(text, "absent.jpg"), nullptr);
    }
}

TEST(CFile, SharingIsEnforcedAsAskedFor)
{
    TempDir dir;
    const std::string path = dir.File("busy.dai");
    ASSERT_TRUE(WriteBytes(path, "data"));
    CFile first(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive);
    CFile second;
    CFileException error;
    EXPECT_FALSE(second.Open(path.c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(error.m_lOsError, ERROR_SHARING_VIOLATION);
    first.Close();
    EXPECT_TRUE(second.Open(path.c_str(), kReadShared, &error));

    // shareDenyWrite lets readers in and keeps writers out.
    CFile reader(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    CFile writer;
    EXPECT_FALSE(writer.Open(path.c_str(), CFile::modeWrite | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST(CFile, WritesReadsSeeksAndMeasures)
{
    TempDir dir;
    const std::string path = dir.File("data.bin");
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.Seek(-4, CFile::end), 6);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, 8), 4u); // short at the end, no exception
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_EQ(file.Read(buf, 8), 0u);
    EXPECT_EQ(file.Seek(2, CFile::begin), 2);
    EXPECT_EQ(file.Seek(3, CFile::current), 5);
    EXPECT_EQ(file.Read(buf, 1), 1u);
    EXPECT_EQ(buf[0], '5');
    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(file.SeekToEnd(), 10u);
    file.SetLength(3);
    EXPECT_EQ(file.GetLength(), 3u);
    file.Flush();
    file.Close();
    EXPECT_EQ(ReadBytes(path), "012");
}

TEST(CFile, SeekBeforeTheStartThrowsBadSeek)
{
    TempDir dir;
    const std::string path = dir.File("small.pcx");
    ASSERT_TRUE(WriteBytes(path, std::string(100, 'x')));
    CFile file(path.c_str(), kReadShared);
    try {
        file.Seek(-768, CFile::end);
        FAIL() << "seek before the start";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
    }
}

TEST(CFile, WriteOnAReadOnlyHandleThrowsAccessDenied)
{
    TempDir dir;
    const std::string path = dir.File("ro.bin");
    ASSERT_TRUE(WriteBytes(path, "abc"));
    CFile file(path.c_str(), CFile::modeRead);
    try {
        file.Write("x", 1);
        FAIL() << "wrote through a read-only handle";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    }
}

TEST(CFile, ModeCreateTruncatesUnlessNoTruncate)
{
    TempDir dir;
    const std::string path = dir.File("keep.bin");
    ASSERT_TRUE(WriteBytes(path, "abcdef"));
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 6u);
        file.SeekToEnd();
        file.Write("g", 1);
    }
    EXPECT_EQ(ReadBytes(path), "abcdefg");
    {
        CFile file(path.c_str(), kWriteNew);
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(CFile, NamesComeFromTheOpenedPath)
{
    TempDir dir;
    const std::string path = dir.File("Photo.de.vacances.jpg");
    CFile file(path.c_str(), kWriteNew);
    EXPECT_EQ(file.GetFilePath(), path.c_str());
    EXPECT_EQ(file.GetFileName(), "Photo.de.vacances.jpg");
    EXPECT_EQ(file.GetFileTitle(), "Photo.de.vacances");
    file.Close();
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
}

TEST(CFile, HandleConstructorDoesNotCloseTheCallersHandle)
{
    TempDir dir;
    const std::string path = dir.File("handle.bin");
    ASSERT_TRUE(WriteBytes(path, "xyz"));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CFile wrapped(h);
        char c = 0;
        EXPECT_EQ(wrapped.Read(&c, 1), 1u);
        EXPECT_EQ(c, 'x');
    }
    DWORD size = GetFileSize(h, nullptr);
    EXPECT_EQ(size, 3u); // still a valid handle
    CloseHandle(h);
}

TEST(CFile, AbortNeverThrowsAndClosedFilesRefuseWork)
{
    CFile file;
    file.Abort();
    file.Abort();
    char c;
    EXPECT_THROW(file.Read(&c, 1), CFileException);
}

TEST(CFile, RenameAndRemoveThrowOnFailure)
{
    TempDir dir;
    const std::string a = dir.File("a.txt");
    const std::string b = dir.File("b.txt");
    ASSERT_TRUE(WriteBytes(a, "1"));
    CFile::Rename(a.c_str(), b.c_str());
    EXPECT_EQ(ReadBytes(b), "1");
    try {
        CFile::Rename(a.c_str(), b.c_str());
        FAIL() << "renamed a missing file";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
    CFile::Remove(b.c_str());
    EXPECT_THROW(CFile::Remove(b.c_str()), CFileException);
}

TEST(CFileException, OsErrorsMapToCauses)
{
    struct {
        LONG os;
        int cause;
    } const cases[] = {
        {NO_ERROR, CFileException::none},
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_INVALID_NAME, CFileException::badPath},
        {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_WRITE_PROTECT, CFileException::accessDenied},
        {ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir},
        {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_CRC, CFileException::hardIO},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_NOT_ENOUGH_MEMORY, CFileException::generic},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFileException::OsErrorToException(c.os), c.cause) << c.os;
}

TEST(CFileException, IsACExceptionCaughtByReference)
{
    try {
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "C:\\x.jpg");
    } catch (const CException& e) {
        ASSERT_TRUE(e.IsKindOf(RUNTIME_CLASS(CFileException)));
        EXPECT_EQ(static_cast<const CFileException&>(e).m_cause, CFileException::diskFull);
        return;
    }
    FAIL() << "nothing caught";
}

TEST(CMemFile, GrowsAndDetachesItsBlock)
{
    CMemFile file(16);
    std::string data(1000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i);
    file.Write(data.data(), 600);
    file.Write(data.data() + 600, 400);
    EXPECT_EQ(file.GetLength(), 1000u);
    EXPECT_EQ(std::memcmp(file.GetBufferPtr(), data.data(), 1000), 0);
    file.Seek(10, CFile::begin);
    char buf[4];
    EXPECT_EQ(file.Read(buf, 4), 4u);
    EXPECT_EQ(buf[0], 10);
    // Writing past the end fills the gap with zeros.
    file.Seek(1010, CFile::begin);
    file.Write("!", 1);
    EXPECT_EQ(file.GetLength(), 1011u);
    EXPECT_EQ(file.GetBufferPtr()[1005], 0);
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
    BYTE* block = file.Detach();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[1010], '!');
    std::free(block);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(CMemFile, AttachedFixedBufferReadsAndRefusesToGrow)
{
    BYTE buffer[4] = {'a', 'b', 'c', 'd'};
    CMemFile file(buffer, sizeof(buffer));
    EXPECT_EQ(file.GetLength(), 4u);
    char out[8] = {};
    EXPECT_EQ(file.Read(out, 8), 4u);
    EXPECT_STREQ(out, "abcd");
    file.SeekToBegin();
    file.Write("AB", 2);
    EXPECT_EQ(buffer[1], 'B');
    file.Seek(0, CFile::end);
    EXPECT_THROW(file.Write("x", 1), CMemoryException);
    EXPECT_EQ(file.Detach(), buffer);
}

TEST(CMemFile, AttachedGrowableBufferMovesToItsOwnBlock)
{
    BYTE buffer[4] = {};
    CMemFile file;
    file.Attach(buffer, sizeof(buffer), 64);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("abc", 3);
    EXPECT_EQ(buffer[0], 'a');
    file.Write("defgh", 5);
    EXPECT_EQ(file.GetLength(), 8u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.GetBufferPtr()), 8), "abcdefgh");
    EXPECT_NE(file.GetBufferPtr(), buffer);
}
