#!/usr/bin/env bash
# Fails when a C++ file of the tree is not formatted as .clang-format says, and names it.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 -P"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" -n 25 clang-format --dry-run --Werror 2>/tmp/check-format.$$; then
    grep -o '^[^:]*:[0-9]*:[0-9]*: error' /tmp/check-format.$$ | cut -d: -f1 | sort -u | sed 's/^/check-format: not formatted: /' >&2
    rm -f /tmp/check-format.$$
    echo "check-format: run clang-format -i on the files above" >&2
    exit 1
fi
rm -f /tmp/check-format.$$
