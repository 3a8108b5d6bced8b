#include "run/low_weight_stages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "code/puncture_pattern.h"
#include "run/run_inputs.h"
#include "support/all_interleavers_check.h"
#include "support/exhaustive_encoder.h"
#include "support/general_pipeline.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::kCounterpartCase;
using testing::kDefaultCase;
using testing::kMemory3Case;
using testing::kPrimitiveFeedbackCase;
using testing::ShiftRegisterEncoder;
using testing::TurboPipeline;

// One low-weight calculation: the code (and a second one for the second constituent, if
// given), enumerators and turbo code wired as a run wires them, with both low-weight stages
// run to the weight limit D.
struct LowWeightPipeline {
  ConvCode code;
  ConvCode secondCode;
  WeightEnumerator enumerators[2];
  TurboCode turbo;
  RunContext context;
  std::int32_t limit = 0;
  std::vector<double> codeword;
  std::vector<double> weighted;

  LowWeightPipeline(const CodeDescription& description, ConcatenationType type,
                    std::int32_t frameLength, std::int32_t maxWeight,
                    const std::optional<CodeDescription>& second = std::nullopt,
                    TablePrecision precision = TablePrecision::Single)
      : code(description), secondCode(second.value_or(description)), turbo(type, 2) {
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, second ? secondCode : code, enumerators[1]);
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.precision = precision;
    }
    setFrame(frameLength, maxWeight);
  }
  // A code of the general shape: its type, pattern, termination and tail rule.
  LowWeightPipeline(const testing::GeneralShape& shape, std::int32_t frameLength,
                    std::int32_t maxWeight)
      : code(shape.first), secondCode(shape.second.value_or(shape.first)), turbo(shape.type, 2) {
    turbo.puncturing = shape.puncturing;
    turbo.termination = shape.termination;
    turbo.tailRule = shape.tailRule;
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, secondCode, enumerators[1]);
    setFrame(frameLength, maxWeight);
  }
  void setFrame(std::int32_t frameLength, std::int32_t maxWeight) {
    turbo.setFrameLength(frameLength, 3);
    limit = lowWeightLimit(turbo, maxWeight);
    codeword.assign(static_cast<std::size_t>(limit) + 1, 0.0);
    weighted.assign(codeword.size(), 0.0);
    context.threads = 2;
  }
  std::int32_t run() {
    if (runLowWeightEnumeratorStages(turbo, limit, context) == StageEnd::Cancelled) {
      return -1;
    }
    return testing::stageCode(computeLowWeightSpectrum(turbo, limit, codeword, weighted, context));
  }
};

struct WholeRunCase {
  const char* name;
  CodeCase code;
  ConcatenationType type;
  std::int32_t frameLength;
  std::int32_t maxWeight;
  std::optional<CodeCase> second = std::nullopt;  // the second constituent's code, if another
  TablePrecision precision = TablePrecision::Single;

  std::optional<CodeDescription> secondDescription() const {
    return second ? std::optional(second->description()) : std::nullopt;
  }
};

class LowWeightAgainstWholeRun : public ::testing::TestWithParam<WholeRunCase> {};

// Expects every low-weight entry d ≤ D to be the whole spectrum's (log10 values); returns how
// many of them hold codewords.
std::int32_t expectEntriesOfTheWholeSpectrum(const LowWeightPipeline& low,
                                             const std::vector<double>& codeword,
                                             const std::vector<double>& weighted) {
  std::int32_t counted = 0;
  for (std::int32_t d = 0; d <= low.limit; ++d) {
    const auto i = static_cast<std::size_t>(d);
    for (const auto& [lowValue, wholeValue] :
         {std::pair{low.codeword[i], codeword[i]}, std::pair{low.weighted[i], weighted[i]}}) {
      if (wholeValue == LogZero || lowValue == LogZero) {
        EXPECT_EQ(lowValue, wholeValue) << "d " << d;
      } else {
        EXPECT_NEAR(lowValue, wholeValue, 1e-12) << "d " << d;  // log10: relative 2.3e-12
        ++counted;
      }
    }
  }
  return counted;
}

// Every entry d ≤ D is the whole run's: the same constituent cells (bit for bit) combined
// by the same additions; only the order in which the fast whole-run engine adds its rows
// differs, by a few double ulps.
TEST_P(LowWeightAgainstWholeRun, EntriesUpToTheLimitEqualTheWholeSpectrum) {
  const WholeRunCase& c = GetParam();
  TurboPipeline whole(c.code.description(), c.type, c.frameLength, Engine::Fast, {},
                      c.secondDescription(), c.precision);
  whole.context.threads = 2;
  ASSERT_EQ(whole.run(), whole.turbo.outputFrameLength);
  LowWeightPipeline low(c.code.description(), c.type, c.frameLength, c.maxWeight,
                        c.secondDescription(), c.precision);
  ASSERT_EQ(low.run(), c.maxWeight);
  EXPECT_GT(expectEntriesOfTheWholeSpectrum(low, whole.codeword, whole.weighted), 8);
}

INSTANTIATE_TEST_SUITE_P(
    Types, LowWeightAgainstWholeRun,
    ::testing::Values(
        WholeRunCase{"ParallelThousandBits", kDefaultCase, ConcatenationType::Parallel, 1000, 20},
        WholeRunCase{"ParallelThousandBitsDouble", kDefaultCase, ConcatenationType::Parallel, 1000,
                     20, std::nullopt, TablePrecision::Double},
        WholeRunCase{"SerialDouble", kDefaultCase, ConcatenationType::Serial, 300, 24, std::nullopt,
                     TablePrecision::Double},
        WholeRunCase{"ParallelMemory3", kMemory3Case, ConcatenationType::Parallel, 300, 16},
        WholeRunCase{"Serial", kDefaultCase, ConcatenationType::Serial, 300, 24},
        // The inner code that the run prepares for the repetition type.
        WholeRunCase{"RepetitionOuterCode", kCounterpartCase, ConcatenationType::RepetitionSerial,
                     200, 20},
        // A second code: encoder 2 of the PCCC, the inner code of the SCCC.
        WholeRunCase{"ParallelTwoCodes", kDefaultCase, ConcatenationType::Parallel, 300, 18,
                     kMemory3Case},
        WholeRunCase{"SerialInnerCode", kDefaultCase, ConcatenationType::Serial, 200, 22,
                     kPrimitiveFeedbackCase}),
    [](const ::testing::TestParamInfo<WholeRunCase>& param) {
      return std::string(param.param.name);
    });

struct PuncturedCase {
  const char* name;
  const char* numerators;
  const char* denominator;
  const char* pattern;  // PCCC: SYS,PAR1,PAR2; SCCC: the outer code's SYS,PAR
  TailRule tailRule;
  std::int32_t frameLength;
  std::int32_t maxWeight;
  ConcatenationType type = ConcatenationType::Parallel;
  const char* innerPattern = "";  // SCCC: the inner code's SYS,PAR ("": none)
};

class LowWeightPunctured : public ::testing::TestWithParam<PuncturedCase> {};

// Punctured codes in low-weight mode: each section's branches weigh what its phase sends, so
// the entries d ≤ D are the whole punctured spectrum's (itself held to every interleaver of
// tiny frames by the termination and punctured spectrum tests).
TEST_P(LowWeightPunctured, EntriesUpToTheLimitEqualTheWholeSpectrum) {
  const PuncturedCase& c = GetParam();
  testing::GeneralShape shape;
  shape.first = codeFromTexts(c.numerators, c.denominator).description.value();
  shape.tailRule = c.tailRule;
  shape.type = c.type;
  const std::int32_t parities = parityOutputCount(shape.first);
  if (c.type == ConcatenationType::Parallel) {
    const std::vector<std::string> rows = parallelPatternRows(std::vector{parities, parities});
    shape.puncturing.parallel = parsePuncturePattern(c.pattern, rowViews(rows)).pattern.value();
  } else {
    const std::vector<std::string> rows = serialPatternRows(parities);
    for (const auto& [text, pattern] : {std::pair{c.pattern, &shape.puncturing.outer},
                                        std::pair{c.innerPattern, &shape.puncturing.inner}}) {
      if (*text != '\0') {
        *pattern = parsePuncturePattern(text, rowViews(rows)).pattern.value();
      }
    }
  }
  testing::GeneralPipeline whole(shape, c.frameLength, Engine::Fast);
  ASSERT_EQ(whole.run(), whole.turbo.outputFrameLength);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    LowWeightPipeline low(shape, c.frameLength, c.maxWeight);
    low.context.engine = engine;
    ASSERT_EQ(low.run(), c.maxWeight);
    EXPECT_GT(expectEntriesOfTheWholeSpectrum(low, whole.codeword, whole.weighted), 4);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, LowWeightPunctured,
    ::testing::Values(
        PuncturedCase{"RateHalf", "1+D+D^2", "1+D^2", "11,10,01", TailRule{}, 200, 12},
        // The CCSDS constituent code with its rate-1/2 and rate-1/3 streams and tail rule.
        PuncturedCase{"CcsdsRateHalf", "1+D+D^3+D^4,1+D^2+D^4,1+D+D^2+D^3+D^4", "1+D^3+D^4",
                      "11,10,00,00,01,00,00", TailRule{true, true}, 60, 12},
        PuncturedCase{"CcsdsRateThird", "1+D+D^3+D^4,1+D^2+D^4,1+D+D^2+D^3+D^4", "1+D^3+D^4",
                      "1,1,0,0,1,0,0", TailRule{true, true}, 60, 16},
        // Patterns that leave systematic bits unsent: the cut keeps the input weights that the
        // growth of the sent weight lets reach D.
        PuncturedCase{"SystematicPunctured", "1+D+D^2", "1+D^2", "10,11,11", TailRule{}, 120, 12},
        PuncturedCase{"SystematicAndParityPunctured", "1+D^2", "1+D+D^2", "110,101,011", TailRule{},
                      90, 10},
        PuncturedCase{"SerialOuterSystematicPunctured", "1+D+D^2", "1+D^2", "10,11", TailRule{}, 80,
                      12, ConcatenationType::Serial},
        PuncturedCase{"SerialInnerSystematicPunctured", "1+D+D^2", "1+D^2", "", TailRule{}, 60, 10,
                      ConcatenationType::Serial, "110,111"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

struct LowWeightEndingCase {
  const char* name;
  ConcatenationType type;
  const char* numerators;
  const char* denominator;
  const char* secondNumerators;  // encoder 2 of a PCCC, the inner code of an SCCC
  const char* secondDenominator;
  std::int32_t frameLength;
  std::int32_t maxWeight;
  Termination termination = Termination::TailBiting;
};

class LowWeightEndings : public ::testing::TestWithParam<LowWeightEndingCase> {};

// Frames that end otherwise than both encoders terminated, in low-weight mode: a tail-biting
// table is the trace over its start states, an open one ends in every state, each cut at D;
// the entries d ≤ D are the mean over every interleaver of the tiny frame, every input word
// encoded (from each of its circular states) as it ends (support/all_interleavers_check.h).
TEST_P(LowWeightEndings, EntriesUpToTheLimitEqualTheMeanOverEveryInterleaver) {
  const LowWeightEndingCase& c = GetParam();
  testing::GeneralShape shape;
  shape.type = c.type;
  shape.first = codeFromTexts(c.numerators, c.denominator).description.value();
  shape.second = codeFromTexts(c.secondNumerators, c.secondDenominator).description.value();
  shape.termination = c.termination;
  const testing::LinearSpectrum expected = testing::everyInterleaverMean(shape, "", c.frameLength);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    LowWeightPipeline low(shape, c.frameLength, c.maxWeight);
    low.context.engine = engine;
    ASSERT_EQ(low.run(), c.maxWeight);
    for (std::int32_t d = 0; d <= c.maxWeight; ++d) {
      const auto i = static_cast<std::size_t>(d);
      for (const auto& [lowValue, mean] : {std::pair{low.codeword[i], expected.codeword[i]},
                                           std::pair{low.weighted[i], expected.weighted[i]}}) {
        if (mean == 0.0) {
          EXPECT_EQ(lowValue, LogZero) << "d " << d;
        } else {
          EXPECT_NEAR(std::pow(10.0, lowValue), mean, 1e-5 * mean) << "d " << d;
        }
      }
    }
  }
}

// Tail-biting: 1 + D + D^2 has one circular state per word where 3 does not divide the frame,
// 1 + D^2 + D^3 where 7 does not; the SCCC's inner frames are 8 bits.
INSTANTIATE_TEST_SUITE_P(
    SmallFrames, LowWeightEndings,
    ::testing::Values(
        LowWeightEndingCase{"ParallelTailBiting", ConcatenationType::Parallel, "1+D^2", "1+D+D^2",
                            "1+D^2", "1+D+D^2", 5, 7},
        LowWeightEndingCase{"ParallelTailBitingTwoCodes", ConcatenationType::Parallel, "1+D^2,1+D",
                            "1+D+D^2", "1+D+D^3", "1+D^2+D^3", 4, 8},
        LowWeightEndingCase{"SerialTailBiting", ConcatenationType::Serial, "1+D^2", "1+D+D^2",
                            "1+D^2", "1+D+D^2", 4, 8},
        LowWeightEndingCase{"SerialTailBitingMemory3Inner", ConcatenationType::Serial, "1+D^2",
                            "1+D+D^2", "1+D+D^3", "1+D^2+D^3", 4, 9},
        // One code tail-biting, the other terminated (2 outer bits and their tail give the
        // inner code 8).
        LowWeightEndingCase{"SerialTailBitingOuter", ConcatenationType::Serial, "1+D^2", "1+D+D^2",
                            "1+D^2", "1+D+D^2", 4, 9, Termination::TailBitingOuter},
        LowWeightEndingCase{"SerialTailBitingInner", ConcatenationType::Serial, "1+D^2", "1+D+D^2",
                            "1+D^2", "1+D+D^2", 2, 8, Termination::TailBitingInner},
        LowWeightEndingCase{"ParallelFirst", ConcatenationType::Parallel, "1+D+D^2", "1+D^2",
                            "1+D+D^2", "1+D^2", 6, 8, Termination::First},
        LowWeightEndingCase{"ParallelOpenTwoOutputs", ConcatenationType::Parallel, "1+D+D^2,1+D",
                            "1+D^2", "1+D+D^2,1+D", "1+D^2", 5, 9, Termination::Open},
        LowWeightEndingCase{"SerialFirst", ConcatenationType::Serial, "1+D^2", "1+D+D^2", "1+D^2",
                            "1+D+D^2", 2, 8, Termination::First},
        LowWeightEndingCase{"SerialOpen", ConcatenationType::Serial, "1+D+D^2", "1+D^2", "1+D+D^2",
                            "1+D^2", 3, 7, Termination::Open}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Exact counts of long frames, independent of the trellis, the transfer matrix and the
// logarithms: the shift-register encoder walked section by section with whole numbers.
__extension__ using ExactCount = unsigned __int128;
using ExactTable = std::vector<std::vector<ExactCount>>;  // [output weight][input weight]

// The terminated paths of one frame with output weight ≤ maxOutput and input weight ≤
// maxInput, counted exactly; the output weight counts all bits, or parity bits only.
ExactTable exactLowWeightCounts(const ShiftRegisterEncoder& encoder, std::int32_t frameLength,
                                bool countsInputBits, std::int32_t maxOutput,
                                std::int32_t maxInput) {
  const auto states = static_cast<std::size_t>(encoder.stateCount());
  const auto rows = static_cast<std::size_t>(maxOutput) + 1;
  const auto columns = static_cast<std::size_t>(maxInput) + 1;
  const auto cell = [&](std::size_t s, std::size_t d, std::size_t w) {
    return (s * rows + d) * columns + w;
  };
  std::vector<ExactCount> paths(states * rows * columns, 0);
  std::vector<ExactCount> next(paths.size(), 0);
  paths[cell(0, 0, 0)] = 1;
  const auto add = [](ExactCount& sum, ExactCount count) {
    sum += count;
    if (sum < count) {
      throw std::overflow_error("exact count beyond 128 bits");
    }
  };
  for (std::int32_t t = 0; t < frameLength; ++t) {
    std::fill(next.begin(), next.end(), 0);
    for (std::size_t s = 0; s < states; ++s) {
      for (std::size_t d = 0; d < rows; ++d) {
        for (std::size_t w = 0; w < columns; ++w) {
          if (paths[cell(s, d, w)] == 0) {
            continue;
          }
          for (const std::uint32_t bit : {0u, 1u}) {
            auto state = static_cast<std::uint32_t>(s);
            const std::int32_t weight = encoder.step(state, bit);
            const std::size_t nextD =
                d + static_cast<std::size_t>(weight) - (countsInputBits ? 0 : bit);
            if (nextD < rows && w + bit < columns) {
              add(next[cell(state, nextD, w + bit)], paths[cell(s, d, w)]);
            }
          }
        }
      }
    }
    std::swap(paths, next);
  }
  ExactTable counts(rows, std::vector<ExactCount>(columns, 0));
  for (std::size_t s = 0; s < states; ++s) {
    const auto tail = static_cast<std::size_t>(encoder.tailWeight(static_cast<std::uint32_t>(s)));
    for (std::size_t d = 0; d + tail < rows; ++d) {
      for (std::size_t w = 0; w < columns; ++w) {
        add(counts[d + tail][w], paths[cell(s, d, w)]);
      }
    }
  }
  return counts;
}

long double binomialExtended(std::int32_t n, std::int32_t k) {
  long double value = 1.0L;
  for (std::int32_t i = 1; i <= k; ++i) {
    value = value * static_cast<long double>(n - k + i) / static_cast<long double>(i);
  }
  return value;
}

struct ExactSpectrum {
  std::vector<long double> codeword;
  std::vector<long double> weighted;
};

// The uniform-interleaver average of a parallel concatenation of systematic codes:
// A_d = Σ_w Σ_{p1 + p2 = d − w} A(w, p1) A(w, p2) / C(N, w), B_d the same with w / N.
ExactSpectrum exactParallelSpectrum(const ExactTable& parity, std::int32_t frameLength,
                                    std::int32_t maxWeight) {
  ExactSpectrum spectrum{std::vector<long double>(static_cast<std::size_t>(maxWeight) + 1),
                         std::vector<long double>(static_cast<std::size_t>(maxWeight) + 1)};
  for (std::int32_t w = 1; w <= maxWeight; ++w) {
    const long double interleavings = binomialExtended(frameLength, w);
    for (std::int32_t p1 = 0; w + p1 <= maxWeight; ++p1) {
      for (std::int32_t p2 = 0; w + p1 + p2 <= maxWeight; ++p2) {
        const auto d = static_cast<std::size_t>(w + p1 + p2);
        const long double count =
            static_cast<long double>(
                parity[static_cast<std::size_t>(p1)][static_cast<std::size_t>(w)]) *
            static_cast<long double>(
                parity[static_cast<std::size_t>(p2)][static_cast<std::size_t>(w)]) /
            interleavings;
        spectrum.codeword[d] += count;
        spectrum.weighted[d] += count * w / frameLength;
      }
    }
  }
  return spectrum;
}

// The serial one: A_d = Σ_w Σ_v Aouter(w, v) Ainner(v, d) / C(L, v), L the outer codeword length.
ExactSpectrum exactSerialSpectrum(const ExactTable& outer, const ExactTable& inner,
                                  std::int32_t frameLength, std::int32_t interleaverLength,
                                  std::int32_t maxWeight) {
  ExactSpectrum spectrum{std::vector<long double>(static_cast<std::size_t>(maxWeight) + 1),
                         std::vector<long double>(static_cast<std::size_t>(maxWeight) + 1)};
  for (std::size_t w = 1; w <= static_cast<std::size_t>(maxWeight); ++w) {
    for (std::size_t v = 1; v <= static_cast<std::size_t>(maxWeight); ++v) {
      const long double spread = binomialExtended(interleaverLength, static_cast<std::int32_t>(v));
      for (std::size_t d = 0; d <= static_cast<std::size_t>(maxWeight); ++d) {
        const long double count =
            static_cast<long double>(outer[v][w]) * static_cast<long double>(inner[d][v]) / spread;
        spectrum.codeword[d] += count;
        spectrum.weighted[d] += count * static_cast<long double>(w) / frameLength;
      }
    }
  }
  return spectrum;
}

struct ExactCase {
  const char* name;
  ConcatenationType type;
  std::int32_t frameLength;
  std::int32_t maxWeight;
  TablePrecision precision = TablePrecision::Single;
};

class LowWeightExactCounts : public ::testing::TestWithParam<ExactCase> {};

// What single-precision logarithms lose over tens of thousands of sections, where each section
// adds about one path to counts of thousands: measured 5e-5 for the parallel code (20000
// sections) and 1.3e-4 for the serial one (40004 inner sections).
constexpr double kSinglePrecisionDrift = 3e-4;
// Double-precision tables hold every entry to one part in a billion.
constexpr double kDoublePrecisionDrift = 1e-9;

// At N = 20000 the low-weight spectrum matches exact values. Expected values: exact integer
// counts of each constituent (exactLowWeightCounts above), combined by the uniform-interleaver
// formulas in extended precision (relative error below 1e-17).
TEST_P(LowWeightExactCounts, MatchesExactValues) {
  const ExactCase& c = GetParam();
  LowWeightPipeline low(kDefaultCase.description(), c.type, c.frameLength, c.maxWeight,
                        std::nullopt, c.precision);
  ASSERT_EQ(low.run(), c.maxWeight);
  const double drift =
      c.precision == TablePrecision::Double ? kDoublePrecisionDrift : kSinglePrecisionDrift;
  const ShiftRegisterEncoder encoder =
      ShiftRegisterEncoder::fromDescription(kDefaultCase.description());
  ExactSpectrum exact;
  if (c.type == ConcatenationType::Parallel) {
    exact = exactParallelSpectrum(
        exactLowWeightCounts(encoder, c.frameLength, false, c.maxWeight, c.maxWeight),
        c.frameLength, c.maxWeight);
  } else {
    const std::int32_t interleaverLength = low.turbo.frameLengths[1];
    exact = exactSerialSpectrum(
        exactLowWeightCounts(encoder, c.frameLength, true, c.maxWeight, c.maxWeight),
        exactLowWeightCounts(encoder, interleaverLength, true, c.maxWeight, c.maxWeight),
        c.frameLength, interleaverLength, c.maxWeight);
  }
  std::int32_t compared = 0;
  for (std::size_t d = 0; d <= static_cast<std::size_t>(c.maxWeight); ++d) {
    for (const auto& [value, expected] : {std::pair{low.codeword[d], exact.codeword[d]},
                                          std::pair{low.weighted[d], exact.weighted[d]}}) {
      if (expected == 0.0L) {
        EXPECT_EQ(value, LogZero) << "d " << d;
        continue;
      }
      EXPECT_NEAR(std::pow(10.0, value) / static_cast<double>(expected), 1.0, drift) << "d " << d;
      ++compared;
    }
  }
  EXPECT_GT(compared, 6);
}

INSTANTIATE_TEST_SUITE_P(
    LongFrames, LowWeightExactCounts,
    ::testing::Values(
        ExactCase{"Parallel", ConcatenationType::Parallel, 20000, 14},
        ExactCase{"Serial", ConcatenationType::Serial, 20000, 14},
        ExactCase{"ParallelDouble", ConcatenationType::Parallel, 20000, 14, TablePrecision::Double},
        ExactCase{"SerialDouble", ConcatenationType::Serial, 20000, 14, TablePrecision::Double}),
    [](const ::testing::TestParamInfo<ExactCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace brevandor
