// The thumbnail builder's order and its idle time slice: the selected pictures first, then the ones
// on screen, then the rest in list order; as many in one idle step as a short slice allows.
#include "piclist/PicListBox.h"

#include "piclist/PicObject.h"

#include <algorithm>
#include <vector>

BOOL CPicListBox::NeedsThumbnail(CPicObject* pRecord, DWORD now) const
{
    if (pRecord->m_nThumbState != 0)
        return FALSE;
    auto it = m_retryAfter.find(pRecord);
    return it == m_retryAfter.end() || static_cast<LONG>(it->second - now) <= 0;
}

int CPicListBox::PickSelectedToBuild(DWORD now)
{
    int selected = GetSelCount();
    if (selected <= 0)
        return kNothingToBuild;
    std::vector<int> items(static_cast<size_t>(selected));
    selected = GetSelItems(selected, items.data());
    std::sort(items.begin(), items.begin() + std::max(selected, 0));
    for (int k = 0; k < selected; k++) {
        CPicObject* pRecord = GetRecord(items[static_cast<size_t>(k)]);
        if (pRecord == nullptr)
            return kNullRecordMet;
        if (NeedsThumbnail(pRecord, now))
            return items[static_cast<size_t>(k)];
    }
    return kNothingToBuild;
}

int CPicListBox::PickVisibleToBuild(DWORD now)
{
    CRect client;
    GetClientRect(&client);
    const int count = GetCount();
    // Items from the top one on fill the window (column by column in the wide views) until the
    // first one outside it.
    for (int i = std::max(GetTopIndex(), 0); i < count; i++) {
        CRect item;
        CRect shown;
        if (GetItemRect(i, &item) == LB_ERR || !shown.IntersectRect(&item, &client))
            break;
        CPicObject* pRecord = GetRecord(i);
        if (pRecord == nullptr)
            return kNullRecordMet;
        if (NeedsThumbnail(pRecord, now))
            return i;
    }
    return kNothingToBuild;
}

int CPicListBox::PickNextToBuild(DWORD now)
{
    const int count = GetCount();
    if (m_nBuildHint < 0 || m_nBuildHint > count)
        m_nBuildHint = 0;
    // From the hint to the end, then the items before it (added since, or back from a wait): a
    // large folder is not searched from its start for every picture.
    for (int pass = 0; pass < 2; pass++) {
        const int from = pass == 0 ? m_nBuildHint : 0;
        const int to = pass == 0 ? count : m_nBuildHint;
        for (int i = from; i < to; i++) {
            CPicObject* pRecord = GetRecord(i);
            if (pRecord == nullptr)
                return kNullRecordMet;
            if (NeedsThumbnail(pRecord, now)) {
                m_nBuildHint = i;
                return i;
            }
        }
    }
    return kNothingToBuild;
}

int CPicListBox::BuildThumbnailsForSlice()
{
    // Lists that build nothing by their settings answer at once.
    if (LIBLIST_TRASH_MODE || (!m_bPreviewSelected && !m_bBuildThumbnails))
        return BuildNextThumbnail();
    const DWORD start = ::GetTickCount();
    int result;
    do {
        result = BuildNextThumbnail();
    } while (result == 1 && ::IsWindow(m_hWnd) && ::GetTickCount() - start < m_nBuildSliceMs
             && !(m_bYieldToInput && HIWORD(::GetQueueStatus(QS_INPUT)) != 0));
    return result;
}
