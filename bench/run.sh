#!/usr/bin/env bash
# Every native benchmark, measured in one run and summed up at the end, each
# figure with its goal and its ratio to the goal (or to the program it is
# measured against): the core benchmarks (Google Benchmark, optimised native
# build) and the romaji printer against kakasi and wanakana.
#
#   make bench        BENCH_BUILD=build/mine bench/run.sh   another build folder
set -euo pipefail
cd "$(dirname "$0")/.."
export BENCH_BUILD=${BENCH_BUILD:-build/bench}
build=$BENCH_BUILD

cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"

# Goals in milliseconds, by benchmark name; a benchmark without one is
# printed with its time only.
goal_ms() {
  case $1 in
    LoadQuestionSet*) echo 50 ;;
    FlexibleKey*) echo 0.002 ;;
    RecordsResults*) echo 20 ;;
    RecordsAppend*) echo 5 ;;
    WeakKeyDrill*) echo 50 ;;
    *Library* | *Scan*) echo 200 ;;
    *) echo "" ;;
  esac
}

summary=()
under_goal() {  # name, milliseconds, goal in ms: one summary line
  awk -v n="$1" -v t="$2" -v g="$3" 'BEGIN {
    printf "  %-34s %9.2f ms   goal: under %g ms, %s\n", n, t, g,
      (t < g) ? sprintf("met (%.1fx under)", g / t) : sprintf("missed by %.2fx", t / g) }'
}

# Every benchmark program of the build (question loading, library scan, ...).
mapfile -t programs < <(find "$build/bench" -maxdepth 1 -type f -executable -name '*bench*' | sort)
for program in "${programs[@]}"; do
  json=$(mktemp)
  echo "== $(basename "$program")"
  "$program" --benchmark_min_time=1 --benchmark_out="$json" --benchmark_out_format=json
  # name, real_time and time_unit of each benchmark, in the order written.
  while read -r name time unit; do
    case $unit in ns) ms=$(awk -v t="$time" 'BEGIN { print t / 1e6 }') ;; us) ms=$(awk -v t="$time" 'BEGIN { print t / 1e3 }') ;;
      s) ms=$(awk -v t="$time" 'BEGIN { print t * 1e3 }') ;; *) ms=$time ;; esac
    goal=$(goal_ms "$name")
    if [[ -n $goal ]]; then
      summary+=("$(under_goal "$name" "$ms" "$goal")")
    else
      summary+=("$(printf '  %-34s %9.2f ms' "$name" "$ms")")
    fi
  done < <(awk -F'"' '/"name":/ { name = $4 } /"real_time":/ { split($3, v, /[:,]/); time = v[2] + 0 }
                       /"time_unit":/ { print name, time, $4 }' "$json")
  rm -f "$json"
done

echo "== Romaji printer against kakasi and wanakana"
romaji_out=$(mktemp)
trap 'rm -f "$romaji_out"' EXIT
bench/romaji/run.sh >"$romaji_out"
grep -v '^figure ' "$romaji_out"
figure() { sed -n "s/^figure $1 //p" "$romaji_out"; }
kanaflow_ms=$(figure kanaflow-romaji)
summary+=("$(under_goal "kanaflow-romaji, SKK readings" "$kanaflow_ms" 15)")
for peer in kakasi:5 wanakana:50; do
  name=${peer%%:*}
  goal=${peer##*:}
  summary+=("$(awk -v n="$name" -v p="$(figure "$name")" -v k="$kanaflow_ms" -v g="$goal" 'BEGIN {
    r = p / k
    printf "  %-34s %9.2f ms   %.1fx kanaflow-romaji, goal: at least %gx, %s\n", n ", same readings", p, r, g,
      (r >= g) ? "met" : sprintf("missed by %.1fx", g / r) }')")
done

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
bench/run-wine.sh  # the screens under Wine: start, keystroke to frame, idle processor time
