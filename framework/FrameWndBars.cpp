// The frame's control bars: dock bars on its sides, docking, floating, showing and finding bars, the
// View menu's bar toggles, and the bar state saved in the profile.
#include "framework/CmdUI.h"
#include "framework/DockBar.h"
#include "framework/WinApp.h"

#include <algorithm>
#include <climits>

namespace {

struct DockSide {
    UINT nID;
    DWORD dwStyle;
};

// Top and bottom first: they take the frame's whole width, left and right what is left between them.
const DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
};

CMiniDockFrameWnd* FloatingFrameOf(const CControlBar* pBar)
{
    if (pBar->m_pDockBar == nullptr || !pBar->m_pDockBar->m_bFloating)
        return nullptr;
    CWnd* pParent = pBar->m_pDockBar->GetParent();
    return pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))
               ? static_cast<CMiniDockFrameWnd*>(pParent)
               : nullptr;
}

// A bar of the frame itself (not one inside another bar): a child of the frame, docked on one of its
// sides, or floating in one of its floating frames.
BOOL IsFrameBar(CFrameWnd* pFrame, const CControlBar* pBar)
{
    if (pBar->m_hWnd == nullptr || pBar->IsDockBar())
        return FALSE;
    if (CMiniDockFrameWnd* pMiniFrame = FloatingFrameOf(pBar))
        return pMiniFrame->m_pDockSite == pFrame;
    if (pBar->m_pDockBar != nullptr)
        return ::GetParent(pBar->m_pDockBar->m_hWnd) == pFrame->m_hWnd;
    return ::GetParent(pBar->m_hWnd) == pFrame->m_hWnd;
}

std::vector<CControlBar*> FrameBars(CFrameWnd* pFrame)
{
    std::vector<CControlBar*> bars;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        CControlBar* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (IsFrameBar(pFrame, pBar))
            bars.push_back(pBar);
    }
    return bars;
}

// A value of the saved state, or nDefault when it is missing or outside [nMin, nMax].
int ReadInt(CWinApp* pApp, LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault, int nMin, int nMax)
{
    const int kMissing = INT_MIN;
    int nValue = static_cast<int>(pApp->GetProfileInt(lpszSection, lpszEntry, kMissing));
    return nValue == kMissing || nValue < nMin || nValue > nMax ? nDefault : nValue;
}

// A dock-bar id of the saved state, or 0 when the value names no side.
UINT ReadDockBarID(CWinApp* pApp, LPCSTR lpszSection, LPCSTR lpszEntry)
{
    int nID = ReadInt(pApp, lpszSection, lpszEntry, 0, 0, 0xFFFF);
    for (const DockSide& side : kDockSides) {
        if (static_cast<UINT>(nID) == side.nID)
            return side.nID;
    }
    return 0;
}

CString BarSection(LPCSTR lpszProfileName, int nIndex)
{
    CString strSection;
    strSection.Format("%s-Bar%d", lpszProfileName, nIndex);
    return strSection;
}

CString SummarySection(LPCSTR lpszProfileName) { return CString(lpszProfileName) + "-Summary"; }

struct FloatingSearch {
    HWND hWndOwner;
    std::vector<CMiniDockFrameWnd*> frames;
};

BOOL CALLBACK FindFloatingFrame(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<FloatingSearch*>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) != pSearch->hWndOwner)
        return TRUE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pSearch->frames.push_back(static_cast<CMiniDockFrameWnd*>(pWnd));
    return TRUE;
}

const int kMaxSavedBars = 256;
const int kMaxRows = 64;

} // namespace

// ---- dock bars ----

CDockBar* AfxGetDockBar(CFrameWnd* pFrame, UINT nID)
{
    if (pFrame == nullptr || pFrame->m_hWnd == nullptr)
        return nullptr;
    CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, static_cast<int>(nID)));
    return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CDockBar)) ? static_cast<CDockBar*>(pWnd)
                                                                      : nullptr;
}

void AfxEnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle)
{
    for (const DockSide& side : kDockSides) {
        if (!(dwDockStyle & side.dwStyle) || AfxGetDockBar(pFrame, side.nID) != nullptr)
            continue;
        // A dock bar that fails to be made has deleted itself.
        CDockBar* pDockBar = new CDockBar(FALSE);
        pDockBar->Create(pFrame, WS_CHILD | WS_VISIBLE | side.dwStyle, side.nID);
    }
}

std::vector<CMiniDockFrameWnd*> AfxGetFloatingFrames(CFrameWnd* pFrame)
{
    FloatingSearch search = {AfxSafeHwnd(pFrame), {}};
    if (search.hWndOwner != nullptr)
        ::EnumThreadWindows(::GetWindowThreadProcessId(search.hWndOwner, nullptr), FindFloatingFrame,
                            reinterpret_cast<LPARAM>(&search));
    return search.frames;
}

// ---- docking and floating ----

void AfxDockControlBar(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    if (pFrame == nullptr || pBar == nullptr)
        return;
    CDockBar* pDockBar = nDockBarID != 0 ? AfxGetDockBar(pFrame, nDockBarID) : nullptr;
    if (pDockBar == nullptr) {
        // The side the bar is aligned to.
        for (const DockSide& side : kDockSides) {
            if (side.dwStyle & pBar->m_dwStyle & CBRS_ALIGN_ANY) {
                pDockBar = AfxGetDockBar(pFrame, side.nID);
                break;
            }
        }
    }
    AfxDockControlBar(pFrame, pBar, pDockBar, lpRect);
}

void AfxDockControlBar(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (pFrame == nullptr || pBar == nullptr || pBar->m_hWnd == nullptr || pDockBar == nullptr)
        return;
    if (pBar->m_pDockContext != nullptr)
        pBar->m_pDockContext->SaveMRUPosition();
    pBar->m_pDockSite = pFrame;
    pDockBar->DockControlBar(pBar, lpRect);
    pFrame->RecalcLayout();
}

void AfxFloatControlBar(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (pFrame == nullptr || pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    if (pBar->m_pDockContext != nullptr)
        pBar->m_pDockContext->SaveMRUPosition();
    // A bar floating alone keeps its frame; otherwise it gets one of its own.
    CMiniDockFrameWnd* pMiniFrame = FloatingFrameOf(pBar);
    if (pMiniFrame == nullptr || pMiniFrame->m_pDockBar->GetDockedCount() != 1) {
        pMiniFrame = new CMiniDockFrameWnd;
        // A frame that fails to be made has deleted itself.
        if (!pMiniFrame->Create(pFrame, (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) != 0))
            return;
    }
    pBar->m_pDockSite = pFrame;
    pBar->SetBarStyle((pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | CBRS_FLOATING | (dwStyle & CBRS_ALIGN_ANY));
    if (pBar->m_pDockBar != pMiniFrame->m_pDockBar)
        pMiniFrame->m_pDockBar->DockControlBar(pBar);

    CString strTitle;
    pBar->GetWindowText(strTitle);
    pMiniFrame->SetWindowText(strTitle);
    pMiniFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pMiniFrame->RecalcLayout();
    if (pBar->GetStyle() & WS_VISIBLE)
        pMiniFrame->ShowWindow(SW_SHOWNA);
    // The bar may have held an edge of the frame, docked or not.
    pFrame->RecalcLayout();
}

void AfxShowControlBar(CFrameWnd* pFrame, CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (pFrame == nullptr || pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    if (CMiniDockFrameWnd* pMiniFrame = FloatingFrameOf(pBar)) {
        pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
        pMiniFrame->RecalcLayout();
        if (bShow)
            pMiniFrame->ShowWindow(SW_SHOWNA);
        return;
    }
    pBar->DelayShow(bShow);
    if (bDelay)
        pFrame->DelayRecalcLayout();
    else
        pFrame->RecalcLayout();
}

CControlBar* AfxGetControlBar(CFrameWnd* pFrame, UINT nID)
{
    if (pFrame == nullptr)
        return nullptr;
    // The frame's own bars first: a bar inside another may use a standard id too.
    for (CControlBar* pBar : FrameBars(pFrame)) {
        if (static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        CControlBar* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    return nullptr;
}

// ---- the View menu ----

BOOL AfxOnBarCheck(CFrameWnd* pFrame, UINT nID)
{
    CControlBar* pBar = AfxGetControlBar(pFrame, nID);
    if (pBar == nullptr)
        return FALSE;
    AfxShowControlBar(pFrame, pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void AfxOnUpdateControlBarMenu(CFrameWnd* pFrame, CCmdUI* pCmdUI)
{
    CControlBar* pBar = AfxGetControlBar(pFrame, pCmdUI->m_nID);
    if (pBar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
}

// ---- the saved state ----

void AfxSaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pFrame == nullptr || lpszProfileName == nullptr)
        return;
    CString strSummary = SummarySection(lpszProfileName);
    int nOld = ReadInt(pApp, strSummary, "Bars", 0, 0, kMaxSavedBars);

    std::vector<UINT> saved;
    int nBars = 0;
    for (CControlBar* pBar : FrameBars(pFrame)) {
        UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
        if (nID == 0 || std::find(saved.begin(), saved.end(), nID) != saved.end() || nBars >= kMaxSavedBars)
            continue;
        saved.push_back(nID);
        CString strSection = BarSection(lpszProfileName, nBars++);
        pApp->WriteProfileString(strSection, nullptr, nullptr); // no value of an earlier layout stays
        pApp->WriteProfileInt(strSection, "BarID", static_cast<int>(nID));
        pApp->WriteProfileInt(strSection, "Visible", pBar->IsVisible() ? 1 : 0);
        CMiniDockFrameWnd* pMiniFrame = FloatingFrameOf(pBar);
        pApp->WriteProfileInt(strSection, "Floating", pMiniFrame != nullptr ? 1 : 0);
        if (pMiniFrame != nullptr) {
            CRect rect;
            pMiniFrame->GetWindowRect(rect);
            pApp->WriteProfileInt(strSection, "XPos", rect.left);
            pApp->WriteProfileInt(strSection, "YPos", rect.top);
            pApp->WriteProfileInt(strSection, "Horz", (pBar->m_dwStyle & CBRS_ORIENT_VERT) ? 0 : 1);
            pApp->WriteProfileInt(strSection, "MRUWidth", pBar->m_nMRUWidth);
        } else if (pBar->m_pDockBar != nullptr) {
            int nRow = 0;
            int nOffset = 0;
            pBar->m_pDockBar->FindControlBar(pBar, &nRow, &nOffset);
            pApp->WriteProfileInt(strSection, "DockID", pBar->m_pDockBar->GetDlgCtrlID());
            pApp->WriteProfileInt(strSection, "Row", nRow);
            pApp->WriteProfileInt(strSection, "Offset", nOffset);
        }
        if (CDockContext* pContext = pBar->m_pDockContext) {
            pApp->WriteProfileInt(strSection, "MRUDockID", static_cast<int>(pContext->m_uMRUDockID));
            pApp->WriteProfileInt(strSection, "MRURow", pContext->m_nMRURow);
            pApp->WriteProfileInt(strSection, "MRUOffset", pContext->m_nMRUOffset);
        }
    }
    for (int i = nBars; i < nOld; i++)
        pApp->WriteProfileString(BarSection(lpszProfileName, i), nullptr, nullptr);
    pApp->WriteProfileInt(strSummary, "Bars", nBars);
}

void AfxLoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pFrame == nullptr || lpszProfileName == nullptr)
        return;
    int nBars = ReadInt(pApp, SummarySection(lpszProfileName), "Bars", 0, 0, kMaxSavedBars);

    struct Entry {
        CControlBar* pBar;
        CString strSection;
        CDockBar* pDockBar; // docked here, or null
        int nRow;
        int nOffset;
        BOOL bFloating;
        BOOL bVisible;
        UINT nMRUDockID; // where a double click docks it, 0 when not saved
        int nMRURow;
        int nMRUOffset;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < nBars; i++) {
        CString strSection = BarSection(lpszProfileName, i);
        int nID = ReadInt(pApp, strSection, "BarID", 0, 1, 0xFFFF);
        CControlBar* pBar = nID != 0 ? AfxGetControlBar(pFrame, static_cast<UINT>(nID)) : nullptr;
        // A bar the frame no longer has, or one already placed by an earlier entry, is left out.
        if (pBar == nullptr || !IsFrameBar(pFrame, pBar)
            || std::any_of(entries.begin(), entries.end(), [pBar](const Entry& e) { return e.pBar == pBar; }))
            continue;
        Entry entry = {pBar, strSection, nullptr, 0, 0, FALSE, pBar->IsVisible(), 0, 0, 0};
        entry.bVisible = ReadInt(pApp, strSection, "Visible", entry.bVisible ? 1 : 0, 0, 1);
        if (pBar->m_pDockContext != nullptr) {
            entry.bFloating = ReadInt(pApp, strSection, "Floating", 0, 0, 1);
            UINT nDockID = ReadDockBarID(pApp, strSection, "DockID");
            entry.pDockBar = nDockID != 0 ? AfxGetDockBar(pFrame, nDockID) : nullptr;
            entry.nRow = ReadInt(pApp, strSection, "Row", 0, 0, kMaxRows);
            entry.nOffset = ReadInt(pApp, strSection, "Offset", 0, 0, 32767);
            entry.nMRUDockID = ReadDockBarID(pApp, strSection, "MRUDockID");
            entry.nMRURow = ReadInt(pApp, strSection, "MRURow", 0, 0, kMaxRows);
            entry.nMRUOffset = ReadInt(pApp, strSection, "MRUOffset", 0, 0, 32767);
        }
        entries.push_back(entry);
    }

    // Docked bars leave their dock bars first, then come back side by side, row by row, so that the
    // rows are rebuilt in their saved order.
    std::vector<Entry*> docked;
    for (Entry& entry : entries) {
        if (!entry.bFloating && entry.pDockBar != nullptr) {
            docked.push_back(&entry);
            if (entry.pBar->m_pDockBar != nullptr && !entry.pBar->m_pDockBar->m_bFloating)
                entry.pBar->m_pDockBar->RemoveControlBar(entry.pBar);
        }
    }
    std::stable_sort(docked.begin(), docked.end(), [](const Entry* a, const Entry* b) {
        if (a->pDockBar != b->pDockBar)
            return a->pDockBar->GetDlgCtrlID() < b->pDockBar->GetDlgCtrlID();
        return a->nRow != b->nRow ? a->nRow < b->nRow : a->nOffset < b->nOffset;
    });
    CDockBar* pLastDockBar = nullptr;
    int nLastSavedRow = -1;
    int nRow = -1;
    for (Entry* pEntry : docked) {
        if (pEntry->pDockBar != pLastDockBar) {
            pLastDockBar = pEntry->pDockBar;
            nLastSavedRow = -1;
            nRow = -1;
        }
        BOOL bNewRow = pEntry->nRow != nLastSavedRow;
        if (bNewRow) {
            nRow++;
            nLastSavedRow = pEntry->nRow;
        }
        pEntry->pDockBar->DockControlBarAt(pEntry->pBar, nRow, pEntry->nOffset, bNewRow);
    }

    // Floating bars, where their frames were, kept on the screen.
    CRect rectScreen(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    for (Entry& entry : entries) {
        if (!entry.bFloating)
            continue;
        CPoint point(ReadInt(pApp, entry.strSection, "XPos", rectScreen.left, -32768, 32767),
                     ReadInt(pApp, entry.strSection, "YPos", rectScreen.top, -32768, 32767));
        point.x = std::max(rectScreen.left, std::min(point.x, rectScreen.right - 40));
        point.y = std::max(rectScreen.top, std::min(point.y, rectScreen.bottom - 20));
        BOOL bHorz = ReadInt(pApp, entry.strSection, "Horz", 1, 0, 1);
        entry.pBar->m_nMRUWidth =
            ReadInt(pApp, entry.strSection, "MRUWidth", entry.pBar->m_nMRUWidth, 0, 32767);
        AfxFloatControlBar(pFrame, entry.pBar, point, bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    }

    for (Entry& entry : entries) {
        // Last: docking and floating above remember the places they left.
        if (entry.nMRUDockID != 0 && entry.pBar->m_pDockContext != nullptr) {
            entry.pBar->m_pDockContext->m_uMRUDockID = entry.nMRUDockID;
            entry.pBar->m_pDockContext->m_nMRURow = entry.nMRURow;
            entry.pBar->m_pDockContext->m_nMRUOffset = entry.nMRUOffset;
        }
        if (FloatingFrameOf(entry.pBar) != nullptr)
            AfxShowControlBar(pFrame, entry.pBar, entry.bVisible, FALSE);
        else
            entry.pBar->DelayShow(entry.bVisible);
    }
    pFrame->RecalcLayout();
}
