// CColorButton: a colour swatch with an arrow that opens the colour dialog; its colour is held as
// its window text, the COLORREF in decimal.
#pragma once
#include "framework/Controls.h"
#include "framework/Gdi.h"

class CColorButton : public CButton {
    DECLARE_DYNAMIC(CColorButton)
public:
    CColorButton();

    void SetColor(COLORREF clr);
    // The window text as a decimal number; text that is not a number gives 0 (black).
    COLORREF GetColor() const;
    // The colour dialog on the current colour with the program's 16 custom colours, opened in full;
    // OK sets the chosen colour and redraws the button.
    void PickColor();

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    CBitmap m_bmpArrow;
};
