// The system's common dialogs: open and save (CFileDialog), colour, print, and the folder picker.
// While the test seams are armed each returns the scripted answer instead of opening.
#pragma once
#include "framework/Dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

// The calls themselves, for code that fills the structures by hand.
BOOL AfxGetOpenFileName(LPOPENFILENAMEA lpofn);
BOOL AfxGetSaveFileName(LPOPENFILENAMEA lpofn);
BOOL AfxChooseColor(LPCHOOSECOLORA lpcc);
BOOL AfxPrintDlg(LPPRINTDLGA lppd);
// The chosen folder's item list (free it with CoTaskMemFree), null when cancelled.
LPITEMIDLIST AfxSHBrowseForFolder(LPBROWSEINFOA lpbi);

// The disk path of a shell item, in the code page. It is read in wide characters: the ANSI call spells
// a letter the code page lacks with a look-alike, which names another folder or none.
enum class AfxItemPath { Found, None, Unspelled };
AfxItemPath AfxGetItemIdListPath(LPCITEMIDLIST pidl, CString* pPath);

// The folder browser for a disk folder: the path of the folder chosen, empty when cancelled. A folder
// whose path has letters the code page lacks is refused, in the file dialogs' words and named, and
// gives empty.
CString AfxBrowseForFolderPath(LPBROWSEINFOA lpbi);

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<LPCSTR>(nullptr), pParentWnd) {}
};

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: "name|pattern|name|pattern||". OFN_EXPLORER is always added; a caller's hook
    // (OFN_ENABLEHOOK) and template (OFN_ENABLETEMPLATE) set in m_ofn are kept as they are.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    INT_PTR DoModal() override;

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    OPENFILENAMEA m_ofn;
    BOOL m_bOpenFileDialog;

private:
    std::vector<char> m_filter;
    CString m_strDefExt;
    char m_szFileName[MAX_PATH * 4];
    char m_szFileTitle[MAX_PATH];
};

class CColorDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLORA m_cc;
};

class CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS
                                          | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    // The default printer, without showing anything; FALSE when there is none.
    BOOL GetDefaults();
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // A device context for the chosen printer (the caller deletes it).
    HDC CreatePrinterDC();
    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    LPDEVMODEA GetDevMode() const;
    int GetCopies() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLGA m_pd;
};
