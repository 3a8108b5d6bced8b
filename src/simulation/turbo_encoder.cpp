#include "simulation/turbo_encoder.h"

namespace brevandor {

namespace {

std::vector<std::int32_t> tailInputsOf(const ConstituentFrame& constituent) {
  if (constituent.code == nullptr) {
    return {};
  }
  std::vector<std::int32_t> tails(static_cast<std::size_t>(constituent.code->stateCount), 0);
  constituent.code->computeTailInputs(tails);
  return tails;
}

}  // namespace

TurboEncoder::TurboEncoder(const TurboFrame& frame)
    : frame_(frame),
      firstTails_(tailInputsOf(frame.first)),
      secondTails_(tailInputsOf(frame.second)) {
  interleaved_.resize(static_cast<std::size_t>(frame.interleaverLength()));
  outerBits_.resize(frame.outerSent.size());
}

void TurboEncoder::encodeConstituent(const ConstituentFrame& constituent,
                                     const std::vector<std::int32_t>& tails,
                                     std::span<const std::uint8_t> input,
                                     std::vector<std::int32_t>& words) {
  const Trellis& trellis = constituent.code->forwardTrellis;
  words.resize(static_cast<std::size_t>(constituent.sections()));
  std::int32_t state = 0;
  std::int32_t tail = 0;  // the tail inputs of the state the information bits end in
  for (std::int32_t t = 0; t < constituent.sections(); ++t) {
    if (t == constituent.inputLength) {
      tail = tails[static_cast<std::size_t>(state)];
    }
    const std::int32_t bit = t < constituent.inputLength
                                 ? input[static_cast<std::size_t>(t)]
                                 : (tail >> (t - constituent.inputLength)) & 1;
    const TrellisBranch& branch = trellis.row(state)[static_cast<std::size_t>(bit)];
    words[static_cast<std::size_t>(t)] = branch.output;
    state = branch.state;
  }
}

void TurboEncoder::encode(std::span<const std::uint8_t> input, const Permutation& permutation,
                          EncodedFrame& encoded) {
  const auto positions = static_cast<std::int32_t>(interleaved_.size());
  switch (frame_.kind) {
    case FrameKind::Parallel:
      encodeConstituent(frame_.first, firstTails_, input, encoded.first);
      interleave<std::uint8_t>(permutation, input, interleaved_);
      break;
    case FrameKind::Serial: {
      encodeConstituent(frame_.first, firstTails_, input, encoded.first);
      const auto n = static_cast<std::size_t>(frame_.first.outputBits());
      for (std::size_t q = 0; q < outerBits_.size(); ++q) {
        const auto position = static_cast<std::size_t>(frame_.outerSent[q]);
        outerBits_[q] =
            static_cast<std::uint8_t>((encoded.first[position / n] >> (position % n)) & 1);
      }
      interleave<std::uint8_t>(permutation, outerBits_, interleaved_);
      break;
    }
    case FrameKind::RepetitionSerial:
      for (std::int32_t j = 0; j < positions; ++j) {
        interleaved_[static_cast<std::size_t>(j)] =
            input[static_cast<std::size_t>(permutation[j] / frame_.repetition)];
      }
      break;
  }
  encodeConstituent(frame_.second, secondTails_, interleaved_, encoded.second);
}

}  // namespace brevandor
