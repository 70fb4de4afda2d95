// The replace questions and the batch their answers drive.
#include "tests/piclist/LibraryTestSupport.h"

#include "framework/TestSeams.h"
#include "piclist/ReplaceConfirm.h"
#include "resources/resource.h"

#include <string>
#include <vector>

using libtest::LibraryStore;
using testpaths::WriteBytes;

namespace {

class ReplaceBatch : public LibraryStore {
protected:
    // A batch of n clashing files answered by the script; the items replaced, in order.
    std::vector<int> Run(int n)
    {
        std::vector<int> replaced;
        BeginReplaceBatch();
        for (int i = 0; i < n; ++i) {
            std::string name = "f" + std::to_string(i) + ".jpg";
            if (ConfirmFileReplace(Path("new\\" + name).c_str(), Path("old\\" + name).c_str()))
                replaced.push_back(i);
            if (g_bReplaceCancelled)
                break;
        }
        return replaced;
    }
    void SetUp() override
    {
        LibraryStore::SetUp();
        CreateDirectoryA(Path("new").c_str(), nullptr);
        CreateDirectoryA(Path("old").c_str(), nullptr);
        for (int i = 0; i < 4; ++i) {
            std::string name = "f" + std::to_string(i) + ".jpg";
            WriteBytes(Path("new\\" + name), "new");
            WriteBytes(Path("old\\" + name), "old");
            libtest::SetWriteTime(Path("old\\" + name), 2001, 1, 1, 10, 0);
            libtest::SetWriteTime(Path("new\\" + name), 2001, 1, 1, i % 2 ? 9 : 11, 0);
        }
    }
    void Answer(std::vector<int> buttons)
    {
        for (int b : buttons)
            AfxScriptNextModal(IDD_FILE_REPLACE, {}, b);
    }
};

} // namespace

TEST_F(ReplaceBatch, EachAnswerDrivesTheBatch)
{
    const struct {
        const char* what;
        std::vector<int> buttons;
        std::vector<int> replaced;
        bool cancelled;
    } rows[] = {
        {"yes, no, yes, no", {IDYES, IDNO, IDYES, IDNO}, {0, 2}, false},
        {"no then no to all", {IDNO, kReplaceNoToAll}, {}, false},
        {"yes to all at once", {kReplaceYesToAll}, {0, 1, 2, 3}, false},
        {"no, then yes to all", {IDNO, kReplaceYesToAll}, {1, 2, 3}, false},
        {"yes if newer each time",
         {kReplaceIfNewer, kReplaceIfNewer, kReplaceIfNewer, kReplaceIfNewer},
         {0, 2},
         false},
        {"cancel ends the batch", {IDYES, IDCANCEL}, {0}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ResetUi();
        Answer(row.buttons);
        EXPECT_EQ(Run(4), row.replaced);
        EXPECT_EQ(g_bReplaceCancelled != FALSE, row.cancelled);
        EXPECT_EQ(AfxTestRecords().modals.size(), row.buttons.size());
        EXPECT_TRUE(AfxTestPendingScripts().empty());
    }
    // A new batch after "yes to all" or a cancel asks again and is not stopped early.
    ResetUi();
    Answer({IDNO, IDNO, IDNO, IDNO});
    EXPECT_TRUE(Run(4).empty());
    EXPECT_EQ(AfxTestRecords().modals.size(), 4u);
}

TEST_F(ReplaceBatch, TheQuestionShowsBothFilesAndEqualTimesKeepTheOld)
{
    std::string text, existing, incoming;
    AfxModalStep look;
    look.buttonId = kReplaceIfNewer;
    look.check = nullptr;
    AfxModalStep read;
    read.buttonId = 0;
    read.check = [&](CWnd* dlg) {
        char t[512];
        ::GetDlgItemTextA(dlg->m_hWnd, IDC_REPLACE_TEXT, t, sizeof(t));
        text = t;
        ::GetDlgItemTextA(dlg->m_hWnd, IDC_REPLACE_EXISTING_TEXT, t, sizeof(t));
        existing = t;
        ::GetDlgItemTextA(dlg->m_hWnd, IDC_REPLACE_NEW_TEXT, t, sizeof(t));
        incoming = t;
    };
    AfxScriptModal(IDD_FILE_REPLACE, {read, look});
    libtest::SetWriteTime(Path("new\\f0.jpg"), 2001, 1, 1, 10, 0);
    BeginReplaceBatch();
    EXPECT_EQ(ConfirmFileReplace(Path("new\\f0.jpg").c_str(), Path("old\\f0.jpg").c_str()), 0);
    EXPECT_EQ(text, "Le dossier '" + Path("old") + "' contient d\xE9j\xE0 un fichier nomm\xE9 'f0.jpg'.");
    EXPECT_NE(existing.find("modifi\xE9 le 01/01/2001 \xE0 10:00:00"), std::string::npos) << existing;
    EXPECT_NE(existing.find("3 octets"), std::string::npos) << existing;
    EXPECT_NE(incoming.find("10:00:00"), std::string::npos) << incoming;
    // A folder too long for the question's lines loses its middle; the name always shows.
    const std::string deep = testpaths::MakeFolderOfLength(Path("old"), 230);
    ASSERT_TRUE(WriteBytes(deep + "\\f0.jpg", "old"));
    read.check = [&](CWnd* dlg) {
        HWND hText = ::GetDlgItem(dlg->m_hWnd, IDC_REPLACE_TEXT);
        char t[512];
        ::GetWindowTextA(hText, t, sizeof(t));
        text = t;
        RECT room = {}, needed = {};
        ::GetClientRect(hText, &room);
        needed.right = room.right;
        HDC hdc = ::GetDC(hText);
        ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hText, WM_GETFONT, 0, 0)));
        ::DrawTextA(hdc, t, -1, &needed, DT_CALCRECT | DT_WORDBREAK);
        ::ReleaseDC(hText, hdc);
        EXPECT_LE(needed.bottom, room.bottom) << text;
    };
    AfxScriptModal(IDD_FILE_REPLACE, {read, look});
    ConfirmFileReplace(Path("new\\f0.jpg").c_str(), (deep + "\\f0.jpg").c_str());
    EXPECT_EQ(text, "Le dossier '" + Path("old") + "\\aaaaaaa..." + std::string(31, 'c') + "\\"
                        + std::string(26, 'd') + "' contient d\xE9j\xE0 un fichier nomm\xE9 'f0.jpg'.");

    std::string folderText;
    AfxModalStep readFolder;
    readFolder.buttonId = IDYES;
    readFolder.check = nullptr;
    AfxModalStep peek;
    peek.buttonId = 0;
    peek.check = [&](CWnd* dlg) {
        char t[512];
        ::GetDlgItemTextA(dlg->m_hWnd, IDC_REPLACE_TEXT, t, sizeof(t));
        folderText = t;
    };
    AfxScriptModal(IDD_FOLDER_REPLACE, {peek, readFolder});
    EXPECT_EQ(ConfirmFolderReplace(Path("new").c_str(), Path("old").c_str()), 1);
    EXPECT_EQ(folderText, "Le dossier '" + Root() + "' contient d\xE9j\xE0 un sous-dossier nomm\xE9 'old'.");
}
