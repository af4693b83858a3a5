#!/usr/bin/env bash
# Builds vexa-as and runs every test: the normal build, the same suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzzing run.
#
# First it installs, with apt-get, every tool the tests use that this machine lacks (as root,
# or through sudo without a password). A test whose tool is still missing is reported as
# skipped by ctest, and every skipped test is named again at the end. The status is nonzero
# only when something failed.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

# Each Debian package the build and the tests use, and the command (or file pattern) that
# shows it is installed.
libfuzzer='/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-*.a'
tools=(
    "cmake cmake"
    "g++ g++"
    "clang clang++-14"
    "libgtest-dev /usr/include/gtest/gtest.h"
    "libclang-rt-14-dev $libfuzzer"
    "ghdl ghdl"
    "iverilog iverilog"
    "verilator verilator"
    "yosys yosys"
    "srecord srec_cat"
    "binutils objcopy"
    "mandoc mandoc"
    "man-db man"
    "groff-base groff"
    "perl perl"
    "dpkg-dev dpkg-shlibdeps"
)

present() {
    case $1 in
        /*) compgen -G "$1" >/dev/null ;;
        *) command -v "$1" >/dev/null ;;
    esac
}

install_tools() {
    local missing=() row sudo=()
    for row in "${tools[@]}"; do
        present "${row#* }" || missing+=("${row%% *}")
    done
    [ ${#missing[@]} -eq 0 ] && return
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
            sudo=(sudo -n)
        else
            echo "test.sh: cannot install ${missing[*]}: not root, and no sudo without a password"
            return
        fi
    fi
    if ! command -v apt-get >/dev/null; then
        echo "test.sh: cannot install ${missing[*]}: no apt-get on this machine"
        return
    fi
    echo "test.sh: installing ${missing[*]}"
    local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -y
               --no-install-recommends)
    "${apt[@]}" update >/dev/null || echo "test.sh: apt-get update failed"
    if ! "${apt[@]}" install "${missing[@]}" >/dev/null; then
        # One package that this release lacks must not keep out the others.
        local package
        for package in "${missing[@]}"; do
            "${apt[@]}" install "$package" >/dev/null || echo "test.sh: cannot install $package"
        done
    fi
}

failed=()
skipped=()

# suite NAME BUILD_DIR CMAKE_OPTION...: configures, builds and runs the tests of one build
# folder, and adds what failed or was skipped to the lists above.
suite() {
    local name=$1 build=$2
    shift 2
    if ! cmake -S . -B "$build" "$@" >/dev/null; then
        failed+=("$name: configuring $build")
        return
    fi
    if ! cmake --build "$build" -j "$jobs"; then
        failed+=("$name: building $build")
        return
    fi
    ctest --test-dir "$build" -j "$jobs" --output-on-failure | tee "$build/ctest.out"
    [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("$name: ctest in $build")
    # ctest lists the skipped tests at its end; each of our scripts says why in its output.
    local test reason
    while IFS= read -r test; do
        reason=$(awk -v t="$test" '/^[0-9]+\/[0-9]+ Testing: / { current = $3 }
                 current == t && /^SKIP: / { sub(/^SKIP: /, ""); print; exit }' \
                 "$build/Testing/Temporary/LastTest.log")
        skipped+=("$name: $test${reason:+ ($reason)}")
    done < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$build/ctest.out")
}

install_tools

suite tests build -DCMAKE_BUILD_TYPE=Release -DVEXA_TESTS=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    suite sanitizers build-asan -DCMAKE_BUILD_TYPE=Debug -DVEXA_SANITIZE=ON -DVEXA_COSIM=OFF

if [ -x tests/fuzz/smoke.sh ]; then
    if ! present clang++-14 || ! present "$libfuzzer"; then
        skipped+=("fuzz: the smoke run (clang++-14 or libFuzzer not found)")
    elif ! tests/fuzz/smoke.sh; then
        failed+=("fuzz: the smoke run")
    fi
fi

echo
if [ ${#skipped[@]} -gt 0 ]; then
    echo "test.sh: ${#skipped[@]} skipped:"
    printf '  %s\n' "${skipped[@]}"
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "test.sh: FAILED:"
    printf '  %s\n' "${failed[@]}"
    exit 1
fi
echo "test.sh: all tests passed"
