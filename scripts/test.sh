#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, in a throwaway prefix.
# Extra arguments go to ctest (for example -R CString).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
"$here/build.sh"
. "$here/wine-env.sh"
cd "${TESSARINE_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j"$(nproc)" "$@"
