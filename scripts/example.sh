#!/usr/bin/env bash
# Builds vexa-as and assembles the bundled example program into every output under out/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVEXA_TESTS=OFF >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target vexa-as
mkdir -p out
src=(examples/main.s examples/long32.s examples/tables.s)
./build/vexa-as -hex=out/main.hex -bin=out/main.bin -ram=out/main.ram -prg=out/main.prg \
    -vhd=out/main.vhd -vlg=out/main.v -mem=out/main.mem -ihx=out/main.ihx -mif=out/main.mif \
    -coe=out/main.coe -sym=out/main.sym -lst=out/main.lst "${src[@]}"
echo "assembled ${src[*]} into:"
ls -l out/main.*
echo
echo "start of the listing (out/main.lst):"
head -n 20 out/main.lst
