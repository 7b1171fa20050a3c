#!/usr/bin/env bash
# Checks Ogg Vorbis files written by TVorbisOut with tools we did not write.
#   VorbisOutCheck.sh stream FILE CHANNELS RATE FRAMES   ogginfo clean; ffprobe: vorbis, channels,
#                                                        rate, duration within one block of FRAMES
#   VorbisOutCheck.sh bitrate FILE BITS                  ffprobe reports the nominal bit rate
#   VorbisOutCheck.sh tag FILE NAME VALUE                ffprobe shows the comment
#   VorbisOutCheck.sh chained FILE SERIAL...             ogginfo accepts one stream per SERIAL, in order
#   VorbisOutCheck.sh unterminated FILE                  no end-of-stream mark, nothing else wrong
#   VorbisOutCheck.sh --lists ROOT                       every vorbis-checks.txt under ROOT
#                                                        (tab-separated: CHECK FILE ARGS...)
set -uo pipefail

fail() { echo "FAIL $check $(basename "$file"): $*" >&2; exit 1; }

probe() { ffprobe -v error -select_streams a:0 -show_entries "$1" -of default=nw=1:nk=1 "$file"; }

# ogginfo's report with the lines that only describe the file taken out.
ogginfo_problems() { grep -Ei 'warning|error|hole|corrupt|invalid' <<<"$1" || true; }

run_check() {
  check=$1 file=$2; shift 2
  [ -s "$file" ] || fail "missing or empty"
  case "$check" in
    stream)
      local channels=$1 rate=$2 frames=$3
      local report; report=$(ogginfo "$file" 2>&1) || fail "ogginfo exit $?: $report"
      [ -z "$(ogginfo_problems "$report")" ] || fail "ogginfo: $(ogginfo_problems "$report")"
      [ "$(probe stream=codec_name)" = vorbis ] || fail "codec $(probe stream=codec_name)"
      [ "$(probe stream=channels)" = "$channels" ] || fail "channels $(probe stream=channels)"
      [ "$(probe stream=sample_rate)" = "$rate" ] || fail "sample rate $(probe stream=sample_rate)"
      local duration; duration=$(probe format=duration)
      awk -v d="$duration" -v f="$frames" -v r="$rate" \
          'BEGIN { e = d - f / r; if (e < 0) e = -e; exit !(d != "" && e <= 2048 / r) }' ||
        fail "duration $duration s, source $frames frames at $rate Hz"
      local errors; errors=$(ffmpeg -nostdin -hide_banner -nostats -v error -i "$file" -f null - 2>&1)
      [ -z "$errors" ] || fail "ffmpeg decoding: $errors"
      echo "ok stream $(basename "$file"): $channels ch, $rate Hz, $duration s" ;;
    bitrate)
      [ "$(probe stream=bit_rate)" = "$1" ] || fail "bit rate $(probe stream=bit_rate), want $1"
      echo "ok bitrate $(basename "$file"): $1" ;;
    tag)
      local name=$1 value=$2 shown
      shown=$(ffprobe -v error -show_entries format_tags:stream_tags -of default=nw=1 "$file")
      grep -Fqix "TAG:$name=$value" <<<"$shown" || fail "no $name=$value in: $shown"
      echo "ok tag $(basename "$file"): $name=$value" ;;
    chained)
      local report; report=$(ogginfo "$file" 2>&1) || fail "ogginfo exit $?: $report"
      [ -z "$(ogginfo_problems "$report")" ] || fail "ogginfo: $(ogginfo_problems "$report")"
      local want="" serial
      for serial in "$@"; do want+="$(printf %08x "$serial") "; done
      local got; got=$(sed -n 's/^New logical stream (#[0-9]*, serial: \([0-9a-f]*\)).*/\1/p' <<<"$report" | tr '\n' ' ')
      [ "$got" = "$want" ] || fail "streams with serials '$got', want '$want'"
      local errors; errors=$(ffmpeg -nostdin -hide_banner -nostats -v error -i "$file" -f null - 2>&1)
      [ -z "$errors" ] || fail "ffmpeg decoding: $errors"
      echo "ok chained $(basename "$file"): serials $want" ;;
    unterminated)
      local report; report=$(ogginfo "$file" 2>&1)
      local problems; problems=$(ogginfo_problems "$report" | grep -Evi 'EOS not set|not properly terminated|without end' || true)
      [ -z "$problems" ] || fail "ogginfo: $problems"
      grep -Eqi 'EOS not set|not properly terminated|without end' <<<"$report" || fail "ogginfo sees an end of stream: $report"
      local errors; errors=$(ffmpeg -nostdin -hide_banner -nostats -v error -i "$file" -f null - 2>&1)
      [ -z "$errors" ] || fail "ffmpeg decoding: $errors"
      echo "ok unterminated $(basename "$file")" ;;
    *) fail "unknown check" ;;
  esac
}

if [ "${1:-}" = --lists ]; then
  root=$2 count=0 failed=0
  while IFS= read -r -d '' list; do
    dir=$(dirname "$list")
    while IFS=$'\t' read -r -a fields; do
      [ ${#fields[@]} -ge 2 ] || continue
      count=$((count + 1))
      ( run_check "${fields[0]}" "$dir/${fields[1]}" "${fields[@]:2}" </dev/null ) || failed=$((failed + 1))
    done <"$list"
  done < <(find "$root" -name vorbis-checks.txt -print0)
  [ "$count" -gt 0 ] || { echo "FAIL: no checks listed under $root" >&2; exit 1; }
  echo "$((count - failed)) passed, $failed failed"
  [ "$failed" = 0 ]
else
  run_check "$@"
fi
