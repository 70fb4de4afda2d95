// Picture and poster pages, and the poster dialog's set-up.
#include "viewers/PicturePrint.h"

#include "shell/DialogPictures.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Print.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "viewers/PosterDlg.h"
#include "viewers/PosterGeometry.h"

#include <algorithm>

PosterState g_stillPoster;
PosterState g_animPoster;

namespace {

PrinterPage PageOf(CDC* pDC)
{
    PrinterPage page;
    page.width = pDC->GetDeviceCaps(HORZRES);
    page.height = pDC->GetDeviceCaps(VERTRES);
    page.dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    page.dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    return page;
}

SIZE SizeOf(PackedDIB dib)
{
    SIZE size = {0, 0};
    if (dib != nullptr) {
        void* p = ::GlobalLock(dib);
        if (p != nullptr) {
            size.cx = static_cast<LONG>(DIBWidth(p));
            size.cy = static_cast<LONG>(DIBHeight(p));
            ::GlobalUnlock(dib);
        }
    }
    return size;
}

void DrawBand(CDC* pDC, LPCSTR lpszText, RECT band, int nPoints, int nWeight)
{
    CFont font;
    font.CreateFont(MulDiv(nPoints, pDC->GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, nWeight, TRUE, FALSE, FALSE,
                    ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x30, "Arial");
    CFont* pOld = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->DrawText(lpszText, -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SelectObject(pOld);
}

} // namespace

BOOL AskPosterSize(PosterState& state, int picWidth, int picHeight, CWnd* pParent)
{
    if (picWidth <= 0 || picHeight <= 0)
        return FALSE;
    CDialogPictures pictures({"ORVANEL8", "PRINTPOSTER"});
    CPosterDlg dlg(pParent);
    dlg.m_nWidth = static_cast<int>(state.nWidthCm);
    dlg.m_nHeight = PosterOtherSide(dlg.m_nWidth, picHeight, picWidth);
    dlg.m_nPictureWidth = picWidth;
    dlg.m_nPictureHeight = picHeight;
    dlg.m_btnLogo.m_hDIB = pictures[0];
    dlg.m_btnPicture.m_hDIB = pictures[1];
    if (dlg.DoModal() != IDOK)
        return FALSE;
    state.nWidthCm = static_cast<UINT>(dlg.m_nWidth);
    state.bPosterMode = TRUE;
    return TRUE;
}

void ContinuePosterPrinting(const PosterState& state, CDC* pDC, CPrintInfo* pInfo, PackedDIB dib)
{
    if (pInfo == nullptr || !pDC->IsPrinting() || !state.bPosterMode)
        return;
    SIZE size = SizeOf(dib);
    PosterLayout layout;
    pInfo->m_bContinuePrinting = ComputePoster(PageOf(pDC), size.cx, size.cy, state.nWidthCm, &layout)
                                 && pInfo->m_nCurPage >= 1
                                 && pInfo->m_nCurPage <= static_cast<UINT>(layout.pages);
}

void PrintPosterPage(const PosterState& state, CDC* pDC, CPrintInfo* pInfo, PackedDIB dib, HPALETTE hPalette)
{
    SIZE size = SizeOf(dib);
    PosterLayout layout;
    RECT src, dest;
    if (!ComputePoster(PageOf(pDC), size.cx, size.cy, state.nWidthCm, &layout)
        || !PosterPiece(layout, size.cx, size.cy, static_cast<int>(pInfo->m_nCurPage), &src, &dest))
        return;
    PaintDIB(pDC->GetSafeHdc(), &dest, dib, &src, hPalette);
}

void PrintPlainPage(CDC* pDC, PackedDIB dib, HPALETTE hPalette, LPCSTR lpszTitle)
{
    SIZE size = SizeOf(dib);
    PlainPageLayout layout;
    if (!ComputePlainPage(PageOf(pDC), size.cx, size.cy, &layout))
        return;
    DrawBand(pDC, lpszTitle, layout.title, 16, FW_BOLD);
    DrawBand(pDC, AfxLoadText(IDS_PRODUCT_BANNER), layout.footer, 10, FW_NORMAL);
    RECT src = {0, 0, size.cx, size.cy};
    PaintDIB(pDC->GetSafeHdc(), &layout.picture, dib, &src, hPalette);
}
