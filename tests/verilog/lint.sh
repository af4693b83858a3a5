#!/usr/bin/env bash
# Verilator with every warning on must accept the Verilog ROM without a word: the example
# programs, an empty program, a file whose name the module cannot take (so the module is
# called prom and differs from the file name), and a module named apart from its file.
#
#   lint.sh VEXA_AS WORK_DIR
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common.sh"
need_tool verilator
vexa_as=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
top=$(cd "$here/../.." && pwd)
examples=$top/examples
programs=$top/tests/cosim/programs

# Output file, then the sources.
cases=(
    "main.v      $examples/main.s $examples/long32.s $examples/tables.s"
    "hexdigit.v  $examples/hexdigit.s"
    "empty.v     $programs/empty.s"
    "2nd.rom.v   $programs/few.s"
    "top.v       -name=boot_rom $programs/few.s"
)

failures=0
for row in "${cases[@]}"; do
    read -r file sources <<< "$row"
    # shellcheck disable=SC2086  # the sources are split on purpose
    "$vexa_as" -vlg="$work/$file" $sources
    if verilator --lint-only -Wall "$work/$file" > "$work/lint.log" 2>&1 \
            && [ ! -s "$work/lint.log" ]; then
        echo "ok: $file"
    else
        echo "FAIL: verilator --lint-only -Wall $file:"
        cat "$work/lint.log"
        failures=$((failures + 1))
    fi
done
if [ "$failures" -ne 0 ]; then
    echo "FAIL: $failures of ${#cases[@]} modules drew warnings"
    exit 1
fi
echo "PASS: ${#cases[@]} modules lint clean"
