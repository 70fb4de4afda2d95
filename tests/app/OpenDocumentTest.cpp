// Opening documents: each way a path arrives (call, open dialog, drop, recent files) reaches the right
// template; a window already showing the path comes forward; a file of no known type is refused with a
// message; a missing file is reported and leaves the recent list; the recent list keeps the caller's
// form, newest first, without duplicates.
#include "tests/app/AppFixture.h"

#include "shell/OpenDialog.h"
#include "shell/Settings.h"
#include "explorer/ExplorerDoc.h"
#include "framework/CommonDialogs.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/GifDoc.h"
#include "viewers/ViewerGlobals.h"

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Recent()
{
    std::vector<std::string> list;
    for (INT_PTR i = 0; i < g_RecentList.GetSize(); i++)
        list.push_back(static_cast<LPCSTR>(g_RecentList[i]));
    return list;
}

// The DROPFILES block the shell hands over for a drop of these paths (in wide characters, as a file
// manager gives them).
template <class Text> HGLOBAL DropBlockOf(const std::vector<Text>& paths)
{
    Text names;
    for (const Text& path : paths)
        names += path + typename Text::value_type(0);
    const size_t size = (names.size() + 1) * sizeof(names[0]);
    HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + size);
    auto* pDrop = static_cast<DROPFILES*>(::GlobalLock(hDrop));
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->fWide = sizeof(names[0]) > 1;
    std::memcpy(reinterpret_cast<char*>(pDrop) + sizeof(DROPFILES), names.data(), size);
    ::GlobalUnlock(hDrop);
    return hDrop;
}
HGLOBAL DropBlock(const std::vector<std::string>& paths) { return DropBlockOf(paths); }

} // namespace

TEST_F(AppTest, EachKindOfPathReachesItsTemplate)
{
    ASSERT_TRUE(Start());
    std::string bmp = WriteBmp("picture.bmp");
    std::string gif = WriteGif("moving.gif");

    CDocument* pDoc = m_pApp->OpenDocumentFile(bmp.c_str());
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc)));
    EXPECT_STREQ(pDoc->GetTitle(), "PICTURE.BMP");
    EXPECT_EQ(static_cast<CDibDoc*>(pDoc)->m_nWidth, 16);

    pDoc = m_pApp->OpenDocumentFile(gif.c_str());
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CGifDoc)));

    pDoc = m_pApp->OpenDocumentFile(m_temp.Path().c_str());
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CExplorerDoc)));
    EXPECT_EQ(std::string(pDoc->GetPathName()), m_temp.Path());

    // A search window given a path keeps it and reads nothing: its results come with the search.
    const std::string results = m_temp.File("r\xE9sultats.txt");
    pDoc = m_pApp->GetTemplate(kTemplateSearch)->OpenDocumentFile(results.c_str(), TRUE);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(std::string(pDoc->GetPathName()), results);

    // A type of no still picture opens nothing, silently.
    testpaths::WriteBytes(m_temp.File("song.mp3"), "ID3");
    EXPECT_EQ(m_pApp->OpenDocumentFile(m_temp.File("song.mp3").c_str()), nullptr);
    EXPECT_EQ(m_pApp->OpenDocumentFile(""), nullptr);
    EXPECT_EQ(Children().size(), 4u);
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
    EXPECT_TRUE(g_bArrangePending);
}

// An enhanced metafile opens named .wmf; named .emf, a type the program does not know, it is refused
// with a word.
TEST_F(AppTest, AFileOfNoKnownTypeIsRefusedWithAMessage)
{
    ASSERT_TRUE(Start());
    const std::string emf = m_temp.File("dessin.emf");
    HDC hdc = ::CreateEnhMetaFileA(nullptr, emf.c_str(), nullptr, nullptr);
    ASSERT_NE(hdc, nullptr);
    ::Rectangle(hdc, 10, 10, 200, 100);
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(hdc));
    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.path = emf;
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, answer);
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text,
              "Le type du document \"dessin.emf\" n'est pas reconnu : il ne peut pas \xEAtre ouvert.");
    EXPECT_TRUE(AfxTestRecords().messageBoxes[0].type & MB_ICONSTOP);
    EXPECT_TRUE(Children().empty());

    ASSERT_TRUE(::CopyFileA(emf.c_str(), m_temp.File("dessin.wmf").c_str(), TRUE));
    EXPECT_NE(m_pApp->OpenDocumentFile(m_temp.File("dessin.wmf").c_str()), nullptr);

    // Several dropped at once are refused in one message that names each.
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock(
                                            {emf, m_temp.File("notes.txt"), m_temp.File("dessin.wmf")})));
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 2u);
    for (const char* name : {"dessin.emf", "notes.txt"})
        EXPECT_NE(AfxTestRecords().messageBoxes[1].text.find(name), std::string::npos) << name;
    // So are several chosen together in the open dialog.
    answer.path = m_temp.Path() + std::string("\0dessin.emf\0notes.txt\0", 22);
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, answer);
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 3u);
    // A long list ends with the count of the names it leaves out, one in the singular.
    std::vector<std::string> many;
    for (int i = 0; i < 13; i++)
        many.push_back(m_temp.File("notes" + std::to_string(i) + ".txt"));
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock(many)));
    const std::string said = AfxTestRecords().messageBoxes.back().text;
    EXPECT_EQ(said.substr(said.rfind('\n')), "\n... et 1 autre.");
}

TEST_F(AppTest, APathAlreadyShownActivatesItsWindow)
{
    ASSERT_TRUE(Start());
    std::string first = WriteBmp("first.bmp");
    std::string second = WriteBmp("second.bmp");
    ASSERT_NE(m_pApp->OpenDocumentFile(first.c_str()), nullptr);
    CMDIChildWnd* pFirstFrame = m_pFrame->MDIGetActive();
    ASSERT_NE(m_pApp->OpenDocumentFile(second.c_str()), nullptr);
    ASSERT_NE(m_pFrame->MDIGetActive(), pFirstFrame);
    std::vector<std::string> recent = Recent();

    EXPECT_EQ(m_pApp->OpenDocumentFile(first.c_str()), nullptr);
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFirstFrame);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(Recent(), recent);

    // A minimised window comes back too.
    pFirstFrame->ShowWindow(SW_MINIMIZE);
    m_pFrame->MDIActivate(Children().back());
    EXPECT_EQ(m_pApp->OpenDocumentFile(first.c_str()), nullptr);
    EXPECT_FALSE(pFirstFrame->IsIconic());
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFirstFrame);
}

TEST_F(AppTest, RecentListKeepsTheNewestFirstWithoutDuplicates)
{
    ASSERT_TRUE(Start());
    std::string a = WriteBmp("a.bmp");
    std::string b = WriteBmp("b.bmp");
    g_RecentList.Add("C:\\older.jpg");
    m_pApp->OpenDocumentFile(a.c_str());
    m_pApp->OpenDocumentFile(b.c_str());
    EXPECT_EQ(Recent(), (std::vector<std::string>{b, a, "C:\\older.jpg"}));

    // Reopened (after its window closed) under another case: one entry, at the head, as given now.
    for (CMDIChildWnd* pChild : Children())
        pChild->SendMessage(WM_CLOSE);
    Pump();
    std::string upper = a;
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    ASSERT_NE(m_pApp->OpenDocumentFile(upper.c_str()), nullptr);
    EXPECT_EQ(Recent(), (std::vector<std::string>{upper, b, "C:\\older.jpg"}));
}

TEST_F(AppTest, AMissingFileIsReportedAndLeavesTheRecentList)
{
    ASSERT_TRUE(Start());
    std::string missing = m_temp.File("pic.jpg");
    std::string other = m_temp.File("other.jpg");
    std::string stored = missing;
    CharUpperBuffA(&stored[0], static_cast<DWORD>(stored.size()));
    g_RecentList.Add(other.c_str());
    g_RecentList.Add(stored.c_str());

    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(m_pApp->OpenDocumentFile(missing.c_str()), nullptr);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    const AfxMessageBoxRecord& box = AfxTestRecords().messageBoxes[0];
    EXPECT_EQ(box.text, "Le document \"pic.jpg\" n'existe pas ou n'est pas accessible.");
    EXPECT_TRUE(box.type & MB_ICONSTOP);
    EXPECT_EQ(Recent(), std::vector<std::string>{other});
    EXPECT_TRUE(Children().empty());
}

// A list stored with the same path twice (another program, an older version) comes out of an open
// naming it once, and out of a failed open not naming it at all.
TEST_F(AppTest, APathStoredTwiceInTheRecentListEndsUpOnceOrGone)
{
    ASSERT_TRUE(Start());
    std::string a = WriteBmp("twice.bmp");
    std::string b = WriteBmp("once.bmp");
    std::string upper = a;
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    g_RecentList.Add(upper.c_str());
    g_RecentList.Add(b.c_str());
    g_RecentList.Add(a.c_str());
    ASSERT_NE(m_pApp->OpenDocumentFile(a.c_str()), nullptr);
    EXPECT_EQ(Recent(), (std::vector<std::string>{a, b}));

    std::string missing = m_temp.File("gone.jpg");
    g_RecentList.Add(missing.c_str());
    g_RecentList.InsertAt(0, missing.c_str());
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(m_pApp->OpenDocumentFile(missing.c_str()), nullptr);
    EXPECT_EQ(Recent(), (std::vector<std::string>{a, b}));
}

TEST_F(AppTest, RetryInTheLoadErrorDialogPutsThePathThatOpenedInTheRecentList)
{
    ASSERT_TRUE(Start());
    std::string bad = m_temp.File("broken.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(bad, "not a picture at all"));
    std::string good = WriteBmp("good.bmp");
    AfxScriptNextModal(IDD_LOAD_ERROR, {{IDC_LOADERR_PATH, good}}, IDOK);
    CDocument* pDoc = m_pApp->OpenDocumentFile(bad.c_str());
    ASSERT_NE(pDoc, nullptr);
    ASSERT_EQ(Recent().size(), 1u);
    EXPECT_EQ(AfxAnsiCompareNoCase(Recent()[0].c_str(), good.c_str()), 0);
}

// Dropped on the main window: the library's protected folder keeps its pictures out of the recent
// list, and a folder beside it whose name begins the same way does not.
TEST_F(AppTest, PicturesOfTheProtectedFolderNeverEnterTheRecentList)
{
    PutSettingText("folders", "LibrarianLocation", m_temp.Path() + "\\");
    ASSERT_TRUE(Start());
    std::string secret = WriteBmp("Images Prot\xE9g\xE9"
                                  "es\\secret.bmp");
    ASSERT_TRUE(CreateDirectoryA(m_temp
                                     .File("Images Prot\xE9g\xE9"
                                           "es 2")
                                     .c_str(),
                                 nullptr));
    std::string beside = WriteBmp("Images Prot\xE9g\xE9"
                                  "es 2\\vacances.bmp");
    for (const std::string& path : {secret, beside}) {
        m_pFrame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock({path})), 0);
        ASSERT_NE(ActiveDocument(), nullptr);
        EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), path);
    }
    EXPECT_EQ(Recent(), std::vector<std::string>{beside});
}

TEST_F(AppTest, OpenDialogOpensEverySelectedPictureInItsOrder)
{
    ASSERT_TRUE(Start());
    std::string a = WriteBmp("one.bmp");
    std::string b = WriteBmp("two.bmp");
    (void)a;
    (void)b;
    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.path = m_temp.Path() + std::string("\0two.bmp\0one.bmp\0", 17);
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, answer);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    Pump();
    std::vector<CMDIChildWnd*> children = Children();
    ASSERT_EQ(children.size(), 2u);
    // The last one opened is active.
    EXPECT_STREQ(children[0]->GetActiveDocument()->GetTitle(), "ONE.BMP");
    EXPECT_STREQ(children[1]->GetActiveDocument()->GetTitle(), "TWO.BMP");

    // A single choice, then a cancel.
    std::string c = WriteBmp("three.bmp");
    answer.path = c;
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, answer);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_STREQ(ActiveDocument()->GetTitle(), "THREE.BMP");
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, AfxCommonDialogAnswer());
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(Children().size(), 3u);
    EXPECT_EQ(AfxTestRecords().commonDialogs.size(), 3u);
}

TEST_F(AppTest, DroppedFilesAndRecentFilesReachTheStillPictureTemplate)
{
    ASSERT_TRUE(Start());
    std::string dropped = WriteBmp("dropped \xE9.bmp");
    m_pFrame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock({dropped})), 0);
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_TRUE(ActiveDocument()->IsKindOf(RUNTIME_CLASS(CDibDoc)));
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), dropped);
    // Pictures the code page cannot spell are refused, never taken for their look-alikes, in one box.
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlockOf(WriteUnspelledPictures())));
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    for (const std::string name : {"\\?odz' contient", "\\Pozna?.bmp' contient"})
        EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find(name), std::string::npos) << name;
    EXPECT_EQ(Children().size(), 1u);

    // The File menu's recent files go through the same entry.
    std::string recent = WriteBmp("recent.bmp");
    m_pApp->AddToRecentFileList(recent.c_str());
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1, 0);
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), recent);
    EXPECT_EQ(Recent().front(), recent);
}

TEST_F(AppTest, APictureInMemoryBelongsToItsNewWindow)
{
    ASSERT_TRUE(Start());
    HGLOBAL hDIB = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + 4 * 3 * 4);
    auto* pHeader = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hDIB));
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = 4;
    pHeader->biHeight = 3;
    pHeader->biPlanes = 1;
    pHeader->biBitCount = 24;
    ::GlobalUnlock(hDIB);

    m_pApp->NewImageWindow(hDIB);
    EXPECT_EQ(g_hNewImageDIB, nullptr);
    CDocument* pDoc = ActiveDocument();
    ASSERT_NE(pDoc, nullptr);
    ASSERT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc)));
    EXPECT_EQ(static_cast<CDibDoc*>(pDoc)->GetHDIB(), hDIB);
    EXPECT_EQ(static_cast<CDibDoc*>(pDoc)->m_nHeight, 3);
    EXPECT_TRUE(pDoc->GetPathName().IsEmpty());
    EXPECT_TRUE(Recent().empty());

    m_pApp->NewImageWindow(nullptr);
    EXPECT_EQ(Children().size(), 1u);
    // It exists in no file: closing asks first.
    AfxScriptMessageBox(IDNO);
    Children()[0]->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
}

TEST(OpenSelection, FolderAndNamesBecomeFullPathsInOrder)
{
    const char single[] = "C:\\pics\\a.jpg\0\0";
    EXPECT_EQ(ParseOpenSelection(single, sizeof(single)), std::vector<CString>{"C:\\pics\\a.jpg"});

    const char several[] = "C:\\pics\0b.jpg\0a.jpg\0\0";
    std::vector<CString> paths = ParseOpenSelection(several, sizeof(several));
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_STREQ(paths[0], "C:\\pics\\b.jpg");
    EXPECT_STREQ(paths[1], "C:\\pics\\a.jpg");

    // A drive's root already ends with its backslash.
    const char root[] = "C:\\\0x.bmp\0y.bmp\0\0";
    paths = ParseOpenSelection(root, sizeof(root));
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_STREQ(paths[0], "C:\\x.bmp");

    // Long names are kept whole (no 199-character cut); a path past MAX_PATH is left out.
    std::string folder = "C:\\" + std::string(150, 'f');
    std::string buffer =
        folder + '\0' + std::string(90, 'n') + ".bmp" + '\0' + std::string(120, 'm') + ".bmp" + '\0' + '\0';
    paths = ParseOpenSelection(buffer.data(), buffer.size());
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].GetLength(), 153 + 1 + 94);

    const char empty[] = "\0\0";
    EXPECT_TRUE(ParseOpenSelection(empty, sizeof(empty)).empty());
}

TEST(OpenPreview, OnlyTheLastOfQuickSelectionsIsLoaded)
{
    PreviewDebounce debounce;
    EXPECT_FALSE(debounce.OnTick(1000));
    // The very first selection is shown at the next tick.
    debounce.OnSelectionChange(10000);
    EXPECT_TRUE(debounce.OnTick(10010));
    EXPECT_FALSE(debounce.OnTick(10200));

    // Ten moves 50 ms apart: nothing until half a second after the last one.
    DWORD now = 20000;
    int loads = 0;
    for (int i = 0; i < 10; i++, now += 50) {
        debounce.OnSelectionChange(now);
        loads += debounce.OnTick(now + 25);
    }
    EXPECT_EQ(loads, 0);
    DWORD last = now - 50;
    EXPECT_FALSE(debounce.OnTick(last + 500));
    EXPECT_TRUE(debounce.OnTick(last + 501));
    EXPECT_FALSE(debounce.OnTick(last + 800));
}

TEST_F(AppTest, OpenFilterListsEveryPictureTypeFirstAndAllFilesLast)
{
    CString filter;
    BuildOpenFileFilter(filter);
    std::string text = static_cast<LPCSTR>(filter);
    EXPECT_EQ(text.rfind("Tous Fichiers Images|*.bmp;", 0), 0u);
    EXPECT_NE(text.find("|*.pcx|"), std::string::npos);
    EXPECT_NE(text.find("|*.gif|"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 20), "All files(*.*)|*.*||");
    // Every entry is a name and a pattern: an even number of bars before the final one.
    size_t bars = 0;
    for (char c : text)
        bars += c == '|';
    EXPECT_EQ(bars % 2, 1u);
}
