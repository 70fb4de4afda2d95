// The explorer's shell folder tree: filling from the shell namespace, finding folders, keys and the
// shell's own context menu.
#include "explorer/ShellTree.h"

#include "core/BusyCursor.h"
#include "core/ShellFolderListing.h"
#include "core/SystemUtil.h"
#include "framework/CommonDialogs.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <cstring>

ShellMenuCommandFn g_pfnInvokeShellMenuCommand = nullptr;

static LONG s_nLiveItems = 0;

LONG CExplorerTreeCtrl::LiveItemCount() { return s_nLiveItems; }

// ---- item-id lists ----

static IMalloc* ShellAllocator()
{
    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)))
        return nullptr;
    return pMalloc;
}

UINT GetItemIdListSize(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr)
        return 0;
    UINT size = sizeof(pidl->mkid.cb);
    while (pidl->mkid.cb != 0) {
        size += pidl->mkid.cb;
        pidl = reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(pidl) + pidl->mkid.cb);
    }
    return size;
}

LPITEMIDLIST AllocItemIdList(UINT size)
{
    IMalloc* pMalloc = ShellAllocator();
    if (pMalloc == nullptr)
        return nullptr;
    auto* pidl = static_cast<LPITEMIDLIST>(pMalloc->Alloc(size));
    if (pidl != nullptr)
        memset(pidl, 0, size);
    pMalloc->Release();
    return pidl;
}

void FreeItemIdList(LPITEMIDLIST pidl)
{
    if (pidl != nullptr)
        ::CoTaskMemFree(pidl);
}

LPITEMIDLIST ConcatItemIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    UINT size1 = first != nullptr ? GetItemIdListSize(first) - sizeof(first->mkid.cb) : 0;
    UINT size2 = GetItemIdListSize(second);
    if (second == nullptr)
        size2 = sizeof(USHORT);
    LPITEMIDLIST pidl = AllocItemIdList(size1 + size2);
    if (pidl == nullptr)
        return nullptr;
    if (first != nullptr)
        memcpy(pidl, first, size1);
    if (second != nullptr)
        memcpy(reinterpret_cast<BYTE*>(pidl) + size1, second, size2);
    return pidl;
}

LPITEMIDLIST CopyItemId(IMalloc* pMalloc, LPCITEMIDLIST pidl)
{
    UINT size = pidl->mkid.cb + sizeof(USHORT);
    auto* copy = static_cast<LPITEMIDLIST>(pMalloc->Alloc(size));
    if (copy != nullptr) {
        memcpy(copy, pidl, pidl->mkid.cb);
        *reinterpret_cast<USHORT*>(reinterpret_cast<BYTE*>(copy) + pidl->mkid.cb) = 0;
    }
    return copy;
}

BOOL GetShellDisplayName(IShellFolder* pFolder, LPCITEMIDLIST pidl, DWORD flags, char name[MAX_PATH])
{
    STRRET str;
    memset(&str, 0, sizeof(str));
    if (FAILED(pFolder->GetDisplayNameOf(pidl, flags, &str)))
        return FALSE;
    switch (str.uType) {
    case STRRET_WSTR: {
        int n = ::WideCharToMultiByte(CP_ACP, 0, str.pOleStr, -1, name, MAX_PATH, nullptr, nullptr);
        ::CoTaskMemFree(str.pOleStr);
        if (n == 0)
            return FALSE;
        break;
    }
    case STRRET_OFFSET:
        lstrcpynA(name, reinterpret_cast<const char*>(pidl) + str.uOffset, MAX_PATH);
        break;
    case STRRET_CSTR:
        lstrcpynA(name, str.cStr, MAX_PATH);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

CString GetItemIdListPath(LPCITEMIDLIST pidl)
{
    CString path;
    return AfxGetItemIdListPath(pidl, &path) == AfxItemPath::Found ? path : CString();
}

CString TrimFolderPath(const CString& path)
{
    if (path.GetLength() > 1 && path.Right(1) == "\\")
        return path.Left(path.GetLength() - 1);
    return path;
}

// ---- the shell's menus ----

BOOL ShowShellContextMenu(CWnd* pOwner, IShellFolder* pFolder, LPCITEMIDLIST pidlRelative, POINT point)
{
    IContextMenu* pMenu = nullptr;
    LPCITEMIDLIST items[1] = {pidlRelative};
    HRESULT hr = pFolder->GetUIObjectOf(pOwner->m_hWnd, 1, items, IID_IContextMenu, nullptr,
                                        reinterpret_cast<void**>(&pMenu));
    if (FAILED(hr) || pMenu == nullptr) {
        CString text;
        text.Format("GetUIObjectOf failed! hr = %lx", static_cast<unsigned long>(hr));
        AfxMessageBox(text);
        return FALSE;
    }
    CMenu menu;
    if (!menu.CreatePopupMenu() || FAILED(pMenu->QueryContextMenu(menu.m_hMenu, 0, 1, 0x7FFF, CMF_EXPLORE))) {
        pMenu->Release();
        return FALSE;
    }
    UINT nCmd = static_cast<UINT>(
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, pOwner));
    if (nCmd != 0) {
        CMINVOKECOMMANDINFO info;
        memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.hwnd = pOwner->m_hWnd;
        info.lpVerb = MAKEINTRESOURCEA(nCmd - 1);
        info.nShow = SW_SHOWNORMAL;
        hr = pMenu->InvokeCommand(&info);
        if (FAILED(hr)) {
            CString text;
            text.Format("InvokeCommand failed. hr = %lx", static_cast<unsigned long>(hr));
            AfxMessageBox(text);
        }
    }
    menu.DestroyMenu();
    pMenu->Release();
    return TRUE;
}

BOOL InvokeShellMenuCommand(CWnd* pOwner, IShellFolder* pFolder, LPCITEMIDLIST* ppidl, UINT count, UINT verb)
{
    if (g_pfnInvokeShellMenuCommand != nullptr)
        return g_pfnInvokeShellMenuCommand(pOwner, pFolder, ppidl, count, verb);
    IContextMenu* pMenu = nullptr;
    HRESULT hr = pFolder->GetUIObjectOf(pOwner->m_hWnd, count, ppidl, IID_IContextMenu, nullptr,
                                        reinterpret_cast<void**>(&pMenu));
    if (FAILED(hr) || pMenu == nullptr) {
        CString text;
        text.Format("GetUIObjectOf failed! hr = %lx", static_cast<unsigned long>(hr));
        AfxMessageBox(text);
        return FALSE;
    }
    HMENU hMenu = ::CreatePopupMenu();
    if (hMenu == nullptr || FAILED(pMenu->QueryContextMenu(hMenu, 0, 1, 0x7FFF, CMF_EXPLORE))) {
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        pMenu->Release();
        return FALSE;
    }
    CMINVOKECOMMANDINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.hwnd = pOwner->m_hWnd;
    info.lpVerb = MAKEINTRESOURCEA(verb);
    info.nShow = SW_SHOWNORMAL;
    hr = pMenu->InvokeCommand(&info);
    if (FAILED(hr)) {
        CString text;
        text.Format("InvokeCommand failed. hr = %lx", static_cast<unsigned long>(hr));
        AfxMessageBox(text);
    }
    ::DestroyMenu(hMenu);
    pMenu->Release();
    return TRUE;
}

// ---- the tree ----

BEGIN_MESSAGE_MAP(CExplorerTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGW, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMA, OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMW, OnDeleteItem)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_WM_SETFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_MESSAGE(WM_SHELLTREE_IDENTIFY, OnShellTreeIdentify)
END_MESSAGE_MAP()

BOOL CExplorerTreeCtrl::CreateTree(CWnd* pParent, UINT nID, CShellTreeOwner* pOwner)
{
    m_pOwner = pOwner;
    if (!Create(kStyle, CRect(0, 0, 0, 0), pParent, nID))
        return FALSE;
    SHFILEINFOA info;
    memset(&info, 0, sizeof(info));
    auto hList = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (hList != nullptr)
        SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(hList));
    return TRUE;
}

void CExplorerTreeCtrl::FillTree()
{
    IMalloc* pMalloc = ShellAllocator();
    if (pMalloc == nullptr)
        return;
    IShellFolder* pDesktop = nullptr;
    LPITEMIDLIST pidlDrives = nullptr;
    IShellFolder* pDrives = nullptr;
    HWND hOwner = GetParent() != nullptr ? GetParent()->m_hWnd : m_hWnd;
    if (SUCCEEDED(::SHGetDesktopFolder(&pDesktop))
        && SUCCEEDED(::SHGetSpecialFolderLocation(hOwner, CSIDL_DRIVES, &pidlDrives))
        && SUCCEEDED(pDesktop->BindToObject(pidlDrives, nullptr, IID_IShellFolder,
                                            reinterpret_cast<void**>(&pDrives)))) {
        DeleteAllItems();
        FillTreeLevel(pDrives, pidlDrives, TVI_ROOT);
        TVSORTCB sort = {TVI_ROOT, CompareTreeItems, 0};
        SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    if (pDrives != nullptr)
        pDrives->Release();
    if (pDesktop != nullptr)
        pDesktop->Release();
    if (pidlDrives != nullptr)
        pMalloc->Free(pidlDrives);
    pMalloc->Release();
}

void CExplorerTreeCtrl::FillTreeLevel(IShellFolder* pFolder, LPCITEMIDLIST pidlFolder, HTREEITEM hParent)
{
    IMalloc* pMalloc = ShellAllocator();
    if (pMalloc == nullptr)
        return;
    HWND hOwner = GetParent() != nullptr ? GetParent()->m_hWnd : m_hWnd;
    int nAdded = 0;
    CShellFolderListing listing(pFolder, pidlFolder, hOwner);
    ShellChildFolder child;
    while (listing.Next(child)) {
        // A virtual folder (control panel, printers) has no disk path: only disk folders enter the
        // tree; nor does one whose path the code page cannot spell (it would name its look-alike).
        if (child.pathKind != AfxItemPath::Found)
            continue;
        TVITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        if (child.attributes & SFGAO_HASSUBFOLDER) {
            item.mask |= TVIF_CHILDREN;
            item.cChildren = 1;
        }
        auto* data = static_cast<ShellTreeItem*>(pMalloc->Alloc(sizeof(ShellTreeItem)));
        char name[MAX_PATH];
        if (data == nullptr || !GetShellDisplayName(pFolder, child.pidlRelative, SHGDN_NORMAL, name)) {
            if (data != nullptr)
                pMalloc->Free(data);
            break;
        }
        if (!(item.mask & TVIF_CHILDREN) && lstrcmpiA(name, "Temporary Internet Files") == 0) {
            item.mask |= TVIF_CHILDREN;
            item.cChildren = 1;
        }
        data->pidlRelative = child.pidlRelative;
        data->pidlAbsolute = child.pidlAbsolute;
        child.pidlRelative = nullptr;
        child.pidlAbsolute = nullptr;
        data->pParentFolder = pFolder;
        pFolder->AddRef();
        SHFILEINFOA info;
        memset(&info, 0, sizeof(info));
        ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(data->pidlAbsolute), 0, &info, sizeof(info),
                         SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        item.iImage = info.iIcon;
        ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(data->pidlAbsolute), 0, &info, sizeof(info),
                         SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
        item.iSelectedImage = info.iIcon;
        item.pszText = name;
        item.lParam = reinterpret_cast<LPARAM>(data);
        TVINSERTSTRUCTA insert;
        memset(&insert, 0, sizeof(insert));
        insert.hParent = hParent;
        insert.hInsertAfter = TVI_FIRST;
        insert.item = item;
        InterlockedIncrement(&s_nLiveItems);
        if (InsertItem(&insert) == nullptr) {
            // The tree refused it: nothing else will free the data.
            data->pParentFolder->Release();
            pMalloc->Free(data->pidlRelative);
            FreeItemIdList(data->pidlAbsolute);
            pMalloc->Free(data);
            InterlockedDecrement(&s_nLiveItems);
        } else {
            nAdded++;
        }
    }
    // The shell may call every folder one with sub-folders: an opened folder without any loses its "+".
    if (nAdded == 0 && hParent != TVI_ROOT && hParent != nullptr) {
        TVITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = TVIF_CHILDREN;
        item.hItem = hParent;
        item.cChildren = 0;
        SetItem(&item);
    }
    pMalloc->Release();
}

int CALLBACK CExplorerTreeCtrl::CompareTreeItems(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    auto* a = reinterpret_cast<ShellTreeItem*>(lParam1);
    auto* b = reinterpret_cast<ShellTreeItem*>(lParam2);
    if (a == nullptr || b == nullptr)
        return 0;
    HRESULT hr = a->pParentFolder->CompareIDs(0, a->pidlRelative, b->pidlRelative);
    if (FAILED(hr))
        return 0;
    return static_cast<short>(HRESULT_CODE(hr));
}

IShellFolder* CExplorerTreeCtrl::BindItem(HTREEITEM hItem)
{
    ShellTreeItem* data = GetShellItem(hItem);
    if (data == nullptr)
        return nullptr;
    IShellFolder* pFolder = nullptr;
    if (FAILED(data->pParentFolder->BindToObject(data->pidlRelative, nullptr, IID_IShellFolder,
                                                 reinterpret_cast<void**>(&pFolder))))
        return nullptr;
    return pFolder;
}

CString CExplorerTreeCtrl::GetTreeItemPath(HTREEITEM hItem)
{
    ShellTreeItem* data = GetShellItem(hItem);
    if (data == nullptr)
        return CString();
    IShellFolder* pFolder = BindItem(hItem);
    if (pFolder == nullptr)
        return CString();
    pFolder->Release();
    return TrimFolderPath(GetItemIdListPath(data->pidlAbsolute));
}

CString CExplorerTreeCtrl::GetItemFolderPath(HTREEITEM hItem)
{
    ShellTreeItem* data = GetShellItem(hItem);
    if (data == nullptr)
        return CString();
    return TrimFolderPath(GetItemIdListPath(data->pidlAbsolute));
}

CString CExplorerTreeCtrl::GetItemDisplayName(HTREEITEM hItem)
{
    ShellTreeItem* data = GetShellItem(hItem);
    char name[MAX_PATH];
    if (data == nullptr || !GetShellDisplayName(data->pParentFolder, data->pidlRelative, SHGDN_NORMAL, name))
        return CString();
    return CString(name);
}

CString CExplorerTreeCtrl::GetItemDisplayPath(HTREEITEM hItem)
{
    CString result = GetItemDisplayName(hItem);
    for (HTREEITEM hUp = GetParentItem(hItem); hUp != nullptr; hUp = GetParentItem(hUp)) {
        if (GetShellItem(hUp) == nullptr)
            break;
        CString name = GetItemDisplayName(hUp);
        result = name.Right(1) == "\\" ? name + result : name + "\\" + result;
    }
    return result;
}

void CExplorerTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* pnm = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    HTREEITEM hItem = pnm->itemNew.hItem;
    if (GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)
        return;
    ShellTreeItem* data = GetShellItem(hItem);
    if (data == nullptr)
        return;
    IShellFolder* pFolder = BindItem(hItem);
    SetAppCursor(kAppCursorBusy);
    if (pFolder != nullptr) {
        FillTreeLevel(pFolder, data->pidlAbsolute, hItem);
        pFolder->Release();
    }
    RestoreAppCursor();
    TVSORTCB sort = {hItem, CompareTreeItems, 0};
    SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void CExplorerTreeCtrl::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_pOwner == nullptr || m_pOwner->IsTreeSelectionFrozen())
        return;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem;
    ShellTreeItem* data = GetShellItem(hItem);
    if (data == nullptr)
        return;
    IShellFolder* pFolder = BindItem(hItem);
    if (pFolder == nullptr)
        return;
    pFolder->Release();
    CString path = TrimFolderPath(GetItemIdListPath(data->pidlAbsolute));
    m_pOwner->OnTreeFolderRequested(path, GetItemDisplayName(hItem), GetItemDisplayPath(hItem));
}

void CExplorerTreeCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* data = reinterpret_cast<ShellTreeItem*>(reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemOld.lParam);
    if (data == nullptr)
        return;
    IMalloc* pMalloc = ShellAllocator();
    if (pMalloc == nullptr)
        return;
    data->pParentFolder->Release();
    pMalloc->Free(data->pidlRelative);
    pMalloc->Free(data->pidlAbsolute);
    pMalloc->Free(data);
    pMalloc->Release();
    InterlockedDecrement(&s_nLiveItems);
}

void CExplorerTreeCtrl::OnRightClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    POINT screen;
    ::GetCursorPos(&screen);
    POINT point = screen;
    ScreenToClient(&point);
    TVHITTESTINFO hit;
    memset(&hit, 0, sizeof(hit));
    hit.pt = point;
    auto hItem = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    SelectItem(hItem);
    ShellTreeItem* data = GetShellItem(hItem);
    if (hItem != nullptr && (hit.flags & TVHT_ONITEMLABEL) && data != nullptr) {
        CWnd* pOwner = GetParent() != nullptr ? GetParent() : this;
        ShowShellContextMenu(pOwner, data->pParentFolder, data->pidlRelative, screen);
    }
    *pResult = 1;
}

HTREEITEM CExplorerTreeCtrl::FindSibling(HTREEITEM hFirst, const CString& key, BOOL byPath)
{
    HTREEITEM hFolded = nullptr;
    for (HTREEITEM h = hFirst; h != nullptr; h = GetNextSiblingItem(h)) {
        CString itemKey;
        if (byPath) {
            itemKey = GetTreeItemPath(h);
            int slash = itemKey.ReverseFind('\\');
            if (slash >= 0)
                itemKey = itemKey.Mid(slash + 1);
        } else {
            itemKey = GetItemDisplayName(h);
        }
        if (itemKey == key)
            return h;
        // Disk names ignore case: a path typed or remembered in another case still finds its folder.
        if (hFolded == nullptr && AfxAnsiCompareNoCase(itemKey, key) == 0)
            hFolded = h;
    }
    return hFolded;
}

void CExplorerTreeCtrl::SelectByComponents(CString path, BOOL byPath)
{
    HTREEITEM hItem = GetRootItem();
    if (hItem == nullptr)
        return;
    for (;;) {
        int slash = path.Find('\\');
        BOOL bLast = slash < 0;
        CString part = bLast ? path : path.Left(slash);
        path = bLast ? CString() : path.Mid(slash + 1);
        if (!bLast && path.IsEmpty())
            bLast = TRUE;
        HTREEITEM hFound = FindSibling(hItem, part, byPath);
        if (hFound == nullptr)
            return;
        if (bLast) {
            SelectItem(hFound);
            return;
        }
        HTREEITEM hChild = nullptr;
        if (Expand(hFound, TVE_EXPAND))
            hChild = GetChildItem(hFound);
        if (hChild == nullptr) {
            SelectItem(hFound);
            return;
        }
        hItem = hChild;
    }
}

void CExplorerTreeCtrl::SelectTreeFolderByPath(CString path)
{
    if (path.Right(1) == "\\")
        path = path.Left(path.GetLength() - 1);
    SelectByComponents(path, TRUE);
}

void CExplorerTreeCtrl::SelectTreeFolderByDisplayPath(CString displayPath)
{
    // A drive's display name may itself end with '\': split on the names, not blindly on '\'.
    HTREEITEM hItem = GetRootItem();
    while (hItem != nullptr && !displayPath.IsEmpty()) {
        HTREEITEM hFound = nullptr;
        CString rest;
        for (HTREEITEM h = hItem; h != nullptr && hFound == nullptr; h = GetNextSiblingItem(h)) {
            CString name = GetItemDisplayName(h);
            if (name.IsEmpty() || displayPath.Left(name.GetLength()) != name)
                continue;
            CString after = displayPath.Mid(name.GetLength());
            if (after.IsEmpty()) {
                hFound = h;
            } else if (name.Right(1) == "\\") {
                hFound = h;
                rest = after;
            } else if (after[0] == '\\') {
                hFound = h;
                rest = after.Mid(1);
            }
        }
        if (hFound == nullptr)
            return;
        if (rest.IsEmpty()) {
            SelectItem(hFound);
            return;
        }
        HTREEITEM hChild = nullptr;
        if (Expand(hFound, TVE_EXPAND))
            hChild = GetChildItem(hFound);
        if (hChild == nullptr) {
            SelectItem(hFound);
            return;
        }
        hItem = hChild;
        displayPath = rest;
    }
}

void CExplorerTreeCtrl::RefreshItemButton(HTREEITEM hItem)
{
    TVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = HasSubfolders(GetItemFolderPath(hItem)) ? 1 : 0;
    SetItem(&item);
}

void CExplorerTreeCtrl::CollapseReset(HTREEITEM hItem) { Expand(hItem, TVE_COLLAPSE | TVE_COLLAPSERESET); }

void CExplorerTreeCtrl::SelectChildByName(const CString& name)
{
    HTREEITEM hItem = GetSelectedItem();
    if (hItem == nullptr)
        return;
    if (!(GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED)) {
        CollapseReset(hItem);
        Expand(hItem, TVE_EXPAND);
    }
    for (HTREEITEM h = GetChildItem(hItem); h != nullptr; h = GetNextSiblingItem(h)) {
        if (AfxAnsiCompareNoCase(GetItemText(h), name) == 0) {
            SelectItem(h);
            return;
        }
    }
}

// ---- focus and keys ----

void CExplorerTreeCtrl::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pOwner != nullptr)
        m_pOwner->OnTreeFocus();
    CTreeCtrl::OnSetFocus(pOldWnd);
}

static BOOL IsSwallowedKey(UINT nChar)
{
    return nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE || nChar == VK_SPACE
           || nChar == VK_INSERT || nChar == VK_DELETE;
}

void CExplorerTreeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CWnd* pMain = AfxGetMainWnd();
    switch (nChar) {
    case VK_TAB:
        if (m_pOwner != nullptr)
            m_pOwner->OnTreeTab();
        return;
    case VK_RETURN: {
        HTREEITEM hItem = GetSelectedItem();
        if (hItem == nullptr)
            return;
        BOOL bExpanded = (GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        CollapseReset(hItem);
        if (!bExpanded)
            Expand(hItem, TVE_EXPAND);
        return;
    }
    case VK_ESCAPE:
        if (pMain != nullptr)
            pMain->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY_BAR);
        break;
    case VK_SPACE:
        if (m_pOwner != nullptr)
            m_pOwner->OnTreeSpace();
        return;
    case VK_INSERT:
        if (GetParent() != nullptr)
            GetParent()->PostMessage(WM_COMMAND, ID_EXPLORER_NEW_FOLDER);
        break;
    case VK_DELETE:
        if (GetParent() != nullptr)
            GetParent()->PostMessage(WM_COMMAND, ID_EXPLORER_DELETE);
        break;
    case VK_F5:
        if (pMain != nullptr)
            pMain->SendMessage(WM_COMMAND, ID_EXPLORER_REFRESH);
        return;
    default:
        break;
    }
    CTreeCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CExplorerTreeCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsSwallowedKey(nChar))
        CTreeCtrl::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CExplorerTreeCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == '\t' || nChar == '\r' || nChar == 27 || nChar == ' ')
        return;
    CTreeCtrl::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CExplorerTreeCtrl::OnShellTreeIdentify(WPARAM, LPARAM) { return kShellTreeIdentity; }
