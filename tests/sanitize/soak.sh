#!/bin/sh
# The random-input soak (virko-replay --soak) in a fresh copy of the content:
# FRAMES frames, the game started again whenever it ends. The seed is
# VIRKO_SOAK_SEED if that is set, else a random one; the replay prints it
# first, so that a failure can be run again with the same seed. With
# every-screen, each screen must have been reached. Words after the check
# are put before the replay (valgrind and its options).
# usage: soak.sh VIRKO_REPLAY CONTENT_DIR OUT_DIR FRAMES every-screen|any [RUNNER...]
set -eu
replay=$1 content=$2 out=$3 frames=$4 check=$5
shift 5

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$out" && mkdir -p "$out" && cp -r "$content" "$out/content"
set -- "$@" "$replay" --soak "$frames"
[ -z "${VIRKO_SOAK_SEED:-}" ] || set -- "$@" --seed "$VIRKO_SOAK_SEED"
status=0
(cd "$out/content" && "$@") > "$out/summary.txt" || status=$?
cat "$out/summary.txt"
seed=$(sed -n 's/^soak: seed \([0-9]*\).*/\1/p' "$out/summary.txt")
[ "$status" = 0 ] || fail "the soak ended with status $status (seed ${seed:-not printed}; VIRKO_SOAK_SEED=$seed repeats it)"
run=$(sed -n 's/^soak: \([0-9]*\) frames run.*/\1/p' "$out/summary.txt")
[ "${run:-0}" -ge "$frames" ] || fail "the soak ran ${run:-no} frames of its $frames"
if [ "$check" = every-screen ]; then
  grep -q "^soak: every screen reached" "$out/summary.txt" \
    || fail "not every screen was reached (seed $seed)"
fi
echo "soak passed: $frames frames, seed $seed"
