// File and folder utilities: existence tests, deletion of files and folder trees, folder creation,
// resources copied to temporary files, file copies, path case and the screen's colour depth.
#pragma once
#include <windows.h>

#include "framework/String.h"

// ---- Existence and size ----

// 1 when the path (which may hold wildcards) names at least one entry that is not a folder (and whose
// name the code page can spell).
int FileExists(LPCSTR path);
// 1 for a drive root "X:\" (without touching the disk) or a path that names a folder; else 0.
int FolderExists(LPCSTR path);
// 1 when the folder holds a subfolder whose name does not begin with '.' (and the code page can spell).
int FolderHasSubfolders(LPCSTR folder);
// Length of the file; throws the framework's CFileException when it cannot be opened
// (callers test FileExists first).
DWORD GetFileLength(LPCSTR path);
// Free bytes of a drive (0 = A:), in 32-bit arithmetic; 0xFFFFFFFF when the call fails.
DWORD GetDriveFreeBytes(int drive);
int IsCDROMDrive(int drive);

// ---- Screen ----

// PLANES x BITSPIXEL of the desktop window's DC, measured on the first call and kept. While a test
// has armed the framework's seams, the answer of its platform table.
int GetScreenBitsPerPixel();
// Tests only: makes GetScreenBitsPerPixel answer bits (0 returns to the measured value).
void SetScreenBitsPerPixelForTest(int bits);

// ---- Deletion and creation ----

// Clears the attributes of an existing file and deletes it; results ignored.
void DeleteFileForce(LPCSTR path);
// Deletes the files matching a pattern such as folder\*.dai (names beginning with '.' skipped; a
// pattern without a folder is taken relative to the current directory). 0 at the first file that
// cannot be deleted (one whose name the code page cannot spell among them), else 1 (also when nothing
// matched).
int DeleteFilesInFolder(LPCSTR pattern);
// Deletes a folder with everything in it. Junctions and symbolic links inside are removed as links;
// what they point to is never entered. Entries whose names begin with '.' are left (so the folder
// then stays). Returns the result of removing the folder itself, 0 as soon as a subfolder fails; 0,
// nothing deleted, when something inside has a name the code page cannot spell.
// Leaves the current directory on the folder's parent.
int DeleteFolderTree(LPCSTR folder);
// Deletes everything inside the folder and keeps the folder; the current directory is restored.
// 0 when a subfolder cannot be removed, or (nothing deleted) when something inside has a name the
// code page cannot spell; else 1.
int EmptyFolder(LPCSTR folder);
// Replaces a file of that name by a folder, creating the folder when it does not exist.
void EnsureFolder(LPCSTR path);
// Makes the folder "name" in the program's folder; non-zero when it exists afterwards.
int CreateProgramSubfolder(LPCSTR name);

// ---- Resources copied to temporary files ----
// Each writes the resource to a new file tmp*.tmp in the system temporary folder and puts its full
// name into tempPath (MAX_PATH bytes, the caller's), which the caller deletes with DeleteFileForce.
// 1 when written; 0 when the resource is missing (tempPath untouched) or the file cannot be
// written (no file is left behind).
int ExtractResourceToTempFileById(WORD typeId, WORD nameId, HINSTANCE module, char* tempPath);
int ExtractResourceToTempFile(LPCSTR type, LPCSTR name, char* tempPath);
int ExtractResourceToTempFileByTypeName(LPCSTR type, WORD nameId, char* tempPath);

// ---- File copy ----

// The process-wide 32768-byte copy buffer, allocated on demand and freed at exit.
int AllocWorkBuffer();
void FreeWorkBuffer();
// Copies a file to the end of an open handle (left open). 0 copied, 2 failed.
int CopyFileToHandle(LPCSTR source, HANDLE dest);
int CopyFileToHandleOk(HANDLE dest, LPCSTR source); // 1 when CopyFileToHandle gave 0
// Copies a file, asking Abort/Retry/Ignore on errors. 0 copied (or the same file), 1 the user chose
// Ignore, 2 failed or aborted. The destination is written beside itself and replaced only when
// complete.
int CopyFileWithProgress(LPCSTR source, LPCSTR dest);
// Message box "text\npath" with Abort/Retry/Ignore, owned by the program's main window, followed on a
// line of its own by why: error, the system's error met on path, in the words installed below.
int AskFileErrorRetry(UINT stringId, LPCSTR path, DWORD error);

// The words that say why a file call failed (one sentence; empty when nothing is to be said). Core
// has none of its own: the application installs the shell's (shell/FileCause.h) at its start. Null
// (the default) says nothing.
typedef CString (*FileCauseWords)(DWORD error, LPCSTR path);
void SetFileCauseWords(FileCauseWords words);

// ---- Path text ----

// X:\FOLDER\sub becomes X:\Folder\Sub: each all-upper or all-lower component is capitalised (in
// the ANSI code page); mixed-case components stay. 0 (path unchanged) for an empty path, a path
// that does not start with "X:\", an empty component or a trailing backslash.
int NormalizePathCase(CString& path);
// The text before the first backslash, with a backslash added when it ends in ':' ("C:\" for
// "C:\folder\file"); empty when there is no backslash or it stands before index 2.
CString GetDriveRoot(LPCSTR path);
// The folder with one backslash at its end, ready for a file name ("C:\Images" becomes "C:\Images\").
CString WithSlash(const CString& folder);
