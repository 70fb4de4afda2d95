// Adding pictures to a library folder: free names that never overwrite, each mode's file reading
// back, and failures that leave nothing behind.
#include "tests/piclist/LibraryTestSupport.h"

#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/ReaderSettings.h"
#include "formats/Readers.h"
#include "framework/TestSeams.h"
#include "library/LibraryAdd.h"
#include "piclist/FailureReport.h"
#include "piclist/SafeFileOps.h"
#include "shell/FileCause.h"

#include <string>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

class LibraryAdd : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        InstallPictureReaders();
        CreateDirectoryA(Path("Images").c_str(), nullptr);
        CreateDirectoryA(Path("src").c_str(), nullptr);
        m_folder = Path("Images").c_str();
    }
    std::string Add(const std::string& file, int mode)
    {
        CString stored;
        if (!AddFileToFolder(Path(file).c_str(), m_folder, mode, &stored))
            return "<refused>";
        return std::string(stored).substr(Path("Images\\").size());
    }
    CString m_folder;
};

// Width and height of a picture file as read back.
std::pair<int, int> ReadSize(const std::string& path)
{
    CDIB dib;
    dib.Read(path.c_str(), "");
    return {dib.Width(), dib.Height()};
}

} // namespace

TEST_F(LibraryAdd, SameNameIsNumberedAndNothingIsOverwritten)
{
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\Photo.jpg"), 8, 6, 1)); // bytes only: copied unchanged
    std::string bytes = ReadBytes(Path("src\\Photo.jpg"));
    EXPECT_EQ(Add("src\\Photo.jpg", kAddUnchanged), "Photo.jpg");
    EXPECT_EQ(Add("src\\Photo.jpg", kAddUnchanged), "Photo (copie 1).jpg");
    EXPECT_EQ(Add("src\\Photo.jpg", kAddUnchanged), "Photo (copie 2).jpg");
    EXPECT_EQ(ReadBytes(Path("Images\\Photo (copie 2).jpg")), bytes);

    // Any extension counts as a clash; a folder named like the picture is never taken for free.
    WriteBytes(Path("Images\\Vue.png"), "vue png");
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\Vue.bmp"), 8, 6, 2));
    EXPECT_EQ(Add("src\\Vue.bmp", kAddUnchanged), "Vue (copie 1).bmp");
    CreateDirectoryA(Path("Images\\Mer.2001").c_str(), nullptr);
    WriteBytes(Path("Images\\Mer.bmp"), "the old sea");
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\Mer.bmp"), 8, 6, 3));
    EXPECT_EQ(Add("src\\Mer.bmp", kAddUnchanged), "Mer (copie 1).bmp");
    EXPECT_EQ(ReadBytes(Path("Images\\Mer.bmp")), "the old sea");
    CreateDirectoryA(Path("Images\\Lac.bmp").c_str(), nullptr);
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\Lac.bmp"), 8, 6, 4));
    EXPECT_EQ(Add("src\\Lac.bmp", kAddUnchanged), "Lac (copie 1).bmp");

    // A '%' in a name is text, never a conversion.
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\100% net %d %n.bmp"), 8, 6, 5));
    EXPECT_EQ(Add("src\\100% net %d %n.bmp", kAddUnchanged), "100% net %d %n.bmp");
    EXPECT_EQ(Add("src\\100% net %d %n.bmp", kAddUnchanged), "100% net %d %n (copie 1).bmp");

    // Names split at the first '.'; no base name is refused.
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\a.b.bmp"), 8, 6, 6));
    EXPECT_EQ(Add("src\\a.b.bmp", kAddUnchanged), "a.b.bmp");
    EXPECT_EQ(Add("src\\a.b.bmp", kAddAsJpeg), "a (copie 1).jpg");
    WriteBytes(Path("src\\.bmp"), "x");
    EXPECT_EQ(Add("src\\.bmp", kAddUnchanged), "<refused>");
}

TEST_F(LibraryAdd, EachModeWritesAPictureThatReadsBack)
{
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\Chat.bmp"), 20, 10, 7));
    g_TauxJPEG = 0;
    EXPECT_EQ(Add("src\\Chat.bmp", kAddAsJpeg), "Chat.jpg");
    EXPECT_EQ(Add("src\\Chat.bmp", kAddAsPng), "Chat (copie 1).png");
    g_TauxJPEG = 50;
    EXPECT_EQ(ReadSize(Path("Images\\Chat.jpg")), std::make_pair(20, 10));
    EXPECT_EQ(ReadSize(Path("Images\\Chat (copie 1).png")), std::make_pair(20, 10));

    // A picture of a window: from memory it becomes a BMP; 32-bit pictures are written too.
    HGLOBAL dib = libtest::MakePicture(12, 9, 8);
    CString stored;
    ASSERT_TRUE(AddPictureToFolder(dib, "Collage.jpg", "", m_folder, kAddUnchanged, &stored));
    EXPECT_EQ(std::string(stored), Path("Images\\Collage.bmp"));
    EXPECT_EQ(ReadSize(Path("Images\\Collage.bmp")), std::make_pair(12, 9));
    ASSERT_TRUE(AddPictureToFolder(dib, "Collage.jpg", "", m_folder, kAddAsPng, &stored));
    EXPECT_EQ(std::string(stored), Path("Images\\Collage (copie 1).png"));
    ::GlobalFree(dib);

    HGLOBAL dib32 = ::GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 4 * 4 * 3);
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(dib32));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = 4;
    header->biHeight = 3;
    header->biPlanes = 1;
    header->biBitCount = 32;
    ::GlobalUnlock(dib32);
    ASSERT_TRUE(AddPictureToFolder(dib32, "Colle", "", m_folder, kAddAsJpeg, &stored) == FALSE);
    ASSERT_TRUE(AddPictureToFolder(dib32, "Colle.jpg", "", m_folder, kAddAsJpeg, &stored));
    EXPECT_EQ(ReadSize(std::string(stored)), std::make_pair(4, 3));
    ::GlobalFree(dib32);
}

TEST_F(LibraryAdd, AFailedWriteLeavesNoFileAndNothingChanged)
{
    ASSERT_TRUE(libtest::WriteBmp(Path("src\\Chien.bmp"), 8, 6, 9));
    WriteBytes(Path("Images\\Chien.bmp"), "the first dog");
    auto before = Snapshot(Path("Images"));
    for (int mode : {kAddUnchanged, kAddAsJpeg, kAddAsPng}) {
        ArmFileFault(kAnyStep, "Images", 1);
        EXPECT_EQ(Add("src\\Chien.bmp", mode), "<refused>") << mode;
        EXPECT_TRUE(FileFaultFired());
        EXPECT_EQ(Snapshot(Path("Images")), before) << mode;
    }
    DisarmFileFault();
    // Missing and unreadable sources add nothing.
    WriteBytes(Path("src\\Faux.jpg"), "not a picture");
    EXPECT_EQ(Add("src\\Faux.jpg", kAddAsPng), "<refused>");
    EXPECT_EQ(Add("src\\Absent.jpg", kAddUnchanged), "<refused>");
    EXPECT_EQ(Snapshot(Path("Images")), before);
    // A name that fits in a folder where its record's would not (its extension is shorter).
    const std::string deep = testpaths::MakeFolderOfLength(Path("Images"), 246);
    WriteBytes(Path("src\\Vacances1.qt"), "film");
    EXPECT_FALSE(AddFileToFolder(Path("src\\Vacances1.qt").c_str(), deep.c_str(), kAddUnchanged, nullptr));
    EXPECT_TRUE(Snapshot(deep).empty());
    // As JPEG into a folder gone meanwhile: the writer's question, then after Abort the add's
    // message, say why.
    SetFileCauseWords(FileCauseText);
    ResetUi();
    AfxScriptMessageBox(IDABORT);
    ForgetFailedStep();
    EXPECT_FALSE(AddFileToFolder(Path("src\\Chien.bmp").c_str(), Path("Parti").c_str(), kAddAsJpeg, nullptr));
    ReportAddFailure(Path("src\\Chien.bmp").c_str());
    SetFileCauseWords(nullptr);
    ASSERT_EQ(Messages(), 2u);
    for (const auto& box : AfxTestRecords().messageBoxes)
        EXPECT_NE(box.text.find("Le chemin d'acc\xE8s est introuvable."), std::string::npos) << box.text;
}

TEST(LibraryAddNames, NumberedNamesAreFilledWithoutPrintf)
{
    EXPECT_EQ(std::string(NumberedNameFormat("Photo")), "Photo (copie %d)");
    EXPECT_EQ(std::string(FillNumberedName(NumberedNameFormat("Photo"), 3)), "Photo (copie 3)");
    EXPECT_EQ(std::string(FillNumberedName(NumberedNameFormat("50%d%s%%"), 12)), "50%d%s%% (copie 12)");
}
