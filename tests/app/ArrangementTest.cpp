// The arrangement of the picture windows: the near-square grid for 1, 2, 3, 10 and 17 windows, the
// whole-window mode, a new window that first shows in its own cell, and a window restored from its
// icon that comes back straight into its cell.
#include "tests/app/AppFixture.h"

#include "shell/Settings.h"
#include "app/ViewGrid.h"
#include "explorer/SearchWorker.h"
#include "core/PackedDib.h"
#include "framework/MDIChildWnd.h"
#include "resources/resource.h"

#include <ostream>
#include <vector>

// Rectangles in failure messages.
void PrintTo(const CRect& rect, std::ostream* os)
{
    *os << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
}

namespace {

struct GridCase {
    int count;
    std::vector<int> rows;
};

const GridCase kGridCases[] = {
    {1, {1}},       {2, {1, 1}},    {3, {1, 2}},        {4, {2, 2}},           {5, {1, 2, 2}},
    {7, {2, 2, 3}}, {9, {3, 3, 3}}, {10, {2, 2, 3, 3}}, {17, {3, 3, 3, 4, 4}},
};

// A window's rectangle in the coordinates of the MDI client.
CRect RectInClient(CWnd* pWnd, HWND hClient)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Where each MDI child stood when it was first shown, and the MDI client's area then.
struct Shown {
    HWND hWnd;
    CRect rect;
    CRect area;
};
std::vector<Shown>& ShownAt()
{
    static std::vector<Shown> shown;
    return shown;
}

LRESULT CALLBACK RecordShow(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* p = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && p->message == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(p->lParam);
        if ((pos->flags & SWP_SHOWWINDOW) != 0 && (::GetWindowLongA(p->hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
            CRect area;
            ::GetClientRect(::GetParent(p->hwnd), &area);
            ShownAt().push_back({p->hwnd, CRect(pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy), area});
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

HGLOBAL SmallPicture()
{
    PackedDIB dib = CreateDIB(12, 6, 24);
    return dib;
}

class ArrangeTest : public AppTest {
protected:
    // A main window of a fixed size; the grid of its picture area.
    void StartSized(int reorganizeType)
    {
        PutSetting("specs", "ReorganizeType", static_cast<DWORD>(reorganizeType));
        PutSetting("specs", "AutoReorganize", 1);
        ASSERT_TRUE(Start());
        m_pFrame->ShowWindow(SW_RESTORE);
        m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 640, SWP_NOZORDER);
        Pump();
        m_hClient = m_pFrame->m_hWndMDIClient;
    }
    void Open(int count)
    {
        for (int i = 0; i < count; i++)
            m_pApp->OpenDocumentFile(WriteBmp("p" + std::to_string(m_nOpened++) + ".bmp").c_str());
    }
    // Dispatcher passes until no arrangement is pending (a bar settling asks for one more).
    void Tick()
    {
        for (int pass = 0; pass < 5; pass++) {
            m_pFrame->OnIdleUpdate();
            Pump();
            if (!g_bArrangePending)
                break;
        }
    }
    std::vector<CRect> Frames()
    {
        std::vector<CRect> rects;
        for (CMDIChildWnd* pChild : Children())
            rects.push_back(RectInClient(pChild, m_hClient));
        return rects;
    }
    HWND m_hClient = nullptr;
    // The MDI client's area now (the bars may still settle after the start).
    CRect Area() const
    {
        CRect area;
        ::GetClientRect(m_hClient, &area);
        return area;
    }
    int m_nOpened = 0;
};

} // namespace

TEST(ViewGrid, RowsOfTheNearSquareGrid)
{
    for (const GridCase& c : kGridCases)
        EXPECT_EQ(ViewGridRows(c.count), c.rows) << c.count << " windows";
}

TEST(ViewGrid, CellsTileTheAreaRowByRow)
{
    const RECT area = {0, 0, 1001, 703};
    for (const GridCase& c : kGridCases) {
        std::vector<RECT> cells = ComputeViewGrid(area, c.count);
        ASSERT_EQ(static_cast<int>(cells.size()), c.count);
        long covered = 0;
        size_t next = 0;
        int nRows = static_cast<int>(c.rows.size());
        for (int row = 0; row < nRows; row++) {
            for (int column = 0; column < c.rows[row]; column++) {
                const RECT& cell = cells[next++];
                EXPECT_EQ(cell.top, row * (703 / nRows)) << c.count;
                EXPECT_EQ(cell.left, column * (1001 / c.rows[row])) << c.count;
                EXPECT_EQ(cell.right, column == c.rows[row] - 1 ? 1001 : cell.left + 1001 / c.rows[row]);
                EXPECT_EQ(cell.bottom, row == nRows - 1 ? 703 : cell.top + 703 / nRows);
                covered += (cell.right - cell.left) * (cell.bottom - cell.top);
            }
        }
        EXPECT_EQ(covered, 1001L * 703L) << c.count << " windows leave a gap or overlap";
    }
    // Two windows: two full-width rows; three: one on top, two below.
    EXPECT_EQ(CRect(ViewGridCell(area, 2, 1)), CRect(0, 351, 1001, 703));
    EXPECT_EQ(CRect(ViewGridCell(area, 3, 0)), CRect(0, 0, 1001, 351));
    EXPECT_EQ(CRect(ViewGridCell(area, 3, 2)), CRect(500, 351, 1001, 703));
    EXPECT_EQ(CRect(ViewGridCell(area, 3, 7)), CRect(500, 351, 1001, 703)) << "an index past the end";
}

TEST_F(ArrangeTest, PictureWindowsFollowTheGridInWindowOrder)
{
    StartSized(1);
    for (int count : {1, 2, 3, 10, 17}) {
        Open(count - m_nOpened);
        Tick();
        std::vector<CRect> frames = Frames();
        ASSERT_EQ(static_cast<int>(frames.size()), count);
        std::vector<RECT> cells = ComputeViewGrid(Area(), count);
        for (int i = 0; i < count; i++)
            EXPECT_EQ(frames[i], CRect(cells[i])) << "window " << i << " of " << count;
    }
    // Whole window: every picture covers the area.
    m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_FULL, 0);
    Tick();
    for (const CRect& frame : Frames())
        EXPECT_EQ(frame, Area());
}

TEST_F(ArrangeTest, ANewWindowFirstShowsInItsOwnCell)
{
    StartSized(1);
    Open(2);
    Tick();
    HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, RecordShow, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);
    ShownAt().clear();
    Open(1);
    m_pApp->NewImageWindow(SmallPicture()); // as a pasted or scanned picture
    ::UnhookWindowsHookEx(hHook);
    ASSERT_EQ(ShownAt().size(), 2u);
    EXPECT_EQ(ShownAt()[0].rect, CRect(ViewGridCell(ShownAt()[0].area, 3, 0))) << "the opened file";
    EXPECT_EQ(ShownAt()[1].rect, CRect(ViewGridCell(ShownAt()[1].area, 4, 0))) << "the pasted picture";
    EXPECT_TRUE(g_bArrangePending);
    Tick();
    std::vector<CRect> frames = Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0], CRect(ViewGridCell(Area(), 4, 0)));
    EXPECT_EQ(frames[3], CRect(ViewGridCell(Area(), 4, 3)));
}

// A search window opened over an explorer window first shows in its own cell; the explorer makes room
// at the next tick (left whole under the new window, it showed only the part the new one did not cover).
TEST_F(ArrangeTest, ANewSearchWindowMakesTheExplorerUnderItMakeRoom)
{
    StartSized(1);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.Path().c_str()), nullptr);
    Tick();
    EXPECT_EQ(Frames(), std::vector<CRect>{Area()});
    g_arrSearchResults.Add(WriteBmp("trouve.bmp").c_str());
    m_pApp->NewSearchWindow();
    g_arrSearchResults.RemoveAll();
    EXPECT_EQ(Frames()[0], CRect(ViewGridCell(Area(), 2, 0)));
    Tick();
    EXPECT_EQ(Frames(), (std::vector<CRect>{ViewGridCell(Area(), 2, 0), ViewGridCell(Area(), 2, 1)}));
}

TEST_F(ArrangeTest, AWindowRestoredFromItsIconComesBackIntoTheGrid)
{
    StartSized(1);
    Open(3);
    Tick();
    CMDIChildWnd* pRestored = Children()[2];
    pRestored->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Tick();
    // Two open windows share the area above the row of icons.
    CRect above(Area());
    above.bottom -= 24;
    std::vector<CRect> frames = Frames();
    EXPECT_EQ(RectInClient(Children()[0], m_hClient), CRect(ViewGridCell(above, 2, 0)));

    pRestored->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(pRestored->IsIconic());
    EXPECT_EQ(RectInClient(pRestored, m_hClient), CRect(ViewGridCell(Area(), 3, 0)))
        << "the restored window goes straight to its cell";
    Tick();
    frames = Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(Children()[0], pRestored);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(frames[i], CRect(ViewGridCell(Area(), 3, i))) << i;
}
