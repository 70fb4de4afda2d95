// libpng's error and warning handlers as the PNG reader and writer use them: errors jump back to
// the recovery point armed on the library's own structure, and nothing is shown.
#pragma once
#include <png.h>

void PNGCBAPI PngFail(png_structp png, png_const_charp message);
void PNGCBAPI PngIgnoreWarning(png_structp png, png_const_charp message);
