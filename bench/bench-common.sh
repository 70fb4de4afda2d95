# What the JPEG benchmarks share, sourced by them after setting root, build, photos, runs and
# count: the tools check, the photographs made once, the benchmark program built, and best_ms.

# bench_need_tools NAME TOOL...: stops the benchmark NAME when a tool is missing.
bench_need_tools() {
    local name=$1 tool
    shift
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is missing" >&2; exit 1; }
    done
}

# Twenty 4000 x 3000 photographs (plasma and noise, JPEG quality 90, 4:2:0), made once.
bench_make_photos() {
    mkdir -p "$photos"
    make_photo() {
        local n=$1 dir=$2
        local out="$dir/photo-$n.jpg"
        [ -s "$out" ] && return 0
        convert -size 4000x3000 -seed "$n" plasma:fractal -blur 0x1 -attenuate 0.4 +noise Gaussian \
                -sampling-factor 2x2 -quality 90 "$out.tmp.jpg" && mv "$out.tmp.jpg" "$out"
    }
    export -f make_photo
    local missing=0 n
    for n in $(seq -w 1 "$count"); do [ -s "$photos/photo-$n.jpg" ] || missing=1; done
    if [ $missing = 1 ]; then
        echo "Making $count photographs in $photos (once)..."
        seq -w 1 "$count" | xargs -P "$(nproc)" -I{} bash -c 'make_photo "$1" "$2"' _ {} "$photos"
    fi
}

# bench_build TARGET: builds the benchmark program and sets bench to it.
bench_build() {
    # A build folder made before this benchmark existed learns of it by configuring again.
    [ -f "$build/CMakeCache.txt" ] && cmake "$build" >/dev/null
    TESSARINE_BUILD_DIR=$build "$root/scripts/build.sh" --target "$1" >/dev/null
    bench="$build/bench/$1.exe"
}

# best_ms COMMAND...: the best wall time of RUNS runs of the command, in milliseconds.
best_ms() {
    local best="" t0 t1 ms
    for _ in $(seq "$runs"); do
        t0=$EPOCHREALTIME
        "$@" >/dev/null
        t1=$EPOCHREALTIME
        ms=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", (b - a) * 1000 }')
        if [ -z "$best" ] || awk -v m="$ms" -v b="$best" 'BEGIN { exit !(m < b) }'; then best=$ms; fi
    done
    echo "$best"
}
