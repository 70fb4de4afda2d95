// A thumbnail list read by the thumbnail sheet, at print time, item by item.
#include "piclist/PicListSheetSource.h"

#include "shell/Settings.h"
#include "core/DIB.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"

CPicListSheetSource::CPicListSheetSource(CPicListBox* pList, BOOL bCaptionIsName)
    : m_pList(pList), m_bCaptionIsName(bCaptionIsName)
{}

int CPicListSheetSource::GetItemCount()
{
    // The trash holds deletion records, not pictures: nothing of it prints.
    if (m_pList == nullptr || m_pList->m_hWnd == nullptr || m_pList->LIBLIST_TRASH_MODE)
        return 0;
    int count = m_pList->GetCount();
    return count > 0 ? count : 0;
}

BOOL CPicListSheetSource::GetSelectedItems(std::vector<int>* pIndexes)
{
    pIndexes->clear();
    if (GetItemCount() == 0)
        return TRUE;
    int selected = m_pList->GetSelCount();
    if (selected < 0)
        return FALSE;
    pIndexes->resize(static_cast<size_t>(selected));
    if (selected > 0) {
        int got = m_pList->GetSelItems(selected, pIndexes->data());
        if (got < 0)
            return FALSE;
        pIndexes->resize(static_cast<size_t>(got));
    }
    return TRUE;
}

BOOL CPicListSheetSource::GetItem(int index, BOOL bBuildThumbnail, SheetItem* pItem)
{
    if (index < 0 || index >= GetItemCount())
        return FALSE;
    CPicObject* pRecord = m_pList->GetRecord(index);
    if (pRecord == nullptr)
        return FALSE;
    if (bBuildThumbnail && !pRecord->HasThumbnail())
        pRecord->BuildThumbnail();
    pItem->hThumbnail = pRecord->m_pThumbDIB != nullptr ? pRecord->m_pThumbDIB->GetHandle() : nullptr;
    pItem->strPath = pRecord->m_strPath;
    pItem->strCaption = m_bCaptionIsName ? pRecord->m_strBaseName : pRecord->m_strFileName;
    pItem->nWidth = pRecord->m_nWidth;
    pItem->nHeight = pRecord->m_nHeight;
    pItem->nBitCount = pRecord->m_nBitCount;
    pItem->strInfo = pRecord->m_strInfo;
    return TRUE;
}

CListSheetPrint::~CListSheetPrint() { Free(); }

void CListSheetPrint::Free()
{
    delete m_pSheet;
    m_pSheet = nullptr;
    delete m_pSource;
    m_pSource = nullptr;
}

void CListSheetPrint::Begin(CPicListBox* pList, BOOL bCaptionIsName, LPCSTR lpszTitle)
{
    Free();
    m_pSource = new CPicListSheetSource(pList, bCaptionIsName);
    m_pSheet = new CThumbnailSheet(m_pSource, lpszTitle, g_ListPrintSelected, g_ListPrintSize);
}

void CListSheetPrint::PrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pSheet != nullptr && pInfo != nullptr)
        m_pSheet->ContinuePrinting(pDC, pInfo);
}

void CListSheetPrint::PrintPage(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pSheet != nullptr)
        m_pSheet->PrintPage(pDC, pInfo);
}
