// Helpers of the own-format reader tests.
#include "tests/formats/OwnFormatsTestUtil.h"

#include "core/BmpFile.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace owntest {

DibShape ShapeOf(PackedDIB dib)
{
    DibShape s;
    if (!dib)
        return s;
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    if (!h)
        return s;
    s.width = h->biWidth;
    s.height = h->biHeight;
    s.bits = h->biBitCount;
    s.colors = DIBNumColors(h);
    GlobalUnlock(dib);
    return s;
}

bool IsConsistentDib(PackedDIB dib)
{
    if (!dib)
        return false;
    const SIZE_T blockBytes = GlobalSize(dib);
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    if (!h)
        return false;
    bool ok = blockBytes >= sizeof(BITMAPINFOHEADER) && h->biSize == sizeof(BITMAPINFOHEADER)
              && h->biWidth > 0 && h->biHeight > 0 && h->biPlanes == 1;
    if (ok) {
        const ULONGLONG need = PackedDIBBytes(h->biWidth, h->biHeight, h->biBitCount, DIBNumColors(h));
        ok = need <= blockBytes;
    }
    GlobalUnlock(dib);
    return ok;
}

std::string OwnDataDir() { return testpaths::TestDataDir() + "\\formats\\own"; }

std::vector<ManifestEntry> ReadManifest(const std::string& format)
{
    std::vector<ManifestEntry> entries;
    std::istringstream lines(testpaths::ReadBytes(OwnDataDir() + "\\manifest.txt"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        ManifestEntry e;
        std::string file, reference;
        if (!(words >> e.format >> e.tool >> file >> reference >> e.tolerance) || e.format != format)
            continue;
        e.file = OwnDataDir() + "\\" + file;
        e.reference = OwnDataDir() + "\\" + reference;
        entries.push_back(e);
    }
    return entries;
}

int RunPicconv(const std::string& in, const std::string& outBmp)
{
    std::string command =
        "\"" + testpaths::BinaryDir() + "\\tools\\picconv.exe\" \"" + in + "\" \"" + outBmp + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi))
        return -1;
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &status);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(status);
}

int CheckThroughPicconv(const std::string& format)
{
    testpaths::TempDir dir;
    int compared = 0;
    for (const ManifestEntry& e : ReadManifest(format)) {
        SCOPED_TRACE(e.file);
        const std::string out = dir.File("out" + std::to_string(compared) + ".bmp");
        EXPECT_EQ(RunPicconv(e.file, out), 0);
        DibHolder dib(LoadBMPFile(out.c_str()));
        const Image decoded = DibToImage(dib.Get());
        Image reference;
        if (decoded.Empty() || !ReadNetpbm(e.reference, &reference, 255)) {
            ADD_FAILURE() << "no picture to compare";
            continue;
        }
        const Difference d = Compare(decoded, reference);
        EXPECT_GE(d.maxDiff, 0) << "size " << decoded.width << "x" << decoded.height;
        EXPECT_LE(d.maxDiff, e.tolerance) << "mean difference " << d.meanDiff;
        ++compared;
    }
    return compared;
}

ProgressRecorder::ProgressRecorder() { SetProgressSink(this); }

ProgressRecorder::~ProgressRecorder() { SetProgressSink(nullptr); }

void ProgressRecorder::BeginProgress(LPCSTR text)
{
    ++begins;
    lastText = text ? text : "";
}

void ProgressRecorder::SetProgress(DWORD done, DWORD total)
{
    ++sets;
    lastDone = done;
    lastTotal = total;
}

void ProgressRecorder::EndProgress() { ++ends; }

GuardedBytes::GuardedBytes(const std::string& bytes, bool guardBefore) : m_size(bytes.size())
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t pages = (bytes.size() + page - 1) / page + 1;
    m_base = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, (pages + 1) * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!m_base)
        return;
    DWORD old = 0;
    if (guardBefore) {
        VirtualProtect(m_base, page, PAGE_NOACCESS, &old);
        m_data = m_base + page;
    } else {
        uint8_t* guard = m_base + pages * page;
        VirtualProtect(guard, page, PAGE_NOACCESS, &old);
        m_data = guard - bytes.size();
    }
    memcpy(const_cast<uint8_t*>(m_data), bytes.data(), bytes.size());
}

GuardedBytes::~GuardedBytes()
{
    if (m_base)
        VirtualFree(m_base, 0, MEM_RELEASE);
}

void PutU8(std::string& s, unsigned v) { s.push_back(static_cast<char>(v & 0xFF)); }
void PutU16LE(std::string& s, unsigned v)
{
    PutU8(s, v);
    PutU8(s, v >> 8);
}
void PutU32LE(std::string& s, uint32_t v)
{
    PutU16LE(s, v & 0xFFFF);
    PutU16LE(s, v >> 16);
}
void PutU16BE(std::string& s, unsigned v)
{
    PutU8(s, v >> 8);
    PutU8(s, v);
}
void PutU32BE(std::string& s, uint32_t v)
{
    PutU16BE(s, v >> 16);
    PutU16BE(s, v & 0xFFFF);
}
void SetU16LE(std::string& s, size_t at, unsigned v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void SetU32LE(std::string& s, size_t at, uint32_t v)
{
    SetU16LE(s, at, v & 0xFFFF);
    SetU16LE(s, at + 2, v >> 16);
}
void SetU32BE(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

} // namespace owntest
