// The still-picture document: loading, the picture handed over for new windows, and the title.
#include "viewers/DibDoc.h"

#include "shell/LoadErrorDlg.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "core/BmpFile.h"
#include "core/BusyCursor.h"
#include "core/ReaderSettings.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "viewers/ViewerGlobals.h"

#include <algorithm>
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
    }
    return TRUE;
}

BOOL CDibDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    // One wait cursor for the whole open, retries included.
    SetAppCursor(kAppCursorBusy);
    CString strPath = lpszPathName;
    for (;;) {
        if (FileExists(strPath)) {
            m_dib.Read(strPath, "");
            if (!m_dib.IsEmpty())
                break;
        }
        CString strNewPath;
        if (CLoadErrorDlg::AskForRetry(strPath, &strNewPath) != IDOK) {
            RestoreAppCursor();
            return FALSE;
        }
        strPath = strNewPath;
    }
    RestoreAppCursor();
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
    char szTitle[256];
    if (::GetFileTitleA(lpszPathName, szTitle, sizeof(szTitle)) != 0)
        return;
    if (!m_strFolderTitle.IsEmpty()) {
        CString strTitle;
        strTitle.Format(AfxLoadText(IDS_PICTURE_IN_FOLDER), szTitle, static_cast<LPCSTR>(m_strFolderTitle));
        SetTitle(strTitle);
    } else {
        ::CharUpperA(szTitle);
        SetTitle(szTitle);
    }
}

namespace {

enum SaveFormat { kSaveNone, kSaveJPEG, kSavePNG, kSaveBMP };

// The format is named by the first three letters of the extension: JPG, JPE (jpeg), PNG, BMP.
SaveFormat FormatOfPath(LPCSTR path)
{
    LPCSTR pName = std::strrchr(path, '\\');
    pName = pName != nullptr ? pName + 1 : path;
    LPCSTR pDot = std::strrchr(pName, '.');
    if (pDot == nullptr)
        return kSaveNone;
    CString strExt(pDot + 1);
    strExt = strExt.Left(3);
    if (strExt.CompareNoCase("JPG") == 0 || strExt.CompareNoCase("JPE") == 0)
        return kSaveJPEG;
    if (strExt.CompareNoCase("PNG") == 0)
        return kSavePNG;
    if (strExt.CompareNoCase("BMP") == 0)
        return kSaveBMP;
    return kSaveNone;
}

} // namespace

BOOL CDibDoc::SavePictureAs(LPCSTR path)
{
    HGLOBAL hDIB = m_dib.GetHandle();
    if (hDIB == nullptr)
        return FALSE;
    SetAppCursor(kAppCursorBusy);
    int nResult = 1;
    switch (FormatOfPath(path)) {
    case kSaveJPEG:
        nResult = SaveJPEG(hDIB, path, std::max(1, std::min(100, 100 - g_TauxJPEG)));
        break;
    case kSavePNG:
        nResult = SavePNG(hDIB, path);
        break;
    case kSaveBMP:
        nResult = SaveDIBFile(hDIB, path);
        break;
    case kSaveNone:
        break;
    }
    RestoreAppCursor();
    if (nResult != 0) {
        AfxMessageBox(AfxLoadText(IDS_SAVE_PICTURE_FAILED), MB_ICONSTOP);
        return FALSE;
    }
    // The document is the saved file from now on, titled as any file opened outside the library.
    m_strFolderTitle.Empty();
    SetPathName(path, TRUE);
    // The saved file heads the recent list, once, as the opens put their files there.
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->PromoteRecentEntry(path);
    return TRUE;
}

void CDibDoc::OnFileSaveAs()
{
    if (m_dib.IsEmpty())
        return;
    // The dialog asks before an existing file is chosen for replacement.
    CFileDialog dlg(FALSE, "bmp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Image JPEG (*.jpg)|*.jpg|Image PNG (*.png)|*.png|Image BMP (*.bmp)|*.bmp||",
                    AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return;
    SavePictureAs(dlg.GetPathName());
}

void CDibDoc::OnUpdateFileSaveAs(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_dib.IsEmpty()); }

// The picture is never changed in place: there is nothing to save back.
void CDibDoc::OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
