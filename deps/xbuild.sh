#!/usr/bin/env bash
# Cross-builds the codec libraries for the Windows build from Debian's source packages:
#   ogg.dll vorbis.dll vorbisenc.dll vorbisfile.dll libFLAC.dll lame_enc.dll + static libjpeg.a
# into one prefix in a cache outside the clone, keyed by the package versions, the compiler
# and the recipe revision below, so a second run only looks the key up.
#   deps/xbuild.sh            build if needed, print the prefix
#   deps/xbuild.sh --prefix   the same, but stdout carries only the prefix path
set -euo pipefail

# Bump when anything below changes how the libraries are built.
recipe_rev=1

cache=${KESTRIP_CACHE:-$HOME/.cache/kestrip}
jobs=${KESTRIP_JOBS:-2}
host=x86_64-w64-mingw32
cc=$host-gcc-posix
source_packages=(libogg libvorbis flac lame libjpeg-turbo)
codec_dlls=(ogg.dll vorbis.dll vorbisenc.dll vorbisfile.dll libFLAC.dll lame_enc.dll)

quiet=0
case "${1:-}" in
  --prefix) quiet=1 ;;
  "") ;;
  *) echo "usage: $0 [--prefix]" >&2; exit 2 ;;
esac

log() { echo "xbuild: $*" >&2; }

# apt-get source needs deb-src entries; ours mirror the binary ones.
ensure_deb_src() {
  if grep -qs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources ||
     grep -qs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
    [ -n "$(apt-cache showsrc --only-source libogg 2>/dev/null)" ] && return 0
  else
    local src=/etc/apt/sources.list.d/debian.sources
    [ -f "$src" ] || { log "no $src to derive deb-src entries from"; exit 1; }
    log "adding deb-src entries"
    sed 's/^Types:.*/Types: deb-src/' "$src" >/etc/apt/sources.list.d/debian-src.sources
  fi
  log "apt-get update"
  apt-get update -q >&2
}

# The version apt-get source would fetch: the highest one any deb-src entry offers.
source_version() {
  local best="" v
  for v in $(apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  [ -n "$best" ] || { log "no source package $1"; exit 1; }
  echo "$best"
}

ensure_deb_src
versions=""
for p in "${source_packages[@]}"; do versions+="$p=$(source_version "$p") "; done
toolchain=$(dpkg-query -W -f='${Package}=${Version} ' gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
            mingw-w64-x86-64-dev nasm)
key=$(echo "rev $recipe_rev; $versions; $toolchain" | sha256sum | cut -c1-16)
prefix=$cache/codecs-$key

finish() {
  if [ $quiet = 1 ]; then echo "$prefix"; else log "prefix:"; echo "$prefix"; fi
}

complete() { [ -f "$prefix/.complete" ]; }

if complete; then finish; exit 0; fi

mkdir -p "$cache"
# One builder at a time; a second caller waits and then finds the prefix done.
exec 9>"$cache/xbuild.lock"
flock 9
if complete; then finish; exit 0; fi

build() {
  local t0=$SECONDS
  local work=$cache/xbuild-work-$key stage=$prefix.partial
  rm -rf "$work" "$stage"
  mkdir -p "$work/src" "$stage"
  log "building $versions"
  log "into $prefix"

  cd "$work/src"
  for p in "${source_packages[@]}"; do
    apt-get source --download-only -q --only-source "$p=$(source_version "$p")"
  done
  local dsc
  for dsc in *.dsc; do
    case "$dsc" in
      # Debian's lame patches only touch the frontend, docs and build files, and applying
      # them makes make want to rerun automake.
      lame_*) dpkg-source -q -x --skip-patches "$dsc" ;;
      *) dpkg-source -q -x "$dsc" ;;
    esac
  done
  src_dir() { find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -1; }

  cat >"$work/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER $host-gcc-posix)
set(CMAKE_CXX_COMPILER $host-g++-posix)
set(CMAKE_RC_COMPILER $host-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$host $stage)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
  # The Windows-GNU platform file resets the prefix after the toolchain file; this runs later.
  echo 'set(CMAKE_SHARED_LIBRARY_PREFIX "")' >"$work/no-lib-prefix.cmake"

  cmake_build() { # NAME SRC [ARGS...]
    local name=$1 src=$2; shift 2
    log "$name"
    cmake -S "$src" -B "$work/build-$name" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_PREFIX_PATH="$stage" -DBUILD_SHARED_LIBS=ON \
      "-DCMAKE_SHARED_LINKER_FLAGS=-static-libgcc -s" "$@"
    cmake --build "$work/build-$name" -j "$jobs"
    cmake --install "$work/build-$name"
  }

  cmake_build ogg "$(src_dir libogg)" -DCMAKE_USER_MAKE_RULES_OVERRIDE="$work/no-lib-prefix.cmake" \
    -DBUILD_TESTING=OFF -DINSTALL_DOCS=OFF

  local vorbis
  vorbis=$(src_dir libvorbis)
  # A bare LIBRARY line is a syntax error to ld; without it the DLL keeps its output name.
  sed -i '/^LIBRARY[[:space:]]*$/d' "$vorbis"/win32/vorbis.def "$vorbis"/win32/vorbisenc.def \
    "$vorbis"/win32/vorbisfile.def
  cmake_build vorbis "$vorbis" -DCMAKE_USER_MAKE_RULES_OVERRIDE="$work/no-lib-prefix.cmake" \
    -DBUILD_TESTING=OFF

  # The FLAC target keeps its lib prefix: libFLAC.dll.
  cmake_build flac "$(src_dir flac)" -DWITH_OGG=ON -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF

  build_lame "$(src_dir lame)"

  local jpeg
  jpeg=$(src_dir libjpeg-turbo)
  log "libjpeg"
  cmake -S "$jpeg" -B "$work/build-jpeg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$stage" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON
  cmake --build "$work/build-jpeg" -j "$jobs" --target jpeg-static
  mkdir -p "$stage/lib" "$stage/include"
  cp "$work/build-jpeg/libjpeg.a" "$stage/lib/"
  cp "$jpeg"/jpeglib.h "$jpeg"/jmorecfg.h "$jpeg"/jerror.h "$work/build-jpeg/jconfig.h" "$stage/include/"

  check_dlls "$stage"
  cd "$cache"
  rm -rf "$work"
  touch "$stage/.complete"
  mv "$stage" "$prefix"
  log "done in $((SECONDS - t0)) s"
}

# lame's own configure builds the static library; the DLL is linked from it with the exports
# of its symbol list that the library really defines (the list names lame_init_old, which
# does not exist).
build_lame() {
  local src=$1 b=$work/build-lame
  log "lame"
  mkdir -p "$b"
  cd "$b"
  # CFLAGS=-O2: lame's compiler-version check fails on this gcc and would drop optimisation.
  "$src/configure" --host=$host CC="$cc" CFLAGS=-O2 --disable-shared --enable-static \
    --disable-frontend --disable-gtktest --disable-dependency-tracking --prefix="$stage" >&2
  make -j "$jobs" >&2
  make install >&2
  local lib=$b/libmp3lame/.libs/libmp3lame.a
  { echo "LIBRARY lame_enc.dll"; echo "EXPORTS"
    LC_ALL=C comm -12 <(LC_ALL=C sort -u "$src/include/libmp3lame.sym") \
             <($host-nm -g --defined-only "$lib" | awk 'NF == 3 { print $3 }' | LC_ALL=C sort -u)
  } >"$b/lame_enc.def"
  mkdir -p "$stage/bin"
  $cc -shared -s -static-libgcc -o "$stage/bin/lame_enc.dll" "$b/lame_enc.def" \
    -Wl,--whole-archive "$lib" -Wl,--no-whole-archive \
    -Wl,--out-implib,"$stage/lib/liblame_enc.dll.a"
  cd "$work"
}

# Each DLL may import only system DLLs and the other codec DLLs by their shipped names.
check_dlls() {
  local dir=$1/bin dll imp bad=0
  for dll in "${codec_dlls[@]}"; do
    [ -f "$dir/$dll" ] || { log "missing $dll"; bad=1; continue; }
    for imp in $($host-objdump -p "$dir/$dll" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
      case "${imp,,}" in
        kernel32.dll|msvcrt.dll|advapi32.dll|user32.dll) ;;
        *) printf '%s\n' "${codec_dlls[@],,}" | grep -qx "${imp,,}" ||
             { log "$dll imports $imp"; bad=1; } ;;
      esac
    done
  done
  [ $bad = 0 ] || { log "codec DLL check failed"; exit 1; }
}

build >&2
finish
