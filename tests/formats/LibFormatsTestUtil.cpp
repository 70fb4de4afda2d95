// Helpers of the JPEG, PNG, GIF and TIFF reader tests.
#include "tests/formats/LibFormatsTestUtil.h"

#include <gtest/gtest.h>

#include "core/BmpFile.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Progress.h"
#include "core/ReaderSettings.h"
#include "tests/support/TestPaths.h"

namespace libfmt {

PackedDIB MakeIndexedDib(int width, int height, WORD bits, const std::vector<RGBQUAD>& colors,
                         int (*index)(int x, int y))
{
    PackedDIB dib = CreateDIB(width, height, bits);
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    const int tableSize = DIBNumColors(block);
    for (int i = 0; i < tableSize; ++i)
        table[i] = i < static_cast<int>(colors.size()) ? colors[i] : RGBQUAD{0, 0, 0, 0};
    const DWORD rowBytes = DIBRowBytes(width, bits);
    BYTE* rows = FindDIBBits(block);
    for (int y = 0; y < height; ++y) {
        BYTE* row = rows + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const int v = index(x, y);
            if (bits == 1)
                row[x / 8] |= static_cast<BYTE>((v & 1) << (7 - x % 8));
            else if (bits == 4)
                row[x / 2] |= static_cast<BYTE>((v & 15) << (x % 2 == 0 ? 4 : 0));
            else
                row[x] = static_cast<BYTE>(v);
        }
    }
    GlobalUnlock(dib);
    return dib;
}

PackedDIB MakeTrueColorDib(int width, int height, void (*color)(int x, int y, BYTE* rgb))
{
    PackedDIB dib = CreateDIB(width, height, 24);
    if (!dib)
        return 0;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    const DWORD rowBytes = DIBRowBytes(width, 24);
    BYTE* rows = FindDIBBits(block);
    for (int y = 0; y < height; ++y) {
        BYTE* row = rows + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            BYTE rgb[3];
            color(x, y, rgb);
            row[x * 3] = rgb[2];
            row[x * 3 + 1] = rgb[1];
            row[x * 3 + 2] = rgb[0];
        }
    }
    GlobalUnlock(dib);
    return dib;
}

ResourceSnapshot ResourceSnapshot::Take()
{
    ResourceSnapshot s;
    HANDLE process = GetCurrentProcess();
    typedef BOOL(WINAPI * HandleCountFn)(HANDLE, PDWORD);
    static HandleCountFn handleCount = reinterpret_cast<HandleCountFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount")));
    if (handleCount)
        handleCount(process, &s.handles);
    s.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    s.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    // Committed private memory, summed over the address space.
    MEMORY_BASIC_INFORMATION info;
    const BYTE* address = nullptr;
    while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            s.privateBytes += info.RegionSize;
        const BYTE* next = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return s;
}

std::string FileBytes(const std::string& path) { return testpaths::ReadBytes(path); }

bool FileExistsA(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int RunPicconv(const std::string& in, const std::string& out, const char* thumbBox)
{
    const std::string program = testpaths::BinaryDir() + "\\tools\\picconv.exe";
    std::string command = "\"" + program + "\" \"" + in + "\" \"" + out + "\"";
    if (thumbBox)
        command += std::string(" --thumb ") + thumbBox;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &status);
    else
        TerminateProcess(process.hProcess, 3);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

void ExpectPicconvMatchesReader(const std::string& in, PackedDIB (*reader)(LPCSTR path))
{
    testpaths::TempDir dir;
    const std::string out = dir.File("out.bmp");
    ASSERT_EQ(RunPicconv(in, out), 0) << in;
    PackedDIB converted = LoadBMPFile(out.c_str());
    PackedDIB direct = reader(in.c_str());
    ASSERT_NE(converted, nullptr);
    ASSERT_NE(direct, nullptr);
    Difference d = Compare(DibToImage(converted), DibToImage(direct));
    GlobalFreeHandle(converted);
    GlobalFreeHandle(direct);
    EXPECT_TRUE(d.sameSize) << in;
    EXPECT_EQ(d.maxDiff, 0) << in << ": " << d.Describe();
}

std::string ReferenceDir(const char* format) { return testpaths::TestDataDir() + "\\formats\\" + format; }

std::string TestImage(const char* format, const char* name)
{
    return testpaths::TestImagesDir() + "\\" + format + "\\" + name;
}

namespace {
int g_windowsCreated = 0;

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        ++g_windowsCreated;
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

WindowWatch::WindowWatch()
{
    g_windowsCreated = 0;
    m_hook = SetWindowsHookExA(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
}

WindowWatch::~WindowWatch() { UnhookWindowsHookEx(m_hook); }

int WindowWatch::Created() const { return g_windowsCreated; }

ReaderStateGuard::ReaderStateGuard()
    : m_report(g_bReportProgress), m_couleurs(g_CouleursJPEG), m_thumbnailMode(ThumbnailDecodeMode)
{}

ReaderStateGuard::~ReaderStateGuard()
{
    g_bReportProgress = m_report;
    g_CouleursJPEG = m_couleurs;
    ThumbnailDecodeMode = m_thumbnailMode;
    SetScreenBitsPerPixelForTest(0);
    SetProgressSink(nullptr);
}

} // namespace libfmt
