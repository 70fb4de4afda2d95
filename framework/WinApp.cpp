// CWinApp: the application object, profile settings, documents, message boxes, help and the entry.
#include "framework/WinApp.h"

#include "framework/CmdUI.h"
#include "framework/CodePageText.h"
#include "framework/CommonDialogs.h"
#include "framework/DocTemplate.h"
#include "framework/Exceptions.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/HandleMap.h"
#include "framework/MessageText.h"
#include "framework/PathDoor.h"
#include "framework/RecentFileList.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "framework/Wnd.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;

// The hourglass count when there is no application object.
int g_nWaitCount = 0;
HCURSOR g_hcurRestore = nullptr;

LPCSTR Dup(LPCSTR s) { return s != nullptr ? _strdup(s) : nullptr; }
void Free(LPCSTR& s)
{
    std::free(const_cast<char*>(s));
    s = nullptr;
}

} // namespace

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr)
        return pThread->GetMainWnd();
    return g_pApp != nullptr ? g_pApp->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_hInstance != nullptr ? g_hInstance : ::GetModuleHandleA(nullptr);
}
void AfxSetInstanceHandle(HINSTANCE hInst) { g_hInstance = hInst; }
LPCSTR AfxGetAppName() { return g_pApp != nullptr ? g_pApp->m_pszAppName : ""; }

// ---- construction ----

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    g_pApp = this;
    // The application object is constructed on the main thread, which it stands for.
    AfxSetThread(this);
    m_nThreadID = ::GetCurrentThreadId();

    char szModule[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    char* pszName = std::strrchr(szModule, '\\');
    pszName = pszName != nullptr ? pszName + 1 : szModule;
    char szExe[MAX_PATH];
    lstrcpynA(szExe, pszName, MAX_PATH);
    if (char* pDot = std::strrchr(szExe, '.'))
        *pDot = '\0';
    m_pszExeName = Dup(szExe);

    if (lpszAppName != nullptr) {
        m_pszAppName = Dup(lpszAppName);
    } else {
        char szTitle[256] = "";
        if (::LoadStringA(AfxGetResourceHandle(), AFX_IDS_APP_TITLE, szTitle, sizeof(szTitle)) > 0)
            m_pszAppName = Dup(szTitle);
        else
            m_pszAppName = Dup(szExe);
    }
    // Without a registry key the settings go to <program>.INI.
    CString strIni = CString(szExe) + ".INI";
    m_pszProfileName = Dup(strIni);
}

CWinApp::~CWinApp()
{
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != nullptr;)
        delete static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
    m_templateList.RemoveAll();
    delete m_pRecentFileList;
    if (m_hDevMode != nullptr)
        ::GlobalFree(m_hDevMode);
    if (m_hDevNames != nullptr)
        ::GlobalFree(m_hDevNames);
    Free(m_pszAppName);
    Free(m_pszExeName);
    Free(m_pszHelpFilePath);
    Free(m_pszProfileName);
    Free(m_pszRegistryKey);
    if (g_pApp == this)
        g_pApp = nullptr;
    if (AfxGetThread() == this)
        AfxSetThread(nullptr);
}

int CWinApp::ExitInstance()
{
    if (m_bStdProfileLoaded)
        SaveStdProfileSettings();
    return static_cast<int>(m_msgCur.wParam);
}

int CWinApp::Run()
{
    if (m_pMainWnd == nullptr)
        ::PostQuitMessage(0); // nothing to run for
    return CWinThread::Run();
}

// ---- profile ----

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    Free(m_pszRegistryKey);
    m_pszRegistryKey = Dup(lpszRegistryKey);
    Free(m_pszProfileName);
    m_pszProfileName = Dup(m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey = AfxLoadText(nIDRegistryKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey(BOOL bCreate)
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    CString strPath = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
    HKEY hKey = nullptr;
    LONG lResult = bCreate
                       ? ::RegCreateKeyExA(HKEY_CURRENT_USER, strPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr)
                       : ::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ | KEY_WRITE, &hKey);
    return lResult == ERROR_SUCCESS ? hKey : nullptr;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection, BOOL bCreate)
{
    HKEY hAppKey = GetAppRegistryKey(bCreate);
    if (hAppKey == nullptr)
        return nullptr;
    HKEY hKey = nullptr;
    LONG lResult = bCreate ? ::RegCreateKeyExA(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr)
                           : ::RegOpenKeyExA(hAppKey, lpszSection, 0, KEY_READ | KEY_WRITE, &hKey);
    ::RegCloseKey(hAppKey);
    return lResult == ERROR_SUCCESS ? hKey : nullptr;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == nullptr)
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    HKEY hKey = GetSectionKey(lpszSection, FALSE);
    if (hKey == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD dwType = 0;
    DWORD dwValue = 0;
    DWORD dwSize = sizeof(dwValue);
    LONG lResult =
        ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwValue), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || dwSize != sizeof(dwValue))
        return static_cast<UINT>(nDefault);
    return dwValue;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey == nullptr) {
        char szValue[16];
        wsprintfA(szValue, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szValue, m_pszProfileName);
    }
    HKEY hKey = GetSectionKey(lpszSection, TRUE);
    if (hKey == nullptr)
        return FALSE;
    DWORD dwValue = static_cast<DWORD>(nValue);
    LONG lResult = ::RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                    sizeof(dwValue));
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CString strDefault(lpszDefault != nullptr ? lpszDefault : "");
    if (m_pszRegistryKey == nullptr) {
        char szValue[4096];
        ::GetPrivateProfileStringA(lpszSection, lpszEntry, strDefault, szValue, sizeof(szValue),
                                   m_pszProfileName);
        return CString(szValue);
    }
    HKEY hKey = GetSectionKey(lpszSection, FALSE);
    if (hKey == nullptr)
        return strDefault;
    DWORD dwType = 0;
    DWORD dwSize = 0;
    CString strValue = strDefault;
    if (::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &dwSize) == ERROR_SUCCESS
        && dwType == REG_SZ) {
        CString strRead;
        LPSTR pBuf = strRead.GetBuffer(static_cast<int>(dwSize) + 1);
        DWORD dwRead = dwSize;
        if (::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(pBuf), &dwRead)
                == ERROR_SUCCESS
            && dwType == REG_SZ) {
            pBuf[dwRead <= dwSize ? dwRead : dwSize] = '\0'; // a value stored without its terminator
            strRead.ReleaseBuffer();
            strValue = strRead;
        } else {
            strRead.ReleaseBuffer(0);
        }
    }
    ::RegCloseKey(hKey);
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (m_pszRegistryKey == nullptr)
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    if (lpszEntry == nullptr) {
        HKEY hAppKey = GetAppRegistryKey(FALSE);
        if (hAppKey == nullptr)
            return TRUE;
        LONG lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
    }
    HKEY hKey = GetSectionKey(lpszSection, lpszValue != nullptr);
    if (hKey == nullptr)
        return lpszValue == nullptr;
    LONG lResult;
    if (lpszValue == nullptr) {
        lResult = ::RegDeleteValueA(hKey, lpszEntry);
        if (lResult == ERROR_FILE_NOT_FOUND)
            lResult = ERROR_SUCCESS;
    } else {
        lResult = ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                   static_cast<DWORD>(std::strlen(lpszValue) + 1));
    }
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU > ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1)
        nMaxMRU = ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU != 0) {
        m_pRecentFileList =
            new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
        m_pRecentFileList->ReadList();
    }
    m_bStdProfileLoaded = TRUE;
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->Add(lpszPathName);
}

// ---- documents ----

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

int CWinApp::GetOpenDocumentCount()
{
    int nCount = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc != nullptr;) {
            pTemplate->GetNextDoc(posDoc);
            nCount++;
        }
    }
    return nCount;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;)
        GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        if (!GetNextDocTemplate(pos)->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    if (lpszFileName == nullptr || *lpszFileName == '\0')
        return nullptr;
    char szFull[MAX_PATH * 2];
    if (::GetFullPathNameA(lpszFileName, sizeof(szFull), szFull, nullptr) == 0)
        lstrcpynA(szFull, lpszFileName, sizeof(szFull));

    CDocTemplate* pBest = nullptr;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CDocument* pOpen = nullptr;
        CDocTemplate::Confidence match = pTemplate->MatchDocType(szFull, pOpen);
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpen->ActivateFirstFrame();
            return pOpen;
        }
        if (match == CDocTemplate::yesAttemptNative && pBest == nullptr)
            pBest = pTemplate;
    }
    if (pBest == nullptr) {
        POSITION pos = GetFirstDocTemplatePosition();
        if (pos == nullptr)
            return nullptr;
        pBest = GetNextDocTemplate(pos);
    }
    return pBest->OpenDocumentFile(szFull);
}

// ---- message boxes, help, cursor ----

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    CWnd* pOwner = CWnd::GetSafeOwner(nullptr, nullptr);
    return AfxShowMessageBox(AfxSafeHwnd(pOwner), AfxFitMessageText(lpszPrompt), m_pszAppName, nType);
}

int AfxShowMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    // A name the code page cannot spell reaches a message marked; the user reads a question mark for
    // each letter missing, as the refusals of such names show it, never the mark.
    const CString text = AfxMarkedTextShown(lpszText);
    int nAnswer = 0;
    if (AfxTestTakeMessageBox(text, nType, &nAnswer))
        return nAnswer;
    CFocusKeeper focus;
    return ::MessageBoxA(hOwner, text, lpszCaption, nType);
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return AfxShowMessageBox(nullptr, AfxFitMessageText(lpszText), nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt = AfxLoadText(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    AfxPlatform().pfnWinHelp(AfxSafeHwnd(AfxGetMainWnd()), m_pszHelpFilePath, nCmd, dwData);
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        // Nested begins keep the cursor saved by the first one.
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hcurPrev;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore != nullptr ? m_hcurWaitCursorRestore
                                                       : ::LoadCursorA(nullptr, IDC_ARROW));
    }
}

void AfxDoWaitCursor(int nCode)
{
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->DoWaitCursor(nCode);
        return;
    }
    g_nWaitCount += nCode;
    if (g_nWaitCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && g_nWaitCount == 1)
            g_hcurRestore = hcurPrev;
    } else {
        g_nWaitCount = 0;
        ::SetCursor(g_hcurRestore != nullptr ? g_hcurRestore : ::LoadCursorA(nullptr, IDC_ARROW));
    }
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName);
}

// ---- command line ----

void CCommandLineInfo::ParseParam(LPCSTR lpszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (::lstrcmpiA(lpszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (::lstrcmpiA(lpszParam, "pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (::lstrcmpiA(lpszParam, "dde") == 0)
            m_nShellCommand = FileDDE;
        else if (::lstrcmpiA(lpszParam, "nologo") == 0)
            m_bShowSplash = FALSE;
        else if (::lstrcmpiA(lpszParam, "embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (::lstrcmpiA(lpszParam, "automation") == 0)
            m_bRunAutomated = TRUE;
        else if (::lstrcmpiA(lpszParam, "unregister") == 0 || ::lstrcmpiA(lpszParam, "unregserver") == 0)
            m_nShellCommand = AppUnregister;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = lpszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.IsEmpty())
            m_strPrinterName = lpszParam;
        else if (m_strDriverName.IsEmpty())
            m_strDriverName = lpszParam;
        else if (m_strPortName.IsEmpty())
            m_strPortName = lpszParam;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < __argc; i++) {
        LPCSTR pszParam = __argv[i];
        BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i == __argc - 1);
    }
}

// ---- entry ----

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    AfxSetInstanceHandle(hInstance);
    AfxSetResourceHandle(hInstance);
    pApp->m_hInstance = hInstance;
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_lpWideCmdLine = AfxCommandLineTail(::GetCommandLineW());
    pApp->m_nCmdShow = nCmdShow;
    AfxSetThread(pApp);

    int nReturnCode = -1;
    // Nothing may leave the program's entry: a failure is reported, and the program ends.
    try {
        if (pApp->InitApplication() && pApp->InitInstance()) {
            nReturnCode = pApp->Run();
        } else {
            if (pApp->m_pMainWnd != nullptr)
                pApp->m_pMainWnd->DestroyWindow();
            nReturnCode = pApp->ExitInstance();
        }
    } catch (const CException& e) {
        char text[512] = "";
        if (!e.GetErrorMessage(text, sizeof(text)) || text[0] == '\0')
            lstrcpynA(text, AfxFrameworkText(AFX_IDP_INTERNAL_FAILURE), sizeof(text));
        AfxShowMessageBox(nullptr, AfxFitMessageText(text), pApp->m_pszAppName, MB_ICONSTOP);
    } catch (...) {
        AfxShowMessageBox(nullptr, AfxFrameworkText(AFX_IDP_INTERNAL_FAILURE), pApp->m_pszAppName,
                          MB_ICONSTOP);
    }
    AfxDeleteTempMaps();
    return nReturnCode;
}
