// Small drawing routines on a framework device context: three-dimensional edges, solid fills and
// frames, bitmaps, text in a rectangle, and a checkerboard tint.
#pragma once
#include <windows.h>

class CBitmap;
class CDC;
class CFont;

// Edges of a rectangle, `thickness` pixels wide, with two solid pens. Without `sunken`, `first`
// draws the left and top edges and `second` the bottom and right ones; `sunken` swaps them.
// Throws the framework's CResourceException when a pen cannot be made.
void Draw3DRect(CDC* dc, const RECT& rect, BOOL sunken, int thickness, COLORREF first, COLORREF second);

// Fills, or frames one pixel wide, the rectangle with a temporary solid brush of the colour.
void FillRectColor(CDC* dc, const RECT& rect, COLORREF color);
void FrameRectColor(CDC* dc, const RECT& rect, COLORREF color);

// Copies width x height pixels of the bitmap from (srcX, srcY) to (x, y) of the DC; a width or
// height of 0 means the bitmap's own.
void DrawBitmap(CDC* dc, CBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height);

// The same for a source rectangle taken as inclusive (width right - left + 1).
void DrawBitmapRect(CDC* dc, CBitmap* bitmap, int x, int y, const RECT& source);

// Width and height of the bitmap (0 when it has none).
void GetBitmapSize(CBitmap* bitmap, int* width, int* height);

// Draws the text in the rectangle with DrawText's format, the font (null keeps the DC's) and the
// text colour, on a transparent background; the DC's state is restored. Returns the text height.
int DrawTextInRect(CDC* dc, RECT* rect, LPCSTR text, CFont* font, COLORREF textColor, UINT format);

// The same after filling the rectangle with the background colour.
int DrawTextOnFill(CDC* dc, RECT* rect, LPCSTR text, CFont* font, COLORREF textColor, UINT format,
                   COLORREF background);

// Embossed text: the text offset by (+depth, +depth) in the dark colour, by (-depth, -depth) in the
// light colour, then in place in the face colour. Returns the last DrawText result.
int DrawEmbossedText(CDC* dc, RECT rect, LPCSTR text, CFont* font, COLORREF face, UINT format, COLORREF light,
                     COLORREF dark, int depth);

// Tints the rectangle with a 50% checkerboard of the colour: a pixel whose x + y is even (in the DC's
// coordinates) takes the colour, the others keep what is there. Every DC setting is restored.
// Returns 1.
int DrawPatternRect(HDC hdc, const RECT& rect, COLORREF color);

// TRUE when the font draws the accent of a capital: "\xC9" inks more pixels than "E". Small sizes of
// some faces (the one Wine gives for Arial at 9 pixels) draw "\xC9" as a plain "E".
BOOL FontDrawsCapitalAccents(HFONT font);

// Puts left <= right and top <= bottom, swapping where needed.
void NormalizeRect(RECT* rect);
void NormalizeRectCoords(int* x1, int* y1, int* x2, int* y2);

// Replaces target's bitmap by a copy of source's (nothing when source has no bitmap).
void CopyBitmapObject(CBitmap* target, CBitmap* source);

// Always 1: the drawing kit needs no set-up.
int DrawUtilitiesReady();
