// The slide show over a selection of five pictures: manual keys, the automatic timer with and
// without loop, a broken picture passed over, each size mode, the music (through a fake MCI), the
// options dialog, and what the show holds once it ends.
#include "tests/app/ViewerFixture.h"

#include "app/BackgroundMusic.h"
#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"
#include "viewers/SlideShowWnd.h"

#include <fstream>
#include <vector>

namespace {

std::vector<UINT> g_mciCommands;
std::string g_mciElement;

MCIERROR WINAPI FakeMci(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR params)
{
    g_mciCommands.push_back(message);
    if (message == MCI_OPEN) {
        auto* open = reinterpret_cast<MCI_OPEN_PARMSA*>(params);
        g_mciElement = open->lpstrElementName;
        open->wDeviceID = 9;
    }
    return 0;
}

int CountMci(UINT message)
{
    int n = 0;
    for (UINT m : g_mciCommands)
        n += m == message;
    return n;
}

COLORREF SlideColour(int i) { return RGB(40 * i + 30, 200 - 30 * i, 60 + 35 * i); }

SIZE ScreenSize()
{
    HDC hdc = ::GetDC(nullptr);
    SIZE s = {::GetDeviceCaps(hdc, HORZRES), ::GetDeviceCaps(hdc, VERTRES)};
    ::ReleaseDC(nullptr, hdc);
    return s;
}

class SlideShowTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        g_mciCommands.clear();
        g_mciElement.clear();
        AfxPlatform().pfnMciSendCommand = FakeMci;
    }
    void TearDown() override
    {
        if (Show() != nullptr && Show()->m_hWnd != nullptr)
            Show()->DestroyWindow();
        ViewerTest::TearDown();
    }
    CSlideShowWnd* Show() { return m_pFrame != nullptr ? m_pFrame->GetSlideShow() : nullptr; }

    // A 24-bit picture of one colour.
    std::string SolidBmp(const std::string& name, int w, int h, COLORREF c)
    {
        return WriteBmp(name, w, h, [c](int, int) { return c; });
    }
    // Five pictures of 80 x 60 (picture i in colour i); with broken, the third is not a picture.
    CStringArray& Five(bool broken = false)
    {
        m_paths.RemoveAll();
        for (int i = 0; i < 5; i++) {
            std::string name = "slide" + std::to_string(i) + ".bmp";
            if (broken && i == 2) {
                std::string path = m_temp.File(name);
                std::ofstream(path, std::ios::binary) << "BM this is not a picture";
                m_paths.Add(path.c_str());
            } else {
                m_paths.Add(SolidBmp(name, 80, 60, SlideColour(i)).c_str());
            }
        }
        return m_paths;
    }
    // The colour at the centre of the show's client, as painted.
    COLORREF Centre()
    {
        RECT client;
        ::GetClientRect(Show()->m_hWnd, &client);
        return PaintedAt(client.right / 2, client.bottom / 2);
    }
    COLORREF PaintedAt(int x, int y)
    {
        RECT client;
        ::GetClientRect(Show()->m_hWnd, &client);
        HDC screen = ::GetDC(nullptr);
        HDC hdc = ::CreateCompatibleDC(screen);
        HBITMAP hbm = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(hdc, hbm);
        Show()->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc));
        Show()->PaintTo(hdc, client);
        COLORREF c = ::GetPixel(hdc, x, y);
        ::SelectObject(hdc, old);
        ::DeleteObject(hbm);
        ::DeleteDC(hdc);
        return c;
    }
    void Key(UINT vk) { Show()->SendMessage(WM_KEYDOWN, vk); }
    void Seconds(int n)
    {
        for (int i = 0; i < n; i++)
            Show()->SendMessage(WM_TIMER, 1);
    }
    int Index() { return Show()->GetIndex(); }

    CStringArray m_paths;
};

} // namespace

TEST_F(SlideShowTest, ManualShowStepsWithTheKeysAndEndsOnEnter)
{
    ASSERT_TRUE(Start());
    g_DiapoAuto = 0;
    g_TailleImageDiapo = 1;
    ASSERT_NE(Show(), nullptr);
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five()));
    HWND hShow = Show()->m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(hShow));
    RECT r;
    ::GetWindowRect(hShow, &r);
    SIZE screen = ScreenSize();
    EXPECT_EQ(r.right - r.left, screen.cx);
    EXPECT_EQ(r.bottom - r.top, screen.cy);
    EXPECT_EQ(::GetWindow(hShow, GW_OWNER), m_pFrame->m_hWnd);
    EXPECT_EQ(Show()->GetSourceKind(), kSlideSourceLibrary);
    EXPECT_EQ(Index(), 0);
    EXPECT_EQ(Centre(), SlideColour(0));

    const std::vector<std::pair<UINT, int>> steps = {
        {VK_SPACE, 1}, {VK_RIGHT, 2}, {VK_DOWN, 3}, {VK_SPACE, 4}, {VK_SPACE, 4}, // no loop by hand
        {VK_LEFT, 3},  {VK_UP, 2},    {VK_HOME, 0}, {VK_LEFT, 0},  {VK_END, 4},   {VK_LEFT, 3}};
    for (const auto& step : steps) {
        Key(step.first);
        ASSERT_EQ(Index(), step.second) << step.first;
        EXPECT_EQ(Centre(), SlideColour(step.second));
        EXPECT_EQ(Show()->GetShownPath(), m_paths[step.second]);
    }
    // The timer never steps a manual show.
    Seconds(30);
    EXPECT_EQ(Index(), 3);

    Key(VK_RETURN);
    EXPECT_FALSE(::IsWindow(hShow));
    EXPECT_EQ(Show()->m_hWnd, nullptr);
    EXPECT_EQ(Show()->GetPicture(), nullptr);
    EXPECT_EQ(Show()->GetCount(), 0);
}

TEST_F(SlideShowTest, AutomaticShowAdvancesEveryPauseAndLoops)
{
    ASSERT_TRUE(Start());
    g_DiapoAuto = 1;
    g_DiapoPause = 3;
    g_DiapoLoop = 1;
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceExplorer, m_pFrame, Five()));
    std::vector<int> shown;
    for (int i = 0; i < 7; i++) {
        Seconds(2);
        EXPECT_EQ(Index(), shown.empty() ? 0 : shown.back());
        Seconds(1);
        shown.push_back(Index());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 0, 1, 2}));
    EXPECT_EQ(Centre(), SlideColour(2));
    // Any key ends an automatic show.
    Key('A');
    EXPECT_EQ(Show()->m_hWnd, nullptr);

    // Without loop the last picture stays.
    g_DiapoLoop = 0;
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceSearch, m_pFrame, Five()));
    Seconds(3 * 10);
    EXPECT_EQ(Index(), 4);
    EXPECT_EQ(Centre(), SlideColour(4));
    Show()->SendMessage(WM_RBUTTONDOWN);
    EXPECT_EQ(Show()->m_hWnd, nullptr);
}

TEST_F(SlideShowTest, BrokenPictureIsPassedOver)
{
    ASSERT_TRUE(Start());
    g_DiapoAuto = 0;
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five(true)));
    Key(VK_SPACE);
    EXPECT_EQ(Index(), 1);
    Key(VK_SPACE);
    EXPECT_EQ(Index(), 3);
    EXPECT_EQ(Centre(), SlideColour(3));
    Key(VK_LEFT);
    EXPECT_EQ(Index(), 1);
    EXPECT_EQ(Centre(), SlideColour(1));
    Show()->SendMessage(WM_LBUTTONDBLCLK);
    EXPECT_EQ(Show()->m_hWnd, nullptr);

    // Automatic and looped: the broken one never shows, and the round goes on.
    g_DiapoAuto = 1;
    g_DiapoPause = 1;
    g_DiapoLoop = 1;
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five(true)));
    std::vector<int> shown;
    for (int i = 0; i < 5; i++) {
        Seconds(1);
        shown.push_back(Index());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 3, 4, 0, 1}));

    // A selection where nothing loads shows the background only.
    CStringArray none;
    none.Add(m_temp.File("nothing.bmp").c_str());
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, none));
    EXPECT_EQ(Show()->GetPicture(), nullptr);
    Seconds(3);
    EXPECT_EQ(PaintedAt(10, 10), g_CouleurPleinEcran);
}

TEST_F(SlideShowTest, EachSizeModePlacesThePicture)
{
    ASSERT_TRUE(Start());
    g_DiapoAuto = 0;
    g_CouleurPleinEcran = RGB(0, 0, 0);
    CStringArray paths;
    paths.Add(SolidBmp("wide.bmp", 200, 100, SlideColour(1)).c_str());
    paths.Add(SolidBmp("huge.bmp", 3000, 2000, SlideColour(2)).c_str());
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, paths));
    RECT client;
    ::GetClientRect(Show()->m_hWnd, &client);
    int cw = client.right, ch = client.bottom;

    g_TailleImageDiapo = 0; // actual size, centred
    RECT r = Show()->PictureRect(cw, ch);
    EXPECT_EQ(r.left, (cw - 200) / 2);
    EXPECT_EQ(r.top, (ch - 100) / 2);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(PaintedAt(cw / 2, ch / 2), SlideColour(1));
    EXPECT_EQ(PaintedAt(r.left - 2, ch / 2), RGB(0, 0, 0));

    g_TailleImageDiapo = 1; // proportional: the width fills, bands above and below
    r = Show()->PictureRect(cw, ch);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, cw);
    EXPECT_EQ(r.bottom - r.top, cw / 2);
    EXPECT_EQ(PaintedAt(2, r.top + 2), SlideColour(1));
    EXPECT_EQ(PaintedAt(cw / 2, r.top - 2), RGB(0, 0, 0));

    g_TailleImageDiapo = 2; // fitted: the whole screen
    r = Show()->PictureRect(cw, ch);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, cw);
    EXPECT_EQ(r.bottom, ch);
    EXPECT_EQ(PaintedAt(1, 1), SlideColour(1));

    // A picture larger than the screen at actual size shows its centre, cut on every side.
    g_TailleImageDiapo = 0;
    Key(VK_SPACE);
    r = Show()->PictureRect(cw, ch);
    EXPECT_LT(r.left, 0);
    EXPECT_LT(r.top, 0);
    EXPECT_EQ(PaintedAt(0, 0), SlideColour(2));
    EXPECT_EQ(PaintedAt(cw - 1, ch - 1), SlideColour(2));

    // Without DrawDib, on a 256-colour screen, the show draws a colour-reduced copy.
    AfxPlatform().pfnScreenBitsPerPixel = [] { return 8; };
    Show()->UseDrawDib(FALSE);
    Key(VK_HOME);
    EXPECT_NE(Show()->GetDisplayCopy(), nullptr);
    g_TailleImageDiapo = 2;
    COLORREF c = PaintedAt(cw / 2, ch / 2);
    EXPECT_NE(c, RGB(0, 0, 0));
    Show()->UseDrawDib(TRUE);
}

TEST_F(SlideShowTest, MusicPlaysForTheShowAndStopsWithIt)
{
    ASSERT_TRUE(Start());
    g_DiapoAuto = 0;
    std::string music = m_temp.File("musique.wav");
    g_MusicFileDiapo = music.c_str();
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five()));
    EXPECT_EQ(CountMci(MCI_OPEN), 1);
    EXPECT_EQ(g_mciElement, music);
    EXPECT_EQ(CountMci(MCI_PLAY), 1);
    EXPECT_TRUE(m_pFrame->IsMusicPlaying());
    int closesBefore = CountMci(MCI_CLOSE);
    Key(VK_ESCAPE);
    EXPECT_GT(CountMci(MCI_CLOSE), closesBefore);
    EXPECT_FALSE(m_pFrame->IsMusicPlaying());
    EXPECT_EQ(g_wMciDevice, 0u);

    // No music file: nothing is opened.
    g_MusicFileDiapo.Empty();
    g_mciCommands.clear();
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five()));
    Key(VK_ESCAPE);
    EXPECT_EQ(CountMci(MCI_OPEN), 0);
}

TEST_F(SlideShowTest, OptionsDialogChoicesStartTheShowAndShowsFreeWhatTheyHold)
{
    ASSERT_TRUE(Start());
    g_DiapoAuto = 0;
    g_DiapoPause = 10;
    AfxScriptNextModal(IDD_SLIDESHOW,
                       {{IDC_SLIDE_AUTOMATIC, "1"}, {IDC_SLIDE_PAUSE, "2"}, {IDC_SLIDE_SIZE_FIT, "1"}}, IDOK);
    ASSERT_TRUE(m_pFrame->RunSlideShow(kSlideSourceExplorer, m_pFrame, Five()));
    EXPECT_EQ(g_DiapoAuto, 1);
    EXPECT_EQ(g_DiapoPause, 2);
    EXPECT_EQ(g_TailleImageDiapo, 2);
    Seconds(2);
    EXPECT_EQ(Index(), 1);
    // Starting again while a show is on screen replaces it.
    HWND hFirst = Show()->m_hWnd;
    ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five()));
    EXPECT_FALSE(::IsWindow(hFirst));
    EXPECT_EQ(Index(), 0);
    Key(VK_ESCAPE);

    AfxScriptNextModal(IDD_SLIDESHOW, {}, IDCANCEL);
    EXPECT_FALSE(m_pFrame->RunSlideShow(kSlideSourceExplorer, m_pFrame, Five()));
    EXPECT_EQ(Show()->m_hWnd, nullptr);

    // Ten shows end to end leave no GDI or window object behind.
    g_DiapoAuto = 0;
    Pump();
    DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 10; i++) {
        ASSERT_TRUE(StartSlideShow(Show(), m_pFrame, kSlideSourceLibrary, m_pFrame, Five()));
        Key(VK_END);
        Show()->SendMessage(WM_LBUTTONDOWN);
        ASSERT_EQ(Show()->m_hWnd, nullptr);
    }
    Pump();
    EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), gdi + 3);
    EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS), user + 3);
    // Without an owner nothing is created.
    EXPECT_FALSE(Show()->Create(nullptr));
}
