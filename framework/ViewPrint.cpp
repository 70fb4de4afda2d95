// The print loop of views: preparing the job (print dialog or default printer), the page loop with
// its printing-status dialog and abort procedure, and the default continue-printing rule.
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/Print.h"
#include "framework/TestSeams.h"
#include "framework/View.h"
#include "framework/WinApp.h"

#include <initializer_list>
#include <vector>

// ---- CPrintInfo ----

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION))
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    if (m_pPD->m_pd.hDC != nullptr)
        ::DeleteDC(m_pPD->m_pd.hDC);
    // Printer blocks that did not become the application's are ours to free.
    CWinApp* pApp = AfxGetApp();
    HGLOBAL hAppMode = pApp != nullptr ? pApp->m_hDevMode : nullptr;
    HGLOBAL hAppNames = pApp != nullptr ? pApp->m_hDevNames : nullptr;
    if (m_pPD->m_pd.hDevMode != nullptr && m_pPD->m_pd.hDevMode != hAppMode)
        ::GlobalFree(m_pPD->m_pd.hDevMode);
    if (m_pPD->m_pd.hDevNames != nullptr && m_pPD->m_pd.hDevNames != hAppNames)
        ::GlobalFree(m_pPD->m_pd.hDevNames);
    delete m_pPD;
}

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage();
}

namespace {

// ---- a dialog template built in memory ----

class DialogTemplate {
public:
    DialogTemplate(LPCSTR title, DWORD style, short cx, short cy)
    {
        Dword(style | DS_SETFONT);
        Dword(0);
        m_countAt = m_words.size();
        Word(0);
        Words({0, 0, static_cast<WORD>(cx), static_cast<WORD>(cy)});
        Word(0); // no menu
        Word(0); // the dialog class
        Text(title);
        Word(8);
        Text("MS Sans Serif");
    }
    void Item(WORD id, WORD atom, LPCSTR text, DWORD style, short x, short y, short cx, short cy)
    {
        if (m_words.size() % 2)
            Word(0); // items start on a DWORD
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Words({static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx), static_cast<WORD>(cy)});
        Word(id);
        Words({0xFFFF, atom}); // a predefined class
        Text(text);
        Word(0);
        ++m_words[m_countAt];
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Words(std::initializer_list<WORD> words) { m_words.insert(m_words.end(), words); }
    void Dword(DWORD d) { Words({LOWORD(d), HIWORD(d)}); }
    void Text(LPCSTR text)
    {
        int n = ::MultiByteToWideChar(1252, 0, text, -1, nullptr, 0);
        std::vector<WCHAR> wide(n > 0 ? n : 1);
        ::MultiByteToWideChar(1252, 0, text, -1, wide.data(), n);
        for (WCHAR c : wide)
            Word(c);
    }
    std::vector<WORD> m_words;
    size_t m_countAt = 0;
};

const WORD kAtomButton = 0x0080;
const WORD kAtomStatic = 0x0082;
const int kIdDocText = 100;
const int kIdPrinterText = 101;
const int kIdPageText = 102;

// The modeless status window of a running job; Cancel (or Escape) asks the job to stop.
class CPrintStatusDlg : public CDialog {
public:
    BOOL Create(CWnd* pOwner, LPCSTR lpszDoc, LPCSTR lpszPrinter, LPCSTR lpszPort)
    {
        CString strDoc = AfxLoadText(AFX_IDS_PRINT_STATUS_DOC);
        strDoc.Replace("%1", lpszDoc);
        CString strPrinter = AfxLoadText(AFX_IDS_PRINT_STATUS_PRINTER);
        strPrinter.Replace("%1", lpszPrinter);
        strPrinter.Replace("%2", lpszPort);
        DialogTemplate t(AfxLoadText(AFX_IDS_PRINT_STATUS_TITLE),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 200, 84);
        t.Item(kIdDocText, kAtomStatic, strDoc, SS_CENTER | SS_NOPREFIX, 6, 8, 188, 10);
        t.Item(kIdPrinterText, kAtomStatic, strPrinter, SS_CENTER | SS_NOPREFIX, 6, 20, 188, 10);
        t.Item(kIdPageText, kAtomStatic, "", SS_CENTER | SS_NOPREFIX, 6, 36, 188, 10);
        t.Item(IDCANCEL, kAtomButton, AfxLoadText(AFX_IDS_CANCEL), BS_DEFPUSHBUTTON | WS_TABSTOP, 72, 60, 56,
               16);
        return CreateIndirect(t.Get(), pOwner);
    }
    void SetPage(UINT nPage)
    {
        CString s;
        s.Format(AfxLoadText(AFX_IDS_PRINT_STATUS_PAGE), nPage);
        SetDlgItemText(kIdPageText, s);
    }
    BOOL OnInitDialog() override { return TRUE; }
    void OnOK() override {}
    void OnCancel() override;
    void PostNcDestroy() override {}
};

// The job being printed on this thread (one at a time: the print loop disables the main window).
struct PrintJob {
    CPrintStatusDlg* pStatus = nullptr;
    BOOL bUserAbort = FALSE;
};
PrintJob* g_pJob = nullptr;

void CPrintStatusDlg::OnCancel()
{
    if (g_pJob != nullptr)
        g_pJob->bUserAbort = TRUE;
    EnableWindow(FALSE); // one press is enough
}

// Keeps the status window answering while the printer driver works.
BOOL CALLBACK AbortProc(HDC, int)
{
    MSG msg;
    while (g_pJob != nullptr && !g_pJob->bUserAbort && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        HWND hStatus = g_pJob->pStatus != nullptr ? g_pJob->pStatus->m_hWnd : nullptr;
        if (hStatus == nullptr || !::IsDialogMessageW(hStatus, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return g_pJob == nullptr || !g_pJob->bUserAbort;
}

} // namespace

HWND AfxGetPrintStatusWindow()
{
    return g_pJob != nullptr && g_pJob->pStatus != nullptr ? g_pJob->pStatus->m_hWnd : nullptr;
}

// ---- CView ----

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    // A job that does not know its last page prints one page.
    if (pInfo != nullptr)
        pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* pApp = AfxGetApp();
    CPrintDialog* pPD = pInfo->m_pPD;
    PRINTDLGA pd = {};
    if (pApp != nullptr)
        pApp->GetPrinterDeviceDefaults(&pd);
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        // The printer already chosen (or the default one), without asking.
        pPD->m_pd.hDevMode = pd.hDevMode;
        pPD->m_pd.hDevNames = pd.hDevNames;
        if (pPD->m_pd.hDevNames == nullptr && !pPD->GetDefaults()) {
            AfxMessageBox(AFX_IDP_NO_PRINTER);
            return FALSE;
        }
        if (pPD->m_pd.hDC == nullptr && pPD->CreatePrinterDC() == nullptr) {
            AfxMessageBox(AFX_IDP_NO_PRINTER);
            return FALSE;
        }
    } else {
        if (pd.hDevNames == nullptr) {
            AfxMessageBox(AFX_IDP_NO_PRINTER);
            return FALSE;
        }
        pPD->m_pd.hDevMode = pd.hDevMode;
        pPD->m_pd.hDevNames = pd.hDevNames;
        pPD->m_pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
        pPD->m_pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
        pPD->m_pd.Flags |= PD_RETURNDC;
        INT_PTR nResult = pPD->DoModal();
        // The dialog may have replaced the blocks: they are the application's from now on.
        if (pApp != nullptr && pPD->m_pd.hDevNames != nullptr) {
            pApp->m_hDevMode = pPD->m_pd.hDevMode;
            pApp->m_hDevNames = pPD->m_pd.hDevNames;
        }
        if (nResult != IDOK)
            return FALSE;
        if (pPD->m_pd.hDC == nullptr && pPD->CreatePrinterDC() == nullptr) {
            AfxMessageBox(AFX_IDP_PRINT_FAILED);
            return FALSE;
        }
    }
    pInfo->m_nCurPage = pInfo->GetFromPage();
    return TRUE;
}

void CView::OnFilePrint()
{
    CPrintInfo printInfo;
    if (!OnPreparePrinting(&printInfo))
        return;
    HDC hPrinter = printInfo.m_pPD->m_pd.hDC;
    if (hPrinter == nullptr)
        return;

    CDC dcPrint;
    dcPrint.Attach(hPrinter);
    dcPrint.m_bPrinting = TRUE;
    printInfo.m_pPD->m_pd.hDC = nullptr; // the CDC deletes it now

    CString strTitle = m_pDocument != nullptr ? m_pDocument->GetTitle() : CString();
    if (strTitle.GetLength() > 200)
        strTitle = strTitle.Left(200);
    DOCINFOA di = {};
    di.cbSize = sizeof(di);
    di.lpszDocName = strTitle;

    PrintJob job;
    PrintJob* pOuterJob = g_pJob;
    g_pJob = &job;
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = AfxSafeHwnd(pMain);
    BOOL bMainWasEnabled = hMain != nullptr && ::IsWindowEnabled(hMain);
    CPrintStatusDlg dlgStatus;
    job.pStatus = &dlgStatus;

    OnBeginPrinting(&dcPrint, &printInfo);

    // The document starts with its first page: a job with nothing to print sends nothing.
    BOOL bStarted = FALSE;
    BOOL bError = FALSE;
    UINT nPages = 0;
    UINT nEndPage = printInfo.GetToPage();
    for (printInfo.m_nCurPage = printInfo.GetFromPage(); printInfo.m_nCurPage <= nEndPage && !bError;
         printInfo.m_nCurPage++) {
        OnPrepareDC(&dcPrint, &printInfo);
        if (!printInfo.m_bContinuePrinting)
            break;
        if (!bStarted) {
            if (hMain != nullptr)
                ::EnableWindow(hMain, FALSE);
            dlgStatus.Create(pMain, strTitle, printInfo.m_pPD->GetDeviceName(),
                             printInfo.m_pPD->GetPortName());
            dlgStatus.ShowWindow(SW_SHOW);
            dlgStatus.UpdateWindow();
            dcPrint.SetAbortProc(AbortProc);
            if (dcPrint.StartDoc(&di) <= 0) {
                bError = TRUE;
                break;
            }
            bStarted = TRUE;
        }
        dlgStatus.SetPage(printInfo.m_nCurPage);
        printInfo.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
        dcPrint.DPtoLP(&printInfo.m_rectDraw);
        if (dcPrint.StartPage() <= 0) {
            bError = TRUE;
            break;
        }
        // StartPage may reset the DC's attributes.
        OnPrepareDC(&dcPrint, &printInfo);
        OnPrint(&dcPrint, &printInfo);
        ++nPages;
        AfxTestPrintedPage(printInfo.m_nCurPage);
        if (dcPrint.EndPage() <= 0 || !AbortProc(dcPrint.m_hDC, 0))
            bError = TRUE;
    }

    OnEndPrinting(&dcPrint, &printInfo);
    if (bStarted) {
        if (!bError)
            dcPrint.EndDoc();
        else
            dcPrint.AbortDoc();
    }

    if (hMain != nullptr && bMainWasEnabled)
        ::EnableWindow(hMain, TRUE);
    if (dlgStatus.m_hWnd != nullptr)
        dlgStatus.DestroyWindow();
    BOOL bUserAbort = job.bUserAbort;
    g_pJob = pOuterJob;

    if (bError && !bUserAbort)
        AfxMessageBox(AFX_IDP_PRINT_FAILED);
    else if (nPages == 0 && !bError)
        AfxMessageBox(AFX_IDP_PRINT_NOTHING, MB_ICONINFORMATION);
}
