// The near-square grid in which windows of one kind share their area: rows of equal height, the
// lower rows one cell wider when the count does not fill a square.
#pragma once
#include <windows.h>

#include <vector>

// The number of cells of each row, top row first, for count windows (one row of one cell below 2).
std::vector<int> ViewGridRows(int count);
// The cells of count windows in area, in reading order. Integer division: the last cell of a row
// and the cells of the last row take what is left of the width and the height.
std::vector<RECT> ComputeViewGrid(const RECT& area, int count);
// Cell index (clamped to the grid) of count windows in area.
RECT ViewGridCell(const RECT& area, int count, int index);
