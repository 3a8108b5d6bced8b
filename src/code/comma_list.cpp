#include "code/comma_list.h"

namespace brevandor {

std::vector<std::string_view> splitAtCommas(std::string_view text) {
  std::vector<std::string_view> items;
  while (true) {
    const std::size_t comma = text.find(',');
    items.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) {
      return items;
    }
    text.remove_prefix(comma + 1);
  }
}

}  // namespace brevandor
