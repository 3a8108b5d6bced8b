#pragma once

#include <iterator>
#include <optional>
#include <string_view>
#include <type_traits>

namespace brevandor {

// Lookups in a table of pairs of a value and its name, as options and files spell it.

// The name of `value` in `table`, or `otherwise` where the table lacks it.
template <typename Table, typename Value>
std::string_view nameIn(const Table& table, Value value, std::string_view otherwise) {
  for (const auto& [known, name] : table) {
    if (known == value) {
      return name;
    }
  }
  return otherwise;
}

// The value that `name` spells in `table`, or none.
template <typename Table>
auto valueNamed(const Table& table, std::string_view name) {
  using Value = std::remove_cvref_t<decltype(std::begin(table)->first)>;
  for (const auto& [value, known] : table) {
    if (known == name) {
      return std::optional<Value>(value);
    }
  }
  return std::optional<Value>();
}

}  // namespace brevandor
