#!/usr/bin/env bash
# FLACOutCheck.sh FILE.flac...  |  FLACOutCheck.sh --folder DIR (every FILE.flac with a reference)
# Checks files the FLAC output wrote, each against FILE.flac.expected.raw (the input's
# samples as signed little-endian PCM), with tools we did not write: flac -t, metaflac's
# STREAMINFO (sample count and the MD5 of the input) and a decode compared byte for byte.
set -euo pipefail

fail() { echo "FAIL $1: $2" >&2; exit 1; }

check() {
  local file=$1 expected=$1.expected.raw
  [ -f "$expected" ] || fail "$file" "no reference $expected"
  flac -t -s "$file" || fail "$file" "flac -t rejects it"

  local info bps channels total md5 bytes frame_bytes want_md5
  info=$(metaflac --show-bps --show-channels --show-total-samples --show-md5sum "$file")
  { read -r bps; read -r channels; read -r total; read -r md5; } <<<"$info"
  bytes=$(stat -c %s "$expected")
  frame_bytes=$(( (bps + 7) / 8 * channels ))
  [ $(( total * frame_bytes )) -eq "$bytes" ] ||
    fail "$file" "STREAMINFO counts $total samples, the input had $(( bytes / frame_bytes ))"
  want_md5=$(md5sum <"$expected" | cut -c1-32)
  [ "$md5" = "$want_md5" ] || fail "$file" "STREAMINFO MD5 $md5, the input's is $want_md5"

  local decoded
  decoded=$(mktemp)
  flac -d -s -f --force-raw-format --endian=little --sign=signed -o "$decoded" "$file" ||
    { rm -f "$decoded"; fail "$file" "flac -d fails"; }
  if ! cmp -s "$decoded" "$expected"; then
    rm -f "$decoded"
    fail "$file" "decoded samples differ from the input"
  fi
  rm -f "$decoded"
  echo "ok ${file##*/}: $channels ch, $bps bit, $total samples, MD5 $md5"
}

if [ "${1:-}" = --folder ]; then
  # Every file a test left a reference for; files of failing runs have none.
  mapfile -d '' references < <(find "$2" -name '*.flac.expected.raw' -print0 | sort -z)
  [ "${#references[@]}" -gt 0 ] || fail "$2" "no FLAC files to check"
  files=("${references[@]%.expected.raw}")
else
  files=("$@")
fi
for f in "${files[@]}"; do check "$f"; done
