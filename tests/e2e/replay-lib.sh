# Shared by the replay tests: sourced with replay, content, recording and out
# set. run NAME replays the recording in a fresh copy of the content (OUT/NAME,
# its pictures in OUT/NAME/shots, its state lines in OUT/NAME/state.txt);
# value, expect, expect_above and expect_below read the state lines of the
# first replay.

fail() { echo "FAIL: $*" >&2; exit 1; }

run() {
  rm -rf "$out/$1" && mkdir -p "$out/$1/shots" && cp -r "$content" "$out/$1/content"
  status=0
  (cd "$out/$1/content" && "$replay" --play "$recording" --screenshots ../shots --state ../state.txt) \
    2> "$out/$1/stderr.txt" || status=$?
  cat "$out/$1/stderr.txt" >&2
  [ "$status" = 0 ] || fail "replay $1 ended with status $status"
  # Every file of the content loads, the videos included.
  [ ! -s "$out/$1/stderr.txt" ] || fail "replay $1 wrote to stderr"
}

# The value of KEY on the state line of STAGE.
value() {
  awk -v stage="stage=$1" -v key="$2" '$1 == stage {
    for (i = 2; i <= NF; i++) if (index($i, key "=") == 1) print substr($i, length(key) + 2) }' "$out/first/state.txt"
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

# The two replays end alike, and every stage has its picture.
expect_same_replays() {
  cmp "$out/first/state.txt" "$out/second/state.txt" || fail "the two replays differ"
  for stage in $(awk '{ sub("stage=", "", $1); print $1 }' "$out/first/state.txt"); do
    [ "$stage" = end ] || [ -s "$out/first/shots/$stage.ppm" ] || fail "no picture of stage $stage"
  done
}
