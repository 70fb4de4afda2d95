// The explorer's list window in the running program: a view change whose new window cannot be made,
// and the idle step that builds thumbnails.
#include "tests/app/AppFixture.h"
#include "tests/app/ListBoxRefusal.h"

#include "explorer/ExplorerView.h"
#include "explorer/ExplorerGlobals.h"
#include "framework/MDIChildWnd.h"
#include "piclist/PicObject.h"
#include "resources/resource.h"
#include "shell/Settings.h"

#include <memory>
#include <string>
#include <vector>

namespace {

class ExplorerListWindowTest : public AppTest {
protected:
    CExplorerView* OpenExplorer(const std::string& folder)
    {
        m_pApp->OpenDocumentFile(folder.c_str());
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        CView* pView = pChild != nullptr ? pChild->GetActiveView() : nullptr;
        if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CExplorerView)))
            return nullptr;
        return static_cast<CExplorerView*>(pView);
    }
    std::string FolderOf(const std::string& rel, int pictures, int width)
    {
        std::string path = m_temp.File(rel);
        CreateDirectoryA(path.c_str(), nullptr);
        for (int i = 0; i < pictures; i++)
            WriteBmp(rel + "\\p" + std::to_string(1000 + i) + ".bmp", width, width / 2);
        return path;
    }
};

} // namespace

// When the list window cannot be made in the new view, the list stays in its view with its records;
// when it cannot be made at all, the view is left without a list, and the next change makes one.
TEST_F(ExplorerListWindowTest, AViewChangeThatCannotMakeItsWindowKeepsTheList)
{
    ASSERT_TRUE(Start());
    CExplorerView* pView = OpenExplorer(FolderOf("Pics", 5, 16));
    ASSERT_NE(pView, nullptr);
    pView->OnIdle();
    ASSERT_EQ(pView->m_list.GetCount(), 5);
    const int view = pView->m_list.m_nView;
    std::vector<CPicObject*> before;
    for (int i = 0; i < 5; i++)
        before.push_back(pView->m_list.GetRecord(i));

    struct Case {
        UINT command;
        int refusals;
        bool listAfter;
    };
    const Case cases[] = {{ID_EXPLORER_VIEW_LIST, 1, true}, {ID_EXPLORER_VIEW_SMALL, 2, false}};
    auto refusal = std::make_unique<CListBoxRefusal>();
    ASSERT_TRUE(refusal->Hooked());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusals);
        refusal->RefuseNext(c.refusals);
        pView->SendMessage(WM_COMMAND, c.command);
        EXPECT_EQ(refusal->Left(), 0);
        EXPECT_EQ(::IsWindow(pView->m_list.m_hWnd) != FALSE, c.listAfter);
        EXPECT_EQ(pView->m_list.m_nView, view);
        EXPECT_EQ(g_TailleVignette, view);
        if (c.listAfter) {
            ASSERT_EQ(pView->m_list.GetCount(), 5);
            for (int i = 0; i < 5; i++)
                EXPECT_EQ(pView->m_list.GetRecord(i), before[static_cast<size_t>(i)]);
        }
    }
    refusal.reset();
    // Idle steps and the status line cope with the missing list; the next change makes it again.
    pView->OnIdle();
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_VIEW_LIST);
    EXPECT_TRUE(::IsWindow(pView->m_list.m_hWnd));
    EXPECT_EQ(pView->m_list.m_nView, 3);
}

// One idle step of an explorer builds thumbnails for as long as its slice lasts, not one a step.
TEST_F(ExplorerListWindowTest, OneIdleStepBuildsManyThumbnails)
{
    ASSERT_TRUE(Start());
    CExplorerView* pView = OpenExplorer(FolderOf("Small", 300, 16));
    ASSERT_NE(pView, nullptr);
    pView->OnIdle(); // the load
    ASSERT_EQ(pView->m_list.GetCount(), 300);
    auto builtCount = [pView] {
        int built = 0;
        for (int i = 0; i < 300; i++)
            built += pView->m_list.GetRecord(i)->m_nThumbState == 1;
        return built;
    };
    // The first step also paints the whole list for the first time.
    pView->OnIdle();
    Pump();
    // A slice that cannot run out: the one step builds every picture left.
    pView->m_list.m_nBuildSliceMs = 600000;
    pView->m_list.m_bYieldToInput = FALSE;
    pView->OnIdle();
    EXPECT_EQ(builtCount(), 300);
}
