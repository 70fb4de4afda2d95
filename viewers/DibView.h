// CDibView: the view of a still-picture window. It shows the picture at its size, scrolled, and
// takes its place in the picture area of the main window.
#pragma once
#include "framework/ScrollView.h"

class CDibDoc;

class CDibView : public CScrollView {
    DECLARE_DYNCREATE(CDibView)
public:
    CDibDoc* GetDocument() const;

    // Places the view's child frame in the picture area of the main window (byPlacement: as the
    // frame's stored placement says, which keeps it where it is).
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills the status pane of the picture layout with the size and colours of the picture.
    void UpdateStatusText();
    // The full-screen mouse step; the view has no full-screen mode yet, so nothing happens.
    void TrackMouseInFullScreen() {}

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

    // Realises the picture's palette; message WM_PALETTEREALIZE.
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);

protected:
    DECLARE_MESSAGE_MAP()
};
