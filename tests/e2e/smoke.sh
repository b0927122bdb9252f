#!/bin/sh
# Smoke test of the game binary, started as the run command starts it (from
# the content folder, the binary one folder up) and driven like a player
# with xdotool under the X server of $DISPLAY:
#  1. the splash skipped, Exit clicked on the menu;
#  2. the splash skipped, New Game, the video skipped, Escape in play and
#     the exit prompt's exit button.
# Each must end with status 0 within a second of the last click.
# usage: smoke.sh VIRKO CONTENT_DIR OUT_DIR
set -eu
virko=$1 content=$2 out=$3
# The full-screen choice the game keeps stays with the test.
export XDG_CONFIG_HOME="$out/config"

fail() { echo "FAIL: $*" >&2; [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null || true; exit 1; }

# Exit item of the menu (mainSCR.cfg), New Game item, the exit prompt's
# exit button: their middles.
EXIT_X=188 EXIT_Y=496
NEW_GAME_X=188 NEW_GAME_Y=240
PROMPT_EXIT_X=460 PROMPT_EXIT_Y=517

start() {
  rm -rf "$out" && mkdir -p "$out" && cp -r "$content" "$out/content" && cp "$virko" "$out/virko"
  (cd "$out/content" && exec ../virko) &
  pid=$!
  xdotool search --sync --name '^VIRKO$' > /dev/null || fail "no window"
  sleep 1
}
# Quick taps between two frames are not seen: keys are held a while.
hold() {  # KEY MILLISECONDS
  xdotool keydown "$1" && sleep "$(awk -v ms="$2" 'BEGIN { print ms / 1000 }')" && xdotool keyup "$1"
}
# Buttons look at the mouse button once a frame: it is held a while too.
click() {
  xdotool mousemove "$1" "$2" && sleep 0.2
  xdotool mousedown 1 && sleep 0.1 && xdotool mouseup 1
}
# The game must be gone within a second, with status 0.
expect_exit() {
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0 && wait "$pid" || status=$?
      [ "$status" -eq 0 ] || fail "$1: status $status"
      pid=
      return
    fi
    sleep 0.1
  done
  fail "$1: still running a second after the click"
}

start
hold Escape 100
sleep 0.5
click $EXIT_X $EXIT_Y
expect_exit "exit from the menu"
echo "menu exit: status 0"

start
hold Escape 100
sleep 0.5
click $NEW_GAME_X $NEW_GAME_Y
sleep 1
hold Escape 100
sleep 4  # the loading title shows for a second, then the level loads
hold Escape 200
sleep 0.5
click $PROMPT_EXIT_X $PROMPT_EXIT_Y
expect_exit "exit through the prompt"
echo "exit prompt: status 0"
