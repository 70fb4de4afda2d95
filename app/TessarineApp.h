// CTessarineApp: the application object (single instance and command-line hand-over, shared fonts,
// icons, cursors, palette and file-type image list, the five document templates, opening documents
// and new windows), with the process-wide state it owns.
#pragma once
#include "framework/CommonControls.h"
#include "framework/Gdi.h"
#include "framework/WinApp.h"

#include <vector>

class CCmdUI;
class CDocTemplate;
class CDocument;

// The shared fonts, icons, cursors and file-type image list.
#include "shell/SharedUi.h"

// Start-up state.
extern BOOL g_bSplashUp;            // the splash window shows and the first input takes it down
extern BOOL g_bNoFileOnCommandLine; // started without a path: the start-up dialogs may show
extern BOOL g_bStartupDialogShown;  // start-up took the splash down (the welcome dialog needs it)

// Positions of the document templates (1 first), in the order they are registered.
enum TemplatePosition {
    kTemplateExplorer = 1, // folder explorer (resource 40)
    kTemplateDib = 2,      // still picture (41)
    kTemplateGif = 3,      // animated GIF (42)
    kTemplatePrintLib = 4, // picture-list printing (69)
    kTemplateSearch = 5,   // search results (400)
};

// The path a raw command line names: the whole text is one path, without the blanks around it and
// without one pair of double quotes around the whole (shells quote paths that hold blanks).
CString CommandLinePath(LPCSTR rawCommandLine);
// Hands a command line to the running instance's main window: one WM_OPENPATHCHAR per byte, the
// terminating zero included (an empty line sends the zero alone). FALSE when a post failed.
BOOL HandOverCommandLine(HWND hWndTarget, LPCSTR rawCommandLine);

// Where "mainwin" puts the main window: the normal rectangle and the show state, from the stored
// "Pos" text (left top right bottom, blank-separated) and "Maximized", on a screen of that size.
struct MainWindowPlacement {
    RECT rect;
    BOOL maximized;
};
MainWindowPlacement ComputeMainWindowPlacement(LPCSTR pos, int maximized, int screenWidth, int screenHeight);

class CTessarineApp : public CWinApp {
public:
    CTessarineApp();
    ~CTessarineApp() override;

    // The application palette every view and list realises.
    CPalette* GetPalette() { return &m_palApp; }

    BOOL InitInstance() override;
    // Takes the splash down at the first key, click or command, then the usual translation.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Which messages start an update of the bars: not the logo's frames, which change no command's
    // state, and the dispatcher's ticks only every kTickIdleSpacing ms.
    BOOL IsIdleMessage(MSG* pMsg) override;
    static const DWORD kTickIdleSpacing = 500;
    int ExitInstance() override;
    // The command line, read in wide characters when the system gave them, each letter the code page
    // lacks marked: an ANSI read would give its look-alike, the path of another file.
    CString CommandLineText() const;
    // The single entry for opening a path: activates a window already showing it, refuses a path
    // marked for letters the code page lacks (it names no file), sends a folder to an explorer window,
    // reports a missing file, picks the template by the file's type and keeps the
    // recent list. The new document, or null (activated, nothing opened, or missing).
    CDocument* OpenDocumentFile(LPCSTR lpszFileName) override;
    // Opens each path in turn (a drop, a selection of the open dialog); the files of no known type
    // among them are refused in one message.
    void OpenDocumentFiles(const std::vector<CString>& paths);
    // Every help request opens the help file's contents.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

    // Places the main window as section "mainwin" says.
    void RestoreWindowPlacement();

    // New windows of each kind, with no path.
    void NewExplorerWindow();
    // The picture-list print window: never shown, it prints the library bar's list and closes.
    void NewPrintLibWindow();
    void NewSearchWindow();
    // A new still-picture window on a picture in memory; the window's document takes the handle
    // (0: nothing happens). A handle no document took is freed. A pasted or scanned picture exists
    // in no file: its window asks to save it before it closes.
    void NewImageWindow(HGLOBAL hDIB);
    // Activates the explorer window showing exactly that folder, or opens one on it.
    void OpenExplorerOnFolder(LPCSTR lpszFolder);

    // The template at a position (TemplatePosition), or null.
    CDocTemplate* GetTemplate(int nPosition) const;

    CPalette m_palApp;
    CString m_strMachineKey;

    // The main window's class and the settings' company key. Tests choose their own, so that their
    // windows and settings never meet those of a program running beside them.
    CString m_strWindowClass;
    CString m_strCompanyKey;

    BOOL m_bClassRegistered = FALSE;
    HWND m_hWndOtherInstance = nullptr; // the running instance found at start-up
    BOOL m_bComInitialized = FALSE;

    void OnFileOpen();
    void OnFileNew() {}
    // The About box.
    void OnAppAbout();

    // File associations: TRUE when not wanted ("AssocDib") or every kind "AssocDetail" selects is in
    // place; writing them; and the start-up check that offers to repair them.
    BOOL CheckAssociations();
    void RegisterAssociations();
    void CheckAssociationsAtStartup();
    void OnUpdateFileNew(CCmdUI* pCmdUI);

    // Start-up steps, in the order InitInstance runs them (the tests run some alone).
    // The running instance's main window, or null.
    HWND FindRunningInstance() const;
    BOOL RegisterWindowClass();
    void UnregisterWindowClass();
    void SetSettingsKey();
    void CreateSharedImageList();
    void LoadSharedIcons();
    void FreeSharedIcons();
    void RegisterTemplates();
    BOOL CreateMainFrame();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void CreateFonts();
    static void DeleteFonts();

    DWORD m_dwLastIdleStart = 0; // when the last message that starts an update of the bars came
    // While OpenDocumentFiles runs: the files refused for their type, said at its end.
    std::vector<CString>* m_pRefusedTypes = nullptr;
};

// The process's application object, or null.
CTessarineApp* TessarineApp();
