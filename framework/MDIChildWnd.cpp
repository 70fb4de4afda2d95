// CMDIChildWnd.
#include "framework/MDIChildWnd.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIFrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (pParentWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != nullptr && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            pParentWnd = static_cast<CMDIFrameWnd*>(pMain);
    }
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    if (lpszWindowName != nullptr)
        m_strTitle = lpszWindowName;

    CREATESTRUCTA cs = {};
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // Created hidden: ActivateFrame shows it once its view is filled.
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = static_cast<DWORD>(cs.style) & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = reinterpret_cast<LPARAM>(cs.lpCreateParams);

    AfxHookWindowCreate(this);
    HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!AfxUnhookWindowCreate()) {
        if (hWnd != nullptr)
            ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hWnd), 0);
        PostNcDestroy();
        return FALSE;
    }
    if (hWnd == nullptr)
        return FALSE; // WM_CREATE failed: the object is gone with its window
    if (cs.style & WS_VISIBLE) {
        ShowWindow((cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    if (strFull.LoadString(nIDResource)) {
        int nNewLine = strFull.Find('\n');
        m_strTitle = nNewLine >= 0 ? strFull.Left(nNewLine) : strFull;
    }
    // The template's menu and keys, shared by all its frames.
    if (pContext != nullptr && pContext->m_pNewDocTemplate != nullptr
        && pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
        CMultiDocTemplate* pTemplate = static_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate);
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelTable = pTemplate->m_hAccelTable;
    }
    CMDIFrameWnd* pFrame = nullptr;
    if (pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        pFrame = static_cast<CMDIFrameWnd*>(pParentWnd);
    CString strTitle = m_strTitle;
    if (!Create(GetIconWndClass(dwDefaultStyle, nIDResource), strTitle, dwDefaultStyle | WS_CHILD,
                rectDefault, pFrame, pContext))
        return FALSE;
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND hClient = ::GetParent(m_hWnd);
    CWnd* pFrame = FromHandlePermanent(hClient != nullptr ? ::GetParent(hClient) : nullptr);
    return pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))
               ? static_cast<CMDIFrameWnd*>(pFrame)
               : nullptr;
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    if (GetMDIFrame() == nullptr)
        return CFrameWnd::DestroyWindow();
    // The object may be gone when this returns.
    MDIDestroy();
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = pFrame != nullptr ? pFrame->MDIGetActive(&bMaximized) : nullptr;
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = pActive != nullptr && pActive != this && bMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    MDIActivate();
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    // The template's keys, translated for the main frame, which routes the command back here.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr) {
        CMDIFrameWnd* pFrame = GetMDIFrame();
        return pFrame != nullptr && ::TranslateAcceleratorW(pFrame->m_hWnd, m_hAccelTable, pMsg);
    }
    return FALSE;
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE)) {
        CDocument* pDocument = GetActiveDocument();
        CString strText = pDocument != nullptr ? pDocument->GetTitle() : m_strTitle;
        if (pDocument != nullptr && m_nWindow > 0) {
            CString strNumber;
            strNumber.Format(":%d", m_nWindow);
            strText += strNumber;
        }
        CString strOld;
        GetWindowText(strOld);
        if (strOld != strText)
            SetWindowText(strText);
    }
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == nullptr)
        return;
    // Another child taking over sets its own menu.
    if (!bActive && pActivateWnd != nullptr)
        return;
    HMENU hMenu = hMenuAlt;
    if (hMenu == nullptr && bActive)
        hMenu = m_hMenuShared;
    if (hMenu == nullptr)
        hMenu = pFrame->m_hMenuDefault;
    if (hMenu != nullptr && ::GetMenu(pFrame->m_hWnd) != hMenu)
        pFrame->MDISetMenu(hMenu, pFrame->GetWindowMenuPopup(hMenu));
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    // The context travels inside the MDI creation structure.
    auto* pMcs = static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams);
    CCreateContext* pContext = pMcs != nullptr ? reinterpret_cast<CCreateContext*>(pMcs->lParam) : nullptr;
    return OnCreateHelper(lpcs, pContext);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    Default();
    OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    CView* pView = GetActiveView();
    if (pView != nullptr)
        pView->OnActivateView(bActivate, pView, pView);
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(TRUE);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    // A click on the caption activates through the system's caption handling, whatever the answer.
    if ((nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT) && nHitTest != HTCAPTION)
        return nResult;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame != nullptr && pFrame->MDIGetActive() != this) {
        MDIActivate();
    } else {
        // Already the active child, but the keys are elsewhere (a bar of the main window): a click
        // brings them back, as activating it does. The frame passes the focus to its view.
        HWND hFocus = ::GetFocus();
        if (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus))
            SetFocus();
    }
    return nResult;
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    Default(); // the MDI code follows maximising and minimising
    CFrameWnd::OnSize(nType, cx, cy);
}
