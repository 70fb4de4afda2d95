// The open dialog's filter and selection, the preview beside it, and the plain file dialog.
#include "shell/OpenDialog.h"

#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "core/DIB.h"
#include "core/DrawUtil.h"
#include "core/FileUtil.h"
#include "core/ReaderOptions.h"
#include "core/WindowUtil.h"
#include "framework/CodePageText.h"
#include "framework/CommonDialogs.h"
#include "framework/Dc.h"
#include "framework/Exceptions.h"
#include "framework/FrameworkTexts.h"
#include "framework/PathDoor.h"
#include "resources/resource.h"

#include <dlgs.h>
#include <mmsystem.h>

#include <cstring>
#include <new>
#include <vector>

namespace {

// The preview's state, for the one open dialog there can be at a time.
struct OpenPreviewState {
    CDIB* pPreview = nullptr;
    UINT_PTR nTimer = 0;
    PreviewDebounce debounce;
    char szPath[MAX_PATH] = "";
};
OpenPreviewState g_openPreview;

const UINT kPreviewTimer = 1;
// Posted by the hook to itself once the dialog is up: the focus goes to the file name.
const UINT kFocusFileName = WM_USER + 102;

// Newer systems take the name in a combo box, older ones and Wine in an edit field.
HWND FileNameControl(HWND hFileDlg)
{
    HWND hName = ::GetDlgItem(hFileDlg, cmb13);
    return hName != nullptr && ::IsWindowVisible(hName) ? hName : ::GetDlgItem(hFileDlg, edt1);
}

// TRUE when the code page can spell the folder shown and the name selected. The dialog gives its path
// in the code page, a letter it lacks replaced by a look-alike: the path of another file, or of none.
bool SelectionSpelled(HWND hFileDlg)
{
    // A longer name makes a path too long for the preview anyway.
    wchar_t szName[MAX_PATH] = L"";
    if (HWND hName = FileNameControl(hFileDlg))
        ::GetWindowTextW(hName, szName, MAX_PATH);
    if (!AfxSpelledInCodePage(szName))
        return false;
    const LRESULT nSize = ::SendMessageA(hFileDlg, CDM_GETFOLDERIDLIST, 0, 0);
    if (nSize <= 0)
        return false;
    std::vector<BYTE> folder(static_cast<size_t>(nSize));
    if (::SendMessageA(hFileDlg, CDM_GETFOLDERIDLIST, folder.size(), reinterpret_cast<LPARAM>(folder.data()))
        != nSize)
        return false;
    CString path;
    return AfxGetItemIdListPath(reinterpret_cast<LPCITEMIDLIST>(folder.data()), &path) == AfxItemPath::Found;
}

// The path of the one file selected, or empty (nothing, several files, a folder, a name too long or
// that the code page cannot spell).
void ReadSelectedPath(HWND hDlg)
{
    HWND hFileDlg = ::GetParent(hDlg);
    char szPath[MAX_PATH] = "";
    LRESULT n = ::SendMessageA(hFileDlg, CDM_GETFILEPATH, sizeof(szPath), reinterpret_cast<LPARAM>(szPath));
    if (n <= 0 || n > static_cast<LRESULT>(sizeof(szPath)) || !FileExists(szPath)
        || !SelectionSpelled(hFileDlg))
        szPath[0] = '\0';
    lstrcpynA(g_openPreview.szPath, szPath, sizeof(g_openPreview.szPath));
}

void LoadPreview(HWND hDlg)
{
    if (!g_ShowApercu || g_openPreview.pPreview == nullptr)
        return;
    SetAppCursor(kAppCursorBusy);
    {
        // With the gauge, and the smallest PhotoCD picture: enough for a preview, and quick.
        ReaderOptions options = CurrentReaderOptions().WithProgress(TRUE);
        options.photoCDSize = 0;
        CReaderOptionsScope previewOptions(options);
        if (g_openPreview.szPath[0] != '\0')
            g_openPreview.pPreview->Read(g_openPreview.szPath, "");
        else
            g_openPreview.pPreview->Free();
    }
    RestoreAppCursor();
    ::InvalidateRect(::GetDlgItem(hDlg, IDC_OPEN_PREVIEW_BOX), nullptr, TRUE);
}

void DrawPreviewBox(const DRAWITEMSTRUCT* pDis)
{
    CDC dc;
    dc.Attach(pDis->hDC);
    CRect rect(pDis->rcItem);
    dc.FillSolidRect(&rect, RGB(192, 192, 192));
    Draw3DRect(&dc, rect, TRUE, 1, RGB(255, 255, 255), RGB(0, 0, 0));
    rect.DeflateRect(2, 2);
    if (g_ShowApercu && g_openPreview.pPreview != nullptr && !g_openPreview.pPreview->IsEmpty()) {
        rect.DeflateRect(1, 1);
        g_openPreview.pPreview->DrawScaled(&dc, rect, FALSE);
    }
    dc.Detach();
}

void CheckTick(HWND hDlg)
{
    if (g_openPreview.debounce.OnTick(::timeGetTime()))
        ::PostMessageA(hDlg, WM_OPEN_PREVIEW_LOAD, 0, 0);
}

UINT_PTR HandlePreviewMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        delete g_openPreview.pPreview;
        g_openPreview.pPreview = new CDIB;
        g_openPreview.nTimer = ::SetTimer(hDlg, kPreviewTimer, 200, nullptr);
        g_openPreview.debounce = PreviewDebounce();
        g_openPreview.szPath[0] = '\0';
        ::CheckDlgButton(hDlg, IDC_OPEN_SHOW_PREVIEW, g_ShowApercu ? BST_CHECKED : BST_UNCHECKED);
        // The first control of this template would take the focus, and typing would then go to
        // the preview box instead of the file name.
        ::PostMessageA(hDlg, kFocusFileName, 0, 0);
        return TRUE;
    case kFocusFileName: {
        HWND hName = FileNameControl(::GetParent(hDlg));
        if (hName != nullptr)
            ::SetFocus(hName);
        return TRUE;
    }
    case WM_NOTIFY: {
        const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        if (pHdr != nullptr && pHdr->code == CDN_INITDONE) {
            // Only now has the dialog its full width, the preview beside it; the main window's screen
            // holds it whole.
            HWND hFileDlg = ::GetParent(hDlg);
            CenterWindowOnWorkArea(hFileDlg, ::GetWindow(hFileDlg, GW_OWNER));
        } else if (pHdr != nullptr && pHdr->code == CDN_SELCHANGE) {
            ReadSelectedPath(hDlg);
            g_openPreview.debounce.OnSelectionChange(::timeGetTime());
        } else {
            g_ShowApercu = ::IsDlgButtonChecked(hDlg, IDC_OPEN_SHOW_PREVIEW) == BST_CHECKED;
        }
        CheckTick(hDlg);
        return TRUE;
    }
    case WM_TIMER:
        CheckTick(hDlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            g_ShowApercu = ::IsDlgButtonChecked(hDlg, IDC_OPEN_SHOW_PREVIEW) == BST_CHECKED;
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_OPEN_SHOW_PREVIEW) {
            g_ShowApercu = ::IsDlgButtonChecked(hDlg, IDC_OPEN_SHOW_PREVIEW) == BST_CHECKED;
            if (!g_ShowApercu)
                ::InvalidateRect(::GetDlgItem(hDlg, IDC_OPEN_PREVIEW_BOX), nullptr, TRUE);
            else
                ::PostMessageA(hDlg, WM_OPEN_PREVIEW_LOAD, 0, 0);
            return TRUE;
        }
        return FALSE;
    case WM_OPEN_PREVIEW_LOAD:
        LoadPreview(hDlg);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == IDC_OPEN_PREVIEW_BOX) {
            DrawPreviewBox(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        delete g_openPreview.pPreview;
        g_openPreview.pPreview = nullptr;
        if (g_openPreview.nTimer != 0)
            ::KillTimer(hDlg, g_openPreview.nTimer);
        g_openPreview.nTimer = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void BuildOpenFileFilter(CString& filter)
{
    static const UINT kFilterIds[] = {
        IDS_FILTER_ALL_PICTURES, IDS_FILTER_BMP,     IDS_FILTER_JPEG,     IDS_FILTER_GIF,   IDS_FILTER_PNG,
        IDS_FILTER_TIFF,         IDS_FILTER_PHOTOCD, IDS_FILTER_PICT,     IDS_FILTER_TARGA, IDS_FILTER_WMF,
        IDS_FILTER_IFF,          IDS_FILTER_PCX,     IDS_FILTER_ALL_FILES};
    filter.Empty();
    for (UINT id : kFilterIds)
        filter += AfxLoadText(id);
    filter += "|";
}

std::vector<CString> ParseOpenSelection(const char* buffer, size_t size)
{
    std::vector<CString> parts;
    size_t i = 0;
    while (i < size && buffer[i] != '\0') {
        size_t nStart = i;
        while (i < size && buffer[i] != '\0')
            i++;
        parts.emplace_back(buffer + nStart, static_cast<int>(i - nStart));
        i++;
    }
    if (parts.size() <= 1)
        return parts;
    std::vector<CString> paths;
    CString strFolder = parts[0];
    if (strFolder.Right(1) != "\\")
        strFolder += "\\";
    for (size_t n = 1; n < parts.size(); n++) {
        CString strPath = strFolder + parts[n];
        if (strPath.GetLength() < MAX_PATH)
            paths.push_back(strPath);
    }
    return paths;
}

UINT_PTR CALLBACK OpenPreviewHook(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Nothing may leave a dialog's hook.
    try {
        return HandlePreviewMessage(hDlg, message, wParam, lParam);
    } catch (const CException&) {
    } catch (const std::exception&) {
    }
    return FALSE;
}

BOOL PromptFileName(CString& fileName, UINT titleId, DWORD extraFlags, BOOL openDialog)
{
    char szOldFolder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof(szOldFolder), szOldFolder);
    if (!g_CurrentSaveDirectory.IsEmpty())
        ::SetCurrentDirectoryA(g_CurrentSaveDirectory);

    CFileDialog dlg(openDialog, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | extraFlags,
                    nullptr, nullptr);
    CString strTitle = AfxLoadText(titleId);
    dlg.m_ofn.lpstrTitle = strTitle;
    CString strAllFiles = AfxLoadText(IDS_FILTER_ALL_FILES);
    int nBar = strAllFiles.Find('|');
    CString strName = nBar > 0 ? strAllFiles.Left(nBar) : strAllFiles;
    // "<name>\0*.*\0\0"
    std::vector<char> filter(strName.GetLength() + 7, '\0');
    std::memcpy(filter.data(), static_cast<LPCSTR>(strName), strName.GetLength());
    std::memcpy(filter.data() + strName.GetLength() + 1, "*.*", 3);
    dlg.m_ofn.lpstrFilter = filter.data();
    dlg.m_ofn.nMaxCustFilter++;
    dlg.m_ofn.lpstrInitialDir =
        g_CurrentSaveDirectory.IsEmpty() ? nullptr : static_cast<LPCSTR>(g_CurrentSaveDirectory);
    char szFile[MAX_PATH];
    lstrcpynA(szFile, fileName, sizeof(szFile));
    dlg.m_ofn.lpstrFile = szFile;
    dlg.m_ofn.nMaxFile = sizeof(szFile);

    BOOL bOk = dlg.DoModal() == IDOK;
    if (bOk)
        fileName = szFile;
    // Where the next dialog opens; never the look-alike of a folder the code page cannot spell.
    AfxGetCurrentFolder(&g_CurrentSaveDirectory);
    ::SetCurrentDirectoryA(szOldFolder);
    return bOk;
}
