#!/bin/sh
# Smoke test of the game binary, started as the run command starts it (from
# the content folder, the binary one folder up) and driven like a player
# with xdotool under the X server of $DISPLAY:
#  1. the splash skipped, Exit clicked on the menu;
#  2. the splash skipped, New Game, the video skipped, Escape in play and
#     the exit prompt's exit button, clicked once the prompt shows.
# Each must end with status 0 within five seconds of the last click.
# usage: smoke.sh VIRKO CONTENT_DIR OUT_DIR
set -eu
virko=$1 content=$2 out=$3
. "$(dirname "$0")/play-lib.sh"
# The full-screen choice the game keeps stays with the test.
export XDG_CONFIG_HOME="$out/config"

# Exit item of the menu (mainSCR.cfg), New Game item, the exit prompt's
# exit button: their middles.
EXIT_X=188 EXIT_Y=496
NEW_GAME_X=188 NEW_GAME_Y=240
PROMPT_EXIT_X=460 PROMPT_EXIT_Y=517

rm -rf "$out" && mkdir -p "$out" && cp "$virko" "$out/virko"
start() {
  rm -rf "$out/content" "$out/config" && cp -r "$content" "$out/content"
  start_game_in "$out/content" exec ../virko
  skip_to_menu
}

start
click $EXIT_X $EXIT_Y
expect_exit "exit from the menu"
echo "menu exit: status 0"

start
click $NEW_GAME_X $NEW_GAME_Y
skip_video_to_play
open_exit_prompt
click $PROMPT_EXIT_X $PROMPT_EXIT_Y
expect_exit "exit through the prompt"
echo "exit prompt: status 0"
