// The page geometry of picture printing, as pure functions of the printer's page and the picture's
// size: the plain page (title band, picture fitted, footer band) and the poster cut into pages.
#pragma once
#include <windows.h>

// A printer page: printable size in device pixels (HORZRES, VERTRES) and resolution (LOGPIXELSX/Y).
struct PrinterPage {
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
};

// The plain page: the title band on top, the footer band at the bottom (half an inch each), the
// picture fitted between them with its physical proportions, centred.
struct PlainPageLayout {
    RECT title;
    RECT picture;
    RECT footer;
};
// Computed in 64 bits: printer resolutions times picture sizes overflow 32-bit products.
// FALSE (and nothing set) without a picture or a page.
BOOL ComputePlainPage(const PrinterPage& page, int picWidth, int picHeight, PlainPageLayout* out);

// A poster of widthCm centimetres: the picture cut into pieces of a page each, read from the bottom
// left, left to right then upwards.
struct PosterLayout {
    double scaleX = 0; // device pixels per picture pixel
    double scaleY = 0;
    int pieceWidth = 0; // picture pixels per page, at least 1 each
    int pieceHeight = 0;
    int across = 0;
    int down = 0;
    int pages = 0;
};
// FALSE without a picture, a page or a width.
BOOL ComputePoster(const PrinterPage& page, int picWidth, int picHeight, UINT widthCm, PosterLayout* out);
// Page pageNumber (from 1) of the poster: src in top-down picture pixels, dest on the page.
// FALSE when the poster has no such page.
BOOL PosterPiece(const PosterLayout& layout, int picWidth, int picHeight, int pageNumber, RECT* src,
                 RECT* dest);

// The poster dialog's proportion: value * numerator / denominator rounded to the nearest whole number
// (halves away from 0), 0 when the denominator is 0.
int ScaleDimension(int value, int numerator, int denominator);
// The poster's other side for one side of value cm: ScaleDimension, but at least 1 cm when value is,
// so that a very flat picture's side still passes the dialog's range check.
int PosterOtherSide(int value, int numerator, int denominator);
