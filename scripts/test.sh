#!/usr/bin/env bash
# Sets everything up and runs every test, then the tests labelled sanitize
# in a tree of their own (build-asan), built with the address and
# undefined-behaviour sanitizers: the logic and drawing tests, the fuzz
# corpora, the field files, the play-through and the soak. Each run ends with
# CTest's summary; the exit status is that of both.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
status=0

# Only what the sanitize tests run; they read the content of build. The tree
# is built while the first tests run, at the lowest priority: it takes the
# time that tests waiting on the game's window leave idle.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIRKO_SANITIZE=ON \
  -DVIRKO_BENCH=OFF -DVIRKO_SANITIZE_CONTENT_TREE="$PWD/build" >/dev/null
nice -n 19 cmake --build build-asan --target sanitize_tests > build-asan/build.log 2>&1 &
builder=$!

(cd build && ctest --output-on-failure -j2 "$@") || status=$?

echo "Building the sanitizer tree (build-asan/build.log)"
wait "$builder" || { tail -n 50 build-asan/build.log; exit 1; }
(cd build-asan && ctest --output-on-failure -j2 -L sanitize "$@") || status=$?
exit "$status"
