#!/usr/bin/env bash
# kanaflow-romaji against kakasi and against wanakana's toRomaji (Node.js),
# each as a whole process, over the hiragana readings of the SKK dictionary
# (about 130,000 readings, 1.7 MB of Shift_JIS; wanakana reads the same
# readings as UTF-8). Goals for kanaflow-romaji: under 15 ms, at least 5 times
# faster than kakasi and 50 times faster than wanakana.
#
#   bench/romaji/run.sh            RUNS=30 bench/romaji/run.sh
#   KANAFLOW_ROMAJI=path/to/kanaflow-romaji bench/romaji/run.sh   another build
#   BENCH_BUILD=build/mine bench/romaji/run.sh   another folder for the readings and wanakana
#   WITH_OKURI_ARI=1 bench/romaji/run.sh   also the stems of verbs and adjectives
#
# The last lines are the figures, one per line, for bench/run.sh to sum up:
#   figure NAME MILLISECONDS
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=${RUNS:-20}
dictionary=/usr/share/skk/SKK-JISYO.L
tool=${KANAFLOW_ROMAJI:-build/native/tools/kanaflow-romaji/kanaflow-romaji}
build=${BENCH_BUILD:-build/bench}
readings=$build/readings.sjis
readings_utf8=$build/readings.utf8
wanakana_version=5.3.1

missing=()
[[ -r $dictionary ]] || missing+=(skkdic)
command -v kakasi >/dev/null || missing+=(kakasi)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if ((${#missing[@]})); then
  sudo=""
  ((EUID == 0)) || sudo=sudo
  echo "Installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if [[ -z ${KANAFLOW_ROMAJI:-} ]]; then
  # Built when missing, and brought up to date otherwise: timing an old
  # binary would say nothing about the sources.
  [[ -d build/native ]] || cmake --preset native >/dev/null
  cmake --build --preset native --target kanaflow-romaji >/dev/null
fi

# wanakana from the npm registry, into the build folder (nothing of it is
# committed), once.
mkdir -p "$build"
if [[ ! -f $build/node_modules/wanakana/package.json ]]; then
  echo "Installing wanakana $wanakana_version into $build/node_modules" >&2
  npm install --prefix "$build" --no-save --no-audit --no-fund --loglevel=error "wanakana@$wanakana_version" >&2
fi

# Midashi words (the first field of each entry) that are all hiragana, with
# the long vowel mark allowed. Okuri-ari entries end in the ASCII letter of
# their okurigana; by default they are left out (the letter makes them no
# reading), WITH_OKURI_ARI=1 keeps their stems.
iconv -f EUC-JP -t UTF-8 "$dictionary" |
  WITH_OKURI_ARI=${WITH_OKURI_ARI:-} perl -CSD -ne '
    if (/^;; okuri-ari entries/) { $section = "ari"; next }
    if (/^;; okuri-nasi entries/) { $section = "nasi"; next }
    next if /^;/ || !defined $section;
    my ($word) = split / /;
    if ($section eq "ari") { next unless $ENV{WITH_OKURI_ARI}; $word =~ s/[a-z]$// }
    print "$word\n" if $word =~ /^[\x{3041}-\x{3093}\x{30FC}]+$/;' >"$readings_utf8"
iconv -f UTF-8 -t CP932 "$readings_utf8" >"$readings"
echo "$(wc -l <"$readings") readings, $(wc -c <"$readings") bytes in $readings"

kanaflow_command="$tool $readings"
kakasi_command="kakasi -Ha -iSJIS -oSJIS < $readings"
wanakana_command="NODE_PATH=$build/node_modules node bench/romaji/wanakana.js $readings_utf8"

median_ms() {  # command: the median wall time of $runs runs, in milliseconds
  local times=() i start end
  for ((i = 0; i < 3; ++i)); do eval "$1" >/dev/null; done
  for ((i = 0; i < runs; ++i)); do
    # EPOCHREALTIME (bash 5) reads the clock without starting a process.
    if [[ -n ${EPOCHREALTIME:-} ]]; then start=${EPOCHREALTIME/[.,]/}; else start=$(($(date +%s%N) / 1000)); fi
    eval "$1" >/dev/null
    if [[ -n ${EPOCHREALTIME:-} ]]; then end=${EPOCHREALTIME/[.,]/}; else end=$(($(date +%s%N) / 1000)); fi
    times+=($((10#$end - 10#$start)))
  done
  printf '%s\n' "${times[@]}" | sort -n |
    awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.2f", m / 1000 }'
}

if command -v hyperfine >/dev/null; then
  json=$(mktemp)
  trap 'rm -f "$json"' EXIT
  hyperfine --warmup 3 --runs "$runs" --style basic --export-json "$json" -n kanaflow-romaji "$kanaflow_command" \
    -n kakasi "$kakasi_command" -n wanakana "$wanakana_command" >&2
  # Medians in seconds, in the order the commands were given.
  mapfile -t medians < <(grep -o '"median": *[0-9.e+-]*' "$json" | sed 's/.*: *//')
  to_ms() { awk -v s="$1" 'BEGIN { printf "%.2f", s * 1000 }'; }
  kanaflow_ms=$(to_ms "${medians[0]}")
  kakasi_ms=$(to_ms "${medians[1]}")
  wanakana_ms=$(to_ms "${medians[2]}")
  method="hyperfine, $runs runs each"
else
  kanaflow_ms=$(median_ms "$kanaflow_command")
  kakasi_ms=$(median_ms "$kakasi_command")
  wanakana_ms=$(median_ms "$wanakana_command")
  method="bash loop, $runs runs each"
fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
verdict() { awk -v r="$1" -v g="$2" 'BEGIN { print (r >= g) ? "met" : sprintf("missed by %.1fx", g / r) }'; }
kakasi_ratio=$(ratio "$kakasi_ms" "$kanaflow_ms")
wanakana_ratio=$(ratio "$wanakana_ms" "$kanaflow_ms")
echo "Median wall time ($method):"
printf '  kanaflow-romaji  %9s ms   (goal: under 15 ms)\n' "$kanaflow_ms"
printf '  kakasi           %9s ms   kakasi / kanaflow-romaji = %s (goal: at least 5, %s)\n' \
  "$kakasi_ms" "$kakasi_ratio" "$(verdict "$kakasi_ratio" 5)"
printf '  wanakana         %9s ms   wanakana / kanaflow-romaji = %s (goal: at least 50, %s)\n' \
  "$wanakana_ms" "$wanakana_ratio" "$(verdict "$wanakana_ratio" 50)"
echo "figure kanaflow-romaji $kanaflow_ms"
echo "figure kakasi $kakasi_ms"
echo "figure wanakana $wanakana_ms"
