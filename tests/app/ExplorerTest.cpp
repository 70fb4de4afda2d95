// Explorer windows in the running program: the shell folder tree read on demand and found by path,
// the debounced folder request, changes made by another process reaching the view, and windows that
// leave no thread, handle or GDI object behind when they close.
#include "tests/app/AppFixture.h"
#include "tests/app/RealInput.h"

#include "explorer/ExplorerDoc.h"
#include "explorer/ExplorerView.h"
#include "framework/CmdUI.h"
#include "framework/CodePageText.h"
#include "framework/MDIChildWnd.h"
#include "framework/PathDoor.h"
#include "framework/TestSeams.h"
#include "resources/dialogs-ids.h"
#include "explorer/ExplorerGlobals.h"
#include "core/FileUtil.h"
#include "framework/Document.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "piclist/ReplaceConfirm.h"
#include "shell/AppMessages.h"
#include "resources/resource.h"
#include "shell/Settings.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include <string>
#include <vector>

namespace {

std::string g_lastEditor;
DWORD s_fakeNow = 100000;
DWORD FakeClock() { return s_fakeNow; }

// Runs a command line in another process and waits for it.
bool RunOther(const std::string& command)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string line = "cmd.exe /c " + command;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0;
}

int ThreadCount()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL ok = Thread32First(snap, &entry); ok; ok = Thread32Next(snap, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            count++;
    }
    CloseHandle(snap);
    return count;
}

DWORD HandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

std::vector<std::string> ChildNames(CExplorerTreeCtrl& tree, HTREEITEM hItem)
{
    std::vector<std::string> names;
    for (HTREEITEM h = tree.GetChildItem(hItem); h != nullptr; h = tree.GetNextSiblingItem(h))
        names.push_back(static_cast<LPCSTR>(tree.GetItemText(h)));
    return names;
}

class ExplorerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_pfnSavedClock = g_pfnExplorerClock;
        g_pfnExplorerClock = FakeClock;
    }
    void TearDown() override
    {
        AppTest::TearDown();
        g_pfnExplorerClock = m_pfnSavedClock;
    }
    ExplorerClockFn m_pfnSavedClock = nullptr;
    CExplorerView* OpenExplorer(const std::string& folder)
    {
        m_pApp->OpenDocumentFile(folder.c_str());
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        if (pChild == nullptr)
            return nullptr;
        CView* pView = pChild->GetActiveView();
        if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CExplorerView)))
            return nullptr;
        return static_cast<CExplorerView*>(pView);
    }
    std::string Folder(const std::string& rel)
    {
        std::string path = m_temp.File(rel);
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
};

TEST_F(ExplorerTest, TheTreeIsReadOnDemandAndFindsTheFolderAskedFor)
{
    ASSERT_TRUE(Start());
    Folder("Alpha");
    std::string beta = Folder("Alpha\\Beta");
    Folder("Alpha\\Beta\\Gamma");
    Folder("Alpha\\Other");
    // A folder the code page cannot spell stays out: its look-alike path names another folder, here
    // one beside it.
    const std::string lodz = Folder("Alpha\\Lodz");
    ASSERT_TRUE(CreateDirectoryW((testpaths::Wide(m_temp.File("Alpha")) + L"\\\x0141odz").c_str(), nullptr));
    LONG itemsBefore = CExplorerTreeCtrl::LiveItemCount();

    // Asked in another case than on disk, the folder is still found.
    std::string asked = beta;
    CharUpperBuffA(&asked[0], static_cast<DWORD>(asked.size()));
    CExplorerView* pView = OpenExplorer(asked);
    ASSERT_NE(pView, nullptr);
    CExplorerTreeCtrl& tree = pView->m_tree;
    EXPECT_EQ(tree.SendMessage(WM_SHELLTREE_IDENTIFY, 7, 9), kShellTreeIdentity);

    // The top level: the drives of the shell's My Computer, each a disk folder, C: among them.
    bool bDriveC = false;
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = tree.GetNextSiblingItem(h)) {
        CString path = pView->GetTreeItemPath(h);
        EXPECT_FALSE(path.IsEmpty()) << static_cast<LPCSTR>(tree.GetItemText(h));
        bDriveC |= path == "C:";
    }
    EXPECT_TRUE(bDriveC);

    HTREEITEM hBeta = tree.GetSelectedItem();
    ASSERT_NE(hBeta, nullptr);
    EXPECT_EQ(std::string(pView->GetTreeItemPath(hBeta)), beta);
    EXPECT_EQ(std::string(pView->m_strRequestedPath), beta);
    EXPECT_EQ(std::string(pView->m_strRequestedName), "Beta");
    std::string display = static_cast<LPCSTR>(pView->m_strRequestedDisplayPath);
    EXPECT_EQ(display.substr(display.size() - 11), "\\Alpha\\Beta");
    EXPECT_EQ(display.find("\\\\"), std::string::npos);
    // The way down was opened; Beta itself was not read yet.
    HTREEITEM hAlpha = tree.GetParentItem(hBeta);
    EXPECT_EQ(ChildNames(tree, hAlpha), (std::vector<std::string>{"Beta", "Lodz", "Other"}));
    for (HTREEITEM h = tree.GetChildItem(hAlpha); h != nullptr; h = tree.GetNextSiblingItem(h)) {
        if (tree.GetItemText(h) == "Lodz") {
            EXPECT_EQ(std::string(pView->GetTreeItemPath(h)), lodz);
        }
    }
    EXPECT_TRUE(ChildNames(tree, hBeta).empty());
    tree.Expand(hBeta, TVE_EXPAND);
    EXPECT_EQ(ChildNames(tree, hBeta), (std::vector<std::string>{"Gamma"}));
    // An opened folder without sub-folders loses its button.
    HTREEITEM hGamma = tree.GetChildItem(hBeta);
    tree.Expand(hGamma, TVE_EXPAND);
    EXPECT_FALSE(tree.ItemHasChildren(hGamma));

    // A folder made on disk appears after Enter closes and reopens its parent.
    Folder("Alpha\\Beta\\Delta");
    tree.SelectItem(hBeta);
    tree.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(ChildNames(tree, hBeta).empty());
    tree.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ChildNames(tree, hBeta), (std::vector<std::string>{"Delta", "Gamma"}));
    // Selecting by display path comes back to the same folder.
    tree.SelectItem(hAlpha);
    pView->SelectTreeFolderByDisplayPath(display.c_str());
    EXPECT_EQ(tree.GetSelectedItem(), hBeta);

    // Refresh reads the tree again and comes back to the folder shown; nothing of the shell leaks.
    pView->OnIdle();
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_REFRESH);
    EXPECT_EQ(std::string(pView->GetTreeItemPath(pView->m_tree.GetSelectedItem())), beta);
    m_pFrame->MDIGetActive()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(CExplorerTreeCtrl::LiveItemCount(), itemsBefore);
}

TEST_F(ExplorerTest, OnlyTheLastOfQuickRequestsIsLoadedAfterThePause)
{
    ASSERT_TRUE(Start());
    std::string one = Folder("One");
    std::string two = Folder("Two");
    std::string three = Folder("Three");
    CExplorerView* pView = OpenExplorer(one);
    ASSERT_NE(pView, nullptr);

    // The first request is carried out at the first step, without the pause.
    EXPECT_EQ(pView->OnIdle(), 1);
    EXPECT_EQ(std::string(pView->m_strListFolder), one);
    EXPECT_EQ(std::string(pView->GetDocument()->GetPathName()), one);
    EXPECT_EQ(std::string(pView->GetDocument()->GetTitle()), "Explorateur - One");
    EXPECT_EQ(std::string(g_ActualDir), std::string(pView->m_strShownDisplayPath));

    pView->SelectTreeFolderByPath(two.c_str());
    pView->OnIdle();
    s_fakeNow += 100;
    pView->SelectTreeFolderByPath(three.c_str());
    pView->OnIdle();
    s_fakeNow += 299;
    pView->OnIdle();
    EXPECT_EQ(std::string(pView->m_strListFolder), one);
    s_fakeNow += 1;
    EXPECT_EQ(pView->OnIdle(), 1);
    EXPECT_EQ(std::string(pView->m_strListFolder), three);
    EXPECT_EQ(std::string(pView->GetDocument()->GetTitle()), "Explorateur - Three");

    // A drive: the shown path gets its root backslash and the next step loads nothing again.
    pView->SelectTreeFolderByPath("C:");
    EXPECT_EQ(std::string(pView->m_strRequestedPath), "C:");
    pView->OnIdle();
    s_fakeNow += 300;
    pView->OnIdle();
    EXPECT_EQ(std::string(pView->m_strListFolder), "C:");
    EXPECT_EQ(std::string(pView->GetDocument()->GetPathName()), "C:\\");
    s_fakeNow += 1000;
    EXPECT_EQ(pView->OnIdle(), 0);
}

TEST_F(ExplorerTest, ChangesByAnotherProgramReachTheViewAndOnlyForItsFolder)
{
    ASSERT_TRUE(Start());
    std::string shown = Folder("Shown");
    std::string before = Folder("Before");
    CExplorerView* pView = OpenExplorer(before);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    // A change queued for the folder shown before must not reach the next one.
    ASSERT_TRUE(RunOther("echo x> \"" + before + "\\stale.jpg\""));
    for (DWORD start = GetTickCount(); !pView->m_bChangesPending && GetTickCount() - start < 5000;)
        Pump();
    EXPECT_TRUE(pView->m_bChangesPending);
    pView->SelectTreeFolderByPath(shown.c_str());
    pView->OnIdle();
    s_fakeNow += 300;
    pView->OnIdle();
    ASSERT_EQ(std::string(pView->m_strListFolder), shown);

    // The picture arrives whole (written elsewhere, then moved in): a file written in place can
    // rightly be seen twice, new and then changed.
    std::string staging = Folder("Staging");
    ASSERT_TRUE(RunOther("echo x> \"" + staging + "\\new.jpg\" && move \"" + staging + "\\new.jpg\" \""
                         + shown + "\""));
    for (DWORD start = GetTickCount(); pView->m_arrApplied.GetSize() < 1 && GetTickCount() - start < 20000;) {
        Pump();
        pView->OnIdle();
        Sleep(5);
    }
    ASSERT_EQ(pView->m_arrApplied.GetSize(), 1);
    EXPECT_EQ(std::string(pView->m_arrApplied[0]), "Nnew.jpg");
}

// The folder shown renamed, or removed, by another program: the list empties and the title says the
// folder is gone, also after a refresh, until a folder is made again under its name. A removal may
// wait for the watch to let go of the folder (under Wine): the refresh lets go.
TEST_F(ExplorerTest, AFolderRenamedOrRemovedByAnotherProgramIsShownGone)
{
    ASSERT_TRUE(Start());
    const struct {
        const char* name;
        std::string command;
        bool seenAtOnce;
    } cases[] = {{"Partant", "ren \"" + m_temp.File("Partant") + "\" Parti", true},
                 {"Efface", "rmdir /s /q \"" + m_temp.File("Efface") + "\"", false}};
    const std::string model = WriteBmp("modele.bmp");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder(c.name);
        WriteBmp(std::string(c.name) + "\\un.bmp");
        WriteBmp(std::string(c.name) + "\\deux.bmp");
        CExplorerView* pView = OpenExplorer(m_temp.File(c.name));
        ASSERT_NE(pView, nullptr);
        pView->OnIdle();
        ASSERT_EQ(pView->m_list.GetCount(), 2);
        auto follow = [&](int count) {
            for (DWORD start = GetTickCount();
                 pView->m_list.GetCount() != count && GetTickCount() - start < 20000;) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                Pump();
                pView->OnIdle();
            }
            return pView->m_list.GetCount();
        };
        ASSERT_TRUE(RunOther(c.command));
        EXPECT_EQ(follow(0), 0);
        const std::string gone = std::string("Explorateur - ") + c.name + " (dossier disparu)";
        if (c.seenAtOnce) {
            EXPECT_EQ(std::string(pView->GetDocument()->GetTitle()), gone);
            // Another folder made under the name is shown and followed; then it is removed.
            const std::string folder = m_temp.File(c.name), moved = m_temp.File("Parti\\un.bmp");
            ASSERT_TRUE(
                RunOther("mkdir \"" + folder + "\" && copy \"" + moved + "\" \"" + folder + "\\trois.bmp\""));
            EXPECT_EQ(follow(1), 1);
            ASSERT_TRUE(RunOther("copy \"" + moved + "\" \"" + folder + "\\quatre.bmp\""));
            EXPECT_EQ(follow(2), 2);
            ASSERT_TRUE(RunOther("rmdir /s /q \"" + folder + "\""));
            EXPECT_EQ(follow(0), 0);
        }
        auto refresh = [&] {
            pView->SendMessage(WM_COMMAND, ID_EXPLORER_REFRESH);
            for (int i = 0; i < 3; i++, s_fakeNow += 300)
                pView->OnIdle();
        };
        refresh();
        // Another program's removal is refused when it comes while the watch lists the folder (a
        // listing does not share deletion under Wine): it is tried again, as a person would.
        for (int i = 0; i < 3 && FolderExists(m_temp.File(c.name).c_str()); i++) {
            RunOther("rmdir /s /q \"" + m_temp.File(c.name) + "\"");
            refresh();
        }
        EXPECT_EQ(pView->m_list.GetCount(), 0);
        EXPECT_EQ(std::string(pView->GetDocument()->GetTitle()), gone);
        EXPECT_FALSE(FolderExists(m_temp.File(c.name).c_str()));
        // Made again after the refresh, it is shown and followed.
        const std::string again = m_temp.File(c.name);
        ASSERT_TRUE(
            RunOther("mkdir \"" + again + "\" && copy \"" + model + "\" \"" + again + "\\cinq.bmp\""));
        EXPECT_EQ(follow(1), 1);
        EXPECT_EQ(std::string(pView->GetDocument()->GetTitle()), std::string("Explorateur - ") + c.name);
        ASSERT_TRUE(RunOther("copy \"" + model + "\" \"" + again + "\\six.bmp\""));
        EXPECT_EQ(follow(2), 2);
    }
    EXPECT_TRUE(FileExists(m_temp.File("Parti\\deux.bmp").c_str())) << "renamed, the pictures are untouched";
}

TEST_F(ExplorerTest, FiftyWindowsLeaveNothingBehind)
{
    ASSERT_TRUE(Start());
    std::string folder = Folder("Many");
    // A first window loads what the shell keeps for the rest of the run.
    for (int i = 0; i < 2; i++) {
        ASSERT_NE(OpenExplorer(folder), nullptr);
        static_cast<CExplorerView*>(m_pFrame->MDIGetActive()->GetActiveView())->OnIdle();
        m_pFrame->MDIGetActive()->SendMessage(WM_CLOSE);
        Pump();
    }
    int threads = ThreadCount();
    DWORD handles = HandleCount();
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    LONG items = CExplorerTreeCtrl::LiveItemCount();
    for (int i = 0; i < 50; i++) {
        CExplorerView* pView = OpenExplorer(folder);
        ASSERT_NE(pView, nullptr);
        pView->OnIdle();
        ASSERT_NE(pView->m_hWatchThread, nullptr);
        m_pFrame->MDIGetActive()->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_LE(HandleCount(), handles + 2);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 2);
    EXPECT_EQ(CExplorerTreeCtrl::LiveItemCount(), items);
}

} // namespace

namespace {

// What an update handler decided.
class StateProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { m_nChecked = nCheck; }
    int m_nEnabled = -1;
    int m_nChecked = -1;
};

// Answers "Yes" to each of the shell's own confirmation boxes as it comes up on this thread, while
// it lives.
class ShellConfirmer {
public:
    ShellConfirmer()
    {
        s_pActive = this;
        m_hHook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~ShellConfirmer()
    {
        UnhookWindowsHookEx(m_hHook);
        s_pActive = nullptr;
    }
    int m_nAnswered = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && s_pActive != nullptr) {
            HWND hWnd = reinterpret_cast<HWND>(wParam);
            char cls[16] = "";
            GetClassNameA(hWnd, cls, sizeof(cls));
            // Only this program's box: windows are shared with the other tests on the display.
            DWORD process = 0;
            GetWindowThreadProcessId(hWnd, &process);
            if (lstrcmpA(cls, "#32770") == 0 && process == GetCurrentProcessId()) {
                PostMessageA(hWnd, WM_COMMAND, IDYES, 0);
                s_pActive->m_nAnswered++;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static ShellConfirmer* s_pActive;
    HHOOK m_hHook;
};
ShellConfirmer* ShellConfirmer::s_pActive = nullptr;

// The questions about single items (a record, a selection state) sent to one list window.
HWND g_hAskedList = nullptr;
int g_nItemQuestions = 0;
LRESULT CALLBACK CountItemQuestions(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == g_hAskedList
        && (sent->message == LB_GETITEMDATA || sent->message == LB_GETSEL))
        g_nItemQuestions++;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ExplorerTest, NewFolderMakesTheFolderAndRefusesTakenAndPathNames)
{
    ASSERT_TRUE(Start());
    std::string base = Folder("Base");
    CExplorerView* pView = OpenExplorer(base);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();

    AfxScriptNextModal(IDD_NEW_FOLDER, {{IDC_NEWFOLDER_NAME, "Neuf \xe9t\xe9"}}, IDOK);
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_NEW_FOLDER);
    EXPECT_TRUE(FolderExists((base + "\\Neuf \xe9t\xe9").c_str()));
    EXPECT_EQ(std::string(pView->m_tree.GetItemText(pView->m_tree.GetSelectedItem())), "Neuf \xe9t\xe9");

    // A taken name, a name that would reach another folder or that Windows refuses, and one too long
    // for a path are refused, each with its own reason, in the dialog, which stays with the name
    // typed and selected.
    pView->SelectTreeFolderByPath(base.c_str());
    struct Row {
        const char* name;
        const char* reason;
        std::wstring pasted; // a name with a letter the code page lacks, pasted over name
    };
    const std::string tooLong(253, 'x');
    const Row rows[] = {
        {"nEUF \xe9t\xe9", "existe d\xe9j\xe0"},
        {"..\\Ailleurs", "ne peut \xeatre vide ni contenir"},
        {"a/b", "ne peut \xeatre vide ni contenir"},
        {"", "ne peut \xeatre vide ni contenir"},
        {"fin.", "ni finir par un point"},
        {"deux:points", "ne peut \xeatre vide ni contenir"},
        {tooLong.c_str(), "Le nom du dossier est trop long."},
        {"", "dossier '?odz' contient", L"\x0141odz"},
        {"", "dossier 'Pozna?' contient", L"Pozna\x0144"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AfxTestRecords().messageBoxes.clear();
        std::wstring kept = L"(closed)";
        const std::wstring shown = row.pasted.empty() ? AfxCodePageToWide(row.name) : row.pasted;
        bool focused = false;
        DWORD selection = 0;
        AfxModalStep typed;
        typed.fields = {{IDC_NEWFOLDER_NAME, row.name}};
        if (!row.pasted.empty())
            typed.wideFields = {{IDC_NEWFOLDER_NAME, row.pasted}};
        typed.check = [&](CWnd* pDlg) {
            HWND hEdit = ::GetDlgItem(pDlg->m_hWnd, IDC_NEWFOLDER_NAME);
            kept = AfxGetWindowTextWide(hEdit);
            // Another test's window on the shared display may have taken the activation meanwhile.
            focused = ::GetActiveWindow() != pDlg->m_hWnd || ::GetFocus() == hEdit;
            selection = static_cast<DWORD>(::SendMessageA(hEdit, EM_GETSEL, 0, 0));
        };
        AfxScriptModal(IDD_NEW_FOLDER, {typed});
        AfxScriptMessageBox(IDOK);
        pView->SendMessage(WM_COMMAND, ID_EXPLORER_NEW_FOLDER);
        EXPECT_EQ(kept, shown);
        EXPECT_TRUE(focused);
        EXPECT_EQ(selection, static_cast<DWORD>(MAKELONG(0, shown.size())));
        const auto& boxes = AfxTestRecords().messageBoxes;
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(row.reason), std::string::npos) << boxes[0].text;
        EXPECT_EQ(boxes[0].text.find("Acc\xe8s non autoris\xe9"), std::string::npos) << boxes[0].text;
        // Not a piece of information: the folder was not made.
        EXPECT_TRUE(row.name != tooLong.c_str() || (boxes[0].type & MB_ICONMASK) == MB_ICONEXCLAMATION);
    }
    EXPECT_FALSE(FolderExists(m_temp.File("Ailleurs").c_str()));
    EXPECT_FALSE(FolderExists((base + "\\a").c_str()));
    EXPECT_FALSE(FolderExists((base + "\\Lodz").c_str()) || FolderExists((base + "\\Poznan").c_str()));
}

TEST_F(ExplorerTest, DeletingTheFolderShownGoesThroughTheShellAndMovesTheSelection)
{
    ASSERT_TRUE(Start());
    Folder("Parent");
    std::string first = Folder("Parent\\First");
    std::string doomed = Folder("Parent\\Second");
    ASSERT_TRUE(testpaths::WriteBytes(doomed + "\\inside.jpg", "x"));
    CExplorerView* pView = OpenExplorer(doomed);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    // The folder's watch is running while the folder is deleted: a picture is written there until
    // the watch reports it (the watch thread starts at idle priority, and what was written before
    // it began to watch is not a change for it).
    std::string late;
    ASSERT_TRUE(PumpUntil([&] {
        late += "y";
        testpaths::WriteBytes(doomed + "\\late.jpg", late);
        return pView->m_bChangesPending != FALSE;
    }));
    pView->m_tree.SetFocus();
    ASSERT_FALSE(pView->m_bListHasFocus);
    {
        ShellConfirmer confirmer;
        pView->SendMessage(WM_COMMAND, ID_EXPLORER_DELETE);
        EXPECT_GE(confirmer.m_nAnswered, 1);
    }
    EXPECT_FALSE(FolderExists(doomed.c_str()));
    // No next sibling: the previous one is chosen.
    EXPECT_EQ(std::string(pView->GetTreeItemPath(pView->m_tree.GetSelectedItem())), first);
    EXPECT_FALSE(g_bTransferBusy);

    // A drive root is never deleted.
    pView->SelectTreeFolderByPath("C:");
    s_fakeNow += 1000;
    pView->OnIdle();
    pView->OnIdle();
    ASSERT_EQ(std::string(pView->m_strShownPath), "C:\\");
    StateProbe probe;
    pView->OnUpdateDelete(&probe);
    EXPECT_EQ(probe.m_nEnabled, 0);
    pView->OnUpdateProperties(&probe);
    EXPECT_EQ(probe.m_nEnabled, 1);
}

} // namespace

namespace {

std::vector<std::string> ListNames(CExplorerView* pView)
{
    std::vector<std::string> names;
    // Lower case: the list shows names by its own capitalisation rule.
    for (int i = 0; i < pView->m_list.GetCount(); i++) {
        std::string name = static_cast<LPCSTR>(pView->m_list.GetRecord(i)->m_strFileName);
        CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
        names.push_back(name);
    }
    return names;
}

// Steps the view (pumping the watch's messages) until the list holds count items or 3 s passed.
bool WaitListCount(CExplorerView* pView, int count, std::function<void()> pump)
{
    DWORD start = GetTickCount();
    while (pView->m_list.GetCount() != count && GetTickCount() - start < 3000) {
        pump();
        pView->OnIdle();
        Sleep(5);
    }
    return pView->m_list.GetCount() == count;
}

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT)
{
    g_lastEditor = std::string(file) + "|" + parameters + "|" + directory;
    return reinterpret_cast<HINSTANCE>(42);
}

TEST_F(ExplorerTest, SortingViewsAndSelectionKeepTheRecords)
{
    ASSERT_TRUE(Start());
    std::string folder = Folder("Pics");
    WriteBmp("Pics\\b.bmp", 16, 8);
    WriteBmp("Pics\\a.bmp", 32, 8);
    WriteBmp("Pics\\c.bmp", 8, 8);
    CExplorerView* pView = OpenExplorer(folder);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    ASSERT_EQ(ListNames(pView), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));

    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SORT_DESCENDING);
    EXPECT_EQ(ListNames(pView), (std::vector<std::string>{"c.bmp", "b.bmp", "a.bmp"}));
    EXPECT_EQ(g_DefaultSortOrder, 1);
    // By size, descending: the smallest first.
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SORT_SIZE);
    EXPECT_EQ(g_DefaultSortBy, 3);
    EXPECT_EQ(ListNames(pView), (std::vector<std::string>{"c.bmp", "b.bmp", "a.bmp"}));
    StateProbe probe;
    probe.m_nID = ID_EXPLORER_SORT_SIZE;
    pView->OnUpdateSortKey(&probe);
    EXPECT_EQ(probe.m_nChecked, 1);

    // Another view: a new window, the same records in the same order, the first one selected.
    std::vector<CPicObject*> before;
    for (int i = 0; i < 3; i++)
        before.push_back(pView->m_list.GetRecord(i));
    HWND hOld = pView->m_list.m_hWnd;
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_VIEW_LIST);
    EXPECT_NE(pView->m_list.m_hWnd, hOld);
    EXPECT_EQ(pView->m_list.m_nView, 3);
    EXPECT_EQ(g_TailleVignette, 3);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(pView->m_list.GetRecord(i), before[i]);
    EXPECT_EQ(pView->m_list.GetSelCount(), 1);
    EXPECT_GT(pView->m_list.GetSel(0), 0);

    pView->SendMessage(WM_COMMAND, ID_EXPLORER_INVERT_SELECTION);
    EXPECT_EQ(pView->m_list.GetSelCount(), 2);
    EXPECT_EQ(pView->m_list.GetSel(0), 0);
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SELECT_ALL);
    EXPECT_EQ(pView->m_list.GetSelCount(), 3);
    pView->m_list.SetFocus();
    pView->SendMessage(WM_VIEWSTATUS);
    EXPECT_EQ(std::string(m_pFrame->GetStatusBar()->GetPaneText(2)).substr(0, 21),
              "S\xe9lection: 3 Images (");
    // At rest, with every thumbnail made, the ticks ask nothing about the records; the sums follow a
    // change all the same.
    for (int i = 0; i < 20 && pView->OnIdle() != 0; i++) {
    }
    m_pFrame->OnIdleUpdate();
    g_hAskedList = pView->m_list.m_hWnd;
    HHOOK hHook = SetWindowsHookExA(WH_CALLWNDPROC, CountItemQuestions, nullptr, GetCurrentThreadId());
    for (int i = 0; i < 3; i++) {
        m_pApp->OnIdle(0);
        m_pFrame->OnIdleUpdate();
    }
    UnhookWindowsHookEx(hHook);
    EXPECT_EQ(g_nItemQuestions, 0);
    pView->m_list.SetSel(0, FALSE);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(std::string(m_pFrame->GetStatusBar()->GetPaneText(2)).substr(0, 21),
              "S\xe9lection: 2 Images (");
    // A key the list handles after telling its owner (who counts the sums then): the next tick
    // shows the selection the key left.
    pView->m_list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(std::string(m_pFrame->GetStatusBar()->GetPaneText(2)).substr(0, 21),
              "S\xe9lection: 1 Images (");
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_DESELECT_ALL);
    EXPECT_EQ(pView->m_list.GetSelCount(), 0);
    pView->OnUpdateNeedsSelection(&probe);
    EXPECT_EQ(probe.m_nEnabled, 0);
}

TEST_F(ExplorerTest, CopyingAndMovingAskBeforeReplacingAndNeverLoseAFile)
{
    ASSERT_TRUE(Start());
    std::string folder = Folder("From");
    std::string dest = Folder("To");
    WriteBmp("From\\a.bmp", 16, 8);
    WriteBmp("From\\b.bmp", 16, 8);
    WriteBmp("From\\c.bmp", 16, 8);
    ASSERT_TRUE(testpaths::WriteBytes(dest + "\\b.bmp", "kept"));
    CExplorerView* pView = OpenExplorer(folder);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SELECT_ALL);

    // b exists there: the user keeps it; c cannot be copied: its failure is told and the batch goes on.
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDNO);
    ArmFileFault(kStepCopy, "c.bmp", 1);
    AfxScriptMessageBox(IDOK);
    EXPECT_TRUE(pView->CopyOrMoveSelection(dest.c_str(), TRUE));
    DisarmFileFault();
    EXPECT_EQ(testpaths::ReadBytes(dest + "\\b.bmp"), "kept");
    EXPECT_EQ(testpaths::ReadBytes(dest + "\\a.bmp"), testpaths::ReadBytes(folder + "\\a.bmp"));
    EXPECT_FALSE(PathExists((dest + "\\c.bmp").c_str()));
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find("c.bmp"), std::string::npos);
    EXPECT_FALSE(g_bTransferBusy);

    // Moving onto the folder itself, spelt in capitals: nothing is asked and nothing is lost.
    std::string upper = folder;
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    EXPECT_TRUE(pView->CopyOrMoveSelection(upper.c_str(), FALSE));
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        EXPECT_TRUE(PathExists((folder + "\\" + name).c_str())) << name;

    // Moving with "yes" replaces b and a (copied there before), and the watch takes the moved
    // pictures out of the list.
    std::string bBytes = testpaths::ReadBytes(folder + "\\b.bmp");
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    EXPECT_TRUE(pView->CopyOrMoveSelection(dest.c_str(), FALSE));
    EXPECT_EQ(testpaths::ReadBytes(dest + "\\b.bmp"), bBytes);
    EXPECT_FALSE(PathExists((folder + "\\a.bmp").c_str()));
    EXPECT_TRUE(WaitListCount(pView, 0, [this] { Pump(); }));
}

TEST_F(ExplorerTest, DeletingPicturesGoesThroughTheShellAndTheListFollows)
{
    ASSERT_TRUE(Start());
    std::string folder = Folder("Del");
    WriteBmp("Del\\a.bmp");
    WriteBmp("Del\\b b.bmp");
    WriteBmp("Del\\c.bmp");
    CExplorerView* pView = OpenExplorer(folder);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    ASSERT_EQ(pView->m_list.GetCount(), 3);
    pView->m_list.SetFocus();
    ASSERT_TRUE(pView->m_bListHasFocus);
    pView->m_list.SetSel(-1, FALSE);
    pView->m_list.SetSel(0, TRUE);
    pView->m_list.SetSel(1, TRUE);
    {
        ShellConfirmer confirmer;
        pView->SendMessage(WM_COMMAND, ID_EXPLORER_DELETE);
    }
    EXPECT_FALSE(PathExists((folder + "\\a.bmp").c_str()));
    EXPECT_FALSE(PathExists((folder + "\\b b.bmp").c_str()));
    EXPECT_TRUE(PathExists((folder + "\\c.bmp").c_str()));
    EXPECT_FALSE(g_bTransferBusy);
    // The list is changed only by the watch.
    EXPECT_TRUE(WaitListCount(pView, 1, [this] { Pump(); }));
    EXPECT_EQ(ListNames(pView), (std::vector<std::string>{"c.bmp"}));

    // Renamed by another program: the list follows.
    ASSERT_TRUE(RunOther("ren \"" + folder + "\\c.bmp\" d.bmp"));
    DWORD deadline = GetTickCount() + 20000;
    while (ListNames(pView) != std::vector<std::string>{"d.bmp"} && GetTickCount() < deadline) {
        Pump();
        pView->OnIdle();
        Sleep(5);
    }
    EXPECT_EQ(ListNames(pView), (std::vector<std::string>{"d.bmp"}));
}

TEST_F(ExplorerTest, OpeningEditingAndCopyingThePicture)
{
    ASSERT_TRUE(Start());
    std::string folder = Folder("Open");
    std::string picture = WriteBmp("Open\\mes vacances.bmp", 16, 8);
    CExplorerView* pView = OpenExplorer(folder);
    ASSERT_NE(pView, nullptr);
    CMDIChildWnd* pExplorerFrame = m_pFrame->MDIGetActive();
    pView->OnIdle();
    ASSERT_EQ(pView->m_list.GetCount(), 1);
    pView->m_list.SetSel(0, TRUE);

    // The clipboard gets the picture as a bitmap.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    pView->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));

    // Without an editor the user is offered to choose one; with one, it gets the name as one argument.
    CString savedEditor = g_DefaultEditorPathName;
    g_DefaultEditorPathName.Empty();
    AfxScriptMessageBox(IDNO);
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_EDIT_PICTURE);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    g_DefaultEditorPathName = "C:\\editeur.exe";
    AfxPlatform().pfnShellExecute = RecordShellExecute;
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_EDIT_PICTURE);
    EXPECT_EQ(g_lastEditor, "C:\\editeur.exe|\"mes vacances.bmp\"|" + folder);
    g_DefaultEditorPathName = savedEditor;

    // A double click opens the picture in its own window.
    pView->m_bFullScreenOpen = FALSE;
    pView->SendMessage(WM_COMMAND, MAKEWPARAM(101, LBN_DBLCLK),
                       reinterpret_cast<LPARAM>(pView->m_list.m_hWnd));
    ASSERT_NE(m_pFrame->MDIGetActive(), pExplorerFrame);
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), picture);
}

} // namespace

namespace {

// A large folder (kept to 2,500 files: writing them is what takes the time under Wine) lists every
// name in one step and builds thumbnails in later steps, one per step when the step has no time slice.
TEST_F(ExplorerTest, ALargeFolderOpensAtOnceAndThumbnailsFollowStepByStep)
{
    ASSERT_TRUE(Start());
    const int kCount = 2500;
    std::string folder = Folder("Big");
    std::string bytes = testpaths::ReadBytes(WriteBmp("one.bmp", 16, 8));
    char name[32];
    for (int i = 0; i < kCount; i++) {
        wsprintfA(name, "\\p%05d.bmp", i);
        ASSERT_TRUE(testpaths::WriteBytes(folder + name, bytes));
    }
    CExplorerView* pView = OpenExplorer(folder);
    ASSERT_NE(pView, nullptr);
    DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    auto builtCount = [pView, kCount] {
        int built = 0;
        for (int i = 0; i < kCount; i++)
            built += pView->m_list.GetRecord(i)->m_nThumbState == 1;
        return built;
    };
    pView->OnIdle();
    ASSERT_EQ(pView->m_list.GetCount(), kCount);
    EXPECT_EQ(builtCount(), 0);
    // The window never waits for the whole folder's thumbnails: each step builds what its slice
    // allows, so a step without a slice builds exactly one.
    pView->m_list.m_nBuildSliceMs = 0;
    pView->m_list.m_bYieldToInput = FALSE;
    for (int i = 0; i < 20; i++) {
        int before = builtCount();
        pView->OnIdle();
        Pump();
        EXPECT_EQ(builtCount(), before + 1);
    }
    // Scrolling through the whole list stays within the GDI budget.
    for (int top = 0; top < kCount; top += 200) {
        pView->m_list.SetTopIndex(top);
        pView->m_list.UpdateWindow();
    }
    EXPECT_LT(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 2000);
}

} // namespace

namespace {

TEST_F(ExplorerTest, ALockedProtectedFolderShowsNothingEvenThroughItsWatch)
{
    ASSERT_TRUE(Start());
    CString savedFolder = g_strProtectedFolder;
    g_strProtectedFolder = Folder("Images Prot\xe9g\xe9"
                                  "es")
                               .c_str();
    std::string inside = Folder("Images Prot\xe9g\xe9"
                                "es\\Secret");
    std::string beside = Folder("Images Prot\xe9g\xe9"
                                "es 2");
    WriteBmp("Images Prot\xe9g\xe9"
             "es\\Secret\\a.bmp");
    WriteBmp("Images Prot\xe9g\xe9"
             "es 2\\b.bmp");
    g_bProtectedUnlocked = FALSE;

    CExplorerView* pView = OpenExplorer(inside);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    EXPECT_EQ(pView->m_list.GetCount(), 0);
    // Its watch runs, but what it sees stays out of the list.
    ASSERT_TRUE(RunOther("copy \"" + inside + "\\a.bmp\" \"" + inside + "\\c.bmp\""));
    for (DWORD start = GetTickCount(); !pView->m_bChangesPending && GetTickCount() - start < 5000;)
        Pump();
    for (int i = 0; i < 10; i++)
        pView->OnIdle();
    EXPECT_EQ(pView->m_list.GetCount(), 0);
    EXPECT_EQ(pView->m_arrApplied.GetSize(), 0);

    // A folder whose name only begins like it is not protected.
    pView->SelectTreeFolderByPath(beside.c_str());
    pView->OnIdle();
    s_fakeNow += 300;
    pView->OnIdle();
    EXPECT_EQ(pView->m_list.GetCount(), 1);

    // Once unlocked, the folder shown locked shows its pictures at F5 in its tree.
    pView->SelectTreeFolderByPath(inside.c_str());
    pView->OnIdle();
    s_fakeNow += 300;
    pView->OnIdle();
    ASSERT_EQ(pView->m_list.GetCount(), 0);
    g_bProtectedUnlocked = TRUE;
    PressKey(m_pApp, pView->m_tree.m_hWnd, 0, VK_F5);
    pView->OnIdle();
    EXPECT_EQ(pView->m_list.GetCount(), 2);
    g_bProtectedUnlocked = FALSE;
    g_strProtectedFolder = savedFolder;
}

} // namespace

namespace {

TEST_F(ExplorerTest, TreeKeysMoveTheFocusAndAskForCommands)
{
    ASSERT_TRUE(Start());
    std::string folder = Folder("Keys");
    WriteBmp("Keys\\a.bmp");
    CExplorerView* pView = OpenExplorer(folder);
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    CExplorerTreeCtrl& tree = pView->m_tree;
    tree.SetFocus();
    EXPECT_FALSE(pView->m_bListHasFocus);
    // Tab: to the list.
    tree.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), pView->m_list.m_hWnd);
    EXPECT_TRUE(pView->m_bListHasFocus);
    // Insert: the view's new-folder command (answered by a cancelled dialog).
    tree.SetFocus();
    AfxScriptNextModal(IDD_NEW_FOLDER, {}, IDCANCEL);
    tree.SendMessage(WM_KEYDOWN, VK_INSERT, 0);
    Pump();
    ASSERT_EQ(AfxTestRecords().modals.size(), 1u);
    EXPECT_EQ(AfxTestRecords().modals[0].templateId, static_cast<UINT>(IDD_NEW_FOLDER));
    // Esc: the library bar is shown or hidden.
    CWnd* pBar = m_pFrame->GetLibraryBar();
    BOOL bVisible = pBar->IsWindowVisible();
    tree.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_NE(pBar->IsWindowVisible(), bVisible);
}

} // namespace
