#!/usr/bin/env bash
# Speed of the library search against grep, over the same 10,000 record files in one run:
#   the search's worker (bench/SearchBench.exe under Wine, timed inside its process, so Wine's
#   start-up is not counted): count the record files, read each one's header, match the word
#   against
#   grep -r -l WORD over the same folder, timed around each run, as a user would run it.
# Each time is the best of RUNS (default 5). Aim: the search at most 3x grep's time.
# Usage: bench/search-vs-grep.sh   (TESSARINE_BUILD_DIR, RECORDS, WORD and RUNS may be set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TESSARINE_BUILD_DIR:-$root/build}
runs=${RUNS:-5}
records=${RECORDS:-10000}
word=${WORD:-marmotte}
bench="$build/bench/SearchBench.exe"
[ -f "$bench" ] || { echo "search-vs-grep: build $bench first (scripts/build.sh)" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
library=$(mktemp -d /tmp/tessarine-search-bench.XXXXXX)
trap 'rm -rf "$library"; wine_env_cleanup' EXIT
winlib="Z:${library//\//\\}"
wine "$bench" --make "$winlib" "$records"

ours=$(wine "$bench" --runs "$runs" "$winlib" "$word")
echo "search: $ours"
ours_ms=$(sed -n 's/.*best_ms \([0-9.]*\).*/\1/p' <<<"$ours")
ours_hits=$(sed -n 's/.*hits \([0-9]*\).*/\1/p' <<<"$ours")

best=""
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    grep_hits=$(grep -r -l "$word" "$library" | wc -l)
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
grep_ms=$(awk -v us="$best" 'BEGIN { printf "%.2f", us / 1000 }')
echo "grep -r -l: files $grep_hits best_ms $grep_ms"
[ "$ours_hits" = "$grep_hits" ] || echo "note: the search found $ours_hits pictures, grep $grep_hits files"
awk -v a="$ours_ms" -v b="$grep_ms" -v n="$records" 'BEGIN {
    printf "ratio %.2fx (aim: at most 3x); search %.1f us per record, grep %.1f us per file\n", a / b, a * 1000 / n, b * 1000 / n
}'
