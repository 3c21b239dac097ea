#!/usr/bin/env bash
# Lists the includes between the folders of src/, with their counts, and
# fails on any that runs from a lower floor to a higher one. The floors, from
# the ground up, are in the order below (ARCHITECTURE.md): a folder may
# include only the folders before it.
#   include-floors.sh [SRC]    default: the repository's src
set -euo pipefail
src="${1:-$(dirname "$0")/../../src}"
floors=(platform draw media app settings romaji questions typing program resources)

declare -A level
for i in "${!floors[@]}"; do level[${floors[$i]}]=$i; done

# "from to file" for each quoted include of a header in another folder.
pairs="$(cd "$src" && for file in $(find . -name '*.h' -o -name '*.cpp' -o -name '*.rc' | sort); do
  from="${file#./}"; from="${from%%/*}"
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\)\/[^"]*".*/\1/p' "$file" |
    while read -r to; do if [[ "$to" != "$from" ]]; then echo "$from $to ${file#./}"; fi; done
done)"

status=0
while read -r from to file; do
  [[ -n "$from" ]] || continue
  if [[ ! -v "level[$from]" ]]; then
    echo "include-floors: $file: folder $from/ has no floor" >&2
    status=1
  elif [[ -v "level[$to]" ]] && ((level[$to] > level[$from])); then
    echo "include-floors: $file includes $to/, a floor above $from/" >&2
    status=1
  fi
done <<<"$pairs"

echo "Includes between folders (from -> to: count):"
awk 'NF { print "  " $1 " -> " $2 }' <<<"$pairs" | sort | uniq -c | awk '{ print $2 " " $3 " " $4 ": " $1 }'
exit "$status"
