#include "run/standard_codes.h"

#include <algorithm>
#include <array>

#include "interleavers/lte_qpp_table.h"

namespace brevandor {

namespace {

// The CCSDS codes share their constituent code: 16 states, feedback 1+D^3+D^4 and three
// forward polynomials, outputs 1a, 2a, 3a of encoder a (1b, 2b, 3b of encoder b). The
// pattern rows are SYS, PAR1.1 … PAR1.3, PAR2.1 … PAR2.3, each rate sending the streams of
// its output sequence, the tails included; encoder b sends no tail input bits.
constexpr std::string_view kCcsdsNumerators = "1+D+D^3+D^4,1+D^2+D^4,1+D+D^2+D^3+D^4";
constexpr std::string_view kCcsdsDenominator = "1+D^3+D^4";
constexpr TailRule kCcsdsTails{true, true};
constexpr std::string_view kCcsdsSource =
    "CCSDS 131.0-B, TM Synchronization and Channel Coding, section 6 (turbo codes)";

constexpr std::array<StandardCode, 5> kCodes{{
    {"lte", "1+D+D^3", "1+D^2+D^3", "", Termination::Both, TailRule{}, 3,
     "3GPP TS 36.212, section 5.1.3.2 (turbo coding; also the UMTS code of TS 25.212)"},
    // Rate 1/2 alternates 1a and 1b: (0a, 1a) at even sections, (0a, 1b) at odd ones.
    {"ccsds-1/2", kCcsdsNumerators, kCcsdsDenominator, "11,10,00,00,01,00,00", Termination::Both,
     kCcsdsTails, 2, kCcsdsSource},
    {"ccsds-1/3", kCcsdsNumerators, kCcsdsDenominator, "1,1,0,0,1,0,0", Termination::Both,
     kCcsdsTails, 3, kCcsdsSource},
    {"ccsds-1/4", kCcsdsNumerators, kCcsdsDenominator, "1,0,1,1,1,0,0", Termination::Both,
     kCcsdsTails, 4, kCcsdsSource},
    {"ccsds-1/6", kCcsdsNumerators, kCcsdsDenominator, "1,1,1,1,1,0,1", Termination::Both,
     kCcsdsTails, 6, kCcsdsSource},
}};

// The CCSDS information block lengths: 223 octets times interleaving depth 1, 2, 4 and 5.
constexpr std::array<std::int32_t, 4> kCcsdsFrameLengths{1784, 3568, 7136, 8920};

bool isLte(const StandardCode& code) {
  return code.name == "lte";
}

}  // namespace

std::span<const StandardCode> standardCodes() {
  return kCodes;
}

const StandardCode* findStandardCode(std::string_view name) {
  for (const StandardCode& code : kCodes) {
    if (code.name == name) {
      return &code;
    }
  }
  return nullptr;
}

std::string standardCodeNames() {
  std::string names;
  for (const StandardCode& code : kCodes) {
    names += (names.empty() ? "" : ", ") + std::string(code.name);
  }
  return names;
}

std::vector<std::int32_t> standardFrameLengths(const StandardCode& code) {
  std::vector<std::int32_t> lengths;
  if (isLte(code)) {
    for (const LteQppParameters& row : kLteQppTable) {
      lengths.push_back(row.blockSize);
    }
    return lengths;
  }
  return {kCcsdsFrameLengths.begin(), kCcsdsFrameLengths.end()};
}

std::int64_t standardCodewordLength(const StandardCode& code, std::int32_t frameLength) {
  // LTE: three streams of K bits and 12 tail bits; CCSDS: (K + 4) sections of 1/r symbols.
  return isLte(code) ? 3 * std::int64_t{frameLength} + 12
                     : (std::int64_t{frameLength} + 4) * code.rateDenominator;
}

void applyStandardCode(const StandardCode& code, RunInputs& inputs) {
  inputs.code = codeFromTexts(code.numerators, code.denominator).description.value();
  inputs.selectedType = ConcatenationType::Parallel;
  inputs.constituentCount = kConstituentCount;
  inputs.numerator2.clear();
  inputs.denominator2.clear();
  inputs.puncture = std::string(code.puncture);
  inputs.punctureOuter.clear();
  inputs.punctureInner.clear();
  inputs.termination = code.termination;
  inputs.tailRule = code.tailRule;
}

std::optional<std::string> standardFrameLengthWarning(const StandardCode& code,
                                                      std::int32_t frameLength) {
  const std::vector<std::int32_t> lengths = standardFrameLengths(code);
  if (std::binary_search(lengths.begin(), lengths.end(), frameLength)) {
    return std::nullopt;
  }
  return "N = " + std::to_string(frameLength) + " is not a frame length of the " +
         std::string(code.name) + " standard (" +
         (isLte(code) ? std::string("188 sizes from 40 to 6144") : "1784, 3568, 7136 or 8920") +
         "); the code is analysed at this length all the same";
}

}  // namespace brevandor
