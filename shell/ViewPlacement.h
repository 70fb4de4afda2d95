// Placing a view's child frame among the views of its kind in the main window's MDI area, as the
// views do until they bring their own arrangement.
#pragma once
#include <windows.h>

class CView;

// The half of the MDI area each kind of view asks for (the main frame computes the halves).
const int kExplorerViewArea = 1;
const int kImageViewArea = 2;

// Gives the frame of pView its cell of the grid (app/ViewGrid.h) that the views of one kind share, in
// the order of the main frame's view index; alone, or with "ReorganizeType" 0, the whole
// area. bFirstCell: the view is new and takes cell 0. byPlacement: the frame is being restored
// from its icon; the cell becomes its normal placement, counted among the open views as the active
// one it is about to be. Nothing while a child is maximised, nor for a minimised frame otherwise.
void ArrangeViewFrame(CView* pView, int half, BOOL byPlacement, BOOL bFirstCell = FALSE);
