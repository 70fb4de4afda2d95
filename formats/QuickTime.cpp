// The QuickTime bridge: availability, start and stop, picture import, and the client glue whose
// operations jump to the runtime's dispatcher with their selector in EAX, the caller's arguments
// and return address left as they are (the runtime's own calling convention, 32-bit x86).
#include "formats/QuickTime.h"

#include "core/FileUtil.h"
#include "formats/FormatTiff.h"
#include "formats/QuickTimeMovie.h"

#include <cstring>
#include <new>
#include <vector>

#if !defined(__i386__)
#error "The QuickTime glue is written for 32-bit x86, the only platform of the runtime."
#endif

namespace {

typedef long(__cdecl* QTEntry)();

long __cdecl QTNotInitialised() { return kQTErrNotInitialised; }

} // namespace

// State the operation thunks read: C names, since the thunks are written in assembly.
extern "C" {
QTEntry g_qtDispatcher = QTNotInitialised;
QTEntry g_qtComponentCall = QTNotInitialised;
QTEntry g_qtComponentCallWithStorage = QTNotInitialised;
QTEntry g_qtPreCallHook = nullptr;

// The runtime's own start and end, called by the glue only.
short __cdecl QTInitializeRuntime(long flags);
void __cdecl QTTerminateRuntime(void);
}

// One thunk per operation: call the pre-call hook when set, then jump to the dispatcher.
#define QT_OPERATION(name, selector)                                                                         \
    __asm__(".text\n"                                                                                        \
            ".globl _" #name "\n"                                                                            \
            ".def _" #name "; .scl 2; .type 32; .endef\n"                                                    \
            "_" #name ":\n"                                                                                  \
            "    movl _g_qtPreCallHook, %ecx\n"                                                              \
            "    testl %ecx, %ecx\n"                                                                         \
            "    jz 1f\n"                                                                                    \
            "    call *%ecx\n"                                                                               \
            "1:  movl $" #selector ", %eax\n"                                                                \
            "    jmp *_g_qtDispatcher\n")

QT_OPERATION(QTStartMovieServices, 0x20001);
QT_OPERATION(QTStopMovieServices, 0x20002);
QT_OPERATION(QTGetMoviesError, 0x20003);
QT_OPERATION(QTGetMoviePictureAt, 0x2001D);
QT_OPERATION(QTReleaseMovie, 0x20023);
QT_OPERATION(QTGetMovieTimeScale, 0x20029);
QT_OPERATION(QTGetMovieDuration, 0x2002B);
QT_OPERATION(QTGetMovieTimeValue, 0x20039);
QT_OPERATION(QTCloseMovieFileRef, 0x200D5);
QT_OPERATION(QTMakeMovieFromFile, 0x200F0);
QT_OPERATION(QTGetMovieRect, 0x200F9);
QT_OPERATION(QTDeleteMovieFile, 0x20175);
QT_OPERATION(QTMakeMovieController, 0x2018A);
QT_OPERATION(QTReleaseMovieController, 0x2018B);
QT_OPERATION(QTPutMovieOnScrap, 0x2018C);
QT_OPERATION(QTOpenMovieFileRead, 0x20192);
QT_OPERATION(QTFlattenMovie, 0x2019B);
QT_OPERATION(QTComponentRequest, 0x10000);
QT_OPERATION(QTMakeFileSpec, 0xF00E2);
QT_OPERATION(QTConvertPictureToDIB, 0x17000F);
QT_OPERATION(QTSetCurrentPort, 0x1C0007);
QT_OPERATION(QTPortForWindow, 0x1D0003);
QT_OPERATION(QTInitializeRuntime, 0x1D0008);
QT_OPERATION(QTTerminateRuntime, 0x1D0009);
QT_OPERATION(QTReleasePicture, 0x1E0060);
QT_OPERATION(QTMoveRect, 0x1E0026);
QT_OPERATION(QTPathToRuntimeString, 0x280017);
QT_OPERATION(QTPathFromRuntimeString, 0x280018);
QT_OPERATION(QTSizeWindow, 0x2A0026);

namespace {

const char kRuntimeName[] = "QuickTime.qts";
const char kControlPanelName[] = "quicktime.cpl";

int g_availability = 0; // 0 not tested, 1 present, 2 absent
BOOL g_started = FALSE;
HMODULE g_runtime = nullptr;
int g_startCount = 0;

void ForgetEntries()
{
    g_qtDispatcher = QTNotInitialised;
    g_qtComponentCall = QTNotInitialised;
    g_qtComponentCallWithStorage = QTNotInitialised;
}

// Takes the three entry points from the runtime module; false (entries untouched) when one is
// missing.
bool BindEntries(HMODULE module)
{
    if (module == nullptr)
        return false;
    FARPROC storage = GetProcAddress(module, "_CallComponentFunctionWithStorage");
    FARPROC component = GetProcAddress(module, "_CallComponent");
    FARPROC dispatcher = GetProcAddress(module, "theQuickTimeDispatcher");
    if (storage == nullptr || component == nullptr || dispatcher == nullptr)
        return false;
    g_qtComponentCallWithStorage = reinterpret_cast<QTEntry>(storage);
    g_qtComponentCall = reinterpret_cast<QTEntry>(component);
    g_qtDispatcher = reinterpret_cast<QTEntry>(dispatcher);
    return true;
}

// The pre-call hook after a failure or a shut-down: binds the entry points again when the runtime
// is loaded, so that only a loaded runtime is ever reached.
long __cdecl QTRebind()
{
    if (!BindEntries(g_runtime))
        return kQTErrEntryMissing;
    g_qtPreCallHook = nullptr;
    return 0;
}

HMODULE LoadRuntime()
{
    char path[MAX_PATH];
    if (HMODULE loaded = GetModuleHandleA(kRuntimeName)) {
        const DWORD n = GetModuleFileNameA(loaded, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            if (HMODULE again = LoadLibraryA(path))
                return again;
        }
    }
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + sizeof(kRuntimeName) > MAX_PATH)
        return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, kRuntimeName);
    return LoadLibraryA(path);
}

// The picture the runtime returned, when it is a packed DIB the rest of the program can trust.
bool IsWellFormedDIB(HGLOBAL dib)
{
    const SIZE_T blockBytes = GlobalSize(dib);
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    if (h == nullptr)
        return false;
    bool ok = blockBytes >= sizeof(BITMAPINFOHEADER) && h->biSize == sizeof(BITMAPINFOHEADER)
              && h->biWidth > 0 && h->biHeight > 0 && h->biPlanes == 1 && h->biCompression == BI_RGB
              && (h->biBitCount == 1 || h->biBitCount == 4 || h->biBitCount == 8 || h->biBitCount == 16
                  || h->biBitCount == 24 || h->biBitCount == 32);
    if (ok) {
        const DWORD colors = h->biClrUsed ? h->biClrUsed : (h->biBitCount <= 8 ? 1u << h->biBitCount : 0);
        const ULONGLONG need = PackedDIBBytes(h->biWidth, h->biHeight, h->biBitCount, colors);
        ok = (h->biBitCount > 8 || colors <= 256) && need <= kMaxPackedDIBBytes && need <= blockBytes;
    }
    GlobalUnlock(dib);
    return ok;
}

} // namespace

int QuickTimeFileMajorVersion(LPCSTR path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return -1;
    std::vector<BYTE> block;
    try {
        block.resize(size);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoBytes = 0;
    if (!GetFileVersionInfoA(path, 0, size, block.data())
        || !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoBytes) || info == nullptr
        || infoBytes < sizeof(VS_FIXEDFILEINFO))
        return -1;
    return HIWORD(info->dwFileVersionMS);
}

void SetQuickTimeAvailableForTest(int answer) { g_availability = answer == 1 ? 1 : answer == 0 ? 2 : 0; }

BOOL IsQuickTimeAvailable()
{
    if (g_availability == 1 || g_availability == 2)
        return g_availability == 1;
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    g_availability = 2;
    if (n > 0 && n + 1 + sizeof(kControlPanelName) <= MAX_PATH) {
        if (path[n - 1] != '\\')
            lstrcatA(path, "\\");
        lstrcatA(path, kControlPanelName);
        if (FileExists(path) && QuickTimeFileMajorVersion(path) >= 4)
            g_availability = 1;
    }
    return g_availability == 1;
}

short QTGlueStartup(long flags)
{
    if (g_startCount > 0) {
        ++g_startCount;
        return 0;
    }
    HMODULE module = LoadRuntime();
    short result = kQTErrRuntimeNotLoaded;
    if (module == nullptr) {
        GetLastError(); // the reason does not change what the caller sees
    } else if (!BindEntries(module)) {
        result = kQTErrEntryMissing;
    } else {
        g_qtPreCallHook = nullptr;
        g_runtime = module;
        result = QTInitializeRuntime(flags);
        if (result == 0) {
            ++g_startCount;
            return 0;
        }
    }
    if (module != nullptr)
        FreeLibrary(module);
    g_runtime = nullptr;
    g_qtPreCallHook = QTRebind;
    ForgetEntries();
    return result;
}

void QTGlueShutdown()
{
    if (g_startCount <= 0) {
        g_startCount = 0;
        return;
    }
    if (--g_startCount > 0)
        return;
    QTTerminateRuntime();
    g_qtPreCallHook = QTRebind;
    ForgetEntries();
    // The handle is forgotten with the library, so that nothing binds to a module that is gone.
    FreeLibrary(g_runtime);
    g_runtime = nullptr;
}

void InitQuickTime()
{
    if (g_started)
        return;
    if (QTGlueStartup(0) == 0) {
        QTStartMovieServices();
        g_started = TRUE;
    }
}

void ExitQuickTime()
{
    if (!g_started)
        return;
    QTStopMovieServices();
    QTGlueShutdown();
    g_started = FALSE;
}

BOOL IsQuickTimeStarted() { return g_started; }

PackedDIB ImportPictureWithQuickTime(LPCSTR path)
{
    InitQuickTime();
    // A longer path would be cut, and another file opened.
    if (path == nullptr || path[0] == '\0' || strlen(path) >= sizeof(MovieFileRecord().path))
        return 0;
    MovieFileRecord record;
    lstrcpynA(record.path, path, sizeof(record.path));
    record.titleWindow = nullptr;
    if (!OpenMovieFileRecord(nullptr, &record))
        return 0;
    const long time = QTGetMovieTimeValue(record.movie, 0);
    const QTRef picture = QTGetMoviePictureAt(record.movie, time);
    HGLOBAL dib = 0;
    if (picture != 0) {
        dib = QTConvertPictureToDIB(picture);
        QTReleasePicture(picture);
    }
    CloseMovieFileRecord(&record);
    if (dib != 0 && !IsWellFormedDIB(dib))
        dib = GlobalFreeHandle(dib);
    return dib;
}

PackedDIB LoadTIFFPreferringQuickTime(LPCSTR path)
{
    if (IsQuickTimeAvailable()) {
        if (PackedDIB dib = ImportPictureWithQuickTime(path))
            return dib;
    }
    return LoadTIFF(path);
}
