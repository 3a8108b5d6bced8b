// brevandor-bounds-bench: the cost of each bound of the "Further Bounds" section over a whole
// Eb/N0 grid, beside the "BER Bounds" section of the same spectrum, and the tangential-sphere
// bound's fast engine against its reference engine, side by side in one process.
//
//   brevandor-bounds-bench [--frames=1000,10000] [--spectrum=FILE:n:K] [--reference=16,100]
//                          [--ebn0=0:0.25:5] [--repeat=3]
//
// --frames computes the spectrum of the default PCCC at each frame length first (not timed);
// --spectrum reads one from a file as brevandor-cli --spectrum-in does; --reference also times
// the reference engine's tangential-sphere bounds for those frames (slow beyond N = 100).
// Each fast timing is the median of --repeat runs. The bounds run on one thread: the times
// are processor seconds of this process, which a busy machine does not stretch.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_support.h"
#include "bounds/ber_bounds.h"
#include "bounds/further_bounds.h"
#include "bounds/spectrum_file.h"
#include "code/code_description.h"
#include "code/conv_code.h"
#include "code/polynomial.h"
#include "enumerators/weight_enumerator.h"
#include "turbo/concatenation_type.h"
#include "turbo/turbo_code.h"

namespace brevandor::bench {
namespace {

struct Spectrum {
  std::string name;
  std::int32_t frameLength = 0;  // K
  std::int32_t codeLength = 0;   // n
  std::vector<double> log10Codewords;
  std::vector<double> log10Weighted;
};

struct Options {
  std::vector<int> frames;
  std::vector<std::string> files;
  std::vector<int> reference;
  EbN0Grid grid;
  int repeat = 1;
};

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    const auto value = [&](std::string_view name) {
      return std::string(argument.substr(name.size()));
    };
    if (argument.starts_with("--frames=")) {
      options.frames = numbers(value("--frames="));
    } else if (argument.starts_with("--spectrum=")) {
      options.files.push_back(value("--spectrum="));
    } else if (argument.starts_with("--reference=")) {
      options.reference = numbers(value("--reference="));
    } else if (argument.starts_with("--ebn0=")) {
      const EbN0GridCheck check = parseEbN0Grid(value("--ebn0="));
      if (!check.grid) {
        std::fprintf(stderr, "--ebn0: %s\n", check.message.c_str());
        std::exit(2);
      }
      options.grid = *check.grid;
    } else if (argument.starts_with("--repeat=")) {
      options.repeat = std::max(1, std::atoi(value("--repeat=").c_str()));
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      std::exit(2);
    }
  }
  if (options.frames.empty() && options.files.empty()) {
    options.frames = {1000};
  }
  return options;
}

Spectrum computedSpectrum(int frameLength) {
  const std::int32_t numerator = parsePolynomial("1+D+D^2");
  const std::int32_t denominator = parsePolynomial("1+D^2");
  ConvCode code(*describeCode(numerator, denominator).description);
  WeightEnumerator enumerators[2];
  TurboCode turbo(ConcatenationType::Parallel, 2);
  turbo.attachConstituent(0, code, enumerators[0]);
  turbo.attachConstituent(1, code, enumerators[1]);
  turbo.setFrameLength(frameLength, 3);
  enumerators[0].allocate(code);
  enumerators[1].allocate(code);
  const RunContext context;
  enumerators[0].computeTransferMatrix(code);
  enumerators[0].computeCwef(code, context);
  enumerators[0].copyTo(enumerators[1], code);
  Spectrum spectrum;
  spectrum.name = "PCCC N = " + std::to_string(frameLength);
  spectrum.frameLength = frameLength;
  spectrum.codeLength = turbo.outputFrameLength;
  const auto entries = static_cast<std::size_t>(turbo.outputFrameLength) + 1;
  spectrum.log10Codewords.assign(entries, 0.0);
  spectrum.log10Weighted.assign(entries, 0.0);
  turbo.computeParallelSpectrum(spectrum.log10Codewords, spectrum.log10Weighted, context);
  for (WeightEnumerator& enumerator : enumerators) {
    enumerator.release(code);
  }
  return spectrum;
}

Spectrum spectrumFromFile(const std::string& argument) {
  const std::size_t second = argument.rfind(':');
  const std::size_t first = argument.rfind(':', second - 1);
  Spectrum spectrum;
  spectrum.name = argument.substr(0, first);
  spectrum.codeLength = std::atoi(argument.substr(first + 1, second - first - 1).c_str());
  spectrum.frameLength = std::atoi(argument.substr(second + 1).c_str());
  SpectrumFileCheck read = readSpectrumFile(spectrum.name, spectrum.codeLength);
  if (!read.spectrum) {
    std::fprintf(stderr, "%s: %s\n", spectrum.name.c_str(), read.message.c_str());
    std::exit(2);
  }
  spectrum.log10Codewords = std::move(read.spectrum->log10Codewords);
  spectrum.log10Weighted = std::move(read.spectrum->log10Weighted);
  return spectrum;
}

void timeSpectrum(const Spectrum& spectrum, const Options& options) {
  const FurtherBoundInputs inputs =
      furtherBoundInputsFromLog10(spectrum.log10Codewords, spectrum.log10Weighted,
                                  spectrum.codeLength, spectrum.codeLength, spectrum.frameLength);
  const double text = medianSeconds(
      options.repeat,
      [&] {
        RunContext context;
        computeBerBoundsFromLog10(inputs.rate(), spectrum.log10Weighted, spectrum.codeLength,
                                  kAllBerBounds, context, options.grid);
      },
      processorSeconds);
  std::printf("| %-22s | %-11s | %7d | %9.3f | %11s | %8s | the text's three, for scale |\n",
              spectrum.name.c_str(), "q,exp,viterbi", spectrum.codeLength, text, "-", "-");
  const bool withReference = std::find(options.reference.begin(), options.reference.end(),
                                       spectrum.frameLength) != options.reference.end();
  for (const FurtherBoundInfo& info : furtherBoundInfos()) {
    const auto timeWith = [&](Engine engine, int repeat) {
      return medianSeconds(
          repeat,
          [&] {
            RunContext context;
            context.engine = engine;
            computeFurtherBounds(inputs, {info.bit}, options.grid, context);
          },
          processorSeconds);
    };
    const double fast = timeWith(Engine::Fast, options.repeat);
    const bool tsb = info.bit == FurtherBound::TangentialSphereBit ||
                     info.bit == FurtherBound::TangentialSphereWord;
    if (tsb && withReference) {
      const double reference = timeWith(Engine::Reference, 1);
      std::printf("| %-22s | %-11s | %7d | %9.3f | %11.3f | %8.1f | |\n", spectrum.name.c_str(),
                  std::string(info.option).c_str(), spectrum.codeLength, fast, reference,
                  reference / fast);
    } else {
      std::printf("| %-22s | %-11s | %7d | %9.3f | %11s | %8s | |\n", spectrum.name.c_str(),
                  std::string(info.option).c_str(), spectrum.codeLength, fast, "-", "-");
    }
    std::fflush(stdout);
  }
}

}  // namespace
}  // namespace brevandor::bench

int main(int argc, char** argv) {
  using namespace brevandor;
  using namespace brevandor::bench;
  const Options options = parse(argc, argv);
  std::printf("Eb/N0 grid %s (%d points); fast timings: median of %d\n",
              formatEbN0Grid(options.grid).c_str(), options.grid.count(), options.repeat);
  std::printf(
      "\n| %-22s | %-11s | %7s | %9s | %11s | %8s | notes |\n"
      "|---|---|---|---|---|---|---|\n",
      "Spectrum", "Bound", "n", "fast s", "reference s", "ratio");
  std::printf("\n(processor seconds for the whole grid; ratio = reference / fast)\n");
  for (const int frame : options.frames) {
    timeSpectrum(computedSpectrum(frame), options);
  }
  for (const std::string& file : options.files) {
    timeSpectrum(spectrumFromFile(file), options);
  }
  return 0;
}
