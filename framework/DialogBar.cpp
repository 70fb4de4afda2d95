// CDialogBar.
#include "framework/DialogBar.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
END_MESSAGE_MAP()

namespace {

// The bar's controls are the frame's: the dialog manager only lays them out, and the bar never takes
// the focus when it appears.
INT_PTR CALLBACK AfxDialogBarProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

} // namespace

CDialogBar::CDialogBar()
{
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 0;
    m_cyBottomBorder = 0;
}

CDialogBar::~CDialogBar()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (pParentWnd == nullptr || lpszTemplateName == nullptr)
        return FALSE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL hTemplate = hRsrc != nullptr ? ::LoadResource(hInst, hRsrc) : nullptr;
    auto lpTemplate =
        hTemplate != nullptr ? static_cast<LPCDLGTEMPLATEA>(::LockResource(hTemplate)) : nullptr;
    if (lpTemplate == nullptr)
        return FALSE;

    m_dwStyle = nStyle & CBRS_ALL;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->m_hWnd, AfxDialogBarProc, 0);
    BOOL bAttached = AfxUnhookWindowCreate();
    if (hWnd == nullptr)
        return FALSE;
    if (!bAttached || FromHandlePermanent(hWnd) != this || !(GetStyle() & WS_CHILD)) {
        // A template that is not a child dialog makes no bar.
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(nID));
    CRect rect;
    GetWindowRect(rect);
    m_sizeDefault = rect.Size();
    // The borders come from the bar style, known only now.
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    if (nStyle & WS_VISIBLE)
        ShowWindow(SW_SHOWNA);
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (!bStretch)
        return m_sizeDefault;
    return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
