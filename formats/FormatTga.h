// Reader of Truevision Targa pictures, and the small buffered stream layer it reads files with.
#pragma once
#include "core/PackedDib.h"

#include <cstddef>

// True when the 18-byte header is there and names an image type and depth the reader decodes
// (Targa files carry no signature, so this is the best test there is).
bool IsTGASignature(const void* data, size_t size);

// Decodes a Targa file held in memory (the bytes are only read): colour-mapped (8 or 16-bit
// indices; 15-, 16-, 24- or 32-bit map entries, stored from the map's first index) and grey
// pictures give an 8-bit picture with a 256-entry colour table (unused entries black); true
// colour (15/16, 24 or 32 bits, alpha not shown) gives 24 bits. Raw or run-length, rows stored
// top first or bottom first, left to right or right to left. Returns a new picture owned by the
// caller, or 0 for an unknown type or depth, a colour map or raw row cut short, or a picture
// larger than kMaxPackedDIBBytes. Run-length data that ends early leaves the missing pixels 0.
// Drives the progress gauge row by row while progress is reported (ShouldReportProgress).
PackedDIB DecodeTGA(const void* data, size_t size);

// The reader of file-type code 31: reads the file through the stream layer below and decodes it
// with DecodeTGA. 0 when the file cannot be read or decoded.
PackedDIB LoadTGA(LPCSTR path);

// ---- The stream layer: three slots, each a file with a buffer owned by the caller ----

const int kStreamRead = 1;
const int kStreamWrite = 2;

// Takes the first free slot for path: mode 1 reads, mode 2 creates (or truncates) and writes.
// buffer must hold readSize + chunkSize bytes: requests (0 means chunkSize) are served from it
// and at most chunkSize bytes are delivered per request. Returns the slot (0-2), or -1 when no
// slot is free, chunkSize or readSize is below 1, or the file cannot be opened.
int StreamOpen(LPCSTR path, BYTE* buffer, WORD readSize, int chunkSize, int mode);
// Writes what a write slot holds, closes the file and frees the slot.
void StreamClose(int slot);
// Makes n bytes (0: the chunk size; more than the chunk size: the chunk size) available at the
// slot's data pointer, reading the file as needed. Returns how many there are (fewer at the end
// of the file, 0 at its end or for a slot that is not open for reading).
int StreamRead(int slot, int n);
// The bytes of the last StreamRead, or of the room for StreamWrite; null for a closed slot.
BYTE* StreamData(int slot);
// Next byte, or -1 at the end of the file (or for a slot that is not open for reading).
int StreamGetByte(int slot);
// Moves to offset bytes from the start (a write slot writes what it holds first). 1, or -1.
int StreamSeek(int slot, long offset);
// Takes n bytes (0: the chunk size) that the caller put at StreamData; a write slot writes
// them once readSize bytes are held. Returns n, or 0 for a slot not open for writing.
int StreamWrite(int slot, int n);
