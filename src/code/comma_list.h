#pragma once

#include <string_view>
#include <vector>

namespace brevandor {

// The items of a comma-separated text, as typed (blanks kept, empty items included):
// "11,10,01" → {"11", "10", "01"}; a text without a comma is one item.
std::vector<std::string_view> splitAtCommas(std::string_view text);

}  // namespace brevandor
