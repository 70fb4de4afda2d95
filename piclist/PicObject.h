// CPicObject: the record behind every thumbnail-list item (names, the user's texts, measures, file
// date and size, thumbnail) and its ".dai" record file beside the picture, which holds exactly the
// record's archive form.
#pragma once
#include "framework/Gdi.h"
#include "framework/Object.h"
#include "framework/String.h"

class CArchive;
class CDIB;

// Thumbnails fit this box.
const int kThumbBoxWidth = 84;
const int kThumbBoxHeight = 68;

// The record file of a picture: the path with the text from the last '.' of its file name replaced
// by ".dai" (".dai" appended when the file name has no '.'). C:\Lib\Photo.jpg -> C:\Lib\Photo.dai.
CString RecordFilePath(const CString& picturePath);
// TRUE when the file name ends in ".dai" (any case): a record file's name.
BOOL IsRecordFile(const CString& path);
// TRUE when a picture can be made at picturePath with its record file beside it (NameFits,
// SafeFileOps.h); else noted as a failed step on the picture with a name too long.
BOOL CheckPictureNameFits(const CString& picturePath);

// Reads a string of a record file (the length-prefix form of ANSI text); a wide-string marker or a
// length past the end of the file throws the archive's exception. Trash records use it too.
void ReadRecordString(CArchive& ar, CString& text);

// What reading a record file found.
enum class RecordRead {
    Loaded,     // read whole and describing the picture asked for
    Absent,     // no record file: the caller may write a fresh one
    Unreadable, // the file exists but could not be opened now: it must not be rewritten
    Broken,     // opened but damaged (truncated, lying lengths): the caller may write a fresh one
    Foreign     // a sound record of another picture sharing the name (photo.jpg / photo.png): kept
};

// A record file's last write time and size: a stamp that differs from the one a record took when it
// last read or wrote the file tells that another program changed it since.
struct RecordStamp {
    FILETIME written = {0, 0};
    DWORD size = 0;
    BOOL IsKnown() const { return written.dwLowDateTime != 0 || written.dwHighDateTime != 0; }
    BOOL operator==(const RecordStamp& other) const
    {
        return ::CompareFileTime(&written, &other.written) == 0 && size == other.size;
    }
};

class CPicObject : public CObject {
    DECLARE_SERIAL(CPicObject)
public:
    // Every string empty, m_nType 1, every number 0, no thumbnail.
    CPicObject();
    // Deletes the thumbnail picture and releases the device bitmap.
    ~CPicObject() override;
    CPicObject(const CPicObject&) = delete;
    CPicObject& operator=(const CPicObject&) = delete;

    // Every field of src except m_bMatched and m_bHeaderOnly; the thumbnail is copied deeply.
    // Meant for new records: a thumbnail already held is released first all the same.
    void Copy(const CPicObject& src);

    // The record file form, both ways. Loading refuses a damaged thumbnail by throwing the archive's
    // exception; the strings and numbers read before it stay.
    void Serialize(CArchive& ar) override;

    // Writes the record file of m_strPath: complete in a temporary file, then moved over the old one.
    // 0 on failure (no message; the old file is left as it was), and for records that must not be
    // written: read header-only (they hold no thumbnail), marked m_bReadOnly or m_bMemoryOnly (the
    // first refusal of a record file held by another program tells the user, once, that its texts
    // cannot be kept).
    BOOL SaveDai();
    // Reads the record file of m_strPath (the picture's path, set by the caller). 1 only for
    // RecordRead::Loaded; see ReadRecordFile.
    BOOL LoadDai();
    // LoadDai with the reason of a failure. Afterwards m_strPath holds the path stored in the record
    // (FixPath then sees a moved folder). When the picture asked for is newer than its record file,
    // the thumbnail is rebuilt from that picture and that record file rewritten, unless the record
    // is read header-only or read-only: nothing is then ever decoded or written. A failed read
    // leaves no thumbnail (state 0) and keeps the texts read so far; Foreign resets the record to
    // the picture asked for. Lists that keep record files write a fresh record only after Absent or
    // Broken.
    RecordRead ReadRecordFile();

    // Loads the picture reduced into the 84 x 68 box. 0 and nothing changed when the file is missing
    // or held by another program; 0 with state -1 when it cannot be read; 1 when built.
    BOOL BuildThumbnail();
    // Rebuilds the thumbnail and rewrites the record file when the picture was written after it.
    // A picture whose rebuild was tried for its present date is not tried again until it changes.
    BOOL RefreshIfStale();
    // Same file name (exact), size and DOS date and time; the folder plays no part.
    BOOL IsSameFile(const CPicObject& other) const;
    // folder + '\' (unless already there) + the name on disk. With bUpdate, m_strPath takes that
    // path and the record file is rewritten when it changed.
    CString FixPath(const CString& folder, BOOL bUpdate);
    // The picture's file name as listed in its folder, its extension's case kept (m_strExt is lower
    // case): what every path built for the picture uses. Base name + '.' + extension for a record
    // without a file name.
    CString NameOnDisk() const;
    // The extension of that name with its dot (".JPG"), or empty.
    CString DottedExtension() const;

    // The screen bitmap of the thumbnail, made through the application palette when first asked for
    // (records hold no GDI object until drawn); null without a thumbnail or when it cannot be made
    // (the state then becomes -1).
    CBitmap* GetThumbBitmap();
    // Gives the screen bitmap back (lists do so for records far from view); the thumbnail stays.
    void ReleaseThumbBitmap();
    BOOL HasThumbnail() const { return m_pThumbDIB != nullptr; }

    // ---- persisted ----
    CString m_strPath;
    CString m_strFileName;
    CString m_strInfo;
    CString m_strComment;
    CString m_strAuthor;
    CString m_strKeywords;
    CString m_strReserved;
    int m_nType = 1;
    int m_nThumbWidth = 0;
    int m_nThumbHeight = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitCount = 0;
    // ---- the thumbnail ----
    CBitmap m_bmThumb;
    CDIB* m_pThumbDIB = nullptr;
    int m_nThumbState = 0; // 0 none yet, 1 built, -1 building failed
    // ---- persisted ----
    DWORD m_dwDateTime = 0; // (DOS date << 16) | DOS time
    LONG m_lFileSize = 0;
    CString m_strBaseName;
    CString m_strExt; // lower case
    WORD m_wDosDate = 0;
    WORD m_wDosTime = 0;
    // ---- transient ----
    BOOL m_bMatched = FALSE;    // mark of a list's merge refresh
    BOOL m_bHeaderOnly = FALSE; // reading skips the thumbnail
    // A record in the trash, or of a name the code page cannot spell: never written back, never rebuilt.
    BOOL m_bReadOnly = FALSE;
    // The record file at m_strPath's name is not this record's to write: it could not be read when
    // listed (held by another program) or it holds the record of another picture of the same base
    // name (photo.jpg / photo.png). The record lives in memory only; a rename to a free name, which
    // gives it a record file of its own, clears it.
    BOOL m_bMemoryOnly = FALSE;
    // Memory only because the record file is the record of the other picture of that base name: no
    // retry can write it (only a rename gives the picture a record file of its own), so its refusals
    // say nothing in the status line.
    BOOL m_bRecordOfOther = FALSE;
    // The record file as this record last read or wrote it; unknown when it did neither.
    RecordStamp m_recordStamp;

private:
    void ClearThumbnail();
    BOOL BuildThumbnailFrom(const CString& picture);
    BOOL SaveTo(const CString& recordFile);
    RecordRead LoadFrom(const CString& recordFile);
    friend BOOL ReadRecordAsIs(const CString& recordFile, CPicObject& record, BOOL bThumbnail);

    BOOL m_bThumbSkipped = FALSE; // read header-only: the file's thumbnail is not in memory
    BOOL m_bToldNotKept = FALSE;  // the user was told that this record's texts cannot be kept
    WORD m_wTriedDate = 0;        // picture date of the last stale rebuild tried
    WORD m_wTriedTime = 0;
    BOOL m_bTried = FALSE;
};

// Reads a record file by its own name, as it is: nothing checked against a picture, nothing written,
// the thumbnail only when asked for. FALSE when it does not read as a record.
BOOL ReadRecordAsIs(const CString& recordFile, CPicObject& record, BOOL bThumbnail = FALSE);

// TRUE when the record file reads and holds none of the user's texts (comment, author, keywords):
// a record the folder scan made anew, which may give way to one that has them.
BOOL RecordFileHasNoTexts(const CString& recordFile);

// FALSE when the record file of the picture's name describes another picture of that base name
// (photo.jpg / photo.png), as read now: it stays with that picture when this one moves or goes to
// the trash. A record file that cannot be read counts as the picture's own, so that the step that
// carries it fails naming it rather than the picture leaving without its texts.
BOOL RecordFileIsOwn(const CString& picture);
