// A single frame with its view: creation from a context, the view first in the route, the title with
// the document, the status prompt ("Prêt"), tool-tip texts and the update of dialog-style controls.
#include "tests/framework/WindowTestSupport.h"

#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/View.h"
#include "tests/framework/WindowTestIds.h"

#include <commctrl.h>

namespace {

class CPlainDoc : public CDocument {
    DECLARE_DYNCREATE(CPlainDoc)
public:
    static int s_nDeleted;
    ~CPlainDoc() override { s_nDeleted++; }
};
int CPlainDoc::s_nDeleted = 0;
IMPLEMENT_DYNCREATE(CPlainDoc, CDocument)

class CPlainView : public CView {
    DECLARE_DYNCREATE(CPlainView)
public:
    int m_nUpdates = 0;
    LPARAM m_lastHint = 0;
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM lHint, CObject*) override
    {
        m_nUpdates++;
        m_lastHint = lHint;
    }

protected:
    BOOL OnTrace(UINT)
    {
        g_trace.push_back("view");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPlainView, CView)
BEGIN_MESSAGE_MAP(CPlainView, CView)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
END_MESSAGE_MAP()

class CPlainFrame : public CFrameWnd {
public:
    BOOL m_bGreyButton = TRUE;

protected:
    BOOL OnTrace(UINT)
    {
        g_trace.push_back("frame");
        return FALSE;
    }
    void OnUpdateButton(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bGreyButton); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPlainFrame, CFrameWnd)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateButton)
END_MESSAGE_MAP()

class SingleFrame : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_pDoc = new CPlainDoc;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CPlainView);
        context.m_pCurrentDoc = m_pDoc;
        m_pFrame = new CPlainFrame;
        ASSERT_TRUE(
            m_pFrame->LoadFrame(IDR_TEST_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context));
        m_pFrame->InitialUpdateFrame(m_pDoc, TRUE);
        POSITION pos = m_pDoc->GetFirstViewPosition();
        m_pView = static_cast<CPlainView*>(m_pDoc->GetNextView(pos));
    }
    void TearDown() override
    {
        // The frame takes its view with it; the view's going closes the document.
        if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr)
            m_pFrame->DestroyWindow();
        WindowTest::TearDown();
    }
    CPlainDoc* m_pDoc = nullptr;
    CPlainFrame* m_pFrame = nullptr;
    CPlainView* m_pView = nullptr;
};

} // namespace

TEST_F(SingleFrame, ViewIsCreatedActiveAndFillsTheClientArea)
{
    ASSERT_NE(m_pView, nullptr);
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pView);
    EXPECT_EQ(m_pFrame->GetActiveDocument(), m_pDoc);
    EXPECT_EQ(m_pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(m_pView->GetDocument(), m_pDoc);
    EXPECT_EQ(m_pView->GetParentFrame(), m_pFrame);
    EXPECT_TRUE(m_pView->GetExStyle() & WS_EX_CLIENTEDGE); // the border became the sunken edge
    CRect rcClient;
    CRect rcView;
    m_pFrame->GetClientRect(&rcClient);
    m_pView->GetWindowRect(&rcView);
    EXPECT_EQ(rcView.Width(), rcClient.Width());
    EXPECT_EQ(rcView.Height(), rcClient.Height());
    EXPECT_GE(m_pView->m_nUpdates, 1); // OnInitialUpdate
}

TEST_F(SingleFrame, TopLevelFrameRoutesViewThenItselfThenApplication)
{
    m_pFrame->SendMessage(WM_COMMAND, ID_TEST_TRACE);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"view", "frame", "app"}));
}

TEST_F(SingleFrame, TitleShowsTheDocument)
{
    m_pDoc->SetTitle("photo.jpg");
    CString text;
    m_pFrame->GetWindowText(text);
    EXPECT_STREQ(text, "Tessarine Test - photo.jpg");
}

TEST_F(SingleFrame, ViewStillFindsItsFrameWhileUnderAnotherWindow)
{
    CTestTopWindow other;
    ASSERT_TRUE(other.CreateTop("plein \xE9"
                                "cran",
                                WS_POPUP));
    m_pView->SetParent(&other);
    EXPECT_EQ(m_pView->GetParentFrame(), m_pFrame);
    m_pView->SetParent(m_pFrame);
    other.DestroyWindow();
}

TEST_F(SingleFrame, UpdateAllViewsSkipsTheSender)
{
    int nBefore = m_pView->m_nUpdates;
    m_pDoc->UpdateAllViews(m_pView, 5);
    EXPECT_EQ(m_pView->m_nUpdates, nBefore);
    m_pDoc->UpdateAllViews(nullptr, 6);
    EXPECT_EQ(m_pView->m_nUpdates, nBefore + 1);
    EXPECT_EQ(m_pView->m_lastHint, 6);
}

TEST_F(SingleFrame, MessageBarShowsPromptsAndTheIdleText)
{
    CWnd bar;
    ASSERT_TRUE(bar.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, m_pFrame->m_hWnd,
                             reinterpret_cast<HMENU>(AFX_IDW_STATUS_BAR)));
    m_pFrame->SetMessageText(ID_TEST_DISABLED);
    CString text;
    bar.GetWindowText(text);
    EXPECT_STREQ(text, "Commande d\xE9sactiv\xE9"
                       "e"); // the prompt: the part before the new line
    m_pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
    bar.GetWindowText(text);
    EXPECT_STREQ(text, "Pr\xEAt");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_ENABLED, MF_STRING), 0);
    bar.GetWindowText(text);
    EXPECT_STREQ(text, "Commande active");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); // the menu closed
    bar.GetWindowText(text);
    EXPECT_STREQ(text, "Pr\xEAt");
    bar.DestroyWindow();
}

TEST_F(SingleFrame, ToolTipTextIsTheSecondPartOfTheCommandString)
{
    // Asked by a tool-tip window of the frame, as bars do.
    HWND hTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, m_pFrame->m_hWnd,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hTip, nullptr);
    TOOLTIPTEXTA ttt = {};
    ttt.hdr.hwndFrom = hTip;
    ttt.hdr.idFrom = ID_TEST_ENABLED;
    ttt.hdr.code = TTN_NEEDTEXTA;
    m_pFrame->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ttt));
    EXPECT_STREQ(ttt.szText, "Active");
    TOOLTIPTEXTW tttw = {};
    tttw.hdr.hwndFrom = hTip;
    tttw.hdr.idFrom = ID_TEST_DISABLED;
    tttw.hdr.code = TTN_NEEDTEXTW;
    m_pFrame->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tttw));
    EXPECT_EQ(std::wstring(tttw.szText), L"D\u00e9sactiv\u00e9e");
    ::DestroyWindow(hTip);
}

TEST_F(SingleFrame, DialogStyleControlsFollowTheirUpdateHandlers)
{
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 60, m_pFrame->m_hWnd,
                               reinterpret_cast<HMENU>(77)));
    HWND hGrey = ::CreateWindowExA(0, "BUTTON", "gris", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, panel.m_hWnd,
                                   reinterpret_cast<HMENU>(ID_TEST_DISABLED), nullptr, nullptr);
    HWND hOrphan = ::CreateWindowExA(0, "BUTTON", "seul", WS_CHILD | WS_VISIBLE, 70, 0, 60, 20, panel.m_hWnd,
                                     reinterpret_cast<HMENU>(ID_TEST_NOHANDLER), nullptr, nullptr);
    HWND hLabel =
        ::CreateWindowExA(0, "STATIC", "\xE9tiquette", WS_CHILD | WS_VISIBLE, 0, 30, 60, 20, panel.m_hWnd,
                          reinterpret_cast<HMENU>(ID_TEST_NOHANDLER + 1), nullptr, nullptr);
    panel.UpdateDialogControls(m_pFrame, TRUE);
    EXPECT_FALSE(::IsWindowEnabled(hGrey));
    EXPECT_FALSE(::IsWindowEnabled(hOrphan)); // a button nobody handles
    EXPECT_TRUE(::IsWindowEnabled(hLabel));   // labels are left alone
    m_pFrame->m_bGreyButton = FALSE;
    panel.UpdateDialogControls(m_pFrame, FALSE);
    EXPECT_TRUE(::IsWindowEnabled(hGrey));
    panel.DestroyWindow();
}

TEST_F(SingleFrame, ClosingTheFrameClosesItsDocument)
{
    HWND hFrame = m_pFrame->m_hWnd;
    int nDeleted = CPlainDoc::s_nDeleted;
    m_pFrame->SendMessage(WM_CLOSE);
    m_pFrame = nullptr; // gone with its window
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(CPlainDoc::s_nDeleted, nDeleted + 1);
}
