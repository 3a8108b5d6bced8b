#pragma once

// The AVX-512 log-add of eight doubles with the correction log10(1 + 10^(−δ)) taken from a
// table of piecewise polynomials in double (LogAddCorrectionDoubleTable for results rounded
// to float, LogAddCorrectionFineTable for results kept in double) instead of logAddCore's
// exponential, division and series. Include it only in files compiled for AVX-512F and VL;
// everything here has internal linkage.

#include <immintrin.h>

#include "logmath/simd_log_add_lanes.h"
#include "logmath/simd_packet_avx512.h"

namespace brevandor::simd {
namespace {

// A double correction table in registers: each coefficient's 16 interval values as two
// vectors, so that one permute fetches eight lanes' coefficients.
template <typename Table>
struct CorrectionTableRegisters {
  static_assert(Table::kIntervals == 16, "one permute fetches 16 intervals of doubles");
  static constexpr int kCoefficients = Table::kDegree + 1;
  __m512d low[kCoefficients];
  __m512d high[kCoefficients];

  explicit CorrectionTableRegisters(const Table& table) {
    for (int j = 0; j < kCoefficients; ++j) {
      low[j] = _mm512_load_pd(table.c[j]);
      high[j] = _mm512_load_pd(table.c[j] + 8);
    }
  }
  BREVANDOR_HOT __m512d at(int j, __m512i interval) const {
    return _mm512_permutex2var_pd(low[j], interval, high[j]);
  }
};

// m + log10(1 + 10^(−δ)) for 0 ≤ δ < Table::kReach, to the table's fit error: the polynomial
// of δ's interval by Horner's rule.
template <typename Table>
BREVANDOR_HOT __m512d logAddTable(__m512d m, __m512d delta,
                                  const CorrectionTableRegisters<Table>& table) {
  // k = round(δ · intervals per unit) lands in the low mantissa bits of `rounded`; t, the
  // scaled δ less k, is exact.
  const __m512d scale = _mm512_set1_pd(Table::kIntervalsPerUnit);
  const __m512d magic = _mm512_set1_pd(6755399441055744.0);  // 1.5 · 2^52
  const __m512d rounded = _mm512_fmadd_pd(delta, scale, magic);
  const __m512d t = _mm512_fmsub_pd(delta, scale, _mm512_sub_pd(rounded, magic));
  const __m512i interval = _mm512_castpd_si512(rounded);  // permutes read its low 4 bits
  __m512d p = table.at(Table::kDegree, interval);
  // Unrolled, so that the permutes, which do not wait for p, can run ahead of the chain.
#pragma GCC unroll 16
  for (int j = Table::kDegree - 1; j >= 0; --j) {
    p = _mm512_fmadd_pd(p, t, table.at(j, interval));
  }
  return _mm512_add_pd(m, p);
}

// logAddLanes with differences beyond `negligible` settled: the table where every open
// lane's difference lies within it, else logAddCore for the whole packet.
template <typename Table>
BREVANDOR_HOT LaneSums<Avx512Doubles> logAddLanesFromTable(
    __m512d a, __m512d b, double negligible, const CorrectionTableRegisters<Table>& table) {
  const SortedLanes<Avx512Doubles> lanes = sortLanes<Avx512Doubles>(a, b, negligible);
  if (lanes.settled == 0xFF) {
    return {lanes.m, lanes.copied, lanes.deferred};
  }
  const __mmask8 inTable =
      _mm512_cmp_pd_mask(lanes.delta, _mm512_set1_pd(Table::kReach), _CMP_LT_OQ);
  if ((lanes.settled | inTable) == 0xFF) {
    return {_mm512_mask_mov_pd(logAddTable(lanes.m, lanes.delta, table), lanes.settled, lanes.m),
            lanes.copied, lanes.deferred};
  }
  return {
      _mm512_mask_mov_pd(logAddCore<Avx512Doubles>(lanes.m, lanes.delta), lanes.copied, lanes.m),
      lanes.copied, lanes.deferred};
}

}  // namespace
}  // namespace brevandor::simd
