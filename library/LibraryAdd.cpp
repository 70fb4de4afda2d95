// Adding pictures to a library folder under a free name, through the safe file steps.
#include "library/LibraryAdd.h"

#include "core/BmpFile.h"
#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/ReaderSettings.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "framework/FrameworkTexts.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"

#include <functional>

namespace {

BOOL AnyFileNamed(const CString& folder, const CString& base)
{
    return !ListMatchingFiles(WithSlash(folder) + base + ".*").empty();
}

// Writes the destination under the first free name, with write(dest) creating it without ever
// overwriting; when a name is taken meanwhile (or a folder bears it), the next number is tried.
BOOL StoreUnderFreeName(const CString& folder, const CString& base, const CString& ext,
                        const std::function<BOOL(const CString&)>& write, CString* pStored)
{
    CString name = base;
    CString format = NumberedNameFormat(base);
    int n = 0;
    if (AnyFileNamed(folder, base)) {
        n = MakeUniqueName(folder, format, 0);
        name = FillNumberedName(format, n);
    }
    for (int attempt = 0; attempt < 100; attempt++) {
        CString dest = WithSlash(folder) + name + "." + ext;
        // The picture and the record its folder's listing gives it are to fit.
        if (!CheckPictureNameFits(dest))
            return FALSE;
        if (!PathExists(dest)) {
            if (write(dest)) {
                if (pStored != nullptr)
                    *pStored = dest;
                return TRUE;
            }
            if (!PathExists(dest))
                return FALSE; // the write itself failed
        }
        n = MakeUniqueName(folder, format, n);
        name = FillNumberedName(format, n);
    }
    return FALSE;
}

// JPEG and PNG writers take 1, 4, 8 and 24 bits: 16- and 32-bit pictures go through a 24-bit copy.
BOOL WriteEncoded(PackedDIB dib, int mode, const CString& dest)
{
    PackedDIB converted = nullptr;
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
    if (header == nullptr)
        return FALSE;
    WORD bits = header->biBitCount;
    ::GlobalUnlock(dib);
    if (bits == 16 || bits == 32) {
        converted = ConvertDIBTo24Bit(dib);
        if (converted == nullptr)
            return FALSE;
        dib = converted;
    }
    int quality = 100 - g_TauxJPEG;
    BOOL ok = SafeCreateFile(dest, [&](LPCSTR temp) -> BOOL {
        switch (mode) {
        case kAddAsJpeg:
            return SaveJPEG(dib, temp, quality, dest) == kSaveJPEGDone;
        case kAddAsPng:
            return SavePNG(dib, temp) == kSavePNGDone;
        default:
            return SaveDIBFile(dib, temp) == kSaveDIBOk && PathExists(temp);
        }
    });
    if (converted != nullptr)
        ::GlobalFree(converted);
    return ok;
}

} // namespace

CString NumberedNameFormat(const CString& baseName)
{
    CString escaped;
    for (int i = 0; i < baseName.GetLength(); i++) {
        escaped += baseName[i];
        if (baseName[i] == '%')
            escaped += '%';
    }
    // String 20 is "%s (copie %%d)": its "%s" takes the base, its "%%d" becomes the number's "%d".
    CString pattern = AfxLoadText(IDS_COPY_NAME_FORMAT);
    if (pattern.Find("%s") < 0)
        pattern = "%s (copie %%d)";
    int at = pattern.Find("%s");
    CString format = pattern.Left(at) + escaped + pattern.Mid(at + 2);
    // The pattern's own "%%d" stays as "%%d" here: FillNumberedName reads "%%" as '%'. Make it "%d".
    int d = format.Find("%%d", at + escaped.GetLength());
    if (d >= 0)
        format = format.Left(d) + format.Mid(d + 1);
    return format;
}

CString FillNumberedName(const CString& format, int n)
{
    CString out;
    BOOL bDone = FALSE;
    for (int i = 0; i < format.GetLength(); i++) {
        char c = format[i];
        if (c == '%' && i + 1 < format.GetLength()) {
            char next = format[i + 1];
            if (next == '%') {
                out += '%';
                i++;
                continue;
            }
            if (next == 'd' && !bDone) {
                CString number;
                number.Format("%d", n);
                out += number;
                bDone = TRUE;
                i++;
                continue;
            }
        }
        out += c;
    }
    return out;
}

int MakeUniqueName(const CString& folder, const CString& format, int start)
{
    int n = start;
    do {
        n++;
    } while (AnyFileNamed(folder, FillNumberedName(format, n)) && n < 0x7FFFFFF);
    return n;
}

BOOL SplitAddName(const CString& fileName, CString* pBase, CString* pExt)
{
    int dot = fileName.Find('.');
    if (dot <= 0)
        return FALSE;
    *pBase = fileName.Left(dot);
    *pExt = fileName.Mid(dot + 1);
    return TRUE;
}

BOOL AddPictureToFolder(PackedDIB dib, const CString& name, const CString& sourcePath, const CString& folder,
                        int mode, CString* pStored)
{
    if (dib == nullptr || folder.IsEmpty())
        return FALSE;
    CString fileName = name;
    if (!sourcePath.IsEmpty()) {
        int slash = sourcePath.ReverseFind('\\');
        fileName = slash >= 0 ? sourcePath.Mid(slash + 1) : sourcePath;
    } else if (mode == kAddUnchanged) {
        mode = kAddAsBmp;
    }
    CString base, ext;
    if (!SplitAddName(fileName, &base, &ext))
        return FALSE;
    switch (mode) {
    case kAddAsJpeg:
        return StoreUnderFreeName(
            folder, base, "jpg", [&](const CString& dest) { return WriteEncoded(dib, mode, dest); }, pStored);
    case kAddAsPng:
        return StoreUnderFreeName(
            folder, base, "png", [&](const CString& dest) { return WriteEncoded(dib, mode, dest); }, pStored);
    case kAddAsBmp:
        return StoreUnderFreeName(
            folder, base, "bmp", [&](const CString& dest) { return WriteEncoded(dib, mode, dest); }, pStored);
    default:
        if (sourcePath.IsEmpty())
            return FALSE;
        return StoreUnderFreeName(
            folder, base, ext, [&](const CString& dest) { return SafeCopy(sourcePath, dest); }, pStored);
    }
}

BOOL AddFileToFolder(const CString& sourcePath, const CString& folder, int mode, CString* pStored)
{
    if (sourcePath.IsEmpty() || folder.IsEmpty())
        return FALSE;
    int slash = sourcePath.ReverseFind('\\');
    CString base, ext;
    if (!SplitAddName(slash >= 0 ? sourcePath.Mid(slash + 1) : sourcePath, &base, &ext))
        return FALSE;
    if (mode == kAddAsJpeg || mode == kAddAsPng) {
        CDIB picture;
        picture.Read(sourcePath, "");
        if (picture.GetHandle() == nullptr)
            return FALSE;
        PackedDIB dib = picture.GetHandle();
        return StoreUnderFreeName(
            folder, base, mode == kAddAsJpeg ? "jpg" : "png",
            [&](const CString& dest) { return WriteEncoded(dib, mode, dest); }, pStored);
    }
    return StoreUnderFreeName(
        folder, base, ext, [&](const CString& dest) { return SafeCopy(sourcePath, dest); }, pStored);
}
