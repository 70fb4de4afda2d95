// CWinApp: the application object (start-up and exit, document templates, profile settings in the
// registry, the recent-file list, message boxes, help, the wait cursor), the command line and the
// global accessors.
#pragma once
#include "framework/Collections.h"
#include "framework/String.h"
#include "framework/WinThread.h"

#include <commdlg.h>

class CDocTemplate;
class CDocument;
class CRecentFileList;
class CCmdUI;
class CWnd;

// What the command line asks for.
class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo() = default;
    // Each argument, flags ('/' or '-') without their mark.
    virtual void ParseParam(LPCSTR lpszParam, BOOL bFlag, BOOL bLast);

    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // One per process, constructed before WinMain; the name defaults to string AFX_IDS_APP_TITLE, else the
    // program file's name.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hPrevInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr; // the command line after the program's own name
    // The same in wide characters, as the system gave it (null when not known): the ANSI line gives a
    // letter the code page lacks a look-alike.
    LPCWSTR m_lpWideCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // Heap strings (strdup) so that program code may replace them the usual way (free, then _strdup).
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    LPCSTR m_pszHelpFilePath = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    CRecentFileList* m_pRecentFileList = nullptr;
    HGLOBAL m_hDevMode = nullptr; // printer chosen in print set-up, kept across jobs
    HGLOBAL m_hDevNames = nullptr;
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;

    BOOL InitInstance() override { return TRUE; }
    // Saves the recent-file list (when it was loaded) and returns the exit code.
    int ExitInstance() override;
    int Run() override;
    virtual BOOL InitApplication() { return TRUE; }

    // Activates the document already open on that path, else opens it with the first template whose
    // filter matches its extension (the first template when none does). Null on failure.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    // Every message box of the program ends here (the test seams answer it while armed).
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // 1 begins, -1 ends, 0 restores the hourglass after something changed the cursor.
    virtual void DoWaitCursor(int nCode);
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    virtual BOOL SaveAllModified();

    // ---- profile settings: HKEY_CURRENT_USER\Software\<key>\<profile>\<section> ----
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Open keys the caller closes; null when there is no registry key or it cannot be opened.
    HKEY GetAppRegistryKey(BOOL bCreate = TRUE);
    HKEY GetSectionKey(LPCSTR lpszSection, BOOL bCreate = TRUE);
    // A REG_DWORD value, or nDefault when it is absent or of another type.
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // A REG_SZ value, or the default when it is absent or of another type.
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // A null entry removes the whole section, a null value removes the entry.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();

    // ---- documents ----
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const
    {
        return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
    }
    int GetOpenDocumentCount();
    void CloseAllDocuments(BOOL bEndSession);

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
    // The three-dimensional controls are the system's own today.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }

    // The printer of print set-up (the default one until chosen); FALSE when there is none.
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);

    // ---- standard commands (wired by a derived class's message map) ----
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    BOOL OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    void OnAppExit();
    void OnHelp();
    void OnHelpIndex();
    void OnHelpFinder();
    void OnHelpUsing();

    // The open or save dialog for documents; FALSE when cancelled.
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);

protected:
    DECLARE_MESSAGE_MAP()

private:
    CPtrList m_templateList;
    BOOL m_bStdProfileLoaded = FALSE;
};

// The application object, its main window and the module handles.
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
LPCSTR AfxGetAppName();
void AfxSetInstanceHandle(HINSTANCE hInst);

// A message box with the application's name as caption (French texts from the string table or the
// framework's own ids).
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The one way the program shows a message box: the system's box over hOwner, answered by a test's
// script when one waits, and the window that had the keys gets them back when it closes. A name marked
// for letters the code page lacks shows a question mark for each.
int AfxShowMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// The counted hourglass behind BeginWaitCursor/EndWaitCursor (works without an application object).
void AfxDoWaitCursor(int nCode);

// The framework's start-up: the single CWinApp's InitInstance, then its loop, then ExitInstance.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Shows the hourglass for its lifetime.
class CWaitCursor {
public:
    CWaitCursor() { AfxDoWaitCursor(1); }
    ~CWaitCursor() { AfxDoWaitCursor(-1); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore() { AfxDoWaitCursor(0); }
};

// Diagnostic traces show nothing.
inline void AfxTrace(LPCSTR, ...) {}
#ifndef TRACE
#define TRACE AfxTrace
#define TRACE0(s) AfxTrace(s)
#endif
