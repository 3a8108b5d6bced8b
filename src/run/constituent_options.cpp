#include "run/constituent_options.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <tuple>

#include "code/circular_state.h"
#include "code/conv_code.h"
#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "run/standard_codes.h"
#include "turbo/concatenation_type.h"
#include "turbo/low_weight_cuts.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

ConstituentOptionsCheck refused(std::string option, const std::string& text, std::string message) {
  ConstituentOptionsCheck check;
  check.option = std::move(option);
  check.text = text;
  check.message = std::move(message);
  return check;
}

// Positions τ as "t mod T = a, b, c".
std::string positionsText(const std::vector<std::int32_t>& positions, std::int32_t period) {
  std::string text = "t mod " + std::to_string(period) + " = ";
  for (std::size_t i = 0; i < positions.size(); ++i) {
    text += (i == 0 ? "" : ", ") + std::to_string(positions[i]);
  }
  return text;
}

// Reads the second code; `check` receives a refusal. An empty text stands for the first
// code's polynomials.
std::optional<CodeDescription> secondCode(const RunInputs& inputs, ConstituentOptionsCheck& check) {
  const std::pair<const char*, const std::string*> texts[] = {
      {"--denominator2", &inputs.denominator2}, {"--numerator2", &inputs.numerator2}};
  const char* given = inputs.numerator2.empty() ? "--denominator2" : "--numerator2";
  const std::string& givenText =
      inputs.numerator2.empty() ? inputs.denominator2 : inputs.numerator2;
  if (inputs.selectedType != ConcatenationType::Parallel &&
      inputs.selectedType != ConcatenationType::Serial) {
    check = refused(given, givenText,
                    "the repetition type has one convolutional code; a second code applies to "
                    "a PCCC or an SCCC");
    return std::nullopt;
  }
  for (const auto& [option, text] : texts) {
    if (text->size() > kMaxTextLength) {
      check = refused(option, *text, tooLongMessage(kMaxTextLength));
      return std::nullopt;
    }
  }
  std::int32_t denominator = denominatorMask(inputs.code);
  if (!inputs.denominator2.empty()) {
    denominator = parsePolynomial(inputs.denominator2);
    if (denominator <= 0) {
      check = refused("--denominator2", inputs.denominator2, polynomialMessage(-denominator));
      return std::nullopt;
    }
  }
  std::vector<std::int32_t> numerators = numeratorMasks(inputs.code);
  if (!inputs.numerator2.empty()) {
    PolynomialList list = parsePolynomialList(inputs.numerator2);
    if (!list) {
      check = refused("--numerator2", inputs.numerator2, list.message);
      return std::nullopt;
    }
    numerators = std::move(list.masks);
  }
  DescribedCode described = describeCode(numerators, denominator);
  if (!described) {
    check = refused(given, givenText, std::move(described.failure));
    return std::nullopt;
  }
  return described.description;
}

// Reads the patterns the run's type takes; `check` receives a refusal or warnings.
std::optional<TurboPuncturing> patterns(const RunInputs& inputs,
                                        const std::optional<CodeDescription>& secondCodeOf,
                                        ConstituentOptionsCheck& check) {
  const std::array<std::pair<const char*, const std::string*>, 3> given{
      {{"--puncture", &inputs.puncture},
       {"--puncture-outer", &inputs.punctureOuter},
       {"--puncture-inner", &inputs.punctureInner}}};
  const ConcatenationType type = inputs.selectedType;
  for (const auto& [option, text] : given) {
    if (text->empty()) {
      continue;
    }
    const bool parallelPattern = text == &inputs.puncture;
    if (type != ConcatenationType::Parallel && type != ConcatenationType::Serial) {
      check = refused(option, *text, "the repetition type takes no puncturing pattern");
      return std::nullopt;
    }
    if (type == ConcatenationType::Parallel && !parallelPattern) {
      check = refused(option, *text,
                      "outer and inner patterns belong to an SCCC; a PCCC takes one pattern "
                      "of rows SYS,PAR1,PAR2");
      return std::nullopt;
    }
    if (type == ConcatenationType::Serial && parallelPattern) {
      check = refused(option, *text,
                      "an SCCC takes an outer and an inner pattern of rows SYS,PAR; this one "
                      "belongs to a PCCC");
      return std::nullopt;
    }
  }
  // One row per sent stream: the row names follow the parity outputs of the codes.
  const std::int32_t firstParities = parityOutputCount(inputs.code);
  const std::int32_t secondParities = parityOutputCount(secondCodeOf.value_or(inputs.code));
  std::vector<std::int32_t> parallelCounts{firstParities};
  for (std::int32_t c = 1; c < constituentCountOf(inputs); ++c) {
    parallelCounts.push_back(secondParities);
  }
  const std::vector<std::string> parallelRows = parallelPatternRows(parallelCounts);
  const std::vector<std::string> outerRows = serialPatternRows(firstParities);
  const std::vector<std::string> innerRows = serialPatternRows(secondParities);
  TurboPuncturing puncturing;
  const std::array<std::tuple<const char*, const std::string*, const std::vector<std::string>*,
                              PuncturePattern*>,
                   3>
      reads{{{"--puncture", &inputs.puncture, &parallelRows, &puncturing.parallel},
             {"--puncture-outer", &inputs.punctureOuter, &outerRows, &puncturing.outer},
             {"--puncture-inner", &inputs.punctureInner, &innerRows, &puncturing.inner}}};
  for (const auto& [option, text, rows, pattern] : reads) {
    if (text->empty()) {
      continue;
    }
    ParsedPattern parsed = parsePuncturePattern(*text, rowViews(*rows));
    if (!parsed) {
      check = refused(option, *text, std::move(parsed.failure));
      return std::nullopt;
    }
    *pattern = *parsed.pattern;
  }
  if (!puncturing.parallel.empty()) {
    std::vector<std::size_t> encoderOne;
    for (std::size_t row = 0; row <= static_cast<std::size_t>(firstParities); ++row) {
      encoderOne.push_back(row);
    }
    const std::vector<std::int32_t> silent = puncturing.parallel.silentPositions(encoderOne);
    if (!silent.empty()) {
      check.warnings.push_back("at sections with " +
                               positionsText(silent, puncturing.parallel.period) +
                               " neither the systematic bit nor encoder 1's parity is sent: "
                               "those input bits rest on encoder 2 alone");
    }
  }
  return puncturing;
}

// Why the run's type cannot end its frames as asked (empty: it can).
std::string terminationRefusal(const RunInputs& inputs) {
  if (inputs.selectedType == ConcatenationType::RepetitionSerial &&
      inputs.termination == Termination::First) {
    return "the repetition type has one convolutional code: it is terminated (both) or left "
           "open";
  }
  if ((inputs.termination == Termination::TailBitingOuter ||
       inputs.termination == Termination::TailBitingInner) &&
      inputs.selectedType != ConcatenationType::Serial) {
    return std::string("tail-biting-outer and tail-biting-inner name the codes of an SCCC") +
           (inputs.selectedType == ConcatenationType::Parallel
                ? "; a PCCC takes tail-biting for every encoder"
                : "");
  }
  if (inputs.termination == Termination::TailBiting &&
      inputs.selectedType == ConcatenationType::RepetitionSerial) {
    return "tail-biting frames are analysed for a PCCC and an SCCC; the repetition type ends "
           "with tails or open";
  }
  const bool terminatedOnes =
      inputs.termination == Termination::Both || inputs.termination == Termination::First;
  if (!terminatedOnes && inputs.tailRule != TailRule{}) {
    return "a frame without tails has no tail bits for --tail-inputs or --tail-pattern to "
           "choose";
  }
  if (inputs.tailRule.punctureTail && inputs.puncture.empty() && inputs.punctureOuter.empty() &&
      inputs.punctureInner.empty()) {
    return "--tail-pattern punctured needs a puncturing pattern to continue through the tails";
  }
  return {};
}

// The codes, enumerators and turbo code of the inputs, configured as the run configures them
// (no table allocated): each constituent's frame, its counted bits and its puncturing.
struct ConfiguredShape {
  std::vector<ConvCode> codes;
  std::vector<WeightEnumerator> enumerators;
  TurboCode turbo;

  ConfiguredShape(const RunInputs& inputs, const std::optional<CodeDescription>& secondCodeOf,
                  const TurboPuncturing& puncturing)
      : codes{ConvCode(inputs.code), ConvCode(secondCodeOf.value_or(inputs.code))},
        enumerators(static_cast<std::size_t>(constituentCountOf(inputs))),
        turbo(inputs.selectedType, constituentCountOf(inputs)) {
    turbo.puncturing = puncturing;
    turbo.termination = inputs.termination;
    turbo.tailRule = inputs.tailRule;
    for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
      turbo.attachConstituent(c, codeOf(c), enumerators[static_cast<std::size_t>(c)]);
    }
    turbo.setFrameLength(inputs.inputFrameLength, kRepetitionFactor);
  }
  ConfiguredShape(const ConfiguredShape&) = delete;
  ConfiguredShape& operator=(const ConfiguredShape&) = delete;

  const ConvCode& codeOf(std::int32_t c) const { return codes[c == 0 ? 0 : 1]; }
};

// Why a tail-biting frame is not one codeword per input word for one of the codes (empty: it
// is, or N is not known yet).
std::string circularStateRefusal(const RunInputs& inputs,
                                 const std::optional<CodeDescription>& secondCodeOf,
                                 const TurboPuncturing& puncturing) {
  if (!hasTailBiting(inputs.termination) || inputs.inputFrameLength <= 0) {
    return {};
  }
  const ConfiguredShape shape(inputs, secondCodeOf, puncturing);
  for (std::int32_t c = 0; c < shape.turbo.constituentCount; ++c) {
    if (!shape.turbo.endingOf(c).tailBiting) {
      continue;
    }
    const ConvCode& code = shape.codeOf(c);
    const std::int32_t frameLength = shape.turbo.frameLengths[static_cast<std::size_t>(c)];
    const std::int32_t circular = circularStatesOfZeroWord(code, frameLength);
    if (circular != 1) {
      const std::string frame = frameLength == inputs.inputFrameLength
                                    ? "N = " + std::to_string(frameLength)
                                    : "the inner frame of " + std::to_string(frameLength) +
                                          " bits (N = " + std::to_string(inputs.inputFrameLength) +
                                          ")";
      return "with feedback " + polynomialText(denominatorMask(code.description)) + " and " +
             frame + " the all-zero input has " + std::to_string(circular) +
             " circular states, so some input words have that many tail-biting codewords and "
             "the others none; tail-biting needs exactly one for every word (a feedback "
             "without a common factor with 1 + D^N)";
    }
  }
  return {};
}

}  // namespace

std::string ConstituentOptionsCheck::refusal() const {
  const bool spaced = !message.empty() && message.front() == ' ';
  return option + " \"" + text + "\":" + (spaced ? "" : " ") + message;
}

ConstituentOptionsCheck checkLowWeightOptions(const RunInputs& inputs) {
  // A code not yet described (the window before its first calculation) leaves the check to
  // the whole one, which runs with the window's code.
  if (inputs.maxWeight > 0 && inputs.inputFrameLength > 0 && inputs.code.registerLength > 0) {
    // The low-weight cut keeps input weights up to D where every input bit is sent. A pattern
    // whose first row (SYS) leaves some out needs a limit that the growth of the sent weight
    // gives (turbo/low_weight_cuts.h); where none exists, the mode cannot run. Faults of the
    // codes or patterns themselves are left to the checks that report them.
    for (const auto& [option, text] : {std::pair{"--puncture", &inputs.puncture},
                                       std::pair{"--puncture-outer", &inputs.punctureOuter},
                                       std::pair{"--puncture-inner", &inputs.punctureInner}}) {
      if (text->substr(0, text->find(',')).find('0') == std::string::npos) {
        continue;
      }
      ConstituentOptionsCheck scratch;
      std::optional<CodeDescription> second;
      if (!inputs.numerator2.empty() || !inputs.denominator2.empty()) {
        second = secondCode(inputs, scratch);
        if (!second) {
          break;
        }
      }
      const std::optional<TurboPuncturing> puncturing = patterns(inputs, second, scratch);
      if (!puncturing) {
        break;
      }
      const ConfiguredShape shape(inputs, second, *puncturing);
      const std::int32_t limit = std::min(inputs.maxWeight, shape.turbo.outputFrameLength);
      if (!lowWeightCuts(shape.turbo, limit)) {
        return refused(option, *text,
                       "low-weight mode (--max-weight): with this pattern a run of input bits "
                       "can send no bit at all (a cycle of the trellis through the pattern's "
                       "period), so input words of any weight reach codewords of weight <= D "
                       "and no input-weight limit holds");
      }
      break;
    }
  }
  ConstituentOptionsCheck taken;
  taken.options = ConstituentOptions{};
  return taken;
}

ConstituentOptionsCheck checkConstituentOptions(const RunInputs& inputs) {
  ConstituentOptionsCheck check;
  ConstituentOptions options;
  if (!inputs.standardCode.empty()) {
    // A named code first: an option that contradicts it is the fault to report, not what
    // the option would make of the rest.
    const StandardCode* named = findStandardCode(inputs.standardCode);
    if (named == nullptr) {
      return refused("--code", inputs.standardCode,
                     "unknown code (use " + standardCodeNames() + ")");
    }
    if (std::optional<StandardCodeConflict> conflict = standardCodeConflict(*named, inputs)) {
      return refused(std::move(conflict->option), conflict->text, std::move(conflict->message));
    }
  }
  if (ConstituentOptionsCheck lowWeight = checkLowWeightOptions(inputs); !lowWeight) {
    return lowWeight;
  }
  if (inputs.constituentCount < kMinConstituents || inputs.constituentCount > kMaxConstituents) {
    return refused("--constituents", std::to_string(inputs.constituentCount),
                   "a PCCC has 2 to 4 constituent encoders");
  }
  if (inputs.selectedType != ConcatenationType::Parallel &&
      inputs.constituentCount != kConstituentCount) {
    return refused("--constituents", std::to_string(inputs.constituentCount),
                   "three or more constituents belong to a PCCC; an SCCC and the repetition "
                   "type have two");
  }
  if (const std::string why = terminationRefusal(inputs); !why.empty()) {
    return refused("--termination", std::string(terminationName(inputs.termination)), why);
  }
  if (inputs.selectedType == ConcatenationType::RepetitionSerial &&
      parityOutputCount(inputs.code) > 1) {
    return refused("--numerator", polynomialListText(numeratorMasks(inputs.code)),
                   "the repetition type's inner code has one output bit per input bit; it "
                   "takes one numerator, not a list");
  }
  if (!inputs.numerator2.empty() || !inputs.denominator2.empty()) {
    options.secondCode = secondCode(inputs, check);
    if (!options.secondCode) {
      return check;
    }
  }
  const std::optional<TurboPuncturing> puncturing = patterns(inputs, options.secondCode, check);
  if (!puncturing) {
    return check;
  }
  if (const std::string why = circularStateRefusal(inputs, options.secondCode, *puncturing);
      !why.empty()) {
    return refused("--termination", std::string(terminationName(inputs.termination)), why);
  }
  options.puncturing = *puncturing;
  check.options = options;
  return check;
}

}  // namespace brevandor
