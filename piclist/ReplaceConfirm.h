// Asking before a batch copy, move, drop or restore replaces a file or a folder: the two dialogs
// (with "Oui", "Non", "Oui si plus récent", "Oui à tous", "Non à tous", "Annuler") and the batch state
// their answers leave for the rest of the batch.
#pragma once
#include "framework/Dialog.h"
#include "framework/String.h"

// The button of the last question (IDYES 6, IDNO 7, 1287 yes if newer, 1288 yes to all, 1289 no to
// all, IDCANCEL 2), 0 at the start of a batch.
extern int g_nReplaceAnswer;
// Set when the last question was answered with Cancel: the caller ends its batch.
extern BOOL g_bReplaceCancelled;

// Dialog buttons besides IDYES, IDNO and IDCANCEL.
const int kReplaceIfNewer = 1287;
const int kReplaceYesToAll = 1288;
const int kReplaceNoToAll = 1289;

// Every batch starts with this: clears the answer and the cancel flag.
void BeginReplaceBatch();

// 1 to replace the existing file by the new one, 0 to keep it. When nothing exists at
// existingPath, the question shows the file that really clashes: the first one of the same base
// name in that folder (any extension). "Oui à tous" and "Non à tous" answer the rest of the batch
// without asking.
int ConfirmFileReplace(const CString& newPath, const CString& existingPath);
// The same for folders.
int ConfirmFolderReplace(const CString& newPath, const CString& existingPath);
// 1 when a was last written strictly later than b (local DOS date and time; folders too); a path
// that cannot be found counts as older than any.
int IsFileNewer(const CString& a, const CString& b);

// Dialog 347. The caller fills the texts and icons; the dialog formats its own template texts with
// them and destroys the icons when it closes.
class CFileReplaceDlg : public CDialog {
    DECLARE_DYNAMIC(CFileReplaceDlg)
public:
    explicit CFileReplaceDlg(CWnd* pParentWnd = nullptr);
    ~CFileReplaceDlg() override;

    HICON m_hExistingIcon = nullptr;
    HICON m_hNewIcon = nullptr;
    CString m_strExistingName;
    CString m_strExistingFolder;
    CString m_strExistingSize;
    CString m_strExistingDate;
    CString m_strNewSize;
    CString m_strNewDate;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAnswer(UINT nID);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    DECLARE_MESSAGE_MAP()
};

// Dialog 362: the same for a folder (no file icons; the size texts are not shown).
class CFolderReplaceDlg : public CDialog {
    DECLARE_DYNAMIC(CFolderReplaceDlg)
public:
    explicit CFolderReplaceDlg(CWnd* pParentWnd = nullptr);

    CString m_strExistingName;
    CString m_strExistingFolder;
    CString m_strExistingDate;
    CString m_strNewDate;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAnswer(UINT nID);
    DECLARE_MESSAGE_MAP()
};
