#!/usr/bin/env bash
# check-main-window-rip.sh FOLDER DEMODISC: the files the main window ripped into
# FOLDER/<format>/ (tracks 2 and 5 of the demo disc), checked by decoders we did not write:
# the lossless ones decode to exactly the track's bytes, the others decode with its length.
set -euo pipefail
folder=$1 disc=$2
fail() { echo "FAIL $1: $2" >&2; exit 1; }

while read -r number first sectors _; do
  case $number in 2|5) ;; *) continue ;; esac
  name=$(printf 'Track-%02d' "$number")
  want=$(dd if="$disc/demo.bin" bs=2352 skip="$first" count="$sectors" status=none | md5sum | cut -c1-32)
  seconds=$(awk -v s="$sectors" 'BEGIN { printf "%.3f", s / 75 }')
  for f in Wav:wav FLAC:flac Ape:ape Ogg:ogg MP3:mp3; do
    file=$folder/${f%%:*}/$name.${f#*:}
    [ -s "$file" ] || fail "$file" "missing"
    case ${f%%:*} in
      Wav|FLAC|Ape)
        got=$(ffmpeg -nostdin -v error -i "$file" -f s16le -acodec pcm_s16le - | md5sum | cut -c1-32)
        [ "$got" = "$want" ] || fail "$file" "decodes to other samples than the disc's"
        echo "ok $file: bit-exact" ;;
      *)
        ffmpeg -nostdin -v error -xerror -i "$file" -f null - || fail "$file" "does not decode"
        got=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file" </dev/null)
        awk -v a="$got" -v b="$seconds" 'BEGIN { exit !(a - b < 0.1 && b - a < 0.1) }' ||
          fail "$file" "lasts $got s, the track $seconds s"
        echo "ok $file: $got s" ;;
    esac
  done
done < <(grep -E '^[0-9]' "$disc/demo.tracks.txt")
