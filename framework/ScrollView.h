// CScrollView: a view larger than its window, scrolled by its bars (the window's own, or bars a
// derived view brings through GetScrollBarCtrl).
#pragma once
#include "framework/View.h"

class CBrush;

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault; // {0, 0}: a tenth of the total for a page, a tenth of a page for a line

    // Sizes in logical units of nMapMode (MM_TEXT: pixels).
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;       // logical units
    CPoint GetDeviceScrollPosition() const; // pixels
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    void ScrollToPosition(POINT pt); // logical units, clamped to the scrollable range
    void FillOutsideRect(CDC* pDC, CBrush* pBrush);
    // With bCenter a picture smaller than the window sits in its middle.
    void SetCenter(BOOL bCenter) { m_bCenter = bCenter; }

    // Moves the origin by the scroll position (not when printing).
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    // nScrollCode: LOBYTE the horizontal SB_ code, HIBYTE the vertical one (0xFF: none).
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

protected:
    // Shows, hides and sets the bars for the client size, and keeps the position in range.
    void UpdateBars();
    void ScrollToDevicePosition(POINT ptDev);
    CSize ToDevice(SIZE sizeLog) const;

    int m_nMapMode = 0;
    CSize m_totalLog;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    BOOL m_bCenter = FALSE;
    BOOL m_bInsideUpdate = FALSE;

    DECLARE_MESSAGE_MAP()
};
