#include "piclist/PicObject.h"

#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/PackedDib.h"
#include "core/SystemUtil.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "piclist/LibraryHost.h"
#include "piclist/SafeFileOps.h"

IMPLEMENT_SERIAL(CPicObject, CObject, 1)

namespace {

CString NameOf(const CString& path)
{
    int slash = path.ReverseFind('\\');
    return slash < 0 ? path : path.Mid(slash + 1);
}

// TRUE when name is a plain file name of a file in the folder of path.
BOOL NamesPictureBeside(const CString& path, const CString& name)
{
    if (name.FindOneOf("\\/:*?\"<>|") >= 0 || name == "." || name == "..")
        return FALSE;
    const int slash = path.ReverseFind('\\');
    const DWORD attributes = ::GetFileAttributesA(path.Left(slash + 1) + name);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

// The 0xFFFE marker of a wide string never appears in a record file, so it marks a damaged one.
void ReadRecordString(CArchive& ar, CString& text)
{
    BYTE shortLength = 0;
    ar >> shortLength;
    DWORD length = shortLength;
    if (shortLength == 0xFF) {
        WORD wordLength = 0;
        ar >> wordLength;
        length = wordLength;
        if (wordLength == 0xFFFE)
            AfxThrowArchiveException(CArchiveException::generic);
        if (wordLength == 0xFFFF) {
            DWORD longLength = 0;
            ar >> longLength;
            length = longLength;
        }
    }
    // A short string that runs past the end fails its read below; only a long one is measured
    // against the file before anything is allocated for it.
    if (length > 0x7FFFFFFE || (length > 4096 && length > ar.GetBytesLeft()))
        AfxThrowArchiveException(CArchiveException::endOfFile);
    CString result;
    if (length) {
        char* p = result.GetBufferSetLength(static_cast<int>(length));
        if (ar.Read(p, length) != length)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        result.ReleaseBuffer(static_cast<int>(length));
    }
    text = result;
}

CString RecordFilePath(const CString& picturePath)
{
    // The last '.' of the file name, not of a folder name.
    int slash = picturePath.ReverseFind('\\');
    int dot = picturePath.ReverseFind('.');
    if (dot <= slash)
        return picturePath + ".dai";
    return picturePath.Left(dot) + ".dai";
}

BOOL IsRecordFile(const CString& path)
{
    return path.GetLength() >= 4 && path.Right(4).CompareNoCase(".dai") == 0;
}

BOOL CheckPictureNameFits(const CString& picturePath)
{
    if (NameFits(picturePath) && NameFits(RecordFilePath(picturePath)))
        return TRUE;
    NoteFailedStep(picturePath, ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
}

CPicObject::CPicObject() = default;

CPicObject::~CPicObject()
{
    delete m_pThumbDIB;
    m_bmThumb.DeleteObject();
}

void CPicObject::ClearThumbnail()
{
    delete m_pThumbDIB;
    m_pThumbDIB = nullptr;
    m_bmThumb.DeleteObject();
    m_nThumbState = 0;
}

void CPicObject::Copy(const CPicObject& src)
{
    m_strPath = src.m_strPath;
    m_strFileName = src.m_strFileName;
    m_strInfo = src.m_strInfo;
    m_strComment = src.m_strComment;
    m_strAuthor = src.m_strAuthor;
    m_strKeywords = src.m_strKeywords;
    m_strReserved = src.m_strReserved;
    m_strBaseName = src.m_strBaseName;
    m_strExt = src.m_strExt;
    m_nType = src.m_nType;
    m_nThumbWidth = src.m_nThumbWidth;
    m_nThumbHeight = src.m_nThumbHeight;
    m_nWidth = src.m_nWidth;
    m_nHeight = src.m_nHeight;
    m_nBitCount = src.m_nBitCount;
    m_dwDateTime = src.m_dwDateTime;
    m_lFileSize = src.m_lFileSize;
    m_wDosDate = src.m_wDosDate;
    m_wDosTime = src.m_wDosTime;
    m_bThumbSkipped = src.m_bThumbSkipped;
    m_bReadOnly = src.m_bReadOnly;
    m_bMemoryOnly = src.m_bMemoryOnly;
    m_bRecordOfOther = src.m_bRecordOfOther;
    m_recordStamp = src.m_recordStamp;
    ClearThumbnail();
    m_nThumbState = src.m_nThumbState;
    if (src.m_pThumbDIB)
        m_pThumbDIB = new CDIB(*src.m_pThumbDIB);
    if (src.m_bmThumb.GetSafeHandle()) {
        HBITMAP copy = CopyBitmap(static_cast<HBITMAP>(src.m_bmThumb.GetSafeHandle()));
        if (copy)
            m_bmThumb.Attach(copy);
    }
}

void CPicObject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strPath << m_strFileName << m_strInfo << m_strComment << m_strAuthor << m_strKeywords
           << m_strReserved;
        ar << m_nType << m_nThumbHeight << m_nThumbWidth << m_nBitCount << m_nHeight << m_nWidth;
        ar << m_dwDateTime << m_lFileSize;
        ar << m_strBaseName << m_strExt;
        ar << m_wDosTime << m_wDosDate;
        ar << static_cast<LONG>(m_pThumbDIB != nullptr ? 1 : 0);
        if (m_pThumbDIB)
            m_pThumbDIB->Serialize(ar);
        ar.Flush();
        return;
    }

    m_nThumbState = 0;
    ar >> m_strPath >> m_strFileName >> m_strInfo >> m_strComment >> m_strAuthor >> m_strKeywords
        >> m_strReserved;
    ar >> m_nType >> m_nThumbHeight >> m_nThumbWidth >> m_nBitCount >> m_nHeight >> m_nWidth;
    ar >> m_dwDateTime >> m_lFileSize;
    ReadRecordString(ar, m_strBaseName);
    ReadRecordString(ar, m_strExt);
    ar >> m_wDosTime >> m_wDosDate;
    ClearThumbnail();
    m_bThumbSkipped = m_bHeaderOnly;
    if (m_bHeaderOnly) {
        ar.Flush();
        return;
    }
    LONG present = 0;
    ar >> present;
    if (present != 0) {
        CDIB* dib = new CDIB;
        try {
            dib->Serialize(ar);
        } catch (...) {
            // A half-read thumbnail must never be kept (and so never saved back).
            delete dib;
            throw;
        }
        if (dib->IsEmpty()) {
            // No picture in the thumbnail object: the list's builder makes a new one.
            delete dib;
        } else {
            m_pThumbDIB = dib;
            m_nThumbState = 1;
            // The drawing trusts these, so they follow the picture itself.
            m_nThumbWidth = static_cast<int>(dib->Width());
            m_nThumbHeight = static_cast<int>(dib->Height());
        }
    }
    ar.Flush();
}

BOOL CPicObject::SaveTo(const CString& recordFile)
{
    if (m_bReadOnly || m_bThumbSkipped)
        return FALSE;
    if (m_bMemoryOnly) {
        // The other picture's record file is refused without a word: it is nothing a program could
        // let go of, and whoever tries to keep texts there is told why (the properties sheet).
        if (!m_bToldNotKept && !m_bRecordOfOther) {
            m_bToldNotKept = TRUE;
            TellTextsNotKept(m_strFileName.IsEmpty() ? NameOf(m_strPath) : m_strFileName);
        }
        return FALSE;
    }
    if (!WriteOneRecord(recordFile, *this))
        return FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(recordFile, GetFileExInfoStandard, &data)) {
        m_recordStamp.written = data.ftLastWriteTime;
        m_recordStamp.size = data.nFileSizeLow;
    }
    return TRUE;
}

BOOL CPicObject::SaveDai()
{
    if (m_strPath.IsEmpty())
        return FALSE;
    return SaveTo(RecordFilePath(m_strPath));
}

RecordRead CPicObject::LoadFrom(const CString& recordFile)
{
    CFile file;
    CFileException error;
    if (!file.Open(recordFile, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, &error)) {
        DWORD attributes = GetFileAttributesA(recordFile);
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DWORD err = GetLastError();
            if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
                return RecordRead::Absent;
        }
        return RecordRead::Unreadable;
    }
    RecordStamp stamp;
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileInformationByHandle(file.m_hFile, &info)) {
        stamp.written = info.ftLastWriteTime;
        stamp.size = info.nFileSizeLow;
    }
    // A header-only read stops before the thumbnail: the rest of the file is left unread.
    if (!ReadOneRecord(file, *this, !m_bHeaderOnly)) {
        ClearThumbnail();
        return RecordRead::Broken;
    }
    m_recordStamp = stamp;
    return RecordRead::Loaded;
}

RecordRead CPicObject::ReadRecordFile()
{
    const CString asked = m_strPath;
    if (asked.IsEmpty())
        return RecordRead::Absent;
    const CString recordFile = RecordFilePath(asked);
    RecordRead result = LoadFrom(recordFile);
    if (result != RecordRead::Loaded && result != RecordRead::Broken)
        return result;

    // A record read through the picture's own path must describe that picture: photo.jpg and
    // photo.png share photo.dai, and neither may take the other's record, whole or damaged (a
    // damaged one is the other's only when it names a picture beside this one: otherwise the name
    // read is as damaged as the rest). (Reading the record file by its own name, as the search
    // does, accepts whatever it holds.)
    const CString askedName = NameOf(asked);
    if (recordFile.CompareNoCase(asked) != 0 && !m_strFileName.IsEmpty()
        && m_strFileName.CompareNoCase(askedName) != 0
        && (result == RecordRead::Loaded || NamesPictureBeside(asked, m_strFileName))) {
        const BOOL headerOnly = m_bHeaderOnly, readOnly = m_bReadOnly;
        ClearThumbnail();
        m_strPath = asked;
        m_strFileName.Empty();
        m_strInfo.Empty();
        m_strComment.Empty();
        m_strAuthor.Empty();
        m_strKeywords.Empty();
        m_strReserved.Empty();
        m_strBaseName.Empty();
        m_strExt.Empty();
        m_nType = 1;
        m_nThumbWidth = m_nThumbHeight = m_nWidth = m_nHeight = m_nBitCount = 0;
        m_dwDateTime = 0;
        m_lFileSize = 0;
        m_wDosDate = m_wDosTime = 0;
        m_bThumbSkipped = FALSE;
        m_recordStamp = RecordStamp();
        m_bHeaderOnly = headerOnly;
        m_bReadOnly = readOnly;
        return RecordRead::Foreign;
    }
    if (result == RecordRead::Broken)
        return result;

    // Stale check on the picture asked for and the record file actually read: a copied library
    // folder never rebuilds, nor writes, the original's record.
    if (!m_bHeaderOnly && !m_bReadOnly && CompareFileDates(asked, recordFile) > 0) {
        if (BuildThumbnailFrom(asked))
            SaveTo(recordFile);
    }
    return RecordRead::Loaded;
}

BOOL CPicObject::LoadDai() { return ReadRecordFile() == RecordRead::Loaded; }

BOOL CPicObject::BuildThumbnailFrom(const CString& picture)
{
    if (picture.IsEmpty() || IsFileMissingOrBusy(picture))
        return FALSE;
    PackedDIB dib = LoadThumbnailDIB(picture, kThumbBoxWidth, kThumbBoxHeight, GetScreenBitsPerPixel(), "");
    if (!dib) {
        m_nThumbState = -1;
        return FALSE;
    }
    m_nWidth = LastPictureInfo.width;
    m_nHeight = LastPictureInfo.height;
    m_nBitCount = LastPictureInfo.bitCount;
    CDIB* thumb = new CDIB;
    thumb->Attach(dib);
    m_nThumbWidth = static_cast<int>(thumb->Width());
    m_nThumbHeight = static_cast<int>(thumb->Height());
    m_bmThumb.DeleteObject();
    delete m_pThumbDIB;
    m_pThumbDIB = thumb;
    m_nThumbState = 1;
    m_bThumbSkipped = FALSE;
    return TRUE;
}

BOOL CPicObject::BuildThumbnail() { return BuildThumbnailFrom(m_strPath); }

BOOL CPicObject::RefreshIfStale()
{
    if (m_strPath.IsEmpty() || m_bReadOnly)
        return FALSE;
    const CString recordFile = RecordFilePath(m_strPath);
    if (CompareFileDates(m_strPath, recordFile) <= 0)
        return FALSE;
    WORD date = 0, time = 0;
    GetFileDosDateTime(m_strPath, &date, &time);
    // A picture whose record cannot be rewritten (read-only folder) is not decoded again on every
    // idle step: only when it changes once more.
    if (m_bTried && date == m_wTriedDate && time == m_wTriedTime)
        return FALSE;
    if (!BuildThumbnail()) {
        if (m_nThumbState == -1) {
            m_bTried = TRUE;
            m_wTriedDate = date;
            m_wTriedTime = time;
        }
        return FALSE;
    }
    if (!SaveDai()) {
        m_bTried = TRUE;
        m_wTriedDate = date;
        m_wTriedTime = time;
    }
    return TRUE;
}

BOOL CPicObject::IsSameFile(const CPicObject& other) const
{
    return m_strFileName == other.m_strFileName && m_lFileSize == other.m_lFileSize
           && m_wDosTime == other.m_wDosTime && m_wDosDate == other.m_wDosDate;
}

CString CPicObject::FixPath(const CString& folder, BOOL bUpdate)
{
    CString result = folder;
    if (result.IsEmpty() || result.Right(1) != "\\")
        result += "\\";
    result += NameOnDisk();
    if (bUpdate) {
        const BOOL changed = result != m_strPath;
        m_strPath = result;
        if (changed)
            SaveDai();
    }
    return result;
}

CString CPicObject::NameOnDisk() const
{
    if (!m_strFileName.IsEmpty())
        return m_strFileName;
    return m_strExt.IsEmpty() ? m_strBaseName : m_strBaseName + "." + m_strExt;
}

CString CPicObject::DottedExtension() const
{
    const CString name = NameOnDisk();
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Mid(dot) : CString();
}

CBitmap* CPicObject::GetThumbBitmap()
{
    if (m_bmThumb.GetSafeHandle())
        return &m_bmThumb;
    if (!m_pThumbDIB || m_pThumbDIB->IsEmpty())
        return nullptr;
    if (!DIBToCompatibleBitmap(m_pThumbDIB->GetHandle(), &m_bmThumb, LibraryPalette())) {
        m_bmThumb.DeleteObject();
        m_nThumbState = -1;
        return nullptr;
    }
    return &m_bmThumb;
}

void CPicObject::ReleaseThumbBitmap() { m_bmThumb.DeleteObject(); }

BOOL ReadRecordAsIs(const CString& recordFile, CPicObject& record, BOOL bThumbnail)
{
    record.m_strPath = recordFile;
    record.m_bHeaderOnly = !bThumbnail;
    record.m_bReadOnly = TRUE;
    // By the file's own name, whatever it is called (a record set aside under a passing name too).
    return record.LoadFrom(recordFile) == RecordRead::Loaded;
}

BOOL RecordFileHasNoTexts(const CString& recordFile)
{
    CPicObject record;
    return ReadRecordAsIs(recordFile, record) && record.m_strComment.IsEmpty() && record.m_strAuthor.IsEmpty()
           && record.m_strKeywords.IsEmpty();
}

BOOL RecordFileIsOwn(const CString& picture)
{
    CPicObject probe;
    probe.m_strPath = picture;
    probe.m_bHeaderOnly = TRUE;
    probe.m_bReadOnly = TRUE;
    return probe.ReadRecordFile() != RecordRead::Foreign;
}
