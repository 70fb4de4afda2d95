// The multiple-document frames: templates open documents into child frames of their own class with
// their own menus, default titles count per template, several frames on one document are numbered, and
// closing or failing to open takes frame and document away.
#include "tests/framework/MdiTestClasses.h"

#include "framework/Menu.h"
#include "framework/WinThread.h"
#include "tests/framework/WindowTestIds.h"
#include "tests/support/TestPaths.h"

namespace {

CString TextOf(CWnd* pWnd)
{
    CString s;
    pWnd->GetWindowText(s);
    return s;
}

int DocumentCount(CDocTemplate* pTemplate)
{
    int n = 0;
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos != nullptr; pTemplate->GetNextDoc(pos))
        n++;
    return n;
}

using MdiFrame = MdiTest;

} // namespace

TEST_F(MdiFrame, TemplatesStayInRegistrationOrder)
{
    POSITION pos = TestApp().GetFirstDocTemplatePosition();
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(TestApp().GetNextDocTemplate(pos), TemplateA());
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(TestApp().GetNextDocTemplate(pos), TemplateB());
    EXPECT_EQ(pos, nullptr);
}

TEST_F(MdiFrame, TwoTemplatesOpenDocumentsIntoTheirOwnChildFrames)
{
    CDocument* pDocA = TemplateA()->OpenDocumentFile(nullptr);
    CDocument* pDocB = TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDocA, nullptr);
    ASSERT_NE(pDocB, nullptr);
    EXPECT_TRUE(pDocA->IsKindOf(RUNTIME_CLASS(CDocA)));
    EXPECT_TRUE(pDocB->IsKindOf(RUNTIME_CLASS(CDocB)));

    CMDIChildWnd* pChildA = ChildOf(pDocA);
    CMDIChildWnd* pChildB = ChildOf(pDocB);
    ASSERT_NE(pChildA, nullptr);
    ASSERT_NE(pChildB, nullptr);
    EXPECT_TRUE(pChildA->IsKindOf(RUNTIME_CLASS(CChildA)));
    EXPECT_TRUE(pChildB->IsKindOf(RUNTIME_CLASS(CChildB)));
    EXPECT_EQ(::GetParent(pChildA->m_hWnd), m_pMainFrame->m_hWndMDIClient);
    EXPECT_TRUE(ViewOf(pDocA)->IsKindOf(RUNTIME_CLASS(CViewA)));
    EXPECT_EQ(ViewOf(pDocA)->m_nInitialUpdates, 1);
    EXPECT_EQ(pChildA->GetActiveView(), ViewOf(pDocA));
    EXPECT_TRUE(pChildA->IsWindowVisible());

    // The last one opened is active, and its template's menu is the main menu.
    EXPECT_EQ(m_pMainFrame->MDIGetActive(), pChildB);
    EXPECT_EQ(m_pMainFrame->GetActiveDocument(), pDocB);
    EXPECT_EQ(::GetMenu(m_pMainFrame->m_hWnd), TemplateB()->m_hMenuShared);
    pChildA->MDIActivate();
    EXPECT_EQ(m_pMainFrame->MDIGetActive(), pChildA);
    EXPECT_EQ(::GetMenu(m_pMainFrame->m_hWnd), TemplateA()->m_hMenuShared);
}

TEST_F(MdiFrame, UntitledDocumentsAreNamedAfterTheirTemplateAndCounted)
{
    CDocument* pFirst = TemplateA()->OpenDocumentFile(nullptr);
    CDocument* pSecond = TemplateA()->OpenDocumentFile(nullptr);
    CDocument* pOther = TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_TRUE(pFirst != nullptr && pSecond != nullptr && pOther != nullptr);
    // Counters keep running over the process's life: compare the numbers, not the text.
    CString strFirst = pFirst->GetTitle();
    CString strSecond = pSecond->GetTitle();
    ASSERT_EQ(strFirst.Left(6), "ImageA");
    EXPECT_EQ(atoi(strSecond.Mid(6)), atoi(strFirst.Mid(6)) + 1);
    EXPECT_EQ(pOther->GetTitle().Left(5), "Explo");
    EXPECT_EQ(TextOf(ChildOf(pFirst)), strFirst);
}

TEST_F(MdiFrame, SecondFrameOnOneDocumentNumbersBothTitles)
{
    CDocument* pDoc = TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CString strTitle = pDoc->GetTitle();
    CFrameWnd* pSecond = TemplateA()->CreateNewFrame(pDoc, nullptr);
    ASSERT_NE(pSecond, nullptr);
    TemplateA()->InitialUpdateFrame(pSecond, pDoc);
    CMDIChildWnd* pFirst = ChildOf(pDoc);
    ASSERT_NE(pFirst, pSecond);
    EXPECT_EQ(TextOf(pFirst), strTitle + ":1");
    EXPECT_EQ(TextOf(pSecond), strTitle + ":2");

    // One frame closes: the document stays, and the other frame loses its number.
    pSecond->SendMessage(WM_CLOSE);
    EXPECT_EQ(DocumentCount(TemplateA()), 1);
    EXPECT_EQ(TextOf(pFirst), strTitle);
}

TEST_F(MdiFrame, ClosingTheLastFrameClosesTheDocumentAndGivesTheMainMenuBack)
{
    HMENU hMainMenu = ::GetMenu(m_pMainFrame->m_hWnd);
    CDocument* pDoc = TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    ASSERT_EQ(DocumentCount(TemplateA()), 1);
    ChildOf(pDoc)->SendMessage(WM_CLOSE);
    EXPECT_EQ(DocumentCount(TemplateA()), 0);
    EXPECT_EQ(m_pMainFrame->MDIGetActive(), nullptr);
    TestApp().OnIdle(0);
    EXPECT_EQ(::GetMenu(m_pMainFrame->m_hWnd), hMainMenu);
}

TEST_F(MdiFrame, FailedOpenLeavesNeitherFrameNorDocument)
{
    EXPECT_EQ(TemplateA()->OpenDocumentFile("C:\\refuse.tsa"), nullptr);
    EXPECT_EQ(DocumentCount(TemplateA()), 0);
    EXPECT_EQ(m_pMainFrame->MDIGetActive(), nullptr);
    EXPECT_EQ(::GetWindow(m_pMainFrame->m_hWndMDIClient, GW_CHILD), nullptr);
}

TEST_F(MdiFrame, OpeningAPathAlreadyOpenActivatesItsWindow)
{
    testpaths::TempDir dir;
    std::string path = dir.File("image.tsa");
    ASSERT_TRUE(testpaths::WriteBytes(path, "x"));
    CDocument* pDoc = TestApp().OpenDocumentFile(path.c_str());
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CDocA))); // by its extension
    EXPECT_STREQ(pDoc->GetTitle(), "image.tsa");
    CDocument* pOther = TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_NE(pOther, nullptr);
    EXPECT_EQ(TestApp().OpenDocumentFile(path.c_str()), pDoc);
    EXPECT_EQ(DocumentCount(TemplateA()), 1);
    EXPECT_EQ(m_pMainFrame->MDIGetActive(), ChildOf(pDoc));
}

TEST_F(MdiFrame, WindowMenuCommandsArrangeTheChildren)
{
    CDocument* pDocA = TemplateA()->OpenDocumentFile(nullptr);
    CDocument* pDocB = TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_TRUE(pDocA != nullptr && pDocB != nullptr);
    m_pMainFrame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
    CRect rcA;
    CRect rcB;
    ChildOf(pDocA)->GetWindowRect(&rcA);
    ChildOf(pDocB)->GetWindowRect(&rcB);
    // Tiled: side by side or one above the other, never overlapping.
    CRect rcBoth;
    EXPECT_FALSE(rcBoth.IntersectRect(rcA, rcB));
}

namespace {
WNDPROC g_pfnClient = nullptr;
bool g_bChildOutlivedClient = false;

LRESULT CALLBACK WatchClient(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && ::GetWindow(hWnd, GW_CHILD) != nullptr)
        g_bChildOutlivedClient = true;
    return ::CallWindowProcA(g_pfnClient, hWnd, message, wParam, lParam);
}
} // namespace

// A child left to go with its client reaches it after the client dropped its records, and the
// system's code then renumbers any window of any process that answers to the stale values.
TEST_F(MdiFrame, FrameClosedWithChildrenOpenTakesThemAwayBeforeItsClient)
{
    ASSERT_NE(TemplateA()->OpenDocumentFile(nullptr), nullptr);
    ASSERT_NE(TemplateB()->OpenDocumentFile(nullptr), nullptr);
    g_bChildOutlivedClient = false;
    g_pfnClient = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(m_pMainFrame->m_hWndMDIClient, GWLP_WNDPROC,
                                                                reinterpret_cast<LONG_PTR>(WatchClient)));
    m_pMainFrame->DestroyWindow();
    m_pMainFrame = nullptr;
    EXPECT_FALSE(g_bChildOutlivedClient);
    EXPECT_EQ(DocumentCount(TemplateA()) + DocumentCount(TemplateB()), 0);
}
