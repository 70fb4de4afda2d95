// The packed-DIB handle family: a picture held as one moveable global-memory block (info header,
// colour table, bottom-up rows padded to 4 bytes) and the free functions that create, measure,
// paint, copy and convert such blocks.
#pragma once
#include <windows.h>

class CBitmap;
class CPalette;

// A moveable HGLOBAL holding BITMAPINFOHEADER (40 bytes), the RGBQUAD colour table and the rows.
// 0 means no picture. The block belongs to whoever holds the handle; free it with GlobalFreeHandle.
typedef HGLOBAL PackedDIB;

// The largest block any function of the program allocates for a picture (1 GiB). Sizes computed
// from untrusted dimensions are checked against it before anything is allocated.
const DWORD kMaxPackedDIBBytes = 0x40000000;

// Bytes of one row of pixels, padded to a multiple of 4. 0 when the row would not fit in 32 bits.
DWORD DIBRowBytes(DWORD width, WORD bits);

// Size of the whole block (40 + colour table + rows) for these dimensions, computed in 64 bits
// so that hostile dimensions cannot wrap; compare with kMaxPackedDIBBytes before allocating.
// colors: colour-table entries (each 4 bytes).
ULONGLONG PackedDIBBytes(DWORD width, DWORD height, WORD bits, DWORD colors);

// New zero-filled picture. bits is rounded up to 1, 4, 8, 16, 24 or 32 (0 gives 1; above 32
// gives 4). 4- and 8-bit pictures get the 16 standard colours (repeated for 8 bits), 1-bit ones a
// black-and-black table, biClrUsed 2/16/256 (0 above 8 bits). Width or height 0 is allowed.
// Returns 0 when the block would exceed kMaxPackedDIBBytes or cannot be allocated.
PackedDIB CreateDIB(DWORD width, DWORD height, WORD bits);

// Measuring functions over a locked block. A header whose first DWORD is not 40 is read as the
// 12-byte BITMAPCOREHEADER (RGBTRIPLE colour table). The caller guarantees the block is at least
// as large as its header says.
BYTE* FindDIBBits(void* dib); // first (bottom) row: header + colour table
const BYTE* FindDIBBits(const void* dib);
DWORD DIBWidth(const void* dib);
DWORD DIBHeight(const void* dib);
WORD PaletteSize(const void* dib);      // colour-table bytes (x4, or x3 for the core form)
WORD DIBNumColors(const void* dib);     // biClrUsed (as 16 bits) or 2/16/256 by the bit count
WORD DIBNumColorsHandle(PackedDIB dib); // 0 for a null handle or a failed lock

// New palette from the colour table; 0 without a handle, without a colour table or without memory.
// The caller deletes it.
HPALETTE CreateDIBPaletteHandle(PackedDIB dib);

// Paints the src rectangle (top-down picture coordinates) of the picture into dest: 1:1 with
// SetDIBitsToDevice when the sizes match, else StretchDIBits (COLORONCOLOR). hpal, when given, is
// selected as a background palette and realised, then the previous one put back.
// Returns the GDI call's result; 0 for a null handle.
int PaintDIB(HDC hdc, const RECT* dest, PackedDIB dib, const RECT* src, HPALETTE hpal);

// Makes in *bitmap a device bitmap compatible with the screen, of the picture's size, holding the
// picture drawn 1:1 with the given palette (may be null). FALSE for a null handle or failed lock.
BOOL DIBToCompatibleBitmap(PackedDIB dib, CBitmap* bitmap, CPalette* palette);

// New device-dependent bitmap of the picture (CreateDIBitmap on the screen DC); 0 on failure.
HBITMAP DIBToBitmap(PackedDIB dib, HPALETTE hpal);

// New picture from a device bitmap (1, 4, 8 or 24 bits by the bitmap's depth), colours resolved
// through hpal (0: the stock default palette). 0 on failure; the bitmap is not touched.
PackedDIB BitmapToDIB(HBITMAP hbm, HPALETTE hpal);

// Frees the block (null is allowed) and returns 0, to be stored back into the handle.
HGLOBAL GlobalFreeHandle(HGLOBAL handle);

// A copy of the bitmap resource (RT_BITMAP) as a new moveable block; 0 when there is none.
PackedDIB LoadDIBResource(HINSTANCE instance, LPCSTR name);

// Fills the colour table that follows a 40-byte header from a palette (0: the stock default
// palette). usage 1 (DIB_PAL_COLORS) writes the 16-bit indices 0, 1, 2 ...; any other usage
// writes up to 256 RGBQUADs. Returns 0 for a null header, else 1.
int SetDIBColorsFromPalette(BITMAPINFOHEADER* header, HPALETTE hpal, UINT usage);

// New GHND block holding a byte copy of the given one; 0 on failure or for a null handle.
HGLOBAL CopyGlobalHandle(HGLOBAL handle);

// New device bitmap copies (whole, or the given rectangle); 0 on failure.
HBITMAP CopyBitmap(HBITMAP hbm);
HBITMAP CopyBitmapRect(HBITMAP hbm, const RECT* rect);

// A new 24-bit copy of a 16-bit (5-5-5) or 32-bit (BGRX) BI_RGB picture, for the code that works
// on 1, 4, 8 and 24 bits only. 0 for other depths or an inconsistent block.
PackedDIB ConvertDIBTo24Bit(PackedDIB dib);

// Called between LockResource and FreeResource by the resource loaders; does nothing, returns 0.
int UnlockResourceData(void* data);

// ---- Members of the family that the program itself does not call ----

// Captures a window (mode 1 the window rectangle, 2 the client area) or a screen rectangle.
PackedDIB CaptureWindowDIB(HWND hwnd, WORD mode);
PackedDIB CaptureScreenRectDIB(const RECT* rect);
HBITMAP CaptureWindowBitmap(HWND hwnd, WORD mode);
HBITMAP CaptureScreenRectBitmap(const RECT* rect);

// Device-bitmap twin of PaintDIB: BitBlt when the sizes match, else StretchBlt.
BOOL PaintBitmap(HDC hdc, const RECT* dest, HBITMAP hbm, const RECT* src, HPALETTE hpal);

// Palette of the picture into *palette; the stock default palette when it has no colour table.
BOOL CreateDIBPaletteObject(PackedDIB dib, CPalette* palette);

// A bitmap compatible with the desktop window's DC; returns 1.
BOOL CreateScreenCompatibleBitmap(CBitmap* bitmap, WORD width, WORD height);

// Stretches the src rectangle of the picture into the dest rectangle of the bitmap. Both
// rectangles are inclusive (width = right - left + 1).
BOOL PaintDIBIntoBitmap(PackedDIB dib, CBitmap* bitmap, CPalette* palette, const RECT* src, const RECT* dest);

int PalEntriesOnDevice(HDC hdc); // SIZEPALETTE, or NUMCOLORS when that is 0
HPALETTE GetSystemPalette();     // the screen's system palette; 0 when it has no entries

// Block of header + colour table sized through GetDIBits for the bitmap, reallocated to hold the
// rows (not fetched). 0 on failure.
PackedDIB AllocDIBForBitmap(const BITMAPINFOHEADER& header, HBITMAP hbm);

// Re-encodes a picture or a device bitmap to (bits, compression) through GDI. Allowed pairs: see
// the implementation; anything else gives 0.
PackedDIB ChangeDIBFormat(PackedDIB dib, WORD bits, DWORD compression);
PackedDIB ChangeBitmapFormat(HBITMAP hbm, WORD bits, DWORD compression, HPALETTE hpal);

HPALETTE CopyPalette(HPALETTE hpal); // new palette with the same entries, 0 on failure

// Writes n colours (2..256, else 0) of the palette as blue, green, red (the fourth byte is left
// alone): n 2 gives black and white, n 16 the first and last 8 entries. Returns the count written.
int GetPaletteColors(RGBQUAD* colors, HPALETTE hpal, int n);

// SetPixel per pixel of a 1-, 4-, 8- or 24-bit picture into the top-left width x height of hdc.
void DrawDIBPixels(HDC hdc, PackedDIB dib, int width, int height);

// 24-bit picture to a new 8-bit picture on the 256 entries of hpal, with Floyd-Steinberg error
// diffusion. Other depths give 0. The source is not changed.
PackedDIB ConvertDIB24To8WithPalette(PackedDIB dib, HPALETTE hpal);

// Nearest-colour search over palette entries whose peFlags hold the entry's index. Build sorts the
// entries (by red, green, blue) and clears the 32768-entry cache keyed by 5 bits per channel;
// FindNearestColor returns the index of the closest entry and caches it. Process-wide cache.
BOOL BuildNearestColorCache(PALETTEENTRY* entries, int n);
void FreeNearestColorCache();
BYTE FindNearestColor(BYTE red, BYTE green, BYTE blue, const PALETTEENTRY* entries, int n);
int __cdecl ComparePaletteEntries(const void* a, const void* b);
