#pragma once

// The part of every packet traits struct (simd_packet_avx2.h, simd_packet_avx512.h) that
// names no instruction: its width and how it meets the end of a row. (The vector types stay
// in the traits themselves: as template arguments they would lose their attributes.)

#include <cstddef>

// The packet operations and the helpers built on them make up the bodies of the row loops:
// they must be inlined there, or every call passes its vectors through memory.
#define BREVANDOR_HOT inline __attribute__((always_inline))
// The same for the lambdas that forEachPacket runs: a row loop's body, called for whole
// packets and for the row's end, which the compiler would otherwise leave out of line.
#define BREVANDOR_HOT_LAMBDA __attribute__((always_inline))

namespace brevandor::simd {
namespace {

// A packet of kLanes lanes. With kMasked the last cells of a row go through the vector code
// in masked lanes; without it they go to the scalar code, and `lanes` arguments (bit masks
// of the lanes in use) are always every lane.
template <std::size_t kLanes, bool kMasked>
struct PacketShape {
  static constexpr std::size_t kWidth = kLanes;
  static constexpr unsigned kAllLanes = (1u << kLanes) - 1u;
  static constexpr bool kMaskedTail = kMasked;

  // The bits of the first `count` lanes, all of them from kWidth on.
  BREVANDOR_HOT static unsigned firstLanes(std::size_t count) {
    return count >= kWidth ? kAllLanes : (1u << count) - 1u;
  }
};

}  // namespace
}  // namespace brevandor::simd
