#include "interleavers/interleaver_spec.h"

#include <charconv>

#include "interleavers/ccsds_interleaver.h"
#include "interleavers/permutation_file.h"
#include "interleavers/qpp_interleaver.h"
#include "interleavers/random_permutation.h"

namespace brevandor {

namespace {

constexpr std::string_view kGrammar =
    "random, random:SEED, s-random:S[:SEED], qpp:F1,F2, lte, ccsds or file:PATH";

ParsedInterleaver refused(std::string_view text, const std::string& why) {
  return {std::nullopt, "interleaver '" + std::string(text) + "': " + why};
}

// A whole decimal number without sign or blanks, or nothing.
template <class Number>
std::optional<Number> wholeNumber(std::string_view text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || text.front() == '-' || error != std::errc{} || stop != end) {
    return std::nullopt;
  }
  return value;
}

// The part after "name:" when the text starts with it.
std::optional<std::string_view> argumentsOf(std::string_view text, std::string_view name) {
  if (text.size() > name.size() && text.substr(0, name.size()) == name &&
      text[name.size()] == ':') {
    return text.substr(name.size() + 1);
  }
  return std::nullopt;
}

ParsedInterleaver parseSeeded(std::string_view text, std::string_view arguments) {
  const std::optional<std::uint64_t> seed = wholeNumber<std::uint64_t>(arguments);
  if (!seed) {
    return refused(text, "the seed must be a whole number 0 … 2^64 − 1");
  }
  InterleaverSpec spec;
  spec.kind = InterleaverKind::SeededRandom;
  spec.seed = *seed;
  return {spec, {}};
}

ParsedInterleaver parseSpread(std::string_view text, std::string_view arguments) {
  const std::size_t colon = arguments.find(':');
  const std::optional<std::int32_t> spread = wholeNumber<std::int32_t>(arguments.substr(0, colon));
  if (!spread || *spread < 1) {
    return refused(text, "the spread S must be a whole number of at least 1");
  }
  InterleaverSpec spec;
  spec.kind = InterleaverKind::SpreadRandom;
  spec.spread = *spread;
  spec.seed = kDefaultSpreadSeed;
  if (colon != std::string_view::npos) {
    const std::optional<std::uint64_t> seed =
        wholeNumber<std::uint64_t>(arguments.substr(colon + 1));
    if (!seed) {
      return refused(text, "the seed must be a whole number 0 … 2^64 − 1");
    }
    spec.seed = *seed;
  }
  return {spec, {}};
}

ParsedInterleaver parseQpp(std::string_view text, std::string_view arguments) {
  const std::size_t comma = arguments.find(',');
  const std::optional<std::int64_t> f1 = wholeNumber<std::int64_t>(arguments.substr(0, comma));
  const std::optional<std::int64_t> f2 =
      comma == std::string_view::npos ? std::nullopt
                                      : wholeNumber<std::int64_t>(arguments.substr(comma + 1));
  if (!f1 || !f2) {
    return refused(text, "write the coefficients as qpp:F1,F2 with whole numbers");
  }
  InterleaverSpec spec;
  spec.kind = InterleaverKind::Qpp;
  spec.f1 = *f1;
  spec.f2 = *f2;
  return {spec, {}};
}

}  // namespace

std::string InterleaverSpec::text() const {
  switch (kind) {
    case InterleaverKind::Random:
      return "random";
    case InterleaverKind::SeededRandom:
      return "random:" + std::to_string(seed);
    case InterleaverKind::SpreadRandom:
      return "s-random:" + std::to_string(spread) + ":" + std::to_string(seed);
    case InterleaverKind::Qpp:
      return "qpp:" + std::to_string(f1) + "," + std::to_string(f2);
    case InterleaverKind::Lte:
      return "lte";
    case InterleaverKind::Ccsds:
      return "ccsds";
    case InterleaverKind::File:
      return "file:" + path;
  }
  return {};
}

ParsedInterleaver parseInterleaverSpec(std::string_view text) {
  if (text == "random") {
    return {InterleaverSpec{}, {}};
  }
  if (text == "lte" || text == "ccsds") {
    InterleaverSpec spec;
    spec.kind = text == "lte" ? InterleaverKind::Lte : InterleaverKind::Ccsds;
    return {spec, {}};
  }
  if (const auto arguments = argumentsOf(text, "random")) {
    return parseSeeded(text, *arguments);
  }
  if (const auto arguments = argumentsOf(text, "s-random")) {
    return parseSpread(text, *arguments);
  }
  if (const auto arguments = argumentsOf(text, "qpp")) {
    return parseQpp(text, *arguments);
  }
  if (const auto arguments = argumentsOf(text, "file")) {
    InterleaverSpec spec;
    spec.kind = InterleaverKind::File;
    spec.path = std::string(*arguments);
    return {spec, {}};
  }
  return refused(text, "unknown interleaver; use " + std::string(kGrammar));
}

PermutationOutcome makePermutation(const InterleaverSpec& spec, std::int32_t length,
                                   std::uint64_t frameSeed) {
  if (length < 1) {
    return PermutationOutcome::refused("interleaver '" + spec.text() +
                                       "': the frame has no positions");
  }
  switch (spec.kind) {
    case InterleaverKind::Random:
      return {randomPermutation(length, frameSeed), {}};
    case InterleaverKind::SeededRandom:
      return {randomPermutation(length, spec.seed), {}};
    case InterleaverKind::SpreadRandom:
      return spreadRandomPermutation(length, spec.spread, spec.seed);
    case InterleaverKind::Qpp:
      return qppPermutation(length, spec.f1, spec.f2);
    case InterleaverKind::Lte:
      return ltePermutation(length);
    case InterleaverKind::Ccsds:
      return ccsdsPermutation(length);
    case InterleaverKind::File:
      return readPermutationFile(spec.path, length);
  }
  return PermutationOutcome::refused("interleaver: unknown kind");
}

}  // namespace brevandor
