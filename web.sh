#!/usr/bin/env bash
# TAFU as a web page: installs what is missing (emscripten and chromium from Debian), builds
# SDL2, libogg and libvorbis for WebAssembly once into build-web/deps, the game's pictures and
# sounds with a desktop build in build-web/host, the game itself in build-web/game, and
# gathers the site into build-web/site; then serves it on http://127.0.0.1:8000.
# Usage: ./web.sh [--build]     (--build: only build, do not serve)
set -euo pipefail
cd "$(dirname "$0")"

serve=1
case "${1:-}" in
  --build) serve=0 ;;
  "") ;;
  *) echo "usage: ./web.sh [--build]" >&2; exit 2 ;;
esac

readonly port=8000
packages=(
  emscripten chromium nodejs python3 dpkg-dev ninja-build
  build-essential cmake pkg-config libsdl2-dev libgl1-mesa-dev libstb-dev libvorbis-dev
  libopenmpt-dev librsvg2-bin imagemagick
)
# npm comes with some builds of node; Debian has it apart.
if ! command -v npm >/dev/null; then packages+=(npm); fi
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Emscripten's optimiser finds its node modules here.
export NODE_PATH=/usr/share/nodejs

scripts/web-deps.sh build-web/deps

# The grown-ups' page packs its ZIP files with fflate from the npm registry, pinned here;
# its licence goes into the site beside it.
readonly fflate_version=0.8.2
fflate=build-web/npm/fflate/node_modules/fflate
if ! grep -qs "\"version\": \"$fflate_version\"" "$fflate/package.json"; then
  echo "Fetching fflate $fflate_version"
  npm install --prefix build-web/npm/fflate --no-save --no-package-lock --no-audit --no-fund "fflate@$fflate_version" >/dev/null
fi

echo "Making the game's pictures and sounds"
# Configured once: configuring writes setup.ini afresh, which would relink the game each time.
if [ ! -f build-web/host/CMakeCache.txt ]; then
  cmake -S . -B build-web/host -DCMAKE_BUILD_TYPE=Release -DTAFU_BUILD_TESTS=OFF -DTAFU_BUILD_BENCH=OFF >/dev/null
fi
cmake --build build-web/host -j "$(nproc)" --target tafu_assets >/dev/null

echo "Building the web page"
# emcc runs its clang through Debian's ccache when it is there, as the desktop builds do, with
# paths taken from this clone so that another clone finds the same objects.
if command -v ccache >/dev/null; then
  export EM_COMPILER_WRAPPER=ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
emcmake cmake -S . -B build-web/game -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE=-O2 -DCMAKE_CXX_FLAGS_RELEASE=-O2 -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-O2 \
  -DTAFU_BUILD_TESTS=OFF -DTAFU_BUILD_BENCH=OFF \
  -DTAFU_WEB_ASSETS="$PWD/build-web/host" -DTAFU_WEB_SITE="$PWD/build-web/site" \
  -DTAFU_WEB_FFLATE="$PWD/$fflate" >/dev/null
cmake --build build-web/game -j "$(nproc)"

if [ ! -f build-web/site/index.html ]; then
  echo "web.sh: the site was not made" >&2
  exit 1
fi
if ((serve)); then
  echo "TAFU is served on http://127.0.0.1:$port/ (Ctrl+C ends it)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi
