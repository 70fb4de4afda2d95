#include "app/BackgroundMusic.h"

#include "app/MainFrame.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <cstring>

MCIDEVICEID g_wMciDevice = 0;

namespace {
MCI_OPEN_PARMSA g_mciOpen;
MCI_SET_PARMS g_mciSet;
MCI_PLAY_PARMS g_mciPlay;
MCI_GENERIC_PARMS g_mciGeneric;

MCIERROR Send(MCIDEVICEID device, UINT message, DWORD_PTR flags, void* params)
{
    return AfxPlatform().pfnMciSendCommand(device, message, flags, reinterpret_cast<DWORD_PTR>(params));
}

CMainFrame* MusicFrame() { return g_pMainFrame; }

// Whether the user was told that the music asked for last cannot play: once is enough.
BOOL g_bFailureSaid = FALSE;

void SayMusicCannotPlay()
{
    if (g_bFailureSaid)
        return;
    g_bFailureSaid = TRUE;
    AfxMessageBox(IDS_MUSIC_CANNOT_PLAY, MB_ICONEXCLAMATION);
}
} // namespace

MCIERROR CloseMusicDevice()
{
    std::memset(&g_mciGeneric, 0, sizeof(g_mciGeneric));
    Send(g_wMciDevice, MCI_STOP, MCI_WAIT, &g_mciGeneric);
    MCIERROR result = Send(g_wMciDevice, MCI_CLOSE, MCI_WAIT, &g_mciGeneric);
    g_wMciDevice = 0;
    return result;
}

MCIERROR PlayMusicFile(LPCSTR path, BOOL loop)
{
    char element[MAX_PATH];
    lstrcpynA(element, path != nullptr ? path : "", sizeof(element));
    CloseMusicDevice();
    std::memset(&g_mciOpen, 0, sizeof(g_mciOpen));
    g_mciOpen.lpstrElementName = element;
    MCIERROR error = Send(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, &g_mciOpen);
    if (error != 0)
        return error;
    g_wMciDevice = g_mciOpen.wDeviceID;
    std::memset(&g_mciSet, 0, sizeof(g_mciSet));
    g_mciSet.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    error = Send(g_wMciDevice, MCI_SET, MCI_SET_TIME_FORMAT, &g_mciSet);
    if (error != 0)
        return error;
    CMainFrame* pFrame = MusicFrame();
    if (pFrame != nullptr)
        pFrame->SetMusicState(element, loop);
    std::memset(&g_mciPlay, 0, sizeof(g_mciPlay));
    g_mciPlay.dwCallback = reinterpret_cast<DWORD_PTR>(pFrame != nullptr ? pFrame->GetSafeHwnd() : nullptr);
    return Send(g_wMciDevice, MCI_PLAY, MCI_NOTIFY, &g_mciPlay);
}

void PlayMusic(LPCSTR path, BOOL loop)
{
    if (path == nullptr || path[0] == '\0')
        return;
    g_bFailureSaid = FALSE;
    if (PlayMusicFile(path, loop) != 0) {
        // Nothing plays: nothing is left open and no loop starts.
        if (MusicFrame() != nullptr)
            MusicFrame()->ClearMusicState();
        CloseMusicDevice();
        SayMusicCannotPlay();
    }
}

void StopMusic()
{
    if (MusicFrame() != nullptr)
        MusicFrame()->ClearMusicState();
    CloseMusicDevice();
}

void CMainFrame::SetMusicState(LPCSTR lpszPath, BOOL bLoop)
{
    m_bMusicPlaying = TRUE;
    m_bMusicLoop = bLoop;
    m_strMusicPath = lpszPath;
    m_bMusicNotifyPending = TRUE;
}

void CMainFrame::ClearMusicState()
{
    m_bMusicPlaying = FALSE;
    m_bMusicLoop = FALSE;
    m_strMusicPath = "";
    m_bMusicNotifyPending = FALSE;
}

LRESULT CMainFrame::OnMciNotify(WPARAM wParam, LPARAM lParam)
{
    // The end of an earlier device's play (closed since) says nothing about the current one.
    if (static_cast<MCIDEVICEID>(lParam) != g_wMciDevice)
        return 0;
    m_bMusicNotifyPending = FALSE;
    // A device that cannot play (no sound card) fails at once: looping would retry every tick.
    if (wParam == MCI_NOTIFY_FAILURE && m_bMusicPlaying) {
        ClearMusicState();
        CloseMusicDevice();
        SayMusicCannotPlay();
    }
    return 0;
}

void CMainFrame::LoopMusic()
{
    if (!m_bMusicPlaying || !m_bMusicLoop || m_bMusicNotifyPending)
        return;
    CloseMusicDevice();
    CString path = m_strMusicPath;
    if (PlayMusicFile(path, TRUE) != 0) {
        // The file cannot be played again: stop rather than try again every 50 ms.
        ClearMusicState();
        CloseMusicDevice();
        SayMusicCannotPlay();
    }
}
