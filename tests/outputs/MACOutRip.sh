#!/usr/bin/env bash
# MACOutRip.sh KESTRIP_RIP DEMO_DIR OUT_FOLDER
# Rips every music track of the demo disc with `kestrip-rip ... Ape` and checks that ffmpeg
# (CRC checks on) decodes each file to exactly the track's bytes cut from the BIN.
set -euo pipefail
rip=$1 demo=$2 out=$3
rm -rf "$out"
mkdir -p "$out"
tracks=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  file=$(printf '%s/Track-%02d.ape' "$out" "$number")
  "$rip" "$demo/demo.cue" "$number" Ape "$file" >/dev/null
  dd if="$demo/demo.bin" of="$file.raw" bs=2352 skip="$first" count="$sectors" status=none
  [ "$(head -c 4 "$file")" = "MAC " ] || { echo "FAIL: $file is not an APE file" >&2; exit 1; }
  level=$(od -An -tu2 -j52 -N2 "$file" | tr -d ' ')
  [ "$level" = 2000 ] || { echo "FAIL: $file has compression level $level, not 2000" >&2; exit 1; }
  if ! ffmpeg -nostdin -v error -err_detect crccheck+explode -i "$file" -f s16le - 2>"$file.log" |
       cmp -s - "$file.raw" || [ -s "$file.log" ]; then
    echo "FAIL: $file does not decode to track $number: $(head -c 300 "$file.log")" >&2
    exit 1
  fi
  echo "ok track $number: $(stat -c %s "$file.raw") PCM bytes -> $(stat -c %s "$file") APE bytes"
  tracks=$((tracks + 1))
done < <(grep -v '^#' "$demo/demo.tracks.txt")
[ "$tracks" -gt 0 ] || { echo "FAIL: no music tracks in $demo/demo.tracks.txt" >&2; exit 1; }
