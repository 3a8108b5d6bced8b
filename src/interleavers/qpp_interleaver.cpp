#include "interleavers/qpp_interleaver.h"

#include <string>

#include "interleavers/lte_qpp_table.h"

namespace brevandor {

PermutationOutcome qppPermutation(std::int32_t length, std::int64_t f1, std::int64_t f2) {
  const std::string name = "qpp:" + std::to_string(f1) + "," + std::to_string(f2);
  if (length < 1) {
    return PermutationOutcome::refused(name + ": the frame has no positions");
  }
  Permutation result;
  result.indices.resize(static_cast<std::size_t>(length));
  // Reduced before multiplying, so that nothing overflows for any frame length of the program.
  const std::int64_t n = length;
  const std::int64_t a = ((f1 % n) + n) % n;
  const std::int64_t b = ((f2 % n) + n) % n;
  for (std::int64_t j = 0; j < n; ++j) {
    const std::int64_t square = (j * j) % n;
    result.indices[static_cast<std::size_t>(j)] =
        static_cast<std::int32_t>((a * j + (b * square) % n) % n);
  }
  if (!isPermutation(result.indices)) {
    return PermutationOutcome::refused(
        name + " is not a permutation of N = " + std::to_string(length) + " positions");
  }
  return {std::move(result), {}};
}

PermutationOutcome ltePermutation(std::int32_t length) {
  const std::optional<LteQppParameters> row = lteQppParameters(length);
  if (!row) {
    return PermutationOutcome::refused(
        "lte: N = " + std::to_string(length) +
        " is not one of the LTE block sizes (40 … 512 in steps of 8, … 1024 by 16, … 2048 by "
        "32, … 6144 by 64)");
  }
  return qppPermutation(length, row->f1, row->f2);
}

}  // namespace brevandor
