// Message maps: window messages, commands, ranges, update handlers and notifications reach the right
// handler with the right arguments, maps chain to the base class, classes with a second base work,
// and no exception leaves a window procedure.
#include "tests/framework/WindowTestSupport.h"

#include "framework/CmdUI.h"
#include "framework/Controls.h"
#include "framework/Exceptions.h"
#include "framework/Gdi.h"
#include "framework/TestSeams.h"

#include <string>

namespace {

const UINT WM_TEST_ONE = WM_APP + 1;
const UINT WM_TEST_TWO = WM_APP + 2;
const UINT WM_TEST_THREE = WM_APP + 3;
const UINT WM_TEST_THROW = WM_APP + 4;

class CBaseWnd : public CWnd {
public:
    std::string m_log;

protected:
    LRESULT OnTwo(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT OnThree(WPARAM, LPARAM)
    {
        m_log += "base-three;";
        return 3;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_TEST_TWO, OnTwo)
    ON_MESSAGE(WM_TEST_THREE, OnThree)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    UINT m_nSizeType = 0;
    int m_cx = 0;
    int m_cy = 0;
    CPoint m_ptClick;
    UINT m_nClickFlags = 0;
    UINT m_nTimer = 0;

protected:
    LRESULT OnOne(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    LRESULT OnThree(WPARAM, LPARAM)
    {
        m_log += "derived-three;";
        return 33;
    }
    LRESULT OnThrow(WPARAM, LPARAM) { AfxThrowResourceException(); }
    void OnSize(UINT nType, int cx, int cy)
    {
        m_nSizeType = nType;
        m_cx = cx;
        m_cy = cy;
    }
    void OnLButtonDown(UINT nFlags, CPoint point)
    {
        m_nClickFlags = nFlags;
        m_ptClick = point;
    }
    void OnTimer(UINT nIDEvent) { m_nTimer = nIDEvent; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_TEST_ONE, OnOne)
    ON_MESSAGE(WM_TEST_THREE, OnThree)
    ON_MESSAGE(WM_TEST_THROW, OnThrow)
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
END_MESSAGE_MAP()

// A second base first in the layout: the window part sits at an offset inside the object.
struct CExtra {
    virtual ~CExtra() = default;
    int m_padding[7] = {1, 2, 3, 4, 5, 6, 7};
};

class CSecondBaseWnd : public CExtra, public CWnd {
public:
    int m_value = 42;
    int m_seen = 0;

protected:
    LRESULT OnOne(WPARAM, LPARAM)
    {
        m_seen = m_value;
        return m_padding[6];
    }
    void OnTrace() { m_seen = m_value + 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSecondBaseWnd, CWnd)
    ON_MESSAGE(WM_TEST_ONE, OnOne)
    ON_COMMAND(1234, OnTrace)
END_MESSAGE_MAP()

// Commands on a plain command target (no window).
class CCommands : public CCmdTarget {
public:
    std::string m_log;
    BOOL m_bEnable = TRUE;

protected:
    void OnSingle() { m_log += "single;"; }
    void OnRange(UINT nID) { m_log += "range" + std::to_string(nID) + ";"; }
    BOOL OnPassOn(UINT) { return FALSE; }
    void OnUpdate(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnable); }
    void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->SetCheck(static_cast<int>(pCmdUI->m_nID % 2)); }
    void OnUpdateUndecided(CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); }
    void OnNotifyCode(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_log += "notify" + std::to_string(pNMHDR->idFrom) + ";";
        *pResult = 77;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommands, CCmdTarget)
    ON_COMMAND(100, OnSingle)
    ON_COMMAND_RANGE(200, 209, OnRange)
    ON_COMMAND_EX(300, OnPassOn)
    ON_UPDATE_COMMAND_UI(100, OnUpdate)
    ON_UPDATE_COMMAND_UI_RANGE(200, 209, OnUpdateRange)
    ON_UPDATE_COMMAND_UI(400, OnUpdateUndecided)
    ON_NOTIFY(NM_CLICK, 500, OnNotifyCode)
END_MESSAGE_MAP()

// Records what an update pass does.
class CRecordingCmdUI : public CCmdUI {
public:
    int m_nEnabled = -1;
    int m_nChecked = -1;
    void Enable(BOOL bOn) override
    {
        m_nEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_nChecked = nCheck; }
};

// A parent of real controls.
class CButtonParent : public CWnd {
public:
    int m_nClicks = 0;
    UINT m_nLastRange = 0;
    LRESULT m_lastNotifyCode = 0;

protected:
    void OnClicked() { m_nClicks++; }
    void OnRangeClicked(UINT nID) { m_nLastRange = nID; }
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_lastNotifyCode = static_cast<int>(pNMHDR->code);
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonParent, CWnd)
    ON_BN_CLICKED(10, OnClicked)
    ON_CONTROL_RANGE(BN_CLICKED, 20, 29, OnRangeClicked)
    ON_NOTIFY(TVN_SELCHANGEDA, 30, OnTreeSelChanged)
END_MESSAGE_MAP()

// An edit whose text handler does the default work, then its own.
class CEditDefault : public CWnd {
public:
    CString m_seenBefore;

protected:
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        GetWindowText(m_seenBefore);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEditDefault, CWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

// One handler for every colour message, except the one listed by itself.
class CColourParent : public CWnd {
public:
    UINT m_nKind = 99;
    CBrush m_brush{RGB(1, 2, 3)};

protected:
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor)
    {
        m_nKind = nCtlColor;
        return static_cast<HBRUSH>(m_brush.GetSafeHandle());
    }
    LRESULT OnEditColour(WPARAM, LPARAM) { return 5; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourParent, CWnd)
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_CTLCOLOREDIT, OnEditColour)
END_MESSAGE_MAP()

using MessageMap = WindowTest;

} // namespace

TEST_F(MessageMap, DerivedMapHandlesItsOwnAndItsBaseMessages)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "carte", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.SendMessage(WM_TEST_ONE, 40, 2), 42);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_TWO, 21), 42); // from the base map
    EXPECT_EQ(wnd.SendMessage(WM_TEST_THREE), 33);   // the derived entry wins
    EXPECT_EQ(wnd.m_log, "derived-three;");
    EXPECT_EQ(wnd.SendMessage(WM_APP + 50, 1, 1), 0); // nobody's: the default procedure
    wnd.DestroyWindow();
}

TEST_F(MessageMap, CrackersUnpackTheirArguments)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "carte", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(wnd.m_nSizeType, UINT(SIZE_MAXIMIZED));
    EXPECT_EQ(wnd.m_cx, 640);
    EXPECT_EQ(wnd.m_cy, 480);
    // Coordinates are signed (a point left of the window).
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(static_cast<WORD>(-5), 17));
    EXPECT_EQ(wnd.m_nClickFlags, UINT(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(wnd.m_ptClick.x, -5);
    EXPECT_EQ(wnd.m_ptClick.y, 17);
    wnd.SendMessage(WM_TIMER, 9);
    EXPECT_EQ(wnd.m_nTimer, 9u);
    wnd.DestroyWindow();
}

TEST_F(MessageMap, HandlersOfAClassWithASecondBaseSeeTheirOwnMembers)
{
    CSecondBaseWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "deux bases", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.SendMessage(WM_TEST_ONE), 7);
    EXPECT_EQ(wnd.m_seen, 42);
    EXPECT_TRUE(wnd.OnCmdMsg(1234, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(wnd.m_seen, 43);
    wnd.DestroyWindow();
}

TEST_F(MessageMap, CommandRangeHandlerGetsTheId)
{
    CCommands target;
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(204, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(210, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(target.m_log, "single;range204;");
}

TEST_F(MessageMap, ExtendedHandlerSayingNoLetsTheCommandGoOn)
{
    CCommands target;
    EXPECT_FALSE(target.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
}

TEST_F(MessageMap, HandlerLookupDoesNotRunTheHandler)
{
    CCommands target;
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &target);
    EXPECT_NE(info.pfn, nullptr);
    EXPECT_TRUE(target.m_log.empty());
}

TEST_F(MessageMap, UpdateHandlersDriveCmdUI)
{
    CCommands target;
    target.m_bEnable = FALSE;
    CRecordingCmdUI ui;
    ui.m_nID = 100;
    EXPECT_TRUE(ui.DoUpdate(&target, TRUE));
    EXPECT_EQ(ui.m_nEnabled, 0);

    CRecordingCmdUI range;
    range.m_nID = 203;
    EXPECT_TRUE(range.DoUpdate(&target, FALSE));
    EXPECT_EQ(range.m_nChecked, 1);

    // No update handler: enabled exactly when some handler takes the command.
    CRecordingCmdUI orphan;
    orphan.m_nID = 999;
    EXPECT_FALSE(orphan.DoUpdate(&target, TRUE));
    EXPECT_EQ(orphan.m_nEnabled, 0);
    CRecordingCmdUI untouched;
    untouched.m_nID = 999;
    untouched.DoUpdate(&target, FALSE);
    EXPECT_EQ(untouched.m_nEnabled, -1);
}

TEST_F(MessageMap, UpdateHandlerCanLeaveTheDecisionToTheNextTarget)
{
    CCommands target;
    CRecordingCmdUI ui;
    ui.m_nID = 400;
    EXPECT_FALSE(target.OnCmdMsg(400, static_cast<int>(CN_UPDATE_COMMAND_UI), &ui, nullptr));
}

TEST_F(MessageMap, NotificationHandlerGetsHeaderAndSetsResult)
{
    CCommands target;
    NMHDR hdr = {nullptr, 500, static_cast<UINT>(NM_CLICK)};
    LRESULT lResult = 0;
    AFX_NOTIFY notify = {&lResult, &hdr};
    EXPECT_TRUE(target.OnCmdMsg(500, CN_NOTIFY_CODE(NM_CLICK), &notify, nullptr));
    EXPECT_EQ(lResult, 77);
    EXPECT_EQ(target.m_log, "notify500;");
    EXPECT_FALSE(target.OnCmdMsg(501, CN_NOTIFY_CODE(NM_CLICK), &notify, nullptr));
}

TEST_F(MessageMap, RealButtonClicksReachClickedAndRangeHandlers)
{
    CButtonParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "boutons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                nullptr, nullptr));
    CButton one;
    CButton two;
    ASSERT_TRUE(one.Create("Un", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 5, 80, 30), &parent, 10));
    ASSERT_TRUE(two.Create("Deux", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 40, 80, 65), &parent, 23));
    one.SendMessage(BM_CLICK);
    two.SendMessage(BM_CLICK);
    PumpPending();
    EXPECT_EQ(parent.m_nClicks, 1);
    EXPECT_EQ(parent.m_nLastRange, 23u);
    parent.DestroyWindow();
}

TEST_F(MessageMap, TreeNotificationReachesParentEntry)
{
    CButtonParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "arbre", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                nullptr, nullptr));
    HWND hTree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(30), nullptr, nullptr);
    ASSERT_NE(hTree, nullptr);
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_LAST;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPSTR>("racine");
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis)));
    ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
    // The tree may notify in either character set; the entry is for the ANSI one.
    if (parent.m_lastNotifyCode == 0) {
        NMTREEVIEWA nm = {};
        nm.hdr.hwndFrom = hTree;
        nm.hdr.idFrom = 30;
        nm.hdr.code = TVN_SELCHANGEDA;
        parent.SendMessage(WM_NOTIFY, 30, reinterpret_cast<LPARAM>(&nm));
    }
    EXPECT_EQ(parent.m_lastNotifyCode, static_cast<LRESULT>(static_cast<int>(TVN_SELCHANGEDA)));
    parent.DestroyWindow();
}

TEST_F(MessageMap, DefaultCallsTheWindowsOwnProcedure)
{
    HWND hEdit =
        ::CreateWindowExA(0, "EDIT", "avant", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    CEditDefault edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    edit.SetWindowText("apres");
    EXPECT_STREQ(edit.m_seenBefore, "avant");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "apres");
    edit.DestroyWindow();
}

TEST_F(MessageMap, ExceptionInHandlerIsReportedAndStaysInsideTheWindowProcedure)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "exception", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_THROW), 0);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_FALSE(AfxTestRecords().messageBoxes[0].text.empty());
    // The window goes on working.
    EXPECT_EQ(wnd.SendMessage(WM_TEST_ONE, 1, 1), 2);
    wnd.DestroyWindow();
}

TEST_F(MessageMap, ColourMessagesShareOneEntryUnlessListedAlone)
{
    CColourParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "couleurs", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    HWND hList =
        ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 50, 50, parent.m_hWnd, nullptr, nullptr, nullptr);
    HDC hDC = ::GetDC(hList);
    LRESULT hbr = parent.SendMessage(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hDC),
                                     reinterpret_cast<LPARAM>(hList));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(hbr), static_cast<HBRUSH>(parent.m_brush.GetSafeHandle()));
    EXPECT_EQ(parent.m_nKind, UINT(CTLCOLOR_LISTBOX));
    EXPECT_EQ(
        parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hList)),
        5);
    ::ReleaseDC(hList, hDC);
    parent.DestroyWindow();
}
