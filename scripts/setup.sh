#!/usr/bin/env bash
# Shared set-up of play.sh, test.sh and bench.sh: install what is missing, configure, build.
# Usage: scripts/setup.sh [build folder] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true

packages=(
  build-essential cmake pkg-config git ccache
  libsdl2-dev libgl1-mesa-dev libgl1-mesa-dri libx11-dev
  libstb-dev libvorbis-dev libopenmpt-dev libglib2.0-dev libglib2.0-bin
  googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
  librsvg2-bin
  xvfb xdotool imagemagick x11-utils x11-xserver-utils openbox sox
  desktop-file-utils appstream dpkg-dev lintian man-db groff-base xdg-user-dirs
  clang libclang-rt-14-dev python3
  gvfs dbus
  libcairo2-dev libpaper-dev poppler-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
