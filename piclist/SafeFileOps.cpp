#include "piclist/SafeFileOps.h"

#include "core/FileWrappers.h"
#include "core/FolderListing.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/TestSeams.h"

#include <cctype>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

namespace {

struct FaultState {
    std::mutex lock;
    unsigned kinds = 0;
    std::string part; // lower case
    int n = 0;
    DWORD error = ERROR_ACCESS_DENIED;
    int count = 0;
    bool fired = false;
    bool stopMode = false; // the nth step succeeds and every later one fails (a crash)
    bool stopped = false;
};

FaultState& Faults()
{
    static FaultState state;
    return state;
}

std::string Lower(LPCSTR text)
{
    std::string s = text ? text : "";
    if (!s.empty())
        CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

// TRUE when the injector makes this step fail (with the armed error as the system's).
bool FaultHit(unsigned kind, LPCSTR a, LPCSTR b = nullptr)
{
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    if (f.stopped) {
        SetLastError(ERROR_ACCESS_DENIED);
        return true;
    }
    if (!(f.kinds & kind))
        return false;
    if (!f.part.empty() && Lower(a).find(f.part) == std::string::npos
        && (b == nullptr || Lower(b).find(f.part) == std::string::npos))
        return false;
    ++f.count;
    if (f.stopMode && f.n > 0 && f.count == f.n) {
        f.fired = true;
        f.stopped = true;
        return false;
    }
    if (f.n > 0 && f.count == f.n && !f.fired) {
        f.fired = true;
        SetLastError(f.error);
        return true;
    }
    return false;
}

CString FolderOf(LPCSTR path)
{
    CString s = path;
    int slash = s.ReverseFind('\\');
    return slash < 0 ? CString(".") : s.Left(slash);
}

DWORD Attributes(LPCSTR path) { return GetFileAttributesA(path); }

BOOL IsFolder(LPCSTR path)
{
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A folder where a file is to be written: the name is taken.
BOOL RefusedAsFolder(LPCSTR target)
{
    if (!IsFolder(target))
        return FALSE;
    SetLastError(ERROR_ALREADY_EXISTS);
    return TRUE;
}

// The first failed step since ForgetFailedStep, per thread (a plain struct, so that the thread-local
// needs no constructor).
struct FailedStepNote {
    BOOL failed;
    DWORD error;
    char path[MAX_PATH * 2];
};
thread_local FailedStepNote t_failedStep = {};

} // namespace

void NoteFailedStep(LPCSTR path, DWORD error)
{
    if (t_failedStep.failed)
        return;
    t_failedStep.failed = TRUE;
    t_failedStep.error = error;
    lstrcpynA(t_failedStep.path, path ? path : "", sizeof(t_failedStep.path));
}

namespace {

// Runs one step from a clean system error, so that its failure tells only its own reason. The
// failure is noted on the step's source when it failed for the source's sake (gone, or held by
// another program: a move or a copy never meets a target that exists), else on path.
BOOL Noted(LPCSTR path, const std::function<BOOL()>& step, LPCSTR source = nullptr)
{
    SetLastError(ERROR_SUCCESS);
    if (step())
        return TRUE;
    const DWORD err = GetLastError();
    const BOOL sourceFailed = source != nullptr
                              && (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION
                                  || GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES);
    NoteFailedStep(sourceFailed ? source : path, err);
    SetLastError(err);
    return FALSE;
}

// Temporary files of writes: "~tsr%04X.tmp" beside the target, removable once no write holds them.
const char kTempPrefix[] = "~tsr";
// Files set aside while something takes their place: never removed as leftovers, since after a stop
// such a file may be the only copy. Their names keep the name they had ("~tsa1A2B.Un.png.tmp"), so
// that listing the folder can put them back.
const char kAsidePrefix[] = "~tsa";
// Records left behind while their picture leaves: listing puts them back or removes them.
const char kLeftBehindPrefix[] = "~tsm";

LPCSTR AsidePrefix(AsideKind kind)
{
    return kind == AsideKind::LeftBehind ? kLeftBehindPrefix : kAsidePrefix;
}

// A name prefix + "%04X" + middle + ".tmp" free in the folder (a guess: the rename that uses it still
// refuses to overwrite).
CString FreeAsideName(const CString& folder, LPCSTR prefix = kTempPrefix, const CString& middle = CString())
{
    static LONG counter = static_cast<LONG>(GetTickCount() & 0x7FFF);
    for (int i = 0; i < 0x10000; ++i) {
        LONG n = InterlockedIncrement(&counter) & 0xFFFF;
        CString name;
        name.Format("%s\\%s%04X", static_cast<LPCSTR>(folder), prefix, static_cast<unsigned>(n));
        name += middle + ".tmp";
        if (Attributes(name) == INVALID_FILE_ATTRIBUTES)
            return name;
    }
    return CString();
}

// The temporary files that writes of this process are using now (lower case).
struct HeldTemps {
    std::mutex lock;
    std::multiset<std::string> paths;
};

HeldTemps& Held()
{
    static HeldTemps held;
    return held;
}

// Marks a temporary file as in use for its lifetime, so that listing its folder leaves it alone.
class CTempHold {
public:
    CTempHold() = default;
    ~CTempHold() { Release(); }
    CTempHold(const CTempHold&) = delete;
    CTempHold& operator=(const CTempHold&) = delete;
    void Hold(const CString& path)
    {
        Release();
        m_path = Lower(path);
        std::lock_guard<std::mutex> guard(Held().lock);
        Held().paths.insert(m_path);
    }
    void Release()
    {
        if (m_path.empty())
            return;
        std::lock_guard<std::mutex> guard(Held().lock);
        auto it = Held().paths.find(m_path);
        if (it != Held().paths.end())
            Held().paths.erase(it);
        m_path.clear();
    }

private:
    std::string m_path;
};

BOOL IsHeld(const CString& path)
{
    std::lock_guard<std::mutex> guard(Held().lock);
    return Held().paths.count(Lower(path)) != 0;
}

void HoldPath(const CString& path)
{
    std::lock_guard<std::mutex> guard(Held().lock);
    Held().paths.insert(Lower(path));
}

void ReleasePath(const CString& path)
{
    std::lock_guard<std::mutex> guard(Held().lock);
    auto it = Held().paths.find(Lower(path));
    if (it != Held().paths.end())
        Held().paths.erase(it);
}

// Whether a dead process's work is to be left as it is (the stop of the fault injector).
BOOL Stopped()
{
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    return f.stopped;
}

// prefix + 4 hexadecimal digits, then anything, then ".tmp".
BOOL HasTempForm(const char* name, LPCSTR prefix)
{
    const size_t length = strlen(name);
    if (length < 12 || _strnicmp(name, prefix, 4) != 0 || _stricmp(name + length - 4, ".tmp") != 0)
        return FALSE;
    for (int i = 4; i < 8; ++i) {
        if (!isxdigit(static_cast<unsigned char>(name[i])))
            return FALSE;
    }
    return TRUE;
}

// Refuses a path holding a letter the code page cannot spell: it names no file, and what its
// look-alike spelling names is another file. Noted on that path.
BOOL RefusedUnspelled(LPCSTR path)
{
    NoteFailedStep(path, ERROR_INVALID_NAME);
    SetLastError(ERROR_INVALID_NAME);
    return FALSE;
}

// Deletes the tree below and including folder; links are removed, never entered.
BOOL DeleteTreeRaw(const CString& folder)
{
    BOOL ok = TRUE;
    CFolderListing listing(folder + "\\*");
    WIN32_FIND_DATAA fd;
    while (listing.Next(fd)) {
        if (IsDotEntry(fd.cFileName))
            continue;
        CString child = folder + "\\" + fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                SetFileAttributesA(child, FILE_ATTRIBUTE_DIRECTORY);
                if (!RemoveDirectoryA(child))
                    ok = FALSE;
            } else if (!DeleteTreeRaw(child)) {
                ok = FALSE;
            }
        } else {
            SetFileAttributesA(child, FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA(child))
                ok = FALSE;
        }
    }
    SetFileAttributesA(folder, FILE_ATTRIBUTE_DIRECTORY);
    if (!RemoveDirectoryA(folder))
        ok = FALSE;
    return ok;
}

BOOL DeleteAnyRaw(const CString& path)
{
    DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        return DeleteTreeRaw(path);
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path);
}

} // namespace

// ---- fault injector ----

void ArmFileFault(unsigned kinds, LPCSTR pathPart, int n, DWORD error)
{
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    f.kinds = kinds;
    f.part = Lower(pathPart);
    f.n = n;
    f.error = error;
    f.count = 0;
    f.fired = false;
}

int FileFaultCount()
{
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    return f.count;
}

BOOL FileFaultFired()
{
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    return f.fired;
}

void ArmFileStop(unsigned kinds, LPCSTR pathPart, int n)
{
    ArmFileFault(kinds, pathPart, n);
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    f.stopMode = true;
}

BOOL FileStopped() { return Stopped(); }

void DisarmFileFault()
{
    ArmFileFault(0, "", 0);
    FaultState& f = Faults();
    std::lock_guard<std::mutex> guard(f.lock);
    f.stopMode = false;
    f.stopped = false;
}

int RemoveLeftoverTempFiles(LPCSTR folder)
{
    if (!folder || !*folder || Stopped())
        return 0;
    CString base = folder;
    if (base.Right(1) == "\\")
        base = base.Left(base.GetLength() - 1);
    int removed = 0;
    CFolderListing listing(base + "\\~tsr*.tmp");
    WIN32_FIND_DATAA fd;
    while (listing.Next(fd)) {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsPassingName(fd.cFileName, kTempPrefix))
            continue;
        CString path = base + "\\" + fd.cFileName;
        // A file another write of this program is making now stays; one that another process holds
        // open cannot be deleted and stays too.
        if (IsHeld(path))
            continue;
        SetFileAttributesA(path, fd.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        if (DeleteFileA(path))
            ++removed;
    }
    return removed;
}

BOOL IsPassingName(LPCSTR name, LPCSTR prefix)
{
    return name != nullptr && strlen(name) == 12 && HasTempForm(name, prefix);
}

CString SetAsideOriginalName(LPCSTR name)
{
    const size_t length = name ? strlen(name) : 0;
    if (length < 14 || !HasTempForm(name, kAsidePrefix) || name[8] != '.')
        return CString();
    const CString original = CString(name + 9).Left(static_cast<int>(length) - 13);
    return original == "." || original == ".." ? CString() : original;
}

std::vector<CString> ListSetAsideFiles(LPCSTR folder, AsideKind kind)
{
    std::vector<CString> found;
    if (!folder || !*folder || Stopped())
        return found;
    CString base = folder;
    if (base.Right(1) == "\\")
        base = base.Left(base.GetLength() - 1);
    const LPCSTR prefix = AsidePrefix(kind);
    // One whose name the code page cannot spell could not be put back by its name: it stays set aside,
    // whole.
    CFolderListing listing(base + "\\" + prefix + "*.tmp", UnspelledNames::Skipped);
    WIN32_FIND_DATAA fd;
    while (listing.Next(fd)) {
        const CString aside = base + "\\" + fd.cFileName;
        // An operation of this process is using it now.
        if (HasTempForm(fd.cFileName, prefix) && !IsHeld(aside))
            found.push_back(aside);
    }
    return found;
}

// ---- questions ----

BOOL PathExists(LPCSTR path) { return path && *path && Attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::vector<CString> ListMatchingFiles(LPCSTR pattern)
{
    std::vector<CString> files;
    if (!pattern || !*pattern)
        return files;
    CString folder = FolderOf(pattern);
    CFolderListing listing(pattern);
    WIN32_FIND_DATAA fd;
    while (listing.Next(fd)) {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + "\\" + fd.cFileName);
    }
    return files;
}

BOOL IsSamePath(LPCSTR a, LPCSTR b)
{
    if (!a || !b || !*a || !*b)
        return FALSE;
    char fa[MAX_PATH * 2], fb[MAX_PATH * 2];
    if (GetFullPathNameA(a, sizeof(fa), fa, nullptr) && GetFullPathNameA(b, sizeof(fb), fb, nullptr)) {
        if (lstrcmpiA(fa, fb) == 0)
            return TRUE;
    }
    HANDLE ha = CreateFileA(a, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (ha == INVALID_HANDLE_VALUE)
        return FALSE;
    HANDLE hb = CreateFileA(b, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BOOL same = FALSE;
    if (hb != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION ia, ib;
        if (GetFileInformationByHandle(ha, &ia) && GetFileInformationByHandle(hb, &ib))
            same = ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber
                   && ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
        CloseHandle(hb);
    }
    CloseHandle(ha);
    return same;
}

// ---- names that fit ----

namespace {

// The longest full path the system takes, without its closing NUL.
const int kLongestPath = MAX_PATH - 1;
// The temporary and set-aside names the steps make beside a target ("~tsr1A2B.tmp").
const int kPassingNameLength = 12;

BOOL LengthFits(int length, BOOL bFolder)
{
    return length + (bFolder ? 1 + kPassingNameLength : 0) <= kLongestPath;
}

// TRUE when everything under folder still fits once its path grows by `grows` characters. A folder
// that cannot be listed holds nothing known to be too long.
BOOL TreeFits(const CString& folder, int grows)
{
    CFolderListing listing(folder + "\\*");
    WIN32_FIND_DATAA fd;
    BOOL fits = TRUE;
    while (fits && listing.Next(fd)) {
        if (IsDotEntry(fd.cFileName))
            continue;
        const CString child = folder + "\\" + fd.cFileName;
        const BOOL isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // A link to a folder moves as a link: what it points to is never entered.
        fits =
            LengthFits(child.GetLength() + grows, isFolder)
            && (!isFolder || (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || TreeFits(child, grows));
    }
    return fits;
}

BOOL NoteTooLong(LPCSTR path)
{
    NoteFailedStep(path, ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
}

// Why a step refuses a name that does not fit.
BOOL RefusedTooLong()
{
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
}

} // namespace

BOOL NameFits(LPCSTR path, BOOL bFolder)
{
    if (!path || !*path || !LengthFits(lstrlenA(path), bFolder))
        return FALSE;
    return bFolder || LengthFits(FolderOf(path).GetLength(), TRUE);
}

BOOL MoveFits(LPCSTR from, LPCSTR to)
{
    if (!IsFolder(from))
        return NameFits(to);
    if (!NameFits(to, TRUE))
        return FALSE;
    // What a shorter or same-length name holds fits as it does now.
    const int grows = lstrlenA(to) - lstrlenA(from);
    return grows <= 0 || TreeFits(from, grows);
}

BOOL CheckNameFits(LPCSTR path, BOOL bFolder) { return NameFits(path, bFolder) || NoteTooLong(path); }

BOOL CheckMoveFits(LPCSTR from, LPCSTR to) { return MoveFits(from, to) || NoteTooLong(to); }

// ---- steps ----

static BOOL MoveStep(LPCSTR from, LPCSTR to)
{
    if (!PathExists(from) || !to || !*to)
        return FALSE;
    // Only a change of letter case may rename onto an existing name (the same entry).
    if (PathExists(to) && !IsSamePath(from, to)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (!MoveFits(from, to))
        return RefusedTooLong();
    if (FaultHit(kStepMove, from, to))
        return FALSE;
    return MoveFileA(from, to);
}

static BOOL CopyStep(LPCSTR from, LPCSTR to)
{
    if (!PathExists(from) || IsFolder(from) || !to || !*to)
        return FALSE;
    if (PathExists(to)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (!NameFits(to))
        return RefusedTooLong();
    if (FaultHit(kStepCopy, from, to))
        return FALSE;
    CString temp = FreeAsideName(FolderOf(to));
    if (temp.IsEmpty())
        return FALSE;
    CTempHold hold;
    hold.Hold(temp);
    if (!CopyFileA(from, temp, TRUE)) {
        DWORD err = GetLastError();
        DeleteAnyRaw(temp);
        SetLastError(err);
        return FALSE;
    }
    // A copy keeps the source's attributes; the new file must be removable like any other.
    DWORD a = Attributes(temp);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(temp, a & ~FILE_ATTRIBUTE_READONLY);
    if (!MoveFileA(temp, to)) {
        DWORD err = GetLastError();
        DeleteAnyRaw(temp);
        SetLastError(err);
        return FALSE;
    }
    return TRUE;
}

static BOOL DeleteFileStep(LPCSTR path)
{
    if (!path || !*path)
        return FALSE;
    if (HasUnspelledLetter(path))
        return RefusedUnspelled(path);
    DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        return FALSE;
    if (FaultHit(kStepDelete, path))
        return FALSE;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path))
        return TRUE;
    DWORD err = GetLastError();
    SetFileAttributesA(path, a);
    SetLastError(err);
    return FALSE;
}

static BOOL DeleteTreeStep(LPCSTR path)
{
    if (!path || !*path)
        return FALSE;
    if (HasUnspelledLetter(path))
        return RefusedUnspelled(path);
    DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    if (FaultHit(kStepDelete, path))
        return FALSE;
    // A link to a folder goes as a link: what it points to is never entered.
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
        SetFileAttributesA(path, FILE_ATTRIBUTE_DIRECTORY);
        return RemoveDirectoryA(path);
    }
    CString folder = path;
    while (folder.GetLength() > 3 && folder.Right(1) == "\\")
        folder = folder.Left(folder.GetLength() - 1);
    // Something inside that the code page cannot spell could not be deleted by its name: the tree is
    // refused whole rather than left half deleted.
    CString unspelled;
    if (TreeHoldsUnspelledName(folder, &unspelled))
        return RefusedUnspelled(unspelled);
    return DeleteTreeRaw(folder);
}

static BOOL CreateFolderStep(LPCSTR path)
{
    if (!path || !*path)
        return FALSE;
    if (IsFolder(path))
        return TRUE;
    if (!NameFits(path, TRUE))
        return RefusedTooLong();
    // An injected failure takes the place of the first level's creation, so that what follows a
    // refusal runs as it would.
    const bool injected = FaultHit(kStepCreateFolder, path);
    const DWORD injectedError = GetLastError();
    CString p = path;
    while (p.GetLength() > 3 && p.Right(1) == "\\")
        p = p.Left(p.GetLength() - 1);
    // Each level after the drive (or the "\\server\share" of a network path).
    int start = 3;
    if (p.Left(2) == "\\\\") {
        int share = p.Find('\\', 2);
        start = share < 0 ? p.GetLength() : p.Find('\\', share + 1);
        if (start < 0)
            start = p.GetLength();
    }
    for (int i = start; i <= p.GetLength(); ++i) {
        if (i < p.GetLength() && p[i] != '\\')
            continue;
        CString level = p.Left(i);
        if (level.GetLength() < 3 || IsFolder(level))
            continue;
        if (injected || !CreateDirectoryA(level, nullptr)) {
            // Another program may have made it meanwhile; asking must not lose why it failed.
            const DWORD err = injected ? injectedError : GetLastError();
            if (!IsFolder(level)) {
                SetLastError(err);
                return FALSE;
            }
        }
    }
    return IsFolder(path);
}

static BOOL WriteFileStep(LPCSTR target, const std::function<BOOL(HANDLE)>& writer)
{
    if (!target || !*target || RefusedAsFolder(target) || Stopped())
        return FALSE;
    if (!NameFits(target))
        return RefusedTooLong();
    // The temporary file is made beside the target (same volume, so the final move is a rename).
    const CString folder = FolderOf(target);
    CString temp;
    CTempHold hold;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 64 && h == INVALID_HANDLE_VALUE; ++tries) {
        temp = FreeAsideName(folder);
        if (temp.IsEmpty())
            return FALSE;
        hold.Hold(temp);
        h = CreateFileA(temp, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS
            && GetLastError() != ERROR_ALREADY_EXISTS)
            return FALSE;
    }
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    const DWORD old = Attributes(target);
    BOOL ok = writer(h);
    // What replaces an earlier file is on the disk before the earlier one goes; a first record can
    // always be made again, so it does not wait for the disk.
    if (ok && old != INVALID_FILE_ATTRIBUTES)
        ok = AfxFlushFileBuffers(h);
    CloseHandle(h);
    // A read-only target stays, refused as the system's own replace refuses it.
    if (ok && old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY)) {
        ok = FALSE;
        SetLastError(ERROR_ACCESS_DENIED);
    }
    if (ok && FaultHit(kStepWrite, target))
        ok = FALSE;
    if (ok)
        ok = MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok && !Stopped()) {
        DWORD err = GetLastError();
        DeleteAnyRaw(temp);
        SetLastError(err);
    }
    return ok;
}

static BOOL CreateFileStep(LPCSTR target, const std::function<BOOL(LPCSTR tempPath)>& writer, BOOL replace)
{
    if (!target || !*target || RefusedAsFolder(target) || Stopped())
        return FALSE;
    if (!replace && PathExists(target)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (!NameFits(target))
        return RefusedTooLong();
    CString temp = FreeAsideName(FolderOf(target));
    if (temp.IsEmpty())
        return FALSE;
    CTempHold hold;
    hold.Hold(temp);
    TakeWriteFileError();
    BOOL ok = writer(temp) && PathExists(temp) && !IsFolder(temp);
    // A writer that gave up has cleaned its file away, and the system's error with it.
    if (!ok)
        SetLastError(TakeWriteFileError());
    if (ok && FaultHit(kStepWrite, target))
        ok = FALSE;
    if (ok) {
        ok = replace ? MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                     : MoveFileA(temp, target);
    }
    if (!ok && !Stopped()) {
        DWORD err = GetLastError();
        DeleteAnyRaw(temp);
        SetLastError(err);
    }
    return ok;
}

// ---- the steps, each noted when it fails ----

FailedStep FirstFailedStep()
{
    FailedStep step;
    step.failed = t_failedStep.failed;
    step.error = t_failedStep.error;
    step.path = t_failedStep.path;
    return step;
}

void ForgetFailedStep() { t_failedStep = {}; }

BOOL SafeMove(LPCSTR from, LPCSTR to)
{
    return Noted(
        to, [&] { return MoveStep(from, to); }, from);
}

BOOL SafeCopy(LPCSTR from, LPCSTR to)
{
    return Noted(
        to, [&] { return CopyStep(from, to); }, from);
}

BOOL SafeDeleteFile(LPCSTR path)
{
    return Noted(path, [&] { return DeleteFileStep(path); });
}

BOOL SafeDeleteTree(LPCSTR path)
{
    return Noted(path, [&] { return DeleteTreeStep(path); });
}

BOOL SafeCreateFolder(LPCSTR path)
{
    return Noted(path, [&] { return CreateFolderStep(path); });
}

BOOL MoveBack(LPCSTR from, LPCSTR to)
{
    // The error of the step that failed stays the caller's to report.
    const DWORD error = ::GetLastError();
    const BOOL back = !FileStopped() && PathExists(from) && !PathExists(to) && ::MoveFileA(from, to);
    ::SetLastError(error);
    return back;
}

BOOL SafeWriteFile(LPCSTR target, const std::function<BOOL(HANDLE)>& writer)
{
    return Noted(target, [&] { return WriteFileStep(target, writer); });
}

BOOL SafeCreateFile(LPCSTR target, const std::function<BOOL(LPCSTR tempPath)>& writer, BOOL replace)
{
    return Noted(target, [&] { return CreateFileStep(target, writer, replace); });
}

// ---- replacing ----

CSetAside::~CSetAside()
{
    Rollback();
    // After a stop what stays aside is no longer this process's: listing may put it back.
    for (const Item& item : m_items)
        ReleasePath(item.aside);
}

BOOL CSetAside::Add(LPCSTR path)
{
    return Noted(path, [&] { return MoveAside(path); });
}

BOOL CSetAside::MoveAside(LPCSTR path)
{
    if (!PathExists(path))
        return FALSE;
    CString folder = FolderOf(path);
    CString name = path;
    name = name.Mid(name.ReverseFind('\\') + 1);
    for (int tries = 0; tries < 64; ++tries) {
        CString aside = FreeAsideName(folder, AsidePrefix(m_kind), "." + name);
        // A name too long to keep: the file (or the folder with what it holds) is set aside all the
        // same, under a short name, when that fits.
        if (!aside.IsEmpty() && !MoveFits(path, aside))
            aside = FreeAsideName(folder, AsidePrefix(m_kind));
        if (aside.IsEmpty())
            return FALSE;
        if (!MoveFits(path, aside))
            return RefusedTooLong();
        if (FaultHit(kStepMove, path, aside))
            return FALSE;
        HoldPath(aside);
        if (MoveFileA(path, aside)) {
            m_items.push_back({CString(path), aside});
            return TRUE;
        }
        DWORD err = GetLastError();
        ReleasePath(aside);
        SetLastError(err);
        if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS)
            return FALSE;
    }
    return FALSE;
}

BOOL CSetAside::Commit() { return DeleteAside(FALSE); }

BOOL CSetAside::CommitOrRollback()
{
    if (DeleteAside(TRUE))
        return TRUE;
    Rollback();
    return FALSE;
}

BOOL CSetAside::DeleteAside(BOOL bStopAtFailure)
{
    // The last set aside goes first, as Rollback puts them back: callers set the record files aside
    // before their pictures, so a stop here never leaves a picture to come back without its record.
    // What cannot be deleted stays under its temporary name; nothing is lost.
    BOOL ok = TRUE;
    while (!m_items.empty()) {
        const Item item = m_items.back();
        const BOOL deleted = IsFolder(item.aside) ? SafeDeleteTree(item.aside) : SafeDeleteFile(item.aside);
        if (!deleted && bStopAtFailure)
            return FALSE; // still listed, for Rollback
        ok = ok && deleted;
        m_items.pop_back();
        ReleasePath(item.aside);
    }
    return ok;
}

BOOL CSetAside::Rollback()
{
    // Putting back is not a step the injector fails: it is what recovers from one. After a stop
    // nothing runs any more, as after a crash.
    if (Stopped())
        return FALSE;
    BOOL ok = TRUE;
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (!MoveFileA(it->aside, it->original))
            ok = FALSE;
        ReleasePath(it->aside);
    }
    m_items.clear();
    return ok;
}

namespace {

BOOL ReplaceBy(BOOL (*step)(LPCSTR, LPCSTR), LPCSTR from, LPCSTR to, const std::vector<CString>& clashing)
{
    if (!PathExists(from))
        return FALSE;
    // Replacing a file by itself would set the only copy aside and then delete it.
    if (IsSamePath(from, to))
        return FALSE;
    for (const CString& c : clashing) {
        if (IsSamePath(from, c))
            return FALSE;
    }
    // Nothing is set aside for a name that cannot be made.
    if (!CheckMoveFits(from, to))
        return RefusedTooLong();
    CSetAside aside;
    for (const CString& c : clashing) {
        if (PathExists(c) && !aside.Add(c)) {
            aside.Rollback();
            return FALSE;
        }
    }
    if (!step(from, to)) {
        DWORD err = GetLastError();
        aside.Rollback();
        SetLastError(err);
        return FALSE;
    }
    aside.Commit();
    return TRUE;
}

} // namespace

BOOL ReplaceByMove(LPCSTR from, LPCSTR to, const std::vector<CString>& clashing)
{
    return ReplaceBy(SafeMove, from, to, clashing);
}

BOOL ReplaceByCopy(LPCSTR from, LPCSTR to, const std::vector<CString>& clashing)
{
    return ReplaceBy(SafeCopy, from, to, clashing);
}

namespace {

// Archive buffers of record files.
const int kRecordBuffer = 4096;

} // namespace

BOOL WriteOneRecord(LPCSTR target, CObject& record)
{
    return SafeWriteFile(target, [&record](HANDLE h) -> BOOL {
        CFile file(h);
        try {
            CArchive ar(&file, CArchive::store, kRecordBuffer);
            try {
                record.Serialize(ar);
                ar.Close();
            } catch (...) {
                ar.Abort();
                throw;
            }
        } catch (CFileException& e) {
            // The reason of the failed write (a full disk) is what the caller tells.
            if (e.m_lOsError > 0)
                SetLastError(static_cast<DWORD>(e.m_lOsError));
            return FALSE;
        } catch (CException&) {
            return FALSE;
        }
        return TRUE;
    });
}

BOOL ReadOneRecord(CFile& file, CObject& record, BOOL bWholeFile)
{
    try {
        CArchive ar(&file, CArchive::load, kRecordBuffer);
        try {
            record.Serialize(ar);
            const BOOL trailing = bWholeFile && ar.GetBytesLeft() != 0;
            ar.Close();
            if (trailing)
                AfxThrowArchiveException(CArchiveException::generic);
        } catch (...) {
            ar.Abort();
            throw;
        }
    } catch (CException&) {
        file.Abort();
        return FALSE;
    }
    file.Abort();
    return TRUE;
}
