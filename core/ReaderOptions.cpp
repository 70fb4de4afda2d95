// The per-thread reader options.
#include "core/ReaderOptions.h"

#include "core/Progress.h"
#include "core/ReaderSettings.h"

namespace {
// The innermost scope's options on this thread; null outside every scope.
thread_local const ReaderOptions* t_options = nullptr;
} // namespace

ReaderOptions ReaderOptions::WithProgress(BOOL on) const
{
    ReaderOptions options = *this;
    options.reportProgress = on;
    return options;
}

ReaderOptions UserReaderOptions()
{
    return ReaderOptions{g_bReportProgress, g_PhotoCDSize, g_CouleursJPEG, g_DefaultWmfCX, g_DefaultWmfCY};
}

ReaderOptions CurrentReaderOptions() { return t_options ? *t_options : UserReaderOptions(); }

CReaderOptionsScope::CReaderOptionsScope(const ReaderOptions& options)
    : m_options(options), m_previous(t_options)
{
    t_options = &m_options;
}

CReaderOptionsScope::~CReaderOptionsScope() { t_options = m_previous; }
