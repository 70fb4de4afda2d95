// The sums the list windows' status panes show, kept between two changes of the list: the panes are
// asked for them at every tick of the main frame, and a large list at rest must cost nothing.
#include "piclist/PicListBox.h"

#include "piclist/PicObject.h"

#include <vector>

namespace {

// Messages that only ask: they change neither the items, nor their records, nor the selection.
BOOL IsQuestion(UINT message)
{
    switch (message) {
    case LB_GETCOUNT:
    case LB_GETSELCOUNT:
    case LB_GETSELITEMS:
    case LB_GETSEL:
    case LB_GETITEMDATA:
    case LB_GETITEMRECT:
    case LB_GETITEMHEIGHT:
    case LB_GETTOPINDEX:
    case LB_GETCARETINDEX:
    case LB_GETANCHORINDEX:
    case LB_GETCURSEL:
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_ITEMFROMPOINT:
    case WM_IDLEUPDATECMDUI:
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

LRESULT CPicListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Whatever else reaches the window (an item added, a selection, a key, a repaint after a record
    // changed) may change the sums: counted while it is handled (its notices to the owner), they are
    // counted again after it.
    if (IsQuestion(message))
        return CListBox::WindowProc(message, wParam, lParam);
    m_nChangeStamp++;
    LRESULT result = CListBox::WindowProc(message, wParam, lParam);
    m_nChangeStamp++;
    return result;
}

const PicListTotals& CPicListBox::GetTotals()
{
    PicListTotals totals;
    if (!::IsWindow(m_hWnd)) {
        m_totals = totals;
        return m_totals;
    }
    if (m_nTotalsStamp == m_nChangeStamp)
        return m_totals;
    const int count = GetCount();
    for (int i = 0; i < count; i++) {
        CPicObject* pRecord = GetRecord(i);
        if (pRecord == nullptr)
            continue;
        totals.count++;
        totals.size += static_cast<DWORD>(pRecord->m_lFileSize);
        if (pRecord->m_nThumbState == 0)
            totals.missingThumbnails++;
    }
    int selected = GetSelCount();
    if (selected > 0) {
        std::vector<int> items(static_cast<size_t>(selected));
        selected = GetSelItems(selected, items.data());
        for (int k = 0; k < selected; k++) {
            if (CPicObject* pRecord = GetRecord(items[static_cast<size_t>(k)])) {
                totals.selectedCount++;
                totals.selectedSize += static_cast<DWORD>(pRecord->m_lFileSize);
            }
        }
    }
    m_totals = totals;
    m_nTotalsStamp = m_nChangeStamp;
    return m_totals;
}
