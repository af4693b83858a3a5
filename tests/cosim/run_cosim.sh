#!/usr/bin/env bash
# Co-simulates the VHDL ROM of one program against its binary image.
#
#   run_cosim.sh VEXA_AS WORK_DIR [--corrupt] (--full | SOURCE...)
#
# Assembles the sources (or, with --full, a generated program of 32768 distinct non-zero
# words that fills the whole 64 KiB) into a binary image and a VHDL ROM, turns the binary
# image into one hex word per line (two bytes per word, low byte first), and runs the
# testbench over every word number. The expected words never pass through the VHDL writer.
# With --corrupt, one word of a scratch copy of the ROM is changed first and the run must
# then fail at exactly that word.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common.sh"
need_tool ghdl
vexa_as=$1
work=$2
shift 2
corrupt=0
if [ "${1:-}" = --corrupt ]; then
    corrupt=1
    shift
fi

rm -rf "$work"
mkdir -p "$work"

sources=()
if [ "${1:-}" = --full ]; then
    full_program "$work"
    sources=("$work/full.s")
else
    sources=("$@")
fi

"$vexa_as" -bin="$work/prog.bin" -vhd="$work/prog.vhd" "${sources[@]}"

expected_words "$work"
program_words=$(grep -c 'when x"' "$work/prog.vhd" || true)
echo "program: ${sources[*]##*/}: $program_words words in the ROM's case table"

rom="$work/prog.vhd"
bad_word=-1
if [ "$corrupt" = 1 ]; then
    # Flip the lowest bit of the word in the middle of the program.
    line=$(grep -n 'when x"' "$rom" | awk -F: -v n="$program_words" 'NR == int((n + 1) / 2) { print $1 }')
    if [ -z "$line" ]; then
        echo "FAIL: --corrupt needs a program with at least one word"
        exit 1
    fi
    rom="$work/corrupt.vhd"
    awk -v line="$line" 'NR == line {
        match($0, /instr <= x"[0-9A-F]+"/)
        old = substr($0, RSTART + 11, 4)
        digit = index("0123456789ABCDEF", substr(old, 4, 1)) - 1
        flipped = substr(old, 1, 3) substr("0123456789ABCDEF", xor_one(digit) + 1, 1)
        $0 = substr($0, 1, RSTART + 10) flipped substr($0, RSTART + 15)
    }
    { print }
    function xor_one(d) { return d % 2 == 0 ? d + 1 : d - 1 }' "$work/prog.vhd" > "$rom"
    address=$(sed -n "${line}p" "$rom" | sed 's/.*when x"\([0-9A-F]*\)".*/\1/')
    bad_word=$(( 16#$address / 2 ))
    echo "corrupted the ROM word at byte address $address (word $bad_word):"
    diff "$work/prog.vhd" "$rom" | sed -n '2p;4p' || true
fi

ghdl_opts=(--std=08 -fsynopsys --workdir="$work")
ghdl -a "${ghdl_opts[@]}" "$rom" "$here/prom_tb.vhd"
ghdl -e "${ghdl_opts[@]}" prom_tb
status=0
ghdl -r "${ghdl_opts[@]}" prom_tb -gwords_file="$work/words.txt" > "$work/sim.log" 2>&1 || status=$?
cat "$work/sim.log"

if [ "$corrupt" = 1 ]; then
    if [ "$status" -ne 0 ] && grep -q "read word $bad_word: expected" "$work/sim.log" \
            && grep -q "compared 32768 addresses, 2 mismatches" "$work/sim.log"; then
        echo "PASS: the testbench caught the corrupted word $bad_word"
        exit 0
    fi
    echo "FAIL: the testbench did not single out the corrupted word $bad_word"
    exit 1
fi
if [ "$status" -ne 0 ] || ! grep -q "compared 32768 addresses, 0 mismatches" "$work/sim.log"; then
    echo "FAIL: the ROM differs from the binary image"
    exit 1
fi
echo "PASS: 32768 addresses compared"
