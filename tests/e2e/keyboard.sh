#!/bin/sh
# The game played with the keyboard alone (xdotool keys, no mouse event)
# under the X server of $DISPLAY (800 x 600):
#  1. the splash skipped, the options item reached with Tab and Down and
#     opened with Enter, the music bar stepped down five times with Left,
#     Back reached with Down and pressed: settings.cfg holds the new volume;
#     then New Game with Tab and Enter, the video skipped, Escape in play and
#     the exit prompt's exit button reached with Right: status 0;
#  2. the splash skipped, Up (the last item, Exit) and Space: status 0.
# usage: keyboard.sh VIRKO CONTENT_DIR OUT_DIR
set -eu
virko=$1 content=$2 out=$3
export XDG_CONFIG_HOME="$out/config"

fail() { echo "FAIL: $*" >&2; [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null || true; exit 1; }

start() {
  rm -rf "$out" && mkdir -p "$out" && cp -r "$content" "$out/content" && cp "$virko" "$out/virko"
  (cd "$out/content" && exec ../virko) &
  pid=$!
  xdotool search --sync --name '^VIRKO$' > /dev/null || fail "no window"
  sleep 1.5
}
key() {  # KEY [TIMES]
  for _ in $(seq "${2:-1}"); do xdotool key "$1" && sleep 0.3; done
}
expect_exit() {
  for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0 && wait "$pid" || status=$?
      [ "$status" -eq 0 ] || fail "$1: status $status"
      pid=
      return
    fi
    sleep 0.1
  done
  fail "$1: still running five seconds after the key"
}

start
music=$(od -An -tu1 "$out/content/settings.cfg" | awk '{ print $1 }')
key Escape && sleep 0.5   # the splash
key Tab && key Down 2     # New Game, Load, Options
key Return && sleep 1     # the options screen
key Tab                   # the music bar, the first widget
key Left 5
key Down 3                # sound, brightness, Back
key Return && sleep 0.5   # saved, the menu again
saved=$(od -An -tu1 "$out/content/settings.cfg" | awk '{ print $1 }')
[ "$saved" -eq $((music - 5)) ] || fail "music saved as $saved, not $((music - 5))"
key Tab && key Return     # New Game
sleep 1 && key Return     # the video skipped
sleep 4                   # the loading title shows for a second, then the level loads
key Escape && sleep 0.5   # the exit prompt
key Right 2               # Back, Exit
key Return
expect_exit "exit through the prompt"
echo "options stepped and saved ($music -> $saved), new game, exit prompt: status 0"

start
key Escape && sleep 0.5
key Up && key space
expect_exit "exit from the menu"
echo "menu exit with Up and Space: status 0"
