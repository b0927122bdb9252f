# Shared helpers of the field-file generators (tests/field/<group>.sh BIN_DIR
# OUT_DIR), sourced by them. A generator makes its files into OUT_DIR with
# common tools, runs each through `virko-tool check-file KIND FILE` and states
# the verdict it expects; field_finish ends it with the count of failures.
# Plain sh, and safe under bash's `set -eu`. Needs jq (the checker's --json
# report) and GNU time (/usr/bin/time).

FIELD_FAILURES=0
FIELD_CHECKS=0

# field_needs TOOL...: stops the generator when a tool is missing.
field_needs() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "field: $tool is not installed" >&2; exit 2; }
  done
}

# field_init BIN_DIR OUT_DIR: the checker to run and an emptied folder.
field_init() {
  if [ $# -ne 2 ]; then
    echo "usage: $0 BIN_DIR OUT_DIR" >&2
    exit 2
  fi
  if ! FIELD_TOOL=$(cd "$1" 2>/dev/null && pwd)/virko-tool || [ ! -x "$FIELD_TOOL" ]; then
    echo "field: no checker at $1/virko-tool" >&2
    exit 2
  fi
  field_needs jq /usr/bin/time
  rm -rf "$2"
  mkdir -p "$2"
  FIELD_OUT=$(cd "$2" && pwd)
}

field_fail() {
  FIELD_FAILURES=$((FIELD_FAILURES + 1))
  echo "FAIL: $*" >&2
}

# --- Verdicts ----------------------------------------------------------------

# field_check KIND FILE: the checker's JSON report kept beside the file
# (FILE.json, for a look after a failure), its exit status in FIELD_STATUS
# (0 clean, 1 refused; anything else is a failure of the checker).
field_check() {
  FIELD_STATUS=0
  "$FIELD_TOOL" check-file "$1" "$2" --json >"$2.json" 2>/dev/null || FIELD_STATUS=$?
  if [ "$FIELD_STATUS" -gt 1 ]; then
    field_fail "$2 ($1): the checker ended with status $FIELD_STATUS"
  fi
}

# field_value FILE NAME: a field of the last report on FILE; nothing when the
# report lacks it (or the checker left no report).
field_value() { jq -r --arg name "$2" '.[$name] // empty' "$1.json" 2>/dev/null || :; }

# The refusal of a report with the message boxes' line breaks taken out.
field_refusal() { field_value "$1" refused | tr -d '\n'; }

# expect_clean KIND FILE: read without a message or a problem.
expect_clean() {
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  field_check "$1" "$2"
  if [ "$FIELD_STATUS" = 1 ]; then
    field_fail "$2 ($1): expected clean, refused: $(field_refusal "$2")"
  fi
}

# expect_refused KIND FILE REASON: refused, REASON a part of why.
expect_refused() {
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  field_check "$1" "$2"
  [ "$FIELD_STATUS" -gt 1 ] && return
  refusal=$(field_refusal "$2")
  case "$FIELD_STATUS:$refusal" in
    0:*) field_fail "$2 ($1): expected refused ($3), read clean" ;;
    *"$3"*) ;;
    *) field_fail "$2 ($1): refused, but not for '$3': $refusal" ;;
  esac
}

# expect_same_pixels FILE TWIN: both checked clean, holding the same picture.
expect_same_pixels() {
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  a=$(field_value "$1" pixels)
  b=$(field_value "$2" pixels)
  if [ -z "$a" ] || [ "$a" != "$b" ]; then
    field_fail "$1: pixels '$a' differ from those of $2 ('$b')"
  fi
}

# expect_lines_within FILE COLUMNS: every line of every message box of the
# last check of FILE is at most COLUMNS characters.
expect_lines_within() {
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  longest=$(jq '[.messages[].text | split("\n")[] | length] | max // 0' "$1.json")
  if [ "$longest" -gt "$2" ]; then
    field_fail "$1: a message line of $longest characters (at most $2 fit the screen)"
  fi
}

# --- Cost --------------------------------------------------------------------

# field_measure KIND FILE: runs the check once more under GNU time; sets
# FIELD_KB (peak resident kilobytes) and FIELD_SECONDS (elapsed).
field_measure() {
  /usr/bin/time -f "%M %e" -o "$2.time" "$FIELD_TOOL" check-file "$1" "$2" >/dev/null 2>&1 || :
  # The last line: before it, time notes a status other than 0.
  read -r FIELD_KB FIELD_SECONDS <<EOF
$(tail -n 1 "$2.time")
EOF
}

# field_baseline KIND FILE: the checker's cost on a small valid file, which
# the expect_*within_baseline checks after it compare with.
field_baseline() {
  field_measure "$1" "$2"
  FIELD_BASE_KB=$FIELD_KB
  FIELD_BASE_SECONDS=$FIELD_SECONDS
  echo "baseline ($1, $(basename "$2")): $FIELD_BASE_KB kB, $FIELD_BASE_SECONDS s"
}

# expect_memory_within_baseline KIND FILE: peak memory at most the
# baseline + 64 MB.
expect_memory_within_baseline() {
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  field_measure "$1" "$2"
  echo "$(basename "$2"): $FIELD_KB kB, $FIELD_SECONDS s"
  if [ "$FIELD_KB" -gt $((FIELD_BASE_KB + 65536)) ]; then
    field_fail "$2: peak $FIELD_KB kB, above the baseline $FIELD_BASE_KB kB + 64 MB"
  fi
}

# expect_within_baseline KIND FILE: within the memory bound, and done within
# a second of the baseline's time (for files that must be refused at once).
expect_within_baseline() {
  expect_memory_within_baseline "$1" "$2"
  if [ "$(echo "$FIELD_SECONDS $FIELD_BASE_SECONDS" | awk '{ print ($1 > $2 + 1) }')" = 1 ]; then
    field_fail "$2: took $FIELD_SECONDS s (baseline $FIELD_BASE_SECONDS s)"
  fi
}

# --- Bytes of files ----------------------------------------------------------
# Those with working variables run in a subshell, so as not to overwrite
# a caller's (bash's locals are seen by the functions called).

# write_bytes FILE OFFSET BYTE...: puts the bytes (decimal) into the file at
# OFFSET, in place.
write_bytes() {
  printf "$(shift 2; printf '\\%03o' "$@")" |
    dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# le_bytes COUNT VALUE: the COUNT bytes (decimal) of VALUE, lowest first.
le_bytes() (
  i=0
  while [ "$i" -lt "$1" ]; do
    echo $((($2 >> (8 * i)) & 255))
    i=$((i + 1))
  done
)

# put_le FILE OFFSET COUNT VALUE: VALUE as COUNT little-endian bytes at OFFSET.
put_le() { write_bytes "$1" "$2" $(le_bytes "$3" "$4"); }

# get_le FILE OFFSET COUNT: the little-endian value of COUNT bytes at OFFSET.
get_le() (
  value=0
  bits=0
  for byte in $(od -An -tu1 -v -j "$2" -N "$3" "$1"); do
    value=$((value | (byte << bits)))
    bits=$((bits + 8))
  done
  echo "$value"
)

# file_size FILE
file_size() { wc -c <"$1" | tr -d ' '; }

# field_finish: the summary, and the exit status of the generator.
field_finish() {
  echo "$FIELD_CHECKS checks, $FIELD_FAILURES failed"
  [ "$FIELD_FAILURES" -eq 0 ]
}
