// CPropertySheet and CPropertyPage.
#include "framework/PropertySheet.h"

#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The system is about to make a page's dialog: it belongs to that page's object.
UINT CALLBACK PageCallback(HWND, UINT uMsg, LPPROPSHEETPAGEA ppsp)
{
    if (uMsg == PSPCB_CREATE && ppsp != nullptr && ppsp->lParam != 0)
        AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(ppsp->lParam));
    return 1;
}

} // namespace

// ---- CPropertyPage ----

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate)
{
    if (nIDCaption != 0)
        m_strCaption.LoadString(nIDCaption);
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_USECALLBACK;
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    HWND hSheet = ::GetParent(m_hWnd);
    if (hSheet != nullptr)
        ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose()
{
    HWND hSheet = ::GetParent(m_hWnd);
    if (hSheet != nullptr)
        ::SendMessageA(hSheet, PSM_CANCELTOCLOSE, 0, 0);
}

BOOL CPropertyPage::OnSetActive()
{
    // The first time, OnInitDialog has just loaded the controls.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    switch (pNMHDR->code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE;
        break; // TRUE keeps the page
    case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        *pResult = 0;
        break;
    case PSN_QUERYCANCEL:
        *pResult = OnQueryCancel() ? FALSE : TRUE;
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The sheet may read it from the dialog as well.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *pResult);
    return TRUE;
}

// ---- CPropertySheet ----

CPropertySheet::CPropertySheet() : m_psh() { m_psh.dwSize = sizeof(m_psh); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh(), m_nIDCaption(nIDCaption), m_pParentWnd(pParentWnd)
{
    m_psh.dwSize = sizeof(m_psh);
    m_psh.nStartPage = iSelectPage;
    m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh(), m_pParentWnd(pParentWnd), m_strCaption(pszCaption)
{
    m_psh.dwSize = sizeof(m_psh);
    m_psh.nStartPage = iSelectPage;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.push_back(pPage);
    if (m_hWnd == nullptr)
        return;
    PROPSHEETPAGEA psp = pPage->m_psp;
    psp.dwSize = sizeof(psp);
    psp.dwFlags |= PSP_USECALLBACK;
    psp.hInstance = AfxGetResourceHandle();
    psp.pszTemplate = pPage->m_lpszTemplateName;
    psp.pfnDlgProc = AfxDlgProc;
    psp.lParam = reinterpret_cast<LPARAM>(pPage);
    psp.pfnCallback = PageCallback;
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&psp);
    if (hPage != nullptr)
        ::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage));
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
    m_pages.erase(m_pages.begin() + nPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); i++) {
        if (m_pages[i] == pPage)
            return static_cast<int>(i);
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == nullptr)
        return static_cast<int>(m_psh.nStartPage);
    HWND hPage = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (size_t i = 0; i < m_pages.size(); i++) {
        if (hPage != nullptr && m_pages[i]->m_hWnd == hPage)
            return static_cast<int>(i);
    }
    return static_cast<int>(m_psh.nStartPage);
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    int nIndex = GetActiveIndex();
    return nIndex >= 0 && nIndex < GetPageCount() ? GetPage(nIndex) : nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd == nullptr) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(::SendMessageA(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, nStyle,
                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_strCaption)));
}

HWND CPropertySheet::CreateSheet(HWND hWndParent, BOOL)
{
    m_pageStructs.clear();
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGEA psp = pPage->m_psp;
        psp.dwSize = sizeof(psp);
        psp.dwFlags |= PSP_USECALLBACK;
        psp.hInstance = AfxGetResourceHandle();
        if (pPage->m_lpDialogTemplate != nullptr) {
            psp.dwFlags |= PSP_DLGINDIRECT;
            psp.pResource = pPage->m_lpDialogTemplate;
        } else {
            psp.pszTemplate = pPage->m_lpszTemplateName;
        }
        if (!pPage->m_strCaption.IsEmpty()) {
            psp.dwFlags |= PSP_USETITLE;
            psp.pszTitle = pPage->m_strCaption;
        }
        psp.pfnDlgProc = AfxDlgProc;
        psp.lParam = reinterpret_cast<LPARAM>(pPage);
        psp.pfnCallback = PageCallback;
        pPage->m_bFirstSetActive = TRUE;
        m_pageStructs.push_back(psp);
    }
    if (m_pageStructs.empty())
        return nullptr;
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    m_psh.dwFlags &= ~PSH_USEPSTARTPAGE;
    m_psh.hwndParent = hWndParent;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(m_pageStructs.size());
    m_psh.ppsp = m_pageStructs.data();
    if (m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;

    AfxHookWindowCreate(this);
    HWND hWnd = reinterpret_cast<HWND>(::PropertySheetA(&m_psh));
    AfxUnhookWindowCreate();
    if (hWnd == nullptr || hWnd == reinterpret_cast<HWND>(-1))
        return nullptr;
    if (FromHandlePermanent(hWnd) != this)
        SubclassWindow(hWnd); // the hook met another window first
    return hWnd;
}

void CPropertySheet::InitAndPlace()
{
    RECT before = {};
    ::GetWindowRect(m_hWnd, &before);
    OnInitDialog();
    RECT now = {};
    ::GetWindowRect(m_hWnd, &now);
    // A sheet that its OnInitDialog did not place is centred on its owner, as a dialog is.
    if (!(GetStyle() & WS_CHILD) && now.left == before.left && now.top == before.top)
        CenterWindow();
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    m_pParentWnd = pParentWnd;
    HWND hWnd = CreateSheet(AfxSafeHwnd(pParentWnd), TRUE);
    if (hWnd == nullptr)
        return FALSE;
    if (dwStyle != static_cast<DWORD>(-1))
        ::SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
    if (dwExStyle != 0)
        ModifyStyleEx(0, dwExStyle);
    InitAndPlace();
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    CFocusKeeper focus; // declared first: given back once the owner is active again
    HWND hWndTop = nullptr;
    HWND hWndOwner = AfxSafeHwnd(GetSafeOwner(m_pParentWnd, &hWndTop));
    struct OwnerGuard {
        HWND hWnd = nullptr;
        ~OwnerGuard()
        {
            if (hWnd != nullptr)
                ::EnableWindow(hWnd, TRUE);
        }
    } guard;
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        guard.hWnd = hWndOwner;
    }
    m_nModalResult = IDCANCEL;
    m_nLastButton = IDCANCEL;
    if (CreateSheet(hWndOwner, FALSE) == nullptr)
        return -1;
    InitAndPlace();
    // Watched from here on: the sheet ends when the system says it has no current page.
    m_nFlags |= WF_CONTINUEMODAL;
    if (::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
        EndModalLoop(IDCANCEL);
    if (ContinueModal() && !AfxTestRunModal(this, m_nIDCaption))
        RunModalLoop(MLF_SHOWONIDLE);
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (guard.hWnd != nullptr) {
        ::EnableWindow(guard.hWnd, TRUE);
        guard.hWnd = nullptr;
    }
    if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nLastButton = nEndID;
    if (m_nFlags & WF_CONTINUEMODAL)
        EndModalLoop(nEndID);
    else
        DestroyWindow();
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        m_nLastButton = LOWORD(wParam);
    else if (message == WM_SYSCOMMAND || message == WM_CLOSE)
        m_nLastButton = IDCANCEL;
    LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    // OK that every page accepted, or Cancel (also from the keyboard or the close box), leaves the
    // sheet without a current page.
    bool bMayEnd = message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_CLOSE
                   || message == PSM_PRESSBUTTON;
    if (bMayEnd && (m_nFlags & WF_CONTINUEMODAL) && ::IsWindow(m_hWnd)
        && ::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
        EndModalLoop(m_nLastButton);
    return lResult;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hWnd == nullptr
        || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    // The sheet's own dialog keys read a typed character in wide characters, as the loop took it.
    return static_cast<BOOL>(::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

BOOL CPropertySheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if ((nCode != CN_COMMAND && static_cast<UINT>(nCode) != CN_UPDATE_COMMAND_UI) || (GetStyle() & WS_CHILD))
        return FALSE;
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
