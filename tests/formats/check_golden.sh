#!/usr/bin/env bash
# Compares the memory-image outputs of a small program with files written by hand, and reads
# the hand-written files, and the same memory in a free layout, back with decode.pl.
#
#   check_golden.sh VEXA_AS WORK_DIR NAME SOURCE
#
# golden/NAME.ihx, .mif and .coe are the whole expected files; golden/NAME.mem.head holds the
# program's words of the memory file, which then runs on with 0000 up to 32768 lines.
# golden/NAME_free.mif and .coe, where present, give the same memory in another layout.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
vexa_as=$1
work=$2
name=$3
source=$4
golden="$here/golden"

rm -rf "$work"
mkdir -p "$work"
"$vexa_as" -mem="$work/$name.mem" -ihx="$work/$name.ihx" -mif="$work/$name.mif" \
    -coe="$work/$name.coe" "$source"

status=0
for format in ihx mif coe; do
    if ! diff -u "$golden/$name.$format" "$work/$name.$format"; then
        echo "FAIL: $name.$format differs from the golden file"
        status=1
    fi
done
head_lines=$(wc -l < "$golden/$name.mem.head")
{
    cat "$golden/$name.mem.head"
    awk -v n=$((32768 - head_lines)) 'BEGIN { for (i = 0; i < n; i++) print "0000" }'
} > "$work/want.mem"
if ! cmp "$work/want.mem" "$work/$name.mem"; then
    echo "FAIL: $name.mem differs from the golden words and their zero fill"
    status=1
fi

# Every layout of the same memory reads back to the same words.
perl "$here/decode.pl" mem "$work/want.mem" | tail -n +2 > "$work/want.words"
for file in "$golden/$name".{mif,coe} "$golden/${name}_free".{mif,coe}; do
    [ -f "$file" ] || continue
    if ! perl "$here/decode.pl" "${file##*.}" "$file" | tail -n +2 | cmp -s - "$work/want.words"
    then
        echo "FAIL: ${file##*/} does not read back as the golden memory"
        status=1
    fi
done
[ $status -eq 0 ] && echo "PASS: $name matches its golden files"
exit $status
