// Helpers of the JPEG, PNG, GIF and TIFF reader tests.
#include "tests/formats/LibFormatsTestUtil.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "core/BmpFile.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Progress.h"
#include "core/ReaderSettings.h"
#include "tests/support/TestPaths.h"

namespace libfmt {
namespace {

// Next header token of a netpbm file, skipping blanks and comments.
bool NextToken(const std::string& data, size_t* pos, std::string* token)
{
    token->clear();
    while (*pos < data.size()) {
        char c = data[*pos];
        if (c == '#') {
            while (*pos < data.size() && data[*pos] != '\n')
                ++*pos;
        } else if (isspace(static_cast<unsigned char>(c))) {
            ++*pos;
        } else {
            break;
        }
    }
    while (*pos < data.size() && !isspace(static_cast<unsigned char>(data[*pos])))
        token->push_back(data[(*pos)++]);
    return !token->empty();
}

bool NextNumber(const std::string& data, size_t* pos, int* value)
{
    std::string token;
    if (!NextToken(data, pos, &token))
        return false;
    char* end = nullptr;
    long v = strtol(token.c_str(), &end, 10);
    if (*end != 0 || v < 0 || v > 1000000)
        return false;
    *value = static_cast<int>(v);
    return true;
}

} // namespace

bool ReadNetpbm(const std::string& path, Image* out)
{
    const std::string data = FileBytes(path);
    if (data.size() < 3 || data[0] != 'P')
        return false;
    const char kind = data[1];
    size_t pos = 2;
    int width = 0, height = 0, depth = 0, maxval = 1;
    if (kind == '7') {
        std::string token;
        for (;;) {
            if (!NextToken(data, &pos, &token))
                return false;
            if (token == "ENDHDR")
                break;
            if (token == "WIDTH" && !NextNumber(data, &pos, &width))
                return false;
            if (token == "HEIGHT" && !NextNumber(data, &pos, &height))
                return false;
            if (token == "DEPTH" && !NextNumber(data, &pos, &depth))
                return false;
            if (token == "MAXVAL" && !NextNumber(data, &pos, &maxval))
                return false;
            if (token == "TUPLTYPE")
                NextToken(data, &pos, &token);
        }
    } else if (kind == '4' || kind == '5' || kind == '6') {
        if (!NextNumber(data, &pos, &width) || !NextNumber(data, &pos, &height))
            return false;
        if (kind != '4' && !NextNumber(data, &pos, &maxval))
            return false;
        depth = kind == '6' ? 3 : 1;
    } else {
        return false;
    }
    ++pos; // the single blank after the header
    if (width <= 0 || height <= 0 || depth < 1 || depth > 4 || maxval < 1 || maxval > 65535)
        return false;
    out->width = width;
    out->height = height;
    out->maxval = kind == '4' ? 255 : maxval;
    out->samples.assign(static_cast<size_t>(width) * height * 4, 0);
    const int bytesPerSample = maxval > 255 ? 2 : 1;
    const size_t rowBytes =
        kind == '4' ? (width + 7) / 8 : static_cast<size_t>(width) * depth * bytesPerSample;
    if (data.size() < pos + rowBytes * height)
        return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(data.data()) + pos;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = p + rowBytes * y;
        for (int x = 0; x < width; ++x) {
            uint16_t* px = out->At(x, y);
            if (kind == '4') {
                const bool black = (row[x / 8] >> (7 - x % 8)) & 1;
                px[0] = px[1] = px[2] = black ? 0 : 255;
                px[3] = 255;
                continue;
            }
            uint16_t v[4] = {0, 0, 0, static_cast<uint16_t>(maxval)};
            for (int c = 0; c < depth; ++c) {
                const unsigned char* s = row + (static_cast<size_t>(x) * depth + c) * bytesPerSample;
                v[c] = bytesPerSample == 2 ? static_cast<uint16_t>((s[0] << 8) | s[1]) : s[0];
            }
            if (depth <= 2) { // grey, grey + alpha
                px[3] = depth == 2 ? v[1] : static_cast<uint16_t>(maxval);
                px[0] = px[1] = px[2] = v[0];
            } else {
                px[0] = v[0];
                px[1] = v[1];
                px[2] = v[2];
                px[3] = depth == 4 ? v[3] : static_cast<uint16_t>(maxval);
            }
        }
    }
    return true;
}

Image DibToImage(PackedDIB dib)
{
    Image image;
    if (!dib)
        return image;
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    if (!block)
        return image;
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const WORD bits = header->biBitCount;
    const SIZE_T size = GlobalSize(dib);
    const bool known = header->biSize == sizeof(BITMAPINFOHEADER) && header->biWidth > 0
                       && header->biHeight > 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 24);
    if (known) {
        const int width = header->biWidth, height = header->biHeight;
        const DWORD rowBytes = DIBRowBytes(width, bits);
        const ULONGLONG needed =
            sizeof(BITMAPINFOHEADER) + PaletteSize(block) + static_cast<ULONGLONG>(rowBytes) * height;
        if (needed <= size) {
            const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
            const int colors = DIBNumColors(block);
            const BYTE* rows = FindDIBBits(block);
            image.width = width;
            image.height = height;
            image.samples.assign(static_cast<size_t>(width) * height * 4, 0);
            for (int y = 0; y < height; ++y) {
                const BYTE* row = rows + static_cast<size_t>(height - 1 - y) * rowBytes;
                for (int x = 0; x < width; ++x) {
                    uint16_t* px = image.At(x, y);
                    px[3] = 255;
                    if (bits == 24) {
                        px[0] = row[x * 3 + 2];
                        px[1] = row[x * 3 + 1];
                        px[2] = row[x * 3];
                        continue;
                    }
                    int index;
                    if (bits == 1)
                        index = (row[x / 8] >> (7 - x % 8)) & 1;
                    else if (bits == 4)
                        index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 15;
                    else
                        index = row[x];
                    if (index < colors) {
                        px[0] = table[index].rgbRed;
                        px[1] = table[index].rgbGreen;
                        px[2] = table[index].rgbBlue;
                    }
                }
            }
        }
    }
    GlobalUnlock(dib);
    return image;
}

Image Rescaled(const Image& image, int maxval)
{
    Image out = image;
    out.maxval = maxval;
    for (uint16_t& v : out.samples)
        v = static_cast<uint16_t>((static_cast<long long>(v) * maxval * 2 + image.maxval)
                                  / (2 * image.maxval));
    return out;
}

std::string Difference::Describe() const
{
    std::ostringstream s;
    if (!sameSize)
        s << "different sizes";
    else
        s << "max " << maxDiff << ", mean " << meanDiff << " over " << compared << " pixels";
    return s.str();
}

Difference Compare(const Image& actual, const Image& reference, int opaqueFrom)
{
    Difference d;
    if (actual.width != reference.width || actual.height != reference.height || actual.Empty())
        return d;
    d.sameSize = true;
    double total = 0;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const uint16_t* a = actual.At(x, y);
            const uint16_t* r = reference.At(x, y);
            if (r[3] < opaqueFrom)
                continue;
            ++d.compared;
            for (int c = 0; c < 3; ++c) {
                const int diff = std::abs(static_cast<int>(a[c]) - static_cast<int>(r[c]));
                total += diff;
                if (diff > d.maxDiff)
                    d.maxDiff = diff;
            }
        }
    }
    d.meanDiff = d.compared ? total / (3.0 * d.compared) : 0;
    return d;
}

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
