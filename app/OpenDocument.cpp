// Opening documents: the one entry every open goes through (reusing a window already showing the path,
// folders to an explorer window, missing files, the template by file type, the recent list), and the
// operations that open a new window of each kind; the File > Open command.
#include "app/MainFrame.h"
#include "app/RecentList.h"
#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "core/BusyCursor.h"
#include "core/FileTypes.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "explorer/ExplorerDoc.h"
#include "explorer/ExplorerView.h"
#include "framework/CommonDialogs.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIChildWnd.h"
#include "framework/PathDoor.h"
#include "framework/View.h"
#include "piclist/FailureReport.h"
#include "resources/resource.h"
#include "shell/LibraryLink.h"
#include "shell/OpenDialog.h"
#include "viewers/ViewerGlobals.h"

#include <new>

namespace {

// The MDI children of the main frame, the active one first, then in window order.
template <class F> void ForEachChildFromActive(F&& visit)
{
    if (g_pMainFrame == nullptr)
        return;
    CMDIChildWnd* pActive = g_pMainFrame->MDIGetActive();
    if (pActive == nullptr)
        return;
    for (HWND hWnd = pActive->m_hWnd; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
            if (visit(static_cast<CMDIChildWnd*>(pWnd)))
                return;
        }
    }
}

void ActivateChild(CMDIChildWnd* pChild)
{
    if (pChild->IsIconic())
        pChild->ShowWindow(SW_RESTORE);
    g_pMainFrame->MDIActivate(pChild);
}

// Pictures of the protected folder never enter the recent list; the library knows where it lies.
bool IsInProtectedFolder(LPCSTR lpszPath)
{
    return g_pLibraryLink != nullptr && g_pLibraryLink->IsProtectedPath(lpszPath);
}

// A beep, then a stop box whose text names the file (its name alone).
void ReportAboutFile(UINT nTextId, LPCSTR lpszPath)
{
    ::MessageBeep(0xFFFFFFFF);
    CString strFolder, strName;
    SplitPath(lpszPath, &strFolder, &strName);
    CString strText;
    strText.Format(AfxLoadText(nTextId), static_cast<LPCSTR>(strName));
    AfxMessageBox(strText, MB_ICONSTOP);
}

void RefillRecentCombo()
{
    if (g_pMainFrame != nullptr)
        g_pMainFrame->FillRecentCombo();
}

} // namespace

CDocument* CTessarineApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    // An empty path names nothing (a second start without arguments only brings the window forward).
    if (lpszFileName == nullptr || lpszFileName[0] == '\0')
        return nullptr;
    // A path that came in with letters the code page lacks, marked: refused for them, not as missing.
    const CString unspelled = AfxMarkedPathRefusal(lpszFileName);
    if (!unspelled.IsEmpty()) {
        AfxMessageBox(unspelled, MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }

    // Already shown: that window comes forward and nothing else changes.
    CMDIChildWnd* pShowing = nullptr;
    ForEachChildFromActive([&](CMDIChildWnd* pChild) {
        CDocument* pDoc = pChild->GetActiveDocument();
        if (pChild->GetActiveView() != nullptr && pDoc != nullptr && !pDoc->GetPathName().IsEmpty()
            && ::lstrcmpiA(pDoc->GetPathName(), lpszFileName) == 0) {
            pShowing = pChild;
            return true;
        }
        return false;
    });
    if (pShowing != nullptr) {
        ActivateChild(pShowing);
        return nullptr;
    }

    CDocument* pDocument = nullptr;
    if (FolderExists(lpszFileName)) {
        CDocTemplate* pTemplate = GetTemplate(kTemplateExplorer);
        if (pTemplate != nullptr)
            pDocument = pTemplate->OpenDocumentFile(lpszFileName, TRUE);
    } else {
        if (GetFileTypeFromExt(lpszFileName) == kFileTypeUnknown) {
            // Refused, but never in silence: the user asked for this file (in a batch, once for all).
            if (m_pRefusedTypes != nullptr)
                m_pRefusedTypes->push_back(lpszFileName);
            else
                ReportAboutFile(IDS_DOCUMENT_TYPE_UNKNOWN, lpszFileName);
            return nullptr;
        }
        if (!FileExists(lpszFileName)) {
            ReportAboutFile(IDS_DOCUMENT_MISSING, lpszFileName);
            ForgetRecentPath(lpszFileName);
            RefillRecentCombo();
            return nullptr;
        }
        int nCode = kFileTypeUnknown;
        if (GetFileCategory(lpszFileName, &nCode) == kCategoryImage) {
            CDocTemplate* pTemplate = GetTemplate(nCode == kFileTypeGIF ? kTemplateGif : kTemplateDib);
            if (pTemplate != nullptr)
                pDocument = pTemplate->OpenDocumentFile(lpszFileName, TRUE);
        }
    }

    // The recent list names what opened: after a retry in the load-error dialog the document holds
    // another path than the one asked for. The same path keeps the caller's form.
    CString strOpened = lpszFileName;
    if (pDocument != nullptr && !pDocument->GetPathName().IsEmpty()
        && ::lstrcmpiA(pDocument->GetPathName(), lpszFileName) != 0)
        strOpened = pDocument->GetPathName();
    if (pDocument != nullptr && !IsInProtectedFolder(strOpened)) {
        PromoteRecentPath(strOpened);
        RefillRecentCombo();
    }
    g_bArrangePending = TRUE;
    return pDocument;
}

void CTessarineApp::OpenDocumentFiles(const std::vector<CString>& paths)
{
    std::vector<CString> refused;
    {
        // An open inside another batch leaves its refusals to that batch.
        struct Restore {
            std::vector<CString>*& slot;
            std::vector<CString>* outer;
            ~Restore() { slot = outer; }
        } restore{m_pRefusedTypes, m_pRefusedTypes};
        if (m_pRefusedTypes == nullptr)
            m_pRefusedTypes = &refused;
        for (const CString& path : paths)
            OpenDocumentFile(path);
    }
    if (refused.size() == 1)
        ReportAboutFile(IDS_DOCUMENT_TYPE_UNKNOWN, refused.front());
    if (refused.size() < 2)
        return;
    // The names alone, as the message for one file gives it.
    std::vector<CString> names;
    for (const CString& path : refused) {
        CString folder, name;
        SplitPath(path, &folder, &name);
        names.push_back(name);
    }
    const CString text = SummaryOfFailures(AfxLoadText(IDS_DOCUMENTS_TYPE_UNKNOWN), names);
    ::MessageBeep(0xFFFFFFFF);
    AfxMessageBox(text, MB_ICONSTOP);
}

void CTessarineApp::NewExplorerWindow()
{
    SetAppCursor(kAppCursorBusy);
    CDocTemplate* pTemplate = GetTemplate(kTemplateExplorer);
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr, TRUE);
    RestoreAppCursor();
    g_bArrangePending = TRUE;
}

void CTessarineApp::NewPrintLibWindow()
{
    CDocTemplate* pTemplate = GetTemplate(kTemplatePrintLib);
    if (pTemplate == nullptr)
        return;
    // Opened hidden: shown, the window would be maximised over the user's pictures when the active
    // window is, or when windows open maximised, undoing its move off the screen.
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr, FALSE);
    if (pDoc == nullptr)
        return;
    POSITION pos = pDoc->GetFirstViewPosition();
    CView* pView = pos != nullptr ? pDoc->GetNextView(pos) : nullptr;
    CFrameWnd* pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
    if (pFrame != nullptr)
        pFrame->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
}

void CTessarineApp::NewSearchWindow()
{
    CDocTemplate* pTemplate = GetTemplate(kTemplateSearch);
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr, TRUE);
}

void CTessarineApp::NewImageWindow(HGLOBAL hDIB)
{
    if (hDIB == nullptr)
        return;
    g_hNewImageDIB = hDIB;
    CDocTemplate* pTemplate = GetTemplate(kTemplateDib);
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr, TRUE);
    // A window that failed before its document took the picture leaves it here: nobody else will free it.
    HGLOBAL hLeft = TakeNewImageDIB();
    if (hLeft != nullptr)
        ::GlobalFree(hLeft);
}

// A folder path as explorer documents hold it: no trailing backslash, except at a drive's root.
static CString ExplorerFolderKey(const CString& path)
{
    CString key = path;
    while (key.GetLength() > 3 && key.Right(1) == "\\")
        key = key.Left(key.GetLength() - 1);
    return key;
}

void CTessarineApp::OpenExplorerOnFolder(LPCSTR lpszFolder)
{
    const CString wanted = ExplorerFolderKey(lpszFolder);
    CMDIChildWnd* pShowing = nullptr;
    ForEachChildFromActive([&](CMDIChildWnd* pChild) {
        CView* pView = pChild->GetActiveView();
        if (pView != nullptr && pView->IsKindOf(RUNTIME_CLASS(CExplorerView))) {
            CDocument* pDoc = static_cast<CExplorerView*>(pView)->GetDocument();
            if (pDoc != nullptr && ExplorerFolderKey(pDoc->GetPathName()).CompareNoCase(wanted) == 0) {
                pShowing = pChild;
                return true;
            }
        }
        return false;
    });
    if (pShowing != nullptr) {
        ActivateChild(pShowing);
        return;
    }
    // No window shows it yet: a new explorer window on the folder.
    CDocTemplate* pTemplate = GetTemplate(kTemplateExplorer);
    if (pTemplate != nullptr && FolderExists(wanted))
        pTemplate->OpenDocumentFile(wanted, TRUE);
    g_bArrangePending = TRUE;
}

void CTessarineApp::OnFileOpen()
{
    CString strFilter;
    BuildOpenFileFilter(strFilter);
    CFileDialog dlg(TRUE, "bmp", nullptr,
                    OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK
                        | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    strFilter, nullptr);
    dlg.m_ofn.Flags &= ~OFN_SHOWHELP;
    CString strTitle = AfxLoadText(IDS_OPEN_TITLE);
    dlg.m_ofn.lpstrTitle = strTitle;
    dlg.m_ofn.hInstance = AfxGetResourceHandle();
    dlg.m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_OPEN_PREVIEW);
    dlg.m_ofn.lpfnHook = OpenPreviewHook;

    // A large buffer, so that a long selection is not lost; smaller ones when memory is short.
    char szLocal[256] = "";
    char* pBuffer = nullptr;
    DWORD nSize = 0;
    for (DWORD nTry : {65536u, 16384u, 2048u}) {
        // Zeroed: a single name comes back with one terminator only.
        pBuffer = new (std::nothrow) char[nTry]();
        if (pBuffer != nullptr) {
            nSize = nTry;
            break;
        }
    }
    char* pName = pBuffer != nullptr ? pBuffer : szLocal;
    if (pBuffer == nullptr)
        nSize = sizeof(szLocal);
    dlg.m_ofn.lpstrFile = pName;
    dlg.m_ofn.nMaxFile = nSize;

    if (dlg.DoModal() == IDOK)
        OpenDocumentFiles(ParseOpenSelection(pName, nSize));
    delete[] pBuffer;
}
