#!/bin/sh
# Runs a drawing test under an X server of its own. Exits 77, which CTest
# reports as skipped, when the test cannot run here: no xvfb-run, or every
# test that ran skipped itself (a program they need is missing). A binary's
# own skips would otherwise end with status 0 and count as passed.
# usage: run-under-x.sh SERVER_ARGS TEST_BINARY [ARGS...]
server=$1
shift
command -v xvfb-run > /dev/null || { echo "skipped: xvfb-run is not installed"; exit 77; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
xvfb-run -a -s "$server" "$@" > "$log" 2>&1 || status=$?
cat "$log"
if [ "$status" = 0 ] && grep -q '^\[  PASSED  \] 0 tests' "$log" && grep -q '^\[  SKIPPED \]' "$log"; then
  exit 77
fi
exit "$status"
