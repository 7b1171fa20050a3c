#!/usr/bin/env bash
# ./kestrip run, until the main window exists: rips every audio track of the build's demo
# disc to every format through the native core, checks each file with an independent decoder,
# and says which program it would start.
set -euo pipefail
root=${1:?usage: run.sh REPO}
bin=$root/build/native/bin
disc=$root/build/native/demodisc   # made by the build
out=$root/build/run
rm -rf "$out" && mkdir -p "$out/Música"

echo "demo disc: $disc/demo.cue"
sed -n 's/^# //p;/^[0-9]/p' "$disc/demo.tracks.txt" | sed 's/^/  /'

declare -A ext=([MP3]=mp3 [Ogg]=ogg [Wav]=wav [Ape]=ape [FLAC]=flac)
formats=$("$bin/kestrip-rip" --formats 2>/dev/null || echo "Wav Ogg FLAC MP3 Ape")
status=0
while read -r number first sectors kind _; do
  [ "$kind" = audio ] || continue
  for f in MP3 Ogg Wav Ape FLAC; do
    case " $formats " in *" $f "*) ;; *) continue ;; esac
    file=$(printf '%s/Música/Track-%02d.%s' "$out" "$number" "${ext[$f]}")
    if "$bin/kestrip-rip" "$disc/demo.cue" "$number" "$f" "$file" >/dev/null; then
      duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file")
      printf '  %-28s %9d bytes  %6.2f s\n' "${file#$out/}" "$(stat -c %s "$file")" "$duration"
    else
      echo "  $f of track $number failed"; status=1
    fi
  done
done < <(grep -E '^[0-9]' "$disc/demo.tracks.txt")

echo
echo "The main window is not built yet. When it is, run starts:"
echo "  $root/build/win/wine-run.sh $root/build/win/bin/Kestrip.exe   (under xvfb-run without a display)"
echo "with the demo disc registered in $root/build/win/bin/cdr.ini as a drive."
exit $status
