// CCaptionPainter: the main window's own title bar (gradient, small icon, caption buttons, the
// application title in bold and the active document's title), drawn once per activation state into
// a cached bitmap that each non-client paint only copies.
#pragma once
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "framework/String.h"

#include <vector>

class CWnd;

// One strip of the active caption's gradient.
struct CaptionStrip {
    int x;
    int width;
    COLORREF color;
};
// The strips of an active caption w pixels wide in colour c, left to right: black, the fall-off
// (the colour times 1 - d²/span², d the distance from five sixths of the width), then c.
std::vector<CaptionStrip> CaptionGradient(int w, COLORREF c);

// ((max + min of the components) x 240 + 255) / 510: 0 black .. 240 white.
int GetLightness(COLORREF color);
// Fills with a temporary solid brush.
void FillSolidRect(HDC hdc, int x, int y, int cx, int cy, COLORREF color);

class CCaptionPainter {
public:
    CCaptionPainter() = default;

    // The caption rectangle of a window, in window coordinates.
    static CRect GetCaptionRect(CWnd* pWnd);

    // The caption of pWnd for that state, drawn when not cached (0 when it cannot be drawn).
    // appTitle: the frame's title; docTitle: the active document's, or empty.
    CBitmap* DrawCaptionBitmap(CWnd* pWnd, BOOL bActive, LPCSTR appTitle, LPCSTR docTitle);
    // Copies the cached caption onto the window's non-client area (nothing while minimised).
    void PaintCaption(CWnd* pWnd, BOOL bActive, LPCSTR appTitle, LPCSTR docTitle);
    void CreateCaptionFonts();
    // The next paint draws the caption again (text or title changed).
    void Invalidate() { m_rectCaption.SetRectEmpty(); }
    // System colours or settings changed: fonts too.
    void Reset();

    CFont m_fontCaption;      // the system's caption font
    CFont m_fontCaptionTitle; // bold Arial for the application title
    BOOL m_bCaptionActive = FALSE;
    CRect m_rectCaption;       // the rectangle the cache was drawn for; empty: invalid
    CBitmap m_bmpCaption[2];   // 0 inactive, 1 active
    CString m_strCachedTitles; // the titles the cache shows: a document renamed draws it again
    int m_nTitleRight = 0;     // where the last drawn application title ended (caption coordinates)
};
