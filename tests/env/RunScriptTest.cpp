// The run script's choice of Wine's window management, made on the tests' own display (an Xvfb without
// a window manager) in the tests' prefix.
#include "tests/support/UnixCommand.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char kAppKey[] = "Software\\Wine\\AppDefaults\\tessarine.exe\\X11 Driver";

std::string ManagedSetting()
{
    char value[16] = "";
    DWORD size = sizeof(value);
    if (::RegGetValueA(HKEY_CURRENT_USER, kAppKey, "Managed", RRF_RT_REG_SZ, nullptr, value, &size)
        != ERROR_SUCCESS)
        return "<none>";
    return value;
}

} // namespace

// Without a window manager Wine would wait for one each time it hides a full-screen picture or a slide
// show, which stays on the screen meanwhile: the program's windows are made unmanaged there.
TEST(RunScript, ADisplayWithoutAWindowManagerGetsUnmanagedWindows)
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);
    ASSERT_EQ(ManagedSetting(), "<none>");
    testpaths::RunUnix("PATH=/usr/bin:/bin:$PATH; . '" + testpaths::UnixPath(testpaths::SourceDir())
                       + "/scripts/wine-wm.sh' && wine_choose_window_management $WINEPREFIX");
    EXPECT_EQ(ManagedSetting(), "N");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);
}
