// CPrintLibView: the view of a picture-list print window. The window lies off the screen; its first
// update asks for the print command, which prints the library bar's list as thumbnail sheets and then
// closes the window, whether the user printed or cancelled.
#pragma once
#include "piclist/PicListSheetSource.h"
#include "framework/View.h"

class CPrintLibView : public CView {
    DECLARE_DYNCREATE(CPrintLibView)
public:
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

    // The options dialog and the print; the window closes afterwards in every case.
    void OnPrintList();

    // The title of the sheets: the library's name and the bar's folder relative to the library root.
    static CString SheetTitle(const CString& folder, const CString& libraryRoot);

private:
    CListSheetPrint m_print;

    DECLARE_MESSAGE_MAP()
};
