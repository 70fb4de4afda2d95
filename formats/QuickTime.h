// The bridge to the QuickTime for Windows runtime: whether it is installed, starting and stopping
// it, importing a picture through it, and the glue that loads "QuickTime.qts" at run time and
// passes every runtime operation to its dispatcher.
#pragma once
#include "core/PackedDib.h"

// Glue results (16-bit): 0 success, or the runtime's own initialisation error, or:
const short kQTErrRuntimeNotLoaded = -2093; // "QuickTime.qts" cannot be loaded
const short kQTErrEntryMissing = -2094;     // one of its three entry points is missing
const short kQTErrNotInitialised = -2095;   // an operation called while the runtime is not started

// TRUE when the QuickTime control panel "quicktime.cpl" in the system folder has file version 4 or
// later. Tested on the first call; the answer is kept for the run.
BOOL IsQuickTimeAvailable();
// Tests only: makes IsQuickTimeAvailable answer TRUE (1) or FALSE (0); -1 goes back to testing the
// system (again, on the next call).
void SetQuickTimeAvailableForTest(int answer);
// Major file version of a file (the high word of its most significant version number), or -1 when
// it has no version block.
int QuickTimeFileMajorVersion(LPCSTR path);

// Starts the runtime once (glue start-up, then the movie services); a failed start is tried again
// at the next call. Nothing is shown either way.
void InitQuickTime();
// Stops what InitQuickTime started; does nothing when it was not started. Called at exit.
void ExitQuickTime();
// TRUE while InitQuickTime's start holds.
BOOL IsQuickTimeStarted();

// Imports the picture of a file the runtime reads (PICT, Photoshop, FlashPix, QuickTime images,
// the first frame of movies): starts the runtime when needed, opens the file as a movie and
// converts its picture. Returns a new picture owned by the caller, or 0 when the runtime is
// absent or cannot start, the path is empty or has 256 characters or more, the runtime cannot
// open the file or find a picture in it, or what it returns is not a well-formed picture.
// Shows nothing.
PackedDIB ImportPictureWithQuickTime(LPCSTR path);

// The reader of TIFF files while QuickTime may be present: through QuickTime first when it is
// installed, then, when that gives nothing, through the TIFF reader; the TIFF reader alone
// otherwise. A new picture owned by the caller, or 0.
PackedDIB LoadTIFFPreferringQuickTime(LPCSTR path);

// Loads the runtime (an already loaded "QuickTime.qts" again by its full name, else the one in
// the system folder), takes its three entry points and initialises it with flags. Nests by count:
// only the first successful call loads. Returns 0 or a glue error; after a failure every runtime
// operation returns kQTErrNotInitialised.
short QTGlueStartup(long flags);
// Undoes one QTGlueStartup; the last one terminates the runtime and frees the library. Extra calls
// do nothing.
void QTGlueShutdown();

// ---- Runtime operations ----
// Each passes its arguments unchanged to the runtime's dispatcher with its selector, and returns
// the runtime's result unchanged; without a started runtime, kQTErrNotInitialised. Handles of the
// runtime (movies, pictures, controllers, ports) are 32-bit values the program only passes on.
typedef long QTRef;

extern "C" {
short __cdecl QTStartMovieServices(void);
void __cdecl QTStopMovieServices(void);
short __cdecl QTGetMoviesError(void);
long __cdecl QTGetMovieTimeValue(QTRef movie, long zero);
QTRef __cdecl QTGetMoviePictureAt(QTRef movie, long time);
HGLOBAL __cdecl QTConvertPictureToDIB(QTRef picture);
void __cdecl QTReleasePicture(QTRef picture);
// In place: a zero-terminated path to the runtime's string form, and back.
void __cdecl QTPathToRuntimeString(char* buffer);
void __cdecl QTPathFromRuntimeString(char* buffer);
// Fills spec, a record of kQTFileSpecBytes bytes whose layout is the runtime's.
short __cdecl QTMakeFileSpec(long volume, long folder, const char* runtimeString, void* spec);
short __cdecl QTOpenMovieFileRead(const void* spec, short* fileRef, long permission);
short __cdecl QTMakeMovieFromFile(QTRef* movie, short fileRef, long resourceId, long resourceName, long flags,
                                  long changed);
short __cdecl QTCloseMovieFileRef(short fileRef);
void __cdecl QTReleaseMovie(QTRef movie);
QTRef __cdecl QTPortForWindow(HWND window, long zero);
void __cdecl QTSetCurrentPort(QTRef port);
// rect: four 16-bit values, top, left, bottom, right.
void __cdecl QTGetMovieRect(QTRef movie, short* rect);
void __cdecl QTMoveRect(short* rect, long dx, long dy);
QTRef __cdecl QTMakeMovieController(QTRef movie, const short* rect, long flags);
void __cdecl QTReleaseMovieController(QTRef controller);
long __cdecl QTComponentRequest(QTRef instance, void* parameters);
// Members of the glue the program does not call.
long __cdecl QTGetMovieTimeScale(QTRef movie);
long __cdecl QTGetMovieDuration(QTRef movie);
short __cdecl QTDeleteMovieFile(const void* spec);
short __cdecl QTPutMovieOnScrap(QTRef movie, long flags);
void __cdecl QTFlattenMovie(QTRef movie, long flattenFlags, const void* spec, long creator, long script,
                            long createFlags, short* resourceId, const char* name);
void __cdecl QTSizeWindow(QTRef port, long width, long height, long update);
}

// Room given to a file-system record (FSSpec).
const size_t kQTFileSpecBytes = 1024;
