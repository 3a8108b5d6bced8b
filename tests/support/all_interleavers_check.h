#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "code/code_description.h"
#include "support/general_encoder.h"
#include "support/general_pipeline.h"
#include "support/spectrum_checks.h"
#include "support/turbo_pipeline.h"

namespace brevandor::testing {

// The brute-force check that the spectrum tests of the general shape share: what each encoder
// sends under a pattern and a frame ending, and both engines' spectra held to the mean over
// every interleaver of a tiny frame.

// The rows of a pattern written "11,10,01".
inline std::vector<std::string> patternRows(const std::string& pattern) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (std::size_t comma = pattern.find(','); comma != std::string::npos;
       comma = pattern.find(',', start)) {
    rows.push_back(pattern.substr(start, comma - start));
    start = comma + 1;
  }
  rows.push_back(pattern.substr(start));
  return rows;
}

// The parallel pattern of a text of any number of rows ("": none).
inline TurboPuncturing parallelPatternOf(const std::string& pattern) {
  TurboPuncturing puncturing;
  if (!pattern.empty()) {
    const std::vector<std::string> names = patternRowNames(patternRows(pattern).size());
    puncturing.parallel = parsePuncturePattern(pattern, rowViews(names)).pattern.value();
  }
  return puncturing;
}

// How encoder `e` of a parallel code ends its frame and sends its tail.
inline SentStreams endingStreams(Termination termination, const TailRule& rule, std::size_t e) {
  SentStreams streams;
  streams.sendsSystematic = e == 0;
  // The SCCC's mixed endings: one code tail-biting (outer: e = 0), the other terminated.
  const bool mixed =
      termination == Termination::TailBitingOuter || termination == Termination::TailBitingInner;
  const bool tailBiting = termination == Termination::TailBiting ||
                          (termination == Termination::TailBitingOuter && e == 0) ||
                          (termination == Termination::TailBitingInner && e > 0);
  const bool terminated = termination == Termination::Both ||
                          (termination == Termination::First && e == 0) || (mixed && !tailBiting);
  streams.end = tailBiting   ? FrameEnd::TailBiting
                : terminated ? FrameEnd::Terminated
                             : FrameEnd::Open;
  streams.tailInputSent = !(rule.firstTailInputOnly && e > 0);
  streams.punctureTail = rule.punctureTail;
  return streams;
}

// What encoder `e` sends under `pattern` ("": every bit): the SYS row (encoder 0 only) and its
// own parity rows, which follow SYS and the parity rows of the encoders before it
// (parityCounts[c] rows for encoder c); a punctured tail reads the rows on past the frame.
inline SentStreams sentStreams(const std::string& pattern,
                               const std::vector<std::size_t>& parityCounts, std::size_t e,
                               SentStreams streams) {
  if (pattern.empty()) {
    streams.punctureTail = false;
    return streams;
  }
  const std::vector<std::string> rows = patternRows(pattern);
  streams.systematicRow = rows[0];
  std::size_t first = 1;
  for (std::size_t c = 0; c < e; ++c) {
    first += parityCounts[c];
  }
  streams.parityRows.assign(rows.begin() + static_cast<std::ptrdiff_t>(first),
                            rows.begin() + static_cast<std::ptrdiff_t>(first + parityCounts[e]));
  return streams;
}

// Runs the code of `shape` with each engine and expects: the output frame length `sent` (where
// not below 0), both spectra equal to `expected` (found over every interleaver, for weights up
// to the output frame length at least), and every
// constituent table's input-weight column w ≥ 1 summing to C(K, w), one path per input word of
// its frame of K bits (column 0 excepted: the spectrum stage takes the all-zero word out).
inline void expectEnginesMatchEveryInterleaver(const GeneralShape& shape, std::int32_t frameLength,
                                               std::int32_t sent, LinearSpectrum expected) {
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    GeneralPipeline pipeline(shape, frameLength, engine);
    const std::int32_t length = pipeline.turbo.outputFrameLength;
    if (sent >= 0) {
      ASSERT_EQ(length, sent);
    }
    ASSERT_EQ(pipeline.run(), length);
    expected.codeword.resize(static_cast<std::size_t>(length) + 1);
    expected.weighted.resize(static_cast<std::size_t>(length) + 1);
    expectSpectrum(TurboPipeline::plain(pipeline.codeword), expected.codeword, "codeword");
    expectSpectrum(TurboPipeline::plain(pipeline.weighted), expected.weighted, "weighted");
    for (std::int32_t c = 0; c < pipeline.turbo.constituentCount; ++c) {
      const WeightEnumerator& enumerator = pipeline.enumerators[c];
      const std::int32_t lastRow = enumerator.layerMaxWeight(pipeline.codeOf(c));
      for (std::int32_t w = 1; w <= enumerator.frameLength; ++w) {
        double column = 0.0;
        for (std::int32_t d = 0; d <= lastRow; ++d) {
          const float cell = enumerator.cwef.at(d, w);
          column += cell == kLogZeroFloat ? 0.0 : std::pow(10.0, cell);
        }
        EXPECT_NEAR(column, binomial(enumerator.frameLength, w), 1e-4 * column)
            << "constituent " << c << " w " << w;
      }
    }
  }
}

// The average spectrum of a serial concatenation over every interleaver: each N-bit input
// word's outer codeword (what `outer` sends under `outerStreams`) through every permutation of
// its bits into the inner encoder. Meant for outer codewords of up to 9 bits.
inline LinearSpectrum allInterleaversSerial(const MultiParityEncoder& outer,
                                            const SentStreams& outerStreams,
                                            const MultiParityEncoder& inner,
                                            const SentStreams& innerStreams,
                                            std::int32_t frameLength, std::int32_t maxWeight) {
  const std::uint32_t words = 1u << frameLength;
  std::vector<std::uint32_t> outerWords(words);
  std::int32_t length = 0;
  for (std::uint32_t word = 0; word < words; ++word) {
    const std::optional<SentWord> sent = sentBits(outer, word, frameLength, outerStreams);
    if (!sent) {
      throw std::invalid_argument("a tail-biting word without one circular state");
    }
    outerWords[word] = static_cast<std::uint32_t>(sent->bits);
    length = sent->length;
  }
  const std::vector<std::int32_t> innerWeights = sentWeights(inner, length, innerStreams);
  LinearSpectrum spectrum{std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0),
                          std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0)};
  std::vector<std::int32_t> permutation(static_cast<std::size_t>(length));
  std::iota(permutation.begin(), permutation.end(), 0);
  double trials = 0.0;
  do {
    trials += 1.0;
    for (std::uint32_t word = 1; word < words; ++word) {
      const auto d =
          static_cast<std::size_t>(innerWeights[permuted(outerWords[word], permutation)]);
      spectrum.codeword.at(d) += 1.0;
      spectrum.weighted.at(d) += static_cast<double>(std::popcount(word)) / frameLength;
    }
  } while (std::next_permutation(permutation.begin(), permutation.end()));
  for (std::size_t d = 0; d < spectrum.codeword.size(); ++d) {
    spectrum.codeword[d] /= trials;
    spectrum.weighted[d] /= trials;
  }
  return spectrum;
}

// The encoder of a code's polynomials, apart from the trellis builder.
inline MultiParityEncoder encoderOf(const CodeDescription& description) {
  std::vector<std::uint32_t> numerators;
  for (const std::int32_t mask : numeratorMasks(description)) {
    numerators.push_back(static_cast<std::uint32_t>(mask));
  }
  return MultiParityEncoder(numerators, static_cast<std::uint32_t>(denominatorMask(description)));
}

// The mean spectrum over every interleaver of a two-constituent code of the general shape,
// `pattern` the text of its pattern ("": none; an SCCC's is the outer one), for weights up to
// a bound on the bits sent.
inline LinearSpectrum everyInterleaverMean(const GeneralShape& shape, const std::string& pattern,
                                           std::int32_t frameLength) {
  const MultiParityEncoder first = encoderOf(shape.first);
  const MultiParityEncoder second = encoderOf(shape.second.value_or(shape.first));
  const std::vector<std::size_t> parities{first.numerators.size(), second.numerators.size()};
  const auto outputs = [](const MultiParityEncoder& e) {
    return static_cast<std::int32_t>(e.numerators.size()) + 1;
  };
  std::vector<SentStreams> streams;
  for (std::size_t e = 0; e < 2; ++e) {
    streams.push_back(endingStreams(shape.termination, shape.tailRule, e));
  }
  if (shape.type == ConcatenationType::Serial) {
    // Both codes send their input bits; the pattern thins the outer codeword only.
    streams[0] = sentStreams(pattern, parities, 0, streams[0]);
    streams[0].sendsSystematic = streams[1].sendsSystematic = true;
    const std::int32_t bound =
        ((frameLength + first.memory) * outputs(first) + second.memory) * outputs(second);
    return allInterleaversSerial(first, streams[0], second, streams[1], frameLength, bound);
  }
  std::vector<std::vector<std::int32_t>> weights;
  weights.push_back(sentWeights(first, frameLength, sentStreams(pattern, parities, 0, streams[0])));
  weights.push_back(
      sentWeights(second, frameLength, sentStreams(pattern, parities, 1, streams[1])));
  const std::int32_t bound = (frameLength + first.memory) * (outputs(first) + outputs(second));
  return allInterleavers(weights, frameLength, bound);
}

}  // namespace brevandor::testing
