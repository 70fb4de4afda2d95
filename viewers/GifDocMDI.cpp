// The animated-GIF frame: the animation bar, a title with the play state, and the bar's messages
// passed on to the view.
#include "viewers/GifDocMDI.h"

#include "core/TextFormat.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"
#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "viewers/GifDoc.h"
#include "viewers/GifView.h"

IMPLEMENT_DYNCREATE(CGifDocMDI, COrvanelMDI)

BEGIN_MESSAGE_MAP(CGifDocMDI, COrvanelMDI)
    ON_WM_CREATE()
    ON_MESSAGE(WM_ANIMFRAMESLIDER, OnAnimFrameSlider)
    ON_MESSAGE(WM_ANIMSPEEDCHANGED, OnAnimSpeedChanged)
END_MESSAGE_MAP()

int CGifDocMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    if (!m_wndToolBar.Create(this, kLocalToolBarStyle, AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_GIFTYPE))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    // Room for the slider and the speed list, and the last button becomes a narrow separator.
    m_wndToolBar.SetButtonInfo(15, 1, TBBS_SEPARATOR, 210);
    m_wndToolBar.SetButtonInfo(17, 1, TBBS_SEPARATOR, 10);
    m_wndToolBar.ShowWindow(g_ShowDibToolBar ? SW_SHOWNORMAL : SW_HIDE);
    if (!m_wndToolBar.CreateControls())
        return -1;
    return 0;
}

void CGifDocMDI::UpdateTitle()
{
    CString strTitle;
    if (!GetBaseTitle(strTitle) || GetActiveView() == nullptr)
        return;
    CDocument* pDoc = GetActiveDocument();
    CView* pView = GetActiveView();
    if (pDoc->IsKindOf(RUNTIME_CLASS(CGifDoc))) {
        CGifDoc* pGifDoc = static_cast<CGifDoc*>(pDoc);
        CString strState;
        if (pGifDoc->GetFrameCount() < 2) {
            strState.Format(AfxLoadText(IDS_PICTURE_TITLE), pGifDoc->m_nWidth, pGifDoc->m_nHeight,
                            GetColorDepthName(pGifDoc->m_nBitCount));
        } else {
            BOOL bPlaying =
                pView->IsKindOf(RUNTIME_CLASS(CGifView)) && static_cast<CGifView*>(pView)->m_bPlaying;
            strState.Format(AfxLoadText(IDS_ANIM_TITLE), pGifDoc->m_nWidth, pGifDoc->m_nHeight,
                            bPlaying ? "Lecture" : "Pause");
        }
        strTitle += " " + strState;
    }
    SetTitleText(strTitle);
}

LRESULT CGifDocMDI::OnAnimFrameSlider(WPARAM wParam, LPARAM lParam)
{
    CView* pView = GetActiveView();
    if (pView != nullptr)
        pView->SendMessage(WM_ANIMFRAMESLIDER, wParam, lParam);
    return 0;
}

LRESULT CGifDocMDI::OnAnimSpeedChanged(WPARAM wParam, LPARAM lParam)
{
    CView* pView = GetActiveView();
    if (pView != nullptr)
        pView->SendMessage(WM_ANIMSPEEDCHANGED, wParam, lParam);
    return 0;
}
