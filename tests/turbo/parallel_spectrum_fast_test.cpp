#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/spectrum_equivalence.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::describeOrDie;
using testing::EnginePair;
using testing::expectSameLogSpectrum;
using testing::TurboPipeline;

struct ParallelCase {
  CodeCase code;
  std::int32_t frameLength;
  int threads;
  TablePrecision precision = TablePrecision::Single;
};

class ParallelFastAgainstReference : public ::testing::TestWithParam<ParallelCase> {};

TEST_P(ParallelFastAgainstReference, SpectraProgressAndDiagnosticsMatch) {
  const ParallelCase& c = GetParam();
  EnginePair engines(c.code.description(), ConcatenationType::Parallel, c.frameLength, c.threads,
                     {}, std::nullopt, c.precision);
  // The same tables for both, so that the spectrum stage alone is compared.
  ASSERT_EQ(engines.reference.computeEnumerators(), StageEnd::Completed);
  ASSERT_EQ(engines.fast.computeEnumerators(), StageEnd::Completed);
  const std::int32_t maxWeight = engines.reference.computeSpectrum();
  ASSERT_EQ(engines.fast.computeSpectrum(), maxWeight);
  expectSameLogSpectrum(engines.fast.codeword, engines.reference.codeword, "codeword");
  expectSameLogSpectrum(engines.fast.weighted, engines.reference.weighted, "weighted");
  EXPECT_EQ(engines.fast.target.statusLines(), engines.reference.target.statusLines());
  EXPECT_EQ(engines.fast.target.logLines(), engines.reference.target.logLines());
  for (const WeightEnumerator& enumerator : engines.fast.enumerators) {
    EXPECT_EQ(c.precision == TablePrecision::Double ? enumerator.cwefDouble.at(0, 0)
                                                    : enumerator.cwef.at(0, 0),
              LogZero);
  }
}

std::vector<ParallelCase> parallelCases() {
  const CodeCase defaultCode{"1+D+D^2", "1+D^2"};
  const CodeCase primitive{"1+D^2", "1+D+D^2"};
  const CodeCase feedforward{"1+D+D^2", "1"};
  const CodeCase memory3{"1+D+D^3", "1+D^2+D^3"};
  const CodeCase memory4{"1+D^4", "1+D+D^2+D^3+D^4"};
  const CodeCase memory5{"1+D+D^2+D^3+D^5", "1+D^2+D^5"};
  const CodeCase counterpart{"1+D+D^2", "1+D^2", true};
  const CodeCase feedforwardCounterpart{"1+D^2+D^3", "1", true};
  std::vector<ParallelCase> cases;
  for (const std::int32_t n : {1, 2, 3, 7, 16, 17, 31, 50}) {
    cases.push_back({defaultCode, n, n % 2 + 1});
  }
  for (const CodeCase& code : {primitive, feedforward, memory3, counterpart}) {
    for (const std::int32_t n : {9, 40}) {
      cases.push_back({code, n, 2});
    }
  }
  cases.push_back({memory4, 24, 3});
  cases.push_back({memory5, 20, 1});
  cases.push_back({feedforwardCounterpart, 21, 2});
  // Long enough that most terms of a cell lie far below its sum and are left out.
  cases.push_back({defaultCode, 100, 2});
  cases.push_back({primitive, 90, 3});
  // Double-precision tables and rows, through the double kernels.
  for (const CodeCase& code : {defaultCode, counterpart, memory3}) {
    cases.push_back({code, 17, 2, TablePrecision::Double});
  }
  cases.push_back({defaultCode, 100, 2, TablePrecision::Double});
  cases.push_back({primitive, 90, 3, TablePrecision::Double});
  return cases;
}

std::string caseName(const ::testing::TestParamInfo<ParallelCase>& info) {
  const ParallelCase& c = info.param;
  std::string name = std::string(c.code.numerator) + "_over_" + c.code.denominator +
                     (c.code.counterpart ? "_counterpart" : "") + "_N" +
                     std::to_string(c.frameLength) + "_t" + std::to_string(c.threads) +
                     (c.precision == TablePrecision::Double ? "_double" : "");
  for (char& ch : name) {
    if (ch == '+' || ch == '^') {
      ch = '_';
    }
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Codes, ParallelFastAgainstReference, ::testing::ValuesIn(parallelCases()),
                         caseName);

TEST(ParallelFast, ReadsOnlyTheFirstTable) {
  TurboPipeline pipeline(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Parallel, 30,
                         Engine::Fast);
  pipeline.enumerators[0].computeTransferMatrix(pipeline.code);
  ASSERT_EQ(pipeline.enumerators[0].computeCwef(pipeline.code, pipeline.context),
            StageEnd::Completed);
  pipeline.enumerators[1].release(pipeline.code);  // as a run on this engine holds it
  EXPECT_EQ(pipeline.computeSpectrum(), pipeline.turbo.outputFrameLength);
  EXPECT_TRUE(parallelSpectrumReadsFirstTableOnly(Engine::Fast));
  EXPECT_FALSE(parallelSpectrumReadsFirstTableOnly(Engine::Reference));
  // The reference needs every table.
  pipeline.context.engine = Engine::Reference;
  EXPECT_EQ(pipeline.computeSpectrum(), -2);
}

TEST(ParallelFast, ConstituentsOfAnotherCodeReadTheirOwnTables) {
  // A second constituent of a different code cannot be read from the first table.
  TurboPipeline pipeline(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Parallel, 12,
                         Engine::Fast);
  const ConvCode other(describeOrDie("1+D^2", "1+D+D^2"));
  pipeline.turbo.attachConstituent(1, other, pipeline.enumerators[1]);
  pipeline.turbo.setFrameLength(12, 3);
  pipeline.enumerators[0].computeTransferMatrix(pipeline.code);
  pipeline.enumerators[1].computeTransferMatrix(other);
  ASSERT_EQ(pipeline.enumerators[0].computeCwef(pipeline.code, pipeline.context),
            StageEnd::Completed);
  ASSERT_EQ(pipeline.enumerators[1].computeCwef(other, pipeline.context), StageEnd::Completed);
  TurboPipeline reference(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Parallel, 12,
                          Engine::Reference);
  reference.turbo.attachConstituent(1, other, reference.enumerators[1]);
  reference.turbo.setFrameLength(12, 3);
  for (int c = 0; c < 2; ++c) {
    reference.enumerators[c].computeTransferMatrix(c == 0 ? reference.code : other);
    ASSERT_EQ(
        reference.enumerators[c].computeCwef(c == 0 ? reference.code : other, reference.context),
        StageEnd::Completed);
  }
  ASSERT_EQ(pipeline.computeSpectrum(), reference.computeSpectrum());
  expectSameLogSpectrum(pipeline.codeword, reference.codeword, "codeword");
}

TEST(ParallelFast, WeightsBeyondTheCodewordLengthAreReportedAsTheReferenceDoes) {
  // A codeword length cut short below what the constituents reach: both engines drop the
  // same terms with the same diagnostics.
  auto shortened = [](Engine engine) {
    auto pipeline = std::make_unique<TurboPipeline>(describeOrDie("1+D+D^2", "1+D^2"),
                                                    ConcatenationType::Parallel, 10, engine);
    EXPECT_EQ(pipeline->computeEnumerators(), StageEnd::Completed);
    pipeline->turbo.outputFrameLength -= 6;
    return pipeline;
  };
  const auto reference = shortened(Engine::Reference);
  const auto fast = shortened(Engine::Fast);
  ASSERT_EQ(fast->computeSpectrum(), reference->computeSpectrum());
  EXPECT_FALSE(reference->target.logLines().empty());
  EXPECT_EQ(fast->target.logLines(), reference->target.logLines());
  expectSameLogSpectrum(fast->codeword, reference->codeword, "codeword");
  expectSameLogSpectrum(fast->weighted, reference->weighted, "weighted");
}

class ParallelFastCancel : public ::testing::TestWithParam<int> {};

TEST_P(ParallelFastCancel, StopsAfterTheSameInputWeightAsTheReference) {
  auto cancelAtThird = [](TurboPipeline*& pipeline) {
    return [&pipeline, estimates = 0](const RunNotice& notice) mutable {
      if (notice.text.starts_with("Est.") && ++estimates == 3) {
        pipeline->cancel = 1;
      }
    };
  };
  EnginePair engines(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Parallel, 60,
                     GetParam());
  TurboPipeline* reference = &engines.reference;
  TurboPipeline* fast = &engines.fast;
  ASSERT_EQ(engines.reference.computeEnumerators(), StageEnd::Completed);
  ASSERT_EQ(engines.fast.computeEnumerators(), StageEnd::Completed);
  engines.reference.target.setHook(cancelAtThird(reference));
  engines.fast.target.setHook(cancelAtThird(fast));
  EXPECT_EQ(engines.reference.computeSpectrum(), -1);
  EXPECT_EQ(engines.fast.computeSpectrum(), -1);
  EXPECT_EQ(engines.fast.target.statusLines(), engines.reference.target.statusLines());
  // Input weights 0 … 3 are in both spectra, nothing more.
  expectSameLogSpectrum(engines.fast.codeword, engines.reference.codeword, "codeword");
  expectSameLogSpectrum(engines.fast.weighted, engines.reference.weighted, "weighted");
}

INSTANTIATE_TEST_SUITE_P(Threads, ParallelFastCancel, ::testing::Values(1, 2, 4),
                         ::testing::PrintToStringParamName());

TEST(ParallelFastWork, FewRowsOfTheCodewordLength) {
  TurboPipeline pipeline(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Parallel, 1000,
                         Engine::Fast);
  pipeline.context.threads = 2;
  const std::uint64_t work = fastParallelSpectrumWorkBytes(pipeline.turbo, pipeline.context);
  const std::uint64_t row =
      (static_cast<std::uint64_t>(pipeline.turbo.outputFrameLength) + 1) * sizeof(float);
  // Blocks of rows waiting for the spectra and the threads' columns: a few hundred rows,
  // far below one table of 2000 rows of 1000 columns.
  EXPECT_GT(work, 64 * row);
  EXPECT_LT(work, 200 * row);
}

TEST(ParallelFastWork, NoMoreThreadsThanBlocksOfRows) {
  // At N = 10 the eleven input weights make one block of rows: a second thread would idle.
  TurboPipeline pipeline(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Parallel, 10,
                         Engine::Fast);
  pipeline.context.threads = 1;
  const std::uint64_t oneThread = fastParallelSpectrumWorkBytes(pipeline.turbo, pipeline.context);
  pipeline.context.threads = 4;
  EXPECT_EQ(fastParallelSpectrumWorkBytes(pipeline.turbo, pipeline.context), oneThread);
}

}  // namespace
}  // namespace brevandor
