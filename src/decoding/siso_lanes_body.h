#pragma once

// The forward-backward pass of the lane kernels (siso_lanes.h), written once over a lane
// traits struct `P` (register width, loads, permutations, arithmetic) and instantiated in one
// file per instruction set. Everything here has internal linkage, so that each such file keeps
// its own copy compiled for its own instruction set. Every operation is a plain single-
// precision addition, subtraction, multiplication, division, comparison or lane move, in an
// order that does not depend on the traits (but for max-log-MAP's largest lane, whose value
// does not depend on the order): the kernels of all sets give the same bits.

#include <cstdint>
#include <limits>

#include "decoding/siso_lanes.h"

#define BREVANDOR_LANE_HOT inline __attribute__((always_inline))

namespace brevandor::lanes {
namespace {

constexpr float kNoPathFloat = -std::numeric_limits<float>::infinity();

// The recursions normalise once every so many sections, as the exact decoder does.
constexpr std::int32_t kNormaliseEvery = 8;

// e^x for −80 ≤ x ≤ 0: x = k·ln 2 + r with |r| ≤ ln 2 / 2, e^r by its polynomial, 2^k from
// its exponent bits. Accurate to a few units of the float's last place.
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec exponential(typename P::Vec x) {
  using V = typename P::Vec;
  // Round x·log2(e) to the nearest integer by adding and subtracting 1.5·2^23.
  const V shifter = P::set1(12582912.0f);
  const V k = P::sub(P::add(P::mul(x, P::set1(1.44269504088896341f)), shifter), shifter);
  V r = P::sub(x, P::mul(k, P::set1(0.693359375f)));
  r = P::sub(r, P::mul(k, P::set1(-2.12194440e-4f)));
  V p = P::set1(1.9875691500e-4f);
  p = P::add(P::mul(p, r), P::set1(1.3981999507e-3f));
  p = P::add(P::mul(p, r), P::set1(8.3334519073e-3f));
  p = P::add(P::mul(p, r), P::set1(4.1665795894e-2f));
  p = P::add(P::mul(p, r), P::set1(1.6666665459e-1f));
  p = P::add(P::mul(p, r), P::set1(5.0000001201e-1f));
  const V er = P::add(P::add(P::mul(P::mul(p, r), r), r), P::set1(1.0f));
  return P::mul(er, P::powerOfTwo(k));
}

// 2·atanh(s) = log((1 + s) / (1 − s)) for 0 ≤ s ≤ 1/3, by its series to s^13.
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec doubleAtanh(typename P::Vec s) {
  const typename P::Vec s2 = P::mul(s, s);
  typename P::Vec series = P::set1(1.0f / 13.0f);
  for (const float c : {1.0f / 11.0f, 1.0f / 9.0f, 1.0f / 7.0f, 1.0f / 5.0f, 1.0f / 3.0f, 1.0f}) {
    series = P::add(P::mul(series, s2), P::set1(c));
  }
  return P::mul(P::add(s, s), series);
}

// log(1 + e^−d) for 0 ≤ d ≤ 80 (d = 80 where the difference was infinite or NaN): log1p(e)
// = 2·atanh(e / (2 + e)).
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec correction(typename P::Vec d) {
  const typename P::Vec e = exponential<P>(P::sub(P::set1(0.0f), d));
  return doubleAtanh<P>(P::div(e, P::add(P::set1(2.0f), e)));
}

// log y for 1 ≤ y < 2^31: y = 2^e · f with 1 ≤ f < 2, log f = 2·atanh((f − 1) / (f + 1)).
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec logarithm(typename P::Vec y) {
  const typename P::Vec f = P::mantissa(y);
  const typename P::Vec s = P::div(P::sub(f, P::set1(1.0f)), P::add(f, P::set1(1.0f)));
  return P::add(P::mul(P::exponent(y), P::set1(0.693147182f)), doubleAtanh<P>(s));
}

// The combination of two path metrics under an algorithm, lane by lane.
template <typename P, SisoAlgorithm Algorithm>
BREVANDOR_LANE_HOT typename P::Vec combine(typename P::Vec a, typename P::Vec b) {
  const typename P::Vec larger = P::max(a, b);
  if constexpr (Algorithm == SisoAlgorithm::MaxLogMap) {
    return larger;
  } else {
    const typename P::Vec d = P::min(P::abs(P::sub(a, b)), P::set1(80.0f));
    return P::add(larger, correction<P>(d));
  }
}

// The lane indices l + step (mod the width), for the reductions across lanes.
template <typename P>
BREVANDOR_LANE_HOT typename P::Idx rotation(std::int32_t step) {
  LaneIndices indices{};
  for (std::int32_t l = 0; l < P::kLanes; ++l) {
    indices[static_cast<std::size_t>(l)] = (l + step) % P::kLanes;
  }
  return P::loadIndices(indices.data());
}

// The tables a kernel reads in every section, loaded once per frame.
template <typename P>
struct LaneTables {
  typename P::Idx enteringFrom[2], enteringLabel[2], next[2], leavingLabel[2];
  typename P::Idx rotations[5];  // by kLanes/2, kLanes/4, …, 1
  typename P::Idx laneZero;
  // Per output bit i and input b: 0 where branch (s, b) sends bit i as `value`, else −∞.
  typename P::Vec keep[2][2][kMostSisoLanes];
  typename P::Vec noStateOutside;  // 0 in the lanes of states, −∞ past them
  // Per output bit i, ±½ in the lane of each label (− where the label sends bit i as 1), and
  // the same for the input bit: a label's metric is ½ Σ ±L over its bits.
  typename P::Vec outputHalf[kMostSisoLanes];
  typename P::Vec inputHalf;

  explicit LaneTables(const LaneTrellis& trellis) {
    for (std::size_t j = 0; j < 2; ++j) {
      enteringFrom[j] = P::loadIndices(trellis.enteringFrom[j].data());
      enteringLabel[j] = P::loadIndices(trellis.enteringLabel[j].data());
      next[j] = P::loadIndices(trellis.next[j].data());
      leavingLabel[j] = P::loadIndices(trellis.leavingLabel[j].data());
    }
    std::int32_t r = 0;
    for (std::int32_t step = P::kLanes / 2; step >= 1; step /= 2) {
      rotations[r++] = rotation<P>(step);
    }
    const LaneIndices zeros{};
    laneZero = P::loadIndices(zeros.data());
    float lanes[kMostSisoLanes];
    for (std::int32_t i = 0; i < trellis.outputBits; ++i) {
      for (std::int32_t b = 0; b < 2; ++b) {
        for (std::int32_t value = 0; value < 2; ++value) {
          for (std::int32_t s = 0; s < P::kLanes; ++s) {
            const auto lane = static_cast<std::size_t>(s);
            const std::int32_t bit =
                (trellis.leavingLabel[static_cast<std::size_t>(b)][lane] >> i) & 1;
            lanes[lane] = s < trellis.states && bit == value ? 0.0f : kNoPathFloat;
          }
          keep[value][b][i] = P::load(lanes);
        }
      }
    }
    for (std::int32_t s = 0; s < P::kLanes; ++s) {
      lanes[s] = s < trellis.states ? 0.0f : kNoPathFloat;
    }
    noStateOutside = P::load(lanes);
    const std::int32_t labels = 2 << trellis.outputBits;
    for (std::int32_t i = 0; i < trellis.outputBits; ++i) {
      for (std::int32_t l = 0; l < P::kLanes; ++l) {
        lanes[l] = l >= labels ? 0.0f : ((l >> i) & 1) != 0 ? -0.5f : 0.5f;
      }
      outputHalf[i] = P::load(lanes);
    }
    for (std::int32_t l = 0; l < P::kLanes; ++l) {
      lanes[l] = l >= labels ? 0.0f : ((l >> trellis.outputBits) & 1) != 0 ? -0.5f : 0.5f;
    }
    inputHalf = P::load(lanes);
  }
};

// The combination of all lanes of v: by rotations through half the lanes, a quarter, …, one,
// after which every lane holds it; the same tree on every set. Log-MAP combines the lanes as
// their largest plus the log of the sum of e^(v − largest), one exponential and one logarithm
// for all lanes instead of one correction per pair.
template <typename P, SisoAlgorithm Algorithm>
BREVANDOR_LANE_HOT float reduce(const LaneTables<P>& tables, typename P::Vec v) {
  typename P::Vec largest = v;
  std::int32_t r = 0;
  for (std::int32_t step = P::kLanes / 2; step >= 1; step /= 2) {
    largest = P::max(largest, P::permute(largest, tables.rotations[r++]));
  }
  if constexpr (Algorithm == SisoAlgorithm::MaxLogMap) {
    return P::first(largest);
  } else {
    // −∞ lanes (and all of them −∞, where v − largest is NaN) count as e^−80.
    typename P::Vec sum = exponential<P>(P::max(P::sub(v, largest), P::set1(-80.0f)));
    r = 0;
    for (std::int32_t step = P::kLanes / 2; step >= 1; step /= 2) {
      sum = P::add(sum, P::permute(sum, tables.rotations[r++]));
    }
    return P::first(P::add(largest, logarithm<P>(sum)));
  }
}

// reduce(a) − reduce(b). The largest of the lanes does not depend on the order in which they
// are compared (but for the sign of a zero), so max-log-MAP takes both maxima at once by the
// set's own reduction (P::largestOfEach) and adds +0 to the difference, which makes −0 into +0
// and leaves every other value as it is; log-MAP's sums keep the fixed tree of `reduce`.
template <typename P, SisoAlgorithm Algorithm>
BREVANDOR_LANE_HOT float reducedDifference(const LaneTables<P>& tables, typename P::Vec a,
                                           typename P::Vec b) {
  if constexpr (Algorithm == SisoAlgorithm::MaxLogMap) {
    float largestA = 0.0f;
    float largestB = 0.0f;
    P::largestOfEach(a, b, largestA, largestB);
    return (largestA - largestB) + 0.0f;
  } else {
    return reduce<P, Algorithm>(tables, a) - reduce<P, Algorithm>(tables, b);
  }
}

// Subtracts lane 0 (state 0, which lies on the all-zero path and so always has one) from
// every lane.
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec normalised(const LaneTables<P>& tables, typename P::Vec v) {
  return P::sub(v, P::permute(v, tables.laneZero));
}

// The channel part of the metrics of every branch label of section t, one per lane: ½ Σ ±L over
// the label's output bits, in bit order. It stays the same through a frame's iterations.
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec channelMetrics(const LaneTables<P>& tables, const LaneJob& job,
                                                  std::size_t n, std::size_t t) {
  const double* channel = job.channel + t * n;
  typename P::Vec sum = P::mul(P::set1(static_cast<float>(channel[0])), tables.outputHalf[0]);
  for (std::size_t i = 1; i < n; ++i) {
    sum = P::add(sum, P::mul(P::set1(static_cast<float>(channel[i])), tables.outputHalf[i]));
  }
  return sum;
}

// The metrics of every branch label of section t: the channel part, then ½ · ±(the section's
// a-priori value).
template <typename P>
BREVANDOR_LANE_HOT typename P::Vec labelMetrics(const LaneTables<P>& tables, const LaneJob& job,
                                                typename P::Vec channelPart, std::size_t t) {
  return P::add(channelPart, P::mul(P::set1(static_cast<float>(job.apriori[t])), tables.inputHalf));
}

// One forward step: α_{t+1} from α_t and section t's label metrics.
template <typename P, SisoAlgorithm Algorithm>
BREVANDOR_LANE_HOT typename P::Vec alphaStep(const LaneTables<P>& tables, typename P::Vec alpha,
                                             typename P::Vec labels, std::size_t t) {
  const typename P::Vec first = P::add(P::permute(alpha, tables.enteringFrom[0]),
                                       P::permute(labels, tables.enteringLabel[0]));
  const typename P::Vec second = P::add(P::permute(alpha, tables.enteringFrom[1]),
                                        P::permute(labels, tables.enteringLabel[1]));
  alpha = combine<P, Algorithm>(first, second);
  return t % kNormaliseEvery == 0 ? normalised(tables, alpha) : alpha;
}

// γ + β_{t+1} of the branch of input b leaving each state, in section t.
template <typename P>
struct Ahead {
  typename P::Vec input0, input1;
};

template <typename P>
BREVANDOR_LANE_HOT Ahead<P> aheadOf(const LaneTables<P>& tables, typename P::Vec labels,
                                    typename P::Vec beta) {
  return {P::add(P::permute(labels, tables.leavingLabel[0]), P::permute(beta, tables.next[0])),
          P::add(P::permute(labels, tables.leavingLabel[1]), P::permute(beta, tables.next[1]))};
}

// One backward step: β_t from section t's branches ahead.
template <typename P, SisoAlgorithm Algorithm>
BREVANDOR_LANE_HOT typename P::Vec betaStep(const LaneTables<P>& tables, const Ahead<P>& ahead,
                                            std::size_t t) {
  const typename P::Vec beta = combine<P, Algorithm>(ahead.input0, ahead.input1);
  return t % kNormaliseEvery == 0 ? normalised(tables, beta) : beta;
}

// Section t's a-posteriori values from α_t and the branches ahead of it.
template <typename P, SisoAlgorithm Algorithm>
BREVANDOR_LANE_HOT void writeApp(const LaneTables<P>& tables, const LaneJob& job, std::size_t n,
                                 std::size_t t, typename P::Vec alpha, const Ahead<P>& ahead) {
  using V = typename P::Vec;
  const V path0 = P::add(alpha, ahead.input0);
  const V path1 = P::add(alpha, ahead.input1);
  job.inputApp[t] = static_cast<double>(reducedDifference<P, Algorithm>(tables, path0, path1));
  if (job.codeApp == nullptr) {
    return;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const V zero = combine<P, Algorithm>(P::add(path0, tables.keep[0][0][i]),
                                         P::add(path1, tables.keep[0][1][i]));
    const V one = combine<P, Algorithm>(P::add(path0, tables.keep[1][0][i]),
                                        P::add(path1, tables.keep[1][1][i]));
    job.codeApp[t * n + i] =
        static_cast<double>(reducedDifference<P, Algorithm>(tables, zero, one));
  }
}

// The forward and the backward recursion run side by side, so that the processor overlaps
// their chains of dependent steps: first α over the first half of the sections and β over the
// second half, both kept; then each goes on into the other half, where the values kept by the
// other give every section's a-posteriori values (the first half's from the backward side, the
// second half's from the forward side). Each α and β is the one a forward pass followed by a
// backward pass would compute, so the values do not depend on the order.
template <typename P, SisoAlgorithm Algorithm>
void runLanes(const LaneTrellis& trellis, const LaneJob& job) {
  using V = typename P::Vec;
  const LaneTables<P> tables(trellis);
  const auto width = static_cast<std::size_t>(P::kLanes);
  const auto sections = static_cast<std::size_t>(job.sections);
  const auto n = static_cast<std::size_t>(trellis.outputBits);
  const auto labelsAt = [&](std::size_t t) { return P::load(job.labelMetric + t * width); };
  if (job.channelKnown) {
    for (std::size_t t = 0; t < sections; ++t) {
      const V channelPart = P::load(job.channelMetric + t * width);
      P::store(job.labelMetric + t * width, labelMetrics(tables, job, channelPart, t));
    }
  } else {
    for (std::size_t t = 0; t < sections; ++t) {
      const V channelPart = channelMetrics(tables, job, n, t);
      P::store(job.channelMetric + t * width, channelPart);
      P::store(job.labelMetric + t * width, labelMetrics(tables, job, channelPart, t));
    }
  }
  // Every frame starts in state 0; a terminated one ends there too.
  float start[kMostSisoLanes];
  for (std::size_t s = 0; s < width; ++s) {
    start[s] = s == 0 ? 0.0f : kNoPathFloat;
  }
  V alpha = P::load(start);
  V beta = job.terminated ? P::load(start) : tables.noStateOutside;
  P::store(job.alpha, alpha);
  P::store(job.beta + sections * width, beta);
  const std::size_t half = sections / 2;
  for (std::size_t i = 0; i < half; ++i) {
    alpha = alphaStep<P, Algorithm>(tables, alpha, labelsAt(i), i);
    P::store(job.alpha + (i + 1) * width, alpha);
    const std::size_t t = sections - 1 - i;
    beta = betaStep<P, Algorithm>(tables, aheadOf(tables, labelsAt(t), beta), t);
    P::store(job.beta + t * width, beta);
  }
  if (sections - half > half) {  // an odd count: the middle section's β, kept
    beta = betaStep<P, Algorithm>(tables, aheadOf(tables, labelsAt(half), beta), half);
  }
  for (std::size_t i = 0; i < sections - half; ++i) {
    const std::size_t t = half + i;  // forward side: sections half … end
    const V labels = labelsAt(t);
    writeApp<P, Algorithm>(tables, job, n, t, alpha,
                           aheadOf(tables, labels, P::load(job.beta + (t + 1) * width)));
    alpha = alphaStep<P, Algorithm>(tables, alpha, labels, t);
    if (i < half) {  // backward side: sections half − 1 … 0
      const std::size_t u = half - 1 - i;
      const Ahead<P> ahead = aheadOf(tables, labelsAt(u), beta);
      writeApp<P, Algorithm>(tables, job, n, u, P::load(job.alpha + u * width), ahead);
      beta = betaStep<P, Algorithm>(tables, ahead, u);
    }
  }
}

// The kernel table of one traits struct.
template <typename P>
LaneSisoKernels kernelsOf(std::string_view name) {
  return {name, P::kLanes, &runLanes<P, SisoAlgorithm::MaxLogMap>,
          &runLanes<P, SisoAlgorithm::LogMap>};
}

}  // namespace
}  // namespace brevandor::lanes
