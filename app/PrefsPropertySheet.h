// CPrefsPropertySheet: the preferences sheet (F2) with its seven pages. The caller fills the pages'
// fields from the settings, runs the sheet and, after IDOK only, writes the fields back.
#pragma once
#include "app/PropPageEditorPath.h"
#include "app/PropPageGeneral.h"
#include "app/PropPageJPEG.h"
#include "app/PropPageLibrarianPath.h"
#include "app/PropPagePhotoCD.h"
#include "app/PropPageToolbars.h"
#include "app/PropPageWMF.h"
#include "framework/PropertySheet.h"

class CPrefsPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CPrefsPropertySheet)
public:
    // Adds the pages in tab order and opens on the page that was in front at the last OK.
    explicit CPrefsPropertySheet(CWnd* pParentWnd = nullptr);
    ~CPrefsPropertySheet() override;

    // The page the next sheet opens on (0 at program start; not saved).
    static int GetRememberedPage();
    static void SetRememberedPage(int nPage);

    // IDOK (the pages' fields hold the user's values) or IDCANCEL.
    INT_PTR DoModal() override;

    CPropPageGeneral m_pageGeneral;
    CPropPageToolbars m_pageToolbars;
    CPropPageLibrarianPath m_pageLibrarianPath;
    CPropPageEditorPath m_pageEditorPath;
    CPropPageJPEG m_pageJPEG;
    CPropPagePhotoCD m_pagePhotoCD;
    CPropPageWMF m_pageWMF;

protected:
    BOOL OnInitDialog() override;
    // OK remembers the page in front before the sheet closes.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    int m_nPageAtOK = -1;
};
