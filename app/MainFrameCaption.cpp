// The main frame's painted caption: the non-client messages that draw it, and the notifications
// that make it draw again.
#include "app/MainFrame.h"

#include "framework/Document.h"
#include "framework/MDIChildWnd.h"

CString CMainFrame::GetActiveDocumentTitle()
{
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild == nullptr)
        return CString();
    CDocument* pDoc = pChild->GetActiveDocument();
    return pDoc != nullptr ? pDoc->GetTitle() : CString();
}

void CMainFrame::PaintCaption(BOOL bActive)
{
    m_caption.PaintCaption(this, bActive, GetTitle(), GetActiveDocumentTitle());
}

LRESULT CMainFrame::OnNcPaintMessage(WPARAM wParam, LPARAM lParam)
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    CRect caption = CCaptionPainter::GetCaptionRect(this);
    caption.OffsetRect(window.left, window.top);
    HRGN hUpdate = reinterpret_cast<HRGN>(wParam);
    if (wParam > 1 && !::RectInRegion(hUpdate, &caption))
        return DefWindowProc(WM_NCPAINT, wParam, lParam);
    // Everything but the caption goes to the default painting; the caption is ours.
    HRGN hRest = ::CreateRectRgn(0, 0, 0, 0);
    HRGN hCaption = ::CreateRectRgnIndirect(&caption);
    HRGN hWhole = wParam > 1 ? nullptr : ::CreateRectRgnIndirect(&window);
    ::CombineRgn(hRest, wParam > 1 ? hUpdate : hWhole, hCaption, RGN_DIFF);
    DefWindowProc(WM_NCPAINT, reinterpret_cast<WPARAM>(hRest), lParam);
    ::DeleteObject(hRest);
    ::DeleteObject(hCaption);
    if (hWhole != nullptr)
        ::DeleteObject(hWhole);
    PaintCaption();
    return 0;
}

LRESULT CMainFrame::OnNcActivateMessage(WPARAM wParam, LPARAM lParam)
{
    BOOL bActive = wParam != 0;
    if (!IsWindowEnabled())
        bActive = FALSE;
    else if (m_nFlags & WF_STAYACTIVE)
        bActive = TRUE;
    if (bActive == m_caption.m_bCaptionActive)
        return TRUE;
    if (!bActive) {
        CMDIChildWnd* pChild = MDIGetActive();
        if (pChild != nullptr)
            pChild->SendMessage(WM_NCACTIVATE, FALSE, 0);
    }
    DefWindowProc(WM_NCACTIVATE, bActive, lParam);
    m_caption.m_bCaptionActive = bActive;
    SendMessage(WM_NCPAINT, 0, 0);
    return TRUE;
}

LRESULT CMainFrame::OnSetTextMessage(WPARAM wParam, LPARAM lParam)
{
    // Hidden for the change, so that the system does not paint its own caption over ours.
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    bool visible = (style & WS_VISIBLE) != 0;
    if (visible)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
    LRESULT result = DefWindowProc(WM_SETTEXT, wParam, lParam);
    if (visible)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_VISIBLE);
    m_caption.Invalidate();
    SendMessage(WM_NCPAINT, 0, 0);
    PaintCaption();
    return result;
}

LRESULT CMainFrame::OnCaptionReset(WPARAM, LPARAM)
{
    m_caption.Invalidate();
    SendMessage(WM_NCPAINT, 0, 0);
    PaintCaption();
    return 0;
}

LRESULT CMainFrame::OnSysColorChangeMessage(WPARAM wParam, LPARAM lParam)
{
    m_caption.Reset();
    return DefWindowProc(WM_SYSCOLORCHANGE, wParam, lParam);
}

LRESULT CMainFrame::OnSettingChangeMessage(WPARAM wParam, LPARAM lParam)
{
    m_caption.Reset();
    DefWindowProc(WM_SETTINGCHANGE, wParam, lParam);
    return 0;
}
