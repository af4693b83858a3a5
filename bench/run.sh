#!/usr/bin/env bash
# Benchmarks vexa-as as whole processes on generated programs, beside avr-as on
# the same-shaped program and the wc -l floor. Prints a table, ratios and the
# goals as PASS/FAIL; exits 0 whatever the figures say.
#
#   bench/run.sh [runs]      runs per command (default 20), after 3 warm-up runs
#
# BENCH_WORK names the scratch directory (default /tmp/vexa-bench).
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
work=${BENCH_WORK:-/tmp/vexa-bench}

missing=()
command -v hyperfine >/dev/null || missing+=(hyperfine)
command -v avr-as >/dev/null || missing+=(binutils-avr)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update && apt-get install -y "${missing[@]}" || { echo "cannot install ${missing[*]}"; exit 0; }
fi

if [ ! -x build/vexa-as ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build build -j2 --target vexa-as || { echo "cannot build vexa-as"; exit 0; }
fi

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')," \
     "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "vexa-as: build/vexa-as at $(git rev-parse --short HEAD) ($(grep -s CMAKE_BUILD_TYPE:STRING build/CMakeCache.txt | cut -d= -f2))," \
     "$(avr-as --version | head -1), $(hyperfine --version)"
rm -rf "$work/src" "$work/out"
python3 bench/gen.py "$work/src" || exit 0
python3 bench/report.py --vexa build/vexa-as --work "$work" --runs "$runs"
exit 0
