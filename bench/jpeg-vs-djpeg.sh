#!/usr/bin/env bash
# Speed of the program's JPEG reader against libjpeg-turbo's own djpeg, on the same twenty
# 12-megapixel photographs in one run:
#   thumbnail (LoadThumbnailDIB into 84 x 68)  against  djpeg -scale 1/8   (limit 1.2x)
#   full decode (LoadJPEG, 24 bits)            against  djpeg              (limit 1.15x)
# The program's side (bench/JpegDecodeBench.exe under Wine) times itself inside its process, so
# Wine's start-up is not counted; djpeg is timed around each run, as a user would run it. Each time
# is the best of RUNS (default 5). Also checks that libjpeg-turbo's SIMD code is built in and used.
# Usage: bench/jpeg-vs-djpeg.sh   (TESSARINE_BUILD_DIR, BENCH_PHOTOS and RUNS may be set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TESSARINE_BUILD_DIR:-$root/build}
. "$root/scripts/deps-env.sh"
photos=${BENCH_PHOTOS:-${XDG_CACHE_HOME:-$HOME/.cache}/tessarine-bench/photos}
runs=${RUNS:-5}
count=20
# The benchmark program opens the photographs through Wine's Z: drive, by names in the code page.
. "$root/scripts/code-page.sh"
code_page_require jpeg-vs-djpeg "the photographs' folder" "$photos"

. "$here/bench-common.sh"
bench_need_tools jpeg-vs-djpeg djpeg convert wine
bench_make_photos
files=()
for n in $(seq -w 1 $count); do files+=("$photos/photo-$n.jpg"); done
bench_build JpegDecodeBench

# SIMD, statically: the library holds the SSE2/AVX2 routines.
simd=$(i686-w64-mingw32-nm "$DEPS_PREFIX/lib/libjpeg.a" 2>/dev/null | grep -c ' T _jsimd_.*_\(sse2\|avx2\)' || true)
echo "libjpeg-turbo SIMD routines in the Windows build: $simd"
[ "$simd" -gt 0 ] || { echo "FAIL: libjpeg-turbo was built without SIMD" >&2; exit 1; }

# The program's side times itself inside its process; djpeg is timed around each run. The two
# sides take turns file by file, so that a busy machine weighs on both alike.
. "$root/scripts/wine-env.sh"
ours=$(mktemp)
nosimd=$(mktemp)
trap 'rm -f "$ours" "$nosimd"; wine_env_cleanup' EXIT

printf "%-16s %10s %10s %7s   %10s %10s %7s\n" file thumb_ms djpeg/8 ratio full_ms djpeg ratio
sum_thumb=0; sum_scaled=0; sum_full=0; sum_djpeg=0
for f in "${files[@]}"; do
    wine "$bench" --runs "$runs" "Z:${f//\//\\}" > "$ours" || { echo "FAIL: $f" >&2; cat "$ours" >&2; exit 1; }
    read -r _ full thumb _ < <(grep -v '^#' "$ours")
    scaled=$(best_ms djpeg -scale 1/8 -outfile /dev/null "$f")
    plain=$(best_ms djpeg -outfile /dev/null "$f")
    printf "%-16s %10.2f %10.2f %7.3f   %10.2f %10.2f %7.3f\n" "$(basename "$f")" "$thumb" "$scaled" \
        "$(awk -v a="$thumb" -v b="$scaled" 'BEGIN { print a / b }')" "$full" "$plain" \
        "$(awk -v a="$full" -v b="$plain" 'BEGIN { print a / b }')"
    sum_thumb=$(awk -v a="$sum_thumb" -v b="$thumb" 'BEGIN { print a + b }')
    sum_scaled=$(awk -v a="$sum_scaled" -v b="$scaled" 'BEGIN { print a + b }')
    sum_full=$(awk -v a="$sum_full" -v b="$full" 'BEGIN { print a + b }')
    sum_djpeg=$(awk -v a="$sum_djpeg" -v b="$plain" 'BEGIN { print a + b }')
done

# SIMD, at run time: the same decodes with the library's SIMD switched off must be slower.
wine "$bench" --runs "$runs" "Z:${files[0]//\//\\}" > "$ours"
JSIMD_FORCENONE=1 wine "$bench" --runs "$runs" "Z:${files[0]//\//\\}" > "$nosimd"

thumb_ratio=$(awk -v a="$sum_thumb" -v b="$sum_scaled" 'BEGIN { printf "%.3f", a / b }')
full_ratio=$(awk -v a="$sum_full" -v b="$sum_djpeg" 'BEGIN { printf "%.3f", a / b }')
simd_full=$(awk '!/^#/ { print $2 }' "$nosimd")
with_full=$(awk '!/^#/ { print $2 }' "$ours")
simd_gain=$(awk -v a="$simd_full" -v b="$with_full" 'BEGIN { printf "%.2f", a / b }')
echo
echo "thumbnail 84x68 vs djpeg -scale 1/8: ${thumb_ratio}x (limit 1.2)"
echo "full decode     vs djpeg           : ${full_ratio}x (limit 1.15)"
echo "SIMD at run time: full decode ${simd_gain}x slower with JSIMD_FORCENONE=1"
status=0
awk -v r="$thumb_ratio" 'BEGIN { exit !(r <= 1.2) }' || { echo "FAIL: thumbnail ratio above 1.2"; status=1; }
awk -v r="$full_ratio" 'BEGIN { exit !(r <= 1.15) }' || { echo "FAIL: full decode ratio above 1.15"; status=1; }
awk -v g="$simd_gain" 'BEGIN { exit !(g >= 1.3) }' || { echo "FAIL: SIMD does not seem to be in use"; status=1; }
[ $status = 0 ] && echo "PASS"
exit $status
