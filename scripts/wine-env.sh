# Sourced: a throwaway Wine prefix, a fixed time zone and code page, and a display.
# Sets WINEPREFIX and DISPLAY, starts a persistent wineserver, and installs a trap that
# takes everything down again. wine_private_desktop adds a second prefix on a display of its own.
_wine_prefixes=()
_xvfb_pids=()
_wine_cleanup_steps=()
# Runs that command first when everything is taken down.
wine_env_on_cleanup() {
    _wine_cleanup_steps+=("$1")
}
# Debian's Wine keeps a prefix's server socket in /tmp/wine-XXXXXX/server-<device>-<inode>, the
# random part written in the prefix's "wineserver" file: taken away with the prefix, once its server
# has ended.
wine_remove_server_dir() {
    local prefix=$1 dir
    dir=$(cat "$prefix/wineserver" 2>/dev/null) || return 0
    case $dir in wine-*) ;; *) return 0 ;; esac
    rm -rf "/tmp/$dir/$(printf 'server-%s-%x' "$(stat -c %D "$prefix")" "$(stat -c %i "$prefix")")"
    rmdir "/tmp/$dir" 2>/dev/null || true
}
wine_env_cleanup() {
    local prefix pid step
    for step in "${_wine_cleanup_steps[@]}"; do
        "$step" || true
    done
    for prefix in "${_wine_prefixes[@]}"; do
        WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
        WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
        wine_remove_server_dir "$prefix"
    done
    for pid in "${_xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    [ -n "${_wine_tmp:-}" ] && rm -rf "$_wine_tmp"
}
_wine_tmp=$(mktemp -d /tmp/tessarine-wine.XXXXXX)
export WINEPREFIX="$_wine_tmp/prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export TZ=Europe/Paris
# Wine's sound driver is a PulseAudio client, which keeps its runtime files in XDG_RUNTIME_DIR, else
# in a /tmp/pulse-XXXXXX folder it never removes: without a session's folder, the run lends its own.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$_wine_tmp/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
# Wine's recycle bin is the desktop trash in XDG_DATA_HOME (else ~/.local/share/Trash, whenever
# ~/.local/share exists): the run's own, so that what a test deletes through the shell never reaches the
# user's trash, and goes with the run.
export XDG_DATA_HOME="$_wine_tmp/data"
mkdir -p "$XDG_DATA_HOME"
# A Western European locale gives Wine the ANSI code page 1252.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
trap wine_env_cleanup EXIT

# Starts an Xvfb on a display number it picks itself (free of every other run's), and sets
# _xvfb_display to it once the server takes connections.
wine_start_xvfb() {
    local ready
    ready=$(mktemp "$_wine_tmp/xvfb.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
    _xvfb_pids+=($!)
    for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.1; done
    _xvfb_display=":$(tr -d '[:space:]' <"$ready")"
    [ "$_xvfb_display" != ":" ]
}

if [ -z "${DISPLAY:-}" ]; then
    wine_start_xvfb
    export DISPLAY=$_xvfb_display
fi

. "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.sh"
# Xvfb runs no window manager: unmanaged windows keep Wine from waiting two seconds for one
# each time a top-level window is hidden. A program that crashes starts Wine's debugger, which
# writes the backtrace (with the build's symbols) to the program's own output, so into the test
# log, and shows no box that would wait for a click.
cat > "$_wine_tmp/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"="winedbg --auto %ld %ld"
"Auto"="1"

[HKEY_CURRENT_USER\Environment]
"TEMP"="C:\\Temp"
"TMP"="C:\\Temp"
REG

# Makes the prefix given, on the display given (else the current one), with its persistent
# server, its fonts and the settings above; the trap stops its server.
wine_make_prefix() {
    local prefix=$1 display=${2:-$DISPLAY}
    _wine_prefixes+=("$prefix")
    # The persistent server first: started after the prefix, it would find the prefix's first
    # server still lingering, give way, and every test program would start Wine's services again
    # cold.
    mkdir -p "$prefix"
    WINEPREFIX=$prefix wineserver -p 2>/dev/null || true
    wine_seed_marlett "$prefix"
    # An update, not -i: Wine's loader already boots a new prefix, and a second boot starts a second
    # service manager beside the first; a service started by one then reports to the other, and
    # every program that starts COM waits ten seconds for RpcSs.
    DISPLAY=$display WINEPREFIX=$prefix wineboot -u >/dev/null 2>&1 || true
    # The programs' temporary folder, where the tests make their files: the same path for every user
    # and every run (Wine's own would be C:\users\<name>\Temp).
    mkdir -p "$prefix/drive_c/Temp"
    DISPLAY=$display WINEPREFIX=$prefix wine reg import "Z:${_wine_tmp//\//\\}\\settings.reg" \
        >/dev/null 2>&1 || true
    # A program that waits for the whole run (on a pipe that never ends). Without one, Wine ends
    # the prefix's own processes (the desktop, the services) a few seconds after its last program
    # ends, and the next test program starts them again: they inherit its output, and the test
    # seems to run until they end, which on a busy prefix is never.
    local keep="$prefix.keep"
    mkfifo "$keep"
    DISPLAY=$display WINEPREFIX=$prefix wine cmd /c "set /p x=" <>"$keep" >/dev/null 2>&1 &
}
wine_make_prefix "$WINEPREFIX"

# A second prefix (its own server, so its own windows, pointer and clipboard) on a private Xvfb
# that nothing else draws on: TESSARINE_DESKTOP_PREFIX and TESSARINE_DESKTOP_DISPLAY.
wine_private_desktop() {
    wine_start_xvfb
    export TESSARINE_DESKTOP_DISPLAY=$_xvfb_display
    export TESSARINE_DESKTOP_PREFIX="$_wine_tmp/desktop-prefix"
    wine_make_prefix "$TESSARINE_DESKTOP_PREFIX" "$TESSARINE_DESKTOP_DISPLAY"
}
