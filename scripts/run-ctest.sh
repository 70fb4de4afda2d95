#!/usr/bin/env bash
# Runs ctest in the current folder (a build folder) with the given arguments, then names each skipped
# test with its reason, and exits with ctest's status: a failed test fails the command and CI.
# CTEST_PARALLEL_LEVEL, when set, says how many tests run at once.
set -euo pipefail
status=0
ctest --output-on-failure -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}" "$@" || status=$?
# ctest names the skipped tests without their reasons: each one's own words, from its output.
awk '/: Skipped$/ { why = ""; taking = 1; next }
     taking && /^\[  SKIPPED \]/ { sub(/ \([0-9]+ ms\)$/, ""); print "skipped " $4 ":" why; taking = 0; next }
     taking { why = why " " $0 }' Testing/Temporary/LastTest.log 2>/dev/null || true
exit $status
