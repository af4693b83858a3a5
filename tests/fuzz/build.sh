#!/usr/bin/env bash
# Builds the fuzz target into build-fuzz/: the assembler's sources with coverage instrumentation,
# AddressSanitizer and UndefinedBehaviorSanitizer, linked with libFuzzer. Objects are rebuilt
# only when their source or the shared header is newer.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build-fuzz
cxx=${FUZZ_CXX:-clang++-14}
mkdir -p "$out/obj"
common=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fno-sanitize-recover=all
        -Wall -Wextra -Wpedantic -I"$root/src/asm")
header=$root/src/asm/asm.h
driver=$root/src/main.cpp
objects=()
for source in "$root"/src/asm/*.cpp "$root"/tests/fuzz/fuzz_asm.cpp "$root"/tests/fuzz/driver.cpp; do
    object=$out/obj/$(basename "$source" .cpp).o
    objects+=("$object")
    if [ ! -f "$object" ] || [ "$source" -nt "$object" ] || [ "$header" -nt "$object" ] \
        || { [ "$source" != "${source%driver.cpp}" ] && [ "$driver" -nt "$object" ]; }; then
        "$cxx" "${common[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$source" -o "$object"
    fi
done
binary=$out/fuzz_asm
stale=0
[ -f "$binary" ] || stale=1
for object in "${objects[@]}"; do
    [ "$object" -nt "$binary" ] && stale=1
done
# A source file that went away must not linger as an object.
for object in "$out"/obj/*.o; do
    name=$(basename "$object" .o)
    [ -f "$root/src/asm/$name.cpp" ] || [ "$name" = fuzz_asm ] || [ "$name" = driver ] || rm -f "$object"
done
if [ "$stale" = 1 ]; then
    "$cxx" "${common[@]}" -fsanitize=fuzzer,address,undefined "${objects[@]}" -o "$binary"
fi
