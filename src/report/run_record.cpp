#include "report/run_record.h"

namespace brevandor {

std::string runLabel(const RunRecord& record) {
  std::string code = "(1, " + record.inputs.numerator;
  if (record.inputs.denominator != "1") {
    code += " / " + record.inputs.denominator;
  }
  code += ")";
  std::string label =
      record.turbo.type + " " + code + ", N = " + std::to_string(record.inputs.frameLength);
  for (const auto& [name, value] : record.inputs.further) {
    if (name == "max_weight") {
      label += ", d ≤ " + value;  // the low-weight mode's spectrum stops there
    }
  }
  return label;
}

const SpectrumLine* freeDistanceLine(const RunRecord& record) {
  const std::vector<SpectrumLine>& lines = record.spectrum.lines;
  return lines.empty() ? nullptr : &lines.front();
}

}  // namespace brevandor
