// The common-controls library: its version and the one-time initialisation of its classes.
#include "core/SystemUtil.h"

#include <commctrl.h>

#include <memory>
#include <new>

namespace {

struct ComCtlState {
    int state = 0; // 1 when InitCommonControlsEx was found and called
    WORD major = 0;
    WORD minor = 0;
};

void ReadVersion(ComCtlState* s)
{
    char name[] = "COMCTL32.DLL";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(name, &ignored);
    if (size == 0)
        return;
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block || !GetFileVersionInfoA(name, 0, size, block.get()))
        return;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!VerQueryValueA(block.get(), root, reinterpret_cast<void**>(&info), &length) || info == nullptr
        || length < sizeof(VS_FIXEDFILEINFO))
        return;
    s->major = HIWORD(info->dwFileVersionMS);
    s->minor = LOWORD(info->dwFileVersionMS);
}

ComCtlState CheckComCtl()
{
    ComCtlState s;
    ReadVersion(&s);
    // The library stays loaded: the window classes it registers must outlive this check.
    HMODULE library = LoadLibraryA("COMCTL32.DLL");
    if (library == nullptr)
        return s;
    typedef BOOL(WINAPI * InitEx)(const INITCOMMONCONTROLSEX*);
    InitEx initEx = reinterpret_cast<InitEx>(GetProcAddress(library, "InitCommonControlsEx"));
    if (initEx != nullptr) {
        INITCOMMONCONTROLSEX icc;
        icc.dwSize = sizeof(icc);
        icc.dwICC = ICC_USEREX_CLASSES | ICC_COOL_CLASSES;
        initEx(&icc);
        s.state = 1;
    }
    return s;
}

const ComCtlState& State()
{
    static const ComCtlState state = CheckComCtl();
    return state;
}

} // namespace

BOOL InitComCtl32() { return State().state; }

BOOL ComCtlVersionAtLeast472(int state, WORD major, WORD minor)
{
    if (state == 0)
        return FALSE;
    if (major != 4)
        return major > 4;
    return minor >= 72;
}

BOOL IsComCtl32AtLeast472()
{
    const ComCtlState& s = State();
    return ComCtlVersionAtLeast472(s.state, s.major, s.minor);
}
