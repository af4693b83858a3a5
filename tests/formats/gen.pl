#!/usr/bin/perl
# Writes a vexa source program to standard output.
#
#   gen.pl full                 32768 distinct non-zero words: the image is full to the last byte
#   gen.pl random SEED COUNT    COUNT statements drawn from a generator seeded with SEED
#
# A random program mixes instructions (with and without imm prefixes, pseudo-instructions,
# loads that trigger the load-use nop), byte and word data, align, bss, labels and short
# branches, and assembles without an error: a branch only targets a label that is certainly in
# reach, judged by an upper bound on the size of every statement between the two.
use strict;
use warnings;

my $mode = shift // '';
if ($mode eq 'full') {
    # Word i holds (40503 * i + 1) mod 65536: 40503 is odd, so no two words are equal, and
    # none is zero.
    print "; 32768 words: the image is full, with no byte to spare\n";
    printf "\tword 0x%04X\n", (40503 * $_ + 1) % 65536 for 0 .. 32767;
    exit 0;
}
die "usage: gen.pl full | gen.pl random SEED COUNT\n" unless $mode eq 'random' && @ARGV == 2;
my ($seed, $count) = @ARGV;

# xorshift32: the same sequence on every host, whatever perl's own rand does.
my $state = ($seed * 2654435761 + 1) & 0xFFFFFFFF || 1;
sub draw {
    my ($n) = @_;
    $state ^= ($state << 13) & 0xFFFFFFFF;
    $state ^= $state >> 17;
    $state ^= ($state << 5) & 0xFFFFFFFF;
    return $state % $n;
}
sub pick { return $_[draw(scalar @_)] }
sub reg { return draw(8) == 0 ? 'sp' : 'r' . draw(16) }
sub longreg { return 'r' . draw(12) }
# Small values fit the 4-bit field; the others need a prefix, some of them negative.
sub imm { return pick(draw(16), draw(16), draw(256), draw(65536) - 32768, draw(65536)) }

my @two = qw(and xor ror rcr or andn subr cmp add sub addc subc rol rcl);
my @rri = qw(srli srai slli subi addi);
my @jump = qw(call ljltu ljgeu ljeq ljne ljlt ljge ljvs ljvc ljle ljgt ljgtu ljleu ljn lja);
my @branch = qw(bltu bgeu beq bne blt bge bvs bvc ble bgt bgtu bleu bn ba);
my @long = qw(addl subl andl orl xorl andnl movl);

# Each statement returns its text and an upper bound on its bytes, counting a possible
# load-use nop and the padding of an odd location counter.
my $labels = 0;     # labels defined so far: L0 .. L(labels-1)
my @defined;        # [number, bound position] of the recent labels
my @pending;        # [number, bound position of the branch] of labels promised ahead
my $bound = 0;      # upper bound on the location counter
my $reach = 200;    # a short branch reaches 254 bytes back and 256 ahead

sub statement {
    my $kind = draw(20);
    my ($rd, $rs) = (reg(), reg());
    return ("nop", 2) if $kind == 0;
    return (sprintf("%s %s, %s, %d", pick(@rri), $rd, $rs, $kind % 2 ? imm() : draw(16)), 6)
        if $kind <= 3;
    return ("$two[draw(scalar @two)] $rd, $rs", 4) if $kind <= 5;
    if ($kind <= 8) {
        my $op = pick(qw(lw sw lb sb lu));
        # lw and sw need an even offset; the others take any
        my $offset = pick(0, draw(16) * 2, draw(200) * 2 - 200, draw(32768) * 2);
        $offset += draw(2) if $op =~ /^l[bu]$|^sb$/;
        my $base = draw(3) == 0 ? '' : "($rs)";
        return ("$op $rd, $offset$base", 8);
    }
    return ("$jump[draw(scalar @jump)] $rs", 4) if $kind == 9;
    return ("imm " . imm(), 2) if $kind == 10;
    return (pick("mov $rd, $rs", "sext $rd, $rs", "zext $rd, $rs", "cmpi $rs, " . imm()), 8)
        if $kind == 11;
    return (sprintf("%s %s, %s", pick(@long), longreg(), longreg()), 6) if $kind == 12;
    if ($kind == 13 && $labels > 0) {
        my $target = 'L' . draw($labels);
        return (pick("lea $rd, $target", "lb $rd, $target", "word $target", "word $target+3"), 8);
    }
    return (sprintf("byte 0x%02X", draw(256)), 1) if $kind <= 15;
    return (sprintf("word 0x%04X", draw(65536)), 4) if $kind == 16;
    if ($kind == 17) {
        my $size = 1 + draw(24);
        return ("bss $size", $size + 1);
    }
    if ($kind == 18) {
        my $alignment = 1 << draw(5);
        return ("align $alignment", $alignment);
    }
    return branch();
}

# A branch back to a recent label in reach, or ahead to a label defined soon enough.
sub branch {
    my @near = grep { $bound + 4 - $_->[1] < $reach } @defined;
    my $op = pick(@branch);
    if (@near && draw(2) == 0) {
        return ("$op L" . pick(@near)->[0], 4);
    }
    push @pending, [$labels++, $bound];
    return ("$op L$pending[-1][0]", 4);
}

# Labels go on even addresses, as a label in front of an instruction must.
sub define {
    my ($number) = @_;
    print "\talign 2\nL$number:\n";
    $bound += 1;
    push @defined, [$number, $bound];
    shift @defined if @defined > 8;
}

print "; generated: seed $seed, $count statements\n";
for (1 .. $count) {
    # Keep every promise while the label is still certainly in reach of its branch.
    while (@pending && ($bound + 40 - $pending[0][1] >= $reach || draw(6) == 0)) {
        define((shift @pending)->[0]);
    }
    if (draw(8) == 0) {
        define($labels++);
    }
    my ($text, $size) = statement();
    print "\t$text\n";
    $bound += $size;
}
define((shift @pending)->[0]) while @pending;
