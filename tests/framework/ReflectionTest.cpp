// Reflection: what a control sends its parent (owner drawing, notifications, colours) is handled by the
// control's own object when it has one, before the parent's map.
#include "tests/framework/WindowTestSupport.h"

#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/Dc.h"
#include "framework/Gdi.h"

namespace {

const COLORREF kItemColour = RGB(200, 30, 40);

class COwnerDrawList : public CListBox {
public:
    int m_nDrawn = 0;
    int m_nMeasured = 0;
    int m_nDeleted = 0;
    int m_nCompared = 0;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        m_nDrawn++;
        if (lpDIS->itemID == static_cast<UINT>(-1))
            return;
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        pDC->FillSolidRect(&lpDIS->rcItem, kItemColour);
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_nMeasured++;
        lpMIS->itemHeight = 20;
    }
    void DeleteItem(LPDELETEITEMSTRUCT) override { m_nDeleted++; }
    int CompareItem(LPCOMPAREITEMSTRUCT lpCIS) override
    {
        m_nCompared++;
        return static_cast<int>(lpCIS->itemData1) < static_cast<int>(lpCIS->itemData2) ? -1 : 1;
    }
};

// A parent with its own owner-draw handler, which must not see what its child handles itself.
class CListParent : public CWnd {
public:
    COwnerDrawList m_list;
    int m_nParentDrawn = 0;
    int m_nParentNotified = 0;
    int m_nParentCommands = 0;

protected:
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { m_nParentDrawn++; }
    void OnTreeNotify(NMHDR*, LRESULT*) { m_nParentNotified++; }
    void OnStaticClicked() { m_nParentCommands++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListParent, CWnd)
    ON_WM_DRAWITEM()
    ON_NOTIFY(NM_CLICK, 60, OnTreeNotify)
    ON_NOTIFY(NM_RCLICK, 60, OnTreeNotify)
    ON_CONTROL(STN_CLICKED, 61, OnStaticClicked)
END_MESSAGE_MAP()

// A tree that takes one notification itself and lets the parent see another.
class CReflectingTree : public CTreeCtrl {
public:
    int m_nOwnClicks = 0;
    int m_nOwnRightClicks = 0;

protected:
    void OnClick(NMHDR*, LRESULT* pResult)
    {
        m_nOwnClicks++;
        *pResult = 1;
    }
    BOOL OnRightClick(NMHDR*, LRESULT*)
    {
        m_nOwnRightClicks++;
        return FALSE; // the parent may see it too
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT_EX(NM_RCLICK, OnRightClick)
END_MESSAGE_MAP()

class CColouredStatic : public CStatic {
public:
    CBrush m_brush{RGB(0, 128, 0)};
    int m_nClicks = 0;

protected:
    HBRUSH CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(m_brush.GetSafeHandle()); }
    void OnClicked() { m_nClicks++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColouredStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

using Reflection = WindowTest;

} // namespace

TEST_F(Reflection, OwnerDrawnListBoxDrawsThroughItsOwnObject)
{
    CListParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "liste", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 250,
                                nullptr, nullptr));
    ASSERT_TRUE(parent.m_list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_NOTIFY,
                                     CRect(10, 10, 210, 170), &parent, 50));
    // The height is asked while the list box is being created: its object was already there.
    EXPECT_GE(parent.m_list.m_nMeasured, 1);
    EXPECT_EQ(parent.m_list.GetItemHeight(0), 20);
    parent.m_list.AddString(reinterpret_cast<LPCSTR>(1));
    parent.m_list.AddString(reinterpret_cast<LPCSTR>(2));
    parent.m_list.UpdateWindow();
    parent.m_list.RedrawWindow();
    EXPECT_GE(parent.m_list.m_nDrawn, 2);
    EXPECT_EQ(parent.m_nParentDrawn, 0);
    // What the object drew is on the screen.
    CRect rcItem;
    parent.m_list.GetItemRect(1, &rcItem);
    HDC hDC = ::GetDC(parent.m_list.m_hWnd);
    COLORREF pixel = ::GetPixel(hDC, rcItem.left + 5, rcItem.top + 5);
    ::ReleaseDC(parent.m_list.m_hWnd, hDC);
    EXPECT_EQ(pixel, kItemColour);
    // Removing items tells the object too (owner-drawn lists without strings).
    parent.m_list.ResetContent();
    EXPECT_EQ(parent.m_list.m_nDeleted, 2);
    parent.DestroyWindow();
}

TEST_F(Reflection, SortedOwnerDrawnListComparesThroughItsObject)
{
    CListParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "tri", WS_OVERLAPPEDWINDOW, 0, 0, 300, 250, nullptr, nullptr));
    ASSERT_TRUE(parent.m_list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_SORT,
                                     CRect(0, 0, 200, 150), &parent, 50));
    parent.m_list.AddString(reinterpret_cast<LPCSTR>(30));
    parent.m_list.AddString(reinterpret_cast<LPCSTR>(10));
    parent.m_list.AddString(reinterpret_cast<LPCSTR>(20));
    EXPECT_GE(parent.m_list.m_nCompared, 2);
    EXPECT_EQ(parent.m_list.GetItemData(0), 10u);
    EXPECT_EQ(parent.m_list.GetItemData(2), 30u);
    parent.DestroyWindow();
}

TEST_F(Reflection, ReflectedNotificationIsTakenByTheControlUnlessItLetsGo)
{
    CListParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "arbre", WS_OVERLAPPEDWINDOW, 0, 0, 300, 250, nullptr, nullptr));
    CReflectingTree tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 200, 200), &parent, 60));
    NMHDR hdr = {tree.m_hWnd, 60, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 60, reinterpret_cast<LPARAM>(&hdr)), 1);
    EXPECT_EQ(tree.m_nOwnClicks, 1);
    EXPECT_EQ(parent.m_nParentNotified, 0);
    hdr.code = static_cast<UINT>(NM_RCLICK);
    parent.SendMessage(WM_NOTIFY, 60, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(tree.m_nOwnRightClicks, 1);
    EXPECT_EQ(parent.m_nParentNotified, 1);
    parent.DestroyWindow();
}

TEST_F(Reflection, ControlChoosesItsOwnColourAndTakesItsOwnCommand)
{
    CListParent parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, "couleur", WS_OVERLAPPEDWINDOW, 0, 0, 300, 250, nullptr, nullptr));
    CColouredStatic label;
    ASSERT_TRUE(label.Create("texte", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 100, 20), &parent, 61));
    HDC hDC = ::GetDC(label.m_hWnd);
    LRESULT hbr = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                     reinterpret_cast<LPARAM>(label.m_hWnd));
    ::ReleaseDC(label.m_hWnd, hDC);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(hbr), static_cast<HBRUSH>(label.m_brush.GetSafeHandle()));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(61, STN_CLICKED), reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_EQ(label.m_nClicks, 1);
    EXPECT_EQ(parent.m_nParentCommands, 0);
    parent.DestroyWindow();
}
