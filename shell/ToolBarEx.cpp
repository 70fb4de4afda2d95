// The flat tool bars: their own painting, hot tracking, the emulated custom-draw stages, the
// gripper and separators, and the context menus of the standard and local bars.
#include "shell/ToolBarEx.h"

#include "shell/SharedUi.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/Exceptions.h"
#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

const UINT kHotTimer = 1;
const UINT kHotTimerMs = 100;

HBRUSH g_hDitherBrush = nullptr;

// Released when the program ends.
struct DitherBrushOwner {
    ~DitherBrushOwner()
    {
        if (g_hDitherBrush != nullptr)
            ::DeleteObject(g_hDitherBrush);
        g_hDitherBrush = nullptr;
    }
} g_ditherBrushOwner;

} // namespace

LRESULT CToolBarCustomDraw::Notify(DWORD dwStage)
{
    if (hWndTarget == nullptr || !::IsWindow(hWndTarget))
        return 0;
    nmcd.dwDrawStage = dwStage;
    return ::SendMessageA(hWndTarget, WM_NOTIFY, nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&nmcd));
}

IMPLEMENT_DYNAMIC(CToolBarEx, CToolBar)

BEGIN_MESSAGE_MAP(CToolBarEx, CToolBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_RBUTTONDOWN()
    ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
    ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
END_MESSAGE_MAP()

CToolBarEx::CToolBarEx()
{
    ReadSysColors();
    LOGFONTA lf = {};
    HGDIOBJ hGui = ::GetStockObject(DEFAULT_GUI_FONT);
    if (hGui != nullptr) {
        ::GetObjectA(hGui, sizeof(lf), &lf);
    } else {
        ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
        lf.lfWeight = FW_NORMAL;
        ::lstrcpynA(lf.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    }
    lf.lfHeight = 6;
    lf.lfWidth = 0;
    m_fontCaption.CreateFontIndirect(&lf);
    RecalcImageOffset();
}

CToolBarEx::~CToolBarEx() = default;

void CToolBarEx::ReadSysColors()
{
    m_clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrBtnHilight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    // Where the light colour is the face colour a checked button would not show; take the highlight.
    if (m_clr3DLight == m_clrBtnFace)
        m_clr3DLight = m_clrBtnHilight;
}

BOOL CToolBarEx::HasButtonText() const
{
    if (m_hWnd == nullptr)
        return FALSE;
    for (int i = 0; i < GetCount(); i++) {
        TBBUTTON button = {};
        if (GetButton(i, &button) && !(button.fsStyle & TBSTYLE_SEP) && button.iString != -1
            && button.iString != 0)
            return TRUE;
    }
    return FALSE;
}

void CToolBarEx::RecalcImageOffset()
{
    m_ptImageOffset.x = (m_sizeButton.cx - m_sizeImage.cx) / 2;
    m_ptImageOffset.y = HasButtonText() ? m_cyTopBorder : (m_sizeButton.cy - m_sizeImage.cy) / 2;
}

BOOL CToolBarEx::IsCommandEnabled(UINT nID) const
{
    return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, nID, 0));
}

HBRUSH CToolBarEx::GetDitherBrush()
{
    if (g_hDitherBrush == nullptr) {
        HBITMAP hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_CHECKERBOARD));
        if (hBitmap != nullptr) {
            g_hDitherBrush = ::CreatePatternBrush(hBitmap);
            ::DeleteObject(hBitmap);
        }
    }
    return g_hDitherBrush;
}

int CToolBarEx::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CToolBar::OnCreate(lpcs) == -1)
        return -1;
    m_hNotifyWnd = lpcs->hwndParent;
    return 0;
}

void CToolBarEx::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    if (!m_bFlatLook) {
        CToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
        return;
    }
    int nCount = GetCount();
    m_arrButtonStyles.resize(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; i++)
        m_arrButtonStyles[static_cast<size_t>(i)] = GetButtonStyle(i);
    CToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    for (int i = 0; i < nCount && i < GetCount(); i++) {
        if (GetButtonStyle(i) != m_arrButtonStyles[static_cast<size_t>(i)]) {
            CRect rect;
            GetItemRect(i, &rect);
            InvalidateRect(&rect, TRUE);
        }
    }
}

// ---- painting ----

HIMAGELIST CToolBarEx::GetPaintImageList()
{
    m_bOwnImageList = FALSE;
    HIMAGELIST hList = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST, 0, 0));
    if (hList != nullptr || m_hbmImageWell == nullptr || m_sizeImage.cx <= 0)
        return hList;
    BITMAP bm = {};
    if (!::GetObjectA(m_hbmImageWell, sizeof(bm), &bm))
        return nullptr;
    // Widths are pixels whatever the depth (tripling them for deep bitmaps would only add blank
    // images).
    int nWidth = (bm.bmWidth + 3) & ~3;
    HDC hScreen = ::GetDC(nullptr);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    HBITMAP hCopy = ::CreateCompatibleBitmap(hScreen, nWidth, bm.bmHeight);
    if (hCopy != nullptr) {
        HGDIOBJ hOldSrc = ::SelectObject(hSrc, m_hbmImageWell);
        HGDIOBJ hOldDst = ::SelectObject(hDst, hCopy);
        RECT all = {0, 0, nWidth, bm.bmHeight};
        HBRUSH hFace = ::CreateSolidBrush(m_clrBtnFace);
        ::FillRect(hDst, &all, hFace);
        ::DeleteObject(hFace);
        ::BitBlt(hDst, 0, 0, bm.bmWidth, bm.bmHeight, hSrc, 0, 0, SRCCOPY);
        ::SelectObject(hSrc, hOldSrc);
        ::SelectObject(hDst, hOldDst);
        int nImages = nWidth / m_sizeImage.cx;
        hList = ::ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLORDDB | ILC_MASK, nImages, 1);
        if (hList != nullptr) {
            ::ImageList_SetBkColor(hList, m_clrBtnFace);
            ::ImageList_AddMasked(hList, hCopy, m_clrBtnFace);
            m_bOwnImageList = TRUE;
        }
        ::DeleteObject(hCopy);
    }
    ::DeleteDC(hSrc);
    ::DeleteDC(hDst);
    ::ReleaseDC(nullptr, hScreen);
    return hList;
}

void CToolBarEx::OnPaint()
{
    HIMAGELIST hList = m_bFlatLook ? GetPaintImageList() : nullptr;
    if (hList == nullptr) {
        Default();
        return;
    }
    CRect rectUpdate;
    if (!::GetUpdateRect(m_hWnd, &rectUpdate, FALSE)) {
        if (m_bOwnImageList)
            ::ImageList_Destroy(hList);
        return;
    }
    if (HasButtonText())
        RecalcImageOffset();

    IMAGEINFO info = {};
    ::ImageList_GetImageInfo(hList, 0, &info);
    int nImageHeight = info.rcImage.bottom - info.rcImage.top;
    int nImageWidth = info.rcImage.right - info.rcImage.left;
    if (nImageWidth <= 0) {
        nImageWidth = m_sizeImage.cx;
        nImageHeight = m_sizeImage.cy;
    }

    POINT ptCursor = {};
    ::GetCursorPos(&ptCursor);
    ::ScreenToClient(m_hWnd, &ptCursor);

    CPaintDC dc(this);
    HDC hDC = dc.GetSafeHdc();
    HGDIOBJ hOldFont = ::SelectObject(hDC, m_fontCaption.m_hObject);

    CToolBarCustomDraw cd = {};
    cd.nmcd.hdr.hwndFrom = m_hWnd;
    cd.nmcd.hdr.idFrom = static_cast<UINT_PTR>(::GetWindowLongA(m_hWnd, GWL_ID));
    cd.nmcd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
    cd.nmcd.hdc = hDC;
    cd.pBar = this;
    cd.hWndTarget = ::IsWindow(m_hNotifyWnd) ? m_hNotifyWnd : nullptr;
    cd.lPrePaint = cd.Notify(CDDS_PREPAINT);

    int nCount = GetCount();
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        GetItemRect(i, &rect);
        UINT nID = 0;
        UINT nStyle = 0;
        int iImage = 0;
        GetButtonInfo(i, nID, nStyle, iImage);
        UINT nState = HIWORD(nStyle);
        if (nState & TBSTATE_HIDDEN)
            continue;
        if (LOWORD(nStyle) & TBSTYLE_SEP) {
            BOOL bLast = i == nCount - 1;
            BOOL bWrapFloating = (nState & TBSTATE_WRAP) && IsFloating();
            if (!bLast && !bWrapFloating)
                DrawSeparator(&dc, rect);
            continue;
        }
        CRect rectInter;
        if (!rectInter.IntersectRect(&rect, &rectUpdate))
            continue;
        BOOL bPushed = (nState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) != 0;
        BOOL bEnabled = IsCommandEnabled(nID);
        BOOL bHot = rect.PtInRect(ptCursor);
        COLORREF clrBack = bPushed && !bHot ? m_clr3DLight : m_clrBtnFace;
        ::SetTextColor(hDC, RGB(0, 0, 0));
        COLORREF clrOldBk = ::SetBkColor(hDC, clrBack);
        m_ptImageOffset.x = (rect.Width() - nImageWidth) / 2;

        cd.nmcd.rc = rect;
        cd.nmcd.dwItemSpec = nID;
        cd.nmcd.uItemState = (bEnabled ? 0 : CDIS_DISABLED) | (bPushed ? CDIS_CHECKED : 0);
        cd.nmcd.lItemlParam = 0;
        cd.lItemPrePaint = 0;
        if (cd.lPrePaint & CDRF_NOTIFYITEMDRAW)
            cd.lItemPrePaint = cd.Notify(CDDS_ITEMPREPAINT);
        if (!(cd.lItemPrePaint & CDRF_SKIPDEFAULT)) {
            if (bPushed && !bHot && GetDitherBrush() != nullptr) {
                ::SetTextColor(hDC, RGB(255, 255, 255));
                ::SetBkColor(hDC, RGB(192, 192, 192));
                ::FillRect(hDC, &rect, GetDitherBrush());
                ::SetTextColor(hDC, RGB(0, 0, 0));
            } else {
                dc.FillSolidRect(&rect, clrBack);
            }
            if (!bPushed) {
                if (bHot && bEnabled)
                    dc.Draw3dRect(&rect, m_clrBtnHilight, m_clrBtnShadow);
                else if (bEnabled)
                    dc.Draw3dRect(&rect, m_clrBtnFace, m_clrBtnFace);
            } else {
                dc.Draw3dRect(&rect, m_clrBtnShadow, m_clrBtnHilight);
                if (!bHot) {
                    CRect rectInner = rect;
                    rectInner.DeflateRect(1, 1);
                    dc.Draw3dRect(&rectInner, m_clrBtnFace, m_clrBtnFace);
                }
            }
            ::SetBkColor(hDC, clrOldBk);
            int nShift = bPushed ? 1 : 0;
            ::ImageList_Draw(hList, iImage, hDC, rect.left + m_ptImageOffset.x + nShift,
                             rect.top + m_ptImageOffset.y + nShift, ILD_TRANSPARENT);
            char szText[128] = "";
            int nText =
                static_cast<int>(SendMessage(TB_GETBUTTONTEXTA, nID, reinterpret_cast<LPARAM>(szText)));
            if (nText > 0 && nText < static_cast<int>(sizeof(szText))) {
                CRect rectText(rect.left + 3, rect.top + m_ptImageOffset.y + nImageHeight + 1, rect.right - 3,
                               rect.bottom - 3);
                rectText.OffsetRect(nShift, nShift);
                ::SetBkMode(hDC, TRANSPARENT);
                ::DrawTextA(hDC, szText, nText, &rectText, DT_CENTER | DT_VCENTER | DT_NOCLIP);
            }
            if (!bEnabled)
                DrawDisabled(&dc, rect);
            if (cd.lItemPrePaint & CDRF_NOTIFYPOSTPAINT)
                cd.Notify(CDDS_ITEMPOSTPAINT);
        }
        ::SetBkColor(hDC, clrOldBk);
    }

    ::SelectObject(hDC, hOldFont);
    if (m_bOwnImageList)
        ::ImageList_Destroy(hList);
    m_bOwnImageList = FALSE;
    if (cd.lPrePaint & CDRF_NOTIFYPOSTPAINT)
        cd.Notify(CDDS_POSTPAINT);
}

void CToolBarEx::DrawDisabled(CDC* pDC, const CRect& rect)
{
    HDC hDC = pDC->GetSafeHdc();
    int cx = rect.Width();
    int cy = rect.Height();
    if (cx <= 0 || cy <= 0)
        return;
    HDC hMono = ::CreateCompatibleDC(hDC);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    if (hMono == nullptr || hMask == nullptr) {
        if (hMask != nullptr)
            ::DeleteObject(hMask);
        if (hMono != nullptr)
            ::DeleteDC(hMono);
        return;
    }
    HGDIOBJ hOld = ::SelectObject(hMono, hMask);
    ::PatBlt(hMono, 0, 0, cx, cy, WHITENESS);
    // Face and highlight pixels become white in the mask; the rest (the drawing) stays black.
    COLORREF clrOld = ::SetBkColor(hDC, m_clrBtnFace);
    ::BitBlt(hMono, 0, 0, cx, cy, hDC, rect.left, rect.top, SRCCOPY);
    ::SetBkColor(hDC, m_clrBtnHilight);
    ::BitBlt(hMono, 0, 0, cx, cy, hDC, rect.left, rect.top, SRCPAINT);
    pDC->FillSolidRect(&rect, m_clrBtnFace);
    ::SetBkColor(hDC, RGB(0, 0, 0));
    COLORREF clrOldText = ::SetTextColor(hDC, RGB(255, 255, 255));
    HBRUSH hHilight = ::CreateSolidBrush(m_clrBtnHilight);
    HBRUSH hShadow = ::CreateSolidBrush(m_clrBtnShadow);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hHilight);
    ::BitBlt(hDC, rect.left + 1, rect.top + 1, cx, cy, hMono, 0, 0, 0xE20746);
    ::SelectObject(hDC, hShadow);
    ::BitBlt(hDC, rect.left, rect.top, cx, cy, hMono, 0, 0, 0xE20746);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hHilight);
    ::DeleteObject(hShadow);
    ::SetTextColor(hDC, clrOldText);
    ::SetBkColor(hDC, clrOld);
    ::SelectObject(hMono, hOld);
    ::DeleteObject(hMask);
    ::DeleteDC(hMono);
}

void CToolBarEx::DrawSeparator(CDC* pDC, CRect& rect)
{
    // Wide separators hold the place of an embedded control.
    if (rect.Width() > 8)
        return;
    CRect rectLine;
    if (IsHorizontal()) {
        rectLine.left = (rect.left + rect.right) / 2 - 1;
        rectLine.right = rectLine.left + 2;
        rectLine.top = rect.top;
        rectLine.bottom = rect.bottom;
    } else {
        rectLine.right = rect.left;
        rectLine.left = rectLine.right - m_sizeButton.cx;
        rectLine.top = rect.bottom + 1;
        rectLine.bottom = rectLine.top + 2;
    }
    pDC->Draw3dRect(&rectLine, m_clrBtnShadow, m_clrBtnHilight);
}

void CToolBarEx::DrawGripper(CDC* pDC)
{
    if (m_dwStyle & CBRS_FLOATING)
        return;
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    rect.DeflateRect(4, 4);
    if (IsHorizontal()) {
        rect.OffsetRect(1, 0);
        rect.right = rect.left + 3;
    } else {
        rect.OffsetRect(0, 1);
        rect.bottom = rect.top + 3;
    }
    pDC->Draw3dRect(&rect, m_clrBtnHilight, m_clrBtnShadow);
}

void CToolBarEx::OnNcPaint()
{
    CToolBar::OnNcPaint();
    if (m_bFlatLook) {
        CWindowDC dc(this);
        DrawGripper(&dc);
    }
}

void CToolBarEx::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    CToolBar::OnNcCalcSize(bCalcValidRects, lpncsp);
    // Room for the gripper at the leading edge.
    if (IsHorizontal())
        ::OffsetRect(&lpncsp->rgrc[0], 4, 0);
    else
        ::OffsetRect(&lpncsp->rgrc[0], 0, 6);
}

// ---- hot tracking ----

void CToolBarEx::OnMouseMove(UINT nFlags, CPoint point)
{
    m_ptLastMouse = point;
    if (m_bFlatLook) {
        int nPrevious = m_nHotButton;
        m_nHotButton = -1;
        for (int i = 0; i < GetCount(); i++) {
            UINT nID = 0;
            UINT nStyle = 0;
            int iImage = 0;
            GetButtonInfo(i, nID, nStyle, iImage);
            if ((LOWORD(nStyle) & TBSTYLE_SEP) || !IsCommandEnabled(nID))
                continue;
            CRect rect;
            GetItemRect(i, &rect);
            if (rect.PtInRect(point)) {
                if (i != nPrevious)
                    InvalidateRect(&rect, FALSE);
                m_nHotButton = i;
            } else if (i == nPrevious) {
                InvalidateRect(&rect, FALSE);
            }
        }
        if (m_nHotTimer != 0)
            KillTimer(m_nHotTimer);
        m_nHotTimer = SetTimer(kHotTimer, kHotTimerMs);
    }
    CToolBar::OnMouseMove(nFlags, point);
}

void CToolBarEx::OnTimer(UINT nIDEvent)
{
    if (m_nHotTimer != 0 && nIDEvent == m_nHotTimer) {
        if (m_nHotButton == -1)
            return;
        POINT pt = {};
        ::GetCursorPos(&pt);
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        if (rectWindow.PtInRect(pt))
            return;
        CRect rect;
        GetItemRect(m_nHotButton, &rect);
        InvalidateRect(&rect, FALSE);
        m_nHotButton = -1;
        KillTimer(m_nHotTimer);
        m_nHotTimer = 0;
        return;
    }
    CToolBar::OnTimer(nIDEvent);
}

BOOL CToolBarEx::OnSetCursor(CWnd*, UINT, UINT)
{
    HCURSOR hCursor = nullptr;
    if (OnToolHitTest(m_ptLastMouse, nullptr) != -1 && g_hCursorHand != nullptr)
        hCursor = g_hCursorHand;
    else
        hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    ::SetCursor(hCursor);
    return FALSE;
}

void CToolBarEx::OnSysColorChange()
{
    Default();
    ReadSysColors();
}

LRESULT CToolBarEx::OnSetButtonSize(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    if (lResult)
        RecalcImageOffset();
    return lResult;
}

LRESULT CToolBarEx::OnSetBitmapSize(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    if (lResult)
        RecalcImageOffset();
    return lResult;
}

// ---- context menus ----

void CToolBarEx::TrackContextMenu(int nSubMenu, CPoint point, BOOL bAlwaysLeft)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        AfxThrowResourceException();
    CMenu* pPopup = menu.GetSubMenu(nSubMenu);
    if (pPopup == nullptr)
        return;
    ClientToScreen(&point);
    UINT nFlags = TPM_RIGHTBUTTON;
    int x = point.x - 10;
    if (!bAlwaysLeft) {
        HDC hScreen = ::GetDC(nullptr);
        int nHalf = ::GetDeviceCaps(hScreen, HORZRES) / 2;
        ::ReleaseDC(nullptr, hScreen);
        if (point.x >= nHalf) {
            nFlags |= TPM_RIGHTALIGN;
            x = point.x + 10;
        }
    }
    pPopup->TrackPopupMenu(nFlags, x, point.y - 10, AfxGetMainWnd());
}

void CToolBarEx::OnRButtonDown(UINT nFlags, CPoint point)
{
    CToolBar::OnRButtonDown(nFlags, point);
    try {
        TrackContextMenu(CONTEXT_STANDARD_TOOLBAR, point, FALSE);
    } catch (CException&) {
        // A missing menu resource: no menu.
    }
}

// ---- CLocalToolBar ----

IMPLEMENT_DYNAMIC(CLocalToolBar, CToolBarEx)

BEGIN_MESSAGE_MAP(CLocalToolBar, CToolBarEx)
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CLocalToolBar::CLocalToolBar()
{
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
}

void CLocalToolBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    CToolBar::OnRButtonDown(nFlags, point);
    try {
        TrackContextMenu(CONTEXT_LOCAL_TOOLBAR, point, TRUE);
    } catch (CException&) {
        // A missing menu resource: no menu.
    }
}

// ---- CFrameToolBar ----

IMPLEMENT_DYNAMIC(CFrameToolBar, CToolBarEx)

BEGIN_MESSAGE_MAP(CFrameToolBar, CToolBarEx)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CFrameToolBar::CFrameToolBar()
{
    m_cxLeftBorder = 2;
    m_cxRightBorder = 5;
}

LRESULT CFrameToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    CWnd* pMain = AfxGetMainWnd();
    if ((GetStyle() & WS_VISIBLE) && pMain != nullptr && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        OnUpdateCmdUI(static_cast<CFrameWnd*>(pMain), static_cast<BOOL>(wParam));
    return 0;
}
