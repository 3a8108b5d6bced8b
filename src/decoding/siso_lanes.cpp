#include "decoding/siso_lanes.h"

#include <cmath>
#include <cstring>

#include "decoding/siso_lanes_body.h"
#include "decoding/siso_lanes_sets.h"

namespace brevandor {

namespace {

// Lanes as plain arrays: every operation a loop over the lanes, with the comparisons of the
// vector instructions (max(a, b) is a > b ? a : b, min(a, b) is a < b ? a : b), so that these
// kernels and the vector ones agree bit for bit.
template <std::int32_t kWidth>
struct PortableLanes {
  static constexpr std::int32_t kLanes = kWidth;
  struct Vec {
    float lane[kWidth];
  };
  struct Idx {
    std::int32_t lane[kWidth];
  };

  template <typename Op>
  static Vec each(Op op) {
    Vec v;
    for (std::int32_t l = 0; l < kWidth; ++l) {
      v.lane[l] = op(l);
    }
    return v;
  }
  static Vec load(const float* p) {
    return each([p](std::int32_t l) { return p[l]; });
  }
  static void store(float* p, const Vec& v) { std::memcpy(p, v.lane, sizeof v.lane); }
  static Vec set1(float x) {
    return each([x](std::int32_t) { return x; });
  }
  static Idx loadIndices(const std::int32_t* p) {
    Idx indices;
    std::memcpy(indices.lane, p, sizeof indices.lane);
    return indices;
  }
  static Vec add(const Vec& a, const Vec& b) {
    return each([&](std::int32_t l) { return a.lane[l] + b.lane[l]; });
  }
  static Vec sub(const Vec& a, const Vec& b) {
    return each([&](std::int32_t l) { return a.lane[l] - b.lane[l]; });
  }
  static Vec mul(const Vec& a, const Vec& b) {
    return each([&](std::int32_t l) { return a.lane[l] * b.lane[l]; });
  }
  static Vec div(const Vec& a, const Vec& b) {
    return each([&](std::int32_t l) { return a.lane[l] / b.lane[l]; });
  }
  static Vec max(const Vec& a, const Vec& b) {
    return each([&](std::int32_t l) { return a.lane[l] > b.lane[l] ? a.lane[l] : b.lane[l]; });
  }
  static Vec min(const Vec& a, const Vec& b) {
    return each([&](std::int32_t l) { return a.lane[l] < b.lane[l] ? a.lane[l] : b.lane[l]; });
  }
  static Vec abs(const Vec& a) {
    return each([&](std::int32_t l) { return std::fabs(a.lane[l]); });
  }
  static Vec permute(const Vec& v, const Idx& indices) {
    return each([&](std::int32_t l) { return v.lane[indices.lane[l]]; });
  }
  static float first(const Vec& v) { return v.lane[0]; }
  // The largest lane of a and of b.
  static void largestOfEach(const Vec& a, const Vec& b, float& largestA, float& largestB) {
    largestA = a.lane[0];
    largestB = b.lane[0];
    for (std::int32_t l = 1; l < kWidth; ++l) {
      largestA = a.lane[l] > largestA ? a.lane[l] : largestA;
      largestB = b.lane[l] > largestB ? b.lane[l] : largestB;
    }
  }
  // The exponent e of a positive normal y = 2^e · f (as a float) and its f in [1, 2).
  static Vec exponent(const Vec& y) {
    return each([&](std::int32_t l) {
      std::uint32_t bits = 0;
      std::memcpy(&bits, &y.lane[l], sizeof bits);
      return static_cast<float>(static_cast<std::int32_t>(bits >> 23) - 127);
    });
  }
  static Vec mantissa(const Vec& y) {
    return each([&](std::int32_t l) {
      std::uint32_t bits = 0;
      std::memcpy(&bits, &y.lane[l], sizeof bits);
      bits = (bits & 0x007fffffu) | 0x3f800000u;
      float value = 0.0f;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    });
  }
  // 2^k for integral k in −126 … 127, from its exponent bits.
  static Vec powerOfTwo(const Vec& k) {
    return each([&](std::int32_t l) {
      const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(k.lane[l]) + 127)
                        << 23;
      float value = 0.0f;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    });
  }
};

#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
// The processor's support, asked in code compiled for any x86-64.
bool runsAvx2() {
  return __builtin_cpu_supports("avx2") != 0;
}

bool runsAvx512() {
  return runsAvx2() && __builtin_cpu_supports("avx512f") != 0;
}
#endif

}  // namespace

const LaneSisoKernels& portableLaneSisoKernels(std::int32_t lanes) {
  static const LaneSisoKernels eight = lanes::kernelsOf<PortableLanes<8>>("portable");
  static const LaneSisoKernels sixteen = lanes::kernelsOf<PortableLanes<16>>("portable");
  return lanes <= 8 ? eight : sixteen;
}

const LaneSisoKernels* vectorLaneSisoKernels(std::int32_t lanes) {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if (lanes <= 8) {
    return runsAvx2() ? &avx2LaneSisoKernelsUnchecked() : nullptr;
  }
  return runsAvx512() ? &avx512LaneSisoKernelsUnchecked() : nullptr;
#else
  (void)lanes;
  return nullptr;
#endif
}

const LaneSisoKernels& laneSisoKernels(std::int32_t lanes) {
  static const LaneSisoKernels* const eight = vectorLaneSisoKernels(8);
  static const LaneSisoKernels* const sixteen = vectorLaneSisoKernels(16);
  const LaneSisoKernels* chosen = lanes <= 8 ? eight : sixteen;
  return chosen != nullptr ? *chosen : portableLaneSisoKernels(lanes);
}

}  // namespace brevandor
