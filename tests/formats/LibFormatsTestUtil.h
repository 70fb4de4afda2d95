// Helpers of the JPEG, PNG, GIF and TIFF reader tests: pictures as plain RGBA arrays, reference
// files made by other tools (netpbm/PAM), pixel comparison, and the process's resource counts.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/PackedDib.h"
#include "core/Progress.h"

namespace libfmt {

// A picture as top-down RGBA samples of 0..maxval (alpha = maxval when the source has none).
struct Image {
    int width = 0;
    int height = 0;
    int maxval = 255;
    std::vector<uint16_t> samples; // 4 per pixel: red, green, blue, alpha

    const uint16_t* At(int x, int y) const { return &samples[(static_cast<size_t>(y) * width + x) * 4]; }
    uint16_t* At(int x, int y) { return &samples[(static_cast<size_t>(y) * width + x) * 4]; }
    bool Empty() const { return width == 0 || height == 0; }
};

// Reads a PBM (P4), PGM (P5), PPM (P6) or PAM (P7) file; false when it is missing or malformed.
bool ReadNetpbm(const std::string& path, Image* out);

// The pixels of a 1-, 4-, 8- or 24-bit packed DIB (colour table applied) at maxval 255; empty on
// any other picture. Also checks that the header agrees with the block size.
Image DibToImage(PackedDIB dib);

// The same sample values rescaled to another maxval (rounded).
Image Rescaled(const Image& image, int maxval);

struct Difference {
    bool sameSize = false;
    int maxDiff = 0;        // largest channel difference (red, green, blue)
    double meanDiff = 0;    // mean absolute channel difference
    long long compared = 0; // pixels compared
    std::string Describe() const;
};
// Compares red, green and blue of two pictures of the same maxval; pixels whose reference alpha is
// below opaqueFrom are skipped (0 compares everything).
Difference Compare(const Image& actual, const Image& reference, int opaqueFrom = 0);

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
