#!/usr/bin/env python3
"""Exact highest-weight row of a parallel turbo code's spectrum over a uniform interleaver.

Written from the code's polynomials alone (a shift-register encoder, exact integers and
fractions), independently of the program. For every input weight w, each constituent's
largest parity weight P(w) of a terminated codeword (tail bits and their parities counted as
parity) and the number M(w) of codewords that reach it, by a max-plus recursion over the
trellis that carries the number of paths of the largest weight. The largest codeword weight
is d = max over w of w + 2 P(w), and

    A_d = sum over the w with w + 2 P(w) = d of M(w)^2 / C(N, w)
    B_d = the same with each term times w / N.

These counts lie far below 10^-308 from about N = 1100 on (N = 2000: d = 5338, A_d about
1.1e-551), where no double holds them.

Usage: exact_top_weight.py N [numerator denominator]   (masks, default 7 5: 1+D+D^2 over 1+D^2)
Prints d, A_d and B_d to 12 significant digits, and log10 of each.
"""
import sys
from fractions import Fraction
from math import comb, log10


def parity_bit(mask, value):
    return bin(mask & value).count("1") & 1


def largest_parities(n, numerator, denominator):
    """P(w) and M(w) for w = 0 ... n (None where no terminated codeword has weight w)."""
    memory = max(numerator.bit_length(), denominator.bit_length()) - 1
    states = 1 << memory
    feedback_taps = denominator >> 1

    def step(state, bit):
        feedback = (bit ^ parity_bit(feedback_taps, state)) & 1
        parity = ((numerator & 1) & feedback) ^ parity_bit(numerator >> 1, state)
        return ((state << 1) | feedback) & (states - 1), parity

    transitions = [[step(s, bit) for bit in (0, 1)] for s in range(states)]
    # best[s][w]: the largest parity of a path from state 0 to s with input weight w (None:
    # no path); count[s][w]: how many paths reach it.
    best = [[None] * (n + 1) for _ in range(states)]
    count = [[0] * (n + 1) for _ in range(states)]
    best[0][0], count[0][0] = 0, 1
    for section in range(n):
        new_best = [[None] * (n + 1) for _ in range(states)]
        new_count = [[0] * (n + 1) for _ in range(states)]
        for s in range(states):
            row_best, row_count = best[s], count[s]
            for bit in (0, 1):
                nxt, parity = transitions[s][bit]
                target_best, target_count = new_best[nxt], new_count[nxt]
                for w in range(section + 1):
                    b = row_best[w]
                    if b is None:
                        continue
                    value, to = b + parity, w + bit
                    current = target_best[to]
                    if current is None or value > current:
                        target_best[to], target_count[to] = value, row_count[w]
                    elif value == current:
                        target_count[to] += row_count[w]
        best, count = new_best, new_count
    largest = [None] * (n + 1)
    paths = [0] * (n + 1)
    for s in range(states):
        # The tail: `memory` sections whose input zeroes the feedback; all their bits count.
        tail_weight, state = 0, s
        for _ in range(memory):
            bit = parity_bit(feedback_taps, state)
            state, parity = step(state, bit)
            tail_weight += bit + parity
        assert state == 0
        for w in range(n + 1):
            if best[s][w] is None:
                continue
            value = best[s][w] + tail_weight
            if largest[w] is None or value > largest[w]:
                largest[w], paths[w] = value, count[s][w]
            elif value == largest[w]:
                paths[w] += count[s][w]
    return largest, paths


def top_row(n, numerator=7, denominator=5):
    largest, paths = largest_parities(n, numerator, denominator)
    weights = {w: w + 2 * largest[w] for w in range(1, n + 1) if largest[w] is not None}
    top = max(weights.values())
    codewords = Fraction(0)
    weighted = Fraction(0)
    for w, d in weights.items():
        if d == top:
            term = Fraction(paths[w] * paths[w], comb(n, w))
            codewords += term
            weighted += term * Fraction(w, n)
    return top, codewords, weighted


def log10_of(value):
    return log10(value.numerator) - log10(value.denominator)


def decimal(value):
    """value in scientific notation to 12 significant digits, whatever its magnitude."""
    exponent = len(str(value.numerator)) - len(str(value.denominator))
    scaled = value / Fraction(10) ** exponent
    while scaled >= 10:
        scaled, exponent = scaled / 10, exponent + 1
    while scaled < 1:
        scaled, exponent = scaled * 10, exponent - 1
    digits = round(scaled * 10**11)
    if digits >= 10**12:
        digits, exponent = digits // 10, exponent + 1
    text = str(digits)
    return f"{text[0]}.{text[1:]}e{exponent:+03d}"


def main():
    n = int(sys.argv[1])
    masks = [int(x) for x in sys.argv[2:4]] or [7, 5]
    d, a, b = top_row(n, *masks)
    print(f"{d} {decimal(a)} {decimal(b)} {log10_of(a):.15f} {log10_of(b):.15f}")


if __name__ == "__main__":
    main()
