// Texts between the ANSI code page and the system's wide characters, and whether a wide text can be
// written in the code page letter for letter. The ANSI calls give a letter the code page lacks the
// nearest one it has (a Polish barred L as an L): a name so spelled names another file, or none.
#pragma once
#include "framework/String.h"

#include <windows.h>

#include <string>

// Stands, in a text given in the code page, for each letter the code page lacks (a listing's names, a
// path that came in from outside the program): no file name may hold it, so a path that holds it names
// no file, and every call on it fails.
const char kAfxUnspelledMark = '|';

// The code-page text in wide characters (every letter of the code page has one).
std::wstring AfxCodePageToWide(LPCSTR text);

// TRUE when the code page has a letter for every character of text (nLength characters, -1: up to
// its end).
BOOL AfxSpelledInCodePage(LPCWSTR text, int nLength = -1);

// The text in the code page; FALSE, and *pText untouched, when the code page lacks one of its letters.
BOOL AfxWideToCodePage(LPCWSTR text, CString* pText);

// The text in the code page, each letter it lacks as kAfxUnspelledMark.
CString AfxCodePageMarkedText(LPCWSTR text);

// The text as a message can show it: each letter the code page lacks as a question mark, never as the
// look-alike that names another file.
CString AfxCodePageShownText(LPCWSTR text);

// A marked text as the user is shown it: each kAfxUnspelledMark as a question mark, as
// AfxCodePageShownText shows the letters it stands for.
CString AfxMarkedTextShown(LPCSTR text);
