// Resizing pictures to an exact size (24 bits, or 8 bits over a fixed palette with dithering),
// and the canvas, crop, gradient, solid-colour and blit family built on the same sampling.
#pragma once
#include <windows.h>

#include "core/PackedDib.h"
#include "core/Palette.h"

// Sources are packed DIBs of 1, 4, 8 or 24 bits per pixel (uncompressed, bottom-up); they are never
// changed. Results are new pictures made by CreateDIB that the caller owns and frees with
// GlobalFreeHandle; 0 when the source is null, empty, of another depth or inconsistent with its
// block, when a size is negative, or when memory runs out. A target width or height of 0 gives a
// valid picture with no pixels. A palette index past the source's colour table reads as black.
//
// Sampling grid, for a W x H source and a w x h target (MulDiv rounds to nearest):
//   output row y reads source row MulDiv(y, H, h), at most H - 1 (rows are not averaged);
//   output column x averages source columns [MulDiv(x, W, w), MulDiv(x + 1, W, w)), the start at
//   most W - 1, the end at most W and at least start + 1; each channel's sum is divided by the
//   span length, truncating. Palette pictures are averaged on the colours their indices select.

// New 24-bit picture of width x height.
PackedDIB ResizeDIBTo24Bit(PackedDIB dib, int width, int height);

// New 8-bit picture of width x height over the colour table of a fixed palette. Mode 1 (and 0)
// takes the mean colour of each output pixel through the ordered dither at the output position;
// modes 2, 3 and 4 run the error diffusion over the output grid, where the first output row takes
// the single source pixel at each span start and later rows the span means. Other modes give 0.
PackedDIB ResizeDIBTo8Bit(PackedDIB dib, int width, int height, PaletteMode mode);

// ---- Members of the family that the program itself does not call ----
// "Screen palette" below: the mode-4 ramp when GetScreenBitsPerPixel is below 8, else the mode-2
// ramp, reached by error diffusion. Gradient channel at position i of n:
// (c1 (n - 1 - i) + c2 i) / (n - 1), or c1 when n is 1. Colours are COLORREFs (0x00BBGGRR).

// As ResizeDIBTo8Bit mode 1, with the colour table taken from the palette (0: the stock default
// palette) instead of DefaultLogPalette.
PackedDIB ResizeDIBTo8BitWithPalette(PackedDIB dib, int width, int height, HPALETTE palette);

// New 8-bit picture of width x height, all index 0 (black), holding the first min(W, width)
// columns and min(H, height) stored rows of the source, centred (Center...) or at offset (0, 0)
// (Crop...), on the screen palette. Rows count in stored order, row 0 at the bottom.
PackedDIB CenterDIBOnCanvas8Bit(PackedDIB dib, int width, int height);
PackedDIB CropDIBTo8Bit(PackedDIB dib, int width, int height);
// The same into a black 24-bit picture, without dithering.
PackedDIB CenterDIBOnCanvas24Bit(PackedDIB dib, int width, int height);
PackedDIB CropDIBTo24Bit(PackedDIB dib, int width, int height);

// New picture of a linear gradient: horizontal from color1 at the left to color2 at the right,
// else from color1 at the top to color2 at the bottom. The 8-bit form uses the screen palette.
PackedDIB CreateGradientDIB8Bit(COLORREF color1, COLORREF color2, int width, int height, BOOL horizontal);
PackedDIB CreateGradientDIB24Bit(COLORREF color1, COLORREF color2, int width, int height, BOOL horizontal);

// New picture of one colour. The 8-bit form uses the screen palette.
PackedDIB CreateSolidDIB8Bit(COLORREF color, int width, int height);
PackedDIB CreateSolidDIB24Bit(COLORREF color, int width, int height);

// Copy the source into an existing picture (24 bits, or 8 bits carrying the screen palette):
// Centered places it 1:1 at the middle, clipped at the destination's edges; Scaled fits it inside
// a border of `border` pixels on every side by nearest-pixel sampling, keeping its proportions and
// centred unless stretch is non-zero, which fills the whole inner area. The destination's other
// pixels and its colour table are left as they were. FALSE (nothing changed) when either picture
// is unusable or the destination has the wrong depth.
BOOL BlitDIBCentered24Bit(PackedDIB dest, PackedDIB source);
BOOL BlitDIBScaled24Bit(PackedDIB dest, PackedDIB source, int border, BOOL stretch);
BOOL BlitDIBCentered8Bit(PackedDIB dest, PackedDIB source);
BOOL BlitDIBScaled8Bit(PackedDIB dest, PackedDIB source, int border, BOOL stretch);

// The 8 x 8 mode-1 dither pattern of a colour given as 0x00RRGGBB: the channel values 64, 128 and
// 192 are first lowered to 63, 127 and 191; cell i (position x = i % 8, y = i / 8) receives the
// DefaultLogPalette entry that the ordered dither gives there. pattern holds 64 bytes.
void MakeDitherPattern(DWORD rgb, BYTE* pattern);
