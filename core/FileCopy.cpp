// Resources copied to temporary files, and file copies through the shared work buffer.
#include "core/FileUtil.h"

#include "core/FileWrappers.h"
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "framework/MessageText.h"
#include "framework/SafeFileWrite.h"
#include "framework/String.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cstring>

namespace {

const DWORD kWorkBufferBytes = 32768;
const DWORD kResourcePiece = 32767;

HGLOBAL g_workHandle = 0;
BYTE* g_workBuffer = nullptr;
FileCauseWords g_pfnFileCauseWords = nullptr;

// Writes a found resource to a new tmp*.tmp file in the temporary folder.
int ExtractFoundResource(HMODULE module, HRSRC resource, char* tempPath)
{
    char tempFolder[MAX_PATH];
    DWORD folderLength = GetTempPathA(sizeof(tempFolder), tempFolder);
    if (folderLength == 0 || folderLength >= sizeof(tempFolder) || resource == nullptr || tempPath == nullptr)
        return 0;
    DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    tempPath[0] = 0;
    if (!loaded)
        return 0;
    const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
    if (!data) {
        FreeResource(loaded);
        return 0;
    }
    char name[MAX_PATH];
    if (!GetTempFileNameA(tempFolder, "tmp", 0, name)) {
        FreeResource(loaded);
        return 0;
    }
    HANDLE file = CreateFileForWrite(name);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(name); // GetTempFileName made it
        FreeResource(loaded);
        return 0;
    }
    strcpy(tempPath, name);
    bool ok = true;
    for (DWORD done = 0; ok && done < size;) {
        DWORD piece = size - done < kResourcePiece ? size - done : kResourcePiece;
        ok = WriteFileExact(file, data + done, piece) != FALSE;
        done += piece;
    }
    CloseHandle(file);
    UnlockResourceData(const_cast<BYTE*>(data));
    FreeResource(loaded);
    if (!ok) {
        DeleteFileForce(name);
        tempPath[0] = 0;
        return 0;
    }
    return 1;
}

int ExtractResource(HMODULE module, LPCSTR type, LPCSTR name, char* tempPath)
{
    HRSRC resource = FindResourceA(module, name, type);
    if (!resource)
        return 0;
    return ExtractFoundResource(module, resource, tempPath);
}

CString LoadText(UINT id, LPCSTR fallback)
{
    CString text;
    if (!text.LoadString(id))
        text = fallback;
    return text;
}

struct CopyAnswer {
    enum { Retry, Ignore, Abort };
};

int Ask(UINT id, LPCSTR path, DWORD error)
{
    int button = AskFileErrorRetry(id, path, error);
    return button == IDRETRY    ? CopyAnswer::Retry
           : button == IDIGNORE ? CopyAnswer::Ignore
                                : CopyAnswer::Abort;
}

bool SamePath(LPCSTR a, LPCSTR b)
{
    char fullA[MAX_PATH], fullB[MAX_PATH];
    DWORD la = GetFullPathNameA(a, MAX_PATH, fullA, nullptr);
    DWORD lb = GetFullPathNameA(b, MAX_PATH, fullB, nullptr);
    if (la == 0 || la >= MAX_PATH || lb == 0 || lb >= MAX_PATH)
        return AfxAnsiCompareNoCase(a, b) == 0;
    return AfxAnsiCompareNoCase(fullA, fullB) == 0;
}

} // namespace

int ExtractResourceToTempFileById(WORD typeId, WORD nameId, HINSTANCE module, char* tempPath)
{
    HMODULE from = module ? module : AfxGetResourceHandle();
    return ExtractResource(from, MAKEINTRESOURCEA(typeId), MAKEINTRESOURCEA(nameId), tempPath);
}

int ExtractResourceToTempFile(LPCSTR type, LPCSTR name, char* tempPath)
{
    return ExtractResource(AfxGetResourceHandle(), type, name, tempPath);
}

int ExtractResourceToTempFileByTypeName(LPCSTR type, WORD nameId, char* tempPath)
{
    return ExtractResource(AfxGetResourceHandle(), type, MAKEINTRESOURCEA(nameId), tempPath);
}

int AllocWorkBuffer()
{
    if (g_workBuffer)
        return 1;
    if (!g_workHandle)
        g_workHandle = GlobalAlloc(GMEM_MOVEABLE, kWorkBufferBytes);
    if (g_workHandle)
        g_workBuffer = static_cast<BYTE*>(GlobalLock(g_workHandle));
    return g_workBuffer ? 1 : 0;
}

void FreeWorkBuffer()
{
    if (g_workHandle && g_workBuffer) {
        GlobalUnlock(g_workHandle);
        g_workBuffer = nullptr;
        GlobalFree(g_workHandle);
        g_workHandle = 0;
    }
}

int CopyFileToHandle(LPCSTR source, HANDLE dest)
{
    if (!AllocWorkBuffer())
        return 2;
    HANDLE in = OpenFileForRead(source);
    if (in == INVALID_HANDLE_VALUE)
        return 2;
    DWORD remaining = GetFileSize(in, nullptr);
    int result = 0;
    while (remaining >= 1) {
        DWORD piece = remaining < kWorkBufferBytes ? remaining : kWorkBufferBytes;
        if (!ReadFileExact(in, g_workBuffer, piece) || !WriteFileExact(dest, g_workBuffer, piece)) {
            result = 2;
            break;
        }
        remaining -= piece;
    }
    CloseHandle(in);
    return result;
}

int CopyFileToHandleOk(HANDLE dest, LPCSTR source) { return CopyFileToHandle(source, dest) == 0 ? 1 : 0; }

void SetFileCauseWords(FileCauseWords words) { g_pfnFileCauseWords = words; }

int AskFileErrorRetry(UINT stringId, LPCSTR path, DWORD error)
{
    static const struct {
        UINT id;
        const char* text;
    } kTexts[] = {
        {55152, "Impossible d'ouvrir le fichier source."},
        {55153, "Impossible de cr\xE9"
                "er le fichier destination. V\xE9rifiez que l'unit\xE9 cible soit valide "
                "et non prot\xE9g\xE9"
                "e en \xE9"
                "criture."},
        {55154, "Erreur lors de la lecture du fichier source."},
        {55155, "Erreur lors de l'\xE9"
                "criture du fichier. Verifiez que l'unit\xE9 de destination contienne "
                "sufisamment d'espace libre pour accueillir le rassemblement."},
    };
    const char* fallback = "";
    for (const auto& entry : kTexts) {
        if (entry.id == stringId)
            fallback = entry.text;
    }
    CString text = LoadText(stringId, fallback);
    text += "\n";
    text += path ? path : "";
    const CString cause = g_pfnFileCauseWords != nullptr ? g_pfnFileCauseWords(error, path) : CString();
    if (!cause.IsEmpty())
        text += "\n" + cause;
    text = AfxFitMessageText(text);
    // Captioned with the program's name, as its other boxes are (no caption reads "Erreur").
    return AfxShowMessageBox(AfxSafeHwnd(AfxGetMainWnd()), text, AfxGetAppName(),
                             MB_ABORTRETRYIGNORE | MB_ICONHAND);
}

int CopyFileWithProgress(LPCSTR source, LPCSTR dest)
{
    if (source == nullptr || dest == nullptr)
        return 2;
    if (SamePath(source, dest))
        return 0;
    const BOOL report = ShouldReportProgress();
    if (report)
        BeginProgress(UINT(22)); // "Copie en cours..."
    auto finish = [report](int result) {
        if (report)
            EndProgress();
        return result;
    };
    if (!AllocWorkBuffer())
        return finish(2);

    HANDLE in;
    while ((in = OpenFileForRead(source)) == INVALID_HANDLE_VALUE) {
        int answer = Ask(55152, source, GetLastError());
        if (answer != CopyAnswer::Retry)
            return finish(answer == CopyAnswer::Ignore ? 1 : 2);
    }
    struct SourceCloser {
        HANDLE h;
        ~SourceCloser() { CloseHandle(h); }
    } closeSource{in};

    // The copy is written beside the destination and replaces it only once complete.
    CSafeFileWrite out(dest);
    HANDLE file;
    while ((file = out.Handle()) == INVALID_HANDLE_VALUE) {
        int answer = Ask(55153, dest, out.Error());
        if (answer != CopyAnswer::Retry)
            return finish(answer == CopyAnswer::Ignore ? 1 : 2);
    }

    const DWORD total = GetFileSize(in, nullptr);
    DWORD remaining = total;
    if (report)
        SetProgress(0, total);
    while (remaining >= 1) {
        DWORD piece = remaining < kWorkBufferBytes ? remaining : kWorkBufferBytes;
        DWORD read = 0;
        const BOOL readOk = ReadFile(in, g_workBuffer, piece, &read, nullptr);
        if (!readOk || read == 0) {
            // Nothing read without an error: the file ended before its size.
            int answer = Ask(55154, source, readOk ? ERROR_HANDLE_EOF : GetLastError());
            if (answer == CopyAnswer::Retry)
                continue;
            return finish(answer == CopyAnswer::Ignore ? 1 : 2);
        }
        for (;;) {
            DWORD written = 0;
            // Through the framework's replaceable write, where a test gives a disk that takes a part.
            const BOOL wrote = AfxPlatform().pfnWriteFile(file, g_workBuffer, read, &written, nullptr);
            if (wrote && written == read)
                break;
            // A write taken in part without an error: the disk is full.
            const DWORD error = wrote ? ERROR_DISK_FULL : GetLastError();
            // Start the piece again from where the file stood before it.
            SetFilePointer(file, -LONG(written), nullptr, FILE_CURRENT);
            int answer = Ask(55155, dest, error);
            if (answer != CopyAnswer::Retry)
                return finish(answer == CopyAnswer::Ignore ? 1 : 2);
        }
        remaining -= read;
        if (report)
            SetProgress(total - remaining, total);
    }

    // A read-only destination is replaced as well, as the old copy deleted it first.
    if (FileExists(dest))
        SetFileAttributesA(dest, FILE_ATTRIBUTE_NORMAL);
    while (!out.Commit()) {
        int answer = Ask(55153, dest, out.Error());
        if (answer != CopyAnswer::Retry)
            return finish(answer == CopyAnswer::Ignore ? 1 : 2);
    }
    return finish(0);
}
