#!/bin/sh
# draw-svg.sh RSVG_CONVERT OUTPUT SVG [OPTION...]: draws SVG into the PNG OUTPUT with
# rsvg-convert and these options. Every drawing is also kept in a cache of the machine's, named
# by what makes it (rsvg-convert's version, the options and the SVG's bytes), so that another
# build tree or clone on the machine copies it instead of drawing it again.
set -eu
rsvg=$1
output=$2
svg=$3
shift 3
cache=${TAFU_DRAWING_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tafu/drawings}
key=$({ "$rsvg" --version; echo "$@"; cat "$svg"; } | sha256sum | cut -c1-40)
kept=$cache/$key.png
if [ -s "$kept" ] && cp "$kept" "$output.tmp" 2>/dev/null; then
  mv "$output.tmp" "$output"
  exit 0
fi
"$rsvg" --format=png "$@" --output="$output.tmp" "$svg"
mv "$output.tmp" "$output"
# A cache that cannot be written only costs the next build its drawing.
if mkdir -p "$cache" 2>/dev/null && cp "$output" "$kept.$$" 2>/dev/null; then
  mv "$kept.$$" "$kept" 2>/dev/null || rm -f "$kept.$$"
fi
