# Shared by the replay tests: sourced with replay, content, recording and out
# set. run NAME [OPTION...] replays the recording in a fresh copy of the
# content (OUT/NAME, its pictures in OUT/NAME/shots, its state lines in
# OUT/NAME/state.txt, a hash of every frame's pixels in OUT/NAME/hashes.txt),
# the options given to virko-replay;
# value, expect, expect_above and expect_below read the state lines of the
# first replay, the expect_..._shown checks its pictures (ImageMagick).

fail() { echo "FAIL: $*" >&2; exit 1; }

run() {
  name=$1
  shift
  rm -rf "$out/$name" && mkdir -p "$out/$name/shots" && cp -r "$content" "$out/$name/content"
  status=0
  (cd "$out/$name/content" && "$replay" --play "$recording" --screenshots ../shots --state ../state.txt \
    --frame-hashes ../hashes.txt "$@") 2> "$out/$name/stderr.txt" || status=$?
  cat "$out/$name/stderr.txt" >&2
  [ "$status" = 0 ] || fail "replay $name ended with status $status"
  # Every file of the content loads, the videos included.
  [ ! -s "$out/$name/stderr.txt" ] || fail "replay $name wrote to stderr"
}

# The second replay holds every screen picture of the level from its start
# instead of streaming them as the camera moves: alike to the pixel, the two
# replays also show that streaming draws what holding them all would.
run_twice() {
  run first
  run second --screens-held-from-start
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

# The two replays end alike and draw every frame alike, and every stage has
# its picture, in more than a few colours (a blank screen has one) and the
# same in both to the pixel.
expect_same_replays() {
  cmp "$out/first/state.txt" "$out/second/state.txt" || fail "the two replays differ"
  played=$(grep -c ' play ' "$out/first/hashes.txt" || true)
  [ "$played" -gt 100 ] || fail "only $played play frames in $out/first/hashes.txt"
  if ! cmp -s "$out/first/hashes.txt" "$out/second/hashes.txt"; then
    first=$(diff "$out/first/hashes.txt" "$out/second/hashes.txt" | sed -n 's/^< //p' | head -1)
    fail "the two replays drew different frames, first: $first ($out/first/hashes.txt, $out/second/hashes.txt)"
  fi
  for stage in $(awk '$1 != "stage=end" { sub("stage=", "", $1); print $1 }' "$out/first/state.txt"); do
    [ -s "$(shot "$stage")" ] || fail "no picture of stage $stage"
    expect_colours_above "$stage" 256 0 0 800 600
    cmp -s "$(shot "$stage")" "$out/second/shots/$stage.ppm" || fail "stage $stage: the pictures of the two replays differ in $(
      compare -metric AE "$(shot "$stage")" "$out/second/shots/$stage.ppm" "$out/$stage-differences.png" 2>&1 || true
      ) pixels (marked in $out/$stage-differences.png)"
  done
}

# The pictures, read with ImageMagick. A region is X Y W H in scene pixels
# (the pictures are the 800 x 600 scene, top row first).
shot() { echo "$out/first/shots/$1.ppm"; }
# The number of colours in a region of STAGE's picture.
colours() {  # STAGE X Y W H
  convert "$(shot "$1")" -crop "${4}x${5}+${2}+${3}" +repage -format %k info:
}
# "R G B" of pixel (X, Y) of STAGE's picture.
colour_at() {  # STAGE X Y
  convert "$(shot "$1")" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}
expect_colours_above() {  # STAGE NUMBER X Y W H
  n=$(colours "$1" "$3" "$4" "$5" "$6")
  [ "$n" -gt "$2" ] || fail "stage $1: $n colours in ${5}x$6+$3+$4, expected above $2 (picture $(shot "$1"))"
}
# Wood and the cone are warm: red well above blue. A picture read with its
# channels swapped shows them blue.
expect_warm() {  # STAGE X Y WHAT
  set -- "$1" "$2" "$3" "$4" $(colour_at "$1" "$2" "$3")
  [ "$5" -gt 120 ] && [ "$5" -gt $(($7 + 60)) ] || fail "stage $1: $4 at ($2, $3) is '$5 $6 $7', expected warm"
}
# In play: the on-screen display's cone at the top left, and the level in
# many colours below it.
expect_play_shown() {  # STAGE
  expect_warm "$1" 50 37 "the display's cone"
  expect_colours_above "$1" 1000 0 100 800 400
}
# The menu: its Load sign.
expect_menu_shown() {  # STAGE
  expect_warm "$1" 100 295 "the Load sign"
}
# The statistics: light text over a fair part of the labels' column on the
# dark board, and the warm Exit button.
expect_statistics_shown() {  # STAGE
  light=$(convert "$(shot "$1")" -crop 260x280+30+150 +repage -colorspace gray -threshold 60% \
    -format "%[fx:int(1000*mean)]" info:)
  [ "$light" -gt 20 ] || fail "stage $1: light text on $light per mille of the labels' column, expected above 20"
  expect_warm "$1" 360 518 "the Exit button"
}
