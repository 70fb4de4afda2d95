// The explorer window's geometry: the children's rectangles and the splitter's limits.
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
