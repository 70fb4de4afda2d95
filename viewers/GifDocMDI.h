// CGifDocMDI: the child frame of an animated-GIF window.
#pragma once
#include "shell/OrvanelMDI.h"
#include "viewers/AnimToolBar.h"

// Animated-GIF windows: the animation bar (42); the title adds size, colours and play state; the bar's
// slider and speed messages go on to the view.
class CGifDocMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CGifDocMDI)
public:
    void UpdateTitle() override;
    int OnCreate(LPCREATESTRUCT lpcs);
    LRESULT OnAnimFrameSlider(WPARAM wParam, LPARAM lParam);
    LRESULT OnAnimSpeedChanged(WPARAM wParam, LPARAM lParam);

    CAnimToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};
