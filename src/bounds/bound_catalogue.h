#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "bounds/ber_bounds.h"

namespace brevandor {

// The names of one bound: its selection bit, the command line's name, the results file's
// column head and the Options dialog's title.
struct BoundNames {
  std::int32_t bit;
  std::string_view option;  // "q"
  std::string_view column;  // "UB_Q"
  std::string_view title;   // "Union Bound (Q function)"
};

// Every bound of the "BER Bounds" section, in the order of its columns.
inline constexpr std::array<BoundNames, 3> kBoundCatalogue{{
    {UnionBoundQ, "q", "UB_Q", "Union Bound (Q function)"},
    {UnionBoundExp, "exp", "UB_Exp", "Union Bound (Exp)"},
    {ViterbiBound, "viterbi", "IUB_Exp", "Viterbi Bound"},
}};

}  // namespace brevandor
