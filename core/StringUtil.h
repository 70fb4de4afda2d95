// Small text helpers: string-table texts with their built-in French wording, and bounded copies into
// fixed buffers. Case folding and comparisons without case are the framework's ANSI pair
// (AfxAnsiUpper, AfxAnsiLower, AfxAnsiCompareNoCase in framework/String.h).
#pragma once
#include <windows.h>

#include "framework/String.h"

// Text `id` of the resource module's string table; `builtIn` (the program's own wording of that
// text) when the module does not carry it, as in test programs without the resource file.
CString LoadStringOr(UINT id, LPCSTR builtIn);

// Copies text into a buffer of `size` bytes, cut to size - 1 bytes and always terminated (nothing
// is written when size is 0). Null text copies as "".
void CopyTextBounded(char* dest, size_t size, LPCSTR text);
