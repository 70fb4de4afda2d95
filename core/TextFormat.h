// Display texts in French: file and memory sizes, DOS dates and times, the current date, and the
// names of colour depths. Wording comes from the string table.
#pragma once
#include <windows.h>

#include "framework/String.h"

// "1,5 Ko (1 524 octets)": the short value with its unit (octets below 1024 bytes, Ko below
// 1 MiB, Mo above), then the exact count with its digits grouped by three.
CString FormatFileSize(DWORD bytes);

// "1,5 Ko": the short value with its unit only. The short value is the count below 1024; above,
// whole units and a two-digit fraction (hundredths of the unit, cut at 99) after a comma, without
// a trailing 0 ("1,5" for 50, "1,05" for 5) and without a fraction of 0.
CString FormatFileSizeShort(DWORD bytes);

// "le 01/09/2001 à 12:00:00" from DOS date and time words (seconds counted in twos).
CString FormatDosDateTime(WORD date, WORD time);

// Size text (FormatFileSize of the low 32 bits of the length) and date text (FormatDosDateTime of
// the last write, in local time) of the file at path. Both are left as they were when no file is
// found.
void GetFileSizeAndDateText(const CString& path, CString* sizeText, CString* dateText);

// FormatFileSize of bitsPerPixel x width x height / 8, computed in 64 bits and taken to its low
// 32 bits. Negative arguments count as 0.
CString FormatImageMemorySize(int width, int height, int bitsPerPixel);

// "Lundi 03/09/2001 - 14:05:09": the local date and time with the French weekday, in a
// process-wide buffer that the next call overwrites.
LPCSTR FormatCurrentDateTime();

// Name of a colour depth for status panes and property pages: 1 "Mono", 4 "16 couleurs",
// 8 "256 couleurs", 15 "32768 colors", 16 "65536 couleurs", 24 "16,8M couleurs",
// 32 "16,8M colors (24 bits)", any other "?". The text stays valid until the process ends.
LPCSTR GetColorDepthName(int bits);

// Bit count for a number of colours: 0 -> 24, 2 -> 1, 16 -> 4, 256 -> 8, any other -> 4.
int ColorCountToBitCount(int colors);
