# Shared by the scripts that play the game as players run it: the Debian
# package installed into a root of its own, the game run from there as an
# ordinary user with a fresh home, on an X server or a Wayland compositor,
# driven by keys and the mouse and looked at in screenshots.
#
# Sourced with out (the test's folder of logs and pictures) set. Then:
#   set_up_player                  the player's user, home and scratch folder
#   install_package DEB            the game in $root, $virko its program
#   keys=x|wayland, screen=x|wayland   how keys are sent and screens taken
# and start_game, press, click, wait_until, expect_exit and the checks below.
# A script adds to player_env what the game needs to find its display.

# As root (CI) the game runs as this user, made once; otherwise as the user
# who runs the test.
PLAYER_USER=virko-player
APP_ID=lv.virko.Virko

pid= background= keyboard=
keys=x screen=x

fail() {
  echo "FAIL${where:+ ($where)}: $*" >&2
  exit 1
}

# Everything started in the background ends with the script, and the
# player's files are left in $out to look at.
clean_up() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null || true
  for other in $keyboard $background; do kill "$other" 2> /dev/null || true; done
  [ -z "${scratch:-}" ] || { cp -r "$scratch/home" "$out/home" 2> /dev/null || true; rm -rf "$scratch"; }
}
trap clean_up EXIT
# Adds a process started in the background ($!) to those ended at the end.
ends_with_test() { background="$background $1"; }

# wait_until SECONDS WHAT COMMAND...: COMMAND again every tenth of a second
# until it succeeds; fails with WHAT when SECONDS have passed.
wait_until() {
  tries=$(($1 * 10)) what=$2
  shift 2
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "$what"
    sleep 0.1
  done
}

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

# The installed game, as the player, from the player's home; its output in
# $out/game-N.log.
starts=0
start_game() {  # [ARGUMENT...]
  starts=$((starts + 1))
  start_as_player "$virko" "$@" > "$out/game-$starts.log" 2>&1
  pid=$!
}
game_runs() {
  state=$(ps -o stat= -p "$pid" 2> /dev/null) && [ "${state#Z}" = "$state" ]
}
game_ended() { ! game_runs; }
expect_running() {  # WHAT
  game_runs || fail "$1: the game is no longer running"
}
# The game ends within five seconds, with status 0.
expect_exit() {  # WHAT
  wait_until 5 "$1: the game still runs five seconds later" game_ended
  status=0 && wait "$pid" || status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
}

# A key (or alt+KEY) held for a tenth of a second, so that a frame sees it,
# then a pause for the game to act on it.
press() {  # KEY [TIMES]
  for _ in $(seq "${2:-1}"); do
    case $keys in
      x) xdotool keydown "$1" && sleep 0.1 && xdotool keyup "$1" ;;
      wayland) type_on_new_keyboard "$1" ;;
    esac
    sleep 0.2
  done
}

# The whole screen, as PNG.
screenshot() {  # FILE
  case $screen in
    x) import -window root "$1" ;;
    wayland) as_player grim "$home/screen.png" && mv "$home/screen.png" "$1" ;;
  esac
}
# "R G B" of pixel (X, Y) of a picture.
colour_in() {  # FILE X Y
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# Where the game shows its 800 x 600 scene in a drawable of W x H: "LEFT TOP
# WIDTH HEIGHT", as large as fits, centred, its shape kept.
scene_rect() {  # W H
  awk -v w="$1" -v h="$2" 'BEGIN {
    if (800 * h > 600 * w) { sw = w; sh = int(w * 3 / 4 + 0.5) } else { sh = h; sw = int(h * 4 / 3 + 0.5) }
    print int((w - sw) / 2), int((h - sh) / 2), sw, sh }'
}
# The window's drawable on the screen, in screen pixels: "W H X Y". The
# script defines window_geometry for its window system.
# Where scene pixel (X, Y) shows on the screen: "SX SY".
scene_point() {  # X Y
  set -- "$1" "$2" $(window_geometry)
  set -- "$1" "$2" "$5" "$6" $(scene_rect "$3" "$4")
  awk -v x="$1" -v y="$2" -v wx="$3" -v wy="$4" -v l="$5" -v t="$6" -v w="$7" -v h="$8" \
    'BEGIN { print int(wx + l + (x + 0.5) * w / 800), int(wy + t + (y + 0.5) * h / 600) }'
}
# "R G B" of scene pixel (X, Y) as shown now.
scene_colour() {  # X Y
  set -- $(scene_point "$1" "$2")
  screenshot "$out/screen.png"
  colour_in "$out/screen.png" "$1" "$2"
}

# What is shown, told by a pixel of the scene: the menu's wooden frame at
# its left edge; the options screen's sky there.
shows_menu() {
  set -- $(scene_colour 5 300)
  [ "$1" -gt 120 ] && [ "$3" -lt 110 ] && [ "$1" -gt $(($3 + 50)) ]
}
shows_options() {
  set -- $(scene_colour 5 300)
  [ "$3" -gt 80 ] && [ "$3" -gt $(($1 + 20)) ]
}
# In play: the on-screen display's cone at the top left.
shows_play() {
  set -- $(scene_colour 50 37)
  [ "$1" -gt 150 ] && [ "$2" -gt 90 ] && [ "$2" -lt 160 ] && [ "$3" -lt 110 ]
}
# The exit prompt over play: the light tops of its two buttons.
shows_exit_prompt() {
  set -- $(scene_colour 420 505) $(scene_colour 320 505)
  [ "$1" -gt 190 ] && [ "$2" -gt 150 ] && [ "$4" -gt 190 ] && [ "$5" -gt 150 ]
}
not_menu() { ! shows_menu; }

# The splash skipped and the menu shown. A key pressed before the splash's
# first frame is not seen: it is pressed again until the menu shows.
skip_to_menu() {
  wait_until 10 "the window never showed" window_geometry_known
  wait_until 20 "no menu after the splash was skipped" escape_to_menu
}
window_geometry_known() { window_geometry > /dev/null 2>&1; }
escape_to_menu() { shows_menu || { press Escape && sleep 0.3 && shows_menu; }; }

# After New Game: the intro video skipped (it ends by itself anyway), the
# level loaded and played.
skip_video_to_play() {
  wait_until 10 "New Game left the menu shown" not_menu
  press Escape
  wait_until 30 "no play after New Game" shows_play
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

# The options opened with the keys from the menu, the music bar stepped
# down STEPS times, and Escape back to the menu: the settings saved.
step_music_down() {  # STEPS
  press Tab && press Down 2 && press Return  # New Game, Load, Options
  wait_until 10 "no options screen" shows_options
  press Tab && press Left "$1"               # the music bar
  press Escape
  wait_until 10 "Escape did not leave the options screen" shows_menu
}

# Where the game's window is, on the screen the script's window system has:
# "W H X Y" of its drawable in screen pixels; false while there is none.
window_geometry() {
  case $screen in
    x) x_window_geometry ;;
    wayland) sway_window_geometry ;;
  esac
}

# On an X server: the window found by its title.
x_window=
x_window_geometry() {
  [ -n "$x_window" ] || x_window=$(xdotool search --name '^VIRKO$' 2> /dev/null | head -1)
  [ -n "$x_window" ] || return 1
  xwininfo -id "$x_window" 2> /dev/null | awk '/Absolute upper-left X/ { x = $4 }
    /Absolute upper-left Y/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 }
    END { if (!w) exit 1; print w, h, x, y }'
}
x_screen_size() { xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }'; }
# A click of the left button on scene pixel (X, Y), held a while: buttons
# look at the mouse once a frame.
click() {  # X Y
  set -- $(scene_point "$1" "$2")
  xdotool mousemove "$1" "$2" && sleep 0.2
  xdotool mousedown 1 && sleep 0.1 && xdotool mouseup 1
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
