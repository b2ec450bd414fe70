#!/usr/bin/perl -0777
# Times Perl's own match and substitution of one pattern on one text, for the
# bregexp benchmark's comparison column. Reading and copying the text are
# not timed; only the match and the substitution themselves.
#
#   perl -0777 bregexp_perl_timer.pl TEXT PATTERN REPLACEMENT REPEAT [LIMIT]
#
# PATTERN and REPLACEMENT are files holding the pattern and the literal
# replacement text. Prints "MATCH_SECONDS SUBST_SECONDS MATCHED", the best of
# REPEAT runs each. With LIMIT (seconds) only the match is timed, once, and
# a match that takes longer is given up: then it prints "-1 -1 0". The benchmark texts are valid Shift_JIS in which "%",
# "<", "-" and ">" are never trail bytes, so byte semantics find the same
# region as character semantics would, without paying for decoding.
use strict;
use warnings;
use POSIX qw(WNOHANG);
use Time::HiRes qw(time);

my ($text_path, $pattern_path, $replacement_path, $repeat, $limit) = @ARGV;

sub slurp {
    my ($path) = @_;
    open my $fh, '<:raw', $path or die "cannot read $path: $!";
    local $/;
    my $content = <$fh>;
    return defined $content ? $content : '';
}

my $text = slurp($text_path);
my $pattern = slurp($pattern_path);
my $replacement = slurp($replacement_path);
my $re = qr/$pattern/;

if ($limit) {
    # A signal cannot stop Perl inside one match (it waits for the match to
    # end), so the match runs in a child that is killed at the limit.
    my $child = fork();
    die "cannot fork: $!" if !defined $child;
    if ($child == 0) {
        my $started = time;
        my $found = $text =~ $re;
        printf "%.9f 0 %d\n", time - $started, $found ? 1 : 0;
        exit 0;
    }
    my $deadline = time + $limit;
    while (time < $deadline) {
        exit 0 if waitpid($child, WNOHANG) == $child;  # the child has printed its time
        select(undef, undef, undef, 0.02);
    }
    kill 'KILL', $child;
    waitpid($child, 0);
    print "-1 -1 0\n";
    exit 0;
}

my ($best_match, $best_subst, $matched) = (9e9, 9e9, 0);
for (1 .. $repeat) {
    my $started = time;
    my $found = $text =~ $re;
    my $elapsed = time - $started;
    $best_match = $elapsed if $elapsed < $best_match;
    $matched = $found ? 1 : 0;
}
for (1 .. $repeat) {
    my $copy = $text;
    my $started = time;
    $copy =~ s/$re/$replacement/;
    my $elapsed = time - $started;
    $best_subst = $elapsed if $elapsed < $best_subst;
}
printf "%.9f %.9f %d\n", $best_match, $best_subst, $matched;
