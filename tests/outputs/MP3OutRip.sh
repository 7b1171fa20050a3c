#!/usr/bin/env bash
# MP3OutRip.sh FILE RAW SECTORS: a demo-disc track ripped to MP3 (rip-demo-disc.sh), checked by
# MP3OutCheck.sh: 128 kb/s, 44.1 kHz, two channels, the length of the track, correlation of
# the decoded audio with the track.
set -euo pipefail
printf 'kbps=128\nrate=44100\nsource=%s\nsource_channels=2\ncompare_seconds=15\nno_tags=1\n' \
  "$(basename "$2")" >"$1.expected"
exec bash "$(dirname "${BASH_SOURCE[0]}")/MP3OutCheck.sh" "$1"
