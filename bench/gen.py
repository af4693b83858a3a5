#!/usr/bin/env python3
"""Writes the benchmark programs for vexa-as, deterministically from a seed.

    gen.py OUTDIR [--seed N] [--long-lines 100000,1000000]

Files written under OUTDIR:
  typical.s         32000 instructions, 2000 labels, 500 of them referenced
  typical_avr.s     the same program shape for avr-as (AVR syntax, avr5)
  symbols.s         10000 distinct labels, each declared global, defined and referenced
  long_<N>.s        N lines, mostly comments and blank lines, one per --long-lines entry
  multi/mNNN.s      100 files that share labels through global declarations
  expect.json       the number of words each vexa program assembles to

Every vexa program assembles without a diagnostic: no value needs more than
its 4-bit field except the symbolic loads, no instruction follows a load of a
register it reads (so no interlock nop is inserted), every short branch lands
within -254..+256 bytes, and every program fits the 64 KiB image.
"""

import argparse
import json
import os
import random

IMAGE_BYTES = 65536
MAX_SYMBOLS = 10000
MAX_FIXUPS = 10000

# Shape (a): one label every 16 instructions, every fourth label referenced by
# two short branches and one symbolic load.
TYPICAL_INSTRUCTIONS = 32000
TYPICAL_LABELS = 2000
BRANCHES_PER_REF = 2
LOADS_PER_REF = 1
BRANCH_REACH = 30          # instructions between a branch and its label

# Shape (d).
MULTI_FILES = 100
MULTI_BODY = 250           # instructions per file
MULTI_LOCALS = 10          # local labels per file, the same names in every file
MULTI_EXPORTS = 4
MULTI_IMPORTS = 6

# Shape (c): fraction of lines that hold an instruction.
LONG_CODE_FRACTION = 0.02

CONDITIONS = [  # vexa short branch, AVR branch with the same sense
    ("beq", "breq"), ("bne", "brne"), ("blt", "brlt"), ("bge", "brge"),
    ("bltu", "brlo"), ("bgeu", "brsh"), ("ba", "rjmp"),
]
ALU = [  # vexa two-register op, AVR op
    ("add", "add"), ("sub", "sub"), ("and", "and"), ("or", "or"),
    ("xor", "eor"), ("cmp", "cp"), ("addc", "adc"), ("subc", "sbc"),
]
SHIFTS = [("slli", "lsl"), ("srli", "lsr"), ("srai", "asr")]
DATA_REGS = list(range(2, 16))
# r10 and r11 map to r26:r27, the AVR X pointer, which ld/st X+ must not name.
POINTER_SAFE_REGS = [r for r in DATA_REGS if r not in (10, 11)]
BASE_REGS = [3, 4, 5, 6]


def avr_reg(r):
    # The immediate forms (subi, cpi) only take r16..r31, so every vexa
    # register maps into that half of the AVR file.
    return "r%d" % (16 + r)


class Emitter:
    """Chooses plain instructions, remembering the register loaded last so that
    the next instruction never reads it (the vexa interlock would add a nop)."""

    def __init__(self, rng):
        self.rng = rng
        self.loaded = 0

    def reg(self, avoid=0, regs=DATA_REGS):
        while True:
            r = self.rng.choice(regs)
            if r != avoid:
                return r

    def plain(self):
        """Returns (vexa line, AVR line) for one instruction of a single word."""
        rng = self.rng
        hazard = self.loaded
        self.loaded = 0
        pick = rng.random()
        if pick < 0.30:
            op, aop = rng.choice(ALU)
            rd, rs = self.reg(), self.reg(hazard)
            return ("%s r%d, r%d" % (op, rd, rs), "%s %s, %s" % (aop, avr_reg(rd), avr_reg(rs)))
        if pick < 0.40:
            rd, rs = self.reg(), self.reg(hazard)
            return ("mov r%d, r%d" % (rd, rs), "mov %s, %s" % (avr_reg(rd), avr_reg(rs)))
        if pick < 0.50:
            rd, rs, n = self.reg(), self.reg(hazard), rng.randrange(16)
            return ("addi r%d, r%d, %d" % (rd, rs, n), "subi %s, %d" % (avr_reg(rd), -n & 255))
        if pick < 0.60:
            op, aop = rng.choice(SHIFTS)
            rd, rs, n = self.reg(), self.reg(hazard), rng.randrange(1, 16)
            return ("%s r%d, r%d, %d" % (op, rd, rs, n), "%s %s" % (aop, avr_reg(rd)))
        if pick < 0.65:
            rs, n = self.reg(hazard), rng.randrange(16)
            return ("cmpi r%d, %d" % (rs, n), "cpi %s, %d" % (avr_reg(rs), n))
        if pick < 0.77:
            rd, base, off = self.reg(), rng.choice(BASE_REGS), 2 * rng.randrange(16)
            self.loaded = rd
            return ("lw r%d, %d(r%d)" % (rd, off, base), "ldd %s, Y+%d" % (avr_reg(rd), off))
        if pick < 0.85:
            rd, base, off = self.reg(hazard), rng.choice(BASE_REGS), 2 * rng.randrange(16)
            return ("sw r%d, %d(r%d)" % (rd, off, base), "std Y+%d, %s" % (off, avr_reg(rd)))
        if pick < 0.92:
            rd, base, off = self.reg(0, POINTER_SAFE_REGS), rng.choice(BASE_REGS), rng.randrange(16)
            self.loaded = rd
            return ("lb r%d, %d(r%d)" % (rd, off, base), "ld %s, X+" % avr_reg(rd))
        if pick < 0.97:
            rd, base, off = self.reg(hazard, POINTER_SAFE_REGS), rng.choice(BASE_REGS), rng.randrange(16)
            return ("sb r%d, %d(r%d)" % (rd, off, base), "st X+, %s" % avr_reg(rd))
        return ("nop", "nop")

    def branch(self, label):
        self.loaded = 0
        op, aop = self.rng.choice(CONDITIONS)
        return ("%s %s" % (op, label), "%s %s" % (aop, label))

    def load_symbol(self, label):
        rd = self.reg()
        self.loaded = rd
        return ("lw r%d, %s(r0)" % (rd, label), "lds %s, %s" % (avr_reg(rd), label))

    def lea_symbol(self, label):
        self.loaded = 0
        rd = self.reg()
        return ("lea r%d, %s" % (rd, label), "ldi %s, lo8(%s)" % (avr_reg(rd), label))


def place(placed, pos, lo, hi, rng):
    """Puts a branch or symbolic instruction at a free slot near pos within [lo, hi)."""
    for step in range(0, hi - lo):
        for cand in (pos + step, pos - step):
            if lo <= cand < hi and cand not in placed:
                return cand
    raise RuntimeError("no free slot near %d" % pos)


def gen_typical(rng):
    """Shape (a): returns (vexa text, AVR text)."""
    every = TYPICAL_INSTRUCTIONS // TYPICAL_LABELS
    labels = {every * k: "L%04d" % k for k in range(TYPICAL_LABELS)}
    placed = {}
    refs = 0
    for k in range(0, TYPICAL_LABELS, 4):
        target = every * k
        name = labels[target]
        for b in range(BRANCHES_PER_REF):
            # One branch forward onto the label, one backward; a label at the
            # very start or end is reached from the side that exists.
            forward = (b == 0 and target > 0) or target + BRANCH_REACH >= TYPICAL_INSTRUCTIONS
            if forward:
                lo, hi = max(0, target - BRANCH_REACH), target
            else:
                lo, hi = target, min(TYPICAL_INSTRUCTIONS, target + BRANCH_REACH)
            slot = place(placed, rng.randrange(lo, hi), lo, hi, rng)
            placed[slot] = ("branch", name)
            refs += 1
        for _ in range(LOADS_PER_REF):
            slot = place(placed, rng.randrange(TYPICAL_INSTRUCTIONS), 0, TYPICAL_INSTRUCTIONS, rng)
            placed[slot] = ("load", name)
            refs += 1
    assert refs <= MAX_FIXUPS

    em = Emitter(rng)
    vexa = ["; typical program: %d instructions, %d labels" % (TYPICAL_INSTRUCTIONS, TYPICAL_LABELS)]
    avr = ["; typical program: %d instructions, %d labels" % (TYPICAL_INSTRUCTIONS, TYPICAL_LABELS),
           "        .text"]
    words = 0
    for i in range(TYPICAL_INSTRUCTIONS):
        if i in labels:
            vexa.append("%s:" % labels[i])
            avr.append("%s:" % labels[i])
        kind, name = placed.get(i, ("plain", None))
        if kind == "branch":
            v, a = em.branch(name)
            words += 1
        elif kind == "load":
            v, a = em.load_symbol(name)
            words += 2
        else:
            v, a = em.plain()
            words += 1
        vexa.append("        " + v)
        avr.append("        " + a)
    assert 2 * words <= IMAGE_BYTES, words
    return "\n".join(vexa) + "\n", "\n".join(avr) + "\n", words


SYMBOL_PREFIXES = ["tbl", "vec", "msg", "buf", "isr", "cfg", "str", "ptr",
                   "handler_table", "message_text", "config_block"]


def gen_symbols(rng):
    """Shape (b): 10000 labels, each declared global, defined once and named
    by one `word` (one fixup per label fills the fixup table exactly)."""
    names = ["%s_%05d" % (rng.choice(SYMBOL_PREFIXES), i) for i in range(MAX_SYMBOLS)]
    assert len(set(names)) == MAX_SYMBOLS and max(map(len, names)) <= 31
    order = list(range(MAX_SYMBOLS))
    rng.shuffle(order)
    lines = ["; symbol-heavy program: %d labels" % MAX_SYMBOLS]
    lines += ["        global %s" % n for n in names]
    for i, n in enumerate(names):
        addend = rng.choice((0, 0, 0, 2, 4))
        ref = names[order[i]] + ("+%d" % addend if addend else "")
        lines.append("%s: word %s" % (n, ref))
    assert 2 * MAX_SYMBOLS <= IMAGE_BYTES
    return "\n".join(lines) + "\n", MAX_SYMBOLS


COMMENT_WORDS = ("the loop counter holds the remaining words of the buffer; the caller "
                 "saves r2 and r3 before the call, interrupts stay masked while the "
                 "table is rebuilt and the status register is written last").split()


def gen_long(rng, total):
    """Shape (c): `total` lines, about 2% instructions, the rest comments and blanks."""
    pool = []
    for _ in range(997):
        text = " ".join(rng.choice(COMMENT_WORDS) for _ in range(rng.randrange(2, 10)))
        pool.append(rng.choice(("; ", ";; ", "        ; ", "; -- ")) + text)
    em = Emitter(rng)
    lines = []
    words = 0
    for i in range(total):
        pick = rng.random()
        if pick < LONG_CODE_FRACTION:
            v, _ = em.plain()
            lines.append("        " + v)
            words += 1
        elif pick < 0.40:
            lines.append("")
        else:
            lines.append(pool[rng.randrange(len(pool))])
    assert 2 * words <= IMAGE_BYTES, words
    return "\n".join(lines) + "\n", words


def gen_multi(rng):
    """Shape (d): a list of (file name, text). Each file defines its own local
    labels (the same names in every file), exports four labels and imports six
    from other files; both sides declare the shared names global first."""
    exports = [["m%03d_entry%d" % (f, j) for j in range(MULTI_EXPORTS)] for f in range(MULTI_FILES)]
    files = []
    words = symbols = fixups = 0
    every = MULTI_BODY // MULTI_LOCALS
    for f in range(MULTI_FILES):
        others = [name for g in range(MULTI_FILES) if g != f for name in exports[g]]
        imports = rng.sample(others, MULTI_IMPORTS)
        em = Emitter(rng)
        lines = ["; module %03d" % f]
        lines += ["        global %s" % n for n in exports[f] + imports]
        placed = {}
        for k in range(MULTI_LOCALS):
            target = every * k
            lo, hi = (max(0, target - BRANCH_REACH), target) if k else (0, BRANCH_REACH)
            slot = place(placed, rng.randrange(lo, hi), lo, hi, rng)
            placed[slot] = ("branch", "loop%d" % k)
        for n in imports:
            for kind in ("load", "lea"):
                slot = place(placed, rng.randrange(MULTI_BODY), 0, MULTI_BODY, rng)
                placed[slot] = (kind, n)
        export_at = {(MULTI_BODY * j) // MULTI_EXPORTS + every // 2: n for j, n in enumerate(exports[f])}
        for i in range(MULTI_BODY):
            if i % every == 0:
                lines.append("loop%d:" % (i // every))
            if i in export_at:
                lines.append("%s:" % export_at[i])
            kind, name = placed.get(i, ("plain", None))
            if kind == "branch":
                v, _ = em.branch(name)
                words += 1
            elif kind == "load":
                v, _ = em.load_symbol(name)
                words += 2
            elif kind == "lea":
                v, _ = em.lea_symbol(name)
                words += 2
            else:
                v, _ = em.plain()
                words += 1
            lines.append("        " + v)
        files.append(("m%03d.s" % f, "\n".join(lines) + "\n"))
        symbols += MULTI_LOCALS + MULTI_EXPORTS
        fixups += len(placed)
    assert 2 * words <= IMAGE_BYTES and symbols <= MAX_SYMBOLS and fixups <= MAX_FIXUPS
    return files, words


def write(path, text):
    with open(path, "w") as out:
        out.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir")
    parser.add_argument("--seed", type=int, default=20261205)
    parser.add_argument("--long-lines", default="100000,1000000")
    args = parser.parse_args()
    os.makedirs(os.path.join(args.outdir, "multi"), exist_ok=True)

    # Each shape draws from its own generator, so changing one leaves the others alone.
    # expect.json holds the number of words each program must assemble to: a
    # stray interlock nop or prefix word would change it.
    expect = {}
    vexa, avr, expect["typical.s"] = gen_typical(random.Random(args.seed))
    write(os.path.join(args.outdir, "typical.s"), vexa)
    write(os.path.join(args.outdir, "typical_avr.s"), avr)
    text, expect["symbols.s"] = gen_symbols(random.Random(args.seed + 1))
    write(os.path.join(args.outdir, "symbols.s"), text)
    for n in (int(x) for x in args.long_lines.split(",")):
        name = "long_%d.s" % n
        text, expect[name] = gen_long(random.Random(args.seed + 2), n)
        write(os.path.join(args.outdir, name), text)
    files, expect["multi"] = gen_multi(random.Random(args.seed + 3))
    for name, text in files:
        write(os.path.join(args.outdir, "multi", name), text)
    write(os.path.join(args.outdir, "expect.json"), json.dumps(expect, indent=1) + "\n")


if __name__ == "__main__":
    main()
