#include "simulation/frame_trial.h"

#include <cmath>

#include "simulation/awgn_channel.h"

namespace brevandor {

std::uint64_t frameSeed(std::uint64_t seed, double ebn0Db, std::int64_t frame) {
  // The point is named by its Eb/N0 in millionths of a dB, so the same point of two grids
  // draws the same frames.
  const auto point = static_cast<std::uint64_t>(std::llround(ebn0Db * 1e6));
  return streamSeed(streamSeed(seed, point), static_cast<std::uint64_t>(frame));
}

std::uint64_t frameTrialBytes(const TurboFrame& frame) {
  // Buffers of the frame's length in doubles: channel values, a-priori, a-posteriori and
  // extrinsic values of both constituents, with room to spare for the serial decoder's.
  constexpr std::uint64_t kFrameBuffers = 16;
  std::uint64_t bytes = 0;
  for (const ConstituentFrame* constituent : {&frame.first, &frame.second}) {
    if (constituent->code == nullptr) {
      continue;
    }
    const auto sections = static_cast<std::uint64_t>(constituent->sections());
    const auto states = static_cast<std::uint64_t>(constituent->code->stateCount);
    const std::uint64_t branches = states << constituent->code->k;
    bytes += (sections * branches + 2 * (sections + 1) * states) * sizeof(double);
  }
  const auto bits = static_cast<std::uint64_t>(frame.channelBits()) +
                    static_cast<std::uint64_t>(frame.interleaverLength());
  return bytes + kFrameBuffers * bits * sizeof(double);
}

FrameTrial::FrameTrial(const TurboFrame& frame, const SimulationSettings& settings,
                       const Permutation* fixedPermutation)
    : frame_(frame), settings_(settings), fixed_(fixedPermutation), encoder_(frame) {
  if (!settings.uncoded) {
    if (frame.kind == FrameKind::Parallel) {
      parallel_ = std::make_unique<ParallelDecoder>(frame, settings.decoder);
    } else {
      serial_ = std::make_unique<SerialDecoder>(frame, settings.decoder);
    }
  }
  input_.resize(static_cast<std::size_t>(frame.inputLength));
  decisions_.resize(input_.size());
  if (frame.kind == FrameKind::Parallel) {
    sentFirst_ = frame.first.sentMasks();
  }
  sentSecond_ = frame.second.sentMasks();
}

namespace {

void drawBits(RandomBits& bits, std::vector<std::uint8_t>& input) {
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (i % 64 == 0) {
      word = bits.next();
    }
    input[i] = static_cast<std::uint8_t>((word >> (i % 64)) & 1u);
  }
}

FrameOutcome compare(const std::vector<std::uint8_t>& input,
                     const std::vector<std::uint8_t>& decisions, std::int32_t iterations) {
  FrameOutcome outcome;
  for (std::size_t i = 0; i < input.size(); ++i) {
    outcome.bitErrors += input[i] != decisions[i] ? 1 : 0;
  }
  outcome.frameError = outcome.bitErrors > 0;
  outcome.iterations = iterations;
  return outcome;
}

}  // namespace

FrameOutcome FrameTrial::runUncoded(RandomBits& bits, double deviation) {
  GaussianSource noise(bits);
  for (std::size_t i = 0; i < input_.size(); ++i) {
    const double symbol = input_[i] != 0 ? -1.0 : 1.0;
    decisions_[i] = symbol + deviation * noise.next() < 0.0 ? 1 : 0;
  }
  return compare(input_, decisions_, 0);
}

FrameOutcome FrameTrial::run(std::uint64_t seed, double deviation) {
  // The draws come in a fixed order: input bits, the ensemble's permutation, the noise.
  RandomBits bits(seed);
  drawBits(bits, input_);
  if (settings_.uncoded) {
    return runUncoded(bits, deviation);
  }
  const std::uint64_t permutationSeed = bits.next();
  if (fixed_ == nullptr) {
    drawn_ = *makePermutation(settings_.interleaver, frame_.interleaverLength(), permutationSeed)
                  .permutation;
  }
  const Permutation& permutation = fixed_ != nullptr ? *fixed_ : drawn_;
  encoder_.encode(input_, permutation, encoded_);
  GaussianSource noise(bits);
  if (frame_.kind == FrameKind::Parallel) {
    transmitConstituent(sentFirst_, frame_.first.outputBits(), encoded_.first, deviation, noise,
                        received_.first);
  }
  transmitConstituent(sentSecond_, frame_.second.outputBits(), encoded_.second, deviation, noise,
                      received_.second);
  const std::int32_t iterations = parallel_ ? parallel_->decode(received_, permutation, decisions_)
                                            : serial_->decode(received_, permutation, decisions_);
  return compare(input_, decisions_, iterations);
}

}  // namespace brevandor
