#!/usr/bin/env python3
# Seeded property test:  lang_property.py VEXA [SEED] [PROGRAMS]
# Random programs written with constants, expressions, lists, strings, character literals,
# .org and an include must give every image output byte for byte as the same program spelled
# out with plain numbers, one value a line, in the original language alone.
import operator as o, os, random, subprocess, sys, tempfile

vexa, (seed, count) = os.path.abspath(sys.argv[1]), map(int, (sys.argv[2:] + ['1', '60'])[:2])
rng, wrap = random.Random(seed), lambda v: (v + 2**31) % 2**32 - 2**31
ESC = {0: r'\0', 9: r'\t', 10: r'\n', 13: r'\r', 34: r'\"', 39: r"\'", 92: r'\\'}

def char(c, quote):   # one character of quoted text, escaped in one of its spellings
    if c in ESC and (c not in (34, 39) or c == quote or rng.random() < .5): return ESC[c]
    return chr(c) if 32 <= c < 127 and rng.random() < .8 else '\\x%02x' % c

def expr(consts, depth=0):   # (text, value), each binary operation in parentheses
    pick = rng.random()
    if depth > 2 or pick < .3:
        v = rng.choice([rng.randrange(16), rng.randrange(2**16), rng.randrange(2**31)])
        return rng.choice([str(v), hex(v)]), v
    if pick < .4 and consts: return rng.choice(list(consts.items()))
    if pick < .5: c = rng.randrange(1, 256); return "'" + char(c, 39) + "'", c
    if pick < .6:
        t, v = expr(consts, depth + 1); op = rng.choice('-~+')
        return op + t, {'-': wrap(-v), '~': ~v, '+': v}[op]
    (a, x), (b, y), op = expr(consts, depth + 1), expr(consts, depth + 1), rng.choice(list(OPS))
    if op in ('<<', '>>'): y = rng.randrange(32); b = str(y)
    if op in ('/', '%') and y == 0: y = 7; b = '7'
    return '(%s %s %s)' % (a, op, b), wrap(OPS[op](x, y))

quotient = lambda x, y: wrap(abs(x) // abs(y) * (1 if (x < 0) == (y < 0) else -1))   # C's: to 0
OPS = {'+': o.add, '-': o.sub, '*': o.mul, '&': o.and_, '|': o.or_, '^': o.xor, '<<': o.lshift,
       '>>': o.rshift, '/': quotient, '%': lambda x, y: x - wrap(quotient(x, y) * y)}

def program():   # (fancy lines, plain lines, lines of the included file)
    fancy, plain, consts, lc = [], [], {}, 0
    for k in range(rng.randrange(4, 12)):
        kind = rng.randrange(6)
        if kind == 0: t, consts['C%d' % k] = expr(consts); fancy.append('.equ C%d, %s' % (k, t))
        elif kind == 1:
            name, v = rng.choice(list(consts.items()) or [('7', 7)])
            r = rng.choice(['addi r2, r3, %s', 'sb r4, %s(r5)', 'imm %s'])
            fancy.append(r % name); plain.append(r % hex(v & 0xFFFFFFFF))
            lc += lc % 2 + (2 if r[0] == 'i' or 0 <= v <= 15 else 4)
        elif kind in (2, 3):
            items, values = [], []
            for _ in range(rng.randrange(1, 5)):
                if rng.random() < .4:
                    s = rng.choices(range(1, 256), k=rng.randrange(6))
                    items.append('"%s"' % ''.join(char(c, 34) for c in s)); values += s
                else: t, v = expr(consts); items.append(t); values.append(v & 255)
            fancy.append('.byte ' + ', '.join(items)); lc += len(values)
            plain += ['byte %d' % v for v in values]
        elif kind == 4:
            vs = [expr(consts) for _ in range(rng.randrange(1, 4))]
            fancy.append('.word ' + ', '.join(t for t, _ in vs))
            plain += ['word %d' % (v & 0xFFFF) for _, v in vs]; lc += lc % 2 + 2 * len(vs)
        else:
            n = rng.randrange(5); fancy.append('.org %d + %d' % (lc, n))
            plain += ['byte 0'] * n; lc += n
    cut = rng.randrange(len(fancy) + 1)
    return fancy[:cut] + ['.include "inc/part.s"'], plain, fancy[cut:]

OUTPUTS = ['hex', 'bin', 'prg', 'vhd', 'vlg', 'mem', 'ihx', 'mif', 'coe', 'sym']
def outputs(folder, files):   # exit status, every image output, standard error
    for name, lines in files.items():
        os.makedirs(os.path.dirname(folder + name), exist_ok=True)
        open(folder + name, 'w').write('\n'.join(lines) + '\n')
    run = subprocess.run([vexa] + ['-%s=o.%s' % (k, k) for k in OUTPUTS] + ['p.s'],
                         cwd=folder, capture_output=True, text=True)
    return run.returncode, [run.returncode or open(folder + 'o.' + k, 'rb').read()
                            for k in OUTPUTS], run.stderr

failed = 0
with tempfile.TemporaryDirectory() as scratch:
    for n, (fancy, plain, included) in enumerate(program() for _ in range(count)):
        got = outputs('%s/%d/' % (scratch, n), {'p.s': fancy, 'inc/part.s': included})
        want = outputs('%s/%d/plain/' % (scratch, n), {'p.s': plain})
        if got[0] != 0 or want[0] != 0 or got[1] != want[1]:
            failed += 1
            print('program %d of seed %d differs:\n%s\n--- inc/part.s\n%s\n--- spelled out\n%s\n%s'
                  % (n, seed, '\n'.join(fancy), '\n'.join(included), '\n'.join(plain), got[2]))
print('%d passed, %d failed' % (count - failed, failed))
sys.exit(1 if failed else 0)
