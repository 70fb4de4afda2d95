// CFrameWnd.
#include "framework/FrameWnd.h"

#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/PathDoor.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "framework/WndState.h"

#include <shellapi.h>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_DROPFILES()
    ON_WM_ERASEBKGND()
    ON_WM_NCACTIVATE()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

namespace {

// Sets pRoutingFrame for the length of a frame's command route.
class RoutingFrameScope {
public:
    explicit RoutingFrameScope(CFrameWnd* pFrame) : m_pOld(AfxGetWndThreadState().pRoutingFrame)
    {
        AfxGetWndThreadState().pRoutingFrame = pFrame;
    }
    ~RoutingFrameScope() { AfxGetWndThreadState().pRoutingFrame = m_pOld; }

private:
    CFrameWnd* m_pOld;
};

} // namespace

CFrameWnd* AfxGetRoutingFrame() { return AfxGetWndThreadState().pRoutingFrame; }

// The default menu goes with the window (OnDestroy gives it back); accelerator tables loaded from
// resources are the system's to free.
CFrameWnd::~CFrameWnd() = default;

// ---- creation ----

LPCSTR CFrameWnd::GetIconWndClass(DWORD, UINT nIDResource)
{
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), hIcon);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == nullptr) {
            PostNcDestroy();
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName != nullptr ? lpszWindowName : "";
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, AfxSafeHwnd(pParentWnd), hMenu, pContext)) {
        // The frame deleted itself; the menu was never given to a window.
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    if (strFull.LoadString(nIDResource)) {
        int nNewLine = strFull.Find('\n');
        m_strTitle = nNewLine >= 0 ? strFull.Left(nNewLine) : strFull;
    }
    CString strTitle = m_strTitle;
    // A menu of that id is optional (a frame may have none).
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (!CreateEx(0, GetIconWndClass(dwDefaultStyle, nIDResource), strTitle, dwDefaultStyle, rectDefault.left,
                  rectDefault.top, rectDefault.right - rectDefault.left, rectDefault.bottom - rectDefault.top,
                  AfxSafeHwnd(pParentWnd), hMenu, pContext)) {
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_hMenuDefault = ::GetMenu(m_hWnd);
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (m_hMenuDefault == nullptr)
        m_hMenuDefault = ::GetMenu(m_hWnd);
    // The view first: bars the derived frame adds afterwards come above it in Z order.
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    if (pObject == nullptr || !pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete pObject;
        return nullptr;
    }
    CWnd* pView = static_cast<CWnd*>(pObject);
    // A view that fails to be created deletes itself.
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return pView;
}

void CFrameWnd::OnDestroy()
{
    // The template's shared menus are not the frame's to destroy.
    if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

// ---- views and documents ----

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = nullptr; // neither is the target while they are told
    if (pViewOld != nullptr && bNotify)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (pViewNew != nullptr && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (GetActiveView() == nullptr) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pWnd);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        // Views are filled before the frame shows.
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        ActivateFrame();
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc != nullptr)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringWindowToTop();
    }
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName)
{
    CString strText;
    if (lpszDocName != nullptr && *lpszDocName != '\0') {
        CString strDoc(lpszDocName);
        if (m_nWindow > 0) {
            CString strNumber;
            strNumber.Format(":%d", m_nWindow);
            strDoc += strNumber;
        }
        strText = (GetStyle() & FWS_PREFIXTITLE) ? strDoc + " - " + m_strTitle : m_strTitle + " - " + strDoc;
    } else {
        strText = m_strTitle;
    }
    // Only when it changes: the caption would flicker at every idle pass.
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText)
        SetWindowText(strText);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && pDocument != nullptr)
        UpdateFrameTitleForDocument(pDocument->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

// ---- layout ----

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    RECT rcNoBorder = {0, 0, 0, 0};
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &rcNoBorder);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC)
{
    // With a view covering the client area there is nothing to erase (no flicker).
    if (m_pViewActive != nullptr)
        return TRUE;
    return CWnd::OnEraseBkgnd(pDC);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
    // A frame whose floating tool window has the focus still looks active.
    if (m_nFlags & WF_STAYACTIVE)
        bActive = TRUE;
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    Default();
    if (m_pViewActive != nullptr && ::IsWindow(m_pViewActive->m_hWnd))
        m_pViewActive->SetFocus();
}

// ---- commands ----

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    RoutingFrameScope scope(this);
    CView* pView = GetActiveView();
    if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // A frame inside another (an MDI child) leaves the application to its outer frame.
    if (GetStyle() & WS_CHILD)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu)
        return; // the system's own
    AfxUpdateMenuCmdUI(this, pPopupMenu, m_bAutoMenuEnable);
    // A greyed item is no default: drawn bold, it would read as offered (Wine draws it black).
    HMENU hMenu = pPopupMenu->GetSafeHmenu();
    UINT nDefault = ::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED);
    if (nDefault != static_cast<UINT>(-1) && (::GetMenuState(hMenu, nDefault, MF_BYPOSITION) & MF_GRAYED))
        ::SetMenuDefaultItem(hMenu, static_cast<UINT>(-1), TRUE);
}

void CFrameWnd::OnClose()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        // The main window: every document may be saved first, then all close.
        if (!pApp->SaveAllModified())
            return;
        pApp->CloseAllDocuments(FALSE);
        if (!::IsWindow(m_hWnd))
            return;
        DestroyWindow();
        return;
    }
    CDocument* pDocument = GetActiveDocument();
    if (pDocument != nullptr && !pDocument->CanCloseFrame(this))
        return;
    // The last frame of a document closes the document, which takes the frame with it.
    if (pDocument != nullptr && pDocument->m_bAutoDelete) {
        BOOL bOtherFrame = FALSE;
        for (POSITION pos = pDocument->GetFirstViewPosition(); pos != nullptr;) {
            CView* pView = pDocument->GetNextView(pos);
            if (pView->GetParentFrame() != this)
                bOtherFrame = TRUE;
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo)
{
    SetActiveWindow();
    const std::vector<CString> paths = AfxDroppedPaths(hDropInfo);
    ::DragFinish(hDropInfo);
    for (const CString& path : paths) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->OpenDocumentFile(path);
    }
}

// ---- status prompts and tool tips ----

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString strFull = AfxLoadText(nID);
    int nNewLine = strFull.Find('\n');
    rMessage = nNewLine >= 0 ? strFull.Left(nNewLine) : strFull;
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    CWnd* pMessageBar = GetMessageBar();
    if (pMessageBar != nullptr) {
        CString strMessage;
        LPCSTR lpsz = nullptr;
        if (wParam == AFX_IDS_IDLEMESSAGE) {
            lpsz = AfxFrameworkText(AFX_IDS_IDLEMESSAGE);
        } else if (wParam != 0) {
            GetMessageString(static_cast<UINT>(wParam), strMessage);
            lpsz = strMessage;
        } else {
            lpsz = reinterpret_cast<LPCSTR>(lParam);
        }
        pMessageBar->SetWindowText(lpsz != nullptr ? lpsz : "");
    }
    return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam != 0 ? wParam : AFX_IDS_IDLEMESSAGE, lParam);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    // The menu closed: back to the idle prompt. An item: its prompt. A sub-menu or separator: nothing.
    if (nFlags == 0xFFFF && hSysMenu == nullptr)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        m_nIDTracking = 0;
    else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
        m_nIDTracking = 0; // system commands have no prompt here
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != 0)
        SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    UINT_PTR nID = pNMHDR->idFrom;
    bool bIsHwnd = pNMHDR->code == TTN_NEEDTEXTA
                       ? (reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR)->uFlags & TTF_IDISHWND)
                       : (reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR)->uFlags & TTF_IDISHWND);
    if (bIsHwnd)
        nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
    if (nID == 0)
        return FALSE;
    // The tip is the part of the command's string after the new line.
    CString strFull = AfxLoadText(static_cast<UINT>(nID));
    int nNewLine = strFull.Find('\n');
    CString strTip = nNewLine >= 0 ? strFull.Mid(nNewLine + 1) : strFull;
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        TOOLTIPTEXTA* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
        lstrcpynA(pTTT->szText, strTip, sizeof(pTTT->szText));
    } else {
        TOOLTIPTEXTW* pTTT = reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR);
        int n = ::MultiByteToWideChar(CP_ACP, 0, strTip, -1, pTTT->szText,
                                      static_cast<int>(sizeof(pTTT->szText) / sizeof(WCHAR)));
        if (n == 0)
            pTTT->szText[0] = 0;
        pTTT->szText[sizeof(pTTT->szText) / sizeof(WCHAR) - 1] = 0;
    }
    *pResult = 0;
    // Tips stay above the bars.
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

// ---- idle ----

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    UINT nFlags = m_nIdleFlags;
    m_nIdleFlags = 0;
    if (nFlags & idleLayout)
        RecalcLayout((nFlags & idleNotify) != 0);
    if (nFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    return 0;
}
