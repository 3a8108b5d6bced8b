#include "decoding/serial_decoder.h"

#include <algorithm>

namespace brevandor {

SerialDecoder::SerialDecoder(const TurboFrame& frame, const DecoderSettings& settings)
    : frame_(frame),
      settings_(settings),
      inner_(frame.second.code->forwardTrellis, settings.algorithm, frame.second.end(),
             settings.arithmetic) {
  const auto positions = static_cast<std::size_t>(frame.interleaverLength());
  aprioriInner_.resize(static_cast<std::size_t>(frame.second.sections()));
  appInner_.resize(aprioriInner_.size());
  outerIn_.resize(positions);
  outerOut_.resize(positions);
  if (frame.kind == FrameKind::Serial) {
    outer_.emplace(frame.first.code->forwardTrellis, settings.algorithm, frame.first.end(),
                   settings.arithmetic);
    const auto sections = static_cast<std::size_t>(frame.first.sections());
    outerChannel_.resize(sections * static_cast<std::size_t>(frame.first.outputBits()));
    outerApp_.resize(outerChannel_.size());
    outerApriori_.assign(sections, 0.0);
    outerInputApp_.resize(sections);
  }
  previous_.resize(static_cast<std::size_t>(frame.inputLength));
}

void SerialDecoder::decodeOuter(std::span<std::uint8_t> decisions) {
  // The outer code sees its sent bits through the inner decoder's extrinsic values and its
  // punctured bits not at all; its input bits have no a-priori values.
  std::fill(outerChannel_.begin(), outerChannel_.end(), 0.0);
  for (std::size_t q = 0; q < outerIn_.size(); ++q) {
    outerChannel_[static_cast<std::size_t>(frame_.outerSent[q])] = outerIn_[q];
  }
  outer_->decode(frame_.first.sections(), {outerChannel_, outerApriori_},
                 {outerInputApp_, outerApp_});
  for (std::size_t q = 0; q < outerOut_.size(); ++q) {
    const auto position = static_cast<std::size_t>(frame_.outerSent[q]);
    outerOut_[q] = outerApp_[position] - outerChannel_[position];
  }
  for (std::size_t i = 0; i < decisions.size(); ++i) {
    decisions[i] = outerInputApp_[i] < 0.0 ? 1 : 0;
  }
}

void SerialDecoder::decodeRepetition(std::span<std::uint8_t> decisions) {
  // A bit's a-posteriori value is the sum over its r copies; each copy's extrinsic value is
  // that sum less its own.
  const auto r = static_cast<std::size_t>(frame_.repetition);
  for (std::size_t i = 0; i < decisions.size(); ++i) {
    double total = 0.0;
    for (std::size_t m = 0; m < r; ++m) {
      total += outerIn_[i * r + m];
    }
    for (std::size_t m = 0; m < r; ++m) {
      outerOut_[i * r + m] = total - outerIn_[i * r + m];
    }
    decisions[i] = total < 0.0 ? 1 : 0;
  }
}

std::int32_t SerialDecoder::decode(const ReceivedFrame& received, const Permutation& permutation,
                                   std::span<std::uint8_t> decisions) {
  std::fill(aprioriInner_.begin(), aprioriInner_.end(), 0.0);
  const double scale = settings_.appliedScale();
  const std::int32_t positions = frame_.interleaverLength();
  // Only the SISO halves approximate: the repetition code's own values are exact.
  const double outerScale = frame_.kind == FrameKind::Serial ? scale : 1.0;
  std::int32_t iteration = 0;
  while (iteration < settings_.iterations) {
    ++iteration;
    inner_.decode(frame_.second.sections(), {received.second, aprioriInner_}, {appInner_, {}},
                  iteration == 1 ? SisoChannel::New : SisoChannel::AsBefore);
    for (std::int32_t j = 0; j < positions; ++j) {
      const auto jj = static_cast<std::size_t>(j);
      outerIn_[static_cast<std::size_t>(permutation[j])] =
          scale * (appInner_[jj] - aprioriInner_[jj]);
    }
    if (frame_.kind == FrameKind::Serial) {
      decodeOuter(decisions);
    } else {
      decodeRepetition(decisions);
    }
    for (std::int32_t j = 0; j < positions; ++j) {
      aprioriInner_[static_cast<std::size_t>(j)] =
          outerScale * outerOut_[static_cast<std::size_t>(permutation[j])];
    }
    if (decisionsSettled(settings_, iteration, decisions, previous_)) {
      break;
    }
  }
  return iteration;
}

}  // namespace brevandor
