// The main frame's part in slide shows: the options dialog before a show, and the background music.
#include "app/BackgroundMusic.h"
#include "app/MainFrame.h"
#include "app/SlideShowDlg.h"
#include "shell/DialogPictures.h"
#include "shell/Settings.h"
#include "viewers/SlideShowWnd.h"

BOOL CMainFrame::RunSlideShow(int source, CWnd* pSource, const CStringArray& paths)
{
    CDialogPictures pictures({"ORVANEL8", "DIAPORAMA"});
    CSlideShowDlg dlg(this);
    dlg.m_bAutomatic = g_DiapoAuto != 0;
    dlg.m_bManual = !dlg.m_bAutomatic;
    dlg.m_bLoop = g_DiapoLoop != 0;
    dlg.m_nPause = static_cast<UINT>(g_DiapoPause);
    dlg.m_strMusicFile = g_MusicFileDiapo;
    dlg.m_nPictureSize = g_TailleImageDiapo;
    dlg.m_btnLogo.m_hDIB = pictures[0];
    dlg.m_btnWarning.m_hDIB = pictures[1];
    // The dialog gives the keys back to the window the show is started from: the show's end returns
    // them there.
    if (dlg.DoModal() != IDOK)
        return FALSE;
    g_DiapoAuto = dlg.m_bAutomatic ? 1 : 0;
    g_DiapoLoop = dlg.m_bLoop ? 1 : 0;
    g_DiapoPause = static_cast<int>(dlg.m_nPause);
    g_MusicFileDiapo = dlg.m_strMusicFile;
    g_TailleImageDiapo = dlg.m_nPictureSize;
    if (!StartSlideShow(m_pSlideShow, this, static_cast<SlideSource>(source), pSource, paths))
        return FALSE;
    // A show none of whose pictures can be read stays on its background until it is closed, but it
    // showed nothing: for the list it came from, it did not run.
    return m_pSlideShow->GetPicture() != nullptr;
}

void CMainFrame::PlayBackgroundMusic(LPCSTR path) { PlayMusic(path, TRUE); }

void CMainFrame::StopBackgroundMusic() { StopMusic(); }
