// Reader of Amiga IFF pictures: interleaved bitmaps (ILBM, with masks, HAM, half-bright and deep
// planes), DeluxePaint's chunky PBM form and the RGB8 / RGBN true-colour forms.
#pragma once
#include "core/PackedDib.h"

#include <cstddef>
#include <cstdio>

// True when the bytes begin as a file the reader takes: "FORM", "LIST" or "CAT " followed by a
// length and a form type other than "AIFF". Says nothing about the rest of the file.
bool IsIFFSignature(const void* data, size_t size);

// Decodes an IFF picture held in memory (the bytes are only read). Colour-mapped pictures of 1 to
// 8 planes give a 1-, 4- or 8-bit picture with a colour table from CMAP (entries CMAP does not
// give are black; a grey ramp without any CMAP); HAM, deep, RGB8 and RGBN pictures give 24 bits.
// Returns a new picture owned by the caller, or 0 when the bytes are not a picture the reader
// takes, are inconsistent, or the picture would exceed kMaxPackedDIBBytes. A BODY that ends early
// is not an error: rows it does not reach stay 0. Drives the progress gauge row by row while
// progress is reported (ShouldReportProgress).
PackedDIB DecodeIFF(const void* data, size_t size);

// The reader of file-type codes 11 (IFF) and 13 (LBM): reads the file (C runtime, "rb") and
// decodes it with DecodeIFF. 0 when the file cannot be read or decoded.
PackedDIB LoadIFF(LPCSTR path);

// Fills header (size 40, planes 1, no compression, sizes 0) for a picture of width x height with
// the depth that planes bit-planes give (1 -> 1; 2-4 -> 4; 5-8 -> 8; more -> 24) and returns the
// bytes of one picture row, padded to 4.
DWORD InitIFFBitmapHeader(BITMAPINFOHEADER* header, WORD width, WORD height, int planes);

// Byte-order helpers of the format (all numbers of an IFF file are big-endian).
// ReadDWordBE: four bytes of the stream as a big-endian number, whatever flag says; 0 at the end.
DWORD ReadDWordBE(FILE* stream, int flag);
// flag 0: the two (four) bytes reversed; otherwise the value unchanged.
WORD SwapBytes16(WORD value, int flag);
DWORD SwapBytes32(DWORD value, int flag);
// Two bytes of the stream; flag set: the first is the low byte, else the high byte.
WORD ReadWord16(FILE* stream, int flag);
