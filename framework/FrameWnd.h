// CFrameWnd: a frame holding an active view (and bars), with its menu, accelerators and title, the
// command route view -> frame -> application, menu updates and the idle work of frames.
#pragma once
#include "framework/Collections.h"
#include "framework/StdIds.h"
#include "framework/Wnd.h"

class CView;
class CDocument;
class CDocTemplate;

// Frame style bits (not window styles).
#define FWS_ADDTOTITLE 0x00008000L  // the title shows the active document
#define FWS_PREFIXTITLE 0x00004000L // ... before the application's name
#define FWS_SNAPTOBAR 0x00002000L

// What a frame and its view are created with.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault; // CW_USEDEFAULT placement

    CFrameWnd() = default;
    ~CFrameWnd() override;

    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame from resource nIDResource: its title (string, first part), menu, icon and
    // accelerators.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    // Makes a view the command target; with bNotify the old and new views hear about it.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // After the document is loaded: the view becomes active, views get OnInitialUpdate, the frame shows.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
    // Bars take their part of the client area, the view (AFX_IDW_PANE_FIRST) the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
    void DelayRecalcLayout(BOOL bNotify = TRUE) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }
    virtual HACCEL GetDefaultAccelerator();
    // The text of the status bar's first pane (AFX_IDW_STATUS_BAR): a text, or a command's prompt.
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    CWnd* GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }
    void GetMessageString(UINT nID, CString& rMessage) const;
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Frames belong to their window: they delete themselves when it goes.
    void PostNcDestroy() override { delete this; }

    BOOL m_bAutoMenuEnable = TRUE; // menu items without a handler go grey
    int m_nWindow = -1;            // number among the frames of one document (0: the only one)
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    CString m_strTitle;
    CPtrList m_listControlBars; // bars register here

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnDropFiles(HDROP hDropInfo);
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnNcActivate(BOOL bActive);

protected:
    enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags = 0;
    CView* m_pViewActive = nullptr;
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;
    BOOL m_bInRecalcLayout = FALSE;

    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // A window class with the frame's icon (resource nIDResource) when there is one.
    LPCSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);

    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

// The frame whose command route is running (null outside of one).
CFrameWnd* AfxGetRoutingFrame();
