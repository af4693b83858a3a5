#!/usr/bin/env bash
# Synthesises the Verilog ROM for the iCE40 with Yosys and checks what it maps to.
#
#   synth.sh VEXA_AS WORK_DIR examples    the example programs
#   synth.sh VEXA_AS WORK_DIR full        a program that fills all 64 KiB
#
# The case table inside the clocked block must become block RAM (SB_RAM40_4K cells) with
# little logic around it: a form that Yosys does not recognise as a ROM turns into thousands
# of LUTs, or into none of the blocks. The full image needs 128 blocks of 4 Kbit, more than
# any iCE40 has, so this checks the mapping, not a fit.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common.sh"
need_tool yosys
vexa_as=$1
work=$2
mode=$3
rm -rf "$work"
mkdir -p "$work"
top=$(cd "$here/../.." && pwd)
examples=$top/examples

# cells NAME CELL: how many cells of that type the stat of module NAME counts.
cells() {
    awk -v cell="$2" '$1 == cell { n = $2 } END { print n + 0 }' "$work/$1.stat"
}

# synth NAME: synthesises WORK_DIR/NAME.v with NAME as the top module.
synth() {
    local start end
    start=$(date +%s)
    if ! yosys -q -p "read_verilog $work/$1.v; synth_ice40 -top $1; tee -q -o $work/$1.stat stat" \
            > "$work/$1.log" 2>&1; then
        cat "$work/$1.log"
        echo "FAIL: yosys could not synthesise $1.v"
        exit 1
    fi
    end=$(date +%s)
    echo "$1: $((end - start)) s, $(cells "$1" SB_RAM40_4K) SB_RAM40_4K," \
         "$(cells "$1" SB_LUT4) SB_LUT4"
}

status=0
case $mode in
examples)
    "$vexa_as" -vlg="$work/main.v" "$examples/main.s" "$examples/long32.s" "$examples/tables.s"
    "$vexa_as" -vlg="$work/hexdigit.v" "$examples/hexdigit.s"
    synth main
    synth hexdigit
    # The main example's 70 words make one block of block RAM.
    if [ "$(cells main SB_RAM40_4K)" -ne 1 ]; then
        echo "FAIL: the main example is not one SB_RAM40_4K"
        status=1
    fi
    ;;
full)
    full_program "$work"
    "$vexa_as" -vlg="$work/full.v" "$work/full.s"
    synth full
    blocks=$(cells full SB_RAM40_4K)
    luts=$(cells full SB_LUT4)
    if [ "$blocks" -ne 128 ] || [ "$luts" -gt 400 ]; then
        echo "FAIL: the full image maps to $blocks SB_RAM40_4K and $luts SB_LUT4" \
             "(want 128 blocks, 512 Kbit, and at most 400 LUTs)"
        status=1
    fi
    ;;
*)
    echo "usage: synth.sh VEXA_AS WORK_DIR examples|full"
    exit 2
    ;;
esac
[ "$status" = 0 ] && echo "PASS: yosys maps the $mode ROM as expected"
exit "$status"
