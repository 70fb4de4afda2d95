// What could not be done in the library's file operations, said to the user: alone, one message per
// failure; inside a batch, the first failure asks whether to go on and the others wait for one
// summary at the end.
#pragma once
#include "framework/String.h"

#include <windows.h>

#include <utility>
#include <vector>

// Shows text as a stop message, or, while a batch runs on this thread, hands it to
// the batch.
void ReportFileFailure(const CString& text, UINT nIcon = MB_ICONSTOP);
// The same, with the reason of the first step that failed since ForgetFailedStep (FailureCause.h).
void ReportStepFailure(const CString& text, UINT nIcon = MB_ICONSTOP);

// Shows text, which says why already, offering Retry and Cancel where the first step that failed
// since ForgetFailedStep can succeed later (a full disk, a file another program holds), else OK
// alone; never handed to a batch. TRUE when the user chose Retry.
BOOL AskRetryOfFailedStep(const CString& text, UINT nIcon = MB_ICONSTOP);

// A summary of several things that failed: head, then the lines, as many as one message box shows
// on the screen (twelve at most), then how many were left out ("... et 1 autre.", "... et 3
// autres.").
CString SummaryOfFailures(const CString& head, const std::vector<CString>& lines);

// Says that a picture could not be added to the library (its source path named), and why when a
// step failed.
void ReportAddFailure(const CString& sourcePath);

// The messages of file steps held back while a list is filled: a box in the middle of a listing runs
// a modal loop whose timers would list the folder again into the half-filled list. While a holder
// lives on this thread, ReportFileFailure keeps its messages there (before any batch).
class CHeldReports {
public:
    CHeldReports();
    ~CHeldReports(); // holds no more; what was held and not told is dropped
    CHeldReports(const CHeldReports&) = delete;
    CHeldReports& operator=(const CHeldReports&) = delete;

    // Holds no more and says what was held, each message once, in the order they came. A holder
    // inside another hands them to it instead: they are said when the outer listing ends.
    void Tell();

private:
    friend void ReportFileFailure(const CString& text, UINT nIcon);
    void Add(const CString& text, UINT nIcon);
    void Release();

    CHeldReports* m_pOuter = nullptr;
    BOOL m_bHolding = TRUE;
    std::vector<std::pair<CString, UINT>> m_reports;
};

// A batch of file operations on several items (delete, restore, erase, move, copy, export, import).
// Batches do not nest: an inner one leaves the failures to the outer one.
class CFailureBatch {
public:
    // total: how many items the batch holds; no question is asked after the last one.
    explicit CFailureBatch(int total);
    ~CFailureBatch(); // shows the summary when more than one failure was seen
    CFailureBatch(const CFailureBatch&) = delete;
    CFailureBatch& operator=(const CFailureBatch&) = delete;

    // Counts one item as done (call after each item, failed or not).
    void Next() { ++m_done; }
    // TRUE once the user chose to stop after a failure.
    BOOL Stopped() const { return m_bStopped; }
    int Failures() const { return static_cast<int>(m_texts.size()); }

private:
    friend void ReportFileFailure(const CString& text, UINT nIcon);
    void Add(const CString& text, UINT nIcon);

    BOOL m_bActive = FALSE;
    int m_total = 0;
    int m_done = 0;
    BOOL m_bStopped = FALSE;
    std::vector<CString> m_texts;
};
