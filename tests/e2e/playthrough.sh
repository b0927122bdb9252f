#!/bin/sh
# The demo play-through, replayed from its recording in a fresh copy of the
# content: every stage is checked from the replay's state lines, the options
# saved must reach settings.cfg, and a second replay must end in the same
# state bit for bit. The stage pictures stay in OUT/shots.
# usage: playthrough.sh VIRKO_REPLAY CONTENT_DIR RECORDING OUT_DIR
set -eu
replay=$1 content=$2 recording=$3 out=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

# One replay in OUT/NAME: a fresh content copy, pictures and state lines.
run() {
  rm -rf "$out/$1" && mkdir -p "$out/$1/shots" && cp -r "$content" "$out/$1/content"
  status=0
  (cd "$out/$1/content" && "$replay" --play "$recording" --screenshots ../shots --state ../state.txt) \
    2> "$out/$1/stderr.txt" || status=$?
  cat "$out/$1/stderr.txt" >&2
  [ "$status" = 0 ] || fail "replay $1 ended with status $status"
  # Every file of the default content loads, the videos included.
  [ ! -s "$out/$1/stderr.txt" ] || fail "replay $1 wrote to stderr"
}
run first
run second
state=$out/first/state.txt

# The value of KEY on the state line of STAGE.
value() {
  awk -v stage="stage=$1" -v key="$2" '$1 == stage {
    for (i = 2; i <= NF; i++) if (index($i, key "=") == 1) print substr($i, length(key) + 2) }' "$state"
}
expect() {  # STAGE KEY VALUE
  [ "$(value "$1" "$2")" = "$3" ] || fail "stage $1: $2 is '$(value "$1" "$2")', expected '$3'"
}
expect_above() {  # STAGE KEY NUMBER
  awk -v v="$(value "$1" "$2")" -v n="$3" 'BEGIN { exit !(v + 0 > n + 0) }' \
    || fail "stage $1: $2 is '$(value "$1" "$2")', expected above $3"
}
expect_below() {  # STAGE KEY NUMBER
  awk -v v="$(value "$1" "$2")" -v n="$3" 'BEGIN { exit !(v + 0 < n + 0) }' \
    || fail "stage $1: $2 is '$(value "$1" "$2")', expected below $3"
}

expect splash screen splash
expect menu screen menu
expect options screen options
expect options music 50
expect options-saved screen menu
expect video screen video
expect loading screen loading
expect play-start screen play
expect play-start x 160
expect throw-hit kills 1
expect restarted x 160                 # back at the start after the pit
expect restarted points 0
expect_below platform y 700            # up on the second blue platform
expect_above bridge x 5600             # on the stepping stones
expect puff puffs 1
expect statistics screen statistics
expect statistics kills 1
expect statistics taken 17,1,2,2,1,1,1 # every pickup kind, every cone
expect_above statistics x 7500
expect end screen statistics

# Music 50, sound 80 (unchanged), brightness 90, as dragged on the bars.
[ "$(od -An -tu1 "$out/first/content/settings.cfg" | tr -s ' ')" = " 50 80 90" ] \
  || fail "settings.cfg holds$(od -An -tu1 "$out/first/content/settings.cfg")"

cmp "$out/first/state.txt" "$out/second/state.txt" || fail "the two replays differ"
for stage in $(awk '{ sub("stage=", "", $1); print $1 }' "$state"); do
  [ "$stage" = end ] || [ -s "$out/first/shots/$stage.ppm" ] || fail "no picture of stage $stage"
done
echo "play-through passed: $(wc -l < "$state") stages, pictures in $out/first/shots"
