// CPictureView: what the still-picture and the animated-GIF views share. The picture shown is drawn
// to scale at a zoom with scroll bars, fitted with its proportions or stretched to the window,
// through DrawDib; keys and mouse scroll and zoom; the view can cover the whole screen, where the
// mouse pans; it copies the picture to the clipboard, adds it to the library and shows or hides the
// frame's local bar, which comes back with the view from full screen.
#pragma once
#include "framework/ScrollView.h"

#include <vfw.h>

class CCmdUI;
class CDIB;
class CFrameWnd;
class CToolBar;

// Display modes.
const int kDibModeToScale = 0;
const int kDibModeProportional = 1;
const int kDibModeFit = 2;

class CPictureView : public CScrollView {
    DECLARE_DYNAMIC(CPictureView)
public:
    ~CPictureView() override;

    // Paints the view as WM_PAINT does into any DC: update is the damaged part of the client.
    void PaintTo(HDC hdc, const RECT& client, const RECT& update);

    void EnterFullScreen();
    // Back into the frame.
    void LeaveFullScreen();
    BOOL IsFullScreen() const { return m_bFullScreen; }
    // The full-screen mouse step: pans along the dominant axis and zooms while a button is held.
    // Nothing outside full screen.
    void TrackMouseInFullScreen();

    int GetZoom() const { return m_nZoom; }
    int GetMode() const { return m_nMode; }
    // The scroll position in pixels, the view's own one in full screen.
    CPoint GetViewScrollPosition() const;
    // Scrolls to that position (pixels), clamped.
    void ScrollViewTo(CPoint pt);
    // How many times DrawDib drew (tests).
    int GetDrawCount() const { return m_nDrawCount; }
    // TRUE when the view was opened full screen from a list.
    BOOL OpenedFullScreen() const { return m_bOpenedFullScreen; }

    // Fills the status pane with size, colours and zoom of the picture shown.
    virtual void UpdateStatusText() = 0;

    void OnDraw(CDC* pDC) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    // Commands.
    void OnZoomIn();
    void OnZoomOut();
    void OnModeToScale() { SetMode(kDibModeToScale); }
    void OnModeProportional() { SetMode(kDibModeProportional); }
    void OnModeFit() { SetMode(kDibModeFit); }
    void OnFullScreen() { EnterFullScreen(); }
    void OnEditCopy();
    void OnLocalToolBar();
    // Adds the picture shown to the library folder chosen (its file when it has an unchanged one).
    void OnAddToLibrary();
    void OnUpdateAddToLibrary(CCmdUI* pCmdUI);
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateZoomIn(CCmdUI* pCmdUI);
    void OnUpdateZoomOut(CCmdUI* pCmdUI);
    void OnUpdateModeToScale(CCmdUI* pCmdUI);
    void OnUpdateModeProportional(CCmdUI* pCmdUI);
    void OnUpdateModeFit(CCmdUI* pCmdUI);
    void OnUpdateLocalToolBar(CCmdUI* pCmdUI);

    // Messages.
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnDestroy();

protected:
    // bFineZoom: the switch set around a held-button zoom in full screen; nContextMenu: the view's
    // popup in the shared context-menu resource.
    CPictureView(BOOL& bFineZoom, int nContextMenu);

    // The picture shown, null when there is none.
    virtual CDIB* GetShownPicture() const = 0;
    // The size the zoom applies to.
    virtual CSize GetPictureSize() const = 0;
    // The frame's local bar, null in full screen or when the frame has none.
    virtual CToolBar* GetLocalBar() const = 0;
    // Puts the frame back in order once the view is back in it: its local bar shows again.
    virtual void RestoreFrameLayout(CFrameWnd* pFrame);
    // The view has just entered or left full screen.
    virtual void FullScreenChanged() {}

    // Writes size, colours and zoom into the status pane (empty without a picture) when the main
    // frame shows the layout nStatusMode.
    void ShowPictureStatus(int nStatusMode, BOOL bPicture, int nWidth, int nHeight, int nBitCount);

    void SetMode(int nMode);
    // Changes the zoom, keeping the picture point at the window centre.
    void SetZoom(int nZoom);
    void ShowContextMenu(CPoint point);
    // Recomputes the full-screen scroll limits for the current total size.
    void UpdateFullScreenLimits(CSize total);
    void DestroyAnchor();

    BOOL& m_bFineZoom;
    int m_nContextMenu;

    int m_nZoom = 100;
    int m_nPrevZoom = -1;
    int m_nMode = kDibModeToScale;
    HDRAWDIB m_hDrawDib = nullptr;
    int m_bFirstPaint = 1;
    int m_nDrawCount = 0;
    HGLOBAL m_hLastDrawn = nullptr; // the picture DrawDib drew last
    BOOL m_bPaintMargins = TRUE;    // FALSE: a repaint of the picture alone

    // Full screen.
    BOOL m_bFullScreen = FALSE;
    DWORD m_dwSavedStyle = 0;
    HWND m_hSavedParent = nullptr;
    CPoint m_ptFullLimit;
    CPoint m_ptFullScroll;
    CPoint m_ptAnchor;
    BOOL m_bReanchor = FALSE;
    BOOL m_bLeftHeld = FALSE;
    BOOL m_bRightHeld = FALSE;
    BOOL m_bOpenedFullScreen = FALSE;
    HWND m_hReturnWnd = nullptr;  // the list window to go back to
    HWND m_hReturnKeys = nullptr; // where the keys were when the list opened the picture
    // A hidden child left in the frame while the view is away: when the frame goes, it takes the
    // full-screen view with it.
    HWND m_hAnchor = nullptr;

    DECLARE_MESSAGE_MAP()
};
