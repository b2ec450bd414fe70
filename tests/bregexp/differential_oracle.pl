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
use strict;
no warnings;
use Encode ();

my ($cases_path, $results_path) = @ARGV;
open my $in, '<:raw', $cases_path or die "cannot read $cases_path: $!";
open my $out, '>:raw', $results_path or die "cannot write $results_path: $!";

sub decode_cp932 {
    my ($bytes) = @_;
    return Encode::decode('cp932', $bytes, Encode::FB_CROAK | Encode::LEAVE_SRC);
}

# The replacement syntax of the library, read into literal pieces and group
# numbers: $& $1..$9 ${N} \1..\9 \n \r \t, and \c for any other c is c.
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
        } elsif ($c eq '$' && defined $n && $n =~ /^[1-9]$/) {
            $flush->(); push @tokens, [ 'grp', $n ]; $i += 2;
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
close $out or die "cannot write $results_path: $!";

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

    if ($op eq 'm') {
        if ($text =~ $re) {
            my $groups = groups_of([@-], [@+], $offsets);
            return "1\t$groups\t";
        }
        return "0";
    }

    my @tokens = parse_replacement($replacement);
    my $original = $text;
    my $subject = $text;
    my $build = sub {
        join '', map {
            my ($kind, $value) = @$_;
            $kind eq 'lit' ? $value
                : defined $-[$value] && defined $+[$value]
                ? substr($original, $-[$value], $+[$value] - $-[$value])
                : '';
        } @tokens;
    };
    # Match variables are scoped to the enclosing block: read them in it.
    my ($count, $groups);
    if ($global) {
        $count = ($subject =~ s/$re/$build->()/ge);
        $groups = groups_of([@-], [@+], $offsets) if $count;
    } else {
        $count = ($subject =~ s/$re/$build->()/e);
        $groups = groups_of([@-], [@+], $offsets) if $count;
    }
    return "0" if !$count;
    $subject = Encode::encode('cp932', $subject) if $k;
    return "1\t$groups\t" . unpack('H*', $subject);
}
