// CExplorerView: the view of a folder-explorer window. This first form lists the folder's files by
// name; the thumbnail pages, the shell folder tree and the folder watch come with the explorer.
#pragma once
#include "framework/Collections.h"
#include "framework/View.h"

class CExplorerDoc;

class CExplorerView : public CView {
    DECLARE_DYNCREATE(CExplorerView)
public:
    CExplorerDoc* GetDocument() const;

    // Places the view's child frame in the explorer area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills panes 1 to 3 of the explorer layout of the status bar.
    void UpdateStatusPanes();
    // One idle step of the view (called by the main frame's timer).
    void OnIdle() { m_nIdleSteps++; }
    int m_nIdleSteps = 0;

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);

protected:
    // Names of the files of the folder shown.
    void ListFolder();
    CStringArray m_arrNames;

    DECLARE_MESSAGE_MAP()
};
