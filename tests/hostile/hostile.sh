#!/usr/bin/env bash
# Usage: hostile.sh <vexa-as> <case>
# Feeds vexa-as one kind of hostile input, made afresh in a temporary folder, and checks the exit
# status, every diagnostic, and which outputs remain. Every run also obeys the no-loss rule:
# after a failure no image output (hex, bin, ram, prg, vhd) that the run opened remains, files
# it could not open are untouched, and the listing is complete; after a success every output
# requested holds the whole image.
set -uo pipefail
vexa=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
case_name=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chattr -i "$work"/* 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

fail() { echo "FAIL [$case_name]: $*" >&2; failures=$((failures + 1)); }
check() { perl "$here/check.pl" "$@" || fail "check.pl $1"; }

# Runs vexa-as under the name "vexa-as", so diagnostics read the same wherever it was built.
run() {
    (exec -a vexa-as "$vexa" "$@") > stdout.txt 2> stderr.txt
    status=$?
    [ -s stdout.txt ] && fail "vexa-as wrote to standard output"
}
expect_status() { [ "$status" = "$1" ] || fail "exit status $status, want $1"; }
# The diagnostics, exactly and in order, one argument a line.
expect_stderr() {
    if [ $# = 0 ]; then : > want.txt; else printf 'vexa-as: %s\n' "$@" > want.txt; fi
    cmp -s want.txt stderr.txt || fail "stderr differs:$(diff want.txt stderr.txt | head -8 | cut -c1-200)"
}
gone() { for path; do [ -e "$path" ] || [ -L "$path" ] && fail "'$path' exists, and should not"; done; }
# check_listing LST SOURCE...: the listing holds every note of these sources and every
# diagnostic; the image it shows is left in listed.txt.
check_listing() {
    local listing=$1
    shift
    [ -f "$listing" ] || { fail "listing '$listing' missing"; return; }
    perl "$here/check.pl" notes "$@" > notes.txt
    check listing "$listing" stderr.txt notes.txt listed.txt
}
all_outputs=(-hex=o.hex -bin=o.bin -ram=o.ram -prg=o.prg -vhd=o.vhd -lst=o.lst)
image_outputs=(o.hex o.bin o.ram o.prg o.vhd)
check_all_outputs() { check outputs "$1" hex=o.hex bin=o.bin ram=o.ram prg=o.prg vhd=o.vhd; }
listed_image_is() {
    local want=${1// /}
    [ "$(cat listed.txt)" = "$want" ] || fail "listed image $(cut -c1-80 listed.txt), want ${want:0:80}"
}
repeat() { perl -e 'print $ARGV[0] x $ARGV[1]' "$1" "$2"; }

case $case_name in
random_bytes)
    # Bytes of every value, including NUL, carriage returns and 0x80..0xFF, after a good file.
    printf 'word 0x1234\n' > good.s
    perl -e 'srand(20261206); print map { chr int rand 256 } 1 .. 16384' > rand.s
    run "${all_outputs[@]}" good.s rand.s
    expect_status 1
    [ -s stderr.txt ] || fail "no diagnostics for random bytes"
    grep -qav '^vexa-as: ' stderr.txt && fail "a diagnostic without the program name"
    gone "${image_outputs[@]}"
    check_listing o.lst good.s rand.s
    [ "$(cut -c1-4 listed.txt)" = 1234 ] || fail "the good file's word is lost"
    ;;
nul_bytes)
    # A line's text ends at its first NUL byte; what follows on that line is never read.
    printf 'nop\0junk junk\naddi r1, r2, 5\0\n\0this is no statement\nword 0x1234 \0 ;\n\0\0\0\n' > nul.s
    run "${all_outputs[@]}" nul.s
    expect_status 0
    expect_stderr
    echo '0000 6125 1234' > want.img
    check_all_outputs want.img
    check_listing o.lst nul.s
    printf 'nop\naddi r1, r2\0, 5\n' > cut.s
    run -hex=o.hex -lst=o.lst cut.s
    expect_status 1
    expect_stderr 'cut.s(2): syntax error'
    gone o.hex
    check_listing o.lst cut.s
    ;;
long_line)
    # One line of 1 MiB is read as 2053 lines of at most 511 bytes; every message, diagnostic
    # and note is cut to 511 characters.
    perl -e 'print "n" x 1048576, "\n"' > long.s
    run -hex=o.hex -lst=o.lst long.s
    expect_status 1
    perl -e 'for $i (1 .. 2053) { $p = $i < 2053 ? "n" x 511 : "nnnn";
             print "vexa-as: ", substr("long.s($i): syntax error: $p", 0, 511), "\n" }' > want.txt
    cmp -s want.txt stderr.txt || fail "stderr of the long line differs"
    gone o.hex
    check_listing o.lst long.s
    # A line of exactly two pieces leaves its newline to a third, empty, line.
    { repeat x 1022; printf '\nnop\n'; } > exact.s
    run -hex=o.hex -lst=o.lst exact.s
    expect_status 1
    x497=$(repeat x 497)
    expect_stderr "exact.s(1): syntax error: ${x497:0:485}" "exact.s(2): syntax error: ${x497:0:485}"
    check_listing o.lst exact.s
    listed_image_is 0000
    ;;
many_lines)
    # 200000 lines: the note table keeps the first 50000 notes (the file and lines 1..49999),
    # the image is whole, and the words past the last note have empty source columns.
    awk 'BEGIN { for (i = 0; i < 200000; i++)
                     if (i % 8 == 0) printf "word 0x%04X\n", (i / 8 * 7919) % 65536
                     else printf "; c %d\n", i + 1 }' > many.s
    awk 'BEGIN { for (k = 0; k < 25000; k++) printf "%04X", (k * 7919) % 65536 }' > want.img
    run "${all_outputs[@]}" many.s
    expect_status 0
    expect_stderr
    check_all_outputs want.img
    perl "$here/check.pl" notes many.s | head -n 50000 > notes.txt
    check listing o.lst stderr.txt notes.txt listed.txt
    [ "$(cat listed.txt)" = "$(cat want.img)" ] || fail "listing image differs"
    awk -F'\t' 'NF >= 4 && /^[0-9A-F][0-9A-F][0-9A-F][0-9A-F]\t/ {
                    a = 0; for (i = 1; i <= 4; i++) a = a * 16 + index("0123456789ABCDEF", substr($1, i, 1)) - 1
                    if (a < 12500) want = "word 0x" $2; else if (a == 12500) want = "; c 49999"; else want = ""
                    if ($4 != want) { print "word at " $1 " carries \"" $4 "\", want \"" want "\""; bad = 1; exit }
                }
                END { exit bad }' o.lst || fail "source column of the listing"
    # A diagnostic once the note table is full is printed and counted, but has no note.
    { cat many.s; echo bogus; } > late.s
    run "${all_outputs[@]}" late.s
    expect_status 1
    expect_stderr 'late.s(200001): syntax error: bogus'
    gone "${image_outputs[@]}"
    grep -q '# error' o.lst && fail "an error note beyond the note table's end"
    [ "$(grep -c '^[0-9A-F]\{4\}'$'\t' o.lst)" = 25000 ] || fail "word lines missing"
    ;;
dir_source)
    # A directory opens but cannot be read: one read error, and the files around it assemble.
    mkdir dir
    printf 'nop\n' > one.s
    printf 'word 0x2222\n' > two.s
    run -hex=o.hex -bin=o.bin -lst=o.lst one.s dir two.s
    expect_status 1
    expect_stderr "dir: error reading 'dir' (Is a directory)"
    gone o.hex o.bin
    [ -d dir ] || fail "the directory source is gone"
    check_listing o.lst one.s dir two.s
    listed_image_is '0000 2222'
    ;;
missing_between)
    # A missing file still uses up a file number: the second file's loop is its own.
    printf 'global g\nloop: nop\n ba loop\n' > one.s
    printf 'loop: word g\n ba loop\ng: nop\n' > two.s
    run "${all_outputs[@]}" one.s two.s
    expect_status 0
    expect_stderr
    echo '0000 9FFE 0008 9FFE 0000' > want.img
    check_all_outputs want.img
    # The outputs of the run before are truncated by this run, so they go with it.
    run "${all_outputs[@]}" one.s missing.s two.s
    expect_status 1
    expect_stderr "missing.s: cannot open 'missing.s' (No such file or directory)"
    gone "${image_outputs[@]}"
    check_listing o.lst one.s missing.s two.s
    listed_image_is "$(cat want.img)"
    ;;
many_symbols)
    # Exactly 10000 symbols fit; the 10001st is reported once and its statement emits nothing.
    awk 'BEGIN { for (i = 1; i <= 12000; i++) printf "sym%d: word %d\n", i, i }' > syms.s
    head -n 10000 syms.s > fits.s
    awk 'BEGIN { for (i = 1; i <= 10000; i++) printf "%04X", i }' > want.img
    run "${all_outputs[@]}" fits.s
    expect_status 0
    expect_stderr
    check_all_outputs want.img
    run "${all_outputs[@]}" syms.s
    expect_status 1
    expect_stderr 'syms.s(10001): symbol table is full'
    gone "${image_outputs[@]}"
    check_listing o.lst syms.s
    [ "$(cut -c1-40000 listed.txt)" = "$(cat want.img)" ] || fail "the first 10000 words differ"
    [ "$(cut -c40001-40004 listed.txt)" = 2711 ] && fail "line 10001 emitted its word"
    ;;
full_table_operands)
    # With the table full, every statement that needs a new symbol as an operand emits
    # nothing and records no fixup; the message comes once, at the first of them.
    awk 'BEGIN { for (i = 1; i <= 10000; i++) printf "s%d:\n", i }' > full.s
    printf '%s\n' 'ba t1' 'lw r1, t2(r2)' 'lea r1, t3+4' 'word t4' 'll r2, t5(r6)' \
        'global t6' 't7: nop' 'word s1' 'nop' >> full.s
    run "${all_outputs[@]}" full.s
    expect_status 1
    expect_stderr 'full.s(10001): symbol table is full'
    gone "${image_outputs[@]}"
    check_listing o.lst full.s
    # Only the known-symbol word and the last nop remain: s1 is at address 0.
    listed_image_is '0000 0000'
    ;;
many_fixups)
    # 12000 references: the 10001st fixup is lost and reported once, its placeholder stays.
    awk 'BEGIN { for (i = 0; i < 10000; i++) print "word t+1"; print "t:" }' > fits.s
    awk 'BEGIN { for (i = 0; i < 10000; i++) printf "4E21" }' > want.img
    run "${all_outputs[@]}" fits.s
    expect_status 0
    expect_stderr
    check_all_outputs want.img
    awk 'BEGIN { for (i = 0; i < 12000; i++) print "word t+1"; print "t:" }' > refs.s
    run "${all_outputs[@]}" refs.s
    expect_status 1
    expect_stderr 'refs.s(10001): fixup table is full'
    gone "${image_outputs[@]}"
    check_listing o.lst refs.s
    listed_image_is "$(repeat 5DC1 10000)$(repeat 0001 2000)"
    ;;
big_program)
    # 32768 nops fill the image exactly; one more is reported once, and the fixups made at
    # the full image are skipped without a message.
    awk 'BEGIN { for (i = 0; i < 32768; i++) print "nop" }' > fits.s
    repeat 0000 32768 > want.img
    run "${all_outputs[@]}" fits.s
    expect_status 0
    expect_stderr
    check_all_outputs want.img
    { awk 'BEGIN { for (i = 0; i < 40000; i++) print "nop" }'
      printf 'word x\nbeq x\nlw r1, x(r2)\nx: nop\n'; } > big.s
    run "${all_outputs[@]}" big.s
    expect_status 1
    expect_stderr 'big.s(32769): code image is full'
    gone "${image_outputs[@]}"
    check_listing o.lst big.s
    listed_image_is "$(cat want.img)"
    ;;
image_edges)
    # The last byte and word of the image, and alignments that run into its end.
    printf 'bss 65534\nword 0x1234\n' > top.s
    { repeat 00 65534; echo 1234; } > want.img
    run "${all_outputs[@]}" top.s
    expect_status 0
    expect_stderr
    check_all_outputs want.img
    printf 'bss 65535\nword 1\nword 2\n' > over.s
    run "${all_outputs[@]}" over.s
    expect_status 1
    expect_stderr 'over.s(2): code image is full'
    gone "${image_outputs[@]}"
    check_listing o.lst over.s
    printf 'nop\nalign 131072\nnop\n' > align.s
    run "${all_outputs[@]}" align.s
    expect_status 1
    expect_stderr 'align.s(2): code image is full'
    gone "${image_outputs[@]}"
    check_listing o.lst align.s
    listed_image_is "$(repeat 0000 32768)"
    printf 'align 0\nalign -4\nalign 65536\nbyte 7\nalign 65536\n' > zero.s
    run "${all_outputs[@]}" zero.s
    expect_status 1
    expect_stderr 'zero.s(1): alignment 0 is not a power of 2' \
        'zero.s(2): alignment -4 is not a power of 2'
    gone "${image_outputs[@]}"
    check_listing o.lst zero.s
    listed_image_is "07$(repeat 00 65535)"
    ;;
odd_numbers)
    # Hex literals keep their low 32 bits, decimals stop at 2147483647, fields keep their
    # own low bits, each with a warning; a final byte leaves an odd program size.
    hex100=0x$(repeat 1 96)ABCD
    dec40=1234567890123456789012345678901234567890
    { echo "word $hex100"; echo "word 0x$(repeat 0 100)5"; echo "word $dec40"
      echo "word 0-$dec40"; echo "addi r1, r2, $dec40"; echo "addi r1, r2, $hex100"
      echo "imm 0x$(repeat F 100)"; echo "word 0x"; echo "byte $dec40"; } > num.s
    echo 'ABCD 0005 FFFF 0001 FFFF 612F FABC 612D FFFF 0000 FF' > want.img
    run "${all_outputs[@]}" num.s
    expect_status 0
    expect_stderr "num.s(1): warning: value 286370765 does not fit in 16 bits" \
        "num.s(3): warning: value 2147483647 does not fit in 16 bits" \
        "num.s(4): warning: value -2147483647 does not fit in 16 bits" \
        "num.s(5): warning: value 2147483647 does not fit in 16 bits" \
        "num.s(6): warning: value 286370765 does not fit in 16 bits" \
        "num.s(9): warning: value 2147483647 does not fit in 8 bits"
    check_all_outputs want.img
    check_listing o.lst num.s
    ;;
option_args)
    # Paths with blanks and bytes above 0x7F are used exactly as given.
    mkdir 'out dir'
    src=$'s p\xc3\xa9.s'
    missing=$'missing \xff.s'
    hex=$'out dir/r\xe9 sult.hex'
    lst=$'out dir/l\xff st.lst'
    prg='out dir/p r g'
    printf 'word 0xBEEF\n' > "$src"
    run "-hex=$hex" "-lst=$lst" "-prg=$prg" "$src"
    expect_status 0
    expect_stderr
    echo BEEF > want.img
    check outputs want.img "hex=$hex" "prg=$prg"
    check_listing "$lst" "$src"
    run "-hex=$hex" "-lst=$lst" "-prg=$prg" "$src" "$missing"
    expect_status 1
    expect_stderr "$missing: cannot open '$missing' (No such file or directory)"
    gone "$hex" "$prg"
    check_listing "$lst" "$src" "$missing"
    # An unknown option ends the run before anything is written.
    run -hex=u.hex "$src" $'-\xe9'
    expect_status 1
    printf 'Usage: vexa-as [-ram=<file>.ram] [-hex=<file>.hex] [-bin=<file>.bin] [-prg=<file>.prg] [-vhd=<file>.vhd] [-lst=<file>.lst] source* \n' > want.txt
    cmp -s want.txt stderr.txt || fail "usage text differs: $(cat stderr.txt)"
    gone u.hex
    # Of an option given twice only the second path is written.
    run -hex=first.hex -hex=second.hex "$src"
    expect_status 0
    gone first.hex
    check outputs want.img hex=second.hex
    ;;
dev_outputs)
    # Devices are written but never removed, even when the run fails.
    ln -s /dev/full full.hex
    ln -s /dev/full full.lst
    printf 'nop\nword 0x1234\n' > ok.s
    run -hex=full.hex -bin=/dev/null -prg=o.prg -lst=o.lst ok.s
    expect_status 1
    expect_stderr "error writing 'full.hex' (No space left on device)"
    gone o.prg
    check_listing o.lst ok.s
    run -hex=o.hex -vhd=/dev/null -lst=full.lst ok.s
    expect_status 1
    expect_stderr "error writing 'full.lst' (No space left on device)"
    gone o.hex
    [ "$(readlink full.hex)" = /dev/full ] && [ "$(readlink full.lst)" = /dev/full ] \
        || fail "a link to /dev/full is gone"
    for device in 'null 3' 'full 7'; do
        set -- $device
        if [ ! -c "/dev/$1" ]; then
            fail "/dev/$1 was removed"
            rm -f "/dev/$1" && mknod -m 666 "/dev/$1" c 1 "$2"
        fi
    done
    ;;
output_dir)
    # A directory as an output cannot be opened; it and a locked file stay as they were.
    mkdir outdir
    printf 'keep me\n' > locked.hex
    if [ "$(id -u)" = 0 ]; then
        chattr +i locked.hex 2>/dev/null && locked='Operation not permitted'
    else
        chmod 444 locked.hex && locked='Permission denied'
    fi
    printf 'nop\n' > ok.s
    run -hex=outdir -bin=o.bin -ram=o.ram -lst=o.lst ok.s
    expect_status 1
    expect_stderr "cannot open 'outdir' (Is a directory)"
    [ -d outdir ] || fail "the output directory is gone"
    gone o.bin o.ram
    check_listing o.lst ok.s
    if [ -n "${locked:-}" ]; then
        run -hex=locked.hex -prg=o.prg -lst=o.lst ok.s
        expect_status 1
        expect_stderr "cannot open 'locked.hex' ($locked)"
        [ "$(cat locked.hex)" = 'keep me' ] || fail "the locked output was changed"
        gone o.prg
        check_listing o.lst ok.s
    fi
    ;;
output_is_source)
    # A source is never overwritten, by its own name, a symbolic link or a hard link.
    printf 'nop\nword 0x4242\n' > src.s
    cp src.s src.copy
    ln src.s hard.s
    ln -s src.s soft.s
    run -hex=src.s -bin=o.bin -prg=soft.s -vhd=hard.s -lst=o.lst src.s
    expect_status 1
    expect_stderr "output 'src.s' would overwrite a source file" \
        "output 'soft.s' would overwrite a source file" "output 'hard.s' would overwrite a source file"
    cmp -s src.s src.copy || fail "the source was changed"
    [ -L soft.s ] && [ -f hard.s ] || fail "a link to the source is gone"
    gone o.bin
    check_listing o.lst src.s
    run -hex=o.hex -lst=src.s src.s
    expect_status 1
    expect_stderr "output 'src.s' would overwrite a source file"
    cmp -s src.s src.copy || fail "the listing overwrote the source"
    gone o.hex
    # An output named like a source is refused even when no such source could be read.
    run -hex=absent.s absent.s
    expect_status 1
    expect_stderr "absent.s: cannot open 'absent.s' (No such file or directory)" \
        "output 'absent.s' would overwrite a source file"
    gone absent.s
    ;;
output_is_listing)
    # An image output naming the listing's file, by the same path or through a hard link, is
    # refused before anything is read, and nothing is written or removed.
    printf 'nop\nbogus\n' > bad.s
    run -hex=same.out -lst=same.out bad.s
    expect_status 1
    expect_stderr "options '-hex=same.out' and '-lst=same.out' name the same file"
    gone same.out
    printf 'old\n' > o.lst
    ln o.lst linked.hex
    run -hex=linked.hex -bin=o.bin -lst=o.lst bad.s
    expect_status 1
    expect_stderr "options '-hex=linked.hex' and '-lst=o.lst' name the same file"
    gone o.bin
    [ "$(cat o.lst)" = old ] && [ o.lst -ef linked.hex ] || fail "the listing or its other name changed"
    ;;
*)
    fail "no such case"
    ;;
esac
[ "$failures" = 0 ] || exit 1
echo "ok [$case_name]"
