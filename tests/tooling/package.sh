#!/usr/bin/env bash
# Builds the Debian package with cpack and reads it back with dpkg-deb.
#
#   package.sh CPACK BUILD_DIR WORK_DIR VERSION
#
# The package must carry the project's version and install the program and its manual page
# under /usr.
set -uo pipefail
cpack=$1
build=$(realpath "$2")
work=$3
version=$4
. "$(dirname "$0")/../common.sh"
need_tool dpkg-deb
rm -rf "$work"
mkdir -p "$work"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

(cd "$work" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work") \
    > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; exit 1; }
debs=("$work"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "want one .deb, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = vexa-as ] || fail "package name $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] \
    || fail "package version $(dpkg-deb -f "$deb" Version), want $version"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
dpkg-deb -c "$deb" > "$work/contents" || fail "dpkg-deb -c failed"
awk '$1 !~ /^d/ { print $NF }' "$work/contents" | sort > "$work/files"
printf './usr/bin/vexa-as\n./usr/share/man/man1/vexa-as.1\n' > "$work/want"
diff "$work/want" "$work/files" || fail "the package holds other files than the two above (<)"
grep -q '^-rwxr-xr-x .* \./usr/bin/vexa-as$' "$work/contents" || fail "vexa-as is not executable"

[ $failed -eq 0 ] && echo "ok: $(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)"
exit $failed
