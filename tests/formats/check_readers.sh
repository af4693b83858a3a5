#!/usr/bin/env bash
# The readers of decode.pl must refuse what a memory compiler or programmer would refuse,
# or a faulty writer could pass the read-back tests. Each case edits a golden file with one
# sed expression and names the message the reader must give.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-readers.XXXXXX")
trap 'rm -rf "$work"' EXIT

# format | sed expression on golden/odd3.<format> | expected message
cases=(
    'mif|s/\[0003..7FFF\]/[0002..7FFF]/|address 2 given twice'
    'mif|s/\[0003..7FFF\]/[0004..7FFF]/|1 words without a value, the first 3'
    'mif|s/\[0003..7FFF\]/[0003..8000]/|address 32768 beyond DEPTH'
    'mif|s/\[0003..7FFF\]/[7FFF..0003]/|runs backwards'
    'mif|s/^END;$/END/|the file ends too early'
    'mif|s/F006/1F006/|does not fit 16 bits'
    'mif|s/WIDTH=16/WIDTH=8/|WIDTH is 8, not 16'
    'mif|s/^\t0001  :   6204;$/-- &/|1 words without a value, the first 1'
    'coe|s/7A00;/7A00,/|a statement without its'
    'coe|s/F006,/F0061,/|value F0061 does not fit 16 bits'
    'coe|s/radix=16/radix=8/|radix 8'
    'coe|/radix/d|the vector before the radix'
    'ihx|s/25$/26/|checksum'
    'ihx|/:00000001FF/d|no end record'
    'ihx|s/^:05/:06/|record length'
    'ihx|s/^:05000000F00662047A25/:05000200F00662047A23/|a gap in the data'
)

failed=0
for entry in "${cases[@]}"; do
    IFS='|' read -r format edit message <<< "$entry"
    sed "$edit" "$here/golden/odd3.$format" > "$work/case.$format"
    if perl "$here/decode.pl" "$format" "$work/case.$format" > /dev/null 2> "$work/error"; then
        echo "FAIL: $format with '$edit' was accepted"
        failed=1
    elif ! grep -qF -- "$message" "$work/error"; then
        echo "FAIL: $format with '$edit' gave: $(cat "$work/error"), want: $message"
        failed=1
    fi
done
[ $failed -eq 0 ] && echo "PASS: ${#cases[@]} malformed files refused"
exit $failed
