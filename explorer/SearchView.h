// CSearchView: the view of a search-results window. This first form shows an empty result page; the
// result list comes with the search.
#pragma once
#include "framework/View.h"

class CSearchView : public CView {
    DECLARE_DYNCREATE(CSearchView)
public:
    // Places the view's child frame in the explorer area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills panes 1 to 3 of the explorer layout of the status bar.
    void UpdateStatusPanes();

    void OnDraw(CDC* pDC) override;
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
};
