#!/usr/bin/env bash
# readback.sh VEXA CONSUMER: each program's outputs read by the tool that consumes them must
# give the words of its binary image (low byte first), which no writer under test makes. ghdl
# runs the VHDL ROM; iverilog the Verilog ROM and the $readmemh file, then catches one word
# changed; verilator lints the ROM, and runs the small memory; yosys maps the example's to one
# iCE40 block; srec_cat and objcopy read Intel HEX; mif and coe are the readers of readers.pl.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vexa=$(realpath "$1") consumer=$2
tool=${consumer/mif/perl} && tool=${tool/coe/perl}
command -v "$tool" > /dev/null || { echo "SKIP: $tool not found"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-readback.XXXXXX"); trap 'rm -rf "$work"' EXIT
trap 'echo "FAIL: $consumer, ${name:-}: $BASH_COMMAND"' ERR
cd "${here%/tests/*}/examples"

# Name, VHDL entity, Verilog module, depth, settings and sources: the example, an empty program
# (2nd is no module name), the golden one named in 6 words, and 32768 words filling the memory
# (its module named unlike its file, in as many letters).
programs=("main prom main 32768 main.s long32.s tables.s" "2nd prom prom 32768 /dev/null"
          "tiny tiny tiny 6 -depth=6 -name=tiny golden/tiny.s" "full fill fill 32768 -name=fill $work/f.s")
awk 'BEGIN {for (; i < 32768; i++) printf "word 0x%04X\n", (40503 * i + 1) % 65536}' >$work/f.s
[ "$consumer" = yosys ] && programs=("${programs[0]}")

for row in "${programs[@]}"; do
    read -r name entity module depth sources <<< "$row" && p=$work/$name
    # shellcheck disable=SC2086
    "$vexa" -bin=$p.bin -hex=$p.hex -vhd=$p.vhd -vlg=$p.v -mem=$p.mem -ihx=$p.ihx \
        -mif=$p.mif -coe=$p.coe $sources
    od -An -v -tx1 -w2 "$p.bin" | awk '{ print toupper($2 $1) }' > "$p.words"
    lc=0 stride=$([ "$name" = full ] && echo 61 || echo 1)
    while read -r _ count _; do lc=$((lc + 16#$count)); done < "$p.hex"
    # What rom_tb.v prints: the memory words, the word before a clock, each read word twice.
    want() { { head -n "$depth" "$p.words"; echo 0000
               awk -v s="$stride" '(NR - 1) % s == 0 { print; print }' "$p.words"; } | tr A-F a-f; }
    echo "$consumer: $name, $lc bytes"
    case $consumer in
    ghdl)
        mkdir "$p.lib" && sed "s/work\.prom/work.$entity/" "$here/rom_tb.vhd" > "$p.tb.vhd"
        ghdl -a --std=08 -fsynopsys --workdir="$p.lib" "$p.vhd" "$p.tb.vhd"
        ghdl --elab-run --std=08 -fsynopsys --workdir="$p.lib" rom_tb | cmp - <(sed p "$p.words") ;;
    iverilog)
        iverilog -g2005 -Wall -DDEPTH="$depth" -DROM="$module" -o "$p.vvp" "$p.v" "$here/rom_tb.v" \
            |& cmp - /dev/null
        vvp -n "$p.vvp" +mem="$p.mem" +stride="$stride" | cmp - <(want)
        [ "$name" != tiny ] || [ "$(sed '2s/6124/6125/' "$p.mem" > "$p.bad" && vvp -n "$p.vvp" \
            +mem="$p.bad" +stride=1 | diff <(want) - | sed -n '1p;$p')" = $'2c2\n> 6125' ] ;;
    verilator)
        verilator --lint-only -Wall "$p.v" 2>&1 | cmp - /dev/null
        [ "$name" = tiny ] || continue   # a small memory simulated
        verilator --binary --top-module rom_tb -DDEPTH="$depth" -DROM="$module" --Mdir "$p.vl" \
            "$p.v" "$here/rom_tb.v" > /dev/null
        "$p.vl/Vrom_tb" +mem="$p.mem" +stride=1 | grep -v '^- ' | cmp - <(want) ;;
    yosys)
        yosys -q -p "read_verilog $p.v; synth_ice40 -top $module; tee -q -o $p.stat stat"
        [ "$(awk '$1 == "SB_RAM40_4K" { print $2 }' "$p.stat")" = 1 ] ;;
    srec_cat | objcopy)
        # The program's bytes in memory order; an empty program is the end record alone.
        perl -0777 -ne "s/(.)(.)/\$2\$1/gs; print substr(\$_, 0, $lc)" "$p.bin" > "$p.bytes"
        if [ "$lc" = 0 ]; then echo ':00000001FF' | cmp - "$p.ihx"; continue; fi
        if [ "$consumer" = srec_cat ]; then srec_cat "$p.ihx" -Intel -o "$p.out" -Binary
        else objcopy -I ihex -O binary "$p.ihx" "$p.out"; fi
        cmp "$p.out" "$p.bytes" ;;
    mif)
        DEPTH=$depth perl "$here/readers.pl" "$p.mif" | cmp - <(head -n "$depth" "$p.words") ;;
    coe)
        perl "$here/readers.pl" "$p.coe" $(((lc + 1) / 2 + (lc == 0))) | cmp - "$p.words" ;;
    esac
done
echo "PASS: $consumer"
