// The bodies of the list commands the library bar, the explorer and the search window share: each
// window's handler calls them with its own list, its own command ids and its own stored settings.
#pragma once
#include <windows.h>

#include "framework/String.h"
#include "piclist/ListCellLayout.h"
#include "piclist/ListSortKeys.h"

#include <vector>

class CCmdUI;
class CListBox;
class CPalette;
class CPicListBox;
class CPicObject;
class CStringArray;
class CView;
class CWnd;

// The command ids of a window's sort and view choices (the explorer and search windows share one
// set, the library bar has its own).
struct ListChoiceIds {
    UINT sortByName, sortByType, sortByDate, sortBySize;
    UINT ascending, descending;
    UINT viewLarge, viewMedium, viewSmall, viewList;
};
extern const ListChoiceIds kExplorerChoiceIds;
extern const ListChoiceIds kLibraryChoiceIds;

// The sort key of a sort command; the name for any other id.
PicListSortKey SortKeyOfCommand(const ListChoiceIds& ids, UINT nID);
PicListSortOrder SortOrderOfCommand(const ListChoiceIds& ids, UINT nID);
BOOL IsSortOrderCommand(const ListChoiceIds& ids, UINT nID);
// The view of a view command, or -1 for any other id.
int ViewOfCommand(const ListChoiceIds& ids, UINT nID);

// Sorts the list by key (or in order) and stores the choice in *pSetting. FALSE, with nothing done,
// when the list already sorts that way.
BOOL ApplySortKey(CPicListBox& list, PicListSortKey key, int* pSetting);
BOOL ApplySortOrder(CPicListBox& list, PicListSortOrder order, int* pSetting);
// Checks a sort key, sort order or view command against the list's current choice.
void CheckSortChoice(CCmdUI* pCmdUI, const CPicListBox& list, const ListChoiceIds& ids);
void CheckViewChoice(CCmdUI* pCmdUI, const CPicListBox& list, const ListChoiceIds& ids);

// The palette message of a list window's view: the palette is realised in the view's client DC, in
// the background unless hAsking is the view itself; when entries changed every view of the
// document is redrawn.
LRESULT RealizeListViewPalette(CView* pView, CPalette* pPalette, WPARAM hAsking);

// The selected indexes in ascending order.
std::vector<int> SelectedListIndexes(const CListBox& list);
// The record of the first selected item; null when nothing is selected or it is a trash row.
CPicObject* FirstSelectedPicture(const CPicListBox& list);

// The open command: the first selected picture in a picture window; full screen, that window
// activates pReturnWnd when it leaves full screen.
void OpenFirstSelectedPicture(const CPicListBox& list, BOOL bFullScreen, CWnd* pReturnWnd);

// The slide-show command's selection: with fewer than two items selected every item is selected
// first. The selected indexes go to *pIndexes (a new[] array, the former one deleted) and *pCount,
// the pictures' paths to *pPaths. FALSE, with nothing changed, for a list of fewer than two items.
BOOL PrepareListSlideShow(CPicListBox& list, int** pIndexes, int* pCount, CStringArray* pPaths);

// The edit command on the first selected picture: the external editor, or the offer to define one.
void EditFirstSelectedPicture(HWND hOwner, const CPicListBox& list);
// The copy command: the first selected picture to the clipboard.
void CopyFirstSelectedPicture(HWND hOwner, const CPicListBox& list);

// How a window's copy or move reports: which path a failure names (when the failure is about that
// file; else the file that failed), and whether a picture carried onto itself beeps.
struct ListTransferStyle {
    BOOL bFailureNamesTarget;
    BOOL bBeepOnItself;
};

// Copies or moves the selected pictures into folder, last first, under the progress gauge: a
// picture already in that place is left alone, an existing file is replaced only when the user says
// so (the replace question's cancel stops the batch), and each failure says so. FALSE when nothing
// is selected.
BOOL TransferSelectedPictures(CPicListBox& list, const CString& folder, BOOL bCopy, ListTransferStyle style);
