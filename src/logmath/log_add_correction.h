#pragma once

namespace brevandor {

// The log-add correction log10(1 + 10^(−δ)) as piecewise polynomials, for the vector kernels.
// Interval k (0 … kIntervals − 1) of a table holds δ = (k + t) / kIntervalsPerUnit for
// |t| ≤ ½, and on it the correction is a polynomial in t.

// For sums of counts in single precision: c0 + c1·t + … + c6·t^6 on 32 intervals of ¼. The
// two leading coefficients are float pairs (hi + lo) so that a kernel can carry the sum to
// about 1e-9 without double arithmetic.
struct LogAddCorrectionTable {
  static constexpr int kIntervals = 32;
  static constexpr float kIntervalsPerUnit = 4.0f;
  static constexpr int kDegree = 6;
  // The largest δ that the intervals cover: the middle of the last one plus half a step.
  static constexpr float kReach = (kIntervals - 0.5f) / kIntervalsPerUnit;
  // Largest difference between a polynomial (exact arithmetic, coefficients as stored) and
  // the correction anywhere on its interval, with some room: what a test holds it to.
  static constexpr double kFitError = 3e-10;

  alignas(64) float c0Hi[kIntervals];
  alignas(64) float c0Lo[kIntervals];
  alignas(64) float c1Hi[kIntervals];
  alignas(64) float c1Lo[kIntervals];
  alignas(64) float higher[kDegree - 1][kIntervals];  // c2 … c6
};

// For log-adds in double whose results are rounded to float: c[0] + c[1]·t + … + c[10]·t^10
// on 16 intervals of ½, in double.
struct LogAddCorrectionDoubleTable {
  static constexpr int kIntervals = 16;
  static constexpr double kIntervalsPerUnit = 2.0;
  static constexpr int kDegree = 10;
  static constexpr double kReach = (kIntervals - 0.5) / kIntervalsPerUnit;
  // As LogAddCorrectionTable::kFitError, here for Horner's rule in double.
  static constexpr double kFitError = 1e-12;

  alignas(64) double c[kDegree + 1][kIntervals];
};

// For log-adds whose results stay in double (the sums of counts of double-precision tables):
// c[0] + c[1]·t + … + c[10]·t^10 on 16 intervals of ¼, in double. As accurate as the
// exponential core it stands in for (a few ulps of the correction); the short reach covers
// almost every sum of neighbouring counts (99.7 % of them at N = 1000), the rest go to the
// core.
struct LogAddCorrectionFineTable {
  static constexpr int kIntervals = 16;
  static constexpr double kIntervalsPerUnit = 4.0;
  static constexpr int kDegree = 10;
  static constexpr double kReach = (kIntervals - 0.5) / kIntervalsPerUnit;
  static constexpr double kFitError = 3e-16;

  alignas(64) double c[kDegree + 1][kIntervals];
};

// The tables, fitted once (in extended precision) on first use.
const LogAddCorrectionTable& logAddCorrectionTable();
const LogAddCorrectionDoubleTable& logAddCorrectionDoubleTable();
const LogAddCorrectionFineTable& logAddCorrectionFineTable();

}  // namespace brevandor
