#!/bin/sh
# The whole game's frame times on the displays players have: the demo
# play-through (bench_playthrough_gl, in the demo level's folder) replayed full screen on X screens of
# 800 x 600, 1280 x 720, 1920 x 1080, 2560 x 1440 and 3840 x 2160 under the
# openbox window manager, and natively on a headless sway at 1920 x 1080,
# with Mesa's default threads and with one (LP_NUM_THREADS=1, the cost on a
# single core). Prints every run's table, then a summary: per size the play
# median and 99th percentile, the worst screen's 99th percentile (the frame
# that reads the level is reported apart, as "level load"), and the play
# median against 800 x 600's in the same run (the Wayland row: against X's
# at 1920 x 1080).
#
#   bench/displays.sh build [SIZE...]      (e.g. bench/displays.sh build 1920x1080 wayland)
#
# SIZE is WIDTHxHEIGHT on X, or wayland. Needs xvfb-run and openbox, and for
# the Wayland row sway (tests/e2e/desktop-lib.sh starts it; as root it runs as
# the user virko-player, who must be able to read the build folder). Takes
# about two minutes a size. Run it alone: the renderer uses both cores.
set -eu
build=$(cd "$1" && pwd)
shift
sizes=${*:-800x600 1280x720 1920x1080 2560x1440 3840x2160 wayland}
bench=$build/bench/bench_playthrough_gl
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
summary=$work/summary

# The benchmark on an X screen of SIZE under openbox.
on_x() {  # SIZE
  rm -rf "$work/content" && cp -r "$build/content-demo" "$work/content"
  (cd "$work/content" && xvfb-run -a -s "-screen 0 ${1}x24" sh -c '
      openbox > /dev/null 2>&1 & manager=$!
      for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
      done
      "$0"; status=$?
      kill $manager
      exit $status' "$bench")
}

# The benchmark as a native Wayland client of a headless sway at 1920 x 1080.
on_wayland() {
  (
    out=$work/wayland
    . "$(dirname "$0")/../tests/e2e/play-lib.sh"
    . "$(dirname "$0")/../tests/e2e/desktop-lib.sh"
    set_up_player
    start_sway 1
    cp -r "$build/content-demo" "$home/content"
    [ "$(id -u)" -ne 0 ] || chown -R "$player" "$home/content"
    player_env="$player_env SDL_VIDEODRIVER=wayland"
    as_player sh -c 'cd "$HOME/content" && exec "$0"' "$bench"
  )
}

run() {  # SIZE THREADS
  echo "== $1, ${2:-default} threads"
  export LP_NUM_THREADS="$2" ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
  if [ "$1" = wayland ]; then on_wayland; else on_x "$1"; fi > "$work/out" 2>&1 ||
    { cat "$work/out"; exit 1; }
  cat "$work/out"
  awk -v size="$1" -v threads="${2:-default}" '
    $2 ~ /^[0-9]+$/ && $4 == "ms" {
      if ($1 == "play") { median = $3; p99 = $7 }
      if ($7 + 0 > worst + 0) { worst = $7; which = $1 }
    }
    /^level load/ { load = $(NF - 1) }
    END { print size, threads, median, p99, worst, which, load }' "$work/out" >> "$summary"
}

for size in $sizes; do
  run "$size" ""
  run "$size" 1
done

echo
echo "size        threads   play median   play p99   worst p99 (screen)      level load   median / 800x600"
awk '
  { key = $2; if ($1 == "800x600") base[key] = $3; if ($1 == "1920x1080") x1080[key] = $3 }
  { line[NR] = $0 }
  END {
    for (i = 1; i <= NR; i++) {
      split(line[i], f, " ")
      against = f[1] == "wayland" ? x1080[f[2]] : base[f[2]]
      ratio = against ? sprintf("%.2f", f[3] / against) : "-"
      printf "%-11s %-9s %8.2f ms %8.2f ms %8.2f ms %-12s %7.1f ms   %s\n", f[1], f[2], f[3], f[4], f[5], "(" f[6] ")", f[7], ratio
    }
  }' "$summary"
! grep -q '^wayland ' "$summary" || echo "(wayland: natively on sway at 1920 x 1080, against X at 1920 x 1080)"
