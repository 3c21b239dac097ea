#!/usr/bin/env bash
# Every benchmark, each printed with its goal: the core benchmarks (Google
# Benchmark, optimised native build) and the romaji printer against kakasi.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
echo "== Loading questions (goal: 100,000 questions under 50 ms)"
build/bench/bench/core_bench --benchmark_min_time=1

echo "== Romaji printer against kakasi"
bench/romaji/run.sh
