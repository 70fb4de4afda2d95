// The picture record and its ".dai" file: exact bytes, every damaged file refused, reads that never
// decode or write, and the rewrite rules.
#include "tests/piclist/LibraryTestSupport.h"

#include "core/DIB.h"
#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "core/PackedDib.h"
#include "framework/Archive.h"
#include "framework/File.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"

#include <random>

using libtest::LibraryStore;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

std::string Store(CPicObject& record)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, 4096);
    record.Serialize(ar);
    ar.Close();
    return std::string(reinterpret_cast<const char*>(file.GetBufferPtr()), file.GetLength());
}

void Load(CPicObject& record, std::string bytes)
{
    CMemFile file(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, 4096);
    record.Serialize(ar);
    ar.Close();
}

std::string Hex(const char* text)
{
    std::string out;
    for (const char* p = text; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        out += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
        p += 2;
    }
    return out;
}

std::string Str(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }

std::string DibBytes(const CDIB& dib)
{
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib.GetHandle()));
    const DWORD n = sizeof(BITMAPINFOHEADER) + DIBRowBytes(dib.Width(), 24) * dib.Height();
    std::string bytes(reinterpret_cast<const char*>(p), n);
    GlobalUnlock(dib.GetHandle());
    return bytes;
}

void ExpectSameRecord(const CPicObject& a, const CPicObject& b)
{
    EXPECT_EQ(a.m_strPath, b.m_strPath);
    EXPECT_EQ(a.m_strFileName, b.m_strFileName);
    EXPECT_EQ(a.m_strInfo, b.m_strInfo);
    EXPECT_EQ(a.m_strComment, b.m_strComment);
    EXPECT_EQ(a.m_strAuthor, b.m_strAuthor);
    EXPECT_EQ(a.m_strKeywords, b.m_strKeywords);
    EXPECT_EQ(a.m_strReserved, b.m_strReserved);
    EXPECT_EQ(a.m_strBaseName, b.m_strBaseName);
    EXPECT_EQ(a.m_strExt, b.m_strExt);
    EXPECT_EQ(a.m_nType, b.m_nType);
    EXPECT_EQ(a.m_nThumbWidth, b.m_nThumbWidth);
    EXPECT_EQ(a.m_nThumbHeight, b.m_nThumbHeight);
    EXPECT_EQ(a.m_nWidth, b.m_nWidth);
    EXPECT_EQ(a.m_nHeight, b.m_nHeight);
    EXPECT_EQ(a.m_nBitCount, b.m_nBitCount);
    EXPECT_EQ(a.m_dwDateTime, b.m_dwDateTime);
    EXPECT_EQ(a.m_lFileSize, b.m_lFileSize);
    EXPECT_EQ(a.m_wDosDate, b.m_wDosDate);
    EXPECT_EQ(a.m_wDosTime, b.m_wDosTime);
    ASSERT_EQ(a.m_pThumbDIB != nullptr, b.m_pThumbDIB != nullptr);
    if (a.m_pThumbDIB) {
        EXPECT_EQ(DibBytes(*a.m_pThumbDIB), DibBytes(*b.m_pThumbDIB));
    }
}

// Counts the BMP decodes made while it lives.
struct DecodeCounter {
    static int count;
    static PictureReader real;
    static PackedDIB Counting(LPCSTR path)
    {
        ++count;
        return real(path);
    }
    DecodeCounter()
    {
        count = 0;
        real = GetPictureReader(kFileTypeBMP);
        SetPictureReader(kFileTypeBMP, Counting);
    }
    ~DecodeCounter() { SetPictureReader(kFileTypeBMP, real); }
};
int DecodeCounter::count = 0;
PictureReader DecodeCounter::real = nullptr;

} // namespace

TEST(PicObject, NewRecordIsTheFortyNineByteForm)
{
    CPicObject record;
    EXPECT_EQ(Store(record), Hex("00 00 00 00 00 00 00  01 00 00 00") + std::string(28, '\0')
                                 + Hex("00 00  00 00 00 00  00 00 00 00"));
    CPicObject back;
    Load(back, Store(record));
    ExpectSameRecord(record, back);
    EXPECT_EQ(back.m_nThumbState, 0);
}

TEST(PicObject, FullRecordWithThumbnailMatchesTheWorkedExample)
{
    CPicObject record;
    record.m_strPath = "C:\\Lib\\Images\\Photo.jpg";
    record.m_strFileName = "Photo.jpg";
    record.m_strInfo = "(2 k - 05/06/01)";
    record.m_nType = 12;
    record.m_nWidth = 4000;
    record.m_nHeight = 3000;
    record.m_nBitCount = 24;
    record.m_dwDateTime = 0x2AC56000;
    record.m_lFileSize = 2048;
    record.m_strBaseName = "Photo";
    record.m_strExt = "jpg";
    record.m_wDosDate = 0x2AC5;
    record.m_wDosTime = 0x6000;
    record.m_pThumbDIB = new CDIB;
    record.m_pThumbDIB->Attach(libtest::MakePicture(84, 63, 1));
    record.m_nThumbWidth = 84;
    record.m_nThumbHeight = 63;

    const std::string expected =
        Str("C:\\Lib\\Images\\Photo.jpg") + Str("Photo.jpg") + Str("(2 k - 05/06/01)") + Hex("00 00 00 00")
        + Hex("0C000000 3F000000 54000000 18000000 B80B0000 A00F0000 0060C52A 00080000") + Str("Photo")
        + Str("jpg") + Hex("0060 C52A 01000000 01000000 2C3E0000") + DibBytes(*record.m_pThumbDIB);
    const std::string stored = Store(record);
    EXPECT_EQ(stored.size(), 16029u);
    EXPECT_EQ(stored, expected);

    CPicObject back;
    Load(back, stored);
    ExpectSameRecord(record, back);
    EXPECT_EQ(back.m_nThumbState, 1);
}

TEST(PicObject, ArchiveStringsAtEveryLengthPrefixBoundary)
{
    const struct {
        int length;
        const char* prefix;
    } rows[] = {{0, "00"},
                {254, "FE"},
                {255, "FF FF 00"},
                {65534, "FF FF FF FE FF 00 00"},
                {70000, "FF FF FF 70 11 01 00"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        CPicObject record;
        std::string text;
        for (int i = 0; i < row.length; ++i)
            text += static_cast<char>('a' + i % 26);
        record.m_strComment = text.c_str();
        const std::string stored = Store(record);
        const std::string prefix = Hex(row.prefix);
        EXPECT_EQ(stored.substr(3, prefix.size()), prefix);
        EXPECT_EQ(stored.substr(3 + prefix.size(), text.size()), text);
        EXPECT_EQ(stored.size(), 49 + prefix.size() - 1 + text.size());
        CPicObject back;
        Load(back, stored);
        EXPECT_EQ(std::string(back.m_strComment), text);
    }
}

TEST_F(LibraryStore, RecordFileRoundTripAndTheRecordFileName)
{
    EXPECT_EQ(RecordFilePath("C:\\Lib\\Images\\Photo.jpg"), "C:\\Lib\\Images\\Photo.dai");
    EXPECT_EQ(RecordFilePath("C:\\Lib\\Images\\photo.jpeg"), RecordFilePath("C:\\Lib\\Images\\photo.jpg"));
    EXPECT_EQ(RecordFilePath("C:\\Lib.2001\\Images\\Photo"), "C:\\Lib.2001\\Images\\Photo.dai");

    CPicObject record;
    libtest::FillRecord(record, Path("Photo.bmp"));
    std::string long70000(70000, 'k');
    record.m_strKeywords = long70000.c_str();
    ASSERT_TRUE(record.SaveDai());
    EXPECT_EQ(ReadBytes(Path("Photo.dai")), Store(record));
    CPicObject back;
    back.m_strPath = Path("Photo.bmp").c_str();
    EXPECT_EQ(back.ReadRecordFile(), RecordRead::Loaded);
    ExpectSameRecord(record, back);
    // Only the record itself is in the folder: no temporary file stays behind.
    EXPECT_EQ(libtest::Snapshot(Root()).size(), 1u);
}

// photo.dai cut inside photo.bmp's thumbnail is still photo.bmp's: read for photo.gif it is another
// picture's record (its texts never taken); while no photo.bmp is beside it, the name read is as
// damaged as the rest and the record is simply broken.
TEST_F(LibraryStore, ADamagedRecordOfTheOtherPictureOfItsNameIsNotTaken)
{
    CPicObject record;
    libtest::FillRecord(record, Path("Photo.bmp"));
    ASSERT_TRUE(record.SaveDai());
    const std::string good = ReadBytes(Path("Photo.dai"));
    ASSERT_TRUE(WriteBytes(Path("Photo.dai"), good.substr(0, good.size() - 20)));
    for (bool beside : {false, true}) {
        SCOPED_TRACE(beside ? "photo.bmp beside" : "alone");
        if (beside) {
            ASSERT_TRUE(WriteBytes(Path("Photo.bmp"), "picture"));
        }
        CPicObject r;
        r.m_strPath = Path("Photo.gif").c_str();
        EXPECT_EQ(r.ReadRecordFile(), beside ? RecordRead::Foreign : RecordRead::Broken);
        EXPECT_EQ(r.m_strComment.IsEmpty(), beside);
    }
    EXPECT_EQ(ReadBytes(Path("Photo.dai")), good.substr(0, good.size() - 20));
}

TEST_F(LibraryStore, EveryTruncationAndMutationIsRefusedWithoutWriting)
{
    CPicObject record;
    libtest::FillRecord(record, Path("Photo.bmp"));
    ASSERT_TRUE(record.SaveDai());
    const std::string good = ReadBytes(Path("Photo.dai"));
    const size_t keywordsEnd = 1 + record.m_strPath.GetLength() + 1 + 9 + 1 + 16 + 1
                               + record.m_strComment.GetLength() + 1 + record.m_strAuthor.GetLength() + 1
                               + 12;

    ArmFileFault(kAnyStep, "", 0);
    auto refused = [&](const std::string& bytes, RecordRead expected) -> std::string {
        EXPECT_TRUE(WriteBytes(Path("Photo.dai"), bytes));
        CPicObject r;
        r.m_strPath = Path("Photo.bmp").c_str();
        RecordRead result = r.ReadRecordFile();
        EXPECT_EQ(result, expected);
        if (result != RecordRead::Loaded) {
            EXPECT_EQ(r.m_pThumbDIB, nullptr);
            EXPECT_EQ(r.m_nThumbState, 0);
        }
        EXPECT_EQ(ReadBytes(Path("Photo.dai")), bytes);
        return std::string(r.m_strKeywords);
    };
    for (size_t cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::string keywords = refused(good.substr(0, cut), RecordRead::Broken);
        if (cut > keywordsEnd) {
            EXPECT_EQ(keywords, "lac,montagne");
        }
    }

    const size_t thumbAt = good.size() - (4 + 4 + 4 + 40 + 24 * 6);
    // A record cut inside its thumbnail keeps its texts and is written back without a thumbnail,
    // never with the half that was read.
    {
        ASSERT_TRUE(WriteBytes(Path("Photo.dai"), good.substr(0, good.size() - 20)));
        CPicObject r;
        r.m_strPath = Path("Photo.bmp").c_str();
        EXPECT_EQ(r.ReadRecordFile(), RecordRead::Broken);
        DisarmFileFault();
        EXPECT_TRUE(r.SaveDai());
        const std::string rewritten = ReadBytes(Path("Photo.dai"));
        EXPECT_EQ(rewritten.size(), thumbAt + 4);
        EXPECT_EQ(rewritten.substr(thumbAt), Hex("00000000"));
        EXPECT_EQ(rewritten.substr(0, thumbAt), good.substr(0, thumbAt));
        ArmFileFault(kAnyStep, "", 0);
    }
    struct Mutation {
        const char* what;
        size_t offset;
        std::string bytes;
        RecordRead expected;
    } rows[] = {
        {"path claims 2 GiB", 0, Hex("FF FF FF F0 FF FF 7F"), RecordRead::Broken},
        {"path claims 60000 bytes", 0, Hex("FF 60 EA"), RecordRead::Broken},
        {"path marked as wide text", 0, Hex("FF FE FF 01"), RecordRead::Broken},
        {"thumbnail claims 2 GiB", thumbAt + 8, Hex("FF FF FF 7F"), RecordRead::Broken},
        {"thumbnail claims one byte too many", thumbAt + 8, Hex("B9 00 00 00"), RecordRead::Broken},
        {"thumbnail header is not one", thumbAt + 12, Hex("29 00 00 00"), RecordRead::Loaded},
    };
    for (const Mutation& m : rows) {
        SCOPED_TRACE(m.what);
        std::string bytes = good;
        bytes.replace(m.offset, m.bytes.size(), m.bytes);
        refused(bytes, m.expected);
    }
    refused(good + "x", RecordRead::Broken);
    // A trash record where a picture record should be.
    refused(Hex("00000000 00000000") + Str("file0001") + Str("Images\\Vacances.jpg")
                + Str("Images\\Vacances.dai") + Str("C:\\Lib\\Images") + Hex("C52A0000 00600000"),
            RecordRead::Broken);
    EXPECT_EQ(FileFaultCount(), 0) << "a refused record file was written";

    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        std::string bytes(random() % 400, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        ASSERT_TRUE(WriteBytes(Path("Photo.dai"), bytes));
        CPicObject r;
        r.m_strPath = Path("Photo.bmp").c_str();
        if (r.ReadRecordFile() != RecordRead::Loaded) {
            EXPECT_EQ(r.m_pThumbDIB, nullptr);
        }
    }
    EXPECT_EQ(FileFaultCount(), 0);
}

TEST_F(LibraryStore, HeaderOnlyReadNeverDecodesNorWritesAndKeepsTheFileThumbnail)
{
    ASSERT_TRUE(libtest::WriteBmp(Path("Photo.bmp"), 120, 90, 1));
    CPicObject record;
    libtest::FillRecord(record, Path("Photo.bmp"));
    ASSERT_TRUE(record.SaveDai());
    // The picture was written after its record: stale.
    libtest::SetWriteTime(Path("Photo.dai"), 2001, 6, 5, 12, 0);
    libtest::SetWriteTime(Path("Photo.bmp"), 2002, 6, 5, 12, 0);
    const std::string before = ReadBytes(Path("Photo.dai"));

    DecodeCounter decodes;
    CPicObject header;
    header.m_bHeaderOnly = TRUE;
    header.m_strPath = Path("Photo.bmp").c_str();
    EXPECT_TRUE(header.LoadDai());
    EXPECT_EQ(header.m_nThumbState, 0);
    EXPECT_EQ(header.m_pThumbDIB, nullptr);
    EXPECT_EQ(header.m_strComment, record.m_strComment);
    EXPECT_FALSE(header.SaveDai()) << "a record read without its thumbnail would lose it";
    EXPECT_FALSE(header.FixPath(Path("Other").c_str(), TRUE).IsEmpty());
    EXPECT_EQ(decodes.count, 0);
    EXPECT_EQ(ReadBytes(Path("Photo.dai")), before);

    // A full read rebuilds the stale thumbnail from the picture and rewrites the record.
    CPicObject full;
    full.m_strPath = Path("Photo.bmp").c_str();
    EXPECT_TRUE(full.LoadDai());
    EXPECT_EQ(decodes.count, 1);
    EXPECT_EQ(full.m_nThumbState, 1);
    EXPECT_EQ(full.m_nThumbWidth, 84);
    EXPECT_EQ(full.m_nThumbHeight, 63);
    EXPECT_EQ(full.m_nWidth, 120);
    EXPECT_EQ(full.m_strComment, record.m_strComment);
    EXPECT_NE(ReadBytes(Path("Photo.dai")), before);
}

TEST_F(LibraryStore, StaleRebuildActsOnlyOnTheFolderActuallyRead)
{
    CreateDirectoryA(Path("A").c_str(), nullptr);
    CreateDirectoryA(Path("B").c_str(), nullptr);
    ASSERT_TRUE(libtest::WriteBmp(Path("A\\Photo.bmp"), 50, 40, 1));
    CPicObject record;
    libtest::FillRecord(record, Path("A\\Photo.bmp"));
    ASSERT_TRUE(record.SaveDai());
    libtest::SetWriteTime(Path("A\\Photo.bmp"), 2001, 1, 1, 10, 0);
    libtest::SetWriteTime(Path("A\\Photo.dai"), 2001, 1, 1, 11, 0);
    // The folder copied elsewhere, and its picture edited there.
    ASSERT_TRUE(CopyFileA(Path("A\\Photo.dai").c_str(), Path("B\\Photo.dai").c_str(), FALSE));
    ASSERT_TRUE(libtest::WriteBmp(Path("B\\Photo.bmp"), 60, 40, 2));
    libtest::SetWriteTime(Path("B\\Photo.dai"), 2001, 1, 1, 11, 0);
    libtest::SetWriteTime(Path("B\\Photo.bmp"), 2003, 1, 1, 10, 0);
    const std::string original = ReadBytes(Path("A\\Photo.dai"));
    const std::string copy = ReadBytes(Path("B\\Photo.dai"));

    CPicObject read;
    read.m_strPath = Path("B\\Photo.bmp").c_str();
    EXPECT_TRUE(read.LoadDai());
    EXPECT_EQ(read.m_nWidth, 60);
    EXPECT_EQ(ReadBytes(Path("A\\Photo.dai")), original);
    EXPECT_NE(ReadBytes(Path("B\\Photo.dai")), copy);

    // The copy's record still names the original place until the listing moves it.
    EXPECT_EQ(std::string(read.m_strPath), Path("A\\Photo.bmp"));
    ArmFileFault(kStepWrite, "", 0);
    EXPECT_EQ(std::string(read.FixPath(Path("B").c_str(), TRUE)), Path("B\\Photo.bmp"));
    EXPECT_EQ(std::string(read.FixPath(Path("B\\").c_str(), TRUE)), Path("B\\Photo.bmp"));
    EXPECT_EQ(FileFaultCount(), 1) << "the corrected record is written once";
    EXPECT_EQ(ReadBytes(Path("A\\Photo.dai")), original);
}

TEST_F(LibraryStore, TwoPicturesSharingARecordFileNeverTakeEachOthersRecord)
{
    CPicObject jpg;
    libtest::FillRecord(jpg, Path("Photo.jpg"));
    ASSERT_TRUE(jpg.SaveDai());
    const std::string bytes = ReadBytes(Path("Photo.dai"));
    CPicObject png;
    png.m_strPath = Path("Photo.png").c_str();
    EXPECT_EQ(png.ReadRecordFile(), RecordRead::Foreign);
    EXPECT_EQ(std::string(png.m_strPath), Path("Photo.png"));
    EXPECT_TRUE(png.m_strComment.IsEmpty());
    EXPECT_EQ(png.m_pThumbDIB, nullptr);
    EXPECT_EQ(ReadBytes(Path("Photo.dai")), bytes);

    // A letter-case change of the name is still the same picture.
    CPicObject upper;
    upper.m_strPath = Path("PHOTO.JPG").c_str();
    EXPECT_EQ(upper.ReadRecordFile(), RecordRead::Loaded);
}

TEST_F(LibraryStore, RecordFileHeldOpenIsUnreadableNotAbsentAndAFailedSaveKeepsTheOld)
{
    CPicObject record;
    libtest::FillRecord(record, Path("Photo.bmp"));
    ASSERT_TRUE(record.SaveDai());
    const std::string bytes = ReadBytes(Path("Photo.dai"));

    HANDLE held = CreateFileA(Path("Photo.dai").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CPicObject busy;
    busy.m_strPath = Path("Photo.bmp").c_str();
    EXPECT_EQ(busy.ReadRecordFile(), RecordRead::Unreadable);
    CloseHandle(held);

    CPicObject absent;
    absent.m_strPath = Path("Other.bmp").c_str();
    EXPECT_EQ(absent.ReadRecordFile(), RecordRead::Absent);

    record.m_strComment = "chang\xE9";
    ArmFileFault(kStepWrite, "Photo.dai", 1);
    EXPECT_FALSE(record.SaveDai());
    EXPECT_TRUE(FileFaultFired());
    EXPECT_EQ(ReadBytes(Path("Photo.dai")), bytes);
    EXPECT_EQ(libtest::Snapshot(Root()).size(), 1u) << "no temporary file stays";

    record.m_bReadOnly = TRUE;
    DisarmFileFault();
    EXPECT_FALSE(record.SaveDai());
    EXPECT_EQ(ReadBytes(Path("Photo.dai")), bytes);
}

TEST_F(LibraryStore, ThumbnailBuildingAndTheStaleRefresh)
{
    ASSERT_TRUE(libtest::WriteBmp(Path("Wide.bmp"), 200, 100, 4));
    CPicObject record;
    record.m_strPath = Path("Wide.bmp").c_str();
    record.m_strFileName = "Wide.bmp";
    EXPECT_TRUE(record.BuildThumbnail());
    EXPECT_EQ(record.m_nThumbState, 1);
    EXPECT_EQ(record.m_nThumbWidth, 84);
    EXPECT_EQ(record.m_nThumbHeight, 42);
    EXPECT_EQ(record.m_nWidth, 200);
    EXPECT_EQ(record.m_nHeight, 100);
    EXPECT_EQ(record.m_nBitCount, 24);
    ASSERT_NE(record.GetThumbBitmap(), nullptr);

    CPicObject copy;
    copy.Copy(record);
    EXPECT_NE(copy.m_pThumbDIB, record.m_pThumbDIB);
    ExpectSameRecord(record, copy);

    CPicObject missing;
    missing.m_strPath = Path("Gone.bmp").c_str();
    EXPECT_FALSE(missing.BuildThumbnail());
    EXPECT_EQ(missing.m_nThumbState, 0);
    ASSERT_TRUE(WriteBytes(Path("Bad.bmp"), "BM not a picture"));
    missing.m_strPath = Path("Bad.bmp").c_str();
    EXPECT_FALSE(missing.BuildThumbnail());
    EXPECT_EQ(missing.m_nThumbState, -1);

    ASSERT_TRUE(record.SaveDai());
    libtest::SetWriteTime(Path("Wide.dai"), 2001, 1, 1, 10, 0);
    libtest::SetWriteTime(Path("Wide.bmp"), 2002, 1, 1, 10, 0);
    // The record cannot be written: rebuilt once, not again on every idle step.
    DecodeCounter decodes;
    ArmFileFault(kStepWrite, "Wide.dai", 1);
    EXPECT_TRUE(record.RefreshIfStale());
    EXPECT_FALSE(record.RefreshIfStale());
    EXPECT_EQ(decodes.count, 1);
    libtest::SetWriteTime(Path("Wide.bmp"), 2003, 1, 1, 10, 0);
    EXPECT_TRUE(record.RefreshIfStale());
    EXPECT_EQ(decodes.count, 2);
    EXPECT_FALSE(record.RefreshIfStale()) << "the record is now newer than the picture";
}

TEST(PicObject, SameFileIgnoresTheFolder)
{
    CPicObject a, b;
    a.m_strPath = "C:\\A\\x.jpg";
    b.m_strPath = "C:\\B\\x.jpg";
    a.m_strFileName = b.m_strFileName = "x.jpg";
    a.m_lFileSize = b.m_lFileSize = 10;
    a.m_wDosDate = b.m_wDosDate = 0x2AC5;
    a.m_wDosTime = b.m_wDosTime = 0x6000;
    EXPECT_TRUE(a.IsSameFile(b));
    b.m_wDosTime = 0x6001;
    EXPECT_FALSE(a.IsSameFile(b));
    b.m_wDosTime = 0x6000;
    b.m_strFileName = "X.jpg";
    EXPECT_FALSE(a.IsSameFile(b));
}
