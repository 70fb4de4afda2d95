// The commands that work on a thumbnail list and its pictures whatever window holds it (the library
// bar, an explorer, a search window): selecting all, none, the inverse or by pattern, copying a
// picture to the clipboard, opening one in the external editor and choosing the export folder.
#pragma once
#include <windows.h>

#include "framework/String.h"

class CListBox;
class CWnd;
class CPicListBox;

enum ListSelectOp { kListSelectAll, kListDeselectAll, kListInvertSelection };

// Selects, deselects or toggles every item. FALSE (nothing done) for an empty list.
BOOL ChangeListSelection(CListBox& list, ListSelectOp op);
// The select all, none and invert commands of the explorer and search windows: the list takes the
// focus, and keeps it when the command ends; select all puts the caret on the first item, the others
// keep it where it was.
void RunListSelectCommand(CListBox& list, ListSelectOp op);

// The name a pattern is tested against: the picture's file name, or for a trash row the file name
// of the item's former place.
CString PatternNameOfItem(const CPicListBox& list, int index);

// Selects (bSelect) or deselects the items whose name matches the pattern (case folded), after
// deselecting every item when bReplace. The first matching index, -1 when nothing matched. The caret
// moves to the first match only when selecting.
int ApplyPatternToList(CPicListBox& list, const CString& pattern, BOOL bSelect, BOOL bReplace);

// The select (bSelect) or deselect by pattern command: asks the pattern with the shared histories,
// applies it (the select dialog's replace box deselects first), says "Aucune concordance trouvée."
// when nothing matched and gives the list the focus, which keeps it when the command ends, cancelled
// too. Nothing for an empty list. The first matching index; -1 when nothing matched or the user
// cancelled.
int RunPatternCommand(CWnd* pOwner, CPicListBox& list, BOOL bSelect);

// Puts the picture of path on the clipboard as a device bitmap (and its palette when it has a colour
// table). FALSE, with nothing changed, when the picture cannot be read or the clipboard is busy.
BOOL CopyPictureToClipboard(HWND hOwner, const CString& path);

// Starts the editor on the picture, in the picture's folder. The file name is passed quoted, so a
// name with blanks reaches the editor as one argument. FALSE (after a beep and the message) when the
// editor could not be started.
BOOL OpenInExternalEditor(HWND hOwner, const CString& editor, const CString& picture);

// The edit command when no editor is defined: asks whether to define one now; on "Oui" the
// preferences sheet opens on its editor page (posted to the main window).
void OfferToDefineEditor();

// Tracks pop-up nPopup of the context menus at the cursor, owned by the main window so that its
// commands reach the window in front: in the left half of the screen its left edge stands offset
// pixels left of the cursor, in the right half its right edge offset pixels right of it; its top
// offset pixels above. FALSE when the menu could not be loaded.
BOOL TrackListPopup(int nPopup, int offset);
// A window's pop-up button: the window takes the focus, which it keeps when the command ends, then the
// pop-up is tracked as above.
void PopupListMenu(CWnd* pOwner, int nPopup, int offset);

// The folder browser of the export command, opened on *pCurrent (the last export folder) when that
// folder exists; empty when cancelled. *pCurrent is updated with the choice.
CString BrowseExportFolder(HWND hOwner, CString* pCurrent);
// Tells how many pictures an export put into folder.
void ReportExportCount(int exported, const CString& folder);
