// CPicListBox filling: the folder scan, the merge refresh against the disk, folder-change lines,
// search hits, re-placing one item, and the thumbnail builder's idle step.
#include "core/BusyCursor.h"
#include "core/FileTypes.h"
#include "core/FolderListing.h"
#include "core/SystemUtil.h"
#include "framework/Collections.h"
#include "piclist/DelObject.h"
#include "piclist/FailureReport.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "piclist/CutRenames.h"
#include "piclist/SafeFileOps.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

namespace {

// The loading animation shows only for folders of at least this many files.
const int kAnimationThreshold = 20;

// Key of the merge refresh: what CPicObject::IsSameFile compares.
std::string SameFileKey(const CPicObject* pRecord)
{
    char numbers[48];
    std::snprintf(numbers, sizeof(numbers), "|%ld|%u|%u", static_cast<long>(pRecord->m_lFileSize),
                  static_cast<unsigned>(pRecord->m_wDosDate), static_cast<unsigned>(pRecord->m_wDosTime));
    return std::string(static_cast<LPCSTR>(pRecord->m_strFileName)) + numbers;
}

} // namespace

CString JoinFolderPath(const CString& folder, const CString& name)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\')
        return folder + name;
    return folder + "\\" + name;
}

BOOL IsListedPicture(LPCSTR name)
{
    if (name == nullptr || name[0] == '\0' || name[0] == '.')
        return FALSE;
    int code = 0;
    return GetFileCategory(name, &code) == kCategoryImage && code != -1;
}

CString PicInfoText(DWORD size, WORD dosDate)
{
    int day = dosDate & 31;
    int month = (dosDate >> 5) & 15;
    int year = ((dosDate >> 9) + 80) % 100;
    char text[64];
    DWORD kb = size / 1024;
    if (kb != 0)
        std::snprintf(text, sizeof(text), "(%lu k - %02d/%02d/%02d)", static_cast<unsigned long>(kb), day,
                      month, year);
    else
        std::snprintf(text, sizeof(text), "(0,%lu k - %02d/%02d/%02d)",
                      static_cast<unsigned long>(size * 10 / 1024), day, month, year);
    return text;
}

void FillRecordFromEntry(CPicObject* pRecord, const CString& path, const WIN32_FIND_DATAA& entry)
{
    CString name = entry.cFileName;
    pRecord->m_strPath = path;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    // Local time, as the properties sheet and the date comparisons of record files show it.
    if (::FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local))
        ::FileTimeToDosDateTime(&local, &date, &time);
    pRecord->m_wDosDate = date;
    pRecord->m_wDosTime = time;
    pRecord->m_dwDateTime = (static_cast<DWORD>(date) << 16) | time;
    pRecord->m_lFileSize = static_cast<LONG>(entry.nFileSizeLow);
    pRecord->m_strInfo = PicInfoText(entry.nFileSizeLow, date);
    pRecord->m_nType = GetFileTypeFromExt(name);
    pRecord->m_nThumbWidth = 0;
    pRecord->m_nThumbHeight = 0;
    pRecord->m_nWidth = 0;
    pRecord->m_nHeight = 0;
    pRecord->m_nThumbState = 0;

    CString base;
    CString ext;
    int dot = -1;
    for (int i = name.GetLength() - 1; i >= 1; i--) {
        if (name[i] == '.') {
            dot = i;
            break;
        }
    }
    if (dot < 0) {
        ext = name.Mid(1);
    } else {
        base = name.Left(dot);
        ext = name.Mid(dot + 1);
    }
    // The file name and base name as on disk, case and all: the file operations build their paths
    // from them. The extension is the record's type key, in lower case.
    ext.MakeLower();
    pRecord->m_strBaseName = base;
    pRecord->m_strExt = ext;
    pRecord->m_strFileName = name;
}

// ---- the folder scan ----

namespace {

// A record read only in part: the texts read stay, everything the directory knows is taken from it.
void KeepTextsOf(CPicObject* pRecord, const CString& path, const WIN32_FIND_DATAA& entry)
{
    CPicObject facts;
    FillRecordFromEntry(&facts, path, entry);
    CString comment = pRecord->m_strComment, author = pRecord->m_strAuthor;
    CString keywords = pRecord->m_strKeywords, reserved = pRecord->m_strReserved;
    pRecord->Copy(facts);
    pRecord->m_strComment = comment;
    pRecord->m_strAuthor = author;
    pRecord->m_strKeywords = keywords;
    pRecord->m_strReserved = reserved;
}

std::string LowerName(LPCSTR name)
{
    CString lower = name;
    lower.MakeLower();
    return static_cast<LPCSTR>(lower);
}

// (DOS date << 16) | DOS time of a file time, in local time: the two-second steps the record files'
// stale check compares.
DWORD DosStamp(const FILETIME& utc)
{
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (::FileTimeToLocalFileTime(&utc, &local))
        ::FileTimeToDosDateTime(&local, &date, &time);
    return (static_cast<DWORD>(date) << 16) | time;
}

} // namespace

CPicObject* CPicListBox::RecordFromEntry(const CString& folder, const WIN32_FIND_DATAA& entry,
                                         const FILETIME* pRecordTime)
{
    CString path = JoinFolderPath(folder, entry.cFileName);
    CPicObject* pRecord = new CPicObject;
    if (HasUnspelledLetter(entry.cFileName)) {
        // A name the code page cannot spell: its path names no file, so the picture cannot be read,
        // and no record file is read or written for it (under the best-fit spelling, one would be
        // another picture's, or no picture's).
        FillRecordFromEntry(pRecord, path, entry);
        pRecord->m_nThumbState = -1;
        pRecord->m_bReadOnly = TRUE;
        return pRecord;
    }
    if (!m_bKeepRecords) {
        FillRecordFromEntry(pRecord, path, entry);
        return pRecord;
    }
    pRecord->m_strPath = path;
    // The scan already knows both files' dates: the stale check is made here from them rather than
    // by looking both files up again for each picture of a large folder.
    BOOL scanKnowsDates = pRecordTime != nullptr;
    pRecord->m_bReadOnly = scanKnowsDates;
    RecordRead read = pRecord->ReadRecordFile();
    pRecord->m_bReadOnly = FALSE;
    if (read == RecordRead::Loaded) {
        // The record file keeps the picture's size and date from when it was written: a picture
        // changed by another program shows its present ones.
        CPicObject facts;
        FillRecordFromEntry(&facts, path, entry);
        BOOL changed = facts.m_lFileSize != pRecord->m_lFileSize || facts.m_wDosDate != pRecord->m_wDosDate
                       || facts.m_wDosTime != pRecord->m_wDosTime;
        if (changed) {
            pRecord->m_lFileSize = facts.m_lFileSize;
            pRecord->m_wDosDate = facts.m_wDosDate;
            pRecord->m_wDosTime = facts.m_wDosTime;
            pRecord->m_dwDateTime = facts.m_dwDateTime;
            pRecord->m_strInfo = facts.m_strInfo;
        }
        // A record written under another spelling of the name takes the one on disk. Records
        // written before names kept their case differ from it only by case: they are shown and
        // used with the disk's spelling, but not rewritten for it (a whole library would be).
        const BOOL respelled = facts.m_strFileName != pRecord->m_strFileName
                               || facts.m_strBaseName != pRecord->m_strBaseName
                               || facts.m_strExt != pRecord->m_strExt;
        const BOOL renamed = facts.m_strFileName.CompareNoCase(pRecord->m_strFileName) != 0
                             || facts.m_strBaseName.CompareNoCase(pRecord->m_strBaseName) != 0
                             || facts.m_strExt.CompareNoCase(pRecord->m_strExt) != 0;
        if (respelled) {
            pRecord->m_strFileName = facts.m_strFileName;
            pRecord->m_strBaseName = facts.m_strBaseName;
            pRecord->m_strExt = facts.m_strExt;
        }
        CString fixed = pRecord->FixPath(folder, FALSE);
        // A stored path that differs only by case (an old record's spelling) is not worth a write.
        BOOL save = fixed.CompareNoCase(pRecord->m_strPath) != 0 || changed || renamed;
        pRecord->m_strPath = fixed;
        if (scanKnowsDates && DosStamp(entry.ftLastWriteTime) > DosStamp(*pRecordTime)
            && pRecord->BuildThumbnail())
            save = TRUE;
        if (save)
            pRecord->SaveDai();
        return pRecord;
    }
    if (read == RecordRead::Broken) {
        // Damaged after the user's texts (a cut thumbnail, bytes too many): what was read stays and
        // the file facts come from the directory; the builder makes a new thumbnail.
        KeepTextsOf(pRecord, path, entry);
        pRecord->m_strPath = pRecord->FixPath(folder, FALSE);
        pRecord->SaveDai();
        return pRecord;
    }
    delete pRecord;
    pRecord = new CPicObject;
    FillRecordFromEntry(pRecord, path, entry);
    // A record that exists but cannot be read now, or belongs to another picture of the same name,
    // is never written over: this record then lives in memory only.
    if (read == RecordRead::Absent) {
        pRecord->m_strPath = pRecord->FixPath(folder, FALSE);
        pRecord->SaveDai();
    } else {
        pRecord->m_bMemoryOnly = TRUE;
        pRecord->m_bRecordOfOther = read == RecordRead::Foreign;
    }
    return pRecord;
}

void CPicListBox::ScanFolder(const CString& folder, std::vector<CPicObject*>* pScanned, BOOL bAnimate,
                             int* pCount)
{
    WIN32_FIND_DATAA entry;
    CFolderListing listing(JoinFolderPath(folder, "*.*"));
    std::vector<WIN32_FIND_DATAA> pictures;
    std::unordered_map<std::string, FILETIME> recordTimes;
    while (listing.Next(entry)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (entry.cFileName[0] == '\0' || entry.cFileName[0] == '.')
            continue;
        ++*pCount;
        if (bAnimate && *pCount == kAnimationThreshold)
            StartLoadingAnimation();
        if (IsListedPicture(entry.cFileName))
            pictures.push_back(entry);
        else if (m_bKeepRecords)
            recordTimes[LowerName(entry.cFileName)] = entry.ftLastWriteTime;
    }
    pScanned->reserve(pScanned->size() + pictures.size());
    for (const WIN32_FIND_DATAA& picture : pictures) {
        const FILETIME* pRecordTime = nullptr;
        if (m_bKeepRecords) {
            CString recordName;
            CString unused;
            SplitPath(RecordFilePath(JoinFolderPath(folder, picture.cFileName)), &unused, &recordName);
            auto it = recordTimes.find(LowerName(recordName));
            if (it != recordTimes.end())
                pRecordTime = &it->second;
        }
        pScanned->push_back(RecordFromEntry(folder, picture, pRecordTime));
    }
}

namespace {

// Sets a flag of the list for as long as it lives, exceptions included.
struct FlagScope {
    explicit FlagScope(BOOL& flag) : m_flag(flag) { m_flag = TRUE; }
    ~FlagScope() { m_flag = FALSE; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    BOOL& m_flag;
};

} // namespace

int CPicListBox::RunFill(std::function<int()> fill)
{
    // A box of this fill's telling runs a modal loop, and its timers may ask for another listing of
    // this list: run now, it would list the folder a second time under the first.
    if (IsFillUnderWay()) {
        m_owedFill = std::move(fill);
        return 0;
    }
    int result = 0;
    for (BOOL first = TRUE;; first = FALSE) {
        CHeldReports held;
        {
            FlagScope filling(m_bFilling);
            const int filled = fill();
            if (first)
                result = filled;
        }
        {
            FlagScope telling(m_bTellingFill);
            held.Tell();
        }
        if (!m_owedFill || !::IsWindow(m_hWnd))
            break;
        fill = std::move(m_owedFill);
        m_owedFill = nullptr;
    }
    m_owedFill = nullptr;
    return result;
}

int CPicListBox::LoadFolder(CString folder)
{
    return RunFill([this, folder] { return LoadFolderNow(folder); });
}

int CPicListBox::LoadFolderNow(const CString& folder)
{
    ResetContent();
    if (folder.IsEmpty())
        return 0;
    // What writes cut short left in the folder goes before the folder is read.
    RemoveLeftoverTempFiles(folder);
    if (LIBLIST_TRASH_MODE)
        return LoadTrashFolder(folder);
    RecoverCutOperations(folder, m_bKeepRecords);
    SetAppCursor(kAppCursorBusy);
    std::vector<CPicObject*> scanned;
    int count = 0;
    ScanFolder(folder, &scanned, TRUE, &count);
    AddRecords(std::vector<CObject*>(scanned.begin(), scanned.end()));
    StopLoadingAnimation();
    RestoreAppCursor();
    if (!scanned.empty())
        SetSel(0, TRUE);
    NotifyOwner(FALSE);
    return scanned.empty() ? 0 : 1;
}

int CPicListBox::LoadTrashFolder(const CString& folder)
{
    SetAppCursor(kAppCursorBusy);
    // Items that a delete or restore cut short left half-way are made whole before listing.
    const CString trash = GetTrashFolder();
    if (!trash.IsEmpty() && IsSamePath(folder, trash.Left(trash.GetLength() - 1)))
        RepairTrashFolder();
    std::vector<CObject*> records;
    int count = 0;
    CFolderListing listing(JoinFolderPath(folder, "*.del"));
    WIN32_FIND_DATAA entry;
    while (listing.Next(entry)) {
        if (++count == kAnimationThreshold)
            StartLoadingAnimation();
        CDelObject* pRecord = new CDelObject;
        if (pRecord->LoadDel(JoinFolderPath(folder, entry.cFileName)))
            records.push_back(pRecord);
        else
            delete pRecord;
    }
    AddRecords(records);
    MeasureTrashNames();
    StopLoadingAnimation();
    RestoreAppCursor();
    if (!records.empty())
        SetSel(0, TRUE);
    NotifyOwner(TRUE);
    return records.empty() ? 0 : 1;
}

// ---- the merge refresh ----

int CPicListBox::RefreshFolder(CString folder)
{
    return RunFill([this, folder] { return RefreshFolderNow(folder); });
}

int CPicListBox::RefreshFolderNow(const CString& folder)
{
    if (LIBLIST_TRASH_MODE)
        return 1;
    if (folder.IsEmpty())
        return 0;
    SetAppCursor(kAppCursorBusy);
    std::vector<CPicObject*> scanned;
    int count = 0;
    ScanFolder(folder, &scanned, FALSE, &count);

    SetRedraw(FALSE);
    int items = GetCount();
    // Unmatched list items by what IsSameFile compares, in index order.
    std::unordered_map<std::string, std::vector<int>> byKey;
    std::vector<CPicObject*> listed(static_cast<size_t>(std::max(items, 0)), nullptr);
    for (int i = 0; i < items; i++) {
        CPicObject* pRecord = GetRecord(i);
        listed[static_cast<size_t>(i)] = pRecord;
        if (pRecord == nullptr)
            continue;
        pRecord->m_bMatched = FALSE;
        byKey[SameFileKey(pRecord)].push_back(i);
    }
    for (CPicObject* pRecord : scanned)
        pRecord->m_bMatched = FALSE;
    std::unordered_map<std::string, size_t> used;
    for (CPicObject*& pRecord : scanned) {
        std::string key = SameFileKey(pRecord);
        auto it = byKey.find(key);
        if (it == byKey.end())
            continue;
        size_t& next = used[key];
        if (next >= it->second.size())
            continue;
        const int index = it->second[next++];
        CPicObject* pListed = listed[static_cast<size_t>(index)];
        if (!pListed->IsSameFile(*pRecord))
            continue;
        pListed->m_bMatched = TRUE;
        pRecord->m_bMatched = TRUE;
        // Its record file changed since the list read or wrote it (another program wrote texts
        // there): the item takes the record as the file holds it now, in its place and selection,
        // so that what is shown, and what a later edit writes back, are those texts.
        if (pRecord->m_recordStamp.IsKnown() && !(pRecord->m_recordStamp == pListed->m_recordStamp)) {
            SetItemDataPtr(index, pRecord);
            ForgetRecord(pListed);
            delete pListed;
            listed[static_cast<size_t>(index)] = pRecord;
            pRecord = nullptr;
        }
    }
    for (int i = items - 1; i >= 0; i--) {
        CPicObject* pRecord = listed[static_cast<size_t>(i)];
        if (pRecord != nullptr && !pRecord->m_bMatched)
            DeleteString(static_cast<UINT>(i));
    }
    // New and changed files join the list as they are: the scanned records move in.
    m_bMaybeMissing = TRUE;
    for (CPicObject* pRecord : scanned) {
        if (pRecord == nullptr)
            continue;
        if (pRecord->m_bMatched) {
            delete pRecord;
        } else {
            RegisterHolder(pRecord);
            AddString(reinterpret_cast<LPCSTR>(pRecord));
        }
    }
    RestoreAppCursor();
    NotifyOwner(FALSE);
    SetRedraw(TRUE);
    Invalidate(TRUE);
    return scanned.empty() ? 0 : 1;
}

// ---- change lines ----

namespace {

int FindItemByPath(CPicListBox* pList, const CString& path)
{
    int count = pList->GetCount();
    for (int i = 0; i < count; i++) {
        CPicObject* pRecord = pList->GetRecord(i);
        if (pRecord != nullptr && AfxAnsiCompareNoCase(pRecord->m_strPath, path) == 0)
            return i;
    }
    return -1;
}

} // namespace

int CPicListBox::AddFiles(CStringArray* lines)
{
    if (LIBLIST_TRASH_MODE)
        return 1;
    if (lines == nullptr || lines->GetSize() == 0)
        return 0;
    CString folder = GetOwnerFolder();
    m_bMaybeMissing = TRUE;
    SetRedraw(FALSE);
    for (INT_PTR k = 0; k < lines->GetSize(); k++) {
        const CString& line = lines->GetAt(k);
        if (line.IsEmpty())
            continue;
        char action = line[0];
        CString path = JoinFolderPath(folder, line.Mid(1));
        int index = -1;
        switch (action) {
        case 'N':
            // A file named twice (a repeated notice) replaces its item rather than doubling it.
            index = FindItemByPath(this, path);
            if (CPicObject* pRecord = CreateRecordFromFile(path)) {
                if (index >= 0)
                    DeleteString(static_cast<UINT>(index));
                AddString(reinterpret_cast<LPCSTR>(pRecord));
            }
            break;
        case 'M':
            index = FindItemByPath(this, path);
            if (index >= 0) {
                DeleteString(static_cast<UINT>(index));
                if (CPicObject* pRecord = CreateRecordFromFile(path))
                    AddString(reinterpret_cast<LPCSTR>(pRecord));
            }
            break;
        case 'D':
            index = FindItemByPath(this, path);
            if (index >= 0)
                DeleteString(static_cast<UINT>(index));
            break;
        default:
            break;
        }
    }
    SetRedraw(TRUE);
    Invalidate(TRUE);
    return 1;
}

CPicObject* CPicListBox::CreateRecordFromFile(CString path)
{
    WIN32_FIND_DATAA entry;
    if (!FindFolderEntry(path, entry))
        return nullptr;
    CPicObject* pRecord = new CPicObject;
    FillRecordFromEntry(pRecord, path, entry);
    if (m_bKeepRecords)
        pRecord->SaveDai();
    return pRecord;
}

// ---- search hits ----

int CPicListBox::LoadSearchResults(CStringArray& hits)
{
    // The hits as they are now: a fill run later must not read an array changed meanwhile.
    std::vector<CString> kept(hits.GetData(), hits.GetData() + hits.GetSize());
    return RunFill([this, kept] { return LoadSearchResultsNow(kept); });
}

int CPicListBox::LoadSearchResultsNow(const std::vector<CString>& hits)
{
    SetAppCursor(kAppCursorBusy);
    SetRedraw(FALSE);
    ResetContent();
    std::vector<CObject*> records;
    for (const CString& hit : hits) {
        CString folder;
        CString name;
        SplitPath(hit, &folder, &name);
        if (!IsListedPicture(name))
            continue;
        CPicObject* pRecord = new CPicObject;
        pRecord->m_strPath = hit;
        RecordRead read = pRecord->ReadRecordFile();
        if (read == RecordRead::Loaded) {
            // The record may hold the path from before its folder moved; the hit is where it is now.
            pRecord->m_strPath = hit;
        } else {
            // A hit without a readable record is listed from the file itself.
            delete pRecord;
            pRecord = nullptr;
            WIN32_FIND_DATAA entry;
            if (FindFolderEntry(hit, entry)) {
                pRecord = new CPicObject;
                FillRecordFromEntry(pRecord, hit, entry);
                // Only a picture without a record file may be given a fresh one by its properties.
                pRecord->m_bMemoryOnly = read != RecordRead::Absent;
                pRecord->m_bRecordOfOther = read == RecordRead::Foreign;
            }
        }
        if (pRecord == nullptr)
            continue;
        records.push_back(pRecord);
        if (static_cast<int>(records.size()) == kAnimationThreshold)
            StartLoadingAnimation();
    }
    AddRecords(records);
    StopLoadingAnimation();
    if (!hits.empty() && GetCount() > 0)
        SetSel(0, TRUE);
    RestoreAppCursor();
    SetRedraw(TRUE);
    Invalidate(TRUE);
    return 1;
}

int CPicListBox::ResortItem(int index)
{
    if (LIBLIST_TRASH_MODE)
        return 1;
    CPicObject* pRecord = GetRecord(index);
    if (pRecord == nullptr)
        return 1;
    // The record itself moves to its new place.
    SetItemDataPtr(index, nullptr);
    DeleteString(static_cast<UINT>(index));
    m_bMaybeMissing = TRUE;
    int placed = AddString(reinterpret_cast<LPCSTR>(pRecord));
    if (placed >= 0)
        SetSel(placed, TRUE);
    return 1;
}

// ---- the thumbnail builder ----

int CPicListBox::BuildNextThumbnail()
{
    if (LIBLIST_TRASH_MODE)
        return 1;
    int count = GetCount();
    if (count <= 0)
        return 0;
    if (!m_bPreviewSelected && !m_bBuildThumbnails)
        return 1;
    if (!m_bMaybeMissing && count == m_nCountWhenComplete) {
        m_bPreviewSelected = FALSE;
        return 0;
    }
    DWORD now = ::GetTickCount();
    int found = PickSelectedToBuild(now);
    if (found == kNothingToBuild && m_bPreviewSelected) {
        m_bPreviewSelected = FALSE;
        return 0;
    }
    if (found == kNothingToBuild)
        found = PickVisibleToBuild(now);
    if (found == kNothingToBuild)
        found = PickNextToBuild(now);
    if (found == kNullRecordMet)
        return 0;
    if (found == kNothingToBuild) {
        if (m_retryAfter.empty()) {
            m_bMaybeMissing = FALSE;
            m_nCountWhenComplete = count;
        }
        return 0;
    }
    CPicObject* pFound = GetRecord(found);
    BOOL built = pFound->BuildThumbnail();
    if (!built && pFound->m_nThumbState == 0) {
        // Missing or held by another program: later items go first. A file still missing at its
        // second try is gone for good; a busy one keeps its turn every few seconds.
        auto it = m_retryAfter.find(pFound);
        if (it != m_retryAfter.end() && ::GetFileAttributesA(pFound->m_strPath) == INVALID_FILE_ATTRIBUTES) {
            pFound->m_nThumbState = -1;
            m_retryAfter.erase(it);
        } else {
            m_retryAfter[pFound] = now + kBuildRetryDelay;
        }
    } else {
        m_retryAfter.erase(pFound);
        if (built && m_bKeepRecords)
            pFound->SaveDai();
    }
    // A thumbnail made or given up changes the sums, even for an item out of sight (not repainted).
    m_nChangeStamp++;
    InvalidateItem(found);
    return 1;
}
