#!/usr/bin/env bash
# Installs the Debian packages Kestrip needs to build, test and verify (idempotent).
set -euo pipefail

pkgs=(
  # build
  cmake ninja-build ccache g++ clang pkg-config dpkg-dev nasm
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgtest-dev
  # native codec libraries and their headers
  libogg-dev libvorbis-dev libflac-dev libmp3lame-dev
  libjpeg62-turbo-dev libfreetype-dev  # skin tools: the banner picture
  # Windows test platform
  wine wine64 xvfb xauth fonts-wine fonts-dejavu-core
  # independent verifiers
  ffmpeg flac vorbis-tools libcdio-utils sox
  # benchmark: the standalone tools next to ours, timing and peak memory, the chart
  lame time python3-matplotlib
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${missing[@]}"
