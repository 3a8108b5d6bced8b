#include "decoding/parallel_decoder.h"

#include <algorithm>

namespace brevandor {

ParallelDecoder::ParallelDecoder(const TurboFrame& frame, const DecoderSettings& settings)
    : frame_(frame),
      settings_(settings),
      first_(frame.first.code->forwardTrellis, settings.algorithm, frame.first.end(),
             settings.arithmetic),
      second_(frame.second.code->forwardTrellis, settings.algorithm, frame.second.end(),
              settings.arithmetic) {
  const auto n = static_cast<std::size_t>(frame.inputLength);
  systematicFirst_.resize(n);
  systematicSecond_.resize(n);
  aprioriFirst_.resize(static_cast<std::size_t>(frame.first.sections()));
  aprioriSecond_.resize(static_cast<std::size_t>(frame.second.sections()));
  appFirst_.resize(aprioriFirst_.size());
  appSecond_.resize(aprioriSecond_.size());
  previous_.resize(n);
}

void ParallelDecoder::readSystematic(const ConstituentFrame& constituent,
                                     std::span<const double> channel,
                                     std::vector<double>& systematic) const {
  const std::int32_t bit = constituent.systematicBit();
  const auto n = static_cast<std::size_t>(constituent.outputBits());
  for (std::size_t t = 0; t < systematic.size(); ++t) {
    systematic[t] = bit < 0 ? 0.0 : channel[t * n + static_cast<std::size_t>(bit)];
  }
}

std::int32_t ParallelDecoder::decode(const ReceivedFrame& received, const Permutation& permutation,
                                     std::span<std::uint8_t> decisions) {
  readSystematic(frame_.first, received.first, systematicFirst_);
  readSystematic(frame_.second, received.second, systematicSecond_);
  std::fill(aprioriFirst_.begin(), aprioriFirst_.end(), 0.0);
  std::fill(aprioriSecond_.begin(), aprioriSecond_.end(), 0.0);
  const double scale = settings_.appliedScale();
  const std::int32_t n = frame_.inputLength;
  std::int32_t iteration = 0;
  while (iteration < settings_.iterations) {
    ++iteration;
    first_.decode(frame_.first.sections(), {received.first, aprioriFirst_}, {appFirst_, {}});
    // Each decoder's a-priori value of a bit is everything the other knows of it: the other's
    // extrinsic value (scaled) and the other's own systematic channel value.
    for (std::int32_t j = 0; j < n; ++j) {
      const auto i = static_cast<std::size_t>(permutation[j]);
      const double extrinsic = appFirst_[i] - aprioriFirst_[i] - systematicFirst_[i];
      aprioriSecond_[static_cast<std::size_t>(j)] = scale * extrinsic + systematicFirst_[i];
    }
    second_.decode(frame_.second.sections(), {received.second, aprioriSecond_}, {appSecond_, {}});
    for (std::int32_t j = 0; j < n; ++j) {
      const auto i = static_cast<std::size_t>(permutation[j]);
      const auto jj = static_cast<std::size_t>(j);
      const double extrinsic = appSecond_[jj] - aprioriSecond_[jj] - systematicSecond_[jj];
      aprioriFirst_[i] = scale * extrinsic + systematicSecond_[jj];
      decisions[i] = appSecond_[jj] < 0.0 ? 1 : 0;
    }
    if (decisionsSettled(settings_, iteration, decisions, previous_)) {
      break;
    }
  }
  return iteration;
}

}  // namespace brevandor
