// The library bar's window: creation, layout, splitter and grip, painting, the idle step with its
// folder loads, focus, palette, keyboard, and the tool host and status line above the list.
#include "library/LibraryBar.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/SharedUi.h"
#include "core/Palette.h"
#include "framework/CmdUI.h"
#include "framework/CommandKeys.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIFrameWnd.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "resources/resource.h"

#include <mmsystem.h>

namespace {

const DWORD kFolderLoadDelay = 200;

DWORD RealNow() { return ::timeGetTime(); }

void Draw3DFrame(CDC& dc, CRect r, COLORREF topLeft, COLORREF bottomRight)
{
    dc.FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    dc.FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    dc.FillSolidRect(r.right, r.top, -1, r.Height(), bottomRight);
    dc.FillSolidRect(r.left, r.bottom, r.Width(), -1, bottomRight);
}

// The four frames of a sunken control in a raised panel; extraTop grows the panel upwards.
void DrawPanelFrames(CDC& dc, CRect r, int extraTop)
{
    const COLORREF black = RGB(0, 0, 0), light = RGB(192, 192, 192), dark = RGB(128, 128, 128),
                   white = RGB(255, 255, 255);
    r.InflateRect(1, 1);
    Draw3DFrame(dc, r, black, light);
    r.InflateRect(1, 1);
    Draw3DFrame(dc, r, dark, white);
    r.InflateRect(2, 2);
    r.top -= extraTop;
    Draw3DFrame(dc, r, white, dark);
    r.InflateRect(1, 1);
    Draw3DFrame(dc, r, light, black);
}

} // namespace

DWORD (*CLibraryBar::s_pfnNow)() = RealNow;

// ---- CLibToolHost ----

BEGIN_MESSAGE_MAP(CLibToolHost, CWnd)
    ON_COMMAND_RANGE(ID_LIB_VIEW_MENU, ID_LIB_EDIT_PICTURE + 4, OnCommandForward)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

void CLibToolHost::OnCommandForward(UINT nID)
{
    switch (nID) {
    case ID_LIB_COPY:
    case ID_LIB_SLIDESHOW:
    case ID_LIB_EDIT_PICTURE:
    case ID_LIB_OPEN_FULLSCREEN:
    case ID_LIB_AUTO_FULLSCREEN:
    case ID_LIB_PRINT:
    case ID_LIB_VIEW_MENU:
    case ID_LIB_PROPERTIES:
    case ID_LIB_OPEN_PICTURE:
    case ID_LIB_SELECTION_MENU:
    case ID_LIB_PARENT_FOLDER:
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        break;
    default:
        break;
    }
}

CString LibToolTipText(UINT nID)
{
    if (nID == 0)
        return CString();
    CString prompt = AfxLoadText(nID);
    int newline = prompt.Find('\n');
    if (newline < 0)
        return CString();
    return prompt.Mid(newline + 1).Left(79);
}

BOOL CLibToolHost::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    if (AfxGetRoutingFrame() != nullptr)
        return FALSE;
    UINT_PTR id = pNMHDR->idFrom;
    BOOL bWide = pNMHDR->code == TTN_NEEDTEXTW;
    UINT flags = bWide ? reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags
                       : reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags;
    if (flags & TTF_IDISHWND)
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(id))) & 0xFFFF;
    CString tip = LibToolTipText(static_cast<UINT>(id));
    if (bWide) {
        NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        ::MultiByteToWideChar(CP_ACP, 0, tip, -1, pInfo->szText, 80);
        pInfo->szText[79] = 0;
    } else {
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        lstrcpynA(pInfo->szText, tip, 80);
    }
    *pResult = 0;
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

// ---- CLibStatusLine ----

BEGIN_MESSAGE_MAP(CLibStatusLine, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CLibStatusLine::ComposeTexts(int count, int selected, CString* pFirst, CString* pSecond)
{
    pFirst->Empty();
    pSecond->Empty();
    if (count <= 0)
        return;
    if (count == 1) {
        *pFirst = AfxLoadText(IDS_COUNT_ONE_PICTURE);
        *pSecond = AfxLoadText(IDS_COUNT_ONE_SELECTED);
        return;
    }
    pFirst->Format(AfxLoadText(IDS_COUNT_PICTURES), count);
    if (selected == 1)
        *pSecond = AfxLoadText(IDS_COUNT_ONE_SELECTED);
    else
        pSecond->Format(AfxLoadText(IDS_COUNT_SELECTED), selected);
}

void CLibStatusLine::OnPaint()
{
    CPaintDC dc(this);
    Paint(TRUE);
}

void CLibStatusLine::FitTexts(HDC hdc, const CString& first, const CString& second)
{
    int needed = 0;
    for (const CString* pText : {&first, &second}) {
        SIZE size = {};
        if (::GetTextExtentPoint32A(hdc, *pText, pText->GetLength(), &size))
            needed = std::max(needed, static_cast<int>(size.cx) + 1);
    }
    CRect rect;
    GetWindowRect(&rect);
    if (needed <= rect.Width())
        return;
    // Large counts ("2000 sélectionnée") are wider than the place the layout gives: the line grows to
    // the left, its right edge staying where the counts line up.
    HWND hParent = ::GetParent(m_hWnd);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rect), 2);
    ::SetWindowPos(m_hWnd, nullptr, rect.right - needed, rect.top, needed, rect.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CLibStatusLine::Paint(BOOL bForce)
{
    if (m_hWnd == nullptr)
        return FALSE;
    int count = 0, selected = 0;
    if (m_pList != nullptr && ::IsWindow(m_pList->m_hWnd)) {
        count = m_pList->GetCount();
        selected = (m_pList->GetStyle() & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) ? m_pList->GetSelCount() : 0;
    }
    if (count < 0)
        count = 0;
    if (selected < 0)
        selected = 0;
    if (!bForce && count == m_nLastCount && selected == m_nLastSelected)
        return FALSE;
    m_nLastCount = count;
    m_nLastSelected = selected;
    CString first, second;
    ComposeTexts(count, selected, &first, &second);
    CClientDC dc(this);
    HGDIOBJ hOld = dc.SelectObject(g_fontArial7.m_hObject != nullptr ? g_fontArial7.m_hObject
                                                                     : ::GetStockObject(DEFAULT_GUI_FONT));
    FitTexts(dc.m_hDC, first, second);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    dc.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    dc.SetTextColor(RGB(0, 0, 0));
    dc.DrawText(first, &rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    rect.top += 11;
    dc.DrawText(second, &rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(hOld);
    return TRUE;
}

// ---- CLibraryBar: creation and layout ----

IMPLEMENT_DYNAMIC(CLibraryBar, CControlBar)

BEGIN_MESSAGE_MAP(CLibraryBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_COMMAND(ID_LIB_RESERVED1, OnReserved)
    ON_COMMAND(ID_LIB_RESERVED2, OnReserved)
    ON_COMMAND(ID_LIB_NEW_FOLDER, OnLibNewFolder)
    ON_UPDATE_COMMAND_UI(ID_LIB_NEW_FOLDER, OnUpdateLibNewFolder)
    ON_COMMAND(ID_LIB_ADD_UNCOMPRESSED, OnLibAddUncompressed)
    ON_UPDATE_COMMAND_UI(ID_LIB_ADD_UNCOMPRESSED, OnUpdateLibAddUncompressed)
    ON_COMMAND(ID_LIB_ADD_JPEG, OnLibAddJpeg)
    ON_UPDATE_COMMAND_UI(ID_LIB_ADD_JPEG, OnUpdateLibAddJpeg)
    ON_COMMAND(ID_LIB_ADD_PNG, OnLibAddPng)
    ON_UPDATE_COMMAND_UI(ID_LIB_ADD_PNG, OnUpdateLibAddPng)
    ON_LBN_DBLCLK(ID_LIBBAR_LIST, OpenListItems)
    ON_COMMAND(ID_LIB_DELETE, OnLibDelete)
    ON_UPDATE_COMMAND_UI(ID_LIB_DELETE, OnUpdateLibDelete)
    ON_COMMAND(ID_LIB_RECOVER, OnLibRecover)
    ON_UPDATE_COMMAND_UI(ID_LIB_RECOVER, OnUpdateLibRecover)
    ON_COMMAND(ID_LIB_ERASE, OnLibErase)
    ON_UPDATE_COMMAND_UI(ID_LIB_ERASE, OnUpdateLibErase)
    ON_COMMAND(ID_LIB_EMPTY_DELETED, OnLibEmptyDeleted)
    ON_UPDATE_COMMAND_UI(ID_LIB_EMPTY_DELETED, OnUpdateLibEmptyDeleted)
    ON_COMMAND(ID_LIB_REFRESH, OnLibRefresh)
    ON_UPDATE_COMMAND_UI(ID_LIB_REFRESH, OnUpdateLibRefresh)
    ON_COMMAND(ID_LIB_OPEN_FOLDER, OnLibOpenFolder)
    ON_UPDATE_COMMAND_UI(ID_LIB_OPEN_FOLDER, OnUpdateLibOpenFolder)
    ON_COMMAND(ID_LIB_RENAME, OnLibRename)
    ON_UPDATE_COMMAND_UI(ID_LIB_RENAME, OnUpdateLibRename)
    ON_COMMAND(ID_LIB_PARENT_FOLDER, OnLibParentFolder)
    ON_UPDATE_COMMAND_UI(ID_LIB_PARENT_FOLDER, OnUpdateLibParentFolder)
    ON_COMMAND(ID_LIB_OPEN_PICTURE, OnLibOpenPicture)
    ON_UPDATE_COMMAND_UI(ID_LIB_OPEN_PICTURE, OnUpdateLibOpenPicture)
    ON_COMMAND(ID_LIB_OPEN_FULLSCREEN, OnLibOpenFullScreen)
    ON_UPDATE_COMMAND_UI(ID_LIB_OPEN_FULLSCREEN, OnUpdateLibOpenFullScreen)
    ON_COMMAND(ID_LIB_AUTO_FULLSCREEN, OnLibAutoFullScreen)
    ON_UPDATE_COMMAND_UI(ID_LIB_AUTO_FULLSCREEN, OnUpdateLibAutoFullScreen)
    ON_COMMAND(ID_LIB_SLIDESHOW, OnLibSlideShow)
    ON_UPDATE_COMMAND_UI(ID_LIB_SLIDESHOW, OnUpdateLibSlideShow)
    ON_COMMAND(ID_LIB_SORT_NAME, OnLibSortByName)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_NAME, OnUpdateLibSortByName)
    ON_COMMAND(ID_LIB_SORT_TYPE, OnLibSortByType)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_TYPE, OnUpdateLibSortByType)
    ON_COMMAND(ID_LIB_SORT_DATE, OnLibSortByDate)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_DATE, OnUpdateLibSortByDate)
    ON_COMMAND(ID_LIB_SORT_SIZE, OnLibSortBySize)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_SIZE, OnUpdateLibSortBySize)
    ON_COMMAND(ID_LIB_SORT_ASCENDING, OnLibSortAscending)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_ASCENDING, OnUpdateLibSortAscending)
    ON_COMMAND(ID_LIB_SORT_DESCENDING, OnLibSortDescending)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_DESCENDING, OnUpdateLibSortDescending)
    ON_COMMAND(ID_LIB_VIEW_LARGE, OnLibViewLarge)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_LARGE, OnUpdateLibViewLarge)
    ON_COMMAND(ID_LIB_VIEW_MEDIUM, OnLibViewMedium)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_MEDIUM, OnUpdateLibViewMedium)
    ON_COMMAND(ID_LIB_VIEW_SMALL, OnLibViewSmall)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_SMALL, OnUpdateLibViewSmall)
    ON_COMMAND(ID_LIB_VIEW_LIST, OnLibViewList)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_LIST, OnUpdateLibViewList)
    ON_COMMAND(ID_LIB_SELECT_ALL, OnLibSelectAll)
    ON_UPDATE_COMMAND_UI(ID_LIB_SELECT_ALL, OnUpdateLibSelectAll)
    ON_COMMAND(ID_LIB_DESELECT_ALL, OnLibDeselectAll)
    ON_UPDATE_COMMAND_UI(ID_LIB_DESELECT_ALL, OnUpdateLibDeselectAll)
    ON_COMMAND(ID_LIB_INVERT_SELECTION, OnLibInvertSelection)
    ON_UPDATE_COMMAND_UI(ID_LIB_INVERT_SELECTION, OnUpdateLibInvertSelection)
    ON_COMMAND(ID_LIB_SELECT_PATTERN, OnLibSelectPattern)
    ON_UPDATE_COMMAND_UI(ID_LIB_SELECT_PATTERN, OnUpdateLibSelectPattern)
    ON_COMMAND(ID_LIB_DESELECT_PATTERN, OnLibDeselectPattern)
    ON_UPDATE_COMMAND_UI(ID_LIB_DESELECT_PATTERN, OnUpdateLibDeselectPattern)
    ON_COMMAND(ID_LIB_SELECTION_MENU, OnLibSelectionMenu)
    ON_UPDATE_COMMAND_UI(ID_LIB_SELECTION_MENU, OnUpdateLibSelectionMenu)
    ON_COMMAND(ID_LIB_VIEW_MENU, OnLibViewMenu)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_MENU, OnUpdateLibViewMenu)
    ON_COMMAND(ID_LIB_PROPERTIES, OnLibProperties)
    ON_UPDATE_COMMAND_UI(ID_LIB_PROPERTIES, OnUpdateLibProperties)
    ON_COMMAND(ID_LIB_IMPORT, OnLibImport)
    ON_UPDATE_COMMAND_UI(ID_LIB_IMPORT, OnUpdateLibImport)
    ON_COMMAND(ID_LIB_EXPORT, OnLibExport)
    ON_UPDATE_COMMAND_UI(ID_LIB_EXPORT, OnUpdateLibExport)
    ON_COMMAND(ID_LIB_EDIT_PICTURE, OnLibEditPicture)
    ON_UPDATE_COMMAND_UI(ID_LIB_EDIT_PICTURE, OnUpdateLibEditPicture)
    ON_COMMAND(ID_LIB_PRINT, OnLibPrint)
    ON_UPDATE_COMMAND_UI(ID_LIB_PRINT, OnUpdateLibPrint)
    ON_COMMAND(ID_LIB_COPY, OnLibCopy)
    ON_UPDATE_COMMAND_UI(ID_LIB_COPY, OnUpdateLibCopy)
END_MESSAGE_MAP()

CLibraryBar::CLibraryBar() : m_sizeFloat(500, 300)
{
    m_strFolder = "@";
    CreateDefaultPalette(&m_palette);
    g_pLibraryPicSite = this;
}

CLibraryBar::~CLibraryBar()
{
    delete[] m_pSlideIndexes;
    if (g_pLibraryLink == this)
        g_pLibraryLink = nullptr;
    if (g_pLibraryPicSite == this)
        g_pLibraryPicSite = nullptr;
}

BOOL CLibraryBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateEx(0, lpszClass, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_sizeDocked = CSize(g_LibBarSizeH, g_LibBarSizeV);
    m_sizeFloat = CSize(g_LibBarFloatSizeH, g_LibBarFloatSizeV);
    return TRUE;
}

int CLibraryBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CControlBar::OnCreate(lpcs) == -1)
        return -1;
    g_pLibraryLink = this;
    m_list.m_nView = g_TailleVignetteLibBar;
    m_list.m_nSortOrder = g_DefaultSortOrderLibBar;
    m_list.m_nSortKey = g_DefaultSortByLibBar;
    m_list.m_bBuildThumbnails = TRUE;
    m_list.m_bKeepRecords = TRUE;
    m_list.m_bHideExtensions = TRUE;
    m_list.Create(this, ID_LIBBAR_LIST);
    m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                  CRect(10, 10, 100, 100), this, ID_LIBBAR_TREE);

    const DWORD toolStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM
                            | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_FIXED;
    if (!m_wndLibBarTools1.Create(this, toolStyle, AFX_IDW_TOOLBAR)
        || !m_wndLibBarTools1.LoadToolBar(IDR_LIBBAR_TOOLS1))
        return 0;
    m_wndLibBarTools1.MoveWindow(2, 0, 104, 30);
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!m_wndToolBar1.CreateEx(0, cls, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                                ID_LIBBAR_TOOLHOST))
        return 0;
    if (!m_wndToolBar0.CreateEx(0, cls, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                                ID_LIBBAR_STATUSLINE))
        return 0;
    m_wndToolBar0.m_pList = &m_list;
    if (!m_wndLibBarTools2.Create(&m_wndToolBar1, toolStyle, AFX_IDW_TOOLBAR)
        || !m_wndLibBarTools2.LoadToolBar(IDR_LIBBAR_TOOLS2))
        return 0;
    m_wndLibBarTools2.MoveWindow(-4, -2, 250, 31);
    m_wndToolBar1.EnableToolTips(TRUE);
    m_wndLibBarTools2.EnableToolTips(TRUE);

    // The protected folder and the trash are never opened at start.
    CString root = m_tree.m_strRootPath;
    CString last = g_LibrarianLastPath;
    for (UINT nID : {IDS_FOLDER_PROTECTED, IDS_FOLDER_TRASH}) {
        CString closed = root + "\\" + AfxLoadText(nID);
        int n = std::min(closed.GetLength(), last.GetLength());
        if (n > 0 && CString(last).Left(n).CompareNoCase(CString(closed).Left(n)) == 0
            && last.GetLength() >= closed.GetLength())
            g_LibrarianLastPath = root + "\\" + AfxLoadText(IDS_FOLDER_PICTURES);
    }
    m_tree.SelectPath(g_LibrarianLastPath);
    return 0;
}

DWORD CLibraryBar::DockedSide() const
{
    if (IsFloating())
        return 0;
    return m_dwStyle & CBRS_ALIGN_ANY;
}

CSize CLibraryBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    DWORD mode = (bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    return CalcDynamicLayout(-1, mode);
}

CSize CLibraryBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (!(dwMode & (LM_HORZDOCK | LM_VERTDOCK))) {
        if (dwMode & LM_MRUWIDTH)
            return m_sizeFloat;
        if (nLength > 0) {
            if (dwMode & LM_LENGTHY)
                m_sizeFloat.cy = g_LibBarFloatSizeV = nLength;
            else
                m_sizeFloat.cx = g_LibBarFloatSizeH = nLength;
        }
        return m_sizeFloat;
    }
    if (dwMode & LM_STRETCH)
        return (dwMode & LM_HORZ) ? CSize(32767, m_sizeDocked.cy) : CSize(m_sizeDocked.cx, 32767);
    CRect client(0, 0, 600, 400);
    CWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        pFrame = GetParent();
    if (pFrame != nullptr) {
        HWND hClient = ::FindWindowExA(pFrame->m_hWnd, nullptr, "MDIClient", nullptr);
        if ((dwMode & LM_VERTDOCK) && hClient != nullptr)
            ::GetClientRect(hClient, &client);
        else
            pFrame->GetClientRect(&client);
    }
    if (dwMode & LM_VERTDOCK)
        return CSize(m_sizeDocked.cx, client.bottom + 4);
    return CSize(client.right + 4, m_sizeDocked.cy);
}

void CLibraryBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CLibraryBar::GetGripRects(CRect* pGrip, CRect* pClient) const
{
    CRect client;
    GetClientRect(&client);
    CRect grip(0, 0, 0, 0);
    switch (DockedSide()) {
    case CBRS_ALIGN_LEFT:
        client.right -= 1;
        grip = client;
        grip.left = client.right - 3;
        client.right = grip.left - 1;
        break;
    case CBRS_ALIGN_RIGHT:
        client.left += 1;
        grip = client;
        grip.right = client.left + 3;
        client.left = grip.right + 1;
        break;
    case CBRS_ALIGN_TOP:
        client.bottom -= 1;
        grip = client;
        grip.top = client.bottom - 3;
        client.bottom = grip.top - 1;
        break;
    case CBRS_ALIGN_BOTTOM:
        client.top += 1;
        grip = client;
        grip.bottom = client.top + 3;
        client.top = grip.bottom + 1;
        break;
    default:
        break;
    }
    if (pGrip != nullptr)
        *pGrip = grip;
    if (pClient != nullptr)
        *pClient = client;
}

void CLibraryBar::RecalcChildren()
{
    CRect c;
    GetClientRect(&c);
    if (c.Width() < 1 || c.Height() < 1)
        return;
    CRect k;
    GetGripRects(nullptr, &k);
    DWORD side = DockedSide();
    int l = 0, t = 0;
    if (::IsWindow(m_wndLibBarTools1.m_hWnd)) {
        if (m_bWide) {
            m_wndLibBarTools1.SetBarStyle(CBRS_ALIGN_LEFT | CBRS_TOOLTIPS | CBRS_FLYBY);
            if (side == 0)
                m_wndLibBarTools1.MoveWindow(2, 2, 29, c.bottom);
            else if (side == CBRS_ALIGN_BOTTOM)
                m_wndLibBarTools1.MoveWindow(2, 6, 29, c.bottom);
            else
                m_wndLibBarTools1.MoveWindow(2, 0, 29, c.bottom - 7);
            l = 25;
        } else {
            m_wndLibBarTools1.SetBarStyle(CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY);
            if (side == 0)
                m_wndLibBarTools1.MoveWindow(2, 2, c.right, 28);
            else if (side == CBRS_ALIGN_LEFT)
                m_wndLibBarTools1.MoveWindow(2, 2, c.right - 8, 28);
            else
                m_wndLibBarTools1.MoveWindow(6, 2, c.right - 8, 28);
            t = 25;
        }
        // The buttons wrap one per row in a vertical bar and stay on one row in a horizontal one:
        // without this a vertical bar shows its first button only.
        m_wndLibBarTools1.CalcFixedLayout(FALSE, !m_bWide);
    }
    CRect tree = k, list = k;
    if (m_bWide) {
        int v = std::max(25, std::min(g_LibrarianSeparatorV, static_cast<int>(k.right) - 25));
        g_LibrarianSeparatorV = v;
        tree.right = v + 2;
        list.left = v - 2;
    } else {
        int h = std::max(25, std::min(g_LibrarianSeparatorH, static_cast<int>(k.bottom) - 25));
        g_LibrarianSeparatorH = h;
        tree.bottom = h + 2;
        list.top = h - 2;
    }
    tree.DeflateRect(5, 5);
    list.DeflateRect(5, 5);
    tree.top += t + 6;
    tree.left += l + 7;
    tree.right -= m_bWide ? 4 : 6;
    tree.bottom -= 6;
    tree.InflateRect(2, 2);
    if (::IsWindow(m_tree.m_hWnd))
        m_tree.MoveWindow(&tree);
    list.top += 30;
    list.left += m_bWide ? 6 : 7;
    list.right -= 6;
    list.bottom -= 6;
    list.InflateRect(2, 2);
    if (::IsWindow(m_list.m_hWnd))
        m_list.MoveWindow(list.left, list.top + 2, list.Width(), list.Height() - 2);
    if (::IsWindow(m_wndToolBar1.m_hWnd))
        m_wndToolBar1.MoveWindow(list.left - 2, list.top - 28, 235, 27);
    if (::IsWindow(m_wndToolBar0.m_hWnd)) {
        CRect r;
        CWnd& ref = m_bWide ? static_cast<CWnd&>(m_list) : static_cast<CWnd&>(m_tree);
        if (::IsWindow(ref.m_hWnd)) {
            ref.GetWindowRect(&r);
            ScreenToClient(&r);
            CRect s(r.right - 80, m_bWide ? r.top - 27 : r.top - 29, r.right - 1,
                    m_bWide ? r.top - 3 : r.top - 8);
            // Above the tool bar's row, which it shares.
            ::SetWindowPos(m_wndToolBar0.m_hWnd, HWND_TOP, s.left, s.top, s.Width(), s.Height(),
                           SWP_NOACTIVATE);
        }
    }
}

void CLibraryBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    m_bWide = cx >= cy;
    RecalcChildren();
    Invalidate();
}

void CLibraryBar::OnMove(int x, int y)
{
    CControlBar::OnMove(x, y);
    RecalcChildren();
    Invalidate();
}

BOOL CLibraryBar::OnEraseBkgnd(CDC* pDC)
{
    // The bar paints itself in bands; only the flat tool bars ask for the face behind their buttons.
    if (pDC != nullptr && ::WindowFromDC(pDC->m_hDC) != m_hWnd) {
        CRect r;
        ::GetClipBox(pDC->m_hDC, &r);
        pDC->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    }
    return TRUE;
}

void CLibraryBar::OnPaint()
{
    CPaintDC dc(this);
    CRect c;
    GetClientRect(&c);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int top = 15 + (m_bWide ? 0 : 25), left = 15 + (m_bWide ? 25 : 0);
    dc.FillSolidRect(0, 0, c.right, top, face);
    dc.FillSolidRect(0, 0, left, c.bottom, face);
    dc.FillSolidRect(c.right - 15, 0, 15, c.bottom, face);
    dc.FillSolidRect(0, c.bottom - 15, c.right, 15, face);
    if (m_bWide)
        dc.FillSolidRect(g_LibrarianSeparatorV - 8, 0, 41, c.bottom, face);
    else
        dc.FillSolidRect(0, g_LibrarianSeparatorH - 8, c.right, 41, face);
    if (::IsWindow(m_list.m_hWnd)) {
        CRect r;
        m_list.GetWindowRect(&r);
        ScreenToClient(&r);
        dc.FillSolidRect(r.left, r.top - 27, r.Width(), 27, face);
        DrawPanelFrames(dc, r, 27);
    }
    m_wndToolBar0.Paint(TRUE);
    if (::IsWindow(m_tree.m_hWnd)) {
        CRect r;
        m_tree.GetWindowRect(&r);
        ScreenToClient(&r);
        DrawPanelFrames(dc, r, 0);
    }
    CRect k;
    GetGripRects(nullptr, &k);
    const COLORREF white = RGB(255, 255, 255), dark = RGB(128, 128, 128), black = RGB(0, 0, 0);
    switch (DockedSide()) {
    case CBRS_ALIGN_LEFT:
        dc.FillSolidRect(k.right - 1, 1, 1, k.bottom - 1, white);
        break;
    case CBRS_ALIGN_RIGHT:
        dc.FillSolidRect(4, 1, 1, k.bottom - 1, dark);
        dc.FillSolidRect(k.right - 2, 1, 1, k.bottom - 1, dark);
        dc.FillSolidRect(5, 1, 1, k.bottom - 1, black);
        dc.FillSolidRect(k.right - 1, 1, 1, k.bottom - 1, white);
        break;
    case CBRS_ALIGN_TOP:
        dc.FillSolidRect(0, k.bottom - 1, k.right, 1, white);
        break;
    case CBRS_ALIGN_BOTTOM:
        dc.FillSolidRect(0, 4, k.right, 1, dark);
        dc.FillSolidRect(0, 5, k.right, 1, black);
        break;
    default:
        break;
    }
}

void CLibraryBar::UpdateStatusLine()
{
    if (::IsWindow(m_wndToolBar0.m_hWnd))
        m_wndToolBar0.Paint(TRUE);
}

// ---- splitter and grip ----

BOOL CLibraryBar::InSplitter(CPoint point) const
{
    CRect k;
    GetGripRects(nullptr, &k);
    if (m_bWide)
        return point.x >= g_LibrarianSeparatorV - 2 && point.x <= g_LibrarianSeparatorV + 2 && point.y >= 0
               && point.y <= k.bottom + 3;
    return point.y >= g_LibrarianSeparatorH - 2 && point.y <= g_LibrarianSeparatorH + 2 && point.x >= 0
           && point.x <= k.right + 3;
}

BOOL CLibraryBar::InGrip(CPoint point) const
{
    CRect grip;
    GetGripRects(&grip, nullptr);
    if (grip.IsRectEmpty())
        return FALSE;
    // The grip reaches from the line drawn along it to the bar's outer edge: the bar's border and its
    // gap, outside the client area, belong to it too (a press there would otherwise undock the bar).
    const LONG kFar = 0x4000;
    switch (DockedSide()) {
    case CBRS_ALIGN_LEFT:
        grip.SetRect(grip.left - 2, -kFar, kFar, kFar);
        break;
    case CBRS_ALIGN_RIGHT:
        grip.SetRect(-kFar, -kFar, grip.right + 2, kFar);
        break;
    case CBRS_ALIGN_TOP:
        grip.SetRect(-kFar, grip.top - 2, kFar, kFar);
        break;
    default:
        grip.SetRect(-kFar, -kFar, kFar, grip.bottom + 2);
        break;
    }
    return grip.PtInRect(point);
}

BOOL CLibraryBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_nDragMode != kDragNone)
        return TRUE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    DWORD side = DockedSide();
    HICON hLeftRight = g_hIconResizeLeftRight, hUpDown = g_hIconResizeUpDown;
    if (InGrip(pt)) {
        HICON h = (side == CBRS_ALIGN_LEFT || side == CBRS_ALIGN_RIGHT) ? hLeftRight : hUpDown;
        if (h != nullptr)
            ::SetCursor(reinterpret_cast<HCURSOR>(h));
        return TRUE;
    }
    if (InSplitter(pt)) {
        HICON h = m_bWide ? hLeftRight : hUpDown;
        if (h != nullptr)
            ::SetCursor(reinterpret_cast<HCURSOR>(h));
        return TRUE;
    }
    return CControlBar::OnSetCursor(pWnd, nHitTest, message);
}

int CLibraryBar::ClampDrag(int pos) const
{
    CRect k;
    GetGripRects(nullptr, &k);
    switch (m_nDragMode) {
    case kDragSplitterRow:
        return std::max(50, std::min(pos, static_cast<int>(k.bottom) - 50));
    case kDragSplitterColumn:
        return std::max(50, std::min(pos, static_cast<int>(k.right) - 50));
    default: {
        CRect main(0, 0, 800, 600);
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->GetClientRect(&main);
        int limit = (m_nDragMode == kDragBarWidth ? main.right : main.bottom) - 10;
        return std::max(10, std::min(pos, limit)) - 3;
    }
    }
}

void CLibraryBar::DrawDragLine(int pos)
{
    CRect c;
    GetClientRect(&c);
    CRect band;
    switch (m_nDragMode) {
    case kDragSplitterRow:
        band.SetRect(0, pos - 2, c.right, pos + 2);
        break;
    case kDragSplitterColumn:
        band.SetRect(pos - 2, 0, pos + 2, c.bottom);
        break;
    case kDragBarWidth:
        if (DockedSide() == CBRS_ALIGN_RIGHT)
            pos = c.right - pos;
        band.SetRect(pos - 2, 0, pos + 2, c.bottom);
        break;
    default:
        if (DockedSide() == CBRS_ALIGN_BOTTOM)
            pos = c.bottom - pos;
        band.SetRect(0, pos - 2, c.right, pos + 2);
        break;
    }
    if (m_nDragMode >= kDragBarWidth && m_hScreenDC != nullptr) {
        ClientToScreen(&band);
        ::DrawFocusRect(m_hScreenDC, &band);
        band.DeflateRect(1, 1);
        ::DrawFocusRect(m_hScreenDC, &band);
        return;
    }
    CClientDC dc(this);
    ::DrawFocusRect(dc.m_hDC, &band);
    band.DeflateRect(1, 1);
    ::DrawFocusRect(dc.m_hDC, &band);
}

void CLibraryBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    DWORD side = DockedSide();
    if (InSplitter(point)) {
        m_nDragMode = m_bWide ? kDragSplitterColumn : kDragSplitterRow;
        m_nDragBase = m_bWide ? g_LibrarianSeparatorV : g_LibrarianSeparatorH;
    } else if (InGrip(point)) {
        m_nDragMode = (side == CBRS_ALIGN_TOP || side == CBRS_ALIGN_BOTTOM) ? kDragBarHeight : kDragBarWidth;
        m_nDragBase = m_nDragMode == kDragBarHeight ? g_LibBarSizeV : g_LibBarSizeH;
        m_hScreenDC = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    } else {
        CControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    SetCapture();
    m_ptDragStart = point;
    m_nDragPos = ClampDrag(m_nDragBase);
    DrawDragLine(m_nDragPos);
}

void CLibraryBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nDragMode != kDragNone) {
        int offset = (m_nDragMode == kDragSplitterColumn || m_nDragMode == kDragBarWidth)
                         ? point.x - m_ptDragStart.x
                         : point.y - m_ptDragStart.y;
        // A bar docked right or bottom grows when the grip moves towards the work area's far side.
        DWORD side = DockedSide();
        if ((m_nDragMode == kDragBarWidth && side == CBRS_ALIGN_RIGHT)
            || (m_nDragMode == kDragBarHeight && side == CBRS_ALIGN_BOTTOM))
            offset = -offset;
        int pos = ClampDrag(m_nDragBase + offset);
        if (pos != m_nDragPos) {
            DrawDragLine(m_nDragPos);
            m_nDragPos = pos;
            DrawDragLine(m_nDragPos);
        }
    }
    CControlBar::OnMouseMove(nFlags, point);
}

void CLibraryBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_nDragMode != kDragNone) {
        ::ReleaseCapture();
        DrawDragLine(m_nDragPos);
        switch (m_nDragMode) {
        case kDragSplitterRow:
            g_LibrarianSeparatorH = m_nDragPos;
            break;
        case kDragSplitterColumn:
            g_LibrarianSeparatorV = m_nDragPos;
            break;
        case kDragBarWidth:
            g_LibBarSizeH = m_nDragPos + 3;
            break;
        default:
            g_LibBarSizeV = m_nDragPos + 3;
            break;
        }
        if (m_nDragMode >= kDragBarWidth) {
            m_sizeDocked = CSize(g_LibBarSizeH, g_LibBarSizeV);
            if (CFrameWnd* pFrame = GetParentFrame())
                pFrame->RecalcLayout();
            if (m_hScreenDC != nullptr)
                ::DeleteDC(m_hScreenDC);
            m_hScreenDC = nullptr;
            if (g_pMainFrameHost != nullptr)
                g_pMainFrameHost->RequestArrange();
        }
        m_nDragMode = kDragNone;
        Invalidate();
        RecalcChildren();
    }
    CControlBar::OnLButtonUp(nFlags, point);
}

void CLibraryBar::OnRButtonDown(UINT, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return;
    CMenu* pPopup = menu.GetSubMenu(CONTEXT_LIBRARY_SELECTION);
    if (pPopup == nullptr)
        return;
    ClientToScreen(&point);
    CWnd* pTarget = AfxGetMainWnd() != nullptr ? AfxGetMainWnd() : this;
    if (point.x < ::GetSystemMetrics(SM_CXSCREEN) / 2)
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x - 10, point.y - 10, pTarget);
    else
        pPopup->TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, point.x + 10, point.y - 10, pTarget);
}

// ---- idle step and loads ----

void CLibraryBar::RequestFolderReload()
{
    m_bLoadPending = TRUE;
    m_dwFolderLoadTime = 1;
}

void CLibraryBar::OnIdle()
{
    if (!::IsWindow(m_hWnd))
        return;
    m_nIdleSteps++;
    CString old = m_strFolder;
    m_list.BuildThumbnailsForSlice();
    if (m_tree.m_bCreatingItem)
        return;
    m_wndToolBar0.Paint(FALSE);
    if (m_list.GetCount() > 0 && !m_list.LIBLIST_TRASH_MODE) {
        int caret = m_list.GetCaretIndex();
        CPicObject* pRecord = caret >= 0 ? m_list.GetRecord(caret) : nullptr;
        if (pRecord != nullptr && pRecord->RefreshIfStale()) {
            CRect r;
            if (m_list.GetItemRect(caret, &r) != LB_ERR)
                m_list.InvalidateRect(&r, FALSE);
        }
    }
    CString path = m_tree.GetSelectedPath();
    int kind = m_tree.GetSelectedKind();
    DWORD now = s_pfnNow();
    if (path != old) {
        m_strFolder = path;
        BOOL bNow = m_bLoadPending && m_dwFolderLoadTime == 1;
        m_dwFolderLoadTime = bNow ? now - 300 : now;
        m_bLoadPending = TRUE;
    }
    // Unsigned difference: right across the clock's wrap, and 0 is a time like any other.
    BOOL bDue = m_bLoadPending && (m_dwFolderLoadTime == 1 || now - m_dwFolderLoadTime >= kFolderLoadDelay);
    // Not while the list is being filled, or tells what its listing found: the load comes at a
    // later step, once.
    if (!bDue || m_list.IsFillUnderWay())
        return;
    // Done before the load: a folder chosen while the load tells in a box is loaded at a later step.
    m_bLoadPending = FALSE;
    m_dwFolderLoadTime = 0;
    m_list.StopLockedAnimation();
    // A reload of the folder shown (after a rename or a refresh from the list) leaves the keys in
    // the list: only a folder newly chosen hands them to the tree.
    const BOOL bReloadFromList = ::GetFocus() == m_list.m_hWnd && !m_strLoadedFolder.IsEmpty()
                                 && path.CompareNoCase(m_strLoadedFolder) == 0;
    switch (kind) {
    case LIB_KIND_ROOT:
        LoadNormalFolder(CString());
        break;
    case LIB_KIND_TRASH:
        LoadTrashFolder(path);
        break;
    case LIB_KIND_PROTECTED:
        LoadProtectedFolder(path);
        if (!g_bProtectedUnlocked)
            m_list.StartLockedAnimation();
        break;
    default:
        LoadNormalFolder(path);
        break;
    }
    m_nFolderLoads++;
    // The tree takes the focus, unless the user works in a picture window meanwhile or in another
    // program: a load never brings the program to the front.
    HWND hFocus = ::GetFocus();
    HWND hTop = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!bReloadFromList && (GetStyle() & WS_VISIBLE) && ::GetForegroundWindow() == hTop
        && (hFocus == nullptr || hFocus == hTop || hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus)))
        m_tree.SetFocus();
}

void CLibraryBar::ApplyView()
{
    // A window that cannot be made in the new view keeps the list in its former one.
    m_list.RecreateInView(this, ID_LIBBAR_LIST, g_TailleVignetteLibBar);
    m_wndToolBar0.m_pList = &m_list;
    RecalcChildren();
    Invalidate();
}

void CLibraryBar::LoadNormalFolder(const CString& path)
{
    m_list.ResetContent();
    m_strLoadedFolder = path;
    if (path.IsEmpty()) {
        UpdateStatusLine();
        return;
    }
    if (m_list.LIBLIST_TRASH_MODE) {
        m_list.LIBLIST_TRASH_MODE = FALSE;
        ApplyView();
    }
    m_list.LoadFolder(path);
    UpdateStatusLine();
}

void CLibraryBar::LoadProtectedFolder(const CString& path)
{
    m_list.ResetContent();
    m_strLoadedFolder = path;
    if (path.IsEmpty())
        return;
    if (m_list.LIBLIST_TRASH_MODE) {
        m_list.LIBLIST_TRASH_MODE = FALSE;
        ApplyView();
    }
    if (g_bProtectedUnlocked)
        m_list.LoadFolder(path);
    UpdateStatusLine();
}

void CLibraryBar::LoadTrashFolder(const CString& path)
{
    m_list.ResetContent();
    m_strLoadedFolder = path;
    if (path.IsEmpty())
        return;
    if (!m_list.LIBLIST_TRASH_MODE) {
        m_list.LIBLIST_TRASH_MODE = TRUE;
        ApplyView();
    }
    m_list.LoadFolder(path);
    UpdateStatusLine();
}

// ---- focus, palette, destroy ----

void CLibraryBar::FocusList()
{
    m_bListHasFocus = TRUE;
    if (::IsWindow(m_list.m_hWnd))
        m_list.SetFocus();
}

void CLibraryBar::KeysToBar()
{
    SetFocus();
    AfxKeysChosen();
}

void CLibraryBar::KeysToList()
{
    FocusList();
    AfxKeysChosen();
}

void CLibraryBar::DropFilesOnList(HDROP hDrop)
{
    if (::IsWindow(m_list.m_hWnd))
        m_list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop));
    else
        ::DragFinish(hDrop);
}

void CLibraryBar::OnSetFocus(CWnd* pOldWnd)
{
    CControlBar::OnSetFocus(pOldWnd);
    FocusLastPane();
}

void CLibraryBar::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CControlBar::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        return;
    FocusLastPane();
    OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CLibraryBar::FocusLastPane()
{
    if (m_bListHasFocus && ::IsWindow(m_list.m_hWnd))
        m_list.SetFocus();
    else if (::IsWindow(m_tree.m_hWnd))
        m_tree.SetFocus();
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusText1("");
}

LRESULT CLibraryBar::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    HWND hAsking = reinterpret_cast<HWND>(wParam);
    if (hAsking == nullptr || !::IsWindow(hAsking) || m_palette.m_hObject == nullptr)
        return 0;
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain != nullptr ? pMain->m_hWnd : m_hWnd;
    HDC hdc = ::GetDC(hMain);
    BOOL bBackground = IsSplashShowing() || hAsking != m_hWnd;
    HPALETTE hOld = ::SelectPalette(hdc, static_cast<HPALETTE>(m_palette.m_hObject), bBackground);
    if (hOld != nullptr) {
        if (::RealizePalette(hdc) != 0)
            Invalidate();
        ::SelectPalette(hdc, hOld, TRUE);
    }
    ::ReleaseDC(hMain, hdc);
    return 0;
}

void CLibraryBar::OnDestroy()
{
    if (::IsWindow(m_tree.m_hWnd))
        g_LibrarianLastPath = m_tree.GetSelectedPath();
    if (g_pLibraryLink == this)
        g_pLibraryLink = nullptr;
    CControlBar::OnDestroy();
}

// ---- commands of the bar itself ----

void CLibraryBar::OnLibNewFolder() { m_tree.BeginNewFolder(); }

void CLibraryBar::OnUpdateLibNewFolder(CCmdUI* pCmdUI)
{
    int kind = m_tree.GetSelectedKind();
    pCmdUI->Enable(m_tree.GetSelectedItem() != nullptr && kind != LIB_KIND_TRASH && kind != LIB_KIND_ROOT
                   && (kind != LIB_KIND_PROTECTED || g_bProtectedUnlocked));
}

void CLibraryBar::OnAddMode(UINT nID)
{
    if (nID == ID_LIB_ADD_UNCOMPRESSED)
        g_LibBarTypeCompression = 0;
    else if (nID == ID_LIB_ADD_JPEG)
        g_LibBarTypeCompression = 1;
    else if (nID == ID_LIB_ADD_PNG)
        g_LibBarTypeCompression = 2;
}

void CLibraryBar::OnUpdateAddMode(CCmdUI* pCmdUI)
{
    int mode = pCmdUI->m_nID == ID_LIB_ADD_UNCOMPRESSED ? 0 : (pCmdUI->m_nID == ID_LIB_ADD_JPEG ? 1 : 2);
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(g_LibBarTypeCompression == mode ? 1 : 0);
}

// ---- keyboard ----

BOOL CLibraryBar::PreTranslateMessage(MSG* pMsg)
{
    // A click in the list showing the locked protected folder asks for its password; the keys are then
    // the list's, as the click would have made them.
    if (pMsg->message == WM_LBUTTONDOWN && pMsg->hwnd == m_list.m_hWnd && !g_bProtectedUnlocked
        && m_tree.GetSelectedKind() == LIB_KIND_PROTECTED) {
        CCommandKeys keys(m_list.m_hWnd);
        BOOL bReload = FALSE;
        CheckProtectedAccess(kGateListClick, &bReload);
        if (bReload)
            RequestFolderReload();
        return TRUE;
    }
    // During a drag of pictures, Escape and Ctrl go to the list that drags them.
    if (g_nDragState != 0 && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP))
        return FALSE;
    if (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN)
        return CControlBar::PreTranslateMessage(pMsg);
    if (pMsg->message == WM_SYSKEYDOWN)
        return CControlBar::PreTranslateMessage(pMsg);
    if (m_tree.GetEditControl() != nullptr) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
    HWND hFocus = ::GetFocus();
    BOOL bListFocus = ::IsWindow(m_list.m_hWnd) && hFocus == m_list.m_hWnd;
    CWnd* pMain = AfxGetMainWnd();
    auto post = [this](UINT id) { PostMessage(WM_COMMAND, id); };
    auto send = [pMain](UINT id) {
        if (pMain != nullptr)
            pMain->SendMessage(WM_COMMAND, id);
    };
    switch (pMsg->wParam) {
    case VK_BACK:
        post(ID_LIB_PARENT_FOLDER);
        return TRUE;
    case VK_TAB:
        if (bListFocus) {
            m_bListHasFocus = FALSE;
            m_tree.SetFocus();
        } else {
            FocusList();
        }
        return TRUE;
    case VK_RETURN:
        if (bListFocus)
            SendMessage(WM_COMMAND, MAKEWPARAM(ID_LIBBAR_LIST, LBN_DBLCLK),
                        reinterpret_cast<LPARAM>(m_list.m_hWnd));
        else if (hFocus == m_tree.m_hWnd)
            m_tree.ToggleItem(m_tree.GetSelectedItem());
        return TRUE;
    case VK_ESCAPE:
    case VK_F9:
        send(ID_VIEW_LIBRARY_BAR);
        return TRUE;
    case VK_SPACE:
        if (pMain != nullptr) {
            HWND hActive = AfxGetActiveMdiChild(pMain->m_hWnd);
            if (hActive != nullptr)
                ::SetFocus(hActive);
        }
        return TRUE;
    case VK_INSERT:
        if (bCtrl) {
            FocusList();
            post(ID_LIB_COPY);
        } else if (bShift) {
            post(ID_EDIT_PASTE_NEW);
        } else {
            post(ID_LIB_NEW_FOLDER);
        }
        return TRUE;
    case VK_DELETE:
        if (pMain != nullptr)
            pMain->PostMessage(WM_COMMAND, ID_LIB_DELETE);
        return TRUE;
    case 'A':
        if (bCtrl) {
            FocusList();
            post(ID_LIB_SELECT_ALL);
        }
        return TRUE;
    case 'C':
        if (bListFocus && bCtrl) {
            FocusList();
            post(ID_LIB_COPY);
        }
        return TRUE;
    case 'E':
        if (bCtrl)
            post(ID_NEW_EXPLORER);
        return TRUE;
    case 'O':
        if (bCtrl)
            post(ID_FILE_OPEN);
        return TRUE;
    case 'P':
        if (bCtrl)
            post(ID_FILE_PRINT);
        return TRUE;
    case 'S':
        if (bCtrl)
            post(ID_TWAIN_ACQUIRE);
        return TRUE;
    case 'V':
        if (bCtrl)
            post(ID_EDIT_PASTE_NEW);
        return TRUE;
    case VK_MULTIPLY:
        if (!bListFocus)
            break;
        post(ID_LIB_INVERT_SELECTION);
        return TRUE;
    case VK_ADD:
        if (!bListFocus)
            break;
        post(bCtrl ? ID_LIB_SELECT_ALL : ID_LIB_SELECT_PATTERN);
        return TRUE;
    case VK_SUBTRACT:
        if (!bListFocus)
            break;
        post(bCtrl ? ID_LIB_DESELECT_ALL : ID_LIB_DESELECT_PATTERN);
        return TRUE;
    case VK_F1:
        send(ID_HELP);
        return TRUE;
    case VK_F2:
        send(ID_PREFERENCES);
        return TRUE;
    case VK_F5:
        send(ID_LIB_REFRESH);
        return TRUE;
    case VK_F6:
        send(ID_LIB_ADD_UNCOMPRESSED);
        return TRUE;
    case VK_F7:
        send(ID_LIB_ADD_JPEG);
        return TRUE;
    case VK_F8:
        send(ID_LIB_ADD_PNG);
        return TRUE;
    case VK_F11:
        send(ID_WINDOW_AUTO_REORGANIZE);
        return TRUE;
    case VK_F12:
        send(ID_WINDOW_REORGANIZE);
        return TRUE;
    default:
        break;
    }
    ::TranslateMessage(pMsg);
    ::DispatchMessageW(pMsg);
    return TRUE;
}
