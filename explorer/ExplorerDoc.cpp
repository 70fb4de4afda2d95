// The folder-explorer document: a folder path and nothing else.
#include "explorer/ExplorerDoc.h"

IMPLEMENT_DYNCREATE(CExplorerDoc, CDocument)

BOOL CExplorerDoc::OnOpenDocument(LPCSTR)
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CExplorerDoc::SetPathName(LPCSTR lpszPathName, BOOL)
{
    m_strPathName = lpszPathName;
    SetTitle(lpszPathName);
}
