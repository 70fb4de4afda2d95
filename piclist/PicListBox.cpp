// CPicListBox: the window, its busy animations, the sort order, record ownership and the device
// bitmaps its records hold while they are near the view.
#include "piclist/PicListBox.h"
#include "piclist/ListSortKeys.h"

#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "core/DrawUtil.h"
#include "framework/Dc.h"
#include "piclist/DelObject.h"
#include "piclist/ListCellLayout.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicObject.h"

#include <algorithm>
#include <unordered_set>

IMPLEMENT_DYNCREATE(CPicListBox, CListBox)

BEGIN_MESSAGE_MAP(CBusyAnimateCtrl, CAnimateCtrl)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CPicListBox, CListBox)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DROPFILES()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_SYSKEYDOWN()
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(WM_PICLIST_IDENTIFY, OnPicListIdentify)
END_MESSAGE_MAP()

namespace {

const UINT kAnimationId = 102;
const DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED
                         | LBS_NOINTEGRALHEIGHT | LBS_MULTICOLUMN | LBS_EXTENDEDSEL;
const DWORD kTrashStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED
                          | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL;
// Played only while shown: a control that plays by itself keeps a thread drawing its hidden frames
// ten times a second for the list's whole life.
const DWORD kAnimationStyle = WS_CHILD | WS_VISIBLE | ACS_CENTER;
const UINT kLoadingAvi = 258;
const UINT kLockedAvi = 401;

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

} // namespace

BOOL CBusyAnimateCtrl::OnEraseBkgnd(CDC* pDC)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::PatBlt(pDC->GetSafeHdc(), 0, 0, rc.right, rc.bottom, WHITENESS);
    return TRUE;
}

// ---- sort order ----

int ComparePicRecords(const CPicObject* a, const CPicObject* b, int key, int order)
{
    int result = 0;
    switch (key) {
    case kSortByName:
        result = Sign(AfxAnsiCompareNoCase(a->m_strBaseName, b->m_strBaseName));
        break;
    case kSortByType:
        result = Sign(AfxAnsiCompareNoCase(a->m_strExt, b->m_strExt));
        if (result == 0)
            result = Sign(AfxAnsiCompareNoCase(a->m_strBaseName, b->m_strBaseName));
        break;
    case kSortByDate:
        result = a->m_dwDateTime > b->m_dwDateTime ? -1 : (a->m_dwDateTime < b->m_dwDateTime ? 1 : 0);
        break;
    case kSortBySize:
        result = a->m_lFileSize > b->m_lFileSize ? -1 : (a->m_lFileSize < b->m_lFileSize ? 1 : 0);
        break;
    default:
        return 0;
    }
    return order == kSortDescending ? -result : result;
}

int CompareTrashRecords(const CDelObject* a, const CDelObject* b)
{
    DWORD ka = (a->m_dwDelDate << 16) + a->m_dwDelTime;
    DWORD kb = (b->m_dwDelDate << 16) + b->m_dwDelTime;
    return ka > kb ? -1 : (ka < kb ? 1 : 0);
}

CString PicListNameLabel(const CPicObject* pRecord, BOOL bHideExtensions)
{
    // The name as it is on disk: the record's extension is lower case.
    return bHideExtensions ? pRecord->m_strBaseName : pRecord->NameOnDisk();
}

namespace {

// Drawn without smoothing: at a label's few pixels a smoothed capital's accent fades to a light grey
// dot, and "\xC9t\xE9" reads as "Et\xE9".
HFONT CreateArialFont(int height)
{
    return ::CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FF_SWISS, "Arial");
}

} // namespace

HFONT CreateThumbnailCaptionFont()
{
    // Its height asked once: every list has the same.
    static const int height = [] {
        const int seven = MulDiv(-7, 96, 72);
        HFONT font = CreateArialFont(seven);
        const BOOL accents = font == nullptr || FontDrawsCapitalAccents(font);
        if (font != nullptr)
            ::DeleteObject(font);
        return accents ? seven : seven - 1;
    }();
    return CreateArialFont(height);
}

// ---- construction ----

CPicListBox::CPicListBox() : m_nSortKey(g_DefaultSortBy), m_nSortOrder(g_DefaultSortOrder)
{
    m_font.Attach(CreateThumbnailCaptionFont());
    LoadSharedCellBitmaps();
}

CPicListBox::~CPicListBox()
{
    if (m_animLocked.m_hWnd != nullptr)
        m_animLocked.DestroyWindow();
    if (m_animLoading.m_hWnd != nullptr)
        m_animLoading.DestroyWindow();
    m_font.DeleteObject();
    // Destroying the window empties the list, which destroys every record.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CPicListBox::Create(CWnd* pParent, UINT nID)
{
    RECT rc = {10, 10, 30, 30};
    if (!CListBox::Create(LIBLIST_TRASH_MODE ? kTrashStyle : kListStyle, rc, pParent, nID))
        return FALSE;
    if (!LIBLIST_TRASH_MODE)
        SetColumnWidth(ListCellSize(m_nView, FALSE).cx);
    return TRUE;
}

int CPicListBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (static_cast<int>(Default()) == -1)
        return -1;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    m_animLoading.Create(kAnimationStyle, rc, this, kAnimationId);
    m_animLoading.Open(kLoadingAvi);
    m_animLoading.ShowWindow(SW_HIDE);
    m_animLocked.Create(kAnimationStyle, rc, this, kAnimationId);
    m_animLocked.Open(kLockedAvi);
    m_animLocked.ShowWindow(SW_HIDE);
    return 0;
}

void CPicListBox::OnSize(UINT nType, int cx, int cy)
{
    Default();
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    int left = (rc.right - 100) / 2;
    int top = (rc.bottom - 60) / 2;
    if (m_animLoading.m_hWnd != nullptr)
        ::MoveWindow(m_animLoading.m_hWnd, left, top, 100, 60, TRUE);
    if (m_animLocked.m_hWnd != nullptr)
        ::MoveWindow(m_animLocked.m_hWnd, left, top, 100, 60, TRUE);
}

BOOL CPicListBox::OnEraseBkgnd(CDC* pDC)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::FillRect(pDC->GetSafeHdc(), &rc, white);
    return TRUE;
}

void CPicListBox::OnDropFiles(HDROP hDropInfo)
{
    // Files dropped from other programs are accepted and let go, with no other effect.
    ::DragFinish(hDropInfo);
}

void CPicListBox::OnSetFocus(CWnd* pOldWnd)
{
    Default();
    if (auto* pOwner = dynamic_cast<CPicListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
        pOwner->OnListFocusChanged(this, TRUE);
    InvalidateSelected();
}

void CPicListBox::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (auto* pOwner = dynamic_cast<CPicListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
        pOwner->OnListFocusChanged(this, FALSE);
    InvalidateSelected();
}

void CPicListBox::InvalidateSelected()
{
    int count = GetSelCount();
    if (count <= 0)
        return;
    std::vector<int> items(static_cast<size_t>(count));
    count = GetSelItems(count, items.data());
    for (int i = 0; i < count; i++) {
        RECT rc;
        if (GetItemRect(items[static_cast<size_t>(i)], &rc) != LB_ERR)
            ::InvalidateRect(m_hWnd, &rc, FALSE);
    }
}

// ---- busy animations ----

namespace {

void StartAnimation(CBusyAnimateCtrl& anim, BOOL& shown)
{
    if (shown || anim.m_hWnd == nullptr)
        return;
    anim.ShowWindow(SW_SHOW);
    anim.Seek(0);
    anim.Play(0, 14, static_cast<UINT>(-1));
    ::InvalidateRect(anim.m_hWnd, nullptr, TRUE);
    ::UpdateWindow(anim.m_hWnd);
    shown = TRUE;
}

void StopAnimation(CBusyAnimateCtrl& anim, BOOL& shown)
{
    if (!shown || anim.m_hWnd == nullptr)
        return;
    anim.Stop();
    anim.Seek(0);
    anim.ShowWindow(SW_HIDE);
    shown = FALSE;
}

} // namespace

void CPicListBox::StartLoadingAnimation() { StartAnimation(m_animLoading, m_bLoadingShown); }
void CPicListBox::StopLoadingAnimation() { StopAnimation(m_animLoading, m_bLoadingShown); }
void CPicListBox::StartLockedAnimation() { StartAnimation(m_animLocked, m_bLockedShown); }
void CPicListBox::StopLockedAnimation() { StopAnimation(m_animLocked, m_bLockedShown); }

int CPicListBox::HitTestItem(CPoint point)
{
    CClientDC dc(this);
    ::DPtoLP(dc.GetSafeHdc(), &point, 1);
    int count = GetCount();
    for (int i = 0; i < count; i++) {
        RECT rc;
        if (GetItemRect(i, &rc) != LB_ERR && ::PtInRect(&rc, point))
            return i;
    }
    return -1;
}

// ---- owner-draw protocol ----

void CPicListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    SIZE size = ListCellSize(m_nView, LIBLIST_TRASH_MODE);
    lpMIS->itemWidth = static_cast<UINT>(size.cx);
    lpMIS->itemHeight = static_cast<UINT>(size.cy);
}

int CPicListBox::CompareItem(LPCOMPAREITEMSTRUCT lpCIS)
{
    if (lpCIS->itemData1 == 0 || lpCIS->itemData2 == 0)
        return 0;
    if (LIBLIST_TRASH_MODE) {
        return CompareTrashRecords(reinterpret_cast<const CDelObject*>(lpCIS->itemData1),
                                   reinterpret_cast<const CDelObject*>(lpCIS->itemData2));
    }
    return ComparePicRecords(reinterpret_cast<const CPicObject*>(lpCIS->itemData1),
                             reinterpret_cast<const CPicObject*>(lpCIS->itemData2), m_nSortKey, m_nSortOrder);
}

void CPicListBox::DeleteItem(LPDELETEITEMSTRUCT lpDIS)
{
    if (lpDIS->itemData == 0 || lpDIS->itemID == static_cast<UINT>(-1))
        return;
    CObject* pRecord = reinterpret_cast<CObject*>(lpDIS->itemData);
    if (!LIBLIST_TRASH_MODE)
        ForgetRecord(static_cast<CPicObject*>(pRecord));
    delete pRecord;
}

CPicObject* CPicListBox::GetRecord(int index) const
{
    if (LIBLIST_TRASH_MODE || m_hWnd == nullptr)
        return nullptr;
    LRESULT data = ::SendMessageA(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR || data == 0)
        return nullptr;
    return reinterpret_cast<CPicObject*>(data);
}

// ---- ownership: records move, they are never copied ----

void CPicListBox::TakeRecords(std::vector<CObject*>& records)
{
    int count = GetCount();
    records.reserve(records.size() + static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; i++) {
        LRESULT data = ::SendMessageA(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (data != LB_ERR && data != 0)
            records.push_back(reinterpret_cast<CObject*>(data));
        SetItemDataPtr(i, nullptr);
    }
    m_bitmapHolders.clear();
    m_retryAfter.clear();
    ResetContent();
}

BOOL CPicListBox::RecreateInView(CWnd* pParent, UINT nID, int view)
{
    std::vector<CObject*> records;
    // The keys of the window destroyed go to the one made in its place, not nowhere.
    const BOOL hadKeys = ::IsWindow(m_hWnd) && ::GetFocus() == m_hWnd;
    if (::IsWindow(m_hWnd)) {
        TakeRecords(records);
        DestroyWindow();
    }
    const int former = m_nView;
    m_nView = view;
    BOOL shown = Create(pParent, nID);
    if (!shown) {
        m_nView = former;
        if (!Create(pParent, nID)) {
            for (CObject* pRecord : records)
                delete pRecord;
            return FALSE;
        }
    }
    AddRecords(records);
    if (hadKeys)
        SetFocus();
    return shown;
}

void CPicListBox::AddRecords(const std::vector<CObject*>& records)
{
    if (records.empty())
        return;
    m_bMaybeMissing = TRUE;
    std::vector<CObject*> sorted(records);
    if (LIBLIST_TRASH_MODE) {
        std::stable_sort(sorted.begin(), sorted.end(), [](CObject* a, CObject* b) {
            return CompareTrashRecords(static_cast<CDelObject*>(a), static_cast<CDelObject*>(b)) < 0;
        });
    } else {
        int key = m_nSortKey;
        int order = m_nSortOrder;
        std::stable_sort(sorted.begin(), sorted.end(), [key, order](CObject* a, CObject* b) {
            return ComparePicRecords(static_cast<CPicObject*>(a), static_cast<CPicObject*>(b), key, order)
                   < 0;
        });
    }
    if (GetCount() == 0) {
        // An empty list takes the sorted records in one pass, without asking for comparisons and
        // without updating its scroll bar for each.
        BOOL redraw = ::IsWindowVisible(m_hWnd);
        if (redraw)
            SetRedraw(FALSE);
        ::SendMessageA(m_hWnd, LB_INITSTORAGE, sorted.size(), 0);
        for (CObject* pRecord : sorted) {
            RegisterHolder(pRecord);
            InsertString(-1, reinterpret_cast<LPCSTR>(pRecord));
        }
        if (redraw) {
            SetRedraw(TRUE);
            Invalidate(TRUE);
        }
    } else {
        for (CObject* pRecord : sorted) {
            RegisterHolder(pRecord);
            AddString(reinterpret_cast<LPCSTR>(pRecord));
        }
    }
}

void CPicListBox::RegisterHolder(CObject* pRecord)
{
    if (LIBLIST_TRASH_MODE)
        return;
    CPicObject* pPic = static_cast<CPicObject*>(pRecord);
    if (pPic->m_bmThumb.GetSafeHandle() != nullptr
        && std::find(m_bitmapHolders.begin(), m_bitmapHolders.end(), pPic) == m_bitmapHolders.end())
        m_bitmapHolders.push_back(pPic);
}

void CPicListBox::Resort()
{
    if (LIBLIST_TRASH_MODE || m_hWnd == nullptr)
        return;
    SetAppCursor(kAppCursorBusy);
    std::vector<CObject*> records;
    std::vector<CPicObject*> holders;
    holders.swap(m_bitmapHolders);
    SetRedraw(FALSE);
    TakeRecords(records);
    AddRecords(records);
    // The same records keep their device bitmaps: only the list of holders was rebuilt.
    m_bitmapHolders.clear();
    for (CPicObject* pRecord : holders)
        m_bitmapHolders.push_back(pRecord);
    if (GetCount() > 0)
        SetSel(0, TRUE);
    SetRedraw(TRUE);
    Invalidate(TRUE);
    RestoreAppCursor();
}

// ---- device bitmaps near the view only ----

BOOL CPicListBox::EnsureDeviceBitmap(CPicObject* pRecord)
{
    if (pRecord->m_bmThumb.GetSafeHandle() != nullptr)
        return TRUE;
    if (pRecord->GetThumbBitmap() == nullptr)
        return FALSE;
    // A record rebuilt since it was last drawn may still be listed here.
    if (std::find(m_bitmapHolders.begin(), m_bitmapHolders.end(), pRecord) == m_bitmapHolders.end())
        m_bitmapHolders.push_back(pRecord);
    if (static_cast<int>(m_bitmapHolders.size()) > DeviceBitmapBudget())
        TrimDeviceBitmaps(pRecord);
    return pRecord->m_bmThumb.GetSafeHandle() != nullptr;
}

int CPicListBox::VisibleCellCount() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    SIZE cell = ListCellSize(m_nView, LIBLIST_TRASH_MODE);
    int rows = std::max(1, static_cast<int>((rc.bottom + cell.cy - 1) / cell.cy));
    int columns = LIBLIST_TRASH_MODE ? 1 : std::max(1, static_cast<int>(rc.right / cell.cx) + 1);
    return rows * columns;
}

int CPicListBox::DeviceBitmapBudget() const { return std::max(64, 3 * VisibleCellCount()); }

void CPicListBox::TrimDeviceBitmaps(CPicObject* pKeep)
{
    int visible = VisibleCellCount();
    int top = GetTopIndex();
    int first = std::max(0, top - visible / 2);
    int last = std::min(GetCount() - 1, top + visible + visible / 2);
    std::unordered_set<CPicObject*> nearView;
    for (int i = first; i <= last; i++) {
        if (CPicObject* pRecord = GetRecord(i))
            nearView.insert(pRecord);
    }
    std::vector<CPicObject*> kept;
    for (CPicObject* pRecord : m_bitmapHolders) {
        if (pRecord == pKeep || nearView.count(pRecord) != 0)
            kept.push_back(pRecord);
        else
            pRecord->ReleaseThumbBitmap();
    }
    m_bitmapHolders.swap(kept);
}

void CPicListBox::ForgetRecord(CPicObject* pRecord)
{
    m_bitmapHolders.erase(std::remove(m_bitmapHolders.begin(), m_bitmapHolders.end(), pRecord),
                          m_bitmapHolders.end());
    m_retryAfter.erase(pRecord);
}

void CPicListBox::InvalidateItem(int index)
{
    RECT rc;
    if (GetItemRect(index, &rc) == LB_ERR)
        return;
    CClientDC dc(this);
    ::LPtoDP(dc.GetSafeHdc(), reinterpret_cast<POINT*>(&rc), 2);
    ::InvalidateRect(m_hWnd, &rc, FALSE);
    ::UpdateWindow(m_hWnd);
}

void CPicListBox::NotifyOwner(BOOL bTrashFill)
{
    auto* pOwner = dynamic_cast<CPicListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    if (pOwner == nullptr)
        return;
    if (bTrashFill && !pOwner->IsLibraryOwner())
        return;
    pOwner->OnListContentChanged(this);
}

CString CPicListBox::GetOwnerFolder()
{
    auto* pOwner = dynamic_cast<CPicListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    return pOwner != nullptr ? pOwner->GetListFolder() : CString();
}
