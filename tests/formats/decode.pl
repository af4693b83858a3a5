#!/usr/bin/perl
# Reads one output of vexa-as back into the memory it describes.
#
#   decode.pl FORMAT FILE
#
# FORMAT is hex, bin, prg, vhd, vlg, lst, mem, ihx, mif or coe. Prints "extent N", the number
# of bytes from address 0 that the file gives (65536 for the formats that cover the whole
# memory, twice the word count for those that list words), then the 32768 words of the memory,
# one per line as four upper-case hex digits, with zero wherever the file gives nothing.
# Anything out of shape ends the run with a message naming the file (and line) and a non-zero
# status.
#
# The MIF and COE readers follow the general grammar of those formats, so that a file is
# accepted for what a memory compiler would accept, not only for the layout vexa-as writes:
# comments, free white space, radixes, address ranges and value lists.
use strict;
use warnings;

die "usage: decode.pl FORMAT FILE\n" unless @ARGV == 2;
my ($format, $path) = @ARGV;
open(my $in, '<:raw', $path) or die "$path: $!\n";
my $text = do { local $/; <$in> };
close $in;

my @memory = (0) x 32768;
my $extent = 0;
my $line_number = 0;
sub fail { die "$path" . ($line_number ? "($line_number)" : '') . ": $_[0]\n" }

# Stores byte $value at byte address $address, high byte of each word at the even address.
sub put_byte {
    my ($address, $value) = @_;
    fail(sprintf "byte address %X beyond the memory", $address) if $address > 0xFFFF;
    my $word = $address >> 1;
    $memory[$word] = $address & 1 ? ($memory[$word] & 0xFF00) | $value
                                  : ($memory[$word] & 0x00FF) | ($value << 8);
}

# Reads lines whose pattern captures (address, word), in order from word 0 without gaps;
# $scale turns the captured address into a word number (2 for byte addresses).
sub word_lines {
    my ($pattern, $radix, $scale) = @_;
    my $next = 0;
    for my $line (split /\n/, $text) {
        $line_number++;
        next unless $line =~ $pattern;
        my $address = $radix == 16 ? hex($1) : $1;
        fail("address $1 where word $next belongs") if $address != $next * $scale;
        fail("more than 32768 words") if $next > 32767;
        $memory[$next++] = hex($2);
    }
    $line_number = 0;
    $extent = 2 * $next;
}

sub hex_dump {
    fail("does not end with a line end") if $text ne '' && $text !~ /\n\z/;
    my $address = 0;
    for my $line (split /\n/, $text) {
        $line_number++;
        $line =~ /^- ([0-9A-F]{2}) ([0-9A-F]{4})((?: [0-9A-F]{2})+)$/ or fail("not a dump row");
        my @bytes = map { hex } split ' ', $3;
        fail("count $1 for " . @bytes . " bytes") if hex($1) != @bytes;
        fail("row at $2 where $address belongs") if hex($2) != $address;
        fail("a short row before the last") if $address % 16 != 0;
        put_byte($address++, $_) for @bytes;
    }
    $line_number = 0;
    $extent = $address;
}

sub binary {
    fail("holds " . length($text) . " bytes, not 65536") if length($text) != 65536;
    my @bytes = unpack('C*', $text);
    # Each word low byte first.
    $memory[$_] = $bytes[2 * $_ + 1] << 8 | $bytes[2 * $_] for 0 .. 32767;
    $extent = 65536;
}

sub memory_lines {
    my @lines = split /\n/, $text, -1;
    fail("does not end with a line end") unless pop(@lines) eq '';
    fail(@lines . " lines, not 32768") if @lines != 32768;
    for (@lines) {
        $line_number++;
        /^[0-9A-F]{4}$/ or fail("not four upper-case hex digits");
        $memory[$line_number - 1] = hex;
    }
    $extent = 65536;
}

# Intel HEX: checks every checksum; data records may come in any order but may not overlap.
sub intel_hex {
    my ($upper, %seen, $ended) = (0);
    for my $line (split /\n/, $text) {
        $line_number++;
        fail("a record after the end record") if $ended;
        $line =~ /^:((?:[0-9A-F]{2})+)$/ or fail("not a record");
        my @bytes = map { hex } $1 =~ /(..)/g;
        my ($count, $high, $low, $type) = @bytes;
        fail("record length") if @bytes != $count + 5;
        my $sum = 0;
        $sum += $_ for @bytes;
        fail("checksum") if $sum % 256 != 0;
        my @data = @bytes[4 .. 3 + $count];
        if ($type == 0) {
            my $address = $upper + ($high << 8 | $low);
            for (@data) {
                fail(sprintf "byte %X given twice", $address) if $seen{$address}++;
                put_byte($address++, $_);
            }
        } elsif ($type == 1) {
            fail("end record with data") if $count != 0;
            $ended = 1;
        } elsif ($type == 2 && $count == 2) {
            $upper = ($data[0] << 8 | $data[1]) << 4;
        } elsif ($type == 4 && $count == 2) {
            $upper = ($data[0] << 8 | $data[1]) << 16;
        } else {
            fail("record type $type");
        }
    }
    $line_number = 0;
    fail("no end record") unless $ended;
    $extent = keys %seen;
    # The bytes must run from address 0 without a gap.
    fail("a gap in the data") if grep { !$seen{$_} } 0 .. $extent - 1;
}

# A number in one of the MIF radixes; DEC data may be negative (two's complement).
sub mif_number {
    my ($token, $radix, $what) = @_;
    my %digits = (HEX => '[0-9A-F]', OCT => '[0-7]', BIN => '[01]', DEC => '-?[0-9]',
                  UNS => '[0-9]');
    fail("'$token' is no $radix $what") unless $token =~ /^$digits{$radix}+$/i;
    return hex($token) if $radix eq 'HEX';
    return oct("0$token") if $radix eq 'OCT';
    return oct("0b$token") if $radix eq 'BIN';
    return $token + 0;
}

sub mif {
    # Comments: from "--" to the end of the line, and anything between two percent signs.
    (my $clean = $text) =~ s/--[^\n]*|%[^%]*%/ /g;
    fail("an unclosed % comment") if $clean =~ /%/;
    my @tokens = $clean =~ /(\.\.|[\[\]:;=]|[^\s\[\]:;=.]+)/g;
    my $take = sub { @tokens ? shift @tokens : fail("the file ends too early") };
    my $expect = sub { my $t = $take->(); fail("'$t' where '$_[0]' belongs") if uc $t ne $_[0] };
    my %setting = (ADDRESS_RADIX => 'HEX', DATA_RADIX => 'HEX');
    while (uc(my $name = $take->()) ne 'CONTENT') {
        $name = uc $name;
        fail("unknown setting '$name'") unless $name =~ /^(WIDTH|DEPTH|ADDRESS_RADIX|DATA_RADIX)$/;
        $expect->('=');
        $setting{$name} = uc $take->();
        $expect->(';');
    }
    $expect->('BEGIN');
    fail("WIDTH is $setting{WIDTH}, not 16") if ($setting{WIDTH} // '') ne '16';
    my $depth = $setting{DEPTH} // '';
    fail("DEPTH is $depth, not 1 to 32768")
        unless $depth =~ /^[0-9]+$/ && $depth >= 1 && $depth <= 32768;
    my @given = (0) x $depth;
    my $limit = 1 << 16;
    while (uc(my $token = $take->()) ne 'END') {
        # an address, or a range [first..last]; then one or more values
        my ($first, $last);
        if ($token eq '[') {
            $first = mif_number($take->(), $setting{ADDRESS_RADIX}, 'address');
            $expect->('..');
            $last = mif_number($take->(), $setting{ADDRESS_RADIX}, 'address');
            $expect->(']');
            fail("range [$first..$last] runs backwards") if $last < $first;
        } else {
            $first = mif_number($token, $setting{ADDRESS_RADIX}, 'address');
        }
        $expect->(':');
        my @values;
        while ((my $value = $take->()) ne ';') {
            $value = mif_number($value, $setting{DATA_RADIX}, 'value');
            fail("value $value does not fit 16 bits") if $value >= $limit || $value < -$limit / 2;
            push @values, $value & 0xFFFF;
        }
        fail("an address without a value") unless @values;
        # A list fills consecutive addresses; over a range it repeats until the range ends.
        $last //= $first + @values - 1;
        for my $address ($first .. $last) {
            fail("address $address beyond DEPTH") if $address >= $depth;
            fail("address $address given twice") if $given[$address]++;
            $memory[$address] = $values[($address - $first) % @values];
        }
    }
    $expect->(';');
    fail("text after END;") if @tokens;
    my @missing = grep { !$given[$_] } 0 .. $depth - 1;
    fail(@missing . " words without a value, the first $missing[0]") if @missing;
    $extent = 2 * $depth;
}

sub coe {
    # A line that starts with ";" is a comment; after the ";" that ends a statement the rest
    # of its line is ignored as well.
    my ($radix, $vector, @statements) = (undef, undef);
    my $statement = '';
    for my $line (split /\n/, $text) {
        next if $line =~ /^\s*;/;
        $statement .= " $line";
        if ($statement =~ s/^([^;]*);.*$/$1/s) {
            push @statements, $statement;
            $statement = '';
        }
    }
    fail("a statement without its ';'") if $statement =~ /\S/;
    for (@statements) {
        /^\s*(\w+)\s*=\s*(.*?)\s*$/s or fail("not 'keyword = value': '$_'");
        my ($keyword, $value) = (lc $1, $2);
        if ($keyword eq 'memory_initialization_radix') {
            $radix = $value;
            fail("radix $radix") unless $radix =~ /^(2|10|16)$/;
        } elsif ($keyword eq 'memory_initialization_vector') {
            fail("the vector before the radix") unless defined $radix;
            my %digits = (2 => '[01]', 10 => '[0-9]', 16 => '[0-9A-Fa-f]');
            $vector = [map {
                fail("'$_' is no radix $radix value") unless /^$digits{$radix}+$/;
                my $v = $radix == 16 ? hex : $radix == 2 ? oct("0b$_") : $_ + 0;
                fail("value $_ does not fit 16 bits") if $v > 0xFFFF;
                $v
            } split /[\s,]+/, $value =~ s/^[\s,]+//r];
        } else {
            fail("unknown keyword '$keyword'");
        }
    }
    fail("no memory_initialization_vector") unless $vector;
    fail("an empty vector") unless @$vector;
    fail(@$vector . " values for 32768 words") if @$vector > 32768;
    @memory[0 .. $#$vector] = @$vector;
    $extent = 2 * @$vector;
}

my %readers = (
    hex => \&hex_dump,
    bin => \&binary,
    mem => \&memory_lines,
    ihx => \&intel_hex,
    mif => \&mif,
    coe => \&coe,
    prg => sub { word_lines(qr/^(\d+)\t([0-9A-F]{4})\t/, 10, 1) },
    lst => sub { word_lines(qr/^([0-9A-F]{4})\t([0-9A-F]{4})\t/, 16, 2) },
    vhd => sub { word_lines(qr/^\t\twhen x"([0-9A-F]{4})"=> instr <= x"([0-9A-F]{4})"/, 16, 2) },
    vlg => sub { word_lines(qr/^\s*15'h([0-9A-F]{4}): instr <= 16'h([0-9A-F]{4});/, 16, 1) },
);
my $reader = $readers{$format} or die "decode.pl: unknown format '$format'\n";
binmode STDOUT;
$reader->();
print "extent $extent\n";
printf "%04X\n", $_ for @memory;
