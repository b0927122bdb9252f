#!/bin/sh
# The level's screen pictures streamed as the camera moves draw every frame
# exactly as the same pictures all loaded with the level and held: the
# recording is replayed both ways, each frame's pixels hashed, and the two
# lists of hashes must be the same, play frames included.
# usage: streamed-screens.sh VIRKO_REPLAY CONTENT_DIR RECORDING OUT_DIR
set -eu
replay=$1 content=$2 recording=$3 out=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

hashes() {  # NAME [OPTION]
  name=$1
  shift
  rm -rf "$out/$name" && mkdir -p "$out/$name" && cp -r "$content" "$out/$name/content"
  status=0
  (cd "$out/$name/content" && "$replay" --play "$recording" --frame-hashes ../hashes.txt "$@") \
    2> "$out/$name/stderr.txt" || status=$?
  cat "$out/$name/stderr.txt" >&2
  [ "$status" = 0 ] || fail "replay $name ended with status $status"
  [ ! -s "$out/$name/stderr.txt" ] || fail "replay $name wrote to stderr"
}

hashes held --screens-held-from-start
hashes streamed
played=$(grep -c ' play ' "$out/streamed/hashes.txt" || true)
[ "$played" -gt 100 ] || fail "only $played play frames in $out/streamed/hashes.txt"
if ! cmp -s "$out/held/hashes.txt" "$out/streamed/hashes.txt"; then
  first=$(diff "$out/held/hashes.txt" "$out/streamed/hashes.txt" | sed -n 's/^< //p' | head -1)
  fail "streamed frames differ from held ones, first: $first ($out/held/hashes.txt, $out/streamed/hashes.txt)"
fi
echo "streamed screens: $(wc -l < "$out/streamed/hashes.txt") frames ($played in play) drawn as with every picture held"
