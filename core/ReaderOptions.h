// What the readers consult while they load: the user's reader settings and the progress switch,
// as one per-thread value. On a thread without a scope the readers see the user's settings; a
// thumbnail load, a preview or a dialog picture puts its own values in a scope instead of
// changing the settings, so that no load, on any thread, leaves a temporary value in them.
#pragma once
#include <windows.h>

struct ReaderOptions {
    BOOL reportProgress; // the progress switch: the gauge runs only while it is non-zero
    int photoCDSize;     // "PhotoCDSize": PhotoCD resolution index 0..3
    int jpegColours;     // "CouleursJPEG": 0 24-bit, 1 8-bit, 2 by the screen depth
    int wmfWidth;        // "DefaultWmfCX": largest width a metafile is rendered to
    int wmfHeight;       // "DefaultWmfCY": largest height a metafile is rendered to

    // A copy with the progress switch set to on.
    ReaderOptions WithProgress(BOOL on) const;
};

// The user's settings (g_bReportProgress and the globals of core/ReaderSettings.h) as options.
// They belong to the user-interface thread, which alone changes them.
ReaderOptions UserReaderOptions();

// The options in force on the calling thread: those of its innermost CReaderOptionsScope, or the
// user's settings when none is open. A worker thread loads inside a scope of its own (as
// LoadThumbnailDIB does), so that it never depends on the interface thread's changes.
ReaderOptions CurrentReaderOptions();

// Puts options in force on the calling thread for its lifetime, then brings back what was in
// force before. Scopes nest; each thread has its own.
class CReaderOptionsScope {
public:
    explicit CReaderOptionsScope(const ReaderOptions& options);
    ~CReaderOptionsScope();
    CReaderOptionsScope(const CReaderOptionsScope&) = delete;
    CReaderOptionsScope& operator=(const CReaderOptionsScope&) = delete;

private:
    ReaderOptions m_options;
    const ReaderOptions* m_previous;
};
