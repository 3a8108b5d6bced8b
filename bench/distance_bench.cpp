// The exact low-weight search of one given interleaver (src/distance/), two measurements:
//
//   brevandor-distance-bench lte [FROM_K] [TO_K] [SECONDS] [START_D]
//     The LTE code (1+D+D^3 over 1+D^2+D^3) with the standard QPP permutation of each LTE
//     block size K from FROM_K to TO_K: d_min, its multiplicity and the search time (processor
//     time, the fair measure on a shared machine, and wall-clock time), D raised by one from a
//     start below d_min until a codeword turns up. A size whose last search passes SECONDS of
//     processor time (default 60) ends the list. START_D (default 8) is the first D tried.
//
//   brevandor-distance-bench estimate K FROM_D TO_D
//     The search's own estimate of its size (its sampled subtrees scaled up) for the LTE code
//     with the QPP permutation of size K, at each D: for sizes too large to search here.
//
//   brevandor-distance-bench random N D COUNT
//     The mean and spread of the exact A_d over COUNT random permutations ("random:SEED",
//     seeds 1 … COUNT) against the uniform-interleaver A_d of the same run, d ≤ D, for the
//     LTE code at frame length N.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "code/conv_code.h"
#include "code/polynomial.h"
#include "distance/distance_search.h"
#include "enumerators/weight_enumerator.h"
#include "interleavers/interleaver_spec.h"
#include "interleavers/lte_qpp_table.h"
#include "run/calculation_run.h"
#include "run/given_interleaver_code_of.h"
#include "turbo/concatenation_type.h"
#include "turbo/turbo_code.h"

namespace brevandor::bench {
namespace {

CodeDescription lteCode() {
  return describeCode(parsePolynomial("1+D+D^3"), parsePolynomial("1+D^2+D^3")).description.value();
}

// The lightest codewords of the LTE turbo code with the QPP permutation of one block size.
struct SizeResult {
  std::int32_t minimumDistance = -1;
  std::uint64_t multiplicity = 0;
  double seconds = 0.0;      // processor time of all searches of this size
  double lastSeconds = 0.0;  // processor time of the search that found d_min
  double wallSeconds = 0.0;  // wall-clock time of all searches of this size
  std::uint64_t candidates = 0;
};

// The LTE turbo code of one block size with its QPP permutation, as the search takes it.
struct LteFrame {
  explicit LteFrame(std::int32_t blockSize)
      : code(lteCode()), turbo(ConcatenationType::Parallel, 2) {
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    turbo.setFrameLength(blockSize, 3);
    // The project's own LTE permutation of this size, as --interleaver lte builds it.
    given = *givenInterleaverCodeOf(
        turbo, makePermutation(*parseInterleaverSpec("lte").spec, blockSize).permutation->indices);
  }
  ConvCode code;
  WeightEnumerator enumerators[2];
  TurboCode turbo;
  GivenInterleaverCode given;
};

SizeResult searchSize(const LteQppParameters& row, std::int32_t startWeight) {
  const LteFrame frame(row.blockSize);
  const GivenInterleaverCode& given = frame.given;
  SizeResult result;
  for (std::int32_t d = startWeight;; ++d) {
    DistanceSearchResult found;
    result.wallSeconds += seconds([&] {
      result.lastSeconds = processorSeconds(
          [&] { found = searchGivenInterleaver(given, d, DistanceSearchLimits{}, {}); });
    });
    result.seconds += result.lastSeconds;
    result.candidates = found.candidates;
    // Each D on the error stream as it ends, for sizes whose table row may never come.
    std::fprintf(stderr, "K = %d, D = %d: %s, %.2f s, %llu candidates\n", row.blockSize, d,
                 found.spectrum.minimumDistance() ? "found" : "none", result.lastSeconds,
                 static_cast<unsigned long long>(found.candidates));
    if (const auto dmin = found.spectrum.minimumDistance()) {
      result.minimumDistance = *dmin;
      result.multiplicity = found.spectrum.codewords[static_cast<std::size_t>(*dmin)];
      return result;
    }
  }
}

int lteTable(std::int32_t from, std::int32_t to, double limit, std::int32_t firstStart) {
  std::printf(
      "| K | f1 | f2 | d_min | A_dmin | search s (last D) | all D s | all D wall s | candidates "
      "|\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::int32_t start = firstStart;
  for (const LteQppParameters& row : kLteQppTable) {
    if (row.blockSize < from || row.blockSize > to) {
      continue;
    }
    const SizeResult result = searchSize(row, start);
    std::printf("| %d | %d | %d | %d | %llu | %.2f | %.2f | %.2f | %llu |\n", row.blockSize, row.f1,
                row.f2, result.minimumDistance,
                static_cast<unsigned long long>(result.multiplicity), result.lastSeconds,
                result.seconds, result.wallSeconds,
                static_cast<unsigned long long>(result.candidates));
    std::fflush(stdout);
    // The next size starts a little below this d_min (d_min grows slowly with K).
    start = std::max(8, result.minimumDistance - 3);
    if (result.lastSeconds > limit) {
      break;
    }
  }
  return 0;
}

// The search's own estimate (the sampled subtrees) for LTE size K at D = FROM_D … TO_D.
int estimateTable(std::int32_t blockSize, std::int32_t fromWeight, std::int32_t toWeight) {
  const LteFrame frame(blockSize);
  std::printf(
      "| K | D | estimated candidates | estimated s | sample s |\n|---:|---:|---:|---:|---:|\n");
  for (std::int32_t d = fromWeight; d <= toWeight; ++d) {
    DistanceSearchEstimate estimate;
    const double sample = processorSeconds(
        [&] { estimate = estimateGivenInterleaverSearch(frame.given, d, DistanceSearchLimits{}); });
    std::printf("| %d | %d | %llu | %.0f | %.2f |\n", blockSize, d,
                static_cast<unsigned long long>(estimate.candidates), estimate.seconds, sample);
    std::fflush(stdout);
  }
  return 0;
}

int randomAverage(std::int32_t n, std::int32_t maxWeight, int count) {
  std::vector<std::vector<double>> counts(static_cast<std::size_t>(maxWeight) + 1);
  std::vector<double> uniform(static_cast<std::size_t>(maxWeight) + 1, 0.0);
  for (int seed = 1; seed <= count; ++seed) {
    RunInputs inputs;
    inputs.inputFrameLength = n;
    inputs.selectedType = ConcatenationType::Parallel;
    inputs.boundSelection = {};
    inputs.maxWeight = maxWeight;
    inputs.interleaver = "random:" + std::to_string(seed);
    inputs.resultsFileName = "/tmp/brevandor-distance-bench.txt";
    inputs.code = lteCode();
    const RunResult result = CalculationRun(inputs, RunContext{}).execute();
    if (!result.record || !result.record->givenInterleaver) {
      std::fprintf(stderr, "run %d failed: %s\n", seed, result.failure.c_str());
      return 1;
    }
    for (auto& perWeight : counts) {
      perWeight.push_back(0.0);
    }
    for (const GivenSpectrumLine& line : result.record->givenInterleaver->lines) {
      counts[static_cast<std::size_t>(line.weight)].back() = static_cast<double>(line.codewords);
    }
    for (const SpectrumLine& line : result.record->spectrum.lines) {
      if (line.weight <= maxWeight) {
        uniform[static_cast<std::size_t>(line.weight)] = std::pow(10.0, line.log10Codewords);
      }
    }
  }
  std::printf(
      "| d | uniform A_d | mean A_d of %d permutations | std. dev. | std. error | min | max |\n",
      count);
  std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
  for (std::int32_t d = 1; d <= maxWeight; ++d) {
    const std::vector<double>& values = counts[static_cast<std::size_t>(d)];
    double mean = 0.0;
    for (const double v : values) {
      mean += v / count;
    }
    double variance = 0.0;
    for (const double v : values) {
      variance += (v - mean) * (v - mean) / std::max(count - 1, 1);
    }
    const double deviation = std::sqrt(variance);
    if (uniform[static_cast<std::size_t>(d)] == 0.0 && mean == 0.0) {
      continue;
    }
    std::printf("| %d | %.4g | %.4g | %.3g | %.3g | %.0f | %.0f |\n", d,
                uniform[static_cast<std::size_t>(d)], mean, deviation,
                deviation / std::sqrt(static_cast<double>(count)),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
  }
  return 0;
}

}  // namespace
}  // namespace brevandor::bench

int main(int argc, char** argv) {
  using namespace brevandor::bench;
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto number = [&](int index, double fallback) {
    return argc > index ? std::atof(argv[index]) : fallback;
  };
  if (mode == "lte") {
    return lteTable(static_cast<std::int32_t>(number(2, 40)),
                    static_cast<std::int32_t>(number(3, 6144)), number(4, 60.0),
                    static_cast<std::int32_t>(number(5, 8)));
  }
  if (mode == "estimate" && argc == 5) {
    return estimateTable(static_cast<std::int32_t>(number(2, 0)),
                         static_cast<std::int32_t>(number(3, 0)),
                         static_cast<std::int32_t>(number(4, 0)));
  }
  if (mode == "random" && argc == 5) {
    return randomAverage(static_cast<std::int32_t>(number(2, 0)),
                         static_cast<std::int32_t>(number(3, 0)), static_cast<int>(number(4, 0)));
  }
  std::fprintf(stderr,
               "usage: %s lte [FROM_K] [TO_K] [SECONDS] [START_D] | estimate K FROM_D TO_D | "
               "random N D COUNT\n",
               argv[0]);
  return 2;
}
