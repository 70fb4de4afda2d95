// PNG pictures: the reader (every colour type and bit depth, palettes with transparency,
// interlacing) and the writer of 1-, 4-, 8- and 24-bit pictures.
#pragma once
#include "core/PackedDib.h"

// String-table text of the writer's gauge.
const UINT IDS_PNG_WRITING = 88; // "Ecriture PNG..."

// Reads a PNG file (ANSI path) into a new picture owned by the caller; 0 on any failure (missing
// file, not a PNG, damaged or truncated data, a picture too large to hold). Nothing is shown.
// 16-bit samples are reduced to 8; transparency is composited onto black; gamma is corrected for a
// 2.2 screen (the file's gAMA, else 0.45). Grey pictures keep 1, 4 or 8 bits with a grey-ramp
// colour table (2-bit grey becomes 8); palette pictures keep their palette at 1, 4 or 8 bits (2-bit
// palettes become 8); palettes with transparency, colour and alpha pictures become 24-bit
// (blue, green, red). Interlaced files give the same picture as their plain twins.
PackedDIB LoadPNG(LPCSTR path);

// Results of SavePNG: 0 written, 1 not written (an existing file of that name is left as it was).
enum SavePNGResult { kSavePNGDone = 0, kSavePNGFailed = 1 };

// Writes the picture (borrowed, not changed) as a PNG file: 1, 4 and 8 bits as a palette picture of
// that depth (PLTE of 2, 16 or 256 entries from the colour table; entries past it black), 24 bits as
// RGB with sBIT 8, 8, 8; not interlaced, top row first. Other depths give 1 before any file is
// touched. The file is written beside the target and moved over it once complete. *pError, when
// given, receives the system's error of the file call that failed (ERROR_SUCCESS when none did, or
// the picture itself was refused).
int SavePNG(PackedDIB dib, LPCSTR path, DWORD* pError = nullptr);
