// The owner-drawn buttons that show a picture: CSimpleDibButton (a packed DIB at its own size, the
// dialogs' logos), CDibButton (a CDIB fitted in a sunken frame), and CClickDibButton and
// CSelectDibButton, which report mouse positions on the shown picture to their parent in picture
// pixels.
#pragma once
#include "core/DIB.h"
#include "core/PackedDib.h"
#include "framework/Controls.h"

// Messages of CClickDibButton and CSelectDibButton to their parent: the position in picture pixels
// (wParam x, lParam y).
#define WM_DIBBUTTON_MOUSEMOVE 0x404 // (64000, 64000) outside the picture
#define WM_DIBBUTTON_CLICK 0x405
#define WM_DIBBUTTON_DRAG 0x406
const int kDibButtonOutside = 64000;

class CSimpleDibButton : public CButton {
    DECLARE_DYNAMIC(CSimpleDibButton)
public:
    // The picture drawn; it stays the caller's (0: nothing drawn).
    PackedDIB m_hDIB = nullptr;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
};

class CDibButton : public CButton {
    DECLARE_DYNAMIC(CDibButton)
public:
    CDIB m_dib; // freed with the button
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
};

class CClickDibButton : public CButton {
    DECLARE_DYNAMIC(CClickDibButton)
public:
    CDIB m_dib;
    CRect m_rectPicture; // where the picture is shown, client coordinates

    // The picture pixel under a client point; FALSE outside the picture rectangle.
    BOOL ClientToPicture(CPoint point, CPoint* pPicture) const;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);

protected:
    void SendToParent(UINT message, int x, int y);
    CPoint CursorClientPos() const;

    DECLARE_MESSAGE_MAP()
};

class CSelectDibButton : public CClickDibButton {
    DECLARE_DYNAMIC(CSelectDibButton)
public:
    CPoint m_ptStartPicture;
    CPoint m_ptStartClient;
    BOOL m_bDragging = FALSE;
    CRect m_rectSelection; // client coordinates

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()
};
