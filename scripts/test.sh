#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, in a throwaway prefix.
# Extra arguments go to ctest (for example -R CString).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TESSARINE_BUILD_DIR:-$root/build}
# The tests name the folders they read and write in the code page; one it cannot spell stops the run
# here, before anything is built.
. "$here/deps-env.sh"
. "$here/system.sh"
. "$here/code-page.sh"
code_page_require test "the clone" "$root"
code_page_require test "the build folder" "$build"
code_page_require test "the picture libraries' cache" "$DEPS_DIR"
code_page_require test "the PDF printer's folder" "$(pdf_folder)"
# What only root can ready (the packages, then the PDF printer) is checked before the long build, so a
# user who needs root to do it learns so at once.
"$here/setup.sh" --machine-only
"$here/cups-pdf.sh"
"$here/build.sh"
"$here/check-format.sh"
# Reference pictures made by Linux tools (ImageMagick, netpbm, djpeg) for the reader tests:
# each tests/<folder>/prepare*.sh fills build/testdata/<folder>, once per build folder.
for script in "$root"/tests/*/prepare*.sh; do
    [ -f "$script" ] || continue
    folder=$(basename "$(dirname "$script")")
    mkdir -p "$build/testdata/$folder"
    bash "$script" "$build/testdata/$folder"
done
. "$here/wine-env.sh"
# The tests that use the clipboard or the real pointer run, one at a time, in a prefix of their
# own on a display of their own (see tests/CMakeLists.txt and wine-exec.sh): no other test's
# window comes over theirs, moves their pointer or fills their clipboard.
wine_private_desktop
# The tests' own scanner source, where Wine's source manager looks for sources.
if [ -f "$build/tests/twain/sane.ds" ]; then
    for prefix in "$WINEPREFIX" "$TESSARINE_DESKTOP_PREFIX"; do
        cp "$build/tests/twain/sane.ds" "$prefix/drive_c/windows/twain_32/sane.ds"
    done
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;sane.ds=n"
fi
. "$here/cups-pdf.sh"
cd "$build"
# Every test owns its registry keys, files and windows. No retry: a test that fails once has found
# something.
"$here/run-ctest.sh" "$@"
