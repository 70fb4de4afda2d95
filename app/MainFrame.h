// CMainFrame: the program's one main window (MDI frame): its bars, the 50 ms dispatcher timer, the
// command line handed over by a second instance, palette realisation, placing the child windows, its
// saved placement, the status-bar layouts and the progress gauge.
#pragma once
#include "app/CaptionPainter.h"
#include "app/MyCoolBar.h"
#include "app/StatusBarEx.h"
#include "shell/ToolBarEx.h"
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "explorer/SearchDialogs.h"
#include "framework/Gdi.h"
#include "framework/MDIFrameWnd.h"
#include "framework/ToolBar.h"
#include "library/LibraryBar.h"
#include "shell/MainFrameHost.h"
#include "viewers/Twain.h"

#include <vector>

class CDC;
class CSlideShowWnd;
class CView;

class CMainFrame;
// The main frame, set by its constructor; null before it exists and after it is gone.
extern CMainFrame* g_pMainFrame;
// The main frame's library bar.
extern CLibraryBar* g_pLibraryBar;
// A dispatcher pass is running (a timer message from a modal loop inside it skips its pass).
extern BOOL g_bInDispatch;

// Gauge state shared by the gauge operations.
extern CString g_strGaugeText;      // the text shown while the gauge runs
extern CString g_strGaugeSavedText; // pane 0's text before the gauge started
extern int g_nGaugeCells;           // number of cells, 0..100
extern int g_nGaugePercent;         // 0..100
extern int g_nGaugeTextWidth;       // the room the gauge's text takes before the cells (90 at least)

// Gauge arithmetic: the cells a first pane of that width holds (the text area and the margins
// taken off, at most 100), and the cells and per cent of done out of total (total above 0).
int GaugeCellCount(int paneWidth, BOOL withText);
void GaugeStep(DWORD done, DWORD total, int cells, int* filled, int* percent);

// Draws the gauge over a status pane: with drawnPos -1 the edges and every cell, filled below pos;
// otherwise only the cells between drawnPos and pos. Then the percentage after the cells. withText:
// the gauge's text takes the pane's first g_nGaugeTextWidth pixels.
void DrawGaugeCells(CDC* pDC, CBitmap* pGauge, const CRect& rectPane, BOOL withText, int cells, int pos,
                    int drawnPos, int percent);

// Whether the clipboard holds a bitmap or a DIB (what pasting as a new picture takes). Asked of the
// clipboard only after a change notice (see WatchClipboard), otherwise the last answer; without
// notices, when its change counter moved or once a second.
BOOL ClipboardHoldsPicture();
// Has the system notify hWnd (WM_CLIPBOARDUPDATE) of every change of the clipboard, where it can.
void WatchClipboard(HWND hWnd);
// A change notice came: the next ClipboardHoldsPicture asks again.
void ClipboardChanged();

// The longest command line a second instance can hand over; anything longer is cut there.
const int kHandOverMax = 32767;

class CMainFrame : public CMDIFrameWnd, public CTwain, public IProgressSink, public IMainFrameHost {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // ---- framework steps ----
    // The window class is the application's ("TessarineClass").
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The child windows are placed again at the next pass.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // The window text is the frame's title alone; the caption shows the document.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    // ---- what the document windows ask (IMainFrameHost) ----
    CMDIFrameWnd* GetFrameWnd() override { return this; }
    void ArrangeViewFrame(CView* pView, int half, BOOL byPlacement, BOOL bFirstCell) override;
    void RequestArrange() override { g_bArrangePending = TRUE; }
    BOOL IsSplashUp() const override;
    CDocument* OpenPicture(LPCSTR lpszPath, BOOL bFullScreen, CWnd* pReturnWnd,
                           LPCSTR lpszFolderTitle) override;
    void SetFullScreenView(CView* pView) override { m_pFullScreenView = pView; }
    CView* GetFullScreenView() const override { return m_pFullScreenView; }
    void PromoteRecentEntry(LPCSTR path) override;
    void NewPrintLibWindow() override;
    // The one slide show window object, made with the frame (null when it could not be made).
    CSlideShowWnd* GetSlideShow() { return m_pSlideShow; }
    BOOL RunSlideShow(int source, CWnd* pSource, const CStringArray& paths) override;
    void PlayBackgroundMusic(LPCSTR path) override;
    void StopBackgroundMusic() override;

    // ---- the dispatcher (one pass every 50 ms) ----
    void OnIdleUpdate();
    UINT_PTR GetDispatchTimerId() const { return m_nTimerId; }
    // Stops the dispatcher's timer; the passes then run only when asked for.
    void StopDispatchTimer();
    // Invalidates every window two levels below the frame.
    void InvalidateAllViews();

    // ---- placing the child windows ----
    // The rectangle (MDI-client coordinates) where a kind of view lays its frame out: half 0 the
    // whole area, 1 the top (tall client) or left half, 2 the other half; room is left at the
    // bottom for the minimised windows. selfMinimised: the caller's own frame is minimised and does
    // not count. out is left as it was when there is no MDI client.
    void ComputeViewArea(CRect* out, int half, BOOL selfMinimised);
    // The views of a kind (kImageViewArea: still pictures and animations; kExplorerViewArea:
    // explorers and searches) that are not minimised; the minimised ones into *minimised (may be null).
    int CountViews(int kind, int* minimised);
    // The view's rank among the views of that kind (kImageViewArea, kExplorerViewArea) with the same
    // minimised state, from the active child on; 0 when a child is maximised or the view is not found.
    int GetViewIndex(CView* pView, int kind);
    // Every view places its frame, then the minimised windows are lined up.
    void OnWindowArrange();
    // Docks pBar just right of pLeftOf, on the same side.
    void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
    // The MDI client window, found by its class name; null when there is none.
    HWND FindMDIClient();

    // ---- placement ("mainwin") ----
    // Writes the normal rectangle and the maximised state.
    void SaveWindowPlacement();

    // ---- recent files and the cool bar ----
    // Refills the cool bar's "Récents" box from the recent list (nothing without the box).
    void FillRecentCombo();
    // Selects the active document's entry in the box, or clears it; unless bForce, only when the
    // active document changed since the last call.
    void SyncRecentCombo(BOOL bForce);
    // Check (TBSTATE_CHECKED) and enabled (TBSTATE_ENABLED) state of a tool-band button.
    void SetCoolButtonState(UINT nID, UINT nState);
    CMyCoolBar* GetCoolBar() { return &m_wndCoolBar; }
    // Shows the bar the settings ask for ("UseCoolBar") and hides the other.
    void ShowToolBarInUse();
    // Creates the cool bar when it does not exist yet; FALSE when it cannot be made.
    BOOL CreateCoolBar();

    // ---- status bar ----
    // Applies a layout when it is not the one shown (StatusMode).
    void SetStatusMode(int nMode) override;
    void SetStatusMode0() { SetStatusMode(kStatusNoView); }
    void SetStatusMode1() { SetStatusMode(kStatusExplorer); }
    void SetStatusMode2() { SetStatusMode(kStatusPicture); }
    void SetStatusMode3() { SetStatusMode(kStatusAnimation); }
    int GetStatusMode() const override { return m_nStatusMode; }
    void SetStatusText1(LPCSTR lpszText) override;
    void SetStatusPaneText(int nPane, LPCSTR lpszText) override;
    void SetStatusText0(LPCSTR lpszText) override;
    void SetStatusText0ById(UINT nID);
    void SaveStatusText0();
    void RestoreStatusText0();
    // Turns the gauge on or off, only while progress is reported.
    void SetProgressEnabled(BOOL bEnabled);
    CStatusBarEx* GetStatusBar() { return &m_wndStatusBar; }
    CToolBar* GetToolBar() { return &m_wndToolBar; }
    CLibraryBar* GetLibraryBar() { return &m_wndLibraryBar; }

    // ---- the progress gauge, in the first status pane ----
    // An empty or null text shows "Patientez ...". A begin while the gauge runs keeps the text saved
    // by the first one.
    void BeginProgress(LPCSTR lpszText) override;
    void SetProgress(DWORD done, DWORD total) override;
    void EndProgress() override;
    // Draws the whole gauge again (after the status bar painted over it).
    void RedrawGauge();
    BOOL IsGaugeActive() const { return m_bGaugeActive; }
    int GetGaugePos() const { return m_nGaugePos; }

    // The MDI client as found at creation.
    HWND GetCachedMDIClient() const { return m_hWndMDIClientCache; }

    // ---- caption ----
    CCaptionPainter& GetCaptionPainter() { return m_caption; }
    // The title of the active child's active document; empty without one.
    CString GetActiveDocumentTitle();
    // Copies the cached caption (drawn first when needed) onto the title bar, for that state or the
    // last one given to the non-client area.
    void PaintCaption(BOOL bActive);
    void PaintCaption() { PaintCaption(m_caption.m_bCaptionActive); }
    LRESULT OnNcPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysColorChangeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChangeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptionReset(WPARAM wParam, LPARAM lParam);

    // ---- background music ----
    BOOL IsMusicPlaying() const { return m_bMusicPlaying; }
    // A play was started and its end has not been reported.
    BOOL IsMusicNotifyPending() const { return m_bMusicNotifyPending; }
    void SetMusicState(LPCSTR lpszPath, BOOL bLoop);
    void ClearMusicState();
    // A play ended (or failed).
    LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnClipboardUpdate(WPARAM wParam, LPARAM lParam);
    // The dispatcher's music step: plays the file again once its play has ended.
    void LoopMusic();

    // The welcome window on demand (whatever "ShowWelcome" says; its box still sets it).
    void OnHelpWelcome();

    // ---- messages ----
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnTimer(UINT nIDEvent);
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    LRESULT OnOpenPathChar(WPARAM wParam, LPARAM lParam);
    // Files dropped on the window open as one batch (OpenDocumentFiles).
    void OnDropFiles(HDROP hDropInfo);
    // The characters of a hand-over still arriving.
    const CString& GetHandOverText() const { return m_strHandOver; }

    // ---- commands ----
    void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    void OnAutoReorganize();
    void OnUpdateAutoReorganize(CCmdUI* pCmdUI);
    void OnViewLibraryBar();
    void OnUpdateViewLibraryBar(CCmdUI* pCmdUI);
    BOOL OnViewBar(UINT nID);
    void OnUpdateViewBar(CCmdUI* pCmdUI);
    void OnUpdateInfoPane(CCmdUI* pCmdUI);
    void OnReserved32900() {}
    void OnUpdateUnchanged(CCmdUI*) {}
    // The explorer's edit command reaches the frame only when no explorer took it first: then it does
    // nothing and shows greyed.
    void OnExplorerEditPicture() {}
    void OnUpdateExplorerEditPicture(CCmdUI* pCmdUI);
    // With the library root chosen in the shown library bar: the explorer window on the library's
    // folder comes to the front, or one is opened on it.
    void OnShowLibraryRootFolder();
    void OnHelpIndexCommand();
    void OnHelpUsingCommand();
    void OnContextHelpCommand();
    void OnDefaultHelpCommand();

    // ---- favourites ----
    void OnAddFavorite();
    void OnUpdateAddFavorite(CCmdUI* pCmdUI);
    void OnEditFavorites();
    void OnUpdateEditFavorites(CCmdUI* pCmdUI);
    // Lists the favourites after the two commands of every favourites popup.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnFavorite(UINT nID);
    void OnUpdateFavorite(CCmdUI* pCmdUI);

    // ---- keys, preferences and the library commands ----
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnPreferences();
    void OnOptionsPassword();
    // Applies what changed between the settings before (old) and now to the bars.
    void ApplyToolBarSettings(int oldUseCoolBar, int oldShowRecents, int oldAnimation, int oldText,
                              int oldBitmap);
    // A library command goes to the library bar only while its window is visible; TRUE when it went.
    BOOL ForwardLibCommand(UINT nID);
    BOOL OnLibCommand(UINT nID);
    void OnUpdateLibCommand(CCmdUI* pCmdUI);
    // Commands that reach the bar without the visibility test (their update rule disables them).
    BOOL OnLibCommandUnchecked(UINT nID);

    // ---- window arrangement, help, edit, paste and web pages ----
    void OnWindowMosaic();
    void OnUpdateWindowMosaic(CCmdUI* pCmdUI);
    void OnWindowFull();
    void OnUpdateWindowFull(CCmdUI* pCmdUI);
    void OnViewStandardToolBar();
    void OnUpdateViewStandardToolBar(CCmdUI* pCmdUI);
    void OnHelpFinderCommand();
    void OnEditPasteNew();
    void OnUpdateEditPasteNew(CCmdUI* pCmdUI);
    // Opens a clipboard picture in a new still-picture window; FALSE when none was opened.
    BOOL PasteAsNewPicture();
    void OnWebHome();
    void OnWebProduct();
    void OnWebProducts();
    void OnWebSupport();
    // Invalidates and updates at once every window two levels below the frame.
    void RedrawAllViews();

    // ---- library search ----
    // The command: the criteria, then the search; only while the library bar's window is visible.
    void OnLibSearch();
    void OnUpdateLibSearch(CCmdUI* pCmdUI);
    // Runs the progress dialog over a fresh search of the library.
    void StartSearch();
    // The hits' window, or string 185, unless the search was stopped; the hits are dropped after.
    void EndSearch();
    LRESULT OnSearchFinished(WPARAM wParam, LPARAM lParam);
    CSearchProgressDlg& GetSearchProgressDlg() { return m_dlgSearchProgress; }

    // ---- scanner ----
    void OnTwainAcquire();
    void OnTwainSelectSource();
    // Both scanner commands: only while the source manager is open and no source is.
    void OnUpdateTwainCommand(CCmdUI* pCmdUI);
    // A scanned picture opens in a new still-picture window.
    void OnImage(HGLOBAL hDIB) override;
    // A scan that could not start says why.
    void OnError(int nStage) override;

protected:
    // Draws the cells that changed since the last drawing (all of them after a begin).
    void DrawGauge(BOOL bWhole);

private:
    int m_nStatusMode = -1;
    int m_nGaugePos = 0;
    int m_nGaugeDrawnPos = 0;
    BOOL m_bGaugeActive = FALSE;
    BOOL m_bGaugeEnabled = FALSE;
    CBitmap m_bmpGauge;
    HWND m_hWndMDIClientCache = nullptr;
    UINT_PTR m_nTimerId = 0;
    CView* m_pFullScreenView = nullptr;    // set by a view while it is full screen
    CSlideShowWnd* m_pSlideShow = nullptr; // the one slide show, made with the frame
    CString m_strHandOver;                 // characters of a hand-over still arriving
    CString m_strRecentSeen;               // the active document's path (lower case) at the last follow
    // The views the dispatcher steps (each MDI child's top view, from the active child on), as found
    // with that active child and that generation of windows; found again when either changes.
    std::vector<HWND> m_idleViews;
    HWND m_hIdleViewsActive = nullptr;
    unsigned long m_nIdleViewsGeneration = 0;
    CCaptionPainter m_caption;
    BOOL m_bMusicPlaying = FALSE;
    BOOL m_bMusicLoop = FALSE;
    BOOL m_bMusicNotifyPending = FALSE;
    CString m_strMusicPath;
    CSearchProgressDlg m_dlgSearchProgress;
    BOOL m_bCloseAfterSearch = FALSE; // closing waits for the stopped search to end

    CLibraryBar m_wndLibraryBar;
    CToolBarEx m_wndToolBar;
    CMyCoolBar m_wndCoolBar;
    CStatusBarEx m_wndStatusBar;

protected:
    DECLARE_MESSAGE_MAP()
};

// A checked copy of a clipboard device-independent bitmap: 0 unless the block holds a whole picture
// its header describes (header size, dimensions, planes, bit count, compression, colour table and
// rows all inside the block). The copy is the caller's.
PackedDIB CopyClipboardDIB(HGLOBAL hClip);
