#!/usr/bin/env python3
"""Exact average spectra of small punctured and asymmetric turbo codes over the uniform
interleaver, in rational arithmetic, written from the encoder equations alone (no trellis,
no logarithms). Prints the lowest non-zero weights of each spectrum as fractions; the
golden values of tests/turbo/punctured_spectrum_test.cpp come from here.

    python3 tests/data/exact_spectra.py
"""
from fractions import Fraction
from math import comb


def poly(text):
    """Bitmask of a polynomial in D such as "1+D+D^2" (bit i: coefficient of D^i)."""
    mask = 0
    for term in text.split("+"):
        mask |= 1 if term == "1" else 1 << (1 if term == "D" else int(term[2:]))
    return mask


def parity(x):
    return bin(x).count("1") & 1


class Encoder:
    """( 1, num/den ) recursive systematic encoder: w = u + Σ d_i w(t−i), p = Σ a_i w(t−i)."""

    def __init__(self, num, den):
        self.num, self.den = poly(num), poly(den)
        self.memory = max(self.num, self.den).bit_length() - 1

    def step(self, state, u):
        w = u ^ parity((self.den >> 1) & state)
        p = (self.num & 1 & w) ^ parity((self.num >> 1) & state)
        return ((state << 1) | w) & ((1 << self.memory) - 1), p

    def tail_weight(self, state):
        weight = 0
        for _ in range(self.memory):
            u = parity((self.den >> 1) & state)  # makes the feedback 0
            state, p = self.step(state, u)
            weight += u + p
        return weight


def sent(row, t):
    return row[t % len(row)] == "1"


def cwef_by_words(encoder, n, sys_row, par_row):
    """{(w, d): count} over all 2^n input words; d counts the sent systematic bits (sys_row
    None: not counted), the sent parity bits and the whole tail."""
    table = {}
    for word in range(1 << n):
        state, d = 0, 0
        for t in range(n):
            u = (word >> t) & 1
            state, p = encoder.step(state, u)
            d += (u if sys_row and sent(sys_row, t) else 0) + (p if sent(par_row, t) else 0)
        d += encoder.tail_weight(state)
        key = (bin(word).count("1"), d)
        table[key] = table.get(key, 0) + 1
    return table


def cwef_by_states(encoder, n, sys_row, par_row):
    """The same counts by a forward sweep over the encoder states (for long inner frames)."""
    paths = {0: {(0, 0): 1}}
    for t in range(n):
        nxt = {}
        for state, counts in paths.items():
            for u in (0, 1):
                s2, p = encoder.step(state, u)
                add = (u if sys_row and sent(sys_row, t) else 0) + (p if sent(par_row, t) else 0)
                bucket = nxt.setdefault(s2, {})
                for (w, d), c in counts.items():
                    key = (w + u, d + add)
                    bucket[key] = bucket.get(key, 0) + c
        paths = nxt
    table = {}
    for state, counts in paths.items():
        tail = encoder.tail_weight(state)
        for (w, d), c in counts.items():
            table[(w, d + tail)] = table.get((w, d + tail), 0) + c
    return table


def parallel(n, enc1, enc2, pattern):
    sys_row, par1, par2 = pattern.split(",")
    # With every systematic bit sent the input weight is added once, outside the tables.
    sys_counted = "0" in sys_row
    a1 = cwef_by_words(enc1, n, sys_row if sys_counted else None, par1)
    a2 = cwef_by_words(enc2, n, None, par2)
    spectrum = {}
    for (w, d1), c1 in a1.items():
        for (w2, d2), c2 in a2.items():
            if w2 != w or w == 0:
                continue
            d = d1 + d2 + (0 if sys_counted else w)
            a, b = spectrum.get(d, (0, 0))
            term = Fraction(c1 * c2, comb(n, w))
            spectrum[d] = (a + term, b + term * Fraction(w, n))
    return spectrum


def serial(n, outer, inner, outer_pattern, inner_pattern):
    o_sys, o_par = outer_pattern.split(",")
    i_sys, i_par = inner_pattern.split(",")
    a_out = cwef_by_words(outer, n, o_sys, o_par)
    length = sum(sent(o_sys, t) + sent(o_par, t) for t in range(n)) + 2 * outer.memory
    a_in = cwef_by_states(inner, length, i_sys, i_par)
    spectrum = {}
    for (w, v), c1 in a_out.items():
        if w == 0:
            continue
        for (v2, d), c2 in a_in.items():
            if v2 != v:
                continue
            a, b = spectrum.get(d, (0, 0))
            term = Fraction(c1 * c2, comb(length, v))
            spectrum[d] = (a + term, b + term * Fraction(w, n))
    return spectrum


DEFAULT = ("1+D+D^2", "1+D^2")
SWAPPED = ("1+D^2", "1+D+D^2")
CASES = [
    ("rate-1/2 PCCC 11,10,01", lambda n: parallel(n, Encoder(*DEFAULT), Encoder(*DEFAULT), "11,10,01")),
    ("PCCC 10,11,11", lambda n: parallel(n, Encoder(*DEFAULT), Encoder(*DEFAULT), "10,11,11")),
    ("asymmetric PCCC", lambda n: parallel(n, Encoder(*DEFAULT), Encoder(*SWAPPED), "1,1,1")),
    ("SCCC outer 11,10", lambda n: serial(n, Encoder(*DEFAULT), Encoder(*DEFAULT), "11,10", "1,1")),
]

if __name__ == "__main__":
    for name, spectrum_of in CASES:
        for n in (12, 16):
            spectrum = spectrum_of(n)
            total = sum(a for a, _ in spectrum.values())
            print(f"{name}, N = {n}: sum {total} (2^N - 1 = {2**n - 1})")
            for d in sorted(spectrum)[:3]:
                a, b = spectrum[d]
                print(f"  d = {d}: A = {a} = {float(a):.12g}, B = {b} = {float(b):.12g}")
