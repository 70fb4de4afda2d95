// The load dispatcher: the table of picture readers by file-type code, the values a load leaves
// behind for its caller, and the lock that lets one load run at a time.
#pragma once
#include "core/PackedDib.h"

// A reader takes a path and returns a new picture owned by the caller, or 0. It shows nothing.
typedef PackedDIB (*PictureReader)(LPCSTR path);

// Installs (or, with null, removes) the reader for a file-type code (see core/FileTypes.h). The BMP
// reader (code 5) is installed from the start; formats/Readers.cpp installs the others. Codes
// outside 0..127 are ignored.
void SetPictureReader(int fileTypeCode, PictureReader reader);
// The reader for a code, or null when that type has none.
PictureReader GetPictureReader(int fileTypeCode);

// The values below belong to the thread that loads: a thumbnail built on a worker thread never
// changes what a load on the user-interface thread sees.

// 1 while a thumbnail is being loaded (set by LoadThumbnailDIB around its load): the JPEG reader
// then decodes at a reduced scale and the metafile reader keeps the metafile's own size.
extern thread_local int ThumbnailDecodeMode;

struct PictureSize {
    int width;
    int height;
};
// The size declared in the header of the last JPEG file read, before any scaling. The JPEG reader
// stores it right after parsing the header; it is not reset on failure.
extern thread_local PictureSize LastJPEGHeaderSize;

struct PictureInfo {
    int width;
    int height;
    int bitCount;
};
// Full-size width, height and bit count of the picture CDIB::Read just loaded (JPEG: the file's own
// size and 24); all 0 after a failed load; untouched when no reader was called.
extern thread_local PictureInfo LastPictureInfo;

// Holds the process-wide decoder lock for its lifetime. Some readers keep process-wide state (the
// JPEG fixed colour map), so CDIB::Read and LoadThumbnailDIB take it; it is recursive, so a load
// inside a held lock does not block. What the readers take from the settings is per thread (see
// core/ReaderOptions.h) and needs no lock.
class CDecoderLock {
public:
    CDecoderLock();
    ~CDecoderLock();
    CDecoderLock(const CDecoderLock&) = delete;
    CDecoderLock& operator=(const CDecoderLock&) = delete;
};

// The JPEG reader's loader of "JPEG" resources, which CDIB::LoadJPEGResource goes through because
// core cannot link the readers. Null until formats/Readers.cpp installs it.
typedef PackedDIB (*JPEGResourceReader)(HINSTANCE module, LPCSTR name);
void SetJPEGResourceReader(JPEGResourceReader reader);
JPEGResourceReader GetJPEGResourceReader();
