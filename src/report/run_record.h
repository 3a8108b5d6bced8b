#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brevandor {

// Everything one completed calculation produced, in the form the exports write and the
// results window and brevandor-plot draw: the inputs, the code and turbo parameters, the
// distance spectrum as log10 counts (so that no count underflows or overflows) and every
// bound at every signal-to-noise point. Bounds and further inputs are kept by name, so a new
// bound is one more column and a new input one more named value.
struct RecordInputs {
  std::string numerator;            // canonical polynomial text, "1+D+D^2"
  std::string denominator;          // "1" for a feedforward code
  std::string type;                 // "pccc", "sccc" or "rep", as the command line names it
  std::int32_t frameLength = 0;     // N
  std::vector<std::string> bounds;  // "q", "exp", "viterbi", as the command line names them
  std::string resultsFile;          // the results file the run wrote
  // Inputs beyond these, by name: ("precision", "double"), … Written as text values.
  std::vector<std::pair<std::string, std::string>> further;

  friend bool operator==(const RecordInputs&, const RecordInputs&) = default;
};

// The constituent code the run built, as the results file describes it.
struct RecordCode {
  std::string kind;  // "Recursive Systematic", …
  std::int32_t n = 0;
  std::int32_t k = 0;
  std::int32_t constraintLength = 0;  // K
  std::int32_t states = 0;

  friend bool operator==(const RecordCode&, const RecordCode&) = default;
};

// The concatenation: its display name, frame lengths and rate.
struct RecordTurbo {
  std::string type;  // "PCCC", "SCCC", "SCC with 1st-RC and 2nd-CC"
  std::int32_t constituents = 0;
  std::vector<std::int32_t> frameLengths;  // input bits of each constituent's frame
  std::int32_t outputFrameLength = 0;
  double rate = 0.0;

  friend bool operator==(const RecordTurbo&, const RecordTurbo&) = default;
};

// One weight d that holds codewords: log10 of the average number of codewords A_d and of the
// weighted spectrum B_d (LogZero when B_d is zero).
struct SpectrumLine {
  std::int32_t weight = 0;
  double log10Codewords = 0.0;
  double log10Weighted = 0.0;

  friend bool operator==(const SpectrumLine&, const SpectrumLine&) = default;
};

struct RecordSpectrum {
  std::int32_t maxWeight = 0;       // D, the largest codeword weight
  double codewordScale = 0.0;       // the results file prints A_d / 10^codewordScale
  double weightedScale = 0.0;       // … and B_d / 10^weightedScale
  std::vector<SpectrumLine> lines;  // the weights with A_d > 0, increasing
  double log10Sum = 0.0;            // log10 of the sum of all A_d (sum check)
  double log10InputWords = 0.0;     // log10 2^N, what the sum approaches (2^N − 1)

  friend bool operator==(const RecordSpectrum&, const RecordSpectrum&) = default;
};

// One bound over the signal-to-noise grid. Values beyond a double's range (far above 1 at low
// Eb/N0 for long frames) keep extended precision.
struct BoundColumn {
  std::string name;                 // the results file's column head: "UB_Q"
  std::string title;                // the Options dialog's name: "Union Bound (Q function)"
  std::vector<long double> values;  // one per grid point
  // The low-weight mode's sums over the first weights only: estimates of the error floor,
  // not bounds.
  bool estimate = false;
  // log10 of each value that lies below even the extended range (about 1e-4951; `values`
  // holds it as 0 or a subnormal), −∞ at the other points; empty where no value does.
  std::vector<double> log10Beyond{};

  friend bool operator==(const BoundColumn&, const BoundColumn&) = default;
};

struct RecordBounds {
  std::vector<double> ebn0Db;  // the grid, in dB
  std::vector<BoundColumn> columns;

  friend bool operator==(const RecordBounds&, const RecordBounds&) = default;
};

// One weight of the given permutation's spectrum: the exact number of input words whose
// codeword has weight d, and B_d = Σ w / N over them.
struct GivenSpectrumLine {
  std::int32_t weight = 0;
  std::uint64_t codewords = 0;   // A_d
  double bitMultiplicity = 0.0;  // B_d

  friend bool operator==(const GivenSpectrumLine&, const GivenSpectrumLine&) = default;
};

// The low-weight spectrum of the code with one given permutation (not the uniform-interleaver
// average): every codeword of weight d ≤ D.
struct RecordGivenInterleaver {
  std::string interleaver;                      // as the user named it: "qpp:3,10"
  std::int32_t maxWeight = 0;                   // D
  std::optional<std::int32_t> minimumDistance;  // none: no codeword of weight ≤ D
  std::vector<GivenSpectrumLine> lines;         // the weights with A_d > 0, increasing
  std::uint64_t candidates = 0;                 // partial input words the search examined
  // The union bound (Q function) of the bit error rate over d ≤ D at each point of the
  // record's Eb/N0 grid: an estimate of this permutation's error floor (empty: no bounds).
  std::vector<long double> bitErrorEstimates;
  // log10 of each estimate below even the extended range, −∞ at the other points; empty where
  // none is (as BoundColumn::log10Beyond).
  std::vector<double> log10EstimatesBeyond{};

  friend bool operator==(const RecordGivenInterleaver&, const RecordGivenInterleaver&) = default;
};

// One simulated Eb/N0 point of the actual code under iterative decoding: counts, error
// rates and their 95 % Clopper–Pearson intervals [low, high].
struct SimulatedPoint {
  double ebn0Db = 0.0;
  std::int64_t frames = 0;
  std::int64_t bitErrors = 0;
  std::int64_t frameErrors = 0;
  std::int64_t bitsPerFrame = 0;  // information bits N, for merging counts
  double ber = 0.0;
  double fer = 0.0;
  std::array<double, 2> berInterval{0.0, 1.0};
  std::array<double, 2> ferInterval{0.0, 1.0};
  double meanIterations = 0.0;
  bool complete = true;  // false: a cancel broke the point off

  friend bool operator==(const SimulatedPoint&, const SimulatedPoint&) = default;
};

// The "Simulated Error Rates" of a run: how it decoded and each point it simulated.
struct RecordSimulation {
  std::string decoder;  // "log-map" or "max-log-map"
  double extrinsicScale = 1.0;
  std::int32_t iterations = 0;  // the most per frame
  bool earlyStop = false;
  std::string interleaver;  // "random" (a new permutation per frame) or one permutation
  std::uint64_t seed = 0;
  std::vector<SimulatedPoint> points;

  friend bool operator==(const RecordSimulation&, const RecordSimulation&) = default;
};

struct RunRecord {
  std::string programVersion;
  RecordInputs inputs;
  RecordCode code;
  RecordTurbo turbo;
  RecordSpectrum spectrum;
  RecordBounds bounds;
  std::optional<RecordGivenInterleaver> givenInterleaver;  // only when asked for
  std::optional<RecordSimulation> simulation;              // set when the run simulated the code

  friend bool operator==(const RunRecord&, const RunRecord&) = default;
};

// The name of a run in lists and legends: "PCCC (1, 1+D+D^2 / 1+D^2), N = 1000"; a
// feedforward code reads "(1, 1+D+D^2)"; a second code follows the first after " + ", a
// puncturing pattern the frame length (", puncture 11,10,01"), and a low-weight run ends in
// ", d ≤ 20".
std::string runLabel(const RunRecord& record);

// The column of the sphere-packing lower bound on the word error probability, or nullptr.
const BoundColumn* lowerBoundColumn(const RecordBounds& bounds);

// Whether the estimate in `column` at grid point `point` lies below the sphere-packing lower
// bound (for a bit-error estimate: below the word bound divided by the K information bits, as
// P_b ≥ P_w / K): no code of this length and rate reaches it, so the estimate does not hold
// there. False for bounds and where the run has no lower bound.
bool estimateBelowLowerBound(const RunRecord& record, const BoundColumn& column, std::size_t point);

// The entry of `log10Beyond` at `point` where the value there lies below the extended range
// and its long double cannot hold it; nothing elsewhere.
std::optional<double> log10BeyondRange(const std::vector<double>& log10Beyond, std::size_t point);

// log10 of the bound in `column` at `point` where its value lies below the extended range and
// `values` cannot hold it; nothing elsewhere.
std::optional<double> log10BeyondRange(const BoundColumn& column, std::size_t point);

// log10 of each of `values` that lies below the extended range, from the natural logs of the
// same values (`logs`, −∞ for a bound of 0); empty where no value does. Fills
// BoundColumn::log10Beyond.
std::vector<double> log10BeyondRange(const std::vector<long double>& values,
                                     const std::vector<long double>& logs);

// The line of the free distance, the lowest weight that holds codewords; nullptr when the
// spectrum holds none.
const SpectrumLine* freeDistanceLine(const RunRecord& record);

}  // namespace brevandor
