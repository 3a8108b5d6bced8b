#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "distance/distance_search.h"
#include "distance/given_interleaver_code.h"
#include "report/results_report_given_interleaver.h"
#include "report/run_record.h"
#include "run/run_inputs.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// Whether the run searches the spectrum of one given permutation: --interleaver with a weight
// limit D (--max-weight). Without --interleaver, D keeps its meaning of the low-weight mode;
// with it, the average spectrum is the low-weight one of the same D. With --simulate,
// "random" is the simulation's ensemble and no search.
bool searchesGivenInterleaver(const RunInputs& inputs);

// The code of the given permutation for the run's configured turbo code, or the refusal in
// the user's words (an interleaver text that names no single permutation, one of the wrong
// length, a concatenation the search does not take, D beyond the codeword length).
struct GivenInterleaverSetup {
  std::optional<GivenInterleaverCode> code;
  std::string refusal;
};
GivenInterleaverSetup setUpGivenInterleaver(const RunInputs& inputs, const TurboCode& turbo);

// The refusal of the given-interleaver options of `inputs`, or empty: the front ends' check,
// made with the code built as the run builds it.
std::string checkGivenInterleaver(const RunInputs& inputs);

// The bytes the search's tables take.
std::uint64_t givenInterleaverSearchBytes(const GivenInterleaverCode& code);

// The limits of every run's search, whichever its estimate passes first: 10^10 candidates
// (about an hour for the LTE code on the project machine) or four hours by the estimate.
inline constexpr DistanceSearchLimits kGivenSearchLimits{10'000'000'000ULL, 4 * 3600.0};

// The refusal of a search whose sample says it would pass a limit, or empty.
std::string givenSearchSizeRefusal(const DistanceSearchEstimate& estimate);

// What the record keeps of a completed search of the permutation named `interleaver`.
RecordGivenInterleaver givenInterleaverRecord(const DistanceSearchResult& result,
                                              const std::string& interleaver);

// The error-floor estimates of the given permutation beside those of the average spectrum
// (log10 B_d for d ≤ D) at every point of the grid.
GivenErrorFloorTable givenErrorFloorTable(const GivenSpectrum& spectrum,
                                          std::span<const double> log10AverageWeighted, double rate,
                                          const EbN0Grid& grid);

// Keeps the given permutation's estimates in its record when the record holds bounds over
// the same grid (apart from the average's bound columns, which the results file's bound
// sections hold).
void keepGivenEstimates(RunRecord& record, const GivenErrorFloorTable& table);

}  // namespace brevandor
