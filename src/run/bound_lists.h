#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bounds/bound_kinds.h"

namespace brevandor {

// The bounds one list names, in both sections.
struct BoundSelection {
  BerBoundSet ber;          // "BER Bounds": q, exp, viterbi
  FurtherBoundSet further;  // "Further Bounds": ub-word, exp-word, tsb, tsb-word, …
};

// A bound list as --bounds and the Advanced Setup take it: the catalogue's names separated by
// commas (no blanks, no empty names), "all" for the three bounds of the "BER Bounds" section,
// or "none" alone. Nothing when a name is unknown.
std::optional<BoundSelection> parseBoundList(std::string_view list);

// The list of the further bounds in `bounds`, in catalogue order ("" when there are none).
std::string furtherBoundListText(FurtherBoundSet bounds);

// Why a list is refused: "unknown list '…' (use q, exp, …, or none)".
std::string unknownBoundListMessage(std::string_view list);

// The names a list may hold, by section, for the command line's help.
std::string boundListHelp();

}  // namespace brevandor
