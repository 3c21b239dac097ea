#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer), checks the literal rewriter and the
# committed seeds, then fuzzes each target for FUZZ_SECONDS, FUZZ_JOBS targets
# at a time. New inputs go to BUILD/corpus/TARGET, findings to
# BUILD/findings/TARGET, the output to BUILD/logs/TARGET.log. Exit code 1 when
# any target found something.
#
#   scripts/fuzz.sh                     every target for 600 s (make fuzz)
#   FUZZ_SECONDS=30 scripts/fuzz.sh     the smoke run of make test
#   scripts/fuzz.sh romaji cp932        only these targets
#   FUZZ_BUILD=build/mine scripts/fuzz.sh   another build folder
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${FUZZ_SECONDS:-600}
jobs=${FUZZ_JOBS:-2}
build=${FUZZ_BUILD:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" -j "$jobs" --output-on-failure >/dev/null ||
  ctest --test-dir "$build" --rerun-failed --output-on-failure

if (($# > 0)); then
  targets=("$@")
else
  mapfile -t targets < <(ls fuzz/*_fuzzer.cpp | sed 's|fuzz/\(.*\)_fuzzer.cpp|\1|')
fi

# The targets enter a scratch folder of their own, so every path given to
# libFuzzer is absolute.
fuzz_one() {
  local target=$1
  local corpus=$root/$build/corpus/$target findings=$root/$build/findings/$target/ log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  local status=0
  "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings" "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if ((status == 0)); then
    printf '%-18s %5s s  %12s runs  no finding\n' "$target" "$seconds" "${runs:-?}"
  else
    printf '%-18s FINDING (exit %s), see %s and %s\n' "$target" "$status" "$log" "$findings"
    grep -m1 -E 'ERROR:|invariant failed|runtime error' "$log" || true
  fi
  return "$status"
}

echo "Fuzzing ${#targets[@]} targets for $seconds s each, $jobs at a time"
failed=0
# Batches of $jobs, each process waited for by its own id: "wait -n" can
# answer 127 for a job that ended before it was asked, which would count a
# clean run as a finding.
pids=()
for target in "${targets[@]}"; do
  fuzz_one "$target" &
  pids+=($!)
  if ((${#pids[@]} >= jobs)); then
    for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
    pids=()
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
