#pragma once

#include <cstdint>
#include <string>

#include "distance/given_interleaver_code.h"
#include "distance/given_spectrum.h"
#include "progress/run_context.h"

namespace brevandor {

// How far a search may go before it gives up rather than run for days.
struct DistanceSearchLimits {
  static constexpr std::uint64_t kDefaultMaxCandidates = 20'000'000'000ULL;
  std::uint64_t maxCandidates = kDefaultMaxCandidates;  // partial input words examined
  double maxSeconds = 0.0;  // the estimated time of the whole search; 0: no time limit
};

// How a search ended.
enum class DistanceSearchOutcome {
  Complete,     // every codeword of weight ≤ D was found
  Cancelled,    // the cancel flag was set
  OverLimit,    // the estimate or the count passed the candidate limit
  InvalidCode,  // givenCodeProblem refused the code
};

// What a search found and what it cost.
struct DistanceSearchResult {
  DistanceSearchOutcome outcome = DistanceSearchOutcome::Complete;
  GivenSpectrum spectrum;                 // complete only with Complete
  std::uint64_t candidates = 0;           // partial input words examined
  std::uint64_t estimatedCandidates = 0;  // by the sample taken before the search
  std::string message;                    // why it did not complete
};

// The estimate of a search's size, from the subtrees of a sample of first-one positions.
struct DistanceSearchEstimate {
  std::uint64_t candidates = 0;  // expected partial words of the whole search
  double seconds = 0.0;          // expected time of the whole search on this machine
  bool overLimit = false;        // the sample alone showed the candidate limit would be passed

  // Whether the search would pass either limit.
  bool passes(const DistanceSearchLimits& limits) const {
    return overLimit || candidates > limits.maxCandidates ||
           (limits.maxSeconds > 0.0 && seconds > limits.maxSeconds);
  }
};

// Every codeword of weight ≤ D of the code, each nonzero input word once: a depth-first
// search over the first constituent's trellis that places the input's ones left to right and
// cuts every branch whose lower bound on the final weight passes D.
DistanceSearchResult searchGivenInterleaver(const GivenInterleaverCode& code,
                                            std::int32_t maxWeight,
                                            const DistanceSearchLimits& limits,
                                            const RunContext& context);

// The size of that search, estimated from the subtrees of a few evenly spread first ones.
DistanceSearchEstimate estimateGivenInterleaverSearch(const GivenInterleaverCode& code,
                                                      std::int32_t maxWeight,
                                                      const DistanceSearchLimits& limits);

}  // namespace brevandor
