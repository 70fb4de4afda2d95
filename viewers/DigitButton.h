// CDigitButton: the small numeric or time display of the animation bar, drawn from the digit strip
// (bitmap 264), with its label to the left.
#pragma once
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/String.h"

// Glyphs of the digit strip: 0..9 the digits, then these.
enum DigitGlyph { kGlyphBlank = 10, kGlyphSeparator = 11, kGlyphColon = 12 };

// The glyphs a display shows. Time mode: minutes tens (blank when 0), minutes units, colon, seconds
// tens and units of value x interval / 1000 seconds; number mode: four digits with leading zeros
// blanked. A negative value shows blanks (and the separator in time mode); numbers above 9999 show
// 9999 and minutes above 99 show 99. Returns the glyph count (5 or 4).
int DigitGlyphs(int value, int interval, BOOL timeMode, int glyphs[5]);

class CDigitButton : public CButton {
    DECLARE_DYNAMIC(CDigitButton)
public:
    CDigitButton();

    // Redraws the digits only when interval and mode are the same as before, else the whole display;
    // nothing when all three are those shown.
    void SetValue(int value, int interval, BOOL timeMode);
    // Lit digits on black, or unlit glyphs on grey.
    void SetDigits(BOOL bLit);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    // Draws the display on pDC (the button's own DC when null); bDigitsOnly skips box and label.
    void Draw(CDC* pDC, BOOL bDigitsOnly);

    CBitmap m_bmpDigits;
    int m_nValue = 0;
    int m_nInterval = 1000;
    BOOL m_bTimeMode = FALSE;
    CString m_strLabel;
    BOOL m_bLit = TRUE;
};
