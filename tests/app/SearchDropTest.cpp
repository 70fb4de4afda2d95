// Hits of a library search dragged out of their window: copied onto an explorer's list, never
// moved, and taken by no library folder.
#include "tests/app/AppFixture.h"

#include "explorer/ExplorerView.h"
#include "explorer/SearchView.h"
#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "library/LibraryBar.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicObject.h"
#include "resources/resource.h"

#include <functional>
#include <string>

namespace {

HWND g_hUnder = nullptr;
HWND SeamWindow(POINT) { return g_hUnder; }

LPARAM At(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

class SearchDropTest : public AppTest {
protected:
    void TearDown() override
    {
        ResetPicDragInput();
        AppTest::TearDown();
    }
    // A library of records "Plage <n>" under "Images"; the pictures of 1 and 3 exist.
    void MakeLibrary()
    {
        m_root = m_temp.Path() + "\\Bibli";
        CreateDirectoryA(m_root.c_str(), nullptr);
        CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
        for (int n : {1, 3}) {
            CPicObject record;
            const std::string stem = m_root + "\\Images\\Photo" + std::to_string(n);
            record.m_strPath = (stem + ".bmp").c_str();
            record.m_strFileName = ("Photo" + std::to_string(n) + ".bmp").c_str();
            record.m_strBaseName = ("Plage " + std::to_string(n)).c_str();
            record.m_strExt = "bmp";
            CFile out;
            ASSERT_TRUE(out.Open((stem + ".dai").c_str(), CFile::modeCreate | CFile::modeWrite));
            CArchive ar(&out, CArchive::store);
            record.Serialize(ar);
            ar.Close();
            out.Close();
            ASSERT_TRUE(testpaths::WriteBytes(stem + ".bmp", "picture " + std::to_string(n)));
        }
        PutSettingText("folders", "LibrarianLocation", m_root);
    }
    CSearchView* SearchPlage()
    {
        CSearchProgressDlg& dlg = m_pFrame->GetSearchProgressDlg();
        AfxScriptNextModal(IDD_SEARCH_LIBRARY, {{IDC_SEARCH_NAME, "plage"}}, IDOK);
        AfxModalStep wait;
        wait.buttonId = 0;
        wait.check = [&dlg](CWnd*) {
            PumpUntil([&dlg] { return dlg.Block().done.load() != 0 && dlg.m_nTimerId == 0; });
        };
        AfxScriptModal(IDD_SEARCH_PROGRESS, {wait});
        m_pFrame->SendMessage(WM_COMMAND, ID_LIB_SEARCH);
        Pump();
        for (CMDIChildWnd* pChild : Children())
            if (pChild->GetActiveView() != nullptr
                && pChild->GetActiveView()->IsKindOf(RUNTIME_CLASS(CSearchView)))
                return static_cast<CSearchView*>(pChild->GetActiveView());
        return nullptr;
    }
    void Drag(CPicListBox& list, POINT screen, HWND hUnder)
    {
        g_picDragInput.windowFromPoint = SeamWindow;
        RECT rc;
        list.GetItemRect(0, &rc);
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                         At({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}));
        POINT client = screen;
        ::ScreenToClient(list.m_hWnd, &client);
        g_hUnder = hUnder;
        list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(client));
        list.SendMessage(WM_LBUTTONUP, 0, At(client));
        Pump();
    }
    std::string m_root;
};

} // namespace

TEST_F(SearchDropTest, HitsAreCopiedOntoAnExplorerListAndNeverIntoALibraryFolder)
{
    MakeLibrary();
    ASSERT_TRUE(Start());
    CSearchView* pView = SearchPlage();
    ASSERT_NE(pView, nullptr);
    CPicListBox& hits = pView->GetList();
    ASSERT_EQ(hits.GetCount(), 2);
    hits.SelItemRange(TRUE, 0, 1);

    const std::string out = m_temp.Path() + "\\Sortie";
    CreateDirectoryA(out.c_str(), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(out.c_str()), nullptr);
    auto* pExplorer = dynamic_cast<CExplorerView*>(m_pFrame->MDIGetActive()->GetActiveView());
    ASSERT_NE(pExplorer, nullptr);
    pExplorer->OnIdle();
    POINT over = {40, 40};
    ::ClientToScreen(pExplorer->m_list.m_hWnd, &over);
    Drag(hits, over, pExplorer->m_list.m_hWnd);
    EXPECT_EQ(testpaths::ReadBytes(out + "\\Plage 1.bmp"), "picture 1");
    EXPECT_EQ(testpaths::ReadBytes(out + "\\Plage 3.bmp"), "picture 3");
    EXPECT_EQ(testpaths::ReadBytes(m_root + "\\Images\\Photo1.bmp"), "picture 1") << "hits are only copied";

    // The library's folders are no target for hits.
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    RECT item = {};
    TreeView_GetItemRect(pBar->m_tree.m_hWnd, pBar->m_tree.FavoritesItem(), &item, TRUE);
    POINT onFav = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(pBar->m_tree.m_hWnd, &onFav);
    Drag(hits, onFav, pBar->m_tree.m_hWnd);
    EXPECT_EQ(g_nDropTarget, kDropNone);
    EXPECT_EQ(::GetFileAttributesA((m_root + "\\Images Favorites\\Plage 1.bmp").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(hits.GetCount(), 2);
}
