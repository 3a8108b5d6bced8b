#pragma once

#include <array>
#include <string_view>

#include "bounds/bound_kinds.h"

namespace brevandor {

// The names of one bound, wherever the program shows or reads it: its bit, the name in bound
// lists (--bounds, Advanced Setup), the column head of the results file and the record, a
// one-line description (help, tool tips, the section's list of bounds) and the title in
// legends and the Options dialog.
template <typename Bound>
struct BoundNames {
  Bound bit;
  std::string_view option;   // "q"
  std::string_view column;   // "UB_Q"
  std::string_view meaning;  // "union bound on the bit error rate, each term with Q"
  std::string_view title;    // "Union Bound (Q function)"
};

// Every bound of the "BER Bounds" section, in the order of its columns.
inline constexpr std::array<BoundNames<BerBound>, 3> kBoundCatalogue{{
    {BerBound::UnionQ, "q", "UB_Q",
     "the union bound on the bit error rate, each term with the Gaussian tail function Q",
     "Union Bound (Q function)"},
    {BerBound::UnionExp, "exp", "UB_Exp",
     "the union bound in its exponential (Chernoff) form: simpler and a little looser",
     "Union Bound (Exp)"},
    {BerBound::Viterbi, "viterbi", "IUB_Exp",
     "an improved union bound, tighter at low signal-to-noise ratios", "Viterbi Bound"},
}};

// Every bound of the "Further Bounds" section, in the order of its bits and columns.
inline constexpr std::array<BoundNames<FurtherBound>, kFurtherBoundCount> kFurtherBoundCatalogue{{
    {FurtherBound::UnionWordQ, "ub-word", "UB_Q_Word", "union bound, word error, Q function",
     "Word Union Bound (Q function)"},
    {FurtherBound::UnionWordExp, "exp-word", "UB_Exp_Word",
     "union bound, word error, exponential form", "Word Union Bound (Exp)"},
    {FurtherBound::TangentialSphereBit, "tsb", "TSB_Bit", "tangential-sphere bound, bit error",
     "Tangential-Sphere Bound (bit)"},
    {FurtherBound::TangentialSphereWord, "tsb-word", "TSB_Word",
     "tangential-sphere bound, word error", "Tangential-Sphere Bound (word)"},
    {FurtherBound::SimpleBit, "simple", "Simple_Bit", "simple bound, bit error",
     "Simple Bound (bit)"},
    {FurtherBound::SimpleWord, "simple-word", "Simple_Word", "simple bound, word error",
     "Simple Bound (word)"},
    {FurtherBound::SpherePackingWord, "sphere", "Sphere_Word",
     "sphere-packing lower bound, word error of any code with the same n and K",
     "Sphere-Packing Bound (word)"},
}};

using FurtherBoundInfo = BoundNames<FurtherBound>;

// The further bounds' names in the order of their bits.
constexpr const std::array<FurtherBoundInfo, kFurtherBoundCount>& furtherBoundInfos() {
  return kFurtherBoundCatalogue;
}

}  // namespace brevandor
