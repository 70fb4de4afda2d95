// The print preview window and its device context.
#include "framework/PrintPreview.h"

#include "framework/CommandKeys.h"
#include "framework/FrameworkTexts.h"
#include "framework/View.h"
#include "framework/WinApp.h"

#include <algorithm>

namespace {

const int kBarHeight = 34;
const int kMargin = 12;
const int kZoomFactor[CPrintPreviewWnd::kMaxZoom + 1] = {1, 2, 4};
// Pages are probed one by one; a view that never stops is cut here.
const UINT kMostPages = 9999;

CPrintPreviewWnd* g_pActivePreview = nullptr;

} // namespace

// ---- CPreviewDC ----

CPreviewDC::CPreviewDC(HDC hPrinterDC, CSize pagePrinter, CSize pageScreen)
    : m_pagePrinter(pagePrinter), m_pageScreen(pageScreen)
{
    m_hAttribDC = hPrinterDC;
    m_bPrinting = TRUE;
}

CPreviewDC::~CPreviewDC()
{
    // Neither DC is ours.
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
}

void CPreviewDC::ApplyScale()
{
    if (m_hDC == nullptr)
        return;
    ::SetMapMode(m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(m_hDC, std::max<LONG>(1, m_pagePrinter.cx), std::max<LONG>(1, m_pagePrinter.cy),
                     nullptr);
    ::SetViewportExtEx(m_hDC, std::max<LONG>(1, m_pageScreen.cx), std::max<LONG>(1, m_pageScreen.cy),
                       nullptr);
    ::SetStretchBltMode(m_hDC, HALFTONE);
    ::SetBrushOrgEx(m_hDC, 0, 0, nullptr);
}

int CPreviewDC::SetMapMode(int nMapMode)
{
    int nOld = ::SetMapMode(m_hAttribDC, nMapMode);
    ApplyScale();
    return nOld;
}

void CPreviewDC::SetOutputDC(HDC hDC)
{
    m_hDC = hDC;
    ApplyScale();
}

void CPreviewDC::ReleaseOutputDC() { m_hDC = nullptr; }

// ---- CPrintPreviewWnd ----

BEGIN_MESSAGE_MAP(CPrintPreviewWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_KEYDOWN()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPrint)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNext)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrev)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPage)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnClosePreview)
END_MESSAGE_MAP()

CPrintPreviewWnd* CPrintPreviewWnd::GetActive() { return g_pActivePreview; }

void CPrintPreviewWnd::CloseFor(CView* pView)
{
    if (g_pActivePreview != nullptr && g_pActivePreview->m_pView == pView)
        g_pActivePreview->DestroyWindow();
}

CPrintPreviewWnd* CPrintPreviewWnd::Open(CView* pView, CPrintInfo* pInfo)
{
    if (g_pActivePreview != nullptr)
        g_pActivePreview->DestroyWindow();
    auto* pWnd = new CPrintPreviewWnd;
    pWnd->m_hReturnKeys = AfxKeysOrigin();
    pWnd->m_pView = pView;
    pWnd->m_hView = pView->m_hWnd;
    pWnd->m_pInfo = pInfo;
    pWnd->m_hPrinter = pInfo->m_pPD->m_pd.hDC;
    HDC hPrinter = pWnd->m_hPrinter;
    pWnd->m_pagePrinter = CSize(::GetDeviceCaps(hPrinter, HORZRES), ::GetDeviceCaps(hPrinter, VERTRES));
    int dpiX = std::max(1, ::GetDeviceCaps(hPrinter, LOGPIXELSX));
    int dpiY = std::max(1, ::GetDeviceCaps(hPrinter, LOGPIXELSY));
    pWnd->m_pageInches10 = CSize(std::max(1, MulDiv(pWnd->m_pagePrinter.cx, 1000, dpiX)),
                                 std::max(1, MulDiv(pWnd->m_pagePrinter.cy, 1000, dpiY)));
    UINT nCount = 0;
    while (nCount < kMostPages && pWnd->PageExists(nCount + 1))
        ++nCount;
    pWnd->m_nPageCount = nCount;
    if (nCount == 0) {
        delete pWnd;
        AfxMessageBox(AFX_IDP_PRINT_NOTHING, MB_ICONINFORMATION);
        return nullptr;
    }
    pWnd->m_nPagesWanted = pInfo->m_nNumPreviewPages == 2 && nCount > 1 ? 2 : 1;

    CWnd* pMain = AfxGetMainWnd();
    CRect rect(0, 0, 900, 700);
    if (pMain != nullptr && pMain->m_hWnd != nullptr)
        pMain->GetWindowRect(&rect);
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    if (!pWnd->CreateEx(0, lpszClass, AfxLoadText(AFX_IDS_PREVIEW_TITLE),
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN | WS_HSCROLL
                            | WS_VSCROLL,
                        rect.left, rect.top, rect.Width(), rect.Height(), AfxSafeHwnd(pMain), nullptr)) {
        delete pWnd;
        return nullptr;
    }
    g_pActivePreview = pWnd;
    CDC dcAttrib;
    dcAttrib.m_hDC = dcAttrib.m_hAttribDC = hPrinter;
    dcAttrib.m_bPrinting = TRUE;
    pView->OnBeginPrinting(&dcAttrib, pInfo);
    dcAttrib.m_hDC = dcAttrib.m_hAttribDC = nullptr;

    static const UINT kTexts[] = {
        AFX_IDS_PREVIEW_PRINT,   AFX_IDS_PREVIEW_NEXT,     AFX_IDS_PREVIEW_PREV, AFX_IDS_PREVIEW_TWO_PAGES,
        AFX_IDS_PREVIEW_ZOOM_IN, AFX_IDS_PREVIEW_ZOOM_OUT, AFX_IDS_PREVIEW_CLOSE};
    HFONT hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    int x = 6;
    for (int i = 0; i < 7; i++) {
        int cx = i == 0 || i == 1 || i == 2 ? 104 : 88;
        pWnd->m_hButtons[i] = ::CreateWindowExA(
            0, "BUTTON", AfxLoadText(kTexts[i]), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 5, cx, 24,
            pWnd->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_ID_PREVIEW_PRINT + i)),
            AfxGetInstanceHandle(), nullptr);
        ::SendMessageA(pWnd->m_hButtons[i], WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        x += cx + 4;
    }
    pWnd->m_hPageText =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, x + 8, 10, 120, 18,
                          pWnd->m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    ::SendMessageA(pWnd->m_hPageText, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    pWnd->ShowWindow(SW_SHOW);
    pWnd->Relayout();
    pWnd->UpdateWindow();
    return pWnd;
}

CPrintPreviewWnd::~CPrintPreviewWnd()
{
    DropCache();
    if (g_pActivePreview == this)
        g_pActivePreview = nullptr;
    delete m_pInfo;
}

void CPrintPreviewWnd::OnDestroy()
{
    if (g_pActivePreview == this)
        g_pActivePreview = nullptr;
    // The view ends its job, unless it went first.
    if (m_pInfo != nullptr && ::IsWindow(m_hView) && CWnd::FromHandlePermanent(m_hView) == m_pView) {
        CDC dcAttrib;
        dcAttrib.m_hDC = dcAttrib.m_hAttribDC = m_hPrinter;
        dcAttrib.m_bPrinting = TRUE;
        m_pView->OnEndPrinting(&dcAttrib, m_pInfo);
        dcAttrib.m_hDC = dcAttrib.m_hAttribDC = nullptr;
    }
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain->m_hWnd != nullptr && ::IsWindowVisible(pMain->m_hWnd))
        ::SetActiveWindow(pMain->m_hWnd);
    AfxRestoreFocus(m_hReturnKeys);
    CWnd::OnDestroy();
}

BOOL CPrintPreviewWnd::PageExists(UINT nPage)
{
    if (nPage < 1 || nPage > m_pInfo->GetMaxPage())
        return FALSE;
    CDC dcAttrib;
    dcAttrib.m_hDC = dcAttrib.m_hAttribDC = m_hPrinter;
    dcAttrib.m_bPrinting = TRUE;
    m_pInfo->m_nCurPage = nPage;
    m_pInfo->m_bContinuePrinting = TRUE;
    m_pView->OnPrepareDC(&dcAttrib, m_pInfo);
    dcAttrib.m_hDC = dcAttrib.m_hAttribDC = nullptr;
    return m_pInfo->m_bContinuePrinting;
}

int CPrintPreviewWnd::GetPagesShown() const
{
    return m_nZoom == 0 && m_nPagesWanted == 2 && m_nCurPage + 1 <= m_nPageCount ? 2 : 1;
}

CRect CPrintPreviewWnd::PageArea() const
{
    CRect rect;
    GetClientRect(&rect);
    rect.top = std::min<LONG>(rect.bottom, kBarHeight);
    return rect;
}

CSize CPrintPreviewWnd::PageScreenSize() const
{
    CRect area = PageArea();
    int nSlots = m_nZoom == 0 && m_nPagesWanted == 2 ? 2 : 1;
    int availW = std::max<int>(16, (area.Width() - kMargin * (nSlots + 1)) / nSlots);
    int availH = std::max<int>(16, area.Height() - 2 * kMargin);
    // The page's own shape, as large as fits.
    int w = availW;
    int h = MulDiv(w, m_pageInches10.cy, m_pageInches10.cx);
    if (h > availH) {
        h = availH;
        w = MulDiv(h, m_pageInches10.cx, m_pageInches10.cy);
    }
    int f = kZoomFactor[m_nZoom];
    return CSize(std::max(1, w * f), std::max(1, h * f));
}

CSize CPrintPreviewWnd::ContentSize() const
{
    CSize page = PageScreenSize();
    int n = GetPagesShown();
    return CSize(n * page.cx + (n + 1) * kMargin, page.cy + 2 * kMargin);
}

CRect CPrintPreviewWnd::GetPageRect(int i) const
{
    if (i < 0 || i >= GetPagesShown())
        return CRect();
    CRect area = PageArea();
    CSize page = PageScreenSize();
    CSize content = ContentSize();
    int x0 = area.left - m_scroll.x + std::max<int>(0, (area.Width() - content.cx) / 2);
    int y0 = area.top - m_scroll.y + std::max<int>(0, (area.Height() - content.cy) / 2);
    int x = x0 + kMargin + i * (page.cx + kMargin);
    return CRect(x, y0 + kMargin, x + page.cx, y0 + kMargin + page.cy);
}

void CPrintPreviewWnd::Relayout()
{
    CRect area = PageArea();
    CSize content = ContentSize();
    m_scroll.x = std::max(0, std::min<int>(m_scroll.x, content.cx - area.Width()));
    m_scroll.y = std::max(0, std::min<int>(m_scroll.y, content.cy - area.Height()));
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = content.cx - 1;
    si.nPage = static_cast<UINT>(std::max<LONG>(0, area.Width()));
    si.nPos = m_scroll.x;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    si.nMax = content.cy - 1;
    si.nPage = static_cast<UINT>(std::max<LONG>(0, area.Height()));
    si.nPos = m_scroll.y;
    SetScrollInfo(SB_VERT, &si, TRUE);
    UpdateBar();
    Invalidate(FALSE);
}

void CPrintPreviewWnd::UpdateBar()
{
    int nShown = GetPagesShown();
    ::EnableWindow(m_hButtons[1], m_nCurPage + nShown <= m_nPageCount);
    ::EnableWindow(m_hButtons[2], m_nCurPage > 1);
    ::EnableWindow(m_hButtons[3], m_nZoom == 0 && m_nPageCount > 1);
    ::SetWindowTextA(m_hButtons[3],
                     AfxLoadText(m_nPagesWanted == 2 ? AFX_IDS_PREVIEW_ONE_PAGE : AFX_IDS_PREVIEW_TWO_PAGES));
    ::EnableWindow(m_hButtons[4], m_nZoom < kMaxZoom);
    ::EnableWindow(m_hButtons[5], m_nZoom > 0);
    CString s;
    if (nShown == 2)
        s.Format(AfxLoadText(AFX_IDS_PREVIEW_PAGES), m_nCurPage, m_nCurPage + 1);
    else
        s.Format(AfxLoadText(AFX_IDS_PREVIEW_PAGE), m_nCurPage);
    ::SetWindowTextA(m_hPageText, s);
    // The keys (page up and down, Escape) stay with the preview after a button was clicked.
    if (::GetFocus() != m_hWnd && ::IsWindowVisible(m_hWnd))
        ::SetFocus(m_hWnd);
}

void CPrintPreviewWnd::DropCache()
{
    for (CachedPage& c : m_cache) {
        if (c.hBitmap != nullptr)
            ::DeleteObject(c.hBitmap);
        c = CachedPage();
    }
}

HBITMAP CPrintPreviewWnd::RenderPage(UINT nPage, CSize size)
{
    for (CachedPage& c : m_cache) {
        if (c.page == nPage && c.size == size && c.hBitmap != nullptr)
            return c.hBitmap;
    }
    // The slot of a page no longer shown.
    CachedPage* pSlot = &m_cache[0];
    for (CachedPage& c : m_cache) {
        if (c.page != m_nCurPage && c.page != m_nCurPage + 1) {
            pSlot = &c;
            break;
        }
    }
    if (pSlot->hBitmap != nullptr)
        ::DeleteObject(pSlot->hBitmap);
    *pSlot = CachedPage();

    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, size.cx, size.cy);
    ::ReleaseDC(nullptr, hScreen);
    if (hMem == nullptr || hBitmap == nullptr) {
        if (hMem != nullptr)
            ::DeleteDC(hMem);
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        return nullptr;
    }
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    RECT whole = {0, 0, size.cx, size.cy};
    ::FillRect(hMem, &whole, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (::IsWindow(m_hView) && CWnd::FromHandlePermanent(m_hView) == m_pView) {
        CPreviewDC dc(m_hPrinter, m_pagePrinter, size);
        dc.SetOutputDC(hMem);
        int nSaved = ::SaveDC(m_hPrinter);
        m_pInfo->m_nCurPage = nPage;
        m_pInfo->m_bContinuePrinting = TRUE;
        m_pView->OnPrepareDC(&dc, m_pInfo);
        if (m_pInfo->m_bContinuePrinting) {
            m_pInfo->m_rectDraw.SetRect(0, 0, m_pagePrinter.cx, m_pagePrinter.cy);
            m_pView->OnPrint(&dc, m_pInfo);
        }
        ::RestoreDC(m_hPrinter, nSaved);
        dc.ReleaseOutputDC();
    }
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    pSlot->page = nPage;
    pSlot->size = size;
    pSlot->hBitmap = hBitmap;
    return hBitmap;
}

BOOL CPrintPreviewWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CPrintPreviewWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    CRect bar(client.left, client.top, client.right, std::min<LONG>(client.bottom, kBarHeight));
    ::FillRect(hdc, &bar, ::GetSysColorBrush(COLOR_BTNFACE));
    CRect area = PageArea();
    HRGN hBack = ::CreateRectRgnIndirect(&area);
    CSize size = PageScreenSize();
    HDC hMem = ::CreateCompatibleDC(hdc);
    for (int i = 0; i < GetPagesShown(); i++) {
        CRect r = GetPageRect(i);
        HBITMAP hBitmap = RenderPage(m_nCurPage + i, size);
        if (hBitmap != nullptr) {
            HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
            ::BitBlt(hdc, r.left, r.top, r.Width(), r.Height(), hMem, 0, 0, SRCCOPY);
            ::SelectObject(hMem, hOld);
        }
        // A frame and a shadow around the sheet.
        CRect frame = r;
        frame.InflateRect(1, 1);
        ::FrameRect(hdc, &frame, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        CRect shadowR(frame.right, frame.top + 4, frame.right + 3, frame.bottom + 3);
        CRect shadowB(frame.left + 4, frame.bottom, frame.right + 3, frame.bottom + 3);
        ::FillRect(hdc, &shadowR, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
        ::FillRect(hdc, &shadowB, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
        CRect covered(frame.left, frame.top, frame.right + 3, frame.bottom + 3);
        HRGN hPage = ::CreateRectRgnIndirect(&covered);
        ::CombineRgn(hBack, hBack, hPage, RGN_DIFF);
        ::DeleteObject(hPage);
    }
    ::DeleteDC(hMem);
    ::FillRgn(hdc, hBack, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    ::DeleteObject(hBack);
    ::EndPaint(m_hWnd, &ps);
}

void CPrintPreviewWnd::OnSize(UINT, int, int)
{
    if (m_hPageText != nullptr)
        Relayout();
}

void CPrintPreviewWnd::Scroll(int nBar, UINT nSBCode, UINT nPos)
{
    CRect area = PageArea();
    CSize content = ContentSize();
    LONG& pos = nBar == SB_HORZ ? m_scroll.x : m_scroll.y;
    int page = nBar == SB_HORZ ? area.Width() : area.Height();
    int limit = std::max<int>(0, (nBar == SB_HORZ ? content.cx : content.cy) - page);
    int newPos = pos;
    switch (nSBCode) {
    case SB_LINEUP:
        newPos -= 32;
        break;
    case SB_LINEDOWN:
        newPos += 32;
        break;
    case SB_PAGEUP:
        newPos -= page;
        break;
    case SB_PAGEDOWN:
        newPos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        newPos = static_cast<int>(nPos);
        break;
    case SB_TOP:
        newPos = 0;
        break;
    case SB_BOTTOM:
        newPos = limit;
        break;
    default:
        return;
    }
    newPos = std::max(0, std::min(newPos, limit));
    if (newPos == pos)
        return;
    pos = newPos;
    SetScrollPos(nBar, newPos, TRUE);
    InvalidateRect(&area, FALSE);
}

void CPrintPreviewWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) { Scroll(SB_HORZ, nSBCode, nPos); }

void CPrintPreviewWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) { Scroll(SB_VERT, nSBCode, nPos); }

void CPrintPreviewWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    switch (nChar) {
    case VK_NEXT:
        OnNext();
        break;
    case VK_PRIOR:
        OnPrev();
        break;
    case VK_ESCAPE:
        OnClosePreview();
        break;
    case VK_ADD:
        OnZoomIn();
        break;
    case VK_SUBTRACT:
        OnZoomOut();
        break;
    default:
        break;
    }
}

void CPrintPreviewWnd::OnNext()
{
    if (m_nCurPage + GetPagesShown() > m_nPageCount)
        return;
    ++m_nCurPage;
    m_scroll = CPoint(0, 0);
    Relayout();
}

void CPrintPreviewWnd::OnPrev()
{
    if (m_nCurPage <= 1)
        return;
    --m_nCurPage;
    m_scroll = CPoint(0, 0);
    Relayout();
}

void CPrintPreviewWnd::OnNumPage()
{
    if (m_nZoom != 0 || m_nPageCount < 2)
        return;
    m_nPagesWanted = m_nPagesWanted == 2 ? 1 : 2;
    if (m_nPagesWanted == 2 && m_nCurPage == m_nPageCount)
        --m_nCurPage;
    Relayout();
}

void CPrintPreviewWnd::OnZoomIn()
{
    if (m_nZoom >= kMaxZoom)
        return;
    ++m_nZoom;
    Relayout();
}

void CPrintPreviewWnd::OnZoomOut()
{
    if (m_nZoom <= 0)
        return;
    --m_nZoom;
    m_scroll = CPoint(0, 0);
    Relayout();
}

void CPrintPreviewWnd::OnPrint()
{
    // Prints what the preview shows: the view's own print path, not its print command (a command
    // handler may change what the view prints).
    CView* pView = ::IsWindow(m_hView) && CWnd::FromHandlePermanent(m_hView) == m_pView ? m_pView : nullptr;
    DestroyWindow();
    if (pView != nullptr)
        pView->OnFilePrint();
}

void CPrintPreviewWnd::OnClosePreview() { DestroyWindow(); }

void CPrintPreviewWnd::OnClose() { DestroyWindow(); }

// ---- CView ----

void CView::OnFilePrintPreview()
{
    auto* pInfo = new CPrintInfo;
    pInfo->m_bPreview = TRUE;
    if (!OnPreparePrinting(pInfo) || pInfo->m_pPD->m_pd.hDC == nullptr) {
        delete pInfo;
        return;
    }
    CPrintPreviewWnd::Open(this, pInfo);
}
