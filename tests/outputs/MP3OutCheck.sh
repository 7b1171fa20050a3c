#!/usr/bin/env bash
# MP3OutCheck.sh FILE.mp3...  |  MP3OutCheck.sh --folder DIR...
# Checks MP3 files the MP3 output wrote with tools we did not write (ffprobe, ffmpeg), each
# against FILE.mp3.expected, lines of key=value:
#   kbps=N            stream bit rate N kb/s (always: codec mp3, two channels)
#   rate=N            stream sample rate
#   source=NAME       the input's PCM (s16le, 44.1 kHz) beside the file; the decoded audio
#   source_channels=N must hold all of it after the encoder's delay and correlate with it
#   min_correlation=X (default 0.99)
#   compare_seconds=N compare only the first N seconds (long tracks)
#   equal_channels=1  left and right decode to the same samples
#   tag_KEY=VALUE     the format tag KEY (title, artist, album, date, track, comment)
#   no_tags=1         the file carries no tag
set -euo pipefail

fail() { echo "FAIL $1: $2" >&2; exit 1; }

expected() { # FILE KEY -> value or empty
  sed -n "s/^$2=//p" "$1.expected" | head -1
}

probe() { # FILE ENTRIES
  ffprobe -v error -select_streams a:0 -show_entries "$2" -of default=nw=1:nk=1 "$1"
}

# Prints "lag correlation covered": the delay (in sample frames) that best lines the decoded
# audio up with the first SOURCE_BYTES of the source, their correlation over all channels at
# that delay, and 1 when the first DECODED_BYTES of the decoded audio hold all of those.
correlate() { # SOURCE SOURCE_CHANNELS DECODED_STEREO SOURCE_BYTES DECODED_BYTES
  awk -v sc="$2" '
    FNR == 1 { f++ }
    f == 1 { for (i = 1; i <= NF; i++) s[n++] = $i + 0 }
    f == 2 { for (i = 1; i <= NF; i++) d[m++] = $i + 0 }
    function corr(lag, from, count, chans,    i, c, x, y, sx, sy, sxx, syy, sxy, k) {
      for (i = from; i < from + count; i++) {
        if (i + lag >= nd) break
        for (c = 0; c < chans; c++) {
          x = s[i * sc + (sc == 2 ? c : 0)]; y = d[(i + lag) * 2 + c]
          sx += x; sy += y; sxx += x * x; syy += y * y; sxy += x * y; k++
        }
      }
      if (k == 0) return 0
      den = (sxx - sx * sx / k) * (syy - sy * sy / k)
      return den > 0 ? (sxy - sx * sy / k) / sqrt(den) : 0
    }
    END {
      ns = int(n / sc); nd = int(m / 2)
      window = ns < 1024 ? ns : 1024; start = int((ns - window) / 2)
      best = -2; lag = 0
      for (l = 0; l <= 4608; l++) {
        r = corr(l, start, window, 1)
        if (r > best) { best = r; lag = l }
      }
      printf "%d %.5f %d\n", lag, corr(lag, 0, ns, 2), (nd - lag >= ns) ? 1 : 0
    }' <(head -c "$4" "$1" | od -An -v -td2) <(head -c "$5" "$3" | od -An -v -td2)
}

check() {
  local file=$1
  [ -s "$file" ] || fail "$file" "missing or empty"
  [ -f "$file.expected" ] || fail "$file" "no $file.expected"
  local name=${file##*/} report=""

  [ "$(probe "$file" stream=codec_name)" = mp3 ] || fail "$name" "codec $(probe "$file" stream=codec_name)"
  [ "$(probe "$file" stream=channels)" = 2 ] || fail "$name" "channels $(probe "$file" stream=channels)"
  local kbps rate bit_rate
  kbps=$(expected "$file" kbps)
  bit_rate=$(probe "$file" stream=bit_rate)
  [ "$bit_rate" = $((kbps * 1000)) ] || fail "$name" "bit rate $bit_rate, want ${kbps}000"
  rate=$(expected "$file" rate)
  if [ -n "$rate" ]; then
    [ "$(probe "$file" stream=sample_rate)" = "$rate" ] || fail "$name" "sample rate $(probe "$file" stream=sample_rate), want $rate"
  fi
  report+="$kbps kb/s, $(probe "$file" stream=sample_rate) Hz, 2 ch"

  local decoded
  decoded=$(mktemp)
  trap 'rm -f "$decoded"' RETURN
  ffmpeg -nostdin -v error -y -i "$file" -f s16le -acodec pcm_s16le -ac 2 "$decoded" || fail "$name" "ffmpeg cannot decode it"

  local source
  source=$(expected "$file" source)
  if [ -n "$source" ]; then
    local src=${file%/*}/$source channels min lag correlation covered duration source_seconds extra
    channels=$(expected "$file" source_channels)
    min=$(expected "$file" min_correlation)
    [ -f "$src" ] || fail "$name" "no source $src"
    local source_bytes decoded_bytes seconds
    source_bytes=$(stat -c %s "$src")
    decoded_bytes=$(stat -c %s "$decoded")
    seconds=$(expected "$file" compare_seconds)
    if [ -n "$seconds" ]; then
      source_bytes=$(( seconds * 44100 * 2 * ${channels:-2} ))
      decoded_bytes=$(( (seconds * 44100 + 5000) * 4 ))
    fi
    read -r lag correlation covered < <(correlate "$src" "${channels:-2}" "$decoded" "$source_bytes" "$decoded_bytes")
    [ "$covered" = 1 ] || fail "$name" "the decoded audio is shorter than the compared source (delay $lag)"
    # Nothing lost at the end: after the delay the decoded audio holds the whole source.
    [ $(( $(stat -c %s "$decoded") / 4 - lag )) -ge $(( $(stat -c %s "$src") / (2 * ${channels:-2}) )) ] ||
      fail "$name" "the decoded audio ends before the source does (delay $lag)"
    awk -v c="$correlation" -v m="${min:-0.99}" 'BEGIN { exit !(c >= m) }' ||
      fail "$name" "correlation $correlation with the source, want at least ${min:-0.99}"
    duration=$(probe "$file" format=duration)
    source_seconds=$(awk -v b="$(stat -c %s "$src")" -v c="${channels:-2}" 'BEGIN { printf "%.6f", b / (2 * c) / 44100 }')
    # The frames hold the track plus the codec's delay (576 encoder + 529 decoder samples),
    # rounded up to whole frames; the filled-in tag frame itself is not counted.
    extra=$(awk -v d="$duration" -v s="$source_seconds" 'BEGIN { printf "%.4f", d - s }')
    awk -v e="$extra" 'BEGIN { exit !(e >= 0 && e <= (1152 + 576 + 529) / 44100) }' ||
      fail "$name" "duration $duration s for $source_seconds s of source"
    report+=", $duration s for $source_seconds s of source (+$extra s), delay $lag samples, correlation $correlation"
  fi

  if [ "$(expected "$file" equal_channels)" = 1 ]; then
    local difference
    difference=$(awk '{ for (i = 1; i < NF; i += 2) { d = $i - $(i + 1); if (d < 0) d = -d; if (d > max) max = d } }
                      END { print max + 0 }' < <(od -An -v -td2 -w4 "$decoded"))
    [ "$difference" = 0 ] || fail "$name" "left and right differ by up to $difference"
    report+=", left = right"
  fi

  local tags key value got
  tags=$(sed -n 's/^tag_//p' "$file.expected")
  while IFS='=' read -r key value; do
    [ -n "$key" ] || continue
    got=$(ffprobe -v error -show_entries "format_tags=$key" -of default=nw=1:nk=1 "$file")
    [ "$got" = "$value" ] || fail "$name" "tag $key is '$got', want '$value'"
    report+=", $key '$value'"
  done <<<"$tags"
  if [ "$(expected "$file" no_tags)" = 1 ]; then
    got=$(ffprobe -v error -show_entries format_tags -of default=nw=1 "$file")
    [ -z "$got" ] || fail "$name" "unexpected tags: $got"
    report+=", no tags"
  fi
  echo "ok $name: $report"
}

files=()
if [ "${1:-}" = --folder ]; then
  shift
  for dir in "$@"; do
    found=0
    for f in "$dir"/*.mp3; do
      [ -f "$f.expected" ] || continue
      files+=("$f"); found=1
    done
    [ $found = 1 ] || fail "$dir" "no MP3 file with expectations"
  done
else
  files=("$@")
fi
[ ${#files[@]} -gt 0 ] || { echo "usage: $0 FILE.mp3... | --folder DIR..." >&2; exit 2; }
for f in "${files[@]}"; do check "$f"; done
