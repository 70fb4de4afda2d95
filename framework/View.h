// CView: a child window showing a document, first in the command route, active in its frame.
#pragma once
#include "framework/Wnd.h"

class CDocument;
class CFrameWnd;
class CDC;
struct CPrintInfo;

// Style of the views frames create.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    // Leaves its document.
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // The frame the view was created in, also while the view is moved under another window
    // (full screen).
    CFrameWnd* GetParentFrame() const;

    // A border becomes the sunken client edge; the class has no background brush (the view paints).
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Routes to the view's own map, then to its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Views belong to their window: they delete themselves when it goes.
    void PostNcDestroy() override { delete this; }

    virtual void OnInitialUpdate();                                      // calls OnUpdate(0, 0, 0)
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint); // invalidates
    virtual void OnDraw(CDC* pDC) = 0;
    // While printing with an unknown last page, the default goes on for page 1 only.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    // Takes the focus when it becomes the active view of an active frame.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) {}
    virtual BOOL IsSelected(const CObject*) const { return FALSE; }

    // Printing steps, run by the print loop (OnFilePrint) and the print preview (OnFilePrintPreview).
    // DoPreparePrinting asks for the printer (the preview and direct printing take the current one)
    // and returns FALSE when the user cancels or there is no printer.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo); // DoPreparePrinting
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) { OnDraw(pDC); }
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    void OnFilePrint();
    void OnFilePrintPreview();

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

protected:
    CDocument* m_pDocument = nullptr;

private:
    CFrameWnd* m_pFrameAtCreation = nullptr;
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};
