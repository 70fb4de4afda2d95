// The grid of the window arrangement.
#include "app/ViewGrid.h"

std::vector<int> ViewGridRows(int count)
{
    if (count < 2)
        return std::vector<int>(1, 1);
    // r: the largest square side that fits the count (never the count itself).
    int k = 1;
    while (k * k <= count && k < count)
        k++;
    int r = k - 1;
    if (r * r == count)
        return std::vector<int>(r, r);
    int rows = r + 1;
    int columns = count < rows * r ? r - 1 : r;
    int extra = count - rows * columns;
    std::vector<int> cells(rows, columns);
    for (int i = rows - extra; i < rows; i++)
        cells[i]++;
    return cells;
}

std::vector<RECT> ComputeViewGrid(const RECT& area, int count)
{
    std::vector<int> rows = ViewGridRows(count);
    int nRows = static_cast<int>(rows.size());
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    int cellHeight = height / nRows;
    std::vector<RECT> cells;
    for (int row = 0; row < nRows; row++) {
        int nCells = rows[row];
        int cellWidth = width / nCells;
        RECT cell;
        cell.top = area.top + row * cellHeight;
        cell.bottom = row == nRows - 1 ? area.bottom : cell.top + cellHeight;
        for (int column = 0; column < nCells; column++) {
            cell.left = area.left + column * cellWidth;
            cell.right = column == nCells - 1 ? area.right : cell.left + cellWidth;
            cells.push_back(cell);
        }
    }
    return cells;
}

RECT ViewGridCell(const RECT& area, int count, int index)
{
    std::vector<RECT> cells = ComputeViewGrid(area, count);
    if (index < 0)
        index = 0;
    if (index >= static_cast<int>(cells.size()))
        index = static_cast<int>(cells.size()) - 1;
    return cells[index];
}
