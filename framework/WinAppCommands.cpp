// CWinApp's standard commands: new, open, print set-up, recent files, exit and help.
#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkTexts.h"
#include "framework/RecentFileList.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

void CWinApp::OnFileNew()
{
    POSITION pos = GetFirstDocTemplatePosition();
    if (pos != nullptr)
        GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString strName;
    if (DoPromptFileName(strName, 0, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        OpenDocumentFile(strName);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    // Filter: the template's own type (or every template's), then all files.
    CString strFilter;
    CString strDefExt;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* pT = GetNextDocTemplate(pos);
        if (pTemplate != nullptr && pT != pTemplate)
            continue;
        CString strName;
        CString strExt;
        if (pT->GetDocString(strName, CDocTemplate::filterName) && !strName.IsEmpty()
            && pT->GetDocString(strExt, CDocTemplate::filterExt) && !strExt.IsEmpty()) {
            strFilter += strName + "|" + (strExt[0] == '.' ? CString("*") + strExt : strExt) + "|";
            if (strDefExt.IsEmpty() && strExt[0] == '.')
                strDefExt = strExt.Mid(1);
        }
    }
    strFilter += CString(AfxFrameworkText(AFX_IDS_ALLFILTER)) + "|*.*||";

    CFileDialog dlg(bOpenFileDialog, strDefExt.IsEmpty() ? nullptr : static_cast<LPCSTR>(strDefExt), fileName,
                    lFlags, strFilter);
    CString strTitle;
    if (nIDSTitle != 0) {
        strTitle = AfxLoadText(nIDSTitle);
        if (!strTitle.IsEmpty())
            dlg.m_ofn.lpstrTitle = strTitle;
    }
    if (dlg.DoModal() != IDOK)
        return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg)
{
    if (m_hDevNames == nullptr) {
        // The default printer, found without showing anything.
        PRINTDLGA pd = {};
        pd.lStructSize = sizeof(pd);
        pd.Flags = PD_RETURNDEFAULT;
        if (::PrintDlgA(&pd)) {
            m_hDevMode = pd.hDevMode;
            m_hDevNames = pd.hDevNames;
        }
    }
    pPrintDlg->hDevMode = m_hDevMode;
    pPrintDlg->hDevNames = m_hDevNames;
    return m_hDevNames != nullptr;
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dlg(TRUE);
    PRINTDLGA pd = {};
    GetPrinterDeviceDefaults(&pd);
    dlg.m_pd.hDevMode = m_hDevMode;
    dlg.m_pd.hDevNames = m_hDevNames;
    if (dlg.DoModal() == IDOK) {
        // The dialog may have made new blocks: keep them, free the old ones.
        if (m_hDevMode != nullptr && m_hDevMode != dlg.m_pd.hDevMode)
            ::GlobalFree(m_hDevMode);
        if (m_hDevNames != nullptr && m_hDevNames != dlg.m_pd.hDevNames)
            ::GlobalFree(m_hDevNames);
        m_hDevMode = dlg.m_pd.hDevMode;
        m_hDevNames = dlg.m_pd.hDevNames;
    }
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (m_pRecentFileList == nullptr)
        return FALSE;
    int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[nIndex].IsEmpty())
        return FALSE;
    CString strPath = (*m_pRecentFileList)[nIndex];
    if (OpenDocumentFile(strPath) == nullptr)
        m_pRecentFileList->Remove(nIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList == nullptr)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp()
{
    // The active window may know its own topic; otherwise the contents.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->SendMessage(WM_COMMANDHELP, 0, 0))
        return;
    WinHelp(0, HELP_CONTENTS);
}

void CWinApp::OnHelpIndex() { WinHelp(0, HELP_CONTENTS); }
void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CWinApp::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }
