#!/usr/bin/env bash
# Usage: tests/fuzz/run.sh SECONDS [extra libFuzzer options]
# Fuzzes the assembler for SECONDS seconds. The corpus lives in build-fuzz/corpus, seeded from
# the test cases, the examples and tests/fuzz/seeds; crashing inputs go to build-fuzz/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:?usage: run.sh SECONDS}
shift
"$root/tests/fuzz/build.sh"
out=$root/build-fuzz
mkdir -p "$out/corpus" "$out/artifacts"
# Seeds are named after their content, so seeding again adds only what is new.
while IFS= read -r -d '' seed; do
    sum=$(sha1sum "$seed" | cut -c1-40)
    [ -f "$out/corpus/$sum" ] || cp "$seed" "$out/corpus/$sum"
done < <(find "$root/tests/asm" "$root/tests/e2e" "$root/examples" "$root/tests/fuzz/seeds" \
              "$root/tests/fuzz/regressions" -type f \( -name '*.s' -o -path '*/seeds/*' \
              -o -path '*/regressions/*' \) -print0 2>/dev/null)
# One seed is generated rather than kept: it fills the symbol and the fixup table exactly.
{ awk 'BEGIN { print "global g"; for (i = 0; i < 10001; i++) print "word g"
                for (i = 1; i <= 10000; i++) print "s" i ":" }'
  printf '\0\0g: nop\nword g\n'; } > "$out/corpus/tables_full"
# -close_fd_mask=2 sends the assembler's diagnostics to /dev/null while libFuzzer and the
# sanitizers keep a copy of the real standard error for their reports.
exec "$out/fuzz_asm" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -close_fd_mask=2 \
    -dict="$root/tests/fuzz/vexa.dict" -artifact_prefix="$out/artifacts/" \
    -print_final_stats=1 "$@" "$out/corpus"
