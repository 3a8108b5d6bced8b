#include "report/run_record.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brevandor {

namespace {

// "(1, 1+D+D^2 / 1+D^2)", or "(1, 1+D+D^2)" for a feedforward code.
std::string codeText(const std::string& numerator, const std::string& denominator) {
  return "(1, " + numerator + (denominator == "1" ? "" : " / " + denominator) + ")";
}

// The value of a further input, or nothing.
const std::string* further(const RunRecord& record, const char* name) {
  for (const auto& [key, value] : record.inputs.further) {
    if (key == name) {
      return &value;
    }
  }
  return nullptr;
}

}  // namespace

std::string runLabel(const RunRecord& record) {
  const RecordInputs& inputs = record.inputs;
  std::string label = record.turbo.type + " " + codeText(inputs.numerator, inputs.denominator);
  const std::string* numerator2 = further(record, "numerator2");
  const std::string* denominator2 = further(record, "denominator2");
  if (numerator2 != nullptr || denominator2 != nullptr) {
    label += " + " + codeText(numerator2 != nullptr ? *numerator2 : inputs.numerator,
                              denominator2 != nullptr ? *denominator2 : inputs.denominator);
  }
  label += ", N = " + std::to_string(inputs.frameLength);
  for (const char* pattern : {"puncture", "puncture_outer", "puncture_inner"}) {
    if (const std::string* rows = further(record, pattern)) {
      label += std::string(", ") + pattern + " " + *rows;
    }
  }
  if (const std::string* maxWeight = further(record, "max_weight")) {
    label += ", d \u2264 " + *maxWeight;  // the low-weight mode's spectrum stops there
  }
  return label;
}

std::optional<double> log10BeyondRange(const std::vector<double>& log10Beyond, std::size_t point) {
  if (point >= log10Beyond.size() || !std::isfinite(log10Beyond[point])) {
    return std::nullopt;
  }
  return log10Beyond[point];
}

std::optional<double> log10BeyondRange(const BoundColumn& column, std::size_t point) {
  return log10BeyondRange(column.log10Beyond, point);
}

std::vector<double> log10BeyondRange(const std::vector<long double>& values,
                                     const std::vector<long double>& logs) {
  std::vector<double> beyond(values.size(), -std::numeric_limits<double>::infinity());
  bool any = false;
  for (std::size_t j = 0; j < values.size() && j < logs.size(); ++j) {
    if (std::fpclassify(values[j]) != FP_NORMAL && std::isfinite(logs[j])) {
      beyond[j] = static_cast<double>(logs[j] / std::log(10.0L));
      any = true;
    }
  }
  return any ? beyond : std::vector<double>{};
}

const BoundColumn* lowerBoundColumn(const RecordBounds& bounds) {
  for (const BoundColumn& column : bounds.columns) {
    if (column.name == "Sphere_Word") {
      return &column;
    }
  }
  return nullptr;
}

bool estimateBelowLowerBound(const RunRecord& record, const BoundColumn& column,
                             std::size_t point) {
  const BoundColumn* lower = lowerBoundColumn(record.bounds);
  if (!column.estimate || lower == nullptr || point >= column.values.size() ||
      point >= lower->values.size()) {
    return false;
  }
  const bool wordError = column.name.find("Word") != std::string::npos;
  const long double bound =
      wordError ? lower->values[point]
                : lower->values[point] / std::max<long double>(record.inputs.frameLength, 1.0L);
  return column.values[point] < bound;
}

const SpectrumLine* freeDistanceLine(const RunRecord& record) {
  const std::vector<SpectrumLine>& lines = record.spectrum.lines;
  return lines.empty() ? nullptr : &lines.front();
}

}  // namespace brevandor
