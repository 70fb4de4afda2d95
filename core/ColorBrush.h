// Colours and brushes for pixels of pictures that carry a transparency mask (a colour plane and a
// mask plane, as in icons), and dithered brushes that approximate colours on displays of few colours.
#pragma once
#include <windows.h>

class CBrush;
class CDC;

// Colour values are COLORREFs whose top byte gives a kind: 0x00 RGB, 0x01 palette index,
// 0x02 palette-relative RGB (the ordinary colours); 0xF1 the screen (the pixel shows what is behind
// it); above 0xF1 the inverse screen.
const COLORREF kScreenColor = 0xF1000000;
const COLORREF kInverseScreenColor = 0xF2000000;

// 0 for an ordinary colour (top byte up to 0xF0), 1 for the screen colour, 2 for the inverse.
int GetColorKind(COLORREF color);

// Writes a pixel into both planes: an ordinary colour as a black mask pixel and the colour made
// palette-relative; the screen as a white mask pixel over black; the inverse screen as white over
// white.
void SetMaskPixel(CDC* colorPlane, CDC* maskPlane, COLORREF color, int x, int y);

// Reads both planes back: white mask over white gives kInverseScreenColor, white mask over any
// other colour kScreenColor, a mask that is not white the colour plane's pixel.
COLORREF GetMaskPixel(CDC* colorPlane, CDC* maskPlane, int x, int y);

// Index 0-15 of the exact colour in the 16-colour table of these brushes (bright colours at 240:
// (0,0,0), (128,0,0) ... (240,0,0), (0,240,0) ... (240,240,240)); -1 when absent.
int FindStandardColorIndex(BYTE red, BYTE green, BYTE blue);

// Colour i of n between a and b, each channel (a (n - 1 - i) + b i) / (n - 1); a when n <= 1.
// The result is an RGB colour.
COLORREF InterpolateColor(int i, COLORREF a, COLORREF b, int n);

// Bits per pixel x planes of the desktop window's DC.
int GetDesktopBitsPerPixel();

// Replaces the brush by one for the colour on a display of `depth` bits per pixel: a solid brush
// for a colour with a non-zero top byte, CreateDitherBrush for an RGB colour. FALSE on failure.
BOOL CreateColorBrush(CBrush* brush, COLORREF color, int depth);

// Replaces both brushes by the pair that paints the colour into a mask plane and a colour plane:
// ordinary colours a black mask and a colour brush (solid for index and palette-relative colours,
// taken from `palette` and cut to 5 bits a channel on 15- and 16-bit displays; dithered for RGB
// colours); the screen a white mask and black; the inverse screen white and white.
BOOL CreateMaskBrushPair(COLORREF color, CBrush* mask, CBrush* colorBrush, int depth, HPALETTE palette);

// Replaces the brush by an 8 x 8 pattern approximating an RGB colour: depth 1, black and white by
// the grey level against the 8 x 8 Bayer thresholds; depth 4, the 16 standard colours of
// ComputeDitherPattern; depth 8, the built-in 256-colour palette by its ordered dither; any other
// depth, a solid brush. FALSE on failure.
BOOL CreateDitherBrush(CBrush* brush, COLORREF color, int depth);

// One share of a dithered colour: `count` of the 64 pattern cells take standard colour `index`.
struct DitherShare {
    int count;
    int index;
};

// Splits a colour into at most four shares of 64 cells: with the channels sorted (largest first)
// and quartered ((value + 1) / 4, 0-64), the smallest quarter's cells are white, the next step's the
// colour of the two largest channels, the next the largest channel's colour, the rest black.
// Returns the number of shares written (empty shares are left out).
int ComputeDitherShares(COLORREF color, DitherShare* shares);

// Places the shares into the 64 cells in the order of the Bayer thresholds (first share on the
// lowest thresholds), so that every share is spread evenly. Cells not covered stay black.
void FillDitherPattern(BYTE* pattern, const DitherShare* shares, int count);

// ComputeDitherShares then FillDitherPattern: the 64 standard-colour indices of a colour.
void ComputeDitherPattern(COLORREF color, BYTE* pattern);

// Copies columns x rows sample pixels (cell (c, r) reads the sample at (left + width c / columns,
// top + height r / rows)) as single pixels from (x, y) of the DC, each painted with a dither brush
// for `depth`; a brush is made anew only when the colour changes. Shows the busy cursor and the
// progress gauge ("Collage...") while it runs.
void DrawDitheredCopy(CDC* dc, int x, int y, int columns, int rows, CDC* sample, int left, int top, int width,
                      int height, int depth);
