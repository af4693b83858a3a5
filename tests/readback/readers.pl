#!/usr/bin/perl
# Reads a MIF or COE file after that format's grammar, not after the writer's layout, and
# prints the 32768 words of memory, one a line; dies on anything a memory compiler refuses.
#   readers.pl FILE.mif | FILE.coe WORDS     (a COE file must give exactly WORDS values)
use strict;
use warnings;
my ($path, $count) = @ARGV;
my $text = do { local $/; open(my $in, '<', $path) or die "$path: $!\n"; <$in> };
my (@memory, %set);
my %radix = (HEX => 16, DEC => 10, UNS => 10, OCT => 8, BIN => 2, 16 => 16, 10 => 10, 2 => 2);
sub number {
    my ($token, $radix) = @_;
    my %digits = (16 => '[0-9A-F]', 10 => '[0-9]', 8 => '[0-7]', 2 => '[01]');
    die "$path: '$token' is no number of radix $radix\n" unless $token =~ /^$digits{$radix}+$/i;
    my $value = $radix == 10 ? $token : oct({16 => '0x', 8 => '0', 2 => '0b'}->{$radix} . $token);
    die "$path: $token does not fit 16 bits\n" if $value > 0xFFFF;
    return $value;
}
if ($path =~ /\.mif$/) {
    # Comments run from -- to the end of the line or between two % signs. Settings, then
    # CONTENT BEGIN, entries "address : values;" or "[first..last] : values;", END;
    $text =~ s/--[^\n]*|%[^%]*%/ /g;
    my ($head, $body) = $text =~ /^(.*?)\bCONTENT\s+BEGIN\b(.*)\bEND\s*;\s*$/is or die "$path\n";
    %set = map { uc } $head =~ /(\w+)\s*=\s*(\w+)\s*;/g;
    my ($at, $data) = map { $radix{$set{$_} // 'HEX'} or die "$path: $_\n" }
        qw(ADDRESS_RADIX DATA_RADIX);
    die "$path: not 16 bits by 32768\n" unless "@set{qw(WIDTH DEPTH)}" eq '16 32768';
    for (grep { /\S/ } split /;/, $body) {
        /^\s*(?:\[\s*(\w+)\s*\.\.\s*(\w+)\s*\]|(\w+))\s*:\s*(.+?)\s*$/s or die "$path: '$_'\n";
        my @values = map { number($_, $data) } split ' ', $4;
        my $first = number($1 // $3, $at);
        for my $a ($first .. (defined $2 ? number($2, $at) : $first + $#values)) {
            die "$path: word $a beyond DEPTH or twice\n" if $a > 32767 || defined $memory[$a];
            $memory[$a] = $values[($a - $first) % @values];
        }
    }
    die "$path: a word without a value\n" if grep { !defined } @memory[0 .. 32767];
} else {
    # Lines that start with ; are comments; the radix, then the vector of values separated
    # by commas or white space.
    $text =~ s/^\s*;.*$//mg;
    %set = map { lc } $text =~ /(\w+)\s*=\s*([^;]*?)\s*;/g;
    my $radix = $radix{$set{memory_initialization_radix} // ''} or die "$path: radix\n";
    @memory = map { number($_, $radix) } grep { length } split /[\s,]+/,
        $set{memory_initialization_vector} // '';
    die "$path: " . @memory . " values, not $count\n" if @memory != $count;
}
printf "%04X\n", $_ // 0 for @memory[0 .. 32767];
