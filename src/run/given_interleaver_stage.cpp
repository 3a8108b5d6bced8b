#include "run/given_interleaver_stage.h"

#include <array>
#include <cmath>
#include <vector>

#include "distance/constituent_tables.h"
#include "distance/given_error_floor.h"
#include "interleavers/interleaver_spec.h"
#include "logmath/log_domain.h"
#include "run/constituent_options.h"
#include "run/given_interleaver_code_of.h"

namespace brevandor {

bool searchesGivenInterleaver(const RunInputs& inputs) {
  if (inputs.interleaver.empty() || inputs.maxWeight == 0 || inputs.spectrumInput) {
    return false;
  }
  // With a simulation, "random" is the simulation's ensemble and asks for no search.
  const ParsedInterleaver parsed = parseInterleaverSpec(inputs.interleaver);
  return !(inputs.simulation.simulate && parsed && parsed.spec->isEnsemble());
}

GivenInterleaverSetup setUpGivenInterleaver(const RunInputs& inputs, const TurboCode& turbo) {
  const auto refuse = [](std::string why) { return GivenInterleaverSetup{std::nullopt, why}; };
  if (hasTailBiting(turbo.termination)) {
    return refuse(
        "--interleaver: the search of a given permutation takes terminated or open "
        "frames, not tail-biting ones");
  }
  const std::int32_t length = givenInterleaverLength(turbo);
  if (length == 0) {
    return refuse("--interleaver: the search of a given permutation takes PCCC and SCCC only");
  }
  if (inputs.maxWeight > turbo.outputFrameLength) {
    return refuse("--max-weight: D = " + std::to_string(inputs.maxWeight) +
                  " passes the codeword length of this frame (" +
                  std::to_string(turbo.outputFrameLength) + " bits)");
  }
  const ParsedInterleaver parsed = parseInterleaverSpec(inputs.interleaver);
  if (!parsed) {
    return refuse("--interleaver '" + inputs.interleaver + "': " + parsed.failure);
  }
  if (parsed.spec->isEnsemble()) {
    return refuse("--interleaver '" + inputs.interleaver +
                  "': the search needs one permutation (random:SEED, s-random, qpp, lte, "
                  "ccsds or file), not a new one for every frame");
  }
  PermutationOutcome made = makePermutation(*parsed.spec, length);
  if (!made) {
    return refuse("--interleaver '" + inputs.interleaver + "': " + made.failure);
  }
  auto code = givenInterleaverCodeOf(turbo, std::move(made.permutation->indices));
  if (const std::string problem = givenCodeProblem(*code); !problem.empty()) {
    return refuse("--interleaver: " + problem);
  }
  return GivenInterleaverSetup{std::move(code), {}};
}

std::string checkGivenInterleaver(const RunInputs& inputs) {
  if (!searchesGivenInterleaver(inputs)) {
    return {};
  }
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
  if (!options) {
    return {};  // refused on its own
  }
  const ConvCode code(inputs.selectedType == ConcatenationType::RepetitionSerial
                          ? nonSystematicCounterpart(inputs.code)
                          : inputs.code);
  std::optional<ConvCode> second;
  if (options.options->secondCode) {
    second.emplace(*options.options->secondCode);
  }
  std::array<WeightEnumerator, TurboCode::kMaxConstituents> enumerators;
  const std::int32_t count = constituentCountOf(inputs);
  TurboCode turbo(inputs.selectedType, count);
  turbo.puncturing = options.options->puncturing;
  turbo.termination = inputs.termination;
  turbo.tailRule = inputs.tailRule;
  for (std::int32_t c = 0; c < count; ++c) {
    turbo.attachConstituent(c, c > 0 && second ? *second : code,
                            enumerators[static_cast<std::size_t>(c)]);
  }
  turbo.setFrameLength(inputs.inputFrameLength, kRepetitionFactor);
  return setUpGivenInterleaver(inputs, turbo).refusal;
}

std::uint64_t givenInterleaverSearchBytes(const GivenInterleaverCode& code) {
  std::uint64_t bytes = code.permutation.size() * 3 * sizeof(std::int32_t);
  std::vector<const WeightedConstituent*> constituents{&code.first, &code.second};
  for (const FurtherEncoder& further : code.further) {
    bytes += further.permutation.size() * 2 * sizeof(std::int32_t);
    constituents.push_back(&further.constituent);
  }
  for (const WeightedConstituent* constituent : constituents) {
    // The search keeps two sets of tables of each constituent (its two bounds).
    bytes +=
        2 * ConstituentTables::bytesFor(constituent->code->stateCount, constituent->frameLength,
                                        constituent->puncturing.period());
  }
  return bytes;
}

std::string givenSearchSizeRefusal(const DistanceSearchEstimate& estimate) {
  if (!estimate.passes(kGivenSearchLimits)) {
    return {};
  }
  const std::string limits =
      "the limits are " + std::to_string(kGivenSearchLimits.maxCandidates) + " candidates and " +
      std::to_string(std::lround(kGivenSearchLimits.maxSeconds / 3600.0)) + " hours";
  if (estimate.overLimit) {
    return "The search of the given interleaver would examine far more than " +
           std::to_string(kGivenSearchLimits.maxCandidates) +
           " candidates (days): lower --max-weight";
  }
  return "The search of the given interleaver would examine about " +
         std::to_string(estimate.candidates) + " candidates in about " +
         std::to_string(std::lround(estimate.seconds / 60.0)) + " minutes on this machine (" +
         limits + "): lower --max-weight";
}

RecordGivenInterleaver givenInterleaverRecord(const DistanceSearchResult& result,
                                              const std::string& interleaver) {
  RecordGivenInterleaver record;
  record.interleaver = interleaver;
  record.maxWeight = result.spectrum.maxWeight;
  record.minimumDistance = result.spectrum.minimumDistance();
  record.candidates = result.candidates;
  for (std::int32_t d = 0; d <= result.spectrum.maxWeight; ++d) {
    const std::uint64_t count = result.spectrum.codewords[static_cast<std::size_t>(d)];
    if (count != 0) {
      record.lines.push_back({d, count, result.spectrum.bitMultiplicity(d)});
    }
  }
  return record;
}

GivenErrorFloorTable givenErrorFloorTable(const GivenSpectrum& spectrum,
                                          std::span<const double> log10AverageWeighted, double rate,
                                          const EbN0Grid& grid) {
  GivenErrorFloorTable table;
  std::vector<double> ratios;
  for (std::int32_t j = 0; j < grid.count(); ++j) {
    table.ebn0Db.push_back(grid.decibels(j));
    ratios.push_back(grid.ratio(j));
  }
  table.given = givenBitErrorEstimates(spectrum, rate, ratios);
  table.logGiven = logGivenBitErrorEstimates(spectrum, rate, ratios);
  std::vector<long double> average(static_cast<std::size_t>(spectrum.maxWeight) + 1, 0.0L);
  for (std::size_t d = 0; d < average.size() && d < log10AverageWeighted.size(); ++d) {
    if (!isLogZero(log10AverageWeighted[d])) {
      average[d] = std::pow(10.0L, static_cast<long double>(log10AverageWeighted[d]));
    }
  }
  for (const double ratio : ratios) {
    table.average.push_back(truncatedUnionEstimate(average, rate, ratio));
    table.logAverage.push_back(logTruncatedUnionEstimate(average, rate, ratio));
  }
  return table;
}

void keepGivenEstimates(RunRecord& record, const GivenErrorFloorTable& table) {
  if (record.givenInterleaver && !record.bounds.ebn0Db.empty() &&
      record.bounds.ebn0Db == table.ebn0Db) {
    record.givenInterleaver->bitErrorEstimates = table.given;
    record.givenInterleaver->log10EstimatesBeyond = log10BeyondRange(table.given, table.logGiven);
  }
}

}  // namespace brevandor
