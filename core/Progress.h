// The progress gauge as the picture code sees it: long operations report begin / set / end, and
// the main frame, once it exists, shows them in the first status-bar pane.
#pragma once
#include <windows.h>

// The user's progress switch: operations report progress only while it is non-zero. Loads that
// must stay quiet (thumbnails, dialog pictures) turn the gauge off for themselves through a
// CReaderOptionsScope (core/ReaderOptions.h) and leave this switch alone.
extern BOOL g_bReportProgress;

// Whether an operation started now on the calling thread reports progress: the progress switch of
// the thread's reader options.
bool ShouldReportProgress();

// Implemented by the main frame. The picture code never calls it directly.
class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    // text: the gauge's caption; null or empty shows the gauge's default text.
    virtual void BeginProgress(LPCSTR text) = 0;
    virtual void SetProgress(DWORD done, DWORD total) = 0;
    virtual void EndProgress() = 0;
};

// Installs the sink (0 removes it). The installing thread becomes the only thread whose reports
// reach it: calls from any other thread (the search worker) do nothing.
void SetProgressSink(IProgressSink* sink);

// Report to the installed sink; silent without one. The string-table form loads the caption from
// the program's resources (string id 0 means the default text).
void BeginProgress(LPCSTR text);
void BeginProgress(UINT stringId);
void SetProgress(DWORD done, DWORD total);
void EndProgress();

// The gauge for one read or write done row by row: begins (null or empty text: the default
// caption) when the calling thread reports progress, reports each row, and ends when it goes out
// of scope, also when the reader returns early.
class CProgressScope {
public:
    explicit CProgressScope(LPCSTR text = nullptr);
    ~CProgressScope();
    CProgressScope(const CProgressScope&) = delete;
    CProgressScope& operator=(const CProgressScope&) = delete;

    // done of total rows are finished.
    void Row(DWORD done, DWORD total) const;

private:
    bool m_on;
};
