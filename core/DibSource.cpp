// Checked read access to source pictures, and write access to new ones.
#include "core/DibSource.h"

DibSource::DibSource(PackedDIB dib) : m_handle(dib)
{
    if (dib == nullptr)
        return;
    const SIZE_T blockSize = GlobalSize(dib);
    m_block = static_cast<const BYTE*>(GlobalLock(dib));
    if (m_block == nullptr || blockSize < sizeof(BITMAPCOREHEADER))
        return;

    DWORD headerSize = 0;
    memcpy(&headerSize, m_block, sizeof(headerSize));
    ULONGLONG width = 0, height = 0;
    int bits = 0;
    DWORD colorCount = 0;
    DWORD entryBytes = 4;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core;
        memcpy(&core, m_block, sizeof(core));
        width = core.bcWidth;
        height = core.bcHeight;
        bits = core.bcBitCount;
        entryBytes = 3;
    } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= blockSize) {
        BITMAPINFOHEADER info;
        memcpy(&info, m_block, sizeof(info));
        if (info.biCompression != BI_RGB || info.biWidth < 0 || info.biHeight < 0)
            return;
        width = static_cast<ULONGLONG>(info.biWidth);
        height = static_cast<ULONGLONG>(info.biHeight);
        bits = info.biBitCount;
        // The colour count as the measuring functions take it: biClrUsed as 16 bits.
        colorCount = LOWORD(info.biClrUsed);
    } else {
        return;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return;
    if (colorCount == 0 && bits <= 8)
        colorCount = 1u << bits;

    const ULONGLONG tableBytes = static_cast<ULONGLONG>(colorCount) * entryBytes;
    const ULONGLONG stride = ((width * bits + 31) & ~31ull) / 8;
    const ULONGLONG needed = headerSize + tableBytes + stride * height;
    if (tableBytes > 0xFFFF || needed > blockSize || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return;

    const BYTE* table = m_block + headerSize;
    const DWORD usable = colorCount < 256 ? colorCount : 256;
    for (DWORD i = 0; i < usable; ++i) {
        const BYTE* entry = table + i * entryBytes;
        m_colors[i].rgbBlue = entry[0];
        m_colors[i].rgbGreen = entry[1];
        m_colors[i].rgbRed = entry[2];
        m_colors[i].rgbReserved = 0;
    }
    m_rows = table + tableBytes;
    m_width = static_cast<int>(width);
    m_height = static_cast<int>(height);
    m_bits = bits;
    m_headerSize = headerSize;
    m_stride = static_cast<DWORD>(stride);
    m_ok = true;
}

DibSource::~DibSource()
{
    if (m_block != nullptr)
        GlobalUnlock(m_handle);
}

DibTarget::DibTarget(PackedDIB dib) : m_handle(dib)
{
    if (dib == nullptr)
        return;
    m_block = static_cast<BYTE*>(GlobalLock(dib));
    if (m_block == nullptr)
        return;
    const BITMAPINFOHEADER* header = Header();
    m_stride = DIBRowBytes(static_cast<DWORD>(header->biWidth), header->biBitCount);
    m_rows = FindDIBBits(m_block);
}

DibTarget::~DibTarget()
{
    if (m_block != nullptr)
        GlobalUnlock(m_handle);
}
