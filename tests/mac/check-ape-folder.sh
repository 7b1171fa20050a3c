#!/usr/bin/env bash
# check-ape-folder.sh DIR [PATTERN]: every .ape file in the folders DIR/PATTERN (default: all
# of DIR) that has a <file>.raw beside it must
# decode with ffmpeg (CRC checks on) to exactly those bytes; one with a <file>.empty marker
# must be an APE file without frames. Used after the Windows tests, which cannot run ffmpeg.
set -uo pipefail
dir=${1:?usage: check-ape-folder.sh DIR [PATTERN]} pattern=${2:-*}
checked=0 failed=0
while IFS= read -r -d '' ape; do
  if [ -f "$ape.raw" ]; then
    if ffmpeg -nostdin -v error -err_detect crccheck+explode -i "$ape" -f s16le - 2>"$ape.log" | cmp -s - "$ape.raw" && [ ! -s "$ape.log" ]; then
      checked=$((checked + 1))
    else
      echo "FAIL: $ape does not decode to $ape.raw: $(head -c 300 "$ape.log")"; failed=$((failed + 1))
    fi
  elif [ -f "$ape.empty" ]; then
    log=$(ffmpeg -nostdin -v error -i "$ape" -f s16le - 2>&1 >/dev/null)
    if [ "$(head -c 4 "$ape")" = "MAC " ] && grep -q "No frames in the file" <<<"$log"; then
      checked=$((checked + 1))
    else
      echo "FAIL: $ape is not an APE file without frames: $log"; failed=$((failed + 1))
    fi
  fi
done < <(find "$dir" -path "$dir/$pattern/*" -name '*.ape' -print0)
echo "$checked passed, $failed failed"
[ "$checked" -gt 0 ] && [ "$failed" -eq 0 ]
