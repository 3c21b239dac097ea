#!/usr/bin/env bash
# kanaflow-romaji against kakasi, as whole processes, over the hiragana
# readings of the SKK dictionary (about 130,000 readings, 1.7 MB of
# Shift_JIS). Goal for kanaflow-romaji: under 15 ms.
#
#   bench/romaji/run.sh            RUNS=30 bench/romaji/run.sh
#   KANAFLOW_ROMAJI=path/to/kanaflow-romaji bench/romaji/run.sh   another build
#   WITH_OKURI_ARI=1 bench/romaji/run.sh   also the stems of verbs and adjectives
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=${RUNS:-20}
dictionary=/usr/share/skk/SKK-JISYO.L
tool=${KANAFLOW_ROMAJI:-build/native/tools/kanaflow-romaji/kanaflow-romaji}
readings=build/bench/readings.sjis

missing=()
[[ -r $dictionary ]] || missing+=(skkdic)
command -v kakasi >/dev/null || missing+=(kakasi)
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

# Midashi words (the first field of each entry) that are all hiragana, with
# the long vowel mark allowed. Okuri-ari entries end in the ASCII letter of
# their okurigana; by default they are left out (the letter makes them no
# reading), WITH_OKURI_ARI=1 keeps their stems.
mkdir -p "$(dirname "$readings")"
iconv -f EUC-JP -t UTF-8 "$dictionary" |
  WITH_OKURI_ARI=${WITH_OKURI_ARI:-} perl -CSD -ne '
    if (/^;; okuri-ari entries/) { $section = "ari"; next }
    if (/^;; okuri-nasi entries/) { $section = "nasi"; next }
    next if /^;/ || !defined $section;
    my ($word) = split / /;
    if ($section eq "ari") { next unless $ENV{WITH_OKURI_ARI}; $word =~ s/[a-z]$// }
    print "$word\n" if $word =~ /^[\x{3041}-\x{3093}\x{30FC}]+$/;' |
  iconv -f UTF-8 -t CP932 >"$readings"
echo "$(wc -l <"$readings") readings, $(wc -c <"$readings") bytes in $readings"

kanaflow_command="$tool $readings"
kakasi_command="kakasi -Ha -iSJIS -oSJIS < $readings"

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
  hyperfine --warmup 3 --runs "$runs" --style basic --export-json "$json" \
    -n kanaflow-romaji "$kanaflow_command" -n kakasi "$kakasi_command" >&2
  # Medians in seconds, in the order the commands were given.
  mapfile -t medians < <(grep -o '"median": *[0-9.e+-]*' "$json" | sed 's/.*: *//')
  kanaflow_ms=$(awk -v s="${medians[0]}" 'BEGIN { printf "%.2f", s * 1000 }')
  kakasi_ms=$(awk -v s="${medians[1]}" 'BEGIN { printf "%.2f", s * 1000 }')
  method="hyperfine, $runs runs each"
else
  kanaflow_ms=$(median_ms "$kanaflow_command")
  kakasi_ms=$(median_ms "$kakasi_command")
  method="bash loop, $runs runs each"
fi

echo "Median wall time ($method):"
printf '  kanaflow-romaji  %8s ms   (goal: under 15 ms)\n' "$kanaflow_ms"
printf '  kakasi           %8s ms\n' "$kakasi_ms"
awk -v a="$kakasi_ms" -v b="$kanaflow_ms" 'BEGIN { printf "  kakasi / kanaflow-romaji = %.1f\n", a / b }'
