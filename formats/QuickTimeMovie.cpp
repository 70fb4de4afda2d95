// QuickTime movie files: opening and closing through the runtime, controller requests, and the
// file dialogs and editing functions of the family.
#include "formats/QuickTimeMovie.h"

#include "framework/CommonDialogs.h"

#include <cstring>

namespace {

const long kErrNoMovie = -2010;
const short kActionResize = 26;
const short kActionSetSelectionBegin = 29;
const short kActionSetSelectionDuration = 30;
const long kControllerFlags = 9;

#pragma pack(push, 1)
struct ComponentRequestBlock {
    BYTE flags;
    BYTE size;  // bytes of parameters that follow
    short what; // the request code
    long params[2];
};
#pragma pack(pop)
static_assert(sizeof(ComponentRequestBlock) == 12, "the runtime reads the block byte by byte");

long Request(QTRef instance, short what, BYTE parameterBytes, long second = 0, long third = 0)
{
    ComponentRequestBlock block = {0, parameterBytes, what, {second, third}};
    return QTComponentRequest(instance, &block);
}

// 64-bit time value, time scale and base, as the selection actions take them.
#pragma pack(push, 1)
struct TimeRecord {
    long long value;
    long scale;
    long base;
};
#pragma pack(pop)

// Converts path into the runtime's string form in buffer (256 bytes) and makes its file-system
// record (FSSpec). False for an empty path.
bool MakeSpec(const char* path, char* buffer, BYTE* spec)
{
    if (path == nullptr || path[0] == '\0')
        return false;
    lstrcpynA(buffer, path, 256);
    QTPathToRuntimeString(buffer);
    QTMakeFileSpec(0, 0, buffer, spec);
    return true;
}

short Write(MovieFileRecord* record, const char* path, char* buffer)
{
    BYTE spec[kQTFileSpecBytes] = {};
    if (!MakeSpec(path, buffer, spec))
        return 0;
    long creator = 0;
    memcpy(&creator, "RIVU", 4);
    QTDeleteMovieFile(spec);
    QTFlattenMovie(record->movie, 1, spec, creator, -1, static_cast<long>(0x80000000), nullptr, nullptr);
    return QTGetMoviesError();
}

} // namespace

int OpenMovieFileRecord(HWND window, MovieFileRecord* record)
{
    if (record == nullptr || record->path[0] == '\0')
        return 0;
    char buffer[MAX_PATH];
    BYTE spec[kQTFileSpecBytes] = {};
    MakeSpec(record->path, buffer, spec);
    if (window != nullptr)
        QTSetCurrentPort(QTPortForWindow(window, 0));
    short fileRef = 0;
    if (QTOpenMovieFileRead(spec, &fileRef, 1) != 0)
        return 0;
    const short made = QTMakeMovieFromFile(&record->movie, fileRef, 0, 0, 1, 0);
    QTCloseMovieFileRef(fileRef);
    if (made != 0)
        return 0;
    if (window != nullptr)
        AttachMovieController(window, record->movie, &record->controller);
    record->opened = 1;
    QTPathFromRuntimeString(buffer);
    if (record->titleWindow != nullptr)
        SetWindowTitleFromPath(record->titleWindow, buffer);
    return 1;
}

void CloseMovieFileRecord(MovieFileRecord* record)
{
    if (record == nullptr || record->opened != 1)
        return;
    record->opened = 0;
    if (record->controller != 0)
        QTReleaseMovieController(record->controller);
    if (record->movie != 0)
        QTReleaseMovie(record->movie);
    record->controller = 0;
    record->movie = 0;
}

long AttachMovieController(HWND /*window*/, QTRef movie, QTRef* controllerOut)
{
    short rect[4] = {0, 0, 0, 0}; // top, left, bottom, right
    QTGetMovieRect(movie, rect);
    QTMoveRect(rect, -rect[1], -rect[0]);
    *controllerOut = QTMakeMovieController(movie, rect, kControllerFlags);
    short bounds[4] = {0, 0, 0, 0};
    QTControllerGetBounds(*controllerOut, bounds);
    return QTControllerEnableEditing(*controllerOut, 0);
}

void SetWindowTitleFromPath(HWND window, const char* path)
{
    char name[MAX_PATH] = "";
    if (path != nullptr && strlen(path) < sizeof(name))
        FileNamePart(path, name);
    SetWindowTextA(window, name);
}

void FileNamePart(const char* path, char* out)
{
    if (path == nullptr || path[0] == '\0')
        return;
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    strcpy(out, name);
}

long QTControllerDoAction(QTRef controller, short action, void* parameter)
{
    return Request(controller, 9, 8, action, reinterpret_cast<long>(parameter));
}
long QTControllerGetBounds(QTRef controller, short* rect)
{
    return Request(controller, 0x10, 4, reinterpret_cast<long>(rect));
}
long QTControllerEnableEditing(QTRef controller, long enable) { return Request(controller, 0x1D, 4, enable); }
long QTControllerCopy(QTRef controller) { return Request(controller, 0x1F, 0); }
long QTControllerCut(QTRef controller) { return Request(controller, 0x20, 0); }
long QTControllerPaste(QTRef controller, QTRef movie) { return Request(controller, 0x21, 4, movie); }
long QTControllerClear(QTRef controller) { return Request(controller, 0x22, 0); }
long QTControllerUndo(QTRef controller) { return Request(controller, 0x23, 0); }

// ---- Members the program does not call ----

BOOL ChooseMovieFile(char* buffer)
{
    buffer[0] = '\0';
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = "QuickTime Movies (*.mov;*.avi)\0*.mov;*.avi\0All Files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = 255;
    ofn.Flags = OFN_ENABLEHOOK | (LOBYTE(GetVersion()) >= 4 ? OFN_EXPLORER : 0);
    ofn.lpfnHook = CentreFileDialogHook;
    return AfxGetOpenFileName(&ofn);
}

UINT_PTR CALLBACK CentreFileDialogHook(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return 0;
    // Explorer-style dialogs put the hook's dialog inside the real one.
    HWND target = LOBYTE(GetVersion()) >= 4 && GetParent(dialog) ? GetParent(dialog) : dialog;
    RECT desktop, box;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(target, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int x = (desktop.left + desktop.right) / 2 - width / 2;
    const int y = (desktop.top + desktop.bottom) / 3 - height / 3;
    SetWindowPos(target, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return 1;
}

short WriteMovieFile(MovieFileRecord* record)
{
    char buffer[MAX_PATH];
    return Write(record, record->path, buffer);
}

short SaveMovieFileAs(MovieFileRecord* record)
{
    char name[256] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = "QuickTime Movies (*.mov)\0*.mov\0";
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof(name);
    ofn.Flags = OFN_OVERWRITEPROMPT;
    if (!AfxGetSaveFileName(&ofn))
        return 0;
    char buffer[MAX_PATH];
    const short result = Write(record, name, buffer);
    QTPathFromRuntimeString(buffer);
    if (record->titleWindow != nullptr)
        SetWindowTitleFromPath(record->titleWindow, buffer);
    return result;
}

BOOL CALLBACK MovieResizeFilter(QTRef controller, short action, void*, long window)
{
    if (action == kActionResize) {
        short rect[4] = {0, 0, 0, 0};
        QTControllerGetBounds(controller, rect);
        const QTRef port = QTPortForWindow(reinterpret_cast<HWND>(window), 0);
        QTSizeWindow(port, rect[3], rect[2], 1);
    }
    return FALSE;
}

void GetDesktopMovieRect(short* rect)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    rect[0] = 0;
    rect[1] = 0;
    rect[2] = static_cast<short>(desktop.bottom - desktop.top);
    rect[3] = static_cast<short>(desktop.right - desktop.left);
}

namespace {

long ToScrap(QTRef controller, bool cut)
{
    if (controller == 0)
        return kErrNoMovie;
    const QTRef movie = cut ? QTControllerCut(controller) : QTControllerCopy(controller);
    if (movie == 0)
        return kErrNoMovie;
    const short result = QTPutMovieOnScrap(movie, 0);
    QTReleaseMovie(movie);
    return result;
}

} // namespace

long CutMovieSelection(QTRef controller) { return ToScrap(controller, true); }

long CopyMovieSelection(QTRef controller) { return ToScrap(controller, false); }

long PasteIntoMovie(QTRef controller)
{
    return controller == 0 ? kErrNoMovie : QTControllerPaste(controller, 0);
}

long ClearMovieSelection(QTRef controller)
{
    return controller == 0 ? kErrNoMovie : QTControllerClear(controller);
}

long UndoMovieEdit(QTRef controller) { return controller == 0 ? kErrNoMovie : QTControllerUndo(controller); }

long SelectWholeMovie(QTRef movie, QTRef controller)
{
    if (movie == 0)
        return kErrNoMovie;
    if (controller == 0)
        return -1;
    TimeRecord time = {0, QTGetMovieTimeScale(movie), 0};
    QTControllerDoAction(controller, kActionSetSelectionBegin, &time);
    time.value = QTGetMovieDuration(movie);
    QTControllerDoAction(controller, kActionSetSelectionDuration, &time);
    return 0;
}
