// Reader of Kodak PhotoCD image packs: one picture at one of four resolutions, with the pieces of
// its decoding (upsampling, colour conversion, luma residuals) exposed for tests.
#pragma once
#include "core/PackedDib.h"

#include <cstddef>
#include <vector>

// Resolution index ("PhotoCDSize"): 0 192 x 128, 1 384 x 256, 2 768 x 512, 3 1536 x 1024 (the
// Base picture doubled, its luma corrected by the residuals the file holds); any other value
// reads 768 x 512.
//
// Decodes the PhotoCD file held in memory (the bytes are only read) into a new 24-bit picture
// owned by the caller, turned upright by the orientation the file records (portrait pictures
// come out taller than wide). Parts the file does not hold (a short file, missing residuals)
// read as zero bytes: the picture is still returned. 0 only when the picture cannot be
// allocated. The content is not checked for a PhotoCD signature. Drives the progress gauge row
// by row while progress is reported (ShouldReportProgress).
PackedDIB DecodePCD(const void* data, size_t size, int photoCDSize);

// The reader of file-type code 19: reads the file (C runtime, "rb") and decodes it at the
// resolution of the "PhotoCDSize" option of the thread's reader options (core/ReaderOptions.h). 0 when the
// file cannot be opened.
PackedDIB LoadPCD(LPCSTR path);

// One component of the picture: `width` x `height` bytes used of a block of stride x rows.
struct PcdPlane {
    DWORD stride = 0;
    DWORD rows = 0;
    DWORD width = 0;
    DWORD height = 0;
    std::vector<BYTE> data; // stride x rows, zero-filled when allocated

    bool Allocate(DWORD allocWidth, DWORD allocHeight);
    BYTE* Row(DWORD y) { return data.data() + static_cast<size_t>(y) * stride; }
    const BYTE* Row(DWORD y) const { return data.data() + static_cast<size_t>(y) * stride; }
};

// Doubles the plane's current width and height in place: even pixels copied, odd ones the rounded
// averages of their neighbours, the last column and row repeated. False (nothing changed) when
// the block has no room for the doubled size.
bool PcdUpsample(PcdPlane& plane);

// The colour of one PhotoYCC pixel: luma y and chroma c1, c2 give red, green and blue (0-255).
void PcdYccPixelToRgb(BYTE y, BYTE c1, BYTE c2, BYTE* red, BYTE* green, BYTE* blue);
// The same over three planes of equal size, in place: luma, first and second chroma become red,
// green and blue.
void PcdYccToRgb(PcdPlane planes[3]);

// Orientation code of the file (1 as stored, 2 turned a quarter clockwise, 3 a quarter
// counter-clockwise, 4 half a turn), from the low two bits of byte 1538 of sector 1.
int PcdReadOrientation(const void* data, size_t size);
