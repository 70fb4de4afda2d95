// Printing support of views: the print information of one job (CPrintInfo), the printing-status
// dialog with its Cancel button, and the device context of the print preview (CPreviewDC).
#pragma once
#include "framework/CommonDialogs.h"
#include "framework/Dc.h"

// What a view's printing steps know about the job. A job whose last page is unknown (GetMaxPage()
// 0xFFFF) goes on while OnPrepareDC leaves m_bContinuePrinting set.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;     // the print dialog of the job (owned)
    BOOL m_bDirect = FALSE;  // print on the default printer without asking
    BOOL m_bPreview = FALSE; // the pages go to the print preview
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;   // pages shown side by side in the preview (1 or 2)
    LPVOID m_lpUserData = nullptr; // the view's own
    CRect m_rectDraw;              // the printable area of the current page, in logical units
};

// The printing-status window of a running job, null when no job runs (tests press its Cancel).
HWND AfxGetPrintStatusWindow();

// The print preview's device context: output goes to a memory bitmap scaled from the printer's
// page, while every question (device caps, text extents) is answered by the printer's context, so a
// view draws its pages exactly as for the printer.
class CPreviewDC : public CDC {
public:
    // hPrinterDC stays the caller's; the output DC is attached by SetOutputDC.
    CPreviewDC(HDC hPrinterDC, CSize pagePrinter, CSize pageScreen);
    ~CPreviewDC() override;
    // Keeps the page scaling of the output: only the attribute DC changes mode.
    int SetMapMode(int nMapMode) override;
    void SetOutputDC(HDC hDC) override;
    void ReleaseOutputDC() override;

private:
    void ApplyScale();
    CSize m_pagePrinter;
    CSize m_pageScreen;
};
