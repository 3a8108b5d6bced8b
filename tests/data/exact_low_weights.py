#!/usr/bin/env python3
"""Exact low-weight distance spectrum of a parallel turbo code over a uniform interleaver.

Written from the code's polynomials alone (a shift-register encoder, exact integers and
fractions), independently of the program: the constituent counts A(w, p) of terminated
codewords with input weight w and parity weight p (tail bits and their parities counted as
parity) for p, w <= D, then

    A_d = sum over w, p1 + p2 = d - w of A(w, p1) A(w, p2) / C(N, w)
    B_d = the same with each term times w / N.

Usage: exact_low_weights.py N D [numerator denominator]   (masks, default 7 5: 1+D+D^2 over 1+D^2)
Prints one line per weight d <= D: d, A_d and B_d to 12 significant digits, and log10 of each.
"""
import sys
from fractions import Fraction
from math import comb, log10


def parity_bit(mask, value):
    return bin(mask & value).count("1") & 1


def constituent_counts(n, limit, numerator, denominator):
    memory = max(numerator.bit_length(), denominator.bit_length()) - 1
    states = 1 << memory
    feedback_taps = denominator >> 1

    def step(state, bit):
        feedback = (bit ^ parity_bit(feedback_taps, state)) & 1
        parity = ((numerator & 1) & feedback) ^ parity_bit(numerator >> 1, state)
        return ((state << 1) | feedback) & (states - 1), parity

    # counts[state][(w, p)] after each section, weights above `limit` dropped.
    counts = [dict() for _ in range(states)]
    counts[0][(0, 0)] = 1
    for _ in range(n):
        following = [dict() for _ in range(states)]
        for state in range(states):
            for (w, p), count in counts[state].items():
                for bit in (0, 1):
                    nxt, parity = step(state, bit)
                    key = (w + bit, p + parity)
                    if key[0] <= limit and key[1] <= limit:
                        following[nxt][key] = following[nxt].get(key, 0) + count
        counts = following
    table = {}
    for state in range(states):
        # The tail: `memory` sections whose input zeroes the feedback; all their bits count.
        tail_weight, s = 0, state
        for _ in range(memory):
            bit = parity_bit(feedback_taps, s)
            s, parity = step(s, bit)
            tail_weight += bit + parity
        assert s == 0
        for (w, p), count in counts[state].items():
            key = (w, p + tail_weight)
            if key[1] <= limit:
                table[key] = table.get(key, 0) + count
    return table


def spectrum(n, limit, numerator=7, denominator=5):
    table = constituent_counts(n, limit, numerator, denominator)
    codewords = [Fraction(0)] * (limit + 1)
    weighted = [Fraction(0)] * (limit + 1)
    for (w1, p1), c1 in table.items():
        for (w2, p2), c2 in table.items():
            d = w1 + p1 + p2
            if w1 != w2 or w1 == 0 or d > limit:
                continue
            term = Fraction(c1 * c2, comb(n, w1))
            codewords[d] += term
            weighted[d] += term * Fraction(w1, n)
    return codewords, weighted


def main():
    n, limit = int(sys.argv[1]), int(sys.argv[2])
    masks = [int(x) for x in sys.argv[3:5]] or [7, 5]
    codewords, weighted = spectrum(n, limit, *masks)
    for d in range(limit + 1):
        a, b = codewords[d], weighted[d]
        la = log10(a.numerator) - log10(a.denominator) if a else float("-inf")
        lb = log10(b.numerator) - log10(b.denominator) if b else float("-inf")
        print(f"{d} {float(a):.12e} {float(b):.12e} {la:.15f} {lb:.15f}")


if __name__ == "__main__":
    main()
