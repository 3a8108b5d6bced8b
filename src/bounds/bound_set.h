#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>

namespace brevandor {

// A selection among the bounds of one section. `Bound` is an enum class whose enumerators are
// distinct bits (1, 2, 4, …); the set holds one bit per selected bound.
template <typename Bound>
class BoundSet {
 public:
  constexpr BoundSet() = default;
  constexpr BoundSet(std::initializer_list<Bound> bounds) {
    for (const Bound bound : bounds) {
      insert(bound);
    }
  }

  // The set whose bits are `bits`, as record files and benchmarks spell a selection.
  static constexpr BoundSet fromBits(std::uint32_t bits) {
    BoundSet set;
    set.bits_ = bits;
    return set;
  }
  constexpr std::uint32_t bits() const { return bits_; }

  constexpr bool contains(Bound bound) const { return (bits_ & bitOf(bound)) != 0; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr int size() const { return std::popcount(bits_); }
  constexpr void insert(Bound bound) { bits_ |= bitOf(bound); }
  constexpr BoundSet& operator|=(BoundSet other) {
    bits_ |= other.bits_;
    return *this;
  }
  // The bounds of this set that `other` does not hold.
  constexpr BoundSet without(BoundSet other) const { return fromBits(bits_ & ~other.bits_); }
  // The bounds both sets hold.
  constexpr BoundSet within(BoundSet other) const { return fromBits(bits_ & other.bits_); }
  friend constexpr bool operator==(BoundSet, BoundSet) = default;

 private:
  static constexpr std::uint32_t bitOf(Bound bound) { return static_cast<std::uint32_t>(bound); }

  std::uint32_t bits_ = 0;
};

}  // namespace brevandor
