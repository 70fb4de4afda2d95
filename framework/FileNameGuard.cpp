// The file dialogs' guard on typed names too long for a full path or with letters the code page lacks.
#include "framework/FileNameGuard.h"

#include "framework/CodePageText.h"
#include "framework/Exceptions.h"
#include "framework/FrameworkTexts.h"
#include "framework/MessageText.h"
#include "framework/PathDoor.h"
#include "framework/WinApp.h"

#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

const char kGuardProp[] = "TessarineFileNameGuard";

struct NameGuard {
    WNDPROC pfnSuper;
    size_t nAddedExtension; // the most the dialog adds to a name typed without extension, dot included
};

// The extension a filter pattern gives a name typed without one: that of its first pattern, unless it
// holds a wildcard ("*.jpg;*.png" gives "jpg", "*.*" nothing).
size_t PatternExtension(LPCSTR pattern)
{
    const std::string first(pattern, std::strcspn(pattern, ";"));
    const size_t nDot = first.find('.');
    if (nDot == std::string::npos || first.find_first_of("*?", nDot + 1) != std::string::npos)
        return 0;
    return first.size() - nDot - 1;
}

// Nothing without a default extension; else the longest of the default and the filters' extensions,
// since the filter chosen may change until OK.
size_t AddedExtension(const OPENFILENAMEA* lpofn)
{
    if (lpofn == nullptr || lpofn->lpstrDefExt == nullptr)
        return 0;
    size_t n = std::strlen(lpofn->lpstrDefExt);
    for (LPCSTR p = lpofn->lpstrFilter; p != nullptr && *p != '\0';) {
        p += std::strlen(p) + 1; // the filter's name, then its patterns
        if (*p == '\0')
            break;
        n = std::max(n, PatternExtension(p));
        p += std::strlen(p) + 1;
    }
    return n + 1;
}

// The folder the dialog joins a relative name to: the one it shows, read in wide characters (its path
// in the code page would give a letter it lacks a look-alike, naming another folder), else the current
// folder.
std::wstring DialogFolder(HWND hFileDlg)
{
    wchar_t szFolder[MAX_PATH * 2] = L"";
    const LRESULT nSize = ::SendMessageA(hFileDlg, CDM_GETFOLDERIDLIST, 0, 0);
    if (nSize > 0) {
        std::vector<BYTE> folder(static_cast<size_t>(nSize));
        if (::SendMessageA(hFileDlg, CDM_GETFOLDERIDLIST, folder.size(),
                           reinterpret_cast<LPARAM>(folder.data()))
                == nSize
            && ::SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(folder.data()), szFolder)
            && szFolder[0] != L'\0')
            return szFolder;
    }
    if (::GetCurrentDirectoryW(MAX_PATH * 2, szFolder) == 0)
        szFolder[0] = L'\0';
    return szFolder;
}

// The names the dialog reads from what is typed: each one between quotes, else the whole text.
std::vector<std::wstring> TypedNames(const std::wstring& text)
{
    std::vector<std::wstring> names;
    for (size_t i = text.find(L'"'); i != std::wstring::npos;) {
        const size_t nEnd = text.find(L'"', i + 1);
        names.push_back(text.substr(i + 1, nEnd == std::wstring::npos ? std::wstring::npos : nEnd - i - 1));
        i = nEnd == std::wstring::npos ? nEnd : text.find(L'"', nEnd + 1);
    }
    if (names.empty() && !text.empty())
        names.push_back(text);
    return names;
}

// The length of the path the dialog makes of a name, before it resolves "." and "..": the name alone
// when it names its drive, the drive's letter and colon before a name from the root, else the folder, a
// separator and the name; then the extension added to a name without one (a dot after the last
// separator or blank, as the system finds extensions).
size_t FullPathLength(const std::wstring& folder, const std::wstring& name, size_t nAddedExtension)
{
    size_t n;
    if (name.size() > 1 && name[1] == L':')
        n = name.size();
    else if (!name.empty() && name[0] == L'\\')
        n = 2 + name.size();
    else
        n = folder.size() + (!folder.empty() && folder.back() == L'\\' ? 0 : 1) + name.size();
    const size_t nDot = name.find_last_of(L'.');
    const size_t nCut = name.find_last_of(L"\\ ");
    const bool bExtension = nDot != std::wstring::npos && (nCut == std::wstring::npos || nDot > nCut);
    return bExtension ? n : n + nAddedExtension;
}

// Newer systems take the name in a combo box, older ones and Wine in an edit field.
HWND NameControl(HWND hFileDlg)
{
    HWND hName = ::GetDlgItem(hFileDlg, cmb13);
    return hName != nullptr ? hName : ::GetDlgItem(hFileDlg, edt1);
}

// The path the dialog makes of a name: the name alone when it names its drive, the folder's drive
// before a name from the root, else the folder and the name; "." and ".." resolved.
std::wstring FullPath(const std::wstring& folder, const std::wstring& name)
{
    std::wstring path;
    if (name.size() > 1 && name[1] == L':')
        path = name;
    else if (!name.empty() && name[0] == L'\\')
        path = (folder.size() > 1 && folder[1] == L':' ? folder.substr(0, 2) : L"") + name;
    else
        path = folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + name;
    wchar_t szFull[MAX_PATH * 2] = L"";
    const DWORD nLength = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, szFull, nullptr);
    return nLength > 0 && nLength < MAX_PATH * 2 ? std::wstring(szFull) : path;
}

// The text saying why the name typed is refused, or empty when it is taken.
CString TypedNameRefusal(HWND hFileDlg, const NameGuard& guard)
{
    HWND hName = NameControl(hFileDlg);
    if (hName == nullptr)
        return CString();
    const std::wstring folder = DialogFolder(hFileDlg);
    CString text;
    for (const std::wstring& name : TypedNames(AfxGetWindowTextWide(hName))) {
        if (FullPathLength(folder, name, guard.nAddedExtension) > MAX_PATH - 1) {
            text.Format(AfxLoadText(AFX_IDP_FILE_NAME_TOO_LONG), static_cast<unsigned>(MAX_PATH - 1));
            return text;
        }
        // The name typed, or picked in a folder whose name the code page cannot spell: the dialog
        // would give it with look-alikes, the path of another file.
        text = AfxUnspelledPathRefusal(FullPath(folder, name).c_str());
        if (!text.IsEmpty())
            return text;
    }
    return text;
}

void SayNameRefused(HWND hFileDlg, const CString& text)
{
    AfxShowMessageBox(hFileDlg, AfxFitMessageText(text), AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    // The name stays typed, selected, for the user to mend it.
    if (HWND hName = NameControl(hFileDlg))
        ::SendMessageA(hFileDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hName), TRUE);
}

LRESULT CALLBACK NameGuardProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    NameGuard* pGuard = static_cast<NameGuard*>(::GetPropA(hWnd, kGuardProp));
    if (pGuard == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    const WNDPROC pfnSuper = pGuard->pfnSuper;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        // Nothing may leave a window procedure; a name that could not be checked is not taken.
        try {
            const CString refusal = TypedNameRefusal(hWnd, *pGuard);
            if (!refusal.IsEmpty()) {
                SayNameRefused(hWnd, refusal);
                return 0;
            }
        } catch (const CException&) {
            return 0;
        } catch (const std::exception&) {
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSuper));
        ::RemovePropA(hWnd, kGuardProp);
        delete pGuard;
    }
    return ::CallWindowProcW(pfnSuper, hWnd, message, wParam, lParam);
}

} // namespace

void AfxGuardFileDialogNames(HWND hFileDlg, const OPENFILENAMEA* lpofn)
{
    if (hFileDlg == nullptr || ::GetPropA(hFileDlg, kGuardProp) != nullptr)
        return;
    NameGuard* pGuard = new (std::nothrow) NameGuard{nullptr, AddedExtension(lpofn)};
    if (pGuard == nullptr)
        return;
    if (!::SetPropA(hFileDlg, kGuardProp, pGuard)) {
        delete pGuard;
        return;
    }
    pGuard->pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hFileDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NameGuardProc)));
    if (pGuard->pfnSuper == nullptr) {
        ::RemovePropA(hFileDlg, kGuardProp);
        delete pGuard;
    }
}
