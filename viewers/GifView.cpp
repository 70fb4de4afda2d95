// The animated-GIF view's player: the multimedia timer, the ticks, the frame steps, the speed, the
// repetition, the time display and the animation bar's controls.
#include "viewers/GifView.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "viewers/AnimToolBar.h"
#include "viewers/GifDocMDI.h"
#include "core/DIB.h"
#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/StdIds.h"
#include "resources/resource.h"
#include "viewers/GifDoc.h"
#include "viewers/ViewerGlobals.h"

#include <algorithm>
#include <mmsystem.h>

const int AnimSpeedTable[13] = {1, 2, 3, 4, 5, 7, 10, 15, 20, 25, 30, 40, 50};
BOOL g_bFineZoomAnim = FALSE;
std::atomic<int> g_nAnimTimerPeriods{0};

namespace {

const int kTickMs = 20;
const int kTimerResolutionMs = 5;
const int kDefaultSpeedIndex = 6;
const int kPlayButtonIndex = 13;
const int kPlayImageStopped = 9;
const int kPlayImagePlaying = 12;

} // namespace

int AnimIntervalOfSpeed(int speedIndex)
{
    if (speedIndex < 0 || speedIndex >= 13)
        speedIndex = kDefaultSpeedIndex;
    return 1000 / AnimSpeedTable[speedIndex];
}

IMPLEMENT_DYNCREATE(CGifView, CPictureView)

BEGIN_MESSAGE_MAP(CGifView, CPictureView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
    ON_MESSAGE(WM_VIEWIDLE, OnViewIdle)
    ON_MESSAGE(WM_ANIMTICK, OnTimerTick)
    ON_MESSAGE(WM_ANIMFRAMESLIDER, OnFrameSlider)
    ON_MESSAGE(WM_ANIMSPEEDCHANGED, OnSpeedChanged)
    ON_COMMAND(ID_ANIM_PLAY_PAUSE, OnPlayPause)
    ON_UPDATE_COMMAND_UI(ID_ANIM_PLAY_PAUSE, OnUpdatePlayPause)
    ON_COMMAND(ID_ANIM_REPEAT, OnRepeat)
    ON_UPDATE_COMMAND_UI(ID_ANIM_REPEAT, OnUpdateRepeat)
    ON_COMMAND(ID_ANIM_TIME_DISPLAY, OnTimeDisplay)
    ON_UPDATE_COMMAND_UI(ID_ANIM_TIME_DISPLAY, OnUpdateTimeDisplay)
    ON_COMMAND(ID_ANIM_SPEED, OnSpeedCommand)
    ON_UPDATE_COMMAND_UI(ID_ANIM_SPEED, OnUpdateSpeedCommand)
    ON_COMMAND(ID_FILE_PRINT, OnPrintFrame)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewFrame)
    ON_COMMAND(ID_FILE_PRINT_POSTER, OnPrintFramePoster)
    ON_COMMAND(ID_FILE_PRINT_POSTER_PREVIEW, OnPreviewFramePoster)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_POSTER, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_POSTER_PREVIEW, OnUpdatePrint)
END_MESSAGE_MAP()

CGifView::CGifView() : CPictureView(g_bFineZoomAnim, 2)
{
    // A value from the registry may be anything: out of range gives the default speed.
    m_nSpeedIndex =
        g_VitesseAnimation >= 0 && g_VitesseAnimation < 13 ? g_VitesseAnimation : kDefaultSpeedIndex;
    m_nInterval = AnimIntervalOfSpeed(m_nSpeedIndex);
    m_bTimeDisplay = g_TypeAffichageAnim != 0;
    m_bRepeat = g_DefaultRepetition != 0;
}

CGifView::~CGifView()
{
    StopTimer();
    FreePrintCopy();
}

CGifDoc* CGifView::GetDocument() const { return static_cast<CGifDoc*>(m_pDocument); }

int CGifView::GetFrameCount() const
{
    CGifDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetFrameCount() : 0;
}

// ---- the timer ----

int CGifView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CScrollView::OnCreate(lpcs) == -1)
        return -1;
    m_hTickWnd = m_hWnd;
    return 0;
}

void CGifView::UpdateTimer()
{
    // Ticks move the frames while playing and the picture with the mouse in full screen; a stopped
    // animation in its window needs none.
    if (m_hTickWnd != nullptr && !m_bTicksByHand && (m_bPlaying || m_bFullScreen))
        StartTimer();
    else
        StopTimer();
}

void CGifView::StartTimer()
{
    if (m_nTimerId != 0)
        return;
    TIMECAPS caps;
    ::timeGetDevCaps(&caps, sizeof(caps));
    if (!m_bPeriodBegun && ::timeBeginPeriod(kTimerResolutionMs) == TIMERR_NOERROR) {
        m_bPeriodBegun = TRUE;
        g_nAnimTimerPeriods++;
    }
    // Synchronous kill: once timeKillEvent returns, no callback runs on this view any more.
    m_nTimerId = ::timeSetEvent(kTickMs, kTickMs, TimerCallback, reinterpret_cast<DWORD_PTR>(this),
                                TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
}

void CGifView::DriveTicksByHand()
{
    m_bTicksByHand = TRUE;
    StopTimer();
}

void CGifView::FullScreenChanged() { UpdateTimer(); }

void CGifView::StopTimer()
{
    if (m_nTimerId != 0) {
        ::timeKillEvent(m_nTimerId);
        m_nTimerId = 0;
    }
    if (m_bPeriodBegun) {
        ::timeEndPeriod(kTimerResolutionMs);
        m_bPeriodBegun = FALSE;
        g_nAnimTimerPeriods--;
    }
}

void CGifView::OnDestroy()
{
    StopTimer();
    m_hTickWnd = nullptr;
    CPictureView::OnDestroy();
}

void CALLBACK CGifView::TimerCallback(UINT, UINT, DWORD_PTR dwUser, DWORD_PTR, DWORD_PTR)
{
    CGifView* pView = reinterpret_cast<CGifView*>(dwUser);
    LONG expected = 0;
    // At most one tick waits in the queue: a busy window slows down instead of bursting.
    if (!pView->m_nPendingTicks.compare_exchange_strong(expected, 1))
        return;
    HWND hWnd = pView->m_hTickWnd;
    if (hWnd == nullptr || !::PostMessageA(hWnd, WM_ANIMTICK, 0, 0))
        pView->m_nPendingTicks.store(0);
}

LRESULT CGifView::OnTimerTick(WPARAM, LPARAM)
{
    if (m_bPlaying) {
        m_nElapsed += kTickMs;
        if (m_nElapsed >= m_nInterval) {
            m_nElapsed = 0;
            if (m_bRepeat) {
                NextFrame();
            } else if (m_nCurrentFrame >= GetFrameCount() - 1) {
                m_bPlaying = FALSE;
                UpdatePlayButton();
                UpdateTimer();
            } else {
                NextFrame();
            }
        }
    }
    if (m_bFullScreen)
        TrackMouseInFullScreen();
    // A tick sent by hand leaves the count at 0 as well: the timer can always post the next one.
    m_nPendingTicks.store(0);
    return 0;
}

// ---- frames ----

void CGifView::NextFrame()
{
    int nCount = GetFrameCount();
    if (nCount < 2)
        return;
    int n = m_nCurrentFrame + 1;
    ShowFrame(n >= nCount ? 0 : n);
}

void CGifView::ShowFrame(int n)
{
    int nCount = GetFrameCount();
    m_nCurrentFrame = std::max(0, std::min(n, nCount - 1));
    if (m_hWnd != nullptr) {
        RECT rcUpdate;
        if (!::GetUpdateRect(m_hWnd, &rcUpdate, FALSE)) {
            // A frame step repaints the picture only: the margins do not flicker.
            m_bPaintMargins = FALSE;
            Invalidate(FALSE);
            UpdateWindow();
            m_bPaintMargins = TRUE;
        } else {
            UpdateWindow();
        }
    }
    if (m_bFullScreen)
        return;
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar != nullptr && pBar->m_wndSlider.m_hWnd != nullptr)
        pBar->m_wndSlider.SetPos(m_nCurrentFrame);
    SetFrameDisplay();
}

CAnimToolBar* CGifView::GetAnimBar() const
{
    if (m_bFullScreen || m_hWnd == nullptr)
        return nullptr;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CGifDocMDI)))
        return nullptr;
    CAnimToolBar* pBar = &static_cast<CGifDocMDI*>(pFrame)->m_wndToolBar;
    return pBar->m_hWnd != nullptr ? pBar : nullptr;
}

void CGifView::UpdateFrameTitle()
{
    if (m_bFullScreen || m_bOpenedFullScreen || m_hWnd == nullptr)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CGifView::UpdatePlayButton()
{
    if (m_bFullScreen || m_bOpenedFullScreen)
        return;
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar != nullptr)
        pBar->SetButtonInfo(kPlayButtonIndex, ID_ANIM_PLAY_PAUSE, TBBS_BUTTON,
                            m_bPlaying ? kPlayImagePlaying : kPlayImageStopped);
    UpdateFrameTitle();
}

void CGifView::SetFrameDisplay()
{
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar == nullptr)
        return;
    CString strLabel = AfxLoadText(m_bTimeDisplay ? IDS_ANIM_CAPTION_TIME : IDS_ANIM_CAPTION_FRAME);
    if (pBar->m_wndPosition.m_strLabel != strLabel) {
        pBar->m_wndPosition.m_strLabel = strLabel;
        pBar->m_wndPosition.Invalidate(FALSE);
    }
    pBar->m_wndPosition.SetValue(m_nCurrentFrame + 1, m_nInterval, m_bTimeDisplay);
}

void CGifView::SetTotalDisplay()
{
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar == nullptr)
        return;
    pBar->m_wndTotal.m_strLabel = AfxLoadText(IDS_ANIM_CAPTION_TOTAL);
    pBar->m_wndTotal.SetValue(GetFrameCount(), m_nInterval, m_bTimeDisplay);
}

void CGifView::RefreshFrameControls()
{
    if (++m_nRefreshCount < 20)
        return;
    m_nRefreshCount = 0;
    if (m_bFullScreen || m_bOpenedFullScreen)
        return;
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar != nullptr && pBar->m_wndSlider.m_hWnd != nullptr)
        pBar->m_wndSlider.SetPos(m_nCurrentFrame);
    SetFrameDisplay();
}

// ---- commands and bar messages ----

void CGifView::OnPlayPause()
{
    if (GetFrameCount() < 2)
        return;
    m_bPlaying = !m_bPlaying;
    UpdatePlayButton();
    UpdateTimer();
}

void CGifView::OnRepeat()
{
    if (GetFrameCount() < 2)
        return;
    m_bRepeat = !m_bRepeat;
}

void CGifView::OnTimeDisplay()
{
    if (GetFrameCount() < 2)
        return;
    m_bTimeDisplay = !m_bTimeDisplay;
    g_TypeAffichageAnim = m_bTimeDisplay ? 1 : 0;
    SetFrameDisplay();
    SetTotalDisplay();
}

void CGifView::OnUpdatePlayPause(CCmdUI* pCmdUI) { pCmdUI->Enable(GetFrameCount() >= 2); }

void CGifView::OnUpdateRepeat(CCmdUI* pCmdUI)
{
    BOOL bAnimated = GetFrameCount() >= 2;
    pCmdUI->Enable(bAnimated);
    pCmdUI->SetCheck(bAnimated && m_bRepeat ? 1 : 0);
}

void CGifView::OnUpdateTimeDisplay(CCmdUI* pCmdUI)
{
    BOOL bAnimated = GetFrameCount() >= 2;
    pCmdUI->Enable(bAnimated);
    pCmdUI->SetCheck(bAnimated && m_bTimeDisplay ? 1 : 0);
}

void CGifView::OnUpdateSpeedCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(GetFrameCount() >= 2); }

LRESULT CGifView::OnFrameSlider(WPARAM, LPARAM)
{
    CAnimToolBar* pBar = GetAnimBar();
    if (m_bFullScreen || pBar == nullptr)
        return 0;
    int nPos = pBar->m_wndSlider.GetPos();
    if (nPos == m_nCurrentFrame)
        return 0;
    m_nCurrentFrame = std::max(0, std::min(nPos, GetFrameCount() - 1));
    CGifDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
    SetFrameDisplay();
    return 0;
}

LRESULT CGifView::OnSpeedChanged(WPARAM, LPARAM)
{
    CAnimToolBar* pBar = GetAnimBar();
    if (m_bFullScreen || pBar == nullptr)
        return 0;
    int nSel = pBar->m_wndSpeed.GetCurSel();
    // No selection (CB_ERR) keeps the speed.
    if (nSel < 0 || nSel >= 13)
        return 0;
    m_nSpeedIndex = nSel;
    int nInterval = AnimIntervalOfSpeed(nSel);
    if (nInterval == m_nInterval)
        return 0;
    m_nInterval = nInterval;
    SetFrameDisplay();
    SetTotalDisplay();
    return 0;
}

// ---- set-up ----

void CGifView::OnInitialUpdate()
{
    int nCount = GetFrameCount();
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar != nullptr) {
        pBar->m_wndSpeed.SetCurSel(m_nSpeedIndex);
        if (nCount >= 2) {
            pBar->m_wndSlider.EnableWindow(TRUE);
            pBar->m_wndSlider.SetRange(0, nCount - 1, FALSE);
            pBar->m_wndSlider.SetTicFreq(1);
            pBar->m_wndSpeed.EnableWindow(TRUE);
        } else {
            pBar->m_wndSlider.EnableWindow(FALSE);
            pBar->m_wndPosition.SetDigits(FALSE);
            pBar->m_wndTotal.SetDigits(FALSE);
            pBar->m_wndSpeed.EnableWindow(FALSE);
        }
    }
    SetFrameDisplay();
    SetTotalDisplay();
    CGifDoc* pDoc = GetDocument();
    CSize size = pDoc != nullptr ? pDoc->GetSize() : CSize(1, 1);
    SetScrollSizes(MM_TEXT, CSize(std::max(1, MulDiv(size.cx, m_nZoom, 100)),
                                  std::max(1, MulDiv(size.cy, m_nZoom, 100))));
    // As a still picture: in its own cell before its frame first shows.
    if (g_bAutoReorganize) {
        m_bArranging = 1;
        ArrangeViewFrame(this, kImageViewArea, FALSE, TRUE);
        m_bArranging = 0;
        g_bArrangePending = TRUE;
    }
    // Playback starts as soon as the window is up (a single frame ignores it).
    PostMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    CScrollView::OnInitialUpdate();
    if (m_bOpenedFullScreen) {
        SetFocus();
        EnterFullScreen();
    }
}

void CGifView::ArrangeChildFrame(BOOL byPlacement) { ArrangeViewFrame(this, kImageViewArea, byPlacement); }

LRESULT CGifView::OnViewArrange(WPARAM wParam, LPARAM)
{
    ArrangeChildFrame(static_cast<BOOL>(wParam));
    return TRUE;
}

LRESULT CGifView::OnViewKind(WPARAM, LPARAM) { return kImageViewArea; }

LRESULT CGifView::OnViewStatus(WPARAM, LPARAM)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusMode(kStatusAnimation);
    UpdateStatusText();
    return TRUE;
}

LRESULT CGifView::OnViewIdle(WPARAM wParam, LPARAM)
{
    // In full screen the animation's own ticks move the picture with the mouse.
    if (!wParam)
        RefreshFrameControls();
    return TRUE;
}
