#!/usr/bin/env bash
# FLACOutRip.sh KESTRIP_RIP DEMO_DIR OUT_FOLDER
# Rips every music track of the demo disc with `kestrip-rip ... FLAC` and checks each file
# against the track's bytes cut from the BIN (FLACOutCheck.sh: flac -t, metaflac, decode).
set -euo pipefail
rip=$1 demo=$2 out=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$out"
mkdir -p "$out"
tracks=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  file=$(printf '%s/Track-%02d.flac' "$out" "$number")
  "$rip" "$demo/demo.cue" "$number" FLAC "$file" >/dev/null
  dd if="$demo/demo.bin" of="$file.expected.raw" bs=2352 skip="$first" count="$sectors" status=none
  bash "$here/FLACOutCheck.sh" "$file"
  tracks=$((tracks + 1))
done < <(grep -v '^#' "$demo/demo.tracks.txt")
[ "$tracks" -gt 0 ] || { echo "FAIL: no music tracks in $demo/demo.tracks.txt" >&2; exit 1; }
