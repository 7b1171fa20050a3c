#!/usr/bin/env bash
# MP3OutRip.sh KESTRIP_RIP DEMO_DIR OUT_FOLDER
# Rips every music track of the demo disc with `kestrip-rip ... MP3` and checks each file
# against the track's bytes cut from the BIN (MP3OutCheck.sh: 128 kb/s, 44.1 kHz, two
# channels, the length of the track, correlation of the decoded audio with the track).
set -euo pipefail
rip=$1 demo=$2 out=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$out"
mkdir -p "$out"
tracks=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  name=$(printf 'Track-%02d.mp3' "$number")
  "$rip" "$demo/demo.cue" "$number" MP3 "$out/$name" </dev/null >/dev/null
  dd if="$demo/demo.bin" of="$out/$name.raw" bs=2352 skip="$first" count="$sectors" status=none
  printf 'kbps=128\nrate=44100\nsource=%s.raw\nsource_channels=2\ncompare_seconds=15\nno_tags=1\n' "$name" >"$out/$name.expected"
  bash "$here/MP3OutCheck.sh" "$out/$name" </dev/null
  tracks=$((tracks + 1))
done < <(grep -v '^#' "$demo/demo.tracks.txt")
[ "$tracks" -gt 0 ] || { echo "FAIL: no music tracks in $demo/demo.tracks.txt" >&2; exit 1; }
echo "$tracks tracks ripped and checked"
