#pragma once

#include "code/code_description.h"
#include "code/conv_code.h"
#include "code/polynomial.h"

namespace brevandor::testing {

// The description of the systematic code ( 1, numerator / denominator ); the polynomials
// must be valid.
inline CodeDescription describeOrDie(const char* numerator, const char* denominator) {
  return describeCode(parsePolynomial(numerator), parsePolynomial(denominator))
      .description.value();
}

// The main window's default code, "1+D+D^2" over "1+D^2".
inline CodeDescription defaultCode() { return describeOrDie("1+D+D^2", "1+D^2"); }

}  // namespace brevandor::testing
