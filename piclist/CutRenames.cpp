#include "piclist/CutRenames.h"

#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/FolderListing.h"
#include "core/PackedDib.h"
#include "core/StringUtil.h"
#include "core/SystemUtil.h"
#include "piclist/FailureReport.h"
#include "piclist/NameRule.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Lower(const CString& text)
{
    std::string s = static_cast<LPCSTR>(text);
    if (!s.empty())
        CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

CString NameOf(const CString& path)
{
    CString folder, name;
    SplitPath(path, &folder, &name);
    return name;
}

BOOL SameThumbnail(const CPicObject& a, const CPicObject& b)
{
    const PackedDIB ha = a.m_pThumbDIB != nullptr ? a.m_pThumbDIB->GetHandle() : nullptr;
    const PackedDIB hb = b.m_pThumbDIB != nullptr ? b.m_pThumbDIB->GetHandle() : nullptr;
    if (ha == nullptr || hb == nullptr)
        return ha == hb;
    const BYTE* pa = static_cast<const BYTE*>(::GlobalLock(ha));
    const BYTE* pb = static_cast<const BYTE*>(::GlobalLock(hb));
    BOOL same = FALSE;
    if (pa != nullptr && pb != nullptr && DIBWidth(pa) == DIBWidth(pb) && DIBHeight(pa) == DIBHeight(pb)) {
        const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(pa);
        const SIZE_T bytes =
            static_cast<SIZE_T>(FindDIBBits(pa) - pa)
            + static_cast<SIZE_T>(DIBRowBytes(DIBWidth(pa), info->biBitCount)) * DIBHeight(pa);
        same = bytes <= ::GlobalSize(ha) && bytes <= ::GlobalSize(hb) && memcmp(pa, pb, bytes) == 0;
    }
    if (pa != nullptr)
        ::GlobalUnlock(ha);
    if (pb != nullptr)
        ::GlobalUnlock(hb);
    return same;
}

// TRUE when the record file of picture is that picture's own and holds what copy holds besides the
// names: the texts, the file facts and the thumbnail.
BOOL HoldsSameAs(const CString& picture, const CPicObject& copy, const CString& copyFile)
{
    const CString recordFile = RecordFilePath(picture);
    if (recordFile.CompareNoCase(copyFile) == 0)
        return FALSE;
    CPicObject own;
    if (!ReadRecordAsIs(recordFile, own, FALSE) || own.m_strFileName.CompareNoCase(NameOf(picture)) != 0)
        return FALSE;
    if (own.m_strComment != copy.m_strComment || own.m_strAuthor != copy.m_strAuthor
        || own.m_strKeywords != copy.m_strKeywords || own.m_strReserved != copy.m_strReserved
        || own.m_lFileSize != copy.m_lFileSize || own.m_dwDateTime != copy.m_dwDateTime)
        return FALSE;
    CPicObject ownWhole, copyWhole;
    return ReadRecordAsIs(recordFile, ownWhole, TRUE) && ReadRecordAsIs(copyFile, copyWhole, TRUE)
           && SameThumbnail(ownWhole, copyWhole);
}

// A file set aside that stays is told once, not at every listing of its folder: known by its path,
// its size and its last write, so that another file later set aside under that name is told too.
std::string KeptFileKey(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path, GetFileExInfoStandard, &data);
    CString key;
    key.Format("%s|%lu|%lu|%lu", static_cast<LPCSTR>(path), data.nFileSizeLow,
               data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime);
    return Lower(key);
}

// Listing runs on the user-interface thread only.
std::set<std::string> g_toldKept;

// Says where the files set aside that could not go back are, in one message; those already told
// are not told again. A listing holds the message back until its list is filled (FailureReport.h).
void TellKept(const std::vector<CString>& kept)
{
    std::vector<CString> untold;
    for (const CString& path : kept) {
        if (g_toldKept.insert(KeptFileKey(path)).second)
            untold.push_back(path);
    }
    if (untold.empty())
        return;
    CString text;
    if (untold.size() == 1) {
        text.Format(
            LoadStringOr(IDS_SET_ASIDE_KEPT,
                         "Le fichier %s, mis de c\xF4t\xE9 par une op\xE9ration interrompue, n'a pas pu "
                         "reprendre son nom : il est conserv\xE9 tel quel."),
            static_cast<LPCSTR>(untold.front()));
    } else {
        CString list;
        for (const CString& path : untold)
            list += "\n" + path;
        text.Format(
            LoadStringOr(IDS_SET_ASIDE_KEPT_MANY,
                         "Ces fichiers, mis de c\xF4t\xE9 par une op\xE9ration interrompue, n'ont pas pu "
                         "reprendre leur nom : ils sont conserv\xE9s tels quels.%s"),
            static_cast<LPCSTR>(list));
    }
    ReportFileFailure(text, MB_ICONEXCLAMATION);
}

// A file set aside by a replace cut short, and the name it had.
struct SetAsideFile {
    CString path;
    CString original;    // empty when the name is not known
    CString pictureName; // for a record file: the picture it describes
    bool held = false;   // a record file another program holds: whose it is cannot be read now
    bool settled = false;
};

std::vector<SetAsideFile> ReadSetAsideFiles(const CString& folder)
{
    std::vector<SetAsideFile> files;
    for (const CString& path : ListSetAsideFiles(folder)) {
        SetAsideFile f;
        f.path = path;
        f.original = SetAsideOriginalName(NameOf(path));
        CPicObject record;
        if (IsRecordFile(f.original) && ReadRecordAsIs(path, record, FALSE))
            f.pictureName = record.m_strFileName;
        else if (IsRecordFile(f.original))
            f.held = IsFileInUse(path) != FALSE;
        files.push_back(f);
    }
    return files;
}

// The record names the files set aside want back: their own, and those of the pictures among them.
std::set<std::string> WantedRecordNames(const std::vector<SetAsideFile>& asides)
{
    std::set<std::string> wanted;
    for (const SetAsideFile& f : asides) {
        if (IsRecordFile(f.original))
            wanted.insert(Lower(f.original));
        else if (!f.original.IsEmpty() && IsListedPicture(f.original))
            wanted.insert(Lower(NameOf(RecordFilePath(f.original))));
    }
    return wanted;
}

// Removes the copies of records that a move or copy cut short left in the folder: with
// bKeepRecords, any such record that no picture of the folder uses; always, one in the way of a
// file set aside (the record a transfer carried before its picture).
int RemoveLeftoverRecords(const CString& dir, const std::set<std::string>& wanted, BOOL bKeepRecords)
{
    if (!bKeepRecords && wanted.empty())
        return 0;
    std::set<std::string> used;
    std::vector<CString> records;
    // A name the code page cannot spell names no file: no record is read or removed by it.
    CFolderListing listing(dir + "*.*", UnspelledNames::Skipped);
    WIN32_FIND_DATAA entry;
    while (listing.Next(entry)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const CString name = entry.cFileName;
        if (IsListedPicture(name))
            used.insert(Lower(NameOf(RecordFilePath(dir + name))));
        else if (IsRecordFile(name))
            records.push_back(name);
    }
    int removed = 0;
    for (const CString& name : records) {
        const std::string key = Lower(name);
        const bool inTheWay = wanted.count(key) != 0;
        if ((inTheWay || (bKeepRecords && !used.count(key))) && IsLeftoverRecordCopy(dir + name)
            && SafeDeleteFile(dir + name))
            ++removed;
    }
    return removed;
}

// Puts the files set aside back under their names, a picture and its record file together: both go
// back when both names are free, else both stay (a picture that took the name meanwhile has its
// own record to come, and the one set aside is not it). What stays is added to kept.
int PutBackSetAside(const CString& dir, std::vector<SetAsideFile>& asides, std::vector<CString>& kept)
{
    int back = 0;
    const auto keep = [&kept](SetAsideFile& f) {
        f.settled = true;
        kept.push_back(f.path);
    };
    const auto putBack = [&](SetAsideFile& f) {
        f.settled = true;
        if (f.original.IsEmpty() || !SafeMove(f.path, dir + f.original)) {
            kept.push_back(f.path);
            return false;
        }
        ++back;
        return true;
    };
    for (SetAsideFile& picture : asides) {
        if (picture.settled || picture.original.IsEmpty() || !IsListedPicture(picture.original))
            continue;
        const CString recordName = NameOf(RecordFilePath(picture.original));
        SetAsideFile* record = nullptr;
        for (SetAsideFile& f : asides) {
            // One that cannot be read while it is held may be the picture's: the picture waits.
            if (!f.settled && f.original.CompareNoCase(recordName) == 0
                && (f.held || f.pictureName.CompareNoCase(picture.original) == 0))
                record = &f;
        }
        if (PathExists(dir + picture.original) || (record != nullptr && PathExists(dir + record->original))) {
            keep(picture);
            if (record != nullptr)
                keep(*record);
            continue;
        }
        // The record first: a stop in between leaves it beside its own picture's name, which the
        // next listing gives back.
        if (record == nullptr || putBack(*record))
            putBack(picture);
        else
            keep(picture);
    }
    // The rest alone: records whose picture was not set aside, other files, folders.
    for (SetAsideFile& f : asides) {
        if (!f.settled)
            putBack(f);
    }
    return back;
}

// Settles the records that moves, deletes and renames cut short left behind: one whose picture still
// stands goes back under its name, or goes when a record holding the same took that name; one whose
// picture is gone is a copy of the record that went with it, and goes. One whose name another
// picture took meanwhile stays. What stays is added to kept.
int SettleLeftBehind(const CString& dir, std::vector<CString>& kept)
{
    int mended = 0;
    for (const CString& path : ListSetAsideFiles(dir, AsideKind::LeftBehind)) {
        CPicObject record;
        if (!ReadRecordAsIs(path, record, FALSE) || !IsAcceptableName(record.m_strFileName)) {
            kept.push_back(path);
            continue;
        }
        const CString picture = dir + record.m_strFileName;
        const CString recordFile = RecordFilePath(picture);
        if (!PathExists(picture) || (PathExists(recordFile) && HoldsSameAs(picture, record, path))) {
            // One that cannot be deleted now goes at a later listing.
            if (SafeDeleteFile(path))
                ++mended;
        } else if (!PathExists(recordFile) && RecordDescribesPicture(path, picture)
                   && SafeMove(path, recordFile)) {
            ++mended;
        } else {
            kept.push_back(path);
        }
    }
    return mended;
}

} // namespace

int RecoverCutRenames(const CString& folder)
{
    const CString dir = WithSlash(folder);
    std::vector<CString> passing;
    for (const CString& temp : ListMatchingFiles(dir + "~ren*.tmp")) {
        if (IsPassingName(NameOf(temp), "~ren"))
            passing.push_back(temp);
    }
    if (passing.size() != 1)
        return 0;
    std::vector<CString> missing;
    for (const CString& recordFile : ListMatchingFiles(dir + "*.dai")) {
        CPicObject record;
        if (ReadRecordAsIs(recordFile, record, FALSE) && IsAcceptableName(record.m_strFileName)
            && !PathExists(dir + record.m_strFileName))
            missing.push_back(dir + record.m_strFileName);
    }
    // More than one candidate: which name is whose cannot be told; the file stays as it is.
    if (missing.size() != 1 || !SafeMove(passing.front(), missing.front()))
        return 0;
    return 1;
}

BOOL IsLeftoverRecordCopy(const CString& recordFile)
{
    CPicObject copy;
    if (!ReadRecordAsIs(recordFile, copy, FALSE) || !IsAcceptableName(copy.m_strFileName))
        return FALSE;
    const CString dir = recordFile.Left(recordFile.ReverseFind('\\') + 1);
    if (dir.IsEmpty() || PathExists(dir + copy.m_strFileName))
        return FALSE;
    // The record it was copied from, where a move or copy cut short took it from.
    const CString named = copy.m_strPath;
    const DWORD a = ::GetFileAttributesA(named);
    if (!named.IsEmpty() && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY)
        && HoldsSameAs(named, copy, recordFile))
        return TRUE;
    // The record of the picture beside it that a rename cut short was giving a new name: only the
    // pictures of the size it gives are read.
    CFolderListing listing(dir + "*.*", UnspelledNames::Skipped);
    WIN32_FIND_DATAA entry;
    BOOL found = FALSE;
    while (!found && listing.Next(entry)) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.nFileSizeHigh == 0
            && static_cast<LONG>(entry.nFileSizeLow) == copy.m_lFileSize && IsListedPicture(entry.cFileName))
            found = HoldsSameAs(dir + entry.cFileName, copy, recordFile);
    }
    return found;
}

BOOL RecordDescribesPicture(const CString& recordFile, const CString& picture)
{
    WIN32_FIND_DATAA entry;
    if (!FindFolderEntry(picture, entry))
        return FALSE;
    CPicObject record, facts, now;
    FillRecordFromEntry(&facts, picture, entry);
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.nFileSizeHigh != 0
        || !ReadRecordAsIs(recordFile, record, TRUE) || record.m_lFileSize != facts.m_lFileSize
        || record.m_wDosDate != facts.m_wDosDate || record.m_wDosTime != facts.m_wDosTime)
        return FALSE;
    // Size and date can be alike by chance: the pixels decide, where the record keeps them.
    now.m_strPath = picture;
    return record.m_pThumbDIB == nullptr || (now.BuildThumbnail() && SameThumbnail(record, now));
}

int RecoverCutOperations(const CString& folder, BOOL bKeepRecords)
{
    if (folder.IsEmpty())
        return 0;
    const CString dir = WithSlash(folder);
    std::vector<CString> kept;
    int mended = SettleLeftBehind(dir, kept);
    // What is decided for a picture set aside depends on what stands at its name and at its
    // record's: the copies in the way go before anything moves back.
    std::vector<SetAsideFile> asides = ReadSetAsideFiles(folder);
    mended += RemoveLeftoverRecords(dir, WantedRecordNames(asides), bKeepRecords);
    mended += PutBackSetAside(dir, asides, kept);
    if (bKeepRecords)
        mended += RecoverCutRenames(folder);
    TellKept(kept);
    return mended;
}
