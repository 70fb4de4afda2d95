// Pictures as plain pixels for the reader tests: references made by other tools (netpbm, PAM), the
// pixels of a packed DIB, and how far two pictures differ.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/PackedDib.h"

namespace pictest {

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
// With maxval above 0 the samples are rescaled to it (rounded).
bool ReadNetpbm(const std::string& path, Image* out, int maxval = 0);

// The pixels of a 1-, 4-, 8-, 16- (5-5-5), 24- or 32-bit packed DIB, bottom-up or top-down, at
// maxval 255 (colour table applied; an index past the table is black); empty for any other
// picture or a block too small for its header.
Image DibToImage(PackedDIB dib);

// The colour-table index of pixel (x, y) of a bottom-up 1-, 4- or 8-bit picture, top row first.
int IndexAt(PackedDIB dib, int x, int y);
// Entry i of a picture's colour table.
RGBQUAD TableEntry(PackedDIB dib, int i);

// The same sample values rescaled to another maxval (rounded).
Image Rescaled(const Image& image, int maxval);

struct Difference {
    bool sameSize = false;
    int maxDiff = -1;       // largest channel difference (red, green, blue); -1 when the sizes differ
    double meanDiff = 0;    // mean absolute channel difference
    long long compared = 0; // pixels compared
    std::string Describe() const;
};
// Compares red, green and blue of two pictures of the same maxval; pixels whose reference alpha is
// below opaqueFrom are skipped (0 compares everything).
Difference Compare(const Image& actual, const Image& reference, int opaqueFrom = 0);

// The affine colour transform (per output channel: red, green, blue, constant) that maps `from`
// onto `to` best in the least-squares sense, and how far the pixels stay from it (in sample
// levels). Pictures of different sizes give residuals of -1.
struct ColourFit {
    double coef[3][4] = {};
    double meanResidual = -1;
    double p99Residual = -1;
};
ColourFit FitColours(const Image& from, const Image& to);

} // namespace pictest
