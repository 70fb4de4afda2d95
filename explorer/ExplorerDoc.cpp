// The folder-explorer document: a folder path and nothing else.
#include "explorer/ExplorerDoc.h"

#include "shell/Settings.h"
#include "core/FileUtil.h"

IMPLEMENT_DYNCREATE(CExplorerDoc, CDocument)

BOOL CExplorerDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    CString strFolder = FolderExists(g_ActualDir) ? g_ActualDir : g_strLibraryRoot;
    if (!strFolder.IsEmpty())
        SetPathName(strFolder, FALSE);
    return TRUE;
}

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
