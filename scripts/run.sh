#!/usr/bin/env bash
# Builds Tessarine, installs it into the user's Wine prefix (scripts/install.sh) and starts it from
# there under Wine on the current display, with an optional picture or folder path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The program and the console converter (build/tools/picconv.exe, one small file more): not the
# tests, which the test command builds.
"$here/build.sh" --target tessarine picconv
export WINEDEBUG=${WINEDEBUG:--all}
. "$here/code-page.sh"
wine_writes_utf8
# The user's own prefix, made on first use, with the caption-button font in place.
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
prefix=$WINEPREFIX
. "$here/wine-fonts.sh"
if [ -d "$prefix/drive_c/windows" ]; then
    wine_install_marlett "$prefix"
else
    wine_seed_marlett "$prefix"
    # An update, not -i, which would start a second service manager beside the loader's own.
    WINEPREFIX=$prefix wineboot -u >/dev/null 2>&1 || true
fi
# Started from its own folder, where its library is, out of the build tree's reach.
"$here/install.sh"
installed='C:\Program Files\Tessarine\tessarine.exe'
# On a display without a window manager, windows that close leave the screen at once.
. "$here/wine-wm.sh"
wine_choose_window_management "$prefix"
if [ $# -gt 0 ]; then
    exec wine "$installed" "$(winepath -w "$1")"
fi
exec wine "$installed"
