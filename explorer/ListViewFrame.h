// What the explorer and search views share about their child frame and their painting: the frame's
// local tool bar (shown, hidden, pushing the children down) and the frames drawn between the
// children, since neither view erases its background.
#pragma once
#include <windows.h>

class CDC;
class CToolBar;
class CView;
class CWnd;

// The local tool bar of the view's explorer or search frame; null for any other frame.
CToolBar* LocalToolBarOf(CView* pView);
// TRUE when the local tool bar pushes the children down: it shows, or the frame is maximised.
BOOL IsLocalToolBarInset(CView* pView);
// Shows the local tool bar when hidden and hides it when shown; "ShowExplorerToolBar" takes the new
// state and the frame lays out again. FALSE without a tool bar.
BOOL ToggleLocalToolBar(CView* pView);
// TRUE when the local tool bar shows.
BOOL IsLocalToolBarShown(CView* pView);

// The screen drawing of a list view: a light-grey border, a sunken double border around each child
// given (the tree may be null), the splitter strip between tree and list, and the etched line under a
// shown tool bar. Nothing on a printing device.
void DrawListViewFrames(CView* pView, CDC* pDC, CWnd* pTree, CWnd* pList);
