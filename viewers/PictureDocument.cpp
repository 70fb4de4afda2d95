// Picture documents: the retry loop of an open, the title and the writers by extension.
#include "viewers/PictureDocument.h"

#include "shell/FileCause.h"
#include "shell/LoadErrorDlg.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "core/BmpFile.h"
#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "viewers/PictureSave.h"

#include <commdlg.h>

#include <algorithm>

BOOL OpenWithRetry(LPCSTR lpszPathName, const std::function<BOOL(const CString&)>& load, CString* pLoadedPath)
{
    SetAppCursor(kAppCursorBusy);
    CString strPath = lpszPathName;
    for (;;) {
        if (FileExists(strPath) && load(strPath))
            break;
        CString strNewPath;
        if (CLoadErrorDlg::AskForRetry(strPath, &strNewPath) != IDOK) {
            RestoreAppCursor();
            return FALSE;
        }
        strPath = strNewPath;
    }
    RestoreAppCursor();
    *pLoadedPath = strPath;
    return TRUE;
}

void SetPictureTitle(CDocument* pDoc, LPCSTR lpszPathName, const CString& strFolderTitle)
{
    char szTitle[MAX_PATH];
    if (::GetFileTitleA(lpszPathName, szTitle, sizeof(szTitle)) != 0)
        return;
    if (!strFolderTitle.IsEmpty()) {
        CString strTitle;
        strTitle.Format(AfxLoadText(IDS_PICTURE_IN_FOLDER), szTitle, static_cast<LPCSTR>(strFolderTitle));
        pDoc->SetTitle(strTitle);
    } else {
        ::CharUpperA(szTitle);
        pDoc->SetTitle(szTitle);
    }
}

namespace {

// Writes the picture in the format of path's extension: 0 when written, else *pError takes why (or
// ERROR_SUCCESS when the picture itself was refused or no writer has that format).
int WritePictureFile(HGLOBAL hDIB, LPCSTR path, DWORD* pError)
{
    *pError = ERROR_SUCCESS;
    switch (PictureFormatOfPath(path)) {
    case kPictureFormatJPEG:
        return SaveJPEG(hDIB, path, std::max(1, std::min(100, 100 - g_TauxJPEG)), nullptr, pError);
    case kPictureFormatPNG:
        return SavePNG(hDIB, path, pError);
    case kPictureFormatBMP:
        return SaveDIBFile(hDIB, path, pError);
    default:
        return 1;
    }
}

} // namespace

BOOL SavePictureDocumentAs(CDocument* pDoc, HGLOBAL hDIB, LPCSTR path, CString* pFolderTitle)
{
    for (;;) {
        SetAppCursor(kAppCursorBusy);
        DWORD dwError = ERROR_SUCCESS;
        const int nResult = WritePictureFile(hDIB, path, &dwError);
        RestoreAppCursor();
        if (nResult == 0)
            break;
        // The file it could not write on a line of its own, then why, as a copy's box says them (a
        // long path shown by its beginning and end); a retry where one can succeed (a file another
        // program holds, a full disk).
        CString strText = AfxLoadText(IDS_SAVE_PICTURE_FAILED) + "\n" + path;
        const CString strCause = FileCauseText(dwError, path);
        if (!strCause.IsEmpty())
            strText += "\n" + strCause;
        const BOOL bRetry = dwError != ERROR_SUCCESS && CanSucceedLater(FileCauseOf(dwError, path));
        if (AfxMessageBox(strText, (bRetry ? MB_RETRYCANCEL : MB_OK) | MB_ICONSTOP) != IDRETRY || !bRetry)
            return FALSE;
    }
    pFolderTitle->Empty();
    pDoc->SetPathName(path, TRUE);
    // The saved file heads the recent list, once, as the opens put their files there.
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->PromoteRecentEntry(path);
    return TRUE;
}
