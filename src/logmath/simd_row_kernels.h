#pragma once

// The row kernels written once over the packet traits: every kernel of double-precision
// tables, and the kernels of single-precision tables whose work is the double log-add
// (accumulate, foldRows) or plain float arithmetic (maxTerms), instantiated in the files
// compiled for an instruction set with its traits. Everything here has internal linkage, so
// that every such file keeps its own copy.
//
// Every result is logAdd's to within a couple of ulps; lanes whose powers of ten logAdd would
// form as subnormals (the larger argument below −300), and with packets that have no masked
// tail the last cells of a row, are left to logAdd itself.

#include <algorithm>
#include <cstddef>
#include <limits>

#include "logmath/fold_rows_scalar.h"
#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"
#include "logmath/simd_log_add_lanes.h"

namespace brevandor::simd {
namespace {

// dst[i] = logAdd(a[i], b[i]) in double, b of either cell type; dst may be a. `sum` gives
// the LaneSums of two packets (logAddLanes, or a set's own log-add of the same contract).
template <typename P, typename Cell, typename Sum>
BREVANDOR_HOT void sumPairsRowWith(double* dst, const double* a, const Cell* b, std::size_t count,
                                   Sum sum) {
  forEachPacket<P>(
      count,
      [&](std::size_t i, unsigned lanes) BREVANDOR_HOT_LAMBDA {
        const auto va = P::load(a + i, lanes, LogZero);
        const auto vb = P::load(b + i, lanes, LogZero);
        P::store(dst + i, lanes, finished(sum(va, vb), lanes, va, vb));
      },
      [&](std::size_t i) BREVANDOR_HOT_LAMBDA { dst[i] = logAdd(a[i], b[i]); });
}

template <typename P, typename Cell>
void sumPairsRow(double* dst, const double* a, const Cell* b, std::size_t count) {
  using V = typename P::Vector;
  sumPairsRowWith<P>(dst, a, b, count,
                     [](V x, V y) BREVANDOR_HOT_LAMBDA { return logAddLanes<P>(x, y); });
}

template <typename P, typename Cell>
void accumulateRow(double* acc, const Cell* src, std::size_t count) {
  sumPairsRow<P>(acc, acc, src, count);
}

// acc[i] = logAdd(acc[i], (x + src[i]) − y) where src[i] is not LogZero (and, with a floor,
// the term is not below floor[i]); `sum` as in sumPairsRowWith.
template <typename P, bool kWithFloor, typename Sum>
BREVANDOR_HOT void addTermsRowWith(double* acc, const double* src, const double* floor,
                                   std::size_t count, double x, double y, Sum sum) {
  const auto vx = P::set1(x);
  const auto vy = P::set1(y);
  const auto logZero = P::set1(LogZero);
  forEachPacket<P>(
      count,
      [&](std::size_t i, unsigned lanes) BREVANDOR_HOT_LAMBDA {
        const auto vs = P::load(src + i, lanes, LogZero);
        auto take = P::within(P::notEqual(vs, logZero), lanes);
        if (P::bits(take) == 0) {
          return;
        }
        const auto term = P::sub(P::add(vx, vs), vy);
        if constexpr (kWithFloor) {
          take = P::both(take, P::notLess(term, P::load(floor + i, P::bits(take), LogZero)));
          if (P::bits(take) == 0) {
            return;
          }
        }
        const auto before = P::load(acc + i, P::bits(take), LogZero);
        P::storeWhere(acc + i, take, finished(sum(before, term), P::bits(take), before, term));
      },
      [&](std::size_t i) BREVANDOR_HOT_LAMBDA {
        if (src[i] == LogZero) {
          return;
        }
        const double term = (x + src[i]) - y;
        if (!kWithFloor || term >= floor[i]) {
          acc[i] = logAdd(acc[i], term);
        }
      });
}

template <typename P, bool kWithFloor>
void addTermsRow(double* acc, const double* src, const double* floor, std::size_t count, double x,
                 double y) {
  using V = typename P::Vector;
  addTermsRowWith<P, kWithFloor>(acc, src, floor, count, x, y, [](V a, V b) BREVANDOR_HOT_LAMBDA {
    return logAddLanes<P>(a, b);
  });
}

// The signature of addTermsAbove, with which every kernel set also makes its addTerms.
template <typename Cell>
using AddTermsRow = void (*)(Cell*, const Cell*, const Cell*, std::size_t, double, double);

// addTerms from a row function of addTermsAbove's signature that takes a null floor as none.
template <typename Cell, AddTermsRow<Cell> kRow>
void withoutFloor(Cell* acc, const Cell* src, std::size_t count, double x, double y) {
  kRow(acc, src, nullptr, count, x, y);
}

// A packet's width of rows at a time, one lane each, the columns in order; the rows left
// over go to the plain fold.
template <typename P, typename Cell>
void foldRowGroups(double* sums, const Cell* const* rows, std::size_t rowCount, std::size_t columns,
                   const double* shift) {
  std::size_t r = 0;
  for (; r + P::kWidth <= rowCount; r += P::kWidth) {
    // The row pointers in a local array, held in registers across logAdd's calls.
    const Cell* group[P::kWidth];
    std::copy(rows + r, rows + r + P::kWidth, group);
    auto sum = P::load(sums + r, P::kAllLanes, LogZero);
    for (std::size_t c = 0; c < columns; ++c) {
      auto terms = P::column(group, c);
      if (shift != nullptr) {
        // A LogZero cell stays LogZero: a zero count weighted is still zero.
        const auto logZero = P::set1(LogZero);
        terms = P::select(P::equal(terms, logZero), logZero, P::add(P::set1(shift[c]), terms));
      }
      sum = finished(logAddLanes<P>(sum, terms), P::kAllLanes, sum, terms);
    }
    P::store(sums + r, P::kAllLanes, sum);
  }
  foldRowsScalar(sums + r, rows + r, rowCount - r, columns, shift);
}

// best[i] = max(best[i], x + src[i]) where src[i] is not LogZero, over packets C of cells.
template <typename C, typename Cell>
void maxTermsRow(Cell* best, const Cell* src, std::size_t count, Cell x) {
  constexpr auto kLogZeroCell = static_cast<Cell>(LogZero);
  const auto vx = C::set1(x);
  const auto logZero = C::set1(kLogZeroCell);
  const auto none = C::set1(-std::numeric_limits<Cell>::infinity());
  forEachPacket<C>(
      count,
      [&](std::size_t i, unsigned lanes) BREVANDOR_HOT_LAMBDA {
        // Cells with src = LogZero take a term of −∞, which leaves them as they are.
        const auto vs = C::load(src + i, lanes, kLogZeroCell);
        const auto term = C::select(C::notEqual(vs, logZero), C::add(vx, vs), none);
        C::store(best + i, lanes, C::max(C::load(best + i, lanes, kLogZeroCell), term));
      },
      [&](std::size_t i) BREVANDOR_HOT_LAMBDA {
        if (src[i] != kLogZeroCell && x + src[i] > best[i]) {
          best[i] = x + src[i];
        }
      });
}

// The row kernels of double-precision tables over the packets P.
template <typename P>
DoubleLogAddRowKernels doubleTableKernels(const char* name) {
  return {name,
          sumPairsRow<P, double>,
          withoutFloor<double, addTermsRow<P, false>>,
          addTermsRow<P, true>,
          accumulateRow<P, double>,
          foldRowGroups<P, double>,
          maxTermsRow<P, double>};
}

// The row kernels of single-precision tables: the set's own sumPairs and addTerms row
// functions (of addTermsAbove's signature, without a floor and with one), foldRows as given,
// and the shared accumulate and maxTerms over the packets P (double lanes) and C (cells).
template <typename P, typename C, AddTermsRow<float> kAddTerms, AddTermsRow<float> kAddTermsAbove>
LogAddRowKernels floatTableKernels(const char* name, decltype(LogAddRowKernels::sumPairs) sumPairs,
                                   decltype(LogAddRowKernels::foldRows) foldRows) {
  return {name,
          sumPairs,
          withoutFloor<float, kAddTerms>,
          kAddTermsAbove,
          accumulateRow<P, float>,
          foldRows,
          maxTermsRow<C, float>};
}

}  // namespace
}  // namespace brevandor::simd
