// The search-results document.
#include "explorer/SearchDoc.h"

IMPLEMENT_SERIAL(CSearchDoc, CDocument, 1)

BOOL CSearchDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    m_strPathName = lpszPathName;
    return TRUE;
}
