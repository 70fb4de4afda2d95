// Floyd-Steinberg error diffusion to a colour ramp over a grid of rows, shared by the colour
// reduction and the resizers; each caller supplies how a grid row is read from its source.
#pragma once
#include <windows.h>

#include <memory>
#include <new>
#include <utility>

#include "core/ColorReduce.h"
#include "core/Palette.h"

namespace diffusion {

// Per-channel lookups of one ramp: the index bits of a value and the channel value of an index.
struct RampTables {
    BYTE bitsR[256], bitsG[256], bitsB[256];
    int valueR[256], valueG[256], valueB[256];

    explicit RampTables(const RampLayout& ramp)
    {
        for (int v = 0; v < 256; ++v) {
            bitsR[v] = static_cast<BYTE>((v & ramp.maskR) >> ramp.shiftR);
            bitsG[v] = static_cast<BYTE>((v & ramp.maskG) >> ramp.shiftG);
            bitsB[v] = static_cast<BYTE>((v & ramp.maskB) >> ramp.shiftB);
            valueR[v] = RampChannelValue(v, ramp.maskR, ramp.shiftR);
            valueG[v] = RampChannelValue(v, ramp.maskG, ramp.shiftG);
            valueB[v] = RampChannelValue(v, ramp.maskB, ramp.shiftB);
        }
    }
};

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Quantises pixel x of the current row and spreads its error to the neighbours that exist.
template <bool Right, bool Below, bool BelowLeft, bool BelowRight>
inline void DiffusePixel(const RampTables& ramp, const ErrorDiffusionTableSet& t, int* current, int* next,
                         BYTE* out, int x)
{
    int* p = current + 3 * x;
    const int r = Clamp255(p[0]);
    const int g = Clamp255(p[1]);
    const int b = Clamp255(p[2]);
    const BYTE index = static_cast<BYTE>(ramp.bitsR[r] | ramp.bitsG[g] | ramp.bitsB[b]);
    out[x] = index;
    const int er = r - ramp.valueR[index] + 256;
    const int eg = g - ramp.valueG[index] + 256;
    const int eb = b - ramp.valueB[index] + 256;
    if (Right) {
        p[3] += t.t7[er];
        p[4] += t.t7[eg];
        p[5] += t.t7[eb];
    }
    if (Below) {
        int* q = next + 3 * x;
        q[0] += t.t5[er];
        q[1] += t.t5[eg];
        q[2] += t.t5[eb];
        if (BelowLeft) {
            q[-3] += t.t3[er];
            q[-2] += t.t3[eg];
            q[-1] += t.t3[eb];
        }
        if (BelowRight) {
            q[3] += t.t1[er];
            q[4] += t.t1[eg];
            q[5] += t.t1[eb];
        }
    }
}

// One row, left to right; the first and last pixels lack their left and right neighbours.
template <bool Below>
inline void DiffuseRow(const RampTables& ramp, const ErrorDiffusionTableSet& t, int* current, int* next,
                       BYTE* out, int width)
{
    if (width == 1) {
        DiffusePixel<false, Below, false, false>(ramp, t, current, next, out, 0);
        return;
    }
    DiffusePixel<true, Below, false, true>(ramp, t, current, next, out, 0);
    for (int x = 1; x < width - 1; ++x)
        DiffusePixel<true, Below, true, true>(ramp, t, current, next, out, x);
    DiffusePixel<false, Below, true, false>(ramp, t, current, next, out, width - 1);
}

} // namespace diffusion

// Quantises a width x height grid to the ramp of mode 2, 3 or 4, row 0 first, left to right in
// every row, with the weights 7 (right), 5 (below), 3 (below left) and 1 (below right) sixteenths.
//   fill(y, int* values): writes the raw red, green and blue of grid row y (3 ints per pixel);
//     called once per row, in order, one row ahead of the quantisation;
//   output(y): the BYTE row receiving the ramp indices of grid row y.
// Accumulated errors are kept unclamped; each value is clamped to 0-255 when it is quantised.
// Allocates two line buffers per call, swapped by pointer. Returns false when the mode is not a
// ramp or the buffers cannot be allocated; a grid with no pixels succeeds at once.
template <class Fill, class Output>
bool DiffuseToRamp(PaletteMode mode, int width, int height, Fill&& fill, Output&& output)
{
    const RampLayout* ramp = GetRampLayout(mode);
    if (ramp == nullptr)
        return false;
    if (width <= 0 || height <= 0)
        return true;
    const ErrorDiffusionTableSet& t = InitErrorDiffusionTables();
    const diffusion::RampTables tables(*ramp);
    const size_t count = static_cast<size_t>(width) * 3;
    std::unique_ptr<int[]> first(new (std::nothrow) int[count]);
    std::unique_ptr<int[]> second(new (std::nothrow) int[count]);
    if (!first || !second)
        return false;

    int* current = first.get();
    int* next = second.get();
    fill(0, next);
    for (int y = 0; y < height; ++y) {
        std::swap(current, next);
        BYTE* out = output(y);
        if (y + 1 < height) {
            fill(y + 1, next);
            diffusion::DiffuseRow<true>(tables, t, current, next, out, width);
        } else {
            diffusion::DiffuseRow<false>(tables, t, current, next, out, width);
        }
    }
    return true;
}
