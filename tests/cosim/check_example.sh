#!/usr/bin/env bash
# Assembles one example program and compares its hex, prg and listing outputs with the
# golden files in examples/golden. Run from the top of the source tree, so that the file
# names in the listing read as they do in the golden listing.
#
#   check_example.sh VEXA_AS WORK_DIR NAME SOURCE...
#
# The listing's first line carries the date of the run; it is masked on both sides. With
# UPDATE=1 in the environment the golden files are rewritten instead (check them by hand).
set -euo pipefail

vexa_as=$1
work=$2
name=$3
shift 3
golden=examples/golden

rm -rf "$work"
mkdir -p "$work"
if ! "$vexa_as" -hex="$work/$name.hex" -prg="$work/$name.prg" -lst="$work/$name.lst" "$@" \
        2> "$work/stderr"; then
    cat "$work/stderr"
    echo "FAIL: $name does not assemble cleanly"
    exit 1
fi
if [ -s "$work/stderr" ]; then
    cat "$work/stderr"
    echo "FAIL: $name printed diagnostics"
    exit 1
fi

mask_date() { sed '1s/ on .*/ on <date>/' "$1"; }
mask_date "$work/$name.lst" > "$work/$name.lst.masked"

if [ "${UPDATE:-0}" = 1 ]; then
    cp "$work/$name.hex" "$golden/$name.hex"
    cp "$work/$name.prg" "$golden/$name.prg"
    cp "$work/$name.lst.masked" "$golden/$name.lst"
    echo "updated $golden/$name.{hex,prg,lst}"
    exit 0
fi

status=0
for kind in hex prg lst; do
    actual="$work/$name.$kind"
    [ "$kind" = lst ] && actual="$work/$name.lst.masked"
    if ! diff -u "$golden/$name.$kind" "$actual"; then
        echo "FAIL: $name.$kind differs from $golden/$name.$kind"
        status=1
    fi
done
[ "$status" = 0 ] && echo "PASS: $name.hex, $name.prg and $name.lst match $golden"
exit "$status"
