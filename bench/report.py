#!/usr/bin/env python3
"""Times vexa-as on the programs that gen.py wrote, beside avr-as and wc -l,
in one hyperfine run, measures peak memory, and prints figures, ratios and
the goals as PASS/FAIL. Called by run.sh; the exit status is always 0."""

import argparse
import glob
import json
import os
import subprocess
import sys

MIB = 1024 * 1024


def vexa_outputs(out, stem):
    return ["-%s=%s/%s.%s" % (kind, out, stem, kind) for kind in ("hex", "bin", "ram", "prg", "vhd", "lst")]


def count_lines(paths):
    total = 0
    for path in paths:
        with open(path, "rb") as f:
            total += sum(chunk.count(b"\n") for chunk in iter(lambda: f.read(1 << 20), b""))
    return total


def shapes(vexa, src, out):
    """Rows of (name, description, argv, source files, key into expect.json)."""
    multi = sorted(glob.glob(os.path.join(src, "multi", "*.s")))
    long_small, long_big = os.path.join(src, "long_100000.s"), os.path.join(src, "long_1000000.s")
    typical, avr = os.path.join(src, "typical.s"), os.path.join(src, "typical_avr.s")
    symbols = os.path.join(src, "symbols.s")
    return [
        ("a", "typical, six outputs", [vexa, typical] + vexa_outputs(out, "a"), [typical], "typical.s"),
        ("a/avr-as", "typical, avr-as, one .o", ["avr-as", "-mmcu=avr5", "-o", out + "/a.o", avr], [avr], None),
        ("b", "10000 symbols, six outputs", [vexa, symbols] + vexa_outputs(out, "b"), [symbols], "symbols.s"),
        ("c/100k", "comments, hex only", [vexa, long_small, "-hex=%s/c100k.hex" % out], [long_small], "long_100000.s"),
        ("c/1M", "comments, hex only", [vexa, long_big, "-hex=%s/c1m.hex" % out], [long_big], "long_1000000.s"),
        ("c/wc -l", "floor: wc -l on c/1M", ["wc", "-l", long_big], [long_big], None),
        ("d", "100 files, six outputs", [vexa] + multi + vexa_outputs(out, "d"), multi, "multi"),
    ]


def breakdown(vexa, src, out):
    """Shape a with no output and with each output alone: where its time goes."""
    typical = os.path.join(src, "typical.s")
    rows = [("a/none", "typical, no output", [vexa, typical], [typical], None)]
    for kind in ("hex", "bin", "prg", "vhd", "lst"):
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
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--warmup", type=int, default=3)
    args = parser.parse_args()
    src, out = os.path.join(args.work, "src"), os.path.join(args.work, "out")
    os.makedirs(out, exist_ok=True)
    rows = shapes(os.path.abspath(args.vexa), src, out)

    with open(os.path.join(src, "expect.json")) as f:
        bad = validate(rows, json.load(f), out)
    for name, why in bad.items():
        print("INVALID %s: %s" % (name, why))
    parts = breakdown(os.path.abspath(args.vexa), src, out)
    timed = time_all(rows + parts, args.runs, args.warmup, os.path.join(args.work, "hyperfine.json"))

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

    def ratio(a, b):
        return fig[a]["ms"] / fig[b]["ms"]

    def fastest(a, b):
        # The same ratio on the fastest runs: far from the median, the machine was busy.
        return timed[a]["min"] / timed[b]["min"]

    print()
    print("ratio vexa-as / avr-as, shape a:      %.2f  (goal <= 0.33; fastest runs %.2f;"
          " avr-as writes one object file, vexa-as six outputs)"
          % (ratio("a", "a/avr-as"), fastest("a", "a/avr-as")))
    print("ratio vexa-as / wc -l floor, shape c: %.2f  (goal <= 5; fastest runs %.2f)"
          % (ratio("c/1M", "c/wc -l"), fastest("c/1M", "c/wc -l")))
    print("ratio per line c/1M / c/100k:         %.2f  (goal <= 1.5)" % (fig["c/1M"]["per100k"] / fig["c/100k"]["per100k"]))
    print("ratio per line b / a:                 %.2f  (goal <= 2)" % (fig["b"]["per100k"] / fig["a"]["per100k"]))
    print()

    vexa_rows = [row[0] for row in rows if row[4]]
    goals = [
        ("c per line at 1M within 1.5x of 100k", fig["c/1M"]["per100k"] <= 1.5 * fig["c/100k"]["per100k"]),
        ("b per line within 2x of a", fig["b"]["per100k"] <= 2 * fig["a"]["per100k"]),
        ("a at least 3x faster than avr-as", ratio("a/avr-as", "a") >= 3),
        ("c within 5x of wc -l", ratio("c/1M", "c/wc -l") <= 5),
        ("peak RSS of every shape under 32 MiB", all(fig[n]["rss"] < 32 * MIB for n in vexa_rows)),
        ("every program assembles cleanly", not bad),
    ]
    for text, ok in goals:
        print("%s  %s" % (verdict(ok), text))

    with open(os.path.join(args.work, "figures.json"), "w") as f:
        json.dump({"figures": fig, "goals": {t: ok for t, ok in goals}, "invalid": bad}, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
