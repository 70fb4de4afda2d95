// Test helper: a 32-bit top-down DIB section selected into a memory DC, for drawing tests that read
// the pixels back.
#pragma once
#include <windows.h>

#include "framework/Dc.h"

namespace proctest {

class DrawSurface {
public:
    DrawSurface(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap =
            CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_dc.CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc.m_hDC, m_bitmap);
        Fill(fill);
    }
    ~DrawSurface()
    {
        SelectObject(m_dc.m_hDC, m_old);
        DeleteObject(m_bitmap);
    }
    DrawSurface(const DrawSurface&) = delete;
    DrawSurface& operator=(const DrawSurface&) = delete;

    CDC* dc() { return &m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }

    // Colour of pixel (x, y) as a COLORREF.
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const DWORD v = m_bits[y * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    void Fill(COLORREF c)
    {
        GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width, m_height;
    DWORD* m_bits = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    CDC m_dc;
};

} // namespace proctest
