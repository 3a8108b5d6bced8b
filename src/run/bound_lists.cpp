#include "run/bound_lists.h"

#include "bounds/bound_catalogue.h"

namespace brevandor {

namespace {

// The option names of one catalogue, separated by ", ".
template <typename Catalogue>
std::string joinedOptions(const Catalogue& catalogue, std::string_view lastSeparator = ", ") {
  std::string text;
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    if (i > 0) {
      text += i + 1 == catalogue.size() ? lastSeparator : std::string_view(", ");
    }
    text += catalogue[i].option;
  }
  return text;
}

// Adds the bound called `name` to `selection`; false when no bound has that name.
bool selectByName(std::string_view name, BoundSelection& selection) {
  if (name == "all") {
    selection.ber |= kAllBerBounds;
    return true;
  }
  for (const auto& entry : kBoundCatalogue) {
    if (entry.option == name) {
      selection.ber.insert(entry.bit);
      return true;
    }
  }
  for (const auto& entry : kFurtherBoundCatalogue) {
    if (entry.option == name) {
      selection.further.insert(entry.bit);
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<BoundSelection> parseBoundList(std::string_view list) {
  if (list == "none") {
    return BoundSelection{};
  }
  if (list.empty() || list.back() == ',') {
    return std::nullopt;
  }
  BoundSelection selection;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    if (!selectByName(list.substr(start, comma - start), selection)) {
      return std::nullopt;
    }
    start = comma + 1;
  }
  return selection;
}

std::string furtherBoundListText(FurtherBoundSet bounds) {
  std::string text;
  for (const auto& entry : kFurtherBoundCatalogue) {
    if (bounds.contains(entry.bit)) {
      text += text.empty() ? "" : ",";
      text += entry.option;
    }
  }
  return text;
}

std::string unknownBoundListMessage(std::string_view list) {
  return "unknown list '" + std::string(list) + "' (use " + joinedOptions(kBoundCatalogue) + ", " +
         joinedOptions(kFurtherBoundCatalogue) + ", all (" +
         joinedOptions(kBoundCatalogue, " and ") + ") separated by commas, or none)";
}

std::string boundListHelp() {
  return "Bounds to evaluate, separated by commas: " + joinedOptions(kBoundCatalogue) +
         " (section \"BER Bounds\"); " + joinedOptions(kFurtherBoundCatalogue) +
         " (section \"Further Bounds\"); all (" + joinedOptions(kBoundCatalogue) + "); none";
}

}  // namespace brevandor
