#!/usr/bin/env bash
# VorbisOutRip.sh KESTRIP_RIP DEMO_DIR OUT_FOLDER
# Rips every music track of the demo disc with `kestrip-rip ... Ogg` and checks each file with
# ogginfo, ffprobe and ffmpeg against the track's length (VorbisOutCheck.sh stream).
set -euo pipefail
rip=$1 demo=$2 out=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$out"
mkdir -p "$out"
tracks=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  file=$(printf '%s/Track-%02d.ogg' "$out" "$number")
  "$rip" "$demo/demo.cue" "$number" Ogg "$file" >/dev/null </dev/null
  bash "$here/VorbisOutCheck.sh" stream "$file" 2 44100 $((sectors * 588))
  tracks=$((tracks + 1))
done < <(grep -v '^#' "$demo/demo.tracks.txt")
[ "$tracks" -gt 0 ] || { echo "FAIL: no music tracks in $demo/demo.tracks.txt" >&2; exit 1; }
echo "$tracks tracks ripped to Ogg and accepted"
