// Matching file names against the patterns users type to select pictures ("*.jpg", "img_0[0-4]?.*"):
// '?', '*', sets with ranges and negation, '\' escapes, and the DOS endings "*.*" and "*.".
#pragma once

// Nonzero when name matches pattern. "*.*" at the end also matches names without extension; "*."
// at the end matches only names without any '.'. With foldCase, A-Z and the accented capitals of
// code page 1252 (not the multiplication sign) compare equal to their small letters.
int MatchFileName(const char* name, const char* pattern, int foldCase);

// The matcher itself: 1 match, 0 no match, 2 the name ran out while a '*' looked for the rest of the
// pattern (no match, and no shorter choice of an enclosing '*' can match either).
int MatchWildcard(const char* pattern, const char* name, int foldCase);
