#!/usr/bin/env bash
# Installs the built program into the Wine prefix's "Program Files" (WINEPREFIX, else ~/.wine), copied
# only when it changed, where no build, clean or test run reaches it. The library's default folder is
# the program's own, so the user's pictures live there too.
# A library that an earlier run kept in a build tree (the settings name that tree, the default then)
# is moved there with all its files when the new place holds none; the settings then name no folder
# and the default applies. Otherwise nothing moves, and one line says where each library is.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TESSARINE_BUILD_DIR:-$root/build}
prefix=${WINEPREFIX:-$HOME/.wine}
home="$prefix/drive_c/Program Files/Tessarine"
shown='C:\Program Files\Tessarine'
mkdir -p "$home"
cmp -s "$build/tessarine.exe" "$home/tessarine.exe" || cp "$build/tessarine.exe" "$home/tessarine.exe"

key='HKCU\Software\Orvanel\Tessarine 3.0\folders'
# The settings as Wine exports them, in UTF-16: what "reg query" prints into a pipe is in the console's
# code page, where an accented letter of the path comes back as another one and the path names nothing.
exported=$(mktemp)
trap 'rm -f "$exported"' EXIT
WINEPREFIX=$prefix wine reg export "$key" "$(WINEPREFIX=$prefix winepath -w "$exported")" /y >/dev/null 2>&1 || true
setting() {
    iconv -f UTF-16 -t UTF-8 "$exported" 2>/dev/null | tr -d '\r' | sed -n "s/^\"$1\"=\"\(.*\)\"$/\1/p" \
        | sed 's/\\\(.\)/\1/g'
}
stored=$(setting LibrarianLocation)
[ -n "$stored" ] || exit 0
old=$(WINEPREFIX=$prefix winepath -u "$stored" 2>/dev/null) || exit 0
old=${old%/}
# A folder the user chose stays theirs: only a build tree (or the build folder, gone) is left.
[ -f "$old/CMakeCache.txt" ] || [ "$(realpath -m "$old")" = "$(realpath -m "$build")" ] || exit 0

folders=("Images" "Images Favorites" "Images Protégées" "Eléments Supprimés")
found=() taken=()
for f in "${folders[@]}"; do
    [ -e "$old/$f" ] && found+=("$f")
    [ -e "$home/$f" ] && taken+=("$f")
done
if [ ${#found[@]} -gt 0 ] && [ ${#taken[@]} -gt 0 ]; then
    echo "run: the picture library in $old stays in use there: $shown already holds another; move one into the other, or choose the folder in \"Préférences\"" >&2
    exit 0
fi
for f in "${found[@]}"; do
    mv -n "$old/$f" "$home/"
done
WINEPREFIX=$prefix wine reg delete "$key" /v LibrarianLocation /f >/dev/null 2>&1
# The bar opens again on the folder it showed last, now in the new place.
last=$(setting LibrarianLastPath)
stored=${stored%\\}
rest=${last#"$stored"}
if [ -n "$last" ] && [ "$rest" != "$last" ] && { [ -z "$rest" ] || [ "${rest:0:1}" = '\' ]; }; then
    WINEPREFIX=$prefix wine reg add "$key" /v LibrarianLastPath /d "$shown${rest%\\}" /f >/dev/null 2>&1
fi
if [ ${#found[@]} -gt 0 ]; then
    echo "run: the picture library moved from $old to $shown ($home)"
fi
