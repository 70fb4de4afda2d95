// The favourites dialogs.
#include "app/FavoritesDialogs.h"

#include "app/Favorites.h"
#include "shell/Settings.h"
#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(CFavoriteNameDlg, CDialog)
IMPLEMENT_DYNAMIC(CAddFavoriteDlg, CFavoriteNameDlg)
IMPLEMENT_DYNAMIC(CRenameFavoriteDlg, CFavoriteNameDlg)
IMPLEMENT_DYNAMIC(CEditFavoritesDlg, CDialog)

namespace {

// The lines the sentence of hText needs at its width, with its own font, as the static control
// breaks them (at blanks, and inside a word longer than the line).
int TextHeightNeeded(HWND hText, int width)
{
    int nLength = ::GetWindowTextLengthA(hText);
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    ::GetWindowTextA(hText, &text[0], nLength + 1);
    HDC hdc = ::GetDC(hText);
    HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hText, WM_GETFONT, 0, 0)));
    int height = 0;
    for (UINT flags : {0u, static_cast<UINT>(DT_EDITCONTROL)}) {
        RECT rect = {0, 0, width, 0};
        ::DrawTextA(hdc, text.c_str(), nLength, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | flags);
        height = std::max(height, static_cast<int>(rect.bottom));
    }
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hText, hdc);
    return height;
}

// Grows the dialog's sentence to the lines it needs, moving what lies below it and the dialog's
// bottom down by as much.
void FitSentence(HWND hDlg, HWND hText)
{
    RECT rectText;
    ::GetWindowRect(hText, &rectText);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rectText), 2);
    int extra = TextHeightNeeded(hText, rectText.right - rectText.left) - (rectText.bottom - rectText.top);
    if (extra <= 0)
        return;
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(hChild, &rect);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
        if (hChild == hText)
            ::SetWindowPos(hChild, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + extra,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        else if (rect.top >= rectText.bottom)
            ::SetWindowPos(hChild, nullptr, rect.left, rect.top + extra, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT rectDlg;
    ::GetWindowRect(hDlg, &rectDlg);
    ::SetWindowPos(hDlg, nullptr, 0, 0, rectDlg.right - rectDlg.left, rectDlg.bottom - rectDlg.top + extra,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

BOOL CFavoriteNameDlg::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    m_strTitle.MakeLower();
    HWND hText = ::GetDlgItem(m_hWnd, IDC_FAVORITE_TEXT);
    if (hText != nullptr) {
        int nLength = ::GetWindowTextLengthA(hText);
        std::string format(static_cast<size_t>(nLength) + 1, '\0');
        ::GetWindowTextA(hText, &format[0], nLength + 1);
        // The template's own text is the format; the title is only ever an argument.
        CString text;
        text.Format(format.c_str(), static_cast<LPCSTR>(m_strTitle));
        ::SetWindowTextA(hText, text);
        FitSentence(m_hWnd, hText);
    }
    CenterWindow();
    return bResult;
}

void CFavoriteNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_NameText(pDX, IDC_FAVORITE_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kFavoriteNameMax);
}

CAddFavoriteDlg::CAddFavoriteDlg(CWnd* pParentWnd) : CFavoriteNameDlg(IDD_ADD_FAVORITE, pParentWnd) {}

CRenameFavoriteDlg::CRenameFavoriteDlg(CWnd* pParentWnd) : CFavoriteNameDlg(IDD_RENAME_FAVORITE, pParentWnd)
{}

INT_PTR RunFavoriteNameDialog(CFavoriteNameDlg& dlg)
{
    for (;;) {
        if (dlg.DoModal() != IDOK)
            return IDCANCEL;
        if (dlg.m_strName.IsEmpty()) {
            ::MessageBeep(static_cast<UINT>(-1));
            continue;
        }
        if (!IsAcceptableFavoriteName(dlg.m_strName)) {
            AfxMessageBox(IDS_FAVORITE_NAME_REFUSED, MB_ICONEXCLAMATION);
            continue;
        }
        return IDOK;
    }
}

// ---- editing the list ----

BEGIN_MESSAGE_MAP(CEditFavoritesDlg, CDialog)
    ON_BN_CLICKED(IDC_FAVORITE_RENAME, OnRename)
    ON_BN_CLICKED(IDC_FAVORITE_DELETE, OnDelete)
END_MESSAGE_MAP()

CEditFavoritesDlg::CEditFavoritesDlg(CWnd* pParentWnd) : CDialog(IDD_EDIT_FAVORITES, pParentWnd) {}

BOOL CEditFavoritesDlg::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    CenterWindow();
    return bResult;
}

void CEditFavoritesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FAVORITE_LIST, m_listFavorites);
    if (!pDX->m_bSaveAndValidate) {
        FillList();
        m_listFavorites.SetCurSel(0);
        UpdateButtons();
    }
}

void CEditFavoritesDlg::FillList()
{
    m_listFavorites.ResetContent();
    for (int i = 0; i < m_arrFavorites.GetSize(); i++) {
        CString name;
        SplitFavorite(m_arrFavorites[i], &name, nullptr);
        m_listFavorites.AddString(name);
    }
}

void CEditFavoritesDlg::UpdateButtons()
{
    BOOL bAny = m_listFavorites.GetCount() > 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FAVORITE_RENAME), bAny);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FAVORITE_DELETE), bAny);
}

void CEditFavoritesDlg::SortFavorites() { SortFavoriteArray(m_arrFavorites); }

void CEditFavoritesDlg::OnRename()
{
    int nSel = m_listFavorites.GetCurSel();
    if (m_listFavorites.GetCount() == 0 || nSel < 0 || nSel >= m_arrFavorites.GetSize())
        return;
    CString oldName;
    CString path;
    SplitFavorite(m_arrFavorites[nSel], &oldName, &path);
    CRenameFavoriteDlg dlg(this);
    dlg.m_strTitle = path;
    dlg.m_strName = oldName;
    for (;;) {
        if (RunFavoriteNameDialog(dlg) != IDOK || dlg.m_strName == oldName)
            return;
        // Names in use are those of the list as it was when this dialog opened.
        if (IsFavoriteName(dlg.m_strName)) {
            CString question;
            question.FormatMessage(IDS_FAVORITE_NAME_TAKEN, static_cast<LPCSTR>(dlg.m_strName));
            ::MessageBeep(MB_ICONHAND);
            if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES)
                continue;
            return;
        }
        break;
    }
    m_arrFavorites[nSel] = dlg.m_strName + "|" + path;
    SortFavorites();
    FillList();
    int nNew = -1;
    for (int i = 0; i < m_arrFavorites.GetSize(); i++) {
        CString name;
        SplitFavorite(m_arrFavorites[i], &name, nullptr);
        if (name == dlg.m_strName)
            nNew = i;
    }
    m_listFavorites.SetCurSel(nNew);
}

void CEditFavoritesDlg::OnDelete()
{
    int nSel = m_listFavorites.GetCurSel();
    if (m_listFavorites.GetCount() == 0 || nSel < 0 || nSel >= m_arrFavorites.GetSize())
        return;
    CString name;
    CString path;
    SplitFavorite(m_arrFavorites[nSel], &name, &path);
    CString question;
    question.FormatMessage(IDS_FAVORITE_CONFIRM_EDIT, static_cast<LPCSTR>(name), static_cast<LPCSTR>(path));
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_arrFavorites.RemoveAt(nSel);
    m_listFavorites.DeleteString(static_cast<UINT>(nSel));
    int nCount = m_listFavorites.GetCount();
    if (nCount > 0)
        m_listFavorites.SetCurSel(nSel < nCount ? nSel : nCount - 1);
    UpdateButtons();
}
