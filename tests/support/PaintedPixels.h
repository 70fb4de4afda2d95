// A window's painting caught in memory, as 0x00RRGGBB values, top row first: what the view and
// list tests read their pixels from.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

struct PaintedPixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    COLORREF At(int x, int y) const
    {
        DWORD p = pixels[static_cast<size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// Runs paint on a screen-compatible memory DC holding a 32-bit top-down DIB section of width x
// height, and returns what it painted there.
inline PaintedPixels PaintIntoMemory(int width, int height, const std::function<void(HDC)>& paint)
{
    PaintedPixels result;
    result.width = width;
    result.height = height;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbm = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    paint(hdc);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(pBits);
    result.pixels.assign(p, p + static_cast<size_t>(width) * height);
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return result;
}
