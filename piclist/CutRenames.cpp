#include "piclist/CutRenames.h"

#include "core/DIB.h"
#include "core/FileUtil.h"
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

void TellKept(const CString& path)
{
    CString text;
    text.Format(LoadStringOr(IDS_SET_ASIDE_KEPT,
                             "Le fichier %s, mis de c\xF4t\xE9 par une op\xE9ration interrompue, n'a pas pu "
                             "reprendre son nom : il est conserv\xE9 tel quel."),
                static_cast<LPCSTR>(path));
    ReportFileFailure(text, MB_ICONEXCLAMATION);
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
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA(dir + "*.*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL found = FALSE;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.nFileSizeHigh == 0
            && static_cast<LONG>(entry.nFileSizeLow) == copy.m_lFileSize && IsListedPicture(entry.cFileName))
            found = HoldsSameAs(dir + entry.cFileName, copy, recordFile);
    } while (!found && ::FindNextFileA(find, &entry));
    ::FindClose(find);
    return found;
}

int RecoverCutOperations(const CString& folder, BOOL bKeepRecords)
{
    if (folder.IsEmpty())
        return 0;
    const CString dir = WithSlash(folder);
    std::vector<CString> kept;
    int mended = PutBackSetAsideFiles(folder, &kept);
    if (bKeepRecords) {
        // Records that no picture of the folder uses, and those in the way of a record set aside.
        std::set<std::string> used, wanted;
        std::vector<CString> records;
        WIN32_FIND_DATAA entry;
        HANDLE find = ::FindFirstFileA(dir + "*.*", &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    continue;
                const CString name = entry.cFileName;
                if (IsListedPicture(name))
                    used.insert(Lower(NameOf(RecordFilePath(dir + name))));
                else if (name.GetLength() > 4 && name.Right(4).CompareNoCase(".dai") == 0)
                    records.push_back(name);
            } while (::FindNextFileA(find, &entry));
            ::FindClose(find);
        }
        for (const CString& aside : kept)
            wanted.insert(Lower(SetAsideOriginalName(NameOf(aside))));
        int removed = 0;
        for (const CString& name : records) {
            const std::string key = Lower(name);
            if ((!used.count(key) || wanted.count(key)) && IsLeftoverRecordCopy(dir + name)
                && SafeDeleteFile(dir + name))
                ++removed;
        }
        if (removed > 0) {
            kept.clear();
            mended += removed + PutBackSetAsideFiles(folder, &kept);
        }
        mended += RecoverCutRenames(folder);
    }
    for (const CString& aside : kept)
        TellKept(aside);
    return mended;
}
