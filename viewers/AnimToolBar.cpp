// The animation bar's slider and speed list.
#include "viewers/AnimToolBar.h"

#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "shell/SharedUi.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"

#include <vector>

const int g_animSpeeds[13] = {1, 2, 3, 4, 5, 7, 10, 15, 20, 25, 30, 40, 50};

IMPLEMENT_DYNAMIC(CAnimToolBar, CLocalToolBar)

BEGIN_MESSAGE_MAP(CAnimToolBar, CLocalToolBar)
    ON_WM_HSCROLL()
    ON_CBN_SELCHANGE(ID_ANIM_SPEED, OnSpeedSelChange)
END_MESSAGE_MAP()

namespace {

// Where the controls stand in the places kept for them, from the place's top-left corner.
const int kSliderWidth = 120;
const int kListGap = 6;
const int kListWidth = 60;
const int kListDropHeight = 172;
const int kDigitsInset = 4;
const int kPositionWidth = 100;
const int kDigitsGap = 3;
const int kTotalWidth = 93;
const int kControlHeight = 23;

// The button indexes of the two places.
const int kSliderPlace = 15;
const int kDigitsPlace = 17;

void MoveControl(CWnd& wnd, int x, int y, int cx, int cy)
{
    if (wnd.m_hWnd == nullptr)
        return;
    CRect rect;
    wnd.GetWindowRect(&rect);
    wnd.GetParent()->ScreenToClient(&rect);
    if (rect != CRect(x, y, x + cx, y + cy))
        wnd.SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

BOOL CAnimToolBar::CreateControls()
{
    // The room the separator at 15 keeps (210 pixels) holds the slider, then the list.
    CRect rectRoom;
    GetItemRect(kSliderPlace, &rectRoom);
    CRect rectSlider(rectRoom.left, rectRoom.top + 1, rectRoom.left + kSliderWidth,
                     rectRoom.top + 1 + kControlHeight);
    if (!m_wndSlider.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_BOTH | TBS_NOTICKS, rectSlider, this,
                            ID_ANIM_SLIDER))
        return FALSE;
    CRect rectList(rectSlider.right + kListGap, rectRoom.top + 2, rectSlider.right + kListGap + kListWidth,
                   rectRoom.top + 2 + kListDropHeight);
    if (!m_wndSpeed.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, rectList, this,
                           ID_ANIM_SPEED))
        return FALSE;
    // The last button's room (after the time-display button) holds the two displays.
    SetButtonInfo(kDigitsPlace, ID_ANIM_PLACEHOLDER, TBBS_SEPARATOR, 206);
    CRect rectDigits;
    GetItemRect(kDigitsPlace, &rectDigits);
    CRect rectPosition(rectDigits.left + kDigitsInset, rectDigits.top + 1,
                       rectDigits.left + kDigitsInset + kPositionWidth, rectDigits.top + 1 + kControlHeight);
    CRect rectTotal(rectPosition.right + kDigitsGap, rectPosition.top,
                    rectPosition.right + kDigitsGap + kTotalWidth, rectPosition.bottom);
    if (!m_wndPosition.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rectPosition, this, ID_ANIM_POSITION)
        || !m_wndTotal.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rectTotal, this, ID_ANIM_TOTAL))
        return FALSE;
    CString strFormat = AfxLoadText(IDS_ANIM_SPEED);
    for (int nSpeed : g_animSpeeds) {
        CString strItem;
        strItem.Format(strFormat, nSpeed);
        m_wndSpeed.AddString(strItem);
    }
    m_wndSpeed.SetCurSel(g_VitesseAnimation >= 0 && g_VitesseAnimation < 13 ? g_VitesseAnimation : 6);
    if (g_fontSmall.m_hObject != nullptr)
        m_wndSpeed.SetFont(&g_fontSmall, TRUE);
    return TRUE;
}

std::vector<BOOL> CAnimToolBar::WrapStates() const
{
    std::vector<BOOL> wraps(static_cast<size_t>(GetCount()));
    for (size_t i = 0; i < wraps.size(); i++)
        wraps[i] = (HIWORD(GetButtonStyle(static_cast<int>(i))) & TBSTATE_WRAP) != 0;
    return wraps;
}

void CAnimToolBar::PlaceControls()
{
    CRect rectRoom;
    GetItemRect(kSliderPlace, &rectRoom);
    MoveControl(m_wndSlider, rectRoom.left, rectRoom.top + 1, kSliderWidth, kControlHeight);
    MoveControl(m_wndSpeed, rectRoom.left + kSliderWidth + kListGap, rectRoom.top + 2, kListWidth,
                kListDropHeight);
    CRect rectDigits;
    GetItemRect(kDigitsPlace, &rectDigits);
    int x = rectDigits.left + kDigitsInset;
    MoveControl(m_wndPosition, x, rectDigits.top + 1, kPositionWidth, kControlHeight);
    MoveControl(m_wndTotal, x + kPositionWidth + kDigitsGap, rectDigits.top + 1, kTotalWidth, kControlHeight);
}

CSize CAnimToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CWnd* pParent = GetParent();
    CRect rectParent;
    if (nLength != -1 || !(dwMode & LM_HORZDOCK) || (dwMode & (LM_MRUWIDTH | LM_COMMIT)) || pParent == nullptr
        || IsFloating())
        return CLocalToolBar::CalcDynamicLayout(nLength, dwMode);
    pParent->GetClientRect(&rectParent);
    std::vector<BOOL> wrapsBefore = WrapStates();
    // A frame not yet sized keeps the bar on one row.
    CSize size = rectParent.Width() > 0 ? CalcLayout(dwMode, rectParent.Width())
                                        : CLocalToolBar::CalcDynamicLayout(nLength, dwMode);
    // Buttons that went to another row would otherwise stay drawn where they stood: the control
    // repaints only the button whose wrap changed, and the bar paints only what is invalid.
    if (WrapStates() != wrapsBefore)
        Invalidate(TRUE);
    PlaceControls();
    return size;
}

void CAnimToolBar::OnHScroll(UINT, UINT nPos, CScrollBar* pScrollBar)
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_ANIMFRAMESLIDER, nPos, reinterpret_cast<LPARAM>(AfxSafeHwnd(pScrollBar)));
}

void CAnimToolBar::OnSpeedSelChange()
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_ANIMSPEEDCHANGED, 0, 0);
}
