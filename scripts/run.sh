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
if [ $# -gt 0 ]; then
    exec wine "$exe" "$(winepath -w "$1")"
fi
exec wine "$exe"
