#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Tessarine,
# then builds the picture libraries into the dependency cache.
# Safe to run again: each step is skipped when its result is already there. With --machine-only it
# does root's part alone (the architecture, the source archives, the packages).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(wine wine32:i386 fonts-wine g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
          nasm cmake make xvfb xauth dpkg-dev googletest imagemagick netpbm libjpeg-turbo-progs
          x11-apps clang-format)
# Printing tests: a CUPS scheduler with a PDF printer, Wine's 32-bit CUPS client, PDF readers, and
# ipptool, which finds a test run's jobs to remove them.
packages+=(cups printer-driver-cups-pdf libcups2:i386 poppler-utils cups-ipp-utils)

. "$here/system.sh"

# Sets missing, need_arch and need_src to what the machine still lacks; reads only.
sources=/etc/apt/sources.list.d/debian.sources
srcfile=/etc/apt/sources.list.d/tessarine-deb-src.sources
check_machine() {
    missing=()
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    need_arch=0
    dpkg --print-foreign-architectures | grep -qx i386 || need_arch=1
    need_src=0
    if [ ! -f "$srcfile" ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
        && ! grep -qs '^deb-src' /etc/apt/sources.list; then
        need_src=1
    fi
}

machine_needs_work() {
    [ ${#missing[@]} -gt 0 ] || [ $need_arch = 1 ] || [ $need_src = 1 ]
}

# Root's part: the i386 architecture, the source archives and the packages.
change_machine() {
    if [ $need_arch = 1 ]; then
        dpkg --add-architecture i386
    fi
    if [ $need_src = 1 ]; then
        # Same archives as the machine's own binary entries, for source packages.
        if [ -f "$sources" ]; then
            sed -e 's/^Types:.*/Types: deb-src/' "$sources" > "$srcfile"
        else
            grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' \
                > /etc/apt/sources.list.d/tessarine-deb-src.list
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

check_machine
if machine_needs_work; then
    if [ "$(id -u)" = 0 ]; then
        # Set-ups at once (two clones on a fresh machine) would meet on apt's and dpkg's locks and
        # fail: a later one waits for the first, then finds what the first installed.
        machine_lock setup
        check_machine
        if machine_needs_work; then
            change_machine
        fi
        machine_unlock
    elif can_be_root; then
        echo "setup: the machine lacks ${missing[*]:-its source archives}; installing through sudo"
        as_root "$here/setup.sh" --machine-only
    else
        echo "setup: the machine lacks ${missing[*]:-its source archives}; run $(shell_quote "$here/setup.sh") --machine-only once as root" >&2
        exit 1
    fi
fi
# The picture libraries are built into the caller's own cache, not root's.
[ "${1:-}" = --machine-only ] && exit 0

"$here/build-deps.sh"
