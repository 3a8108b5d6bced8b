#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

#include "code/conv_code.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The first section of the results file: the turbo code's parameters and one block per
// constituent code. Flushes the file.
void printTurboParameters(std::FILE* file, const TurboCode& turbo);

// The puncturing patterns that leave out bits, with how they are read; nothing when no
// pattern punctures (called by printTurboParameters).
void printPuncturing(std::FILE* file, const TurboCode& turbo);

// One constituent code's block: kind, ( n, k, K ), the trellis listing and the tail bits.
// Flushes the file.
void printConvCode(const ConvCode& code, std::FILE* file);

// Where a low-weight run's spectrum stops: it holds d = 0 … maxWeight of a code whose
// codewords weigh up to outputFrameLength.
struct SpectrumTruncation {
  std::int32_t outputFrameLength = 0;
  // Where a pattern leaves input bits unsent: the heaviest input word the tables keep, beyond
  // which no word reaches weight maxWeight (−1: every input bit is sent).
  std::int32_t inputWeightLimit = -1;
};

// The distance-spectrum section: both scaled spectra d = 0 … maxWeight with their scale
// exponents and the two sum-check lines. Flushes the file. Given the log10 values the spectra
// were scaled from, a row whose scaled value a double cannot hold (flushed to zero or
// subnormal, the low weights of long frames) is printed from its logarithm instead. A
// truncated spectrum (low-weight mode) is said to be one, its weights are normalised by the
// output frame length, and the sum check, which cannot hold, is left out.
void printDistanceSpectrum(std::FILE* file, double inputFrameLength,
                           std::span<const double> codewordSpectrum,
                           std::span<const double> weightedSpectrum, std::int32_t maxWeight,
                           double codewordScale, double weightedScale,
                           std::span<const double> log10Codeword = {},
                           std::span<const double> log10Weighted = {},
                           const SpectrumTruncation* truncation = nullptr);

}  // namespace brevandor
