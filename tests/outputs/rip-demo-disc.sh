#!/usr/bin/env bash
# rip-demo-disc.sh KESTRIP_RIP DEMO_DIR OUT_FOLDER FORMAT EXTENSION CHECK...
# Rips every music track of the demo disc with `kestrip-rip CUE N FORMAT FILE`, cuts the
# track's bytes from the BIN into FILE.raw and runs `CHECK... FILE FILE.raw SECTORS`.
set -euo pipefail
rip=$1 demo=$2 out=$3 format=$4 ext=$5
shift 5
rm -rf "$out"
mkdir -p "$out"
tracks=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  file=$(printf '%s/Track-%02d.%s' "$out" "$number" "$ext")
  "$rip" "$demo/demo.cue" "$number" "$format" "$file" </dev/null >/dev/null
  dd if="$demo/demo.bin" of="$file.raw" bs=2352 skip="$first" count="$sectors" status=none
  "$@" "$file" "$file.raw" "$sectors" </dev/null
  tracks=$((tracks + 1))
done < <(grep -v '^#' "$demo/demo.tracks.txt")
[ "$tracks" -gt 0 ] || { echo "FAIL: no music tracks in $demo/demo.tracks.txt" >&2; exit 1; }
echo "$tracks tracks ripped to $format and checked"
