#include "piclist/PatternDialogs.h"

#include "shell/Settings.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CSelectPicturesDlg, CDialog)
IMPLEMENT_DYNAMIC(CDeselectPicturesDlg, CDialog)

namespace {

// The history goes into the combo box once, when the controls are first loaded.
void FillHistory(CDataExchange* pDX, CComboBox& combo, const CStringArray* pHistory)
{
    if (pDX->m_bSaveAndValidate || pHistory == nullptr || combo.GetCount() > 0)
        return;
    for (INT_PTR i = 0; i < pHistory->GetSize(); ++i)
        combo.AddString((*pHistory)[i]);
}

// The pattern shown in the combo's edit exactly as given: the framework's exchange would select the
// first entry that merely begins with it.
void ExchangePattern(CDataExchange* pDX, CComboBox& combo, CString& pattern)
{
    if (pDX->m_bSaveAndValidate)
        DDX_CBString(pDX, IDC_PATTERN_COMBO, pattern);
    else
        combo.SetWindowText(pattern);
}

CString NewestPattern(const CStringArray& history) { return history.GetSize() > 0 ? history[0] : CString(); }

} // namespace

CSelectPicturesDlg::CSelectPicturesDlg(CWnd* pParent) : CDialog(IDD_SELECT_PICTURES, pParent) {}

void CSelectPicturesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PATTERN_COMBO, m_comboPattern);
    FillHistory(pDX, m_comboPattern, m_pHistory);
    ExchangePattern(pDX, m_comboPattern, m_strPattern);
    DDX_Check(pDX, IDC_PATTERN_REPLACE, m_bReplace);
}

CDeselectPicturesDlg::CDeselectPicturesDlg(CWnd* pParent) : CDialog(IDD_DESELECT_PICTURES, pParent) {}

void CDeselectPicturesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PATTERN_COMBO, m_comboPattern);
    FillHistory(pDX, m_comboPattern, m_pHistory);
    ExchangePattern(pDX, m_comboPattern, m_strPattern);
}

void RememberPattern(CStringArray& history, const CString& pattern)
{
    // An empty entry would end the list when the settings are read back, losing the older ones.
    if (pattern.IsEmpty())
        return;
    for (INT_PTR i = history.GetSize() - 1; i >= 0; --i) {
        if (history[i].CompareNoCase(pattern) == 0)
            history.RemoveAt(i);
    }
    history.InsertAt(0, pattern);
    while (history.GetSize() > kSavedListEntries)
        history.RemoveAt(history.GetSize() - 1);
}

CStringArray& g_arrSelectPatterns = g_SelectFilterList;
CStringArray& g_arrDeselectPatterns = g_UnselectFilterList;

BOOL AskSelectPattern(CWnd* pParent, CString* pPattern, BOOL* pReplace)
{
    CSelectPicturesDlg dlg(pParent);
    dlg.m_strPattern = NewestPattern(g_arrSelectPatterns);
    dlg.m_pHistory = &g_arrSelectPatterns;
    dlg.m_bReplace = 1;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    CString pattern = dlg.m_strPattern;
    pattern.MakeLower();
    RememberPattern(g_arrSelectPatterns, pattern);
    if (pPattern != nullptr)
        *pPattern = pattern;
    if (pReplace != nullptr)
        *pReplace = dlg.m_bReplace != 0;
    return TRUE;
}

BOOL AskDeselectPattern(CWnd* pParent, CString* pPattern)
{
    CDeselectPicturesDlg dlg(pParent);
    dlg.m_strPattern = NewestPattern(g_arrDeselectPatterns);
    dlg.m_pHistory = &g_arrDeselectPatterns;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    CString pattern = dlg.m_strPattern;
    pattern.MakeLower();
    RememberPattern(g_arrDeselectPatterns, pattern);
    if (pPattern != nullptr)
        *pPattern = pattern;
    return TRUE;
}
