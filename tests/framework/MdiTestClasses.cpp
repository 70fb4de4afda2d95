// The tests' multiple-document program.
#include "tests/framework/MdiTestClasses.h"

#include "framework/StdIds.h"
#include "tests/framework/WindowTestIds.h"

// ---- documents ----

BEGIN_MESSAGE_MAP(CTraceDoc, CDocument)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CDocA, CDocument)
IMPLEMENT_DYNCREATE(CDocB, CDocument)

BOOL CTraceDoc::OnTrace(UINT)
{
    g_trace.push_back(Name());
    return FALSE;
}

BOOL CTraceDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    // "refuse" in a path plays a file that cannot be read.
    if (std::string(lpszPathName).find("refuse") != std::string::npos)
        return FALSE;
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

// ---- views ----

BEGIN_MESSAGE_MAP(CTraceView, CView)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
    ON_COMMAND(ID_TEST_CHILDKEY, OnChildKey)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CViewA, CView)
IMPLEMENT_DYNCREATE(CViewB, CView)

BOOL CTraceView::OnTrace(UINT)
{
    g_trace.push_back(Name());
    return FALSE;
}

void CTraceView::OnChildKey() { g_trace.push_back(std::string(Name()) + "-key"); }

void CTraceView::OnInitialUpdate()
{
    m_nInitialUpdates++;
    CView::OnInitialUpdate();
}

// ---- frames ----

BEGIN_MESSAGE_MAP(CTraceChild, CMDIChildWnd)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CChildA, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CChildB, CMDIChildWnd)

BOOL CTraceChild::OnTrace(UINT)
{
    g_trace.push_back(Name());
    return FALSE;
}

BEGIN_MESSAGE_MAP(CTraceTemplate, CMultiDocTemplate)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
END_MESSAGE_MAP()

BOOL CTraceTemplate::OnTrace(UINT)
{
    g_trace.push_back(m_strName);
    return FALSE;
}

IMPLEMENT_DYNCREATE(CTestMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CTestMainFrame, CMDIFrameWnd)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
    ON_COMMAND(ID_TEST_DISABLED, OnDisabled)
END_MESSAGE_MAP()

BOOL CTestMainFrame::OnTrace(UINT)
{
    g_trace.push_back("main");
    return FALSE;
}

void CTestMainFrame::OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
void CTestMainFrame::OnDisabled() { g_trace.push_back("main-disabled"); }

// ---- set-up ----

namespace {

CTraceTemplate* g_pTemplateA = nullptr;
CTraceTemplate* g_pTemplateB = nullptr;

void RegisterTemplates()
{
    if (g_pTemplateA != nullptr)
        return;
    g_pTemplateA = new CTraceTemplate("templateA", IDR_TEST_DOCA, RUNTIME_CLASS(CDocA),
                                      RUNTIME_CLASS(CChildA), RUNTIME_CLASS(CViewA));
    TestApp().AddDocTemplate(g_pTemplateA);
    g_pTemplateB = new CTraceTemplate("templateB", IDR_TEST_DOCB, RUNTIME_CLASS(CDocB),
                                      RUNTIME_CLASS(CChildB), RUNTIME_CLASS(CViewB));
    TestApp().AddDocTemplate(g_pTemplateB);
}

} // namespace

CTraceTemplate* TemplateA() { return g_pTemplateA; }
CTraceTemplate* TemplateB() { return g_pTemplateB; }

void MdiTest::SetUp()
{
    WindowTest::SetUp();
    RegisterTemplates();
    m_pMainFrame = new CTestMainFrame;
    ASSERT_TRUE(m_pMainFrame->LoadFrame(IDR_TEST_MAINFRAME));
    TestApp().m_pMainWnd = m_pMainFrame;
    m_pMainFrame->ShowWindow(SW_SHOWNORMAL);
    m_pMainFrame->UpdateWindow();
}

void MdiTest::TearDown()
{
    TestApp().CloseAllDocuments(TRUE);
    if (TestApp().m_pMainWnd == m_pMainFrame && m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
        m_pMainFrame->DestroyWindow(); // deletes the frame
    m_pMainFrame = nullptr;
    WindowTest::TearDown();
}

CTraceView* ViewOf(CDocument* pDoc)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != nullptr ? static_cast<CTraceView*>(pDoc->GetNextView(pos)) : nullptr;
}

CMDIChildWnd* ChildOf(CDocument* pDoc)
{
    CTraceView* pView = ViewOf(pDoc);
    return pView != nullptr ? static_cast<CMDIChildWnd*>(pView->GetParentFrame()) : nullptr;
}
