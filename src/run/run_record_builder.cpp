#include "run/run_record_builder.h"

#include <cmath>
#include <tuple>
#include <utility>

#include "bounds/bound_catalogue.h"
#include "brevandor_version.h"
#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "logmath/log_domain.h"
#include "run/constituent_options.h"
#include "run/low_weight_stages.h"
#include "turbo/concatenation_type.h"

namespace brevandor {

namespace {

// The numerators (comma-separated) and the denominator of a described code as canonical text.
std::pair<std::string, std::string> codeTexts(const CodeDescription& code) {
  return {polynomialListText(numeratorMasks(code)),
          isRecursive(code.kind) ? polynomialText(denominatorMask(code)) : "1"};
}

// The inputs beyond the main window's that the run was given, by their command-line names.
void addFurtherInputs(const RunInputs& inputs, RecordInputs& record) {
  if (!inputs.numerator2.empty() || !inputs.denominator2.empty()) {
    const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
    if (options && options.options->secondCode) {
      const auto [numerator, denominator] = codeTexts(*options.options->secondCode);
      record.further.emplace_back("numerator2", numerator);
      record.further.emplace_back("denominator2", denominator);
    }
  }
  if (!inputs.standardCode.empty()) {
    record.further.emplace_back("code", inputs.standardCode);
  }
  if (inputs.termination != Termination::Both) {
    record.further.emplace_back("termination", std::string(terminationName(inputs.termination)));
  }
  if (inputs.tailRule.firstTailInputOnly) {
    record.further.emplace_back("tail_inputs", "first");
  }
  if (inputs.tailRule.punctureTail) {
    record.further.emplace_back("tail_pattern", "punctured");
  }
  if (inputs.constituentCount != kConstituentCount) {
    record.further.emplace_back("constituents", std::to_string(inputs.constituentCount));
  }
  const std::pair<const char*, const std::string*> patterns[] = {
      {"puncture", &inputs.puncture},
      {"puncture_outer", &inputs.punctureOuter},
      {"puncture_inner", &inputs.punctureInner}};
  for (const auto& [name, pattern] : patterns) {
    if (!pattern->empty()) {
      record.further.emplace_back(name, *pattern);
    }
  }
  if (inputs.ebn0Grid != EbN0Grid{}) {
    record.further.emplace_back("ebn0", formatEbN0Grid(inputs.ebn0Grid));
  }
  if (inputs.maxWeight > 0) {
    // Low-weight mode: the spectrum stops at this weight and the bounds are estimates.
    record.further.emplace_back("max_weight", std::to_string(inputs.maxWeight));
  }
  if (tablePrecision(inputs) != TablePrecision::Single) {
    record.further.emplace_back("precision", std::string(precisionName(tablePrecision(inputs))));
  }
}

RecordInputs recordInputs(const RunInputs& inputs) {
  RecordInputs record;
  std::tie(record.numerator, record.denominator) = codeTexts(inputs.code);
  record.type = std::string(typeOptionName(inputs.selectedType));
  record.frameLength = inputs.inputFrameLength;
  for (const auto& bound : kBoundCatalogue) {
    if (inputs.boundSelection.contains(bound.bit)) {
      record.bounds.emplace_back(bound.option);
    }
  }
  for (const FurtherBoundInfo& bound : furtherBoundInfos()) {
    if (inputs.furtherBounds.contains(bound.bit)) {
      record.bounds.emplace_back(bound.option);
    }
  }
  record.resultsFile = inputs.resultsFileName;
  addFurtherInputs(inputs, record);
  return record;
}

RecordCode recordCode(const ConvCode& code) {
  return RecordCode{std::string(codeKindText(code.kind)), code.n, code.k,
                    code.registerLength / code.k, code.stateCount};
}

RecordTurbo recordTurbo(const TurboCode& turbo) {
  RecordTurbo record;
  record.type = std::string(concatenationTypeName(turbo.concatenationType));
  record.constituents = turbo.constituentCount;
  record.frameLengths.assign(turbo.frameLengths.begin(),
                             turbo.frameLengths.begin() + turbo.constituentCount);
  record.outputFrameLength = turbo.outputFrameLength;
  record.rate = turbo.rate;
  return record;
}

RecordSpectrum recordSpectrum(const RunOutputs& outputs, std::int32_t inputFrameLength) {
  RecordSpectrum spectrum;
  spectrum.maxWeight = outputs.maxWeight;
  spectrum.codewordScale = outputs.codewordScale;
  spectrum.weightedScale = outputs.weightedScale;
  spectrum.log10Sum = LogZero;
  for (std::int32_t d = 0; d <= outputs.maxWeight; ++d) {
    const double log10Codewords = outputs.log10Codewords[static_cast<std::size_t>(d)];
    if (!isLogZero(log10Codewords)) {
      const double log10Weighted = outputs.log10Weighted[static_cast<std::size_t>(d)];
      spectrum.lines.push_back(
          {d, log10Codewords, isLogZero(log10Weighted) ? LogZero : log10Weighted});
      spectrum.log10Sum = logAdd(spectrum.log10Sum, log10Codewords);
    }
  }
  spectrum.log10InputWords = inputFrameLength * std::log10(2.0);
  return spectrum;
}

// The columns of both bound sections over the run's grid; the further bounds as their
// section shows them.
RecordBounds recordBounds(const RunInputs& inputs, const RunOutputs& outputs) {
  RecordBounds bounds;
  const EbN0Grid& grid = inputs.ebn0Grid;
  for (std::int32_t j = 0; j < grid.count(); ++j) {
    bounds.ebn0Db.push_back(grid.decibels(j));
  }
  if (outputs.bounds != nullptr) {
    const BoundTables& tables = *outputs.bounds;
    const std::vector<long double>* values[] = {&tables.unionQ, &tables.unionExp, &tables.viterbi};
    const std::vector<long double>* logs[] = {&tables.logUnionQ, &tables.logUnionExp,
                                              &tables.logViterbi};
    for (std::size_t b = 0; b < kBoundCatalogue.size(); ++b) {
      const auto& names = kBoundCatalogue[b];
      if (inputs.boundSelection.contains(names.bit)) {
        bounds.columns.push_back(BoundColumn{std::string(names.column),
                                             std::string(names.title),
                                             {values[b]->begin(), values[b]->end()},
                                             inputs.maxWeight > 0,
                                             log10BeyondRange(*values[b], *logs[b])});
      }
    }
  }
  if (outputs.furtherBounds != nullptr) {
    const auto& infos = furtherBoundInfos();
    for (std::size_t b = 0; b < infos.size(); ++b) {
      if (inputs.furtherBounds.contains(infos[b].bit)) {
        // The lower bound holds whatever the spectrum; the sums over a cut spectrum do not.
        BoundColumn column{std::string(infos[b].column),
                           std::string(infos[b].title),
                           {},
                           inputs.maxWeight > 0 && infos[b].bit != FurtherBound::SpherePackingWord};
        std::vector<long double> logs;
        for (const double logValue : outputs.furtherBounds->logValues[b]) {
          column.values.push_back(shownFurtherBound(logValue));
          logs.push_back(logValue);
        }
        column.log10Beyond = log10BeyondRange(column.values, logs);
        bounds.columns.push_back(std::move(column));
      }
    }
  }
  return bounds;
}

}  // namespace

RunRecord makeRunRecord(const RunInputs& inputs, const TurboCode& turbo,
                        const RunOutputs& outputs) {
  RunRecord record;
  record.programVersion = BREVANDOR_VERSION;
  record.inputs = recordInputs(inputs);
  if (const std::optional<std::int32_t> limit =
          derivedInputWeightLimit(turbo, lowWeightLimit(turbo, inputs.maxWeight))) {
    // Low-weight mode with input bits unsent: the heaviest input word the tables keep.
    record.inputs.further.emplace_back("input_weight_limit", std::to_string(*limit));
  }
  record.code = recordCode(*turbo.codes[0]);
  record.turbo = recordTurbo(turbo);
  record.spectrum = recordSpectrum(outputs, turbo.frameLengths[0]);
  if (outputs.bounds != nullptr || outputs.furtherBounds != nullptr) {
    record.bounds = recordBounds(inputs, outputs);
  }
  return record;
}

}  // namespace brevandor
