// Command routing in the multiple-document program: the active view, its document and template, the
// child frame, the main frame and the application, in that order; update handlers grey menu items and
// tool-bar buttons; keys go through the template's accelerators.
#include "tests/framework/MdiTestClasses.h"

#include "framework/WinThread.h"
#include "tests/framework/WindowTestIds.h"

#include <commctrl.h>

namespace {

using Trace = std::vector<std::string>;

// A tool-bar button as an update handler sees it.
class CToolButtonCmdUI : public CCmdUI {
public:
    HWND m_hToolBar = nullptr;
    void Enable(BOOL bOn) override
    {
        ::SendMessageA(m_hToolBar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override
    {
        ::SendMessageA(m_hToolBar, TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0, 0));
    }
};

// A bar holding a real tool-bar control, updated at idle time through its frame's command route.
class CTestBar : public CWnd {
public:
    HWND m_hToolBar = nullptr;
    int m_nIdleUpdates = 0;

    BOOL CreateBar(CFrameWnd* pFrame)
    {
        if (!Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 30), pFrame, AFX_IDW_TOOLBAR))
            return FALSE;
        m_hToolBar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | CCS_NORESIZE, 0,
                                       0, 200, 28, m_hWnd, nullptr, nullptr, nullptr);
        if (m_hToolBar == nullptr)
            return FALSE;
        ::SendMessageA(m_hToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON buttons[2] = {};
        buttons[0].idCommand = ID_TEST_DISABLED;
        buttons[0].fsState = TBSTATE_ENABLED;
        buttons[0].iString = -1;
        buttons[1].idCommand = ID_TEST_ENABLED;
        buttons[1].fsState = TBSTATE_ENABLED;
        buttons[1].iString = -1;
        return static_cast<BOOL>(
            ::SendMessageA(m_hToolBar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons)));
    }
    BOOL IsEnabled(UINT nID) const { return ::SendMessageA(m_hToolBar, TB_ISBUTTONENABLED, nID, 0) != 0; }

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM)
    {
        m_nIdleUpdates++;
        CToolButtonCmdUI state;
        state.m_hToolBar = m_hToolBar;
        state.m_pOther = this;
        for (UINT nID : {UINT(ID_TEST_DISABLED), UINT(ID_TEST_ENABLED)}) {
            state.m_nID = nID;
            state.DoUpdate(GetParentFrame(), TRUE);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

HMENU PopupWithItem(HMENU hMenuBar, UINT nID)
{
    for (int i = 0; i < ::GetMenuItemCount(hMenuBar); i++) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        if (hPopup != nullptr && ::GetMenuState(hPopup, nID, MF_BYCOMMAND) != static_cast<UINT>(-1))
            return hPopup;
    }
    return nullptr;
}

bool IsGrayed(HMENU hMenu, UINT nID) { return (::GetMenuState(hMenu, nID, MF_BYCOMMAND) & MF_GRAYED) != 0; }

using CommandRouting = MdiTest;

} // namespace

TEST_F(CommandRouting, CommandVisitsViewDocumentTemplateChildFrameMainFrameApplicationInOrder)
{
    CDocument* pDocA = TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDocA, nullptr);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_TEST_TRACE);
    EXPECT_EQ(g_trace, (Trace{"viewA", "docA", "templateA", "childA", "main", "app"}));
}

TEST_F(CommandRouting, CommandFollowsTheActiveChildFrame)
{
    CDocument* pDocA = TemplateA()->OpenDocumentFile(nullptr);
    CDocument* pDocB = TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDocA, nullptr);
    ASSERT_NE(pDocB, nullptr);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_TEST_TRACE);
    EXPECT_EQ(g_trace, (Trace{"viewB", "docB", "templateB", "childB", "main", "app"}));

    g_trace.clear();
    ChildOf(pDocA)->MDIActivate();
    m_pMainFrame->SendMessage(WM_COMMAND, ID_TEST_TRACE);
    EXPECT_EQ(g_trace, (Trace{"viewA", "docA", "templateA", "childA", "main", "app"}));
}

TEST_F(CommandRouting, WithoutAChildTheMainFrameAndApplicationStillGetCommands)
{
    m_pMainFrame->SendMessage(WM_COMMAND, ID_TEST_TRACE);
    EXPECT_EQ(g_trace, (Trace{"main", "app"}));
}

TEST_F(CommandRouting, CommandSentToAViewStaysWithItsDocumentAndTemplate)
{
    CDocument* pDocA = TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDocA, nullptr);
    ViewOf(pDocA)->SendMessage(WM_COMMAND, ID_TEST_TRACE);
    EXPECT_EQ(g_trace, (Trace{"viewA", "docA", "templateA"}));
}

TEST_F(CommandRouting, UpdateHandlerGreysMenuItemAndItemsWithoutHandlerGoGreyToo)
{
    HMENU hMenu = ::GetMenu(m_pMainFrame->m_hWnd);
    HMENU hFile = PopupWithItem(hMenu, ID_TEST_DISABLED);
    ASSERT_NE(hFile, nullptr);
    m_pMainFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile), 0);
    EXPECT_TRUE(IsGrayed(hFile, ID_TEST_DISABLED));  // its update handler says so
    EXPECT_TRUE(IsGrayed(hFile, ID_TEST_NOHANDLER)); // nobody handles it
    EXPECT_FALSE(IsGrayed(hFile, ID_TEST_ENABLED));  // the application handles it
}

TEST_F(CommandRouting, DisabledCommandIsNotRunFromAKeyOrMenu)
{
    m_pMainFrame->SendMessage(WM_COMMAND, ID_TEST_DISABLED);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_TEST_ENABLED);
    EXPECT_EQ(g_trace, (Trace{"app-enabled"}));
}

TEST_F(CommandRouting, IdleUpdateDisablesToolBarButtonThroughTheFrame)
{
    CTestBar* pBar = new CTestBar;
    ASSERT_TRUE(pBar->CreateBar(m_pMainFrame));
    ASSERT_TRUE(pBar->IsEnabled(ID_TEST_DISABLED));
    // The framework's idle pass: every window below the main frame gets WM_IDLEUPDATECMDUI.
    TestApp().OnIdle(0);
    EXPECT_EQ(pBar->m_nIdleUpdates, 1);
    EXPECT_FALSE(pBar->IsEnabled(ID_TEST_DISABLED));
    EXPECT_TRUE(pBar->IsEnabled(ID_TEST_ENABLED));
    pBar->DestroyWindow();
    delete pBar;
}

TEST_F(CommandRouting, TemplateAcceleratorReachesTheActiveView)
{
    CDocument* pDocA = TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDocA, nullptr);
    CTraceView* pView = ViewOf(pDocA);
    // A key typed in the view goes through the framework's pre-translation: child frame keys first.
    ::PostMessageA(pView->m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001);
    PumpPending();
    EXPECT_EQ(g_trace, (Trace{"viewA-key"}));
}

TEST_F(CommandRouting, MainFrameAcceleratorWorksFromAnyChild)
{
    CDocument* pDocB = TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDocB, nullptr);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageA(ViewOf(pDocB)->m_hWnd, WM_KEYDOWN, 'T', 0x00140001);
    PumpPending();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(g_trace, (Trace{"app-enabled"}));
}
