// CPropertySheet and CPropertyPage: tabbed dialogs on the system's property sheet. Only pages that were
// shown exchange their data; a page refusing its values keeps the focus when the user leaves it.
#pragma once
#include "framework/Dialog.h"

#include <prsht.h>

#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage() = default;
    // nIDCaption: the tab's text (string id); 0 takes the template's caption.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    void SetModified(BOOL bChanged = TRUE);
    void CancelToClose();

    // Called when the page comes to the front; later visits reload the controls.
    virtual BOOL OnSetActive();
    // Called when the page is left (or OK is pressed on it): saves and validates; FALSE keeps it.
    virtual BOOL OnKillActive();
    virtual BOOL OnApply(); // default: OnOK, TRUE
    virtual void OnReset(); // default: OnCancel
    virtual BOOL OnQueryCancel() { return TRUE; }
    void OnOK() override {}
    void OnCancel() override {}
    // The sheet translates the keys of its pages.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }

    PROPSHEETPAGEA m_psp = {};

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;
    friend class CPropertySheet;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const { return m_pages[static_cast<size_t>(nPage)]; }
    int GetPageIndex(CPropertyPage* pPage) const;
    // The page in front (the start page before the sheet exists).
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    void SetTitle(LPCSTR lpszText, UINT nStyle = 0);

    // IDOK or IDCANCEL; -1 when the sheet cannot be made.
    virtual INT_PTR DoModal();
    // Modeless.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    void EndDialog(int nEndID);
    // Called once the sheet and its first page exist, before it shows (placing it, for one).
    virtual BOOL OnInitDialog() { return TRUE; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    PROPSHEETHEADERA m_psh;
    UINT m_nIDCaption = 0; // also how the test seams know the sheet

protected:
    CWnd* m_pParentWnd = nullptr;
    // OnInitDialog, then centres the sheet when it did not place it.
    void InitAndPlace();

private:
    HWND CreateSheet(HWND hWndParent, BOOL bModeless);
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pageStructs;
    CString m_strCaption;
    int m_nLastButton = IDCANCEL;
};
