// The safe file operations of the library, the explorer and the search: every step that touches a
// user's file goes through here, is checked, never overwrites (new files appear under a temporary
// name and are renamed only when complete), and replacing sets the old files aside until the new one
// is in place. A fault injector lets tests fail any step.
#pragma once
#include <windows.h>

#include "framework/String.h"

#include <functional>
#include <vector>

// The kinds of step, for the fault injector.
enum FileStep : unsigned {
    kStepMove = 1,         // a file or folder renamed or moved
    kStepCopy = 2,         // a file copied
    kStepWrite = 4,        // a file written (record files, trash records, written pictures)
    kStepDelete = 8,       // a file deleted, or a folder removed with its content
    kStepCreateFolder = 16 // a folder created
};
const unsigned kAnyStep = 31;

// ---- fault injector (tests) ----

// Makes the nth step (counted from 1) among those of the given kinds whose path (source or target)
// contains pathPart (without regard to case; empty matches every path) fail as if the system had
// refused it with error. n 0 only counts. Arming restarts the count.
void ArmFileFault(unsigned kinds, LPCSTR pathPart, int n, DWORD error = ERROR_ACCESS_DENIED);
// The matching steps seen since arming (failed one included).
int FileFaultCount();
// TRUE once the armed step has failed.
BOOL FileFaultFired();
void DisarmFileFault();
// The twin of ArmFileFault for what a crash leaves: the nth matching step succeeds, and from then on
// every step of any kind fails and nothing is put back or cleaned up (no rollback, no temporary file
// removed), as if the program had died there. DisarmFileFault brings the program back to life.
void ArmFileStop(unsigned kinds, LPCSTR pathPart, int n);
// TRUE after an armed stop.
BOOL FileStopped();

// ---- why a step failed ----

// The first step of this thread that failed since ForgetFailedStep: the system's error (0 when it
// gave none) and the path the failure is about (the target of a move or a copy, or its source when
// the source is gone or held by another program).
struct FailedStep {
    BOOL failed = FALSE;
    DWORD error = 0;
    CString path;
};
FailedStep FirstFailedStep();
// An operation that tells why it failed starts with this.
void ForgetFailedStep();
// Notes a failure an operation found before any step ran (a file gone meanwhile), as a failed step
// on path would be noted.
void NoteFailedStep(LPCSTR path, DWORD error);

// ---- names that fit ----

// TRUE when the steps can make path: its full path takes at most MAX_PATH - 1 characters and leaves
// room for the temporary and set-aside names (12 characters) the steps make beside a file, or inside
// a folder (bFolder). A longer path could be made under some systems, but nothing could then open,
// rename or delete what it names.
BOOL NameFits(LPCSTR path, BOOL bFolder = FALSE);
// TRUE when from (a file, or a folder with everything in it) fits at `to` as NameFits says.
BOOL MoveFits(LPCSTR from, LPCSTR to);
// For operations that check every name they are to make before any step: FALSE, noted as a failed
// step on path with a name too long (ERROR_FILENAME_EXCED_RANGE), when the name does not fit.
BOOL CheckNameFits(LPCSTR path, BOOL bFolder = FALSE);
BOOL CheckMoveFits(LPCSTR from, LPCSTR to);

// ---- plain steps, each checked and each a fault-injector step ----

// Every step that makes a name refuses one that does not fit (NameFits, MoveFits) with
// ERROR_FILENAME_EXCED_RANGE before it touches anything.

// Renames or moves a file or a folder; fails when anything exists at the target.
BOOL SafeMove(LPCSTR from, LPCSTR to);
// Copies a file to a new file: written under a temporary name in the target's folder, then renamed;
// fails (leaving nothing) when anything exists at the target.
BOOL SafeCopy(LPCSTR from, LPCSTR to);
// Deletes one file (read-only attribute cleared first). A missing file counts as deleted; a path with
// the mark of a letter the code page cannot spell (core/FolderListing.h) names no file and is refused.
BOOL SafeDeleteFile(LPCSTR path);
// Deletes a folder with everything in it (links inside are removed, never followed). A missing
// folder counts as deleted. FALSE when anything stays; refused, nothing deleted and the failure noted
// on it, when something inside has a name the code page cannot spell.
BOOL SafeDeleteTree(LPCSTR path);
// Creates every missing folder of the path.
BOOL SafeCreateFolder(LPCSTR path);
// Puts back what a failed operation moved, from where it went to where it was: not a step of its own
// (nothing counts or fails it, and the last error stays), and nothing is moved after a stop or onto a
// name that is taken. TRUE when it went back.
BOOL MoveBack(LPCSTR from, LPCSTR to);

// Writes a whole file: writer gets the handle of a temporary file in the target's folder and
// returns FALSE on failure; only a complete file is moved over the target (replacing it). When
// anything fails the target is as it was and no temporary file remains.
BOOL SafeWriteFile(LPCSTR target, const std::function<BOOL(HANDLE)>& writer);

class CFile;
class CObject;

// Writes one record file through SafeWriteFile: what record's Serialize stores. FALSE when the
// record could not be stored or written.
BOOL WriteOneRecord(LPCSTR target, CObject& record);
// Reads one record from an open file through record's Serialize, then closes the file. With
// bWholeFile the file holds exactly one record: anything after it means it is not one. FALSE when
// the file is not such a record.
BOOL ReadOneRecord(CFile& file, CObject& record, BOOL bWholeFile);

// Writes a new file through a writer that takes a path (the picture writers): writer writes a
// temporary file in the target's folder, which then becomes the target. Without replace, the target
// must not exist and is never overwritten (FALSE when it appeared meanwhile); with replace, an
// existing target is replaced only by a complete file. Nothing partial remains on failure.
BOOL SafeCreateFile(LPCSTR target, const std::function<BOOL(LPCSTR tempPath)>& writer, BOOL replace = FALSE);

// TRUE for a passing name of this program's steps: prefix (four letters) + 4 hexadecimal digits +
// ".tmp", as "~tsr1A2B.tmp".
BOOL IsPassingName(LPCSTR name, LPCSTR prefix);

// Removes the temporary files that interrupted writes left in the folder ("~tsr" + 4 hexadecimal
// digits + ".tmp", the names the writes make), except those a write of this process is using.
// Returns how many went.
int RemoveLeftoverTempFiles(LPCSTR folder);
// Why a file is set aside (see CSetAside), which its name tells.
enum class AsideKind {
    Replaced,  // something takes its place ("~tsa" names)
    LeftBehind // it stays while its picture leaves the folder ("~tsm" names): the record a move or a
               // delete carried as a copy, so that none stays under its name once the picture is gone
};

// The name a file set aside had, from the name it has now ("~tsa1A2B.Un.png.tmp" gives "Un.png");
// empty when it is not such a name or keeps none.
CString SetAsideOriginalName(LPCSTR name);
// The files and folders of that kind that operations cut short left set aside in the folder, as full
// paths, except those an operation of this process is using now. What goes back where is the
// caller's decision: a picture and its record file must go back together or not at all.
std::vector<CString> ListSetAsideFiles(LPCSTR folder, AsideKind kind = AsideKind::Replaced);

// ---- questions ----

// 1 when something (file or folder) exists at the path.
BOOL PathExists(LPCSTR path);
// The files (not folders) matching a pattern such as C:\Lib\Photo.*, as full paths, in the order
// the system lists them; every match is looked at.
std::vector<CString> ListMatchingFiles(LPCSTR pattern);
// TRUE when both paths name the same file or folder (same text without regard to case, or the same
// file identity on disk).
BOOL IsSamePath(LPCSTR a, LPCSTR b);

// ---- replacing ----

// Files and folders set aside in their own folders under temporary names that keep their own
// ("~tsa%04X." + name + ".tmp"; "~tsa%04X.tmp" when that would be too long; "~tsm" for those left
// behind) while something takes their place or their picture leaves: Commit deletes them (the last
// set aside first), Rollback (or the destructor without Commit) moves them back.
class CSetAside {
public:
    explicit CSetAside(AsideKind kind = AsideKind::Replaced) : m_kind(kind) {}
    ~CSetAside();
    CSetAside(const CSetAside&) = delete;
    CSetAside& operator=(const CSetAside&) = delete;

    // Moves the file or folder out of the way; FALSE (with nothing moved) when it cannot.
    BOOL Add(LPCSTR path);
    // Deletes what was set aside. FALSE when something could not be deleted (it then stays under
    // its temporary name; nothing is lost).
    BOOL Commit();
    // Deletes what was set aside, or, when one cannot be deleted, puts it back with those not yet
    // deleted and gives FALSE: for a caller that can still undo what it did meanwhile.
    BOOL CommitOrRollback();
    // Puts everything back; FALSE when something could not go back (it stays under its temporary
    // name, still whole).
    BOOL Rollback();
    int Count() const { return static_cast<int>(m_items.size()); }

private:
    BOOL MoveAside(LPCSTR path);
    // Deletes what was set aside, the last first; with bStopAtFailure, stops at the first that cannot
    // be deleted and leaves it and those before it listed.
    BOOL DeleteAside(BOOL bStopAtFailure);

    struct Item {
        CString original;
        CString aside;
    };
    AsideKind m_kind;
    std::vector<Item> m_items;
};

// Moves from to `to` in place of the files (or the folder) listed in clashing, which are set aside
// first and deleted only once the move succeeded; on failure they are put back. TRUE when moved.
BOOL ReplaceByMove(LPCSTR from, LPCSTR to, const std::vector<CString>& clashing);
// The same with a copy.
BOOL ReplaceByCopy(LPCSTR from, LPCSTR to, const std::vector<CString>& clashing);
