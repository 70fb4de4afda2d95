// CPicListBox: the owner-drawn thumbnail list of the library bar, the explorer and the search window.
// Its items are picture records (CPicObject) it owns, or trash records (CDelObject) drawn as text
// rows; it fills itself from folders, change lines and search hits, and builds the missing
// thumbnails one per idle step. CPicListOwner is what a window holding a list answers to it.
#pragma once
#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/String.h"

#include <functional>
#include <unordered_map>
#include <vector>

class CObject;
class CPicObject;
class CDelObject;
class CPicListBox;
class CStringArray;
struct PicDragSource;
struct PicDropDecision;

// The window that holds a list (library bar, explorer view, search view) derives from this too; the
// list finds it as its parent window.
class CPicListOwner {
public:
    virtual ~CPicListOwner() = default;
    // The folder the list shows; change lines name files in it.
    virtual CString GetListFolder() { return CString(); }
    // The list's content changed (a fill, a refresh): the owner refreshes its status texts.
    virtual void OnListContentChanged(CPicListBox* pList) {}
    // The list got or lost the input focus.
    virtual void OnListFocusChanged(CPicListBox* pList, BOOL bHasFocus) {}
    // TRUE for the library bar, the only owner told of a trash fill.
    virtual BOOL IsLibraryOwner() const { return FALSE; }
};

// The busy animation over a list: a white background, no run-time class of its own.
class CBusyAnimateCtrl : public CAnimateCtrl {
public:
    BOOL OnEraseBkgnd(CDC* pDC);

protected:
    DECLARE_MESSAGE_MAP()
};

// The sums the status panes of a list window show.
struct PicListTotals {
    int count = 0; // records listed
    DWORD size = 0;
    int selectedCount = 0;
    DWORD selectedSize = 0;
    int missingThumbnails = 0;
};

class CPicListBox : public CListBox {
    DECLARE_DYNCREATE(CPicListBox)
public:
    // Members from the settings "DefaultSortBy" and "DefaultSortOrder"; loads the shared cell
    // bitmaps on first use.
    CPicListBox();
    ~CPicListBox() override;

    // The list window (id 101 for every owner), laid out by the owner afterwards. View and trash
    // mode are read here and stay for the window's life.
    BOOL Create(CWnd* pParent, UINT nID);

    void StartLoadingAnimation();
    void StopLoadingAnimation();
    void StartLockedAnimation();
    void StopLockedAnimation();

    // The first item whose rectangle holds the point (client coordinates), or -1.
    int HitTestItem(CPoint point);
    // Re-sorts after a change of m_nSortKey or m_nSortOrder, keeping the same records; selects item 0.
    // Nothing in trash mode.
    void Resort();

    // ---- Filling (folder scan, merge refresh, change lines, search hits) ----
    // The three fills below are the list's listings: what one has to tell (a file set aside that is
    // kept) is said once the list is filled, never from inside it. One asked while another fill of
    // this list runs or tells is not run then: the last one asked runs once that one is over.
    // TRUE while a fill runs or tells: an owner's idle load waits for a later step.
    BOOL IsFillUnderWay() const { return m_bFilling || m_bTellingFill; }
    // Empties the list and fills it from the folder; 1 when something was added.
    int LoadFolder(CString folder);
    // Brings the list in line with the folder, keeping the items of unchanged files (their records,
    // thumbnails and selection); an item whose record file another program changed takes the record
    // the file now holds. 1 when the folder holds a picture (and always in trash mode).
    int RefreshFolder(CString folder);
    // Applies folder-change lines: 'N' name added, 'M' name modified, 'D' name deleted.
    int AddFiles(CStringArray* lines);
    // A new record of the file (the caller owns it), or null when the file is not found.
    CPicObject* CreateRecordFromFile(CString path);
    // The folder the owner says the list shows, or empty.
    CString GetOwnerFolder();
    // Empties the list and fills it with the pictures among full paths. Returns 1.
    int LoadSearchResults(CStringArray& hits);
    // Moves the item's record to its sorted place after its name or data changed and selects it.
    int ResortItem(int index);
    // Builds at most one missing thumbnail, a selected item's first. 1 when one was tried (or there
    // was nothing to do by the list's settings), 0 when none is missing.
    int BuildNextThumbnail();
    // One idle step of the builder: builds missing thumbnails, in BuildNextThumbnail's order, for as
    // long as a short time slice allows and no input waits, so that small pictures go at the
    // decoder's speed and the window stays responsive. BuildNextThumbnail's result for the last one.
    int BuildThumbnailsForSlice();
    // The longest an idle step keeps starting new builds (ms).
    static const DWORD kBuildSliceMs = 45;
    DWORD m_nBuildSliceMs = kBuildSliceMs;
    // An idle step ends early when the user's input waits (FALSE: the slice alone ends it).
    BOOL m_bYieldToInput = TRUE;

    // ---- Records ----
    // Gives up every record to the caller, in index order, and empties the list (for a view change:
    // the owner re-creates the window and adds them back).
    void TakeRecords(std::vector<CObject*>& records);
    // Adds records the list then owns (each placed in sort order).
    void AddRecords(const std::vector<CObject*>& records);
    // Makes the list window again in another view, moving its records into it. When the window cannot
    // be made in that view, the list comes back in its former view with its records; TRUE only when
    // it shows the new view. Should neither window be made, the records are freed and the list is
    // left without a window. A list that had the keys has them again.
    BOOL RecreateInView(CWnd* pParent, UINT nID, int view);
    CPicObject* GetRecord(int index) const;
    // Device bitmaps held by this list's records (made when drawn, released far from view).
    int GetDeviceBitmapCount() const { return static_cast<int>(m_bitmapHolders.size()); }
    // The sums of the records and of the selected ones, counted again only once the list has changed
    // (PicListBoxTotals.cpp): the status panes ask at every tick, and a large list at rest costs
    // nothing.
    const PicListTotals& GetTotals();
    // Notes every change the window may see (anything but a question) for GetTotals.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Owner drawing.
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    int CompareItem(LPCOMPAREITEMSTRUCT lpCIS) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnDropFiles(HDROP hDropInfo);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);

    // ---- mouse, keys, context menu, drag and drop (PicListBoxInput.cpp, PicListDrag.h) ----
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnCaptureChanged(CWnd* pWnd);
    // WM_PICLIST_IDENTIFY: the answer of a list whose parent is an explorer view, else 0.
    LRESULT OnPicListIdentify(WPARAM wParam, LPARAM lParam);
    // Ends a drag (or a pending one) from this list with nothing moved.
    void CancelDrag();
    // Moves the dragged items' records before the item that stood at dropIndex before the move (-1
    // or past the end: to the end), in their order; they end selected, alone.
    void MoveDraggedItems(int dropIndex);
    // The kind of window holding the list (PicSiteKind).
    int SiteKind() const;

    CFont m_font;
    int m_nSortKey;
    int m_nSortOrder;
    int m_nView = 0;
    BOOL m_bPreviewSelected = FALSE;
    BOOL m_bLoadingShown = FALSE;
    BOOL m_bLockedShown = FALSE;
    BOOL m_bBuildThumbnails = TRUE;
    BOOL m_bKeepRecords = FALSE;
    BOOL m_bHideExtensions = FALSE;
    BOOL LIBLIST_TRASH_MODE = FALSE;
    // The trash rows' name column: the widest name listed (120 at least), at most half a row.
    int m_nTrashNameWidth = 120;
    int m_nAnchor = -1;
    CBusyAnimateCtrl m_animLoading;
    CBusyAnimateCtrl m_animLocked;

    // How long a missing or busy picture waits before the builder tries it again (ms).
    static const DWORD kBuildRetryDelay = 2000;

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend struct PicListDraw;
    void DrawPictureItem(LPDRAWITEMSTRUCT lpDIS, CPicObject* pRecord);
    void DrawTrashItem(LPDRAWITEMSTRUCT lpDIS, CDelObject* pRecord);
    // Sizes the trash rows' name column to the names listed.
    void MeasureTrashNames();
    // Makes the record's device bitmap from its thumbnail if it has none; FALSE when it cannot.
    BOOL EnsureDeviceBitmap(CPicObject* pRecord);
    // Releases the device bitmaps of records far from the visible items (pKeep excepted).
    void TrimDeviceBitmaps(CPicObject* pKeep);
    int VisibleCellCount() const;
    int DeviceBitmapBudget() const;
    void RegisterHolder(CObject* pRecord);
    void ForgetRecord(CPicObject* pRecord);
    void InvalidateSelected();
    static void LoadSharedCellBitmaps();
    void NotifyOwner(BOOL bTrashFill);
    void RecordDragItems();
    BOOL PointOnSelectedItem(CPoint point);
    void BeginPendingDrag(CPoint point);
    PicDragSource DragSourceInfo();
    // ctrl: the Ctrl key as the message being handled found it, never as it is now.
    PicDropDecision TrackDrag(CPoint point, BOOL ctrl);
    // The keys of explorer and search lists; FALSE for a key the list box handles itself.
    BOOL HandleListKey(UINT nChar);
    void InvalidateItem(int index);
    // The builder's choice, in its order: a selected item, an item on screen, then any other from
    // where the last search stopped. The index, kNothingToBuild, or kNullRecordMet.
    enum { kNothingToBuild = -1, kNullRecordMet = -2 };
    BOOL NeedsThumbnail(CPicObject* pRecord, DWORD now) const;
    int PickSelectedToBuild(DWORD now);
    int PickVisibleToBuild(DWORD now);
    int PickNextToBuild(DWORD now);
    // Runs fill as the list's one listing (see IsFillUnderWay), then says what it held back.
    int RunFill(std::function<int()> fill);
    int LoadFolderNow(const CString& folder);
    int RefreshFolderNow(const CString& folder);
    int LoadSearchResultsNow(const std::vector<CString>& hits);
    // Adds the records of the folder's pictures (the scan of LoadFolder and RefreshFolder).
    void ScanFolder(const CString& folder, std::vector<CPicObject*>* pScanned, BOOL bAnimate, int* pCount);
    int LoadTrashFolder(const CString& folder);
    // pRecordTime: the last write of the picture's record file as the scan found it (null: not found).
    CPicObject* RecordFromEntry(const CString& folder, const WIN32_FIND_DATAA& entry,
                                const FILETIME* pRecordTime);

    BOOL m_bFilling = FALSE;
    BOOL m_bTellingFill = FALSE;
    // The last fill asked while another ran or told, to run once that one is over.
    std::function<int()> m_owedFill;
    std::vector<CPicObject*> m_bitmapHolders;
    // Pictures found missing or busy by the builder, with the tick before which they wait.
    std::unordered_map<CPicObject*, DWORD> m_retryAfter;
    // Cleared when the builder found every thumbnail made (with that many items), set by every
    // addition: an idle step then costs nothing on a large folder that is complete.
    BOOL m_bMaybeMissing = TRUE;
    int m_nCountWhenComplete = -1;
    // Where the builder's search of the whole list resumes: the items before it were done when it
    // last looked (a search that finds nothing from there looks at them again).
    int m_nBuildHint = 0;
    // Moves with every change of the window or of a record's state; the sums were counted at
    // m_nTotalsStamp.
    DWORD m_nChangeStamp = 1;
    DWORD m_nTotalsStamp = 0;
    PicListTotals m_totals;
};

// Sort order of two picture records by key (0 name, 1 type, 2 date, 3 size) and order (1 reverses):
// -1 puts a first. Names compare without case through the program's ANSI helper, so accented names
// sort as in French.
int ComparePicRecords(const CPicObject* a, const CPicObject* b, int key, int order);
// Trash rows: the most recent deletion first, whatever the key.
int CompareTrashRecords(const CDelObject* a, const CDelObject* b);

// The name a cell shows: base name alone when extensions are hidden, else the file name on disk.
CString PicListNameLabel(const CPicObject* pRecord, BOOL bHideExtensions);

// A new font for the names and texts under thumbnails (the caller deletes it): Arial at 7 points, or
// the next size where the face would show "\xC9t\xE9" as "Et\xE9" at 7.
HFONT CreateThumbnailCaptionFont();

// Fills a record from a directory entry: path, names by the name rule, sizes, DOS date and time (local
// time), info text, type; no thumbnail.
void FillRecordFromEntry(CPicObject* pRecord, const CString& path, const WIN32_FIND_DATAA& entry);
// "(%ld k - %02d/%02d/%02d)", or "(0,%ld k - ...)" in tenths below one kilobyte.
CString PicInfoText(DWORD size, WORD dosDate);
// folder + name with one backslash between them.
CString JoinFolderPath(const CString& folder, const CString& name);
// TRUE when the name is a picture the lists show (category image, known type).
BOOL IsListedPicture(LPCSTR name);
