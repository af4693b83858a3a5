#!/usr/bin/env bash
# The informational arguments of vexa-as, and the usage text that every other unknown
# argument still gives.
#
#   help_version.sh VEXA_AS VERSION
#
# --help, -h and --version answer on standard output with status 0, but only as the sole
# argument; anywhere else, and for any near miss, the run ends with the usage text on
# standard error, status 1 and nothing written.
set -uo pipefail
bin=$(realpath "$1")
version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-tooling.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# Runs the program under the name users type, since every message starts with it.
run() { bash -c 'exec -a vexa-as "$0" "$@"' "$bin" "$@" >out 2>err; }

printf 'start:  nop\n' > a.s
usage='Usage: vexa-as [-ram=<file>.ram] [-hex=<file>.hex] [-bin=<file>.bin] [-prg=<file>.prg] '
usage+='[-vhd=<file>.vhd] [-lst=<file>.lst] source* '
options=(-hex= -bin= -ram= -prg= -vhd= -vlg= -mem= -ihx= -mif= -coe= -sym= -lst= -depth= -name=)

# --version: the program's name and the project's version, nothing else.
run --version
status=$?
[ "$status" -eq 0 ] || fail "--version: status $status"
[ "$(cat out)" = "vexa-as $version" ] || fail "--version printed '$(cat out)'"
[ -s err ] && fail "--version wrote to standard error: $(cat err)"

# --help and -h: the same text, a line for each output option and a pointer to the manual.
run --help
status=$?
cp out help.txt
[ "$status" -eq 0 ] || fail "--help: status $status"
[ -s err ] && fail "--help wrote to standard error: $(cat err)"
grep -q '^Usage: vexa-as ' help.txt || fail "--help has no usage line"
for option in "${options[@]}"; do
    [ "$(grep -c -- "^ *$option" help.txt)" -eq 1 ] \
        || fail "--help does not give $option a line of its own"
done
grep -Eq 'man vexa-as|vexa-as\(1\)' help.txt || fail "--help does not say where the manual is"
run -h
status=$?
[ "$status" -eq 0 ] || fail "-h: status $status"
[ -s err ] && fail "-h wrote to standard error: $(cat err)"
cmp -s out help.txt || fail "-h and --help print different texts"

# Anything else is the usage text, exactly as before, and nothing is written. A source before
# the bad argument is assembled, but no output follows.
cases=(
    "--help a.s"
    "a.s --help"
    "-h -h"
    "--version --help"
    "-hex=a.hex a.s --version"
    "--helpx"
    "-help"
    "--HELP"
    "-H"
    "--version=1"
    "-v"
    "-V"
    "--"
    "-"
    "-sym="
    "-xyz=a.hex a.s"
    "-hex=a.hex -depth=0 a.s"
    "-hex=a.hex a.s -depth=32769"
    "-hex=a.hex -depth= a.s"
    "-hex=a.hex -depth=1k a.s"
)
for line in "${cases[@]}"; do
    read -ra argv <<< "$line"
    rm -f a.hex
    run "${argv[@]}"
    status=$?
    [ "$status" -eq 1 ] || fail "'$line': status $status, want 1"
    [ "$(cat err)" = "$usage" ] || fail "'$line': standard error is '$(cat err)'"
    [ -s out ] && fail "'$line': standard output is '$(cat out)'"
    [ -e a.hex ] && fail "'$line': wrote a.hex"
done
run
[ "$(cat err)" = "$usage" ] || fail "no argument: standard error is '$(cat err)'"

[ $failed -eq 0 ] && echo "ok: --help, -h, --version and ${#cases[@]} unknown arguments"
exit $failed
