// Finding and reading the PDF files of printed jobs.
#include "tests/support/PrintedPdf.h"

#include "tests/support/TestPaths.h"
#include "tests/support/UnixCommand.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace printed {
namespace {

std::string UnixPdfDir()
{
    char buf[1024];
    DWORD n = ::GetEnvironmentVariableA("TESSARINE_PDF_DIR", buf, sizeof(buf));
    if (n > 0 && n < sizeof(buf))
        return buf;
    n = ::GetEnvironmentVariableA("HOME", buf, sizeof(buf));
    return std::string(n > 0 && n < sizeof(buf) ? buf : "/root") + "/PDF";
}

std::string ToWindows(const std::string& unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
}

std::vector<std::string> FilesOf(const std::string& jobName)
{
    std::vector<std::string> files;
    std::string dir = ToWindows(UnixPdfDir());
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + "\\" + jobName + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return files;
    do {
        std::string name = fd.cFileName;
        // "<title>...pdf", never a title that goes on with more digits (another job's).
        char next = name.size() > jobName.size() ? name[jobName.size()] : '\0';
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0 && !(next >= '0' && next <= '9'))
            files.push_back(dir + "\\" + name);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return files;
}

bool LooksComplete(const std::string& path)
{
    std::string bytes = testpaths::ReadBytes(path);
    if (bytes.size() < 16)
        return false;
    size_t tail = bytes.size() > 64 ? bytes.size() - 64 : 0;
    return bytes.find("%%EOF", tail) != std::string::npos;
}

} // namespace

std::string UniqueJobName(const std::string& base)
{
    static std::atomic<int> counter{0};
    // The test run's mark, by which the test script finds the run's jobs to remove them from CUPS, and
    // which no other run has; outside the test command, the time stands in for it.
    char run[32] = "";
    const DWORD n = ::GetEnvironmentVariableA("TESSARINE_PRINT_RUN", run, sizeof(run));
    const std::string mark = n > 0 && n < sizeof(run) ? std::string(run) : std::to_string(::GetTickCount());
    std::string name = base + "_" + mark + "_" + std::to_string(++counter);
    for (char& c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            c = '_';
    return name;
}

SpoolLock::SpoolLock() : m_hMutex(::CreateMutexA(nullptr, FALSE, "TessarineTestSpool"))
{
    if (m_hMutex != nullptr)
        ::WaitForSingleObject(m_hMutex, 120000);
}

SpoolLock::~SpoolLock()
{
    if (m_hMutex != nullptr) {
        ::ReleaseMutex(m_hMutex);
        ::CloseHandle(m_hMutex);
    }
}

bool HavePrinter()
{
    // The first use of the printers in a process sets up Wine's printer entries: one process at a time.
    SpoolLock lock;
    char name[256];
    DWORD n = sizeof(name);
    if (!::GetDefaultPrinterA(name, &n))
        return false;
    HDC hdc = ::CreateDCA("WINSPOOL", name, nullptr, nullptr);
    if (hdc == nullptr)
        return false;
    ::DeleteDC(hdc);
    return true;
}

std::string WaitForPdf(const std::string& jobName, int timeoutMs)
{
    DWORD start = ::GetTickCount();
    std::string lastSeen;
    for (;;) {
        // Complete, and the same size as a moment ago: the printer has finished writing it.
        std::vector<std::string> files = FilesOf(jobName);
        if (!files.empty() && LooksComplete(files.front())) {
            std::string now = testpaths::ReadBytes(files.front());
            if (now == lastSeen)
                return files.front();
            lastSeen = now;
        }
        if (static_cast<int>(::GetTickCount() - start) > timeoutMs)
            return std::string();
        ::Sleep(200); // the job runs in CUPS, outside this process
    }
}

bool AnyFileOf(const std::string& jobName) { return !FilesOf(jobName).empty(); }

int PageCount(const std::string& pdfPath)
{
    const std::string text = testpaths::RunUnix("pdfinfo '" + testpaths::UnixPath(pdfPath) + "' 2>&1");
    size_t at = text.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 6);
}

std::string PageText(const std::string& pdfPath, int page)
{
    char args[64];
    std::snprintf(args, sizeof(args), " -layout -f %d -l %d ", page, page);
    return testpaths::RunUnix("pdftotext" + std::string(args) + "'" + testpaths::UnixPath(pdfPath) + "' -");
}

Raster RasterPage(const std::string& pdfPath, int page, int dpi)
{
    Raster r;
    char args[96];
    std::snprintf(args, sizeof(args), " -r %d -f %d -l %d -singlefile ", dpi, page, page);
    const std::string bytes =
        testpaths::RunUnix("pdftoppm" + std::string(args) + "'" + testpaths::UnixPath(pdfPath) + "'");
    // P6, width, height, 255, one white-space byte, then the pixels.
    int w = 0, h = 0, maxval = 0, used = 0;
    if (bytes.size() < 16 || std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &used) != 3
        || maxval != 255 || w <= 0 || h <= 0)
        return r;
    size_t start = static_cast<size_t>(used) + 1;
    size_t need = static_cast<size_t>(w) * h * 3;
    if (bytes.size() < start + need)
        return r;
    r.width = w;
    r.height = h;
    r.rgb.assign(bytes.begin() + start, bytes.begin() + start + need);
    return r;
}

Raster CaptureClient(HWND hWnd, const std::string& name)
{
    Raster r;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    int w = rc.right, h = rc.bottom;
    if (w <= 0 || h <= 0)
        return r;
    ::UpdateWindow(hWnd);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = h; // bottom-up, as a BMP file stores it
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HDC hWin = ::GetDC(hWnd);
    HDC hMem = ::CreateCompatibleDC(hWin);
    HBITMAP hbm = ::CreateDIBSection(hMem, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMem, hbm);
    ::BitBlt(hMem, 0, 0, w, h, hWin, 0, 0, SRCCOPY);
    ::GdiFlush();
    int stride = ((w * 3) + 3) & ~3;
    const unsigned char* bits = static_cast<const unsigned char*>(pBits);
    r.width = w;
    r.height = h;
    r.rgb.resize(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; y++) {
        const unsigned char* row = bits + static_cast<size_t>(h - 1 - y) * stride;
        for (int x = 0; x < w; x++) {
            size_t i = (static_cast<size_t>(y) * w + x) * 3;
            r.rgb[i] = row[x * 3 + 2];
            r.rgb[i + 1] = row[x * 3 + 1];
            r.rgb[i + 2] = row[x * 3];
        }
    }
    std::string dir = testpaths::BinaryDir() + "\\screenshots";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    BITMAPFILEHEADER bf = {};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    bf.bfSize = bf.bfOffBits + static_cast<DWORD>(stride) * h;
    std::string file(reinterpret_cast<const char*>(&bf), sizeof(bf));
    file.append(reinterpret_cast<const char*>(&bmi.bmiHeader), sizeof(BITMAPINFOHEADER));
    file.append(reinterpret_cast<const char*>(bits), static_cast<size_t>(stride) * h);
    testpaths::WriteBytes(dir + "\\" + name + ".bmp", file);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hbm);
    ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hWin);
    return r;
}

Raster Crop(const Raster& r, const RECT& part)
{
    Raster c;
    int left = std::max<int>(0, part.left), top = std::max<int>(0, part.top);
    int right = std::min<int>(r.width, part.right), bottom = std::min<int>(r.height, part.bottom);
    if (right <= left || bottom <= top)
        return c;
    c.width = right - left;
    c.height = bottom - top;
    for (int y = top; y < bottom; y++) {
        auto row = r.rgb.begin() + (static_cast<size_t>(y) * r.width + left) * 3;
        c.rgb.insert(c.rgb.end(), row, row + static_cast<size_t>(c.width) * 3);
    }
    return c;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance
           && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance
           && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

PageCaps DefaultPageCaps()
{
    PageCaps caps;
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (::PrintDlgA(&pd)) {
        caps = {::GetDeviceCaps(pd.hDC, HORZRES), ::GetDeviceCaps(pd.hDC, VERTRES),
                ::GetDeviceCaps(pd.hDC, LOGPIXELSX), ::GetDeviceCaps(pd.hDC, LOGPIXELSY)};
        ::DeleteDC(pd.hDC);
        ::GlobalFree(pd.hDevMode);
        ::GlobalFree(pd.hDevNames);
    }
    return caps;
}

std::string Bmp24(int width, int height, const std::function<COLORREF(int, int)>& colour)
{
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER bf = {};
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(bi);
    bi.biWidth = width;
    bi.biHeight = height;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(bf) + sizeof(bi);
    bf.bfSize = bf.bfOffBits + static_cast<DWORD>(stride) * height;
    std::string bytes(reinterpret_cast<const char*>(&bf), sizeof(bf));
    bytes.append(reinterpret_cast<const char*>(&bi), sizeof(bi));
    std::string row(static_cast<size_t>(stride), '\0');
    for (int y = height - 1; y >= 0; y--) {
        for (int x = 0; x < width; x++) {
            COLORREF c = colour(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    return bytes;
}

void RemoveFilesOf(const std::string& jobName)
{
    for (const std::string& f : FilesOf(jobName))
        ::DeleteFileA(f.c_str());
}

} // namespace printed
