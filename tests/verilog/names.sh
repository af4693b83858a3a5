#!/usr/bin/env bash
# The module takes its name from the output file: the base name up to its first dot when that
# is an identifier every Verilog tool accepts, otherwise prom. Icarus Verilog elaborating the
# file with the expected name as its root proves each row.
#
#   names.sh VEXA_AS WORK_DIR
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common.sh"
need_tool iverilog
vexa_as=$1
work=$2
rm -rf "$work"
mkdir -p "$work/sub.d"
printf 'start:\taddi r2, r0, 100\n\tbne start\n' > "$work/prog.s"

# Output file (below WORK_DIR), then the module name it must give.
cases=(
    "boot_rom.v    boot_rom"      # the base name as it is
    "boot.rom.v    boot"          # up to the first dot only
    "sub.d/rom.v   rom"           # a dot in a directory name does not count
    "rom           rom"           # no extension at all
    "_r0.v         _r0"           # an underscore may lead
    "Logic.v       Logic"         # keywords are lower case; case matters
    "2nd.v         prom"          # a leading digit
    "rom-a.v       prom"          # a character outside letters, digits and _
    ".v            prom"          # nothing before the dot
    "module.v      prom"          # a Verilog-2005 keyword
    "always.v      prom"
    "logic.v       prom"          # SystemVerilog keywords, rejected even in Verilog mode
    "bit.v         prom"
    "int.v         prom"
)

failures=0
for row in "${cases[@]}"; do
    read -r file want _ <<< "$row"
    rm -f "$work/$file"
    if ! "$vexa_as" -vlg="$work/$file" "$work/prog.s"; then
        echo "FAIL: $file: vexa-as failed"
        failures=$((failures + 1))
        continue
    fi
    if iverilog -g2001 -s "$want" -o "$work/elab.vvp" "$work/$file" > "$work/iverilog.log" 2>&1; then
        echo "ok: $file gives module $want"
    else
        echo "FAIL: $file does not give module $want:"
        sed -n 's/^module/  module/p' "$work/$file"
        cat "$work/iverilog.log"
        failures=$((failures + 1))
    fi
done
if [ "$failures" -ne 0 ]; then
    echo "FAIL: $failures of ${#cases[@]} names"
    exit 1
fi
echo "PASS: ${#cases[@]} names"
