// CPrintPreviewWnd: the print preview of a view. A window over the main window shows one or two pages
// as the printer would print them (the view draws each page through a CPreviewDC), with buttons to
// print, page forward and back, switch between one and two pages, zoom and close. One preview at a
// time; it closes itself when its view goes, and gives the keys back to where they were when it was
// asked for (the main window would hand them to its active view, which may not be where the user was).
#pragma once
#include "framework/Print.h"
#include "framework/Wnd.h"

class CView;

// The preview's buttons (command ids of its own bar).
enum : UINT {
    AFX_ID_PREVIEW_PRINT = 0xE300,
    AFX_ID_PREVIEW_NEXT,
    AFX_ID_PREVIEW_PREV,
    AFX_ID_PREVIEW_NUMPAGE,
    AFX_ID_PREVIEW_ZOOMIN,
    AFX_ID_PREVIEW_ZOOMOUT,
    AFX_ID_PREVIEW_CLOSE,
};

class CPrintPreviewWnd : public CWnd {
public:
    // Opens the preview of pView's pages (the view's OnPreparePrinting has filled pInfo, which the
    // preview takes over). Tells the user and returns null when there is no page to show.
    static CPrintPreviewWnd* Open(CView* pView, CPrintInfo* pInfo);
    // The preview on screen, or null.
    static CPrintPreviewWnd* GetActive();
    // Closes the preview of pView, if one is open.
    static void CloseFor(CView* pView);

    UINT GetPageCount() const { return m_nPageCount; }
    UINT GetCurrentPage() const { return m_nCurPage; }
    int GetPagesShown() const;              // 1 or 2
    int GetZoom() const { return m_nZoom; } // 0 (whole pages) to kMaxZoom
    // The screen rectangle (client coordinates) of the i-th page shown; empty when not shown.
    CRect GetPageRect(int i) const;
    static const int kMaxZoom = 2;

    void OnPrint();
    void OnNext();
    void OnPrev();
    void OnNumPage();
    void OnZoomIn();
    void OnZoomOut();
    void OnClosePreview();

protected:
    ~CPrintPreviewWnd() override;
    void PostNcDestroy() override { delete this; }

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnClose();
    void OnDestroy();

private:
    CPrintPreviewWnd() = default;
    BOOL PageExists(UINT nPage);
    // Size of one page on screen at the current zoom.
    CSize PageScreenSize() const;
    CRect PageArea() const;
    CSize ContentSize() const;
    void Relayout();
    void UpdateBar();
    void Scroll(int nBar, UINT nSBCode, UINT nPos);
    HBITMAP RenderPage(UINT nPage, CSize size);
    void DropCache();

    CView* m_pView = nullptr;
    HWND m_hView = nullptr;
    CPrintInfo* m_pInfo = nullptr;
    HDC m_hPrinter = nullptr;
    CSize m_pagePrinter;  // printer pixels
    CSize m_pageInches10; // the page's physical size, for its shape
    UINT m_nPageCount = 0;
    UINT m_nCurPage = 1;
    int m_nPagesWanted = 1;
    int m_nZoom = 0;
    CPoint m_scroll;
    HWND m_hButtons[7] = {};
    HWND m_hPageText = nullptr;
    struct CachedPage {
        UINT page = 0;
        CSize size;
        HBITMAP hBitmap = nullptr;
    };
    CachedPage m_cache[2];
    BOOL m_bClosing = FALSE;
    HWND m_hReturnKeys = nullptr; // where the keys were when the preview was asked for

    DECLARE_MESSAGE_MAP()
};
