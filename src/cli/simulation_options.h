#pragma once

#include "run/simulation_options.h"

namespace CLI {
class App;
}

namespace brevandor::cli {

// Adds --simulate and the options that shape it (each needs --simulate) to the program.
void describeSimulationOptions(CLI::App& app, SimulationTexts& simulation);

}  // namespace brevandor::cli
