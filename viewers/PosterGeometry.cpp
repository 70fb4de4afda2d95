// Picture and poster page geometry.
#include "viewers/PosterGeometry.h"

#include <algorithm>
#include <cmath>

BOOL ComputePlainPage(const PrinterPage& page, int picWidth, int picHeight, PlainPageLayout* out)
{
    if (picWidth <= 0 || picHeight <= 0 || page.width <= 0 || page.height <= 0 || page.dpiX <= 0
        || page.dpiY <= 0)
        return FALSE;
    const long long W = picWidth, H = picHeight, PW = page.width, PH = page.height;
    const long long DX = page.dpiX, DY = page.dpiY;
    const long long band = DY / 2;
    const long long avail = std::max(0LL, PH - band - band);
    out->title = {0, 0, page.width, static_cast<LONG>(band)};
    out->footer = {0, static_cast<LONG>(band + avail), page.width, page.height};
    long long h = H * PW * DY / (W * DX);
    if (h < avail) {
        long long top = band + (avail - h) / 2;
        out->picture = {0, static_cast<LONG>(top), page.width, static_cast<LONG>(top + h)};
    } else {
        long long w = W * avail * DX / (H * DY);
        long long left = (PW - w) / 2;
        out->picture = {static_cast<LONG>(left), static_cast<LONG>(band), static_cast<LONG>(left + w),
                        static_cast<LONG>(band + avail)};
    }
    return TRUE;
}

BOOL ComputePoster(const PrinterPage& page, int picWidth, int picHeight, UINT widthCm, PosterLayout* out)
{
    if (picWidth <= 0 || picHeight <= 0 || page.width <= 0 || page.height <= 0 || page.dpiX <= 0
        || page.dpiY <= 0 || widthCm == 0)
        return FALSE;
    const double W = picWidth, H = picHeight, cm = widthCm;
    PosterLayout l;
    l.scaleX = page.dpiX * (cm / 2.54) / W;
    l.scaleY = page.dpiY * (cm * H / W / 2.54) / H;
    // A picture pixel larger than the page still gets a page of its own.
    l.pieceWidth = std::max(1, std::min(picWidth, static_cast<int>(page.width / l.scaleX)));
    l.pieceHeight = std::max(1, std::min(picHeight, static_cast<int>(page.height / l.scaleY)));
    l.across = (picWidth + l.pieceWidth - 1) / l.pieceWidth;
    l.down = (picHeight + l.pieceHeight - 1) / l.pieceHeight;
    l.pages = l.across * l.down;
    *out = l;
    return TRUE;
}

BOOL PosterPiece(const PosterLayout& l, int picWidth, int picHeight, int pageNumber, RECT* src, RECT* dest)
{
    if (pageNumber < 1 || pageNumber > l.pages || l.across <= 0)
        return FALSE;
    int column = (pageNumber - 1) % l.across;
    int row = (pageNumber - 1) / l.across;
    int left = column * l.pieceWidth;
    int right = std::min(left + l.pieceWidth, picWidth);
    // Row 0 is the bottom strip of the picture.
    int top = picHeight - std::min((row + 1) * l.pieceHeight, picHeight);
    int bottom = picHeight - row * l.pieceHeight;
    *src = {left, top, right, bottom};
    *dest = {0, 0, static_cast<LONG>((right - left) * l.scaleX),
             static_cast<LONG>((bottom - top) * l.scaleY)};
    return TRUE;
}

int ScaleDimension(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return 0;
    return static_cast<int>(std::llround(static_cast<double>(value) * numerator / denominator));
}

int PosterOtherSide(int value, int numerator, int denominator)
{
    int side = ScaleDimension(value, numerator, denominator);
    return value >= 1 && side < 1 ? 1 : side;
}
