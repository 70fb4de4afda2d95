// The test seams: scripted answers for modal dialogs, message boxes, common dialogs and pop-up menus,
// and the replaceable platform calls (shell, help, MCI, scanner, screen depth, file writes). Until a
// test arms them the program behaves exactly as without them: every call goes to the real system.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CWnd;

// ---- replaceable platform calls (defaults: the real ones) ----

struct AfxPlatformCalls {
    HINSTANCE(WINAPI* pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    BOOL(WINAPI* pfnWinHelp)(HWND, LPCSTR, UINT, ULONG_PTR);
    MCIERROR(WINAPI* pfnMciSendCommand)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
    MCIERROR(WINAPI* pfnMciSendString)(LPCSTR, LPSTR, UINT, HWND);
    // The folder where the scanner source manager TWAIN_32.DLL is looked for (the Windows folder):
    // fills the buffer like GetWindowsDirectory and returns the length, 0 on failure.
    UINT(WINAPI* pfnScannerFolder)(LPSTR, UINT);
    // Bits per pixel of the screen (planes times bits).
    int (*pfnScreenBitsPerPixel)();
    // The write of a file's bytes (WriteFile), through which a test gives a disk that fills.
    BOOL(WINAPI* pfnWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
};

AfxPlatformCalls& AfxPlatform();
void AfxResetPlatform();

// The disk flush of a file that replaces an earlier one (FlushFileBuffers). A test program turns the
// flushes off once for all its tests, so that no test's time depends on the disk (other programs'
// writes were seen to hold one flush for a minute); the flushes asked for are still counted.
BOOL AfxFlushFileBuffers(HANDLE hFile);
void AfxTestSkipDiskFlushes();
LONG AfxTestDiskFlushCount();

// ---- scripts ----

// One attempt at a modal dialog or sheet: the fields typed (edit text, "0"/"1"/"2" for check boxes and
// radio buttons, the text to select in a list or combo box), then the button pressed (0: none). `page`
// first selects a property-sheet page (-1: stay). `check` runs after the press while the dialog is
// still open.
struct AfxModalStep {
    std::vector<std::pair<int, std::string>> fields;
    int buttonId = IDOK;
    int page = -1;
    std::function<void(CWnd*)> check;
    // Edit texts in wide characters (a path pasted with letters the code page lacks), typed after fields.
    std::vector<std::pair<int, std::wstring>> wideFields;
};

// The next modal dialog with this template id (a sheet: its caption string id) runs for real, then
// the steps are played in order. A dialog still open after the last step is cancelled.
void AfxScriptModal(UINT templateId, std::vector<AfxModalStep> steps);
void AfxScriptNextModal(UINT templateId, std::vector<std::pair<int, std::string>> fields, int buttonId);

// The next message box returns this answer (IDOK, IDYES, ...).
void AfxScriptMessageBox(int answer);

enum class AfxCommonDialogKind { Open, Save, Folder, Color, Print };
struct AfxCommonDialogAnswer {
    bool ok = false;    // false: the user cancelled
    std::string path;   // open, save, folder
    COLORREF color = 0; // colour
    // A folder whose name the code page cannot spell, given in place of path.
    std::wstring widePath;
};
void AfxScriptCommonDialog(AfxCommonDialogKind kind, AfxCommonDialogAnswer answer);

// Puts text in an edit field as a paste from another program does: in wide characters, which even a
// field of the code page keeps (a text set through the window reaches it in the code page).
void AfxTestPasteText(HWND hEdit, LPCWSTR text);

// The next tracked pop-up menu returns (or sends) this command; 0: dismissed.
void AfxScriptPopupMenu(UINT nCmd);

// Runs after each page the print loop has drawn, with the page number, while the job's status window
// is up (a test presses its Cancel from here). Armed or not, until the seams are reset.
void AfxScriptPrintedPage(std::function<void(UINT)> onPage);

// ---- what happened ----

struct AfxModalRecord {
    UINT templateId;
    INT_PTR result;
    int stepsPlayed;
    bool scripted;
};
struct AfxMessageBoxRecord {
    std::string text;
    UINT type;
    int answer;
    bool scripted;
};
struct AfxCommonDialogRecord {
    AfxCommonDialogKind kind;
    bool scripted;
    std::string startFolder; // a scripted folder browser: where its caller's callback asked it to open
};
struct AfxPopupMenuRecord {
    HMENU hMenu;
    UINT firstItemId;
    UINT answer;
};

struct AfxTestLog {
    std::vector<AfxModalRecord> modals;
    std::vector<AfxMessageBoxRecord> messageBoxes;
    std::vector<AfxCommonDialogRecord> commonDialogs;
    std::vector<AfxPopupMenuRecord> popupMenus;
    std::vector<std::string> unexpected; // UI that appeared with no script, or scripts gone wrong
};

// ---- for test fixtures ----

void AfxTestArm(); // from now on UI never waits for a person
bool AfxTestArmed();
AfxTestLog& AfxTestRecords();
std::string AfxTestPendingScripts(); // empty when every script was used
void AfxTestReset();                 // disarms, drops scripts and records, restores the platform calls
// Real mouse and keyboard messages dropped while scripts played (the shared display's input from
// other test programs), since the program started.
LONG AfxTestRealInputDropped();
// How many user and GDI handles could still be made (up to a probe's count), for the log of a failure
// to make a window object.
std::string AfxTestHandleHeadroom();

// ---- for the framework ----

// TRUE when armed: the modal loop of pWnd (a dialog or sheet with that id) has been played from the
// script (or cancelled, unscripted), and pWnd's modal loop has ended.
BOOL AfxTestRunModal(CWnd* pWnd, UINT templateId);
// TRUE when armed, with the answer to give.
BOOL AfxTestTakeMessageBox(LPCSTR lpszText, UINT nType, int* pAnswer);
BOOL AfxTestTakeCommonDialog(AfxCommonDialogKind kind, AfxCommonDialogAnswer* pAnswer);
BOOL AfxTestTakePopupMenu(HMENU hMenu, UINT* pCmd);
void AfxTestPrintedPage(UINT nPage);
