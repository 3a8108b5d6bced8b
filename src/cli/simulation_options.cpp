#include "cli/simulation_options.h"

#include <CLI/CLI.hpp>

namespace brevandor::cli {

void describeSimulationOptions(CLI::App& app, SimulationTexts& simulation) {
  CLI::Option* simulate = app.add_flag(
      "--simulate", simulation.simulate,
      "Also simulate the code under iterative decoding (BPSK over AWGN) at the --ebn0 points: "
      "section \"Simulated Error Rates\" with BER and FER and their 95% intervals");
  const auto option = [&](const char* name, std::string& value, const char* text) {
    app.add_option(name, value, text)->capture_default_str()->needs(simulate);
  };
  option("--decoder", simulation.decoder, "Decoder of the simulation: log-map or max-log-map");
  option("--extrinsic-scale", simulation.extrinsicScale,
         "Factor on the extrinsic values max-log-map passes on (above 0, at most 1)");
  option("--iterations", simulation.iterations, "Decoder iterations per frame, 1 to 100");
  app.add_flag("--early-stop", simulation.earlyStop,
               "Stop a frame's iterations once its hard decisions no longer change")
      ->needs(simulate);
  option("--seed", simulation.seed,
         "Seed of the simulation: the same seed gives the same counts on any number of threads");
  option("--min-frame-errors", simulation.minFrameErrors,
         "A point ends after this many frame errors (at least 1)");
  option("--max-frames", simulation.maxFrames, "… or after this many frames (at least 1)");
  option("--max-seconds", simulation.maxSeconds, "… or after this many seconds (0: no limit)");
  option("--frames-from", simulation.framesFrom,
         "Simulate only frames A to B - 1 of every point (with --frames-to), to split a "
         "simulation over machines and merge the records with brevandor-plot --merge");
  option("--frames-to", simulation.framesTo, "The end B of the --frames-from window");
}

}  // namespace brevandor::cli
