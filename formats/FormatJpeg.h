// JPEG pictures: the reader (full size, or reduced by DCT scaling while thumbnails are built; 8 or
// 24 bits), the writer with a quality setting, and the loaders of the program's JPEG resources.
#pragma once
#include "core/PackedDib.h"

struct jpeg_decompress_struct;

// Numeric resource type under which the program keeps its JPEG pictures (id 1: the picture of
// the splash window and the About box).
const WORD JPEG_RESOURCE_TYPE = 11000;

// A colour map that LoadJPEG quantises onto while flag is non-zero: 256 entries, each stored as
// blue, green, red. Set (and cleared after the load) only by LoadJPEGResourceWithPalette and
// LoadJPEGResource16Colors, under the decoder lock.
struct JPEGColorMap {
    int flag;
    BYTE entries[256][3];
};
extern JPEGColorMap JPEGFixedColorMap;

// String-table texts of the gauge and of the writer's message box.
const UINT IDS_JPEG_READING = 16; // "Lecture JPEG..."
const UINT IDS_JPEG_WRITING = 19; // "Ecriture JPEG..."
const UINT IDS_JPEG_CANNOT_CREATE = 55149;

// Reads a JPEG file (ANSI path) into a new picture owned by the caller; 0 on any failure (missing
// file, not a JPEG, damage the library cannot get past, a picture too large to hold). Nothing is
// shown. The result is 8 bits per pixel (256-entry colour table from the library's quantiser, or
// the fixed map) when the fixed map is on, when "CouleursJPEG" (in the thread's reader options) is 1, or when
// it is 2 and the screen has 8 bits per pixel; otherwise 24 bits (blue, green, red), grey and CMYK files
// included. While ThumbnailDecodeMode is 1 no gauge is shown and the 24-bit path decodes at 1/2, 1/4 or 1/8
// of the size (the smaller side decides: under 100 full size, under 200 half, under 300 a quarter).
// LastJPEGHeaderSize receives the file's own size as soon as the header is read.
PackedDIB LoadJPEG(LPCSTR path);

// Results of SaveJPEG. Every non-zero result means no file was written (an existing file of that
// name is left as it was).
enum SaveJPEGResult {
    kSaveJPEGDone = 0,
    kSaveJPEGIgnored = 1,    // the file could not be created and the user chose Ignore
    kSaveJPEGAborted = 2,    // the file could not be created and the user chose Abort
    kSaveJPEGBadPicture = 3, // no picture, a depth other than 1, 4, 8 or 24 bits, or a path too long
    kSaveJPEGWriteFailed = 4 // the library or the disk failed while writing
};

// Writes the picture (1, 4, 8 or 24 bits; borrowed, not changed) as a baseline JPEG of the given
// quality (1-100) under the path as given, its name's case kept. The file is written beside the
// target and moved over it once complete. When it cannot be created the user is asked
// Abort/Retry/Ignore about the picture as they know it: shownPath when path is a temporary file
// that becomes it, else path as given. A caller that says the failure itself passes pError: nothing
// is asked then (a file that cannot be created gives kSaveJPEGAborted), and *pError receives the
// system's error of the file call that failed (ERROR_SUCCESS when none did, or the picture itself
// was refused).
int SaveJPEG(PackedDIB dib, LPCSTR path, int quality, LPCSTR shownPath = nullptr, DWORD* pError = nullptr);

// The JPEG stored as resource (JPEG_RESOURCE_TYPE, id) of the program; the module argument is not
// used. Shows the busy cursor; on screens below 8 bits per pixel the picture is reduced to the
// eight-colour ramp. 0 when the resource is missing or does not decode.
PackedDIB LoadJPEGResourceById(HINSTANCE module, WORD id);

// The JPEG stored under the resource type "JPEG" with a string name; the module argument is not
// used. Loaded without the gauge. 0 when missing or undecodable.
PackedDIB LoadJPEGResource(HINSTANCE module, LPCSTR name);

// ---- Members of the family that the program itself does not call ----

// As LoadJPEGResource, quantised onto the first 256 entries of the palette.
PackedDIB LoadJPEGResourceWithPalette(HINSTANCE module, LPCSTR name, HPALETTE palette);
// As LoadJPEGResource, quantised onto the 16 standard Windows colours.
PackedDIB LoadJPEGResource16Colors(HINSTANCE module, LPCSTR name);
// Appends a colour to the decompressor's three-row colour map when it is absent and fewer than
// 256 entries are in use; the map must have room for 256 (the fixed map, the two-pass quantiser's).
void AddColorMapEntry(jpeg_decompress_struct* cinfo, int red, int green, int blue);
// Always TRUE.
BOOL JPEGResourceLoadersReady();
