#pragma once

#include <cstdint>
#include <span>

#include "bounds/further_bounds.h"
#include "bounds/union/bound_engines.h"
#include "report/run_record.h"
#include "run/run_inputs.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// What a completed run knows at its end, gathered for its record.
struct RunOutputs {
  std::span<const double> log10Codewords;  // A_d, d = 0 … maxWeight, LogZero for none
  std::span<const double> log10Weighted;   // B_d, likewise
  std::int32_t maxWeight = 0;
  double codewordScale = 0.0;  // the scale exponents the results file printed
  double weightedScale = 0.0;
  const BoundTables* bounds = nullptr;  // the selected bounds' tables; none without bounds
  const FurtherBoundTables* furtherBounds = nullptr;  // likewise for the further bounds
};

// The record of a completed run: the inputs as given, the code and the turbo code as the run
// built them, the spectrum's weights that hold codewords and every selected bound.
RunRecord makeRunRecord(const RunInputs& inputs, const TurboCode& turbo, const RunOutputs& outputs);

}  // namespace brevandor
