# Sourced: a throwaway Wine prefix, a fixed time zone and code page, and a display.
# Sets WINEPREFIX and DISPLAY, starts a persistent wineserver, and installs a trap that
# takes everything down again.
wine_env_cleanup() {
    [ -n "${WINEPREFIX:-}" ] && WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
    [ -n "${_xvfb_pid:-}" ] && kill "$_xvfb_pid" 2>/dev/null || true
    [ -n "${_wine_tmp:-}" ] && rm -rf "$_wine_tmp"
}
_wine_tmp=$(mktemp -d /tmp/tessarine-wine.XXXXXX)
export WINEPREFIX="$_wine_tmp/prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export TZ=Europe/Paris
# A Western European locale gives Wine the ANSI code page 1252.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
trap wine_env_cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        _xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
        break
    done
fi
# The persistent server first: started after the prefix, it would find the prefix's first server
# still lingering, give way, and every test program would start Wine's services again cold.
mkdir -p "$WINEPREFIX"
wineserver -p 2>/dev/null || true
. "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.sh"
wine_seed_marlett "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
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
REG
_reg_file="Z:${_wine_tmp//\//\\}\\settings.reg"
wine reg import "$_reg_file" >/dev/null 2>&1 || true
