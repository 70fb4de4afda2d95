// CGifView: the view of an animated-GIF window. It shows one frame of its document at a time, as the
// still-picture view shows its picture (display modes, zoom, full screen, copy), and plays the frames
// on a 20 ms multimedia timer at the speed chosen in the animation bar, once or repeated. The timer
// runs only while the frames play or the view is full screen, where it also moves the picture.
#pragma once
#include "viewers/PictureView.h"

#include <atomic>

class CAnimToolBar;
class CCmdUI;
class CDIB;
class CGifDoc;
struct CPrintInfo;

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

class CGifView : public CPictureView {
    DECLARE_DYNCREATE(CGifView)
public:
    CGifView();
    ~CGifView() override;

    CGifDoc* GetDocument() const;

    // ---- what the main frame calls ----
    // Places the view's child frame in the picture area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills the status pane of the animation layout (size and colours of the shown frame, zoom).
    void UpdateStatusText() override;
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
    // Starts the multimedia timer while the animation plays or is full screen, stops it otherwise.
    void UpdateTimer();
    // Stops the multimedia timer and ends its resolution request; waits for a callback running.
    void StopTimer();
    // From now on ticks come only from whoever sends WM_ANIMTICK: the timer stops and stays off.
    void DriveTicksByHand();
    UINT GetTimerId() const { return m_nTimerId; }
    // Runs on the multimedia timer's thread: posts one tick unless one is still waiting.
    static void CALLBACK TimerCallback(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1,
                                       DWORD_PTR dw2);

    // ---- printing ----
    // The copy of the shown frame that printing draws (0 until a print command made one).
    HGLOBAL GetPrintCopy() const { return m_hPrintCopy; }
    HPALETTE GetPrintPalette() const { return m_hPrintPalette; }
    // Makes the print copy of the shown frame and its palette; FALSE when there is nothing to copy.
    BOOL MakePrintCopy();
    // Whether the print commands can run now: a frame to print, and not in full screen.
    BOOL CanPrint() const;

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

    void OnInitialUpdate() override;

    // ---- commands ----
    void OnPlayPause();
    void OnRepeat();
    void OnTimeDisplay();
    void OnSpeedCommand() {}
    void OnUpdatePlayPause(CCmdUI* pCmdUI);
    void OnUpdateRepeat(CCmdUI* pCmdUI);
    void OnUpdateTimeDisplay(CCmdUI* pCmdUI);
    void OnUpdateSpeedCommand(CCmdUI* pCmdUI);
    void OnPrintFrame();
    void OnPreviewFrame();
    void OnPrintFramePoster();
    void OnPreviewFramePoster();
    void OnUpdatePrint(CCmdUI* pCmdUI);

    // ---- messages ----
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);
    // The animation bar's slider and speed list, forwarded by the child frame.
    LRESULT OnFrameSlider(WPARAM wParam, LPARAM lParam);
    LRESULT OnSpeedChanged(WPARAM wParam, LPARAM lParam);

    // Player state (read by the child frame's title and by tests).
    int m_nCurrentFrame = 0;
    int m_nInterval = 100; // ms a frame stays
    BOOL m_bTimeDisplay = FALSE;
    BOOL m_bPlaying = FALSE;
    BOOL m_bRepeat = TRUE;
    int m_nElapsed = 0; // ms since the last frame step
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
    void FreePrintCopy();
    // Makes the print copy and asks for the poster's width; TRUE on OK.
    BOOL AskFramePosterSize();

    CDIB* GetShownPicture() const override;
    CSize GetPictureSize() const override;
    CToolBar* GetLocalBar() const override;
    // The animation bar was left alone meanwhile: it comes back up to the frame shown.
    void RestoreFrameLayout(CFrameWnd* pFrame) override;

    void FullScreenChanged() override;
    void StartTimer();

    std::atomic<LONG> m_nPendingTicks{0};
    UINT m_nTimerId = 0;
    BOOL m_bPeriodBegun = FALSE;
    BOOL m_bTicksByHand = FALSE;
    HWND m_hTickWnd = nullptr; // the window ticks go to, read by the timer thread

    int m_bArranging = 0;

    HGLOBAL m_hPrintCopy = nullptr;
    HPALETTE m_hPrintPalette = nullptr;

    DECLARE_MESSAGE_MAP()
};
