// CDibView: the view of a still-picture window. It shows the picture to scale at a zoom with scroll
// bars, fitted with its proportions or stretched to the window, through DrawDib; copies it to the
// clipboard; and can cover the whole screen (full screen). The display itself is CPictureView's.
#pragma once
#include "viewers/PictureView.h"

class CDibDoc;
class CCmdUI;
struct CPrintInfo;

class CDibView : public CPictureView {
    DECLARE_DYNCREATE(CDibView)
public:
    CDibView();

    CDibDoc* GetDocument() const;

    // Places the view's child frame in the picture area of the main window (byPlacement: as the
    // frame's stored placement says, which keeps it where it is).
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills the status pane of the picture layout with size, colours and zoom.
    void UpdateStatusText() override;

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

    // Printing: the picture on one page, or a poster over several (DibViewPrint.cpp).
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrintPicture();
    void OnPreviewPicture();
    void OnPrintPoster();
    void OnPreviewPoster();
    void OnUpdatePrint(CCmdUI* pCmdUI);

    // Messages.
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);

protected:
    CDIB* GetShownPicture() const override;
    CSize GetPictureSize() const override;
    CToolBar* GetLocalBar() const override;
    // The plain printed page: title, picture, banner.
    void DrawPrintedPage(CDC* pDC);

    int m_bArranging = 0;

    DECLARE_MESSAGE_MAP()
};
