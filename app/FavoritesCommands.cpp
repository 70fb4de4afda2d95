// The main frame's favourites commands: adding the active window, editing the list, listing the
// favourites in every favourites popup and opening one.
#include "app/MainFrame.h"

#include "app/Favorites.h"
#include "app/FavoritesDialogs.h"
#include "shell/Settings.h"
#include "core/SystemUtil.h"
#include "explorer/ExplorerDoc.h"
#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIChildWnd.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/GifDoc.h"

namespace {

// The active window's document when favourites can point at it.
CDocument* FavoriteDocument(CMDIFrameWnd* pFrame)
{
    CMDIChildWnd* pChild = pFrame->MDIGetActive();
    CDocument* pDoc = pChild != nullptr ? pChild->GetActiveDocument() : nullptr;
    if (pDoc == nullptr)
        return nullptr;
    if (!pDoc->IsKindOf(RUNTIME_CLASS(CExplorerDoc)) && !pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc))
        && !pDoc->IsKindOf(RUNTIME_CLASS(CGifDoc)))
        return nullptr;
    return pDoc;
}

// Asks whether to choose another name for one already in use (after the critical-stop beep).
BOOL AskNameAgain(const CString& name)
{
    CString question;
    question.FormatMessage(IDS_FAVORITE_NAME_TAKEN, static_cast<LPCSTR>(name));
    ::MessageBeep(MB_ICONHAND);
    return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

void CMainFrame::OnUpdateAddFavorite(CCmdUI* pCmdUI)
{
    CDocument* pDoc = FavoriteDocument(this);
    pCmdUI->Enable(pDoc != nullptr && !CString(pDoc->GetPathName()).IsEmpty());
}

void CMainFrame::OnAddFavorite()
{
    CDocument* pDoc = FavoriteDocument(this);
    if (pDoc == nullptr) {
        ::MessageBeep(static_cast<UINT>(-1));
        return;
    }
    CString pathName = pDoc->GetPathName();
    CString title = pDoc->GetTitle();

    if (IsFavoritePath(pathName)) {
        CString lowerTitle = title;
        lowerTitle.MakeLower();
        CString question;
        question.FormatMessage(IDS_FAVORITE_EXISTS, static_cast<LPCSTR>(lowerTitle));
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        CRenameFavoriteDlg dlg;
        dlg.m_strTitle = title;
        dlg.m_strName = GetFavoriteNameByPath(pathName);
        dlg.m_nIndex = FindFavoriteByName(dlg.m_strName);
        for (;;) {
            if (RunFavoriteNameDialog(dlg) != IDOK)
                return;
            if (IsFavoriteName(dlg.m_strName)) {
                if (AskNameAgain(dlg.m_strName))
                    continue;
                return;
            }
            break;
        }
        if (dlg.m_nIndex >= 0 && dlg.m_nIndex < g_FavoriteList.GetSize()) {
            g_FavoriteList[dlg.m_nIndex] = dlg.m_strName + "|" + pathName;
            SortFavorites();
        }
        return;
    }

    CString folder;
    CString filePart;
    SplitPath(pathName, &folder, &filePart);
    if (filePart.IsEmpty())
        filePart = pathName;
    CString proposed;
    if (pDoc->IsKindOf(RUNTIME_CLASS(CExplorerDoc))) {
        proposed.Format(AfxLoadText(IDS_FAVORITE_FOLDER), static_cast<LPCSTR>(filePart));
    } else {
        int nDot = filePart.Find('.');
        CString base = nDot >= 0 ? filePart.Left(nDot) : filePart;
        proposed.Format(AfxLoadText(IDS_FAVORITE_PICTURE), static_cast<LPCSTR>(base));
    }
    CAddFavoriteDlg dlg;
    // Proposed names follow the same rule as typed ones (no quotes, colons or backslashes), and fit
    // the name's field, which refuses a longer one: a long name keeps its beginning.
    dlg.m_strName = CleanFavoriteName(proposed);
    if (dlg.m_strName.GetLength() > kFavoriteNameMax) {
        dlg.m_strName = dlg.m_strName.Left(kFavoriteNameMax);
        dlg.m_strName.TrimRight();
    }
    dlg.m_strTitle = title;
    for (;;) {
        if (RunFavoriteNameDialog(dlg) != IDOK)
            return;
        if (AddFavorite(dlg.m_strName, pathName))
            return;
        if (!AskNameAgain(dlg.m_strName))
            return;
    }
}

void CMainFrame::OnEditFavorites()
{
    CEditFavoritesDlg dlg;
    for (int i = 0; i < g_FavoriteList.GetSize(); i++)
        dlg.m_arrFavorites.Add(g_FavoriteList[i]);
    if (dlg.DoModal() != IDOK)
        return;
    g_FavoriteList.RemoveAll();
    for (int i = 0; i < dlg.m_arrFavorites.GetSize(); i++)
        g_FavoriteList.Add(dlg.m_arrFavorites[i]);
}

void CMainFrame::OnUpdateEditFavorites(CCmdUI* pCmdUI) { pCmdUI->Enable(g_FavoriteList.GetSize() > 0); }

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (pPopupMenu == nullptr || bSysMenu)
        return;
    HMENU hMenu = pPopupMenu->GetSafeHmenu();
    if (hMenu == nullptr || ::GetMenuItemID(hMenu, 0) != ID_FAVORITES_ADD)
        return;
    for (int i = ::GetMenuItemCount(hMenu) - 1; i >= 2; i--)
        ::DeleteMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
    int nCount = static_cast<int>(g_FavoriteList.GetSize());
    if (nCount == 0)
        return;
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < nCount && ID_FAVORITE_FIRST + i <= ID_FAVORITE_LAST; i++) {
        CString name;
        SplitFavorite(g_FavoriteList[i], &name, nullptr);
        ::AppendMenuA(hMenu, MF_STRING | MF_ENABLED, static_cast<UINT_PTR>(ID_FAVORITE_FIRST + i), name);
    }
}

void CMainFrame::OnFavorite(UINT nID)
{
    int nIndex = static_cast<int>(nID) - ID_FAVORITE_FIRST;
    if (nIndex < 0 || nIndex >= g_FavoriteList.GetSize())
        return;
    CString path;
    SplitFavorite(g_FavoriteList[nIndex], nullptr, &path);
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
        pApp->OpenDocumentFile(path);
}

void CMainFrame::OnUpdateFavorite(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
