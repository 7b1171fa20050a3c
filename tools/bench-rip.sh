#!/usr/bin/env bash
# bench-rip.sh BUILD: rips every music track of the build's demo disc to each format with
# kestrip-rip and prints the speed in times real time and the size against the PCM.
set -euo pipefail
build=${1:?usage: bench-rip.sh BUILD}
disc=$build/demodisc
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
seconds=0 pcm=0
while read -r _ _ sectors kind _; do
  [ "$kind" = audio ] || continue
  seconds=$(awk -v s="$seconds" -v n="$sectors" 'BEGIN { print s + n / 75 }')
  pcm=$((pcm + sectors * 2352))
done < <(grep -E '^[0-9]' "$disc/demo.tracks.txt")
printf 'rip speed on the demo disc (%.1f s of music, one track at a time)\n' "$seconds"
printf '  %-6s %10s %12s %8s\n' format seconds "x realtime" "% of PCM"
for f in Wav FLAC Ape Ogg MP3; do
  start=$(date +%s.%N)
  while read -r number _ _ kind _; do
    [ "$kind" = audio ] || continue
    "$build/bin/kestrip-rip" "$disc/demo.cue" "$number" "$f" "$out/$f-$number" >/dev/null
  done < <(grep -E '^[0-9]' "$disc/demo.tracks.txt")
  elapsed=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  bytes=$(cat "$out/$f"-* | wc -c)
  awk -v f="$f" -v e="$elapsed" -v s="$seconds" -v b="$bytes" -v p="$pcm" \
      'BEGIN { printf "  %-6s %10.2f %12.1f %8.1f\n", f, e, s / e, 100 * b / p }'
done
