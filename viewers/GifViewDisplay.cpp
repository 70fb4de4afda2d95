// The animated-GIF view's display of the shown frame: what the shared picture view needs of it
// (the frame, its size, the animation bar, the status text).
#include "viewers/GifView.h"

#include "shell/MainFrameHost.h"
#include "viewers/AnimToolBar.h"
#include "core/DIB.h"
#include "framework/FrameWnd.h"
#include "viewers/GifDoc.h"

#include <cstdlib>

CDIB* CGifView::GetShownPicture() const
{
    CGifDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetFrame(m_nCurrentFrame) : nullptr;
}

CSize CGifView::GetPictureSize() const
{
    CGifDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetSize() : CSize(1, 1);
}

CToolBar* CGifView::GetLocalBar() const { return GetAnimBar(); }

void CGifView::RestoreFrameLayout(CFrameWnd* pFrame)
{
    CPictureView::RestoreFrameLayout(pFrame);
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar != nullptr && pBar->m_wndSlider.m_hWnd != nullptr)
        pBar->m_wndSlider.SetPos(m_nCurrentFrame);
    SetFrameDisplay();
    UpdatePlayButton();
}

void CGifView::UpdateStatusText()
{
    CGifDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    HGLOBAL hDIB = pDoc->GetFrameDIB(m_nCurrentFrame);
    const BITMAPINFOHEADER* pbi =
        hDIB != nullptr ? static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB)) : nullptr;
    if (pbi == nullptr) {
        ShowPictureStatus(kStatusAnimation, FALSE, 0, 0, 0);
        return;
    }
    ShowPictureStatus(kStatusAnimation, TRUE, static_cast<int>(pbi->biWidth),
                      static_cast<int>(std::abs(pbi->biHeight)), pbi->biBitCount);
    ::GlobalUnlock(hDIB);
}
