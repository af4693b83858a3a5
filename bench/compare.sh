#!/usr/bin/env bash
# Runs two vexa-as binaries on the benchmark's programs and on every assembly source in
# the repository, asking each for all twelve outputs, and reports every output, error
# stream or exit status that differs. Both run under the name vexa-as, which their
# messages show. The listing's date is fixed with SOURCE_DATE_EPOCH.
#
#   bench/compare.sh OLD NEW      exits 0 when everything is the same, 1 otherwise
#
# BENCH_WORK names the scratch directory (default /tmp/vexa-compare).
set -uo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 2 ] && [ -x "$1" ] && [ -x "$2" ] || { echo "usage: $0 OLD NEW (two programs)"; exit 2; }
old=$(realpath "$1") new=$(realpath "$2")
work=${BENCH_WORK:-/tmp/vexa-compare}
rm -rf "$work" && mkdir -p "$work/src" || exit 2
python3 bench/gen.py "$work/src" >/dev/null || exit 2
export SOURCE_DATE_EPOCH=1796601600

# One job per line: the sources of one run, separated by blanks.
jobs=$work/jobs
{
    for f in "$work"/src/*.s; do
        case $f in *_avr.s) ;; *) echo "$f" ;; esac
    done
    # By absolute path: each run starts in a directory of its own.
    find "$PWD/tests" "$PWD/examples" -name '*.s' | sort
    for d in "$PWD"/tests/asm/multi/*/; do
        echo $(ls "$d"*.s 2>/dev/null | sort)
    done
    ls "$work"/src/multi/*.s 2>/dev/null | sort | tr '\n' ' ' && echo
} | grep -v '^ *$' >"$jobs"

differ=0
count=0
while read -r -a sources; do
    count=$((count + 1))
    for side in old new; do
        dir=$work/$side/$count
        mkdir -p "$dir"
        args=()
        for o in hex bin ram prg vhd vlg mem ihx mif coe sym lst; do args+=("-$o=$dir/out.$o"); done
        (cd "$dir" && exec -a vexa-as "${!side}" "${sources[@]}" "${args[@]}" >stdout 2>stderr)
        echo $? >"$dir/status"
    done
    if ! diff -r -q "$work/old/$count" "$work/new/$count" >/dev/null; then
        echo "DIFFER: ${sources[*]}"
        diff -r -q "$work/old/$count" "$work/new/$count" | head -5
        differ=1
    fi
    rm -rf "$work/old/$count" "$work/new/$count"
done <"$jobs"
echo "compared $count runs of twelve outputs: $([ $differ -eq 0 ] && echo all the same || echo some differ)"
exit $differ
