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
    # An update, not -i, which would start a second service manager beside the loader's own.
    WINEPREFIX=$prefix wineboot -u >/dev/null 2>&1 || true
fi
# On a display without a window manager, windows that close leave the screen at once.
. "$here/wine-wm.sh"
wine_choose_window_management "$prefix"
if [ $# -gt 0 ]; then
    exec wine "$exe" "$(winepath -w "$1")"
fi
exec wine "$exe"
