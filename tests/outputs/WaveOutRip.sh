#!/usr/bin/env bash
# WaveOutRip.sh FILE RAW SECTORS: a demo-disc track ripped to WAV (rip-demo-disc.sh) must be the
# 44-byte header and the track's bytes, and ffmpeg must decode it to them.
set -euo pipefail
file=$1 bytes=$(($3 * 2352))
fail() { echo "FAIL: $*" >&2; exit 1; }
mv "$2" "$file.expected.raw"
size=$(stat -c %s "$file")
[ "$size" = $((44 + bytes)) ] || fail "$file: $size bytes, want 44 + $bytes"
tail -c +45 "$file" | cmp -s - "$file.expected.raw" || fail "$file: audio differs from the BIN"
echo "pcm_s16le 2 44100 $((bytes / 4))" > "$file.expect"
exec bash "$(dirname "${BASH_SOURCE[0]}")/WaveOutCheck.sh" "$file"
