// CToolBar.
#include "framework/ToolBar.h"

#include "framework/CmdUI.h"
#include "framework/WinApp.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
END_MESSAGE_MAP()

namespace {

const int kSeparatorWidth = 8; // the control's width of a separator that gives none

// What an update handler changes on one button.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CToolBar* pToolBar = static_cast<CToolBar*>(m_pOther);
        UINT nNewStyle = pToolBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~TBBS_DISABLED;
        if (!bOn)
            nNewStyle = (nNewStyle | TBBS_DISABLED) & ~TBBS_PRESSED; // a disabled button cannot stay down
        pToolBar->SetButtonStyle(static_cast<int>(m_nIndex), nNewStyle);
    }
    void SetCheck(int nCheck) override
    {
        CToolBar* pToolBar = static_cast<CToolBar*>(m_pOther);
        UINT nNewStyle =
            pToolBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            nNewStyle |= TBBS_CHECKED;
        else if (nCheck == 2)
            nNewStyle |= TBBS_INDETERMINATE;
        // A checked button stays down by itself when clicked.
        pToolBar->SetButtonStyle(static_cast<int>(m_nIndex), nNewStyle | TBBS_CHECKBOX);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCSTR) override {} // buttons show no text
};

WORD ReadWord(const BYTE* p)
{
    WORD w;
    std::memcpy(&w, p, sizeof(w));
    return w;
}

} // namespace

BOOL AfxReadToolBarResource(const void* pData, DWORD cbData, CSize* pSizeImage, std::vector<UINT>* pIDs)
{
    const DWORD cbHeader = 4 * sizeof(WORD);
    if (pData == nullptr || cbData < cbHeader)
        return FALSE;
    const BYTE* p = static_cast<const BYTE*>(pData);
    WORD wVersion = ReadWord(p);
    WORD wWidth = ReadWord(p + 2);
    WORD wHeight = ReadWord(p + 4);
    WORD wCount = ReadWord(p + 6);
    if (wVersion != 1 || wWidth == 0 || wHeight == 0 || wWidth > 256 || wHeight > 256)
        return FALSE;
    if (cbHeader + static_cast<DWORD>(wCount) * sizeof(WORD) > cbData)
        return FALSE;
    if (pSizeImage != nullptr)
        *pSizeImage = CSize(wWidth, wHeight);
    if (pIDs != nullptr) {
        pIDs->clear();
        for (WORD i = 0; i < wCount; i++)
            pIDs->push_back(ReadWord(p + cbHeader + i * sizeof(WORD)));
    }
    return TRUE;
}

CToolBar::CToolBar()
{
    m_cxLeftBorder = 6;
    m_cxRightBorder = 6;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 2;
}

CToolBar::~CToolBar()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hbmImageWell != nullptr)
        ::DeleteObject(m_hbmImageWell);
}

// ---- creation and loading ----

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle,
                    CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    m_cxLeftBorder = rcBorders.left;
    m_cyTopBorder = rcBorders.top;
    m_cxRightBorder = rcBorders.right;
    m_cyBottomBorder = rcBorders.bottom;
    m_dwStyle = dwStyle & CBRS_ALL;
    // The frame places the bar: the control must neither move nor size itself.
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER
                       | CCS_NORESIZE | TBSTYLE_TOOLTIPS | (dwCtrlStyle & 0xFFFF);
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAME, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    SetBarStyle(m_dwStyle);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(AFX_RT_TOOLBAR));
    if (hRsrc == nullptr)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const void* pData = hGlobal != nullptr ? ::LockResource(hGlobal) : nullptr;
    CSize sizeImage;
    std::vector<UINT> ids;
    if (!AfxReadToolBarResource(pData, ::SizeofResource(hInst, hRsrc), &sizeImage, &ids))
        return FALSE;
    if (!SetButtons(ids.data(), static_cast<int>(ids.size())))
        return FALSE;
    SetSizes(CSize(sizeImage.cx + 7, sizeImage.cy + 7), sizeImage);
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName)
{
    // The greys of the picture take the user's button colours.
    HBITMAP hbm = static_cast<HBITMAP>(
        ::LoadImageA(AfxGetResourceHandle(), lpszResourceName, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (hbm == nullptr)
        return FALSE;
    if (!SetBitmap(hbm)) {
        ::DeleteObject(hbm);
        return FALSE;
    }
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell)
{
    BITMAP bm = {};
    if (m_hWnd == nullptr || hbmImageWell == nullptr || !::GetObjectA(hbmImageWell, sizeof(bm), &bm))
        return FALSE;
    int nImages = static_cast<int>(std::max(1L, bm.bmWidth / std::max(1L, m_sizeImage.cx)));
    if (m_hbmImageWell == nullptr) {
        TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(hbmImageWell)};
        if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nImages), reinterpret_cast<LPARAM>(&add)) == -1)
            return FALSE;
    } else {
        TBREPLACEBITMAP replace = {nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                                   reinterpret_cast<UINT_PTR>(hbmImageWell), nImages};
        if (!SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)))
            return FALSE;
        ::DeleteObject(m_hbmImageWell);
    }
    m_hbmImageWell = hbmImageWell;
    m_nImages = nImages;
    Invalidate();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (m_hWnd == nullptr || nIDCount < 0)
        return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0) {
        if (!SendMessage(TB_DELETEBUTTON, 0))
            return FALSE;
    }
    std::vector<TBBUTTON> buttons(static_cast<size_t>(nIDCount));
    int iImage = 0;
    for (int i = 0; i < nIDCount; i++) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        std::memset(&b, 0, sizeof(b));
        b.fsState = TBSTATE_ENABLED;
        if (lpIDArray == nullptr || lpIDArray[i] == ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.idCommand = 0;
            b.iBitmap = 0;
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.idCommand = static_cast<int>(lpIDArray[i]);
            b.iBitmap = iImage++;
        }
    }
    if (nIDCount > 0
        && !SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(nIDCount),
                        reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    Invalidate();
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    CSize button(std::max(sizeButton.cx, sizeImage.cx + 7), std::max(sizeButton.cy, sizeImage.cy + 6));
    m_sizeImage = sizeImage;
    m_sizeButton = button;
    if (m_hWnd == nullptr)
        return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
    // The control may round the size: the layout must use its own.
    DWORD dwSize = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    if (LOWORD(dwSize) != 0 && HIWORD(dwSize) != 0)
        m_sizeButton = CSize(LOWORD(dwSize), HIWORD(dwSize));
    Invalidate();
}

void CToolBar::SetBarStyle(DWORD dwStyle)
{
    CControlBar::SetBarStyle(dwStyle);
    if (m_hWnd == nullptr)
        return;
    HWND hWndTip = reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS));
    if (hWndTip != nullptr)
        ::SendMessageA(hWndTip, TTM_ACTIVATE, (dwStyle & CBRS_TOOLTIPS) != 0, 0);
}

// ---- buttons ----

int CToolBar::GetCount() const
{
    return m_hWnd != nullptr ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

BOOL CToolBar::GetButton(int nIndex, TBBUTTON* pButton) const
{
    std::memset(pButton, 0, sizeof(*pButton));
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    return static_cast<BOOL>(
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pButton)));
}

void CToolBar::SetButton(int nIndex, const TBBUTTON& button)
{
    TBBUTTON old;
    if (!GetButton(nIndex, &old))
        return;
    TBBUTTON b = button;
    b.fsState = static_cast<BYTE>((b.fsState & ~TBSTATE_WRAP) | (old.fsState & TBSTATE_WRAP));
    if (old.fsStyle != b.fsStyle || old.idCommand != b.idCommand || old.iBitmap != b.iBitmap) {
        SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex));
        SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&b));
        // The bar may have changed size.
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != nullptr)
            pFrame->DelayRecalcLayout();
        Invalidate();
    } else if (old.fsState != b.fsState) {
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        info.fsState = b.fsState;
        SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
    }
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0, n = GetCount(); i < n; i++) {
        TBBUTTON b;
        if (GetButton(i, &b) && static_cast<UINT>(b.idCommand) == nIDFind)
            return i;
    }
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON b;
    return GetButton(nIndex, &b) ? static_cast<UINT>(b.idCommand) : 0;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ::SetRectEmpty(lpRect);
    if (nIndex >= 0 && nIndex < GetCount())
        SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON b;
    if (!GetButton(nIndex, &b))
        return 0;
    return MAKELONG(b.fsStyle, b.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTON b;
    if (!GetButton(nIndex, &b))
        return;
    b.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    b.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    SetButton(nIndex, b);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON b;
    GetButton(nIndex, &b);
    nID = static_cast<UINT>(b.idCommand);
    nStyle = GetButtonStyle(nIndex);
    iImage = b.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTON b;
    if (!GetButton(nIndex, &b))
        return;
    b.idCommand = static_cast<int>(nID);
    b.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    b.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    b.iBitmap = iImage;
    SetButton(nIndex, b);
}

int CToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (m_hWnd == nullptr)
        return -1;
    // Negative: a separator or no item.
    int nHit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    TBBUTTON b;
    if (nHit < 0 || !GetButton(nHit, &b) || (b.fsStyle & TBSTYLE_SEP) || (b.fsState & TBSTATE_HIDDEN)
        || b.idCommand == 0)
        return -1;
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(b.idCommand);
        GetItemRect(nHit, &pTI->rect);
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return b.idCommand;
}

// ---- layout ----

std::vector<CToolBar::Item> CToolBar::GetItems() const
{
    std::vector<Item> items;
    for (int i = 0, n = GetCount(); i < n; i++) {
        TBBUTTON b;
        GetButton(i, &b);
        Item item;
        item.fsStyle = b.fsStyle;
        item.fsState = b.fsState;
        item.bPlaceholder = (b.fsStyle & TBSTYLE_SEP) && b.idCommand != 0;
        if (b.fsState & TBSTATE_HIDDEN)
            item.nWidth = 0;
        else if (b.fsStyle & TBSTYLE_SEP)
            item.nWidth = b.iBitmap > 0 ? b.iBitmap : kSeparatorWidth;
        else
            item.nWidth = m_sizeButton.cx;
        items.push_back(item);
    }
    return items;
}

CSize CToolBar::WrapItems(std::vector<Item>& items, int nWidth) const
{
    int nLast = -1;
    for (size_t i = 0; i < items.size(); i++) {
        items[i].fsState &= ~TBSTATE_WRAP;
        if (!(items[i].fsState & TBSTATE_HIDDEN))
            nLast = static_cast<int>(i);
    }
    if (nLast < 0)
        return CSize(0, 0);
    auto isWrap = [&](int j) { return (items[static_cast<size_t>(j)].fsState & TBSTATE_WRAP) != 0; };
    auto isHidden = [&](int j) { return (items[static_cast<size_t>(j)].fsState & TBSTATE_HIDDEN) != 0; };
    auto isSeparator = [&](int j) { return (items[static_cast<size_t>(j)].fsStyle & TBSTYLE_SEP) != 0; };
    if (nWidth >= 0) {
        int x = 0;
        for (int i = 0; i <= nLast; i++) {
            if (isHidden(i))
                continue;
            int dx = items[static_cast<size_t>(i)].nWidth;
            if (x + dx <= nWidth) {
                x += dx;
                continue;
            }
            // Rows break at the last separator of the row, so that groups of buttons stay together;
            // else before the button that does not fit. Placeholders of controls never break.
            int nBreak = -1;
            for (int j = i; j >= 0 && !isWrap(j); j--) {
                if (isSeparator(j) && !isHidden(j) && !items[static_cast<size_t>(j)].bPlaceholder) {
                    nBreak = j;
                    break;
                }
            }
            for (int j = i - 1; nBreak < 0 && j >= 0 && !isWrap(j); j--) {
                if (!isHidden(j) && !items[static_cast<size_t>(j)].bPlaceholder)
                    nBreak = j;
            }
            if (nBreak < 0) {
                x += dx;
                continue;
            }
            items[static_cast<size_t>(nBreak)].fsState |= TBSTATE_WRAP;
            i = nBreak;
            x = 0;
        }
        items[static_cast<size_t>(nLast)].fsState &= ~TBSTATE_WRAP;
    }
    // The size, laid out as the control lays it: a separator that ends a row stands past the row's
    // end and adds two thirds of its width below it.
    int x = 0;
    int y = 0;
    int cxMax = 0;
    for (int i = 0; i <= nLast; i++) {
        if (isHidden(i))
            continue;
        const Item& item = items[static_cast<size_t>(i)];
        if (isWrap(i) && isSeparator(i)) {
            y += m_sizeButton.cy + item.nWidth * 2 / 3;
            x = 0;
            continue;
        }
        x += item.nWidth;
        cxMax = std::max(cxMax, x);
        if (isWrap(i)) {
            y += m_sizeButton.cy;
            x = 0;
        }
    }
    return CSize(cxMax, y + m_sizeButton.cy);
}

int CToolBar::WidthForHeight(const std::vector<Item>& items, int nHeight) const
{
    std::vector<Item> work = items;
    int nFull = WrapItems(work, -1).cx;
    for (int nWidth = 0; nWidth < nFull; nWidth++) {
        if (WrapItems(work, nWidth).cy <= nHeight)
            return nWidth;
    }
    return nFull;
}

BOOL CToolBar::IsCurrentMode(DWORD dwMode) const
{
    if (dwMode & LM_COMMIT)
        return TRUE;
    if (IsFloating() && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        return (dwMode & LM_MRUWIDTH) != 0;
    if (dwMode & LM_MRUWIDTH)
        return FALSE;
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || !(m_dwStyle & CBRS_ORIENT_VERT);
    return ((dwMode & LM_HORZ) != 0) == bHorz;
}

CSize CToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    BOOL bHorz = (dwMode & LM_HORZ) != 0;
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    CSize sizeNC(-rectInside.Width(), -rectInside.Height());

    std::vector<Item> items = GetItems();
    int nWidth;
    if (dwMode & LM_MRUWIDTH)
        nWidth = m_nMRUWidth;
    else if (nLength >= 0 && (dwMode & LM_LENGTHY))
        nWidth = WidthForHeight(items, std::max(0, nLength - static_cast<int>(sizeNC.cy)));
    else if (nLength >= 0)
        nWidth = std::max(0, nLength - static_cast<int>(sizeNC.cx));
    else
        nWidth = bHorz ? -1 : 0;
    if ((dwMode & LM_COMMIT) && nWidth >= 0)
        m_nMRUWidth = nWidth;

    CSize size = WrapItems(items, nWidth) + sizeNC;
    if (dwMode & LM_STRETCH) {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }

    if (m_hWnd != nullptr && IsCurrentMode(dwMode)) {
        for (size_t i = 0; i < items.size(); i++) {
            TBBUTTON b;
            GetButton(static_cast<int>(i), &b);
            if ((b.fsState & TBSTATE_WRAP) != (items[i].fsState & TBSTATE_WRAP)) {
                TBBUTTONINFOA info = {};
                info.cbSize = sizeof(info);
                info.dwMask = TBIF_STATE | TBIF_BYINDEX;
                info.fsState =
                    static_cast<BYTE>((b.fsState & ~TBSTATE_WRAP) | (items[i].fsState & TBSTATE_WRAP));
                SendMessage(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
            }
        }
    }
    return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0));
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}

// ---- updates ----

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        TBBUTTON b;
        GetButton(static_cast<int>(state.m_nIndex), &b);
        if (b.fsStyle & TBSTYLE_SEP)
            continue; // separators, and the placeholders of embedded controls
        state.m_nID = static_cast<UINT>(b.idCommand);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    // Controls placed on the bar are updated too, but never greyed for want of a handler: they are
    // displays and lists as often as commands.
    UpdateDialogControls(pTarget, FALSE);
}
