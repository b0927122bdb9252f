#!/bin/sh
# Full screen on an X server without a window manager follows the screen's
# size when its mode changes while the game runs (xrandr), and a window
# manager that has exited (killed, its property left on the root window)
# does not count. Run inside an X server of its own (xvfb-run): a nested
# Xephyr, whose screen xrandr can resize, holds the game.
# usage: screen-mode.sh VIRKO CONTENT_DIR OUT_DIR
set -eu
virko=$1 content=$2 out=$3
export XDG_CONFIG_HOME="$out/config"  # the display choice stays with the test

fail() { echo "FAIL: $*" >&2; cleanup; exit 1; }
cleanup() {
  [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null || true
  [ -z "${nested:-}" ] || kill "$nested" 2>/dev/null || true
}

rm -rf "$out" && mkdir -p "$out" && cp -r "$content" "$out/content"
number=57
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
Xephyr ":$number" -screen 1280x800 -resizeable -noreset > "$out/xephyr.log" 2>&1 &
nested=$!
export DISPLAY=":$number"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo > /dev/null 2>&1 || fail "Xephyr did not start"

# The game's window: "X Y WIDTH HEIGHT".
place() {
  xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}
expect_place() {  # WANTED WHAT
  for _ in $(seq 30); do [ "$(place)" = "$1" ] && break; sleep 0.1; done
  [ "$(place)" = "$1" ] || fail "$2: the window at $(place), not $1"
  echo "$2: $1"
}

# A window manager that ends without clearing its property.
openbox > "$out/openbox.log" 2>&1 &
manager=$!
sleep 2
kill -9 "$manager"
wait "$manager" 2>/dev/null || true
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" || fail "openbox left no property to test"

(cd "$out/content" && exec "$virko" --data .) > "$out/game.log" 2>&1 &
pid=$!
window=$(xdotool search --sync --name '^VIRKO$' | head -1)
expect_place "0 0 1280 800" "full screen"
for size in 1024x768 1600x1200 1280x800; do
  xrandr -s "$size" > /dev/null 2>&1 || fail "xrandr -s $size"
  expect_place "0 0 $(echo "$size" | tr x ' ')" "screen changed to $size"
done
kill -0 "$pid" 2>/dev/null || fail "the game ended"
cleanup
echo "PASS"
