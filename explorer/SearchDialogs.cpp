#include "explorer/SearchDialogs.h"

#include "shell/AppMessages.h"
#include "framework/DataExchange.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CSearchLibraryDlg, CDialog)
IMPLEMENT_DYNAMIC(CSearchProgressDlg, CDialog)

namespace {
const UINT kProgressTimer = 1;
const UINT kProgressTimerMs = 5;

std::shared_ptr<SearchProgress> NewBlock()
{
    auto pBlock = std::make_shared<SearchProgress>();
    pBlock->stopFlag = &g_nSearchStop;
    pBlock->hRunEvent = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    return pBlock;
}
} // namespace

CSearchLibraryDlg::CSearchLibraryDlg(CWnd* pParent) : CDialog(IDD_SEARCH_LIBRARY, pParent) {}

void CSearchLibraryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SEARCH_AUTHOR, m_strAuthor);
    DDV_MaxChars(pDX, m_strAuthor, kMaxCriterion);
    DDX_Text(pDX, IDC_SEARCH_COMMENT, m_strComment);
    DDV_MaxChars(pDX, m_strComment, kMaxCriterion);
    DDX_Text(pDX, IDC_SEARCH_KEYWORD, m_strKeyword);
    DDV_MaxChars(pDX, m_strKeyword, kMaxCriterion);
    DDX_Text(pDX, IDC_SEARCH_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kMaxCriterion);
    DDX_Control(pDX, IDC_SEARCH_PICTURE, m_btnPicture);
    DDX_Control(pDX, IDC_SEARCH_LOGO, m_btnLogo);
}

BEGIN_MESSAGE_MAP(CSearchProgressDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_STARTSEARCH, OnStartSearch)
END_MESSAGE_MAP()

CSearchProgressDlg::CSearchProgressDlg(CWnd* pParent)
    : CDialog(IDD_SEARCH_PROGRESS, pParent), m_pBlock(NewBlock())
{}

CSearchProgressDlg::~CSearchProgressDlg() = default;

void CSearchProgressDlg::Prepare()
{
    if (m_pBlock.use_count() > 1)
        m_pBlock = NewBlock();
    m_pBlock->Reset();
    m_pBlock->stopFlag = &g_nSearchStop;
    if (m_pBlock->hRunEvent != nullptr)
        ::SetEvent(m_pBlock->hRunEvent);
    m_nTimerId = 0;
    m_dwThreadId = 0;
    m_hThread = nullptr;
    m_bAsking = FALSE;
}

void CSearchProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SEARCH_ANIMATION, m_animation);
    DDX_Control(pDX, IDC_SEARCH_PROGRESS, m_progressBar);
}

BOOL CSearchProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nTimerId = SetTimer(kProgressTimer, kProgressTimerMs, nullptr);
    if (m_animation.Open(IDR_SEARCH_ANIMATION))
        m_animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
    m_bRangeSet = FALSE;
    m_strShownFolder.Empty();
    m_strShownFile.Empty();
    m_strShownFound = "0";
    PostMessage(WM_STARTSEARCH);
    return TRUE;
}

LRESULT CSearchProgressDlg::OnStartSearch(WPARAM, LPARAM)
{
    ShowWindow(SW_SHOW);
    UpdateWindow();
    if (m_hThread != nullptr)
        return 0;
    m_hThread = StartSearchWorker(m_pBlock, &m_dwThreadId);
    if (m_hThread == nullptr) {
        // Nothing was searched: end as a stopped search, without a window or a message.
        m_pBlock->cancel = 1;
        m_pBlock->done = 1;
    }
    return 0;
}

void CSearchProgressDlg::OnTimer(UINT nIDEvent)
{
    if (nIDEvent == kProgressTimer)
        Tick();
}

void CSearchProgressDlg::ShowIfChanged(int nID, const CString& text, BOOL skipEmpty)
{
    CString* pShown = nID == IDC_SEARCH_FOLDER ? &m_strShownFolder
                      : nID == IDC_SEARCH_FILE ? &m_strShownFile
                                               : &m_strShownFound;
    if ((skipEmpty && text.IsEmpty()) || text == *pShown)
        return;
    *pShown = text;
    SetDlgItemText(nID, text);
}

void CSearchProgressDlg::Tick()
{
    // The worker waits for the answer; its end is handled after it.
    if (m_bAsking)
        return;
    if (m_pBlock->done.load() != 0) {
        TakeSearchHits(*m_pBlock);
        HWND hNotify = m_hWndNotify;
        if (hNotify == nullptr && AfxGetMainWnd() != nullptr)
            hNotify = AfxGetMainWnd()->GetSafeHwnd();
        if (hNotify != nullptr)
            ::PostMessageA(hNotify, WM_SEARCHFINISHED, 0, 0);
        if (m_nTimerId != 0)
            KillTimer(m_nTimerId);
        m_nTimerId = 0;
        EndDialog(IDOK);
        return;
    }
    const LONG total = m_pBlock->total.load();
    if (!m_bRangeSet && total != 0) {
        // The 32-bit range: a library of more than 65535 records still fills the bar once.
        m_progressBar.SetRange32(0, total);
        m_bRangeSet = TRUE;
    }
    LONG current = m_pBlock->current.load();
    if (current > total)
        current = total;
    ShowIfChanged(IDC_SEARCH_FOLDER, m_pBlock->GetFolder(), TRUE);
    ShowIfChanged(IDC_SEARCH_FILE, m_pBlock->GetFile(), TRUE);
    char found[16];
    std::snprintf(found, sizeof(found), "%ld", static_cast<long>(m_pBlock->hits.load()));
    ShowIfChanged(IDC_SEARCH_FOUND, found, FALSE);
    m_progressBar.SetPos(current - 1 > 0 ? static_cast<int>(current - 1) : 0);
}

void CSearchProgressDlg::OnCancel()
{
    if (SearchStopRequested(m_pBlock.get()) || m_bAsking)
        return;
    m_animation.Stop();
    // The worker stops between two record files, never inside an allocation.
    if (m_pBlock->hRunEvent != nullptr)
        ::ResetEvent(m_pBlock->hRunEvent);
    m_bAsking = TRUE;
    ::MessageBeep(MB_ICONHAND);
    const int answer = AfxMessageBox(AfxLoadText(IDS_SEARCH_CONFIRM_STOP), MB_YESNO | MB_ICONQUESTION);
    m_bAsking = FALSE;
    if (answer == IDYES) {
        if (m_pBlock->stopFlag != nullptr)
            *m_pBlock->stopFlag = 1;
        m_pBlock->cancel = 1;
        CWnd* pCancel = GetDlgItem(IDCANCEL);
        if (pCancel != nullptr)
            pCancel->EnableWindow(FALSE);
    } else {
        m_animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
    }
    if (m_pBlock->hRunEvent != nullptr)
        ::SetEvent(m_pBlock->hRunEvent);
}

void CSearchProgressDlg::StopWithoutAsking()
{
    if (m_pBlock->stopFlag != nullptr)
        *m_pBlock->stopFlag = 1;
    m_pBlock->cancel = 1;
    if (m_pBlock->hRunEvent != nullptr)
        ::SetEvent(m_pBlock->hRunEvent);
}

void CSearchProgressDlg::OnDestroy()
{
    if (m_hThread != nullptr) {
        // Normally the worker is done already. A dialog torn down early tells it to stop and does not
        // wait: the worker stops at its next entry and frees the block it shares as it ends.
        if (m_pBlock->done.load() == 0)
            StopWithoutAsking();
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_nTimerId != 0)
        KillTimer(m_nTimerId);
    m_nTimerId = 0;
    CDialog::OnDestroy();
}
