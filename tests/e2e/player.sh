#!/bin/sh
# The game as a new player gets it: the Debian package that the build makes,
# installed as apt installs it, played twice in a row by an ordinary user
# with a fresh home, under the X server of $DISPLAY without a window manager:
#  1. full screen; the splash skipped; the music turned down on the options
#     screen with the keys, left with Escape; F11 to a window; Exit chosen
#     with the keys: the player's settings.cfg holds the new volume, and
#     display.cfg "window";
#  2. started again: in a window, as chosen; the options opened and left at
#     once, which saves what they show: still the player's volume, not the
#     installed one; ended by SIGTERM: status 0;
# and the installed tree is unchanged (dpkg --verify, no file added); the
# player's home holds only those two files.
# usage: player.sh DEB OUT_DIR
set -eu
deb=$1 out=$2
where=player
. "$(dirname "$0")/play-lib.sh"
. "$(dirname "$0")/desktop-lib.sh"

rm -rf "$out"
set_up_player
install_package "$deb"
share_x_display
set -- $(x_screen_size)
screen_width=$1 screen_height=$2
full_screen() { [ "$(window_geometry)" = "$screen_width $screen_height 0 0" ]; }
windowed() {
  set -- $(window_geometry)
  [ "$1" -lt "$screen_width" ] && [ "$2" -lt "$screen_height" ]
}

start_game
skip_to_menu
full_screen || fail "not full screen at the first start: $(window_geometry)"
music=$(installed_music)
step_music_down 5
[ "$(player_music)" = "$((music - 5))" ] || fail "music saved as $(player_music), not $((music - 5))"
press F11
wait_until 5 "F11 left the game full screen" windowed
[ "$(player_display_choice)" = window ] || fail "display.cfg holds '$(player_display_choice)'"
press Up  # from nothing: the last item, Exit
expect_shows 5 "the menu before Return" shows_menu
press Return
expect_exit "Exit chosen with the keys"
echo "first start: full screen, music $music -> $((music - 5)) with the keys, F11 to a window, Exit"

start_game
skip_to_menu
windowed || fail "the window chosen was not kept: $(window_geometry)"
open_options
leave_options
[ "$(player_music)" = "$((music - 5))" ] ||
  fail "the options saved music $(player_music) over the player's $((music - 5))"
expect_running "before SIGTERM"
kill -TERM "$pid"
expect_exit "SIGTERM"
echo "second start: in a window, the player's settings shown and saved again, SIGTERM: status 0"

expect_installed_tree_unchanged
written=$(cd "$home" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
[ "$written" = "./.config/virko/display.cfg ./.config/virko/settings.cfg " ] ||
  fail "the home holds $written"
echo "the installed tree unchanged; only the player's settings and display choice written"
