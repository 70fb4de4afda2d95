// CSlideShowWnd: the slide show. A borderless window over the whole screen shows the pictures of a
// selection one at a time, stepped by the keys (manual) or every "DiapoPause" seconds (automatic),
// looped or not, at actual size, proportional or fitted, with optional background music. The main
// frame owns one object for its whole life; each show creates the window and ends by destroying it.
#pragma once
#include "core/DIB.h"
#include "framework/Collections.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "shell/MainFrameHost.h"

#include <vfw.h>

class CSlideShowWnd : public CWnd {
public:
    CSlideShowWnd();
    ~CSlideShowWnd() override;

    // Creates the window over the whole screen, owned by pOwner (shown by the caller). A show still
    // on screen ends first. FALSE when there is no owner or the window cannot be made. The window that
    // has the focus now gets it back when the user ends the show.
    BOOL Create(CWnd* pOwner);

    // The selection to show: the paths of the source window's selected pictures, in list order,
    // copied now, so that the list may change or go while the show runs. Sets that source (the
    // others are cleared) and shows the first picture that loads.
    void SetSourceExplorer(CWnd* pSource, const CStringArray& paths);
    void SetSourceLibrary(CWnd* pSource, const CStringArray& paths);
    void SetSourceSearch(CWnd* pSource, const CStringArray& paths);

    // Navigation; each does nothing without a selection. A picture that cannot be read is passed
    // over in the direction of the step.
    void ShowFirst();
    void ShowLast();
    void ShowNext();
    void ShowPrevious();

    int GetIndex() const { return m_nIndex; }
    int GetCount() const { return static_cast<int>(m_arrPaths.GetSize()); }
    CString GetShownPath() const { return m_strShownPath; }
    HGLOBAL GetPicture() const { return m_dib.GetHandle(); }
    HGLOBAL GetDisplayCopy() const { return m_hDisplayCopy; }
    SlideSource GetSourceKind() const { return m_source; }
    CWnd* GetSourceWnd() const { return m_pSource; }
    int GetSeconds() const { return m_nSeconds; }
    // Where the picture goes in a cw x ch client, by "TailleImageDiapo".
    RECT PictureRect(int cw, int ch) const;
    // Paints the window's client as WM_ERASEBKGND and WM_PAINT do, into any DC.
    void PaintTo(HDC hdc, const RECT& client);
    // Tests only: draw without DrawDib, as on a system that has none (display copies for 4- and
    // 8-bit screens).
    void UseDrawDib(BOOL bUse);

    // Every key given to the show goes to the show: no keyboard table of the windows under it acts.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // TRUE for a key typed within a double-click time (by its own time) of the key or click that ended
    // the show: the user typed it at the show, still going from the screen, and the window under it
    // must not take it (an Escape after the Space that ends an automatic show would hide the bar).
    BOOL TakesKeyTypedAtItsEnd(const MSG* pMsg);

    // Messages.
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT nIDEvent);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);

protected:
    void SetSource(SlideSource kind, CWnd* pSource, const CStringArray& paths);
    // Shows picture i, or the first one after it (step 1) or before it (step -1) that loads;
    // with wrap the search goes round the selection once. FALSE when none loads.
    BOOL ShowFrom(int i, int step, BOOL bWrap);
    // Reads the picture and makes its display copy; FALSE (nothing changed) when it cannot.
    BOOL Load(const CString& path);
    void FreePicture();
    // Makes the show the active window, unless a message box or dialog is up over it.
    void Activate();
    // The end the user asks for: keys typed at the show while it was still on the screen are dropped,
    // and the keys go back to the window they were in before the show.
    void Close();
    // The palette to realise: the picture's own, or the application's with a display copy.
    HPALETTE CurrentPalette();
    HPALETTE AppPalette();

    CDIB m_dib;
    HGLOBAL m_hDisplayCopy = nullptr; // colour-reduced copy for 16- and 256-colour screens
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitCount = 0;
    SlideSource m_source = kSlideSourceNone;
    CWnd* m_pSource = nullptr;
    CStringArray m_arrPaths; // the selection's snapshot
    CString m_strShownPath;
    int m_nIndex = 0;
    int m_nPaintPhase = 0; // 0 background only, 1 picture
    int m_nSeconds = 0;
    UINT_PTR m_nTimerId = 0;
    HDRAWDIB m_hDrawDib = nullptr;
    CPalette m_palApp; // made the first time a display copy needs it
    BOOL m_bUseDrawDib = TRUE;
    BOOL m_bAutomatic = FALSE; // the mode of the show on screen
    BOOL m_bMusic = FALSE;     // this show started the music
    HWND m_hWndReturnFocus = nullptr;
    BOOL m_bJustEnded = FALSE; // by the user, at m_dwEndedAt, and no key since then was the user's own
    DWORD m_dwEndedAt = 0;

    DECLARE_MESSAGE_MAP()
};

// Starts a show over the paths in pShow, as the settings stand: the window created over the screen
// owned by pOwner, shown, and given the selection. FALSE (nothing on screen) when it cannot be made.
BOOL StartSlideShow(CSlideShowWnd* pShow, CWnd* pOwner, SlideSource kind, CWnd* pSource,
                    const CStringArray& paths);
