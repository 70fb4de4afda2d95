// Reader of ZSoft PCX pictures (version 5): run-length lines of one to four planes.
#pragma once
#include "core/PackedDib.h"

#include <cstddef>

// True when the 128-byte header is there with the version the reader takes (5) and a layout it
// decodes. Says nothing about the rest of the file.
bool IsPCXSignature(const void* data, size_t size);

// Decodes a PCX file held in memory (the bytes are only read). Layouts (bits per pixel x planes):
// 1x1 -> 1 bit (black and white when the header's first two colours are equal); 1x2, 1x3, 1x4
// (planar) and 2x1, 4x1 (packed) -> 4 bits with the header's 16 colours; 8x1 -> 8 bits with the
// 256 colours stored in the last 768 bytes; 8x3 and 8x4 (the fourth plane, alpha, is not shown)
// -> 24 bits. Returns a new picture owned by the caller, or 0 for another version or layout,
// inconsistent sizes, a file too short for its header or palette, or a picture larger than
// kMaxPackedDIBBytes. Data that ends early decodes as zero bytes: the picture is returned.
// Drives the progress gauge line by line while progress is reported (ShouldReportProgress).
PackedDIB DecodePCX(const void* data, size_t size);

// The reader of file-type code 20: reads the file through CBufFile (shared for reading, others
// may not write) and decodes it with DecodePCX. 0 when the file cannot be read or decoded.
PackedDIB LoadPCX(LPCSTR path);

// The encoded bytes after the header, read one at a time; past the end every byte reads as 0.
class PcxByteSource {
public:
    PcxByteSource(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    BYTE ReadByte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    size_t Position() const { return m_pos; }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Decodes n bytes of one run-length line into line (whose first size bytes are zeroed first). A
// byte with both top bits set is a count (its low 6 bits) of the next byte, else a literal. A run
// that passes the end of the buffer is cut there and not carried into the next line; a count of
// 0 consumes its value and stores nothing. Returns 1.
int DecodePCXLine(PcxByteSource* source, BYTE* line, DWORD n, DWORD size);

// Turns one decoded line (planes x bytesPerLine bytes) into a picture row of rowBytes bytes at
// `depth` bits (1, 4, 8 or 24) for a picture `width` pixels wide. Returns 1, or 0 for a layout it
// does not know (the row is then left as it was).
int MergePCXPlanes(const BYTE* line, BYTE* row, DWORD lineBytes, DWORD rowBytes, int planes,
                   DWORD bytesPerLine, int bitsPerPixel, int depth, DWORD width);
