#!/usr/bin/env bash
# Benchmarks vexa-as as whole processes on generated programs, beside avr-as on
# the same-shaped program, the I/O floor of the same job (iofloor.c) and wc -l.
# Prints the machine, a table, and the four goals with their figures and
# commands as PASS/FAIL; exits 0 whatever the figures say.
#
#   bench/run.sh [runs]      runs per command (default 20), after 3 warm-up runs
#
# BENCH_WORK names the scratch directory (default /tmp/vexa-bench); VEXA_AS names
# the assembler to time (default build/vexa-as, built in Release when absent).
# The commands run interleaved, round after round; BENCH_TIMER=hyperfine times them
# instead in one hyperfine run, each command's runs in one block.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
work=${BENCH_WORK:-/tmp/vexa-bench}

timer=${BENCH_TIMER:-interleaved}
missing=()
[ "$timer" = hyperfine ] && ! command -v hyperfine >/dev/null && missing+=(hyperfine)
command -v avr-as >/dev/null || missing+=(binutils-avr)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update && apt-get install -y "${missing[@]}" || { echo "cannot install ${missing[*]}"; exit 0; }
fi

vexa=${VEXA_AS:-build/vexa-as}
if [ -z "${VEXA_AS:-}" ] && [ ! -x build/vexa-as ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build build -j2 --target vexa-as || { echo "cannot build vexa-as"; exit 0; }
fi
[ -x "$vexa" ] || { echo "no assembler at $vexa"; exit 0; }
mkdir -p "$work"
cc -O2 -o "$work/iofloor" bench/iofloor.c || { echo "cannot build the I/O floor"; exit 0; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')," \
     "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "          $(uname -sr), $(. /etc/os-release && echo "$PRETTY_NAME"), $(cc --version | head -1)"
cache="$(dirname "$vexa")/CMakeCache.txt"
build_type=$(grep -s CMAKE_BUILD_TYPE:STRING "$cache" | cut -d= -f2)
echo "vexa-as: $vexa, tree at $(git rev-parse --short HEAD) (${build_type:-build type unknown})," \
     "$(avr-as --version | head -1), timer: $timer$([ "$timer" = hyperfine ] && echo " ($(hyperfine --version))")"
rm -rf "$work/src" "$work/out"
python3 bench/gen.py "$work/src" || exit 0
fs=$(df -T "$work" | awk 'NR == 2 {print $2}')
echo "command: BENCH_TIMER=$timer bench/run.sh $runs; outputs and scratch in $work ($fs)"
python3 bench/report.py --vexa "$vexa" --floor "$work/iofloor" --work "$work" --runs "$runs" --timer "$timer"
exit 0
