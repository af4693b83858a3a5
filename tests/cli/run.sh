#!/usr/bin/env bash
# Runs one case of a command-line case table:  run.sh VEXA CASEFILE NAME
# A case is lines of a directive and its text, in a fresh empty scratch directory where the
# program runs as "vexa-as", first on PATH (blank lines and # comments aside):
#   case NAME     starts it             need CMD      skips it (status 77) when CMD fails
#   sh CMD        set-up, must succeed  run WORDS     the command line after the program name
#   status N      the run's status (of the first command of a pipeline); 0 if absent
#   err TEXT      a line of stderr, exact; all of them make the whole of it
#   errfile FILE  stderr equals FILE    check CMD     after the run, must succeed
# Every line is eval'd in this shell: what one sets (variables, ulimit) reaches the next.
vexa=$(realpath "$1") table=$(realpath "$2") name=$3
tools=$(mktemp -d "${TMPDIR:-/tmp}/vexa-cli.XXXXXX") work=$(mktemp -d "${tools%.*}.XXXXXX")
cleanup() {   # unmounts what a case mounted in its scratch directory before removing it
    cd / && awk -v w="$work/" 'index($2,w)==1 {print $2}' /proc/mounts | sort -r | xargs -rn1 umount
    chattr -R -i "$work" 2>/dev/null; rm -rf "$work" "$tools"
}
trap cleanup EXIT
ln -s "$vexa" "$tools/vexa-as" && export PATH="$tools:$PATH"
fail() {
    printf 'FAIL %s: %s\n' "$name" "$1" >&2
    [ $# -gt 1 ] && printf '  expected: %s\n  actual:   %s\n' "$2" "$3" >&2; exit 1
}

lines=() found=0
while IFS= read -r line || [ -n "$line" ]; do
    line=${line#"${line%%[![:blank:]]*}"} && kind=${line%%[[:blank:]]*} text=${line#*[[:blank:]]}
    case $kind in '' | '#'*) continue ;; esac
    [ "$kind" = case ] && { [ $found = 1 ] && break; [ "$text" = "$name" ] && found=1; continue; }
    [ $found = 1 ] && lines+=("$kind $text")
done < "$table"
[ $found = 1 ] || fail "no such case in $table"
cd "$work" || exit 1
want=$tools/want want_status=0 run_line= && : > "$want"
for line in "${lines[@]}"; do
    text=${line#* }
    case ${line%% *} in
        need) eval "$text" || { echo "SKIP: $name: $text failed"; exit 77; } ;;
        sh) eval "$text" || fail "sh $text" ;;
        run) run_line=$text ;; status) want_status=$text ;; errfile) want=$text ;; check) ;;
        err) printf '%s\n' "$text" >> "$want" ;;
        *) fail "unknown directive in '$line'" ;;
    esac
done
[ -n "$run_line" ] || fail "no run line"
{ eval "vexa-as $run_line"$'\n''status=${PIPESTATUS[0]}'; } 2> "$tools/stderr"
[ "$status" = "$want_status" ] || fail "status" "$want_status" "$status"
cmp -s "$want" "$tools/stderr" || fail "stderr" "$(cat -A "$want")" "$(cat -A "$tools/stderr")"
for line in "${lines[@]}"; do [ "${line%% *}" != check ] || eval "${line#* }" || fail "$line"; done
echo "ok $name"
