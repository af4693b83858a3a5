#!/usr/bin/env python3
"""Times vexa-as on the programs that gen.py wrote, beside avr-as, the I/O
floor (iofloor.c) and wc -l, in one interleaved run, measures peak memory, and
prints figures, ratios and the four goals as PASS/FAIL. Called by run.sh; the
exit status is always 0."""

import argparse
import glob
import json
import os
import shutil
import statistics
import subprocess
import sys
import time

MIB = 1024 * 1024


KINDS = ("hex", "bin", "ram", "prg", "vhd", "lst")   # the six first outputs, in writing order


def vexa_outputs(out, stem):
    return ["-%s=%s/%s.%s" % (kind, out, stem, kind) for kind in KINDS]


def count_lines(paths):
    total = 0
    for path in paths:
        with open(path, "rb") as f:
            total += sum(chunk.count(b"\n") for chunk in iter(lambda: f.read(1 << 20), b""))
    return total


def shapes(vexa, floor, src, out):
    """Rows of (name, description, argv, source files, key into expect.json)."""
    multi = sorted(glob.glob(os.path.join(src, "multi", "*.s")))
    long_small, long_big = os.path.join(src, "long_100000.s"), os.path.join(src, "long_1000000.s")
    typical, avr = os.path.join(src, "typical.s"), os.path.join(src, "typical_avr.s")
    symbols = os.path.join(src, "symbols.s")
    return [
        ("a/bin", "typical, -bin= only", [vexa, typical, "-bin=%s/abin.bin" % out], [typical], "typical.s"),
        ("a/avr-as", "typical, avr-as, one .o", ["avr-as", "-mmcu=avr5", "-o", out + "/a.o", avr], [avr], None),
        ("a", "typical, six outputs", [vexa, typical] + vexa_outputs(out, "a"), [typical], "typical.s"),
        ("a/floor", "I/O floor of a", [floor] + floor_outputs(out, "a") + [typical], [typical], None),
        ("b", "10000 symbols, six outputs", [vexa, symbols] + vexa_outputs(out, "b"), [symbols], "symbols.s"),
        ("c/100k", "comments, hex only", [vexa, long_small, "-hex=%s/c100k.hex" % out], [long_small], "long_100000.s"),
        ("c/1M", "comments, hex only", [vexa, long_big, "-hex=%s/c1m.hex" % out], [long_big], "long_1000000.s"),
        ("c/wc -l", "floor: wc -l on c/1M", ["wc", "-l", long_big], [long_big], None),
        ("d", "100 files, six outputs", [vexa] + multi + vexa_outputs(out, "d"), multi, "multi"),
    ]


# The byte counts of shape a's six outputs, filled in by measure_outputs before the floor runs.
OUTPUT_BYTES = {}


def floor_outputs(out, stem):
    return ["%s/%s.floor.%s=%d" % (out, stem, kind, OUTPUT_BYTES.get(kind, 0)) for kind in KINDS]


def measure_outputs(vexa, src, out):
    """Runs shape a once with all six outputs and records each file's size."""
    typical = os.path.join(src, "typical.s")
    subprocess.run([vexa, typical] + vexa_outputs(out, "a"), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    for kind in KINDS:
        path = "%s/a.%s" % (out, kind)
        OUTPUT_BYTES[kind] = os.path.getsize(path) if os.path.exists(path) else 0


def breakdown(vexa, src, out):
    """Shape a with no output and with each output alone: where its time goes."""
    typical = os.path.join(src, "typical.s")
    rows = [("a/none", "typical, no output", [vexa, typical], [typical], None)]
    for kind in ("hex", "prg", "vhd", "lst"):
        rows.append(("a/" + kind, "typical, -%s= only" % kind,
                     [vexa, typical, "-%s=%s/only.%s" % (kind, out, kind)], [typical], None))
    return rows


def validate(rows, expect, out):
    """Runs every command once; vexa-as and avr-as must succeed without a word
    on the error stream, or their timings would measure the error path. Each
    vexa program also writes a program list (a later -prg= replaces an earlier
    one), whose one line per word must match the count the generator expects."""
    bad = {}
    for name, _, argv, _, key in rows:
        check = os.path.join(out, "check.prg")
        extra = ["-prg=" + check] if key else []
        proc = subprocess.run(argv + extra, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if proc.returncode != 0 or proc.stderr:
            bad[name] = "status %d: %s" % (proc.returncode, proc.stderr.strip().splitlines()[:3])
        elif key and count_lines([check]) != expect[key]:
            bad[name] = "%d words, expected %d" % (count_lines([check]), expect[key])
    return bad


def peak_rss(argv, repeats=3):
    """Largest maximum resident set size over a few runs, in bytes."""
    best = 0
    for _ in range(repeats):
        proc = subprocess.run(["/usr/bin/time", "-v"] + argv, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True)
        for line in proc.stderr.splitlines():
            if "Maximum resident set size" in line:
                best = max(best, int(line.rsplit(":", 1)[1]) * 1024)
    return best


def time_all(rows, runs, warmup, json_path):
    """Times every command as a whole process, interleaved: each round runs every command
    once, in table order on even rounds and in reverse order on odd ones, so that a busy
    spell of the machine falls on all commands alike rather than on one command's block of
    runs. Standard output and error go to /dev/null. Returns, by row name, the median and
    fastest wall time and the mean user and system time, in seconds."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    actions = [(os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)]
    commands = [(name, cmd) for name, _, cmd, _, _ in rows]
    walls = {name: [] for name, _ in commands}
    cpu = {name: [0.0, 0.0] for name, _ in commands}
    for round_number in range(warmup + runs):
        order = commands if round_number % 2 == 0 else commands[::-1]
        for name, cmd in order:
            program = cmd[0] if os.sep in cmd[0] else shutil.which(cmd[0])
            start = time.perf_counter()
            pid = os.posix_spawn(program, cmd, os.environ, file_actions=actions)
            _, status, usage = os.wait4(pid, 0)
            wall = time.perf_counter() - start
            if round_number < warmup:
                continue
            walls[name].append(wall)
            cpu[name][0] += usage.ru_utime / runs
            cpu[name][1] += usage.ru_stime / runs
    os.close(devnull)
    timed = {name: {"median": statistics.median(walls[name]), "min": min(walls[name]),
                    "user": cpu[name][0], "system": cpu[name][1], "times": walls[name]}
             for name, _ in commands}
    with open(json_path, "w") as f:
        json.dump(timed, f, indent=1)
    return timed


def time_blocks(rows, runs, warmup, json_path):
    """The same figures from one hyperfine run, which times each command's runs as one
    block after another (the method of the earlier records in bench/README.md)."""
    argv = ["hyperfine", "-N", "--style", "none", "--warmup", str(warmup), "--runs", str(runs),
            "--export-json", json_path]
    for name, _, cmd, _, _ in rows:
        argv += ["-n", name, " ".join(cmd)]
    proc = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if proc.returncode != 0:
        sys.exit("hyperfine failed: " + proc.stderr)
    with open(json_path) as f:
        results = json.load(f)["results"]
    return {r["command"]: r for r in results}


def verdict(ok):
    return "PASS" if ok else "FAIL"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vexa", required=True)
    parser.add_argument("--floor", required=True, help="the compiled iofloor.c")
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--warmup", type=int, default=3)
    parser.add_argument("--timer", choices=("interleaved", "hyperfine"), default="interleaved")
    args = parser.parse_args()
    src, out = os.path.join(args.work, "src"), os.path.join(args.work, "out")
    os.makedirs(out, exist_ok=True)
    vexa = os.path.abspath(args.vexa)
    measure_outputs(vexa, src, out)
    rows = shapes(vexa, os.path.abspath(args.floor), src, out)
    # Commands as printed: the scratch directory shortened to $W.
    commands = {row[0]: " ".join(row[2]).replace(os.path.abspath(args.work), "$W") for row in rows}

    with open(os.path.join(src, "expect.json")) as f:
        bad = validate(rows, json.load(f), out)
    for name, why in bad.items():
        print("INVALID %s: %s" % (name, why))
    parts = breakdown(vexa, src, out)
    timer = time_all if args.timer == "interleaved" else time_blocks
    timed = timer(rows + parts, args.runs, args.warmup, os.path.join(args.work, "timing.json"))

    fig = {}
    lines_fmt = "%-9s %-28s %9s %10s %10s %12s %10s"
    table = [lines_fmt % ("shape", "what", "lines", "median ms", "min ms", "ms/100k ln", "peak RSS")]
    for name, what, cmd, files, _ in rows:
        lines = count_lines(files)
        median = timed[name]["median"] * 1000
        rss = peak_rss(cmd)
        fig[name] = {"lines": lines, "ms": median, "per100k": median * 100000 / lines, "rss": rss}
        table.append(lines_fmt % (name, what, lines, "%.2f" % median, "%.2f" % (timed[name]["min"] * 1000),
                                  "%.3f" % fig[name]["per100k"], "%.1f MiB" % (rss / MIB)))
    print("\n".join(table))

    print()
    base = timed["a/none"]["median"] * 1000
    print("shape a by output: assembling alone %.2f ms; each output adds" % base)
    print("  " + ", ".join("%s %+.2f ms" % (name[2:], timed[name]["median"] * 1000 - base)
                           for name, _, _, _, _ in parts[1:]))
    typical_bytes = os.path.getsize(os.path.join(src, "typical.s"))
    print("I/O floor of a: reads %d bytes, writes %s = %d bytes in 64 KiB writes"
          % (typical_bytes, " + ".join("%s %d" % (k, OUTPUT_BYTES[k]) for k in KINDS),
             sum(OUTPUT_BYTES.values())))

    def ratio(a, b):
        return fig[a]["ms"] / fig[b]["ms"]

    def fastest(a, b):
        # The same ratio on the fastest runs: far from the median, the machine was busy.
        return timed[a]["min"] / timed[b]["min"]

    vexa_rows = [row[0] for row in rows if row[4]]
    peak = max(fig[n]["rss"] for n in vexa_rows)
    linear = fig["c/1M"]["per100k"] / fig["c/100k"]["per100k"]
    b_per_a = fig["b"]["per100k"] / fig["a"]["per100k"]
    # (text, figure, limit, pair of rows whose commands are shown)
    goals = [
        ("1 shape a, -bin= only / avr-as, same job", ratio("a/bin", "a/avr-as"), 0.33,
         fastest("a/bin", "a/avr-as"), ("a/bin", "a/avr-as")),
        ("2 shape a, six outputs / I/O floor", ratio("a", "a/floor"), 2.0,
         fastest("a", "a/floor"), ("a", "a/floor")),
        ("3 shape c/1M, -hex= only / wc -l", ratio("c/1M", "c/wc -l"), 3.0,
         fastest("c/1M", "c/wc -l"), ("c/1M", "c/wc -l")),
        ("4a linear: per line c/1M / c/100k", linear, 1.5, None, ("c/1M", "c/100k")),
        ("4b per line b / a", b_per_a, 2.0, None, ("b", "a")),
        ("4c peak RSS of every vexa-as run, MiB", peak / MIB, 32.0, None, ()),
    ]
    print()
    print("goals (W=%s)" % os.path.abspath(args.work))
    verdicts = {}
    for text, value, limit, quick, pair in goals:
        ok = value <= limit if not text.startswith("4c") else value < limit
        verdicts[text] = ok
        extra = "; fastest runs %.2f" % quick if quick is not None else ""
        print("%s  goal %-40s %6.2f  (limit %s%s)" % (verdict(ok), text, value, limit, extra))
        for name in pair:
            print("        %-9s %s" % (name, commands[name]))
    print("%s  every program assembles cleanly" % verdict(not bad))
    verdicts["every program assembles cleanly"] = not bad

    with open(os.path.join(args.work, "figures.json"), "w") as f:
        json.dump({"figures": fig, "goals": verdicts, "invalid": bad, "outputs": OUTPUT_BYTES},
                  f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
