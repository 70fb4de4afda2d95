// Copying the still picture to the clipboard, and the frame's local tool bar.
#include "viewers/DibView.h"

#include "viewers/DibDocMDI.h"
#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "framework/CmdUI.h"
#include "framework/DockBar.h"
#include "viewers/DibDoc.h"

#include <cstring>

void CDibView::OnEditCopy()
{
    CDibDoc* pDoc = GetDocument();
    if (m_bFullScreen || pDoc == nullptr || pDoc->GetHDIB() == nullptr)
        return;
    if (!::OpenClipboard(m_hWnd))
        return;
    SetAppCursor(kAppCursorBusy);
    ::EmptyClipboard();
    CDIB* pDib = pDoc->GetDIB();
    CBitmap* pBitmap = pDib->CreateBitmap(pDoc->GetDocPalette());
    if (pBitmap != nullptr) {
        HBITMAP hBitmap = static_cast<HBITMAP>(pBitmap->Detach());
        if (hBitmap != nullptr && ::SetClipboardData(CF_BITMAP, hBitmap) == nullptr)
            ::DeleteObject(hBitmap);
    }
    if (pDib->NumColors() != 0) {
        CPalette* pPalette = pDib->CreateDIBPalette();
        if (pPalette != nullptr) {
            HPALETTE hPalette = static_cast<HPALETTE>(pPalette->Detach());
            if (hPalette != nullptr && ::SetClipboardData(CF_PALETTE, hPalette) == nullptr)
                ::DeleteObject(hPalette);
        }
    }
    // The picture itself too, so that a program pasting a DIB gets every pixel and colour as they are.
    HGLOBAL hSource = pDoc->GetHDIB();
    SIZE_T size = ::GlobalSize(hSource);
    HGLOBAL hCopy = size != 0 ? ::GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    if (hCopy != nullptr) {
        void* pTo = ::GlobalLock(hCopy);
        void* pFrom = ::GlobalLock(hSource);
        if (pTo != nullptr && pFrom != nullptr)
            std::memcpy(pTo, pFrom, size);
        if (pFrom != nullptr)
            ::GlobalUnlock(hSource);
        if (pTo != nullptr)
            ::GlobalUnlock(hCopy);
        if (pTo == nullptr || pFrom == nullptr || ::SetClipboardData(CF_DIB, hCopy) == nullptr)
            ::GlobalFree(hCopy);
    }
    ::CloseClipboard();
    RestoreAppCursor();
}

void CDibView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    CDibDoc* pDoc = GetDocument();
    pCmdUI->Enable(pDoc != nullptr && pDoc->GetHDIB() != nullptr);
}

void CDibView::OnLocalToolBar()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (m_bFullScreen || pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CDibDocMDI)))
        return;
    CToolBar& bar = static_cast<CDibDocMDI*>(pFrame)->m_wndToolBar;
    if (bar.m_hWnd == nullptr)
        return;
    BOOL bShow = !bar.IsWindowVisible();
    AfxShowControlBar(pFrame, &bar, bShow, FALSE);
    g_ShowDibToolBar = bShow ? 1 : 0;
    pFrame->RecalcLayout();
}

void CDibView::OnUpdateLocalToolBar(CCmdUI* pCmdUI)
{
    if (m_bFullScreen)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    BOOL bVisible = pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CDibDocMDI))
                    && static_cast<CDibDocMDI*>(pFrame)->m_wndToolBar.m_hWnd != nullptr
                    && static_cast<CDibDocMDI*>(pFrame)->m_wndToolBar.IsWindowVisible();
    pCmdUI->SetCheck(bVisible ? 1 : 0);
}
