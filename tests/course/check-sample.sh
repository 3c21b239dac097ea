#!/usr/bin/env bash
# Checks the sample library that ships: its question sets are exactly what
# course/write-sets.sh makes of the sources in course/sets,
# kanaflow-check finds no error and no warning in sample/, and each set's
# title and message fit the selection screen, which cuts them at its edge.
#   check-sample.sh [KANAFLOW-CHECK]   default: the native build's
set -euo pipefail
cd "$(dirname "$0")/../.."
check="${1:-build/native/tools/kanaflow-check/kanaflow-check}"
[ -x "$check" ] || { echo "check-sample: $check is missing (make native)" >&2; exit 2; }
check="$(cd "$(dirname "$check")" && pwd)/$(basename "$check")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
course/write-sets.sh "$work/data"
if ! diff -r "$work/data" sample/data >"$work/diff"; then
  echo "check-sample: sample/data differs from course/sets (run course/write-sets.sh sample/data):" >&2
  head -20 "$work/diff" >&2
  exit 1
fi
echo "check-sample: sample/data is what its sources make"

# The selection screen shows the message from its left edge and the title
# from 100 pixels in, on one line of 490 pixels: some 6.5 pixels a byte.
long=$(find sample/data -name '*.ini' -print0 | sort -z | xargs -0 env LC_ALL=C awk '
  { sub(/\r$/, "") }
  /^Message=/ && length($0) - 8 > 74 { print FILENAME ": the message is cut on the selection screen (" length($0) - 8 " bytes, 74 fit)" }
  /^Title=/ && length($0) - 6 > 60 { print FILENAME ": the title is cut on the selection screen (" length($0) - 6 " bytes, 60 fit)" }')
if [ -n "$long" ]; then
  echo "$long" >&2
  exit 1
fi

status=0
(cd sample && "$check" --utf8 .) >"$work/check" || status=$?
grep -v ': summary: ' "$work/check" || true
summary=$(tail -1 "$work/check")
if [ "$status" -ne 0 ] || ! [[ "$summary" =~ \ 0\ errors,\ 0\ warnings$ ]]; then
  echo "check-sample: kanaflow-check must find no error and no warning in sample/" >&2
  exit 1
fi
