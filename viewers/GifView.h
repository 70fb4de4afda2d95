// CGifView: the view of an animated-GIF window. It shows one frame of its document at a time, as the
// still-picture view shows its picture (display modes, zoom, full screen, copy), and plays the frames
// on a 20 ms multimedia timer at the speed chosen in the animation bar, once or repeated.
#pragma once
#include "framework/ScrollView.h"

#include <atomic>
#include <vfw.h>

class CAnimToolBar;
class CCmdUI;
class CDIB;
class CGifDoc;

// Frames per second of the speeds, in the order of the animation bar's speed list.
extern const int AnimSpeedTable[13];
// Set only around the held-button zoom of an animation in full screen: zoom steps are then fine.
extern BOOL g_bFineZoomAnim;
// Multimedia-timer resolution requests of animation views not yet ended (each view holds one
// while its timer runs).
extern std::atomic<int> g_nAnimTimerPeriods;

// The frame interval (ms) of a speed index: 1000 / frames per second. An index out of range counts
// as the default speed (10 frames per second).
int AnimIntervalOfSpeed(int speedIndex);

class CGifView : public CScrollView {
    DECLARE_DYNCREATE(CGifView)
public:
    CGifView();
    ~CGifView() override;

    CGifDoc* GetDocument() const;

    // ---- what the main frame calls ----
    // Places the view's child frame in the picture area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills the status pane of the animation layout (size and colours of the shown frame, zoom).
    void UpdateStatusText();
    // Called on every dispatcher pass; about once a second brings the slider and the frame display
    // up to the frame shown.
    void RefreshFrameControls();

    // ---- the player ----
    int GetCurrentFrame() const { return m_nCurrentFrame; }
    int GetInterval() const { return m_nInterval; }
    int GetFrameCount() const;
    // One 20 ms step: advances the elapsed time and steps to the next frame when it reaches the
    // interval; in full screen also the mouse step.
    LRESULT OnTimerTick(WPARAM wParam, LPARAM lParam);
    // Shows frame n (clamped), repainting only the picture, and moves the slider and the display.
    void ShowFrame(int n);
    // The next frame, wrapping after the last (2 or more frames).
    void NextFrame();
    // Sets the play button's image and the frame title to the playing state.
    void UpdatePlayButton();
    // Stops the multimedia timer and ends its resolution request; waits for a callback running.
    void StopTimer();
    UINT GetTimerId() const { return m_nTimerId; }
    // Runs on the multimedia timer's thread: posts one tick unless one is still waiting.
    static void CALLBACK TimerCallback(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1,
                                       DWORD_PTR dw2);

    // ---- display ----
    // Paints the view as WM_PAINT does into any DC: update is the damaged part of the client.
    void PaintTo(HDC hdc, const RECT& client, const RECT& update);
    void EnterFullScreen();
    void LeaveFullScreen();
    BOOL IsFullScreen() const { return m_bFullScreen; }
    // The full-screen mouse step: pans along the dominant axis, zooms while a button is held.
    void TrackMouseInFullScreen();
    int GetZoom() const { return m_nZoom; }
    int GetMode() const { return m_nMode; }
    CPoint GetViewScrollPosition() const;
    void ScrollViewTo(CPoint pt);
    // The copy of the shown frame that printing draws (0 until a print command made one).
    HGLOBAL GetPrintCopy() const { return m_hPrintCopy; }
    HPALETTE GetPrintPalette() const { return m_hPrintPalette; }
    // Makes the print copy of the shown frame and its palette; FALSE when there is nothing to copy.
    BOOL MakePrintCopy();

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    // ---- commands ----
    void OnPlayPause();
    void OnRepeat();
    void OnTimeDisplay();
    void OnSpeedCommand() {}
    void OnUpdatePlayPause(CCmdUI* pCmdUI);
    void OnUpdateRepeat(CCmdUI* pCmdUI);
    void OnUpdateTimeDisplay(CCmdUI* pCmdUI);
    void OnUpdateSpeedCommand(CCmdUI* pCmdUI);
    void OnZoomIn();
    void OnZoomOut();
    void OnModeToScale() { SetMode(0); }
    void OnModeProportional() { SetMode(1); }
    void OnModeFit() { SetMode(2); }
    void OnFullScreen() { EnterFullScreen(); }
    void OnEditCopy();
    void OnLocalToolBar();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintPoster();
    void OnFilePrintPosterPreview();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateZoomIn(CCmdUI* pCmdUI);
    void OnUpdateZoomOut(CCmdUI* pCmdUI);
    void OnUpdateModeToScale(CCmdUI* pCmdUI);
    void OnUpdateModeProportional(CCmdUI* pCmdUI);
    void OnUpdateModeFit(CCmdUI* pCmdUI);
    void OnUpdateLocalToolBar(CCmdUI* pCmdUI);
    void OnUpdateAddToLibrary(CCmdUI* pCmdUI);

    // ---- messages ----
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);
    // The animation bar's slider and speed list, forwarded by the child frame.
    LRESULT OnFrameSlider(WPARAM wParam, LPARAM lParam);
    LRESULT OnSpeedChanged(WPARAM wParam, LPARAM lParam);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    // Player state (read by the child frame's title and by tests).
    int m_nCurrentFrame = 0;
    int m_nInterval = 100; // ms a frame stays
    BOOL m_bTimeDisplay = FALSE;
    BOOL m_bPlaying = FALSE;
    BOOL m_bRepeat = TRUE;
    int m_nElapsed = 0; // ms since the last frame step
    BOOL m_bPaintMargins = TRUE;
    int m_nSpeedIndex = 6;
    int m_nRefreshCount = 0;

protected:
    // The animation bar of the view's child frame, or null (full screen, or another frame).
    CAnimToolBar* GetAnimBar() const;
    // Tells the child frame to redo its title (play state).
    void UpdateFrameTitle();
    // Sets the two digit displays and their captions from the player state.
    void SetFrameDisplay();
    void SetTotalDisplay();
    void SetMode(int nMode);
    void SetZoom(int nZoom);
    void ShowContextMenu(CPoint point);
    void UpdateFullScreenLimits(CSize total);
    void DestroyAnchor();
    void FreePrintCopy();

    std::atomic<LONG> m_nPendingTicks{0};
    UINT m_nTimerId = 0;
    BOOL m_bPeriodBegun = FALSE;
    HWND m_hTickWnd = nullptr; // the window ticks go to, read by the timer thread

    int m_bArranging = 0;
    int m_nZoom = 100;
    int m_nPrevZoom = -1;
    int m_nMode = 0;
    HDRAWDIB m_hDrawDib = nullptr;
    int m_bFirstPaint = 1;
    HGLOBAL m_hLastDrawn = nullptr; // the frame DrawDib drew last

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
    HWND m_hReturnWnd = nullptr;
    HWND m_hAnchor = nullptr;

    HGLOBAL m_hPrintCopy = nullptr;
    HPALETTE m_hPrintPalette = nullptr;

    DECLARE_MESSAGE_MAP()
};
