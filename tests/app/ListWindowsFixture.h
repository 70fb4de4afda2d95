// The three list windows in the running program, ready for commands: a library of the test's own
// with two pictures in "Images" (the first selected), and on demand an explorer window on a folder of
// two pictures and a search window of two hits, each loaded with its first picture selected.
#pragma once
#include "tests/app/AppFixture.h"

#include "explorer/ExplorerView.h"
#include "explorer/SearchView.h"
#include "explorer/SearchWorker.h"
#include "framework/MDIChildWnd.h"
#include "library/LibraryBar.h"
#include "library/ProtectedAccess.h"
#include "shell/Settings.h"

#include <string>
#include <vector>

namespace listwindows {

inline DWORD& Now()
{
    static DWORD s_now = 100000;
    return s_now;
}
inline DWORD FakeNow() { return Now(); }

} // namespace listwindows

class ListWindowsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_root = m_temp.File("Biblioth\xE8que");
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
        PutSettingText("folders", "LibrarianLocation", m_root + "\\");
        PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
        PutSetting("specs", "LibBarTypeCompression", 0);
        PutSetting("prefs", "ShowInfoSuppress", 0);
        g_bProtectedUnlocked = FALSE;
        m_pfnSavedBarNow = CLibraryBar::s_pfnNow;
        CLibraryBar::s_pfnNow = listwindows::FakeNow;
        m_pfnSavedExplorerClock = g_pfnExplorerClock;
        g_pfnExplorerClock = listwindows::FakeNow;
        m_folder = m_temp.File("Dossier");
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        for (const char* name : {"Dossier\\chat.bmp", "Dossier\\dune.bmp"})
            m_pictures.push_back(WriteBmp(name, 16, 8));
    }
    void TearDown() override
    {
        CLibraryBar::s_pfnNow = m_pfnSavedBarNow;
        g_pfnExplorerClock = m_pfnSavedExplorerClock;
        g_bProtectedUnlocked = FALSE;
        AppTest::TearDown();
    }

    CLibraryBar* Bar() { return m_pFrame->GetLibraryBar(); }
    // Lets the bar's idle step load whatever its tree chose.
    void SettleBar()
    {
        for (int i = 0; i < 3; i++) {
            listwindows::Now() += 300;
            Bar()->OnIdle();
        }
        Pump();
    }
    // Starts the program with the two pictures added to "Images", the first selected in the list.
    bool StartWithLibrary()
    {
        if (!Start())
            return false;
        SettleBar();
        for (const std::string& picture : m_pictures) {
            CString stored;
            if (!Bar()->AddFileToLibrary(picture.c_str(), &stored, nullptr))
                return false;
        }
        Bar()->RequestFolderReload();
        SettleBar();
        SelectFirst(Bar()->m_list);
        // The keys in the list, as a click there puts them: commands act on what has them.
        Bar()->m_list.SetFocus();
        return Bar()->m_list.GetCount() == 2;
    }
    static void SelectFirst(CListBox& list)
    {
        ::SendMessageA(list.m_hWnd, LB_SETSEL, FALSE, -1);
        ::SendMessageA(list.m_hWnd, LB_SETSEL, TRUE, 0);
    }
    // An explorer window on the folder of the two pictures, loaded, the first selected.
    CExplorerView* OpenExplorer()
    {
        m_pApp->OpenDocumentFile(m_folder.c_str());
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        CView* pView = pChild != nullptr ? pChild->GetActiveView() : nullptr;
        if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CExplorerView)))
            return nullptr;
        auto* pExplorer = static_cast<CExplorerView*>(pView);
        for (int i = 0; i < 3 && pExplorer->m_list.GetCount() < 2; i++) {
            pExplorer->OnIdle();
            listwindows::Now() += 300;
        }
        pExplorer->OnIdle();
        SelectFirst(pExplorer->m_list);
        pExplorer->m_list.SetFocus();
        return pExplorer->m_list.GetCount() == 2 ? pExplorer : nullptr;
    }
    // A search window listing the two pictures, the first selected.
    CSearchView* OpenSearch()
    {
        g_arrSearchResults.RemoveAll();
        for (const std::string& picture : m_pictures)
            g_arrSearchResults.Add(picture.c_str());
        m_pApp->NewSearchWindow();
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        auto* pView = pChild != nullptr ? dynamic_cast<CSearchView*>(pChild->GetActiveView()) : nullptr;
        if (pView == nullptr || pView->m_list.GetCount() != 2)
            return nullptr;
        SelectFirst(pView->m_list);
        return pView;
    }
    void CloseWindows()
    {
        for (CMDIChildWnd* pChild : Children())
            pChild->SendMessage(WM_CLOSE);
        Pump();
    }
    void Command(UINT id) { m_pFrame->SendMessage(WM_COMMAND, id); }
    // The selected indexes of a list.
    static std::vector<int> Selection(CListBox& list)
    {
        std::vector<int> out;
        for (int i = 0; i < list.GetCount(); i++)
            if (list.GetSel(i) > 0)
                out.push_back(i);
        return out;
    }

    std::string m_root;
    std::string m_folder;
    std::vector<std::string> m_pictures;

private:
    DWORD (*m_pfnSavedBarNow)() = nullptr;
    ExplorerClockFn m_pfnSavedExplorerClock = nullptr;
};
