// The ON_WM_* message-map entries: how each window message the program handles is unpacked into its
// handler's arguments. Included by Wnd.h; every handler signature is checked at compile time.
#pragma once
#include "framework/Geometry.h"
#include "framework/MessageMap.h"

// Signed coordinates of a mouse message.
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))
#endif

class CWnd;
class CDC;
class CMenu;
class CScrollBar;

// Temporary (or permanent) wrappers for the handles a message carries; defined in Wnd.cpp.
CWnd* AfxWndFromHandle(HWND hWnd);
CDC* AfxDCFromHandle(HDC hDC);
CMenu* AfxMenuFromHandle(HMENU hMenu);
CScrollBar* AfxScrollBarFromHandle(HWND hWnd);
HWND AfxHandleOf(CCmdTarget* pWnd); // the window handle of a CWnd given as its CCmdTarget

#define AFX_CRACK(msg, thunk, fn) {(UINT)(msg), 0, 0, 0, 0, &AfxCrack::thunk<ThisClass, &ThisClass::fn>},

struct AfxCrack {
    static CPoint Pt(LPARAM l) { return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)); }
    static CWnd* Wnd(WPARAM w) { return AfxWndFromHandle(reinterpret_cast<HWND>(w)); }

    template <class T, auto M> static BOOL Void(CCmdTarget* t, AFX_MSGCALL&)
    {
        AFX_CHECK_SIG(M, void());
        (static_cast<T*>(t)->*M)();
        return TRUE;
    }
    template <class T, auto M> static BOOL Bool(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, BOOL());
        m.result = (static_cast<T*>(t)->*M)();
        return TRUE;
    }
    template <class T, auto M> static BOOL Create(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, int(LPCREATESTRUCT));
        m.result = (static_cast<T*>(t)->*M)(reinterpret_cast<LPCREATESTRUCT>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL NcCreate(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, BOOL(LPCREATESTRUCT));
        m.result = (static_cast<T*>(t)->*M)(reinterpret_cast<LPCREATESTRUCT>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL EraseBkgnd(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, BOOL(CDC*));
        m.result = (static_cast<T*>(t)->*M)(AfxDCFromHandle(reinterpret_cast<HDC>(m.wParam)));
        return TRUE;
    }
    template <class T, auto M> static BOOL Size(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, int, int));
        (static_cast<T*>(t)->*M)(UINT(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL Move(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(int, int));
        (static_cast<T*>(t)->*M)(GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL MinMax(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(MINMAXINFO*));
        (static_cast<T*>(t)->*M)(reinterpret_cast<MINMAXINFO*>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL Timer(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT));
        (static_cast<T*>(t)->*M)(UINT(m.wParam));
        return TRUE;
    }
    template <class T, auto M>
    static BOOL WndArg(CCmdTarget* t, AFX_MSGCALL& m) // WM_PALETTECHANGED, WM_SETFOCUS, ...
    {
        AFX_CHECK_SIG(M, void(CWnd*));
        CWnd* pWnd = AfxWndFromHandle(m.message == WM_CAPTURECHANGED ? reinterpret_cast<HWND>(m.lParam)
                                                                     : reinterpret_cast<HWND>(m.wParam));
        (static_cast<T*>(t)->*M)(pWnd);
        return TRUE;
    }
    template <class T, auto M> static BOOL Key(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, UINT, UINT));
        (static_cast<T*>(t)->*M)(UINT(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL InitMenuPopup(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(CMenu*, UINT, BOOL));
        (static_cast<T*>(t)->*M)(AfxMenuFromHandle(reinterpret_cast<HMENU>(m.wParam)), LOWORD(m.lParam),
                                 HIWORD(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL InitMenu(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(CMenu*));
        (static_cast<T*>(t)->*M)(AfxMenuFromHandle(reinterpret_cast<HMENU>(m.wParam)));
        return TRUE;
    }
    template <class T, auto M> static BOOL MenuSelect(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, UINT, HMENU));
        (static_cast<T*>(t)->*M)(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HMENU>(m.lParam));
        return TRUE;
    }
    template <class T, auto M>
    static BOOL Mouse(CCmdTarget* t, AFX_MSGCALL& m) // client and non-client mouse messages
    {
        AFX_CHECK_SIG(M, void(UINT, CPoint));
        (static_cast<T*>(t)->*M)(UINT(m.wParam), Pt(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL NcActivate(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, BOOL(BOOL));
        m.result = (static_cast<T*>(t)->*M)(BOOL(m.wParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL NcCalcSize(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(BOOL, NCCALCSIZE_PARAMS*));
        (static_cast<T*>(t)->*M)(BOOL(m.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL NcHitTest(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, UINT(CPoint));
        m.result = (static_cast<T*>(t)->*M)(Pt(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL SettingChange(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, LPCSTR));
        (static_cast<T*>(t)->*M)(UINT(m.wParam), reinterpret_cast<LPCSTR>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL Activate(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, CWnd*, BOOL));
        (static_cast<T*>(t)->*M)(LOWORD(m.wParam), Wnd(WPARAM(m.lParam)), HIWORD(m.wParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL MDIActivate(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(BOOL, CWnd*, CWnd*));
        BOOL bActivate = reinterpret_cast<HWND>(m.lParam) == AfxHandleOf(t);
        (static_cast<T*>(t)->*M)(bActivate, Wnd(WPARAM(m.lParam)), Wnd(m.wParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL SysCommand(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, LPARAM));
        (static_cast<T*>(t)->*M)(UINT(m.wParam), m.lParam);
        return TRUE;
    }
    template <class T, auto M> static BOOL Scroll(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(UINT, UINT, CScrollBar*));
        (static_cast<T*>(t)->*M)(LOWORD(m.wParam), HIWORD(m.wParam),
                                 AfxScrollBarFromHandle(reinterpret_cast<HWND>(m.lParam)));
        return TRUE;
    }
    template <class T, auto M> static BOOL SetCursor(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, BOOL(CWnd*, UINT, UINT));
        m.result = (static_cast<T*>(t)->*M)(Wnd(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL DrawItem(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(int, LPDRAWITEMSTRUCT));
        (static_cast<T*>(t)->*M)(int(m.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(m.lParam));
        m.result = TRUE;
        return TRUE;
    }
    template <class T, auto M> static BOOL MeasureItem(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(int, LPMEASUREITEMSTRUCT));
        (static_cast<T*>(t)->*M)(int(m.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(m.lParam));
        m.result = TRUE;
        return TRUE;
    }
    template <class T, auto M> static BOOL CompareItem(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, int(int, LPCOMPAREITEMSTRUCT));
        m.result = (static_cast<T*>(t)->*M)(int(m.wParam), reinterpret_cast<LPCOMPAREITEMSTRUCT>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL DeleteItem(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(int, LPDELETEITEMSTRUCT));
        (static_cast<T*>(t)->*M)(int(m.wParam), reinterpret_cast<LPDELETEITEMSTRUCT>(m.lParam));
        m.result = TRUE;
        return TRUE;
    }
    // Every WM_CTLCOLORxxx arrives here under WM_CTLCOLOR, with the kind as CTLCOLOR_xxx.
    template <class T, auto M> static BOOL CtlColor(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, HBRUSH(CDC*, CWnd*, UINT));
        HBRUSH hbr = (static_cast<T*>(t)->*M)(AfxDCFromHandle(reinterpret_cast<HDC>(m.wParam)),
                                              Wnd(WPARAM(m.lParam)), m.message - WM_CTLCOLORMSGBOX);
        m.result = reinterpret_cast<LRESULT>(hbr);
        return TRUE;
    }
    template <class T, auto M> static BOOL CtlColorReflect(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, HBRUSH(CDC*, UINT));
        HBRUSH hbr = (static_cast<T*>(t)->*M)(AfxDCFromHandle(reinterpret_cast<HDC>(m.wParam)),
                                              m.message - WM_CTLCOLORMSGBOX);
        m.result = reinterpret_cast<LRESULT>(hbr);
        return hbr != nullptr; // no brush: the parent chooses
    }
    template <class T, auto M> static BOOL DropFiles(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(HDROP));
        (static_cast<T*>(t)->*M)(reinterpret_cast<HDROP>(m.wParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL ShowWindow(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(BOOL, UINT));
        (static_cast<T*>(t)->*M)(BOOL(m.wParam), UINT(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL WindowPos(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(WINDOWPOS*));
        (static_cast<T*>(t)->*M)(reinterpret_cast<WINDOWPOS*>(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL ContextMenu(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(CWnd*, CPoint));
        (static_cast<T*>(t)->*M)(Wnd(m.wParam), Pt(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL MouseActivate(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, int(CWnd*, UINT, UINT));
        m.result = (static_cast<T*>(t)->*M)(Wnd(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL Enable(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, void(BOOL));
        (static_cast<T*>(t)->*M)(BOOL(m.wParam));
        return TRUE;
    }
    template <class T, auto M> static BOOL GetDlgCode(CCmdTarget* t, AFX_MSGCALL& m)
    {
        AFX_CHECK_SIG(M, UINT());
        m.result = (static_cast<T*>(t)->*M)();
        return TRUE;
    }
};

#define ON_WM_CREATE() AFX_CRACK(WM_CREATE, Create, OnCreate)
#define ON_WM_NCCREATE() AFX_CRACK(WM_NCCREATE, NcCreate, OnNcCreate)
#define ON_WM_DESTROY() AFX_CRACK(WM_DESTROY, Void, OnDestroy)
#define ON_WM_NCDESTROY() AFX_CRACK(WM_NCDESTROY, Void, OnNcDestroy)
#define ON_WM_CLOSE() AFX_CRACK(WM_CLOSE, Void, OnClose)
#define ON_WM_PAINT() AFX_CRACK(WM_PAINT, Void, OnPaint)
#define ON_WM_NCPAINT() AFX_CRACK(WM_NCPAINT, Void, OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_CRACK(WM_ERASEBKGND, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_SIZE() AFX_CRACK(WM_SIZE, Size, OnSize)
#define ON_WM_MOVE() AFX_CRACK(WM_MOVE, Move, OnMove)
#define ON_WM_GETMINMAXINFO() AFX_CRACK(WM_GETMINMAXINFO, MinMax, OnGetMinMaxInfo)
#define ON_WM_TIMER() AFX_CRACK(WM_TIMER, Timer, OnTimer)
#define ON_WM_PALETTECHANGED() AFX_CRACK(WM_PALETTECHANGED, WndArg, OnPaletteChanged)
#define ON_WM_QUERYNEWPALETTE() AFX_CRACK(WM_QUERYNEWPALETTE, Bool, OnQueryNewPalette)
#define ON_WM_SETFOCUS() AFX_CRACK(WM_SETFOCUS, WndArg, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_CRACK(WM_KILLFOCUS, WndArg, OnKillFocus)
#define ON_WM_CAPTURECHANGED() AFX_CRACK(WM_CAPTURECHANGED, WndArg, OnCaptureChanged)
#define ON_WM_KEYDOWN() AFX_CRACK(WM_KEYDOWN, Key, OnKeyDown)
#define ON_WM_KEYUP() AFX_CRACK(WM_KEYUP, Key, OnKeyUp)
#define ON_WM_CHAR() AFX_CRACK(WM_CHAR, Key, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_CRACK(WM_SYSKEYDOWN, Key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_CRACK(WM_SYSKEYUP, Key, OnSysKeyUp)
#define ON_WM_INITMENU() AFX_CRACK(WM_INITMENU, InitMenu, OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_CRACK(WM_INITMENUPOPUP, InitMenuPopup, OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_CRACK(WM_MENUSELECT, MenuSelect, OnMenuSelect)
#define ON_WM_MOUSEMOVE() AFX_CRACK(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_CRACK(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_CRACK(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_CRACK(WM_LBUTTONDBLCLK, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_CRACK(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_CRACK(WM_RBUTTONUP, Mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_CRACK(WM_RBUTTONDBLCLK, Mouse, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_CRACK(WM_MBUTTONDOWN, Mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_CRACK(WM_MBUTTONUP, Mouse, OnMButtonUp)
#define ON_WM_NCLBUTTONDOWN() AFX_CRACK(WM_NCLBUTTONDOWN, Mouse, OnNcLButtonDown)
#define ON_WM_NCLBUTTONDBLCLK() AFX_CRACK(WM_NCLBUTTONDBLCLK, Mouse, OnNcLButtonDblClk)
#define ON_WM_NCMOUSEMOVE() AFX_CRACK(WM_NCMOUSEMOVE, Mouse, OnNcMouseMove)
#define ON_WM_NCACTIVATE() AFX_CRACK(WM_NCACTIVATE, NcActivate, OnNcActivate)
#define ON_WM_NCCALCSIZE() AFX_CRACK(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_CRACK(WM_NCHITTEST, NcHitTest, OnNcHitTest)
#define ON_WM_SYSCOLORCHANGE() AFX_CRACK(WM_SYSCOLORCHANGE, Void, OnSysColorChange)
#define ON_WM_SETTINGCHANGE() AFX_CRACK(WM_SETTINGCHANGE, SettingChange, OnSettingChange)
#define ON_WM_ACTIVATE() AFX_CRACK(WM_ACTIVATE, Activate, OnActivate)
#define ON_WM_MDIACTIVATE() AFX_CRACK(WM_MDIACTIVATE, MDIActivate, OnMDIActivate)
#define ON_WM_CHILDACTIVATE() AFX_CRACK(WM_CHILDACTIVATE, Void, OnChildActivate)
#define ON_WM_SYSCOMMAND() AFX_CRACK(WM_SYSCOMMAND, SysCommand, OnSysCommand)
#define ON_WM_HSCROLL() AFX_CRACK(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_VSCROLL() AFX_CRACK(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_SETCURSOR() AFX_CRACK(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_DRAWITEM() AFX_CRACK(WM_DRAWITEM, DrawItem, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_CRACK(WM_MEASUREITEM, MeasureItem, OnMeasureItem)
#define ON_WM_COMPAREITEM() AFX_CRACK(WM_COMPAREITEM, CompareItem, OnCompareItem)
#define ON_WM_DELETEITEM() AFX_CRACK(WM_DELETEITEM, DeleteItem, OnDeleteItem)
#define ON_WM_CTLCOLOR() AFX_CRACK(WM_CTLCOLOR, CtlColor, OnCtlColor)
#define ON_WM_CTLCOLOR_REFLECT()                                                                             \
    {WM_CTLCOLOR, 0, 0, 0, AfxEntryReflect, &AfxCrack::CtlColorReflect<ThisClass, &ThisClass::CtlColor>},
#define ON_WM_DROPFILES() AFX_CRACK(WM_DROPFILES, DropFiles, OnDropFiles)
#define ON_WM_SHOWWINDOW() AFX_CRACK(WM_SHOWWINDOW, ShowWindow, OnShowWindow)
#define ON_WM_WINDOWPOSCHANGING() AFX_CRACK(WM_WINDOWPOSCHANGING, WindowPos, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_CRACK(WM_WINDOWPOSCHANGED, WindowPos, OnWindowPosChanged)
#define ON_WM_CONTEXTMENU() AFX_CRACK(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_MOUSEACTIVATE() AFX_CRACK(WM_MOUSEACTIVATE, MouseActivate, OnMouseActivate)
#define ON_WM_ENABLE() AFX_CRACK(WM_ENABLE, Enable, OnEnable)
#define ON_WM_GETDLGCODE() AFX_CRACK(WM_GETDLGCODE, GetDlgCode, OnGetDlgCode)
#define ON_WM_CANCELMODE() AFX_CRACK(WM_CANCELMODE, Void, OnCancelMode)
