#!/usr/bin/env bash
# FLACOutMissingLibrary.sh WINE_RUN TEST_PROGRAM FOLDER
# Runs the test program from a folder without libFLAC.dll, so that the real loader misses it
# and the FLAC output's constructor has to report it.
set -euo pipefail
wine_run=$1 program=$2 folder=$3
rm -rf "$folder"
mkdir -p "$folder"
cp "$program" "$folder/"
out=$("$wine_run" "$folder/${program##*/}" --gtest_filter='FLACOutMissingLibrary.*' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
grep -q '\[  PASSED  \] 1 test' <<<"$out" || { echo "FAIL: the check did not pass" >&2; exit 1; }
! grep -q 'SKIPPED' <<<"$out" || { echo "FAIL: libFLAC.dll was beside the program" >&2; exit 1; }
