// Printing one picture: on a plain page with a title band and a footer band, or as a poster cut over
// as many pages as its size in centimetres needs; and the poster state of a kind of view.
#pragma once
#include "core/PackedDib.h"
#include "framework/Wnd.h"

class CDC;
struct CPrintInfo;

// The poster settings of a kind of picture view, kept while the program runs.
struct PosterState {
    BOOL bPosterMode = FALSE; // set by the poster commands, cleared by plain print and preview
    UINT nWidthCm = 64;
};
// The still-picture views' poster settings.
extern PosterState g_stillPoster;
// The animation views' poster settings, kept apart from the still pictures'.
extern PosterState g_animPoster;

// The poster dialog for a picture of that size (ORVANEL8 and PRINTPOSTER on its buttons): on OK the
// width is kept and poster mode set. TRUE on OK; nothing changes otherwise.
BOOL AskPosterSize(PosterState& state, int picWidth, int picHeight, CWnd* pParent);

// Whether the page pInfo names exists: in poster mode only the poster's pages do. Sets
// pInfo->m_bContinuePrinting accordingly (plain printing keeps what the caller's rule gave).
void ContinuePosterPrinting(const PosterState& state, CDC* pDC, CPrintInfo* pInfo, PackedDIB dib);
// Draws pInfo's page of the poster: its piece of the picture at the poster's scale, top left.
void PrintPosterPage(const PosterState& state, CDC* pDC, CPrintInfo* pInfo, PackedDIB dib, HPALETTE hPalette);
// Draws the plain page: title, the whole picture fitted, the product banner.
void PrintPlainPage(CDC* pDC, PackedDIB dib, HPALETTE hPalette, LPCSTR lpszTitle);
