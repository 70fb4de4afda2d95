// The animation bar's slider and speed list.
#include "viewers/AnimToolBar.h"

#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "shell/SharedUi.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"

const int g_animSpeeds[13] = {1, 2, 3, 4, 5, 7, 10, 15, 20, 25, 30, 40, 50};

IMPLEMENT_DYNAMIC(CAnimToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CAnimToolBar, CToolBar)
    ON_WM_HSCROLL()
    ON_CBN_SELCHANGE(ID_ANIM_SPEED, OnSpeedSelChange)
END_MESSAGE_MAP()

BOOL CAnimToolBar::CreateControls()
{
    // The room the separator at 15 keeps (210 pixels) holds the slider, then the list.
    CRect rectRoom;
    GetItemRect(15, &rectRoom);
    CRect rectSlider(rectRoom.left, 1, rectRoom.left + 120, 24);
    if (!m_wndSlider.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_BOTH | TBS_NOTICKS, rectSlider, this,
                            ID_ANIM_SLIDER))
        return FALSE;
    CRect rectList(rectSlider.right + 6, 2, rectSlider.right + 6 + 60, 174);
    if (!m_wndSpeed.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, rectList, this,
                           ID_ANIM_SPEED))
        return FALSE;
    // The last button's room (after the time-display button) holds the two displays.
    SetButtonInfo(17, ID_ANIM_PLACEHOLDER, TBBS_SEPARATOR, 206);
    CRect rectDigits;
    GetItemRect(17, &rectDigits);
    CRect rectPosition(rectDigits.left + 4, 1, rectDigits.left + 4 + 100, 24);
    CRect rectTotal(rectPosition.right + 3, 1, rectPosition.right + 3 + 93, 24);
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
