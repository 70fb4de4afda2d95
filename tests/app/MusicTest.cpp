// The background music: started, looped by the dispatcher once each play has ended (also while the
// window is minimised), stopped at once, and never retried every tick when the device fails. A fake
// MCI records the commands; the last test uses Wine's real MCI.
#include "tests/app/AppFixture.h"

#include "app/BackgroundMusic.h"
#include "framework/TestSeams.h"

#include <string>
#include <vector>

namespace {

struct FakeMci {
    std::vector<UINT> commands;
    MCIERROR openResult = 0;
    MCIERROR playResult = 0;
    MCIDEVICEID nextDevice = 7;
    std::string lastElement;
    int Count(UINT message) const
    {
        int n = 0;
        for (UINT m : commands)
            n += m == message;
        return n;
    }
};

FakeMci& Fake()
{
    static FakeMci fake;
    return fake;
}

MCIERROR WINAPI FakeSend(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR params)
{
    FakeMci& f = Fake();
    f.commands.push_back(message);
    if (message == MCI_OPEN) {
        auto* open = reinterpret_cast<MCI_OPEN_PARMSA*>(params);
        f.lastElement = open->lpstrElementName;
        if (f.openResult != 0)
            return f.openResult;
        open->wDeviceID = f.nextDevice;
    }
    if (message == MCI_PLAY)
        return f.playResult;
    return 0;
}

int g_realOpens = 0;
MCIERROR WINAPI CountingSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params)
{
    if (message == MCI_OPEN)
        g_realOpens++;
    return ::mciSendCommandA(device, message, flags, params);
}

class MusicTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Fake() = FakeMci();
    }
    void TearDown() override
    {
        StopMusic();
        AppTest::TearDown();
    }
    void Ended(WPARAM code = MCI_NOTIFY_SUCCESSFUL)
    {
        m_pFrame->SendMessage(MM_MCINOTIFY, code, static_cast<LPARAM>(g_wMciDevice));
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; i++)
            m_pFrame->OnIdleUpdate();
    }
};

} // namespace

TEST_F(MusicTest, AnEmptyPathStartsNothing)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    PlayMusic("", TRUE);
    PlayMusic(nullptr, TRUE);
    EXPECT_TRUE(Fake().commands.empty());
    EXPECT_FALSE(m_pFrame->IsMusicPlaying());
}

TEST_F(MusicTest, ASoundThatEndsStartsAgainAtTheNextTickEvenMinimised)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    PlayMusic("c:\\musique\\fond.mid", TRUE);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 1);
    EXPECT_EQ(Fake().Count(MCI_SET), 1);
    EXPECT_EQ(Fake().Count(MCI_PLAY), 1);
    EXPECT_EQ(Fake().lastElement, "c:\\musique\\fond.mid");
    EXPECT_TRUE(m_pFrame->IsMusicPlaying());
    EXPECT_TRUE(m_pFrame->IsMusicNotifyPending());

    Ticks(3); // still playing: nothing happens
    EXPECT_EQ(Fake().Count(MCI_PLAY), 1);
    Ended();
    EXPECT_FALSE(m_pFrame->IsMusicNotifyPending());
    Ticks(1);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 2);
    EXPECT_EQ(Fake().Count(MCI_PLAY), 2);
    EXPECT_TRUE(m_pFrame->IsMusicNotifyPending());

    m_pFrame->ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(m_pFrame->IsIconic());
    Ended();
    Ticks(1);
    EXPECT_EQ(Fake().Count(MCI_PLAY), 3);
    m_pFrame->ShowWindow(SW_RESTORE);
}

TEST_F(MusicTest, StopIsImmediateAndALateEndRestartsNothing)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    PlayMusic("c:\\a.wav", TRUE);
    MCIDEVICEID device = g_wMciDevice;
    StopMusic();
    EXPECT_FALSE(m_pFrame->IsMusicPlaying());
    EXPECT_EQ(g_wMciDevice, 0u);
    EXPECT_GE(Fake().Count(MCI_STOP), 1);
    EXPECT_GE(Fake().Count(MCI_CLOSE), 1);
    m_pFrame->SendMessage(MM_MCINOTIFY, MCI_NOTIFY_ABORTED, static_cast<LPARAM>(device));
    Ticks(5);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 1);
}

TEST_F(MusicTest, AFileMciCannotOpenLeavesTheFrameIdle)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    Fake().openResult = MCIERR_FILE_NOT_FOUND;
    AfxScriptMessageBox(IDOK); // the music cannot play
    PlayMusic("c:\\absent.wav", TRUE);
    EXPECT_FALSE(m_pFrame->IsMusicPlaying());
    Ticks(10);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 1);
}

TEST_F(MusicTest, ADeviceThatFailsIsNotRetriedEveryTick)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    // The play starts, then reports at once that it failed (no sound device).
    AfxScriptMessageBox(IDOK); // once for each of the two failures
    AfxScriptMessageBox(IDOK);
    PlayMusic("c:\\a.wav", TRUE);
    Ended(MCI_NOTIFY_FAILURE);
    Ticks(20);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 1);
    EXPECT_FALSE(m_pFrame->IsMusicPlaying());

    // The file goes away between two plays: one attempt, then silence.
    PlayMusic("c:\\b.wav", TRUE);
    Fake().openResult = MCIERR_FILE_NOT_FOUND;
    Ended();
    Ticks(20);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 3);
    EXPECT_FALSE(m_pFrame->IsMusicPlaying());
}

// Whichever way the music fails (no file, no device, a play that fails once started or on its next
// turn), the user is told once that it cannot play, and a show whose music plays says nothing.
TEST_F(MusicTest, MusicThatCannotPlayIsSaidOnce)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    struct Case {
        const char* name;
        MCIERROR openResult;
        MCIERROR playResult;
        WPARAM firstEnd; // how the first play ends
        bool fileGoes;   // the file is gone when the play comes round again
        size_t messages;
    } cases[] = {
        {"no file", MCIERR_FILE_NOT_FOUND, 0, MCI_NOTIFY_SUCCESSFUL, false, 1},
        {"no device", 0, MCIERR_WAVE_OUTPUTSINUSE, MCI_NOTIFY_SUCCESSFUL, false, 1},
        {"fails once started", 0, 0, MCI_NOTIFY_FAILURE, false, 1},
        {"gone on the next turn", 0, 0, MCI_NOTIFY_SUCCESSFUL, true, 1},
        {"plays", 0, 0, MCI_NOTIFY_SUCCESSFUL, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fake() = FakeMci();
        Fake().openResult = c.openResult;
        Fake().playResult = c.playResult;
        size_t before = AfxTestRecords().messageBoxes.size();
        if (c.messages > 0)
            AfxScriptMessageBox(IDOK);
        PlayMusic("c:\\musique\\fond.wav", TRUE);
        for (int turn = 0; turn < 3; turn++) {
            if (g_wMciDevice != 0)
                Ended(turn == 0 ? c.firstEnd : MCI_NOTIFY_SUCCESSFUL);
            if (c.fileGoes)
                Fake().openResult = MCIERR_FILE_NOT_FOUND;
            Ticks(2);
        }
        const auto& boxes = AfxTestRecords().messageBoxes;
        ASSERT_EQ(boxes.size() - before, c.messages);
        if (c.messages > 0) {
            EXPECT_EQ(boxes.back().text,
                      "La musique d'accompagnement ne peut pas \xEAtre jou\xE9"
                      "e (fichier illisible ou "
                      "aucun p\xE9riph\xE9rique audio) : le diaporama continue sans musique.");
        }
        StopMusic();
    }
}

TEST_F(MusicTest, AnEndReportedForAnEarlierDeviceIsIgnored)
{
    ASSERT_TRUE(Start());
    AfxPlatform().pfnMciSendCommand = FakeSend;
    PlayMusic("c:\\a.wav", TRUE);
    Fake().nextDevice = 9;
    PlayMusic("c:\\b.wav", TRUE); // the first device is closed and reports an abort later
    m_pFrame->SendMessage(MM_MCINOTIFY, MCI_NOTIFY_ABORTED, 7);
    EXPECT_TRUE(m_pFrame->IsMusicNotifyPending());
    Ticks(3);
    EXPECT_EQ(Fake().Count(MCI_OPEN), 2);
}

TEST_F(MusicTest, WinesRealMciLoopsAShortSoundWithoutAStorm)
{
    ASSERT_TRUE(Start());
    // Half a second of silence, 8 kHz mono 8-bit.
    std::vector<BYTE> wav;
    auto put32 = [&](DWORD v) {
        for (int i = 0; i < 4; i++)
            wav.push_back(static_cast<BYTE>(v >> (8 * i)));
    };
    auto put16 = [&](WORD v) {
        wav.push_back(static_cast<BYTE>(v));
        wav.push_back(static_cast<BYTE>(v >> 8));
    };
    const DWORD samples = 4000;
    wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
    put32(36 + samples);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(8000);
    put16(1);
    put16(8);
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    put32(samples);
    wav.insert(wav.end(), samples, 128);
    std::string path = m_temp.Path() + "\\fond.wav";
    ASSERT_TRUE(testpaths::WriteBytes(path, std::string(wav.begin(), wav.end())));

    g_realOpens = 0;
    AfxPlatform().pfnMciSendCommand = CountingSend;
    PlayMusic(path.c_str(), TRUE);
    // Two seconds of 50 ms passes: a working device plays about four times, a failing one once.
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 2000) {
        Pump();
        m_pFrame->OnIdleUpdate();
        ::Sleep(50);
    }
    EXPECT_GE(g_realOpens, 1);
    EXPECT_LE(g_realOpens, 6);
    StopMusic();
    // A machine without a sound device is told so, once.
    std::vector<std::string>& unexpected = AfxTestRecords().unexpected;
    size_t said = 0;
    for (size_t i = unexpected.size(); i-- > 0;) {
        if (unexpected[i].find("La musique d'accompagnement ne peut pas") != std::string::npos) {
            unexpected.erase(unexpected.begin() + static_cast<std::ptrdiff_t>(i));
            said++;
        }
    }
    EXPECT_LE(said, 1u);
}
