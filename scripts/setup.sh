#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Tessarine,
# then builds the picture libraries into the dependency cache.
# Safe to run again: each step is skipped when its result is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(wine wine32:i386 fonts-wine g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
          nasm cmake make xvfb xauth dpkg-dev googletest imagemagick netpbm libjpeg-turbo-progs
          x11-apps clang-format)
# Printing tests: a CUPS scheduler with a PDF printer, Wine's 32-bit CUPS client, PDF readers.
packages+=(cups printer-driver-cups-pdf libcups2:i386 poppler-utils)

# Set-ups at once (two clones on a fresh machine) would meet on apt's and dpkg's locks and fail: a
# later one waits for the first, then finds everything installed.
exec 8>/tmp/tessarine-setup.lock
flock 8

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sources=/etc/apt/sources.list.d/debian.sources
srcfile=/etc/apt/sources.list.d/tessarine-deb-src.sources
need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
fi
if [ ! -f "$srcfile" ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    # Same archives as the machine's own binary entries, for source packages.
    if [ -f "$sources" ]; then
        sed -e 's/^Types:.*/Types: deb-src/' "$sources" > "$srcfile"
    else
        grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' > /etc/apt/sources.list.d/tessarine-deb-src.list
        srcfile=/etc/apt/sources.list.d/tessarine-deb-src.list
    fi
    need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
fi

"$here/build-deps.sh"
