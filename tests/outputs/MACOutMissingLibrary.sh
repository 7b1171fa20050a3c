#!/usr/bin/env bash
# MACOutMissingLibrary.sh WINE_RUN TEST_PROGRAM FOLDER
# Runs the test program from a folder without MACDll.dll, with the working directory at the
# build's bin folder (which has it: it must not be searched), so the APE output's
# constructor has to report the missing library.
set -euo pipefail
wine_run=$1 program=$2 folder=$3
rm -rf "$folder"
mkdir -p "$folder"
cp "$program" "$folder/"
out=$("$wine_run" "$folder/${program##*/}" --gtest_filter='MACOutMissingLibrary.*' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
grep -q '\[  PASSED  \] 1 test' <<<"$out" || { echo "FAIL: the check did not pass" >&2; exit 1; }
! grep -q 'SKIPPED' <<<"$out" || { echo "FAIL: MACDll.dll was beside the program" >&2; exit 1; }
