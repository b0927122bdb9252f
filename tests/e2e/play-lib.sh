# Shared by the scripts that drive the game like a player, with keys and the
# mouse, and look at what it shows in screenshots: waits on what is shown
# rather than fixed pauses, and checks that the game still runs and shows
# what a key or click expects before it is sent.
#
# Sourced with out (the test's folder of logs and pictures) set. Then:
#   start_game_in DIR COMMAND...   the game, $pid its process
#   press, click, wait_until, expect_shows, expect_exit, and the probes
#   shows_menu, shows_options, shows_play, shows_exit_prompt.
# Keys go by xdotool and screens are taken from the X server of $DISPLAY;
# desktop-lib.sh adds keys=wayland and screen=wayland for sway.

pid= background=
keys=x screen=x

fail() {
  echo "FAIL${where:+ ($where)}: $*" >&2
  exit 1
}

# The game and everything else started in the background end with the
# script.
clean_up() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null || true
  for other in $background; do kill "$other" 2> /dev/null || true; done
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

# The game started in the background from folder DIR by COMMAND..., which
# ends in exec of the game, so that $pid is the game itself; its output in
# $out/game-N.log.
starts=0
start_game_in() {  # DIR COMMAND...
  starts=$((starts + 1)) dir=$1
  shift
  (cd "$dir" && "$@") > "$out/game-$starts.log" 2>&1 &
  pid=$! x_window=
}
game_runs() {
  state=$(ps -o stat= -p "$pid" 2> /dev/null) && [ "${state#Z}" = "$state" ]
}
game_ended() { ! game_runs; }
expect_running() {  # WHAT
  game_runs || fail "$1: the game is no longer running"
}
# The game shows what PROBE tells within SECONDS, and runs all the while: a
# game that has ended fails at once, not when the time is up.
expect_shows() {  # SECONDS WHAT PROBE...
  seconds=$1 shown=$2
  shift 2
  wait_until "$seconds" "$shown: not shown within $seconds seconds" runs_and "$shown" "$@"
}
runs_and() {  # WHAT PROBE...
  expect_running "$1"
  shift
  "$@"
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
# A click of the left button on scene pixel (X, Y), held a while: buttons
# look at the mouse once a frame.
click() {  # X Y
  point=$(scene_point "$1" "$2") || fail "a click at ($1, $2): the game has no window"
  xdotool mousemove $point && sleep 0.2
  xdotool mousedown 1 && sleep 0.1 && xdotool mouseup 1
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
# "R G B" of screen pixel (X, Y) now. On X the pixel alone is kept: a whole
# large screen in PNG costs a loaded machine seconds, and probes run often.
screen_colour() {  # X Y
  case $screen in
    x) import -window root -crop "1x1+$1+$2" +repage "$out/pixel.png" && colour_in "$out/pixel.png" 0 0 ;;
    wayland) screenshot "$out/screen.png" && colour_in "$out/screen.png" "$1" "$2" ;;
  esac
}

# Where the game shows its 800 x 600 scene in a drawable of W x H: "LEFT TOP
# WIDTH HEIGHT", as large as fits, centred, its shape kept.
scene_rect() {  # W H
  awk -v w="$1" -v h="$2" 'BEGIN {
    if (800 * h > 600 * w) { sw = w; sh = int(w * 3 / 4 + 0.5) } else { sh = h; sw = int(h * 4 / 3 + 0.5) }
    print int((w - sw) / 2), int((h - sh) / 2), sw, sh }'
}
# Where scene pixel (X, Y) shows on the screen: "SX SY"; false while the
# game has no window.
scene_point() {  # X Y
  geometry=$(window_geometry) || return 1
  set -- "$1" "$2" $geometry
  set -- "$1" "$2" "$5" "$6" $(scene_rect "$3" "$4")
  awk -v x="$1" -v y="$2" -v wx="$3" -v wy="$4" -v l="$5" -v t="$6" -v w="$7" -v h="$8" \
    'BEGIN { print int(wx + l + (x + 0.5) * w / 800), int(wy + t + (y + 0.5) * h / 600) }'
}
# Scene pixel (X, Y) as shown now passes CONDITION, an awk expression of
# its red, green and blue ($1, $2, $3); false while the game has no window.
scene_colour_is() {  # X Y CONDITION
  point=$(scene_point "$1" "$2") && colour=$(screen_colour $point) || return 1
  echo "$colour" | awk "{ exit !($3) }"
}

# What is shown, told by a pixel of the scene: the menu's wooden frame at
# its left edge; the options screen's sky there.
shows_menu() { scene_colour_is 5 300 '$1 > 120 && $3 < 110 && $1 > $3 + 50'; }
shows_options() { scene_colour_is 5 300 '$3 > 80 && $3 > $1 + 20'; }
# In play: the on-screen display's cone at the top left.
shows_play() { scene_colour_is 50 37 '$1 > 150 && $2 > 90 && $2 < 160 && $3 < 110'; }
# The exit prompt over play: the light tops of its two buttons.
shows_exit_prompt() {
  scene_colour_is 420 505 '$1 > 190 && $2 > 150' && scene_colour_is 320 505 '$1 > 190 && $2 > 150'
}
not_menu() { ! shows_menu; }

# The splash skipped and the menu shown. A key pressed before the splash's
# first frame is not seen: it is pressed again until the menu shows.
skip_to_menu() {
  wait_until 10 "the window never showed" window_geometry_known
  expect_shows 20 "the menu after the splash was skipped" escape_to_menu
}
window_geometry_known() { window_geometry > /dev/null 2>&1; }
escape_to_menu() { shows_menu || { press Escape && sleep 0.3 && shows_menu; }; }

# After New Game: the intro video skipped with KEY (it ends by itself
# anyway), the level loaded and played.
skip_video_to_play() {  # [KEY]
  expect_shows 10 "the menu left after New Game" not_menu
  press "${1:-Escape}"
  expect_shows 30 "play after New Game" shows_play
}
# In play, the exit prompt opened with Escape: it is pressed again until the
# prompt shows, as a frame may miss it, and the prompt stays open.
open_exit_prompt() {
  expect_shows 10 "the exit prompt after Escape in play" escape_to_prompt
}
escape_to_prompt() { shows_exit_prompt || { press Escape && sleep 0.3 && shows_exit_prompt; }; }

# The options opened with the keys from the menu.
open_options() {
  press Tab && press Down 2 && press Return  # New Game, Load, Options
  expect_shows 10 "the options screen" shows_options
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
# A window manager has said it runs (its property on the root window).
x_manager_announced() { xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id"; }
x_screen_size() { xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }'; }
