// Routing of progress reports to the main frame's gauge.
#include "core/Progress.h"

#include <atomic>

#include "core/ReaderOptions.h"
#include "framework/String.h"

BOOL g_bReportProgress = TRUE;

namespace {
std::atomic<IProgressSink*> g_sink{nullptr};
std::atomic<DWORD> g_sinkThread{0};

IProgressSink* SinkForThisThread()
{
    IProgressSink* sink = g_sink.load();
    if (sink == nullptr || g_sinkThread.load() != GetCurrentThreadId())
        return nullptr;
    return sink;
}
} // namespace

bool ShouldReportProgress() { return CurrentReaderOptions().reportProgress != FALSE; }

void SetProgressSink(IProgressSink* sink)
{
    g_sinkThread = GetCurrentThreadId();
    g_sink = sink;
}

void BeginProgress(LPCSTR text)
{
    if (IProgressSink* sink = SinkForThisThread())
        sink->BeginProgress(text);
}

void BeginProgress(UINT stringId)
{
    IProgressSink* sink = SinkForThisThread();
    if (sink == nullptr)
        return;
    char text[256] = "";
    if (stringId != 0)
        LoadStringA(AfxGetResourceHandle(), stringId, text, sizeof(text));
    sink->BeginProgress(text);
}

void SetProgress(DWORD done, DWORD total)
{
    if (IProgressSink* sink = SinkForThisThread())
        sink->SetProgress(done, total);
}

void EndProgress()
{
    if (IProgressSink* sink = SinkForThisThread())
        sink->EndProgress();
}

CProgressScope::CProgressScope(LPCSTR text) : m_on(ShouldReportProgress())
{
    if (m_on)
        BeginProgress(text);
}

CProgressScope::~CProgressScope()
{
    if (m_on)
        EndProgress();
}

void CProgressScope::Row(DWORD done, DWORD total) const
{
    if (m_on)
        SetProgress(done, total);
}
