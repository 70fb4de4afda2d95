// The still-picture frame: tool bar 41 and a title with the picture's size and colours.
#include "viewers/DibDocMDI.h"

#include "core/TextFormat.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"
#include "shell/Settings.h"
#include "viewers/DibDoc.h"

IMPLEMENT_DYNCREATE(CDibDocMDI, COrvanelMDI)

BEGIN_MESSAGE_MAP(CDibDocMDI, COrvanelMDI)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int CDibDocMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    return CreateLocalToolBar(m_wndToolBar, IDR_DIBTYPE, g_ShowDibToolBar) ? 0 : -1;
}

void CDibDocMDI::UpdateTitle()
{
    CString strTitle;
    if (!GetBaseTitle(strTitle))
        return;
    CDocument* pDoc = GetActiveDocument();
    if (pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc))) {
        CDibDoc* pDibDoc = static_cast<CDibDoc*>(pDoc);
        CString strSize;
        strSize.Format(AfxLoadText(IDS_PICTURE_TITLE), pDibDoc->m_nWidth, pDibDoc->m_nHeight,
                       GetColorDepthName(pDibDoc->m_nBitCount));
        strTitle += " (" + strSize + ")";
    }
    SetTitleText(strTitle);
}
