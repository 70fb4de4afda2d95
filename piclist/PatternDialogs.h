// The select-by-pattern and deselect-by-pattern dialogs and the two pattern histories they show.
// The histories are the settings lists "SelectFilterList" and "UnselectFilterList", shared by the
// library, the explorer and the search window: newest first, no pattern twice (compared without
// regard to case, accents included).
#pragma once
#include "framework/Collections.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

// Dialog 286: the pattern and whether it replaces the current selection.
class CSelectPicturesDlg : public CDialog {
    DECLARE_DYNAMIC(CSelectPicturesDlg)
public:
    explicit CSelectPicturesDlg(CWnd* pParent = nullptr);

    CComboBox m_comboPattern;
    CString m_strPattern;
    int m_bReplace = 0;
    // Listed in the combo box, in order, when the dialog opens (not owned).
    const CStringArray* m_pHistory = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 353: the pattern of the pictures to leave out of the selection.
class CDeselectPicturesDlg : public CDialog {
    DECLARE_DYNAMIC(CDeselectPicturesDlg)
public:
    explicit CDeselectPicturesDlg(CWnd* pParent = nullptr);

    CComboBox m_comboPattern;
    CString m_strPattern;
    const CStringArray* m_pHistory = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The two histories under the names the commands use: the settings lists themselves.
extern CStringArray& g_arrSelectPatterns;
extern CStringArray& g_arrDeselectPatterns;

// Puts the pattern at the front of the history, removing an entry that differs only by case. An
// empty pattern is not kept.
void RememberPattern(CStringArray& history, const CString& pattern);

// The whole exchange of the select command: the dialog opens on the newest pattern with the replace
// box ticked; after OK the pattern comes back lower-cased and goes to the front of the history.
// FALSE when the user cancelled (nothing changed).
BOOL AskSelectPattern(CWnd* pParent, CString* pPattern, BOOL* pReplace);
// The same for the deselect command.
BOOL AskDeselectPattern(CWnd* pParent, CString* pPattern);
