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

BOOL SavePictureDocumentAs(CDocument* pDoc, HGLOBAL hDIB, LPCSTR path, CString* pFolderTitle)
{
    SetAppCursor(kAppCursorBusy);
    int nResult = 1;
    DWORD dwError = ERROR_SUCCESS;
    switch (PictureFormatOfPath(path)) {
    case kPictureFormatJPEG:
        nResult = SaveJPEG(hDIB, path, std::max(1, std::min(100, 100 - g_TauxJPEG)), nullptr, &dwError);
        break;
    case kPictureFormatPNG:
        nResult = SavePNG(hDIB, path, &dwError);
        break;
    case kPictureFormatBMP:
        nResult = SaveDIBFile(hDIB, path, &dwError);
        break;
    default:
        break;
    }
    RestoreAppCursor();
    if (nResult != 0) {
        // Why, after the message, as the library says its failures.
        CString strText = AfxLoadText(IDS_SAVE_PICTURE_FAILED);
        const CString strCause = FileCauseText(dwError, path);
        if (!strCause.IsEmpty())
            strText += " " + strCause;
        AfxMessageBox(strText, MB_ICONSTOP);
        return FALSE;
    }
    pFolderTitle->Empty();
    pDoc->SetPathName(path, TRUE);
    // The saved file heads the recent list, once, as the opens put their files there.
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->PromoteRecentEntry(path);
    return TRUE;
}
