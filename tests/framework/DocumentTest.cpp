// Documents: path and title, saving through a temporary file that replaces the target only when
// complete, loading through the archive, and the French question before closing a modified document.
#include "tests/framework/WindowTestSupport.h"

#include "framework/Archive.h"
#include "framework/Document.h"
#include "framework/Exceptions.h"
#include "framework/TestSeams.h"
#include "tests/support/TestPaths.h"

namespace {

class CTextDoc : public CDocument {
public:
    CString m_text;
    bool m_bFailWhileWriting = false;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_text;
            if (m_bFailWhileWriting)
                AfxThrowArchiveException(CArchiveException::generic);
        } else {
            ar >> m_text;
        }
    }
    void DeleteContents() override { m_text.Empty(); }
};

int FilesIn(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    int n = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                n++;
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    return n;
}

using Document = WindowTest;

} // namespace

TEST_F(Document, PathNameGivesFullPathAndFileTitleWithoutTouchingTheDisk)
{
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetPathName("C:\\Pas l\xE0\\Dossier\\image.jpg", FALSE);
    EXPECT_STREQ(doc.GetPathName(), "C:\\Pas l\xE0\\Dossier\\image.jpg");
    EXPECT_EQ(doc.GetTitle().Left(5), "image");
    doc.SetPathName("C:\\Pas l\xE0\\Dossier\\", FALSE);
    EXPECT_STREQ(doc.GetTitle(), "Dossier");
}

TEST_F(Document, SavedDocumentLoadsBackWithItsText)
{
    testpaths::TempDir dir;
    std::string path = dir.File("doc.tst");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.m_text = "Images Prot\xE9g\xE9"
                 "es";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(FilesIn(dir.Path()), 1); // no temporary file left beside it

    CTextDoc other;
    other.m_bAutoDelete = FALSE;
    ASSERT_TRUE(other.OnOpenDocument(path.c_str()));
    EXPECT_STREQ(other.m_text, "Images Prot\xE9g\xE9"
                               "es");
}

// A folder longer than 246 characters, with the full path still inside MAX_PATH.
TEST_F(Document, SavesIntoAFolderNearTheLengthLimit)
{
    testpaths::TempDir dir;
    const std::string folder = testpaths::MakeFolderOfLength(dir.Path(), 250);
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "\\doc.tst";
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.m_text = "long";
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ(FilesIn(folder), 1);
    CTextDoc other;
    other.m_bAutoDelete = FALSE;
    ASSERT_TRUE(other.OnOpenDocument(path.c_str()));
    EXPECT_STREQ(other.m_text, "long");
}

TEST_F(Document, FailedSaveLeavesTheEarlierFileAndNoPartialFile)
{
    testpaths::TempDir dir;
    std::string path = dir.File("doc.tst");
    ASSERT_TRUE(testpaths::WriteBytes(path, "ancien contenu"));
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.m_text = "nouveau";
    doc.m_bFailWhileWriting = true;
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ(testpaths::ReadBytes(path), "ancien contenu");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
}

TEST_F(Document, TruncatedFileIsRefusedAndReported)
{
    testpaths::TempDir dir;
    std::string path = dir.File("court.tst");
    ASSERT_TRUE(testpaths::WriteBytes(path, std::string("\x20", 1) + "abc")); // says 32 characters, has 3
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(doc.OnOpenDocument(path.c_str()));
    EXPECT_TRUE(doc.m_text.IsEmpty());
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
}

TEST_F(Document, ModifiedDocumentAsksInFrenchBeforeClosing)
{
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetTitle("vacances.jpg");
    EXPECT_TRUE(doc.SaveModified()); // unmodified: no question
    doc.SetModifiedFlag();
    AfxScriptMessageBox(IDCANCEL);
    EXPECT_FALSE(doc.SaveModified());
    AfxScriptMessageBox(IDNO);
    EXPECT_TRUE(doc.SaveModified());
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 2u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Enregistrer les modifications de vacances.jpg ?");
}

TEST_F(Document, SaveOfAnUntitledDocumentAsksForAName)
{
    testpaths::TempDir dir;
    std::string path = dir.File("choisi.tst");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetTitle("Sans titre");
    doc.m_text = "x";
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, {true, path, 0});
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(::lstrcmpiA(doc.GetPathName(), path.c_str()), 0);
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}
