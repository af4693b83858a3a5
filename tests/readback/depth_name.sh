#!/usr/bin/env bash
# -depth= and -name= as the tools see them: a 256-word memory file loaded by Icarus Verilog
# and by Verilator, its MIF read back, a program too long for its depth; two named ROMs side
# by side in one Verilog design (Icarus, Yosys) and one VHDL design (GHDL), each read at every
# word number; a table of names; the outputs the settings do not shape left as they were.
#
#   depth_name.sh VEXA_AS WORK_DIR
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
for tool in iverilog vvp verilator ghdl yosys; do
    command -v $tool > /dev/null || { echo "SKIP: $tool not found"; exit 77; }
done
bin=$(realpath "$1")
work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
root=$here/../..
app=("$root/examples/main.s" "$root/examples/long32.s" "$root/examples/tables.s")
awk 'BEGIN { for (i = 0; i < 114; i++) printf "word 0x%04X\n", (40503 * i + 7) % 65536 }' > boot.s
failed=0
fail() { echo "FAIL: $*"; failed=1; }
run() { bash -c 'exec -a vexa-as "$0" "$@"' "$bin" "$@" > out 2> err; }
# The binary image's words, one a line in upper-case hex (the image stores each low byte first).
image_words() { od -An -v -tx1 -w2 "$1" | awk '{ print toupper($2 $1) }' > "$2"; }

# The depth: both simulators load all 256 words and print nothing but what they read.
"$bin" -depth=256 -bin=app.bin -vlg=app.v -mem=app.mem -mif=app.mif "${app[@]}"
image_words app.bin words.txt
head -n 256 words.txt | tr A-F a-f > want256.txt
iverilog -g2005 -Wall -DDEPTH=256 -DROM=app -o tb.vvp app.v "$here/rom_tb.v" > icarus.log 2>&1 &&
    vvp -n tb.vvp +mem=app.mem +stride=4096 >> icarus.log 2>&1
verilator --binary --top-module rom_tb -DDEPTH=256 -DROM=app --Mdir vl app.v "$here/rom_tb.v" > vl.log 2>&1 &&
    vl/Vrom_tb +mem=app.mem +stride=4096 2>&1 | grep -v '^- ' > verilator.log
for log in icarus.log verilator.log; do
    [ "$(wc -l < $log)" = 273 ] && head -n 256 $log | cmp -s - want256.txt ||
        fail "$log: $(grep -v '^[0-9a-f]*$' $log | head -n 3)"
done
DEPTH=256 perl "$here/readers.pl" app.mif 0 | cmp -s - <(head -n 256 words.txt) ||
    fail "MIF of depth 256"
run -depth=70 -mem=fit.mem "${app[@]}" || fail "70 words do not fit a depth of 70: $(cat err)"
run -depth=69 -mem=over.mem -lst=over.lst "${app[@]}"
[ $? = 1 ] && [ "$(cat err)" = "vexa-as: program of 70 words does not fit a depth of 69" ] &&
    [ ! -e over.mem ] && [ -e over.lst ] || fail "-depth=69 for 70 words gave: $(cat err)"

# -depth=32768 is no change at all; -depth=256 -name=app_rom change only what they shape.
outputs=(hex bin ram prg vhd vlg mem ihx mif coe sym lst)
for args in "plain" "same -depth=32768" "other -depth=256 -name=app_rom"; do
    read -r set settings <<< "$args"
    mkdir $set
    paths=()
    for kind in "${outputs[@]}"; do paths+=("-$kind=$set/app.$kind"); done
    # shellcheck disable=SC2086  # the settings are split on purpose
    SOURCE_DATE_EPOCH=0 "$bin" $settings "${paths[@]}" "${app[@]}"
done
for kind in "${outputs[@]}"; do
    cmp -s plain/app.$kind same/app.$kind || fail "-depth=32768 changes the $kind output"
    [[ $kind =~ vhd|vlg|mem|mif ]] || cmp -s plain/app.$kind other/app.$kind || fail "$kind changes"
done

# Two named ROMs in one design, each read at every word number: the pair's instr is the
# exclusive or of theirs.
"$bin" -name=boot_rom -bin=boot.bin -vlg=boot.v -vhd=boot.vhd boot.s
"$bin" -name=app_rom -vlg=app.v -vhd=app.vhd -mem=full.mem "${app[@]}"
image_words boot.bin boot.txt
paste boot.txt words.txt | perl -ane 'printf "%04X\n", hex($F[0]) ^ hex($F[1])' > pair.txt
cat > pair.v << 'EOF'
module pair (input wire clk, input wire ena, input wire [15:0] addri, output wire [15:0] instr);
    wire [15:0] boot_instr, app_instr;
    boot_rom boot (.clk(clk), .ena(ena), .addri(addri), .instr(boot_instr));
    app_rom app (.clk(clk), .ena(ena), .addri(addri), .instr(app_instr));
    assign instr = boot_instr ^ app_instr;
endmodule
EOF
cat > pair.vhd << 'EOF'
library ieee;
use ieee.std_logic_1164.all;
entity prom is
    port (clk, ena : in std_logic; addri : in std_logic_vector(15 downto 0);
          instr : out std_logic_vector(15 downto 0));
end;
architecture pair of prom is
    signal boot_instr, app_instr : std_logic_vector(15 downto 0);
begin
    boot : entity work.boot_rom port map (clk, ena, addri, boot_instr);
    app : entity work.app_rom port map (clk, ena, addri, app_instr);
    instr <= boot_instr xor app_instr;
end;
EOF
iverilog -g2001 -DROM=pair -o pair.vvp boot.v app.v pair.v "$here/rom_tb.v" &&
    vvp -n pair.vvp +mem=full.mem +stride=1 | tail -n +32770 > pair_v.log
sed p pair.txt | tr A-F a-f | cmp -s - pair_v.log || fail "Icarus: $(tail -n 3 pair_v.log)"
ghdl_opts=(--std=08 -fsynopsys --workdir=.)
ghdl -a "${ghdl_opts[@]}" boot.vhd app.vhd pair.vhd "$here/rom_tb.vhd" &&
    ghdl --elab-run "${ghdl_opts[@]}" rom_tb > pair_vhd.log 2>&1
sed p pair.txt | cmp -s - pair_vhd.log || fail "GHDL: $(tail -n 3 pair_vhd.log)"
yosys -q -p "read_verilog boot.v app.v pair.v; synth_ice40 -top pair; tee -q -o pair.stat stat" \
    > yosys.log 2>&1
[ "$(awk '$1 == "SB_RAM40_4K" { print $2 }' pair.stat)" = 2 ] ||
    fail "Yosys does not map the two ROMs to two blocks: $(grep -i ram pair.stat)"

# Names: the ones no VHDL or Verilog tool could take fail before any source is read (the
# source does not exist); the others name a module that Icarus elaborates and GHDL analyses.
long=r$(printf '%063d' 7)                                # 64 characters
names=(Entity sIGNAL Downto PROCESS Module wIRE EndModule Logic bIT Interface Clk Instr
       Prom_Beh IEEE Std_Logic_1164 work 2nd_rom boot__rom rom_ _rom röm boot-rom ''
       "${long}x" "ok $long" "ok Boot_Rom2" "ok a" "ok prom" "ok logic2" "ok Z_1")
for row in "${names[@]}"; do
    read -r ok name <<< "$row"
    if [ "$ok" = ok ]; then
        "$bin" -name="$name" -vlg=named.v -vhd=named.vhd boot.s &&
            iverilog -s "$name" -o named.vvp named.v &&
            ghdl -a "${ghdl_opts[@]}" --work=names named.vhd || fail "-name=$name: refused"
    else
        rm -f named.v
        run -name="$row" -vlg=named.v missing.s
        [ $? = 1 ] && [ "$(cat err)" = "vexa-as: '$row' is not a usable module name" ] &&
            [ ! -e named.v ] || fail "-name=$row gave: $(cat err)"
    fi
done

[ $failed = 0 ] && echo "PASS: depth 256, two named ROMs, ${#names[@]} names"
exit $failed
