// What the animation and slide-show tests share: animated GIFs written with giflib (each frame a
// checkerboard of two colours of its own), and opening one into a real animation window whose
// multimedia timer is stopped so that the test drives the ticks itself.
#pragma once
#include "tests/app/ViewerFixture.h"

#include "shell/AppMessages.h"
#include "core/DIB.h"
#include "core/FileUtil.h"
#include "viewers/GifDoc.h"
#include "viewers/GifView.h"

#include <gif_lib.h>

#include <string>

// The colour of palette entry k of the written GIFs.
inline COLORREF AnimColour(int k) { return RGB((k * 37) & 0xFF, 255 - ((k * 23) & 0xFF), (k * 71) & 0xFF); }

// Writes an animated GIF of frames images of w x h; frame f is a checkerboard of 4-pixel squares in
// the colours 2f + 1 and 2f + 2, with a delay of 10 (f + 1) hundredths; frame transparentFrame
// (when >= 0) carries transparent index 250. With localMaps each frame brings its own colour map,
// where entry k is AnimColour(k + 40 f). True when written.
inline bool WriteAnimGif(const std::string& path, int w, int h, int frames, int transparentFrame = -1,
                         bool localMaps = false)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr)
        return false;
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int k = 0; k < 256; k++) {
        COLORREF c = AnimColour(k);
        map->Colors[k].Red = GetRValue(c);
        map->Colors[k].Green = GetGValue(c);
        map->Colors[k].Blue = GetBValue(c);
    }
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
    for (int f = 0; ok && f < frames; f++) {
        int delay = 10 * (f + 1);
        bool transparent = f == transparentFrame;
        const GifByteType block[4] = {
            static_cast<GifByteType>(transparent ? 1 : 0), static_cast<GifByteType>(delay & 0xFF),
            static_cast<GifByteType>((delay >> 8) & 0xFF), static_cast<GifByteType>(transparent ? 250 : 0)};
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block) == GIF_OK;
        ColorMapObject* local = localMaps ? GifMakeMapObject(256, nullptr) : nullptr;
        for (int k = 0; local != nullptr && k < 256; k++) {
            COLORREF c = AnimColour(k + 40 * f);
            local->Colors[k].Red = GetRValue(c);
            local->Colors[k].Green = GetGValue(c);
            local->Colors[k].Blue = GetBValue(c);
        }
        ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, local) == GIF_OK;
        GifFreeMapObject(local);
        std::string line(static_cast<size_t>(w), '\0');
        for (int y = 0; ok && y < h; y++) {
            for (int x = 0; x < w; x++)
                line[x] = static_cast<char>(((x / 4 + y / 4) % 2) ? 2 * f + 1 : 2 * f + 2);
            ok = EGifPutLine(gif, reinterpret_cast<GifPixelType*>(&line[0]), w) == GIF_OK;
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return ok;
}

// One screen-compatible memory DC the size of a view's client that the view paints into again and
// again, as into its window's own DC: what DrawDib keeps between two paints into one DC shows.
class PaintTarget {
public:
    explicit PaintTarget(CGifView* pView) : m_pView(pView)
    {
        ::GetClientRect(pView->m_hWnd, &m_client);
        HDC screen = ::GetDC(nullptr);
        m_hdc = ::CreateCompatibleDC(screen);
        m_hbm = ::CreateCompatibleBitmap(screen, m_client.right, m_client.bottom);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_hdc, m_hbm);
    }
    ~PaintTarget()
    {
        ::SelectObject(m_hdc, m_old);
        ::DeleteObject(m_hbm);
        ::DeleteDC(m_hdc);
    }
    Painted Paint()
    {
        m_pView->PaintTo(m_hdc, m_client, m_client);
        ::GdiFlush();
        Painted result;
        result.width = m_client.right;
        result.height = m_client.bottom;
        result.pixels.resize(static_cast<size_t>(result.width) * result.height);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = result.width;
        bmi.bmiHeader.biHeight = -result.height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        ::SelectObject(m_hdc, m_old);
        ::GetDIBits(m_hdc, m_hbm, 0, result.height, result.pixels.data(), &bmi, DIB_RGB_COLORS);
        ::SelectObject(m_hdc, m_hbm);
        return result;
    }

private:
    CGifView* m_pView;
    RECT m_client = {};
    HDC m_hdc = nullptr;
    HBITMAP m_hbm = nullptr;
    HGDIOBJ m_old = nullptr;
};

class AnimTest : public ViewerTest {
protected:
    // Opens the GIF into a window and stops its timer: the test sends the ticks. The view stands on
    // frame 0, playing as its start left it, with no time elapsed.
    CGifView* OpenGif(const std::string& path)
    {
        CView* pView = OpenFirstView(path, RUNTIME_CLASS(CGifDoc));
        if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CGifView)))
            return nullptr;
        CGifView* pGif = static_cast<CGifView*>(pView);
        pGif->DriveTicksByHand();
        Pump();
        pGif->ShowFrame(0);
        pGif->m_nElapsed = 0;
        return pGif;
    }
    std::string Gif(const std::string& name, int frames, int w = 40, int h = 24, int transparentFrame = -1,
                    bool localMaps = false)
    {
        std::string path = m_temp.File(name);
        return WriteAnimGif(path, w, h, frames, transparentFrame, localMaps) ? path : std::string();
    }
    // Sends ticks until the frame changes or the player stops; the number sent (limit + 1: none).
    int TicksToNextFrame(CGifView* pView, int limit = 100)
    {
        int start = pView->GetCurrentFrame();
        for (int n = 1; n <= limit; n++) {
            pView->SendMessage(WM_ANIMTICK);
            if (pView->GetCurrentFrame() != start || !pView->m_bPlaying)
                return n;
        }
        return limit + 1;
    }
};
