#!/usr/bin/env bash
# The large library folder of the list tests: 10,000 pictures and their record files, written from
# this side because making 20,000 new files one by one inside a Wine process takes minutes.
# Usage: prepare-scale.sh OUTDIR   (idempotent)
set -euo pipefail
out=${1:?usage: prepare-scale.sh OUTDIR}
here=$(cd "$(dirname "$0")" && pwd)
# The time zone scripts/wine-env.sh gives the tests.
TZ=Europe/Paris python3 "$here/make-record-folder.py" "$out/scale10k" 10000
