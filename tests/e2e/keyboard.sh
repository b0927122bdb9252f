#!/bin/sh
# The game played with the keyboard alone (xdotool keys, no mouse event)
# under the X server of $DISPLAY (800 x 600):
#  1. the splash skipped, the options item reached with Tab and Down and
#     opened with Enter, the music bar stepped down five times with Left,
#     Back reached with Down and pressed: settings.cfg holds the new volume;
#     then New Game with Tab and Enter, the video skipped with Enter, Escape
#     in play and, once the exit prompt shows, its exit button reached with
#     Right and pressed: status 0;
#  2. the splash skipped, Up (the last item, Exit) and Space: status 0.
# usage: keyboard.sh VIRKO CONTENT_DIR OUT_DIR
set -eu
virko=$1 content=$2 out=$3
. "$(dirname "$0")/play-lib.sh"
export XDG_CONFIG_HOME="$out/config"

rm -rf "$out" && mkdir -p "$out" && cp "$virko" "$out/virko"
start() {
  rm -rf "$out/content" "$out/config" && cp -r "$content" "$out/content"
  start_game_in "$out/content" exec ../virko
  skip_to_menu
}
music() { od -An -tu1 "$out/content/settings.cfg" | awk '{ print $1 }'; }

start
music=$(music)
open_options
press Tab && press Left 5 # the music bar, the first widget
press Down 3              # sound, brightness, Back
press Return              # saved, the menu again
expect_shows 10 "the menu after Back" shows_menu
[ "$(music)" -eq $((music - 5)) ] || fail "music saved as $(music), not $((music - 5))"
press Tab && press Return # New Game
skip_video_to_play Return
open_exit_prompt
press Right 2             # Back, Exit
expect_shows 5 "the exit prompt before Return" shows_exit_prompt
press Return
expect_exit "exit through the prompt"
echo "options stepped and saved ($music -> $((music - 5))), new game, exit prompt: status 0"

start
press Up                  # from nothing: the last item, Exit
expect_shows 5 "the menu before Space" shows_menu
press space
expect_exit "exit from the menu"
echo "menu exit with Up and Space: status 0"
