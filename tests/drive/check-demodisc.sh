#!/usr/bin/env bash
# The demo disc as libcdio's cd-info reads it must match the maker's track table:
# numbers, start sectors, kinds, the lead-out and the data track's file system.
set -euo pipefail
dir=$1
info=$(cd "$dir" && cd-info --no-device-info --no-cddb --cue-file demo.cue 2>&1) || {
  echo "cd-info failed:"; echo "$info"; exit 1; }
actual=$(echo "$info" | awk '$1 ~ /^[0-9]+:$/ && $2 ~ /^[0-9][0-9]:[0-9][0-9]:[0-9][0-9]$/ {
  n = $1; sub(":", "", n); print n + 0, $3 + 0, $4 }')
expected=$(awk '!/^#/ { print $1, $2, $4 }' "$dir/demo.tracks.txt")
leadout=$(awk '!/^#/ { end = $2 + $3 } END { print end }' "$dir/demo.tracks.txt")
expected=$(printf '%s\n170 %s leadout' "$expected" "$leadout")
if [ "$actual" != "$expected" ]; then
  echo "cd-info sees:"; echo "$actual"; echo "the track table says:"; echo "$expected"; exit 1
fi
echo "$info" | grep -q "label \`KESTRIP_DEMO" || { echo "no ISO 9660 volume found:"; echo "$info"; exit 1; }
echo "cd-info agrees: $(echo "$actual" | wc -l) entries"
