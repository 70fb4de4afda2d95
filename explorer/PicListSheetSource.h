// The thumbnail list of a window (explorer, search results, library bar) as the list a thumbnail
// sheet prints.
#pragma once
#include "explorer/ThumbnailSheet.h"

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
