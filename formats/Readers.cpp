// The table of readers by file-type code, as the load dispatcher uses it.
#include "formats/Readers.h"

#include "core/LoadDispatch.h"

void InstallPictureReaders() {
    // Readers built on the picture libraries.
    // (JPEG, PNG, GIF, TIFF)

    // Readers of the program's own.
    // (IFF/ILBM, PCX, Targa, metafiles, PhotoCD, QuickTime)
}
