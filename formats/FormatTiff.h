// TIFF pictures through libtiff: the first image of a file, with every codec the library is built
// with (none, PackBits, LZW, Deflate, PixarLog, CCITT Group 3 and 4, JPEG and old JPEG, NeXT).
#pragma once
#include <cstdint>

#include "core/PackedDib.h"

class CString;

// The first image of a TIFF file (ANSI path) as a new picture owned by the caller; 0 on any
// failure. Nothing is shown: libtiff's warnings and errors are silenced.
// - One sample of 1 bit gives a 1-bit picture (min-is-black: 0 black; min-is-white: 0 white;
//   palette: the file's colour map); one sample of 2 to 8 bits an 8-bit picture with a grey ramp or
//   the colour map (2- and 4-bit values spread to a byte each; 3, 5, 6 and 7 bits are refused).
// - RGB (3 or 4 samples of 8 bits; a fourth sample is ignored) and CMYK give 24 bits.
// - YCbCr, tiled and old-JPEG files and separate sample planes go through libtiff's RGBA
//   conversion into 24 bits (transparency composited onto black).
// - Refused: more than 8 bits per sample, 2 or 5+ samples, other photometric interpretations.
PackedDIB LoadTIFF(LPCSTR path);

// 16 when any of the first count entries of the three colour maps is 256 or more (a map of 16-bit
// values), else 8 (8-bit values written into the 16-bit fields).
int TIFFColorMapBits(int count, const uint16_t* red, const uint16_t* green, const uint16_t* blue);

// Takes a value and a string and returns 0. Nothing in the program calls it.
int TIFFReaderStub(void* unused, CString text);
