// The views' frame placement, done by the main frame.
#include "shell/ViewPlacement.h"

#include "shell/MainFrameHost.h"

void ArrangeViewFrame(CView* pView, int half, BOOL byPlacement, BOOL bFirstCell)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->ArrangeViewFrame(pView, half, byPlacement, bFirstCell);
}
