# Shared by the scripts that play the game as players run it: the Debian
# package installed into a root of its own, the game run from there as an
# ordinary user with a fresh home, on an X server or a Wayland compositor.
#
# Sourced after play-lib.sh, with out (the test's folder of logs and
# pictures) set. Then:
#   set_up_player                  the player's user, home and scratch folder
#   install_package DEB            the game in $root, $virko its program
#   start_game [ARGUMENT...]       the installed game as the player
#   start_sway SCALE               keys and screens then go through sway
# and the checks below. A script adds to player_env what the game needs to
# find its display.

# As root (CI) the game runs as this user, made once; otherwise as the user
# who runs the test.
PLAYER_USER=virko-player
APP_ID=lv.virko.Virko

keyboard=

# The player's files are left in $out to look at.
clean_up_player() {
  clean_up
  [ -z "$keyboard" ] || kill "$keyboard" 2> /dev/null || true
  [ -z "${scratch:-}" ] || { cp -r "$scratch/home" "$out/home" 2> /dev/null || true; rm -rf "$scratch"; }
}
trap clean_up_player EXIT

# The player, a home of theirs, and a scratch folder under /tmp that the
# player can read whatever folder the test runs in.
set_up_player() {
  mkdir -p "$out"
  scratch=$(mktemp -d /tmp/virko-e2e.XXXXXX)
  chmod 755 "$scratch"
  home=$scratch/home
  mkdir "$home"
  if [ "$(id -u)" -eq 0 ]; then
    id -u "$PLAYER_USER" > /dev/null 2>&1 ||
      useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$PLAYER_USER"
    player=$PLAYER_USER
    chown "$player:" "$home"
  else
    player=$(id -un)
  fi
  player_env="HOME=$home"
  # What the test's environment says of sound and rendering goes along.
  for name in ALSOFT_DRIVERS SDL_AUDIODRIVER LP_NUM_THREADS; do
    value=$(printenv "$name" || true)
    [ -z "$value" ] || player_env="$player_env $name=$value"
  done
}

# COMMAND... as the player, with the player's environment only.
player_runs() {
  if [ "$(id -u)" -eq 0 ]; then
    exec setpriv --reuid="$player" --regid="$(id -g "$player")" --init-groups \
      env -i PATH=/usr/bin:/bin $player_env "$@"
  fi
  exec env -i PATH=/usr/bin:/bin $player_env "$@"
}
as_player() { (player_runs "$@"); }
# The same in the background; $! is the command itself.
start_as_player() { (cd "$home" && player_runs "$@") & }

# The package installed as apt installs it, into $root with a dpkg database
# of its own (the system's is not touched).
dpkg_in_root() {
  dpkg --instdir="$root" --admindir="$root/var/lib/dpkg" --force-not-root --force-depends \
    --force-script-chrootless "$@"
}
installed_files() { (cd "$root" && find . | LC_ALL=C sort); }
install_package() {  # DEB
  root=$scratch/root
  mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
  : > "$root/var/lib/dpkg/status"
  dpkg_in_root -i "$1" > "$out/dpkg.log" 2>&1 || { cat "$out/dpkg.log" >&2; fail "dpkg cannot install $1"; }
  virko=$root/usr/games/virko
  installed_files > "$scratch/installed-files"
}
# No installed file changed, none added.
expect_installed_tree_unchanged() {
  changed=$(dpkg_in_root --verify virko)
  [ -z "$changed" ] || fail "installed files changed: $changed"
  installed_files | cmp -s - "$scratch/installed-files" ||
    fail "files added to the installed tree: $(installed_files | comm -13 "$scratch/installed-files" -)"
}

# The X server of $DISPLAY for the player too: its cookie, where the player
# can read it.
share_x_display() {
  [ -n "${XAUTHORITY:-}" ] || return 0
  cp "$XAUTHORITY" "$scratch/xauthority"
  [ "$(id -u)" -ne 0 ] || chown "$player" "$scratch/xauthority"
  XAUTHORITY=$scratch/xauthority
  export XAUTHORITY
  player_env="$player_env DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY"
}

# The installed game, as the player, from the player's home.
start_game() {  # [ARGUMENT...]
  start_game_in "$home" player_runs "$virko" "$@"
}

# In a screenshot of the window full screen: the scene's four corners drawn
# (the menu's frame), the bars beside it black, to within a pixel.
expect_scene_fills() {  # FILE SCREEN_W SCREEN_H
  file=$1 width=$2 height=$3
  set -- $(scene_rect "$2" "$3")
  l=$1 t=$2 r=$(($1 + $3 - 1)) b=$(($2 + $4 - 1))
  for corner in "$((l + 1)) $((t + 1))" "$((r - 1)) $((t + 1))" "$((l + 1)) $((b - 1))" "$((r - 1)) $((b - 1))"; do
    set -- $(colour_in "$file" $corner)
    [ $(($1 + $2 + $3)) -gt 60 ] || fail "the scene's corner at ($corner) is black: $*"
  done
  middle_y=$(((t + b) / 2)) middle_x=$(((l + r) / 2))
  for bar in "$((l - 2)) $middle_y" "$((r + 2)) $middle_y" "$middle_x $((t - 2))" "$middle_x $((b + 2))"; do
    set -- $bar
    [ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ "$1" -lt "$width" ] && [ "$2" -lt "$height" ] || continue
    [ "$(colour_in "$file" $bar)" = "0 0 0" ] || fail "the bar at ($bar) is $(colour_in "$file" $bar)"
  done
}

# The music volume kept in the player's settings.
player_music() { od -An -tu1 "$home/.config/virko/settings.cfg" | awk '{ print $1 }'; }
installed_music() { od -An -tu1 "$root/usr/share/virko/settings.cfg" | awk '{ print $1 }'; }
player_display_choice() { cat "$home/.config/virko/display.cfg" 2> /dev/null; }

# The music stepped down STEPS times on the options screen, and Escape back
# to the menu: the settings saved.
step_music_down() {  # STEPS
  open_options
  press Tab && press Left "$1"  # the music bar, their first widget
  leave_options
}
# Escape on the options screen, back to the menu.
leave_options() {
  press Escape
  expect_shows 10 "the menu after Escape on the options screen" shows_menu
}

# A headless sway, run as the player (it refuses to run as root): one output
# of 1920 x 1080 at SCALE, windows floating rather than tiled, XWayland on
# $xwayland_display.
start_sway() {  # SCALE
  sway_scale=$1
  runtime=$scratch/runtime
  mkdir -m 700 "$runtime"
  [ "$(id -u)" -ne 0 ] || chown "$player" "$runtime"
  # Made by root for everyone, as a desktop's start-up makes it.
  [ -d /tmp/.X11-unix ] || [ "$(id -u)" -ne 0 ] || mkdir -m 1777 /tmp/.X11-unix
  cat > "$scratch/sway.config" << CONFIG
output HEADLESS-1 mode 1920x1080 scale $sway_scale
for_window [app_id=".*"] floating enable
for_window [class=".*"] floating enable
xwayland force
CONFIG
  player_env="$player_env XDG_RUNTIME_DIR=$runtime"
  start_as_player env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway --verbose -c "$scratch/sway.config" > "$out/sway.log" 2>&1
  ends_with_test $!
  wait_until 10 "sway made no socket" sway_has_socket
  player_env="$player_env WAYLAND_DISPLAY=$(basename "$(sway_socket)")"
  wait_until 10 "sway made no IPC socket" sway_has_ipc
  player_env="$player_env SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock)"
  wait_until 10 "sway started no XWayland" grep -q "Starting Xwayland on" "$out/sway.log"
  xwayland_display=$(sed -n 's/.*Starting Xwayland on \(:[0-9]*\).*/\1/p' "$out/sway.log" | head -1)
  type_on_new_keyboard F12  # ignored by the game
  keys=wayland screen=wayland
}

# The headless seat has a keyboard only while a virtual one (wtype) is there,
# and a seat without one gives no window the focus. Its last keyboard must
# stay: a keyboard that is gone leaves the seat without a keymap, and SDL
# 2.26 crashes on a keyboard without one. So each key is typed by a new
# keyboard that stays, and the one before goes once the new one has typed.
type_on_new_keyboard() {  # KEY, or alt+KEY
  before=$keyboard
  case $1 in
    # Alt as a key of its own: SDL on X follows the modifier keys, not the
    # state a compositor passes on.
    alt+*) start_as_player wtype -P Alt_L -P "${1#alt+}" -s 100 -p "${1#alt+}" -p Alt_L -s 3600000 ;;
    *) start_as_player wtype -P "$1" -s 100 -p "$1" -s 3600000 ;;
  esac
  keyboard=$!
  sleep 0.3
  [ -z "$before" ] || kill "$before" 2> /dev/null || true
}
sway_socket() { ls "$runtime"/wayland-? 2> /dev/null | head -1; }
sway_has_socket() { [ -n "$(sway_socket)" ]; }
sway_has_ipc() { ls "$runtime"/sway-ipc.*.sock > /dev/null 2>&1; }
# The game's window in sway's tree (by its app id, or its class through
# XWayland), as JSON.
sway_window() {
  as_player swaymsg -t get_tree |
    jq -ce "[.. | objects | select(.app_id? == \"$APP_ID\" or .window_properties?.class? == \"$APP_ID\")][0]"
}
# Its drawable in the output's pixels (sway's are logical: times the scale).
sway_window_geometry() {
  sway_window | jq -er --argjson s "$sway_scale" '(.rect.x + .window_rect.x) as $x |
    (.rect.y + .window_rect.y) as $y | if .window_rect.width > 0 then
    "\(.window_rect.width * $s | floor) \(.window_rect.height * $s | floor) \($x * $s | floor) \($y * $s | floor)"
    else empty end'
}
# The output's scale changed while the game runs.
scale_output() {  # SCALE
  as_player swaymsg -q output HEADLESS-1 scale "$1"
  sway_scale=$1
}
sway_full_screen() { [ "$(sway_window | jq '.fullscreen_mode')" = 1 ]; }
sway_windowed() { [ "$(sway_window | jq '.fullscreen_mode')" = 0 ]; }
