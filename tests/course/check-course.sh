#!/usr/bin/env bash
# Checks what the course's sources promise a learner:
# - a set marked "@grade N" uses only kanji that schools teach by grade N
#   (the official lists in course/kanji-grades.txt);
# - where a set's Message gives a length ("10～20文字", "10文字まで",
#   "30文字以上"), every question's text has it;
# - no text stands twice in the course, unless the later set lists it on an
#   "@contrast TEXT..." line as a deliberate pair; no text is read two ways.
set -euo pipefail
cd "$(dirname "$0")/../.."
perl -CSDA -Mutf8 -e '
  use strict; use warnings;
  my (%grade, %seen, %contrast, $set, $grade, $min, $max, $checked, $bad);
  sub fail { print "check-course: @_\n"; ++$bad; }
  open(my $list, "<:encoding(UTF-8)", shift @ARGV) or die "check-course: $!\n";
  while (<$list>) { next if /^#/; my ($n, $kanji) = split; $grade{$_} = $n for split //, $kanji; }
  die "check-course: the grade lists do not hold 1,026 kanji\n" unless keys %grade == 1026;
  while (<>) {
    chomp;
    next if /^(#|$)/;
    if (/^\@set (.*)/) { ($set, $grade, $min, $max) = ($1, 9, 0, 999); next; }
    if (/^\@grade (\d)$/) { $grade = $1; next; }
    if (/^\@contrast (.*)/) { $contrast{"$set\t$_"} = 1 for split / /, $1; next; }
    if (/^Message=(.*)/) {
      my $message = $1 =~ tr/０-９/0-9/r;
      ($min, $max) = ($1, $2) if $message =~ /(\d+)～(\d+)文字/;
      $max = $1 if $message =~ /(\d+)文字まで/;
      $min = $1 if $message =~ /(\d+)文字以上/;
      next;
    }
    next if /^@/ || /^[A-Za-z_]+=/;
    my ($text, $reading) = split / \| /, $_, 2;
    $reading //= $text;
    ++$checked;
    my $length = length $text;
    fail "$set: $text has $length characters, its Message promises $min to $max" if $length < $min || $length > $max;
    for my $kanji (grep { $_ ne "々" } $text =~ /\p{sc=Han}/g) {
      fail "$set: $text: $kanji is not taught by grade $grade" if ($grade{$kanji} // 7) > $grade && $grade < 9;
    }
    if (my $first = $seen{$text}) {
      fail "$text stands in $first->[0] and in $set" unless $first->[0] ne $set && $contrast{"$set\t$text"};
      fail "$text is read $first->[1] and $reading" if $first->[1] ne $reading;
    } else {
      $seen{$text} = [$set, $reading];
    }
  }
  printf "check-course: %d questions, %d faults\n", $checked, $bad // 0;
  exit($bad ? 1 : 0);
' course/kanji-grades.txt course/sets/*.txt
