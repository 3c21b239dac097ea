#!/usr/bin/env bash
# The screens' figures under Wine in a virtual X server, each with its goal:
# the whole program's start to its painted main menu (timed from outside,
# the median of several starts), the same inside one process, keystroke to
# repainted frame in the basic screen, a folder of 5,000 sets on the
# selection screen, and the processor time that a practice screen takes
# while it waits with its 100 ms timer.
#   KANAFLOW_WINE_BENCH_BUILD  the build folder (build/wine-bench)
#   KANAFLOW_BENCH_STARTS      how many whole-program starts (7)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KANAFLOW_WINE_BENCH_BUILD:-build/wine-bench}"
starts="${KANAFLOW_BENCH_STARTS:-7}"

# "name value unit [goal]", as screen_bench prints its figures.
figure() {
  awk -v name="$1" -v value="$2" -v unit="$3" -v goal="${4:-}" -v detail="${5:-}" 'BEGIN {
    line = sprintf("%-60s %10.3f %-3s", name, value, unit)
    if (goal == "") line = line "  (no goal set)"
    else {
      ratio = value / goal
      line = line sprintf("  goal %g %s  ratio %.2f  %s", goal, unit, ratio, ratio <= 1 ? "met" : "MISSED")
      if (ratio > 1) line = line sprintf(" by %.0f%%", (ratio - 1) * 100)
    }
    if (detail != "") line = line "  [" detail "]"
    print line
  }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

load() { uptime | sed 's/.*load average: /load average /'; }

# One start of the program in sample/, timed from the launch until a watcher
# in a second process sees the painted menu on the screen; the watcher then
# closes the program. Prints milliseconds.
time_one_start() {
  local line seen start
  coproc WATCHER { wine "$bench_exe" watch-menu 2>/dev/null; }
  IFS= read -r -t 60 line <&"${WATCHER[0]}" || { echo "run-wine: the watcher did not start" >&2; return 1; }
  [ "${line%$'\r'}" = ready ] || { echo "run-wine: the watcher said: $line" >&2; return 1; }
  start=$(date +%s.%N)
  wine "$program" >/dev/null 2>&1 &
  local program_pid=$!
  IFS= read -r -t 90 seen <&"${WATCHER[0]}" || { echo "run-wine: no painted main menu" >&2; kill "$program_pid"; return 1; }
  wait "$WATCHER_PID" || true
  wait "$program_pid" || true
  awk -v seen="${seen%$'\r'}" -v start="$start" 'BEGIN { printf "%.3f\n", (seen - start) * 1000 }'
}

inside() {
  bench_exe="$(cd "$build" && pwd)/bench/win32/screen_bench.exe"
  program="$(cd "$build" && pwd)/kanaflow.exe"
  cd sample
  local times=() run
  for run in $(seq "$starts"); do times+=("$(time_one_start)"); done
  figure "main menu painted, whole program (median of $starts)" \
    "$(printf '%s\n' "${times[@]}" | median)" ms "" "each: ${times[*]}"
  wine "$bench_exe" 2>/dev/null | tr -d '\r'
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

cmake --preset windows -B "$build" -DKANAFLOW_BUILD_SCREEN_BENCH=ON -DKANAFLOW_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target kanaflow screen_bench
source scripts/wine/wine-env.sh
scripts/wine/wine-prefix.sh
echo "== The screens under Wine ($(load))"
scripts/wine/with-display.sh "$0" --inside
echo "== ($(load) at the end)"
