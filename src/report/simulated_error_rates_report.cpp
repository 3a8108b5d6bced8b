#include "report/simulated_error_rates_report.h"

#include <cinttypes>

namespace brevandor {

namespace {

// "random" draws a new permutation every frame: the ensemble the bounds average over.
bool drawsEveryFrame(const RecordSimulation& simulation) {
  return simulation.interleaver == "random";
}

void writeDecoder(std::FILE* file, const RecordSimulation& simulation) {
  std::fprintf(file, "\n   Decoder     : iterative %s, at most %d iterations%s",
               simulation.decoder.c_str(), simulation.iterations,
               simulation.earlyStop ? ", early stop once the decisions stay the same" : "");
  if (simulation.decoder == "max-log-map") {
    std::fprintf(file, ", extrinsic scale %.3f", simulation.extrinsicScale);
  }
  std::fprintf(file, "\n   Interleaver : %s%s", simulation.interleaver.c_str(),
               drawsEveryFrame(simulation)
                   ? " (a new random permutation every frame: the uniform interleaver's ensemble)"
                   : " (this permutation in every frame)");
  std::fprintf(file, "\n   Seed        : %" PRIu64 "\n", simulation.seed);
  std::fprintf(file, "\n   Channel     : BPSK over AWGN, Eb/N0 per information bit\n");
}

}  // namespace

void writeSimulatedErrorRates(std::FILE* file, const RecordSimulation& simulation) {
  std::fprintf(file, "\n Simulated Error Rates ------------------------------\n");
  writeDecoder(file, simulation);
  std::fprintf(file,
               "\n   SNR[dB]   Frames      Bit errors  Frame errors  BER           BER 95%% "
               "interval            FER           FER 95%% interval            Iterations\n");
  for (const SimulatedPoint& point : simulation.points) {
    std::fprintf(file,
                 "%9.3f   %-10" PRId64 "  %-10" PRId64 "  %-12" PRId64
                 "  %e  [%e, %e]  %e  [%e, %e]  %.2f%s\n",
                 point.ebn0Db, point.frames, point.bitErrors, point.frameErrors, point.ber,
                 point.berInterval[0], point.berInterval[1], point.fer, point.ferInterval[0],
                 point.ferInterval[1], point.meanIterations,
                 point.complete ? "" : "  (cancelled: incomplete)");
  }
  // With a new permutation every frame the simulation samples the very ensemble the bounds
  // average; it differs from them by the decoder, not by the interleaver.
  std::fprintf(file, "%s",
               drawsEveryFrame(simulation)
                   ? "\n .. iterative decoding over the uniform interleaver's ensemble (a new "
                     "permutation every frame), which the bounds average for maximum-likelihood "
                     "decoding"
                   : "\n .. the code with this one permutation under iterative decoding, not the "
                     "uniform-interleaver average");
  std::fprintf(file, "; intervals are exact (Clopper-Pearson) 95 %% intervals");
  std::fprintf(file, "\n ----------------------------------------------------\n");
  std::fflush(file);
}

}  // namespace brevandor
