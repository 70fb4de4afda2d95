// CDibView: the view of a still-picture window. It shows the picture to scale at a zoom with scroll
// bars, fitted with its proportions or stretched to the window, through DrawDib; copies it to the
// clipboard; and can cover the whole screen (full screen).
#pragma once
#include "framework/ScrollView.h"

#include <vfw.h>

class CDibDoc;
class CCmdUI;
struct CPrintInfo;

// Display modes.
const int kDibModeToScale = 0;
const int kDibModeProportional = 1;
const int kDibModeFit = 2;

class CDibView : public CScrollView {
    DECLARE_DYNCREATE(CDibView)
public:
    CDibView();
    ~CDibView() override;

    CDibDoc* GetDocument() const;

    // Places the view's child frame in the picture area of the main window (byPlacement: as the
    // frame's stored placement says, which keeps it where it is).
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills the status pane of the picture layout with size, colours and zoom.
    void UpdateStatusText();
    // The full-screen mouse step of the main frame's tick: pans along the dominant axis and zooms
    // while a button is held. Nothing outside full screen.
    void TrackMouseInFullScreen();

    // Paints the view as WM_PAINT does into any DC: update is the damaged part of the client.
    void PaintTo(HDC hdc, const RECT& client, const RECT& update);

    void EnterFullScreen();
    // Back into the frame. With bClosing the view only goes home (its window is about to close).
    void LeaveFullScreen();
    BOOL IsFullScreen() const { return m_bFullScreen; }

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

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    // Printing: the picture on one page, or a poster over several (DibViewPrint.cpp).
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrintPicture();
    void OnPreviewPicture();
    void OnPrintPoster();
    void OnPreviewPoster();
    void OnUpdatePrint(CCmdUI* pCmdUI);

    // Commands.
    void OnZoomIn();
    void OnZoomOut();
    void OnModeToScale() { SetMode(kDibModeToScale); }
    void OnModeProportional() { SetMode(kDibModeProportional); }
    void OnModeFit() { SetMode(kDibModeFit); }
    void OnFullScreen() { EnterFullScreen(); }
    void OnEditCopy();
    void OnLocalToolBar();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateZoomIn(CCmdUI* pCmdUI);
    void OnUpdateZoomOut(CCmdUI* pCmdUI);
    void OnUpdateModeToScale(CCmdUI* pCmdUI);
    void OnUpdateModeProportional(CCmdUI* pCmdUI);
    void OnUpdateModeFit(CCmdUI* pCmdUI);
    void OnUpdateLocalToolBar(CCmdUI* pCmdUI);
    void OnUpdateAddToLibrary(CCmdUI* pCmdUI);

    // Messages.
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);

protected:
    void SetMode(int nMode);
    // Changes the zoom, keeping the picture point at the window centre.
    void SetZoom(int nZoom);
    void ShowContextMenu(CPoint point);
    // The plain printed page: title, picture, banner.
    void DrawPrintedPage(CDC* pDC);
    // Recomputes the full-screen scroll limits for the current total size.
    void UpdateFullScreenLimits(CSize total);
    void DestroyAnchor();

    int m_bArranging = 0;
    int m_nZoom = 100;
    int m_nPrevZoom = -1;
    int m_nMode = kDibModeToScale;
    HDRAWDIB m_hDrawDib = nullptr;
    int m_bFirstPaint = 1;
    int m_nDrawCount = 0;

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
    HWND m_hReturnWnd = nullptr; // the list window to go back to
    // A hidden child left in the frame while the view is away: when the frame goes, it takes the
    // full-screen view with it.
    HWND m_hAnchor = nullptr;

    DECLARE_MESSAGE_MAP()
};
