#!/usr/bin/env bash
# VorbisOutMissingDll.sh WINE_RUN TEST_EXE FOLDER
# Runs the Windows test program from FOLDER, which holds ogg.dll but not vorbis.dll, with the
# working directory at the build's bin folder (which has every DLL: it must not be searched).
# Constructing TVorbisOut there must fail with vorbis.dll's message.
set -euo pipefail
wine_run=$1 exe=$2 folder=$3
rm -rf "$folder"
mkdir -p "$folder"
cp "$exe" "$(dirname "$exe")/ogg.dll" "$folder/"
status=0
out=$("$wine_run" "$folder/$(basename "$exe")" --gtest_filter=VorbisOutLibraries.ProgramLibrariesLoadAtStart 2>&1) || status=$?
echo "$out"
[ "$status" = 0 ] || { echo "FAIL: exit $status" >&2; exit 1; }
grep -q "constructed without vorbis.dll: vorbis.dll library could not be loaded." <<<"$out" ||
  { echo "FAIL: no vorbis.dll message" >&2; exit 1; }
grep -q "\[  PASSED  \] 1 test" <<<"$out" || { echo "FAIL: the case did not pass" >&2; exit 1; }
