#!/bin/sh
# The Pine Isles completed: the recording (made by virko-replay --play-demo
# with the level's simulate route) replayed twice (see run_twice) in fresh
# copies of the default content, from the splash to the statistics screen, with a picture
# of every section of the level in OUT/first/shots and a contact sheet of them
# in OUT/sections.png. The replay must end as
# the route's simulation without a window does (whose cones the unit test
# PineIsles counts from the level file).
# usage: pine-isles.sh VIRKO_REPLAY CONTENT_DIR RECORDING OUT_DIR VIRKO_TOOL ROUTE
set -eu
replay=$1 content=$2 recording=$3 out=$4 tool=$5 route=$6

. "$(dirname "$0")/replay-lib.sh"
run_twice

expect play-start screen play
expect play-start x 300
expect_play_shown play-start
for section in 1 2 3 4 5 6 7 8 9; do
  expect "section-$section" screen play
  expect_above "section-$section" x $((section * 2400 - 1))
  expect_play_shown "section-$section"
done
expect statistics screen statistics
expect_above statistics x 23500
expect_above statistics seconds 149    # a perfect run takes two and a half minutes
expect_statistics_shown statistics
# The cones of the route's last frame simulated (the 15th field of its trace
# line); the route ends the level within three minutes (the unit test
# PineIsles checks), and play stops there.
cones=$("$tool" simulate "$content" --frames 18000 --factor 2 --input "$route" | awk 'END { print $15 }')
[ -n "$cones" ] || fail "the route's simulation printed nothing"
expect statistics cones "$cones"
expect end screen statistics
expect_same_replays
# A contact sheet of the sections, for the README (docs/pine-isles-sections.png
# is a copy).
sh "$(dirname "$0")/../../tools/levels/contact-sheet.sh" "$out/first/shots" "$out/sections.png" > /dev/null ||
  fail "no contact sheet of the sections"
echo "Pine Isles passed: $(wc -l < "$out/first/state.txt") stages, pictures in $out/first/shots, sheet $out/sections.png"
