#!/usr/bin/env bash
# Checks the manual page with one formatter.
#
#   manpage.sh TOOL PAGE VEXA_AS
#
# TOOL is mandoc (its lint at every level), groff (with all warnings on) or man (rendered at
# 80 columns, as a user reads it). Each must print no message at all. The page must also
# carry the program's version and describe every option that the program's --help names, and
# no option that it does not.
set -uo pipefail
tool=$1
page=$(realpath "$2")
bin=$3
. "$(dirname "$0")/../common.sh"
need_tool "$tool"
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-tooling.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

case $tool in
    mandoc) mandoc -T lint -W all "$page" > "$work/out" 2> "$work/err" ;;
    groff) groff -man -ww -z "$page" > "$work/out" 2> "$work/err" ;;
    man) MANWIDTH=80 MANPAGER=cat PAGER=cat man -l "$page" > "$work/out" 2> "$work/err" ;;
    *) echo "unknown tool $tool"; exit 2 ;;
esac
status=$?
[ "$status" -eq 0 ] || fail "$tool exited with status $status"
if [ "$tool" = man ]; then
    [ -s "$work/out" ] || fail "man rendered nothing"
    long=$(awk 'length > 80' "$work/out" | head -n 3)
    [ -z "$long" ] && [ -n "$(head -n 1 "$work/out")" ] || fail "lines over 80 columns: $long"
else
    [ -s "$work/out" ] && fail "$tool: $(head -n 5 "$work/out")"
fi
[ -s "$work/err" ] && fail "$tool: $(head -n 5 "$work/err")"

# The page's title line names the version that the program reports.
version=$("$bin" --version)
grep -q "^\.TH VEXA-AS 1 [0-9-]* \"$version\" " "$page" \
    || fail "the page's title line does not name '$version': $(grep '^\.TH' "$page")"

# The options of the page's synopsis are those of --help.
"$bin" --help | grep -o -- '-[a-z][a-z]*=' | sort -u > "$work/help.options"
grep -o -- '^\.RB \[ \\-[a-z][a-z]*=' "$page" | sed 's/.*\\//' | sort -u > "$work/page.options"
[ -s "$work/help.options" ] || fail "--help names no option"
diff "$work/help.options" "$work/page.options" > "$work/diff" \
    || fail "options of --help (<) and of the page's synopsis (>) differ: $(cat "$work/diff")"

[ $failed -eq 0 ] && echo "ok: $tool"
exit $failed
