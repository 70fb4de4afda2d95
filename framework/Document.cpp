// CDocument.
#include "framework/Document.h"

#include "framework/Archive.h"
#include "framework/DocTemplate.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/SafeFileWrite.h"
#include "framework/StdIds.h"
#include "framework/View.h"
#include "framework/WinApp.h"

#include <commdlg.h>

#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

// The frames showing a document, each once, in view order.
std::vector<CFrameWnd*> FramesOf(const CDocument* pDoc)
{
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;) {
        CView* pView = pDoc->GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame == nullptr)
            continue;
        bool bKnown = false;
        for (CFrameWnd* p : frames)
            bKnown = bKnown || p == pFrame;
        if (!bKnown)
            frames.push_back(pFrame);
    }
    return frames;
}

} // namespace

CDocument::~CDocument()
{
    // Views outliving their document must not reach it any more.
    for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;)
        static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    char szFull[MAX_PATH * 2];
    if (::GetFullPathNameA(lpszPathName, sizeof(szFull), szFull, nullptr) == 0)
        lstrcpynA(szFull, lpszPathName, sizeof(szFull));
    m_strPathName = szFull;

    // The title is the name as the shell shows it; a folder path ("C:\Images\") gives its last part.
    CString strTitle;
    char szTitle[MAX_PATH];
    if (::GetFileTitleA(szFull, szTitle, sizeof(szTitle)) == 0 && szTitle[0] != '\0') {
        strTitle = szTitle;
    } else {
        CString strPath = m_strPathName;
        if (strPath.GetLength() > 3 && strPath[strPath.GetLength() - 1] == '\\')
            strPath = strPath.Left(strPath.GetLength() - 1);
        int nSlash = strPath.ReverseFind('\\');
        strTitle = nSlash >= 0 && nSlash + 1 < strPath.GetLength() ? strPath.Mid(nSlash + 1) : strPath;
    }
    SetTitle(strTitle);
    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::AddView(CView* pView)
{
    if (m_viewList.Find(pView) != nullptr)
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (pos == nullptr)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    std::vector<CFrameWnd*> frames = FramesOf(this);
    int nWindow = frames.size() > 1 ? 1 : 0;
    for (CFrameWnd* pFrame : frames) {
        pFrame->m_nWindow = nWindow;
        if (nWindow > 0)
            nWindow++;
        if (pFrame->m_hWnd != nullptr)
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    CFile* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return nullptr;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (bAbort) {
        pFile->Abort();
    } else {
        try {
            pFile->Close();
        } catch (const CException&) {
            delete pFile;
            throw;
        }
    }
    delete pFile;
}

void CDocument::ReportSaveLoadException(LPCSTR, const CException* e, BOOL bSaving, UINT nIDPDefault)
{
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return; // already reported
    char szText[512] = "";
    if (e == nullptr || !e->GetErrorMessage(szText, sizeof(szText)) || szText[0] == '\0') {
        UINT nID = nIDPDefault != 0 ? nIDPDefault
                                    : (bSaving ? AFX_IDP_FAILED_TO_SAVE_DOC : AFX_IDP_FAILED_TO_OPEN_DOC);
        lstrcpynA(szText, AfxLoadText(nID), sizeof(szText));
    }
    AfxMessageBox(szText, MB_ICONEXCLAMATION);
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (pFile == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(); // dirty while half read
    try {
        CWaitCursor wait;
        {
            CArchive ar(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
            ar.m_pDocument = this;
            if (pFile->GetLength() != 0)
                Serialize(ar);
            ar.Close();
        }
        ReleaseFile(pFile, FALSE);
    } catch (const CException& e) {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    // Written beside the target and moved over it once complete; on any failure the temporary
    // file goes with `output` and the earlier file stays as it was.
    CSafeFileWrite output(lpszPathName);
    if (!output.IsValid()) {
        ReportSaveLoadException(lpszPathName, nullptr, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    CFileException fe;
    CFile* pFile =
        GetFile(output.TempPath(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (pFile == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    try {
        CWaitCursor wait;
        {
            CArchive ar(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
            ar.m_pDocument = this;
            Serialize(ar);
            ar.Close();
        }
        ReleaseFile(pFile, FALSE);
    } catch (const CException& e) {
        ReleaseFile(pFile, TRUE);
        ReportSaveLoadException(lpszPathName, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    if (!output.Commit()) {
        const LONG error = static_cast<LONG>(::GetLastError());
        CFileException moveError(CFileException::OsErrorToException(error), error, output.TargetPath());
        ReportSaveLoadException(lpszPathName, &moveError, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The document stays alive while its frames go.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow(); // the view goes with it
        } else {
            pView->DestroyWindow();
        }
        // A view that did not leave (no window any more) is let go here.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    for (CFrameWnd* pFrame : FramesOf(this)) {
        if (pFrame != pFrameArg)
            return TRUE; // another frame keeps showing it
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString strName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CString strPrompt;
    strPrompt.FormatMessage(AfxFrameworkText(AFX_IDP_ASK_TO_SAVE), static_cast<LPCSTR>(strName));
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave()
{
    DWORD dwAttrib = ::GetFileAttributesA(m_strPathName);
    if (m_strPathName.IsEmpty()
        || (dwAttrib != INVALID_FILE_ATTRIBUTES && (dwAttrib & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString strNewName = lpszPathName != nullptr ? CString(lpszPathName) : CString();
    if (strNewName.IsEmpty()) {
        strNewName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        CWinApp* pApp = AfxGetApp();
        if (pApp == nullptr
            || !pApp->DoPromptFileName(strNewName, 0, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, FALSE,
                                       m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(strNewName))
        return FALSE;
    if (bReplace)
        SetPathName(strNewName);
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::ActivateFirstFrame()
{
    std::vector<CFrameWnd*> frames = FramesOf(this);
    if (!frames.empty())
        frames.front()->ActivateFrame();
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(nullptr); }
