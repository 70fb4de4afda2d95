// CGifView: the view of an animated-GIF window. It shows the first frame; playing the animation
// comes with the animation player.
#pragma once
#include "framework/ScrollView.h"

class CGifDoc;

class CGifView : public CScrollView {
    DECLARE_DYNCREATE(CGifView)
public:
    CGifDoc* GetDocument() const;

    // Places the view's child frame in the picture area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills the status pane of the animation layout.
    void UpdateStatusText();
    // Refreshes the frame slider and counter of the animation bar; nothing moves while nothing plays.
    void RefreshFrameControls() {}

    BOOL m_bPlaying = FALSE; // the animation runs

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);
    // The animation bar's slider and speed list; the view reads the bar itself.
    LRESULT OnFrameSlider(WPARAM wParam, LPARAM lParam);
    LRESULT OnSpeedChanged(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);

    // How many slider and speed messages reached the view (the frame forwards them).
    int m_nSliderMessages = 0;
    int m_nSpeedMessages = 0;

protected:
    DECLARE_MESSAGE_MAP()
};
