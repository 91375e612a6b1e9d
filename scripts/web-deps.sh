#!/usr/bin/env bash
# Builds the libraries the browser build links for WebAssembly, once, from Debian's source
# packages: SDL2 (emscripten video, audio, events and game controllers, no threads), libogg
# and libvorbis. The sources are unpacked and built in the folder given (build-web/deps); the
# static libraries and headers are installed outside the clone, in the user's cache
# ($XDG_CACHE_HOME/tafu/web-libraries/KEY), where every clone on the machine finds them, and
# DEPS_FOLDER/prefix points there. KEY stands for what they are built from: the source
# packages' versions, emscripten's version and this script. A library already there is not
# built again. Emscripten's own system libraries come ready built with Debian's package.
# Usage: scripts/web-deps.sh DEPS_FOLDER
set -euo pipefail

deps=$(realpath -m "$1")
mkdir -p "$deps/src"

# The version apt would fetch the source of.
candidate_version() { apt-cache policy "$1" | sed -n 's/^ *Candidate: //p'; }

key=$({
  for package in libsdl2-dev libogg-dev libvorbis-dev; do echo "$package $(candidate_version "$package")"; done
  emcc --version | head -n 1
  cat "$0"
} | sha256sum | cut -c1-16)
prefix=${XDG_CACHE_HOME:-$HOME/.cache}/tafu/web-libraries/$key
mkdir -p "$prefix"
rm -rf "$deps/prefix"
ln -s "$prefix" "$deps/prefix"

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

# Source lines for apt, taken from the machine's own binary lines.
enable_source_lines() {
  if apt-get source --print-uris -qq libogg >/dev/null 2>&1; then return; fi
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo[@]}" tee /etc/apt/sources.list.d/tafu-web-src.sources >/dev/null
  fi
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list |
      "${sudo[@]}" tee /etc/apt/sources.list.d/tafu-web-src.list >/dev/null
  fi
  "${sudo[@]}" apt-get update -qq
}

# The unpacked source folder of a Debian source package, fetched when missing.
source_folder() {
  local package=$1 stem=$2
  local folder
  folder=$(find "$deps/src" -maxdepth 1 -type d -name "$stem-*" -print -quit)
  if [ -z "$folder" ]; then
    enable_source_lines
    (cd "$deps/src" && apt-get source -qq "$package" >/dev/null)
    folder=$(find "$deps/src" -maxdepth 1 -type d -name "$stem-*" -print -quit)
  fi
  echo "$folder"
}

# Configures, builds and installs one CMake project into the prefix.
build_cmake() {
  local name=$1 source=$2
  shift 2
  emcmake cmake -S "$source" -B "$deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE=-O2 -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$deps/build/$name" -j "$(nproc)" >/dev/null
  cmake --install "$deps/build/$name" >/dev/null
}

export NODE_PATH=/usr/share/nodejs

if [ ! -f "$prefix/lib/libogg.a" ]; then
  echo "Building libogg for the browser"
  # The size checks of libogg's configure run their test programs under node.
  build_cmake ogg "$(source_folder libogg libogg)" -DINSTALL_DOCS=OFF \
    '-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch'
fi
if [ ! -f "$prefix/lib/libvorbisfile.a" ]; then
  echo "Building libvorbis for the browser"
  build_cmake vorbis "$(source_folder libvorbis libvorbis)"
fi
if [ ! -f "$prefix/lib/libSDL2.a" ]; then
  echo "Building SDL2 for the browser"
  # Only the subsystems the game calls: no renderer (the game draws with GL), haptics, power,
  # sensors, locale, URLs or folders.
  build_cmake sdl2 "$(source_folder libsdl2 libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_HIDAPI=OFF -DSDL_RENDER=OFF -DSDL_HAPTIC=OFF -DSDL_POWER=OFF \
    -DSDL_SENSOR=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF
fi
