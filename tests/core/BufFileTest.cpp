// CBufFile: bytes handed out through the read-ahead buffer, zeros past the end, and seeks.
#include <gtest/gtest.h>

#include <string>

#include "core/BufFile.h"
#include "tests/support/TestPaths.h"

namespace {

// Byte i of the test files.
char ByteAt(size_t i) { return char((i * 7 + i / 251) & 0xFF); }

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = ByteAt(i);
    return bytes;
}

// Counts the refills.
class CountingBufFile : public CBufFile {
public:
    UINT Read(void* lpBuf, UINT nCount) override
    {
        ++reads;
        return CBufFile::Read(lpBuf, nCount);
    }
    int reads = 0;
};

class BufFileTest : public ::testing::Test {
protected:
    std::string MakeFile(size_t size)
    {
        const std::string path = m_dir.File("data.bin");
        EXPECT_TRUE(testpaths::WriteBytes(path, Pattern(size)));
        return path;
    }
    testpaths::TempDir m_dir;
};

} // namespace

// Also when the end falls in a later refill: what the earlier fill left in the buffer is gone.
TEST_F(BufFileTest, BytesPastTheEndReadAsZero)
{
    for (size_t size : {size_t(5), size_t(32767 + 5)}) {
        const std::string path = MakeFile(size);
        CBufFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary));
        for (size_t i = 0; i < size; ++i)
            ASSERT_EQ(file.ReadByte(), BYTE(ByteAt(i))) << i;
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(file.ReadByte(), 0) << size;
    }
}

TEST_F(BufFileTest, SeekFromTheEndRestartsTheBuffer)
{
    const std::string path = MakeFile(1000);
    CBufFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    EXPECT_EQ(file.ReadByte(), BYTE(ByteAt(0)));
    EXPECT_EQ(file.Seek(-768, CFile::end), 232);
    EXPECT_EQ(file.ReadByte(), BYTE(ByteAt(232)));
    EXPECT_EQ(file.ReadByte(), BYTE(ByteAt(233)));
    EXPECT_EQ(file.Seek(10, CFile::begin), 10);
    EXPECT_EQ(file.ReadByte(), BYTE(ByteAt(10)));
}

TEST_F(BufFileTest, ReadingOneByteMoreThanTheBufferRefillsTwice)
{
    const std::string path = MakeFile(40000);
    CountingBufFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    for (size_t i = 0; i < 32768; ++i)
        ASSERT_EQ(file.ReadByte(), BYTE(ByteAt(i))) << i;
    EXPECT_EQ(file.reads, 2);
    EXPECT_EQ(file.GetLogicalPosition(), 32768u);
}

TEST_F(BufFileTest, CurrentRelativeSeekCountsFromTheLogicalPosition)
{
    const std::string path = MakeFile(1000);
    CBufFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    for (int i = 0; i < 10; ++i)
        file.ReadByte();
    // The file itself already stands at 1000: the seek must not start from there.
    EXPECT_EQ(file.GetPosition(), 1000u);
    EXPECT_EQ(file.GetLogicalPosition(), 10u);
    EXPECT_EQ(file.Seek(5, CFile::current), 15);
    EXPECT_EQ(file.ReadByte(), BYTE(ByteAt(15)));
    EXPECT_EQ(file.Seek(-4, CFile::current), 12);
    EXPECT_EQ(file.ReadByte(), BYTE(ByteAt(12)));
    // From an empty buffer a current-relative seek is the file's own.
    EXPECT_EQ(file.Seek(0, CFile::current), 13);
}

TEST_F(BufFileTest, SeekBeforeTheStartThrowsAndConstructorsKeepTheirValues)
{
    const std::string path = MakeFile(100);
    CBufFile named(path.c_str(), CFile::modeRead | CFile::shareDenyNone, 42);
    EXPECT_EQ(named.GetExtra(), 42);
    EXPECT_EQ(named.ReadByte(), BYTE(ByteAt(0)));
    EXPECT_THROW(named.Seek(-768, CFile::end), CFileException);
    EXPECT_THROW(CBufFile(m_dir.File("absent.bin").c_str(), CFile::modeRead, 0), CFileException);

    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CBufFile wrapped(h);
        EXPECT_EQ(wrapped.GetExtra(), 0);
        wrapped.Seek(99, CFile::begin);
        EXPECT_EQ(wrapped.ReadByte(), BYTE(ByteAt(99)));
    }
    // The caller's handle stays open.
    EXPECT_NE(GetFileType(h), 0u);
    CloseHandle(h);
    EXPECT_TRUE(named.IsKindOf(RUNTIME_CLASS(CFile)));
    EXPECT_STREQ(named.GetRuntimeClass()->m_lpszClassName, "CBufFile");
}
