#include "tests/app/CommandIds.h"

#include "resources/library-bar-ids.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

} // namespace

void AddMenuCommands(HMENU menu, std::set<UINT>* pIds)
{
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            AddMenuCommands(sub, pIds);
            continue;
        }
        UINT id = GetMenuItemID(menu, i);
        if (id != 0 && id != static_cast<UINT>(-1))
            pIds->insert(id);
    }
}

void AddMenu(UINT menuId, std::set<UINT>* pIds)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(menuId));
    ASSERT_NE(menu, nullptr) << menuId;
    AddMenuCommands(menu, pIds);
    DestroyMenu(menu);
}

void AddContextMenu(int position, std::set<UINT>* pIds)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_CONTEXTMENUS));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, position);
    ASSERT_NE(popup, nullptr) << position;
    AddMenuCommands(popup, pIds);
    DestroyMenu(menu);
}

// A tool bar resource: version, width, height, count, then the count button ids (0 separators).
void AddToolBar(UINT toolBarId, std::set<UINT>* pIds)
{
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(toolBarId), MAKEINTRESOURCEA(241));
    ASSERT_NE(found, nullptr) << toolBarId;
    const WORD* words = static_cast<const WORD*>(LockResource(LoadResource(Module(), found)));
    ASSERT_NE(words, nullptr);
    for (WORD i = 0; i < words[3]; i++)
        if (words[4 + i] != 0)
            pIds->insert(words[4 + i]);
}

void AddKeys(UINT tableId, std::set<UINT>* pIds)
{
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(tableId));
    ASSERT_NE(table, nullptr);
    ACCEL entries[128] = {};
    int count = CopyAcceleratorTableA(table, entries, 128);
    for (int i = 0; i < count; i++)
        pIds->insert(entries[i].cmd);
}

std::set<UINT> ListWindowCommands()
{
    std::set<UINT> ids;
    AddMenu(IDR_MAINFRAME, &ids);
    AddMenu(IDR_EXPLORERTYPE, &ids);
    AddMenu(IDR_SEARCHTYPE, &ids);
    AddMenu(IDR_GIFTYPE, &ids);
    for (int popup :
         {CONTEXT_EXPLORER_LIST, CONTEXT_ANIMATION_VIEW, CONTEXT_LOCAL_TOOLBAR, CONTEXT_LIBRARY_SELECTION,
          CONTEXT_LIBRARY_VIEW, CONTEXT_DIALOG_BAR, CONTEXT_LIBRARY_LIST, CONTEXT_LIBRARY_TREE,
          CONTEXT_EXPLORER_SELECTION, CONTEXT_EXPLORER_SELECTION + 1})
        AddContextMenu(popup, &ids);
    AddKeys(IDR_MAINFRAME, &ids);
    for (UINT bar : {static_cast<UINT>(IDR_EXPLORERTYPE), static_cast<UINT>(IDR_SEARCHTYPE),
                     static_cast<UINT>(IDR_GIFTYPE), static_cast<UINT>(IDR_LIBBAR_TOOLS1),
                     static_cast<UINT>(IDR_LIBBAR_TOOLS2)})
        AddToolBar(bar, &ids);
    return ids;
}
