// Message maps: table entries, the typed handler thunks, the map macros and the framework's own messages.
#pragma once
#include <windows.h>

#include <type_traits>

class CCmdTarget;
class CCmdUI;

// An update handler that calls ContinueRouting lets the command go on to the next target.
void AfxCmdUIStartRouting(CCmdUI* pCmdUI);
BOOL AfxCmdUIContinuesRouting(CCmdUI* pCmdUI);

// What a thunk gets: the raw message, and for commands and notifications the id, the code and the
// extra pointer (CCmdUI*, AFX_NOTIFY*). The thunk leaves the window-procedure result in `result`.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;
    UINT nCode;
    void* pExtra;
    LRESULT result;
};

// TRUE when the handler took the message (the _EX handlers may say FALSE to let it go on).
typedef BOOL (*AFX_PTHUNK)(CCmdTarget* pTarget, AFX_MSGCALL& call);

// Entry flags.
enum : UINT {
    AfxEntryCommand = 0x01, // WM_COMMAND or WM_NOTIFY entry, found through OnCmdMsg
    AfxEntryReflect = 0x02, // handled by the control itself when its parent reflects the message
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // WM_xxx, or WM_COMMAND / WM_NOTIFY for command entries
    UINT nCode;    // control notification code as a WORD, or CN_UPDATE_COMMAND_UI
    UINT nID;      // first control or command id
    UINT nLastID;  // last id of a range (equal to nID otherwise)
    UINT nFlags;
    AFX_PTHUNK pfn; // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for the root (CCmdTarget)
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Codes that OnCmdMsg takes besides control notifications.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_NOTIFY_CODE(code) MAKELONG((WORD)(int)(code), WM_NOTIFY)

// The extra argument of OnCmdMsg for a WM_NOTIFY.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler: "who would handle this command?"
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PTHUNK pfn;
};

// The framework's private window messages.
#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_COMMANDHELP 0x0365
#define WM_RECALCPARENT 0x0368
#define WM_KICKIDLE 0x036A
#define WM_QUERYCENTERWND 0x036B
#define WM_POPMESSAGESTRING 0x0375
// The 16-bit colour message, under which message maps list every WM_CTLCOLORxxx.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// ---- handler signature checks ----

template <class M> struct AfxMemberFn {
    static constexpr bool isMember = false;
};
template <class C, class R, class... A> struct AfxMemberFn<R (C::*)(A...)> {
    static constexpr bool isMember = true;
    using Class = C;
    using Sig = R(A...);
};

// True when member pointer M is a non-const member function of exactly signature S.
template <auto M, class S> constexpr bool AfxHasSig()
{
    using Info = AfxMemberFn<decltype(M)>;
    if constexpr (Info::isMember)
        return std::is_same_v<typename Info::Sig, S>;
    else
        return false;
}

#define AFX_CHECK_SIG(M, ...)                                                                                \
    static_assert(AfxHasSig<M, __VA_ARGS__>(), "message-map handler has the wrong signature")

// ---- thunks for the command and notification families ----
// T is the class of the map (so protected and inherited handlers both work); static_cast from
// CCmdTarget adjusts `this` for classes with a second base.

struct AfxThunk {
    template <class T, auto M> static BOOL Command(CCmdTarget* p, AFX_MSGCALL&)
    {
        AFX_CHECK_SIG(M, void());
        (static_cast<T*>(p)->*M)();
        return TRUE;
    }
    template <class T, auto M> static BOOL CommandEx(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, BOOL(UINT));
        return (static_cast<T*>(p)->*M)(c.nID);
    }
    template <class T, auto M> static BOOL CommandRange(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, void(UINT));
        (static_cast<T*>(p)->*M)(c.nID);
        return TRUE;
    }
    template <class T, auto M> static BOOL ControlEx(CCmdTarget* p, AFX_MSGCALL&)
    {
        AFX_CHECK_SIG(M, BOOL());
        return (static_cast<T*>(p)->*M)();
    }
    template <class T, auto M> static BOOL UpdateUI(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, void(CCmdUI*));
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(c.pExtra);
        AfxCmdUIStartRouting(pCmdUI);
        (static_cast<T*>(p)->*M)(pCmdUI);
        return !AfxCmdUIContinuesRouting(pCmdUI);
    }
    template <class T, auto M> static BOOL Notify(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, void(NMHDR*, LRESULT*));
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
        (static_cast<T*>(p)->*M)(n->pNMHDR, n->pResult);
        return TRUE;
    }
    template <class T, auto M> static BOOL NotifyEx(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, BOOL(UINT, NMHDR*, LRESULT*));
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
        return (static_cast<T*>(p)->*M)(c.nID, n->pNMHDR, n->pResult);
    }
    template <class T, auto M> static BOOL NotifyRange(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, void(UINT, NMHDR*, LRESULT*));
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
        (static_cast<T*>(p)->*M)(c.nID, n->pNMHDR, n->pResult);
        return TRUE;
    }
    template <class T, auto M> static BOOL NotifyReflect(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, void(NMHDR*, LRESULT*));
        (static_cast<T*>(p)->*M)(reinterpret_cast<NMHDR*>(c.lParam), &c.result);
        return TRUE;
    }
    template <class T, auto M> static BOOL NotifyReflectEx(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, BOOL(NMHDR*, LRESULT*));
        return (static_cast<T*>(p)->*M)(reinterpret_cast<NMHDR*>(c.lParam), &c.result);
    }
    template <class T, auto M> static BOOL Message(CCmdTarget* p, AFX_MSGCALL& c)
    {
        AFX_CHECK_SIG(M, LRESULT(WPARAM, LPARAM));
        c.result = (static_cast<T*>(p)->*M)(c.wParam, c.lParam);
        return TRUE;
    }
};

// ---- map declaration and definition ----

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    {                                                                                                        \
        0, 0, 0, 0, 0, nullptr                                                                               \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

#define AFX_ENTRY(msg, code, first, last, flags, thunk, fn)                                                  \
    {(UINT)(msg),  (UINT)(WORD)(int)(code), (UINT)(first),                                                   \
     (UINT)(last), (UINT)(flags),           &AfxThunk::thunk<ThisClass, &ThisClass::fn>},

// Commands (menus, accelerators, buttons with BN_CLICKED) and their update handlers.
#define ON_COMMAND(id, fn) AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxEntryCommand, Command, fn)
#define ON_COMMAND_EX(id, fn) AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxEntryCommand, CommandEx, fn)
#define ON_COMMAND_RANGE(first, last, fn)                                                                    \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, first, last, AfxEntryCommand, CommandRange, fn)
#define ON_COMMAND_EX_RANGE(first, last, fn)                                                                 \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, first, last, AfxEntryCommand, CommandEx, fn)
#define ON_UPDATE_COMMAND_UI(id, fn)                                                                         \
    AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxEntryCommand, UpdateUI, fn)
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn)                                                          \
    AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, first, last, AfxEntryCommand, UpdateUI, fn)

// Control notifications through WM_COMMAND.
#define ON_CONTROL(code, id, fn) AFX_ENTRY(WM_COMMAND, code, id, id, AfxEntryCommand, Command, fn)
#define ON_CONTROL_RANGE(code, first, last, fn)                                                              \
    AFX_ENTRY(WM_COMMAND, code, first, last, AfxEntryCommand, CommandRange, fn)
#define ON_CONTROL_REFLECT(code, fn) AFX_ENTRY(WM_COMMAND, code, 0, 0, AfxEntryReflect, Command, fn)
#define ON_CONTROL_REFLECT_EX(code, fn) AFX_ENTRY(WM_COMMAND, code, 0, 0, AfxEntryReflect, ControlEx, fn)

#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SETFOCUS(id, fn) ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

// WM_NOTIFY from common controls.
#define ON_NOTIFY(code, id, fn) AFX_ENTRY(WM_NOTIFY, code, id, id, AfxEntryCommand, Notify, fn)
#define ON_NOTIFY_RANGE(code, first, last, fn)                                                               \
    AFX_ENTRY(WM_NOTIFY, code, first, last, AfxEntryCommand, NotifyRange, fn)
#define ON_NOTIFY_EX(code, id, fn) AFX_ENTRY(WM_NOTIFY, code, id, id, AfxEntryCommand, NotifyEx, fn)
#define ON_NOTIFY_EX_RANGE(code, first, last, fn)                                                            \
    AFX_ENTRY(WM_NOTIFY, code, first, last, AfxEntryCommand, NotifyEx, fn)
#define ON_NOTIFY_REFLECT(code, fn) AFX_ENTRY(WM_NOTIFY, code, 0, 0, AfxEntryReflect, NotifyReflect, fn)
#define ON_NOTIFY_REFLECT_EX(code, fn) AFX_ENTRY(WM_NOTIFY, code, 0, 0, AfxEntryReflect, NotifyReflectEx, fn)

// Any window message, handler LRESULT(WPARAM, LPARAM).
#define ON_MESSAGE(msg, fn) AFX_ENTRY(msg, 0, 0, 0, 0, Message, fn)
