// A bounds-checked reader over a span of bytes: reads by offset or in sequence, never past the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// Does not own the bytes; they must outlive the reader.
//
// Reads at an offset (U8At, U16LEAt, ...) return false (and leave *out alone) when the value does
// not lie wholly inside the span. The sequential reads (ReadU8, ...) advance a position and, once
// any of them runs past the end, return 0 from then on and leave Ok() false: a parser may read a
// whole header and test Ok() once.
class ByteReader {
public:
    ByteReader(const void* data, size_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0)
    {}

    size_t Size() const { return m_size; }
    const uint8_t* Data() const { return m_data; }

    // True when [offset, offset + count) lies inside the span (no overflow possible).
    bool Has(size_t offset, size_t count) const { return offset <= m_size && count <= m_size - offset; }

    // Pointer to count bytes at offset, or null when they are not all inside the span.
    const uint8_t* Span(size_t offset, size_t count) const
    {
        return Has(offset, count) ? m_data + offset : nullptr;
    }

    bool U8At(size_t offset, uint8_t* out) const
    {
        if (!Has(offset, 1))
            return false;
        *out = m_data[offset];
        return true;
    }
    bool U16LEAt(size_t offset, uint16_t* out) const
    {
        const uint8_t* p = Span(offset, 2);
        if (!p)
            return false;
        *out = static_cast<uint16_t>(p[0] | (p[1] << 8));
        return true;
    }
    bool U16BEAt(size_t offset, uint16_t* out) const
    {
        const uint8_t* p = Span(offset, 2);
        if (!p)
            return false;
        *out = static_cast<uint16_t>((p[0] << 8) | p[1]);
        return true;
    }
    bool U32LEAt(size_t offset, uint32_t* out) const
    {
        const uint8_t* p = Span(offset, 4);
        if (!p)
            return false;
        *out = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
        return true;
    }
    bool U32BEAt(size_t offset, uint32_t* out) const
    {
        const uint8_t* p = Span(offset, 4);
        if (!p)
            return false;
        *out = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
        return true;
    }
    // Copies count bytes at offset into dest; false (dest untouched) when they are not all there.
    bool CopyAt(size_t offset, void* dest, size_t count) const
    {
        const uint8_t* p = Span(offset, count);
        if (!p)
            return false;
        if (count)
            memcpy(dest, p, count);
        return true;
    }

    // ---- Sequential reading ----
    size_t Pos() const { return m_pos; }
    size_t Remaining() const { return m_pos <= m_size ? m_size - m_pos : 0; }
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_pos >= m_size; }

    // Moves to an absolute position; a position past the end fails and clears Ok().
    bool Seek(size_t pos)
    {
        if (pos > m_size) {
            m_ok = false;
            return false;
        }
        m_pos = pos;
        return true;
    }
    bool Skip(size_t count) { return Has(m_pos, count) ? Seek(m_pos + count) : Fail(); }

    uint8_t ReadU8()
    {
        uint8_t v = 0;
        return Advance(U8At(m_pos, &v), 1) ? v : 0;
    }
    uint16_t ReadU16LE()
    {
        uint16_t v = 0;
        return Advance(U16LEAt(m_pos, &v), 2) ? v : 0;
    }
    uint16_t ReadU16BE()
    {
        uint16_t v = 0;
        return Advance(U16BEAt(m_pos, &v), 2) ? v : 0;
    }
    uint32_t ReadU32LE()
    {
        uint32_t v = 0;
        return Advance(U32LEAt(m_pos, &v), 4) ? v : 0;
    }
    uint32_t ReadU32BE()
    {
        uint32_t v = 0;
        return Advance(U32BEAt(m_pos, &v), 4) ? v : 0;
    }
    bool ReadBytes(void* dest, size_t count) { return Advance(CopyAt(m_pos, dest, count), count); }
    // Pointer to the next count bytes (advancing past them), or null when they are not all there.
    const uint8_t* ReadSpan(size_t count)
    {
        const uint8_t* p = Span(m_pos, count);
        return Advance(p != nullptr, count) ? p : nullptr;
    }

private:
    bool Fail()
    {
        m_ok = false;
        return false;
    }
    bool Advance(bool read, size_t count)
    {
        if (!read || !m_ok)
            return Fail();
        m_pos += count;
        return true;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};
