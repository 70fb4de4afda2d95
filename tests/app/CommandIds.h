// The commands the program's windows offer, read from the resources themselves (the menus, context
// menus, keyboard table and tool bars), so that a walk over them forgets none.
#pragma once
#include <windows.h>

#include <set>

// The ids of one menu and its sub-menus.
void AddMenuCommands(HMENU menu, std::set<UINT>* pIds);
void AddMenu(UINT menuId, std::set<UINT>* pIds);
// One pop-up of the context menus resource.
void AddContextMenu(int position, std::set<UINT>* pIds);
void AddToolBar(UINT toolBarId, std::set<UINT>* pIds);
void AddKeys(UINT tableId, std::set<UINT>* pIds);

// Every command of the main frame, the library bar, the explorer, search and animation windows.
std::set<UINT> ListWindowCommands();
