// The still-picture document: loading, the picture handed over for new windows, and the title.
#include "viewers/DibDoc.h"

#include "app/TessarineApp.h"
#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CDibDoc, CDocument)

CDibDoc::CDibDoc() : m_sizeDoc(1, 1) {}

void CDibDoc::DeleteContents()
{
    m_dib.Free();
    m_strLoadedPath.Empty();
    m_dwFileLength = 0;
    m_nWidth = m_nHeight = 0;
    m_nBitCount = 0;
    m_sizeDoc = CSize(1, 1);
}

void CDibDoc::TakeMeasures()
{
    HGLOBAL hDIB = m_dib.GetHandle();
    if (hDIB == nullptr)
        return;
    const BITMAPINFOHEADER* pHeader = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB));
    if (pHeader == nullptr)
        return;
    m_nWidth = pHeader->biWidth;
    m_nHeight = pHeader->biHeight;
    m_nBitCount = pHeader->biBitCount;
    ::GlobalUnlock(hDIB);
    m_sizeDoc = CSize(m_nWidth, m_nHeight);
}

BOOL CDibDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    // The slot is emptied here, so that a window that fails later cannot leave the picture to
    // nobody: from now on it belongs to this document.
    HGLOBAL hDIB = TakeNewImageDIB();
    if (hDIB != nullptr) {
        m_dib.Attach(hDIB);
        TakeMeasures();
    }
    return TRUE;
}

BOOL CDibDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    SetAppCursor(kAppCursorBusy);
    if (FileExists(lpszPathName))
        m_dib.Read(lpszPathName, "");
    RestoreAppCursor();
    if (m_dib.IsEmpty()) {
        CString strFolder, strName;
        SplitPath(lpszPathName, &strFolder, &strName);
        CString strText;
        strText.Format(AfxLoadText(IDS_DOCUMENT_MISSING), static_cast<LPCSTR>(strName));
        AfxMessageBox(strText, MB_ICONSTOP);
        return FALSE;
    }
    m_strLoadedPath = lpszPathName;
    m_dwFileLength = GetFileLength(lpszPathName);
    TakeMeasures();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDibDoc::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    CDocument::SetPathName(lpszPathName, bAddToMRU);
    char szTitle[256];
    if (::GetFileTitleA(lpszPathName, szTitle, sizeof(szTitle)) == 0) {
        ::CharUpperA(szTitle);
        SetTitle(szTitle);
    }
}
