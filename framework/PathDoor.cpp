// The doors of paths that come in from outside the program, read in wide characters.
#include "framework/PathDoor.h"

#include "framework/CodePageText.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"

namespace {

// The refusal of a marked path: its part holding the first mark, named with the path up to it.
CString MarkedRefusal(const CString& marked, BOOL bFolderAtEnd)
{
    const int nMark = marked.Find(kAfxUnspelledMark);
    if (nMark < 0)
        return CString();
    int nEnd = nMark;
    while (nEnd < marked.GetLength() && marked[nEnd] != '\\' && marked[nEnd] != '/')
        nEnd++;
    const BOOL bFolder = nEnd < marked.GetLength() || bFolderAtEnd;
    CString text;
    text.Format(AfxLoadText(bFolder ? AFX_IDP_FOLDER_NAME_UNSPELLED : AFX_IDP_FILE_NAME_UNSPELLED),
                static_cast<LPCSTR>(AfxMarkedTextShown(marked.Left(nEnd))));
    return text;
}

BOOL IsFolderOnDisk(LPCWSTR path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ShowRefusal(const CString& text) { AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION); }

} // namespace

CString AfxUnspelledPathRefusal(LPCWSTR path, BOOL bFolder)
{
    if (path == nullptr || AfxSpelledInCodePage(path))
        return CString();
    return MarkedRefusal(AfxCodePageMarkedText(path), bFolder || IsFolderOnDisk(path));
}

CString AfxUnspelledNameRefusal(LPCWSTR name, BOOL bFolder)
{
    if (name == nullptr || AfxSpelledInCodePage(name))
        return CString();
    CString text;
    text.Format(AfxLoadText(bFolder ? AFX_IDP_FOLDER_NAME_UNSPELLED : AFX_IDP_FILE_NAME_UNSPELLED),
                static_cast<LPCSTR>(AfxCodePageShownText(name)));
    return text;
}

CString AfxMarkedPathRefusal(LPCSTR path, BOOL bFolder)
{
    return MarkedRefusal(path != nullptr ? path : "", bFolder);
}

BOOL AfxTakeWidePath(LPCWSTR path, CString* pPath, BOOL bFolder)
{
    const CString refusal = AfxUnspelledPathRefusal(path, bFolder);
    if (!refusal.IsEmpty()) {
        ShowRefusal(refusal);
        return FALSE;
    }
    *pPath = CString(path != nullptr ? path : L"");
    return TRUE;
}

WNDPROC AfxEditWideProcedure(HWND hWnd)
{
    char szClass[16] = "";
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (hWnd == nullptr || ::IsWindowUnicode(hWnd) || !::GetClassNameA(hWnd, szClass, sizeof(szClass))
        || ::lstrcmpiA(szClass, "Edit") != 0 || !::GetClassInfoExW(nullptr, L"Edit", &wc))
        return nullptr;
    return wc.lpfnWndProc;
}

std::wstring AfxGetWindowTextWide(HWND hWnd)
{
    const WNDPROC pfnWide = AfxEditWideProcedure(hWnd);
    if (pfnWide == nullptr) {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()))));
        return text;
    }
    const LRESULT nLength = ::CallWindowProcW(pfnWide, hWnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(nLength > 0 ? nLength : 0) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::CallWindowProcW(pfnWide, hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

CString AfxGetSpelledWindowText(HWND hWnd)
{
    const std::wstring text = AfxGetWindowTextWide(hWnd);
    CString spelled;
    return AfxWideToCodePage(text.c_str(), &spelled) ? spelled : CString();
}

std::vector<CString> AfxDroppedPaths(HDROP hDropInfo)
{
    std::vector<CString> paths;
    // Files of one folder the code page cannot spell are all refused for it: that is said once.
    CString refusals;
    const UINT nFiles = ::DragQueryFileW(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; i++) {
        const UINT nLength = ::DragQueryFileW(hDropInfo, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(nLength) + 1, L'\0');
        if (nLength == 0 || ::DragQueryFileW(hDropInfo, i, &path[0], nLength + 1) == 0)
            continue;
        path.resize(nLength);
        const CString refusal = AfxUnspelledPathRefusal(path.c_str());
        if (refusal.IsEmpty())
            paths.emplace_back(path.c_str());
        else if (refusals.Find(refusal) < 0)
            refusals += (refusals.IsEmpty() ? "" : "\n") + refusal;
    }
    if (!refusals.IsEmpty())
        ShowRefusal(refusals);
    return paths;
}

LPCWSTR AfxCommandLineTail(LPCWSTR commandLine)
{
    LPCWSTR p = commandLine != nullptr ? commandLine : L"";
    // The program's name: a blank between quotes belongs to it.
    for (bool bQuoted = false; *p > L' ' || (*p != L'\0' && bQuoted); p++) {
        if (*p == L'"')
            bQuoted = !bQuoted;
    }
    while (*p != L'\0' && *p <= L' ')
        p++;
    return p;
}

BOOL AfxGetCurrentFolder(CString* pFolder)
{
    wchar_t szFolder[MAX_PATH * 2] = L"";
    const DWORD nLength = ::GetCurrentDirectoryW(MAX_PATH * 2, szFolder);
    if (nLength == 0 || nLength >= MAX_PATH * 2 || !AfxSpelledInCodePage(szFolder))
        return FALSE;
    *pFolder = CString(szFolder);
    return TRUE;
}
