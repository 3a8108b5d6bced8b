#include "logmath/simd_log_add.h"

#include <algorithm>

#include "logmath/fold_rows_scalar.h"
#include "logmath/log_domain.h"
#include "logmath/simd_log_add_sets.h"

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

enum class VectorSet { Avx2, Avx512 };

// The vector set where this build has it and this processor runs it, else null.
template <typename Cell, VectorSet kSet>
const BasicLogAddRowKernels<Cell>* whereRuns() {
#if defined(BREVANDOR_HAVE_AVX2_KERNELS)
  if constexpr (kSet == VectorSet::Avx512) {
    return runsAvx512() ? &avx512RowKernelsUnchecked<Cell>() : nullptr;
  } else {
    return runsAvx2() ? &avx2RowKernelsUnchecked<Cell>() : nullptr;
  }
#else
  return nullptr;
#endif
}

}  // namespace

template <typename Cell>
const BasicLogAddRowKernels<Cell>& portableRowKernels() {
  static const BasicLogAddRowKernels<Cell> kernels{"portable",
                                                   sumPairsPortable<Cell>,
                                                   addTermsPortable<Cell>,
                                                   addTermsAbovePortable<Cell>,
                                                   accumulatePortable<Cell>,
                                                   simd::foldRowsScalar<Cell>,
                                                   maxTermsPortable<Cell>};
  return kernels;
}

template <typename Cell>
const BasicLogAddRowKernels<Cell>* avx2RowKernels() {
  return whereRuns<Cell, VectorSet::Avx2>();
}

template <typename Cell>
const BasicLogAddRowKernels<Cell>* avx512RowKernels() {
  return whereRuns<Cell, VectorSet::Avx512>();
}

namespace {

// The widest set this processor runs, else the portable one.
template <typename Cell>
const BasicLogAddRowKernels<Cell>& widest() {
  for (const BasicLogAddRowKernels<Cell>* set :
       {avx512RowKernels<Cell>(), avx2RowKernels<Cell>()}) {
    if (set != nullptr) {
      return *set;
    }
  }
  return portableRowKernels<Cell>();
}

}  // namespace

template <typename Cell>
const BasicLogAddRowKernels<Cell>& rowKernels() {
  static const BasicLogAddRowKernels<Cell>& chosen = widest<Cell>();
  return chosen;
}

template const LogAddRowKernels& portableRowKernels<float>();
template const DoubleLogAddRowKernels& portableRowKernels<double>();
template const LogAddRowKernels* avx2RowKernels<float>();
template const DoubleLogAddRowKernels* avx2RowKernels<double>();
template const LogAddRowKernels* avx512RowKernels<float>();
template const DoubleLogAddRowKernels* avx512RowKernels<double>();
template const LogAddRowKernels& rowKernels<float>();
template const DoubleLogAddRowKernels& rowKernels<double>();

}  // namespace brevandor
