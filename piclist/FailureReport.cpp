#include "piclist/FailureReport.h"

#include "core/StringUtil.h"
#include "framework/MessageText.h"
#include "framework/WinApp.h"
#include "piclist/FailureCause.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

namespace {

// The batch running on this thread (a batch runs inside one command of the user-interface thread).
thread_local CFailureBatch* t_pBatch = nullptr;
// The innermost holder of this thread, while a list is filled.
thread_local CHeldReports* t_pHeld = nullptr;

// A summary names at most this many failures; the rest are counted.
const size_t kSummaryLines = 12;

// The line that counts what a summary leaves out.
CString LeftOutLine(size_t count)
{
    if (count == 1)
        return LoadStringOr(IDS_BATCH_SUMMARY_ONE_MORE, "... et 1 autre.");
    CString line;
    line.Format(LoadStringOr(IDS_BATCH_SUMMARY_MORE, "... et %d autres."), static_cast<int>(count));
    return line;
}

void ShowFailure(const CString& text, UINT nIcon)
{
    ::MessageBeep(0xFFFFFFFF);
    AfxMessageBox(text, MB_OK | nIcon);
}

} // namespace

CString SummaryOfFailures(const CString& head, const std::vector<CString>& lines)
{
    CString text = head;
    size_t shown = 0;
    for (; shown < lines.size() && shown < kSummaryLines; ++shown) {
        const CString longer = text + "\n" + lines[shown];
        const size_t rest = lines.size() - shown - 1;
        if (!AfxMessageFitsScreen(rest == 0 ? longer : longer + "\n" + LeftOutLine(rest)))
            break;
        text = longer;
    }
    if (shown < lines.size())
        text += "\n" + LeftOutLine(lines.size() - shown);
    return text;
}

void ReportFileFailure(const CString& text, UINT nIcon)
{
    if (t_pHeld != nullptr) {
        t_pHeld->Add(text, nIcon);
        return;
    }
    if (t_pBatch != nullptr) {
        t_pBatch->Add(text, nIcon);
        return;
    }
    ShowFailure(text, nIcon);
}

void ReportStepFailure(const CString& text, UINT nIcon)
{
    ReportFileFailure(WithFailedStepCause(text), nIcon);
}

BOOL AskRetryOfFailedStep(const CString& text, UINT nIcon)
{
    const FailedStep step = FirstFailedStep();
    const BOOL retry = step.failed && CanSucceedLater(StepCause(step));
    ::MessageBeep(0xFFFFFFFF);
    return AfxMessageBox(text, (retry ? MB_RETRYCANCEL : MB_OK) | nIcon) == IDRETRY && retry;
}

void ReportAddFailure(const CString& sourcePath)
{
    CString text;
    text.Format(LoadStringOr(IDS_ADD_FAILED, "Impossible d'ajouter %s \xE0 la biblioth\xE8que."),
                static_cast<LPCSTR>(sourcePath));
    ReportStepFailure(text, MB_ICONEXCLAMATION);
}

CHeldReports::CHeldReports() : m_pOuter(t_pHeld) { t_pHeld = this; }

CHeldReports::~CHeldReports() { Release(); }

void CHeldReports::Release()
{
    if (!m_bHolding)
        return;
    m_bHolding = FALSE;
    // Holders end in the reverse order of their start, on the thread that made them.
    t_pHeld = m_pOuter;
}

void CHeldReports::Add(const CString& text, UINT nIcon)
{
    for (const auto& report : m_reports) {
        if (report.first == text)
            return;
    }
    m_reports.emplace_back(text, nIcon);
}

void CHeldReports::Tell()
{
    Release();
    std::vector<std::pair<CString, UINT>> reports;
    reports.swap(m_reports);
    for (const auto& report : reports) {
        if (m_pOuter != nullptr)
            m_pOuter->Add(report.first, report.second);
        else // not a failure of a batch that may run around the listing
            ShowFailure(report.first, report.second);
    }
}

CFailureBatch::CFailureBatch(int total) : m_total(total)
{
    if (t_pBatch == nullptr) {
        t_pBatch = this;
        m_bActive = TRUE;
    }
}

void CFailureBatch::Add(const CString& text, UINT nIcon)
{
    m_texts.push_back(text);
    if (m_texts.size() != 1)
        return;
    ::MessageBeep(0xFFFFFFFF);
    // The first failure is said at once; the user may stop the batch there.
    if (m_done + 1 >= m_total) {
        AfxMessageBox(text, MB_OK | nIcon);
        return;
    }
    CString question;
    question.Format(LoadStringOr(IDS_BATCH_GO_ON, "%s\n\nContinuer avec les \xE9l\xE9ments suivants ?"),
                    static_cast<LPCSTR>(text));
    if (AfxMessageBox(question, MB_YESNO | nIcon) == IDNO)
        m_bStopped = TRUE;
}

CFailureBatch::~CFailureBatch()
{
    if (!m_bActive)
        return;
    t_pBatch = nullptr;
    if (m_texts.size() < 2)
        return;
    CString head;
    head.Format(LoadStringOr(IDS_BATCH_SUMMARY, "%d op\xE9rations n'ont pas abouti :"),
                static_cast<int>(m_texts.size()));
    const CString summary = SummaryOfFailures(head, m_texts);
    AfxMessageBox(summary, MB_OK | MB_ICONEXCLAMATION);
}
