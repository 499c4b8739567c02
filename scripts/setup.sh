#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent and
# quick when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth
  juce-modules-source-data
  zlib1g-dev libz-mingw-w64-dev
  libpng-dev dpkg-dev
  libgtest-dev libbenchmark-dev
  zam-plugins
  python3-cairo fonts-dejavu-core python3-mpmath
  python3-markdown
  libx11-dev libxext-dev libxtst-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# libpng for Windows is built from Debian's source package, so source entries must be on.
src_list=/etc/apt/sources.list.d/debian.sources
need_src=0
if [ -f "$src_list" ] && ! grep -q '^Types:.*deb-src' "$src_list"; then
  need_src=1
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ "$need_src" -eq 1 ]; then
  $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$src_list"
fi

if [ "${#missing[@]}" -gt 0 ] || [ "$need_src" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# libpng source for the Windows build, unpacked once under build/deps.
here=$(cd "$(dirname "$0")/.." && pwd)
deps="$here/build/deps"
if ! ls "$deps"/libpng1.6-*/png.h >/dev/null 2>&1; then
  mkdir -p "$deps"
  (cd "$deps" && apt-get source -qq libpng1.6/bookworm >/dev/null 2>&1 \
     || { $SUDO apt-get update -qq && apt-get source -qq libpng1.6/bookworm >/dev/null; })
  ls "$deps"/libpng1.6-*/png.h >/dev/null
fi
