// Thumbnail sheets: the pictures of a thumbnail list printed as a table of cells over as many pages
// as needed, with a title, a subtitle, captions and a footer. One page layout and one page-drawing
// routine serve every view that prints a list; the list is reached through ISheetSource.
#pragma once
#include "core/PackedDib.h"
#include "framework/String.h"

#include <vector>

class CDC;
struct CPrintInfo;
class CWnd;

// ---- the list being printed ----

// One picture of the list, as the sheet prints it.
struct SheetItem {
    PackedDIB hThumbnail = nullptr; // the record's thumbnail, still the list's (0: none)
    CString strPath;                // the picture file, read at full size for large cells
    CString strCaption;             // line 1: the file name (the library: the picture's name)
    int nWidth = 0;                 // line 2: size and colours
    int nHeight = 0;
    int nBitCount = 0;
    CString strInfo; // line 3: size and date text
};

class ISheetSource {
public:
    virtual ~ISheetSource() = default;
    virtual int GetItemCount() = 0;
    // The selected items' indexes in list order; FALSE when they cannot be had.
    virtual BOOL GetSelectedItems(std::vector<int>* pIndexes) = 0;
    // The item at index; with bBuildThumbnail, a record without a thumbnail builds it first. FALSE
    // for an index the list has no record for.
    virtual BOOL GetItem(int index, BOOL bBuildThumbnail, SheetItem* pItem) = 0;
};

// ---- layout ----

// The device: printable size in pixels (HORZRES, VERTRES) and resolution (LOGPIXELSX/Y).
struct SheetDevice {
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
};

struct SheetLayout {
    int cmX = 0; // pixels per centimetre
    int cmY = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;
    int perPage = 0;
    int pageCount = 0; // 0 when there is nothing to print
    int left = 0;      // the grid, centred on the page
    int top = 0;
};

// Cell sides in centimetres, by the "ListPrintSize" index.
const int kSheetCellCm[4] = {3, 4, 6, 8};
// Brings a stored size index into the table (below 0 is 0, above 3 is 3).
int ClampSheetSize(int sizeIndex);

// The layout of itemCount pictures in cells of that size index (clamped); TRUE when pageNumber (from
// 1) is one of its pages.
BOOL ComputeSheetLayout(const SheetDevice& device, int sizeIndex, int itemCount, int pageNumber,
                        SheetLayout* pLayout);

// ---- printing ----

// What a view prints: its list, its title, and the choices of the options dialog.
class CThumbnailSheet {
public:
    CThumbnailSheet(ISheetSource* pSource, LPCSTR lpszTitle, BOOL bSelectedOnly, int sizeIndex);

    // The number of pictures printed: the selected ones or all.
    int CountItems();
    // OnPrepareDC's rule: printing goes on while the page is within the page count.
    void ContinuePrinting(CDC* pDC, CPrintInfo* pInfo);
    // Draws page pInfo->m_nCurPage. In preview, or with the smallest cells, the thumbnails are
    // drawn; otherwise each picture is read at full size, drawn and freed before the next.
    void PrintPage(CDC* pDC, CPrintInfo* pInfo);

    // Full pictures read so far (one per cell printed at sizes 1 to 3).
    int GetFullReads() const { return m_nFullReads; }

private:
    ISheetSource* m_pSource;
    CString m_strTitle;
    BOOL m_bSelectedOnly;
    int m_nSize;
    int m_nFullReads = 0;
};

class CView;
// The print and print-preview commands of a view that prints its list: the options dialog, then on OK
// the framework's print (or preview) of the view. FALSE when the user cancelled.
BOOL RunSheetPrintCommand(CView* pView, BOOL bPreview);

// The options dialog of list printing ("ORVANEL8" and "PRINTPIC" on its buttons), set from and stored
// into "ListPrintSelected" and "ListPrintSize". TRUE on OK.
BOOL AskSheetOptions(CWnd* pParent);
