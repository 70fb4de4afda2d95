// A stand-in QuickTime control panel for the bridge tests: it only carries a version resource,
// whose major version the build chooses.
#include <windows.h>

extern "C" __declspec(dllexport) LONG APIENTRY CPlApplet(HWND, UINT, LPARAM, LPARAM) { return 0; }
