#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace brevandor {

// One row of the LTE turbo interleaver table: block size K and the coefficients of
// π(j) = (f1·j + f2·j²) mod K.
struct LteQppParameters {
  std::int32_t blockSize = 0;  // K
  std::int32_t f1 = 0;
  std::int32_t f2 = 0;
};

// The standard's 188 rows, K = 40 … 6144 in increasing order (3GPP TS 36.212, the turbo
// code internal interleaver parameters table).
extern const std::array<LteQppParameters, 188> kLteQppTable;

// The row of block size K, or nothing when K is not one of the 188 sizes.
std::optional<LteQppParameters> lteQppParameters(std::int32_t blockSize);

}  // namespace brevandor
