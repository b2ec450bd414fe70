#!/usr/bin/perl
# Reference results for the differential test of the bregexp library.
#
#   perl differential_oracle.pl CASES RESULTS
#
# CASES has one case per line: id, op (m or s), flags, then pattern,
# replacement and text in hex, separated by tabs. RESULTS gets one line per
# case: "id ERR message" when Perl rejects the pattern, "id 0" for no match,
# or "id 1 GROUPS OUTPUT" where GROUPS is "start,end" or "-" per group 0..n
# (byte offsets, ';'-separated) and OUTPUT the substituted text in hex.
#
# Byte mode runs on byte strings with default (/d) semantics: \d \w \s and
# case folding are ASCII-only there. Under k, pattern, replacement and text
# are decoded from cp932 and matched with /aa, which keeps \d \w \s and case
# folding ASCII-only on character strings; offsets are mapped back to bytes.
#
# Under k the search for the leftmost match is done here, one \G-anchored
# attempt per start position: Perl 5.36's start-position optimiser misses
# matches on decoded strings when the pattern opens with a lookahead that
# can match empty ("(?=x?)." finds nothing in a one-kanji string). s///g is
# then emulated with Perl's documented rule: after an empty match at p, the
# next match may start at p only if it is not empty. QUORVEL_ORACLE_SCAN=1
# uses the same emulation in byte mode too, to check it against Perl's own.
use strict;
no warnings;
use Encode ();

my ($cases_path, $results_path) = @ARGV;
# RESULTS appears whole or holds why Perl stopped: a caller under Wine
# cannot wait for this process and waits for the file instead.
my $partial_path = "$results_path.part";
$SIG{__DIE__} = sub {
    return if $^S;
    if (open my $failure, '>:raw', $partial_path) {
        print $failure "died\t$_[0]";
        close $failure;
        rename $partial_path, $results_path;
    }
};
open my $in, '<:raw', $cases_path or die "cannot read $cases_path: $!";
open my $out, '>:raw', $partial_path or die "cannot write $partial_path: $!";

sub decode_cp932 {
    my ($bytes) = @_;
    return Encode::decode('cp932', $bytes, Encode::FB_CROAK | Encode::LEAVE_SRC);
}

# The replacement syntax of the library, read into literal pieces and group
# numbers: $& $N ${N} (N all the digits that follow, as in Perl; $0 is the
# whole match) \1..\9 \n \r \t, and \c for any other c is c.
sub parse_replacement {
    my ($r) = @_;
    my @c = split //, $r;
    my @tokens;
    my $literal = '';
    my $flush = sub { push @tokens, [ 'lit', $literal ] if length $literal; $literal = ''; };
    my $i = 0;
    while ($i < @c) {
        my $c = $c[$i];
        my $n = $i + 1 < @c ? $c[ $i + 1 ] : undef;
        if ($c eq '$' && defined $n && $n eq '&') {
            $flush->(); push @tokens, [ 'grp', 0 ]; $i += 2;
        } elsif ($c eq '$' && defined $n && substr($r, $i) =~ /^\$([0-9]+)/) {
            $flush->(); push @tokens, [ 'grp', $1 + 0 ]; $i += length($1) + 1;
        } elsif ($c eq '$' && defined $n && $n eq '{' && substr($r, $i) =~ /^\$\{([0-9]+)\}/) {
            $flush->(); push @tokens, [ 'grp', $1 + 0 ]; $i += length($1) + 3;
        } elsif ($c eq '\\' && defined $n) {
            if ($n =~ /^[1-9]$/) { $flush->(); push @tokens, [ 'grp', $n ]; }
            elsif ($n eq 'n') { $literal .= "\n"; }
            elsif ($n eq 'r') { $literal .= "\r"; }
            elsif ($n eq 't') { $literal .= "\t"; }
            else { $literal .= $n; }
            $i += 2;
        } else {
            $literal .= $c; $i += 1;
        }
    }
    $flush->();
    return @tokens;
}

# Byte offset of every character offset of a decoded text.
sub byte_offsets {
    my ($text) = @_;
    my @offsets = (0);
    for my $ch (split //, $text) {
        push @offsets, $offsets[-1] + length(Encode::encode('cp932', $ch));
    }
    return \@offsets;
}

sub groups_of {
    my ($starts, $ends, $offsets) = @_;
    my @parts;
    for my $g (0 .. $#$ends) {
        if (defined $starts->[$g] && defined $ends->[$g]) {
            my ($s, $e) = ($starts->[$g], $ends->[$g]);
            ($s, $e) = ($offsets->[$s], $offsets->[$e]) if $offsets;
            push @parts, "$s,$e";
        } else {
            push @parts, '-';
        }
    }
    return join ';', @parts;
}

while (my $line = <$in>) {
    chomp $line;
    my ($id) = split /\t/, $line;
    # A panic inside Perl's engine on an odd shape rejects just that case.
    my $result = eval { evaluate($line) };
    if (!defined $result) {
        (my $message = "$@") =~ s/\s+/ /g;
        $result = "ERR\t$message";
    }
    print $out "$id\t$result\n";
}
close $out or die "cannot write $partial_path: $!";
rename $partial_path, $results_path or die "cannot rename $partial_path: $!";

sub evaluate {
    my ($line) = @_;
    my (undef, $op, $flags, $pattern, $replacement, $text) = split /\t/, $line, -1;
    ($pattern, $replacement, $text) = map { pack 'H*', $_ } ($pattern, $replacement, $text);
    my $k = $flags =~ /k/;
    my $global = $flags =~ /g/;
    (my $modifiers = $flags) =~ tr/gk//d;
    $modifiers .= 'aa' if $k;

    my $offsets;
    if ($k) {
        my $ok = eval {
            $pattern = decode_cp932($pattern);
            $replacement = decode_cp932($replacement);
            $text = decode_cp932($text);
            1;
        };
        return "ERR\tnot valid cp932" if !$ok;
        $offsets = byte_offsets($text);
    }

    # The flags are spliced in as code, the pattern only as a variable.
    my $re = eval "qr/\$pattern/$modifiers";
    if (!defined $re) {
        (my $message = $@) =~ s/\s+/ /g;
        return "ERR\t$message";
    }
    my @tokens = $op eq 's' ? parse_replacement($replacement) : ();
    my ($count, $groups, $subject) =
        ($k || $ENV{QUORVEL_ORACLE_SCAN}) ? scan($pattern, $modifiers, $text, $op, $global, \@tokens, $offsets)
                                         : native($re, $text, $op, $global, \@tokens, $offsets);
    return "0" if !$count;
    return "1\t$groups\t" if $op eq 'm';
    $subject = Encode::encode('cp932', $subject) if $k;
    return "1\t$groups\t" . unpack('H*', $subject);
}

sub expand {
    my ($tokens, $original, $starts, $ends) = @_;
    return join '', map {
        my ($kind, $value) = @$_;
        $kind eq 'lit' ? $value
            : defined $starts->[$value] && defined $ends->[$value]
            ? substr($original, $starts->[$value], $ends->[$value] - $starts->[$value])
            : '';
    } @$tokens;
}

# Perl's own search and substitution.
sub native {
    my ($re, $text, $op, $global, $tokens, $offsets) = @_;
    if ($op eq 'm') {
        return (0) if $text !~ $re;
        return (1, groups_of([@-], [@+], $offsets));
    }
    my $original = $text;
    my $subject = $text;
    my $build = sub { expand($tokens, $original, [@-], [@+]) };
    # Match variables are scoped to the enclosing block: read them in it.
    my ($count, $groups);
    if ($global) {
        $count = ($subject =~ s/$re/$build->()/ge);
        $groups = groups_of([@-], [@+], $offsets) if $count;
    } else {
        $count = ($subject =~ s/$re/$build->()/e);
        $groups = groups_of([@-], [@+], $offsets) if $count;
    }
    return ($count, $groups, $subject);
}

our $forbidden_empty_end = -1;

# The leftmost match at or after $from, as [starts], [ends]; none may be an
# empty match at $forbidden_empty_end.
sub leftmost {
    my ($anchored, $text, $from) = @_;
    for my $start ($from .. length $text) {
        pos($text) = $start;
        return ([@-], [@+]) if $text =~ /$anchored/g;
    }
    return;
}

# The search done one start position at a time (see the top of the file).
sub scan {
    my ($pattern, $modifiers, $text, $op, $global, $tokens, $offsets) = @_;
    my $close = $modifiers =~ /x/ ? "\n" : "";  # ends a trailing # comment
    my $anchored = eval "qr/\\G(?:\$pattern$close)(?(?{ pos() == \$main::forbidden_empty_end })(*FAIL))/$modifiers";
    die "anchored form rejected: $@" if !defined $anchored;
    local $forbidden_empty_end = -1;
    my ($starts, $ends) = leftmost($anchored, $text, 0);
    return (0) if !$starts;
    return (1, groups_of($starts, $ends, $offsets)) if $op eq 'm';

    my ($subject, $copied, $count) = ('', 0, 0);
    while ($starts) {
        ++$count;
        $subject .= substr($text, $copied, $starts->[0] - $copied) . expand($tokens, $text, $starts, $ends);
        $copied = $ends->[0];
        last if !$global;
        my ($last_starts, $last_ends) = ($starts, $ends);
        $forbidden_empty_end = $starts->[0] == $ends->[0] ? $ends->[0] : -1;
        ($starts, $ends) = leftmost($anchored, $text, $copied);
        ($starts, $ends) = ($last_starts, $last_ends), last if !$starts;
    }
    $subject .= substr($text, $copied);
    return ($count, groups_of($starts, $ends, $offsets), $subject);
}
