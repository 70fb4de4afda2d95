// The format a picture is saved in, named by the extension of the path it is saved to.
#pragma once
#include <windows.h>

enum PictureFormat { kPictureFormatNone, kPictureFormatJPEG, kPictureFormatPNG, kPictureFormatBMP };

// The format named by the first three letters of the file's extension: JPG, JPE (jpeg), PNG, BMP.
PictureFormat PictureFormatOfPath(LPCSTR path);
