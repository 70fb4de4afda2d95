// CPicPropertySheet: the properties of the selected pictures of a thumbnail list. The pages only hold
// data: the command fills their members from the records, runs the sheet and, after OK, writes the
// edited texts back (PicProperties.h). The sheet opens on the page that was in front at the last OK.
#pragma once
#include "framework/PropertySheet.h"
#include "shell/SimpleDibButton.h"

// File facts of one picture (read-only).
class CPicPropImage : public CPropertyPage {
    DECLARE_DYNCREATE(CPicPropImage)
public:
    CPicPropImage();
    CString m_strDimensions; // "640x480 pixels"
    CString m_strDepth;      // the colour depth's name
    CString m_strFolder;
    CString m_strFormat;
    CString m_strMemory;
    CString m_strFileName;
    CString m_strFileSize;
    CString m_strModified;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Count and total size of several pictures (read-only).
class CPicPropSelection : public CPropertyPage {
    DECLARE_DYNCREATE(CPicPropSelection)
public:
    CPicPropSelection();
    CString m_strCount;
    CString m_strTotalSize;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Name, author and keywords.
class CPicPropIdentite : public CPropertyPage {
    DECLARE_DYNCREATE(CPicPropIdentite)
public:
    CPicPropIdentite();
    BOOL m_bAllReadOnly = FALSE; // name, author and keywords cannot be edited
    CString m_strAuthor;
    CString m_strKeywords;
    CString m_strName;
    BOOL m_bNameReadOnly = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()
};

class CPicPropCommentaire : public CPropertyPage {
    DECLARE_DYNCREATE(CPicPropCommentaire)
public:
    CPicPropCommentaire();
    CString m_strComment;
    BOOL m_bReadOnly = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()
};

// The thumbnail.
class CPicPropApercu : public CPropertyPage {
    DECLARE_DYNCREATE(CPicPropApercu)
public:
    CPicPropApercu();
    CDibButton m_preview; // the command puts the thumbnail in m_preview.m_dib

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

enum PicPropMode {
    kPicPropOne = 0,      // Image, Identité, Commentaire, Aperçu
    kPicPropSeveral = 1,  // Sélection, Identité, Commentaire
    kPicPropSelection = 2 // Sélection alone
};

class CPicPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CPicPropertySheet)
public:
    // Without an apply button: nothing is written before OK.
    CPicPropertySheet(int nMode, CWnd* pParentWnd = nullptr);
    ~CPicPropertySheet() override;

    // The page position the next sheet opens on (0 at start; not saved).
    static int GetRememberedPage();
    static void SetRememberedPage(int nPage);

    INT_PTR DoModal() override;

    // Set before DoModal on a sheet whose texts nothing writes back: no OK that pretends to save,
    // only a button that closes.
    BOOL m_bShowOnly = FALSE;

    CPicPropImage m_pageImage;
    CPicPropSelection m_pageSelection;
    CPicPropIdentite m_pageIdentite;
    CPicPropCommentaire m_pageCommentaire;
    CPicPropApercu m_pageApercu;

protected:
    BOOL OnInitDialog() override;
    // OK takes note of the page in front before the sheet closes.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    int m_nPageAtOK = -1;
};
