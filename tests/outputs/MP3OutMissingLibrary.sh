#!/usr/bin/env bash
# MP3OutMissingLibrary.sh WINE_RUN TEST_EXE FOLDER
# Runs the MP3 output's test program from FOLDER, which holds a copy of it and nothing else:
# constructing an output there must fail for want of lame_enc.dll.
set -euo pipefail
wine_run=$1 exe=$2 folder=$3
rm -rf "$folder"
mkdir -p "$folder"
cp "$exe" "$folder/"
log=$("$wine_run" "$folder/${exe##*/}" --gtest_filter=MP3OutLibrary.ProgramFolderWithoutLameDll 2>&1) ||
  { echo "$log"; exit 1; }
echo "$log"
grep -q '^\[  PASSED  \] 1 test' <<<"$log" || { echo "FAIL: the case did not pass"; exit 1; }
! grep -q 'SKIPPED' <<<"$log" || { echo "FAIL: the case was skipped"; exit 1; }
