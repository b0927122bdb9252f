#!/bin/sh
# Full screen on an X server without a window manager follows the screen's
# size when its mode changes while the game runs (xrandr), and a window
# manager that has exited (killed, its property left on the root window)
# does not count. Run inside an X server of its own (xvfb-run): a nested
# Xephyr, whose screen xrandr can resize, holds the game.
# usage: screen-mode.sh VIRKO CONTENT_DIR OUT_DIR
set -eu
virko=$1 content=$2 out=$3
. "$(dirname "$0")/play-lib.sh"
export XDG_CONFIG_HOME="$out/config"  # the display choice stays with the test

rm -rf "$out" && mkdir -p "$out" && cp -r "$content" "$out/content"
number=57
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
Xephyr ":$number" -screen 1280x800 -resizeable -noreset > "$out/xephyr.log" 2>&1 &
ends_with_test $!
export DISPLAY=":$number"
wait_until 5 "Xephyr did not start" sh -c 'xdpyinfo > /dev/null 2>&1'

# The game's window at "WIDTH HEIGHT X Y" within three seconds.
expect_place() {  # WANTED WHAT
  wait_until 3 "$2: the window not at $1" placed "$1"
  echo "$2: $1"
}
placed() { [ "$(window_geometry)" = "$1" ]; }

# A window manager that ends without clearing its property.
openbox > "$out/openbox.log" 2>&1 &
manager=$!
wait_until 5 "openbox did not start" x_manager_announced
kill -9 "$manager"
wait "$manager" 2>/dev/null || true
x_manager_announced || fail "openbox left no property to test"

start_game_in "$out/content" exec "$virko" --data .
wait_until 10 "the window never showed" window_geometry_known
expect_place "1280 800 0 0" "full screen"
for size in 1024x768 1600x1200 1280x800; do
  xrandr -s "$size" > /dev/null 2>&1 || fail "xrandr -s $size"
  expect_place "$(echo "$size" | tr x ' ') 0 0" "screen changed to $size"
done
expect_running "after the screen's changes"
echo "PASS"
