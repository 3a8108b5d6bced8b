#pragma once

#include <nlohmann/json.hpp>

#include "report/run_record.h"

namespace brevandor {

// The record's "simulation" object: decoder, iterations, interleaver, seed and one object
// per point with ebn0_db, frames, bit_errors, frame_errors, ber, fer, ber_ci and fer_ci as
// [low, high], and mean_iterations.
nlohmann::ordered_json simulationJson(const RecordSimulation& simulation);

// Reads the object back; throws std::invalid_argument naming the field that is wrong.
RecordSimulation readSimulationJson(const nlohmann::ordered_json& object);

}  // namespace brevandor
