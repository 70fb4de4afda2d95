// The texts users wrote stay theirs, in the running program: a library folder with Photo.jpg (with
// texts) beside Photo.png, whose record file they share, a record held open by another program, and
// records damaged after their texts. The builder runs to the end, pictures are opened, given texts
// and renamed, and commands are given in the 200 ms after another folder was chosen; then every
// record file is read back. Last, a picture given a new author is dragged onto a stale copy of its
// record, onto a record of another picture of its name, and the trash is emptied after a restore
// cut short.
#include "tests/app/AppFixture.h"
#include "tests/app/RealInput.h"
#include "tests/support/ShownDialogs.h"

#include "app/FavoritesDialogs.h"
#include "app/MyCoolBar.h"
#include "app/SlideShowDlg.h"
#include "core/PackedDib.h"
#include "explorer/SearchDialogs.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "framework/Document.h"
#include "framework/StatusBar.h"
#include "framework/MDIChildWnd.h"
#include "framework/PathDoor.h"
#include "framework/TestSeams.h"
#include "framework/View.h"
#include "library/LibraryBar.h"
#include "piclist/PicListBox.h"
#include "piclist/PatternDialogs.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicObject.h"
#include "piclist/PicPropertySheet.h"
#include "piclist/PictureRename.h"
#include "library/ProtectedAccess.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"
#include "shell/LoadErrorDlg.h"
#include "shell/NewFolderDlg.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

DWORD g_now = 1000;
DWORD FakeNow() { return g_now; }

// A 24-bit picture of that size whose bytes climb from shade (each picture its own).
PackedDIB MakeDib(int width, int height, int shade)
{
    const int stride = (width * 3 + 3) & ~3;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + stride * height);
    auto* info = static_cast<BITMAPINFOHEADER*>(::GlobalLock(h));
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = 24;
    info->biSizeImage = static_cast<DWORD>(stride * height);
    BYTE* bits = reinterpret_cast<BYTE*>(info + 1);
    for (int i = 0; i < stride * height; i++)
        bits[i] = static_cast<BYTE>(shade + i % 64);
    ::GlobalUnlock(h);
    return h;
}

struct StoredRecord {
    std::string fileName, comment, author;
    bool operator==(const StoredRecord& o) const
    {
        return fileName == o.fileName && comment == o.comment && author == o.author;
    }
};

std::ostream& operator<<(std::ostream& out, const StoredRecord& r)
{
    return out << "{" << r.fileName << ", " << r.comment << ", " << r.author << "}";
}

// What a record file holds, read by its own name (nothing checked against any picture, nothing written).
StoredRecord ReadRecord(const std::string& recordFile)
{
    CPicObject rec;
    rec.m_bReadOnly = TRUE;
    rec.m_strPath = recordFile.c_str();
    if (!rec.LoadDai())
        return {"<unreadable>", "", ""};
    return {std::string(rec.m_strFileName), std::string(rec.m_strComment), std::string(rec.m_strAuthor)};
}

AfxModalStep TypeOnPage(int page, int id, const std::string& text)
{
    AfxModalStep step;
    step.page = page;
    step.buttonId = 0;
    step.check = [id, text](CWnd* pSheet) {
        HWND hPage =
            reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
        ::SetDlgItemTextA(hPage, id, text.c_str());
    };
    return step;
}

void SetWriteTimeAhead(const std::string& path, int seconds)
{
    HANDLE h = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ull;
    FILETIME later = {t.LowPart, t.HighPart};
    ::SetFileTime(h, nullptr, nullptr, &later);
    ::CloseHandle(h);
}

// The dialog in front, driven from a timer of this thread as a person at the keyboard: each field (a
// sheet's page, then a control's id) in turn gets the focus, its text selected, and the letters typed;
// at the next turn (the keys queued before are all handled by then) its text is read back. Then the
// last button. Another dialog that comes up is counted and closed.
struct Typist {
    std::vector<std::pair<int, int>> fields;
    std::wstring letters;
    int endButton = IDOK;
    HWND hDlg = nullptr;
    size_t step = 0; // twice the field's index, one more once typed
    std::vector<std::wstring> read;
    int narrow = 0; // fields that are windows of the code page
    int others = 0;
};
Typist* g_pTypist = nullptr;

void CALLBACK TypeIntoDialog(HWND, UINT, UINT_PTR, DWORD)
{
    Typist& t = *g_pTypist;
    const std::vector<HWND> shown = ShownDialogs();
    HWND hActive = ::GetActiveWindow();
    if (std::find(shown.begin(), shown.end(), hActive) == shown.end())
        return;
    if (t.hDlg == nullptr)
        t.hDlg = hActive;
    if (hActive != t.hDlg) {
        t.others++;
        ::PostMessageA(hActive, WM_COMMAND, IDOK, 0);
    } else if (t.step > 2 * t.fields.size()) {
        // Closing.
    } else if (t.step == 2 * t.fields.size()) {
        ::PostMessageA(t.hDlg, WM_COMMAND, static_cast<WPARAM>(t.endButton), 0);
        t.step++;
    } else {
        HWND hParent = t.hDlg;
        const int page = t.fields[t.step / 2].first;
        if (page >= 0) {
            ::SendMessageA(t.hDlg, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
            hParent = reinterpret_cast<HWND>(::SendMessageA(t.hDlg, PSM_GETCURRENTPAGEHWND, 0, 0));
        }
        HWND hField = ::GetDlgItem(hParent, t.fields[t.step / 2].second);
        if (t.step++ % 2 == 0) {
            ::SendMessageA(hParent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hField), TRUE);
            RealText(t.letters);
        } else {
            t.read.push_back(AfxGetWindowTextWide(hField));
            t.narrow += !::IsWindowUnicode(hField);
        }
    }
}

// Runs a dialog of class Dlg; kept gets the members named, as the dialog left them.
template <class Dlg, class... Members>
std::function<void()> Keeping(std::vector<std::string>& kept, Members... members)
{
    return [&kept, members...] {
        Dlg dlg(AfxGetMainWnd());
        dlg.DoModal();
        kept = {std::string(dlg.*members)...};
    };
}

// How a picture's record file is found when the folder is listed.
enum class Record { Own, SharedWithOther, HeldOpen, CutInThumbnail, ByteTooMany };

class LibraryTexts : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_root = m_temp.File("Biblioth\xE8que");
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
        m_a = m_root + "\\Images\\Voyage";
        m_b = m_root + "\\Images\\Maison";
        ::CreateDirectoryA(m_a.c_str(), nullptr);
        ::CreateDirectoryA(m_b.c_str(), nullptr);
        PutSettingText("folders", "LibrarianLocation", m_root + "\\");
        PutSettingText("folders", "LibrarianLastPath", m_a);
        PutSetting("prefs", "ShowInfoSuppress", 0);
        PutSetting("specs", "LibBarTypeCompression", 0);
        g_bProtectedUnlocked = FALSE;
        m_pfnSavedNow = CLibraryBar::s_pfnNow;
        CLibraryBar::s_pfnNow = FakeNow;
        CPicPropertySheet::SetRememberedPage(0);
    }
    void TearDown() override
    {
        if (m_lock != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_lock);
        CLibraryBar::s_pfnNow = m_pfnSavedNow;
        AppTest::TearDown();
    }
    CLibraryBar* Bar() { return m_pFrame->GetLibraryBar(); }
    void Command(UINT id) { m_pFrame->SendMessage(WM_COMMAND, id); }
    void Settle()
    {
        for (int i = 0; i < 3; i++) {
            g_now += 300;
            Bar()->OnIdle();
        }
        Pump();
    }
    // The builder's idle steps until every thumbnail is built or failed; false when it never ends.
    bool BuildAll()
    {
        for (int step = 0; step < 500; step++) {
            bool waiting = false;
            for (int i = 0; i < Bar()->m_list.GetCount(); i++)
                waiting |= Bar()->m_list.GetRecord(i)->m_nThumbState == 0;
            if (!waiting)
                return true;
            g_now += 50;
            Bar()->OnIdle();
        }
        return false;
    }
    // A folder chosen in the tree, whose load is still 50 ms away.
    void ChooseWithoutWaiting(const std::string& folder)
    {
        Bar()->m_tree.SelectPath(folder.c_str());
        g_now += 150;
        Bar()->OnIdle();
    }
    int Select(const std::string& fileName)
    {
        CPicListBox& list = Bar()->m_list;
        ::SendMessageA(list.m_hWnd, LB_SETSEL, FALSE, -1);
        int found = -1;
        for (int i = 0; i < list.GetCount(); i++)
            if (::lstrcmpiA(fileName.c_str(), list.GetRecord(i)->m_strFileName) == 0)
                found = i;
        if (found >= 0) {
            ::SendMessageA(list.m_hWnd, LB_SETSEL, TRUE, found);
            list.SetCaretIndex(found, FALSE);
        }
        list.SetFocus();
        return found;
    }
    std::string StatusMessage() { return std::string(m_pFrame->GetStatusBar()->GetPaneText(0)); }

    // The picture, then its record file as the row says.
    void Put(const std::string& folder, const std::string& name, Record record, const std::string& comment,
             int shade)
    {
        std::string path = folder + "\\" + name;
        PackedDIB dib = MakeDib(24, 16, shade);
        std::string ext = name.substr(name.rfind('.'));
        if (ext == ".jpg") {
            // The JPEG writer names its file in capitals: the picture then takes the name it has here.
            std::string written = folder + "\\ecrit.jpg";
            ASSERT_EQ(SaveJPEG(dib, written.c_str(), 90), kSaveJPEGDone);
            ASSERT_TRUE(::MoveFileA(written.c_str(), path.c_str()));
        } else if (ext == ".png")
            ASSERT_EQ(SavePNG(dib, path.c_str()), kSavePNGDone);
        else
            ASSERT_TRUE(PackedDibToBmpFile(dib, path));
        ::GlobalFree(dib);
        if (record == Record::SharedWithOther)
            return;
        WIN32_FIND_DATAA entry;
        HANDLE find = ::FindFirstFileA(path.c_str(), &entry);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        ::FindClose(find);
        CPicObject rec;
        FillRecordFromEntry(&rec, path.c_str(), entry);
        ASSERT_TRUE(rec.BuildThumbnail()) << path;
        rec.m_strComment = comment.c_str();
        rec.m_strAuthor = ("Auteur " + comment).c_str();
        rec.m_strKeywords = "voyage,\xE9t\xE9";
        ASSERT_TRUE(rec.SaveDai());
        // The record is older than its picture's next change.
        SetWriteTimeAhead(path, -3600);
        std::string recordFile = std::string(RecordFilePath(path.c_str()));
        std::string bytes = testpaths::ReadBytes(recordFile);
        if (record == Record::CutInThumbnail)
            testpaths::WriteBytes(recordFile, bytes.substr(0, bytes.size() - 30));
        else if (record == Record::ByteTooMany)
            testpaths::WriteBytes(recordFile, bytes + '\0');
        else if (record == Record::HeldOpen)
            m_lock = ::CreateFileA(recordFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    static bool PackedDibToBmpFile(PackedDIB dib, const std::string& path)
    {
        const auto* info = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
        DWORD size = static_cast<DWORD>(::GlobalSize(dib));
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfSize = static_cast<DWORD>(sizeof(file)) + size;
        file.bfOffBits = sizeof(file) + info->biSize;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
        bytes.append(reinterpret_cast<const char*>(info), size);
        ::GlobalUnlock(dib);
        testpaths::WriteBytes(path, bytes);
        return testpaths::ReadBytes(path) == bytes;
    }

    std::string m_root, m_a, m_b;
    HANDLE m_lock = INVALID_HANDLE_VALUE;
    DWORD (*m_pfnSavedNow)() = nullptr;
};

} // namespace

TEST_F(LibraryTexts, NoUserTextIsLost)
{
    // ---- the folder's pictures and how their record files are found ----
    const struct {
        const char* name;
        Record record;
        const char* comment;
    } pictures[] = {
        {"Photo.jpg", Record::Own, "Paris"},
        {"Photo.png", Record::SharedWithOther, ""}, // Photo.dai is Photo.jpg's
        {"Verrou.bmp", Record::HeldOpen, "Verrouill\xE9"},
        {"Coupe.bmp", Record::CutInThumbnail, "Coup\xE9"},
        {"Long.bmp", Record::ByteTooMany, "Long"},
        {"Plage.jpg", Record::CutInThumbnail, "Plage"},
        {"Plage.png", Record::SharedWithOther, ""}, // and damaged
    };
    const std::string album = m_root + "\\Images\\Album", cible = m_root + "\\Images\\Cible";
    ::CreateDirectoryA(album.c_str(), nullptr);
    ::CreateDirectoryA(cible.c_str(), nullptr);
    ASSERT_TRUE(Start());
    Settle();
    int shade = 0;
    for (const auto& p : pictures)
        Put(m_a, p.name, p.record, p.comment, shade += 20);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NE(m_lock, INVALID_HANDLE_VALUE);
    Bar()->RequestFolderReload();
    Settle();
    ASSERT_EQ(std::string(Bar()->m_strLoadedFolder), m_a);
    ASSERT_EQ(Bar()->m_list.GetCount(), 7);
    ASSERT_TRUE(BuildAll());
    // Photo.png's record and the one held open live in memory only. Only the one held open is told,
    // once: no program holds Photo.dai, which is simply Photo.jpg's.
    std::string told = StatusMessage();
    EXPECT_EQ(told.rfind("Les textes de l'image Verrou.bmp ", 0), 0u) << told;
    EXPECT_NE(told.find("un autre programme."), std::string::npos) << told;
    ::CloseHandle(m_lock);
    m_lock = INVALID_HANDLE_VALUE;

    // The other program lets go; the pictures change: the caret's refresh writes nothing, says nothing.
    m_pFrame->SetStatusText0("");
    std::string sharedBefore = testpaths::ReadBytes(m_a + "\\Photo.dai");
    std::string lockedBefore = testpaths::ReadBytes(m_a + "\\Verrou.dai");
    for (const char* name : {"Photo.png", "Verrou.bmp"}) {
        SetWriteTimeAhead(m_a + "\\" + name, 60);
        ASSERT_GE(Select(name), 0) << name;
        for (int i = 0; i < 3; i++) {
            g_now += 50;
            Bar()->OnIdle();
        }
    }
    EXPECT_EQ(StatusMessage(), "");
    EXPECT_TRUE(testpaths::ReadBytes(m_a + "\\Photo.dai") == sharedBefore);
    EXPECT_TRUE(testpaths::ReadBytes(m_a + "\\Verrou.dai") == lockedBefore);
    // Listed again, Photo.png's record is still Photo.jpg's: nothing more is said.
    Bar()->RequestFolderReload();
    Settle();
    ASSERT_TRUE(BuildAll());
    EXPECT_EQ(StatusMessage(), "");

    // Opening Photo.png writes nothing; its properties cannot be kept: said once with the reason,
    // and no retry that could never succeed.
    ASSERT_GE(Select("Photo.png"), 0);
    Command(ID_LIB_OPEN_PICTURE);
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_STREQ(ActiveDocument()->GetPathName(), (m_a + "\\Photo.png").c_str());
    AfxScriptModal(IDS_PICTURE_PROPERTIES, {TypeOnPage(2, IDC_PICPROP_COMMENT, "Lyon"), {{}, IDOK}});
    AfxScriptMessageBox(IDOK);
    ASSERT_GE(Select("Photo.png"), 0);
    Command(ID_LIB_PROPERTIES);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    const std::string said = AfxTestRecords().messageBoxes[0].text;
    EXPECT_NE(said.find("Les textes de Photo.png "), std::string::npos) << said;
    EXPECT_NE(said.find("Photo.dai appartient \xE0 l'autre image"), std::string::npos) << said;
    EXPECT_EQ(said.find("r\xE9"
                        "essayer"),
              std::string::npos)
        << said;
    EXPECT_EQ(AfxTestPendingScripts(), "");
    EXPECT_TRUE(testpaths::ReadBytes(m_a + "\\Photo.dai") == sharedBefore);

    // Renamed, Photo.png gets a record of its own; Photo.jpg keeps Photo.dai.
    AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Photo bis"}}, IDOK);
    ASSERT_GE(Select("Photo.png"), 0);
    Command(ID_LIB_RENAME);
    EXPECT_TRUE(::GetFileAttributesA((m_a + "\\Photo bis.png").c_str()) != INVALID_FILE_ATTRIBUTES);

    // Deleted, Plage.png goes to the trash without Plage.dai, which is Plage.jpg's.
    ASSERT_GE(Select("Plage.png"), 0);
    Command(ID_LIB_DELETE);
    EXPECT_EQ(::GetFileAttributesA((m_a + "\\Plage.png").c_str()), INVALID_FILE_ATTRIBUTES);

    // ---- commands given in the 200 ms after the other folder was chosen ----
    struct During {
        const char* name;
        std::function<void()> run;
        const char* nameAfter; // in the folder shown; empty when it went to the trash
        const char* commentAfter;
    };
    const std::vector<During> during = {
        {"Ouvrir.bmp", [&] { Command(ID_LIB_OPEN_PICTURE); }, "Ouvrir.bmp", "ici"},
        {"Proprietes.bmp",
         [&] {
             AfxScriptModal(IDS_PICTURE_PROPERTIES, {TypeOnPage(1, IDC_PICPROP_NAME, "Sable"),
                                                     TypeOnPage(2, IDC_PICPROP_COMMENT, "Modifi\xE9"),
                                                     {{}, IDOK}});
             Command(ID_LIB_PROPERTIES);
         },
         "Sable.bmp", "Modifi\xE9"},
        {"Renommer.bmp",
         [&] {
             AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Dune"}}, IDOK);
             Command(ID_LIB_RENAME);
         },
         "Dune.bmp", "ici"},
        {"Supprimer.bmp", [&] { Command(ID_LIB_DELETE); }, "", ""},
    };
    for (const During& row : during) {
        Put(m_a, row.name, Record::Own, "ici", shade += 20);
        Put(m_b, row.name, Record::Own, "ailleurs", shade += 20);
    }
    ASSERT_FALSE(HasFatalFailure());
    for (const During& row : during) {
        SCOPED_TRACE(row.name);
        Bar()->m_tree.SelectPath(m_a.c_str());
        Bar()->RequestFolderReload();
        Settle();
        ChooseWithoutWaiting(m_b);
        ASSERT_EQ(std::string(Bar()->m_strLoadedFolder), m_a);
        ASSERT_GE(Select(row.name), 0);
        std::string other = testpaths::ReadBytes(m_b + "\\" + row.name);
        row.run();
        Settle();
        EXPECT_TRUE(testpaths::ReadBytes(m_b + "\\" + row.name) == other) << "the other folder's picture";
        EXPECT_EQ(ReadRecord(m_b + "\\" + std::string(RecordFilePath(row.name))),
                  (StoredRecord{row.name, "ailleurs", "Auteur ailleurs"}));
        if (*row.nameAfter != 0) {
            std::string after = m_a + "\\" + row.nameAfter;
            EXPECT_EQ(ReadRecord(std::string(RecordFilePath(after.c_str()))),
                      (StoredRecord{row.nameAfter, row.commentAfter, "Auteur ici"}));
        } else {
            EXPECT_EQ(::GetFileAttributesA((m_a + "\\" + row.name).c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }
    EXPECT_STREQ(ActiveDocument()->GetPathName(), (m_a + "\\Ouvrir.bmp").c_str());
    // The open picture added to the library in those 200 ms goes to the folder chosen, whose own
    // records the list then holds.
    Bar()->m_tree.SelectPath(m_a.c_str());
    Settle();
    ChooseWithoutWaiting(m_b);
    CView* pView = m_pFrame->MDIGetActive()->GetActiveView();
    ASSERT_NE(pView, nullptr);
    pView->SendMessage(WM_COMMAND, ID_PICTURE_ADD_TO_LIBRARY);
    EXPECT_NE(::GetFileAttributesA((m_b + "\\Ouvrir (copie 1).bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(std::string(Bar()->m_strLoadedFolder), m_b);
    for (int i = 0; i < Bar()->m_list.GetCount(); i++)
        EXPECT_EQ(std::string(Bar()->m_list.GetRecord(i)->m_strPath).rfind(m_b + "\\", 0), 0u)
            << Bar()->m_list.GetRecord(i)->m_strPath;

    // ---- listed again, then every record file read back ----
    Bar()->m_tree.SelectPath(m_a.c_str());
    Settle();
    ASSERT_TRUE(BuildAll());
    const std::map<std::string, StoredRecord> expected = {
        {"Photo.dai", {"Photo.jpg", "Paris", "Auteur Paris"}},
        {"Photo bis.dai", {"Photo bis.png", "", ""}},
        {"Verrou.dai", {"Verrou.bmp", "Verrouill\xE9", "Auteur Verrouill\xE9"}},
        {"Coupe.dai", {"Coupe.bmp", "Coup\xE9", "Auteur Coup\xE9"}},
        {"Long.dai", {"Long.bmp", "Long", "Auteur Long"}},
        {"Plage.dai", {"Plage.jpg", "Plage", "Auteur Plage"}},
    };
    for (const auto& record : expected)
        EXPECT_EQ(ReadRecord(m_a + "\\" + record.first), record.second) << record.first;
    // The damaged records are whole again, with a thumbnail and the picture's own file facts.
    for (const char* name : {"Coupe.bmp", "Long.bmp"}) {
        CPicObject rec;
        rec.m_bReadOnly = TRUE;
        rec.m_strPath = (m_a + "\\" + name).c_str();
        ASSERT_EQ(rec.ReadRecordFile(), RecordRead::Loaded) << name;
        EXPECT_TRUE(rec.HasThumbnail()) << name;
        EXPECT_STREQ(rec.m_strKeywords, "voyage,\xE9t\xE9");
        WIN32_FIND_DATAA entry;
        ::FindClose(::FindFirstFileA((m_a + "\\" + name).c_str(), &entry));
        EXPECT_EQ(rec.m_lFileSize, static_cast<LONG>(entry.nFileSizeLow)) << name;
    }

    // ---- a move onto a stale copy of the picture's record, an empty after a restore cut short ----
    Put(album, "Photo 205.jpg", Record::Own, "Album", shade += 20);
    Put(album, "Plage 7.jpg", Record::Own, "Plage 7", shade += 20);
    ASSERT_TRUE(::CopyFileA((album + "\\Photo 205.dai").c_str(), (cible + "\\Photo 205.dai").c_str(), FALSE));
    Bar()->m_tree.SelectPath(album.c_str());
    Settle();
    ASSERT_GE(Select("Photo 205.jpg"), 0);
    AfxScriptModal(IDS_PICTURE_PROPERTIES, {TypeOnPage(1, IDC_PICPROP_AUTHOR, "Nouvel auteur"), {{}, IDOK}});
    Command(ID_LIB_PROPERTIES);
    PicDropDecision drop;
    drop.target = kDropLibraryTree;
    drop.path = cible.c_str();
    ASSERT_GE(Select("Photo 205.jpg"), 0);
    EXPECT_TRUE(Bar()->DropSelection(drop));
    Bar()->m_tree.SelectPath(cible.c_str());
    Settle();
    ASSERT_EQ(Bar()->m_list.GetCount(), 1);
    EXPECT_STREQ(Bar()->m_list.GetRecord(0)->m_strAuthor, "Nouvel auteur");
    EXPECT_EQ(::GetFileAttributesA((album + "\\Photo 205.dai").c_str()), INVALID_FILE_ATTRIBUTES);
    // A record there of another Photo 060, deleted outside the program, is asked about; "Non" keeps it.
    Put(cible, "Photo 060.bmp", Record::Own, "Autre", shade += 20);
    ASSERT_TRUE(::DeleteFileA((cible + "\\Photo 060.bmp").c_str()));
    Put(album, "Photo 060.jpg", Record::Own, "Album", shade += 20);
    Bar()->m_tree.SelectPath(album.c_str());
    Settle();
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDNO);
    ASSERT_GE(Select("Photo 060.jpg"), 0);
    EXPECT_TRUE(Bar()->DropSelection(drop));
    EXPECT_EQ(ReadRecord(cible + "\\Photo 060.dai"),
              (StoredRecord{"Photo 060.bmp", "Autre", "Auteur Autre"}));
    EXPECT_NE(::GetFileAttributesA((album + "\\Photo 060.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    // Plage 7 deleted, then put back by hand as a restore stopped after the picture went back leaves
    // it; its folder listed again makes it a record without texts.
    Bar()->m_tree.SelectPath(album.c_str());
    Settle();
    const std::string plage = album + "\\Plage 7.jpg", bytes = testpaths::ReadBytes(plage);
    ASSERT_GE(Select("Plage 7.jpg"), 0);
    Command(ID_LIB_DELETE);
    const std::string trash = m_root + "\\El\xE9ments Supprim\xE9s\\";
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((trash + "*.pai").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    while (testpaths::ReadBytes(trash + found.cFileName) != bytes && ::FindNextFileA(find, &found)) {
    }
    ::FindClose(find);
    ASSERT_TRUE(::MoveFileA((trash + found.cFileName).c_str(), plage.c_str()));
    Bar()->RequestFolderReload();
    Settle();
    AfxScriptNextModal(IDD_EMPTY_TRASH_CONFIRM, {}, IDOK);
    Command(ID_LIB_EMPTY_DELETED);
    CPicObject kept;
    kept.m_bReadOnly = TRUE;
    kept.m_strPath = plage.c_str();
    EXPECT_EQ(kept.ReadRecordFile(), RecordRead::Loaded);
    EXPECT_STREQ(kept.m_strKeywords, "voyage,\xE9t\xE9") << "the restored picture keeps its keywords";
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// Every letter of the code page typed on the keyboard reaches the field as typed, those from 0x80 to
// 0x9F too ("\x9C", "\x80", "\x92"), and what the program keeps of it: in every field of the sheets and
// of the library's and search's dialogs, the record the properties write, and a folder named in the
// library's tree. So do letters the code page lacks, in the fields where a path or a name is typed.
TEST_F(LibraryTexts, EveryLetterTypedOnTheRealKeyboardReachesTheFieldAndWhatIsKept)
{
    std::string letters;
    for (int c = 0x80; c <= 0x9F; c++)
        if (c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) // no letter there
            letters += static_cast<char>(c);
    letters += " \xE9t\xE9 \xAB\xE7"
               "a\xBB";
    wchar_t wide[64] = L"";
    ASSERT_GT(::MultiByteToWideChar(1252, 0, letters.c_str(), -1, wide, 64), 0);
    ASSERT_TRUE(Start());
    Put(m_a, "Plage.bmp", Record::Own, "Plage", 20);
    Bar()->RequestFolderReload();
    Settle();
    ASSERT_TRUE(BuildAll());
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    std::vector<std::string> kept;
    const struct {
        std::vector<std::pair<int, int>> fields; // page (-1: a dialog) and id
        int endButton;
        std::function<void()> run; // opens the dialog
    } rows[] = {
        {{{1, IDC_PICPROP_NAME},
          {1, IDC_PICPROP_AUTHOR},
          {1, IDC_PICPROP_KEYWORDS},
          {2, IDC_PICPROP_COMMENT}},
         IDOK,
         [&] {
             ASSERT_GE(Select("Plage.bmp"), 0);
             Command(ID_LIB_PROPERTIES);
             CPicObject rec;
             rec.m_strPath = (m_a + "\\" + letters + ".bmp").c_str();
             EXPECT_TRUE(rec.LoadDai());
             kept = {std::string(rec.m_strBaseName), std::string(rec.m_strAuthor),
                     std::string(rec.m_strKeywords), std::string(rec.m_strComment)};
         }},
        {{{2, IDC_PATH_EDIT}, {3, IDC_PATH_EDIT}}, IDCANCEL, [&] { Command(ID_PREFERENCES); }},
        {{{-1, IDC_RENAME_NAME}}, IDOK, Keeping<CRenamePictureDlg>(kept, &CRenamePictureDlg::m_strName)},
        {{{-1, IDC_RENAME_NAME}}, IDOK, Keeping<CRenamePicturesDlg>(kept, &CRenamePicturesDlg::m_strName)},
        {{{-1, IDC_RENAME_FOLDER_NAME}}, IDOK, Keeping<CRenameFolderDlg>(kept, &CRenameFolderDlg::m_strName)},
        {{{-1, IDC_NEWFOLDER_NAME}}, IDOK, Keeping<CNewFolderDlg>(kept, &CNewFolderDlg::m_strName)},
        {{{-1, IDC_PASSWORD_ENTER}},
         IDOK,
         Keeping<CEnterPasswordDlg>(kept, &CEnterPasswordDlg::m_strPassword)},
        {{{-1, IDC_PASSWORD_NEW}}, IDCANCEL, Keeping<CSetPasswordDlg>(kept)},
        {{{-1, IDC_FAVORITE_NAME}}, IDOK, Keeping<CAddFavoriteDlg>(kept, &CFavoriteNameDlg::m_strName)},
        {{{-1, IDC_SEARCH_NAME}, {-1, IDC_SEARCH_AUTHOR}, {-1, IDC_SEARCH_KEYWORD}, {-1, IDC_SEARCH_COMMENT}},
         IDOK,
         Keeping<CSearchLibraryDlg>(kept, &CSearchLibraryDlg::m_strName, &CSearchLibraryDlg::m_strAuthor,
                                    &CSearchLibraryDlg::m_strKeyword, &CSearchLibraryDlg::m_strComment)},
        {{{-1, IDC_PATTERN_COMBO}},
         IDOK,
         Keeping<CSelectPicturesDlg>(kept, &CSelectPicturesDlg::m_strPattern)},
    };
    AfxTestReset(); // the real dialogs, their real loops
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fields.front().second);
        Typist typist = {row.fields, wide, row.endButton};
        g_pTypist = &typist;
        kept.clear();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, TypeIntoDialog);
        row.run();
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(typist.read, std::vector<std::wstring>(row.fields.size(), wide));
        EXPECT_EQ(kept, std::vector<std::string>(kept.size(), letters));
        EXPECT_EQ(typist.others, 0);
    }
    // A new folder named in the library's tree.
    Bar()->m_tree.SelectPath(m_a.c_str());
    ASSERT_TRUE(Bar()->m_tree.BeginNewFolder());
    RealText(wide);
    RealKeys({VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return Bar()->m_tree.GetEditControl() == nullptr; }));
    EXPECT_NE(::GetFileAttributesA((m_a + "\\" + letters).c_str()), INVALID_FILE_ATTRIBUTES);
    // Letters the code page lacks reach whole each field where a path or a name is typed, each a window of
    // wide characters, and the Récents box.
    const std::wstring unspelled = L"\x0141odz Pozna\x0144";
    const std::pair<std::vector<std::pair<int, int>>, std::function<void()>> wideRows[] = {
        {{{2, IDC_PATH_EDIT}, {3, IDC_PATH_EDIT}}, [&] { Command(ID_PREFERENCES); }},
        {{{-1, IDC_RENAME_NAME}}, Keeping<CRenamePictureDlg>(kept)},
        {{{-1, IDC_RENAME_NAME}}, Keeping<CRenamePicturesDlg>(kept)},
        {{{-1, IDC_RENAME_FOLDER_NAME}}, Keeping<CRenameFolderDlg>(kept)},
        {{{-1, IDC_NEWFOLDER_NAME}}, Keeping<CNewFolderDlg>(kept)},
        {{{-1, IDC_FAVORITE_NAME}}, Keeping<CAddFavoriteDlg>(kept)},
        {{{-1, IDC_SLIDE_MUSIC}}, Keeping<CSlideShowDlg>(kept)},
        {{{-1, IDC_LOADERR_PATH}}, Keeping<CLoadErrorDlg>(kept)},
    };
    for (const auto& row : wideRows) {
        Typist typist = {row.first, unspelled, IDCANCEL};
        g_pTypist = &typist;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, TypeIntoDialog);
        row.second();
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(typist.read, std::vector<std::wstring>(row.first.size(), unspelled));
        EXPECT_EQ(typist.narrow, 0) << row.first.front().second;
    }
    HWND hRecent = CMyCoolBar::GetRecentEdit();
    ::SetFocus(hRecent);
    RealText(unspelled);
    EXPECT_TRUE(PumpUntil([&] { return AfxGetWindowTextWide(hRecent) == unspelled; }));
    EXPECT_TRUE(::IsWindowUnicode(hRecent));
    AfxTestArm();
}
