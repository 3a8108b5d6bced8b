#pragma once

#include <optional>
#include <string>

#include "simulation/simulation_settings.h"

namespace brevandor {

// The simulation's options as the user typed them (command line or Advanced Setup); the run
// reads them through checkSimulationTexts.
struct SimulationTexts {
  bool simulate = false;
  std::string decoder = "max-log-map";
  std::string extrinsicScale = "0.7";
  std::string iterations = "8";
  bool earlyStop = false;
  std::string seed = "1";
  std::string minFrameErrors = "100";
  std::string maxFrames = "1000000";
  std::string maxSeconds = "0";
  std::string framesFrom;  // with framesTo: simulate only frames A … B − 1 of every point
  std::string framesTo;

  friend bool operator==(const SimulationTexts&, const SimulationTexts&) = default;
};

// The settings the texts describe (none when no simulation is asked for), or the refusal
// that names the option at fault ("--iterations: …").
struct SimulationCheck {
  std::optional<SimulationSettings> settings;
  std::string refusal;
};

// Checks every text; the interleaver is the description given (empty: "random", a new
// permutation per frame).
SimulationCheck checkSimulationTexts(const SimulationTexts& texts, const std::string& interleaver);

// The refusal of one option's text alone (for a field of the window), or nothing. `option`
// is the command-line name, e.g. "--iterations".
std::string simulationTextRefusal(const std::string& option, const std::string& text);

}  // namespace brevandor
