// Placing a view's child frame among the views of its kind in the main window's MDI area, as the
// views do until they bring their own arrangement.
#pragma once
#include <windows.h>

class CView;

// The half of the MDI area each kind of view asks for (the main frame computes the halves).
const int kExplorerViewArea = 1;
const int kImageViewArea = 2;

// Gives the frame of pView its slice of the area: the views of one kind share it side by side
// (or one above the other in a tall area), in the main frame's window order.
// byPlacement leaves the frame where its own placement puts it. Nothing while a child is maximised
// or the frame is minimised, or without a main frame.
void ArrangeViewFrame(CView* pView, int half, BOOL byPlacement);
