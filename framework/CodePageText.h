// Texts between the ANSI code page and the system's wide characters, and whether a wide text can be
// written in the code page letter for letter. The ANSI calls give a letter the code page lacks the
// nearest one it has (a Polish barred L as an L): a name so spelled names another file, or none.
#pragma once
#include "framework/String.h"

#include <windows.h>

#include <string>

// The code-page text in wide characters (every letter of the code page has one).
std::wstring AfxCodePageToWide(LPCSTR text);

// TRUE when the code page has a letter for every character of text (nLength characters, -1: up to
// its end).
BOOL AfxSpelledInCodePage(LPCWSTR text, int nLength = -1);

// The text in the code page; FALSE, and *pText untouched, when the code page lacks one of its letters.
BOOL AfxWideToCodePage(LPCWSTR text, CString* pText);

// The text as a message can show it: each letter the code page lacks as a question mark, never as the
// look-alike that names another file.
CString AfxCodePageShownText(LPCWSTR text);
