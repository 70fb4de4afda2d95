// Tool tips of a window that enabled them: the control under the mouse becomes the thread tip's tool,
// and its text is asked of the window through TTN_NEEDTEXT.
#include "tests/framework/WindowTestSupport.h"

#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/WndState.h"

namespace {

class CTipHost : public CWnd {
public:
    UINT m_nAskedFor = 0;

protected:
    BOOL OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
    {
        TOOLTIPTEXTA* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
        m_nAskedFor = (pTTT->uFlags & TTF_IDISHWND) ? ::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom))
                                                    : static_cast<UINT>(pNMHDR->idFrom);
        lstrcpynA(pTTT->szText, "Ajouter \xE0 la biblioth\xE8que", sizeof(pTTT->szText));
        *pResult = 0;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipHost, CWnd)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

using ToolTips = WindowTest;

} // namespace

TEST_F(ToolTips, ControlUnderTheMouseBecomesTheToolAndItsTextComesFromTheHost)
{
    CTipHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "bulles", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                              nullptr, nullptr));
    CButton button;
    ASSERT_TRUE(button.Create("+", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), &host, 321));
    EXPECT_FALSE(host.EnableToolTips(TRUE));

    MSG msg = {};
    msg.hwnd = button.m_hWnd;
    msg.message = WM_MOUSEMOVE;
    CPoint pt(20, 20);
    host.ClientToScreen(&pt);
    msg.pt = pt;
    host.PreTranslateMessage(&msg);

    HWND hTip = AfxGetWndThreadState().hWndToolTip;
    ASSERT_NE(hTip, nullptr);
    EXPECT_EQ(::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ASSERT_TRUE(::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.hwnd, host.m_hWnd);
    EXPECT_EQ(ti.uId, reinterpret_cast<UINT_PTR>(button.m_hWnd));
    char szText[80] = "";
    ti.lpszText = szText;
    ::SendMessageA(hTip, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(host.m_nAskedFor, 321u);
    EXPECT_STREQ(szText, "Ajouter \xE0 la biblioth\xE8que");

    // Away from the button: no tool any more.
    msg.hwnd = host.m_hWnd;
    CPoint away(200, 150);
    host.ClientToScreen(&away);
    msg.pt = away;
    host.PreTranslateMessage(&msg);
    EXPECT_EQ(::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 0);
    host.DestroyWindow();
}
