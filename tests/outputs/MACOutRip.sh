#!/usr/bin/env bash
# MACOutRip.sh FILE RAW SECTORS: a demo-disc track ripped to APE (rip-demo-disc.sh) must be
# level 2000 and decode in ffmpeg (CRC checks on) to exactly the track's bytes.
set -euo pipefail
file=$1 raw=$2
[ "$(head -c 4 "$file")" = "MAC " ] || { echo "FAIL: $file is not an APE file" >&2; exit 1; }
level=$(od -An -tu2 -j52 -N2 "$file" | tr -d ' ')
[ "$level" = 2000 ] || { echo "FAIL: $file has compression level $level, not 2000" >&2; exit 1; }
if ! ffmpeg -nostdin -v error -err_detect crccheck+explode -i "$file" -f s16le - 2>"$file.log" |
     cmp -s - "$raw" || [ -s "$file.log" ]; then
  echo "FAIL: $file does not decode to its track: $(head -c 300 "$file.log")" >&2
  exit 1
fi
echo "ok $(basename "$file"): $(stat -c %s "$raw") PCM bytes -> $(stat -c %s "$file") APE bytes"
