// The still-picture document: loading, the picture handed over for new windows, and the title.
#include "viewers/DibDoc.h"

#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "core/ReaderSettings.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "viewers/PictureDocument.h"
#include "viewers/ViewerGlobals.h"

#include <cstring>

IMPLEMENT_DYNCREATE(CDibDoc, CDocument)

BEGIN_MESSAGE_MAP(CDibDoc, CDocument)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSaveAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
END_MESSAGE_MAP()

CDibDoc::CDibDoc() : m_strFolderTitle(g_strOpenFolderTitle), m_sizeDoc(1, 1) {}

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
        // Pasted or scanned, it exists in no file: it is not lost without a question.
        SetModifiedFlag(TRUE);
    }
    return TRUE;
}

BOOL CDibDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    CString strPath;
    if (!OpenWithRetry(
            lpszPathName,
            [this](const CString& path) {
                m_dib.Read(path, "");
                return !m_dib.IsEmpty();
            },
            &strPath))
        return FALSE;
    m_strLoadedPath = strPath;
    m_dwFileLength = GetFileLength(strPath);
    TakeMeasures();
    SetModifiedFlag(FALSE);
    // The framework names the document after the path it asked for; the one read wins.
    m_bTakeLoadedPath = TRUE;
    return TRUE;
}

void CDibDoc::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    if (m_bTakeLoadedPath) {
        m_bTakeLoadedPath = FALSE;
        lpszPathName = m_strLoadedPath;
    }
    CDocument::SetPathName(lpszPathName, bAddToMRU);
    SetPictureTitle(this, lpszPathName, m_strFolderTitle);
}

BOOL CDibDoc::SavePictureAs(LPCSTR path)
{
    HGLOBAL hDIB = m_dib.GetHandle();
    if (hDIB == nullptr)
        return FALSE;
    if (!SavePictureDocumentAs(this, hDIB, path, &m_strFolderTitle))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDibDoc::AskAndSave()
{
    if (m_dib.IsEmpty())
        return FALSE;
    // The dialog asks before an existing file is chosen for replacement.
    CFileDialog dlg(FALSE, "bmp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Image JPEG (*.jpg)|*.jpg|Image PNG (*.png)|*.png|Image BMP (*.bmp)|*.bmp||",
                    AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return FALSE;
    return SavePictureAs(dlg.GetPathName());
}

void CDibDoc::OnFileSaveAs() { AskAndSave(); }

BOOL CDibDoc::DoFileSave() { return AskAndSave(); }

void CDibDoc::OnUpdateFileSaveAs(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_dib.IsEmpty()); }

// The picture is never changed in place: there is nothing to save back.
void CDibDoc::OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
