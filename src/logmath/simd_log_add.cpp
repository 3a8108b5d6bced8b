#include "logmath/simd_log_add.h"

#include <algorithm>

#include "logmath/log_domain.h"
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
#include "logmath/simd_log_add_avx2.h"
#include "logmath/simd_log_add_avx512.h"
#endif

namespace brevandor {

namespace {

constexpr float kLogZeroF = static_cast<float>(LogZero);

void sumPairsPortable(float* dst, const float* a, const float* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    dst[i] = static_cast<float>(logAdd(a[i], b[i]));
  }
}

void addTermsPortable(float* acc, const float* src, std::size_t count, double x, double y) {
  for (std::size_t i = 0; i < count; ++i) {
    if (src[i] != kLogZeroF) {
      acc[i] = static_cast<float>(logAdd(acc[i], (x + src[i]) - y));
    }
  }
}

void addTermsAbovePortable(float* acc, const float* src, const float* floor, std::size_t count,
                           double x, double y) {
  for (std::size_t i = 0; i < count; ++i) {
    if (src[i] == kLogZeroF) {
      continue;
    }
    const double term = (x + src[i]) - y;
    if (term >= floor[i]) {
      acc[i] = static_cast<float>(logAdd(acc[i], term));
    }
  }
}

void accumulatePortable(double* acc, const float* src, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    acc[i] = logAdd(acc[i], src[i]);
  }
}

void foldRowsPortable(double* sums, const float* const* rows, std::size_t rowCount,
                      std::size_t columns, const double* shift) {
  for (std::size_t r = 0; r < rowCount; ++r) {
    double sum = sums[r];
    for (std::size_t c = 0; c < columns; ++c) {
      sum = logAdd(sum, shift != nullptr ? shift[c] + rows[r][c] : rows[r][c]);
    }
    sums[r] = sum;
  }
}

void maxTermsPortable(float* best, const float* src, std::size_t count, float x) {
  for (std::size_t i = 0; i < count; ++i) {
    if (src[i] != kLogZeroF) {
      best[i] = std::max(best[i], x + src[i]);
    }
  }
}

}  // namespace

const LogAddRowKernels& portableLogAddKernels() {
  static const LogAddRowKernels kernels{
      "portable",         sumPairsPortable, addTermsPortable, addTermsAbovePortable,
      accumulatePortable, foldRowsPortable, maxTermsPortable};
  return kernels;
}

const LogAddRowKernels* avx2LogAddKernels() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  // Asked here, in code compiled for any x86-64, before anything compiled for AVX2 runs.
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {
    return &avx2LogAddKernelsUnchecked();
  }
#endif
  return nullptr;
}

const LogAddRowKernels* avx512LogAddKernels() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if (avx2LogAddKernels() != nullptr && __builtin_cpu_supports("avx512f") &&
      __builtin_cpu_supports("avx512vl")) {
    return &avx512LogAddKernelsUnchecked();
  }
#endif
  return nullptr;
}

const LogAddRowKernels& logAddKernels() {
  static const LogAddRowKernels& chosen = []() -> const LogAddRowKernels& {
    if (const LogAddRowKernels* avx512 = avx512LogAddKernels()) {
      return *avx512;
    }
    const LogAddRowKernels* avx2 = avx2LogAddKernels();
    return avx2 != nullptr ? *avx2 : portableLogAddKernels();
  }();
  return chosen;
}

}  // namespace brevandor
