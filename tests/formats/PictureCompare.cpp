// Pictures as pixels for the reader tests: netpbm references, packed DIBs, and their comparison.
#include "tests/formats/PictureCompare.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "core/BmpFile.h"
#include "core/PackedDib.h"
#include "tests/support/TestPaths.h"

namespace pictest {
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

Image Rescaled(const Image& image, int maxval)
{
    Image out = image;
    out.maxval = maxval;
    for (uint16_t& v : out.samples)
        v = static_cast<uint16_t>((static_cast<long long>(v) * maxval * 2 + image.maxval)
                                  / (2 * image.maxval));
    return out;
}

bool ReadNetpbm(const std::string& path, Image* out, int maxval8)
{
    const std::string data = testpaths::ReadBytes(path);
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
    if (maxval8 > 0 && out->maxval != maxval8)
        *out = Rescaled(*out, maxval8);
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
                       && header->biHeight != 0
                       && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if (known) {
        const int width = header->biWidth;
        const bool topDown = header->biHeight < 0;
        const int height = topDown ? -header->biHeight : header->biHeight;
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
                const BYTE* row = rows + static_cast<size_t>(topDown ? y : height - 1 - y) * rowBytes;
                for (int x = 0; x < width; ++x) {
                    uint16_t* px = image.At(x, y);
                    px[3] = 255;
                    if (bits == 24 || bits == 32) {
                        const int step = bits / 8;
                        px[0] = row[x * step + 2];
                        px[1] = row[x * step + 1];
                        px[2] = row[x * step];
                        continue;
                    }
                    if (bits == 16) { // 5-5-5
                        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                        px[0] = static_cast<uint16_t>(((v >> 10) & 31) * 255 / 31);
                        px[1] = static_cast<uint16_t>(((v >> 5) & 31) * 255 / 31);
                        px[2] = static_cast<uint16_t>((v & 31) * 255 / 31);
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
    d.maxDiff = 0;
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

ColourFit FitColours(const Image& from, const Image& to)
{
    ColourFit fit;
    if (from.width != to.width || from.height != to.height || from.Empty())
        return fit;
    const size_t n = static_cast<size_t>(from.width) * from.height;
    double ata[4][4] = {};
    double atb[3][4] = {};
    for (size_t i = 0; i < n; ++i) {
        const uint16_t* f = &from.samples[4 * i];
        const uint16_t* t = &to.samples[4 * i];
        const double x[4] = {double(f[0]), double(f[1]), double(f[2]), 1.0};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                ata[r][c] += x[r] * x[c];
            for (int ch = 0; ch < 3; ++ch)
                atb[ch][r] += x[r] * t[ch];
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
        const uint16_t* f = &from.samples[4 * i];
        const uint16_t* t = &to.samples[4 * i];
        for (int ch = 0; ch < 3; ++ch) {
            const double* w = fit.coef[ch];
            const double predicted = w[0] * f[0] + w[1] * f[1] + w[2] * f[2] + w[3];
            residuals[3 * i + ch] = std::abs(predicted - t[ch]);
            sum += residuals[3 * i + ch];
        }
    }
    std::sort(residuals.begin(), residuals.end());
    fit.meanResidual = sum / double(residuals.size());
    fit.p99Residual = residuals[residuals.size() * 99 / 100];
    return fit;
}

int IndexAt(PackedDIB dib, int x, int y)
{
    const auto* block = static_cast<const uint8_t*>(GlobalLock(dib));
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const uint8_t* row =
        FindDIBBits(block) + size_t(h->biHeight - 1 - y) * DIBRowBytes(h->biWidth, h->biBitCount);
    int v = h->biBitCount == 8   ? row[x]
            : h->biBitCount == 4 ? (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15
                                 : (row[x / 8] >> (7 - x % 8)) & 1;
    GlobalUnlock(dib);
    return v;
}

RGBQUAD TableEntry(PackedDIB dib, int i)
{
    const auto* block = static_cast<const uint8_t*>(GlobalLock(dib));
    RGBQUAD q = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER))[i];
    GlobalUnlock(dib);
    return q;
}

} // namespace pictest
