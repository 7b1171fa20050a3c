#!/usr/bin/env bash
# kestrip-rip on the demo disc: an audio track comes out as exactly the BIN's bytes; a data
# track and a missing image end with a message and a failure code.
set -euo pipefail
bin=$1 demo=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
read -r first sectors < <(awk '$1 == 3 { print $2, $3 }' "$demo/demo.tracks.txt")
"$bin/kestrip-rip" "$demo/demo.cue" 3 raw "$work/Música 3.raw" >"$work/log"
dd if="$demo/demo.bin" bs=2352 skip="$first" count="$sectors" status=none | cmp - "$work/Música 3.raw"
grep -q "100 %" "$work/log"
if "$bin/kestrip-rip" "$demo/demo.cue" 6 raw "$work/data.raw" >/dev/null 2>"$work/err"; then
  echo "ripping the data track succeeded"; exit 1
fi
grep -q "Trying to rip a data track" "$work/err"
if "$bin/kestrip-rip" "$work/none.cue" 1 raw "$work/x.raw" >/dev/null 2>&1; then
  echo "a missing image was ripped"; exit 1
fi
"$bin/kestrip-rip" --formats | grep -qw raw
echo "rip tool ok"
