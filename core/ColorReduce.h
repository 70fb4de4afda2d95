// Colour reduction: pictures converted to 8 bits over a fixed palette (ordered dither to the
// colour cube, or error diffusion to a colour ramp) or to 4 bits over the 16 standard colours,
// and the constant tables those conversions (and the resizers) share.
#pragma once
#include <windows.h>

#include "core/PackedDib.h"
#include "core/Palette.h"

// Every converter takes a packed DIB of 1, 4, 8 or 24 bits per pixel (uncompressed, bottom-up),
// never changes it, and returns a new picture of the same width and height that the caller owns
// and frees with GlobalFreeHandle; 0 when the source is null, of another depth, inconsistent with
// its block, or when memory runs out. A palette index past the source's colour table reads as
// black.

// New 8-bit picture over the colour table of a fixed palette:
//   mode 1: ordered dither to the 6x6x6 cube, entries of DefaultLogPalette;
//   modes 2, 3, 4: Floyd-Steinberg error diffusion to that ramp;
//   mode 0: as mode 2, the ramp of the application palette.
// palette is accepted for the callers that hand the application palette along; the colour table
// always comes from the mode. Any other mode gives 0.
PackedDIB ConvertDIBTo8Bit(PackedDIB dib, HPALETTE palette, PaletteMode mode);

// New 4-bit picture over the 16 standard colours of CreateDIB, by ordered dither of each channel
// to on or off (black, red, green, yellow, blue, magenta, cyan, white). The source must be 24 bits
// (ConvertDIB24To4Bit) or 8 bits (ConvertDIB8To4Bit); any other depth gives 0.
PackedDIB ConvertDIB24To4Bit(PackedDIB dib);
PackedDIB ConvertDIB8To4Bit(PackedDIB dib);

// ---- Tables shared by the dithering code ----

// Thresholds 0-50 of the ordered dither to the six-level cube, at index (x % 8) * 8 + (y % 8).
extern const BYTE DitherMatrix51[64];
// Thresholds 0-252 (four times the 8x8 Bayer matrix) of the 16-colour dither, same indexing.
extern const BYTE DitherMatrix4Bit[64];
// v / 51 and v % 51 for v = 0..255; levels 0-5 times 6 and times 36.
extern const BYTE Quotient51[256];
extern const BYTE Remainder51[256];
extern const BYTE Times6[6];
extern const BYTE Times36[6];
// Entry of DefaultLogPalette for each cube colour, by key R + 6G + 36B (levels 0-5, level L is the
// value 51 L). The four cube colours the palette lacks take pure green (250) or pure blue (252).
extern const BYTE CubeToPaletteIndex[216];
// Standard 16-colour index of each on/off colour, by r + 2g + 4b.
extern const BYTE VgaIndexMap[8];

// Floyd-Steinberg shares of an error e (-256..255) in sixteenths, at index e + 256:
// Tk(e) = sign(e) * ((k * |e| + 8) / 16), halves rounded away from zero.
struct ErrorDiffusionTableSet {
    int t7[512];
    int t5[512];
    int t3[512];
    int t1[512];
};
extern const ErrorDiffusionTableSet ErrorDiffusionTables;

// The tables are constant data, ready before any code runs; this returns them, for the error
// diffusion runs that start by asking for them. Safe from any thread.
const ErrorDiffusionTableSet& InitErrorDiffusionTables();

// Mode-1 palette entry of a colour at dither position (x, y): each channel takes level v / 51,
// one higher where v % 51 exceeds DitherMatrix51 at that position.
inline BYTE OrderedDitherIndex(int red, int green, int blue, int x, int y)
{
    const BYTE threshold = DitherMatrix51[((x & 7) << 3) | (y & 7)];
    const int r = Quotient51[red] + (Remainder51[red] > threshold ? 1 : 0);
    const int g = Quotient51[green] + (Remainder51[green] > threshold ? 1 : 0);
    const int b = Quotient51[blue] + (Remainder51[blue] > threshold ? 1 : 0);
    return CubeToPaletteIndex[r + Times6[g] + Times36[b]];
}

// Standard 16-colour index of a colour at dither position (x, y): a channel is on where its value
// exceeds DitherMatrix4Bit there.
inline BYTE Dither4BitIndex(int red, int green, int blue, int x, int y)
{
    const BYTE threshold = DitherMatrix4Bit[((x & 7) << 3) | (y & 7)];
    return VgaIndexMap[(red > threshold ? 1 : 0) | (green > threshold ? 2 : 0) | (blue > threshold ? 4 : 0)];
}
