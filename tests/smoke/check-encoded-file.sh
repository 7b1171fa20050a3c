#!/usr/bin/env bash
# check-encoded-file.sh ogg|flac|mp3 FILE
# Checks a file the smoke test encoded with the real tools: the format's own checker, then
# ffprobe for stream properties and title, then ffmpeg for "one second, not silence".
set -euo pipefail
kind=$1 file=$2
title="Smoke Chord"
fail() { echo "FAIL $kind: $*" >&2; exit 1; }
[ -s "$file" ] || fail "missing or empty: $file"

probe() { ffprobe -v error -select_streams a:0 -show_entries "$1" -of default=nw=1:nk=1 "$file"; }

case "$kind" in
  ogg)
    report=$(ogginfo "$file" 2>&1) || fail "ogginfo: $report"
    ! grep -Eqi 'warning|error' <<<"$report" || fail "ogginfo: $report"
    codec=vorbis ;;
  flac)
    flac -t -s "$file" || fail "flac -t rejects $file"
    codec=flac ;;
  mp3)
    codec=mp3
    [ "$(probe stream=bit_rate)" = 128000 ] || fail "bit rate $(probe stream=bit_rate)" ;;
  *) fail "unknown kind" ;;
esac

[ "$(probe stream=codec_name)" = "$codec" ] || fail "codec $(probe stream=codec_name), want $codec"
[ "$(probe stream=channels)" = 2 ] || fail "channels $(probe stream=channels)"
[ "$(probe stream=sample_rate)" = 44100 ] || fail "sample rate $(probe stream=sample_rate)"
probe format_tags=title:stream_tags=title | grep -qx "$title" || fail "no title \"$title\""

duration=$(probe format=duration)
# MP3 counts whole frames, encoder delay and padding included.
max=1.0; [ "$kind" = mp3 ] && max=1.1
awk -v d="$duration" -v max=$max 'BEGIN { exit !(d >= 0.99 && d <= max + 0.01) }' || fail "duration $duration s"

volume=$(ffmpeg -hide_banner -nostats -i "$file" -af volumedetect -f null - 2>&1 |
         sed -n 's/.*mean_volume: \(-*[0-9.]*\) dB.*/\1/p')
awk -v v="$volume" 'BEGIN { exit !(v != "" && v > -30) }' || fail "mean volume '$volume' dB: silence?"
echo "ok $kind: $codec, 2 ch, 44100 Hz, $duration s, mean $volume dB"
