// The recent list: the "Récents" combo of the cool bar filled from it and following the active
// window, the typed-path resolution, and the tool-band button states.
#include "app/RecentList.h"

#include "app/FileAssoc.h"
#include "app/MainFrame.h"
#include "app/MyCoolBar.h"
#include "shell/Settings.h"
#include "core/FileUtil.h"
#include "core/FolderListing.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <cctype>

namespace {

// The path as the disk spells it: each component that exists takes the name its folder lists, the
// rest stays as typed. The drive letter is upper case.
CString DiskSpelling(const CString& path)
{
    CString result = path.Left(2);
    result.MakeUpper();
    int start = 3;
    BOOL found = TRUE;
    while (start <= path.GetLength()) {
        int end = path.Find('\\', start);
        if (end < 0)
            end = path.GetLength();
        CString component = path.Mid(start, end - start);
        if (found && !component.IsEmpty() && component.FindOneOf("*?") < 0) {
            WIN32_FIND_DATAA entry;
            found = FindFolderEntry(result + "\\" + component, entry);
            if (found && component.CompareNoCase(entry.cFileName) == 0)
                component = entry.cFileName;
        }
        result += "\\" + component;
        start = end + 1;
    }
    return result;
}

} // namespace

TypedPathResult ResolveTypedPath(const CString& typed, const CString& currentDir, CString* pResolved)
{
    CString text = typed;
    text.TrimLeft();
    text.TrimRight();
    int nSeparators = 0;
    CString path;
    for (int i = 0; i < text.GetLength(); i++) {
        char ch = text[i];
        if (ch == '/')
            ch = '\\';
        if (ch == '\\')
            nSeparators++;
        path += ch;
    }
    BOOL bDrive =
        path.GetLength() >= 2 && std::isalnum(static_cast<unsigned char>(path[0])) && path[1] == ':';
    // A network path (\\server\share\...) names its own root, as a drive does.
    BOOL bNetwork = path.GetLength() > 2 && path[0] == '\\' && path[1] == '\\';
    if (nSeparators > 0 && !bDrive && !bNetwork)
        return kTypedPathNoDrive;
    if (path.IsEmpty())
        return kTypedPathEmpty;
    // A folder typed with a final backslash is that folder: only a drive's root keeps its own.
    while (path.GetLength() > 3 && path[path.GetLength() - 1] == '\\')
        path = path.Left(path.GetLength() - 1);
    if (bDrive && (path.GetLength() == 2 || (path.GetLength() == 3 && path[2] == '\\'))) {
        CString drive(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
        path = drive + ":\\";
    } else {
        if (nSeparators == 0) {
            CString folder = currentDir;
            if (folder.IsEmpty()) {
                // No folder chosen yet: the process's own, rather than the root of the drive.
                char szDir[MAX_PATH] = "";
                ::GetCurrentDirectoryA(MAX_PATH, szDir);
                folder = szDir;
            }
            if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '\\')
                folder += '\\';
            path = folder + path;
        }
        // What the user typed, in the real spelling of what exists: never a case of the program's.
        if (bDrive && path.GetLength() > 2 && path[2] == '\\')
            path = DiskSpelling(path);
    }
    if (path.GetLength() >= MAX_PATH)
        return kTypedPathTooLong;
    if (pResolved != nullptr)
        *pResolved = path;
    return kTypedPathOpen;
}

void ForgetRecentPath(LPCSTR path)
{
    for (INT_PTR i = g_RecentList.GetSize() - 1; i >= 0; i--) {
        if (::lstrcmpiA(g_RecentList[i], path) == 0)
            g_RecentList.RemoveAt(i);
    }
}

void PromoteRecentPath(LPCSTR path)
{
    ForgetRecentPath(path);
    g_RecentList.InsertAt(0, path);
}

// ---- the frame's side ----

void CMainFrame::PromoteRecentEntry(LPCSTR path)
{
    PromoteRecentPath(path);
    FillRecentCombo();
}

void CMainFrame::FillRecentCombo()
{
    HWND hCombo = CMyCoolBar::GetRecentCombo();
    if (hCombo == nullptr || !::IsWindow(hCombo))
        return;
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextA(hCombo, "");
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < g_RecentList.GetSize(); i++) {
        const CString& path = g_RecentList[i];
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = -1;
        item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(path));
        item.iImage = GetFileTypeIconIndex(path, nullptr);
        item.iSelectedImage = item.iImage;
        ::SendMessageA(hCombo, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SyncRecentCombo(TRUE);
}

void CMainFrame::SyncRecentCombo(BOOL bForce)
{
    CString strCurrent;
    CMDIChildWnd* pChild = MDIGetActive();
    CDocument* pDoc = pChild != nullptr ? pChild->GetActiveDocument() : nullptr;
    if (pDoc != nullptr) {
        strCurrent = pDoc->GetPathName();
        strCurrent.MakeLower();
    }
    if (!bForce && strCurrent == m_strRecentSeen)
        return;
    m_strRecentSeen = strCurrent;

    int nFound = -1;
    for (int i = 0; i < g_RecentList.GetSize() && nFound < 0; i++) {
        CString entry = g_RecentList[i];
        entry.MakeLower();
        if (entry == strCurrent)
            nFound = i;
    }
    HWND hCombo = CMyCoolBar::GetRecentCombo();
    if (hCombo == nullptr || !::IsWindow(hCombo))
        return;
    if (nFound >= 0) {
        ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nFound), 0);
    } else {
        ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ::SetWindowTextA(hCombo, "");
    }
}

void CMainFrame::SetCoolButtonState(UINT nID, UINT nState)
{
    HWND hToolBand = CMyCoolBar::GetToolBand();
    if (hToolBand == nullptr || !::IsWindow(hToolBand))
        return;
    // Called on every tick: a button already in that state is left alone.
    LRESULT nOld = ::SendMessageA(hToolBand, TB_GETSTATE, nID, 0);
    if (nOld != -1
        && (static_cast<UINT>(nOld) & (TBSTATE_CHECKED | TBSTATE_ENABLED))
               == (nState & (TBSTATE_CHECKED | TBSTATE_ENABLED)))
        return;
    ::SendMessageA(hToolBand, TB_CHECKBUTTON, nID, MAKELONG((nState & TBSTATE_CHECKED) != 0, 0));
    ::SendMessageA(hToolBand, TB_ENABLEBUTTON, nID, MAKELONG((nState & TBSTATE_ENABLED) != 0, 0));
}
