#!/usr/bin/env bash
# check-faults.sh BUILD_DIR [DEMO_DIR]
# Rips track 1 of the demo disc to each of the five formats with a fault injected through a
# seam the program really has, and prints one table row per fault and format: the exit
# status, the message the rip reported and the state of the files. Ends non-zero when a row
# is not as it must be. Mounting (read-only and full volumes, a hidden library) needs root;
# without it those rows are skipped.
set -uo pipefail
build=$(cd "$1" && pwd)
bin=$build/bin
demo=$(cd "${2:-$build/demodisc}" && pwd)
formats=(Wav Ogg FLAC MP3 Ape)
declare -A ext=([Wav]=wav [Ogg]=ogg [FLAC]=flac [MP3]=mp3 [Ape]=ape)
bad_sector=1000
root_user=$([ "$(id -u)" = 0 ] && echo yes || echo no)

work=$(mktemp -d /tmp/kestrip-faults.XXXXXX)
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# The program folder: the rip command with its drive layer and compressor library, and its
# own cdr.ini.
prog=$work/program
mkdir -p "$prog"
cp "$bin/kestrip-rip" "$bin/libcdrip.so" "$bin/libMACDll.so" "$prog/"
faulty=$bin/libkestrip_faultydisc.so

# A disc folder per case: its own sheet (a case may delete it) and the shared audio file.
disc() { # NAME -> path of the .cue
  local d=$work/disc-$1
  mkdir -p "$d"
  cp "$demo/demo.cue" "$d/demo.cue"
  ln -sf "$demo/demo.bin" "$d/demo.bin"
  echo "$d/demo.cue"
}

# What the rip reported: the text after "kestrip-rip: ", its lines joined by "/".
report() { sed -n '/^kestrip-rip: /,$p' <<<"$1" | sed '1s/^kestrip-rip: //' | tr -d '\r' | paste -sd/ -; }

# rip CUE FORMAT OUTFILE [ENV...]: sets status and message.
rip() {
  local cue=$1 format=$2 out=$3; shift 3
  local err
  err=$(env "$@" "$prog/kestrip-rip" "$cue" 1 "$format" "$out" 2>&1 >/dev/null)
  status=$?
  message=$(report "$err")
  [ -n "$message" ] || message=$(tail -1 <<<"$err")
}

pcm_md5() { ffmpeg -v error -i "$1" -f s16le - 2>/dev/null | md5sum | cut -c1-12; }
size_of() { [ -e "$1" ] && stat -c %s "$1" || echo "none"; }

failures=0
row() { # FAULT FORMAT VERDICT FILES
  local shown=${message//$work/…}
  printf '%-16s %-5s %-4s %-6s %-90s %s\n' "$1" "$2" "$status" "$3" "${shown:0:90}" "$4"
  [ "$3" = ok ] || [ "$3" = skip ] || failures=$((failures + 1))
}

printf '%-16s %-5s %-4s %-6s %-90s %s\n' fault format exit check message files
printf '%s\n' "$(printf '%.0s-' {1..160})"
echo "(… stands for the scratch folder $work)"

# Clean rips: what a transient fault must still give, bit for bit.
refdir=$work/reference
mkdir -p "$refdir"
cue=$(disc clean)
for f in "${formats[@]}"; do
  rip "$cue" "$f" "$refdir/Track-01.${ext[$f]}"
  [ $status -eq 0 ] || { echo "clean rip to $f failed: $message"; exit 1; }
done

for f in "${formats[@]}"; do
  e=${ext[$f]} ref=$refdir/Track-01.${ext[$f]}

  # Sectors that fail twice and then read: retried, and the file is the clean one.
  out=$work/transient/Track-01.$e; mkdir -p "${out%/*}"
  rip "$(disc transient-$f)" "$f" "$out" LD_PRELOAD="$faulty" KESTRIP_FAULT_FILE=demo.bin \
      KESTRIP_FAULT_SECTOR=$bad_sector KESTRIP_FAULT_COUNT=3 KESTRIP_FAULT_FAILURES=2 \
      KESTRIP_FAULT_LOG="$work/transient-$f.log"
  retries=$(grep -c failed "$work/transient-$f.log" 2>/dev/null)
  retries=${retries:-0}
  if [ $status -eq 0 ] && [ "$retries" -ge 6 ] && cmp -s "$out" "$ref" && [ "$(pcm_md5 "$out")" = "$(pcm_md5 "$ref")" ]; then
    v=ok; else v=FAIL; fi
  [ $status -eq 0 ] && message="(done; $retries reads failed and were retried)"
  row "transient read" "$f" $v "identical to the clean rip, $(size_of "$out") bytes"

  # Sectors that never read: the run ends with the sector named, never as done.
  out=$work/persistent/Track-01.$e; mkdir -p "${out%/*}"
  rip "$(disc persistent-$f)" "$f" "$out" LD_PRELOAD="$faulty" KESTRIP_FAULT_FILE=demo.bin \
      KESTRIP_FAULT_SECTOR=$bad_sector KESTRIP_FAULT_FAILURES=-1
  [ $status -eq 1 ] && [ "$message" = "The CD could not be read at sector $bad_sector." ] && v=ok || v=FAIL
  row "persistent read" "$f" $v "partial, $(size_of "$out") bytes"

  # The image's sheet deleted when the rip reaches a sector: a disc taken out.
  cue=$(disc removed-$f)
  out=$work/removed/Track-01.$e; mkdir -p "${out%/*}"
  rip "$cue" "$f" "$out" LD_PRELOAD="$faulty" KESTRIP_FAULT_FILE=demo.bin \
      KESTRIP_FAULT_SECTOR=$bad_sector KESTRIP_FAULT_REMOVE="$cue"
  # The read in progress completes; the next one finds no disc, at the sector after it.
  [ $status -eq 1 ] && [[ "$message" =~ ^The\ CD\ could\ not\ be\ read\ at\ sector\ [0-9]+\.$ ]] && [ ! -e "$cue" ] && v=ok || v=FAIL
  row "image removed" "$f" $v "partial, $(size_of "$out") bytes"

  # A folder that does not exist.
  out=$work/no-such-folder/Track-01.$e
  rip "$(disc missing-$f)" "$f" "$out"
  case $f in
    Ape) want="Error starting APECompress./invalid output file" ;;
    *)   want="Cannot create file \"$out\". No such file or directory" ;;
  esac
  [ $status -eq 1 ] && [ "$message" = "$want" ] && [ ! -e "$out" ] && v=ok || v=FAIL
  row "missing folder" "$f" $v "$(size_of "$out")"

  if [ $root_user = yes ]; then
    # A read-only volume.
    ro=$work/readonly-$f; mkdir -p "$ro"
    mount -t tmpfs -o ro,size=64k tmpfs "$ro" && mounts+=("$ro")
    out=$ro/Track-01.$e
    rip "$(disc readonly-$f)" "$f" "$out"
    case $f in
      Ape) want="Error starting APECompress./invalid output file" ;;
      *)   want="Cannot create file \"$out\". Read-only file system" ;;
    esac
    [ $status -eq 1 ] && [ "$message" = "$want" ] && [ ! -e "$out" ] && v=ok || v=FAIL
    row "read-only folder" "$f" $v "$(size_of "$out")"

    # A small volume that fills up in the middle of the file; a file finished before on
    # the same volume stays as it was.
    full=$work/full-$f; mkdir -p "$full"
    mount -t tmpfs -o size=512k tmpfs "$full" && mounts+=("$full")
    head -c 200000 "$ref" >"$full/Track-00.$e"
    before=$(md5sum <"$full/Track-00.$e")
    out=$full/Track-01.$e
    rip "$(disc full-$f)" "$f" "$out"
    case $f in
      Ape) want="APECompress.UnlockBuffer Error: 1001" ;;
      *)   want="Cannot write to file \"$out\" (* of * bytes written). No space left on device" ;;
    esac
    # shellcheck disable=SC2053
    [ $status -eq 1 ] && [[ "$message" == $want ]] && [ "$(md5sum <"$full/Track-00.$e")" = "$before" ] && v=ok || v=FAIL
    row "volume full" "$f" $v "partial $(size_of "$out") bytes; finished file untouched"

    # The format's codec library hidden from the loader (none for WAV).
    case $f in
      Ogg)  lib=$(ldconfig -p | awk '/libvorbis.so.0 .*x86-64/ {print $NF; exit}'); want="vorbis.dll library could not be loaded." ;;
      FLAC) lib=$(ldconfig -p | awk '/libFLAC.so.12 .*x86-64/ {print $NF; exit}'); want="libFLAC.dll library could not be loaded." ;;
      MP3)  lib=$(ldconfig -p | awk '/libmp3lame.so.0 .*x86-64/ {print $NF; exit}'); want="lame_enc.dll library could not be loaded." ;;
      Ape)  lib=$prog/libMACDll.so; want="MACDll.dll library could not be loaded." ;;
      *)    lib= ;;
    esac
    if [ -n "$lib" ]; then
      out=$work/nolib/Track-01.$e; mkdir -p "${out%/*}"
      lib=$(readlink -f "$lib")
      err=$(unshare -m bash -c 'mount --bind /dev/null "$1" && exec "$2" "$3" 1 "$4" "$5"' _ "$lib" \
            "$prog/kestrip-rip" "$(disc nolib-$f)" "$f" "$out" 2>&1 >/dev/null)
      status=$?
      message=$(report "$err")
      [ $status -eq 1 ] && [ "$message" = "$want" ] && [ ! -e "$out" ] && v=ok || v=FAIL
      row "library missing" "$f" $v "$(size_of "$out")"
    fi
  else
    status=- message="(needs root to mount)"
    row "read-only folder" "$f" skip ""
    row "volume full" "$f" skip ""
    row "library missing" "$f" skip ""
  fi
done
echo
[ $failures -eq 0 ] && echo "check-faults: every row as required" || echo "check-faults: $failures row(s) not as required"
exit $((failures > 0))
