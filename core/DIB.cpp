// CDIB: ownership, palette, loading through the dispatcher, the archive form, and thumbnails.
#include "core/DIB.h"

#include "core/FileTypes.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Palette.h"
#include "core/Progress.h"
#include "core/ReaderOptions.h"
#include "core/Resize.h"
#include "framework/Archive.h"

#include <cstring>

IMPLEMENT_SERIAL(CDIB, CObject, 0)

namespace {

const UINT kArchivePiece = 32768;

// Checks a block read from an archive: a 40-byte header, pixels, a known depth, and a colour table
// and rows that fit in the n bytes.
bool IsConsistentPicture(const BYTE* block, DWORD n)
{
    if (n < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER h;
    memcpy(&h, block, sizeof(h));
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight <= 0 || h.biPlanes != 1
        || h.biCompression != BI_RGB)
        return false;
    switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    DWORD limit = h.biBitCount <= 8 ? (1u << h.biBitCount) : 256;
    if (h.biClrUsed > limit)
        return false;
    return PackedDIBBytes(DWORD(h.biWidth), DWORD(h.biHeight), h.biBitCount, DIBNumColors(block)) <= n;
}

// The archive byte count of a held picture: 40 + colour table + rows (biSizeImage is not used).
ULONGLONG ArchiveBytes(const void* block)
{
    const auto* h = static_cast<const BITMAPINFOHEADER*>(block);
    return sizeof(BITMAPINFOHEADER) + PaletteSize(block)
           + ULONGLONG(DIBRowBytes(DWORD(h->biWidth), h->biBitCount)) * DWORD(h->biHeight);
}

// Sets ThumbnailDecodeMode for one thumbnail load and puts the previous value back.
class ThumbnailModeScope {
public:
    ThumbnailModeScope() : m_saved(ThumbnailDecodeMode) { ThumbnailDecodeMode = 1; }
    ~ThumbnailModeScope() { ThumbnailDecodeMode = m_saved; }
    ThumbnailModeScope(const ThumbnailModeScope&) = delete;
    ThumbnailModeScope& operator=(const ThumbnailModeScope&) = delete;

private:
    int m_saved;
};

} // namespace

CDIB::CDIB() = default;

CDIB::CDIB(const CDIB& other) : CObject()
{
    m_hDIB = CopyGlobalHandle(other.m_hDIB);
    RebuildPalette();
}

CDIB::~CDIB()
{
    m_hDIB = GlobalFreeHandle(m_hDIB);
    m_palette.DeleteObject();
}

CDIB& CDIB::operator=(const CDIB& other)
{
    if (this == &other)
        return *this;
    Free();
    m_hDIB = CopyGlobalHandle(other.m_hDIB);
    RebuildPalette();
    m_delay = other.m_delay;
    m_transparentIndex = other.m_transparentIndex;
    return *this;
}

CDIB& CDIB::operator=(HGLOBAL dib)
{
    if (dib == m_hDIB && dib)
        return *this; // our own block: a copy of it would free it first
    Free();
    m_hDIB = CopyGlobalHandle(dib);
    RebuildPalette();
    m_delay = 0;
    m_transparentIndex = -1;
    return *this;
}

void CDIB::Attach(HGLOBAL dib)
{
    if (dib != m_hDIB)
        GlobalFreeHandle(m_hDIB);
    m_hDIB = dib;
    RebuildPalette();
}

HGLOBAL CDIB::Detach()
{
    HGLOBAL dib = m_hDIB;
    m_hDIB = nullptr;
    return dib;
}

void CDIB::Free()
{
    m_hDIB = GlobalFreeHandle(m_hDIB);
    m_palette.DeleteObject();
}

void CDIB::RebuildPalette()
{
    if (NumColors() == 0)
        return;
    HPALETTE palette = CreateDIBPaletteHandle(m_hDIB);
    m_palette.DeleteObject();
    if (palette)
        m_palette.Attach(palette);
}

DWORD CDIB::Width() const
{
    const void* p = m_hDIB ? GlobalLock(m_hDIB) : nullptr;
    if (!p)
        return 0;
    DWORD width = DIBWidth(p);
    GlobalUnlock(m_hDIB);
    return width;
}

DWORD CDIB::Height() const
{
    const void* p = m_hDIB ? GlobalLock(m_hDIB) : nullptr;
    if (!p)
        return 0;
    DWORD height = DIBHeight(p);
    GlobalUnlock(m_hDIB);
    return height;
}

WORD CDIB::NumColors() const { return DIBNumColorsHandle(m_hDIB); }

CPalette* CDIB::CreateDIBPalette()
{
    HPALETTE palette = CreateDIBPaletteHandle(m_hDIB);
    return palette ? CPalette::FromHandle(palette) : nullptr;
}

CBitmap* CDIB::CreateBitmap(CPalette* palette)
{
    HBITMAP bitmap = DIBToBitmap(m_hDIB, palette ? static_cast<HPALETTE>(*palette) : nullptr);
    return bitmap ? CBitmap::FromHandle(bitmap) : nullptr;
}

void CDIB::Read(LPCSTR path, LPCSTR typeName)
{
    CDecoderLock lock;
    m_hDIB = GlobalFreeHandle(m_hDIB);
    if (path == nullptr || *path == 0 || !FileExists(path))
        return;
    const int code = GetFileTypeFromExt(typeName && *typeName ? typeName : path);
    PictureReader reader = GetPictureReader(code);
    if (reader == nullptr)
        return;
    m_hDIB = reader(path);
    if (m_hDIB == nullptr) {
        LastPictureInfo = PictureInfo{0, 0, 0};
        return;
    }
    if (code == kFileTypeJPEG) {
        LastPictureInfo = PictureInfo{LastJPEGHeaderSize.width, LastJPEGHeaderSize.height, 24};
    } else if (const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(m_hDIB))) {
        LastPictureInfo = PictureInfo{int(DIBWidth(h)), int(DIBHeight(h)),
                                      h->biSize == sizeof(BITMAPINFOHEADER)
                                          ? int(h->biBitCount)
                                          : int(reinterpret_cast<const BITMAPCOREHEADER*>(h)->bcBitCount)};
        GlobalUnlock(m_hDIB);
    }
    RebuildPalette();
}

void CDIB::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const BYTE* block = m_hDIB ? static_cast<const BYTE*>(GlobalLock(m_hDIB)) : nullptr;
        if (!block) {
            ar << DWORD(0);
            return;
        }
        const ULONGLONG n = ArchiveBytes(block);
        if (n > GlobalSize(m_hDIB) || !IsConsistentPicture(block, DWORD(n))) {
            GlobalUnlock(m_hDIB);
            AfxThrowArchiveException(CArchiveException::generic);
        }
        ar << DWORD(1) << DWORD(n);
        try {
            for (DWORD done = 0; done < n;) {
                UINT piece = UINT(n - done < kArchivePiece ? n - done : kArchivePiece);
                ar.Write(block + done, piece);
                done += piece;
            }
        } catch (...) {
            GlobalUnlock(m_hDIB);
            throw;
        }
        GlobalUnlock(m_hDIB);
        return;
    }

    DWORD present = 0;
    ar >> present;
    if (present == 0) {
        Free();
        return;
    }
    DWORD n = 0;
    ar >> n;
    Free();
    // Refuse a count that claims more than the archive holds before allocating anything.
    if (n > ar.GetBytesLeft() || n > kMaxPackedDIBBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
    BYTE* p = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!p) {
        GlobalFreeHandle(block);
        AfxThrowMemoryException();
    }
    for (DWORD done = 0; done < n;) {
        UINT piece = UINT(n - done < kArchivePiece ? n - done : kArchivePiece);
        UINT got;
        try {
            got = ar.Read(p + done, piece);
        } catch (...) {
            GlobalUnlock(block);
            GlobalFree(block);
            throw;
        }
        if (got != piece) {
            GlobalUnlock(block);
            GlobalFree(block);
            AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        done += piece;
    }
    bool consistent = IsConsistentPicture(p, n);
    GlobalUnlock(block);
    if (!consistent) {
        GlobalFree(block); // the bytes are consumed: the archive stays in step, the object empty
        return;
    }
    m_hDIB = block;
    RebuildPalette();
}

BOOL CDIB::Create(const BITMAPINFOHEADER* header, const void* bits)
{
    m_hDIB = GlobalFreeHandle(m_hDIB);
    if (!header || !bits || header->biSize != sizeof(BITMAPINFOHEADER) || header->biWidth <= 0
        || header->biHeight <= 0)
        return FALSE;
    const DWORD table = PaletteSize(header);
    const ULONGLONG rows =
        ULONGLONG(DIBRowBytes(DWORD(header->biWidth), header->biBitCount)) * DWORD(header->biHeight);
    const ULONGLONG total = sizeof(BITMAPINFOHEADER) + table + rows;
    if (total > kMaxPackedDIBBytes)
        return FALSE;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(total));
    BYTE* p = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!p) {
        GlobalFreeHandle(block);
        return FALSE;
    }
    memcpy(p, header, sizeof(BITMAPINFOHEADER) + table);
    memcpy(p + sizeof(BITMAPINFOHEADER) + table, bits, size_t(rows));
    GlobalUnlock(block);
    m_hDIB = block;
    return TRUE;
}

BOOL CDIB::LoadResource(UINT id)
{
    m_hDIB = GlobalFreeHandle(m_hDIB);
    m_hDIB = LoadDIBResource(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    RebuildPalette();
    return m_hDIB != nullptr;
}

BOOL CDIB::LoadJPEGResource(LPCSTR name)
{
    JPEGResourceReader reader = GetJPEGResourceReader();
    if (!reader)
        return FALSE;
    PackedDIB dib = reader(AfxGetResourceHandle(), name);
    if (!dib)
        return FALSE;
    Attach(dib);
    return TRUE;
}

BYTE* CDIB::GetBits()
{
    void* p = m_hDIB ? GlobalLock(m_hDIB) : nullptr;
    if (!p)
        return nullptr;
    BYTE* bits = FindDIBBits(p);
    GlobalUnlock(m_hDIB);
    return bits;
}

PackedDIB LoadThumbnailDIB(LPCSTR path, WORD maxWidth, WORD maxHeight, int screenBits, LPCSTR typeName)
{
    CDecoderLock lock;
    if (path == nullptr || !FileExists(path))
        return 0;
    const char* type = typeName && *typeName ? typeName : path;
    const bool jpeg = GetFileTypeFromExt(type) == kFileTypeJPEG;

    CDIB picture;
    {
        // Whatever the user chose: no gauge, the smallest PhotoCD picture, 24-bit JPEG. These hold
        // for this thread only, so a worker never touches the user's settings.
        ReaderOptions options = CurrentReaderOptions().WithProgress(FALSE);
        options.photoCDSize = 0;
        options.jpegColours = 0;
        CReaderOptionsScope thumbnailOptions(options);
        ThumbnailModeScope thumbnailMode;
        picture.Read(path, typeName);
    }

    const ULONGLONG w = picture.Width(), h = picture.Height();
    if (picture.IsEmpty() || w == 0 || h == 0 || maxWidth == 0 || maxHeight == 0)
        return 0;
    ULONGLONG targetWidth, targetHeight;
    if (!jpeg && w <= maxWidth && h <= maxHeight) {
        targetWidth = w;
        targetHeight = h;
    } else {
        ULONGLONG h1 = h * maxWidth / w;
        if (h1 > maxHeight) {
            targetWidth = maxHeight * w / h;
            targetHeight = maxHeight;
        } else {
            targetWidth = maxWidth;
            targetHeight = h1;
        }
    }
    // A very long and thin picture still gets one line or column.
    if (targetWidth == 0)
        targetWidth = 1;
    if (targetHeight == 0)
        targetHeight = 1;
    // The resizers take 1, 4, 8 and 24 bits: 16- and 32-bit pictures go through a 24-bit copy.
    PackedDIB source = picture.GetHandle();
    PackedDIB wide = ConvertDIBTo24Bit(source);
    if (wide)
        source = wide;
    PackedDIB thumbnail;
    if (screenBits > 8)
        thumbnail = ResizeDIBTo24Bit(source, int(targetWidth), int(targetHeight));
    else
        thumbnail = ResizeDIBTo8Bit(source, int(targetWidth), int(targetHeight),
                                    screenBits == 8 ? kPaletteR2G3B2 : kPaletteR1G1B1);
    GlobalFreeHandle(wide);
    return thumbnail;
}
