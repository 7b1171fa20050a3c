#!/usr/bin/env bash
# WaveOutCheck.sh FILE.wav...    or    WaveOutCheck.sh --all FOLDER
# Decodes each WAV file with ffmpeg and compares, byte for byte, with FILE.wav.expected.raw
# (16-bit little-endian samples the test expects). FILE.wav.expect holds "codec channels
# rate frames": what ffprobe must report, frames being the length the header announces.
# With --all, every such file in the wave-* folders under FOLDER is checked.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }

files=()
if [ "${1:-}" = --all ]; then
  folder=$2
  while IFS= read -r -d '' f; do files+=("${f%.expected.raw}"); done \
    < <(find "$folder" -path '*/wave-*' -name '*.wav.expected.raw' -print0 | sort -z)
  [ ${#files[@]} -gt 0 ] || fail "no WAV files to check under $folder"
else
  files=("$@")
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for wav in "${files[@]}"; do
  [ -s "$wav" ] || fail "missing: $wav"
  read -r codec channels rate frames < "$wav.expect"
  probe=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,channels,sample_rate,duration_ts \
          -of default=nw=1:nk=1 "$wav" | tr '\n' ' ')
  [ "$probe" = "$codec $rate $channels $frames " ] ||
    fail "$wav: ffprobe says '$probe', want '$codec $rate $channels $frames'"
  if ! ffmpeg -nostdin -y -v error -i "$wav" -f s16le -acodec pcm_s16le "$tmp/out.raw" 2> "$tmp/err"; then
    fail "$wav: ffmpeg failed: $(cat "$tmp/err")"
  fi
  [ ! -s "$tmp/err" ] || fail "$wav: ffmpeg reported: $(cat "$tmp/err")"
  got=$(stat -c %s "$tmp/out.raw") want=$(stat -c %s "$wav.expected.raw")
  [ "$got" = "$want" ] || fail "$wav: ffmpeg decodes $got bytes, want $want"
  cmp -s "$tmp/out.raw" "$wav.expected.raw" ||
    fail "$wav: decoded samples differ ($(cmp "$tmp/out.raw" "$wav.expected.raw" | head -1))"
  echo "ok $(basename "$wav"): $codec, $channels ch, $rate Hz, $frames frames announced, $((got / 2 / channels)) decoded"
done
