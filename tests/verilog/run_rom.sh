#!/usr/bin/env bash
# Simulates the Verilog ROM of one program with Icarus Verilog against its binary image.
#
#   run_rom.sh VEXA_AS WORK_DIR [--corrupt] (--full | SOURCE...)
#
# Assembles the sources (or, with --full, a generated program that fills all 64 KiB) into a
# binary image and a Verilog ROM, turns the image into the expected words, and runs rom_tb.v
# over every word number. The expected words never pass through the Verilog writer. With
# --corrupt, one word of a scratch copy of the module is changed first, and the run must then
# fail at exactly that word.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common.sh"
need_tool iverilog vvp
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
sources=("$@")
if [ "${1:-}" = --full ]; then
    full_program "$work"
    sources=("$work/full.s")
fi

"$vexa_as" -bin="$work/prog.bin" -vlg="$work/prog.v" "${sources[@]}"
expected_words "$work"

# A case line of the module: a 15-bit word number, then the word it reads.
entry="^[[:space:]]*15'h[0-9A-Fa-f]+[[:space:]]*:[[:space:]]*instr[[:space:]]*<=[[:space:]]*16'h"
program_words=$(grep -cE "$entry" "$work/prog.v" || true)
echo "program: ${sources[*]##*/}: $program_words words in the module's case table"

rom="$work/prog.v"
bad_word=-1
if [ "$corrupt" = 1 ]; then
    # Flip the lowest bit of the word in the middle of the program.
    line=$(grep -nE "$entry" "$rom" | awk -F: -v n="$program_words" \
        'NR == int((n + 1) / 2) { print $1 }')
    if [ -z "$line" ]; then
        echo "FAIL: --corrupt needs a program with at least one word"
        exit 1
    fi
    mkdir -p "$work/corrupt"
    rom="$work/corrupt/prog.v"
    awk -v line="$line" 'NR == line {
        match($0, /16'\''h[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]/)
        digit = index("0123456789ABCDEF", toupper(substr($0, RSTART + 7, 1))) - 1
        flipped = substr("0123456789ABCDEF", (digit % 2 == 0 ? digit + 1 : digit - 1) + 1, 1)
        $0 = substr($0, 1, RSTART + 6) flipped substr($0, RSTART + 8)
    }
    { print }' "$work/prog.v" > "$rom"
    number=$(sed -n "${line}p" "$rom" | sed -E "s/^[[:space:]]*15'h([0-9A-Fa-f]+).*/\1/")
    bad_word=$(( 16#$number ))
    echo "corrupted the ROM word $bad_word:"
    diff "$work/prog.v" "$rom" | sed -n '2p;4p' || true
fi

iverilog -g2001 -DROM_MODULE=prog -o "$work/sim.vvp" "$rom" "$here/rom_tb.v"
vvp -n "$work/sim.vvp" +words="$work/words.txt" > "$work/sim.log" 2>&1 || true
cat "$work/sim.log"

if [ "$corrupt" = 1 ]; then
    # The bad word shows three times: when it is read, while ena low holds it, and just
    # before the next edge.
    others=$(grep '^word ' "$work/sim.log" | grep -vc "^word $bad_word, " || true)
    if grep -q "compared 32768 words, 3 mismatches" "$work/sim.log" && [ "$others" = 0 ]; then
        echo "PASS: the testbench caught the corrupted word $bad_word"
        exit 0
    fi
    echo "FAIL: the testbench did not single out the corrupted word $bad_word"
    exit 1
fi
if ! grep -q "compared 32768 words, 0 mismatches" "$work/sim.log"; then
    echo "FAIL: the ROM differs from the binary image"
    exit 1
fi
echo "PASS: 32768 word numbers compared"
