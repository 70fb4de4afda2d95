// CSplashWnd: the borderless top-most window in the middle of the screen that shows the title picture
// while the program starts.
#pragma once
#include "core/PackedDib.h"
#include "framework/Wnd.h"

// Where a window of cx x cy goes to sit in the middle of a screen of that size.
POINT SplashPosition(int screenWidth, int screenHeight, int cx, int cy);

class CSplashWnd : public CWnd {
public:
    CSplashWnd() = default;
    using CWnd::Create;
    ~CSplashWnd() override;

    // Creates the window (hidden) centred on the screen; FALSE when its class cannot be registered or
    // the title picture cannot be loaded.
    BOOL Create(CWnd* pParentWnd, int cx, int cy);
    // Frees the picture: the window then paints plain grey.
    void FreePicture();

    PackedDIB m_hPicture = nullptr; // owned
    int m_cx = 0;
    int m_cy = 0;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    void OnClose();

protected:
    DECLARE_MESSAGE_MAP()
};

// The one splash window of the process.
extern CSplashWnd g_wndSplash;

// Takes the splash down if it is up, so that a start-up dialog can show: grey first, then destroyed.
void TakeSplashDown();
