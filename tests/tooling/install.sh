#!/usr/bin/env bash
# Installs the build into a fresh prefix, as a user would with cmake --install.
#
#   install.sh CMAKE BUILD_DIR WORK_DIR VERSION
#
# The prefix must then hold exactly the program and its manual page, and the installed
# program must run from there.
set -uo pipefail
cmake=$1
build=$2
work=$3
version=$4
rm -rf "$work"
mkdir -p "$work"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

"$cmake" --install "$build" --prefix "$work/prefix" > "$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "cmake --install failed"; exit 1; }
(cd "$work/prefix" && find . ! -type d | sort) > "$work/files"
printf './bin/vexa-as\n./share/man/man1/vexa-as.1\n' > "$work/want"
diff "$work/want" "$work/files" || fail "the prefix holds other files than the two above (<)"
[ -x "$work/prefix/bin/vexa-as" ] || fail "bin/vexa-as is not executable"
got=$("$work/prefix/bin/vexa-as" --version)
[ "$got" = "vexa-as $version" ] || fail "the installed program says '$got'"

[ $failed -eq 0 ] && echo "ok: installed bin/vexa-as and share/man/man1/vexa-as.1"
exit $failed
