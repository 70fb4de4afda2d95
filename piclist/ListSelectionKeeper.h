// The selection of a picture list as the user left it, given back after a command changed it for
// its own needs and then did not go ahead (its dialog cancelled, or it could not start), or after the
// list was brought in line with its folder.
#pragma once
#include "framework/String.h"

#include <string>
#include <vector>

class CPicListBox;

// Notes the selected pictures, the caret, the anchor and the first item in view by the pictures'
// paths, so that they are found again even when the list was filled again meanwhile (a picture no
// longer listed is left out). The noted selection is given back when the object goes, unless the
// command said it went ahead.
class CListSelectionKeeper {
public:
    explicit CListSelectionKeeper(CPicListBox& list);
    ~CListSelectionKeeper();
    CListSelectionKeeper(const CListSelectionKeeper&) = delete;
    CListSelectionKeeper& operator=(const CListSelectionKeeper&) = delete;

    // The command did what it selected for: the list keeps the selection it has now.
    void CommandWentAhead() { m_bPending = FALSE; }
    // Selects exactly the noted pictures still listed and puts the caret, the anchor and the first
    // item in view back on theirs; once only.
    void Restore();

private:
    // The picture's path, folded so that a record read again under another case is the same.
    std::string KeyAt(int index) const;

    CPicListBox& m_list;
    BOOL m_bPending = TRUE;
    std::vector<std::string> m_selected;
    std::string m_caret;
    std::string m_anchor;
    std::string m_top;
};
