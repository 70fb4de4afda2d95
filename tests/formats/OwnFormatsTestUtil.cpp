// Helpers of the own-format reader tests.
#include "tests/formats/OwnFormatsTestUtil.h"

#include "core/BmpFile.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace owntest {

namespace {

// Next whitespace-separated token of a PNM header, skipping comments.
bool HeaderNumber(const std::string& s, size_t& pos, unsigned* out)
{
    for (;;) {
        while (pos < s.size() && isspace(static_cast<unsigned char>(s[pos])))
            ++pos;
        if (pos < s.size() && s[pos] == '#') {
            while (pos < s.size() && s[pos] != '\n')
                ++pos;
            continue;
        }
        break;
    }
    size_t start = pos;
    while (pos < s.size() && isdigit(static_cast<unsigned char>(s[pos])))
        ++pos;
    if (start == pos)
        return false;
    *out = static_cast<unsigned>(strtoul(s.substr(start, pos - start).c_str(), nullptr, 10));
    return true;
}

} // namespace

bool ReadPnm(const std::string& path, RgbImage* out)
{
    const std::string s = testpaths::ReadBytes(path);
    if (s.size() < 3 || s[0] != 'P' || (s[1] != '5' && s[1] != '6'))
        return false;
    const int channels = s[1] == '6' ? 3 : 1;
    size_t pos = 2;
    unsigned width = 0, height = 0, maxval = 0;
    if (!HeaderNumber(s, pos, &width) || !HeaderNumber(s, pos, &height) || !HeaderNumber(s, pos, &maxval)
        || maxval == 0 || maxval > 65535)
        return false;
    ++pos; // the single whitespace after maxval
    const size_t sampleBytes = maxval > 255 ? 2 : 1;
    if (s.size() < pos + size_t(width) * height * channels * sampleBytes)
        return false;
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->rgb.resize(size_t(width) * height * 3);
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        for (int c = 0; c < 3; ++c) {
            const size_t at = pos + (i * channels + (channels == 3 ? c : 0)) * sampleBytes;
            unsigned v = static_cast<uint8_t>(s[at]);
            if (sampleBytes == 2)
                v = (v << 8) | static_cast<uint8_t>(s[at + 1]);
            out->rgb[i * 3 + c] = static_cast<uint8_t>((v * 255 + maxval / 2) / maxval);
        }
    }
    return true;
}

bool DibToRgb(PackedDIB dib, RgbImage* out)
{
    if (!dib)
        return false;
    const auto* block = static_cast<const uint8_t*>(GlobalLock(dib));
    if (!block)
        return false;
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const auto* table = reinterpret_cast<const RGBQUAD*>(block + h->biSize);
    const uint8_t* bits = FindDIBBits(block);
    const int width = h->biWidth;
    const int height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
    const int bitCount = h->biBitCount;
    const DWORD rowBytes = DIBRowBytes(width, static_cast<WORD>(bitCount));
    bool ok =
        bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    if (ok) {
        out->width = width;
        out->height = height;
        out->rgb.assign(size_t(width) * height * 3, 0);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = bits + size_t(h->biHeight > 0 ? height - 1 - y : y) * rowBytes;
            for (int x = 0; x < width; ++x) {
                uint8_t* p = &out->rgb[(size_t(y) * width + x) * 3];
                int index = -1;
                if (bitCount == 1)
                    index = (row[x >> 3] >> (7 - (x & 7))) & 1;
                else if (bitCount == 4)
                    index = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
                else if (bitCount == 8)
                    index = row[x];
                if (index >= 0) {
                    p[0] = table[index].rgbRed;
                    p[1] = table[index].rgbGreen;
                    p[2] = table[index].rgbBlue;
                } else if (bitCount == 16) {
                    const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                    p[0] = static_cast<uint8_t>(((v >> 10) & 31) * 255 / 31);
                    p[1] = static_cast<uint8_t>(((v >> 5) & 31) * 255 / 31);
                    p[2] = static_cast<uint8_t>((v & 31) * 255 / 31);
                } else {
                    const int step = bitCount / 8;
                    p[0] = row[x * step + 2];
                    p[1] = row[x * step + 1];
                    p[2] = row[x * step];
                }
            }
        }
    }
    GlobalUnlock(dib);
    return ok;
}

Difference Compare(const RgbImage& a, const RgbImage& b)
{
    Difference d;
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size())
        return d;
    d.largest = 0;
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        const int diff = std::abs(int(a.rgb[i]) - int(b.rgb[i]));
        if (diff > d.largest)
            d.largest = diff;
        sum += diff;
    }
    d.mean = a.rgb.empty() ? 0 : sum / double(a.rgb.size());
    return d;
}

namespace {

// Solves the 4 x 4 system a x = b by elimination with partial pivoting.
void Solve4(double a[4][4], double b[4], double x[4])
{
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c]))
                pivot = r;
        for (int k = 0; k < 4; ++k)
            std::swap(a[c][k], a[pivot][k]);
        std::swap(b[c], b[pivot]);
        for (int r = 0; r < 4; ++r) {
            if (r == c || a[c][c] == 0)
                continue;
            const double f = a[r][c] / a[c][c];
            for (int k = 0; k < 4; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    for (int i = 0; i < 4; ++i)
        x[i] = a[i][i] != 0 ? b[i] / a[i][i] : 0;
}

} // namespace

ColourFit FitColours(const RgbImage& from, const RgbImage& to)
{
    ColourFit fit;
    if (from.width != to.width || from.height != to.height || from.rgb.empty())
        return fit;
    const size_t n = from.rgb.size() / 3;
    double ata[4][4] = {};
    double atb[3][4] = {};
    for (size_t i = 0; i < n; ++i) {
        const double x[4] = {double(from.rgb[3 * i]), double(from.rgb[3 * i + 1]),
                             double(from.rgb[3 * i + 2]), 1.0};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                ata[r][c] += x[r] * x[c];
            for (int ch = 0; ch < 3; ++ch)
                atb[ch][r] += x[r] * to.rgb[3 * i + ch];
        }
    }
    for (int ch = 0; ch < 3; ++ch) {
        double a[4][4];
        memcpy(a, ata, sizeof(a));
        Solve4(a, atb[ch], fit.coef[ch]);
    }
    std::vector<double> residuals(n * 3);
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        for (int ch = 0; ch < 3; ++ch) {
            const double* w = fit.coef[ch];
            const double predicted =
                w[0] * from.rgb[3 * i] + w[1] * from.rgb[3 * i + 1] + w[2] * from.rgb[3 * i + 2] + w[3];
            residuals[3 * i + ch] = std::abs(predicted - to.rgb[3 * i + ch]);
            sum += residuals[3 * i + ch];
        }
    }
    std::sort(residuals.begin(), residuals.end());
    fit.meanResidual = sum / double(residuals.size());
    fit.p99Residual = residuals[residuals.size() * 99 / 100];
    return fit;
}

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
        RgbImage decoded, reference;
        if (!dib || !DibToRgb(dib.Get(), &decoded) || !ReadPnm(e.reference, &reference)) {
            ADD_FAILURE() << "no picture to compare";
            continue;
        }
        const Difference d = Compare(decoded, reference);
        EXPECT_GE(d.largest, 0) << "size " << decoded.width << "x" << decoded.height;
        EXPECT_LE(d.largest, e.tolerance) << "mean difference " << d.mean;
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
