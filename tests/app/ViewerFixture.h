// What the still-picture window tests share: the application fixture, opening a picture into a real
// window, painting a view into memory and reading pixels of packed DIBs.
#pragma once
#include "tests/app/AppFixture.h"

#include "framework/Document.h"
#include "viewers/DibDoc.h"
#include "viewers/DibView.h"
#include "tests/support/PaintedPixels.h"

#include <vector>

class ViewerTest : public AppTest {
protected:
    // Opens path through the application: the first view of its document when that is of class
    // pDocClass, else null.
    CView* OpenFirstView(const std::string& path, CRuntimeClass* pDocClass)
    {
        CDocument* pDoc = m_pApp->OpenDocumentFile(path.c_str());
        if (pDoc == nullptr || !pDoc->IsKindOf(pDocClass))
            return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        return pos != nullptr ? pDoc->GetNextView(pos) : nullptr;
    }
    // Opens path through the application and returns its view (null when nothing opened).
    CDibView* Open(const std::string& path)
    {
        CView* pView = OpenFirstView(path, RUNTIME_CLASS(CDibDoc));
        if (pView == nullptr)
            return nullptr;
        Pump();
        return pView != nullptr && pView->IsKindOf(RUNTIME_CLASS(CDibView)) ? static_cast<CDibView*>(pView)
                                                                            : nullptr;
    }
};

// A view's paint of its whole client area.
using Painted = PaintedPixels;

inline Painted PaintView(CDibView* pView)
{
    RECT client;
    ::GetClientRect(pView->m_hWnd, &client);
    return PaintIntoMemory(client.right, client.bottom,
                           [&](HDC hdc) { pView->PaintTo(hdc, client, client); });
}

// The colour of picture pixel (x, y), y counted from the top, of a 1-, 4-, 8-, 24- or 32-bit
// uncompressed packed DIB.
inline COLORREF DibPixel(HGLOBAL hDIB, int x, int y)
{
    const BITMAPINFOHEADER* pbi = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB));
    int h = pbi->biHeight < 0 ? -pbi->biHeight : pbi->biHeight;
    int colors = pbi->biClrUsed != 0 ? static_cast<int>(pbi->biClrUsed)
                                     : (pbi->biBitCount <= 8 ? 1 << pbi->biBitCount : 0);
    const RGBQUAD* pTable =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(pbi) + pbi->biSize);
    const BYTE* pBits = reinterpret_cast<const BYTE*>(pTable + colors);
    int stride = ((pbi->biWidth * pbi->biBitCount + 31) / 32) * 4;
    int row = pbi->biHeight < 0 ? y : h - 1 - y;
    const BYTE* pRow = pBits + static_cast<size_t>(row) * stride;
    COLORREF c = 0;
    switch (pbi->biBitCount) {
    case 1: {
        const RGBQUAD& q = pTable[(pRow[x / 8] >> (7 - x % 8)) & 1];
        c = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        break;
    }
    case 4: {
        const RGBQUAD& q = pTable[(pRow[x / 2] >> (x % 2 ? 0 : 4)) & 15];
        c = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        break;
    }
    case 8: {
        const RGBQUAD& q = pTable[pRow[x]];
        c = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        break;
    }
    case 24:
        c = RGB(pRow[x * 3 + 2], pRow[x * 3 + 1], pRow[x * 3]);
        break;
    case 32:
        c = RGB(pRow[x * 4 + 2], pRow[x * 4 + 1], pRow[x * 4]);
        break;
    default:
        break;
    }
    ::GlobalUnlock(hDIB);
    return c;
}
