#!/bin/sh
# The game on a screen larger than its scene (the X server of $DISPLAY),
# without a window manager or under openbox, driven like a player with
# xdotool:
#  1. full screen really covers the screen, with black bars beside the
#     scene; F11 twice gives a window and full screen again; the splash
#     skipped, Exit clicked where the scaled menu shows it: status 0;
#  2. a new game; in play, Alt+Tab to another window and back three times
#     (without a window manager, the focus moved by hand): still full screen
#     and the level still drawn; Alt+Enter twice; the exit prompt's exit
#     button clicked where it shows: status 0.
# usage: display.sh VIRKO CONTENT_DIR OUT_DIR none|openbox
set -eu
virko=$1 content=$2 out=$3 wm=$4
# The full-screen choice the game keeps stays with the test.
export XDG_CONFIG_HOME="$out/config"

fail() {
  echo "FAIL ($wm): $*" >&2
  [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null || true
  exit 1
}
cleanup() {
  [ -z "${other:-}" ] || kill "$other" 2>/dev/null || true
  [ -z "${manager:-}" ] || kill "$manager" 2>/dev/null || true
}
trap cleanup EXIT

screen=$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
screen_width=${screen%x*} screen_height=${screen#*x}

if [ "$wm" = openbox ]; then
  openbox > "$out.openbox.log" 2>&1 &
  manager=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi
# Another window to switch to.
xmessage -geometry 300x100+0+0 "another window" &
other=$!

# Where scene pixel (X, Y) shows on the screen: the scene scaled to fit,
# centred.
scaled() {
  awk -v x="$1" -v y="$2" -v w="$screen_width" -v h="$screen_height" 'BEGIN {
    s = w / 800 < h / 600 ? w / 800 : h / 600
    sw = int(800 * s + 0.5); sh = int(600 * s + 0.5)
    printf "%d %d\n", int((w - sw) / 2 + (x + 0.5) * sw / 800), int((h - sh) / 2 + (y + 0.5) * sh / 600) }'
}
# The game window's size and place on the screen: "W H X Y".
geometry() {
  xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h, x, y }'
}
expect_full_screen() {
  [ "$(geometry)" = "$screen_width $screen_height 0 0" ] || fail "$1: the window is $(geometry)"
}
# The colour of screen pixel (X, Y) as "r,g,b".
colour_at() {
  import -window root "$out/screen.png"
  convert "$out/screen.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
hold() {  # KEY MILLISECONDS
  xdotool keydown "$1" && sleep "$(awk -v ms="$2" 'BEGIN { print ms / 1000 }')" && xdotool keyup "$1"
}
click() {  # scene X Y
  set -- $(scaled "$1" "$2")
  xdotool mousemove "$1" "$2" && sleep 0.2
  xdotool mousedown 1 && sleep 0.1 && xdotool mouseup 1
}
start() {
  rm -rf "$out" && mkdir -p "$out" && cp -r "$content" "$out/content" && cp "$virko" "$out/virko"
  (cd "$out/content" && exec ../virko) &
  pid=$!
  window=$(xdotool search --sync --name '^VIRKO$' | head -1) || fail "no window"
  sleep 1.5
}
expect_exit() {
  for _ in $(seq 20); do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0 && wait "$pid" || status=$?
      [ "$status" -eq 0 ] || fail "$1: status $status"
      pid=
      return
    fi
    sleep 0.1
  done
  fail "$1: still running two seconds after the click"
}
focus() {
  xdotool windowactivate "$1" 2>/dev/null || xdotool windowfocus "$1"
}

start
expect_full_screen "at start"
hold Escape 100
sleep 0.5
# The bars beside the scene are black, the scene is not.
set -- $(scaled 0 300)
bar_x=$(($1 / 2))
[ "$bar_x" -eq 0 ] || [ "$(colour_at "$bar_x" 300)" = "0,0,0" ] || fail "the bar is $(colour_at "$bar_x" 300)"
[ "$(colour_at $((screen_width / 2)) $((screen_height / 2)))" != "0,0,0" ] || fail "no scene"
hold F11 100
sleep 1
set -- $(geometry)
[ "$1" -lt "$screen_width" ] || fail "F11 left the window at $(geometry)"
hold F11 100
sleep 1
expect_full_screen "after F11 twice"
click 188 496  # the menu's Exit
expect_exit "exit from the menu"
echo "$wm: full screen, F11 twice, menu exit at the scaled place: status 0"

start
hold Escape 100
sleep 0.5
click 188 240  # New Game
sleep 1
hold Escape 100  # the video
sleep 4          # the loading title shows for a second, then the level loads
away() {
  if [ "$wm" = openbox ]; then xdotool key alt+Tab; else focus "$other_window"; fi
}
back() {
  if [ "$wm" = openbox ]; then xdotool key alt+Tab; else focus "$window"; fi
}
other_window=$(xdotool search --name '^xmessage$' | head -1)
for round in 1 2 3; do
  away
  sleep 1
  [ "$(xdotool getwindowfocus)" != "$window" ] || fail "round $round: the focus did not leave the game"
  back
  sleep 1.5
  [ "$(xdotool getwindowfocus)" = "$window" ] || fail "round $round: the focus did not come back"
  expect_full_screen "round $round: back from the other window"
done
xdotool key alt+Return
sleep 1
xdotool key alt+Return
sleep 1
expect_full_screen "after Alt+Enter twice"
# Play is drawn: a level, not a black screen.
colours=$(import -window root -crop "$((screen_width / 2))x$((screen_height / 2))+$((screen_width / 4))+$((screen_height / 4))" \
  -format '%k' info:)
[ "$colours" -gt 500 ] || fail "play shows only $colours colours"
hold Escape 200
sleep 0.5
click 460 517  # the exit prompt's exit button
expect_exit "exit through the prompt"
echo "$wm: Alt+Tab away and back three times in play, Alt+Enter twice, prompt exit: status 0"
