// The test seams: script queues, records and the player of modal scripts.
#include "framework/TestSeams.h"

#include "framework/PathDoor.h"
#include "framework/WinThread.h"
#include "framework/Wnd.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <deque>

namespace {

HINSTANCE WINAPI RealShellExecute(HWND hWnd, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
{
    return ::ShellExecuteA(hWnd, op, file, params, dir, show);
}

int RealScreenBitsPerPixel()
{
    HDC hDC = ::GetDC(nullptr);
    int bits = ::GetDeviceCaps(hDC, BITSPIXEL) * ::GetDeviceCaps(hDC, PLANES);
    ::ReleaseDC(nullptr, hDC);
    return bits;
}

AfxPlatformCalls RealPlatform()
{
    AfxPlatformCalls calls;
    calls.pfnShellExecute = RealShellExecute;
    calls.pfnWinHelp = ::WinHelpA;
    calls.pfnMciSendCommand = ::mciSendCommandA;
    calls.pfnMciSendString = ::mciSendStringA;
    calls.pfnScannerFolder = ::GetWindowsDirectoryA;
    calls.pfnScreenBitsPerPixel = RealScreenBitsPerPixel;
    calls.pfnWriteFile = ::WriteFile;
    return calls;
}

struct ModalScript {
    UINT templateId;
    std::vector<AfxModalStep> steps;
};

struct SeamState {
    bool armed = false;
    std::function<void(UINT)> onPrintedPage;
    std::deque<ModalScript> modals;
    std::deque<int> messageBoxes;
    std::deque<std::pair<AfxCommonDialogKind, AfxCommonDialogAnswer>> commonDialogs;
    std::deque<UINT> popupMenus;
    AfxTestLog log;
};

SeamState& State()
{
    static SeamState state;
    return state;
}

const char* KindName(AfxCommonDialogKind kind)
{
    switch (kind) {
    case AfxCommonDialogKind::Open:
        return "open";
    case AfxCommonDialogKind::Save:
        return "save";
    case AfxCommonDialogKind::Folder:
        return "folder";
    case AfxCommonDialogKind::Color:
        return "colour";
    case AfxCommonDialogKind::Print:
        return "print";
    }
    return "?";
}

bool IsClass(HWND hWnd, const char* name)
{
    char cls[64] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    return ::lstrcmpiA(cls, name) == 0;
}

void Notify(HWND hCtl, UINT code)
{
    ::SendMessageA(::GetParent(hCtl), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hCtl), code),
                   reinterpret_cast<LPARAM>(hCtl));
}

// Types a value into a control as a user would leave it.
void TypeInto(HWND hCtl, const std::string& value)
{
    const char* text = value.c_str();
    if (IsClass(hCtl, "Button")) {
        LONG type = ::GetWindowLongA(hCtl, GWL_STYLE) & BS_TYPEMASK;
        bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        bool check = radio || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE
                     || type == BS_AUTO3STATE;
        if (!check) {
            ::SetWindowTextA(hCtl, text);
            return;
        }
        int state = std::atoi(text);
        if (radio && state != 0) {
            // The other buttons of its group go off, as a click would do.
            HWND hParent = ::GetParent(hCtl);
            HWND h = hCtl;
            do {
                if (h != hCtl && IsClass(h, "Button"))
                    ::SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0);
                h = ::GetNextDlgGroupItem(hParent, h, FALSE);
            } while (h != nullptr && h != hCtl);
        }
        ::SendMessageA(hCtl, BM_SETCHECK, static_cast<WPARAM>(state), 0);
        Notify(hCtl, BN_CLICKED);
    } else if (IsClass(hCtl, "ComboBox")) {
        if ((::GetWindowLongA(hCtl, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST) {
            ::SendMessageA(hCtl, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
            Notify(hCtl, CBN_SELCHANGE);
        } else {
            ::SetWindowTextA(hCtl, text);
            Notify(hCtl, CBN_EDITCHANGE);
        }
    } else if (IsClass(hCtl, "ListBox")) {
        ::SendMessageA(hCtl, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        Notify(hCtl, LBN_SELCHANGE);
    } else if (IsClass(hCtl, TRACKBAR_CLASSA)) {
        ::SendMessageA(hCtl, TBM_SETPOS, TRUE, std::atoi(text));
    } else {
        ::SetWindowTextA(hCtl, text);
    }
}

// A control anywhere below the dialog (property-sheet fields live in the pages).
HWND FindField(HWND hDlg, int id)
{
    HWND h = ::GetDlgItem(hDlg, id);
    if (h != nullptr)
        return h;
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        h = ::GetDlgItem(hChild, id);
        if (h != nullptr)
            return h;
    }
    return nullptr;
}

// The display is shared by the test programs that run side by side: another test's pointer, its
// clicks (a drag) and keys land on whatever window is under them or active, maybe a dialog whose script
// is playing, where a stray click on a radio button or on OK would change what the script checks.
// While a script plays, only its own steps act: the thread's real mouse and keyboard input is dropped
// (and counted, for the log of a test that fails).
LONG g_realInputDropped = 0;

LRESULT CALLBACK DropRealInput(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        ::InterlockedIncrement(&g_realInputDropped);
        return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class CRealInputShield {
public:
    CRealInputShield()
    {
        if (s_depth++ > 0)
            return;
        m_hMouse = ::SetWindowsHookExA(WH_MOUSE, DropRealInput, nullptr, ::GetCurrentThreadId());
        m_hKeyboard = ::SetWindowsHookExA(WH_KEYBOARD, DropRealInput, nullptr, ::GetCurrentThreadId());
    }
    ~CRealInputShield()
    {
        --s_depth;
        if (m_hMouse != nullptr)
            ::UnhookWindowsHookEx(m_hMouse);
        if (m_hKeyboard != nullptr)
            ::UnhookWindowsHookEx(m_hKeyboard);
    }
    CRealInputShield(const CRealInputShield&) = delete;
    CRealInputShield& operator=(const CRealInputShield&) = delete;

private:
    static int s_depth;
    HHOOK m_hMouse = nullptr;
    HHOOK m_hKeyboard = nullptr;
};
int CRealInputShield::s_depth = 0;

bool StillModal(CWnd* pWnd) { return ::IsWindow(pWnd->GetSafeHwnd()) && pWnd->ContinueModal(); }

void Unexpected(const std::string& what) { State().log.unexpected.push_back(what); }

} // namespace

AfxPlatformCalls& AfxPlatform()
{
    static AfxPlatformCalls calls = RealPlatform();
    return calls;
}

void AfxResetPlatform() { AfxPlatform() = RealPlatform(); }

namespace {
bool g_skipDiskFlushes = false;
LONG g_diskFlushes = 0;
} // namespace

BOOL AfxFlushFileBuffers(HANDLE hFile)
{
    ::InterlockedIncrement(&g_diskFlushes);
    return g_skipDiskFlushes ? TRUE : ::FlushFileBuffers(hFile);
}

void AfxTestSkipDiskFlushes() { g_skipDiskFlushes = true; }
LONG AfxTestDiskFlushCount() { return g_diskFlushes; }
LONG AfxTestRealInputDropped() { return g_realInputDropped; }

std::string AfxTestHandleHeadroom()
{
    // Menus take user handles, which Wine's server keeps in one table for every program of the prefix;
    // regions take GDI handles, which each program has its own of.
    const int kProbe = 2000;
    std::vector<HMENU> menus;
    std::vector<HRGN> regions;
    for (int i = 0; i < kProbe; i++) {
        HMENU hMenu = ::CreateMenu();
        if (hMenu == nullptr)
            break;
        menus.push_back(hMenu);
    }
    for (int i = 0; i < kProbe; i++) {
        HRGN hRgn = ::CreateRectRgn(0, 0, 1, 1);
        if (hRgn == nullptr)
            break;
        regions.push_back(hRgn);
    }
    for (HMENU hMenu : menus)
        ::DestroyMenu(hMenu);
    for (HRGN hRgn : regions)
        ::DeleteObject(hRgn);
    return "user handles free: " + std::to_string(menus.size()) + (menus.size() == kProbe ? "+" : "")
           + ", GDI handles free: " + std::to_string(regions.size()) + (regions.size() == kProbe ? "+" : "");
}

void AfxScriptModal(UINT templateId, std::vector<AfxModalStep> steps)
{
    State().modals.push_back({templateId, std::move(steps)});
}

void AfxScriptNextModal(UINT templateId, std::vector<std::pair<int, std::string>> fields, int buttonId)
{
    AfxModalStep step;
    step.fields = std::move(fields);
    step.buttonId = buttonId;
    std::vector<AfxModalStep> steps;
    steps.push_back(std::move(step));
    AfxScriptModal(templateId, std::move(steps));
}

void AfxScriptMessageBox(int answer) { State().messageBoxes.push_back(answer); }

void AfxScriptCommonDialog(AfxCommonDialogKind kind, AfxCommonDialogAnswer answer)
{
    State().commonDialogs.emplace_back(kind, std::move(answer));
}

void AfxScriptPopupMenu(UINT nCmd) { State().popupMenus.push_back(nCmd); }

void AfxScriptPrintedPage(std::function<void(UINT)> onPage) { State().onPrintedPage = std::move(onPage); }

void AfxTestPrintedPage(UINT nPage)
{
    // A copy: the hook may reset the seams.
    std::function<void(UINT)> onPage = State().onPrintedPage;
    if (onPage)
        onPage(nPage);
}

void AfxTestArm() { State().armed = true; }
bool AfxTestArmed() { return State().armed; }
AfxTestLog& AfxTestRecords() { return State().log; }

std::string AfxTestPendingScripts()
{
    SeamState& s = State();
    std::string text;
    for (const ModalScript& m : s.modals)
        text += "modal " + std::to_string(m.templateId) + "; ";
    if (!s.messageBoxes.empty())
        text += std::to_string(s.messageBoxes.size()) + " message box(es); ";
    for (const auto& c : s.commonDialogs)
        text += std::string(KindName(c.first)) + " dialog; ";
    if (!s.popupMenus.empty())
        text += std::to_string(s.popupMenus.size()) + " pop-up menu(s); ";
    return text;
}

void AfxTestReset()
{
    State() = SeamState();
    AfxResetPlatform();
}

BOOL AfxTestRunModal(CWnd* pWnd, UINT templateId)
{
    SeamState& s = State();
    if (!s.armed)
        return FALSE;
    HWND hDlg = pWnd->GetSafeHwnd();
    CRealInputShield shield;
    AfxModalRecord record = {templateId, IDCANCEL, 0, false};
    auto it = s.modals.begin();
    while (it != s.modals.end() && it->templateId != templateId)
        ++it;
    if (it == s.modals.end()) {
        Unexpected("modal " + std::to_string(templateId) + " without a script");
    } else {
        record.scripted = true;
        std::vector<AfxModalStep> steps = std::move(it->steps);
        s.modals.erase(it);
        // Shown, as the user would see it (focus and activation depend on it).
        if (!::IsWindowVisible(hDlg))
            ::ShowWindow(hDlg, SW_SHOWNORMAL);
        AfxPumpPendingMessages();
        for (AfxModalStep& step : steps) {
            if (!StillModal(pWnd))
                break;
            if (step.page >= 0)
                ::SendMessageA(hDlg, PSM_SETCURSEL, static_cast<WPARAM>(step.page), 0);
            for (const auto& field : step.fields) {
                HWND hCtl = FindField(hDlg, field.first);
                if (hCtl == nullptr)
                    Unexpected("modal " + std::to_string(templateId) + ": no field "
                               + std::to_string(field.first));
                else
                    TypeInto(hCtl, field.second);
            }
            for (const auto& field : step.wideFields) {
                if (HWND hCtl = FindField(hDlg, field.first))
                    AfxTestPasteText(hCtl, field.second.c_str());
                else
                    Unexpected("modal " + std::to_string(templateId) + ": no field "
                               + std::to_string(field.first));
            }
            HWND hButton = step.buttonId != 0 ? FindField(hDlg, step.buttonId) : nullptr;
            if (step.buttonId == 0) {
                // Only typing (or a page change) this time.
            } else if (hButton != nullptr && !::IsWindowEnabled(hButton)) {
                Unexpected("modal " + std::to_string(templateId) + ": button " + std::to_string(step.buttonId)
                           + " is disabled");
            } else {
                ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(step.buttonId, BN_CLICKED),
                               reinterpret_cast<LPARAM>(hButton));
            }
            record.stepsPlayed++;
            AfxPumpPendingMessages();
            if (step.check && StillModal(pWnd))
                step.check(pWnd);
        }
    }
    if (StillModal(pWnd)) {
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        AfxPumpPendingMessages();
        if (StillModal(pWnd))
            pWnd->EndModalLoop(IDCANCEL);
    }
    record.result = pWnd->GetModalResult();
    s.log.modals.push_back(record);
    return TRUE;
}

void AfxTestPasteText(HWND hEdit, LPCWSTR text)
{
    if (const WNDPROC pfnWide = AfxEditWideProcedure(hEdit))
        ::CallWindowProcW(pfnWide, hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    else
        ::SetWindowTextW(hEdit, text);
}

BOOL AfxTestTakeMessageBox(LPCSTR lpszText, UINT nType, int* pAnswer)
{
    SeamState& s = State();
    if (!s.armed)
        return FALSE;
    AfxMessageBoxRecord record = {lpszText ? lpszText : "", nType, 0, !s.messageBoxes.empty()};
    if (record.scripted) {
        record.answer = s.messageBoxes.front();
        s.messageBoxes.pop_front();
    } else {
        // Nobody is there to answer: the most cautious button of the box.
        switch (nType & MB_TYPEMASK) {
        case MB_YESNO:
            record.answer = IDNO;
            break;
        case MB_ABORTRETRYIGNORE:
            record.answer = IDABORT;
            break;
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL:
            record.answer = IDCANCEL;
            break;
        default:
            record.answer = IDOK;
            break;
        }
        Unexpected("message box without a script: " + record.text);
    }
    *pAnswer = record.answer;
    s.log.messageBoxes.push_back(record);
    return TRUE;
}

BOOL AfxTestTakeCommonDialog(AfxCommonDialogKind kind, AfxCommonDialogAnswer* pAnswer)
{
    SeamState& s = State();
    if (!s.armed)
        return FALSE;
    auto it = s.commonDialogs.begin();
    while (it != s.commonDialogs.end() && it->first != kind)
        ++it;
    if (it == s.commonDialogs.end()) {
        *pAnswer = AfxCommonDialogAnswer();
        Unexpected(std::string(KindName(kind)) + " dialog without a script");
        s.log.commonDialogs.push_back({kind, false, {}});
        return TRUE;
    }
    *pAnswer = it->second;
    s.commonDialogs.erase(it);
    s.log.commonDialogs.push_back({kind, true, {}});
    return TRUE;
}

BOOL AfxTestTakePopupMenu(HMENU hMenu, UINT* pCmd)
{
    SeamState& s = State();
    if (!s.armed)
        return FALSE;
    UINT nCmd = 0;
    if (s.popupMenus.empty()) {
        Unexpected("pop-up menu without a script");
    } else {
        nCmd = s.popupMenus.front();
        s.popupMenus.pop_front();
    }
    s.log.popupMenus.push_back({hMenu, ::GetMenuItemID(hMenu, 0), nCmd});
    *pCmd = nCmd;
    return TRUE;
}
