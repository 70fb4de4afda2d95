// CStatusBar.
#include "framework/StatusBar.h"

#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

const int kPaneExtra = 8;  // a pane's edges and text margins round its text width
const int kMaxPanes = 255; // the control's limit

// What an update handler changes on one pane.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusBar* Bar() const { return static_cast<CStatusBar*>(m_pOther); }
    int Index() const { return static_cast<int>(m_nIndex); }
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT nStyle = Bar()->GetPaneStyle(Index()) & ~SBPS_DISABLED;
        Bar()->SetPaneStyle(Index(), bOn ? nStyle : (nStyle | SBPS_DISABLED));
    }
    // A checked pane stands out.
    void SetCheck(int nCheck) override
    {
        UINT nStyle = Bar()->GetPaneStyle(Index()) & ~SBPS_POPOUT;
        Bar()->SetPaneStyle(Index(), nCheck ? (nStyle | SBPS_POPOUT) : nStyle);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCSTR lpszText) override { Bar()->SetPaneText(Index(), lpszText); }
};

// The key whose toggle a key indicator shows, or 0.
int IndicatorKey(UINT nID)
{
    switch (nID) {
    case ID_INDICATOR_CAPS:
        return VK_CAPITAL;
    case ID_INDICATOR_NUM:
        return VK_NUMLOCK;
    case ID_INDICATOR_SCRL:
        return VK_SCROLL;
    default:
        return 0;
    }
}

// An indicator's text: the program's string, else the framework's French one.
CString IndicatorText(UINT nID)
{
    CString strText = AfxLoadText(nID);
    if (!strText.IsEmpty())
        return strText;
    switch (nID) {
    case ID_INDICATOR_CAPS:
        return CString("MAJ");
    case ID_INDICATOR_NUM:
        return CString("NUM");
    case ID_INDICATOR_SCRL:
        return CString("DEF");
    default:
        return strText;
    }
}

} // namespace

CStatusBar::CStatusBar()
{
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle =
        (dwStyle & ~CBRS_ALL) | WS_CHILD | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwWndStyle |= SBARS_SIZEGRIP;
    if (!CWnd::CreateEx(0, STATUSCLASSNAME, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    // A font the bar can measure its panes with.
    if (SendMessage(WM_GETFONT) == 0)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return TRUE;
}

// ---- panes ----

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > kMaxPanes || (nIDCount > 0 && lpIDArray == nullptr))
        return FALSE;
    CString strMessage;
    if (!m_panes.empty() && m_panes[0].nID == ID_SEPARATOR)
        strMessage = m_panes[0].strText;
    else if (m_panes.empty() && GetDlgCtrlID() == AFX_IDW_STATUS_BAR)
        strMessage = AfxFrameworkText(AFX_IDS_IDLEMESSAGE);

    m_panes.clear();
    CClientDC dc(this);
    HGDIOBJ hOldFont = nullptr;
    if (HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)))
        hOldFont = dc.SelectObject(hFont);
    for (int i = 0; i < nIDCount; i++) {
        Pane pane = {lpIDArray[i], SBPS_NORMAL, 0, CString()};
        if (pane.nID != ID_SEPARATOR) {
            pane.strText = IndicatorText(pane.nID);
            pane.cxText = dc.GetTextExtent(pane.strText).cx;
        }
        m_panes.push_back(pane);
    }
    if (hOldFont != nullptr)
        dc.SelectObject(hOldFont);
    if (!m_panes.empty() && m_panes[0].nID == ID_SEPARATOR)
        m_panes[0].strText = strMessage;

    UpdateAllPanes();
    for (int i = 0; i < GetCount(); i++)
        UpdatePaneText(i);
    return TRUE;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); i++) {
        if (m_panes[static_cast<size_t>(i)].nID == nIDFind)
            return i;
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return IsValid(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ::SetRectEmpty(lpRect);
    if (m_hWnd != nullptr && IsValid(nIndex))
        SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return IsValid(nIndex) ? m_panes[static_cast<size_t>(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (!IsValid(nIndex))
        return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    CString strNew(lpszNewText != nullptr ? lpszNewText : "");
    // The same text again only repaints an owner-drawn pane (its drawing may depend on more).
    if (pane.strText == strNew && !(pane.nStyle & SBPS_OWNERDRAW))
        return TRUE;
    pane.strText = strNew;
    UpdatePaneText(nIndex);
    if (bUpdate && m_hWnd != nullptr) {
        CRect rect;
        GetItemRect(nIndex, rect);
        InvalidateRect(rect);
        UpdateWindow();
    }
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (!IsValid(nIndex)) {
        nID = 0;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (!IsValid(nIndex))
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    // An indicator's text belongs to its id: a pane given another id starts empty.
    if (pane.nID != nID)
        pane.strText.Empty();
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(cxWidth, 0);
    UpdateAllPanes();
    UpdatePaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return IsValid(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (!IsValid(nIndex))
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    if (pane.nStyle == nStyle)
        return;
    BOOL bRelayout = ((pane.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane.nStyle = nStyle;
    if (bRelayout)
        UpdateAllPanes();
    UpdatePaneText(nIndex);
}

void CStatusBar::UpdatePaneText(int nIndex)
{
    if (m_hWnd == nullptr || !IsValid(nIndex))
        return;
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    UINT nType = pane.nStyle & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
    WPARAM wParam = static_cast<WPARAM>(nIndex);
    if (pane.nStyle & SBPS_DISABLED)
        SendMessage(SB_SETTEXTA, wParam | (nType & ~SBT_OWNERDRAW), reinterpret_cast<LPARAM>(""));
    else
        SendMessage(SB_SETTEXTA, wParam | nType, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(pane.strText)));
}

void CStatusBar::UpdateAllPanes()
{
    if (m_hWnd == nullptr)
        return;
    int nCount = GetCount();
    if (nCount == 0) {
        int nRight = -1;
        SendMessage(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&nRight));
        SendMessage(SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        return;
    }
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    CRect rect;
    GetClientRect(rect);
    // The size grip draws over the right end: the last pane stays clear of it.
    int cxGrip = (GetStyle() & SBARS_SIZEGRIP) ? rect.Height() : 0;

    int nStretch = 0;
    for (int i = 0; i < nCount; i++) {
        if (m_panes[static_cast<size_t>(i)].nStyle & SBPS_STRETCH) {
            nStretch = i;
            break;
        }
    }
    int cxFixed = 0;
    for (int i = 0; i < nCount; i++) {
        if (i != nStretch)
            cxFixed += m_panes[static_cast<size_t>(i)].cxText + kPaneExtra;
    }
    int cxStretch = rect.Width() - 2 * borders[0] - cxGrip - cxFixed - (nCount - 1) * borders[2];
    cxStretch = std::max(cxStretch, m_panes[static_cast<size_t>(nStretch)].cxText + kPaneExtra);

    std::vector<int> rights(static_cast<size_t>(nCount));
    int x = borders[0];
    for (int i = 0; i < nCount; i++) {
        x += i == nStretch ? cxStretch : m_panes[static_cast<size_t>(i)].cxText + kPaneExtra;
        rights[static_cast<size_t>(i)] = x;
        x += borders[2];
    }
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(rights.data()));
}

int CStatusBar::GetTextHeight() const
{
    HDC hDC = ::GetDC(m_hWnd);
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hDC, &tm);
    if (hOld != nullptr)
        ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    return tm.tmHeight;
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

// ---- layout and messages ----

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    int borders[3] = {0, 0, 0};
    if (m_hWnd != nullptr)
        SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, TRUE);
    CSize size;
    size.cy = (m_hWnd != nullptr ? GetTextHeight() : 0) + 2 * borders[1] + 4 - rectInside.Height();
    if (bStretch) {
        size.cx = 32767;
    } else {
        size.cx = 2 * borders[0] - rectInside.Width();
        for (const Pane& pane : m_panes)
            size.cx += pane.cxText + kPaneExtra + borders[2];
    }
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0;
         state.m_nIndex < state.m_nIndexMax && state.m_nIndex < static_cast<UINT>(GetCount());
         state.m_nIndex++) {
        state.m_nID = m_panes[state.m_nIndex].nID;
        if (state.m_nID == ID_SEPARATOR)
            continue;
        // Panes show information: one without a handler is left as it is.
        if (state.DoUpdate(pTarget, FALSE))
            continue;
        if (int nKey = IndicatorKey(state.m_nID))
            state.Enable((::GetKeyState(nKey) & 1) != 0);
    }
}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult != nullptr)
            *pResult = TRUE;
        return TRUE;
    }
    return CControlBar::OnChildNotify(message, wParam, lParam, pResult);
}

void CStatusBar::OnSize(UINT, int, int)
{
    Default();
    UpdateAllPanes();
}

// The size grip sizes the frame; the rest of the bar is plain client area.
UINT CStatusBar::OnNcHitTest(CPoint)
{
    UINT nHit = static_cast<UINT>(Default());
    return nHit == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT CStatusBar::OnSetFont(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    UpdateAllPanes();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->DelayRecalcLayout();
    return lResult;
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    int nIndex = CommandToIndex(ID_SEPARATOR);
    if (nIndex < 0)
        return FALSE;
    return SetPaneText(nIndex, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    int nMax = static_cast<int>(wParam);
    LPSTR lpszDest = reinterpret_cast<LPSTR>(lParam);
    if (lpszDest == nullptr || nMax <= 0)
        return 0;
    CString strText = GetPaneText(CommandToIndex(ID_SEPARATOR));
    lstrcpynA(lpszDest, strText, nMax);
    return lstrlenA(lpszDest);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    return GetPaneText(CommandToIndex(ID_SEPARATOR)).GetLength();
}
