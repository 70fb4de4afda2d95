// GIF pictures through giflib: the first image as a still picture, and every image of an animated
// GIF as a frame (the whole logical screen after that image) with its delay and transparent index.
#pragma once
#include "core/PackedDib.h"

struct GifFileType;
struct ColorMapObject;
class CObArray;

// Numeric resource type under which a GIF picture may be kept among the program's resources.
const WORD GIF_RESOURCE_TYPE = 10000;

// The first image of a GIF file (ANSI path) over its logical screen, as a new picture owned by the
// caller; 0 when the file is empty, does not start with "GIF" (any case), lies outside its screen
// or is damaged before the first image is complete. 1-, 4- or 8-bit by the depth of the colour map
// the image uses (2, 3, 5, 6 and 7 bits, and no map at all, give 8 bits).
PackedDIB LoadGIF(LPCSTR path);

// Decodes every image of the file into frames appended to the caller's array: each a CDIB created
// with new (the caller deletes them) holding the whole screen after that image, its delay in 1/100 s
// (4 when the file gives none) and its transparent index (-1 for none). Returns the number of
// frames appended; 0 when nothing could be decoded. A damaged file gives the frames before the
// damage. Frames stop once they would hold more than 384 MiB together.
int LoadAnimatedGIF(LPCSTR path, CObArray* frames);

// The same decodes on a decoder already opened by the caller (with DGifOpen or DGifOpenFileName).
// Both always close the decoder.
PackedDIB DecodeFirstGIFImage(GifFileType* gif);
int DecodeGIFFrames(GifFileType* gif, CObArray* frames);

// A new picture of the whole logical screen from screen rows of one index byte each (SWidth bytes
// per row, SHeight rows, top first), with the colour table of colorMap (may be null: all black).
// bits is 1, 4 or 8. 0 when the block cannot be allocated.
PackedDIB BuildGIFDIB(const BYTE* rows, const GifFileType* gif, const ColorMapObject* colorMap, WORD bits);

// Packs one screen row (one index byte per pixel) into a picture row of 1, 4 or 8 bits: at 1 bit any
// non-zero index sets the bit; at 4 bits each index keeps its low four bits.
void PackGIFRow(const BYTE* src, BYTE* dst, WORD width, WORD bits);

// The GIF stored as resource (GIF_RESOURCE_TYPE, name) of the resource module, decoded from memory;
// the module argument is not used. 0 when missing or undecodable. Nothing in the program calls it.
PackedDIB LoadGIFResource(HINSTANCE module, LPCSTR name);
