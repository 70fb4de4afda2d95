// CDialog.
#include "framework/Dialog.h"

#include "framework/Exceptions.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"

#include <exception>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    // The dialog exists: whatever waited for a window has found it.
    AfxUnhookWindowCreate();
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        return TRUE;
    auto* pDlg = static_cast<CDialog*>(pWnd);
    RECT before = {};
    ::GetWindowRect(hWnd, &before);
    // No exception may go back into the system's dialog code.
    try {
        BOOL result = pDlg->OnInitDialog();
        pDlg->CenterIfUnplaced(before);
        return result;
    } catch (const CException& e) {
        char text[512] = "";
        if (!e.IsKindOf(RUNTIME_CLASS(CUserException)) && e.GetErrorMessage(text, sizeof(text)))
            AfxMessageBox(text, MB_ICONSTOP);
    } catch (...) {
    }
    static_cast<CDialog*>(pWnd)->EndDialog(-1);
    return FALSE;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd)
{}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

LPCDLGTEMPLATE CDialog::LoadTemplate()
{
    if (m_lpDialogTemplate != nullptr)
        return m_lpDialogTemplate;
    if (m_lpszTemplateName == nullptr)
        return nullptr;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL hTemplate = hResource != nullptr ? ::LoadResource(hInst, hResource) : nullptr;
    return hTemplate != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

BOOL AfxDialogTemplatePlaced(LPCDLGTEMPLATE lpTemplate)
{
    if (lpTemplate == nullptr)
        return FALSE;
    const WORD* words = reinterpret_cast<const WORD*>(lpTemplate);
    DWORD style;
    short x, y;
    if (words[0] == 1 && words[1] == 0xFFFF) {
        // DLGTEMPLATEEX: version, signature, help id, extended style, style, item count, x, y.
        style = MAKELONG(words[6], words[7]);
        x = static_cast<short>(words[9]);
        y = static_cast<short>(words[10]);
    } else {
        style = lpTemplate->style;
        x = lpTemplate->x;
        y = lpTemplate->y;
    }
    return (style & (DS_CENTER | DS_CENTERMOUSE)) != 0 || x != 0 || y != 0;
}

void CDialog::CenterIfUnplaced(const RECT& rcBeforeInit)
{
    if (m_bTemplatePlaced || m_hWnd == nullptr || (GetStyle() & WS_CHILD))
        return;
    RECT now = {};
    ::GetWindowRect(m_hWnd, &now);
    // OnInitDialog placed the dialog itself.
    if (now.left != rcBeforeInit.left || now.top != rcBeforeInit.top)
        return;
    CenterWindow();
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent)
{
    if (lpDialogTemplate == nullptr)
        return FALSE;
    m_bTemplatePlaced = AfxDialogTemplatePlaced(lpDialogTemplate);
    AfxHookWindowCreate(this);
    HWND hWnd =
        ::CreateDialogIndirectParamA(AfxGetResourceHandle(), lpDialogTemplate, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd == nullptr)
        return FALSE;
    return FromHandlePermanent(hWnd) == this;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    m_pParentWnd = pParentWnd;
    // A modeless dialog without a parent stands alone (no owner).
    return CreateDlgIndirect(LoadTemplate(), AfxSafeHwnd(pParentWnd));
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, AfxSafeHwnd(pParentWnd));
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATE lpTemplate = LoadTemplate();
    if (lpTemplate == nullptr)
        return -1;
    CFocusKeeper focus; // declared first: given back once the owner is active again
    HWND hWndTop = nullptr;
    HWND hWndOwner = AfxSafeHwnd(GetSafeOwner(m_pParentWnd, &hWndTop));
    // The owner stays disabled while the dialog runs, whatever happens.
    struct OwnerGuard {
        HWND hWnd = nullptr;
        ~OwnerGuard()
        {
            if (hWnd != nullptr)
                ::EnableWindow(hWnd, TRUE);
        }
    } guard;
    if (hWndOwner != nullptr && hWndOwner != ::GetDesktopWindow() && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        guard.hWnd = hWndOwner;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(lpTemplate, hWndOwner)) {
        // OnInitDialog may already have ended it.
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            if (!AfxTestRunModal(this, m_nIDHelp))
                RunModalLoop(dwFlags);
        }
        // Hidden before the owner comes back, so that the owner is activated, not another program.
        if (m_hWnd != nullptr)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    if (guard.hWnd != nullptr) {
        ::EnableWindow(guard.hWnd, TRUE);
        guard.hWnd = nullptr;
    }
    if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    else
        m_nModalResult = nResult;
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return; // the field was refused and has the focus again
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // The dialog's keys: tab, arrows, Enter, Escape and mnemonics.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd != nullptr
        && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Commands a top-level dialog does not handle (help) go to the application.
    if ((nCode != CN_COMMAND && static_cast<UINT>(nCode) != CN_UPDATE_COMMAND_UI) || (GetStyle() & WS_CHILD))
        return FALSE;
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
