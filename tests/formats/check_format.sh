#!/usr/bin/env bash
# Reads one memory-image output of one program back with the program that consumes it.
#
#   check_format.sh FORMAT VEXA_AS WORK_DIR PROGRAM [--corrupt]
#
# FORMAT is mem (Icarus Verilog $readmemh), ihx (srec_cat and objcopy), mif or coe (the
# readers of decode.pl, since no consumer of those runs here). PROGRAM is example_main,
# example_hexdigit, empty, odd, one, full (all 65536 bytes) or large (a generated program of
# about 60 KiB). The expected memory comes from the binary image (words low byte first) and
# the program's length from the hex dump, never from the writer under test.
# With --corrupt (mem only), one word of a copy of the memory file is changed and the
# testbench must then report exactly that word.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
format=$1
vexa_as=$2
work=$3
program=$4
corrupt=${5:-}

. "$here/../common.sh"
case $format in
    mem) need_tool iverilog vvp ;;
    ihx) need_tool srec_cat objcopy ;;
    mif|coe) ;;
    *) echo "unknown format $format"; exit 2 ;;
esac

rm -rf "$work"
mkdir -p "$work"
case $program in
    example_main) sources=("$root/examples/main.s" "$root/examples/long32.s" "$root/examples/tables.s") ;;
    example_hexdigit) sources=("$root/examples/hexdigit.s") ;;
    empty|odd|one) sources=("$here/programs/$program.s") ;;
    full) perl "$here/gen.pl" full > "$work/full.s"; sources=("$work/full.s") ;;
    large) perl "$here/gen.pl" random 7 20000 > "$work/large.s"; sources=("$work/large.s") ;;
    *) echo "unknown program $program"; exit 2 ;;
esac

out="$work/prog.$format"
"$vexa_as" -hex="$work/prog.hex" -bin="$work/prog.bin" -"$format=$out" "${sources[@]}"

# The location counter: the byte counts of the hex dump's rows added up.
lc=$(perl -ne '$n += hex((split)[1]); END { print $n + 0 }' "$work/prog.hex")
# The expected words, one per line, and the program's bytes in memory order.
image_words "$work/prog.bin" "$work/words.txt"
perl -e 'local $/; my $b = <STDIN>; $b =~ s/(.)(.)/$2$1/gs; print substr($b, 0, $ARGV[0])' \
    "$lc" < "$work/prog.bin" > "$work/bytes.bin"
echo "program $program: ${sources[*]##*/}, $lc bytes"

fail() { echo "FAIL: $*"; exit 1; }

check_mem() {
    local lines
    lines=$(wc -l < "$out")
    [ "$lines" -eq 32768 ] || fail "$out has $lines lines, not 32768"
    if grep -qvxE '[0-9A-F]{4}' "$out"; then
        fail "line $(grep -nvxE '[0-9A-F]{4}' "$out" | head -n 1) is not four upper-case hex digits"
    fi
    local mem=$out bad_word=-1
    if [ "$corrupt" = --corrupt ]; then
        # Flip the lowest bit of the word in the middle of the program.
        bad_word=$(( (lc + 1) / 4 ))
        mem="$work/corrupt.mem"
        awk -v n=$((bad_word + 1)) 'NR == n {
            d = index("0123456789ABCDEF", substr($0, 4, 1)) - 1
            $0 = substr($0, 1, 3) substr("0123456789ABCDEF", (d % 2 ? d - 1 : d + 1) + 1, 1)
        } { print }' "$out" > "$mem"
    fi
    iverilog -g2005 -Wall -o "$work/tb.vvp" "$here/readmem_tb.v"
    vvp -n "$work/tb.vvp" +mem="$mem" +bin="$work/prog.bin" > "$work/sim.log" 2>&1 || true
    cat "$work/sim.log"
    if [ "$corrupt" = --corrupt ]; then
        [[ $(sed -n 1p "$work/sim.log") == "word $bad_word: memory file "* ]] &&
            [ "$(sed -n 2p "$work/sim.log")" = "compared 32768 words, 1 mismatches" ] &&
            [ "$(wc -l < "$work/sim.log")" -eq 2 ] ||
            fail "the testbench did not single out the changed word $bad_word"
        echo "PASS: the testbench caught the changed word $bad_word"
        return
    fi
    # Nothing else may be printed: a warning of $readmemh fails the test as much as a mismatch.
    [ "$(cat "$work/sim.log")" = "compared 32768 words, 0 mismatches" ] ||
        fail "\$readmemh did not load the binary image cleanly"
}

check_ihx() {
    if [ "$lc" -eq 0 ]; then
        # Both tools refuse a file without data: the end record alone is the whole file.
        [ "$(od -An -c "$out" | tr -d ' \n')" = ':00000001FF\n' ] ||
            fail "the empty program gives $(od -An -c "$out")"
        return
    fi
    srec_cat "$out" -Intel -o "$work/srec_cat.bin" -Binary
    objcopy -I ihex -O binary "$out" "$work/objcopy.bin"
    cmp "$work/bytes.bin" "$work/srec_cat.bin" || fail "srec_cat reads other bytes"
    cmp "$work/bytes.bin" "$work/objcopy.bin" || fail "objcopy reads other bytes"
}

# mif and coe: decode.pl's reader gives the memory, compared word by word.
check_decoded() {
    local want_extent=$1
    perl "$here/decode.pl" "$format" "$out" > "$work/decoded.txt"
    local extent
    extent=$(head -n 1 "$work/decoded.txt")
    [ "$extent" = "extent $want_extent" ] || fail "$extent, want $want_extent"
    tail -n +2 "$work/decoded.txt" | cmp - "$work/words.txt" ||
        fail "the words read back differ from the binary image"
}

case $format in
    mem) check_mem ;;
    ihx) check_ihx ;;
    mif) check_decoded 65536 ;;
    # one value per word up to the location counter; an empty program still needs one value
    coe) check_decoded $(( lc == 0 ? 2 : (lc + 1) / 2 * 2 )) ;;
esac
echo "PASS: $format of $program read back as the binary image"
