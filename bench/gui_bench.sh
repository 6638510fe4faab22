#!/bin/sh
# Start-up and memory figures of the desktop program.
#   bench/gui_bench.sh BUILD_DIR [RUNS]
# Runs on the offscreen platform, and under X11 as well when DISPLAY is set (e.g. Xvfb).
set -eu
build=${1:?build directory}
runs=${2:-10}
bench="$(cd "$build" && pwd)/bench/gui_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# Welcome already seen; every formula and interface file switched off with '#'.
printf '@' > System.cfg
for f in "CCM Boost cfg.txt" "CCM Buck cfg.txt" "CCM Buck-Boost cfg.txt" "CCM反激变换器 cfg.txt" \
         "DC-DC Interface.txt" "DCM Boost cfg.txt" "DCM Buck cfg.txt" "DCM Buck-Boost cfg.txt" \
         "DCM反激变换器 cfg.txt" "Flyback Interface.txt" "Forward Interface.txt" \
         "Full Bridge Interface.txt" "Half Bridge Interface.txt" "Push-Pull Interface.txt" \
         "RCC cfg.txt" "RCC Interface.txt" "半桥变换器 cfg.txt" "全桥变换器 cfg.txt" \
         "推挽变换器 cfg.txt" "正激变换器 cfg.txt"; do
  printf '#' > "$f"
done

# Median of the numbers on stdin.
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# Wall time of whole process runs in ms (process start to exit right after the window shows).
wall() {
  i=0
  while [ $i -lt "$runs" ]; do
    s=$(date +%s%N); "$bench" "$1" >/dev/null 2>&1; e=$(date +%s%N)
    echo $(( (e - s) / 1000000 )); i=$((i + 1))
  done | median
}

platforms=offscreen
[ -n "${DISPLAY:-}" ] && platforms="offscreen xcb"
for p in $platforms; do
  export QT_QPA_PLATFORM=$p
  echo "[$p] launcher (with the 99-tick loading window, floor 990 ms): median $(wall startup) ms per process"
  echo "[$p] minimal Qt dialog: median $(wall minimal) ms per process"
  "$bench" memory 2>/dev/null | tail -1 | sed "s/^/[$p] /"
  /usr/bin/time -v "$bench" memory 2>&1 >/dev/null | grep 'Maximum resident' | sed "s/^\s*/[$p] time -v: /"
done
