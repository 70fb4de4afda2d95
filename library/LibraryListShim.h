// Until the thumbnail list joins the tree: the part of its interface the bar uses, on a plain list box.
#pragma once
#include "framework/Controls.h"
#include "framework/String.h"

class CPicListBox;

class CPicListOwner {
public:
    virtual ~CPicListOwner() = default;
    virtual CString GetListFolder() { return CString(); }
    virtual void OnListContentChanged(CPicListBox*) {}
    virtual void OnListFocusChanged(CPicListBox*, BOOL) {}
    virtual BOOL IsLibraryOwner() const { return FALSE; }
};

class CPicListBox : public CListBox {
public:
    BOOL Create(CWnd* pParent, UINT nID)
    {
        return CListBox::Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY,
                                CRect(0, 0, 10, 10), pParent, nID);
    }
    int LoadFolder(CString folder)
    {
        ResetContent();
        m_strLoaded = folder;
        m_nLoads++;
        return 0;
    }
    int RefreshFolder(CString) { return 0; }
    int BuildNextThumbnail() { return 0; }
    void StartLockedAnimation() { m_bLockedShown = TRUE; }
    void StopLockedAnimation() { m_bLockedShown = FALSE; }
    CString m_strLoaded;
    int m_nLoads = 0;
    BOOL m_bLockedShown = FALSE;
    BOOL LIBLIST_TRASH_MODE = FALSE;
    BOOL m_bBuildThumbnails = TRUE;
    BOOL m_bKeepRecords = FALSE;
    BOOL m_bHideExtensions = FALSE;
    int m_nView = 0;
    int m_nSortKey = 0;
    int m_nSortOrder = 0;
};
