#!/usr/bin/env bash
# A second run of the demo disc maker writes the same bytes as the build's run.
set -euo pipefail
tool=$1 dir=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$tool" "$work" >/dev/null
for f in demo.cue demo.bin demo.tracks.txt; do
  cmp "$dir/$f" "$work/$f"
done
echo "same bytes"
