// The animated-GIF document: decoding the frames with the load-error loop, the title, and saving the
// shown frame.
#include "viewers/GifDoc.h"

#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "core/DIB.h"
#include "core/FileUtil.h"
#include "formats/FormatGif.h"
#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameworkTexts.h"
#include "framework/StdIds.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "viewers/GifView.h"
#include "viewers/PictureDocument.h"
#include "viewers/ViewerGlobals.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNCREATE(CGifDoc, CDocument)

BEGIN_MESSAGE_MAP(CGifDoc, CDocument)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSaveAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
END_MESSAGE_MAP()

CGifDoc::CGifDoc() : m_strFolderTitle(g_strOpenFolderTitle), m_sizeDoc(1, 1) {}

CGifDoc::~CGifDoc() { DeleteContents(); }

CDIB* CGifDoc::GetFrame(int n) const
{
    if (n < 0 || n >= GetFrameCount())
        return nullptr;
    return static_cast<CDIB*>(m_arrFrames[n]);
}

HGLOBAL CGifDoc::GetFrameDIB(int n) const
{
    CDIB* pFrame = GetFrame(n);
    return pFrame != nullptr ? pFrame->GetHandle() : nullptr;
}

CPalette* CGifDoc::GetFramePalette(int n) const
{
    CDIB* pFrame = GetFrame(n);
    return pFrame != nullptr ? pFrame->GetPalette() : nullptr;
}

void CGifDoc::DeleteContents()
{
    for (INT_PTR i = 0; i < m_arrFrames.GetSize(); i++)
        delete m_arrFrames[i];
    m_arrFrames.RemoveAll();
    m_nWidth = m_nHeight = 0;
    m_nBitCount = 0;
    m_dwFileLength = 0;
    m_sizeDoc = CSize(1, 1);
}

BOOL CGifDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    CString strPath;
    if (!OpenWithRetry(
            lpszPathName,
            [this](const CString& path) {
                // A decode that failed half-way may have left frames: each attempt starts empty.
                DeleteContents();
                if (LoadAnimatedGIF(path, &m_arrFrames) > 0 && GetFrameDIB(0) != nullptr)
                    return TRUE;
                DeleteContents();
                return FALSE;
            },
            &strPath))
        return FALSE;
    m_strLoadedPath = strPath;
    m_dwFileLength = GetFileLength(strPath);
    HGLOBAL hFirst = GetFrameDIB(0);
    const BITMAPINFOHEADER* pHeader = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hFirst));
    if (pHeader != nullptr) {
        m_nWidth = pHeader->biWidth;
        m_nHeight = pHeader->biHeight < 0 ? -pHeader->biHeight : pHeader->biHeight;
        m_nBitCount = pHeader->biBitCount;
        ::GlobalUnlock(hFirst);
    }
    m_sizeDoc = CSize(std::max(1, m_nWidth), std::max(1, m_nHeight));
    SetModifiedFlag(FALSE);
    // The framework names the document after the path it asked for; the one read wins.
    m_bTakeLoadedPath = TRUE;
    return TRUE;
}

void CGifDoc::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    if (m_bTakeLoadedPath) {
        m_bTakeLoadedPath = FALSE;
        lpszPathName = m_strLoadedPath;
    }
    CDocument::SetPathName(lpszPathName, bAddToMRU);
    SetPictureTitle(this, lpszPathName, m_strFolderTitle);
}

int CGifDoc::GetShownFrame() const
{
    POSITION pos = GetFirstViewPosition();
    CView* pView = pos != nullptr ? GetNextView(pos) : nullptr;
    if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CGifView)))
        return 0;
    return static_cast<CGifView*>(pView)->GetCurrentFrame();
}

BOOL CGifDoc::SaveFrameAs(int n, LPCSTR path)
{
    HGLOBAL hDIB = GetFrameDIB(n);
    if (hDIB == nullptr)
        return FALSE;
    return SavePictureDocumentAs(this, hDIB, path, &m_strFolderTitle);
}

void CGifDoc::OnFileSaveAs()
{
    int nFrame = GetShownFrame();
    if (GetFrameDIB(nFrame) == nullptr)
        return;
    CFileDialog dlg(FALSE, "bmp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Image JPEG (*.jpg)|*.jpg|Image PNG (*.png)|*.png|Image BMP (*.bmp)|*.bmp||",
                    AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return;
    SaveFrameAs(nFrame, dlg.GetPathName());
}

void CGifDoc::OnUpdateFileSaveAs(CCmdUI* pCmdUI) { pCmdUI->Enable(GetFrameCount() > 0); }

// The GIF is never written back.
void CGifDoc::OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
