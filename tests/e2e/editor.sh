#!/bin/sh
# The level editor driven like a level designer, with xdotool under the X
# server of $DISPLAY (a 1600 x 900 screen):
#  1. File > New (3 x 1 screens); a ground line with a pit (drawn on from
#     its end into a wall), two units, five pickups and a block drawn with
#     the mouse; saved as a new file.
#  2. The saved level passes virko-tool check without a word, and a route
#     that runs and jumps the pit reaches its end in virko-tool simulate.
#  3. F5 plays it in the game; leaving the game returns to the editor.
#  4. An edit, then the editor killed: the next start offers the recovery
#     file, which brings the edit back, and it is saved.
# usage: editor.sh VIRKO_EDIT VIRKO VIRKO_TOOL CONTENT_DIR OUT_DIR
set -eu
editor=$1 virko=$2 tool=$3 content=$4 out=$5
. "$(dirname "$0")/play-lib.sh"

rm -rf "$out" && mkdir -p "$out" && out=$(cd "$out" && pwd)
cp -r "$content" "$out/content"
export XDG_STATE_HOME="$out/state" XDG_CONFIG_HOME="$out/config"
level="$out/made.level"
log="$out/editor.log"

start_editor() {  # [FILE]
  : > "$log"
  "$editor" ${1:+"$1"} --data "$out/content" --game "$virko" --size 1600x900 --autosave 1 >> "$log" 2>&1 &
  pid=$! editor_window=
  wait_until 20 "the editor's window never showed" find_editor_window
  wait_until 20 "the editor's window never took the keyboard" editor_focused
}
editor_focused() { [ "$(xdotool getwindowfocus 2> /dev/null)" = "$editor_window" ]; }
find_editor_window() {
  editor_window=$(xdotool search --name '^VIRKO Level Editor' 2> /dev/null | head -1)
  [ -n "$editor_window" ]
}
said() { grep -q "$1" "$log"; }
expect_said() {  # SECONDS TEXT
  wait_until "$1" "the editor never said '$2' (see $log)" runs_and "the editor" said "$2"
}

# Where world point (X, Y) of a new 3 x 1 level shows in the editor's
# window, the level fitted to the view between the panels: the tools (260
# pixels) on the left, the properties (300) on the right, the menu (20) on
# top, the overview and status line (114) at the bottom; 95 % of the room.
window_point() {  # X Y
  awk -v x="$1" -v y="$2" 'BEGIN {
    w = 1600 - 260 - 300; h = 900 - 20 - 114
    s = (w / 2400 < h / 600 ? w / 2400 : h / 600) * 0.95
    left = 1200 - w / 2 / s - 260 / s; top = 300 - h / 2 / s - 20 / s
    printf "%d %d\n", (x - left) * s + 0.5, (y - top) * s + 0.5 }'
}
click_world() {  # X Y: a click there (snapped to 10 px by the editor)
  xdotool mousemove --window "$editor_window" $(window_point "$1" "$2") && sleep 0.1
  xdotool mousedown 1 && sleep 0.1 && xdotool mouseup 1 && sleep 0.1
}

# 1. A level drawn from nothing.
start_editor
press ctrl+n
press Return
expect_said 5 "new level of 3 x 1 screens"
press 2  # solid line: the ground, with a pit from x 1000 to 1060
click_world 0 500 && click_world 1000 500 && press Return
click_world 1060 500 && click_world 2400 500 && press Return
click_world 2400 500 && click_world 2400 300 && press Return  # on from its end: a wall
press 5  # units: hedgehogs, beyond the level's end
click_world 2200 450 && click_world 2300 450
press 6  # pickups along the way
for x in 400 500 600 700 800; do click_world $x 440; done
press 7  # a block, up in the air
click_world 1500 300
press ctrl+shift+s
xdotool type --delay 20 "$level"
press Return
expect_said 5 "saved $level"

# 2. Checked and simulated.
"$tool" check "$level" > "$out/check.log" 2>&1 || fail "virko-tool check refuses the level (see $out/check.log)"
! grep -q "warning\|error" "$out/check.log" || fail "virko-tool check is not clean: $(cat "$out/check.log")"
grep -q "5 solid / 0 platform / 0 unused points, 2 units, 12 pickups, 2 blocks" "$out/check.log" ||
  fail "not what was drawn: $(cat "$out/check.log")"
grep -q "^solid 1060,500 2400,500 2400,300$" "$level" || fail "the line was not drawn on from its end"
cp -r "$content" "$out/simulate"
cp "${level%.level}.vrk" "$out/simulate/DATA/levels/pine-isles.vrk"
# Run right (2 pixels a frame from x 200), jump at x 960, run on.
awk 'BEGIN { for (i = 0; i < 380; i++) print "Right"; for (i = 0; i < 20; i++) print "Right Button7";
             for (i = 0; i < 700; i++) print "Right" }' > "$out/route"
"$tool" simulate "$out/simulate" --frames 1080 --factor 2 --input "$out/route" > "$out/simulate.log" \
  || fail "virko-tool simulate failed"
awk '$20 == 1 { done = 1 } END { exit !done }' "$out/simulate.log" || fail "the route never reached the level's end"
echo "drawn, saved, checked clean, simulated to the end"

# 3. Test play from the start, and back.
editor_pid=$pid
played_at=$(date +%s.%N)
press F5
expect_said 5 "test play from the start"
wait_until 10 "no game window after F5" window_geometry_known
game_pid=$(pgrep -n -f -- "--play-level") || fail "no game process after F5"
pid=$game_pid
expect_shows 20 "play after F5" shows_play
echo "test play in $(echo "$(date +%s.%N) - $played_at" | bc) s"
open_exit_prompt
click 460 517  # the exit prompt's exit button
wait_until 5 "the game still runs after its exit" game_ended
pid=$editor_pid
expect_said 5 "test play ended"
wait_until 5 "the editor did not take the keyboard back" editor_focused
echo "F5: played and back"

# 4. Recovery after a kill.
press 6
click_world 900 440
wait_until 10 "no recovery file written" grep -qs "pickup 900,440" "$out"/state/virko-edit/recovery-*.level
kill -KILL "$pid" && wait "$pid" 2> /dev/null || true
start_editor "$level"
expect_said 5 "the editor ended without saving"
press Return
expect_said 5 "recovered $level"
press ctrl+s
expect_said 5 "saved $level"
grep -q "pickup 900,440" "$level" || fail "the recovered edit was not saved"
press ctrl+q
expect_exit "quit"
echo "recovered after a kill and saved"
