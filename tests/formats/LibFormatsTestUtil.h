// Helpers of the JPEG, PNG, GIF and TIFF reader tests: pictures built in code, the process's
// resource counts, picconv runs and the readers' state (pixels and their comparison: PictureCompare.h).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/PackedDib.h"
#include "core/Progress.h"
#include "tests/formats/PictureCompare.h"

namespace libfmt {

using namespace pictest;

// A small DIB built in code: width x height at the given depth, pixels from index(x, y) (top-down
// coordinates), colour table from colors (for 1, 4, 8 bits) or colour(x, y) for 24 bits.
PackedDIB MakeIndexedDib(int width, int height, WORD bits, const std::vector<RGBQUAD>& colors,
                         int (*index)(int x, int y));
PackedDIB MakeTrueColorDib(int width, int height, void (*color)(int x, int y, BYTE* rgb));

// Counts that a leaking reader makes grow: kernel handles, GDI and USER objects, private bytes.
struct ResourceSnapshot {
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T privateBytes = 0;
    static ResourceSnapshot Take();
};

// Bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);
bool FileExistsA(const std::string& path);

// Runs build/tools/picconv.exe IN OUT.bmp [--thumb WxH] and returns its exit status; -1 when it
// cannot be started or does not end within a minute.
int RunPicconv(const std::string& in, const std::string& out, const char* thumbBox = nullptr);

// picconv's output for IN compared with the reader's own result and, when given, a reference:
// picconv must succeed and write exactly what the reader returns.
void ExpectPicconvMatchesReader(const std::string& in, PackedDIB (*reader)(LPCSTR path));

// Where prepare-libformats.sh put its references, and the libraries' own test pictures.
std::string ReferenceDir(const char* format); // build/testdata/formats/<format>
std::string TestImage(const char* format, const char* name);

// Records what a reader reports to the gauge while it is installed (on the installing thread).
class RecordingProgress : public IProgressSink {
public:
    RecordingProgress() { SetProgressSink(this); }
    ~RecordingProgress() override { SetProgressSink(nullptr); }
    void BeginProgress(LPCSTR text) override
    {
        ++begins;
        lastText = text ? text : "";
    }
    void SetProgress(DWORD done, DWORD total) override
    {
        ++sets;
        lastDone = done;
        lastTotal = total;
    }
    void EndProgress() override { ++ends; }

    int begins = 0;
    int sets = 0;
    int ends = 0;
    DWORD lastDone = 0;
    DWORD lastTotal = 0;
    std::string lastText;
};

// Counts the windows (a message box, say) that code tries to create on this thread while the
// object lives, and refuses them: a box must never wait for a click in a test.
class WindowWatch {
public:
    WindowWatch();
    ~WindowWatch();
    int Created() const;

private:
    HHOOK m_hook;
};

// Saves and restores the process-wide switches the readers consult.
class ReaderStateGuard {
public:
    ReaderStateGuard();
    ~ReaderStateGuard();

private:
    BOOL m_report;
    int m_couleurs;
    int m_thumbnailMode;
};

} // namespace libfmt
