#!/usr/bin/env bash
# Builds Tessarine and starts it under Wine on the current display, with an optional
# picture or folder path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
"$here/build.sh"
exe="${TESSARINE_BUILD_DIR:-$root/build}/tessarine.exe"
if [ ! -f "$exe" ]; then
    echo "run: tessarine.exe is not built yet; the console converter build/tools/picconv.exe is." >&2
    exit 1
fi
export WINEDEBUG=${WINEDEBUG:--all}
# The user's own prefix, made on first use, with the caption-button font in place.
prefix=${WINEPREFIX:-$HOME/.wine}
. "$here/wine-fonts.sh"
if [ -d "$prefix/drive_c/windows" ]; then
    wine_install_marlett "$prefix"
else
    wine_seed_marlett "$prefix"
    WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 || true
fi
# Without a window manager (a bare X server such as Xvfb), Wine's X11 driver waits up to two seconds
# for one each time it hides a window it counts as managed (the full-screen picture, the slide show,
# dialogs), and the window stays on screen meanwhile. There the program runs with Wine's windows
# unmanaged, as the tests do; the setting is the program's own and is decided again at each start.
appkey='HKCU\Software\Wine\AppDefaults\tessarine.exe\X11 Driver'
if command -v xprop >/dev/null 2>&1 && ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    WINEPREFIX=$prefix wine reg add "$appkey" /v Managed /d N /f >/dev/null 2>&1 || true
else
    WINEPREFIX=$prefix wine reg delete "$appkey" /v Managed /f >/dev/null 2>&1 || true
fi
if [ $# -gt 0 ]; then
    exec wine "$exe" "$(winepath -w "$1")"
fi
exec wine "$exe"
