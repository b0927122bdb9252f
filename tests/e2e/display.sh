#!/bin/sh
# The installed game, played by an ordinary user on the X server of $DISPLAY
# (any screen size), without a window manager or under openbox, driven with
# xdotool:
#  1. full screen really covers the screen; the menu's scene fills it between
#     black bars, to within a pixel; F11 twice gives a window and full screen
#     again; Exit clicked where the scaled menu shows it: status 0;
#  2. a new game; in play, Alt+Tab to another window and back three times
#     (without a window manager, the focus moved by hand): still full screen
#     and the level still drawn; Alt+Enter twice; the exit prompt opened with
#     Escape and its exit button clicked where it shows: status 0.
# usage: display.sh DEB OUT_DIR none|openbox
set -eu
deb=$1 out=$2 wm=$3
. "$(dirname "$0")/play-lib.sh"
. "$(dirname "$0")/desktop-lib.sh"

rm -rf "$out"
set_up_player
install_package "$deb"
share_x_display
set -- $(x_screen_size)
screen_width=$1 screen_height=$2
where="$wm, $screen_width x $screen_height"

if [ "$wm" = openbox ]; then
  openbox > "$out/openbox.log" 2>&1 &
  ends_with_test $!
  wait_until 5 "openbox did not start" x_manager_announced
fi
# Another window to switch to.
xmessage -geometry 300x100+0+0 "another window" &
ends_with_test $!
wait_until 5 "no other window" sh -c 'xdotool search --name "^xmessage$" > /dev/null'
other_window=$(xdotool search --name '^xmessage$' | head -1)

full_screen() { [ "$(window_geometry)" = "$screen_width $screen_height 0 0" ]; }
windowed() {
  set -- $(window_geometry)
  [ "$1" -lt "$screen_width" ]
}
expect_full_screen() {  # WHAT
  wait_until 5 "$1: not full screen but $(window_geometry)" full_screen
}
game_focused() { [ "$(xdotool getwindowfocus)" = "$x_window" ]; }
game_not_focused() { ! game_focused; }
focus() { xdotool windowactivate "$1" 2> /dev/null || xdotool windowfocus "$1"; }
away() { if [ "$wm" = openbox ]; then xdotool key alt+Tab; else focus "$other_window"; fi; }
back() { if [ "$wm" = openbox ]; then xdotool key alt+Tab; else focus "$x_window"; fi; }

start_game
skip_to_menu
expect_full_screen "at start"
screenshot "$out/menu.png"
expect_scene_fills "$out/menu.png" "$screen_width" "$screen_height"
press F11
wait_until 5 "F11 left the window at $(window_geometry)" windowed
press F11
expect_full_screen "after F11 twice"
expect_shows 5 "the menu after F11 twice" shows_menu
click 188 496  # the menu's Exit
expect_exit "exit from the menu"
echo "$where: full screen, the scene between bars, F11 twice, menu exit at the scaled place: status 0"

start_game
skip_to_menu
click 188 240  # New Game
skip_video_to_play
for round in 1 2 3; do
  away
  wait_until 5 "round $round: the focus did not leave the game" game_not_focused
  back
  wait_until 5 "round $round: the focus did not come back" game_focused
  expect_full_screen "round $round: back from the other window"
  expect_shows 5 "round $round: play drawn again" shows_play
done
xdotool key alt+Return
wait_until 5 "Alt+Enter left the window at $(window_geometry)" windowed
xdotool key alt+Return
expect_full_screen "after Alt+Enter twice"
expect_shows 5 "play after Alt+Enter twice" shows_play
open_exit_prompt
click 460 517  # its exit button
expect_exit "exit through the prompt"
expect_installed_tree_unchanged
echo "$where: Alt+Tab away and back three times in play, Alt+Enter twice, prompt exit: status 0"
