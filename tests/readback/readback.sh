#!/usr/bin/env bash
# Reads outputs back with the tool that consumes them:  readback.sh VEXA CONSUMER
# For each program below the consumer must find the words of its binary image (each word low
# byte first there), which never passes through the writer under test. ghdl reads the VHDL
# ROM; iverilog the Verilog ROM (every 61st word number of a full memory) and the $readmemh
# file, where "corrupt" changes one word that it must catch; verilator lints the Verilog ROM
# with every warning on; yosys maps the example's to one iCE40 block of RAM; srec_cat and
# objcopy read Intel HEX; mif and coe are the readers of readers.pl.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vexa=$(realpath "$1")
consumer=$2
tool=${consumer/corrupt/iverilog}
[ "$tool" = mif ] || [ "$tool" = coe ] && tool=perl
command -v "$tool" > /dev/null || { echo "SKIP: $tool not found"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-readback.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'echo "FAIL: $consumer, ${name:-}: $BASH_COMMAND"' ERR
cd "${here%/tests/*}"

# The example, an empty program (whose Verilog file 2nd.v holds the module prom), five bytes,
# and 32768 distinct words that fill the memory.
programs=("main examples/main.s examples/long32.s examples/tables.s" "2nd /dev/null"
          "odd $work/odd.s" "full $work/full.s")
printf 'word 0x12AB\nword 0xCD34\nbyte 7\n' > "$work/odd.s"
awk 'BEGIN { for (i = 0; i < 32768; i++) printf "word 0x%04X\n", (40503 * i + 1) % 65536 }' \
    > "$work/full.s"
[ "$consumer" = yosys ] && programs=("${programs[0]}")
[ "$consumer" = corrupt ] && programs=("${programs[2]}")

for row in "${programs[@]}"; do
    read -r name sources <<< "$row"
    p=$work/$name
    # shellcheck disable=SC2086
    "$vexa" -bin=$p.bin -hex=$p.hex -vhd=$p.vhd -vlg=$p.v -mem=$p.mem -ihx=$p.ihx \
        -mif=$p.mif -coe=$p.coe $sources
    od -An -v -tx1 -w2 "$p.bin" | awk '{ print toupper($2 $1) }' > "$p.words"
    lc=0
    while read -r _ count _; do lc=$((lc + 16#$count)); done < "$p.hex"
    echo "$consumer: $name, $lc bytes"
    case $consumer in
    ghdl)
        mkdir "$p.lib"
        ghdl -a --std=08 -fsynopsys --workdir="$p.lib" "$p.vhd" "$here/rom_tb.vhd"
        ghdl --elab-run --std=08 -fsynopsys --workdir="$p.lib" rom_tb > "$p.read"
        sed p "$p.words" | cmp - "$p.read" ;;
    iverilog | corrupt)
        [ "$consumer" = corrupt ] && sed -i '2s/CD34/CD35/' "$p.mem"
        stride=$([ "$name" = full ] && echo 61 || echo 1)
        iverilog -g2005 -Wall -DROM="${name/2nd/prom}" -o "$p.vvp" "$p.v" "$here/rom_tb.v" 2>&1 |
            cmp - /dev/null
        vvp -n "$p.vvp" +mem="$p.mem" +stride="$stride" > "$p.read"
        { cat "$p.words"; echo 0000; awk -v s="$stride" '(NR - 1) % s == 0 { print; print }' \
            "$p.words"; } | tr A-F a-f | diff - "$p.read" > "$p.diff" || [ "$consumer" = corrupt ]
        [ "$consumer" != corrupt ] || [ "$(sed -n '1p;$p' "$p.diff")" = $'2c2\n> cd35' ] ;;
    verilator)
        verilator --lint-only -Wall "$p.v" 2>&1 | cmp - /dev/null ;;
    yosys)
        yosys -q -p "read_verilog $p.v; synth_ice40 -top $name; tee -q -o $p.stat stat"
        [ "$(awk '$1 == "SB_RAM40_4K" { print $2 }' "$p.stat")" = 1 ] ;;
    srec_cat | objcopy)
        # The program's bytes in memory order; an empty program is the end record alone.
        perl -0777 -ne "s/(.)(.)/\$2\$1/gs; print substr(\$_, 0, $lc)" "$p.bin" > "$p.bytes"
        if [ "$lc" = 0 ]; then echo ':00000001FF' | cmp - "$p.ihx"; continue; fi
        if [ "$consumer" = srec_cat ]; then srec_cat "$p.ihx" -Intel -o "$p.out" -Binary
        else objcopy -I ihex -O binary "$p.ihx" "$p.out"; fi
        cmp "$p.out" "$p.bytes" ;;
    mif | coe)
        perl "$here/readers.pl" "$p.$consumer" $(((lc + 1) / 2 + (lc == 0))) | cmp - "$p.words" ;;
    esac
done
echo "PASS: $consumer"
