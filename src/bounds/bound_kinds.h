#pragma once

#include <cstdint>

#include "bounds/bound_set.h"

namespace brevandor {

// The bounds of the "BER Bounds" section, each one bit of a selection.
enum class BerBound : std::uint32_t {
  UnionQ = 1,    // "Union Bound (Q function)", column "UB_Q"
  UnionExp = 2,  // "Union Bound (Exp)", column "UB_Exp"
  Viterbi = 4,   // "Viterbi Bound", column "IUB_Exp"
};
using BerBoundSet = BoundSet<BerBound>;
// The three bounds of the section, as "all" names them.
inline constexpr BerBoundSet kAllBerBounds{BerBound::UnionQ, BerBound::UnionExp, BerBound::Viterbi};

// The bounds of the "Further Bounds" section, each one bit of a selection. Word-error bounds
// read the codeword spectrum A_d, bit-error bounds the weighted spectrum B_d.
enum class FurtherBound : std::uint32_t {
  UnionWordQ = 1,            // "ub-word": union bound with the Q function
  UnionWordExp = 2,          // "exp-word": its exponential form
  TangentialSphereBit = 4,   // "tsb"
  TangentialSphereWord = 8,  // "tsb-word"
  SimpleBit = 16,            // "simple"
  SimpleWord = 32,           // "simple-word"
  SpherePackingWord = 64,    // "sphere": lower bound for any code with the same n and K
};
inline constexpr std::int32_t kFurtherBoundCount = 7;
using FurtherBoundSet = BoundSet<FurtherBound>;

}  // namespace brevandor
