// The explorer window's geometry: the grid its frames share, the children's rectangles and the
// splitter's limits.
#include "explorer/ExplorerView.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Cell {
    int left, top, right, bottom;
    bool operator==(const Cell& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

std::vector<Cell> Grid(int count, const RECT& area)
{
    std::vector<Cell> cells;
    for (int k = 0; k < count; k++) {
        RECT r = ComputeGridCell(count, k, area);
        cells.push_back({r.left, r.top, r.right, r.bottom});
    }
    return cells;
}

TEST(ExplorerLayout, FramesShareANearSquareGrid)
{
    RECT area = {10, 20, 310, 221}; // 300 x 201
    EXPECT_EQ(Grid(1, area), (std::vector<Cell>{{10, 20, 310, 221}}));
    // Two: one above the other.
    EXPECT_EQ(Grid(2, area), (std::vector<Cell>{{10, 20, 310, 120}, {10, 120, 310, 221}}));
    // Three: one across the top, two side by side below.
    EXPECT_EQ(Grid(3, area),
              (std::vector<Cell>{{10, 20, 310, 120}, {10, 120, 160, 221}, {160, 120, 310, 221}}));
    EXPECT_EQ(Grid(4, area),
              (std::vector<Cell>{
                  {10, 20, 160, 120}, {160, 20, 310, 120}, {10, 120, 160, 221}, {160, 120, 310, 221}}));
    // Five: rows of 1, 2 and 2; the last row takes what the division of the height leaves.
    std::vector<Cell> five = Grid(5, area);
    EXPECT_EQ(five[0], (Cell{10, 20, 310, 87}));
    EXPECT_EQ(five[2], (Cell{160, 87, 310, 154}));
    EXPECT_EQ(five[4], (Cell{160, 154, 310, 221}));
    // Eight: rows of 2, 3 and 3; the last cell of a row reaches the right edge.
    std::vector<Cell> eight = Grid(8, area);
    EXPECT_EQ(eight[1], (Cell{160, 20, 310, 87}));
    EXPECT_EQ(eight[4], (Cell{210, 87, 310, 154}));
    EXPECT_EQ(eight[5], (Cell{10, 154, 110, 221}));
    // Every count tiles the area exactly.
    for (int n = 2; n <= 12; n++) {
        long covered = 0;
        for (const Cell& c : Grid(n, area))
            covered += static_cast<long>(c.right - c.left) * (c.bottom - c.top);
        EXPECT_EQ(covered, 300L * 201) << n;
    }
    // An index outside the grid (a frame coming back from minimised) still gets a cell of it.
    RECT last = ComputeGridCell(3, 7, area);
    EXPECT_EQ(last.left, 160);
    EXPECT_EQ(last.top, 120);
}

TEST(ExplorerLayout, ChildrenAndSplitterLimits)
{
    RECT tree, list;
    ComputeExplorerLayout(600, 400, 200, FALSE, &tree, &list);
    EXPECT_EQ((Cell{tree.left, tree.top, tree.right, tree.bottom}), (Cell{3, 3, 196, 397}));
    EXPECT_EQ((Cell{list.left, list.top, list.right, list.bottom}), (Cell{203, 3, 597, 397}));
    // Under a shown local tool bar both start 3 pixels lower.
    ComputeExplorerLayout(600, 400, 200, TRUE, &tree, &list);
    EXPECT_EQ(tree.top, 6);
    EXPECT_EQ(list.top, 6);
    // The list is never narrower than 10 pixels before its inset.
    ComputeExplorerLayout(150, 400, 200, FALSE, &tree, &list);
    EXPECT_EQ(list.right - list.left, 4);

    EXPECT_EQ(ClampSplitter(10, 600), 50);
    EXPECT_EQ(ClampSplitter(580, 600), 550);
    EXPECT_EQ(ClampSplitter(300, 600), 300);
    // A narrow window: the lower limit wins.
    EXPECT_EQ(ClampSplitter(20, 80), 50);
    EXPECT_EQ(ClampSplitter(60, 80), 30);
}

} // namespace
