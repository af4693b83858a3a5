#!/usr/bin/env bash
# Runs one case of a command-line case table:  run.sh VEXA CASEFILE NAME
#
# A table holds cases of one directive a line (blank lines and # comments aside):
#   case NAME       starts a case; each runs in a fresh empty scratch directory
#   need CMD        the case is skipped (status 77) when CMD fails
#   sh CMD          set-up before the run, in order; must succeed
#   run WORDS       the command line after the program name, eval'd by bash; the program
#                   runs as "vexa-as", first on PATH
#   status N        the run's exit status (of the first command of a pipeline); 0 if absent
#   err TEXT        one line of standard error, exact; all of them make up the whole of it
#   errfile FILE    standard error equals FILE, made by an sh line
#   check CMD       after the run; must succeed
# need, sh and check lines run in this shell, in the scratch directory, so that variables,
# exports and limits (ulimit) set by one reach the lines after it.
if [ $# -ne 3 ]; then
    echo "usage: $0 VEXA CASEFILE NAME" >&2
    exit 2
fi
vexa=$(realpath "$1")
table=$(realpath "$2")
name=$3

tools=$(mktemp -d "${TMPDIR:-/tmp}/vexa-cli.XXXXXX")
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-cli-work.XXXXXX")
# Unmount whatever a case mounted in its scratch directory before removing it.
cleanup() {
    cd /
    awk -v w="$work/" 'index($2, w) == 1 { print $2 }' /proc/mounts | sort -r |
        while read -r m; do umount "$m"; done
    rm -rf "$work" "$tools"
}
trap cleanup EXIT
ln -s "$vexa" "$tools/vexa-as"
export PATH="$tools:$PATH"

# The case's lines: directive and text, split at the first blank.
kinds=()
texts=()
found=0
while IFS= read -r line || [ -n "$line" ]; do
    line=${line#"${line%%[![:blank:]]*}"}
    case $line in '' | '#'*) continue ;; esac
    kind=${line%%[[:blank:]]*}
    text=${line#"$kind"}
    text=${text#[[:blank:]]}
    if [ "$kind" = case ]; then
        [ $found = 1 ] && break
        [ "$text" = "$name" ] && found=1
        continue
    fi
    if [ $found = 1 ]; then
        kinds+=("$kind")
        texts+=("$text")
    fi
done < "$table"
if [ $found = 0 ]; then
    echo "FAIL $name: no such case in $table" >&2
    exit 1
fi

fail() {
    printf 'FAIL %s: %s\n' "$name" "$1" >&2
    [ $# -gt 1 ] && printf '  expected: %s\n  actual:   %s\n' "$2" "$3" >&2
    exit 1
}

cd "$work" || exit 1
want_status=0
: > "$tools/want"
errfile=""
run_line=""
has_run=0
for i in "${!kinds[@]}"; do
    text=${texts[$i]}
    case ${kinds[$i]} in
        need) eval "$text" || { echo "SKIP: $name: $text failed"; exit 77; } ;;
        sh) eval "$text" || fail "sh $text" ;;
        run) run_line=$text has_run=1 ;;
        status) want_status=$text ;;
        err) printf '%s\n' "$text" >> "$tools/want" ;;
        errfile) errfile=$text ;;
        check) ;;
        *) fail "unknown directive '${kinds[$i]}'" ;;
    esac
done

[ $has_run = 1 ] || fail "no run line"
{ eval "vexa-as $run_line"$'\n''status=${PIPESTATUS[0]}'; } 2> "$tools/stderr"
[ "$status" = "$want_status" ] || fail "status" "$want_status" "$status"
want=$tools/want
[ -n "$errfile" ] && want=$errfile
cmp -s "$want" "$tools/stderr" || fail "stderr" "$(cat -A "$want")" "$(cat -A "$tools/stderr")"
for i in "${!kinds[@]}"; do
    if [ "${kinds[$i]}" = check ]; then
        eval "${texts[$i]}" || fail "check ${texts[$i]}"
    fi
done
echo "ok $name"
