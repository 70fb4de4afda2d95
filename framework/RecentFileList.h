// CRecentFileList: the framework's recent-file list, kept in the profile and shown in a menu.
#pragma once
#include "framework/String.h"

#include <vector>

class CCmdUI;

class CRecentFileList {
public:
    // nStart: the command id of the first entry. The entries are stored as lpszEntryFormat % n
    // (from 1) under lpszSection.
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen = 40);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_nSize; }
    // The path of entry nIndex (empty when there is none yet).
    CString& operator[](int nIndex) { return m_arrNames[static_cast<size_t>(nIndex)]; }

    // Puts a path at the top; the same path (case aside) met lower down leaves its place.
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();
    // Replaces the menu item of pCmdUI by one item per entry ("&1 name"), or greys the original text.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    // The text shown for an entry: the whole path when short enough, else its start, "..." and its name.
    BOOL GetDisplayName(CString& strName, int nIndex, BOOL bAtLeastName = TRUE) const;

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nSize;
    int m_nMaxDisplayLength;
    CString m_strOriginal; // the menu item's text when the list is empty

private:
    std::vector<CString> m_arrNames;
};
