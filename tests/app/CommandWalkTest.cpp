// Every command that the library bar, the explorer window, the search window and the animation
// window offer (their menus, context menus, keyboard table and tool bars) either acts or is greyed by
// its update handler: each id is walked against each window kind in front, and one that shows
// enabled but reaches no handler (or only a handler that does nothing) fails, as does one of the
// window's own menu that is greyed because no handler answers it.
#include "tests/app/CommandIds.h"
#include "tests/app/ListWindowsFixture.h"

#include "framework/CmdTarget.h"
#include "framework/StdIds.h"
#include "resources/library-bar-ids.h"
#include "resources/resource.h"

#include <set>
#include <sstream>

namespace {

// What the update route leaves on a command: enabled unless a handler (or the want of one) greys it.
class CEnabledCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        m_bOn = bOn;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
    BOOL m_bOn = TRUE;
};

class CommandWalk : public ListWindowsTest {
protected:
    // The handler a target's own message map gives a command (not the route's).
    static AFX_PTHUNK OwnHandler(CCmdTarget* pTarget, UINT id)
    {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        return pTarget->CCmdTarget::OnCmdMsg(id, CN_COMMAND, nullptr, &info) ? info.pfn : nullptr;
    }
    // TRUE when the command, sent now, reaches a handler that does something.
    bool Acts(UINT id)
    {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        if (!m_pFrame->OnCmdMsg(id, CN_COMMAND, nullptr, &info))
            return false;
        if (info.pTarget != m_pFrame)
            return true;
        // The frame's empty entries stand for commands another window takes first.
        if (info.pfn == OwnHandler(m_pFrame, ID_RESERVED_32900)
            || info.pfn == OwnHandler(m_pFrame, ID_EXPLORER_EDIT_PICTURE))
            return false;
        // The library commands go on to the bar, which must have a handler of its own that acts.
        if (info.pfn == OwnHandler(m_pFrame, ID_LIB_SELECT_ALL)
            || info.pfn == OwnHandler(m_pFrame, ID_LIB_NEW_FOLDER)) {
            AFX_PTHUNK pfn = OwnHandler(Bar(), id);
            return pfn != nullptr && pfn != OwnHandler(Bar(), ID_LIB_RESERVED1);
        }
        return true;
    }
    // The commands shown enabled that do nothing, for the window kind now in front, and those of its
    // own menu greyed for want of a handler (one the window lost).
    std::string Walk(const char* kind, UINT menuId)
    {
        std::set<UINT> own;
        AddMenu(menuId, &own);
        std::ostringstream failures;
        for (UINT id : m_ids) {
            CEnabledCmdUI ui;
            ui.m_nID = id;
            ui.DoUpdate(m_pFrame, TRUE);
            AFX_CMDHANDLERINFO info = {nullptr, nullptr};
            if (ui.m_bOn && !Acts(id))
                failures << kind << ": " << id << "\n";
            else if (!ui.m_bOn && own.count(id) && !m_pFrame->OnCmdMsg(id, CN_COMMAND, nullptr, &info))
                failures << kind << ": " << id << " has no handler\n";
        }
        return failures.str();
    }
    void CollectIds() { m_ids = ListWindowCommands(); }
    std::set<UINT> m_ids;
};

} // namespace

TEST_F(CommandWalk, NoCommandOfTheListWindowsIsEnabledAndSilent)
{
    ASSERT_TRUE(StartWithLibrary());
    CollectIds();
    // The explorer's own commands, the search window's export, the library's and the player's,
    // among the rest.
    for (UINT id : {ID_EXPLORER_ADD_TO_LIBRARY, ID_SEARCH_EXPORT, ID_LIB_SELECT_PATTERN,
                    ID_EXPLORER_SELECTION_MENU, ID_ANIM_REPEAT})
        EXPECT_EQ(m_ids.count(id), 1u) << id;

    // The library bar alone, with a picture of its list selected.
    EXPECT_EQ(Walk("library", IDR_MAINFRAME), "");

    // An explorer window in front, its first picture selected, the list then the tree focused.
    CExplorerView* pExplorer = OpenExplorer();
    ASSERT_NE(pExplorer, nullptr);
    EXPECT_EQ(Walk("explorer, list", IDR_EXPLORERTYPE), "");
    pExplorer->m_tree.SetFocus();
    EXPECT_EQ(Walk("explorer, tree", IDR_EXPLORERTYPE), "");

    // A search window in front (the explorer behind it).
    CSearchView* pSearch = OpenSearch();
    ASSERT_NE(pSearch, nullptr);
    EXPECT_EQ(Walk("search", IDR_SEARCHTYPE), "");

    // An animation window in front.
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteGif("anim.gif").c_str()), nullptr);
    EXPECT_EQ(Walk("animation", IDR_GIFTYPE), "");

    // The library's trash in the bar, the windows closed.
    CloseWindows();
    Bar()->m_tree.SelectPath((m_root + "\\El\xE9ments Supprim\xE9s").c_str());
    SettleBar();
    EXPECT_EQ(Walk("library, trash", IDR_MAINFRAME), "");
}
