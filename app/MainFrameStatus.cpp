// The status bar's four layouts (by the kind of the active view) and the progress gauge drawn over its
// first pane.
#include "app/MainFrame.h"

#include "app/TessarineApp.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdio>

CString g_strGaugeText;
CString g_strGaugeSavedText;
int g_nGaugeCells = 0;
int g_nGaugePercent = 0;
int g_nGaugeTextWidth = 90;

namespace {

CString g_strSavedStatusText0;

// The texts last asked of panes 1 and up, and what the pane shows of them (cut when too long).
struct PaneText {
    CString asked;
    CString shown;
};
const int kPanesRemembered = 8;
PaneText g_paneTexts[kPanesRemembered];

// One pane change of a layout: index, id, width, owner-drawn.
struct PaneChange {
    int nIndex;
    int cxWidth;
    BOOL bOwnerDraw;
};

struct StatusLayout {
    const UINT* pIndicators;
    int nIndicators;
    const PaneChange* pChanges;
    int nChanges;
};

const UINT kIndicators0[] = {ID_SEPARATOR, ID_INDICATOR_NUM, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
const UINT kIndicators1[] = {ID_SEPARATOR, ID_INDICATOR_NUM, ID_INDICATOR_NUM, ID_INDICATOR_NUM};
const UINT kIndicators23[] = {ID_SEPARATOR,     ID_INDICATOR_NUM,  ID_INDICATOR_NUM,
                              ID_INDICATOR_NUM, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
const PaneChange kChanges0[] = {{1, 123, FALSE}};
const PaneChange kChanges1[] = {{1, 160, FALSE}, {2, 180, FALSE}, {3, 12, TRUE}};
const PaneChange kChanges2[] = {{1, 220, FALSE}, {5, 12, TRUE}};
const PaneChange kChanges3[] = {{1, 160, FALSE}, {2, 50, TRUE}, {3, 50, TRUE}, {4, 40, TRUE}, {5, 12, TRUE}};

const StatusLayout kLayouts[] = {
    {kIndicators0, 4, kChanges0, 1},
    {kIndicators1, 4, kChanges1, 3},
    {kIndicators23, 6, kChanges2, 2},
    {kIndicators23, 6, kChanges3, 5},
};

// The gauge bitmap's columns: left edge, filled cell, empty cell, right edge.
const int kGaugeHeight = 14;
const int kGaugeFilledX = 1;
const int kGaugeEmptyX = 5;
const int kGaugeRightX = 9;

} // namespace

int GaugeCellCount(int paneWidth, BOOL withText)
{
    int nWidth = paneWidth - 30 - (withText ? g_nGaugeTextWidth + 10 : 0);
    if (nWidth < 0)
        nWidth = 0;
    return std::min(nWidth / 4, 100);
}

void GaugeStep(DWORD done, DWORD total, int cells, int* filled, int* percent)
{
    ULONGLONG nDone = std::min(done, total);
    ULONGLONG nCells = cells > 0 ? static_cast<ULONGLONG>(cells) : 0;
    *filled = static_cast<int>(total > 0 ? nDone * nCells / total : 0);
    *percent = static_cast<int>(total > 0 ? nDone * 100 / total : 0);
}

// ---- layouts ----

void CMainFrame::SetStatusMode(int nMode)
{
    if (nMode < kStatusNoView || nMode > kStatusAnimation || nMode == m_nStatusMode)
        return;
    if (::IsWindow(m_wndStatusBar.m_hWnd)) {
        const StatusLayout& layout = kLayouts[nMode];
        m_wndStatusBar.SetIndicators(layout.pIndicators, layout.nIndicators);
        for (int i = 0; i < layout.nChanges; i++) {
            const PaneChange& change = layout.pChanges[i];
            m_wndStatusBar.SetPaneInfo(change.nIndex, ID_INDICATOR_INFO, SBPS_NORMAL, change.cxWidth);
            if (change.bOwnerDraw)
                m_wndStatusBar.SetPaneOwnerDraw(change.nIndex);
            m_wndStatusBar.SetPaneText(change.nIndex, "", FALSE);
        }
        m_wndStatusBar.Invalidate();
    }
    m_nStatusMode = nMode;
}

namespace {

// The width the bar's font gives text; *pnFit (when given) receives how many of its first characters
// fit within cxMax.
int TextWidthOnBar(CStatusBar& bar, const CString& text, int cxMax = 0, int* pnFit = nullptr)
{
    CClientDC dc(&bar);
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT));
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(dc.m_hDC, hFont) : nullptr;
    SIZE extent = {0, 0};
    int nFit = 0;
    ::GetTextExtentExPointA(dc.m_hDC, text, text.GetLength(), std::max(cxMax, 0), &nFit, nullptr, &extent);
    if (hOld != nullptr)
        ::SelectObject(dc.m_hDC, hOld);
    if (pnFit != nullptr)
        *pnFit = nFit;
    return extent.cx;
}

// The layouts' widths suit one rendering of the bar's font: a text drawn wider widens its pane (until
// the next layout) rather than losing its end, up to half the bar; beyond that it ends in "...".
// Returns the text to show. Icon panes keep the layout's width.
CString FitPaneToText(CStatusBarEx& bar, int nPane, const CString& strText)
{
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    bar.GetPaneInfo(nPane, nID, nStyle, cxWidth);
    if (nStyle & SBT_OWNERDRAW)
        return strText;
    CRect client;
    bar.GetClientRect(&client);
    const int cxMost = std::max(cxWidth, client.Width() / 2);
    CString strShown = strText;
    int nFit = 0;
    int cxNeeded = TextWidthOnBar(bar, strText, cxMost - TextWidthOnBar(bar, "..."), &nFit);
    if (cxNeeded > cxMost) {
        strShown = strText.Left(nFit) + "...";
        cxNeeded = TextWidthOnBar(bar, strShown);
    }
    if (cxNeeded > cxWidth)
        bar.SetPaneInfo(nPane, nID, nStyle, std::min(cxNeeded, cxMost));
    return strShown;
}

} // namespace

void CMainFrame::SetStatusText1(LPCSTR lpszText) { SetStatusPaneText(1, lpszText); }

void CMainFrame::SetStatusPaneText(int nPane, LPCSTR lpszText)
{
    CString strText(lpszText != nullptr ? lpszText : "");
    if (!::IsWindow(m_wndStatusBar.m_hWnd) || nPane < 0 || nPane >= m_wndStatusBar.GetCount())
        return;
    // Pane 0 takes the width the others leave.
    if (nPane == 0 || nPane >= kPanesRemembered) {
        if (m_wndStatusBar.GetPaneText(nPane) != strText)
            m_wndStatusBar.SetPaneText(nPane, strText, TRUE);
        return;
    }
    // A text asked again repaints nothing, even when the pane shows it cut.
    PaneText& pane = g_paneTexts[nPane];
    const CString strNow = m_wndStatusBar.GetPaneText(nPane);
    if (strNow == strText || (pane.asked == strText && pane.shown == strNow))
        return;
    pane.asked = strText;
    pane.shown = FitPaneToText(m_wndStatusBar, nPane, strText);
    m_wndStatusBar.SetPaneText(nPane, pane.shown, TRUE);
}

void CMainFrame::SetStatusText0(LPCSTR lpszText)
{
    if (!::IsWindow(m_wndStatusBar.m_hWnd))
        return;
    m_wndStatusBar.SetPaneText(0, lpszText != nullptr ? lpszText : "", TRUE);
    m_wndStatusBar.UpdateWindow();
}

void CMainFrame::SetStatusText0ById(UINT nID) { SetStatusText0(AfxLoadText(nID)); }

void CMainFrame::SaveStatusText0()
{
    if (::IsWindow(m_wndStatusBar.m_hWnd))
        g_strSavedStatusText0 = m_wndStatusBar.GetPaneText(0);
}

void CMainFrame::RestoreStatusText0() { SetStatusText0(g_strSavedStatusText0); }

void CMainFrame::SetProgressEnabled(BOOL bEnabled)
{
    if (ShouldReportProgress())
        m_bGaugeEnabled = bEnabled && ::IsWindow(m_wndStatusBar.m_hWnd);
}

// ---- the gauge ----

namespace {

// How often a long operation lets the windows repaint.
const DWORD kBusyRepaintMs = 100;
DWORD g_dwLastBusyRepaint = 0;

// A long operation runs on this thread and pumps no messages: the windows that need it (under a
// dialog just closed, under another program's window) are repainted now and then, so that the
// program does not look frozen. Only paint messages are handled: no input, no command, no timer.
void RepaintWhileBusy(BOOL bNow)
{
    DWORD now = ::GetTickCount();
    if (!bNow && now - g_dwLastBusyRepaint < kBusyRepaintMs)
        return;
    g_dwLastBusyRepaint = now;
    MSG msg;
    // A window that does not validate its area would come back for ever.
    for (int i = 0; i < 64 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); i++)
        ::DispatchMessageW(&msg);
}

} // namespace

void CMainFrame::BeginProgress(LPCSTR lpszText)
{
    if (!m_bGaugeEnabled || !::IsWindow(m_wndStatusBar.m_hWnd))
        return;
    g_strGaugeText =
        lpszText != nullptr && lpszText[0] != '\0' ? CString(lpszText) : AfxLoadText(IDS_PLEASE_WAIT);
    // A begin inside a running gauge keeps the text the first one saved.
    if (!m_bGaugeActive)
        g_strGaugeSavedText = m_wndStatusBar.GetPaneText(0);
    m_wndStatusBar.SetPaneText(0, g_strGaugeText, TRUE);
    // The gauge starts after its text ("Transfert en cours..." is wider than the usual room).
    g_nGaugeTextWidth = std::max(90, TextWidthOnBar(m_wndStatusBar, g_strGaugeText) + 8);

    CRect rectPane;
    m_wndStatusBar.GetItemRect(0, &rectPane);
    g_nGaugeCells = GaugeCellCount(rectPane.Width(), !g_strGaugeText.IsEmpty());
    g_nGaugePercent = 0;
    m_nGaugePos = 0;
    m_nGaugeDrawnPos = -1;
    m_bGaugeActive = TRUE;
    RepaintWhileBusy(TRUE);
    m_wndStatusBar.UpdateWindow();
    DrawGauge(TRUE);
}

void CMainFrame::SetProgress(DWORD done, DWORD total)
{
    if (!m_bGaugeEnabled || !m_bGaugeActive || total == 0)
        return;
    int nCells = 0;
    GaugeStep(done, total, g_nGaugeCells, &nCells, &g_nGaugePercent);
    if (nCells != m_nGaugeDrawnPos) {
        m_nGaugePos = nCells;
        DrawGauge(FALSE);
    }
    RepaintWhileBusy(FALSE);
}

void CMainFrame::EndProgress()
{
    if (!m_bGaugeEnabled)
        return;
    m_bGaugeActive = FALSE;
    m_nGaugePos = 0;
    g_nGaugeTextWidth = 90;
    if (::IsWindow(m_wndStatusBar.m_hWnd))
        m_wndStatusBar.SetPaneText(0, g_strGaugeSavedText, TRUE);
    g_strGaugeText.Empty();
}

void CMainFrame::RedrawGauge()
{
    if (m_bGaugeActive)
        DrawGauge(TRUE);
}

void DrawGaugeCells(CDC* pDC, CBitmap* pGauge, const CRect& rectPane, BOOL withText, int cells, int pos,
                    int drawnPos, int percent)
{
    int x0 = rectPane.left + (withText ? g_nGaugeTextWidth : 0);
    int y = rectPane.top + 1;
    CDC dcGauge;
    if (pGauge == nullptr || pGauge->m_hObject == nullptr || !dcGauge.CreateCompatibleDC(pDC))
        return;
    int nSaved = pDC->SaveDC();
    CBitmap* pOld = dcGauge.SelectObject(pGauge);
    if (drawnPos < 0) {
        // The frame and every cell, filled up to the position.
        pDC->BitBlt(x0 + 4, y, 1, kGaugeHeight, &dcGauge, 0, 0, SRCCOPY);
        for (int i = 0; i < cells; i++)
            pDC->BitBlt(x0 + 5 + 4 * i, y, 4, kGaugeHeight, &dcGauge, i < pos ? kGaugeFilledX : kGaugeEmptyX,
                        0, SRCCOPY);
        pDC->BitBlt(x0 + 5 + 4 * cells, y, 2, kGaugeHeight, &dcGauge, kGaugeRightX, 0, SRCCOPY);
    } else {
        // Only the cells between the position drawn last and the new one.
        for (int i = std::min(drawnPos, pos); i < std::max(drawnPos, pos); i++)
            pDC->BitBlt(x0 + 5 + 4 * i, y, 4, kGaugeHeight, &dcGauge, i < pos ? kGaugeFilledX : kGaugeEmptyX,
                        0, SRCCOPY);
    }
    dcGauge.SelectObject(pOld);

    char szPercent[32];
    std::snprintf(szPercent, sizeof(szPercent), "%d%%       ", percent);
    if (g_fontSmall.m_hObject != nullptr)
        pDC->SelectObject(&g_fontSmall);
    pDC->SetBkColor(RGB(192, 192, 192));
    pDC->SetBkMode(OPAQUE);
    CRect rectText(x0 + 10 + 4 * cells, rectPane.top + 1, rectPane.right, rectPane.bottom);
    pDC->DrawText(szPercent, lstrlenA(szPercent), &rectText, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    pDC->RestoreDC(nSaved);
}

void CMainFrame::DrawGauge(BOOL bWhole)
{
    if (!m_bGaugeEnabled || !m_bGaugeActive || !::IsWindow(m_wndStatusBar.m_hWnd))
        return;
    CRect rectPane;
    m_wndStatusBar.GetItemRect(0, &rectPane);
    CClientDC dc(&m_wndStatusBar);
    DrawGaugeCells(&dc, &m_bmpGauge, rectPane, !g_strGaugeText.IsEmpty(), g_nGaugeCells, m_nGaugePos,
                   bWhole ? -1 : m_nGaugeDrawnPos, g_nGaugePercent);
    m_nGaugeDrawnPos = m_nGaugePos;
    // The gauge moves while the thread is busy reading and pumps no messages: the drawing is sent
    // to the screen now (Wine otherwise shows it late, or half drawn).
    ::GdiFlush();
}
