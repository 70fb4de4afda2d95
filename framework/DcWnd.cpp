// The CWnd* constructors of the window DCs: they need only CWnd::GetSafeHwnd().
#include "framework/Dc.h"

#if __has_include("framework/Wnd.h")
#include "framework/Wnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) { Init(pWnd ? pWnd->GetSafeHwnd() : nullptr); }

CClientDC::CClientDC(CWnd* pWnd) { Init(pWnd ? pWnd->GetSafeHwnd() : nullptr); }

CWindowDC::CWindowDC(CWnd* pWnd) { Init(pWnd ? pWnd->GetSafeHwnd() : nullptr); }
#endif
