#!/bin/sh
# Start-up and memory figures of the desktop program.
#   bench/gui_bench.sh BUILD_DIR [RUNS]
# Start-up: the clock is read just before each process is spawned and stopped at the end of
# the first paint of its window; the program (launcher after the loading window) and a bare
# Qt dialog with one button are run in turn, RUNS times each. The loading window takes 99
# ticks of 10 ms, so the program's own cost is its time less 990 ms.
# Runs on the offscreen platform, and under X11 as well when DISPLAY is set (e.g. Xvfb).
set -eu
build=${1:?build directory}
runs=${2:-15}
bench="$(cd "$build" && pwd)/bench/gui_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TARNEX_HOME="$work"
cd "$work"
"$bench" startup >/dev/null 2>&1 || true  # the first start fills the working folder
# Welcome already seen; every formula and interface file switched off with '#'.
printf '@' > System.cfg
for f in *.txt; do printf '#' > "$f"; done

# Median of the numbers on stdin.
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# One run: milliseconds from just before the spawn to the end of the first paint.
once() { TARNEX_SPAWN_NS=$(date +%s%N) "$bench" "$1" 2>/dev/null | sed -n 's/.* \([0-9.]*\) ms after spawn/\1/p'; }

platforms=offscreen
[ -n "${DISPLAY:-}" ] && platforms="offscreen xcb"
for p in $platforms; do
  export QT_QPA_PLATFORM=$p
  : > "$work/startup.ms"; : > "$work/bare.ms"
  i=0
  while [ $i -lt "$runs" ]; do
    once startup >> "$work/startup.ms"
    once bare >> "$work/bare.ms"
    i=$((i + 1))
  done
  s=$(median < "$work/startup.ms"); b=$(median < "$work/bare.ms")
  echo "[$p] launcher painted: median $s ms after spawn (loading window floor 990 ms)"
  echo "[$p] bare dialog painted: median $b ms after spawn"
  awk -v s="$s" -v b="$b" -v p="$p" 'BEGIN {
    printf "[%s] program overhead beyond the floor: %.1f ms = %.2f x the bare dialog\n", p, s - 990, (s - 990) / b }'
  "$bench" memory 2>/dev/null | tail -1 | sed "s/^/[$p] /"
done
