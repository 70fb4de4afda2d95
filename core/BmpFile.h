// Windows bitmap files (BMP, DIB, RLE): reading into a packed DIB and writing one out.
#pragma once
#include "core/PackedDib.h"

// Reads a BMP file into a new picture owned by the caller, or 0 (missing file, bad signature,
// truncated or inconsistent header, colour table or rows, RLE4, a picture above kMaxPackedDIBBytes).
// Accepts the 12-byte OS/2 core header, the 40-byte header and its longer V2-V5 forms, top-down
// rows, BI_RLE8 and BI_BITFIELDS; the result is always a 40-byte header, BI_RGB, bottom-up rows.
PackedDIB LoadBMPFile(LPCSTR path);

// As LoadBMPFile on a file open for reading, positioned at the start of the bitmap file. The
// handle stays open (the caller's).
PackedDIB ReadDIBFile(HANDLE file);

// As LoadBMPFile on the bytes of a whole bitmap file held in memory.
PackedDIB ReadDIBFromMemory(const void* data, DWORD size);

// Reads count bytes in pieces of at most 32767, driving the progress gauge ("Lecture BMP...")
// while progress is reported (ShouldReportProgress). TRUE when every byte was read.
BOOL ReadFileWithProgress(HANDLE file, void* dest, DWORD count);

// Decodes a BI_RLE8 stream of srcBytes bytes into the bottom-up 8-bit rows at dest, which hold
// DIBRowBytes(biWidth, 8) x |biHeight| bytes. Pixels the stream skips keep their value. Never writes
// outside the rows nor reads past the source: returns FALSE when the stream tried to (it is
// stopped there), TRUE when it ended cleanly (end-of-bitmap escape or end of data).
BOOL DecodeRLE8(const BITMAPINFOHEADER* header, BYTE* dest, const BYTE* src, DWORD srcBytes);

// Result codes of SaveDIBFile.
enum {
    kSaveDIBOk = 0,
    kSaveDIBCannotLock = 3,  // the picture cannot be locked or is not a valid 40-byte-header block
    kSaveDIBWriteFailed = 4, // the file cannot be created or not every byte was written
    kSaveDIBNoPicture = 20,  // null handle
};

// Writes the picture as a BMP file (14-byte file header, the 40-byte header, colour table, rows),
// setting biSizeImage in the picture for uncompressed pictures. The file is written beside the
// target under a temporary name and moved over it only when complete: on failure an earlier file
// stays as it was. Returns one of the codes above. *pError, when given, receives the system's error of
// the file call that failed (ERROR_SUCCESS when none did, or the picture itself was refused).
WORD SaveDIBFile(PackedDIB dib, LPCSTR path, DWORD* pError = nullptr);

// Writes count bytes in pieces of at most 32767, driving the progress gauge ("Ecriture BMP...")
// while progress is reported (ShouldReportProgress). Returns count when everything was written, 0 otherwise.
DWORD WriteFileWithProgress(HANDLE file, const void* src, DWORD count);
