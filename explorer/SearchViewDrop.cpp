// The search view in drags of pictures: its hits dropped on an explorer's folders are copied there.
#include "explorer/SearchView.h"

BOOL CSearchView::DropSelection(const PicDropDecision& drop)
{
    if (drop.target != kDropExplorerTree && drop.target != kDropExplorerList)
        return FALSE;
    // Hits lie in many folders of the library: they leave it only as copies.
    return CopyOrMoveSelection(drop.path, TRUE);
}
