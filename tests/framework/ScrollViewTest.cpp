// Scroll views: bars appear only when the picture is larger than the window, scrolling is clamped to
// the picture, and a view bringing its own bar gets the ranges there.
#include "tests/framework/WindowTestSupport.h"

#include "framework/Controls.h"
#include "framework/Dc.h"
#include "framework/ScrollView.h"

namespace {

class CPictureView : public CScrollView {
public:
    void OnDraw(CDC*) override {}
    CScrollBar* m_pOwnBar = nullptr;
    CScrollBar* GetScrollBarCtrl(int nBar) const override { return nBar == SB_HORZ ? m_pOwnBar : nullptr; }
    using CScrollView::OnScroll;
};

class ScrollView : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(m_parent.CreateTop("d\xE9"
                                       "filement",
                                       WS_POPUP | WS_VISIBLE));
        m_parent.MoveWindow(0, 0, 300, 200);
        m_pView = new CPictureView;
        ASSERT_TRUE(
            m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow(); // the view deletes itself
        WindowTest::TearDown();
    }
    CTestTopWindow m_parent;
    CPictureView* m_pView = nullptr;
};

bool HasStyle(CWnd* pWnd, DWORD dwStyle) { return (pWnd->GetStyle() & dwStyle) != 0; }

} // namespace

TEST_F(ScrollView, LargePictureGetsBarsAndSmallOneNone)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    EXPECT_TRUE(HasStyle(m_pView, WS_HSCROLL));
    EXPECT_TRUE(HasStyle(m_pView, WS_VSCROLL));
    m_pView->SetScrollSizes(MM_TEXT, CSize(50, 40));
    EXPECT_FALSE(HasStyle(m_pView, WS_HSCROLL));
    EXPECT_FALSE(HasStyle(m_pView, WS_VSCROLL));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, 0));
}

TEST_F(ScrollView, PageAndLineSizesDefaultToTenthsAndScrollingIsClamped)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    EXPECT_TRUE(m_pView->OnScroll(MAKEWORD(SB_PAGEDOWN, 0xFF), 0));
    EXPECT_EQ(m_pView->GetScrollPosition().x, 100);
    EXPECT_TRUE(m_pView->OnScroll(MAKEWORD(SB_LINEDOWN, 0xFF), 0));
    EXPECT_EQ(m_pView->GetScrollPosition().x, 110);
    EXPECT_TRUE(m_pView->OnScroll(MAKEWORD(SB_BOTTOM, SB_BOTTOM), 0));
    CRect rcClient;
    m_pView->GetClientRect(&rcClient);
    EXPECT_EQ(m_pView->GetScrollPosition().x, 1000 - rcClient.Width());
    EXPECT_EQ(m_pView->GetScrollPosition().y, 800 - rcClient.Height());
    EXPECT_FALSE(m_pView->OnScroll(MAKEWORD(SB_LINEDOWN, SB_LINEDOWN), 0)); // already at the end
    m_pView->ScrollToPosition(CPoint(-40, 5));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, 5));
}

TEST_F(ScrollView, ShrinkingThePictureBringsThePositionBack)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    m_pView->ScrollToPosition(CPoint(600, 500));
    m_pView->SetScrollSizes(MM_TEXT, CSize(300, 150));
    CRect rcClient;
    m_pView->GetClientRect(&rcClient);
    EXPECT_LE(m_pView->GetScrollPosition().x, 300 - rcClient.Width());
    EXPECT_LE(m_pView->GetScrollPosition().y, 150 - rcClient.Height());
    EXPECT_GE(m_pView->GetScrollPosition().x, 0);
}

TEST_F(ScrollView, ViewsOwnBarTakesTheHorizontalRange)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 180, 200, 195), &m_parent, 2));
    m_pView->m_pOwnBar = &bar;
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 50));
    EXPECT_FALSE(HasStyle(m_pView, WS_HSCROLL)); // the window's own bar stays hidden
    int nMin = 0;
    int nMax = 0;
    bar.GetScrollRange(&nMin, &nMax);
    EXPECT_EQ(nMax, 999);
    EXPECT_TRUE(m_pView->OnScroll(MAKEWORD(SB_PAGEDOWN, 0xFF), 0));
    EXPECT_EQ(bar.GetScrollPos(), 100);
    m_pView->m_pOwnBar = nullptr;
    bar.DestroyWindow();
}

TEST_F(ScrollView, DeviceContextOriginFollowsTheScrollPosition)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    m_pView->ScrollToPosition(CPoint(30, 20));
    CClientDC dc(m_pView);
    m_pView->OnPrepareDC(&dc);
    POINT org;
    ::GetViewportOrgEx(dc.GetSafeHdc(), &org);
    EXPECT_EQ(org.x, -30);
    EXPECT_EQ(org.y, -20);
}
