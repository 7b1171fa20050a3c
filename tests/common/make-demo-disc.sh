#!/usr/bin/env bash
# make-demo-disc.sh DEMODISC_SOURCES OUT_FOLDER
# The Windows build makes no demo disc of its own (its maker is a native tool): build the
# maker with the host compiler and write the disc, unless it is newer than the maker's sources.
set -euo pipefail
src=$1 out=$2
if [ -s "$out/demo.tracks.txt" ] && [ -z "$(find "$src" -newer "$out/demo.tracks.txt" -print -quit)" ]; then
  echo "demo disc up to date in $out"
  exit 0
fi
mkdir -p "$out"
${CXX_HOST:-c++} -std=c++20 -O2 "$src"/*.cpp -o "$out/kestrip-demodisc"
"$out/kestrip-demodisc" "$out"
