// The common dialogs and their scripted answers.
#include "framework/CommonDialogs.h"

#include "framework/CodePageText.h"
#include "framework/FileNameGuard.h"
#include "framework/FrameworkTexts.h"
#include "framework/PathDoor.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

namespace {

// Fills an open/save structure as the dialog would for a chosen path.
BOOL AnswerFileName(LPOPENFILENAMEA lpofn, const AfxCommonDialogAnswer& answer)
{
    if (!answer.ok)
        return FALSE;
    const std::string& path = answer.path;
    if (lpofn->lpstrFile == nullptr || path.size() + 1 > lpofn->nMaxFile)
        return FALSE; // the caller's buffer is too small, as the dialog would report
    std::memcpy(lpofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t nSlash = path.find_last_of("\\/");
    size_t nName = nSlash == std::string::npos ? 0 : nSlash + 1;
    size_t nDot = path.find_last_of('.');
    lpofn->nFileOffset = static_cast<WORD>(nName);
    lpofn->nFileExtension =
        static_cast<WORD>(nDot != std::string::npos && nDot > nName ? nDot + 1 : path.size());
    if (lpofn->lpstrFileTitle != nullptr && lpofn->nMaxFileTitle > 0)
        lstrcpynA(lpofn->lpstrFileTitle, path.c_str() + nName, static_cast<int>(lpofn->nMaxFileTitle));
    return TRUE;
}

COLORREF g_customColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

CString DevNamesPart(HGLOBAL hDevNames, int nWhich)
{
    CString s;
    if (hDevNames == nullptr)
        return s;
    auto* pNames = static_cast<LPDEVNAMES>(::GlobalLock(hDevNames));
    if (pNames != nullptr) {
        WORD wOffset = nWhich == 0   ? pNames->wDeviceOffset
                       : nWhich == 1 ? pNames->wDriverOffset
                                     : pNames->wOutputOffset;
        s = reinterpret_cast<LPCSTR>(pNames) + wOffset;
        ::GlobalUnlock(hDevNames);
    }
    return s;
}

// The system puts its print dialogs at their template's corner, over the menu bar; like every other
// dialog of the program they open centred on their owner.
UINT_PTR CALLBACK CentreOnOwnerHook(HWND hDlg, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        CWnd::FromHandle(hDlg)->CenterWindow();
        return TRUE; // the dialog's own focus choice stands
    }
    return 0;
}

// Centres a dialog of the system on the top-level window of its owner (a child window such as a
// docked bar is not what the user sees as the owner).
void CentreOnOwnerWindow(HWND hDlg, HWND hOwner)
{
    HWND hTop = hOwner != nullptr ? ::GetAncestor(hOwner, GA_ROOT) : nullptr;
    CWnd::FromHandle(hDlg)->CenterWindow(hTop != nullptr ? CWnd::FromHandle(hTop) : nullptr);
}

// What the program's hook on a file dialog needs: the caller's own hook (null: none, and the dialog
// is centred on its owner) and the dialog's structure.
struct FileDialogRun {
    LPOFNHOOKPROC pfnCallerHook;
    const OPENFILENAMEA* lpofn;
};

const char kFileDialogRunProp[] = "TessarineFileDialogRun";
// The run of the file dialog being made on this thread: its hook dialog takes it at its first message.
thread_local FileDialogRun* t_pStartingRun = nullptr;

// Every Explorer-style file dialog gets this hook, before the caller's own: a typed name too long for a
// full path, or with letters the code page lacks, is refused before the system takes it, and the
// system, which opens the dialog at the screen's corner, has it centred on its owner like every other
// dialog of the program. The hook's own dialog is a child of the file dialog.
UINT_PTR CALLBACK FileDialogHook(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pRun = static_cast<FileDialogRun*>(::GetPropA(hDlg, kFileDialogRunProp));
    if (pRun == nullptr) {
        pRun = t_pStartingRun;
        if (pRun == nullptr || !::SetPropA(hDlg, kFileDialogRunProp, pRun))
            return 0;
    }
    HWND hFileDlg = ::GetParent(hDlg);
    if (message == WM_INITDIALOG) {
        AfxGuardFileDialogNames(hFileDlg, pRun->lpofn);
    } else if (message == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == CDN_INITDONE
               && pRun->pfnCallerHook == nullptr) {
        CentreOnOwnerWindow(hFileDlg, ::GetWindow(hFileDlg, GW_OWNER));
    } else if (message == WM_NCDESTROY) {
        ::RemovePropA(hDlg, kFileDialogRunProp);
    }
    return pRun->pfnCallerHook != nullptr ? pRun->pfnCallerHook(hDlg, message, wParam, lParam) : 0;
}

// Runs a file dialog with the program's hook. An old-style dialog (a hook or template without
// OFN_EXPLORER) is the caller's own business and runs as it is.
BOOL RunFileDialog(LPOPENFILENAMEA lpofn, BOOL(WINAPI* pfnRun)(LPOPENFILENAMEA))
{
    const DWORD dwFlags = lpofn->Flags;
    if (!(dwFlags & OFN_EXPLORER)
        && (dwFlags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)))
        return pfnRun(lpofn);
    const LPOFNHOOKPROC pfnHook = lpofn->lpfnHook;
    FileDialogRun run = {(dwFlags & OFN_ENABLEHOOK) ? pfnHook : nullptr, lpofn};
    FileDialogRun* pOuterRun = t_pStartingRun;
    t_pStartingRun = &run;
    lpofn->Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    lpofn->lpfnHook = FileDialogHook;
    BOOL bOk = pfnRun(lpofn);
    const DWORD dwOurs = OFN_EXPLORER | OFN_ENABLEHOOK;
    lpofn->Flags = (lpofn->Flags & ~dwOurs) | (dwFlags & dwOurs);
    lpofn->lpfnHook = pfnHook;
    t_pStartingRun = pOuterRun;
    return bOk;
}

} // namespace

BOOL AfxGetOpenFileName(LPOPENFILENAMEA lpofn)
{
    AfxCommonDialogAnswer answer;
    if (AfxTestTakeCommonDialog(AfxCommonDialogKind::Open, &answer))
        return AnswerFileName(lpofn, answer);
    CFocusKeeper focus;
    return RunFileDialog(lpofn, ::GetOpenFileNameA);
}

BOOL AfxGetSaveFileName(LPOPENFILENAMEA lpofn)
{
    AfxCommonDialogAnswer answer;
    if (AfxTestTakeCommonDialog(AfxCommonDialogKind::Save, &answer)) {
        if (!AnswerFileName(lpofn, answer))
            return FALSE;
        // The system's dialog asks before it gives back a file that exists; a scripted dialog
        // asks through the message-box script, and "no" ends it as a cancel would.
        if ((lpofn->Flags & OFN_OVERWRITEPROMPT)
            && ::GetFileAttributesA(lpofn->lpstrFile) != INVALID_FILE_ATTRIBUTES) {
            const std::string text =
                std::string(lpofn->lpstrFile) + " existe d\xE9j\xE0.\nVoulez-vous le remplacer ?";
            int nReply = IDNO;
            AfxTestTakeMessageBox(text.c_str(), MB_YESNO | MB_ICONWARNING, &nReply);
            return nReply == IDYES;
        }
        return TRUE;
    }
    CFocusKeeper focus;
    return RunFileDialog(lpofn, ::GetSaveFileNameA);
}

BOOL AfxChooseColor(LPCHOOSECOLORA lpcc)
{
    AfxCommonDialogAnswer answer;
    if (AfxTestTakeCommonDialog(AfxCommonDialogKind::Color, &answer)) {
        if (answer.ok)
            lpcc->rgbResult = answer.color;
        return answer.ok;
    }
    CFocusKeeper focus;
    return ::ChooseColorA(lpcc);
}

BOOL AfxPrintDlg(LPPRINTDLGA lppd)
{
    // Asking only for the default printer shows nothing: no script needed.
    if (lppd->Flags & PD_RETURNDEFAULT)
        return ::PrintDlgA(lppd);
    AfxCommonDialogAnswer answer;
    if (AfxTestTakeCommonDialog(AfxCommonDialogKind::Print, &answer)) {
        if (!answer.ok)
            return FALSE;
        // "OK" on the default printer, with what the caller asked to get back.
        DWORD dwFlags = lppd->Flags;
        lppd->Flags = (dwFlags & (PD_RETURNDC | PD_RETURNIC)) | PD_RETURNDEFAULT;
        HGLOBAL hDevMode = lppd->hDevMode;
        HGLOBAL hDevNames = lppd->hDevNames;
        lppd->hDevMode = nullptr;
        lppd->hDevNames = nullptr;
        BOOL bOk = ::PrintDlgA(lppd);
        lppd->Flags = dwFlags;
        if (!bOk) {
            lppd->hDevMode = hDevMode;
            lppd->hDevNames = hDevNames;
            return FALSE;
        }
        if (hDevMode != nullptr && hDevMode != lppd->hDevMode)
            ::GlobalFree(hDevMode);
        if (hDevNames != nullptr && hDevNames != lppd->hDevNames)
            ::GlobalFree(hDevNames);
        return TRUE;
    }
    CFocusKeeper focus;
    // A dialog the caller hooks itself is left where its hook puts it. The print and the set-up
    // dialog each take their own hook. The dialog's answers in the flags come back; the hooks do not.
    const DWORD dwHooks = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    if (!(lppd->Flags & dwHooks)) {
        PRINTDLGA pd = *lppd;
        pd.Flags |= dwHooks;
        pd.lpfnPrintHook = CentreOnOwnerHook;
        pd.lpfnSetupHook = CentreOnOwnerHook;
        BOOL bOk = ::PrintDlgA(&pd);
        pd.Flags &= ~dwHooks;
        pd.lpfnPrintHook = lppd->lpfnPrintHook;
        pd.lpfnSetupHook = lppd->lpfnSetupHook;
        *lppd = pd;
        return bOk;
    }
    return ::PrintDlgA(lppd);
}

namespace {

std::string g_browseStart;

LRESULT CALLBACK BrowseStartProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == BFFM_SETSELECTIONA && wParam != 0 && lParam != 0) {
        g_browseStart = reinterpret_cast<LPCSTR>(lParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

// A scripted browser still plays its caller's start-up callback, as the system's browser does when it
// comes up, so that a test knows which folder the browser was asked to open on.
std::string PlayBrowseStart(LPBROWSEINFOA lpbi)
{
    g_browseStart.clear();
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (hWnd == nullptr)
        return g_browseStart;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BrowseStartProc));
    lpbi->lpfn(hWnd, BFFM_INITIALIZED, 0, lpbi->lParam);
    ::DestroyWindow(hWnd);
    return g_browseStart;
}

// The folder browser opens over its owner's corner: it is centred on the owner's top-level window,
// then the caller's own callback runs as it would have.
struct BrowseCaller {
    BFFCALLBACK pfn;
    LPARAM lParam;
    HWND hOwner;
};

int CALLBACK CentreBrowser(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData)
{
    const BrowseCaller* pCaller = reinterpret_cast<const BrowseCaller*>(lpData);
    if (uMsg == BFFM_INITIALIZED)
        CentreOnOwnerWindow(hWnd, pCaller->hOwner != nullptr ? pCaller->hOwner : ::GetWindow(hWnd, GW_OWNER));
    return pCaller->pfn != nullptr ? pCaller->pfn(hWnd, uMsg, lParam, pCaller->lParam) : 0;
}

} // namespace

LPITEMIDLIST AfxSHBrowseForFolder(LPBROWSEINFOA lpbi)
{
    AfxCommonDialogAnswer answer;
    if (AfxTestTakeCommonDialog(AfxCommonDialogKind::Folder, &answer)) {
        if (lpbi->lpfn != nullptr && !AfxTestRecords().commonDialogs.empty())
            AfxTestRecords().commonDialogs.back().startFolder = PlayBrowseStart(lpbi);
        if (!answer.ok)
            return nullptr;
        std::wstring path =
            answer.widePath.empty() ? AfxCodePageToWide(answer.path.c_str()) : answer.widePath;
        LPITEMIDLIST pidl = ::ILCreateFromPathW(path.c_str());
        if (pidl != nullptr && lpbi->pszDisplayName != nullptr) {
            while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
                path.pop_back();
            size_t nSlash = path.find_last_of(L"\\/");
            std::wstring name =
                nSlash == std::wstring::npos || nSlash + 1 >= path.size() ? path : path.substr(nSlash + 1);
            lstrcpynA(lpbi->pszDisplayName, CString(name.c_str()), MAX_PATH);
        }
        return pidl;
    }
    CFocusKeeper focus;
    BrowseCaller caller = {lpbi->lpfn, lpbi->lParam, lpbi->hwndOwner};
    BROWSEINFOA bi = *lpbi;
    bi.lpfn = CentreBrowser;
    bi.lParam = reinterpret_cast<LPARAM>(&caller);
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    lpbi->iImage = bi.iImage;
    return pidl;
}

AfxItemPath AfxGetItemIdListPath(LPCITEMIDLIST pidl, CString* pPath)
{
    wchar_t szPath[MAX_PATH] = L"";
    if (pidl == nullptr || !::SHGetPathFromIDListW(pidl, szPath) || szPath[0] == L'\0')
        return AfxItemPath::None;
    return AfxWideToCodePage(szPath, pPath) ? AfxItemPath::Found : AfxItemPath::Unspelled;
}

CString AfxBrowseForFolderPath(LPBROWSEINFOA lpbi)
{
    LPITEMIDLIST pidl = AfxSHBrowseForFolder(lpbi);
    if (pidl == nullptr)
        return CString();
    CString path;
    const AfxItemPath found = AfxGetItemIdListPath(pidl, &path);
    if (found == AfxItemPath::Unspelled) {
        // Named as it can be shown, its missing letters as question marks (the message shortens a long
        // path).
        wchar_t szWide[MAX_PATH] = L"";
        ::SHGetPathFromIDListW(pidl, szWide);
        AfxMessageBox(AfxUnspelledPathRefusal(szWide, TRUE), MB_OK | MB_ICONEXCLAMATION);
    }
    ::CoTaskMemFree(pidl);
    return found == AfxItemPath::Found ? path : CString();
}

// ---- CFileDialog ----

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_szFileName(), m_szFileTitle()
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (lpszDefExt != nullptr) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != nullptr)
        lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter != nullptr) {
        // The '|' separators become the terminators the system wants, and the list ends with two.
        size_t n = std::strlen(lpszFilter);
        m_filter.assign(lpszFilter, lpszFilter + n);
        m_filter.push_back('\0');
        m_filter.push_back('\0');
        for (char& c : m_filter) {
            if (c == '|')
                c = '\0';
        }
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal()
{
    if (m_ofn.hwndOwner == nullptr)
        m_ofn.hwndOwner = AfxSafeHwnd(GetSafeOwner(m_pParentWnd, nullptr));
    // The caller's template lives in the resource module unless it said otherwise.
    if ((m_ofn.Flags & OFN_ENABLETEMPLATE) && m_ofn.hInstance == nullptr)
        m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.Flags |= OFN_EXPLORER;
    BOOL bResult = m_bOpenFileDialog ? AfxGetOpenFileName(&m_ofn) : AfxGetSaveFileName(&m_ofn);
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }

CString CFileDialog::GetFileName() const
{
    CString strPath(m_ofn.lpstrFile);
    return m_ofn.nFileOffset < strPath.GetLength() ? strPath.Mid(m_ofn.nFileOffset) : CString();
}

CString CFileDialog::GetFileExt() const
{
    CString strPath(m_ofn.lpstrFile);
    if (m_ofn.nFileExtension == 0 || m_ofn.nFileExtension >= strPath.GetLength())
        return CString();
    return strPath.Mid(m_ofn.nFileExtension);
}

CString CFileDialog::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

// ---- CColorDialog ----

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cc()
{
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = g_customColors;
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0)
        m_cc.Flags |= CC_RGBINIT;
}

COLORREF* CColorDialog::GetSavedCustomColors() { return g_customColors; }

INT_PTR CColorDialog::DoModal()
{
    if (m_cc.hwndOwner == nullptr)
        m_cc.hwndOwner = AfxSafeHwnd(GetSafeOwner(m_pParentWnd, nullptr));
    return AfxChooseColor(&m_cc) ? IDOK : IDCANCEL;
}

// ---- CPrintDialog ----

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd()
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 1;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
}

INT_PTR CPrintDialog::DoModal()
{
    if (m_pd.hwndOwner == nullptr)
        m_pd.hwndOwner = AfxSafeHwnd(GetSafeOwner(m_pParentWnd, nullptr));
    return AfxPrintDlg(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    DWORD dwFlags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    BOOL bOk = ::PrintDlgA(&m_pd);
    m_pd.Flags = dwFlags;
    return bOk;
}

HDC CPrintDialog::CreatePrinterDC()
{
    CString strDriver = GetDriverName();
    CString strDevice = GetDeviceName();
    if (strDevice.IsEmpty())
        return nullptr;
    LPDEVMODEA pDevMode = GetDevMode();
    HDC hDC = ::CreateDCA(strDriver, strDevice, nullptr, pDevMode);
    if (m_pd.hDevMode != nullptr)
        ::GlobalUnlock(m_pd.hDevMode);
    m_pd.hDC = hDC;
    return hDC;
}

CString CPrintDialog::GetDeviceName() const { return DevNamesPart(m_pd.hDevNames, 0); }
CString CPrintDialog::GetDriverName() const { return DevNamesPart(m_pd.hDevNames, 1); }
CString CPrintDialog::GetPortName() const { return DevNamesPart(m_pd.hDevNames, 2); }

// Locked: the caller unlocks m_pd.hDevMode when done.
LPDEVMODEA CPrintDialog::GetDevMode() const
{
    return m_pd.hDevMode != nullptr ? static_cast<LPDEVMODEA>(::GlobalLock(m_pd.hDevMode)) : nullptr;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        LPDEVMODEA pDevMode = GetDevMode();
        int nCopies = pDevMode != nullptr ? pDevMode->dmCopies : 1;
        if (pDevMode != nullptr)
            ::GlobalUnlock(m_pd.hDevMode);
        return nCopies;
    }
    return m_pd.nCopies;
}
