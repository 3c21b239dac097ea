#!/usr/bin/env bash
# Checks every question's reading in the sample library against an
# independent reading of its text by kakasi (a reading is right when it is one
# of the readings kakasi offers for each word). Lists each question where they
# disagree; the differences a person checked and found kakasi wrong are listed
# in course/accepted-readings.txt. Fails on any other disagreement.
#   check-readings.sh [DATA-FOLDER]      default: sample/data
set -euo pipefail
cd "$(dirname "$0")/../.."
data="${1:-sample/data}"
accepted=course/accepted-readings.txt
command -v kakasi >/dev/null || { echo "check-readings: kakasi is needed (apt-get install kakasi)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every question as "file<TAB>line<TAB>text<TAB>reading", in UTF-8.
find "$data" -name '*.txt' -print0 | sort -z | while IFS= read -r -d '' file; do
  iconv -f CP932 -t UTF-8 "$file" | tr -d '\r' | awk -v f="$file" '
    NR % 2 == 1 { text = $0; next }
    { printf "%s\t%d\t%s\t%s\n", f, NR - 1, text, $0 }'
done >"$work/questions"
cut -f3 "$work/questions" | kakasi -iutf8 -outf8 -JH -KH -p >"$work/kakasi"
[ "$(wc -l <"$work/kakasi")" -eq "$(wc -l <"$work/questions")" ] \
  || { echo "check-readings: kakasi gave a different number of lines" >&2; exit 2; }

paste "$work/questions" "$work/kakasi" | perl -CSDA -e '
  use strict; use warnings;
  my ($accepted) = @ARGV;
  my %accepted;
  open(my $list, "<:encoding(UTF-8)", $accepted) or die "check-readings: $accepted: $!\n";
  while (<$list>) {
    chomp; next if /^\s*(#|$)/;
    my ($text, $reading) = split / \| /, $_, 2;
    die "check-readings: $accepted:$.: not \"text | reading\"\n" unless defined $reading;
    $accepted{"$text\t$reading"} = 0;
  }
  # kakasi writes "{a|b}" where a word has several readings: each is allowed.
  sub pattern {
    my ($kakasi) = @_;
    my $pattern = "";
    while ($kakasi =~ /\G(?:\{([^{}]*)\}|([^{]))/gc) {
      $pattern .= defined $1 ? "(?:" . join("|", map { quotemeta } split /\|/, $1, -1) . ")" : quotemeta $2;
    }
    $pattern .= quotemeta substr($kakasi, pos($kakasi) // 0);
    return qr/^$pattern$/;
  }
  my ($checked, $differ, $new) = (0, 0, 0);
  while (<STDIN>) {
    chomp;
    my ($file, $line, $text, $reading, $kakasi) = split /\t/, $_, 5;
    $kakasi //= "";
    ++$checked;
    next if $reading =~ pattern($kakasi);
    ++$differ;
    my $key = "$text\t$reading";
    if (exists $accepted{$key}) { ++$accepted{$key}; next; }
    ++$new;
    print "$file:$line: $text | $reading   (kakasi: $kakasi)\n";
  }
  my $accepted_used = grep { $_ > 0 } values %accepted;
  for my $key (sort grep { !$accepted{$_} } keys %accepted) {
    (my $entry = $key) =~ s/\t/ | /;
    print "check-readings: note: accepted but no longer met: $entry\n";
  }
  printf "check-readings: %d questions, %d differ from kakasi, %d of them accepted (%d entries), %d new\n",
    $checked, $differ, $differ - $new, $accepted_used, $new;
  exit($new ? 1 : 0);
' "$accepted"
