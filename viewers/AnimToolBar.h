// CAnimToolBar: the local tool bar of an animated-GIF window, with the frame slider and the list of
// display speeds among its buttons; it tells its frame when either is used.
#pragma once
#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "shell/ToolBarEx.h"
#include "viewers/DigitButton.h"

#include <vector>

// Frames per second of the speed list, in list order (the list index is the index into this table).
extern const int g_animSpeeds[13];

class CAnimToolBar : public CLocalToolBar {
    DECLARE_DYNAMIC(CAnimToolBar)
public:
    // Turns button 15 into the room for the slider and the list and the last button into the room
    // for the two displays, then creates them there. FALSE when a control cannot be made.
    BOOL CreateControls();

    CSliderCtrl m_wndSlider;    // frame position
    CComboBox m_wndSpeed;       // display speeds, "%d ips"
    CDigitButton m_wndPosition; // the frame shown, as a number or a time
    CDigitButton m_wndTotal;    // the frame count, as a number or a time

    // Docked along the top of its frame, the bar wraps into as many rows as the frame's width needs,
    // and the controls follow the places kept for them.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Puts the slider, the list and the two displays on the places kept for them.
    void PlaceControls();
    // Which buttons end a row, in button order.
    std::vector<BOOL> WrapStates() const;

    // The slider moved: WM_ANIMFRAMESLIDER to the frame (the position, the slider).
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // A speed was chosen: WM_ANIMSPEEDCHANGED to the frame.
    void OnSpeedSelChange();

protected:
    DECLARE_MESSAGE_MAP()
};
