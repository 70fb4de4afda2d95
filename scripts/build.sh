#!/usr/bin/env bash
# Builds Tessarine (the program, its tools and its tests) into build/, setting up the machine first
# when something is missing. Extra arguments go to cmake --build (run.sh asks for the program alone
# with --target).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
. "$here/deps-env.sh"

# Cheap when everything is there: it only checks the packages and the dependency cache.
"$here/setup.sh"

build=${TESSARINE_BUILD_DIR:-$root/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
          -DTESSARINE_DEPS_PREFIX="$DEPS_PREFIX" -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-exec.sh" >/dev/null
fi
# CMAKE_BUILD_PARALLEL_LEVEL, when set, leaves cores to others sharing the machine.
cmake --build "$build" -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" "$@"
