#!/bin/sh
# The installed game, played by an ordinary user on a Wayland desktop: a
# headless sway (wlroots) with one 1920 x 1080 output at SCALE, the game
# through XWayland (SDL's default there) or natively (SDL_VIDEODRIVER=
# wayland), keys typed with wtype, the screen taken with grim:
#  1. it shows at all (a compositor maps, and focuses, only a window that has
#     drawn), full screen and found by the desktop entry's id; the splash
#     skipped; the menu's scene fills the output's real pixels between black
#     bars, to within a pixel;
# and in a whole run:
#  2. the output's scale changed to 2 and back while the game runs: the scene
#     fills it each time;
#  3. the options opened with the keys, the music stepped down and left with
#     Escape: the player's settings saved; F11 to a window and Alt+Enter back
#     to full screen (F11 through XWayland, which loses the second key of a
#     virtual keyboard's new keymap), the scene filling it again; Exit chosen
#     with the keys: status 0;
#  4. started with --window: a window; F11 to full screen;
# then ended by SIGTERM: status 0; natively, a short run ends as the
# compositor goes away: status 0 too. The installed tree is unchanged.
# usage: sway.sh DEB OUT_DIR xwayland|wayland SCALE whole|short
set -eu
deb=$1 out=$2 mode=$3 scale=$4 run=$5
where="sway, $mode, scale $scale"
. "$(dirname "$0")/play-lib.sh"
. "$(dirname "$0")/desktop-lib.sh"

rm -rf "$out"
set_up_player
install_package "$deb"
start_sway "$scale"
case $mode in
  wayland) player_env="$player_env SDL_VIDEODRIVER=wayland" ;;
  xwayland) player_env="$player_env DISPLAY=$xwayland_display" ;;
esac

# The menu full screen: its picture kept as NAME.png.
expect_menu_fills_output() {  # NAME
  wait_until 5 "$1: not full screen" sway_full_screen
  wait_until 10 "$1: no menu" shows_menu
  screenshot "$out/$1.png"
  expect_scene_fills "$out/$1.png" 1920 1080
}
expect_smaller_window() {  # WHAT
  wait_until 5 "$1: still full screen" sway_windowed
  set -- "$1" $(window_geometry)
  [ "$2" -lt 1920 ] && [ "$3" -lt 1080 ] || fail "$1: the window is $2 x $3"
}

start_game
skip_to_menu
expect_menu_fills_output full-screen
echo "$where: shown, full screen, the scene filling the output"

if [ "$run" = whole ]; then
  scale_output 2
  expect_menu_fills_output scale-changed
  scale_output "$scale"
  expect_menu_fills_output scale-back
  echo "$where: the output's scale changed to 2 and back: the scene fills it each time"

  music=$(installed_music)
  step_music_down 5
  [ "$(player_music)" = "$((music - 5))" ] || fail "music saved as $(player_music), not $((music - 5))"
  press F11
  expect_smaller_window "F11"
  if [ "$mode" = wayland ]; then back=alt+Return; else back=F11; fi
  press "$back"
  expect_menu_fills_output full-screen-again
  [ "$(player_display_choice)" = "full screen" ] || fail "display.cfg holds '$(player_display_choice)'"
  press Up  # from nothing: the last item, Exit
  expect_shows 5 "the menu before Return" shows_menu
  press Return
  expect_exit "Exit chosen with the keys"
  echo "$where: options with the keys ($music -> $((music - 5))), F11 and $back, Exit: status 0"

  start_game --window
  wait_until 10 "--window: no window" window_geometry_known
  expect_smaller_window "--window"
  skip_to_menu
  press F11
  expect_menu_fills_output from-window
fi

if [ "$mode-$run" = wayland-short ]; then
  expect_running "before the compositor goes"
  for process in $background; do kill "$process"; done
  background=
  expect_exit "the compositor gone"
  ending="as the compositor went away"
else
  expect_running "before SIGTERM"
  kill -TERM "$pid"
  expect_exit "SIGTERM"
  ending="by SIGTERM"
fi
expect_installed_tree_unchanged
echo "$where: ended $ending with status 0; the installed tree unchanged"
