// Reading back what the tests printed: the test script's PDF printer (CUPS with cups-pdf) writes
// each job to a PDF file named after the job's title; these helpers find that file and read it with
// the Linux tools pdfinfo and pdftoppm.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace printed {

// A job title no other test (or test run) uses: letters, digits and '_' only, so that the PDF's
// file name is the title itself. It holds the run's mark (TESSARINE_PRINT_RUN) when there is one.
std::string UniqueJobName(const std::string& base);

// Held around each print: Wine numbers its spool files per process, so two test processes spooling
// at once in one prefix would overwrite each other's job.
class SpoolLock {
public:
    SpoolLock();
    ~SpoolLock();
    SpoolLock(const SpoolLock&) = delete;
    SpoolLock& operator=(const SpoolLock&) = delete;

private:
    HANDLE m_hMutex;
};

// TRUE when Wine has a default printer.
bool HavePrinter();

// Waits (up to timeoutMs) for the complete PDF of that job and returns its Windows path (Z:...), or
// an empty string when none arrived.
std::string WaitForPdf(const std::string& jobName, int timeoutMs = 60000);
// Whether any file of that job exists now (complete or not).
bool AnyFileOf(const std::string& jobName);

// The page count pdfinfo gives, or -1.
int PageCount(const std::string& pdfPath);

// The text of one page (pdftotext, UTF-8), empty when it cannot be had.
std::string PageText(const std::string& pdfPath, int page);

// One page rasterised at dpi dots per inch, top row first.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // 3 bytes a pixel
    COLORREF At(int x, int y) const
    {
        size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};
Raster RasterPage(const std::string& pdfPath, int page, int dpi);

// The client area of a window as it is on the screen now, and a copy of it kept as
// build/screenshots/<name>.bmp (for people to look at).
Raster CaptureClient(HWND hWnd, const std::string& name);

// Part of a raster (clipped to it).
Raster Crop(const Raster& r, const RECT& part);
// Colours equal within tolerance on each channel (printing and rasterising shift them a little).
bool Near(COLORREF a, COLORREF b, int tolerance = 40);

// The default printer's printable size and resolution (HORZRES, VERTRES, LOGPIXELSX/Y); zeros
// without a printer.
struct PageCaps {
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
};
PageCaps DefaultPageCaps();

// The bytes of a 24-bit BMP file whose pixel (x, y), y from the top, is colour(x, y).
std::string Bmp24(int width, int height, const std::function<COLORREF(int, int)>& colour);

// Removes the job's files (after the test has read them).
void RemoveFilesOf(const std::string& jobName);

} // namespace printed
