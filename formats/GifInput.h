// What the GIF reader's two halves share: the decoder's input (a file or bytes in memory, with the
// position the gauge follows) and the choices made for every image.
#pragma once
#include <cstdio>

#include <gif_lib.h>
#include <windows.h>

// The decoder's UserData. The first three bytes are handed over in upper case, so that a file
// starting with "gif" opens like one starting with "GIF".
struct GifInput {
    FILE* file = nullptr;         // read from the file when set
    const BYTE* memory = nullptr; // else from these bytes
    DWORD size = 0;               // bytes of the file or of the memory
    DWORD position = 0;           // bytes handed to the decoder so far
};

// Opens a decoder over the input (which must outlive it); null on failure.
GifFileType* OpenGifDecoder(GifInput* input);

// Opens the file at path after checking its signature; fills input (the caller closes input.file
// once the decoder is closed). null when the file is missing, empty, not a GIF or not decodable.
GifFileType* OpenGifFile(LPCSTR path, GifInput* input);

// Bytes the decoder has consumed, for the gauge; 0 when the decoder has no input of ours.
DWORD GifInputPosition(const GifFileType* gif);
DWORD GifInputSize(const GifFileType* gif);

// The screen size is sane (both sides non-zero) and a screen buffer and a picture of it fit in
// the memory a picture may take.
bool GifScreenFits(const GifFileType* gif);

// The image just described lies inside the logical screen and is not empty.
bool GifImageInsideScreen(const GifFileType* gif);

// The colour map of the current image: its own, else the file's global map (may be null).
const ColorMapObject* GifImageColorMap(const GifFileType* gif);

// Picture depth for an image drawn with a map: the deeper of the global map and this map, taken
// as it is when it is 1, 4 or 8 bits, else 8 (also without any map).
WORD GifPictureBits(const GifFileType* gif, const ColorMapObject* map);

// Reads the current image's rows into the screen buffer (SWidth bytes per row) at its place, in
// order or in the four interlace passes. With transparent >= 0, pixels of that index leave the
// screen as it was (line holds SWidth bytes of work space). rowDone(doneRows, totalRows) is called
// after each row when set. false when a row cannot be decoded.
bool ReadGifImageRows(GifFileType* gif, BYTE* screen, BYTE* line, int transparent,
                      void (*rowDone)(DWORD done, DWORD total));

// Reads and drops the remaining blocks of an extension whose first block was already read.
bool SkipGifExtensionBlocks(GifFileType* gif);
