#include "logmath/simd_log_add.h"

#include <algorithm>

#include "logmath/fold_rows_scalar.h"
#include "logmath/log_domain.h"
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
#include "logmath/simd_log_add_avx2.h"
#include "logmath/simd_log_add_avx512.h"
#include "logmath/simd_log_add_double_avx2.h"
#include "logmath/simd_log_add_double_avx512.h"
#endif

namespace brevandor {

namespace {

template <typename Cell>
constexpr Cell kLogZeroCell = static_cast<Cell>(LogZero);

template <typename Cell>
void sumPairsPortable(Cell* dst, const Cell* a, const Cell* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    dst[i] = static_cast<Cell>(logAdd(a[i], b[i]));
  }
}

template <typename Cell>
void addTermsPortable(Cell* acc, const Cell* src, std::size_t count, double x, double y) {
  for (std::size_t i = 0; i < count; ++i) {
    if (src[i] != kLogZeroCell<Cell>) {
      acc[i] = static_cast<Cell>(logAdd(acc[i], (x + src[i]) - y));
    }
  }
}

template <typename Cell>
void addTermsAbovePortable(Cell* acc, const Cell* src, const Cell* floor, std::size_t count,
                           double x, double y) {
  for (std::size_t i = 0; i < count; ++i) {
    if (src[i] == kLogZeroCell<Cell>) {
      continue;
    }
    const double term = (x + src[i]) - y;
    if (term >= floor[i]) {
      acc[i] = static_cast<Cell>(logAdd(acc[i], term));
    }
  }
}

template <typename Cell>
void accumulatePortable(double* acc, const Cell* src, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    acc[i] = logAdd(acc[i], src[i]);
  }
}

template <typename Cell>
void maxTermsPortable(Cell* best, const Cell* src, std::size_t count, Cell x) {
  for (std::size_t i = 0; i < count; ++i) {
    if (src[i] != kLogZeroCell<Cell>) {
      best[i] = std::max(best[i], x + src[i]);
    }
  }
}

template <typename Cell>
const BasicLogAddRowKernels<Cell>& portableKernels() {
  static const BasicLogAddRowKernels<Cell> kernels{"portable",
                                                   sumPairsPortable<Cell>,
                                                   addTermsPortable<Cell>,
                                                   addTermsAbovePortable<Cell>,
                                                   accumulatePortable<Cell>,
                                                   simd::foldRowsScalar<Cell>,
                                                   maxTermsPortable<Cell>};
  return kernels;
}

#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
// The processor's support, asked in code compiled for any x86-64 before anything compiled
// for AVX2 or AVX-512 runs.
bool runsAvx2() {
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

bool runsAvx512() {
  return runsAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
}
#endif

// The widest of the given sets, else the portable one.
template <typename Cell>
const BasicLogAddRowKernels<Cell>& widest(const BasicLogAddRowKernels<Cell>* avx512,
                                          const BasicLogAddRowKernels<Cell>* avx2) {
  if (avx512 != nullptr) {
    return *avx512;
  }
  return avx2 != nullptr ? *avx2 : portableKernels<Cell>();
}

}  // namespace

const LogAddRowKernels& portableLogAddKernels() {
  return portableKernels<float>();
}

const LogAddRowKernels* avx2LogAddKernels() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if (runsAvx2()) {
    return &avx2LogAddKernelsUnchecked();
  }
#endif
  return nullptr;
}

const LogAddRowKernels* avx512LogAddKernels() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if (runsAvx512()) {
    return &avx512LogAddKernelsUnchecked();
  }
#endif
  return nullptr;
}

const LogAddRowKernels& logAddKernels() {
  static const LogAddRowKernels& chosen = widest(avx512LogAddKernels(), avx2LogAddKernels());
  return chosen;
}

const DoubleLogAddRowKernels& portableDoubleLogAddKernels() {
  return portableKernels<double>();
}

const DoubleLogAddRowKernels* avx2DoubleLogAddKernels() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if (runsAvx2()) {
    return &avx2DoubleLogAddKernelsUnchecked();
  }
#endif
  return nullptr;
}

const DoubleLogAddRowKernels* avx512DoubleLogAddKernels() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if (runsAvx512()) {
    return &avx512DoubleLogAddKernelsUnchecked();
  }
#endif
  return nullptr;
}

const DoubleLogAddRowKernels& doubleLogAddKernels() {
  static const DoubleLogAddRowKernels& chosen =
      widest(avx512DoubleLogAddKernels(), avx2DoubleLogAddKernels());
  return chosen;
}

}  // namespace brevandor
