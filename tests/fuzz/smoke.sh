#!/usr/bin/env bash
# The short fuzzing run of the test command: every saved regression input once, then a minute
# of fuzzing. Fails on any crash, leak, hang or broken invariant.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/tests/fuzz/build.sh"
regressions=("$root"/tests/fuzz/regressions/*)
if [ -e "${regressions[0]}" ]; then
    "$root/build-fuzz/fuzz_asm" -timeout=5 -rss_limit_mb=2048 -close_fd_mask=2 "${regressions[@]}"
fi
"$root/tests/fuzz/run.sh" "${FUZZ_SMOKE_SECONDS:-60}"
