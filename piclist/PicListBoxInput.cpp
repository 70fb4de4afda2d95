// CPicListBox: the mouse and the keys: the selection rules over the list box's extended selection,
// the context menus of each kind of list, and the drag of the selected pictures (the targets are
// classified in PicListDrag.cpp, the drop is carried out by the window holding the source list).
#include "piclist/PicListBox.h"

#include "resources/resource.h"
#include "framework/MDIChildWnd.h"
#include "framework/Menu.h"
#include "framework/StdIds.h"
#include "framework/WinApp.h"
#include "piclist/PicListDrag.h"

#include <algorithm>

namespace {

BOOL KeyDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

} // namespace

int CPicListBox::SiteKind() const
{
    if (CPicDropSite* pSite = PicDropSiteOf(m_hWnd))
        return pSite->DropSiteKind();
    auto* pOwner = dynamic_cast<CPicListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    return pOwner != nullptr && pOwner->IsLibraryOwner() ? kPicSiteLibrary : kPicSiteOther;
}

void CPicListBox::RecordDragItems()
{
    FreePicDragItems();
    int count = GetSelCount();
    if (count <= 0)
        return;
    g_pnDragItems = new int[static_cast<size_t>(count)];
    g_nDragCount = GetSelItems(count, g_pnDragItems);
    std::sort(g_pnDragItems, g_pnDragItems + g_nDragCount);
    for (int i = 0; i < g_nDragCount; i++)
        g_arrDragRecords.push_back(GetRecord(g_pnDragItems[i]));
}

BOOL CPicListBox::PointOnSelectedItem(CPoint point)
{
    int hit = HitTestItem(point);
    return hit >= 0 && GetSel(hit) > 0;
}

void CPicListBox::BeginPendingDrag(CPoint point)
{
    g_nDragState = 1;
    g_ptDragStart = point;
    g_pDragSource = this;
    ::SetCapture(m_hWnd);
}

void CPicListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (LIBLIST_TRASH_MODE) {
        DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
        return;
    }
    CPicDropSite* pSite = PicDropSiteOf(m_hWnd);
    if (pSite != nullptr && pSite->DropSiteKind() == kPicSiteLibrary && pSite->IsListFolderLocked()) {
        pSite->OnLockedListClick();
        DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
        return;
    }
    // A press while another drag is still recorded (its button-up never came) ends that one first.
    if (g_nDragState != 0 && g_pDragSource != this)
        ResetPicDrag();
    SetFocus();
    g_nDragState = 0;
    g_bCtrlNewlySelected = 0;
    if (GetSelCount() == 1) {
        int one = -1;
        GetSelItems(1, &one);
        m_nAnchor = one;
    }
    int hit = HitTestItem(point);
    if (nFlags & MK_CONTROL) {
        if (hit >= 0) {
            if (GetSel(hit) <= 0) {
                SetSel(hit, TRUE);
                g_bCtrlNewlySelected = 1;
            }
            m_nAnchor = hit;
        }
    } else if (nFlags & MK_SHIFT) {
        if (hit >= 0 && GetSel(hit) <= 0 && m_nAnchor != -1) {
            SelItemRange(TRUE, std::min(hit, m_nAnchor), std::max(hit, m_nAnchor));
            m_nAnchor = hit;
        }
    }
    RecordDragItems();
    if (hit >= 0 && GetSel(hit) > 0) {
        // The list box's own press handling is skipped: a press on a multiple selection keeps it
        // for a drag.
        SetCaretIndex(hit, FALSE);
        BeginPendingDrag(point);
        NotifyOwner(FALSE);
        return;
    }
    DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
    RecordDragItems();
    if (PointOnSelectedItem(point))
        BeginPendingDrag(point);
    NotifyOwner(FALSE);
}

void CPicListBox::OnMouseMove(UINT nFlags, CPoint point)
{
    if (g_pDragSource != this || g_nDragState == 0) {
        DefWindowProc(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
        return;
    }
    if (g_nDragState == 1) {
        // The drag starts once the cursor leaves the 10 x 10 square around the press.
        RECT still = {g_ptDragStart.x - 5, g_ptDragStart.y - 5, g_ptDragStart.x + 5, g_ptDragStart.y + 5};
        if (::PtInRect(&still, point))
            return;
        g_nDragState = 2;
        int kind = SiteKind();
        g_bSourceIsLibrary = kind == kPicSiteLibrary;
        g_bSourceIsSearch = kind == kPicSiteSearch;
        g_hDropItem = nullptr;
        g_pDropTree = nullptr;
    }
    TrackDrag(point, (nFlags & MK_CONTROL) != 0);
}

PicDragSource CPicListBox::DragSourceInfo()
{
    PicDragSource src;
    src.pList = this;
    src.kind = SiteKind();
    if (CPicDropSite* pSite = PicDropSiteOf(m_hWnd))
        src.folder = pSite->DropListFolder();
    if (src.folder.IsEmpty() && src.kind != kPicSiteSearch)
        src.folder = GetOwnerFolder();
    return src;
}

PicDropDecision CPicListBox::TrackDrag(CPoint point, BOOL ctrl)
{
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    g_ptDragCursor = screen;
    HWND hUnder = g_picDragInput.windowFromPoint(screen);
    PicDropDecision drop = ClassifyPicDrop(DragSourceInfo(), screen, hUnder, ctrl);
    g_nDropTarget = drop.target;
    g_nDropIndex = drop.index;
    g_nDropCopy = drop.copy;
    g_bDropOnTrash = drop.onTrash;
    g_pDropList = drop.target == kDropExplorerList ? drop.pList : nullptr;
    g_hHoverItem = drop.hItem;
    PicDragHighlight(drop);
    ::SetCursor(PicDragCursor(drop, g_nDragCount));
    return drop;
}

void CPicListBox::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (g_pDragSource != this || g_nDragState == 0) {
        DefWindowProc(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
        return;
    }
    if (g_nDragState == 1) {
        g_nDragState = 0;
        g_pDragSource = nullptr;
        ::ReleaseCapture();
        int hit = HitTestItem(point);
        if (hit >= 0) {
            BOOL ctrl = (nFlags & MK_CONTROL) != 0, shift = (nFlags & MK_SHIFT) != 0;
            if (!ctrl && !shift) {
                if (!(GetSelCount() == 1 && GetSel(hit) > 0)) {
                    SetSel(-1, FALSE);
                    SetSel(hit, TRUE);
                }
                SetCaretIndex(hit, FALSE);
                m_nAnchor = hit;
            } else if (ctrl && !shift && !g_bCtrlNewlySelected && GetSel(hit) > 0 && GetSelCount() > 1) {
                SetSel(hit, FALSE);
            }
        }
        FreePicDragItems();
        NotifyOwner(FALSE);
        DefWindowProc(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
        return;
    }
    // A drop: what is under the cursor decides, with Ctrl as it was at the release (the message may
    // be handled long after it, when the program was busy).
    PicDropDecision drop = TrackDrag(point, (nFlags & MK_CONTROL) != 0);
    g_nDragState = 0;
    g_pDragSource = nullptr;
    ::ReleaseCapture();
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    PicDropDecision none;
    PicDragHighlight(none);
    if (drop.target == kDropOwnList) {
        MoveDraggedItems(drop.index);
    } else if (drop.target != kDropNone) {
        CPicDropSite* pSource = PicDropSiteOf(m_hWnd);
        if (drop.refused || pSource == nullptr || !pSource->DropSelection(drop))
            ::MessageBeep(static_cast<UINT>(-1));
    }
    FreePicDragItems();
    if (::IsWindow(m_hWnd)) {
        NotifyOwner(FALSE);
        DefWindowProc(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
    }
}

void CPicListBox::CancelDrag()
{
    if (g_pDragSource != this)
        return;
    BOOL wasDragging = g_nDragState == 2;
    ResetPicDrag();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (wasDragging)
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

void CPicListBox::OnCaptureChanged(CWnd* pWnd)
{
    // Another window took the mouse (a message box, a switch to another program): the drag ends
    // with nothing moved. The capture is already the other window's. Taking it again (the list box's
    // own press handling takes it before the drag does) is no loss.
    const BOOL bTakenAgain = pWnd != nullptr && pWnd->m_hWnd == m_hWnd;
    if (g_pDragSource == this && g_nDragState != 0 && !bTakenAgain) {
        BOOL wasDragging = g_nDragState == 2;
        ResetPicDrag();
        if (wasDragging)
            ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    }
    DefWindowProc(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(pWnd != nullptr ? pWnd->m_hWnd : nullptr));
}

void CPicListBox::MoveDraggedItems(int dropIndex)
{
    std::vector<CPicObject*> moved;
    std::vector<int> indexes;
    int count = GetCount();
    for (int k = 0; k < g_nDragCount; k++) {
        int i = g_pnDragItems[k];
        CPicObject* pRecord = k < static_cast<int>(g_arrDragRecords.size()) ? g_arrDragRecords[k] : nullptr;
        // The list may have changed since the press: find the record again, or leave it out.
        if (pRecord == nullptr || i < 0 || i >= count || GetRecord(i) != pRecord) {
            i = -1;
            for (int j = 0; j < count && pRecord != nullptr; j++)
                if (GetRecord(j) == pRecord)
                    i = j;
        }
        if (i >= 0 && std::find(indexes.begin(), indexes.end(), i) == indexes.end()) {
            indexes.push_back(i);
            moved.push_back(pRecord);
        }
    }
    if (moved.empty())
        return;
    // The records keep their order of the list.
    std::vector<size_t> order(indexes.size());
    for (size_t k = 0; k < order.size(); k++)
        order[k] = k;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return indexes[a] < indexes[b]; });
    std::vector<CPicObject*> records;
    std::vector<int> sorted;
    for (size_t k : order) {
        records.push_back(moved[k]);
        sorted.push_back(indexes[k]);
    }
    SetRedraw(FALSE);
    SetSel(-1, FALSE);
    for (size_t k = sorted.size(); k-- > 0;) {
        // The record moves: the item is emptied first so that deleting it does not destroy it.
        SetItemDataPtr(sorted[k], nullptr);
        DeleteString(static_cast<UINT>(sorted[k]));
    }
    // The place is the index the item under the cursor had before the move, kept within the list
    // that remains; on empty space, the end.
    int remaining = GetCount();
    int insertAt = dropIndex >= 0 && dropIndex < remaining ? dropIndex : remaining;
    for (size_t k = 0; k < records.size(); k++) {
        int at = InsertString(insertAt + static_cast<int>(k), reinterpret_cast<LPCSTR>(records[k]));
        if (at >= 0)
            SetSel(at, TRUE);
    }
    SetCaretIndex(insertAt, FALSE);
    m_nAnchor = insertAt;
    SetRedraw(TRUE);
    Invalidate(TRUE);
}

void CPicListBox::OnRButtonDown(UINT nFlags, CPoint point)
{
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    int kind = SiteKind();
    if (pParent != nullptr && !LIBLIST_TRASH_MODE) {
        // Explorer and search lists live in a child window of the main window: it comes to the front.
        if (auto* pFrame =
                dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(::GetParent(pParent->m_hWnd))))
            pFrame->MDIActivate();
    }
    SetFocus();
    int hit = HitTestItem(point);
    if (hit >= 0 && GetSel(hit) <= 0) {
        SetSel(-1, FALSE);
        SetSel(hit, TRUE);
        SetCaretIndex(hit, FALSE);
        m_nAnchor = hit;
    }
    UpdateWindow();
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        AfxThrowResourceException();
    int position = LIBLIST_TRASH_MODE ? 7 : kind == kPicSiteExplorer ? 0 : kind == kPicSiteSearch ? 14 : 8;
    CMenu* pPopup = menu.GetSubMenu(position);
    if (pPopup == nullptr)
        AfxThrowResourceException();
    pPopup->SetDefaultItem(0, TRUE);
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    HDC hdc = ::GetDC(nullptr);
    int half = ::GetDeviceCaps(hdc, HORZRES) / 2;
    ::ReleaseDC(nullptr, hdc);
    CWnd* pOwner = AfxGetMainWnd();
    if (pOwner == nullptr || pOwner->m_hWnd == nullptr)
        pOwner = pParent != nullptr ? pParent : this;
    if (screen.x < half)
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x - 10, screen.y - 10, pOwner);
    else
        pPopup->TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, screen.x + 10, screen.y - 10, pOwner);
    menu.DestroyMenu();
    if (::IsWindow(m_hWnd))
        NotifyOwner(FALSE);
}

BOOL CPicListBox::HandleListKey(UINT nChar)
{
    int kind = SiteKind();
    if (LIBLIST_TRASH_MODE || (kind != kPicSiteExplorer && kind != kPicSiteSearch))
        return FALSE;
    BOOL explorer = kind == kPicSiteExplorer;
    HWND hView = ::GetParent(m_hWnd);
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain != nullptr ? pMain->m_hWnd : nullptr;
    BOOL ctrl = KeyDown(VK_CONTROL);
    auto post = [hView](UINT id) { ::PostMessageA(hView, WM_COMMAND, id, 0); };
    auto focusedPost = [this, post](UINT id) {
        SetFocus();
        post(id);
    };
    BOOL hasFocus = ::GetFocus() == m_hWnd;
    switch (nChar) {
    case VK_BACK:
        if (!explorer)
            return FALSE;
        post(ID_EXPLORER_PARENT);
        return TRUE;
    case VK_TAB:
        if (!explorer)
            return FALSE;
        if (CPicDropSite* pSite = PicDropSiteOf(m_hWnd))
            if (HWND hTree = pSite->DropTreeWindow())
                ::SetFocus(hTree);
        return TRUE;
    case VK_RETURN:
        // The same as a double click: the view opens the picture its own way.
        ::SendMessageA(hView, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), LBN_DBLCLK),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return TRUE;
    case VK_ESCAPE:
        if (hMain != nullptr)
            ::SendMessageA(hMain, WM_COMMAND, ID_VIEW_LIBRARY_BAR, 0);
        return FALSE;
    case VK_SPACE:
        // A hidden bar never takes the keyboard.
        if (auto* pBar = dynamic_cast<CWnd*>(g_pLibraryPicSite))
            if (::IsWindowVisible(pBar->m_hWnd))
                ::SetFocus(pBar->m_hWnd);
        return TRUE;
    case VK_INSERT:
        if (ctrl)
            focusedPost(ID_EDIT_COPY);
        else if (explorer)
            post(ID_EXPLORER_NEW_FOLDER);
        return TRUE;
    case VK_DELETE:
        if (!explorer)
            return FALSE;
        post(ID_EXPLORER_DELETE);
        return TRUE;
    case 'A':
        if (ctrl)
            focusedPost(ID_EXPLORER_SELECT_ALL);
        return TRUE;
    case 'C':
        if (ctrl)
            focusedPost(ID_EDIT_COPY);
        return TRUE;
    case VK_MULTIPLY:
        if (hasFocus || !explorer)
            post(ID_EXPLORER_INVERT_SELECTION);
        return TRUE;
    case VK_ADD:
        if (hasFocus || !explorer)
            post(ctrl ? ID_EXPLORER_SELECT_ALL : ID_EXPLORER_SELECT_PATTERN);
        return TRUE;
    case VK_SUBTRACT:
        if (hasFocus || !explorer)
            post(ctrl ? ID_EXPLORER_DESELECT_ALL : ID_EXPLORER_DESELECT_PATTERN);
        return TRUE;
    case VK_F5:
        if (!explorer)
            return FALSE;
        if (hMain != nullptr)
            ::SendMessageA(hMain, WM_COMMAND, ID_EXPLORER_REFRESH, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void CPicListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (g_pDragSource == this && g_nDragState != 0) {
        if (nChar == VK_ESCAPE) {
            // Escape ends the drag with nothing moved.
            CancelDrag();
            NotifyOwner(FALSE);
            return;
        }
        if (nChar == VK_CONTROL && g_nDragState == 2 && g_nDropCopy != kDropAsForcedCopy) {
            POINT client = g_ptDragCursor;
            ::ScreenToClient(m_hWnd, &client);
            TrackDrag(client, TRUE);
        }
        return;
    }
    NotifyOwner(FALSE);
    if (!HandleListKey(nChar))
        DefWindowProc(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CPicListBox::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (g_pDragSource == this && g_nDragState == 2 && nChar == VK_CONTROL
        && g_nDropCopy != kDropAsForcedCopy) {
        POINT client = g_ptDragCursor;
        ::ScreenToClient(m_hWnd, &client);
        TrackDrag(client, FALSE);
        return;
    }
    DefWindowProc(WM_KEYUP, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CPicListBox::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        int kind = SiteKind();
        HWND hParent = ::GetParent(m_hWnd);
        if (kind == kPicSiteLibrary)
            ::PostMessageA(hParent, WM_COMMAND, ID_LIB_PROPERTIES, 0);
        else if (kind == kPicSiteExplorer)
            ::PostMessageA(hParent, WM_COMMAND, ID_EXPLORER_PROPERTIES, 0);
    }
    DefWindowProc(WM_SYSKEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

LRESULT CPicListBox::OnPicListIdentify(WPARAM, LPARAM)
{
    return SiteKind() == kPicSiteExplorer ? kPicListIdentifyAnswer : 0;
}
