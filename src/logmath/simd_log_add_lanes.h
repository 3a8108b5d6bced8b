#pragma once

// The double-precision log-add of one packet of lanes, written once over the packet traits
// (simd_packet_avx2.h, simd_packet_avx512.h) and shared by the kernels of both table
// precisions, in the files compiled for an instruction set with its traits. Everything here
// has internal linkage, so that every file compiled for an instruction set keeps its own copy.

#include <cstddef>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add_constants.h"
#include "logmath/simd_packet_shape.h"

namespace brevandor::simd {
namespace {

// c(δ) = log10(1 + 10^(−δ)) + m for δ = m − n ≥ 0, to about 3e-16 absolute plus the
// rounding of the final sum. 10^(−δ) = 2^k · e^r with |r| ≤ ln2/2; log10(1 + y) through
// 2·atanh(u)/ln10 with |u| ≤ 3 − 2√2 (the argument halved when y > √2 − 1).
template <typename P>
BREVANDOR_HOT typename P::Vector logAddCore(typename P::Vector m, typename P::Vector delta) {
  using V = typename P::Vector;
  // NaN (both arguments −inf) and huge differences both become kMaxDelta.
  delta = P::min(delta, P::set1(kMaxDelta));
  const V x = P::mul(delta, P::set1(-kLn10));
  const V k = P::roundToNearest(P::mul(x, P::set1(kLog2e)));
  V r = P::fnmadd(k, P::set1(kLn2Hi), x);
  r = P::fnmadd(k, P::set1(kLn2Lo), r);
  // e^r by its Taylor series to degree 11: relative error below 7e-15 for |r| ≤ 0.347.
  V p = P::set1(1.0 / 39916800.0);
  p = P::fmadd(p, r, P::set1(1.0 / 3628800.0));
  p = P::fmadd(p, r, P::set1(1.0 / 362880.0));
  p = P::fmadd(p, r, P::set1(1.0 / 40320.0));
  p = P::fmadd(p, r, P::set1(1.0 / 5040.0));
  p = P::fmadd(p, r, P::set1(1.0 / 720.0));
  p = P::fmadd(p, r, P::set1(1.0 / 120.0));
  p = P::fmadd(p, r, P::set1(1.0 / 24.0));
  p = P::fmadd(p, r, P::set1(1.0 / 6.0));
  p = P::fmadd(p, r, P::set1(0.5));
  p = P::fmadd(p, r, P::set1(1.0));
  p = P::fmadd(p, r, P::set1(1.0));
  // k ≥ −133, so the scaled value stays normal.
  const V y = P::scaleByPowerOfTwo(p, k);

  const auto big = P::greater(y, P::set1(kSqrt2Minus1));
  const V oneIfBig = P::zeroUnless(big, P::set1(1.0));
  const V u = P::div(P::sub(y, oneIfBig), P::add(P::add(y, P::set1(2.0)), oneIfBig));
  const V u2 = P::mul(u, u);
  // 2·atanh(u)/ln10 = u · Σ 2 u^(2i) / ((2i + 1) ln10), i = 0 … 8.
  constexpr double c = 2.0 / kLn10;
  V q = P::set1(c / 17.0);
  q = P::fmadd(q, u2, P::set1(c / 15.0));
  q = P::fmadd(q, u2, P::set1(c / 13.0));
  q = P::fmadd(q, u2, P::set1(c / 11.0));
  q = P::fmadd(q, u2, P::set1(c / 9.0));
  q = P::fmadd(q, u2, P::set1(c / 7.0));
  q = P::fmadd(q, u2, P::set1(c / 5.0));
  q = P::fmadd(q, u2, P::set1(c / 3.0));
  q = P::fmadd(q, u2, P::set1(c));
  return P::add(m, P::fmadd(u, q, P::zeroUnless(big, P::set1(kLog10Of2))));
}

// The lanes of a log-add of a packet of pairs, sorted before any arithmetic: the larger
// argument m and the difference δ, the lanes that copy an argument (logAdd's rule for
// LogZero: the other one, whose copy m holds there), those left to logAdd itself (its powers of
// ten would be subnormal), and those already settled (a copy, or δ beyond `negligible`).
template <typename P>
struct SortedLanes {
  typename P::Vector m;
  typename P::Vector delta;
  typename P::Mask copied;
  unsigned deferred;
  typename P::Mask settled;
};

template <typename P>
BREVANDOR_HOT SortedLanes<P> sortLanes(typename P::Vector a, typename P::Vector b,
                                       double negligible) {
  const auto logZero = P::set1(LogZero);
  const auto aZero = P::equal(a, logZero);
  const auto bZero = P::equal(b, logZero);
  const auto copied = P::either(aZero, bZero);
  const auto larger = P::max(a, b);
  // Where an argument is LogZero the other one, even a count below LogZero.
  const auto m = P::select(aZero, b, P::select(bZero, a, larger));
  const unsigned deferred = P::bits(P::butNot(P::less(m, P::set1(kSubnormalLimit)), copied));
  const auto delta = P::sub(larger, P::min(a, b));
  const auto settled = P::either(copied, P::greater(delta, P::set1(negligible)));
  return {m, delta, copied, deferred, settled};
}

// logAdd(a, b) in double for a packet: the results, the lanes that copy an argument, and
// the lanes (`deferred`, a bit mask) whose results logAdd itself must give.
template <typename P>
struct LaneSums {
  typename P::Vector value;
  typename P::Mask copied;
  unsigned deferred;
};

// The transcendental work is skipped when every lane is settled.
template <typename P>
BREVANDOR_HOT LaneSums<P> logAddLanes(typename P::Vector a, typename P::Vector b,
                                      double negligible = kNegligibleDelta) {
  const SortedLanes<P> lanes = sortLanes<P>(a, b, negligible);
  if (P::bits(lanes.settled) == P::kAllLanes) {
    return {lanes.m, lanes.copied, lanes.deferred};
  }
  return {P::select(lanes.copied, lanes.m, logAddCore<P>(lanes.m, lanes.delta)), lanes.copied,
          lanes.deferred};
}

// The sum with its deferred lanes given by logAdd from the operands a and b.
template <typename P>
inline typename P::Vector withDeferredLanes(const LaneSums<P>& sum, typename P::Vector a,
                                            typename P::Vector b) {
  alignas(64) double values[P::kWidth];
  alignas(64) double first[P::kWidth];
  alignas(64) double second[P::kWidth];
  P::store(values, P::kAllLanes, sum.value);
  P::store(first, P::kAllLanes, a);
  P::store(second, P::kAllLanes, b);
  for (unsigned rest = sum.deferred; rest != 0; rest &= rest - 1) {
    const auto index = static_cast<unsigned>(__builtin_ctz(rest));
    values[index] = logAdd(first[index], second[index]);
  }
  return P::load(values, P::kAllLanes, 0.0);
}

// The sum as it is stored in the `lanes` (a bit mask): its deferred lanes among them given by
// logAdd from the operands a and b.
template <typename P>
BREVANDOR_HOT typename P::Vector finished(const LaneSums<P>& sum, unsigned lanes,
                                          typename P::Vector a, typename P::Vector b) {
  return (sum.deferred & lanes) != 0 ? withDeferredLanes(sum, a, b) : sum.value;
}

// Rounds a packet of double results to float where the rounding is certain, that is where the
// whole interval in which logAdd's own result can lie rounds to one float. Copied lanes are
// taken as they are; deferred lanes are never certain.
template <typename P>
struct RoundedLanes {
  typename P::Floats value;
  unsigned certain;
};

template <typename P>
BREVANDOR_HOT RoundedLanes<P> roundCertain(const LaneSums<P>& sum) {
  const auto slack =
      P::zeroWhere(sum.copied, P::fmadd(P::abs(sum.value), P::set1(kRoundingSlackRelative),
                                        P::set1(kRoundingSlackAbsolute)));
  const auto low = P::toFloats(P::sub(sum.value, slack));
  const auto high = P::toFloats(P::add(sum.value, slack));
  return {low, P::equalBits(low, high) & ~sum.deferred};
}

// Runs `block(i, lanes)` over the row's packets (lanes: a bit mask of the cells it holds)
// and, where the packets have no masked tail, `cell(i)` over the cells after the last whole
// packet.
template <typename P, typename Block, typename Single>
BREVANDOR_HOT void forEachPacket(std::size_t count, Block block, Single cell) {
  std::size_t i = 0;
  for (; i + P::kWidth <= count; i += P::kWidth) {
    block(i, P::kAllLanes);
  }
  if constexpr (P::kMaskedTail) {
    if (i < count) {
      block(i, P::firstLanes(count - i));
    }
  } else {
    for (; i < count; ++i) {
      cell(i);
    }
  }
}

}  // namespace
}  // namespace brevandor::simd
