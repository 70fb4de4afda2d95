// The thumbnail list of a window (explorer, search results, library bar) as the list a thumbnail
// sheet prints.
#pragma once
#include "piclist/ThumbnailSheet.h"

class CPicListBox;

class CPicListSheetSource : public ISheetSource {
public:
    // bCaptionIsName: line 1 of a caption is the picture's name (the library) instead of its file
    // name. The list stays the caller's and must outlive the source.
    CPicListSheetSource(CPicListBox* pList, BOOL bCaptionIsName);

    int GetItemCount() override;
    BOOL GetSelectedItems(std::vector<int>* pIndexes) override;
    BOOL GetItem(int index, BOOL bBuildThumbnail, SheetItem* pItem) override;

private:
    CPicListBox* m_pList;
    BOOL m_bCaptionIsName;
};

class CDC;
struct CPrintInfo;
class CThumbnailSheet;

// What a view printing its thumbnail list keeps for one print run: the views' printing steps
// forward to it.
class CListSheetPrint {
public:
    CListSheetPrint() = default;
    ~CListSheetPrint();
    CListSheetPrint(const CListSheetPrint&) = delete;
    CListSheetPrint& operator=(const CListSheetPrint&) = delete;

    // A new run over the list with the options dialog's stored choices (from OnPreparePrinting).
    void Begin(CPicListBox* pList, BOOL bCaptionIsName, LPCSTR lpszTitle);
    // OnPrepareDC: printing goes on while the page is within the page count.
    void PrepareDC(CDC* pDC, CPrintInfo* pInfo);
    // OnPrint: draws the page.
    void PrintPage(CDC* pDC, CPrintInfo* pInfo);
    // The run's sheet (null before the first run).
    CThumbnailSheet* GetSheet() const { return m_pSheet; }

private:
    void Free();
    CPicListSheetSource* m_pSource = nullptr;
    CThumbnailSheet* m_pSheet = nullptr;
};
