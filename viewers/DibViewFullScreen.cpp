// Full screen of the still-picture view: the frame it comes back to shows its local tool bar again.
#include "viewers/DibView.h"

#include "framework/DockBar.h"
#include "framework/FrameWnd.h"
#include "viewers/DibDocMDI.h"

void CDibView::RestoreFrameLayout(CFrameWnd* pFrame)
{
    if (pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CDibDocMDI))) {
        CDibDocMDI* pDibFrame = static_cast<CDibDocMDI*>(pFrame);
        if (pDibFrame->m_wndToolBar.m_hWnd != nullptr)
            AfxShowControlBar(pFrame, &pDibFrame->m_wndToolBar, TRUE, FALSE);
    }
    CPictureView::RestoreFrameLayout(pFrame);
}
