#!/usr/bin/env bash
# WaveOutRip.sh KESTRIP_RIP DEMO_DIR OUT_FOLDER
# Rips every music track of the demo disc with `kestrip-rip ... Wav`: each file must be the
# 44-byte header and the track's bytes cut from the BIN, and ffmpeg must decode it to them.
set -euo pipefail
rip=$1 demo=$2 out=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
tracks=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  file=$(printf '%s/Track-%02d.wav' "$out" "$number")
  "$rip" "$demo/demo.cue" "$number" Wav "$file" >/dev/null
  dd if="$demo/demo.bin" of="$file.expected.raw" bs=2352 skip="$first" count="$sectors" status=none
  size=$(stat -c %s "$file") bytes=$((sectors * 2352))
  [ "$size" = $((44 + bytes)) ] || fail "$file: $size bytes, want 44 + $bytes"
  tail -c +45 "$file" | cmp -s - "$file.expected.raw" || fail "$file: audio differs from the BIN"
  echo "pcm_s16le 2 44100 $((bytes / 4))" > "$file.expect"
  bash "$here/WaveOutCheck.sh" "$file"
  tracks=$((tracks + 1))
done < <(grep -v '^#' "$demo/demo.tracks.txt")
[ "$tracks" -gt 0 ] || fail "no music tracks in $demo/demo.tracks.txt"
