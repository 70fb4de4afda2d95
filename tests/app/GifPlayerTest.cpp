// The animated-GIF window: its document (frames, delays, transparency, the load-error retry, saving
// the shown frame), the player driven tick by tick (pacing of every speed, repetition, the slider,
// the speed list, the time display, a single frame), the frames drawn, and closing playing windows
// over and over with the real timer.
#include "tests/app/AnimFixture.h"
#include "tests/app/RealInput.h"

#include "shell/Settings.h"
#include "viewers/AnimToolBar.h"
#include "viewers/GifDocMDI.h"
#include "formats/FormatGif.h"
#include "framework/Collections.h"
#include "framework/MDIChildWnd.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <mmsystem.h>
#include <tlhelp32.h>

#include <fstream>

namespace {

// The decoded frames of a file, as the reader gives them.
struct Decoded {
    CObArray frames;
    ~Decoded()
    {
        for (INT_PTR i = 0; i < frames.GetSize(); i++)
            delete frames[i];
    }
    HGLOBAL Frame(int n) const { return static_cast<CDIB*>(frames[n])->GetHandle(); }
};

CAnimToolBar& BarOf(CGifView* pView)
{
    return static_cast<CGifDocMDI*>(pView->GetParentFrame())->m_wndToolBar;
}

int PlayImage(CGifView* pView)
{
    UINT id, style;
    int image;
    BarOf(pView).GetButtonInfo(13, id, style, image);
    return image;
}

void SetSpeed(CGifView* pView, int index)
{
    BarOf(pView).m_wndSpeed.SetCurSel(index);
    pView->SendMessage(WM_ANIMSPEEDCHANGED);
}

std::string ToUpper(std::string text)
{
    ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

int ThreadCount()
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te = {};
    te.dwSize = sizeof(te);
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        n += te.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snap);
    return n;
}

} // namespace

TEST_F(AnimTest, DocumentHoldsEveryFrameWithItsDelayAndTransparency)
{
    ASSERT_TRUE(Start());
    std::string path = Gif("five.gif", 5, 40, 24, 2);
    CGifView* pView = OpenGif(path);
    ASSERT_NE(pView, nullptr);
    CGifDoc* pDoc = pView->GetDocument();
    ASSERT_EQ(pDoc->GetFrameCount(), 5);
    EXPECT_EQ(pDoc->GetSize(), CSize(40, 24));
    EXPECT_EQ(pDoc->m_nBitCount, 8);
    EXPECT_EQ(pDoc->m_dwFileLength, GetFileLength(path.c_str()));
    for (int f = 0; f < 5; f++) {
        EXPECT_EQ(pDoc->GetFrame(f)->GetDelay(), 10 * (f + 1));
        EXPECT_EQ(pDoc->GetFrame(f)->GetTransparentIndex(), f == 2 ? 250 : -1);
        // Each frame is a picture of its own, with its own colours.
        EXPECT_EQ(DibPixel(pDoc->GetFrameDIB(f), 0, 0), AnimColour(2 * f + 2));
        EXPECT_EQ(DibPixel(pDoc->GetFrameDIB(f), 4, 0), AnimColour(2 * f + 1));
    }
    EXPECT_EQ(pDoc->GetFrame(5), nullptr);
    CString strTitle = "FIVE.GIF";
    EXPECT_STREQ(pDoc->GetTitle(), strTitle);
}

TEST_F(AnimTest, FramesShownAreTheDecodedFrames)
{
    ASSERT_TRUE(Start());
    // Each frame with a colour map of its own: the colours drawn must be the frame's, not the first's.
    std::string path = Gif("shown.gif", 4, 40, 24, -1, true);
    Decoded decoded;
    ASSERT_EQ(LoadAnimatedGIF(path.c_str(), &decoded.frames), 4);
    CGifView* pView = OpenGif(path);
    ASSERT_NE(pView, nullptr);
    pView->SendMessage(WM_COMMAND, ID_VIEW_ACTUAL_SIZE);
    PaintTarget target(pView);
    // As in a window that was activated: DrawDib has realised its palette.
    pView->SendMessage(WM_PALETTEREALIZE, reinterpret_cast<WPARAM>(pView->m_hWnd));
    for (int f : {0, 1, 2, 3, 1}) {
        SCOPED_TRACE(f);
        EXPECT_EQ(DibPixel(decoded.Frame(f), 0, 0), AnimColour(2 * f + 2 + 40 * f));
        // Only the target is painted, as the window alone paints itself frame after frame.
        pView->m_nCurrentFrame = f;
        Painted p = target.Paint();
        // Actual size, centred: picture pixel (x, y) is at the centre offset.
        int ox = (p.width - 40) / 2;
        int oy = (p.height - 24) / 2;
        ASSERT_GE(ox, 0);
        ASSERT_GE(oy, 0);
        for (int y = 0; y < 24; y += 3)
            for (int x = 0; x < 40; x += 3)
                ASSERT_EQ(p.At(ox + x, oy + y), DibPixel(decoded.Frame(f), x, y)) << x << "," << y;
        EXPECT_EQ(p.At(0, 0), g_CouleurView);
    }
}

TEST_F(AnimTest, DamagedFileIsRetriedAndOnlyTheGoodFileFramesRemain)
{
    ASSERT_TRUE(Start());
    // A GIF cut in its third image: the reader gives the frames before the damage; the retry must
    // not keep them.
    std::string good = Gif("good.gif", 3);
    std::string whole = Gif("whole.gif", 5);
    std::ifstream in(whole, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string cut = m_temp.File("cut.gif");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, 3);
    AfxScriptNextModal(IDD_LOAD_ERROR, {{IDC_LOADERR_PATH, good}}, IDOK);
    CGifView* pView = OpenGif(cut);
    ASSERT_NE(pView, nullptr);
    CGifDoc* pDoc = pView->GetDocument();
    EXPECT_EQ(pDoc->GetFrameCount(), 3);
    EXPECT_EQ(DibPixel(pDoc->GetFrameDIB(2), 0, 0), AnimColour(6));
    EXPECT_STREQ(pDoc->GetPathName(), good.c_str());

    // Giving up opens nothing.
    std::string other = m_temp.File("other.gif");
    std::ofstream(other, std::ios::binary) << bytes.substr(0, bytes.size() / 4);
    AfxScriptNextModal(IDD_LOAD_ERROR, {}, IDCANCEL);
    size_t before = Children().size();
    EXPECT_EQ(m_pApp->OpenDocumentFile(other.c_str()), nullptr);
    Pump();
    EXPECT_EQ(Children().size(), before);
}

TEST_F(AnimTest, EverySpeedStepsAtTheNextMultipleOfTwentyMilliseconds)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("speeds.gif", 3));
    ASSERT_NE(pView, nullptr);
    ASSERT_TRUE(pView->m_bPlaying);
    // Ticks per frame for 1, 2, 3, 4, 5, 7, 10, 15, 20, 25, 30, 40, 50 frames a second.
    const int ticks[13] = {50, 25, 17, 13, 10, 8, 5, 4, 3, 2, 2, 2, 1};
    for (int speed = 0; speed < 13; speed++) {
        SCOPED_TRACE(speed);
        SetSpeed(pView, speed);
        EXPECT_EQ(pView->GetInterval(), 1000 / AnimSpeedTable[speed]);
        pView->m_nElapsed = 0;
        EXPECT_EQ(TicksToNextFrame(pView), ticks[speed]);
        EXPECT_EQ(TicksToNextFrame(pView), ticks[speed]);
    }
    // A speed change keeps the frame and the time already spent on it.
    SetSpeed(pView, 6);
    pView->m_nElapsed = 0;
    pView->SendMessage(WM_ANIMTICK);
    pView->SendMessage(WM_ANIMTICK);
    int frame = pView->GetCurrentFrame();
    SetSpeed(pView, 4); // 200 ms
    EXPECT_EQ(pView->GetCurrentFrame(), frame);
    EXPECT_EQ(pView->m_nElapsed, 40);
    EXPECT_EQ(TicksToNextFrame(pView), 8);
    // No selection in the list keeps the speed.
    BarOf(pView).m_wndSpeed.SetCurSel(-1);
    pView->SendMessage(WM_ANIMSPEEDCHANGED);
    EXPECT_EQ(pView->GetInterval(), 200);
}

TEST_F(AnimTest, WithoutRepeatPlaybackStopsOnTheLastFrame)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("once.gif", 5));
    ASSERT_NE(pView, nullptr);
    SetSpeed(pView, 12); // a frame every tick
    pView->SendMessage(WM_COMMAND, ID_ANIM_REPEAT);
    ASSERT_FALSE(pView->m_bRepeat);
    EXPECT_EQ(PlayImage(pView), 12);
    std::vector<int> shown;
    for (int i = 0; i < 6; i++) {
        pView->SendMessage(WM_ANIMTICK);
        shown.push_back(pView->GetCurrentFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 4, 4}));
    EXPECT_FALSE(pView->m_bPlaying);
    EXPECT_EQ(PlayImage(pView), 9);
    // Play on the last frame: the next step stops again without moving.
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    EXPECT_TRUE(pView->m_bPlaying);
    pView->SendMessage(WM_ANIMTICK);
    EXPECT_FALSE(pView->m_bPlaying);
    EXPECT_EQ(pView->GetCurrentFrame(), 4);
    // The slider back to 0, then Play, plays 1 to 4 again.
    BarOf(pView).m_wndSlider.SetPos(0);
    pView->SendMessage(WM_ANIMFRAMESLIDER);
    EXPECT_EQ(pView->GetCurrentFrame(), 0);
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    shown.clear();
    for (int i = 0; i < 5; i++) {
        pView->SendMessage(WM_ANIMTICK);
        shown.push_back(pView->GetCurrentFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 4}));

    // Repeat on: after the last frame comes the first, without a stop.
    pView->SendMessage(WM_COMMAND, ID_ANIM_REPEAT);
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    pView->SendMessage(WM_ANIMTICK);
    EXPECT_EQ(pView->GetCurrentFrame(), 0);
    EXPECT_TRUE(pView->m_bPlaying);
}

TEST_F(AnimTest, SliderPauseAndSingleStepsMoveOneFrameAtATime)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("steps.gif", 6));
    ASSERT_NE(pView, nullptr);
    CAnimToolBar& bar = BarOf(pView);
    EXPECT_TRUE(bar.m_wndSlider.IsWindowEnabled());
    EXPECT_EQ(bar.m_wndSlider.GetRangeMax(), 5);
    // Paused, ticks change nothing.
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    ASSERT_FALSE(pView->m_bPlaying);
    for (int i = 0; i < 60; i++)
        pView->SendMessage(WM_ANIMTICK);
    EXPECT_EQ(pView->GetCurrentFrame(), 0);
    // The slider shows the frame it points at, one at a time.
    for (int f : {1, 2, 5, 3}) {
        bar.m_wndSlider.SetPos(f);
        pView->SendMessage(WM_ANIMFRAMESLIDER);
        EXPECT_EQ(pView->GetCurrentFrame(), f);
        EXPECT_EQ(bar.m_wndPosition.m_nValue, f + 1);
    }
    // Playing goes on from the slider's frame, and the slider follows the frames.
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    pView->m_nElapsed = 0;
    EXPECT_EQ(TicksToNextFrame(pView), 5);
    EXPECT_EQ(pView->GetCurrentFrame(), 4);
    EXPECT_EQ(bar.m_wndSlider.GetPos(), 4);
    EXPECT_EQ(bar.m_wndTotal.m_nValue, 6);

    // The time display: both displays in time mode, captions, and the setting.
    pView->SendMessage(WM_COMMAND, ID_ANIM_TIME_DISPLAY);
    EXPECT_TRUE(bar.m_wndPosition.m_bTimeMode);
    EXPECT_TRUE(bar.m_wndTotal.m_bTimeMode);
    EXPECT_EQ(bar.m_wndPosition.m_nInterval, 100);
    EXPECT_STREQ(bar.m_wndPosition.m_strLabel, "Temps");
    EXPECT_STREQ(bar.m_wndTotal.m_strLabel, "Total");
    EXPECT_EQ(g_TypeAffichageAnim, 1);
    pView->SendMessage(WM_COMMAND, ID_ANIM_TIME_DISPLAY);
    EXPECT_STREQ(bar.m_wndPosition.m_strLabel, "Image");
    EXPECT_EQ(g_TypeAffichageAnim, 0);
}

TEST_F(AnimTest, SingleFrameGifNeverPlays)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("still.gif", 1));
    ASSERT_NE(pView, nullptr);
    EXPECT_FALSE(pView->m_bPlaying); // the start's Play was ignored
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    pView->SendMessage(WM_COMMAND, ID_ANIM_REPEAT);
    pView->SendMessage(WM_COMMAND, ID_ANIM_TIME_DISPLAY);
    EXPECT_FALSE(pView->m_bPlaying);
    EXPECT_EQ(pView->m_bRepeat, g_DefaultRepetition != 0);
    EXPECT_FALSE(pView->m_bTimeDisplay);
    for (int i = 0; i < 10; i++)
        pView->SendMessage(WM_ANIMTICK);
    EXPECT_EQ(pView->GetCurrentFrame(), 0);
    CAnimToolBar& bar = BarOf(pView);
    EXPECT_FALSE(bar.m_wndSlider.IsWindowEnabled());
    EXPECT_FALSE(bar.m_wndSpeed.IsWindowEnabled());
    EXPECT_FALSE(bar.m_wndPosition.m_bLit);
    EXPECT_FALSE(bar.m_wndTotal.m_bLit);
}

TEST_F(AnimTest, TimerPostsOneTickAtATime)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("ticks.gif", 3));
    ASSERT_NE(pView, nullptr);
    MSG msg;
    while (::PeekMessageA(&msg, pView->m_hWnd, WM_ANIMTICK, WM_ANIMTICK, PM_REMOVE)) {
    }
    DWORD_PTR self = reinterpret_cast<DWORD_PTR>(pView);
    CGifView::TimerCallback(0, 0, self, 0, 0);
    CGifView::TimerCallback(0, 0, self, 0, 0);
    CGifView::TimerCallback(0, 0, self, 0, 0);
    int queued = 0;
    while (::PeekMessageA(&msg, pView->m_hWnd, WM_ANIMTICK, WM_ANIMTICK, PM_REMOVE))
        queued++;
    EXPECT_EQ(queued, 1);
    // Once the tick is handled the next one can come.
    pView->SendMessage(WM_ANIMTICK);
    CGifView::TimerCallback(0, 0, self, 0, 0);
    queued = 0;
    while (::PeekMessageA(&msg, pView->m_hWnd, WM_ANIMTICK, WM_ANIMTICK, PM_REMOVE))
        queued++;
    EXPECT_EQ(queued, 1);
}

// A paused or finished animation costs nothing: its timer and the timer resolution it asked for run
// only while it plays, or while it is full screen, where the ticks move the picture with the mouse.
TEST_F(AnimTest, APausedOrFinishedAnimationRunsNoTimerOutsideFullScreen)
{
    ASSERT_TRUE(Start());
    auto* pView = static_cast<CGifView*>(OpenFirstView(Gif("rest.gif", 3), RUNTIME_CLASS(CGifDoc)));
    ASSERT_NE(pView, nullptr);
    SetSpeed(pView, 12);
    ASSERT_TRUE(PumpUntil([&] { return pView->m_bPlaying; }));
    EXPECT_EQ(g_nAnimTimerPeriods.load(), 1);
    auto stopped = [&] { return pView->GetTimerId() == 0 && g_nAnimTimerPeriods.load() == 0; };
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    EXPECT_TRUE(stopped());
    pView->EnterFullScreen();
    EXPECT_NE(pView->GetTimerId(), 0u);
    pView->LeaveFullScreen();
    EXPECT_TRUE(stopped());

    // Once through without repeat: the real ticks play it to its last frame, then the timer goes.
    pView->SendMessage(WM_COMMAND, ID_ANIM_REPEAT);
    pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
    EXPECT_NE(pView->GetTimerId(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !pView->m_bPlaying; }));
    EXPECT_EQ(pView->GetCurrentFrame(), 2);
    EXPECT_TRUE(stopped());
}

TEST_F(AnimTest, ClosingPlayingWindowsLeavesNoTimerThreadOrGdiObject)
{
    ASSERT_TRUE(Start());
    std::string path = Gif("closing.gif", 8, 64, 48);
    // A first window settles what the process keeps for good (the timer thread, cached objects).
    auto openAndClose = [&](UINT* pTimer) {
        CDocument* pDoc = m_pApp->OpenDocumentFile(path.c_str());
        ASSERT_NE(pDoc, nullptr);
        POSITION pos = pDoc->GetFirstViewPosition();
        auto* pView = static_cast<CGifView*>(pDoc->GetNextView(pos));
        ASSERT_TRUE(PumpUntil([&] { return pView->m_bPlaying; }));
        *pTimer = pView->GetTimerId();
        ASSERT_NE(*pTimer, 0u);
        // Let the real timer tick into the window, then close it while it plays.
        DWORD until = ::GetTickCount() + 25;
        while (static_cast<LONG>(until - ::GetTickCount()) > 0) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump();
        }
        EXPECT_TRUE(pView->m_bPlaying);
        pView->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
    };
    UINT timer = 0;
    openAndClose(&timer);
    Pump();
    int gdi = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    int user = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
    int threads = ThreadCount();
    // Twenty windows: a leak of one object each would pass the margin of five four times over.
    for (int i = 0; i < 20; i++) {
        openAndClose(&timer);
        if (HasFatalFailure())
            return;
        // The timer is gone: killing it again fails.
        ASSERT_NE(::timeKillEvent(timer), static_cast<MMRESULT>(TIMERR_NOERROR)) << i;
        ASSERT_EQ(g_nAnimTimerPeriods.load(), 0) << i;
    }
    EXPECT_TRUE(Children().empty());
    EXPECT_LE(static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)), gdi + 5);
    EXPECT_LE(static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)), user + 5);
    EXPECT_LE(ThreadCount(), threads);
}

// The text of the window list entry ("Fen\xEAtre") of an MDI child: the item whose text ends with
// the child's own, or "<none>".
std::string WindowListEntry(CMainFrame* pFrame, CWnd* pChild)
{
    char own[256] = "";
    pChild->GetWindowText(own, sizeof(own));
    // The list as the menu shows it when it opens.
    ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    HMENU hMenu = pFrame->GetWindowMenuPopup(::GetMenu(pFrame->m_hWnd));
    for (int i = 0, n = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0; i < n; i++) {
        if (::GetMenuItemID(hMenu, i) < AFX_IDM_FIRST_MDICHILD)
            continue;
        char text[256] = "";
        ::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        std::string entry = text;
        size_t space = entry.find(' ');
        if (own[0] != '\0' && space != std::string::npos && entry.substr(space + 1) == own)
            return entry.substr(space + 1);
    }
    return "<none>";
}

// The title names the file and the play state, whether the window is maximised or not, from its
// opening (also beside a maximised window, where it opens maximised) through a pause and a Save As.
TEST_F(AnimTest, TitleNamesTheFileAndThePlayStateAlsoMaximised)
{
    ASSERT_TRUE(Start());
    for (bool maximised : {false, true}) {
        SCOPED_TRACE(maximised ? "maximised" : "arranged");
        std::string stem = maximised ? "max" : "cell";
        CDibView* pStill = Open(WriteBmp(stem + "-still.bmp", 16, 8));
        ASSERT_NE(pStill, nullptr);
        if (maximised)
            m_pFrame->MDIMaximize(pStill->GetParentFrame());
        CGifView* pView = OpenGif(Gif(stem + ".gif", 3, 40, 24));
        ASSERT_NE(pView, nullptr);
        pView->m_bPlaying = TRUE;
        pView->UpdatePlayButton();
        CFrameWnd* pChild = pView->GetParentFrame();
        EXPECT_EQ(pChild->IsZoomed() != FALSE, maximised);
        struct Step {
            const char* what;
            std::string title;
        } steps[] = {
            {"playing", ToUpper(stem) + ".GIF  - Anim\xE9 40x24 - [Lecture]"},
            {"paused", ToUpper(stem) + ".GIF  - Anim\xE9 40x24 - [Pause]"},
            {"saved", ToUpper(stem) + "-FRAME.BMP  - Anim\xE9 40x24 - [Pause]"},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            if (std::string(step.what) == "paused") {
                pView->SendMessage(WM_COMMAND, ID_ANIM_PLAY_PAUSE);
            } else if (std::string(step.what) == "saved") {
                AfxScriptCommonDialog(AfxCommonDialogKind::Save, {true, m_temp.File(stem + "-frame.bmp")});
                pChild->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
            }
            Pump();
            char text[256] = "";
            pChild->GetWindowText(text, sizeof(text));
            EXPECT_EQ(std::string(text), step.title);
            EXPECT_EQ(WindowListEntry(m_pFrame, pChild), step.title);
        }
        pChild->SendMessage(WM_CLOSE);
        pStill->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
    }
}

// As for a still picture, Save As asks before replacing a file; "Non" keeps its bytes.
TEST_F(AnimTest, SaveAsAsksBeforeReplacingAFile)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("keep.gif", 3));
    ASSERT_NE(pView, nullptr);
    const CString pathBefore = pView->GetDocument()->GetPathName();
    std::string target = m_temp.File("existing.bmp");
    ASSERT_TRUE(testpaths::WriteBytes(target, "earlier bytes"));
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, {true, target});
    AfxScriptMessageBox(IDNO);
    pView->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(testpaths::ReadBytes(target), "earlier bytes");
    EXPECT_STREQ(pView->GetDocument()->GetPathName(), pathBefore);
}

TEST_F(AnimTest, SaveCopyAndPrintTakeTheShownFrame)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("save.gif", 5));
    ASSERT_NE(pView, nullptr);
    CGifDoc* pDoc = pView->GetDocument();
    pView->ShowFrame(3);
    std::string bmp = m_temp.File("frame3.bmp");
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, {true, bmp});
    pView->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    CDIB back;
    back.Read(bmp.c_str(), "");
    ASSERT_FALSE(back.IsEmpty());
    EXPECT_EQ(DibPixel(back.GetHandle(), 0, 0), AnimColour(8));
    EXPECT_EQ(DibPixel(back.GetHandle(), 4, 0), AnimColour(7));
    EXPECT_STREQ(pDoc->GetPathName(), bmp.c_str());
    EXPECT_STREQ(pDoc->GetTitle(), "FRAME3.BMP");

    // A name no writer knows writes nothing, says so, and the window keeps its name.
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(pDoc->SaveFrameAs(3, m_temp.File("frame.txt").c_str()));
    EXPECT_EQ(::GetFileAttributesA(m_temp.File("frame.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_STREQ(pDoc->GetPathName(), bmp.c_str());

    pView->ShowFrame(1);
    pView->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    ASSERT_TRUE(::OpenClipboard(pView->m_hWnd));
    HGLOBAL hClip = ::GetClipboardData(CF_DIB);
    ASSERT_NE(hClip, nullptr);
    EXPECT_EQ(DibPixel(hClip, 0, 0), AnimColour(4));
    ::CloseClipboard();

    // The copy is made before the print dialog, which is cancelled here.
    pView->ShowFrame(2);
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, AfxCommonDialogAnswer());
    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    ASSERT_NE(pView->GetPrintCopy(), nullptr);
    EXPECT_NE(pView->GetPrintCopy(), pDoc->GetFrameDIB(2));
    EXPECT_EQ(DibPixel(pView->GetPrintCopy(), 0, 0), AnimColour(6));
    EXPECT_NE(pView->GetPrintPalette(), nullptr);
}

// The print commands are offered only where they print: never in full screen, where they would open
// behind the picture.
TEST_F(AnimTest, PrintCommandsAreEnabledInTheWindowAndDisabledInFullScreen)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("commands.gif", 3));
    ASSERT_NE(pView, nullptr);
    const UINT commands[] = {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_POSTER,
                             ID_FILE_PRINT_POSTER_PREVIEW};
    for (BOOL bFullScreen : {FALSE, TRUE, FALSE}) {
        if (bFullScreen)
            pView->EnterFullScreen();
        else
            pView->LeaveFullScreen();
        Pump();
        for (UINT nID : commands) {
            SCOPED_TRACE(nID);
            EXPECT_EQ(UpdateOf(m_pFrame, nID), bFullScreen ? 0 : 1);
            if (bFullScreen) {
                // Nothing runs: no dialog is asked for, no copy made.
                pView->SendMessage(WM_COMMAND, nID);
                EXPECT_EQ(pView->GetPrintCopy(), nullptr);
            }
        }
    }
}

// The animation bar fits its window, wrapping into rows where it is narrow: the slider, the speed list
// and the two displays stay inside the window, on the bar, above the picture.
TEST_F(AnimTest, AnimationBarFitsItsWindowOrWraps)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("bar.gif", 3, 40, 24));
    ASSERT_NE(pView, nullptr);
    CFrameWnd* pChild = pView->GetParentFrame();
    CAnimToolBar& bar = BarOf(pView);
    int oneRow = 0;
    const int widths[] = {0 /* as arranged */, 1000, 520, 300, 1000};
    for (int width : widths) {
        SCOPED_TRACE(width);
        if (width > 0)
            pChild->MoveWindow(0, 0, width, 400);
        Pump();
        CRect client, barRect, viewRect;
        pChild->GetClientRect(&client);
        bar.GetWindowRect(&barRect);
        pChild->ScreenToClient(&barRect);
        pView->GetWindowRect(&viewRect);
        pChild->ScreenToClient(&viewRect);
        EXPECT_LE(barRect.bottom, viewRect.top) << "the picture starts below the bar";
        CWnd* controls[] = {&bar.m_wndSlider, &bar.m_wndSpeed, &bar.m_wndPosition, &bar.m_wndTotal};
        for (CWnd* pControl : controls) {
            CRect rect;
            pControl->GetWindowRect(&rect);
            pChild->ScreenToClient(&rect);
            EXPECT_GE(rect.left, client.left) << pControl->GetDlgCtrlID();
            EXPECT_LE(rect.right, client.right) << pControl->GetDlgCtrlID();
            EXPECT_GE(rect.top, barRect.top) << pControl->GetDlgCtrlID();
            EXPECT_LE(rect.bottom, barRect.bottom) << pControl->GetDlgCtrlID();
        }
        // The list stands beside the slider, the total beside the frame display.
        CRect slider, list, position, total;
        bar.m_wndSlider.GetWindowRect(&slider);
        bar.m_wndSpeed.GetWindowRect(&list);
        bar.m_wndPosition.GetWindowRect(&position);
        bar.m_wndTotal.GetWindowRect(&total);
        EXPECT_GT(list.left, slider.right - 1);
        EXPECT_LT(list.top, slider.bottom);
        EXPECT_GT(total.left, position.right - 1);
        EXPECT_EQ(total.top, position.top);
        if (width == 1000) {
            // Wide enough: one row, and the same row again after the narrow widths.
            if (oneRow == 0)
                oneRow = barRect.Height();
            EXPECT_EQ(barRect.Height(), oneRow);
            EXPECT_EQ(position.top, slider.top);
        } else if (width == 300) {
            EXPECT_GT(barRect.Height(), oneRow) << "wrapped into rows";
        }
    }
}

// In full screen the bar is left alone and the mouse pans on ticks; leaving (Escape, or a real right
// double-click) shows the bar again, hidden before or not.
TEST_F(AnimTest, FullScreenLeavesTheBarAloneAndPansOnTicks)
{
    ASSERT_TRUE(Start());
    CGifView* pView = OpenGif(Gif("full.gif", 4, 3000, 2000));
    ASSERT_NE(pView, nullptr);
    pView->SendMessage(WM_COMMAND, ID_VIEW_ACTUAL_SIZE);
    CAnimToolBar& bar = BarOf(pView);
    pView->SendMessage(WM_COMMAND, ID_HIDE_LOCAL_TOOLBAR);
    ASSERT_FALSE(bar.IsWindowVisible());
    pView->SendMessage(WM_COMMAND, ID_VIEW_FULLSCREEN);
    ASSERT_TRUE(pView->IsFullScreen());
    EXPECT_EQ(m_pFrame->GetFullScreenView(), pView);
    int speed = pView->GetInterval();
    bar.m_wndSpeed.SetCurSel(0);
    pView->SendMessage(WM_ANIMSPEEDCHANGED);
    bar.m_wndSlider.SetPos(3);
    pView->SendMessage(WM_ANIMFRAMESLIDER);
    EXPECT_EQ(pView->GetInterval(), speed);
    EXPECT_EQ(pView->GetCurrentFrame(), 0);
    // The mouse pans on the animation's own ticks.
    pView->SendMessage(WM_ANIMTICK); // re-anchors at (300, 200)
    ::SetCursorPos(340, 203);
    pView->SendMessage(WM_ANIMTICK);
    EXPECT_EQ(pView->GetViewScrollPosition(), CPoint(40, 0));
    pView->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(pView->IsFullScreen());
    EXPECT_EQ(m_pFrame->GetFullScreenView(), nullptr);
    EXPECT_TRUE(bar.IsWindowVisible());

    pView->SendMessage(WM_COMMAND, ID_HIDE_LOCAL_TOOLBAR);
    ASSERT_FALSE(bar.IsWindowVisible());
    pView->SendMessage(WM_COMMAND, ID_VIEW_FULLSCREEN);
    ASSERT_TRUE(pView->IsFullScreen());
    ::SetWindowPos(pView->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RealMouse(POINT{300, 200},
              {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
    EXPECT_TRUE(PumpUntil([&] { return !pView->IsFullScreen(); }));
    EXPECT_TRUE(bar.IsWindowVisible());
}

TEST_F(AnimTest, ClosingTheProgramWhileAnimationsPlayStopsEveryTimer)
{
    ASSERT_TRUE(Start());
    std::vector<CGifView*> views;
    for (int i = 0; i < 3; i++) {
        CDocument* pDoc = m_pApp->OpenDocumentFile(Gif("prog" + std::to_string(i) + ".gif", 4).c_str());
        ASSERT_NE(pDoc, nullptr);
        POSITION pos = pDoc->GetFirstViewPosition();
        views.push_back(static_cast<CGifView*>(pDoc->GetNextView(pos)));
    }
    Pump();
    std::vector<UINT> timers;
    for (CGifView* pView : views) {
        timers.push_back(pView->GetTimerId());
        EXPECT_NE(timers.back(), 0u);
    }
    EXPECT_EQ(g_nAnimTimerPeriods.load(), 3);
    // One of them full screen, away from its frame: it goes with the program too.
    static_cast<CGifView*>(Children()[0]->GetActiveView())->EnterFullScreen();
    m_pFrame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(g_nAnimTimerPeriods.load(), 0);
    for (UINT timer : timers)
        EXPECT_NE(::timeKillEvent(timer), static_cast<MMRESULT>(TIMERR_NOERROR));
}
