// The recent-file list.
#include "framework/RecentFileList.h"

#include "framework/CmdUI.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nSize(nSize > 0 ? nSize : 1), m_nMaxDisplayLength(nMaxDispLen),
      m_arrNames(static_cast<size_t>(m_nSize))
{}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (lpszPathName == nullptr || *lpszPathName == '\0')
        return;
    CString strPath(lpszPathName);
    int nFound = m_nSize - 1; // not found: the last entry falls off
    for (int i = 0; i < m_nSize; i++) {
        if (m_arrNames[static_cast<size_t>(i)].CompareNoCase(strPath) == 0) {
            nFound = i;
            break;
        }
    }
    for (int i = nFound; i > 0; i--)
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i - 1)];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; i++)
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i + 1)];
    m_arrNames[static_cast<size_t>(m_nSize - 1)].Empty();
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < m_nSize; i++) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        m_arrNames[static_cast<size_t>(i)] = pApp->GetProfileString(m_strSectionName, strEntry, "");
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    // The section is rewritten whole, so that entries of a longer list do not linger.
    pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < m_nSize; i++) {
        const CString& strName = m_arrNames[static_cast<size_t>(i)];
        if (strName.IsEmpty())
            continue;
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        pApp->WriteProfileString(m_strSectionName, strEntry, strName);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, BOOL bAtLeastName) const
{
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[static_cast<size_t>(nIndex)];
    if (strPath.GetLength() <= m_nMaxDisplayLength) {
        strName = strPath;
        return TRUE;
    }
    int nSlash = strPath.ReverseFind('\\');
    CString strFile = nSlash >= 0 ? strPath.Mid(nSlash + 1) : strPath;
    int nKeep = m_nMaxDisplayLength - strFile.GetLength() - 4; // "...\"
    if (nKeep < 3) {
        strName = bAtLeastName ? strFile : strPath.Left(m_nMaxDisplayLength);
        return TRUE;
    }
    strName = strPath.Left(nKeep) + "...\\" + strFile;
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (pMenu == nullptr)
        return;
    if (m_strOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nIndex, m_strOriginal, MF_BYPOSITION);
    if (m_arrNames[0].IsEmpty()) {
        pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    // Drop the items of the previous update, then put one item per entry at the same place.
    for (int i = 0; i < m_nSize; i++)
        pMenu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
    int nInserted = 0;
    for (int i = 0; i < m_nSize; i++) {
        CString strName;
        if (!GetDisplayName(strName, i))
            break;
        // A '&' in a path would become an underlined letter.
        strName.Replace("&", "&&");
        CString strText;
        strText.Format("&%d %s", (i + 1) % 10, static_cast<LPCSTR>(strName));
        pMenu->InsertMenu(pCmdUI->m_nIndex + static_cast<UINT>(nInserted), MF_STRING | MF_BYPOSITION,
                          pCmdUI->m_nID + static_cast<UINT>(i), strText);
        nInserted++;
    }
    // The walk goes on after the entries just made.
    pCmdUI->m_nIndex += static_cast<UINT>(nInserted) - 1;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}
