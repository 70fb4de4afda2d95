// The explorer's commands on the folder shown and through the shell: new folder, delete and
// properties (on the list's selection or on the folder), the automatic full-screen switch.
#include "explorer/ExplorerView.h"

#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "explorer/ExplorerGlobals.h"
#include "framework/CmdUI.h"
#include "framework/CommandKeys.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "piclist/FailureCause.h"
#include "piclist/LibraryState.h"
#include "piclist/NameRule.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"
#include "shell/NewFolderDlg.h"
#include "shell/Settings.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// A drive as letter and colon gets its root backslash.
CString WithDriveRoot(const CString& path)
{
    if (path.GetLength() == 2 && path[1] == ':')
        return path + "\\";
    return path;
}

std::wstring Wide(const CString& text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    return wide;
}

BOOL IsDriveRoot(const CString& path)
{
    return (path.GetLength() == 2 && path[1] == ':')
           || (path.GetLength() == 3 && path[1] == ':' && path[2] == '\\');
}

void StopBox(UINT nID, const CString& name)
{
    CString text;
    text.Format(AfxLoadText(nID), static_cast<LPCSTR>(name));
    ::MessageBeep(MB_ICONHAND);
    AfxMessageBox(text, MB_ICONINFORMATION);
}

} // namespace

BOOL InvokeShellVerbOnFiles(CWnd* pOwner, const CStringArray& paths, UINT verb)
{
    if (paths.GetSize() == 0)
        return FALSE;
    IShellFolder* pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)))
        return FALSE;
    CTransferBusy busy;
    BOOL bResult = FALSE;
    IShellFolder* pFolder = nullptr;
    LPITEMIDLIST pidlFolder = nullptr;
    std::vector<LPITEMIDLIST> items;
    for (INT_PTR i = 0; i < paths.GetSize(); i++) {
        int slash = paths[i].ReverseFind('\\');
        if (slash < 0)
            break;
        CString folder = WithDriveRoot(paths[i].Left(slash));
        CString name = paths[i].Mid(slash + 1);
        if (pFolder == nullptr) {
            std::wstring wide = Wide(folder);
            if (FAILED(pDesktop->ParseDisplayName(pOwner->m_hWnd, nullptr, &wide[0], nullptr, &pidlFolder,
                                                  nullptr))
                || FAILED(pDesktop->BindToObject(pidlFolder, nullptr, IID_IShellFolder,
                                                 reinterpret_cast<void**>(&pFolder)))) {
                pFolder = nullptr;
                break;
            }
        }
        std::wstring wideName = Wide(name);
        LPITEMIDLIST pidl = nullptr;
        if (SUCCEEDED(
                pFolder->ParseDisplayName(pOwner->m_hWnd, nullptr, &wideName[0], nullptr, &pidl, nullptr))
            && pidl != nullptr)
            items.push_back(pidl);
    }
    if (pFolder != nullptr && !items.empty()) {
        std::vector<LPCITEMIDLIST> constItems(items.begin(), items.end());
        bResult = InvokeShellMenuCommand(pOwner, pFolder, constItems.data(),
                                         static_cast<UINT>(constItems.size()), verb);
    }
    for (LPITEMIDLIST pidl : items)
        ::CoTaskMemFree(pidl);
    if (pidlFolder != nullptr)
        ::CoTaskMemFree(pidlFolder);
    if (pFolder != nullptr)
        pFolder->Release();
    pDesktop->Release();
    return bResult;
}

void CExplorerView::OnNewFolder()
{
    if (m_strShownPath.IsEmpty())
        return;
    m_tree.SetFocus();
    CString parent = m_strRequestedPath;
    if (parent.Right(1) != "\\")
        parent += "\\";
    // The typed name is tried while the dialog is open: a name refused stays there to be mended.
    CString name;
    BOOL bMade = FALSE;
    CNewFolderDlg dlg(this);
    dlg.m_try = [&](const CString& typed) -> BOOL {
        name = typed;
        // A typed name never reaches another folder: "..\x" or "a/b" is refused, with the reason.
        if (!IsAcceptableName(name)) {
            ReportRefusedName();
            return FALSE;
        }
        const CString path = parent + name;
        if (FolderExists(path) || ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
            StopBox(IDS_FOLDER_NAME_TAKEN, name);
            return FALSE;
        }
        // A path the system would refuse, or could make but not open again, is not a lack of
        // rights: the cause is said, as the library says it.
        ForgetFailedStep();
        if (!CheckNameFits(path, TRUE)) {
            CString text;
            text.Format(AfxLoadText(IDS_CREATE_LIBRARY_FOLDER_FAILED), static_cast<LPCSTR>(name));
            ::MessageBeep(MB_ICONEXCLAMATION);
            AfxMessageBox(WithFailedFolderStepCause(text), MB_ICONEXCLAMATION);
            return FALSE;
        }
        bMade = ::CreateDirectoryA(path, nullptr);
        if (!bMade)
            StopBox(IDS_CREATE_FOLDER_FAILED, name);
        return TRUE;
    };
    const BOOL bOK = dlg.DoModal() == IDOK;
    m_tree.SetFocus();
    if (!bOK || !bMade)
        return;
    // The new folder is where the user goes on: the tree keeps the keys.
    AfxKeysChosen();
    HTREEITEM hItem = m_tree.GetSelectedItem();
    if (hItem == nullptr)
        return;
    SetAppCursor(kAppCursorBusy);
    if (!(m_tree.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED)) {
        m_tree.CollapseReset(hItem);
        m_tree.RefreshItemButton(hItem);
    } else {
        m_tree.CollapseReset(hItem);
    }
    m_tree.Expand(hItem, TVE_EXPAND);
    m_tree.SelectChildByName(name);
    RestoreAppCursor();
}

void CExplorerView::OnUpdateNewFolder(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_strShownPath.IsEmpty()); }

void CExplorerView::OnDelete()
{
    if (m_bListHasFocus) {
        CStringArray paths;
        GetSelectedPaths(paths);
        InvokeShellVerbOnFiles(this, paths, kShellVerbDelete);
        // The list the pictures went from keeps the keys, wherever the command came from.
        FocusList();
        AfxKeysChosen();
        return;
    }
    CString shown = TrimFolderPath(m_strShownPath);
    if (shown.IsEmpty() || IsDriveRoot(shown))
        return;
    CStringArray one;
    one.Add(shown);
    // The watch holds the folder open: a folder deleted while it is open stays on disk until the
    // watch lets go, and the delete would look failed. It watches again if the folder stays.
    StopFolderWatch();
    BOOL bDone = InvokeShellVerbOnFiles(this, one, kShellVerbDelete);
    if (FolderExists(shown))
        StartFolderWatch(shown);
    if (bDone && !FolderExists(shown)) {
        HTREEITEM hItem = m_tree.GetSelectedItem();
        if (hItem != nullptr) {
            HTREEITEM hNext = m_tree.GetNextSiblingItem(hItem);
            if (hNext == nullptr)
                hNext = m_tree.GetPrevSiblingItem(hItem);
            if (hNext == nullptr)
                hNext = m_tree.GetParentItem(hItem);
            m_tree.DeleteItem(hItem);
            if (hNext != nullptr)
                m_tree.SelectItem(hNext);
        }
    }
    m_tree.SetFocus();
    AfxKeysChosen();
}

void CExplorerView::OnUpdateDelete(CCmdUI* pCmdUI)
{
    if (m_bListHasFocus)
        pCmdUI->Enable(GetSelectedCount() > 0);
    else
        pCmdUI->Enable(!m_strShownPath.IsEmpty() && !IsDriveRoot(m_strShownPath));
}

void CExplorerView::OnProperties()
{
    if (m_bListHasFocus) {
        CStringArray paths;
        GetSelectedPaths(paths);
        InvokeShellVerbOnFiles(this, paths, kShellVerbProperties);
        return;
    }
    CString shown = TrimFolderPath(m_strShownPath);
    if (shown.IsEmpty())
        return;
    // The folder's own context menu, from its parent: the shell's "properties" verb on a folder's
    // item list opens a browsing window on some systems instead of the sheet.
    CStringArray one;
    one.Add(shown);
    if (IsDriveRoot(shown) || !InvokeShellVerbOnFiles(this, one, kShellVerbProperties)) {
        IShellFolder* pDesktop = nullptr;
        if (SUCCEEDED(::SHGetDesktopFolder(&pDesktop))) {
            std::wstring wide = Wide(WithDriveRoot(shown));
            LPITEMIDLIST pidl = nullptr;
            if (SUCCEEDED(pDesktop->ParseDisplayName(m_hWnd, nullptr, &wide[0], nullptr, &pidl, nullptr))) {
                CTransferBusy busy;
                SHELLEXECUTEINFOA info;
                memset(&info, 0, sizeof(info));
                info.cbSize = sizeof(info);
                info.fMask = SEE_MASK_INVOKEIDLIST;
                info.hwnd = m_hWnd;
                info.lpVerb = "properties";
                info.lpIDList = pidl;
                info.nShow = SW_SHOWNORMAL;
                ::ShellExecuteExA(&info);
                ::CoTaskMemFree(pidl);
            }
            pDesktop->Release();
        }
    }
    m_tree.SetFocus();
    AfxKeysChosen();
}

void CExplorerView::OnUpdateProperties(CCmdUI* pCmdUI)
{
    if (m_bListHasFocus)
        pCmdUI->Enable(GetSelectedCount() > 0);
    else
        pCmdUI->Enable(!m_strShownPath.IsEmpty());
}

void CExplorerView::OnToggleFullScreenOpen()
{
    m_bFullScreenOpen = !m_bFullScreenOpen;
    g_PleinEcranAuto = m_bFullScreenOpen ? 1 : 0;
}

void CExplorerView::OnUpdateToggleFullScreenOpen(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bFullScreenOpen); }
