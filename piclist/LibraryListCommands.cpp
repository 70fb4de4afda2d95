#include "piclist/LibraryListCommands.h"

#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "framework/CommandKeys.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameworkTexts.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "piclist/DelObject.h"
#include "piclist/PicListBox.h"
#include "piclist/PatternDialogs.h"
#include "piclist/PicObject.h"
#include "piclist/Wildcard.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"
#include "shell/Settings.h"

#include <shlobj.h>
#include <shlwapi.h>

BOOL ChangeListSelection(CListBox& list, ListSelectOp op)
{
    HWND hList = list.GetSafeHwnd();
    int count = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
    if (count <= 0)
        return FALSE;
    if (op != kListInvertSelection) {
        ::SendMessageA(hList, LB_SELITEMRANGE, op == kListSelectAll, MAKELPARAM(0, count - 1));
    } else {
        // One repaint for the whole list rather than one per item.
        ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < count; i++) {
            BOOL selected = ::SendMessageA(hList, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
            ::SendMessageA(hList, LB_SETSEL, !selected, i);
        }
        ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hList, nullptr, TRUE);
    }
    return TRUE;
}

void RunListSelectCommand(CListBox& list, ListSelectOp op)
{
    HWND hList = list.GetSafeHwnd();
    if (!::IsWindow(hList))
        return;
    int caret = static_cast<int>(::SendMessageA(hList, LB_GETCARETINDEX, 0, 0));
    // The keys go to the pictures just chosen, wherever the command came from.
    ::SetFocus(hList);
    AfxKeysChosen();
    if (!ChangeListSelection(list, op))
        return;
    if (op == kListSelectAll)
        caret = 0;
    // The list may move its caret while items change; the user's place is put back.
    if (caret >= 0)
        ::SendMessageA(hList, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
}

CString PatternNameOfItem(const CPicListBox& list, int index)
{
    LRESULT data = ::SendMessageA(list.GetSafeHwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR || data == 0)
        return CString();
    if (list.LIBLIST_TRASH_MODE) {
        const CDelObject* item = reinterpret_cast<const CDelObject*>(data);
        CString folder, name = item->m_strRelPath;
        SplitPath(item->m_strRelPath, &folder, &name);
        return name;
    }
    return reinterpret_cast<const CPicObject*>(data)->m_strFileName;
}

int ApplyPatternToList(CPicListBox& list, const CString& pattern, BOOL bSelect, BOOL bReplace)
{
    HWND hList = list.GetSafeHwnd();
    int count = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
    int first = -1;
    for (int i = 0; i < count; i++) {
        if (bReplace)
            ::SendMessageA(hList, LB_SETSEL, FALSE, i);
        CString name = PatternNameOfItem(list, i);
        if (name.IsEmpty() || !MatchFileName(name, pattern, TRUE))
            continue;
        ::SendMessageA(hList, LB_SETSEL, bSelect, i);
        if (first < 0)
            first = i;
    }
    if (first >= 0 && bSelect)
        ::SendMessageA(hList, LB_SETCARETINDEX, static_cast<WPARAM>(first), FALSE);
    return first;
}

int RunPatternCommand(CWnd* pOwner, CPicListBox& list, BOOL bSelect)
{
    HWND hList = list.GetSafeHwnd();
    if (::SendMessageA(hList, LB_GETCOUNT, 0, 0) <= 0)
        return -1;
    CString pattern;
    BOOL replace = TRUE;
    BOOL asked =
        bSelect ? AskSelectPattern(pOwner, &pattern, &replace) : AskDeselectPattern(pOwner, &pattern);
    // Chosen or cancelled, the keys go to the list, where the selection is.
    AfxKeysChosen();
    if (!asked) {
        ::SetFocus(hList);
        return -1;
    }
    ::SetFocus(hList);
    ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    int first = ApplyPatternToList(list, pattern, bSelect, bSelect && replace);
    ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hList, nullptr, TRUE);
    if (first < 0)
        AfxMessageBox(IDS_SEARCH_NO_MATCH, MB_ICONINFORMATION);
    ::SetFocus(hList);
    return first;
}

BOOL CopyPictureToClipboard(HWND hOwner, const CString& path)
{
    CDIB dib;
    dib.Read(path, "");
    if (dib.IsEmpty() || !::OpenClipboard(hOwner))
        return FALSE;
    HCURSOR hOld = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    ::EmptyClipboard();
    CPalette* pPalette = dib.NumColors() != 0 ? dib.CreateDIBPalette() : nullptr;
    CBitmap* pBitmap = dib.CreateBitmap(pPalette);
    BOOL ok = FALSE;
    if (pBitmap != nullptr) {
        HGDIOBJ hBitmap = pBitmap->Detach();
        ok = ::SetClipboardData(CF_BITMAP, hBitmap) != nullptr;
        if (!ok)
            ::DeleteObject(hBitmap);
    }
    if (pPalette != nullptr) {
        HGDIOBJ hPalette = pPalette->Detach();
        if (!ok || ::SetClipboardData(CF_PALETTE, hPalette) == nullptr)
            ::DeleteObject(hPalette);
    }
    ::CloseClipboard();
    ::SetCursor(hOld);
    return ok;
}

BOOL OpenInExternalEditor(HWND hOwner, const CString& editor, const CString& picture)
{
    CString folder, name = picture;
    SplitPath(picture, &folder, &name);
    CString quoted = "\"" + name + "\"";
    HINSTANCE result = AfxPlatform().pfnShellExecute(
        hOwner, nullptr, editor, quoted, folder.IsEmpty() ? nullptr : static_cast<LPCSTR>(folder), SW_SHOW);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return TRUE;
    ::MessageBeep(MB_ICONHAND);
    AfxMessageBox(IDS_DOCUMENT_OPEN_FAILED, MB_ICONHAND);
    return FALSE;
}

void OfferToDefineEditor()
{
    if (AfxMessageBox(IDS_NO_EXTERNAL_EDITOR, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    g_nPrefsStartPage = kPrefsPageEditor;
    if (AfxGetMainWnd() != nullptr)
        AfxGetMainWnd()->PostMessage(WM_COMMAND, ID_PREFERENCES);
}

BOOL TrackListPopup(int nPopup, int offset)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return FALSE;
    CMenu* pPopup = menu.GetSubMenu(nPopup);
    CWnd* pOwner = AfxGetMainWnd();
    if (pPopup == nullptr || pOwner == nullptr)
        return FALSE;
    HDC hScreen = ::GetDC(::GetDesktopWindow());
    int width = ::GetDeviceCaps(hScreen, HORZRES);
    ::ReleaseDC(::GetDesktopWindow(), hScreen);
    POINT pt;
    ::GetCursorPos(&pt);
    if (pt.x < width / 2)
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x - offset, pt.y - offset, pOwner);
    else
        pPopup->TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, pt.x + offset, pt.y - offset, pOwner);
    return TRUE;
}
void PopupListMenu(CWnd* pOwner, int nPopup, int offset)
{
    // The window whose pictures the menu acts on keeps the keys, whatever is chosen.
    pOwner->SetFocus();
    AfxKeysChosen();
    TrackListPopup(nPopup, offset);
}

namespace {

// The folder browser opens on the folder its caller passed (the last export folder).
int CALLBACK StartAtFolder(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED && lpData != 0)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}

} // namespace

CString BrowseExportFolder(HWND hOwner, CString* pCurrent)
{
    char saved[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof(saved), saved);
    if (pCurrent != nullptr && !pCurrent->IsEmpty())
        ::SetCurrentDirectoryA(*pCurrent);
    CString title;
    title.LoadString(IDS_BROWSE_EXPORT_FOLDER);
    char display[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = hOwner;
    bi.pszDisplayName = display;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    CString start = pCurrent != nullptr ? *pCurrent : CString();
    if (!start.IsEmpty() && FolderExists(start)) {
        bi.lpfn = StartAtFolder;
        bi.lParam = reinterpret_cast<LPARAM>(static_cast<LPCSTR>(start));
    }
    const CString chosen = AfxBrowseForFolderPath(&bi);
    ::SetCurrentDirectoryA(saved);
    if (!chosen.IsEmpty() && pCurrent != nullptr)
        *pCurrent = chosen;
    return chosen;
}

void ReportExportCount(int exported, const CString& folder)
{
    // A message box breaks its lines at blanks, those of a path too: the folder gets a line of its own,
    // shortened in its middle (its own name kept) when it is longer than a line holds.
    auto ownLine = [](UINT id) {
        CString format = AfxLoadText(id);
        format.Replace(" '%s'", "\n'%s'");
        return format;
    };
    const int kLineChars = 38;
    CString shown = folder;
    char compact[MAX_PATH] = "";
    if (folder.GetLength() > kLineChars && ::PathCompactPathExA(compact, folder, kLineChars + 1, 0))
        shown = compact;
    CString text;
    if (exported <= 0) {
        text = AfxLoadText(IDS_EXPORT_DONE_NONE);
    } else if (exported == 1) {
        text.Format(ownLine(IDS_EXPORT_DONE_ONE), static_cast<LPCSTR>(shown));
    } else {
        text.Format(ownLine(IDS_EXPORT_DONE_MANY), exported, static_cast<LPCSTR>(shown));
    }
    AfxMessageBox(text, MB_ICONINFORMATION);
}
