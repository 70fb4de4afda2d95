#!/usr/bin/env bash
# What the program costs at rest, under Xvfb in a throwaway Wine prefix, in two scenes:
#   default window: tessarine.exe started without a path (the main window, the library bar and the
#     explorer window that opens by itself, on an empty folder);
#   pictures: started on a folder of 60 photographs (an explorer on it), then a photograph and an
#     animated GIF opened by later starts, as a user opens them; the animation plays once through
#     ("DefaultRepetition" 0) and stands finished on its last frame;
#   2,000 pictures: started on a folder of 2,000 small JPEGs (an explorer on it), left until every
#     thumbnail is built: what rest costs must not grow with a list's size.
# Each scene is left alone for SECONDS (default 30) once it has settled. The program's process and its
# wineserver are sampled through /proc/<pid>/stat (utime + stime) at the start and the end of that
# time; the figure is their CPU time as a percentage of one core, first with the cool bar's animated
# button on ("CoolBarAnimation" 1, the default), then with it off. Aim, with the cool bar's animation
# off: under 1% on the default window, under 2% with the pictures, and the 2,000 pictures within a
# point of the default window; with it on, at most 3%.
# Usage: bench/idle.sh   (TESSARINE_BUILD_DIR, SECONDS_AT_REST and SETTLE may be set; SETTLE is the
# start-up time left before sampling, default 10 s, twice that for the pictures' scene and four times
# for the 2,000 pictures, whose thumbnails are built meanwhile)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TESSARINE_BUILD_DIR:-$root/build}
rest=${SECONDS_AT_REST:-30}
settle=${SETTLE:-10}
exe="$build/tessarine.exe"

[ -f "$build/CMakeCache.txt" ] && cmake "$build" >/dev/null
TESSARINE_BUILD_DIR=$build "$root/scripts/build.sh" --target tessarine >/dev/null

. "$root/scripts/wine-env.sh"
# The library and the folder the explorer window opens on, both empty, inside the throwaway folder.
home="$_wine_tmp/rest"
mkdir -p "$home/library"
# The pictures' scene: 60 small photographs and a GIF of three frames.
pictures="$_wine_tmp/pictures"
mkdir -p "$pictures"
for n in $(seq -w 1 60); do
    convert -size 640x480 -seed "$n" plasma:fractal -quality 85 "$pictures/photo-$n.jpg"
done
convert -delay 20 -size 160x120 xc:red xc:green xc:blue "$_wine_tmp/moving.gif"
# The large folder: 2,000 copies of a small photograph (the same bytes cost the builder the same).
many="$_wine_tmp/many"
mkdir -p "$many"
convert -size 160x120 -seed 7 plasma:fractal -quality 85 "$many/small-0001.jpg"
for n in $(seq -w 2 2000); do cp "$many/small-0001.jpg" "$many/small-$n.jpg"; done
winpath() { echo "Z:${1//\//\\}"; }
key='HKCU\Software\Orvanel\Tessarine 3.0'
settings() {
    local name
    # No dialog waits for a click: the welcome window and the start-up warnings stay away.
    for name in ShowWelcome ShowWarnAssoc ShowWarnColor16 ShowWarnColor ShowWarnComponents; do
        wine reg add "$key\\prefs" /v "$name" /t REG_DWORD /d 0 /f >/dev/null 2>&1
    done
    wine reg add "$key\\prefs" /v CoolBarAnimation /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wine reg add "$key\\specs" /v DefaultRepetition /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add "$key\\folders" /v LibrarianLocation /d "$(winpath "$home/library")" /f >/dev/null 2>&1
}

# The ticks of one process (utime + stime, fields 14 and 15 of /proc/<pid>/stat).
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

# The pid of this prefix's process whose name is $1 (wine names its processes after the program).
prefix_pid() {
    local pid
    for pid in $(pgrep -u "$(id -u)" -x -- "$1" || true); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

# Waits until the program's main window is up: a later start hands its path over only to a running
# one (sooner, it would start as a second program).
wait_for_main_window() {
    for _ in $(seq 600); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Orvanel Tessarine' && return 0
        sleep 0.1
    done
    echo "idle: no main window" >&2
    exit 1
}

# measure SCENE ANIMATION SETTLE [PATH...]: the program started on the first path (none: its default
# window), each further path handed to it by another start, as a user opens them one after another.
measure() {
    local scene=$1 animation=$2 wait=$3 program server hz t0p t0s t1p t1s path
    shift 3
    settings "$animation"
    local first=()
    [ $# -gt 0 ] && first=("$(winpath "$1")") && shift
    (cd "$home" && wine "$exe" "${first[@]}" >/dev/null 2>&1) &
    local launcher=$!
    program=""
    for _ in $(seq 600); do
        program=$(prefix_pid tessarine.exe) && break
        sleep 0.1
    done
    [ -n "$program" ] || { echo "idle: the program did not start" >&2; exit 1; }
    server=$(prefix_pid "wineserver(32|64)?") || { echo "idle: no wineserver for the prefix" >&2; exit 1; }
    [ $# -gt 0 ] && wait_for_main_window
    for path in "$@"; do
        (cd "$home" && timeout 60 wine "$exe" "$(winpath "$path")" >/dev/null 2>&1) || true
    done
    sleep "$wait"
    hz=$(getconf CLK_TCK)
    t0p=$(ticks "$program"); t0s=$(ticks "$server")
    sleep "$rest"
    t1p=$(ticks "$program"); t1s=$(ticks "$server")
    awk -v n="$scene" -v a="$animation" -v p=$((t1p - t0p)) -v s=$((t1s - t0s)) -v hz="$hz" -v t="$rest" 'BEGIN {
        printf "%-16s animation %s: program %5.2f%%  wineserver %5.2f%%  together %5.2f%% of one core\n",
               n ",", a ? "on " : "off", 100 * p / hz / t, 100 * s / hz / t, 100 * (p + s) / hz / t }'
    # Its settings do not matter past the run: the program is simply ended.
    kill "$program" 2>/dev/null || true
    wait "$launcher" 2>/dev/null || true
    true
}

echo "At rest for ${rest} s after ${settle} s of start-up ($(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)):"
for animation in 1 0; do
    measure "default window" "$animation" "$settle"
    measure "pictures" "$animation" $((2 * settle)) "$pictures" "$pictures/photo-01.jpg" "$_wine_tmp/moving.gif"
    measure "2,000 pictures" "$animation" $((4 * settle)) "$many"
done
