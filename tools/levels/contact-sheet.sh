#!/bin/sh
# A contact sheet of a level's sections from the pictures its recorded
# completion takes (tests/e2e, e.g. build/e2e/pine-isles/first/shots after
# `ctest -R e2e_pine_isles`): the start, then the picture taken as the player
# enters each next section, in one PNG, each labelled with its section.
# usage: contact-sheet.sh SHOTS_DIR OUT.png [COLUMNS]
set -eu
[ $# -ge 2 ] || { echo "usage: contact-sheet.sh SHOTS_DIR OUT.png [COLUMNS]" >&2; exit 2; }
shots=$1 out=$2 columns=${3:-5}
command -v montage > /dev/null || { echo "contact-sheet.sh: montage (ImageMagick) is needed" >&2; exit 1; }
[ -s "$shots/play-start.ppm" ] || { echo "contact-sheet.sh: no $shots/play-start.ppm" >&2; exit 1; }

# The picture named section-N is taken where section N + 1 begins.
set -- -label "section 1" "$shots/play-start.ppm"
n=1
while [ -s "$shots/section-$n.ppm" ]; do
  set -- "$@" -label "section $((n + 1))" "$shots/section-$n.ppm"
  n=$((n + 1))
done
mkdir -p "$(dirname "$out")"
# Two fifths of the size, framed, labelled; in 256 colours, half the bytes;
# the PNG without its time stamps, so that the same pictures make the same
# file.
montage "$@" -tile "${columns}x" -geometry 320x240+4+4 -background '#2a1f2d' -fill '#fbe6c4' -pointsize 16 \
  miff:- | convert - +dither -colors 256 -depth 8 -define png:exclude-chunks=date,time "$out"
echo "contact-sheet.sh: $n sections in $out"
