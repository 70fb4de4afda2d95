// The table of readers by file-type code, as the load dispatcher uses it.
#include "formats/Readers.h"

#include "core/LoadDispatch.h"
#include "core/FileTypes.h"
#include "formats/FormatGif.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "formats/FormatTiff.h"
#include "formats/FormatIff.h"
#include "formats/FormatMeta.h"
#include "formats/FormatPcd.h"
#include "formats/FormatPcx.h"
#include "formats/FormatTga.h"
#include "formats/QuickTime.h"

void InstallPictureReaders()
{
    // Readers built on the picture libraries.
    SetPictureReader(kFileTypeJPEG, LoadJPEG);
    SetJPEGResourceReader(LoadJPEGResource);
    SetPictureReader(kFileTypePNG, LoadPNG);
    SetPictureReader(kFileTypeGIF, LoadGIF);
    // TIFF goes to QuickTime first when it is installed (it reads more kinds), then to libtiff.
    SetPictureReader(kFileTypeTIFF, LoadTIFFPreferringQuickTime);

    // Readers of the program's own.
    SetPictureReader(kFileTypeIFF, LoadIFF);
    SetPictureReader(kFileTypeLBM, LoadIFF);
    SetPictureReader(kFileTypePCX, LoadPCX);
    SetPictureReader(kFileTypeTGA, LoadTGA);
    SetPictureReader(kFileTypeWMF, LoadMetafile);
    SetPictureReader(kFileTypePCD, LoadPCD);
    // Types only the QuickTime runtime reads.
    SetPictureReader(kFileTypeMOV, ImportPictureWithQuickTime);
    SetPictureReader(kFileTypePICT, ImportPictureWithQuickTime);
    SetPictureReader(kFileTypeQT, ImportPictureWithQuickTime);
    SetPictureReader(kFileTypePSD, ImportPictureWithQuickTime);
    SetPictureReader(kFileTypeFPX, ImportPictureWithQuickTime);
    SetPictureReader(kFileTypeQTI, ImportPictureWithQuickTime);
}
