// A stand-in for the QuickTime runtime "QuickTime.qts", for the bridge tests: the three entry
// points of the real runtime, a dispatcher that takes its selector in EAX and the caller's
// arguments on the stack, and just enough movie services to import a picture. The "movie" of a
// file is the BMP it holds; a file holding "NOPICTURE" makes a movie without a picture, one
// holding "BADDIB" gives a block that is not a picture, anything else cannot be opened as a movie.
// Test controls: StandInReset, StandInSetInitResult, StandInLog.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_log;
short g_initResult = 0;
int g_nextId = 100;

struct OpenFile {
    int ref = 0;
    std::string path;
};
OpenFile g_files[8];

struct Movie {
    int id = 0;
    std::string bytes;
};
Movie g_movies[8];

void Log(unsigned long selector, const long* args, int count)
{
    char line[160];
    int n = snprintf(line, sizeof(line), "%lX", selector);
    for (int i = 0; i < count; ++i)
        n += snprintf(line + n, sizeof(line) - n, " %lX", static_cast<unsigned long>(args[i]));
    g_log += line;
    g_log += '\n';
}

Movie* FindMovie(long id)
{
    for (Movie& m : g_movies)
        if (m.id != 0 && m.id == id)
            return &m;
    return nullptr;
}

std::string ReadWhole(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

// The file-system record (FSSpec): "SPEC", then the runtime string (a length byte and the characters).
const char kSpecMagic[4] = {'S', 'P', 'E', 'C'};

long Dispatch(unsigned long selector, const long* args)
{
    switch (selector) {
    case 0x1D0008: // initialise
        Log(selector, args, 1);
        return g_initResult;
    case 0x280017: { // to the runtime string form: a length byte first
        Log(selector, args, 0);
        char* s = reinterpret_cast<char*>(args[0]);
        const size_t n = strlen(s);
        memmove(s + 1, s, n);
        s[0] = static_cast<char>(n);
        return 0;
    }
    case 0x280018: { // back to a zero-terminated string
        Log(selector, args, 0);
        char* s = reinterpret_cast<char*>(args[0]);
        const size_t n = static_cast<unsigned char>(s[0]);
        memmove(s, s + 1, n);
        s[n] = '\0';
        return 0;
    }
    case 0xF00E2: { // file-system record (FSSpec) from the runtime string
        Log(selector, args, 2);
        const unsigned char* name = reinterpret_cast<const unsigned char*>(args[2]);
        char* spec = reinterpret_cast<char*>(args[3]);
        memcpy(spec, kSpecMagic, 4);
        memcpy(spec + 4, name, name[0] + 1u);
        return 0;
    }
    case 0x20192: { // open the movie file
        Log(selector, args, 0);
        const char* spec = reinterpret_cast<const char*>(args[0]);
        if (memcmp(spec, kSpecMagic, 4) != 0)
            return -50;
        const std::string path(spec + 5, static_cast<unsigned char>(spec[4]));
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return -43;
        for (OpenFile& f : g_files)
            if (f.ref == 0) {
                f.ref = ++g_nextId;
                f.path = path;
                *reinterpret_cast<short*>(args[1]) = static_cast<short>(f.ref);
                return 0;
            }
        return -42;
    }
    case 0x200F0: { // a movie from the open file
        Log(selector, args, 0);
        const short ref = static_cast<short>(args[1]);
        for (OpenFile& f : g_files)
            if (f.ref == ref) {
                const std::string bytes = ReadWhole(f.path);
                if (bytes.compare(0, 2, "BM") != 0 && bytes != "NOPICTURE" && bytes != "BADDIB")
                    return -2048;
                for (Movie& m : g_movies)
                    if (m.id == 0) {
                        m.id = ++g_nextId;
                        m.bytes = bytes;
                        *reinterpret_cast<long*>(args[0]) = m.id;
                        return 0;
                    }
                return -108;
            }
        return -39;
    }
    case 0x200D5: // close the file reference
        Log(selector, args, 1);
        for (OpenFile& f : g_files)
            if (f.ref == static_cast<short>(args[0]))
                f = OpenFile();
        return 0;
    case 0x20039: // the movie's time
        Log(selector, args, 2);
        return FindMovie(args[0]) ? 600 : 0;
    case 0x2001D: { // the picture at a time
        Log(selector, args, 2);
        Movie* m = FindMovie(args[0]);
        return (m && m->bytes != "NOPICTURE") ? m->id + 1000 : 0;
    }
    case 0x17000F: { // the picture as a packed DIB
        Log(selector, args, 1);
        Movie* m = FindMovie(args[0] - 1000);
        if (!m)
            return 0;
        if (m->bytes == "BADDIB") {
            HGLOBAL block = GlobalAlloc(GHND, 16);
            return reinterpret_cast<long>(block);
        }
        const size_t size = m->bytes.size() - 14; // without the file header
        HGLOBAL block = GlobalAlloc(GHND, size);
        void* p = GlobalLock(block);
        memcpy(p, m->bytes.data() + 14, size);
        GlobalUnlock(block);
        return reinterpret_cast<long>(block);
    }
    case 0x20023: // release the movie
        Log(selector, args, 1);
        if (Movie* m = FindMovie(args[0]))
            *m = Movie();
        return 0;
    case 0x10000: { // a component request: log the block's bytes
        const unsigned char* block = reinterpret_cast<const unsigned char*>(args[1]);
        char line[96];
        snprintf(line, sizeof(line), "10000 %lX req %02X %02X %02X%02X", static_cast<unsigned long>(args[0]),
                 block[0], block[1], block[3], block[2]);
        g_log += line;
        for (int i = 0; i < block[1] / 4; ++i) {
            long v = 0;
            memcpy(&v, block + 4 + 4 * i, 4);
            snprintf(line, sizeof(line), " %lX", static_cast<unsigned long>(v));
            g_log += line;
        }
        g_log += '\n';
        return 0x55;
    }
    case 0x2018A: // a controller
        Log(selector, args, 1);
        return 0x7000;
    default:
        Log(selector, args, 0);
        return 0;
    }
}

} // namespace

extern "C" {

// Called from the dispatcher stub: the selector, and the caller's arguments.
long __cdecl StandInDispatch(unsigned long selector, const long* args) { return Dispatch(selector, args); }

__declspec(dllexport) long __cdecl _CallComponent(void) { return 0; }

__declspec(dllexport) long __cdecl _CallComponentFunctionWithStorage(void) { return 0; }

__declspec(dllexport) void __cdecl StandInReset(void)
{
    g_log.clear();
    g_initResult = 0;
}

__declspec(dllexport) void __cdecl StandInSetInitResult(short result) { g_initResult = result; }

// Copies the call log (one line per call: selector and arguments in hex) into out.
__declspec(dllexport) int __cdecl StandInLog(char* out, int size)
{
    const int n = static_cast<int>(g_log.size()) < size - 1 ? static_cast<int>(g_log.size()) : size - 1;
    memcpy(out, g_log.data(), n);
    out[n] = '\0';
    return static_cast<int>(g_log.size());
}
}

#ifndef STANDIN_WITHOUT_DISPATCHER
// theQuickTimeDispatcher: EAX holds the selector, [esp] the caller's return address and the
// caller's arguments follow; the result goes back in EAX straight to the caller.
__asm__(".text\n"
        ".globl _theQuickTimeDispatcher\n"
        "_theQuickTimeDispatcher:\n"
        "    leal 4(%esp), %ecx\n"
        "    pushl %ecx\n"
        "    pushl %eax\n"
        "    call _StandInDispatch\n"
        "    addl $8, %esp\n"
        "    ret\n"
        ".section .drectve\n"
        ".ascii \" -export:theQuickTimeDispatcher\"\n"
        ".text\n");
#endif
