// libpng's error and warning handlers as the PNG reader and writer use them: errors jump back to
// the recovery point armed on the library's own structure, and nothing is shown.
#pragma once
#include <png.h>

// Traces the message and jumps to the recovery point armed with setjmp(png_jmpbuf(png)); never
// returns.
void PNGCBAPI PngFail(png_structp png, png_const_charp message);
// Drops the warning (ancillary-chunk CRC errors and the like): the read goes on.
void PNGCBAPI PngIgnoreWarning(png_structp png, png_const_charp message);
