#!/usr/bin/env python3
"""Independent high-precision values of the further bounds, for the tables in the tests.

Reads a spectrum file (header d,log10_A,log10_B) and prints, for each Eb/N0 in dB, the
natural logs of: the union bound (word: A, bit: B), the tangential-sphere bound (word, bit),
the simple bound (word, bit) and the sphere-packing bound. Everything is evaluated with
mpmath at 20 digits, straight from the textbook forms, in the original units (codeword
energy Es = 1 per symbol, noise standard deviation sigma), with none of the program's
rearrangements:

  * tangential-sphere bound: the double integral over the radial noise z1 and the noise z2
    towards each codeword, nested mpmath quadratures, the incomplete gamma functions from
    mpmath.gammainc; the cone radius from the equation
        sum_k C_k int_0^theta_k sin^(n-3)(phi) dphi = sqrt(pi) Gamma((n-2)/2) / Gamma((n-1)/2)
    with the sine integrals by quadrature (not through the incomplete beta function);
  * simple bound: the exponent E(c, delta, beta) maximised over beta numerically (golden
    section in 30 digits), not by the closed-form optimum;
  * sphere packing: the cone half-angle from the solid-angle ratio by quadrature of
    sin^(n-2), and the probability of leaving the cone as a quadrature over the radial noise.

Usage: further_bounds_reference.py [--rule=24] SPECTRUM.csv n K DB[,DB...] [bounds]
  bounds: comma list of union,tsb,simple,sphere (default all); --rule: Gauss-Legendre points
  per piece of the tangential-sphere integrals (6, 12, 24 or 48).
Slow by design (minutes per point for n = 308).
"""
import sys
import mpmath as mp

mp.mp.dps = 20

# Gauss-Legendre rules of fixed size on pieces short enough for smooth integrands (checked by
# doubling the rule: the values agree to 15 digits); mpmath's adaptive quadrature gives the
# same values at n = 56 but takes hours at n = 308.
_RULES = {}


def gauss_legendre(f, cuts, size=24):
    if size not in _RULES:
        from mpmath.calculus.quadrature import GaussLegendre
        degree = {6: 2, 12: 3, 24: 4, 48: 5}[size]
        _RULES[size] = GaussLegendre(mp.mp).calc_nodes(degree, mp.mp.prec)
    nodes = _RULES[size]
    total = mp.mpf(0)
    for lo, hi in zip(cuts[:-1], cuts[1:]):
        half, mid = (hi - lo) / 2, (hi + lo) / 2
        total += half * mp.fsum(w * f(mid + half * x) for x, w in nodes)
    return total


RULE = 24


def read_spectrum(path):
    rows = open(path).read().split()
    header = rows[0].split(',')
    col = {name: i for i, name in enumerate(header)}
    a, b = {}, {}
    for line in rows[1:]:
        f = line.split(',')
        d = int(f[col['d']])
        a[d] = mp.power(10, mp.mpf(f[col['log10_A']]))
        b[d] = mp.power(10, mp.mpf(f[col['log10_B']]))
    return a, b


def gauss_tail(x):
    return mp.erfc(x / mp.sqrt(2)) / 2


def union(counts, c):
    return mp.fsum(cnt * gauss_tail(mp.sqrt(2 * d * c)) for d, cnt in counts.items() if d > 0)


def sine_power_integral(power, theta):
    """The integral of sin^power over [0, theta], theta <= pi/2: the integrand grows by e over
    about 1/(power cot theta) below theta, so the quadrature is split there."""
    rate = power * mp.cos(theta) / mp.sin(theta) + 1
    cuts = [mp.mpf(0)] + [theta - m / rate for m in (256, 64, 16, 8, 4, 2, 1, 0.5, 0.25)
                          if theta - m / rate > 0]
    return mp.quad(lambda p: mp.sin(p) ** power, cuts + [theta], maxdegree=10)


def full_sine_power_integral(power):
    """The integral of sin^power over [0, pi] (Wallis)."""
    return mp.sqrt(mp.pi) * mp.gamma(mp.mpf(power + 1) / 2) / mp.gamma(mp.mpf(power) / 2 + 1)


def tsb_radius(counts, n):
    """Cone radius r (Es = 1 units) from the radius equation, by bisection on r."""
    rhs = full_sine_power_integral(n - 3)

    def lhs(r):
        total = mp.mpf(0)
        for k, cnt in counts.items():
            if 0 < k < n and mp.sqrt(k) < r * mp.sqrt(1 - mp.mpf(k) / n):
                theta = mp.acos(mp.sqrt(k) / (r * mp.sqrt(1 - mp.mpf(k) / n)))
                total += cnt * sine_power_integral(n - 3, theta)
        return total

    lo, hi = mp.mpf('1e-3'), mp.mpf(1)
    while lhs(hi) < rhs:
        lo, hi = hi, hi * 2
    for _ in range(60):
        mid = (lo + hi) / 2
        if lhs(mid) < rhs:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


def tsb(counts, n, c, r):
    sigma = 1 / mp.sqrt(2 * c)
    root_n = mp.sqrt(n)
    a1, a2 = mp.mpf(n - 1) / 2, mp.mpf(n - 2) / 2
    cone = [(k, cnt) for k, cnt in counts.items()
            if 0 < k < n and mp.sqrt(k) < r * mp.sqrt(1 - mp.mpf(k) / n)]

    def density(x):
        return mp.exp(-x * x / (2 * sigma * sigma)) / (mp.sqrt(2 * mp.pi) * sigma)

    def given_z1(z1):
        scale = 1 - z1 / root_n
        rz = scale * r
        total = mp.gammainc(a1, rz * rz / (2 * sigma * sigma), mp.inf, regularized=True)
        inner = lambda z2: density(z2) * mp.gammainc(
            a2, 0, (rz * rz - z2 * z2) / (2 * sigma * sigma), regularized=True)
        for k, cnt in cone:
            beta = scale * mp.sqrt(k) / mp.sqrt(1 - mp.mpf(k) / n)
            # A term below 1e-22 of the total so far (bounded by its largest integrand value
            # times the whole Gaussian tail) cannot show in 17 digits: left out.
            ceiling = cnt * gauss_tail(beta / sigma) * mp.gammainc(
                a2, 0, (rz * rz - beta * beta) / (2 * sigma * sigma), regularized=True)
            if ceiling < mp.mpf('1e-22') * total:
                continue
            # The integrand falls fast above beta: split where it has fallen by e^-1, e^-4 ...
            decay = max(beta / (sigma * sigma), 1 / sigma)
            cuts = [beta] + [beta + m / decay for m in (1, 4, 16, 64)] + [rz]
            cuts = sorted(set(min(x, rz) for x in cuts))
            total += cnt * gauss_legendre(inner, cuts, RULE)
        return density(z1) * total

    # Outer pieces one sigma wide where the Gaussian factor lives (|z1| < 12 sigma), wider
    # beyond, from -40 sigma (where the factor is below e^-800) up to the sphere's radius. A
    # piece is left out when even its largest Gaussian factor times a ceiling of the bracket
    # (1 plus the union of the pairwise tails at the piece's top, where the tails are widest)
    # stays below 1e-22 of the rest.
    cuts = [-40] + list(range(-12, 13)) + [14, 18, 26, 42, 74, 138]
    points = sorted(set([sigma * c for c in cuts if sigma * c < root_n] + [root_n]))
    pieces = []
    for lo, hi in zip(points[:-1], points[1:]):
        scale = 1 - hi / root_n
        ceiling = 1 + mp.fsum(cnt * gauss_tail(scale * mp.sqrt(k) / mp.sqrt(1 - mp.mpf(k) / n)
                                               / sigma) for k, cnt in cone)
        nearest = 0 if lo <= 0 <= hi else min(abs(lo), abs(hi))
        pieces.append(((hi - lo) * density(nearest) * ceiling, lo, hi))
    pieces.sort(reverse=True)
    total = gauss_tail(root_n / sigma)
    for bound, lo, hi in pieces:
        if bound < mp.mpf('1e-22') * total:
            break
        total += gauss_legendre(given_z1, [lo, hi], RULE)
    return total


def simple(counts, n, c):
    total = mp.mpf(0)
    for d, cnt in counts.items():
        if d <= 0:
            continue
        union_term = cnt * gauss_tail(mp.sqrt(2 * d * c))
        delta = mp.mpf(d) / n
        r = mp.log(cnt) / n
        if r <= 0 or d >= n:
            total += union_term
            continue
        c0 = (1 - mp.exp(-2 * r)) * (1 - delta) / (2 * delta)
        if c <= c0:
            total += union_term
            continue

        def exponent(beta):
            return (-r + mp.log(beta + (1 - beta) * mp.exp(2 * r)) / 2
                    + beta * delta * c / (1 - (1 - beta) * delta))

        lo, hi = mp.mpf(0), mp.mpf(1)
        g = (mp.sqrt(5) - 1) / 2
        for _ in range(160):
            x1, x2 = hi - g * (hi - lo), lo + g * (hi - lo)
            if exponent(x1) > exponent(x2):
                hi = x2
            else:
                lo = x1
        beta = (lo + hi) / 2
        if beta > 1 - mp.mpf('1e-20'):
            total += union_term
            continue
        total += min(mp.exp(-n * exponent(beta)), union_term)
    return total


def upper_gamma(a, x):
    """Q(a, x); by quadrature of the gamma density where mpmath's series give up (a ~ 15000)."""
    try:
        return mp.gammainc(a, x, mp.inf, regularized=True)
    except mp.libmp.libhyper.NoConvergence:
        log_density = lambda t: (a - 1) * mp.log(t) - t - mp.loggamma(a)
        spread = mp.sqrt(a)
        cuts = [x] + [a + m * spread for m in range(-40, 41, 4) if a + m * spread > x]
        cuts.append(mp.inf)
        return mp.quad(lambda t: mp.exp(log_density(t)), cuts)


def sphere_packing(n, k, c):
    root = mp.sqrt(2 * n * c)
    if k == 1:
        return gauss_tail(root)
    share = mp.mpf(2) ** (-k)
    full = full_sine_power_integral(n - 2)
    lo, hi = mp.mpf(0), mp.pi / 2
    for _ in range(200):
        mid = (lo + hi) / 2
        if sine_power_integral(n - 2, mid) / full < share:
            lo = mid
        else:
            hi = mid
    tan2 = mp.tan((lo + hi) / 2) ** 2
    a1 = mp.mpf(n - 1) / 2
    outside = lambda v: mp.npdf(v, root, 1) * upper_gamma(a1, v * v * tan2 / 2)
    # The integrand peaks below the sent word's length where the cone narrows it; pieces of
    # half a unit around its peak (found by golden sections on its log) and wider ones beyond.
    log_outside = lambda v: mp.log(outside(v)) if outside(v) > 0 else -mp.inf
    lo, hi = mp.mpf(0), root + 10
    g = (mp.sqrt(5) - 1) / 2
    for _ in range(100):
        x1, x2 = hi - g * (hi - lo), lo + g * (hi - lo)
        if log_outside(x1) > log_outside(x2):
            hi = x2
        else:
            lo = x1
    peak = (lo + hi) / 2
    cuts = [peak + m / 2 for m in range(-24, 25)] + [peak + m for m in (16, 24, 40)]
    points = sorted(set([mp.mpf(0)] + [c for c in cuts if c > 0] + [mp.inf]))
    return gauss_tail(root) + mp.quad(outside, points)


def main():
    global RULE
    if sys.argv[1].startswith('--rule='):
        RULE = int(sys.argv.pop(1)[7:])
    path, n, k, dbs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    which = sys.argv[5].split(',') if len(sys.argv) > 5 else ['union', 'tsb', 'simple', 'sphere']
    a, b = read_spectrum(path)
    rate = mp.mpf(k) / n
    radii = {}
    if 'tsb' in which:
        radii = {'word': tsb_radius(a, n), 'bit': tsb_radius(b, n)}
        print('# radius/sqrt(n): word %s bit %s' % (mp.nstr(radii['word'] / mp.sqrt(n), 17),
                                                   mp.nstr(radii['bit'] / mp.sqrt(n), 17)))
    for db in dbs.split(','):
        c = rate * mp.power(10, mp.mpf(db) / 10)
        values = []
        if 'union' in which:
            values += [('union_word', union(a, c)), ('union_bit', union(b, c))]
        if 'tsb' in which:
            values += [('tsb_word', tsb(a, n, c, radii['word'])),
                       ('tsb_bit', tsb(b, n, c, radii['bit']))]
        if 'simple' in which:
            values += [('simple_word', simple(a, n, c)), ('simple_bit', simple(b, n, c))]
        if 'sphere' in which:
            values += [('sphere', sphere_packing(n, k, c))]
        print(db, ' '.join('%s=%s' % (name, mp.nstr(mp.log(v), 17)) for name, v in values),
              flush=True)


if __name__ == '__main__':
    main()
