// Zoom steps and drawing rectangles of the picture views: plain arithmetic, shared by the windowed
// and the full-screen display.
#pragma once
#include <windows.h>

const int kZoomMin = 1;
const int kZoomMax = 5000;

// The band step of a zoom: 10 below 50, 20 below 100, 50 below 200, 100 below 500, 200 below 1000,
// else 500.
int ZoomBandStep(int zoom);
// One band step in, snapped onto the band's grid, at most kZoomMax.
int ZoomInBand(int zoom);
// One band step out, at least 10 and snapped onto the grid; never larger than zoom itself.
int ZoomOutBand(int zoom);
// Fine steps of max(1, zoom / 20): in up to kZoomMax, out down to 1; no snapping.
int ZoomInFine(int zoom);
int ZoomOutFine(int zoom);

// The largest rectangle of the picture's proportions inside a cw x ch client, centred; empty when
// the picture or the client has no area.
RECT ProportionalRect(int cw, int ch, int w, int h);

// Where a picture drawn at a zoom sits in a client: zoomed size and offsets (centred while smaller
// than the client, else 0).
struct ZoomLayout {
    int zw, zh; // zoomed size
    int ox, oy; // offsets in the client
};
ZoomLayout ComputeZoomLayout(int cw, int ch, int w, int h, int zoom);

// The part of the picture (src, picture pixels, top-down) that an update rectangle of the client
// needs, and where it goes (dest, client coordinates), with the view scrolled to scroll. FALSE when
// the update rectangle misses the picture.
BOOL ZoomedSourceRect(const RECT& update, POINT scroll, const ZoomLayout& layout, int w, int h, int zoom,
                      RECT* src, RECT* dest);
