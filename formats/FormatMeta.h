// Reader of Windows metafiles: enhanced, placeable and plain metafiles in .WMF files, played by
// the system into a raster picture fitted to the default metafile size.
#pragma once
#include "core/PackedDib.h"

#include <cstddef>

// The reader of file-type code 33: the content is told apart by its bytes (an enhanced metafile
// has " EMF" at offset 40, a placeable one the key 0x9AC6CDD7 at offset 0, anything else is read
// as a plain Windows metafile), checked record by record, converted to an enhanced metafile and
// played onto a white screen-compatible bitmap. Its size is the metafile's frame in pixels,
// fitted to "DefaultWmfCX" x "DefaultWmfCY" (of the thread's reader options, taken as 10..5000; outside that
// range the defaults 640 x 480), kept as it is while ThumbnailDecodeMode is set (reduced to 4096
// pixels on its longer side). The result is a new picture at the screen's depth, owned by the
// caller, or 0 for a file that cannot be read, a metafile that fails the checks or that the
// system refuses, or an empty frame. Shows nothing; keeps no state.
PackedDIB LoadMetafile(LPCSTR path);

// The same from the bytes of a metafile held in memory (only read).
PackedDIB DecodeMetafile(const void* data, size_t size);

// The content of the file as an enhanced metafile that the caller deletes (DeleteEnhMetaFile),
// or 0. The file is mapped only while the content is decided and converted.
HENHMETAFILE OpenMetafileHandle(LPCSTR path);
// The same from bytes: the checks and the conversion, without the file.
HENHMETAFILE MetafileHandleFromBytes(const void* data, size_t size);

// A file mapped read-only as a whole: filled by MapFileForRead, released by UnmapFile.
struct MappedFileRecord {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const BYTE* view = nullptr;
    DWORD size = 0;
};
// Opens (GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), maps and views the whole file; mappingName
// may be null. 1, or 0 with nothing left open (an empty file cannot be mapped).
int MapFileForRead(LPCSTR path, LPCSTR mappingName, MappedFileRecord* record);
// Unmaps the view and closes the mapping and the file; returns 1.
int UnmapFile(MappedFileRecord* record);

// Converts the placeable metafile whose 22-byte header starts at `header` (followed by at least
// available - 22 bytes of the Windows metafile) with extents in 0.01 mm from its bounding box and
// units per inch, on the screen as the reference device. 0 when the units per inch are 0, the
// metafile would need more bytes than are available, or the system refuses it.
HENHMETAFILE PlaceableWMFToEMF(const void* header, size_t available);

// The metafile's frame in pixels of its reference device; 0 for a null handle, an unreadable
// header or a reference device of 0 millimetres.
int EMFWidthPixels(HENHMETAFILE metafile);
int EMFHeightPixels(HENHMETAFILE metafile);

// A palette of the metafile's own entries, which the caller deletes; 0 when it has none or they
// cannot all be read.
HPALETTE CreateEMFPalette(HENHMETAFILE metafile);

// Fits width x height into cx x cy keeping the proportions: the result is exactly cx wide, or
// exactly cy high when the cx-wide version would be taller than cy (so small metafiles grow).
// A side that would come out 0 becomes 1. Both sizes must be above 0.
void FitMetafileSize(int* width, int* height, int cx, int cy);

// Record-by-record checks of the bytes before they reach the system: sizes, counts, offsets,
// embedded bitmaps and regions inside their records, object indices inside the handle table,
// and the end record. True when the whole metafile passes.
bool CheckEnhancedMetafile(const void* data, size_t size);
// wmf: the standard 18-byte header and its records, without any placeable header.
bool CheckWindowsMetafile(const void* wmf, size_t size);
