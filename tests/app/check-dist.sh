#!/usr/bin/env bash
# check-dist.sh REPO BUILD: packs the Windows package, unpacks it into an empty folder as a user
# would, checks what it holds and starts the program from there under Wine (the window must come
# up and close again) on the virtual screen of the build's Wine session.
set -euo pipefail
root=$1 build=$2
work=$build/test-output/dist
rm -rf "$work" && mkdir -p "$work/unpacked"
"$root/tools/dist.sh" "$root" "$build" "$work"
(cd "$work/unpacked" && unzip -q ../Kestrip-win64.zip)
folder=$work/unpacked/Kestrip
for f in Kestrip.exe cdrip.dll MACDll.dll ogg.dll vorbis.dll vorbisenc.dll vorbisfile.dll libFLAC.dll \
         lame_enc.dll README.txt licences/libogg.txt licences/libvorbis.txt licences/flac.txt \
         licences/lame.txt licences/libjpeg-turbo.txt; do
  [ -s "$folder/$f" ] || { echo "FAIL: the package lacks $f" >&2; exit 1; }
done
# Nothing of the build's own: no test programs, no stray libraries.
extra=$(cd "$folder" && ls | grep -v -E '^(Kestrip.exe|cdrip.dll|MACDll.dll|ogg.dll|vorbis.dll|vorbisenc.dll|vorbisfile.dll|libFLAC.dll|lame_enc.dll|README.txt|licences)$' || true)
[ -z "$extra" ] || { echo "FAIL: the package also holds: $extra" >&2; exit 1; }
grep -q 'Image1=' "$folder/README.txt" || { echo "FAIL: the read-me does not say how to add a disc image" >&2; exit 1; }

windows() { echo "Z:${1//\//\\}"; }
"$build/wine-run.sh" "$build/bin/kestrip-rundriver.exe" "$(windows "$folder/Kestrip.exe")" \
  "$(windows "$work")" "$(windows "$work/window.bmp")"
[ -s "$work/window.bmp" ] || { echo "FAIL: no picture of the window" >&2; exit 1; }
echo "ok: the unpacked package starts and shows its window"
