// CDialog: modal and modeless dialogs from a template, with data exchange on OK, the framework's own
// modal loop (pre-translation and idle updates keep running; the test seams can play it).
#pragma once
#include "framework/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    // pParentWnd null: the main window (or the dialog in front of it) owns a modal dialog.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // Modal from a template in memory (kept by the caller until DoModal returns).
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog with its owner disabled; the id it ended with (IDOK, IDCANCEL, ...), -1 on failure.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl)
    {
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(AfxSafeHwnd(pWndCtrl)), 1);
    }
    void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    // Default: UpdateData(FALSE), focus on the first control (TRUE).
    virtual BOOL OnInitDialog();
    // Default: UpdateData(TRUE); the dialog ends with IDOK only when every field is valid.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnSetFont(CFont*) {}

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    UINT m_nIDHelp = 0; // the template id (also how the test seams know the dialog)
    LPCSTR m_lpszTemplateName = nullptr;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    // Creates the window from a template, attached to this object from its first message.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent);
    LPCDLGTEMPLATE LoadTemplate();
    // Centres a top-level dialog on its owner when neither its template nor its OnInitDialog placed it.
    void CenterIfUnplaced(const RECT& rcBeforeInit);

    // The template gives a position of its own (coordinates or DS_CENTER); set while the window is made.
    BOOL m_bTemplatePlaced = FALSE;

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

// The template (DLGTEMPLATE or DLGTEMPLATEEX) asks for a position: coordinates other than (0, 0),
// DS_CENTER or DS_CENTERMOUSE. A null template asks for none.
BOOL AfxDialogTemplatePlaced(LPCDLGTEMPLATE lpTemplate);

// The dialog procedure of every dialog with an object: runs OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
