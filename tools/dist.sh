#!/usr/bin/env bash
# dist.sh REPO WINBUILD [OUTDIR]: packs OUTDIR/Kestrip-win64.zip (default REPO/dist), the folder a
# Windows user unpacks and runs:
# the program, our two libraries, the codec libraries it loads by name, their licence texts and
# a short read-me.
set -euo pipefail
root=${1:?usage: dist.sh REPO WINBUILD}
bin=${2:?usage: dist.sh REPO WINBUILD}/bin
out=${3:-$root/dist}
stage=$out/Kestrip

files=(Kestrip.exe cdrip.dll MACDll.dll ogg.dll vorbis.dll vorbisenc.dll vorbisfile.dll libFLAC.dll lame_enc.dll)
rm -rf "$stage" "$out/Kestrip-win64.zip"
mkdir -p "$out"
mkdir -p "$stage/licences"
for f in "${files[@]}"; do
  [ -f "$bin/$f" ] || { echo "dist: $bin/$f is missing; build first" >&2; exit 1; }
  cp "$bin/$f" "$stage/"
done

# The copyright files of Debian's packages come from the same source packages the libraries
# were cross-built from.
declare -A licence=([libogg]=libogg0 [libvorbis]=libvorbis0a [flac]=libflac12
                    [lame]=libmp3lame0 [libjpeg-turbo]=libjpeg62-turbo)
for name in "${!licence[@]}"; do
  doc=/usr/share/doc/${licence[$name]}/copyright
  [ -f "$doc" ] || { echo "dist: $doc is missing (package ${licence[$name]})" >&2; exit 1; }
  cp "$doc" "$stage/licences/$name.txt"
done
cp "$root/assets/dist-readme.txt" "$stage/README.txt"
# Windows users open these in Notepad: CR LF line ends.
for t in "$stage/README.txt" "$stage"/licences/*.txt; do sed -i 's/\r\?$/\r/' "$t"; done

(cd "$out" && zip -q -r -X Kestrip-win64.zip Kestrip)
rm -rf "$stage"
echo "dist: $out/Kestrip-win64.zip ($(stat -c %s "$out/Kestrip-win64.zip") bytes)"
