// The still-picture view's local tool bar: the one of its frame, while the view is in it.
#include "viewers/DibView.h"

#include "framework/FrameWnd.h"
#include "viewers/DibDocMDI.h"

CToolBar* CDibView::GetLocalBar() const
{
    CFrameWnd* pFrame = GetParentFrame();
    if (m_bFullScreen || pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CDibDocMDI)))
        return nullptr;
    CToolBar* pBar = &static_cast<CDibDocMDI*>(pFrame)->m_wndToolBar;
    return pBar->m_hWnd != nullptr ? pBar : nullptr;
}
