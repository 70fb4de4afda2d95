// Save As of a still picture: JPEG, PNG and BMP files that read back; a failed save says why and
// leaves the document's path, title and recent entry as they were and no file behind; the folder
// title; the real file dialogs with a path too long.
#include "tests/app/ViewerFixture.h"
#include "tests/support/ShownDialogs.h"

#include "shell/Settings.h"
#include "core/DIB.h"
#include "core/FileWrappers.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameworkTexts.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"
#include "viewers/ViewerGlobals.h"

#include <dlgs.h>
#include <shlwapi.h>

#include <algorithm>

namespace {

bool InRecent(const std::string& path)
{
    for (INT_PTR i = 0; i < g_RecentList.GetSize(); i++)
        if (AfxAnsiCompareNoCase(g_RecentList[i], path.c_str()) == 0)
            return true;
    return false;
}

// Every file of the folder (names), so that a leftover temporary file shows.
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fd.cFileName);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return names;
}

// The system's file dialog, driven by a timer of this thread as a person would: each path typed in
// the name field, then Enter; a message box read and closed with OK; with no path left, Cancel.
struct DialogDriver {
    std::vector<std::wstring> paths;
    size_t typed = 0;
    std::vector<std::string> messages;
    std::wstring nameAfterMessage;
};
DialogDriver* g_pDriver = nullptr;

std::string TextOf(HWND hWnd)
{
    char szText[1024] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

std::wstring WideTextOf(HWND hWnd)
{
    wchar_t szText[1024] = L"";
    ::GetWindowTextW(hWnd, szText, 1024);
    return szText;
}

using testpaths::Wide;

void CALLBACK DriveFileDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hFileDlg = nullptr, hName = nullptr, hBox = nullptr;
    for (HWND hWnd : ShownDialogs()) {
        HWND hField =
            ::GetDlgItem(hWnd, edt1) != nullptr ? ::GetDlgItem(hWnd, edt1) : ::GetDlgItem(hWnd, cmb13);
        (hField != nullptr ? hFileDlg : hBox) = hWnd;
        hName = hField != nullptr ? hField : hName;
    }
    DialogDriver& driver = *g_pDriver;
    if (hBox != nullptr) {
        std::string text; // the texts of its controls
        for (HWND hChild = ::GetWindow(hBox, GW_CHILD); hChild != nullptr;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            text += TextOf(hChild) + "\n";
        driver.messages.push_back(text);
        driver.nameAfterMessage = hName != nullptr ? WideTextOf(hName) : L"";
        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    } else if (hFileDlg != nullptr && ::IsWindowEnabled(hFileDlg)) {
        if (driver.typed == driver.paths.size()) {
            ::PostMessageA(hFileDlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        ::SetWindowTextW(hName, driver.paths[driver.typed++].c_str());
        ::PostMessageA(hName, WM_KEYDOWN, VK_RETURN, 1);
    }
}

} // namespace

TEST_F(ViewerTest, SaveAsWritesEachFormatThatReadsBack)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("source.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    CDibDoc* pDoc = pView->GetDocument();
    const char* names[] = {"saved.jpg", "saved.PNG", "saved.bmp", "other.jpeg", "third.JPE"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::string path = m_temp.File(name);
        ASSERT_TRUE(pDoc->SavePictureAs(path.c_str()));
        CDIB back;
        back.Read(path.c_str(), "");
        ASSERT_FALSE(back.IsEmpty());
        EXPECT_EQ(back.Width(), 16u);
        EXPECT_EQ(back.Height(), 8u);
        EXPECT_STREQ(pDoc->GetPathName(), path.c_str());
        const std::vector<std::string> files = FilesIn(m_temp.Path());
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << "the name typed, on disk";
        EXPECT_TRUE(InRecent(path));
        char title[MAX_PATH];
        ASSERT_EQ(::GetFileTitleA(path.c_str(), title, sizeof(title)), 0);
        ::CharUpperA(title);
        EXPECT_STREQ(pDoc->GetTitle(), title);
    }
    // The lossless formats keep every pixel.
    CDIB png;
    png.Read(m_temp.File("saved.PNG").c_str(), "");
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++)
            ASSERT_EQ(DibPixel(png.GetHandle(), x, y), DibPixel(pDoc->GetHDIB(), x, y));
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

// Every writer saves into a folder longer than 246 characters while the full path fits in
// MAX_PATH, and leaves nothing but the picture there.
TEST_F(ViewerTest, SaveAsWorksInAFolderNearTheLengthLimit)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("deep.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    CDibDoc* pDoc = pView->GetDocument();
    const std::string folder = testpaths::MakeFolderOfLength(m_temp.Path(), 250);
    ASSERT_FALSE(folder.empty());
    const std::vector<std::string> names = {"1234.bmp", "a.jpg", "b.png", "c.bmp"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = folder + "\\" + name;
        ASSERT_LT(path.size(), size_t(MAX_PATH));
        ASSERT_TRUE(pDoc->SavePictureAs(path.c_str()));
        CDIB back;
        back.Read(path.c_str(), "");
        EXPECT_EQ(back.Width(), 16u);
    }
    std::vector<std::string> found = FilesIn(folder);
    std::sort(found.begin(), found.end());
    for (std::string& name : found)
        ::CharLowerA(&name[0]);
    EXPECT_EQ(found, names);
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

// Each writer's failure names the file it could not write and says why after the message, from the
// failing call itself: a folder that does not exist, a file another program holds, a read-only file, a
// full disk (the JPEG writer asks nothing first).
TEST_F(ViewerTest, FailedSaveSaysWhyChangesNothingAndLeavesNoFile)
{
    ASSERT_TRUE(Start());
    std::string source = WriteBmp("keep.bmp", 16, 8);
    CDibView* pView = Open(source);
    ASSERT_NE(pView, nullptr);
    CDibDoc* pDoc = pView->GetDocument();
    CString pathBefore = pDoc->GetPathName();
    CString titleBefore = pDoc->GetTitle();
    const struct {
        std::string path;
        UINT cause; // 0: none (no writer for the extension)
        char how;   // 'h': the file held by another program, 'f': the disk full
    } cases[] = {{m_temp.File("picture.tif"), 0, 0},
                 {m_temp.File("locked.bmp"), IDS_CAUSE_READ_ONLY, 0},
                 {m_temp.File("nofolder") + "\\x.png", IDS_CAUSE_PATH_NOT_FOUND, 0},
                 {m_temp.File("nofolder") + "\\x.jpg", IDS_CAUSE_PATH_NOT_FOUND, 0},
                 {m_temp.File("nofolder") + "\\x.bmp", IDS_CAUSE_PATH_NOT_FOUND, 0},
                 {m_temp.File("held.png"), IDS_CAUSE_HELD, 'h'},
                 {m_temp.File("held.jpg"), IDS_CAUSE_HELD, 'h'},
                 {m_temp.File("held.bmp"), IDS_CAUSE_HELD, 'h'},
                 {m_temp.File("full.png"), IDS_CAUSE_DISK_FULL, 'f'},
                 {m_temp.File("full.jpg"), IDS_CAUSE_DISK_FULL, 'f'},
                 {m_temp.File("full.bmp"), IDS_CAUSE_DISK_FULL, 'f'}};
    ASSERT_TRUE(testpaths::WriteBytes(cases[1].path, "earlier bytes"));
    ASSERT_TRUE(::SetFileAttributesA(cases[1].path.c_str(), FILE_ATTRIBUTE_READONLY));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        if (c.how == 'h') {
            ASSERT_TRUE(testpaths::WriteBytes(c.path, "earlier bytes"));
            hHeld = ::CreateFileA(c.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
        }
        SetWriteFileRoom(c.how == 'f' ? 0 : -1);
        const size_t filesBefore = FilesIn(m_temp.Path()).size();
        const bool existed = ::PathFileExistsA(c.path.c_str()) != FALSE;
        AfxTestRecords().messageBoxes.clear();
        AfxScriptMessageBox(IDOK);
        EXPECT_FALSE(pDoc->SavePictureAs(c.path.c_str()));
        SetWriteFileRoom(-1);
        if (hHeld != INVALID_HANDLE_VALUE)
            ::CloseHandle(hHeld);
        EXPECT_STREQ(pDoc->GetPathName(), pathBefore);
        EXPECT_STREQ(pDoc->GetTitle(), titleBefore);
        EXPECT_FALSE(InRecent(c.path));
        EXPECT_EQ(existed ? "earlier bytes" : "", testpaths::ReadBytes(c.path));
        EXPECT_EQ(FilesIn(m_temp.Path()).size(), filesBefore);
        ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
        CString expected = AfxLoadText(IDS_SAVE_PICTURE_FAILED) + "\n" + c.path.c_str();
        if (c.cause != 0)
            expected += "\n" + AfxLoadText(c.cause);
        EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, std::string(expected));
        // A retry where one can succeed: once the other program lets go, once the disk has room.
        EXPECT_EQ(AfxTestRecords().messageBoxes[0].type & MB_TYPEMASK,
                  static_cast<UINT>(c.how != 0 ? MB_RETRYCANCEL : MB_OK));
    }
    ::SetFileAttributesA(cases[1].path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

// The system's box of a save over a held file: Retry, once the file is let go; a second box, or one
// without Retry, is cancelled.
HANDLE g_hHeld = nullptr;

void CALLBACK LetGoAndRetry(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND hBox = ShownDialog()) {
        const bool retry = g_hHeld != nullptr && ::GetDlgItem(hBox, IDRETRY) != nullptr;
        ::CloseHandle(g_hHeld);
        g_hHeld = nullptr;
        ::PostMessageA(hBox, WM_COMMAND, retry ? IDRETRY : IDCANCEL, 0);
    }
}

} // namespace

// A save over a file another program holds saves on Retry once that program lets it go, in every
// format.
TEST_F(ViewerTest, SaveOverAHeldFileSavesOnRetryOnceLetGo)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("retry.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    AfxTestReset(); // the system's box
    for (const char* name : {"held.png", "held.jpg", "held.bmp"}) {
        const std::string path = m_temp.File(name);
        ASSERT_TRUE(testpaths::WriteBytes(path, "earlier bytes"));
        g_hHeld = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, LetGoAndRetry);
        EXPECT_TRUE(pView->GetDocument()->SavePictureAs(path.c_str())) << name;
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(g_hHeld, nullptr) << name << ": asked";
        EXPECT_STREQ(pView->GetDocument()->GetPathName(), path.c_str());
    }
    AfxTestArm();
}

TEST_F(ViewerTest, FailedSaveOverAnExistingFileKeepsIt)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("pic.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    // A 32-bit picture has no JPEG form: the earlier JPEG of that name stays as it was.
    std::string target = m_temp.File("old.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(target, "earlier bytes"));
    CDibDoc* pDoc = pView->GetDocument();
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(bi);
    bi.biWidth = 4;
    bi.biHeight = 4;
    bi.biPlanes = 1;
    bi.biBitCount = 32;
    DWORD pixels[16] = {};
    ASSERT_TRUE(pDoc->GetDIB()->Create(&bi, pixels));
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(pDoc->SavePictureAs(target.c_str()));
    EXPECT_EQ(testpaths::ReadBytes(target), "earlier bytes");
    EXPECT_FALSE(InRecent(target));
}

TEST_F(ViewerTest, SaveAsCommandAsksForTheFile)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("ask.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    std::string path = m_temp.File("chosen.png");
    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.path = path;
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, answer);
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    EXPECT_TRUE(::PathFileExistsA(path.c_str()));
    EXPECT_STREQ(pView->GetDocument()->GetPathName(), path.c_str());
    // Cancelled: nothing written, nothing changed.
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, AfxCommonDialogAnswer());
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    EXPECT_STREQ(pView->GetDocument()->GetPathName(), path.c_str());
}

TEST_F(ViewerTest, SaveAsAsksBeforeReplacingAFile)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("replace.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    CDibDoc* pDoc = pView->GetDocument();
    const CString pathBefore = pDoc->GetPathName();
    const std::string target = m_temp.File("existing.png");
    ASSERT_TRUE(testpaths::WriteBytes(target, "earlier bytes"));
    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.path = target;

    // "Non": the earlier file and the document stay as they were.
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, answer);
    AfxScriptMessageBox(IDNO);
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find("existing.png"), std::string::npos);
    EXPECT_EQ(testpaths::ReadBytes(target), "earlier bytes");
    EXPECT_STREQ(pDoc->GetPathName(), pathBefore);
    EXPECT_FALSE(InRecent(target));

    // "Oui": replaced by the picture.
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, answer);
    AfxScriptMessageBox(IDYES);
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 2u);
    CDIB back;
    back.Read(target.c_str(), "");
    EXPECT_EQ(back.Width(), 16u);
    EXPECT_STREQ(pDoc->GetPathName(), target.c_str());
}

TEST_F(ViewerTest, LibraryPictureTitleNamesItsFolderUntilSaved)
{
    ASSERT_TRUE(Start());
    std::string path = WriteBmp("fleur.bmp", 16, 8);
    g_strOpenFolderTitle = "Vacances";
    CDibView* pView = Open(path);
    g_strOpenFolderTitle.Empty();
    ASSERT_NE(pView, nullptr);
    CDibDoc* pDoc = pView->GetDocument();
    char title[MAX_PATH];
    ASSERT_EQ(::GetFileTitleA(path.c_str(), title, sizeof(title)), 0);
    CString expected;
    expected.Format(AfxLoadText(IDS_PICTURE_IN_FOLDER), title, "Vacances");
    EXPECT_STREQ(pDoc->GetTitle(), expected);
    std::string saved = m_temp.File("copie.png");
    ASSERT_TRUE(pDoc->SavePictureAs(saved.c_str()));
    EXPECT_STREQ(pDoc->GetTitle(), "COPIE.PNG");
}

TEST_F(ViewerTest, UnreadablePictureOffersRetryAndRecordsThePathThatLoaded)
{
    ASSERT_TRUE(Start());
    std::string bad = m_temp.File("broken.jpg");
    ASSERT_TRUE(testpaths::WriteBytes(bad, "not a picture at all"));
    std::string good = WriteBmp("good.bmp", 16, 8);
    AfxScriptNextModal(IDD_LOAD_ERROR, {{IDC_LOADERR_PATH, good}}, IDOK);
    CDibView* pView = Open(bad);
    ASSERT_NE(pView, nullptr);
    CDibDoc* pDoc = pView->GetDocument();
    EXPECT_EQ(AfxAnsiCompareNoCase(pDoc->GetPathName(), good.c_str()), 0);
    EXPECT_EQ(AfxAnsiCompareNoCase(pDoc->m_strLoadedPath, good.c_str()), 0);
    EXPECT_EQ(pDoc->m_nWidth, 16);
    ASSERT_EQ(AfxTestRecords().modals.size(), 1u);

    // Giving up opens nothing.
    AfxScriptNextModal(IDD_LOAD_ERROR, {}, IDCANCEL);
    EXPECT_EQ(m_pApp->OpenDocumentFile(bad.c_str()), nullptr);
    EXPECT_EQ(AfxTestRecords().modals.size(), 2u);
}

// A path typed in the system's own file dialog that does not fit in MAX_PATH, with the extension the
// dialog adds to a name without one, is refused before the dialog builds it (Wine's dialog overran its
// stack with it); so is a name the code page cannot spell, which would reach the program as another
// file's name (a barred L as an L: "Lodz.png"). The name stays typed, and nothing is written or opened.
// A path of MAX_PATH - 1 characters still saves, its extension typed or added. The open dialog, which
// has its caller's hook, too.
TEST_F(ViewerTest, FileDialogsRefuseATypedPathTooLongOrUnspelled)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("long.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    const std::string folder = m_temp.Path();
    // A path of that length once it ends with ".png" typed, or with the dialog's ".jpg" (the first
    // filter's) added to what is typed.
    auto pathOf = [&](size_t length, bool bTypedExtension) {
        const std::string base = folder + "\\" + std::string(length - folder.size() - 13, 'x') + "fin_xxxx";
        return base + (bTypedExtension ? ".png" : "");
    };
    const std::string other = m_temp.File("Lodz.png");
    ASSERT_TRUE(testpaths::WriteBytes(other, "another picture"));
    const std::wstring unspelled = Wide(folder) + L"\\\x0141odz.png";
    // The name refused is named, its missing letter as a question mark; a folder is said to be one.
    const std::wstring unspelledFolder = Wide(folder) + L"\\\x0141odz";
    ASSERT_TRUE(::CreateDirectoryW(unspelledFolder.c_str(), nullptr));
    const char kTooLong[] = "trop long";
    const std::string kUnspelled = "Le nom du fichier '" + folder + "\\?odz.png' contient des lettres",
                      kUnspelledFolder = "Le nom du dossier '" + folder + "\\?odz' contient des lettres",
                      kLastUnspelled = "Le nom du fichier '" + folder + "\\Pozna?.png' contient des lettres";
    // Only its last letter is one the code page lacks.
    const std::wstring lastUnspelled = Wide(folder) + L"\\Pozna\x0144.png";
    const struct {
        bool bSave;
        std::wstring typed;
        const char* refusal; // null: taken
        std::string saved;
    } rows[] = {
        {true, Wide(pathOf(278, true)), kTooLong, ""},
        {true, Wide(pathOf(260, true)), kTooLong, ""},
        {true, Wide(pathOf(260, false)), kTooLong, ""},
        {true, unspelled, kUnspelled.c_str(), ""},
        {true, lastUnspelled, kLastUnspelled.c_str(), ""},
        {true, Wide(pathOf(259, false)), nullptr, pathOf(259, false) + ".jpg"},
        {true, Wide(pathOf(259, true)), nullptr, pathOf(259, true)},
        {false, Wide(pathOf(278, true)), kTooLong, ""},
        {false, unspelled, kUnspelled.c_str(), ""},
        {false, unspelledFolder, kUnspelledFolder.c_str(), ""},
        {false, lastUnspelled, kLastUnspelled.c_str(), ""},
    };
    AfxTestReset(); // the real dialogs
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.bSave ? "save " : "open ") + std::to_string(row.typed.size()));
        DialogDriver driver;
        driver.paths = {row.typed};
        g_pDriver = &driver;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, DriveFileDialog);
        if (row.bSave)
            pView->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
        else
            m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(driver.typed, 1u);
        EXPECT_EQ(testpaths::ReadBytes(other), "another picture");
        if (row.refusal == nullptr) {
            EXPECT_EQ(driver.messages.size(), 0u);
            EXPECT_STREQ(pView->GetDocument()->GetPathName(), row.saved.c_str());
            EXPECT_TRUE(::PathFileExistsA(row.saved.c_str()));
            continue;
        }
        ASSERT_EQ(driver.messages.size(), 1u);
        EXPECT_NE(driver.messages[0].find(row.refusal), std::string::npos) << driver.messages[0];
        EXPECT_EQ(driver.nameAfterMessage, row.typed);
    }
    EXPECT_EQ(FilesIn(folder).size(), 4u) << "long.bmp, Lodz.png and the two saved";
    AfxTestArm();
}
