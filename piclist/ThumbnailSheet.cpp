// Thumbnail-sheet layout, page drawing and options dialog.
#include "piclist/ThumbnailSheet.h"

#include "shell/DialogPictures.h"
#include "shell/LoadErrorDlg.h"
#include "shell/Settings.h"
#include "shell/SimpleDibButton.h"
#include "shell/SharedUi.h"
#include "core/DIB.h"
#include "core/Progress.h"
#include "core/Resize.h"
#include "core/TextFormat.h"
#include "framework/DataExchange.h"
#include "framework/Dc.h"
#include "framework/Dialog.h"
#include "framework/FrameworkTexts.h"
#include "framework/Print.h"
#include "framework/View.h"
#include "resources/printing-ids.h"
#include "resources/resource.h"

#include <algorithm>

int ClampSheetSize(int sizeIndex) { return std::max(0, std::min(3, sizeIndex)); }

BOOL ComputeSheetLayout(const SheetDevice& device, int sizeIndex, int itemCount, int pageNumber,
                        SheetLayout* pLayout)
{
    SheetLayout l;
    int size = kSheetCellCm[ClampSheetSize(sizeIndex)];
    l.cmX = device.dpiX * 100 / 254;
    l.cmY = device.dpiY * 100 / 254;
    l.cellWidth = std::max(1, l.cmX * size);
    l.cellHeight = std::max(1, l.cmY * size);
    l.columns = std::max(1, device.width / l.cellWidth);
    l.rows = std::max(1, (device.height - (3 * l.cmY) / 2 - (3 * l.cmY) / 2) / l.cellHeight);
    l.perPage = l.columns * l.rows;
    l.pageCount = itemCount > 0 ? (itemCount + l.perPage - 1) / l.perPage : 0;
    l.left = (device.width - l.columns * l.cellWidth) / 2;
    l.top = (device.height - l.rows * l.cellHeight) / 2;
    *pLayout = l;
    return pageNumber >= 1 && pageNumber <= l.pageCount;
}

namespace {

SheetDevice DeviceOf(CDC* pDC)
{
    SheetDevice d;
    d.width = pDC->GetDeviceCaps(HORZRES);
    d.height = pDC->GetDeviceCaps(VERTRES);
    d.dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    d.dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    return d;
}

// "Arial": a positive height asks for the cell height, a negative one for the character height.
void MakeFont(CFont& font, int nHeight, int nWeight, BYTE family)
{
    font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, family, "Arial");
}

void DrawLine(CDC* pDC, CFont& font, LPCSTR lpszText, RECT rect, UINT nFormat)
{
    CFont* pOld = pDC->SelectObject(&font);
    // A caption longer than its cell is cut at its end with an ellipsis.
    pDC->DrawText(lpszText, -1, &rect, nFormat | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SelectObject(pOld);
}

// The size a w x h picture takes fitted in a bw x bh box, proportions kept; FALSE when either is empty.
BOOL FittedSize(int w, int h, int bw, int bh, int* pWidth, int* pHeight)
{
    if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0)
        return FALSE;
    int dw = bw, dh = MulDiv(h, bw, w);
    if (dh > bh) {
        dh = bh;
        dw = MulDiv(w, bh, h);
    }
    *pWidth = std::max(dw, 1);
    *pHeight = std::max(dh, 1);
    return TRUE;
}

BOOL PictureSize(PackedDIB dib, int* pWidth, int* pHeight)
{
    void* p = ::GlobalLock(dib);
    if (p == nullptr)
        return FALSE;
    *pWidth = static_cast<int>(DIBWidth(p));
    *pHeight = static_cast<int>(DIBHeight(p));
    ::GlobalUnlock(dib);
    return TRUE;
}

// A packed DIB fitted and centred in box, proportions kept.
void DrawFitted(CDC* pDC, PackedDIB dib, const RECT& box)
{
    int w = 0, h = 0, dw = 0, dh = 0;
    int bw = box.right - box.left, bh = box.bottom - box.top;
    if (!PictureSize(dib, &w, &h) || !FittedSize(w, h, bw, bh, &dw, &dh))
        return;
    RECT dest = {box.left + (bw - dw) / 2, box.top + (bh - dh) / 2, 0, 0};
    dest.right = dest.left + dw;
    dest.bottom = dest.top + dh;
    RECT src = {0, 0, w, h};
    PaintDIB(pDC->GetSafeHdc(), &dest, dib, &src, nullptr);
}

} // namespace

CThumbnailSheet::CThumbnailSheet(ISheetSource* pSource, LPCSTR lpszTitle, BOOL bSelectedOnly, int sizeIndex)
    : m_pSource(pSource), m_strTitle(lpszTitle), m_bSelectedOnly(bSelectedOnly),
      m_nSize(ClampSheetSize(sizeIndex))
{}

int CThumbnailSheet::CountItems()
{
    if (!m_bSelectedOnly)
        return m_pSource->GetItemCount();
    std::vector<int> selected;
    return m_pSource->GetSelectedItems(&selected) ? static_cast<int>(selected.size()) : 0;
}

void CThumbnailSheet::ContinuePrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo == nullptr || !pDC->IsPrinting())
        return;
    SheetLayout layout;
    pInfo->m_bContinuePrinting = ComputeSheetLayout(DeviceOf(pDC), m_nSize, CountItems(),
                                                    static_cast<int>(pInfo->m_nCurPage), &layout);
}

namespace {

// A picture larger than the device pixels its box gives it is reduced to them before it goes to
// the printer: a photograph sent whole would make the job hundreds of times bigger than the page
// needs. Smaller pictures are left to the device's own stretching.
void ReduceToBox(CDIB& dib, const RECT& box)
{
    int w = 0, h = 0, dw = 0, dh = 0;
    if (!PictureSize(dib.GetHandle(), &w, &h)
        || !FittedSize(w, h, box.right - box.left, box.bottom - box.top, &dw, &dh))
        return;
    if (dw >= w && dh >= h)
        return;
    PackedDIB reduced = ResizeDIBTo24Bit(dib.GetHandle(), dw, dh);
    if (reduced != nullptr) {
        dib.Free(); // the old colour table has nothing to do with the true-colour result
        dib.Attach(reduced);
    }
}

void TakeMeasures(const CDIB& dib, SheetItem* pItem)
{
    pItem->nWidth = static_cast<int>(dib.Width());
    pItem->nHeight = static_cast<int>(dib.Height());
    if (const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib.GetHandle()))) {
        pItem->nBitCount = header->biBitCount;
        ::GlobalUnlock(dib.GetHandle());
    }
}

} // namespace

void CThumbnailSheet::PrintPage(CDC* pDC, CPrintInfo* pInfo)
{
    const int page = static_cast<int>(pInfo->m_nCurPage);
    const int n = CountItems();
    SheetDevice dev = DeviceOf(pDC);
    SheetLayout l;
    if (!ComputeSheetLayout(dev, m_nSize, n, page, &l))
        return;
    const int lpy = dev.dpiY;
    CFont fontTitle, fontSubtitle, fontFooter, fontCaption, fontSmall;
    MakeFont(fontTitle, MulDiv(12, lpy, 72), FW_BOLD, FF_MODERN);
    MakeFont(fontSubtitle, MulDiv(9, lpy, 72), FW_BOLD, FF_MODERN);
    MakeFont(fontFooter, MulDiv(8, lpy, 72), FW_NORMAL, FF_MODERN);
    MakeFont(fontCaption, -MulDiv(8, lpy, 72), FW_BOLD, FF_DONTCARE);
    MakeFont(fontSmall, -MulDiv(7, lpy, 72), FW_NORMAL, FF_DONTCARE);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));

    DrawLine(pDC, fontTitle, m_strTitle, {0, 0, dev.width, l.cmY}, DT_CENTER);
    CString strSubtitle;
    strSubtitle.Format(AfxLoadText(m_bSelectedOnly ? IDS_PRINT_SELECTION_COUNT : IDS_PRINT_TOTAL_COUNT), n);
    DrawLine(pDC, fontSubtitle, strSubtitle, {0, l.cmY / 2, dev.width, l.cmY + l.cmY / 2}, DT_CENTER);
    RECT footer = {dev.dpiX / 6, dev.height - l.cmY, dev.width - dev.dpiX / 6, dev.height};
    DrawLine(pDC, fontFooter, AfxLoadText(IDS_PRODUCT_BANNER), footer, DT_LEFT | DT_BOTTOM);
    CString strPage;
    strPage.Format(AfxLoadText(IDS_PRINT_PAGE_NUMBER), page, l.pageCount);
    DrawLine(pDC, fontFooter, strPage, footer, DT_RIGHT | DT_BOTTOM);

    std::vector<int> selected;
    if (m_bSelectedOnly && !m_pSource->GetSelectedItems(&selected))
        return;
    const BOOL bThumbnails = pInfo->m_bPreview || m_nSize == 0;
    const int first = l.perPage * (page - 1);
    const int onPage = std::min(l.perPage, n - first);
    // Reading full pictures takes a while: the gauge follows the page's pictures.
    const bool bGauge = !bThumbnails && onPage > 0;
    if (bGauge) {
        CString strGauge;
        strGauge.Format(AfxLoadText(AFX_IDS_PRINT_STATUS_PAGE), static_cast<unsigned>(page));
        BeginProgress(strGauge);
    }
    for (int i = 0; i < l.perPage && first + i != n; i++) {
        int column = i % l.columns, row = i / l.columns;
        RECT cell = {l.left + column * l.cellWidth, l.top + row * l.cellHeight,
                     l.left + (column + 1) * l.cellWidth, l.top + (row + 1) * l.cellHeight};
        RECT box = {cell.left + l.cmX / 5, cell.top, cell.right - l.cmX / 5, cell.bottom - (3 * l.cmY) / 2};
        int index = m_bSelectedOnly
                        ? (first + i < static_cast<int>(selected.size()) ? selected[first + i] : -1)
                        : first + i;
        SheetItem item;
        if (index < 0 || !m_pSource->GetItem(index, bThumbnails, &item))
            break;
        if (bThumbnails) {
            if (item.hThumbnail != nullptr)
                DrawFitted(pDC, item.hThumbnail, box);
        } else {
            // One full picture at a time, read quietly and freed before the next.
            CDIB dib;
            BOOL bReport = g_bReportProgress;
            g_bReportProgress = FALSE;
            dib.Read(item.strPath);
            g_bReportProgress = bReport;
            m_nFullReads++;
            if (!dib.IsEmpty()) {
                // A record whose thumbnail was never built does not know its measures yet: the
                // picture just read does, rather than a caption of "0x0".
                if (item.nWidth == 0 || item.nHeight == 0)
                    TakeMeasures(dib, &item);
                ReduceToBox(dib, box);
                dib.DrawFit(pDC, CRect(box));
            }
            if (bGauge)
                SetProgress(static_cast<DWORD>(i + 1), static_cast<DWORD>(onPage));
        }
        RECT text = {box.left, box.bottom, box.right, cell.bottom};
        text.top += lpy / 24;
        DrawLine(pDC, fontCaption, item.strCaption, text, DT_CENTER);
        text.top += lpy / 8;
        CString strSize;
        strSize.Format("%dx%d %s", item.nWidth, item.nHeight, GetColorDepthName(item.nBitCount));
        DrawLine(pDC, fontSmall, strSize, text, DT_CENTER);
        text.top += lpy / 10;
        DrawLine(pDC, fontSmall, item.strInfo, text, DT_CENTER);
    }
    if (bGauge)
        EndProgress();
}

// ---- the options dialog ----

namespace {

class CPrintListDlg : public CDialog {
public:
    CPrintListDlg(CWnd* pParent) : CDialog(IDD_PRINT_LIST, pParent) {}
    int m_nSelection = -1; // 0 all, 1 the selection
    int m_nSize = -1;      // 0 to 3
    CSimpleDibButton m_btnPicture;
    CSimpleDibButton m_btnLogo;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetFontOnDescendants(m_hWnd, static_cast<HFONT>(g_fontSmall.GetSafeHandle()));
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Radio(pDX, IDC_PRINT_LIST_ALL, m_nSelection);
        DDX_Radio(pDX, IDC_PRINT_LIST_SIZE, m_nSize);
        DDX_Control(pDX, IDC_PRINT_LIST_PICTURE, m_btnPicture);
        DDX_Control(pDX, IDC_PRINT_LIST_LOGO, m_btnLogo);
    }
};

} // namespace

BOOL AskSheetOptions(CWnd* pParent)
{
    CDialogPictures pictures({"ORVANEL8", "PRINTPIC"});
    CPrintListDlg dlg(pParent);
    dlg.m_btnLogo.m_hDIB = pictures[0];
    dlg.m_btnPicture.m_hDIB = pictures[1];
    dlg.m_nSelection = g_ListPrintSelected;
    dlg.m_nSize = g_ListPrintSize;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    // No choice made counts as the first one.
    g_ListPrintSelected = dlg.m_nSelection == 1 ? 1 : 0;
    g_ListPrintSize = ClampSheetSize(dlg.m_nSize);
    return TRUE;
}

BOOL RunSheetPrintCommand(CView* pView, BOOL bPreview)
{
    if (!AskSheetOptions(nullptr))
        return FALSE;
    if (bPreview)
        pView->OnFilePrintPreview();
    else
        pView->OnFilePrint();
    return TRUE;
}
