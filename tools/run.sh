#!/usr/bin/env bash
# ./kestrip run: starts Kestrip.exe under Wine with the demo disc registered as a drive.
# On a display the program is yours to use. Without one, it runs in Xvfb and a driver uses the
# window as a person would: the whole demo disc is ripped once per format into
# out/demo-rip/<format>/, every file is checked, and out/demo-rip/window.png shows the window
# after the last rip.
set -euo pipefail
root=${1:?usage: run.sh REPO}
native=$root/build/native
win=$root/build/win
disc=$native/demodisc            # made by the native build
out=$root/out/demo-rip
program=$root/build/run/Kestrip  # the program folder, as a user would unpack it
formats=(MP3 Ogg Wav Ape FLAC)
declare -A ext=([MP3]=mp3 [Ogg]=ogg [Wav]=wav [Ape]=ape [FLAC]=flac)

windows_path() { echo "Z:${1//\//\\}"; }

# The program folder: the program, its libraries, and cdr.ini naming the demo disc.
rm -rf "$program" && mkdir -p "$program"
for f in Kestrip.exe cdrip.dll MACDll.dll ogg.dll vorbis.dll vorbisenc.dll vorbisfile.dll libFLAC.dll lame_enc.dll; do
  cp "$win/bin/$f" "$program/"
done
printf '[Images]\r\nImage1=%s\r\n' "$(windows_path "$disc/demo.cue")" >"$program/cdr.ini"

echo "demo disc: $disc/demo.cue"
sed -n 's/^# //p;/^[0-9]/p' "$disc/demo.tracks.txt" | sed 's/^/  /'
if [ -n "${DISPLAY:-}" ] && [ "${KESTRIP_RUN_HEADLESS:-0}" != 1 ]; then
  echo "starting $program/Kestrip.exe on $DISPLAY (the demo disc is the drive \"Image: ...\")"
  # Wine's desktop belongs to the display its session started on: a session for this one.
  "$win/wine-run.sh" --server-stop
  export KESTRIP_USE_DISPLAY=1
  "$win/wine-run.sh" --server-start
  exec "$win/wine-run.sh" "$program/Kestrip.exe"
fi

# Headless: the driver rips every audio track once per format, on the virtual screen the
# Wine session of the build keeps.
rm -rf "$out" && mkdir -p "$out"
untick=()
while read -r number _ _ kind _; do
  [ "$kind" = audio ] || untick+=(--untick "$number")
done < <(grep -E '^[0-9]' "$disc/demo.tracks.txt")
echo
echo "ripping through the window (Xvfb): ${formats[*]}"
"$win/wine-run.sh" --server-stop
"$win/wine-run.sh" --server-start
status=0
KESTRIP_WINE_TIMEOUT=1800 "$win/wine-run.sh" "$win/bin/kestrip-rundriver.exe" "$program/Kestrip.exe" \
  "$(windows_path "$out")" "$(windows_path "$out/window.bmp")" "${untick[@]}" "${formats[@]}" \
  2> >(grep -v 'FS volume label and serial are not available' >&2) || status=$?
"$win/wine-run.sh" --server-stop
[ $status = 0 ] || { echo "run: the driver failed"; exit $status; }
ffmpeg -nostdin -v error -y -i "$out/window.bmp" "$out/window.png" && rm -f "$out/window.bmp"

# Checks: lossless files decode to exactly the track's PCM; the others have the track's length.
echo
printf '%-6s %-10s %12s %9s  %s\n' format file bytes seconds check
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  pcm=$(mktemp)
  "$native/bin/kestrip-rip" "$disc/demo.cue" "$number" raw "$pcm" >/dev/null </dev/null
  want_md5=$(md5sum <"$pcm" | cut -c1-32)
  want_seconds=$(awk -v s="$sectors" 'BEGIN { printf "%.2f", s / 75 }')
  rm -f "$pcm"
  for f in "${formats[@]}"; do
    file=$(printf '%s/%s/Track-%02d.%s' "$out" "$f" "$number" "${ext[$f]}")
    if [ ! -s "$file" ]; then
      printf '%-6s %-10s %12s %9s  %s\n' "$f" "${file##*/}" - - "MISSING"; status=1; continue
    fi
    seconds=$(ffprobe -v error </dev/null -show_entries format=duration -of csv=p=0 "$file" 2>/dev/null || echo 0)
    case $f in
      Wav|Ape|FLAC)
        got=$(ffmpeg -nostdin -v error -i "$file" -f s16le -acodec pcm_s16le - | md5sum | cut -c1-32)
        if [ "$got" = "$want_md5" ]; then check="bit-exact"; else check="DIFFERS from the disc"; status=1; fi ;;
      *)
        if ffmpeg -nostdin -v error -i "$file" -f null - 2>/dev/null &&
           awk -v a="$seconds" -v b="$want_seconds" 'BEGIN { exit !(a - b < 0.2 && b - a < 0.2) }'; then
          check="decodes, length ${want_seconds} s"
        else
          check="BAD (length $seconds s, want $want_seconds s)"; status=1
        fi ;;
    esac
    printf '%-6s %-10s %12d %9.2f  %s\n' "$f" "${file##*/}" "$(stat -c %s "$file")" "$seconds" "$check"
  done
done < <(grep -E '^[0-9]' "$disc/demo.tracks.txt")

echo
echo "files:      $out/<format>/"
echo "screenshot: $out/window.png"
echo "program:    $program (cdr.ini registers the demo disc)"
[ $status = 0 ] && echo "run: every file checked" || echo "run: some files failed their check"
exit $status
