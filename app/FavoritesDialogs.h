// The favourites dialogs: adding the active window to the favourites (348), renaming a favourite
// (349) and editing the list (350).
#pragma once
#include "framework/Collections.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

const int kFavoriteNameMax = 50;

// Shared by the add and rename dialogs: static 1080's text, a format with one %s, is filled with the
// lower-cased title; edit 1251 holds the name (at most 50 characters).
class CFavoriteNameDlg : public CDialog {
    DECLARE_DYNAMIC(CFavoriteNameDlg)
public:
    CFavoriteNameDlg(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

    CString m_strName;
    CString m_strTitle;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CAddFavoriteDlg : public CFavoriteNameDlg {
    DECLARE_DYNAMIC(CAddFavoriteDlg)
public:
    explicit CAddFavoriteDlg(CWnd* pParentWnd = nullptr);
};

class CRenameFavoriteDlg : public CFavoriteNameDlg {
    DECLARE_DYNAMIC(CRenameFavoriteDlg)
public:
    explicit CRenameFavoriteDlg(CWnd* pParentWnd = nullptr);
    int m_nIndex = -1; // the entry being renamed; the caller's
};

// Runs a name dialog until it gives a name that may be stored, or is cancelled: an empty name beeps,
// a refused name (see IsAcceptableFavoriteName) gets its message, and each runs the dialog again.
// IDOK or IDCANCEL.
INT_PTR RunFavoriteNameDialog(CFavoriteNameDlg& dlg);

class CEditFavoritesDlg : public CDialog {
    DECLARE_DYNAMIC(CEditFavoritesDlg)
public:
    explicit CEditFavoritesDlg(CWnd* pParentWnd = nullptr);

    CListBox m_listFavorites;
    CStringArray m_arrFavorites; // the working copy; it replaces the list only on OK

    void UpdateButtons();
    void SortFavorites();
    void OnRename();
    void OnDelete();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void FillList();

    DECLARE_MESSAGE_MAP()
};
