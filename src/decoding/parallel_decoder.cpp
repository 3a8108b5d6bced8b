#include "decoding/parallel_decoder.h"

#include <algorithm>
#include <cstring>

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
  passed_.resize(n);
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

void ParallelDecoder::passOn(std::span<const double> app, std::span<const double> apriori,
                             std::span<const double> systematic, double scale) {
  // Two bits at a time in one vector of two doubles: the same operations on each element as the
  // scalar loop, which does the odd bit at the end.
  using Two = double __attribute__((vector_size(2 * sizeof(double))));
  const Two scales = {scale, scale};
  const std::size_t count = passed_.size();
  const auto load = [](const double* from) {
    Two value;
    std::memcpy(&value, from, sizeof value);
    return value;
  };
  std::size_t i = 0;
  for (; i + 2 <= count; i += 2) {
    const Two own = load(systematic.data() + i);
    const Two passed = scales * (load(app.data() + i) - load(apriori.data() + i) - own) + own;
    std::memcpy(passed_.data() + i, &passed, sizeof passed);
  }
  for (; i < count; ++i) {
    const double extrinsic = app[i] - apriori[i] - systematic[i];
    passed_[i] = scale * extrinsic + systematic[i];
  }
}

std::int32_t ParallelDecoder::decode(const ReceivedFrame& received, const Permutation& permutation,
                                     std::span<std::uint8_t> decisions) {
  readSystematic(frame_.first, received.first, systematicFirst_);
  readSystematic(frame_.second, received.second, systematicSecond_);
  std::fill(aprioriFirst_.begin(), aprioriFirst_.end(), 0.0);
  std::fill(aprioriSecond_.begin(), aprioriSecond_.end(), 0.0);
  const double scale = settings_.appliedScale();
  const auto n = static_cast<std::size_t>(frame_.inputLength);
  const std::vector<std::int32_t>& source = permutation.indices;  // position j holds bit π(j)
  std::int32_t iteration = 0;
  while (iteration < settings_.iterations) {
    ++iteration;
    const SisoChannel channel = iteration == 1 ? SisoChannel::New : SisoChannel::AsBefore;
    first_.decode(frame_.first.sections(), {received.first, aprioriFirst_}, {appFirst_, {}},
                  channel);
    // Each decoder's a-priori value of a bit is everything the other knows of it: the other's
    // extrinsic value (scaled) and the other's own systematic channel value. Worked out in the
    // order of the decoder that knows it, then moved through the permutation in one gather
    // (or scatter) of one array.
    passOn(appFirst_, aprioriFirst_, systematicFirst_, scale);
    for (std::size_t j = 0; j < n; ++j) {
      aprioriSecond_[j] = passed_[static_cast<std::size_t>(source[j])];
    }
    second_.decode(frame_.second.sections(), {received.second, aprioriSecond_}, {appSecond_, {}},
                   channel);
    passOn(appSecond_, aprioriSecond_, systematicSecond_, scale);
    for (std::size_t j = 0; j < n; ++j) {
      aprioriFirst_[static_cast<std::size_t>(source[j])] = passed_[j];
    }
    // The hard decisions matter after the last iteration and, with early stopping, after
    // every one.
    if (settings_.earlyStop || iteration == settings_.iterations) {
      for (std::size_t j = 0; j < n; ++j) {
        decisions[static_cast<std::size_t>(source[j])] = appSecond_[j] < 0.0 ? 1 : 0;
      }
    }
    if (settings_.earlyStop && decisionsSettled(settings_, iteration, decisions, previous_)) {
      break;
    }
  }
  return iteration;
}

}  // namespace brevandor
