// CDIB: the picture object that owns one packed DIB and the palette built from its colour table,
// loads any supported file through the load dispatcher, draws itself and stores itself in archives;
// and LoadThumbnailDIB, the loader of library thumbnails.
#pragma once
#include "core/PackedDib.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "framework/Object.h"
#include "framework/String.h"

class CArchive;
class CDC;

class CDIB : public CObject {
    DECLARE_SERIAL(CDIB)
public:
    // No picture, an empty palette, delay 0, no transparent index (-1).
    CDIB();
    // A byte copy of the source's block with its palette rebuilt; delay 0, transparent index -1.
    CDIB(const CDIB& other);
    // Frees the block and deletes the palette.
    ~CDIB() override;

    // Frees this picture, then copies the other's block, palette, delay and transparent index.
    CDIB& operator=(const CDIB& other);
    // Frees this picture, then holds a copy of dib, which stays the caller's (delay 0, index -1).
    CDIB& operator=(HGLOBAL dib);

    // Takes ownership of dib (0 allowed), freeing the previous block. The palette is rebuilt when
    // the new picture has a colour table and left as it was otherwise.
    void Attach(HGLOBAL dib);
    // Gives the block up to the caller (the object is then empty); the palette stays.
    HGLOBAL Detach();
    // Frees the block (handle 0) and deletes the palette.
    void Free();

    // The picture handle, still owned by this object; 0 without a picture.
    PackedDIB GetHandle() const { return m_hDIB; }
    BOOL IsEmpty() const { return m_hDIB == nullptr; }
    CPalette* GetPalette() { return &m_palette; }
    int GetDelay() const { return m_delay; }
    int GetTransparentIndex() const { return m_transparentIndex; }

    DWORD Width() const; // 0 without a picture
    DWORD Height() const;
    WORD NumColors() const; // colour-table entries; 0 without a picture or above 8 bits

    // A new palette from the colour table, as a temporary wrapper (the thread's temporary map owns
    // the wrapper, not the handle: callers detach or delete it). Null without a colour table.
    CPalette* CreateDIBPalette();
    // A device bitmap of the picture made with that palette (may be null), as a temporary wrapper
    // whose handle the caller detaches. Null without a picture.
    CBitmap* CreateBitmap(CPalette* palette);

    void SetDelay(int delay) { m_delay = delay; }
    void SetTransparentIndex(int index) { m_transparentIndex = index; }

    // Loads the picture of path with the reader of typeName's type (typeName: a name or bare
    // extension), or of the path's own extension when typeName is empty. The object is empty after
    // a missing file, a type without reader or a failed read. Records LastPictureInfo. Holds the
    // decoder lock while it runs.
    void Read(LPCSTR path, LPCSTR typeName = "");

    // Draws the picture scaled to fit box with its proportions kept, centred; the rectangle drawn
    // goes to outDest when given. resample, or a true-colour picture on a screen of 8 bits or less,
    // draws a resized copy instead of letting GDI stretch. Nothing is drawn without a picture.
    void DrawScaled(CDC* pDC, CRect box, BOOL resample, RECT* outDest = nullptr);
    // As DrawScaled, always stretched by GDI with the picture's palette.
    void DrawFit(CDC* pDC, CRect box);
    // Paints the src rectangle (picture pixels, top-down) into dest through PaintDIB.
    int Paint(CDC* pDC, const RECT* src, const RECT* dest, CPalette* palette);

    // Stores: DWORD 0 without a picture; else DWORD 1, DWORD n and the first n bytes of the block
    // (n = 40 + colour table + rows). Loading reads the same; a byte count that runs past the
    // archive throws CArchiveException (endOfFile), and a picture whose bytes are inconsistent
    // (a header other than 40 bytes, no pixels, rows or colour table past n) leaves the object empty.
    void Serialize(CArchive& ar) override;

    // ---- Members the program itself does not call ----

    // Frees the block and installs a copy of header, its colour table and the rows; palette untouched.
    BOOL Create(const BITMAPINFOHEADER* header, const void* bits);
    // Installs the bitmap resource id of the resource module; FALSE when there is none.
    BOOL LoadResource(UINT id);
    // Installs the "JPEG" resource of that name through the JPEG reader; FALSE when there is none.
    BOOL LoadJPEGResource(LPCSTR name);
    // First row of the picture (the block is not left locked; the address holds until the picture
    // changes). Null without a picture.
    BYTE* GetBits();
    // Paints the picture-sized rectangle at srcOrigin into dest (stretched when dest differs).
    void Draw(CDC* pDC, CRect dest, CPoint srcOrigin, HPALETTE palette);
    // Fills dest without keeping proportions, with DrawScaled's palette and resampling rules.
    void DrawStretched(CDC* pDC, CRect dest, BOOL resample);
    // The picture as count equal frames side by side: draws frame index fitted and centred.
    void DrawFrameFit(CDC* pDC, CRect box, int count, int index);
    // Draws the top rows of the picture fitted and centred.
    void DrawPartFit(CDC* pDC, CRect box, BOOL resample, int rows);

private:
    void RebuildPalette();
    // The GDI-stretched path: no resampling asked, and a screen above 8 bits or a palette picture.
    BOOL UsesDirectPath(BOOL resample) const;
    // Paints the src rectangle (top-down) into dest: stretched by GDI with the picture's palette,
    // or, when resample, resized by the program first (24 bits on screens above 8 bits and mode 0,
    // else 8 bits on the given palette mode, 0 meaning the screen's ramp).
    void DrawRect(CDC* pDC, const CRect& src, const CRect& dest, BOOL resample, int mode = 0);

    PackedDIB m_hDIB = nullptr;
    CPalette m_palette;
    int m_delay = 0;
    int m_transparentIndex = -1;
};

// A new picture of path fitted into maxWidth x maxHeight (never enlarged, except JPEG pictures,
// which the reader already reduced and which are always fitted to the box): 24 bits when
// screenBits is above 8, else 8 bits on the application palette's ramp (8) or the 1-bit-per-channel
// ramp (below 8). 0 when the file is missing or cannot be read. The caller owns the result.
// The readers load it without the gauge, at PhotoCD size 0 and in 24 bits (a CReaderOptionsScope
// of this thread: the user's settings are neither read for these nor changed); LastPictureInfo then
// holds the full-size measures. Safe on any thread.
PackedDIB LoadThumbnailDIB(LPCSTR path, WORD maxWidth, WORD maxHeight, int screenBits, LPCSTR typeName = "");
