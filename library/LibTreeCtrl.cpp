// The library's folder tree: fixed folders, filling on expansion, naming and moving folders.
#include "library/LibTreeCtrl.h"

#include "shell/AppMessages.h"
#include "core/FolderListing.h"
#include "framework/CommandKeys.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIFrameWnd.h"
#include "framework/Menu.h"
#include "framework/PathDoor.h"
#include "framework/WinApp.h"
#include "piclist/LibraryHost.h"
#include "library/ProtectedAccess.h"
#include "piclist/FailureCause.h"
#include "piclist/PictureRename.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"

#include <shellapi.h>

#include <vector>

namespace {

void Beep() { ::MessageBeep(static_cast<UINT>(-1)); }

CString Join(const CString& folder, const CString& name)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\')
        return folder + name;
    return folder + "\\" + name;
}

// The tree's listings leave out a folder whose name the code page cannot spell: an item's path is
// made of its labels, and the look-alike spelling the ANSI calls give it (a Polish barred L as an L:
// "Lodz") names another folder, on which every command of the item would then act.
const UnspelledNames kTreeUnspelled = UnspelledNames::Skipped;

// A sub-folder the tree shows.
BOOL IsListedFolder(const WIN32_FIND_DATAA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(entry.cFileName);
}

BOOL IsFolder(const CString& path)
{
    DWORD attr = ::GetFileAttributesA(path);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

CString FolderNotCreatedText(const CString& name, BOOL taken)
{
    CString text;
    text.Format(AfxLoadText(taken ? IDS_FOLDER_NAME_TAKEN : IDS_CREATE_LIBRARY_FOLDER_FAILED),
                static_cast<LPCSTR>(name));
    return taken ? text : WithFailedFolderStepCause(text);
}

IMPLEMENT_DYNCREATE(CLibTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CLibTreeCtrl, CTreeCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, OnBeginDrag)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_KEYUP()
    ON_WM_SETFOCUS()
    ON_WM_DROPFILES()
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(WM_TREELABELEDITEND, OnEditFailed)
END_MESSAGE_MAP()

CLibTreeCtrl::CLibTreeCtrl() { TakeLibraryRoot(); }

void CLibTreeCtrl::TakeLibraryRoot()
{
    m_strRootPath = LibraryRoot();
    while (!m_strRootPath.IsEmpty() && m_strRootPath[m_strRootPath.GetLength() - 1] == '\\')
        m_strRootPath = m_strRootPath.Left(m_strRootPath.GetLength() - 1);
}

CLibTreeCtrl::~CLibTreeCtrl() { delete m_pDragImage; }

CLibTreeOwner* CLibTreeCtrl::Owner() const
{
    CWnd* pParent = GetParent();
    return pParent != nullptr ? dynamic_cast<CLibTreeOwner*>(pParent) : nullptr;
}

void CLibTreeCtrl::PostToOwner(UINT nCmd)
{
    CLibTreeOwner* pOwner = Owner();
    HWND hTarget = pOwner != nullptr ? pOwner->CommandTarget() : nullptr;
    if (hTarget == nullptr)
        hTarget = ::GetParent(m_hWnd);
    if (hTarget != nullptr)
        ::PostMessageA(hTarget, WM_COMMAND, nCmd, 0);
}

int CLibTreeCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_imageList.Create(IDB_LIBRARY_TREE, 16, 0, RGB(255, 0, 255)))
        SetImageList(&m_imageList, TVSIL_NORMAL);
    InitFolders();
    ::DragAcceptFiles(m_hWnd, TRUE);
    return 0;
}

// ---- kinds and paths ----

int CLibTreeCtrl::GetItemKind(HTREEITEM hItem) const
{
    if (hItem == m_hRoot)
        return LIB_KIND_ROOT;
    if (hItem == m_hImages)
        return LIB_KIND_IMAGES;
    if (hItem == m_hFavorites)
        return LIB_KIND_FAVORITES;
    if (hItem == m_hProtected)
        return LIB_KIND_PROTECTED;
    if (hItem == m_hTrash)
        return LIB_KIND_TRASH;
    return LIB_KIND_FOLDER;
}

CString CLibTreeCtrl::GetItemPath(HTREEITEM hItem) const
{
    if (hItem == nullptr)
        return CString();
    CString path;
    for (HTREEITEM h = hItem; h != nullptr; h = GetParentItem(h)) {
        if (h == m_hRoot)
            return path.IsEmpty() ? m_strRootPath : m_strRootPath + "\\" + path;
        path = path.IsEmpty() ? GetItemText(h) : GetItemText(h) + "\\" + path;
    }
    return path;
}

CString CLibTreeCtrl::GetSelectedPath() const { return GetItemPath(GetSelectedItem()); }

CString CLibTreeCtrl::GetSelectedText() const
{
    HTREEITEM h = GetSelectedItem();
    return h != nullptr ? GetItemText(h) : CString();
}

// ---- filling ----

HTREEITEM CLibTreeCtrl::InsertFolderItem(const CString& name, HTREEITEM hParent, HTREEITEM hAfter, int image)
{
    return InsertItem(name, image, image, hParent, hAfter);
}

BOOL CLibTreeCtrl::HasSubfolders(const CString& folder)
{
    CFolderListing listing(Join(folder, "*.*"), kTreeUnspelled);
    WIN32_FIND_DATAA data;
    while (listing.Next(data)) {
        if (IsListedFolder(data))
            return TRUE;
    }
    return FALSE;
}

void CLibTreeCtrl::UpdateExpandButton(HTREEITEM hItem)
{
    if (hItem == nullptr || hItem == m_hTrash)
        return;
    BOOL bSub = HasSubfolders(GetItemPath(hItem));
    HTREEITEM hChild = GetChildItem(hItem);
    if (bSub && hChild == nullptr) {
        InsertItem("", hItem);
    } else if (!bSub) {
        while (hChild != nullptr) {
            HTREEITEM hNext = GetNextSiblingItem(hChild);
            DeleteItem(hChild);
            hChild = hNext;
        }
    }
}

int CLibTreeCtrl::FillChildren(HTREEITEM hItem, const CString& path)
{
    CFolderListing listing(Join(path, "*.*"), kTreeUnspelled);
    WIN32_FIND_DATAA data;
    std::vector<HTREEITEM> inserted;
    while (listing.Next(data)) {
        if (IsListedFolder(data))
            inserted.push_back(InsertFolderItem(data.cFileName, hItem, TVI_SORT, kTreeIconFolder));
    }
    for (HTREEITEM h : inserted)
        UpdateExpandButton(h);
    return static_cast<int>(inserted.size());
}

void CLibTreeCtrl::InitFolders()
{
    // The root as it is now: the preferences may have moved the library since the tree was made.
    TakeLibraryRoot();
    DeleteAllItems();
    m_hRefusedItem = nullptr;
    m_hRoot = InsertItem(AfxLoadText(IDS_PRODUCT_NAME), kTreeIconRoot, kTreeIconRoot);
    SetItemState(m_hRoot, TVIS_BOLD, TVIS_BOLD);
    const UINT names[4] = {IDS_FOLDER_PICTURES, IDS_FOLDER_FAVORITES, IDS_FOLDER_PROTECTED, IDS_FOLDER_TRASH};
    HTREEITEM* items[4] = {&m_hImages, &m_hFavorites, &m_hProtected, &m_hTrash};
    for (int i = 0; i < 4; i++) {
        CString label = AfxLoadText(names[i]);
        *items[i] = InsertFolderItem(label, m_hRoot, TVI_LAST, kTreeIconImages + i);
        CString path = m_strRootPath + "\\" + label;
        // Without a library root nothing is made (it would land at the top of a drive).
        if (!m_strRootPath.IsEmpty() && !label.IsEmpty() && !IsFolder(path))
            SafeCreateFolder(path);
        if (i < 3)
            UpdateExpandButton(*items[i]);
    }
    if (!m_strRootPath.IsEmpty())
        g_strProtectedFolder = m_strRootPath + "\\" + AfxLoadText(IDS_FOLDER_PROTECTED);
    m_bInitializing = TRUE;
    Expand(m_hRoot, TVE_EXPAND);
    m_bInitializing = FALSE;
}

// ---- notifications ----

void CLibTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* pTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    *pResult = 0;
    if (m_bInitializing)
        return;
    HTREEITEM hItem = pTV->itemNew.hItem;
    int kind = GetItemKind(hItem);
    // The root always holds the fixed folders: it opens and closes without being read again.
    if (hItem == m_hRoot)
        return;
    if (pTV->action & TVE_COLLAPSE) {
        if (kind == LIB_KIND_FOLDER)
            SetItemImage(hItem, kTreeIconFolder, kTreeIconFolder);
        HTREEITEM hChild;
        while ((hChild = GetChildItem(hItem)) != nullptr)
            DeleteItem(hChild);
        if (hItem != m_hTrash && HasSubfolders(GetItemPath(hItem)))
            InsertItem("", hItem);
        return;
    }
    if (kind == LIB_KIND_PROTECTED && !g_bProtectedUnlocked) {
        BOOL bReload = FALSE;
        CheckProtectedAccess(kGateTreeExpand, &bReload);
        if (bReload && Owner() != nullptr)
            Owner()->RequestFolderReload();
        if (!g_bProtectedUnlocked) {
            *pResult = 1;
            return;
        }
    }
    if (kind == LIB_KIND_FOLDER)
        SetItemImage(hItem, kTreeIconFolderOpen, kTreeIconFolderOpen);
    HTREEITEM hChild;
    while ((hChild = GetChildItem(hItem)) != nullptr)
        DeleteItem(hChild);
    if (hItem == m_hTrash || FillChildren(hItem, GetItemPath(hItem)) == 0)
        *pResult = 1;
}

void CLibTreeCtrl::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* pTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    *pResult = 0;
    HTREEITEM hItem = pTV->itemNew.hItem;
    if (hItem == nullptr || hItem == m_hRoot || hItem == m_hTrash)
        return;
    if ((GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) && GetChildItem(hItem) != nullptr)
        return;
    // The protected folder shows no subfolder while it is locked.
    if (hItem == m_hProtected && !g_bProtectedUnlocked && GetChildItem(hItem) != nullptr)
        return;
    UpdateExpandButton(hItem);
}

void CLibTreeCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVDISPINFOA* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    HTREEITEM hItem = pInfo->item.hItem;
    if (hItem == m_hRoot || GetParentItem(hItem) == m_hRoot) {
        *pResult = 1;
        return;
    }
    m_hEditItem = hItem;
    m_strEditOldLabel = GetItemText(hItem);
    m_hLabelEditor = reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL));
    *pResult = 0;
}

void CLibTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVDISPINFOA* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    // The notification gives the name in the code page, a letter it lacks already turned into its
    // look-alike ("Lodz" for a barred L, another folder's name): it is read whole from the editor, which
    // the tree makes in wide characters and takes down only after this notification.
    const BOOL bCancelled = pInfo->item.pszText == nullptr;
    const std::wstring typed = bCancelled ? std::wstring() : AfxGetWindowTextWide(m_hLabelEditor);
    m_hLabelEditor = nullptr;
    *pResult = FinishLabelEdit(pInfo->item.hItem, bCancelled ? nullptr : typed.c_str()) ? 1 : 0;
    // Editing a long name scrolled the tree sideways to show it whole; the icons and the names'
    // beginnings come back into view. (A thumb put at 0: Wine's tree takes no SB_LEFT.)
    SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
}

BOOL CLibTreeCtrl::FinishLabelEdit(HTREEITEM hItem, LPCWSTR pszTyped)
{
    if (hItem == nullptr || hItem != m_hEditItem)
        return FALSE;
    m_hEditItem = nullptr;
    CString parentPath = GetItemPath(GetParentItem(hItem));
    // A letter the code page lacks is refused as the file dialogs refuse it: the folder would be made
    // or renamed under its look-alike, a name the user did not choose (and may be another folder's).
    const CString unspelled = AfxUnspelledNameRefusal(pszTyped, TRUE);
    const CString text = pszTyped != nullptr ? CString(pszTyped) : CString();
    if (m_bCreatingItem) {
        m_bCreatingItem = FALSE;
        // A cancelled or empty name leaves no item behind that names no folder. The refusal is
        // said once the editor has closed and the item has gone: a message box now would let the
        // item go while the tree still edits, and the tree would then leave the label of the item
        // selected after it unpainted.
        m_hRefusedItem = hItem;
        if (pszTyped == nullptr || text.IsEmpty()) {
            m_sayNotCreated = [] { Beep(); };
            PostMessage(WM_TREELABELEDITEND);
            return FALSE;
        }
        if (!unspelled.IsEmpty()) {
            m_sayNotCreated = [unspelled] { AfxMessageBox(unspelled, MB_ICONEXCLAMATION); };
            PostMessage(WM_TREELABELEDITEND);
            return FALSE;
        }
        if (!IsAcceptableName(text)) {
            m_sayNotCreated = [] { ReportRefusedName(); };
            PostMessage(WM_TREELABELEDITEND);
            return FALSE;
        }
        CString path = Join(parentPath, text);
        BOOL taken = PathExists(path);
        ForgetFailedStep();
        if (taken || !SafeCreateFolder(path)) {
            SetItemText(hItem, m_strEditOldLabel);
            const CString said = FolderNotCreatedText(text, taken);
            m_sayNotCreated = [said] {
                Beep();
                AfxMessageBox(said, MB_ICONEXCLAMATION);
            };
            PostMessage(WM_TREELABELEDITEND);
            return FALSE;
        }
        m_hRefusedItem = nullptr;
        SetItemText(hItem, text);
        m_hNewFolderKeys = nullptr;
        return TRUE;
    }
    if (pszTyped == nullptr)
        return FALSE;
    if (text.IsEmpty()) {
        Beep();
        return FALSE;
    }
    if (!unspelled.IsEmpty()) {
        AfxMessageBox(unspelled, MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (text == m_strEditOldLabel)
        return FALSE;
    if (!IsAcceptableName(text)) {
        ReportRefusedName();
        return FALSE;
    }
    RenameResult result = RenameLibraryFolder(Join(parentPath, m_strEditOldLabel), text, nullptr);
    if (result != RenameResult::Done) {
        SetItemText(hItem, m_strEditOldLabel);
        ReportFolderRenameResult(result, text, m_strEditOldLabel);
        return FALSE;
    }
    SetItemText(hItem, text);
    return TRUE;
}

LRESULT CLibTreeCtrl::OnEditFailed(WPARAM, LPARAM)
{
    RemoveRefusedItem();
    // No folder made: the keys go back to where the user asked for one, unless another new folder's
    // name is being edited by now.
    if (GetEditControl() == nullptr) {
        AfxRestoreFocus(m_hNewFolderKeys);
        m_hNewFolderKeys = nullptr;
    }
    return 0;
}

void CLibTreeCtrl::RemoveRefusedItem()
{
    // The refused item itself, not whatever is selected by now: a click on another folder that ended
    // the edit has selected that folder. Nothing when the new folder command removed it already.
    HTREEITEM hItem = m_hRefusedItem;
    m_hRefusedItem = nullptr;
    std::function<void()> say;
    say.swap(m_sayNotCreated);
    if (hItem != nullptr && hItem != m_hRoot && GetParentItem(hItem) != m_hRoot) {
        // The folder the new one was asked in is chosen again, never a neighbour the user did not
        // choose: its pictures stay listed, and the next command (another new folder, a delete) acts
        // on it. Chosen before the item goes, so that the tree passes through no other folder.
        if (GetSelectedItem() == hItem)
            SelectItem(GetParentItem(hItem));
        DeleteItem(hItem);
    }
    if (say)
        say();
}

BOOL CLibTreeCtrl::BeginNewFolder()
{
    // Where the keys go back when no folder is made: asked again from a new name's edit, where the
    // first new folder was asked.
    const HWND hOrigin = AfxKeysOrigin();
    const HWND hKeys = m_hNewFolderKeys != nullptr && ::IsChild(m_hWnd, hOrigin) ? m_hNewFolderKeys : hOrigin;
    // A name still being edited is ended first, as when the tree loses the keys: what was typed is
    // applied (or refused, and said) before the new folder's own edit begins, which would otherwise
    // take the open edit for the new folder's.
    if (GetEditControl() != nullptr)
        SendMessage(TVM_ENDEDITLABELNOW, FALSE);
    HTREEITEM hParent = GetSelectedItem();
    // A new folder whose name was refused just now leaves before another is placed (its removal,
    // posted, would come after and take the new one instead); the new one is asked for where the
    // refused one was to be.
    if (m_hRefusedItem != nullptr) {
        hParent = GetParentItem(m_hRefusedItem);
        RemoveRefusedItem();
    }
    // The root shows only the fixed folders: a folder made there would vanish at the next fill.
    if (hParent == nullptr || hParent == m_hTrash || hParent == m_hRoot)
        return FALSE;
    if (hParent == m_hProtected && !g_bProtectedUnlocked)
        return FALSE;
    CString label = AfxLoadText(IDS_NEW_FOLDER_LABEL);
    HTREEITEM hItem = nullptr;
    if (!HasSubfolders(GetItemPath(hParent))) {
        hItem = InsertFolderItem(label, hParent, TVI_FIRST, kTreeIconFolder);
        if (hItem == nullptr)
            return FALSE;
        // Opening the parent now must not read it again: that would drop the new item.
        m_bInitializing = TRUE;
        Expand(hParent, TVE_EXPAND);
        m_bInitializing = FALSE;
    } else {
        // The parent's subfolders are read first, so the new item stands above them.
        if (!(GetItemState(hParent, TVIS_EXPANDED) & TVIS_EXPANDED)) {
            if (GetItemState(hParent, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) {
                Expand(hParent, TVE_EXPAND);
                Expand(hParent, TVE_COLLAPSE | TVE_COLLAPSERESET);
            }
            Expand(hParent, TVE_TOGGLE);
        }
        hItem = InsertFolderItem(label, hParent, TVI_FIRST, kTreeIconFolder);
        if (hItem == nullptr)
            return FALSE;
    }
    SelectItem(hItem);
    m_bCreatingItem = TRUE;
    SetFocus();
    CEdit* pEdit = EditLabel(hItem);
    if (pEdit == nullptr) {
        m_bCreatingItem = FALSE;
        DeleteItem(hItem);
        SelectItem(hParent);
        return FALSE;
    }
    // The keys stay in the new name's edit; they go back if no folder is made.
    m_hNewFolderKeys = hKeys;
    AfxKeysChosen();
    // The label is given again whole and selected, in an edit a little taller than the default.
    char text[101] = "";
    pEdit->GetWindowText(text, 100);
    pEdit->SetWindowText(text);
    pEdit->SetSel(0, -1);
    CRect rect;
    pEdit->GetWindowRect(&rect);
    ScreenToClient(&rect);
    pEdit->MoveWindow(rect.left, rect.top, rect.Width(), rect.Height() + 4);
    return TRUE;
}

// ---- opening and closing ----

void CLibTreeCtrl::ToggleItem(HTREEITEM hItem)
{
    if (hItem == nullptr || GetParentItem(hItem) == nullptr)
        return;
    // Without subfolders the locked folder has no button to open: the gate runs here as well.
    if (hItem == m_hProtected && !g_bProtectedUnlocked && GetChildItem(hItem) == nullptr) {
        BOOL bReload = FALSE;
        CheckProtectedAccess(kGateTreeExpand, &bReload);
        if (bReload && Owner() != nullptr)
            Owner()->RequestFolderReload();
        return;
    }
    if (GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) {
        Expand(hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
        UpdateExpandButton(hItem);
    } else {
        Expand(hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
        UpdateExpandButton(hItem);
        Expand(hItem, TVE_EXPAND);
    }
}

void CLibTreeCtrl::OnLButtonDblClk(UINT, CPoint)
{
    if (GetEditControl() != nullptr)
        SendMessage(TVM_ENDEDITLABELNOW, TRUE);
    ToggleItem(GetSelectedItem());
}

// ---- folder drops ----

FolderDropAction CLibTreeCtrl::ClassifyFolderDrop(HTREEITEM hDrag, HTREEITEM hTarget) const
{
    if (hDrag == nullptr || hTarget == nullptr || hDrag == hTarget || GetItemKind(hDrag) != LIB_KIND_FOLDER)
        return kDropRefused;
    for (HTREEITEM h = GetParentItem(hTarget); h != nullptr; h = GetParentItem(h))
        if (h == hDrag)
            return kDropRefused;
    if (GetParentItem(hDrag) == hTarget)
        return kDropRefused;
    switch (GetItemKind(hTarget)) {
    case LIB_KIND_TRASH:
        return kDropToTrash;
    case LIB_KIND_ROOT:
        return kDropRefused;
    default:
        return kDropMove;
    }
}

BOOL CLibTreeCtrl::DropFolder(HTREEITEM hDrag, HTREEITEM hTarget)
{
    switch (ClassifyFolderDrop(hDrag, hTarget)) {
    case kDropToTrash:
        // The delete command acts on the selection: the dragged folder must be the one it names.
        SelectItem(hDrag);
        SetFocus();
        PostToOwner(ID_LIB_DELETE);
        return TRUE;
    case kDropMove: {
        CString name = GetItemText(hDrag);
        if (!SafeMove(GetItemPath(hDrag), Join(GetItemPath(hTarget), name))) {
            Beep();
            return FALSE;
        }
        // The target shows its content as on disk when it is open; a closed one gets its button.
        if (GetItemState(hTarget, TVIS_EXPANDED) & TVIS_EXPANDED) {
            HTREEITEM hNew = MoveSubtree(hDrag, hTarget);
            SelectItem(hNew);
        } else {
            HTREEITEM hOldParent = GetParentItem(hDrag);
            DeleteItem(hDrag);
            UpdateExpandButton(hTarget);
            if (hOldParent != nullptr)
                SelectItem(hTarget);
        }
        return TRUE;
    }
    default:
        Beep();
        return FALSE;
    }
}

HTREEITEM CLibTreeCtrl::MoveSubtree(HTREEITEM hItem, HTREEITEM hNewParent)
{
    int image = kTreeIconFolder, selImage = kTreeIconFolder;
    GetItemImage(hItem, image, selImage);
    HTREEITEM hNew = InsertItem(GetItemText(hItem), image, selImage, hNewParent, TVI_SORT);
    HTREEITEM hChild;
    while ((hChild = GetChildItem(hItem)) != nullptr) {
        MoveSubtree(hChild, hNew);
    }
    if (GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED)
        Expand(hNew, TVE_EXPAND);
    DeleteItem(hItem);
    return hNew;
}

void CLibTreeCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* pTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    *pResult = 0;
    HTREEITEM hItem = pTV->itemNew.hItem;
    if (GetItemKind(hItem) != LIB_KIND_FOLDER)
        return;
    m_hDragItem = hItem;
    m_hDropTarget = nullptr;
    m_bDragging = TRUE;
    delete m_pDragImage;
    m_pDragImage = CreateDragImage(hItem);
    CRect rect;
    GetItemRect(hItem, &rect, TRUE);
    CPoint pt = pTV->ptDrag;
    if (m_pDragImage != nullptr) {
        m_pDragImage->BeginDrag(0, CPoint(pt.x - rect.left + 17, pt.y - rect.top - 1));
        CPoint screen = pt;
        ClientToScreen(&screen);
        CImageList::DragEnter(this, pt);
        CImageList::DragMove(pt);
    }
    SetCapture();
}

void CLibTreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bDragging) {
        if (m_pDragImage != nullptr)
            CImageList::DragMove(point);
        HTREEITEM hTarget = HitTest(point);
        if (hTarget != nullptr && hTarget != m_hDropTarget) {
            if (m_pDragImage != nullptr)
                CImageList::DragShowNolock(FALSE);
            SelectDropTarget(hTarget);
            m_hDropTarget = hTarget;
            if (m_pDragImage != nullptr)
                CImageList::DragShowNolock(TRUE);
        }
    }
    CTreeCtrl::OnMouseMove(nFlags, point);
}

void CLibTreeCtrl::EndDrag()
{
    if (m_pDragImage != nullptr) {
        CImageList::DragLeave(this);
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    HTREEITEM hDrag = m_hDragItem, hTarget = m_hDropTarget;
    m_bDragging = FALSE;
    ::ReleaseCapture();
    SelectDropTarget(nullptr);
    DropFolder(hDrag, hTarget);
}

void CLibTreeCtrl::CancelDrag()
{
    if (!m_bDragging)
        return;
    // Cleared first: releasing the capture comes back here through WM_CAPTURECHANGED.
    m_bDragging = FALSE;
    if (m_pDragImage != nullptr) {
        CImageList::DragLeave(this);
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    m_hDragItem = nullptr;
    m_hDropTarget = nullptr;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    SelectDropTarget(nullptr);
}

void CLibTreeCtrl::OnCaptureChanged(CWnd* pWnd)
{
    // Another window took the mouse: the drag ends with nothing moved.
    CancelDrag();
    CTreeCtrl::OnCaptureChanged(pWnd);
}

void CLibTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bDragging)
        EndDrag();
    CTreeCtrl::OnLButtonUp(nFlags, point);
}

// ---- menu, keys, focus, dropped files ----

void CLibTreeCtrl::OnRButtonDown(UINT, CPoint point)
{
    SetFocus();
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return;
    CMenu* pPopup = menu.GetSubMenu(CONTEXT_LIBRARY_TREE);
    if (pPopup == nullptr)
        return;
    if (GetSelectedItem() != m_hRoot)
        ::SetMenuDefaultItem(pPopup->GetSafeHmenu(), 0, TRUE);
    ClientToScreen(&point);
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    CWnd* pTarget = AfxGetMainWnd() != nullptr ? AfxGetMainWnd() : GetParent();
    if (point.x > screenWidth / 2)
        pPopup->TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, point.x + 10, point.y - 10, pTarget);
    else
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x - 10, point.y - 10, pTarget);
}

void CLibTreeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CWnd* pMain = AfxGetMainWnd();
    if (m_bDragging && nChar == VK_ESCAPE) {
        CancelDrag();
        return;
    }
    switch (nChar) {
    case VK_TAB:
        if (Owner() != nullptr)
            Owner()->FocusList();
        return;
    case VK_RETURN:
        if (GetEditControl() == nullptr)
            ToggleItem(GetSelectedItem());
        return;
    case VK_ESCAPE:
        if (pMain != nullptr)
            pMain->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY_BAR);
        return;
    case VK_SPACE:
        if (pMain != nullptr) {
            HWND hActive = AfxGetActiveMdiChild(pMain->m_hWnd);
            if (hActive != nullptr)
                ::SetFocus(hActive);
        }
        return;
    case VK_INSERT:
        if (pMain != nullptr)
            pMain->PostMessage(WM_COMMAND, ID_LIB_NEW_FOLDER);
        return;
    case VK_DELETE:
        if (pMain != nullptr)
            pMain->PostMessage(WM_COMMAND, ID_LIB_DELETE);
        return;
    default:
        CTreeCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

void CLibTreeCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 9 || nChar == 13 || nChar == 27 || nChar == 32 || nChar == '-' || nChar == '.')
        return;
    CTreeCtrl::OnChar(nChar, nRepCnt, nFlags);
}

void CLibTreeCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 9 || nChar == 13 || nChar == 27 || nChar == 32 || nChar == 45 || nChar == 46)
        return;
    CTreeCtrl::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CLibTreeCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CTreeCtrl::OnSetFocus(pOldWnd);
    if (Owner() != nullptr)
        Owner()->OnTreeFocus();
}

void CLibTreeCtrl::OnDropFiles(HDROP hDropInfo)
{
    int kind = GetSelectedKind();
    CLibTreeOwner* pOwner = Owner();
    if (pOwner != nullptr && GetSelectedItem() != nullptr && kind != LIB_KIND_ROOT
        && kind != LIB_KIND_TRASH) {
        pOwner->FocusList();
        pOwner->DropFilesOnList(hDropInfo);
        return;
    }
    ::DragFinish(hDropInfo);
    Beep();
}

// ---- SelectPath ----

void CLibTreeCtrl::SelectPath(const CString& path)
{
    if (m_hRoot == nullptr)
        return;
    SelectItem(m_hRoot);
    BOOL bWhole = FALSE;
    HTREEITEM hItem = OpenPath(path, &bWhole);
    if (hItem != nullptr)
        SelectItem(hItem);
}

HTREEITEM CLibTreeCtrl::OpenPath(const CString& path, BOOL* pWhole)
{
    *pWhole = FALSE;
    CString root = m_strRootPath + "\\";
    if (path.GetLength() <= root.GetLength() || CString(path).Left(root.GetLength()).CompareNoCase(root) != 0)
        return nullptr;
    CString rest = path.Mid(root.GetLength());
    HTREEITEM hCurrent = m_hRoot;
    CString soFar = m_strRootPath;
    while (!rest.IsEmpty()) {
        int slash = rest.Find('\\');
        CString part = slash >= 0 ? rest.Left(slash) : rest;
        rest = slash >= 0 ? rest.Mid(slash + 1) : CString();
        if (part.IsEmpty())
            continue;
        soFar = soFar + "\\" + part;
        HTREEITEM hFound = nullptr;
        for (HTREEITEM h = GetChildItem(hCurrent); h != nullptr; h = GetNextSiblingItem(h)) {
            if (GetItemPath(h).CompareNoCase(soFar) == 0) {
                hFound = h;
                break;
            }
        }
        if (hFound == nullptr)
            return nullptr;
        *pWhole = rest.IsEmpty();
        if (rest.IsEmpty())
            return hFound;
        Expand(hFound, TVE_EXPAND);
        if (!(GetItemState(hFound, TVIS_EXPANDED) & TVIS_EXPANDED) || GetChildItem(hFound) == nullptr)
            return hFound;
        hCurrent = hFound;
    }
    return nullptr;
}

std::vector<CString> CLibTreeCtrl::GetExpandedPaths() const
{
    std::vector<CString> paths;
    std::vector<HTREEITEM> pending = {m_hRoot};
    while (!pending.empty()) {
        HTREEITEM hItem = pending.back();
        pending.pop_back();
        if (hItem == nullptr || !(GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED))
            continue;
        if (hItem != m_hRoot)
            paths.push_back(GetItemPath(hItem));
        for (HTREEITEM h = GetChildItem(hItem); h != nullptr; h = GetNextSiblingItem(h))
            pending.push_back(h);
    }
    return paths;
}

void CLibTreeCtrl::ExpandPaths(const std::vector<CString>& paths)
{
    for (const CString& path : paths) {
        BOOL bWhole = FALSE;
        HTREEITEM hItem = OpenPath(path, &bWhole);
        if (hItem != nullptr && bWhole)
            Expand(hItem, TVE_EXPAND);
    }
}
