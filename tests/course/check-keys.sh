#!/usr/bin/env bash
# Checks that the key drills of the sample library ask only for their own
# keys: each set whose source in course/sets has an "@keys" line must
# spell every reading, with the default spelling preferences, in those keys
# and the space bar. Lists every question that needs another key.
#   check-keys.sh [KANAFLOW-ROMAJI]   default: the native build's
set -euo pipefail
cd "$(dirname "$0")/../.."
romaji="${1:-build/native/tools/kanaflow-romaji/kanaflow-romaji}"
[ -x "$romaji" ] || { echo "check-keys: $romaji is missing (make romaji)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "set<TAB>keys<TAB>reading" for each question of a set with @keys, read as
# course/write-sets.sh reads the sources.
awk '
  /^@set / { set = substr($0, 6); keys = ""; next }
  /^@keys / { keys = substr($0, 7); next }
  /^#/ || /^$/ || /^@/ || /^[A-Za-z_]+=/ { next }
  keys != "" {
    at = index($0, " | ")
    printf "%s\t%s\t%s\n", set, keys, at ? substr($0, at + 3) : $0
  }' course/sets/*.txt >"$work/questions"
[ -s "$work/questions" ] || { echo "check-keys: no set has @keys" >&2; exit 1; }
cut -f3 "$work/questions" | "$romaji" --utf8 | cut -f2 >"$work/romaji"
[ "$(wc -l <"$work/romaji")" -eq "$(wc -l <"$work/questions")" ] \
  || { echo "check-keys: kanaflow-romaji gave a different number of lines" >&2; exit 2; }

paste "$work/questions" "$work/romaji" | perl -CSDA -ne '
  chomp;
  my ($set, $keys, $reading, $romaji) = split /\t/, $_, 4;
  ++$checked; ++$sets{$set};
  my $allowed = quotemeta($keys) . " ";
  if ($romaji eq "" || $romaji =~ /[^$allowed]/) {
    (my $others = $romaji) =~ s/[$allowed]//g;
    print "$set: $reading ($romaji) needs keys outside \"$keys\": $others\n";
    ++$wrong;
  }
  END {
    printf "check-keys: %d questions in %d key drills, %d with other keys\n", $checked, scalar keys %sets, $wrong // 0;
    exit($wrong ? 1 : 0);
  }'
