#!/usr/bin/env python3
"""Times two vexa-as binaries against each other on the benchmark's programs, interleaved:
every round runs each program with the old binary and the new one back to back (the order
swapping every round), so both see the same spells of the machine. Prints, per program, both
medians and the ratio new / old, and the same for the mean processor time.

    bench/versus.py OLD NEW [rounds]      (default 15 rounds after 3 warm-up rounds)

The programs are those of bench/run.sh (written by gen.py into BENCH_WORK/src, default
/tmp/vexa-versus); nothing is checked here but that both binaries exit with status 0."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import report  # noqa: E402


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    old, new = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    rounds = int(sys.argv[3]) if len(sys.argv) == 4 else 15
    work = os.environ.get("BENCH_WORK", "/tmp/vexa-versus")
    src, out = os.path.join(work, "src"), os.path.join(work, "out")
    os.makedirs(out, exist_ok=True)
    here = os.path.dirname(os.path.abspath(__file__))
    subprocess.run([sys.executable, os.path.join(here, "gen.py"), src], check=True,
                   stdout=subprocess.DEVNULL)
    report.measure_outputs(old, src, out)
    rows = []
    for name, what, cmd, files, key in report.shapes(old, "/bin/true", src, out):
        if key is None:
            continue
        for tag, binary in (("old", old), ("new", new)):
            argv = [binary] + [a.replace(out, os.path.join(out, tag)) for a in cmd[1:]]
            rows.append(("%s %s" % (name, tag), what, argv, files, key))
    for tag in ("old", "new"):
        os.makedirs(os.path.join(out, tag), exist_ok=True)
    for _, _, argv, _, _ in rows:
        status = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if status.returncode != 0:
            sys.exit("failed: " + " ".join(argv))
    timed = report.time_all(rows, rounds, 3, os.path.join(work, "versus.json"))
    # Wall time, and processor time (user + system), which a busy machine disturbs less.
    print("%-8s %10s %10s %8s %10s %10s %8s  (%d interleaved rounds)"
          % ("program", "old ms", "new ms", "new/old", "old cpu", "new cpu", "new/old", rounds))
    for name in dict.fromkeys(row[0].rsplit(" ", 1)[0] for row in rows):
        old_run, new_run = timed[name + " old"], timed[name + " new"]
        a, b = old_run["median"], new_run["median"]
        c, d = (old_run["user"] + old_run["system"], new_run["user"] + new_run["system"])
        print("%-8s %10.2f %10.2f %8.3f %10.2f %10.2f %8.3f"
              % (name, a * 1000, b * 1000, b / a, c * 1000, d * 1000, d / c))
    return 0


if __name__ == "__main__":
    sys.exit(main())
