#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bounds/bound_kinds.h"
#include "bounds/ebn0_grid.h"
#include "bounds/spectrum_file.h"
#include "code/code_description.h"
#include "code/termination.h"
#include "logmath/table_precision.h"
#include "run/simulation_options.h"
#include "turbo/concatenation_type.h"

namespace brevandor {

// Limits and defaults that both front ends apply to what the user enters.
inline constexpr std::int32_t kMinFrameLength = 10;
inline constexpr std::int32_t kMaxFrameLength = 10000;
// Low-weight mode (only codeword weights d ≤ D) keeps its tables small enough for long frames.
inline constexpr std::int32_t kMaxLowWeightFrameLength = 1000000;
inline constexpr std::int32_t kMaxLowWeightLimit = 1000000;  // the largest D accepted
inline constexpr std::int32_t kDefaultFrameLength = 128;
inline constexpr std::size_t kMaxTextLength = 100;  // polynomial texts and the file name
inline constexpr std::string_view kDefaultNumerator = "1+D+D^2";
inline constexpr std::string_view kDefaultDenominator = "1+D^2";
inline constexpr std::string_view kDefaultResultsFile = "results.txt";
inline constexpr BerBoundSet kDefaultBoundSelection{BerBound::UnionQ};
// Constants of every run: two constituents unless a PCCC asks for more, and the repetition
// factor of the outer code.
inline constexpr std::int32_t kConstituentCount = 2;
inline constexpr std::int32_t kMinConstituents = 2;  // a PCCC's encoders, --constituents
inline constexpr std::int32_t kMaxConstituents = 4;
inline constexpr std::int32_t kRepetitionFactor = 3;

// A spectrum read from a file and bounded instead of a code's (brevandor-cli --spectrum-in).
struct SpectrumInput {
  std::string path;             // as given, for the results file's first section
  SpectrumFile spectrum;        // read and checked
  std::int32_t codeLength = 0;  // n
  std::int32_t infoBits = 0;    // K
};

// Everything one calculation needs, handed to the run by value.
struct RunInputs {
  std::int32_t inputFrameLength = kDefaultFrameLength;  // N
  ConcatenationType selectedType = ConcatenationType::Parallel;
  BerBoundSet boundSelection = kDefaultBoundSelection;  // the "BER Bounds"; empty: none
  std::string resultsFileName{kDefaultResultsFile};     // path of the results file, as given
  CodeDescription code;                                 // from describeCode
  // Of the weight tables; empty: the run's default (defaultPrecision).
  std::optional<TablePrecision> precision;
  // Beyond the main window (Advanced Setup, command line), as typed; the run reads them
  // through checkConstituentOptions. The second constituent code's polynomials, for encoder
  // 2 of a PCCC or the inner code of an SCCC (empty: the first code's), and the puncturing
  // patterns (empty: none) of a PCCC (SYS,PAR1,PAR2) and of an SCCC's outer and inner codes
  // (SYS,PAR).
  std::string numerator2;
  std::string denominator2;
  std::string puncture;
  std::string punctureOuter;
  std::string punctureInner;
  // The encoders of a PCCC, 2 … 4 (M − 1 independent interleavers); other types have 2.
  std::int32_t constituentCount = kConstituentCount;
  // How the encoders' frames end (--termination) and which tail bits they send.
  Termination termination = Termination::Both;
  TailRule tailRule;
  // 0: the whole spectrum. D > 0: low-weight mode, A_d and B_d for d ≤ D only.
  std::int32_t maxWeight = 0;
  // One permutation as the user names it ("qpp:3,10", "lte", "file:PATH"); empty: none. With
  // maxWeight > 0 the run also searches every codeword of weight ≤ D of the code with it.
  std::string interleaver;
  EbN0Grid ebn0Grid;                           // points of every bound section
  FurtherBoundSet furtherBounds;               // the "Further Bounds" section; empty: none
  std::optional<SpectrumInput> spectrumInput;  // set: only the bounds of this spectrum
  // The simulation's options as typed; with `simulate` the "Simulated Error Rates" stage
  // decodes the code over the same grid. The run reads them through checkSimulationTexts.
  SimulationTexts simulation;
};

// The constituents a run of these inputs concatenates: the PCCC's count, otherwise two.
std::int32_t constituentCountOf(const RunInputs& inputs);

// Full runs of frames up to this length hold single-precision tables by default: their results
// file stays what it always was, and its digits are right there.
inline constexpr std::int32_t kLongestSingleDefaultFrame = 1023;

// The precision a run holds its tables in when none is asked for: double for low-weight runs
// (runs that search a given interleaver among them, as the search takes --max-weight) and for
// frames longer than kLongestSingleDefaultFrame (single precision there leaves printed digits
// wrong: 1.6e-3 at A_8 of N = 100 000), single for the rest.
TablePrecision defaultPrecision(const RunInputs& inputs);
// The precision asked for, or else the default.
TablePrecision tablePrecision(const RunInputs& inputs);

// "single" or "double", the names of the table precisions on the command line and in files.
std::string_view precisionName(TablePrecision precision);
std::optional<TablePrecision> parsePrecision(std::string_view name);

// Which entry a refusal of the polynomial texts is about.
enum class CodeField { None, Numerator, Denominator, Code };

// The code described by the two polynomial texts (the numerator may list up to four
// polynomials separated by commas, one parity output each), or the one log line that says
// why there is none: the denominator's parse message before the numerator's, then describeCode's
// refusal.
struct CodeFromTexts {
  std::optional<CodeDescription> description;
  std::string message;
  CodeField field = CodeField::None;

  explicit operator bool() const { return description.has_value(); }
};
CodeFromTexts codeFromTexts(std::string_view numerator, std::string_view denominator);

// Validation texts of the entry fields.
inline constexpr std::string_view kNotAPositiveInteger = "Please enter a positive integer.";
std::string outOfRangeMessage(std::int64_t low, std::int64_t high);  // "… between 10 and 10000."
std::string tooLongMessage(std::size_t limit);  // "Please enter no more than 100 characters."

// The frame length typed as text: decimal digits with blanks around them, read from at most
// the first 31 characters (as the window's field keeps them), from 10 to 10000. Either the
// value or the message for the user.
struct FrameLengthCheck {
  std::optional<std::int32_t> value;
  std::string message;
};
FrameLengthCheck checkFrameLength(std::string_view text);

// How much of a typed number is read: the window's fields keep their first 31 characters; on
// the command line the whole argument must be the number.
inline constexpr std::size_t kFieldReadLimit = 31;
inline constexpr std::size_t kWholeText = std::string_view::npos;

// The largest frame length a run accepts: 10000 for the whole spectrum, 1000000 in
// low-weight mode (maxWeight > 0).
std::int32_t maxFrameLengthFor(std::int32_t maxWeight);
// The frame length as above, from 10 to the largest the mode accepts (both front ends' rule).
FrameLengthCheck checkFrameLength(std::string_view text, std::int32_t maxWeight,
                                  std::size_t readLimit = kFieldReadLimit);

// The number of PCCC encoders typed as text, read as the frame length is, from 2 to 4.
FrameLengthCheck checkConstituentCount(std::string_view text,
                                       std::size_t readLimit = kFieldReadLimit);

// The weight limit D of low-weight mode typed as text, read as the frame length is, from 1
// to 1000000. Either the value or the message for the user.
FrameLengthCheck checkMaxWeight(std::string_view text, std::size_t readLimit = kFieldReadLimit);

// The worker-thread count: decimal digits only, 0 (all cores) to maxWorkerThreads(); or the
// message that refuses it.
struct ThreadCountCheck {
  std::optional<int> value;
  std::string message;
};
ThreadCountCheck checkThreadCount(std::string_view text);

// The concatenation type called `name` on the command line and in records: "pccc", "sccc" or
// "rep"; nothing for any other name.
std::optional<ConcatenationType> parseTypeName(std::string_view name);

// The name of a concatenation type on the command line and in records.
std::string_view typeOptionName(ConcatenationType type);

}  // namespace brevandor
