// The animated-GIF document: decoding the frames, the title, and freeing the frames.
#include "viewers/GifDoc.h"

#include "core/BusyCursor.h"
#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "formats/FormatGif.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CGifDoc, CDocument)

CGifDoc::~CGifDoc() { DeleteContents(); }

CDIB* CGifDoc::GetFrame(int n) const
{
    if (n < 0 || n >= GetFrameCount())
        return nullptr;
    return static_cast<CDIB*>(m_arrFrames[n]);
}

void CGifDoc::DeleteContents()
{
    for (INT_PTR i = 0; i < m_arrFrames.GetSize(); i++)
        delete m_arrFrames[i];
    m_arrFrames.RemoveAll();
    m_nWidth = m_nHeight = 0;
    m_nBitCount = 0;
}

BOOL CGifDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    SetAppCursor(kAppCursorBusy);
    if (FileExists(lpszPathName))
        LoadAnimatedGIF(lpszPathName, &m_arrFrames);
    RestoreAppCursor();
    CDIB* pFirst = GetFrame(0);
    if (pFirst == nullptr || pFirst->IsEmpty()) {
        DeleteContents();
        CString strFolder, strName;
        SplitPath(lpszPathName, &strFolder, &strName);
        CString strText;
        strText.Format(AfxLoadText(IDS_DOCUMENT_MISSING), static_cast<LPCSTR>(strName));
        AfxMessageBox(strText, MB_ICONSTOP);
        return FALSE;
    }
    m_nWidth = static_cast<int>(pFirst->Width());
    m_nHeight = static_cast<int>(pFirst->Height());
    const BITMAPINFOHEADER* pHeader = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(pFirst->GetHandle()));
    if (pHeader != nullptr) {
        m_nBitCount = pHeader->biBitCount;
        ::GlobalUnlock(pFirst->GetHandle());
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CGifDoc::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    CDocument::SetPathName(lpszPathName, bAddToMRU);
    char szTitle[256];
    if (::GetFileTitleA(lpszPathName, szTitle, sizeof(szTitle)) == 0) {
        ::CharUpperA(szTitle);
        SetTitle(szTitle);
    }
}
