#!/bin/sh
# The demo play-through, replayed from its recording in a fresh copy of the
# content: every stage is checked from the replay's state lines and its
# picture (the menu's signs, the on-screen display and the level in play,
# the statistics' table), the options saved must reach settings.cfg, and a
# second replay, holding every screen picture from the level's start, must
# end in the same state bit for bit, with the same frames to the pixel. The
# stage pictures stay in OUT/first/shots.
# With "once" the second replay is left out (the sanitizers' run: the two
# replays are compared in the normal tree).
# usage: playthrough.sh VIRKO_REPLAY CONTENT_DIR RECORDING OUT_DIR [once]
set -eu
replay=$1 content=$2 recording=$3 out=$4 replays=${5:-twice}

. "$(dirname "$0")/replay-lib.sh"
if [ "$replays" = once ]; then run first; else run_twice; fi

expect splash screen splash
expect menu screen menu
expect_menu_shown menu
expect options screen options
expect options music 50
expect options-saved screen menu
expect_menu_shown options-saved
expect video screen video
expect loading screen loading
expect play-start screen play
expect play-start x 160
for stage in play-start throw-hit restarted platform bridge puff pillar; do
  expect_play_shown $stage
done
expect throw-hit kills 1
expect restarted x 160                 # back at the start after the pit
expect restarted points 0
expect_below platform y 700            # up on the second blue platform
expect_above bridge x 5600             # on the stepping stones
expect puff puffs 1
expect statistics screen statistics
expect_statistics_shown statistics
expect statistics kills 1
expect statistics taken 17,1,2,2,1,1,1 # every pickup kind, every cone
expect_above statistics x 7500
expect end screen statistics

# Music 50, sound 80 (unchanged), brightness 90, as dragged on the bars.
[ "$(od -An -tu1 "$out/first/content/settings.cfg" | tr -s ' ')" = " 50 80 90" ] \
  || fail "settings.cfg holds$(od -An -tu1 "$out/first/content/settings.cfg")"

[ "$replays" = once ] || expect_same_replays
echo "play-through passed: $(wc -l < "$out/first/state.txt") stages, pictures in $out/first/shots"
