// The format of a saved picture by its extension.
#include "viewers/PictureSave.h"

#include "framework/String.h"

#include <cstring>

PictureFormat PictureFormatOfPath(LPCSTR path)
{
    LPCSTR pName = std::strrchr(path, '\\');
    pName = pName != nullptr ? pName + 1 : path;
    LPCSTR pDot = std::strrchr(pName, '.');
    if (pDot == nullptr)
        return kPictureFormatNone;
    CString strExt(pDot + 1);
    strExt = strExt.Left(3);
    if (strExt.CompareNoCase("JPG") == 0 || strExt.CompareNoCase("JPE") == 0)
        return kPictureFormatJPEG;
    if (strExt.CompareNoCase("PNG") == 0)
        return kPictureFormatPNG;
    if (strExt.CompareNoCase("BMP") == 0)
        return kPictureFormatBMP;
    return kPictureFormatNone;
}
