#!/usr/bin/perl
# readers.pl FILE.mif | FILE.coe VALUES: reads a MIF file of depth $DEPTH (32768 unless set)
# or a COE file of VALUES values as a memory compiler does, by the format's grammar, and prints
# the words of memory, one a line; dies on what it refuses.
use strict; use warnings;
my ($path, $count) = @ARGV;
my ($depth, @memory) = ($ENV{DEPTH} // 32768);
my $text = do { local $/; open(my $in, '<', $path) or die "$path: $!\n"; <$in> };
sub word { $_[0] =~ /^[0-9A-F]{1,4}$/i ? hex $_[0] : die "$path: '$_[0]' is no 16-bit word\n" }
if ($path =~ /\.mif$/) {
    # -- and %...% comments; settings; CONTENT BEGIN; "a : values;", "[a..b] : value;"; END;
    $text =~ s/--[^\n]*|%[^%]*%/ /g;
    my ($head, $body) = $text =~ /^(.*?)\bCONTENT\s+BEGIN\b(.*)\bEND\s*;\s*$/is or die "$path\n";
    my %set = map { uc } $head =~ /(\w+)\s*=\s*(\w+)\s*;/g;
    die "$path: not 16 bits by $depth in hex\n"
        unless "@set{qw(WIDTH DEPTH ADDRESS_RADIX DATA_RADIX)}" eq "16 $depth HEX HEX";
    for (grep { /\S/ } split /;/, $body) {
        my ($low, $high, $one, $list) =
            /^\s*(?:\[\s*(\w+)\s*\.\.\s*(\w+)\s*\]|(\w+))\s*:\s*(.+?)\s*$/s or die "$path: '$_'\n";
        my ($first, @values) = (word($low // $one), map { word($_) } split ' ', $list);
        for my $a ($first .. (defined $high ? word($high) : $first + $#values)) {
            die "$path: word $a beyond DEPTH or twice\n" if $a >= $depth || defined $memory[$a];
            $memory[$a] = $values[($a - $first) % @values];
        }
    }
    die "$path: a word without a value\n" if grep { !defined } @memory[0 .. $depth - 1];
} else {
    # ; starts a comment line; radix 16, then the values apart by commas or white space
    $text =~ s/^\s*;.*$//mg;
    my %set = map { lc } $text =~ /(\w+)\s*=\s*([^;]*?)\s*;/g;
    die "$path: radix\n" unless ($set{memory_initialization_radix} // '') eq '16';
    @memory = map { word($_) } grep { length } split /[\s,]+/, $set{memory_initialization_vector};
    die "$path: " . @memory . " values, not $count\n" if @memory != $count;
}
printf "%04X\n", $_ // 0 for @memory[0 .. $depth - 1];
