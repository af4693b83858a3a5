#!/usr/bin/env bash
# smoke.sh [SECONDS] [libFuzzer options]: fuzzes the assembler (60 s by default) built into
# build-fuzz/ with libFuzzer and the sanitizers, from the golden cases and the examples; fails
# on any crash, leak, hang or broken invariant, with the inputs in build-fuzz/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd) out=$root/build-fuzz
seconds=${1:-${FUZZ_SMOKE_SECONDS:-60}}
shift $(($# > 0))
mkdir -p "$out/corpus" "$out/artifacts"
"${FUZZ_CXX:-clang++-14}" -std=c++20 -g -O1 -fno-omit-frame-pointer -fno-sanitize-recover=all \
    -fsanitize=fuzzer,address,undefined -Wall -Wextra -Wpedantic -I"$root/src/asm" \
    "$root"/src/asm/*.cpp "$root"/tests/fuzz/*.cpp -o "$out/fuzz_asm"
cp "$root"/tests/asm/*.s "$root"/examples/*.s "$out/corpus/"
# The dictionary, one entry a line: the reserved words (some in upper case or mistyped, as
# the notes explain) and dot directives, a few edge numbers, the punctuation of operands,
# quoted text and its escapes, the operators of expressions, and an include of each source.
printf '"%s "\n' nop wait break srli srai slli subi addi and xor ror rcr or andn subr cmp add sub \
    addc subc rol rcl call ret reti ljltu ljgeu ljeq ljne ljlt ljge ljvs ljvc ljle ljgt ljgtu \
    ljleu ljneg ljpos ljn lja bltu bgeu beq bne blt bge bvs bvc ble bgt bgtu bleu bneg bpos bn \
    ba lw sw lb sb lu imm mov cmpi lea sext zext addl subl andl orl xorl andnl movl cmpl ll sl \
    global align byte word bss r{0..15} sp 0x 0xFFFF 65536 2147483647 ADDI Lw addd r16 .equ \
    .byte .word .ascii .asciz .include .org > "$out/vexa.dict"
printf '"%s"\n' - + , : '(' ')' ';' '\x0a' '\x00\x00' '\x0d\x0a' >> "$out/vexa.dict"
printf '%s\n' '"'"'"'"' '"\""' '"\\"' '"\\x"' '"\\0"' '"<<"' '">>"' '"*"' '"/"' '"%"' '"&"' \
    '"|"' '"^"' '"~"' '".include \"a.s\""' '".include \"b.s\""' >> "$out/vexa.dict"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vexa-fuzz.XXXXXX") && trap 'rm -rf "$scratch"' EXIT && cd "$scratch"
"$out/fuzz_asm" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -close_fd_mask=2 \
    -dict="$out/vexa.dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 "$@" \
    "$out/corpus"
