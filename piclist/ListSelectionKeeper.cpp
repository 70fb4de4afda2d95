#include "piclist/ListSelectionKeeper.h"

#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"

#include <unordered_map>

CListSelectionKeeper::CListSelectionKeeper(CPicListBox& list) : m_list(list)
{
    HWND hList = m_list.m_hWnd;
    if (hList == nullptr)
        return;
    const int count = m_list.GetCount();
    for (int i = 0; i < count; i++)
        if (m_list.GetSel(i) > 0)
            m_selected.push_back(KeyAt(i));
    m_caret = KeyAt(m_list.GetCaretIndex());
    m_anchor = KeyAt(static_cast<int>(::SendMessageA(hList, LB_GETANCHORINDEX, 0, 0)));
    m_top = KeyAt(m_list.GetTopIndex());
}

CListSelectionKeeper::~CListSelectionKeeper() { Restore(); }

std::string CListSelectionKeeper::KeyAt(int index) const
{
    CPicObject* pRecord = index >= 0 ? m_list.GetRecord(index) : nullptr;
    if (pRecord == nullptr)
        return std::string();
    CString folded = pRecord->m_strPath;
    folded.MakeUpper();
    return std::string(folded);
}

void CListSelectionKeeper::Restore()
{
    if (!m_bPending)
        return;
    m_bPending = FALSE;
    HWND hList = m_list.m_hWnd;
    if (!::IsWindow(hList))
        return;
    std::unordered_map<std::string, int> indexOf;
    const int count = m_list.GetCount();
    for (int i = 0; i < count; i++)
        indexOf.emplace(KeyAt(i), i);
    auto find = [&](const std::string& key) {
        auto it = key.empty() ? indexOf.end() : indexOf.find(key);
        return it != indexOf.end() ? it->second : -1;
    };
    m_list.SetRedraw(FALSE);
    m_list.SetSel(-1, FALSE);
    for (const std::string& key : m_selected)
        if (find(key) >= 0)
            m_list.SetSel(find(key), TRUE);
    // Selecting moves the list's own anchor and caret: they are put back after it.
    if (find(m_anchor) >= 0)
        ::SendMessageA(hList, LB_SETANCHORINDEX, static_cast<WPARAM>(find(m_anchor)), 0);
    if (find(m_caret) >= 0)
        m_list.SetCaretIndex(find(m_caret), FALSE);
    if (find(m_top) >= 0)
        m_list.SetTopIndex(find(m_top));
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
}
