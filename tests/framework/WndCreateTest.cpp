// Creation of window objects: the object is attached before the first message, whatever the class,
// and lets go of its window (and deletes itself when it owns itself) when the window goes.
#include "tests/framework/WindowTestSupport.h"

#include "framework/Controls.h"
#include "framework/TestSeams.h"

#include "framework/HandleMap.h"
#include "framework/Menu.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace {

const char kDefProcClass[] = "TessTestDefProcClass";

// A class of someone else's whose procedure is the system's default one.
void RegisterDefProcClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kDefProcClass;
    ASSERT_TRUE(::RegisterClassA(&wc));
    registered = true;
}

class CCreateWatcher : public CWnd {
public:
    std::vector<UINT> m_messages;
    HWND m_hWndAtCreate = nullptr;
    CWnd* m_pPermanentAtCreate = nullptr;
    CREATESTRUCT m_cs = {};
    int m_nCreateResult = 0;
    bool m_bPostNcDestroy = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETMINMAXINFO || message == WM_NCCREATE || message == WM_CREATE)
            m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { m_bPostNcDestroy = true; }

    int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_hWndAtCreate = m_hWnd;
        m_pPermanentAtCreate = FromHandlePermanent(m_hWnd);
        m_cs = *lpcs;
        if (CWnd::OnCreate(lpcs) == -1)
            return -1;
        return m_nCreateResult;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCreateWatcher, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// Deletes itself when its window goes, as views and frames do.
class CSelfDeleting : public CWnd {
public:
    explicit CSelfDeleting(bool* pDeleted) : m_pDeleted(pDeleted) {}
    ~CSelfDeleting() override { *m_pDeleted = true; }
    void PostNcDestroy() override { delete this; }
    int OnCreate(LPCREATESTRUCT) { return -1; }
    bool* m_pDeleted;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDeleting, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// Creates a child of its own while it is being created.
class CParentMakingChild : public CWnd {
public:
    CCreateWatcher m_child;
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CWnd::OnCreate(lpcs) == -1)
            return -1;
        return m_child.Create(nullptr, "enfant", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), this, 7) ? 0
                                                                                                      : -1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentMakingChild, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

using WndCreate = WindowTest;

} // namespace

TEST_F(WndCreate, ForeignDefaultProcedureClassGetsCreateInItsObject)
{
    RegisterDefProcClass();
    CCreateWatcher wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, kDefProcClass, "étranger", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr));
    // The very first messages of the window, WM_CREATE included, reached the object.
    ASSERT_GE(wnd.m_messages.size(), 2u);
    EXPECT_NE(std::find(wnd.m_messages.begin(), wnd.m_messages.end(), UINT(WM_NCCREATE)),
              wnd.m_messages.end());
    EXPECT_EQ(wnd.m_messages.back(), UINT(WM_CREATE));
    EXPECT_EQ(wnd.m_hWndAtCreate, wnd.m_hWnd);
    EXPECT_EQ(wnd.m_pPermanentAtCreate, &wnd);
    EXPECT_STREQ(wnd.m_cs.lpszClass, kDefProcClass);
    EXPECT_EQ(wnd.m_pfnSuper, reinterpret_cast<WNDPROC>(::DefWindowProcA));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.m_bPostNcDestroy);
}

TEST_F(WndCreate, SystemClassIsSubclassedFromItsFirstMessage)
{
    CTestTopWindow top;
    ASSERT_TRUE(top.CreateTop());
    CCreateWatcher edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "texte", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, top.m_hWnd,
                              reinterpret_cast<HMENU>(3)));
    EXPECT_EQ(edit.m_hWndAtCreate, edit.m_hWnd);
    // The edit's own procedure still does its work.
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "texte");
    EXPECT_EQ(CWnd::FromHandlePermanent(edit.m_hWnd), &edit);
    top.DestroyWindow();
    // The child went with its parent, and let go of its handle.
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_TRUE(edit.m_bPostNcDestroy);
}

TEST_F(WndCreate, CreateFailingInOnCreateReturnsFalseAndDeletesSelfOwningObject)
{
    bool bDeleted = false;
    CSelfDeleting* pWnd = new CSelfDeleting(&bDeleted);
    EXPECT_FALSE(pWnd->CreateEx(0, nullptr, "refus", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(bDeleted);
}

TEST_F(WndCreate, ObjectOfAChildCreatedDuringParentCreationIsAttached)
{
    CParentMakingChild parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_NE(parent.m_child.m_hWnd, nullptr);
    EXPECT_EQ(parent.m_child.m_hWndAtCreate, parent.m_child.m_hWnd);
    EXPECT_EQ(::GetParent(parent.m_child.m_hWnd), parent.m_hWnd);
    EXPECT_EQ(parent.GetDlgItem(7), &parent.m_child);
    parent.DestroyWindow();
}

TEST_F(WndCreate, TemporaryWrapperIsReusedAndNeverPermanent)
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "sans objet", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    // Freed at idle: the window itself stays.
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(hWnd));
    ::DestroyWindow(hWnd);
}

TEST_F(WndCreate, UnsubclassGivesTheWindowItsOwnProcedureBack)
{
    HWND hWnd = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    LONG_PTR original = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(AfxWndProc));
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
        EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    }
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_TRUE(::IsWindow(hWnd)); // the object went, the window stayed
    ::DestroyWindow(hWnd);
}

TEST_F(WndCreate, ObjectDestroyedBeforeItsWindowTakesTheWindowWithIt)
{
    HWND hWnd = nullptr;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "court", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(WndCreate, NullObjectHasNoHandle)
{
    CWnd* volatile pMissing = nullptr; // a dialog item that is not there
    EXPECT_EQ(pMissing->GetSafeHwnd(), nullptr);
    EXPECT_EQ(AfxSafeHwnd(pMissing), nullptr);
}

TEST_F(WndCreate, SameObjectCanMakeANewWindowAfterTheOldOneWent)
{
    CCreateWatcher wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "EDIT", "un", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr));
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_pfnSuper, nullptr);
    RegisterDefProcClass();
    ASSERT_TRUE(wnd.CreateEx(0, kDefProcClass, "deux", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr));
    EXPECT_EQ(wnd.m_pfnSuper, reinterpret_cast<WNDPROC>(::DefWindowProcA));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(text, "deux");
    wnd.DestroyWindow();
}

TEST_F(WndCreate, WorkerThreadHasItsOwnTemporaryWrappers)
{
    HWND hWnd =
        ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HMENU hMenu = ::CreatePopupMenu();
    CWnd* pMine = CWnd::FromHandle(hWnd);
    CWnd* pTheirs = nullptr;
    CMenu* pTheirMenu = nullptr;
    for (int round = 0; round < 3; round++) {
        std::thread worker([&] {
            pTheirs = CWnd::FromHandle(hWnd);
            pTheirMenu = CMenu::FromHandle(hMenu);
            EXPECT_EQ(pTheirs->m_hWnd, hWnd);
            EXPECT_EQ(pTheirMenu->m_hMenu, hMenu);
            AfxDeleteTempMaps(); // as the framework's threads do before they end
        });
        worker.join();
        EXPECT_NE(pTheirs, pMine);
    }
    EXPECT_EQ(CWnd::FromHandle(hWnd), pMine);
    ::DestroyMenu(hMenu);
    ::DestroyWindow(hWnd);
}
