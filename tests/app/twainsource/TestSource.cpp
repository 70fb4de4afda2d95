// A TWAIN data source for the tests only, installed as "sane.ds" where Wine's source manager looks
// for sources. It has a small window of its own as its dialog, gives a number of generated pages by
// native transfer, and does what the environment variable TESTSOURCE_SCRIPT says (read when the
// source is opened and when it is enabled): "pages=N" (3 by default) and one of "cancel" (every
// transfer is cancelled), "fail" (every transfer fails), "close" (asks to be closed instead of
// offering pages), "broken" (each page's header claims more rows than its block holds), "refuse"
// (cannot be opened), "noenable" (opens but cannot be enabled, as a camera source with no camera),
// "noclose" (refuses to be closed), "absent" (does not answer the manager's search).
// Closing its window asks the program to close the source. What it was asked is kept in a log.
#include "viewers/Twain.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HINSTANCE g_hInstance = nullptr;
HWND g_hWnd = nullptr;
UINT g_nEvent = 0;
int g_nPages = 3;
int g_nPagesLeft = 0;
int g_nPageNumber = 0;
std::string g_script;
std::string g_log;

const int kPageWidth = 48;
const int kPageHeight = 32;

void ReadScript()
{
    char text[200] = "";
    ::GetEnvironmentVariableA("TESTSOURCE_SCRIPT", text, sizeof(text));
    g_script = text;
    g_nPages = 3;
    const char* p = std::strstr(text, "pages=");
    if (p != nullptr)
        g_nPages = std::atoi(p + 6);
}

bool Says(const char* word)
{
    char text[200] = "";
    ::GetEnvironmentVariableA("TESTSOURCE_SCRIPT", text, sizeof(text));
    return std::strstr(text, word) != nullptr;
}

void Log(const std::string& what)
{
    if (!g_log.empty())
        g_log += ' ';
    g_log += what;
}

LRESULT CALLBACK SourceWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        // The user closes the source's dialog: the program is asked to close the source.
        ::PostMessageA(hWnd, g_nEvent, MSG_CLOSEDSREQ, 0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void ShowDialog(HWND hParent)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SourceWndProc;
    wc.hInstance = g_hInstance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TessarineTestSourceWindow";
    ::RegisterClassA(&wc);
    g_hWnd = ::CreateWindowExA(0, wc.lpszClassName, "Source de test", WS_POPUP | WS_CAPTION | WS_SYSMENU, 40,
                               40, 240, 120, hParent, nullptr, g_hInstance, nullptr);
    ::ShowWindow(g_hWnd, SW_SHOWNOACTIVATE);
}

// Page n: red 40 * n, green 4 * x, blue 6 * y (y from the top), 24 bits, rows bottom-up.
HGLOBAL MakePage(int n)
{
    const int stride = (kPageWidth * 3 + 3) & ~3;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + stride * kPageHeight);
    BYTE* p = static_cast<BYTE*>(::GlobalLock(h));
    BITMAPINFOHEADER* pbi = reinterpret_cast<BITMAPINFOHEADER*>(p);
    pbi->biSize = sizeof(BITMAPINFOHEADER);
    pbi->biWidth = kPageWidth;
    pbi->biHeight = kPageHeight;
    pbi->biPlanes = 1;
    pbi->biBitCount = 24;
    pbi->biCompression = BI_RGB;
    for (int y = 0; y < kPageHeight; y++) {
        BYTE* row = p + sizeof(BITMAPINFOHEADER) + (kPageHeight - 1 - y) * stride;
        for (int x = 0; x < kPageWidth; x++) {
            row[x * 3] = static_cast<BYTE>(6 * y);
            row[x * 3 + 1] = static_cast<BYTE>(4 * x);
            row[x * 3 + 2] = static_cast<BYTE>(40 * n);
        }
    }
    if (Says("broken"))
        pbi->biHeight = 32000;
    ::GlobalUnlock(h);
    return h;
}

WORD Control(WORD DAT, WORD nMsg, void* pData)
{
    if (DAT == DAT_IDENTITY && nMsg == MSG_GET) {
        if (Says("absent"))
            return TWRC_FAILURE;
        TW_IDENTITY* pId = static_cast<TW_IDENTITY*>(pData);
        DWORD id = pId->Id;
        std::memset(pId, 0, sizeof(*pId));
        pId->Id = id;
        pId->Version.MajorNum = 1;
        pId->Version.Language = TWLG_USA;
        pId->Version.Country = TWCY_USA;
        std::strcpy(pId->Version.Info, "1.0");
        pId->ProtocolMajor = 1;
        pId->ProtocolMinor = 6;
        pId->SupportedGroups = DG_CONTROL | DG_IMAGE;
        std::strcpy(pId->Manufacturer, "Tessarine");
        std::strcpy(pId->ProductFamily, "Tests");
        std::strcpy(pId->ProductName, "Source de test");
        return TWRC_SUCCESS;
    }
    if (DAT == DAT_IDENTITY && nMsg == MSG_OPENDS) {
        ReadScript();
        Log(Says("refuse") ? "OPENDS-refused" : "OPENDS");
        return Says("refuse") ? TWRC_FAILURE : TWRC_SUCCESS;
    }
    if (DAT == DAT_IDENTITY && nMsg == MSG_CLOSEDS) {
        if (Says("noclose")) {
            Log("CLOSEDS-refused");
            return TWRC_FAILURE;
        }
        Log("CLOSEDS");
        if (g_hWnd != nullptr)
            ::DestroyWindow(g_hWnd);
        g_hWnd = nullptr;
        return TWRC_SUCCESS;
    }
    if (DAT == DAT_USERINTERFACE && nMsg == MSG_ENABLEDS) {
        ReadScript();
        if (Says("noenable")) {
            Log("ENABLEDS-refused");
            return TWRC_FAILURE;
        }
        const TW_USERINTERFACE* pUI = static_cast<const TW_USERINTERFACE*>(pData);
        char text[80];
        std::snprintf(text, sizeof(text), "ENABLEDS(show=%d,modal=%d,parent=%d)", pUI->ShowUI, pUI->ModalUI,
                      pUI->hParent != nullptr && ::IsWindow(static_cast<HWND>(pUI->hParent)) ? 1 : 0);
        Log(text);
        g_nEvent = ::RegisterWindowMessageA("TessarineTestSourceEvent");
        ShowDialog(static_cast<HWND>(pUI->hParent));
        g_nPagesLeft = g_nPages;
        g_nPageNumber = 0;
        ::PostMessageA(g_hWnd, g_nEvent, Says("close") ? MSG_CLOSEDSREQ : MSG_XFERREADY, 0);
        return TWRC_SUCCESS;
    }
    if (DAT == DAT_USERINTERFACE && nMsg == MSG_DISABLEDS) {
        Log("DISABLEDS");
        if (g_hWnd != nullptr)
            ::DestroyWindow(g_hWnd);
        g_hWnd = nullptr;
        return TWRC_SUCCESS;
    }
    if (DAT == DAT_EVENT && nMsg == MSG_PROCESSEVENT) {
        TW_EVENT* pEvent = static_cast<TW_EVENT*>(pData);
        const MSG* pMsg = static_cast<const MSG*>(pEvent->pEvent);
        pEvent->TWMessage = MSG_NULL;
        if (g_hWnd == nullptr || pMsg->hwnd != g_hWnd || pMsg->message != g_nEvent)
            return TWRC_NOTDSEVENT;
        pEvent->TWMessage = static_cast<WORD>(pMsg->wParam);
        Log(pEvent->TWMessage == MSG_XFERREADY ? "XFERREADY" : "CLOSEDSREQ");
        return TWRC_DSEVENT;
    }
    if (DAT == DAT_PENDINGXFERS && nMsg == MSG_ENDXFER) {
        if (g_nPagesLeft > 0)
            g_nPagesLeft--;
        static_cast<TW_PENDINGXFERS*>(pData)->Count = static_cast<WORD>(g_nPagesLeft);
        Log("ENDXFER");
        return TWRC_SUCCESS;
    }
    if (DAT == DAT_PENDINGXFERS && nMsg == MSG_RESET) {
        g_nPagesLeft = 0;
        static_cast<TW_PENDINGXFERS*>(pData)->Count = 0;
        Log("RESET");
        return TWRC_SUCCESS;
    }
    return TWRC_FAILURE;
}

WORD Image(WORD DAT, WORD nMsg, void* pData)
{
    if (DAT != DAT_IMAGENATIVEXFER || nMsg != MSG_GET)
        return TWRC_FAILURE;
    if (Says("fail")) {
        Log("GET-failed");
        return TWRC_FAILURE;
    }
    if (Says("cancel")) {
        Log("GET-cancelled");
        return TWRC_CANCEL;
    }
    g_nPageNumber++;
    *static_cast<HGLOBAL*>(pData) = MakePage(g_nPageNumber);
    Log("GET");
    return TWRC_XFERDONE;
}

} // namespace

extern "C" {

__declspec(dllexport) WORD WINAPI DS_Entry(TW_IDENTITY*, DWORD DG, WORD DAT, WORD nMsg, void* pData)
{
    if (pData == nullptr)
        return TWRC_FAILURE;
    if (DG == DG_CONTROL)
        return Control(DAT, nMsg, pData);
    if (DG == DG_IMAGE)
        return Image(DAT, nMsg, pData);
    return TWRC_FAILURE;
}

// What the source was asked since it was loaded, in order, separated by blanks.
__declspec(dllexport) const char* TestSourceLog() { return g_log.c_str(); }

// The source's dialog, or null when it does not show.
__declspec(dllexport) HWND TestSourceWindow() { return g_hWnd; }

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_hInstance = hInstance;
    return TRUE;
}
}
