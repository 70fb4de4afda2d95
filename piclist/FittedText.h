// Texts put into a dialog's static controls from the control's own template, its "%s" taking values
// that are never read as a format. Fitted, the values lose their middle ("...") until the whole
// text shows in the control, measured in its font and broken at its blanks as the control draws it.
#pragma once
#include <windows.h>

#include "framework/String.h"

#include <initializer_list>

// Puts the values, in order, where the control's template text says "%s".
void FillTemplateText(HWND hDlg, int id, std::initializer_list<const CString*> values);
// The same, fitted: the first value is shortened first, keeping a third of what it keeps from its
// beginning and the rest from its end; a later one only when the earlier ones are down to "...".
void FillFittedTemplateText(HWND hDlg, int id, std::initializer_list<const CString*> values);
// The control shows text alone, fitted the same way.
void SetFittedText(HWND hDlg, int id, const CString& text);
