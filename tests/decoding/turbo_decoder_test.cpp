#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoding/parallel_decoder.h"
#include "decoding/serial_decoder.h"
#include "interleavers/random_permutation.h"
#include "simulation/awgn_channel.h"
#include "simulation/turbo_encoder.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

// A frame kind, its decoder and an Eb/N0 inside its waterfall.
struct TurboCase {
  std::string name;
  FrameKind kind;
  SisoAlgorithm algorithm;
  double ebn0Db = 2.0;
};

class TurboDecoderTest : public ::testing::TestWithParam<TurboCase> {};

// Encodes random frames, sends them in the waterfall region and decodes them: the first
// iteration leaves errors that the later ones correct (the repetition type's rate-1 inner
// code starts from nothing and needs a stronger channel). Errors counted against the
// encoder's input.
TEST_P(TurboDecoderTest, IterationsCorrectWhatOneDecoderLeaves) {
  const TurboCase& c = GetParam();
  const ConvCode code(testing::kDefaultCase.description());
  const ConvCode inner(testing::kCounterpartCase.description());
  const std::int32_t n = 400;
  const TurboFrame frame = c.kind == FrameKind::Parallel ? parallelFrame(code, code, n)
                           : c.kind == FrameKind::Serial ? serialFrame(code, code, n)
                                                         : repetitionFrame(inner, n, 3);
  const Permutation permutation = randomPermutation(frame.interleaverLength(), 11);
  const double rate = static_cast<double>(n) / frame.channelBits();
  const double deviation = noiseDeviation(c.ebn0Db, rate);
  TurboEncoder encoder(frame);
  RandomBits bits(5);
  std::vector<std::uint8_t> input(n), decisions(n);
  std::int64_t errorsAfterOne = 0;
  std::int64_t errorsAfterTen = 0;
  for (std::int32_t trial = 0; trial < 20; ++trial) {
    for (std::uint8_t& bit : input) {
      bit = static_cast<std::uint8_t>(bits.next() & 1u);
    }
    EncodedFrame encoded;
    encoder.encode(input, permutation, encoded);
    ReceivedFrame received;
    GaussianSource noise(bits);
    if (c.kind == FrameKind::Parallel) {
      transmitConstituent(frame.first, encoded.first, deviation, noise, received.first);
    }
    transmitConstituent(frame.second, encoded.second, deviation, noise, received.second);
    for (const std::int32_t iterations : {1, 10}) {
      const DecoderSettings settings{c.algorithm, 0.7, iterations, false};
      std::int32_t ran = 0;
      if (c.kind == FrameKind::Parallel) {
        ran = ParallelDecoder(frame, settings).decode(received, permutation, decisions);
      } else {
        ran = SerialDecoder(frame, settings).decode(received, permutation, decisions);
      }
      EXPECT_EQ(ran, iterations);
      std::int64_t errors = 0;
      for (std::int32_t i = 0; i < n; ++i) {
        errors += input[static_cast<std::size_t>(i)] != decisions[static_cast<std::size_t>(i)];
      }
      (iterations == 1 ? errorsAfterOne : errorsAfterTen) += errors;
    }
  }
  EXPECT_GT(errorsAfterOne, 0);
  EXPECT_LT(errorsAfterTen * 4, errorsAfterOne) << errorsAfterOne << " → " << errorsAfterTen;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, TurboDecoderTest,
    ::testing::Values(TurboCase{"ParallelLogMap", FrameKind::Parallel, SisoAlgorithm::LogMap},
                      TurboCase{"ParallelMaxLogMap", FrameKind::Parallel, SisoAlgorithm::MaxLogMap},
                      TurboCase{"SerialLogMap", FrameKind::Serial, SisoAlgorithm::LogMap},
                      TurboCase{"SerialMaxLogMap", FrameKind::Serial, SisoAlgorithm::MaxLogMap},
                      TurboCase{"RepetitionLogMap", FrameKind::RepetitionSerial,
                                SisoAlgorithm::LogMap, 6.0}),
    [](const auto& named) { return named.param.name; });

}  // namespace
}  // namespace brevandor
