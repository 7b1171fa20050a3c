#!/usr/bin/env bash
# startbench.sh WINBUILD [RUNS]: how long Kestrip.exe takes under Wine until its main window is
# shown and painted, next to an empty window program started the same way (medians).
set -euo pipefail
win=${1:?usage: startbench.sh WINBUILD [RUNS]}
runs=${2:-15}
folder=$(mktemp -d)
trap 'rm -rf "$folder"; "$win/wine-run.sh" --server-stop' EXIT
mkdir -p "$folder/Kestrip"
for f in Kestrip.exe cdrip.dll MACDll.dll ogg.dll vorbis.dll vorbisenc.dll vorbisfile.dll libFLAC.dll lame_enc.dll; do
  cp "$win/bin/$f" "$folder/Kestrip/"
done
cp "$win/bin/kestrip-emptywindow.exe" "$folder/"
winpath() { echo "Z:${1//\//\\}"; }
"$win/wine-run.sh" --server-start
echo "start-up under Wine until the window is shown, painted and idle ($runs runs each, in turn)"
"$win/wine-run.sh" "$win/bin/kestrip-startbench.exe" "$runs" \
  "$(winpath "$folder/kestrip-emptywindow.exe")" "$(winpath "$folder/Kestrip/Kestrip.exe")" | tee "$folder/times.txt"
awk '/emptywindow/ { e = $2 } /Kestrip.exe/ { k = $2 } END { if (e > 0) printf "Kestrip / empty window: %.2f (target 1.5)\n", k / e }' "$folder/times.txt"
