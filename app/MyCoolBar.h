// CCoolBar, a control bar hosting a rebar, and CMyCoolBar, the main window's cool bar with its
// three bands: the tool band of large text buttons, the animated logo and the "Récents" box.
#pragma once
#include "framework/ControlBar.h"

#include <windows.h>

// Posted by the "Récents" box to itself: open recent entry wParam once its notification is over.
#define WM_RECENT_OPEN_ENTRY (WM_APP + 0x162)

class CCoolBar : public CControlBar {
    DECLARE_DYNAMIC(CCoolBar)
public:
    // A rebar ("ReBarWindow32"; a plain tool bar without rebar support) with id 59406; dwStyle is the
    // window style, dwBarStyle the CBRS_* bar style.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwBarStyle = CBRS_ALIGN_TOP);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Updates the child controls against the target without disabling those with no handler (the
    // logo button has none and must stay clickable).
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Fills the bar; 0, or -1 to fail the creation.
    virtual int OnCreateBands() = 0;
    // The rebar's height changed: the main window lays out again.
    virtual void OnHeightChange(const CRect& rectWindow);

    // The index of the band of that id among indexes 0, 1 and 2, or -1.
    int FindBand(UINT nBandID) const;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnHeightChangeNotify(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

protected:
    // Opens the drop-down menu of a tool-band button (TBN_DROPDOWN).
    void OnDropDown(NMTOOLBARA* pNMTB);

    DECLARE_MESSAGE_MAP()
};

class CMyCoolBar : public CCoolBar {
    DECLARE_DYNAMIC(CMyCoolBar)
public:
    ~CMyCoolBar() override;

    int OnCreateBands() override;

    // The bands the preferences switch on later; each only when rebars exist, its setting is on
    // and it does not exist yet. FALSE when it had to be made and could not.
    BOOL AddAnimationBand();
    BOOL AddRecentBand();
    // Deletes a band and destroys its window; FALSE when the band is not among the first three.
    BOOL RemoveAnimationBand();
    BOOL RemoveRecentBand();
    // Stores the rows ("CoolBarRawCount") and the first band's width ("CoolBarBandCX"); nothing
    // without the bar's window.
    void SaveLayoutSettings();
    // Stores the first band's width as laid out into "CoolBarBandCX", unless it is too narrow to
    // show the band (then the stored width stays).
    void StoreFirstBandWidth();
    // Text rows and widths of the tool band and the bands' heights for "CoolBarText".
    void ApplyTextSetting();
    // The background bitmap of bands 1000 and 1002 for "CoolBarBitmap" (screens above 8 bits only).
    void ApplyBitmapSetting();

    // The process-wide band windows (there is one cool bar); null when absent.
    static HWND GetToolBand();
    static HWND GetRecentCombo();
    static HWND GetRecentEdit();
    static HWND GetLogoButton();
    // The logo's next frame (0..29), and one timer step (draws a frame and advances the counter).
    static int GetLogoFrame();
    static void StepLogo();
    // The source rectangle of frame f: whole with "CoolBarText" on, rows 7 to 33 otherwise.
    static RECT LogoSourceRect(int nFrame);

    // The address the logo and the web menu open.
    static const char* HomePageAddress();

protected:
    BOOL CreateToolBand();
    void PostNcDestroy() override;

private:
    // Frees what the bands use (image lists, the logo's and the background's pictures) and forgets
    // the band windows; only for the bar that made them.
    void FreeBandResources();
};
