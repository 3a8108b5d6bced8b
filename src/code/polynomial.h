#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brevandor {

// Error flags of a failed parse; a parse result below zero is their negated sum.
enum PolynomialError : std::int32_t {
  DuplicateTerm = 1,     // an exponent occurs more than once
  IllegalGrammar = 2,    // the text leaves the grammar
  ExponentTooLarge = 4,  // an exponent of two or more digits
};

// Reads a polynomial in D over GF(2) with exponents 0 to 9, such as "1+D+D^2" or "1+D2".
// Returns the coefficient bitmask (bit n is the coefficient of D^n, 1 … 1023), 0 when the
// text holds no term, or the negated error flags of the first failing item (−1 … −7).
std::int32_t parsePolynomial(std::string_view text);

// The log line for a failed parse; `flags` is the negated parse result (0: no term).
std::string polynomialMessage(std::int32_t flags);

// The canonical text of a polynomial mask, terms in increasing degree: 7 → "1+D+D^2",
// 5 → "1+D^2", 2 → "D"; "0" for the mask 0. parsePolynomial reads it back to the same mask.
std::string polynomialText(std::int32_t mask);

// 0 … 9 for the characters '0' … '9', −1 for every other character.
std::int32_t digitValue(char character);

}  // namespace brevandor
