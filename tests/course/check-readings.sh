#!/usr/bin/env bash
# Checks every question's reading in the sample library against two
# independent readings of its text: kakasi (a reading is right when it is one
# of the readings kakasi offers for each word) and MeCab with its IPA
# dictionary (the one reading it gives). Lists each question where a reader
# disagrees; the differences a person checked and found that reader wrong are
# listed in course/accepted-readings.txt. Fails on any other.
#   check-readings.sh [DATA-FOLDER]      default: sample/data
set -euo pipefail
cd "$(dirname "$0")/../.."
data="${1:-sample/data}"
accepted=course/accepted-readings.txt
for reader in kakasi mecab; do
  command -v $reader >/dev/null || { echo "check-readings: $reader is needed (apt-get install kakasi mecab mecab-ipadic-utf8)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every question as "file<TAB>line<TAB>text<TAB>reading", in UTF-8.
find "$data" -name '*.txt' -print0 | sort -z | while IFS= read -r -d '' file; do
  iconv -f CP932 -t UTF-8 "$file" | tr -d '\r' | awk -v f="$file" '
    NR % 2 == 1 { text = $0; next }
    { printf "%s\t%d\t%s\t%s\n", f, NR - 1, text, $0 }'
done >"$work/questions"
cut -f3 "$work/questions" | kakasi -iutf8 -outf8 -JH -KH -p >"$work/kakasi"
cut -f3 "$work/questions" | mecab -Oyomi | perl -CSDA -Mutf8 -pe 'tr/ァ-ヶ/ぁ-ゖ/' >"$work/mecab"
for reader in kakasi mecab; do
  [ "$(wc -l <"$work/$reader")" -eq "$(wc -l <"$work/questions")" ] \
    || { echo "check-readings: $reader gave a different number of lines" >&2; exit 2; }
done

paste "$work/questions" "$work/kakasi" "$work/mecab" | perl -CSDA -e '
  use strict; use warnings;
  my ($accepted) = @ARGV;
  my (%accepted, $reader);
  open(my $list, "<:encoding(UTF-8)", $accepted) or die "check-readings: $accepted: $!\n";
  while (<$list>) {
    chomp; next if /^\s*(#|$)/;
    if (/^\[(kakasi|mecab)\]$/) { $reader = $1; next; }
    my ($text, $reading) = split / \| /, $_, 2;
    die "check-readings: $accepted:$.: not \"text | reading\" under [kakasi] or [mecab]\n" unless defined $reading && $reader;
    $accepted{"$reader\t$text\t$reading"} = 0;
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
    my ($file, $line, $text, $reading, $kakasi, $mecab) = split /\t/, $_, 6;
    ++$checked;
    my %agrees = (kakasi => scalar($reading =~ pattern($kakasi // "")), mecab => $reading eq ($mecab // ""));
    for my $reader (grep { !$agrees{$_} } sort keys %agrees) {
      ++$differ;
      my $key = "$reader\t$text\t$reading";
      if (exists $accepted{$key}) { ++$accepted{$key}; next; }
      ++$new;
      print "$file:$line: $text | $reading   ($reader: ", $reader eq "mecab" ? $mecab : $kakasi, ")\n";
    }
  }
  my $accepted_used = grep { $_ > 0 } values %accepted;
  for my $key (sort grep { !$accepted{$_} } keys %accepted) {
    my ($reader, $entry) = split /\t/, $key, 2;
    $entry =~ s/\t/ | /;
    $entry = "[$reader] $entry";
    print "check-readings: note: accepted but no longer met: $entry\n";
  }
  printf "check-readings: %d questions, %d readings differ from a reader, %d of them accepted (%d entries), %d new\n",
    $checked, $differ, $differ - $new, $accepted_used, $new;
  exit($new ? 1 : 0);
' "$accepted"
