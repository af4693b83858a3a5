#!/usr/bin/env bash
# Every output of vexa-as describes the same memory: for generated programs, the hex dump,
# binary, program list, VHDL and Verilog ROMs, listing, memory file, Intel HEX, MIF and COE
# must all decode to the same 32768 words, and each must cover exactly the part of memory it
# should (the bytes up to the location counter, the words up to it, or the whole memory).
#
#   check_property.sh VEXA_AS WORK_DIR [--corrupt]
#
# With --corrupt, one word of the COE file is changed before decoding, and the check must
# then name that output and no other.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
vexa_as=$1
work=$2
corrupt=${3:-}
rm -rf "$work"
mkdir -p "$work"

# seed:statements, from a few words to most of the memory
programs=(1:1 2:7 3:60 4:400 5:1500 6:4000 8:14000)
[ "$corrupt" = --corrupt ] && programs=(4:400)
formats=(hex bin prg vhd vlg lst mem ihx mif coe)

fail() { echo "  FAIL: $*" | tee -a "$work/failures"; }
: > "$work/failures"
for program in "${programs[@]}"; do
    seed=${program%%:*}
    dir="$work/seed$seed"
    mkdir -p "$dir"
    perl "$here/gen.pl" random "$seed" "${program##*:}" > "$dir/prog.s"
    options=()
    for format in "${formats[@]}"; do
        options+=("-$format=$dir/prog.$format")
    done
    "$vexa_as" "${options[@]}" "$dir/prog.s"
    if [ "$corrupt" = --corrupt ]; then
        # the first value: flip the lowest bit of word 0
        perl -i -pe 's/^(...)(.)/$1 . sprintf("%X", hex($2) ^ 1)/e if $. == 3' "$dir/prog.coe"
    fi

    for format in "${formats[@]}"; do
        perl "$here/decode.pl" "$format" "$dir/prog.$format" > "$dir/$format.txt"
    done
    lc=$(head -n 1 "$dir/hex.txt" | cut -d' ' -f2)
    words=$(( (lc + 1) / 2 * 2 ))
    echo "seed $seed: $lc bytes"
    for format in "${formats[@]}"; do
        case $format in
            hex|ihx) want=$lc ;;
            bin|mem|mif) want=65536 ;;
            coe) want=$(( words > 0 ? words : 2 )) ;;
            *) want=$words ;;
        esac
        got=$(head -n 1 "$dir/$format.txt")
        if [ "$got" != "extent $want" ]; then
            fail "prog.$format covers $got bytes, want $want"
        fi
        if ! cmp -s <(tail -n +2 "$dir/bin.txt") <(tail -n +2 "$dir/$format.txt"); then
            fail "prog.$format decodes to other words than prog.bin:"
            diff <(tail -n +2 "$dir/bin.txt") <(tail -n +2 "$dir/$format.txt") | head -n 4 |
                sed 's/^/    /' || true
        fi
    done
done

failures=$(wc -l < "$work/failures")
if [ "$corrupt" = --corrupt ]; then
    if [ "$failures" -eq 1 ] && grep -q "prog.coe decodes to other words" "$work/failures"; then
        echo "PASS: the changed word of the COE file was caught, and nothing else"
        exit 0
    fi
    echo "FAIL: the changed word of the COE file was not singled out"
    exit 1
fi
[ "$failures" -eq 0 ] || exit 1
echo "PASS: all ${#formats[@]} outputs agree"
