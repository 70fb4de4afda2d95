#!/usr/bin/env bash
# Speed of the thumbnail lists, on the same twenty 12-megapixel photographs as jpeg-vs-djpeg.sh:
#   build: time per picture to build its thumbnail and write its record file, against
#          djpeg -scale 1/8 on the same files in the same run          (aim: at most 1.15x)
#   fill:  time per record to fill a list from 10,000 record files     (aim: under 0.3 ms)
#   steps: the longest single step of the idle thumbnail builder, against the longest single
#          thumbnail decode of those photographs (a step is one picture's decode at most)
#   folder: a folder of 5,000 small JPEGs built by the idle steps on the program's 50 ms timer,
#          against decoding the same thumbnails in a loop                  (aim: at most 1.2x)
# The program's side (bench/ThumbListBench.exe under Wine) times itself inside its process; djpeg is
# timed around each run. Each time is the best of RUNS (default 3).
# Usage: bench/thumblist.sh   (TESSARINE_BUILD_DIR, BENCH_PHOTOS and RUNS may be set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TESSARINE_BUILD_DIR:-$root/build}
photos=${BENCH_PHOTOS:-${XDG_CACHE_HOME:-$HOME/.cache}/tessarine-bench/photos}
runs=${RUNS:-3}
count=20

. "$here/bench-common.sh"
bench_need_tools thumblist djpeg convert wine python3
bench_make_photos
bench_build ThumbListBench

. "$root/scripts/wine-env.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; wine_env_cleanup' EXIT
# The photographs in a folder of their own: the builder lists the whole folder.
mkdir -p "$work/photos"
cp "$photos"/photo-*.jpg "$work/photos/"
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

echo "== build: thumbnail and record file per picture, against djpeg -scale 1/8"
# decode_ms: the thumbnail reader alone (LoadThumbnailDIB), for what the record adds to it.
printf "%-16s %10s %9s %9s %10s %7s\n" file build_ms save_ms decode_ms djpeg/8 ratio
sum_build=0; sum_djpeg=0; sum_decode=0
for f in "$work"/photos/photo-*.jpg; do
    read -r _ ours _ save decode < <(wine "$bench" build --runs "$runs" "$(winpath "$f")" | tr -d '\r' | grep -v '^#')
    scaled=$(best_ms djpeg -scale 1/8 -outfile /dev/null "$f")
    printf "%-16s %10.2f %9.2f %9.2f %10.2f %7.3f\n" "$(basename "$f")" "$ours" "$save" "$decode" "$scaled" \
        "$(awk -v a="$ours" -v b="$scaled" 'BEGIN { print a / b }')"
    sum_build=$(awk -v a="$sum_build" -v b="$ours" 'BEGIN { print a + b }')
    sum_djpeg=$(awk -v a="$sum_djpeg" -v b="$scaled" 'BEGIN { print a + b }')
    sum_decode=$(awk -v a="$sum_decode" -v b="$decode" 'BEGIN { print a + b }')
done
build_ratio=$(awk -v a="$sum_build" -v b="$sum_djpeg" 'BEGIN { printf "%.3f", a / b }')
reader_ratio=$(awk -v a="$sum_decode" -v b="$sum_djpeg" 'BEGIN { printf "%.3f", a / b }')
record_share=$(awk -v a="$sum_build" -v b="$sum_decode" 'BEGIN { printf "%.3f", a / b }')

echo
echo "== fill: a list of 10,000 record files (84 x 63 thumbnails), best of $runs"
TZ=Europe/Paris python3 "$root/tests/piclist/make-record-folder.py" "$work/records" 10000 84 63
best_fill=""
for _ in $(seq "$runs"); do
    line=$(wine "$bench" fill "$(winpath "$work/records")" 10000 | tr -d '\r' | grep -v '^#')
    echo "$line   (records fill_ms per_record_ms read_only_per_record_ms resort_ms not_from_record)"
    per=$(echo "$line" | awk '{ print $3 }')
    if [ -z "$best_fill" ] || awk -v m="$per" -v b="$best_fill" 'BEGIN { exit !(m < b) }'; then best_fill=$per; fi
done

echo
echo "== steps: the idle builder over the photographs' folder"
files=()
for f in "$work"/photos/photo-*.jpg; do files+=("$(winpath "$f")"); done
steps=$(wine "$bench" steps "${files[@]}" | tr -d '\r' | grep -v '^#')
read -r nsteps longest_step longest_decode <<< "$steps"
echo "$nsteps steps, longest step ${longest_step} ms, longest single thumbnail decode ${longest_decode} ms"

echo
echo "== folder: 5,000 small pictures built by the idle steps, against their decodes in a loop"
folder_line=$(wine "$bench" folder "$(winpath "$work")\\small" 5000 | tr -d '\r' | grep -v '^#')
echo "$folder_line   (pictures built builder_ms/picture loop_ms/picture ratio_to_loop ratio_to_own_work idle_steps longest_step_ms)"
read -r _ _ _ _ folder_ratio folder_own _ folder_step <<< "$folder_line"

echo
echo "thumbnail + record vs djpeg -scale 1/8: ${build_ratio}x (aim 1.15)"
echo "  of which the thumbnail reader alone vs djpeg -scale 1/8: ${reader_ratio}x; thumbnail + record vs the reader alone: ${record_share}x"
echo "fill of 10,000 records: ${best_fill} ms per record (aim 0.3)"
echo "longest builder step: ${longest_step} ms; longest decode ${longest_decode} ms"
status=0
awk -v r="$build_ratio" 'BEGIN { exit !(r <= 1.15) }' || { echo "ABOVE AIM: build ratio"; status=1; }
awk -v r="$best_fill" 'BEGIN { exit !(r < 0.3) }' || { echo "ABOVE AIM: fill per record"; status=1; }
# One step is one decode and one record write: well under two decodes.
awk -v s="$longest_step" -v d="$longest_decode" 'BEGIN { exit !(s < 2 * d) }' || { echo "ABOVE AIM: a builder step did more than one picture"; status=1; }
echo "5,000 small pictures by the idle steps vs a decode loop: ${folder_ratio}x (aim 1.2); vs their own work in the steps: ${folder_own}x; longest step ${folder_step} ms"
awk -v r="$folder_ratio" 'BEGIN { exit !(r <= 1.2) }' || { echo "ABOVE AIM: idle building of small pictures"; status=1; }
[ $status = 0 ] && echo "PASS"
exit $status
