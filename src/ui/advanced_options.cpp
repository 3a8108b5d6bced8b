#include "ui/advanced_options.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "bounds/bound_catalogue.h"
#include "progress/run_context.h"
#include "run/bound_lists.h"
#include "run/field_checks.h"
#include "run/simulation_options.h"
#include "run/standard_codes.h"

namespace brevandor {

namespace {

using Editor = AdvancedOption::Editor;

// What every option says of itself: its settings key, the command-line option it mirrors, its
// caption with the mnemonic and its tooltip (UTF-8).
struct OptionText {
  const char* key;
  const char* commandLine;
  const char* label;
  const char* toolTip;
};

// An option entered with `editor`; the caller adds how its value is read and written.
AdvancedOption describedOption(const OptionText& text, Editor editor) {
  AdvancedOption option;
  option.key = text.key;
  option.commandLine = text.commandLine;
  option.label = QString::fromUtf8(text.label);
  option.toolTip = QString::fromUtf8(text.toolTip);
  option.editor = editor;
  return option;
}

// The part of the settings that holds the fields of `Group`: the run inputs, their tail rule
// or their simulation texts.
template <typename Group, typename Settings>
auto& groupOf(Settings& settings) {
  if constexpr (std::is_same_v<Group, RunInputs>) {
    return settings.inputs;
  } else if constexpr (std::is_same_v<Group, TailRule>) {
    return settings.inputs.tailRule;
  } else {
    static_assert(std::is_same_v<Group, SimulationTexts>);
    return settings.inputs.simulation;
  }
}

// The field `field` of the settings, wherever among them its group lies.
template <typename Settings, typename Group, typename Field>
auto& fieldOf(Settings& settings, Field Group::*field) {
  return groupOf<Group>(settings).*field;
}

// A whole number from `minimum` to `maximum` in a spin box that shows `zeroText` for 0.
AdvancedOption countOption(const OptionText& text, int minimum, int maximum,
                           const QString& zeroText = QString()) {
  AdvancedOption option = describedOption(text, Editor::Count);
  option.minimum = minimum;
  option.maximum = maximum;
  option.zeroText = zeroText;
  return option;
}

// A count kept in `field` of the run inputs, refused with the message of `check`.
AdvancedOption inputCountOption(const OptionText& text, int minimum, int maximum,
                                const QString& zeroText, std::int32_t RunInputs::*field,
                                FrameLengthCheck (*check)(std::string_view, std::size_t)) {
  AdvancedOption option = countOption(text, minimum, maximum, zeroText);
  option.read = [field](const RunSettings& settings) {
    return QString::number(settings.inputs.*field);
  };
  option.write = [field, check](RunSettings& settings, const QString& value) {
    const FrameLengthCheck count = check(value.trimmed().toStdString(), kFieldReadLimit);
    if (!count.value) {
      return QString::fromStdString(count.message);
    }
    settings.inputs.*field = *count.value;
    return QString();
  };
  return option;
}

// Why a text is refused; empty when it is taken.
using Refusal = std::function<std::string(const std::string&)>;

// A text the run reads as "not given" when empty: only a text with something in it is checked.
Refusal unlessEmpty(Refusal check) {
  return [check](const std::string& text) { return text.empty() ? std::string() : check(text); };
}

// Free text kept in `field`, trimmed; the dialog refuses only what `refusal` finds wrong in the
// text itself, the rest is checked against the other inputs when the run starts.
template <typename Group>
AdvancedOption textOption(const OptionText& text, const char* placeholder,
                          std::string Group::*field, Refusal refusal) {
  AdvancedOption option = describedOption(text, Editor::Text);
  option.placeholder = QString::fromUtf8(placeholder);
  option.read = [field](const RunSettings& settings) {
    return QString::fromStdString(fieldOf(settings, field));
  };
  option.write = [field, refusal](RunSettings& settings, const QString& value) {
    const std::string typed = value.trimmed().toStdString();
    if (const std::string why = refusal(typed); !why.empty()) {
      return QString::fromStdString(why);
    }
    fieldOf(settings, field) = typed;
    return QString();
  };
  return option;
}

// A choice among fixed words; `read` gives the word the settings hold, `write` keeps one.
AdvancedOption choiceOption(const OptionText& text, const QStringList& choices,
                            std::function<QString(const RunSettings&)> read,
                            std::function<void(RunSettings&, const QString&)> write) {
  AdvancedOption option = describedOption(text, Editor::Choice);
  option.choices = choices;
  option.read = std::move(read);
  option.write = [choices, write](RunSettings& settings, const QString& value) {
    if (!choices.contains(value.trimmed())) {
      return QStringLiteral("Please choose one of %1.").arg(choices.join(QStringLiteral(", ")));
    }
    write(settings, value.trimmed());
    return QString();
  };
  return option;
}

// A choice of two words for a yes/no field: `onWord` where the field is true.
template <typename Group>
AdvancedOption switchOption(const OptionText& text, const char* offWord, const char* onWord,
                            bool Group::*field) {
  const QString off = QString::fromLatin1(offWord);
  const QString on = QString::fromLatin1(onWord);
  return choiceOption(
      text, {off, on},
      [field, off, on](const RunSettings& settings) { return fieldOf(settings, field) ? on : off; },
      [field, on](RunSettings& settings, const QString& value) {
        fieldOf(settings, field) = value == on;
      });
}

AdvancedOption threadsOption() {
  AdvancedOption option =
      countOption({"threads", "--threads", "Worker &threads",
                   "How many threads share the calculation. \"all cores\" uses every core of this "
                   "machine; fewer leave room for other work. The results do not depend on it."},
                  0, maxWorkerThreads(),  // what a run accepts, as on the command line
                  QStringLiteral("all cores"));
  option.read = [](const RunSettings& settings) { return QString::number(settings.threads); };
  option.write = [](RunSettings& settings, const QString& value) {
    const ThreadCountCheck threads = checkThreadCount(value.trimmed().toStdString());
    if (!threads.value) {
      return QStringLiteral("Please enter a number of threads from 0 (all cores) to %1.")
          .arg(maxWorkerThreads());
    }
    settings.threads = *threads.value;
    return QString();
  };
  return option;
}

// The low-weight limit D, 0 for the whole spectrum (which --max-weight itself does not take).
FrameLengthCheck checkMaxWeightOrWhole(std::string_view text, std::size_t readLimit) {
  return text == "0" ? FrameLengthCheck{0, {}} : checkMaxWeight(text, readLimit);
}

// Low-weight mode: the caption reads on into the value, "Low-weight terms only, d ≤ 20".
AdvancedOption maxWeightOption() {
  return inputCountOption(
      {"maxWeight", "--max-weight", "&Low-weight terms only, d \u2264",
       "Computes the spectrum only for codeword weights up to D, which decide the error floor, "
       "and accepts frames of up to 1000000 bits. The bounds then become estimates of the "
       "error floor. \"whole spectrum\" computes every weight (frames up to 10000 bits)."},
      0, kMaxLowWeightLimit, QStringLiteral("whole spectrum"), &RunInputs::maxWeight,
      checkMaxWeightOrWhole);
}

// The encoders of a PCCC; Get it refuses more than two for the other types.
AdvancedOption constituentsOption() {
  return inputCountOption(
      {"constituents", "--constituents", "PCCC encoders, 2 to 4 (&3)",
       "How many encoders a PCCC has, 2 to 4: each after the first reads the input through an "
       "independent uniform interleaver and sends its parity bits. Encoders after the first "
       "use the second constituent code where one is given."},
      kMinConstituents, kMaxConstituents, QString(), &RunInputs::constituentCount,
      checkConstituentCount);
}

AdvancedOption ebn0GridOption() {
  AdvancedOption option = describedOption(
      {"ebn0", "--ebn0", "Eb/N0 po&ints [dB]",
       "The signal-to-noise ratios of every bound section, as FROM:STEP:TO in dB: from -5 to "
       "30 dB, at most 1001 points. 0:0.25:5 gives the usual 21 rows."},
      Editor::Text);
  option.placeholder = QStringLiteral("FROM:STEP:TO");
  option.read = [](const RunSettings& settings) {
    return QString::fromStdString(formatEbN0Grid(settings.inputs.ebn0Grid));
  };
  option.write = [](RunSettings& settings, const QString& value) {
    const EbN0GridCheck check = parseEbN0Grid(value.toStdString());
    if (!check.grid) {
      QString why = QString::fromStdString(check.message);
      why[0] = why[0].toUpper();
      return why + QLatin1Char('.');
    }
    settings.inputs.ebn0Grid = *check.grid;
    return QString();
  };
  return option;
}

AdvancedOption furtherBoundsOption() {
  AdvancedOption option = describedOption(
      {"furtherBounds", "--bounds", "F&urther bounds",
       "Bounds written in a section of their own after the BER bounds: word-error union "
       "bounds, the tangential-sphere and simple bounds (tighter below the cutoff rate), and "
       "the sphere-packing lower bound of any code with the same length and rate."},
      Editor::Checks);
  for (const FurtherBoundInfo& info : furtherBoundInfos()) {
    option.choices.append(
        QString::fromUtf8(info.option.data(), static_cast<int>(info.option.size())));
    QString caption = QString::fromUtf8(info.meaning.data(), static_cast<int>(info.meaning.size()));
    caption[0] = caption[0].toUpper();
    option.choiceLabels.append(caption);
  }
  option.read = [](const RunSettings& settings) {
    return QString::fromStdString(furtherBoundListText(settings.inputs.furtherBounds));
  };
  // The list as --bounds reads it (the check boxes give "" for none); the bounds of the
  // "BER Bounds" section are chosen in the Options dialog.
  option.write = [](RunSettings& settings, const QString& value) {
    const std::string list = value.isEmpty() ? std::string("none") : value.toStdString();
    const std::optional<BoundSelection> selection = parseBoundList(list);
    if (!selection) {
      const QString message = QString::fromStdString(unknownBoundListMessage(list));
      return message.left(1).toUpper() + message.mid(1) + QLatin1Char('.');
    }
    if (!selection->ber.empty()) {
      return QStringLiteral("The bounds of the \"BER Bounds\" section are chosen in Options.");
    }
    settings.inputs.furtherBounds = selection->further;
    return QString();
  };
  return option;
}

// The precision the run picks: double for low-weight runs and long frames, else single.
const QString kDefaultPrecisionChoice = QStringLiteral("default");

AdvancedOption precisionOption() {
  AdvancedOption option = describedOption(
      {"precision", "--precision", "Table p&recision",
       "How the weight tables hold their counts. \"single\" is enough for the spectrum's shape "
       "and the bounds; \"double\" holds every count to about 1e-9 at any frame length, for "
       "twice the memory and about twice the time. \"default\" takes double for low-weight "
       "runs and frames over 1023 bits (single when double does not fit), single for the rest."},
      Editor::Choice);
  option.choices = {kDefaultPrecisionChoice, QStringLiteral("single"), QStringLiteral("double")};
  option.read = [](const RunSettings& settings) {
    if (!settings.inputs.precision) {
      return kDefaultPrecisionChoice;
    }
    const std::string_view name = precisionName(*settings.inputs.precision);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  };
  option.write = [](RunSettings& settings, const QString& value) {
    if (value.trimmed() == kDefaultPrecisionChoice) {
      settings.inputs.precision.reset();
      return QString();
    }
    const auto precision = parsePrecision(value.trimmed().toStdString());
    if (!precision) {
      return QStringLiteral("Please choose default, single or double.");
    }
    settings.inputs.precision = *precision;
    return QString();
  };
  return option;
}

// A file that a completed run also writes beside the results file, like the command line's
// option of the same name; empty for none. The path is kept in the system's encoding.
AdvancedOption exportOption(const OptionText& text, std::string ExportFiles::*path) {
  AdvancedOption option = describedOption(text, Editor::Text);
  option.placeholder = QStringLiteral("none");
  option.read = [path](const RunSettings& settings) {
    return QString::fromLocal8Bit((settings.exports.*path).c_str());
  };
  option.write = [path](RunSettings& settings, const QString& value) {
    settings.exports.*path = value.trimmed().toLocal8Bit().toStdString();
    return QString();
  };
  return option;
}

// A standard code by name; picking one fills the fields of its code.
AdvancedOption standardCodeOption() {
  QStringList names{QStringLiteral("none")};
  for (const StandardCode& code : standardCodes()) {
    names.append(QString::fromLatin1(code.name.data(), static_cast<int>(code.name.size())));
  }
  AdvancedOption option = describedOption(
      {"standardCode", "--code", "Standard code (&8)",
       "A turbo code of a standard. Picking one fills the main window's polynomials and type "
       "and the encoder, termination, tail and pattern fields with its parameters; Get it "
       "refuses a field changed against it. none: the fields as they are."},
      Editor::Choice);
  option.choices = names;
  option.read = [](const RunSettings& settings) {
    return settings.inputs.standardCode.empty()
               ? QStringLiteral("none")
               : QString::fromStdString(settings.inputs.standardCode);
  };
  option.write = [](RunSettings& settings, const QString& value) {
    const std::string name = value.trimmed().toStdString();
    if (name != "none" && findStandardCode(name) == nullptr) {
      return QStringLiteral("Please choose none or one of %1.")
          .arg(QString::fromStdString(standardCodeNames()));
    }
    settings.inputs.standardCode = name == "none" ? std::string() : name;
    return QString();
  };
  option.fillOthers = [](RunSettings& settings, const QString& value) {
    if (const StandardCode* code = findStandardCode(value.toStdString())) {
      applyStandardCode(*code, settings.inputs);
    }
  };
  return option;
}

// How the frames end and which tail bits are sent.
std::vector<AdvancedOption> terminationOptions() {
  return {choiceOption(
              {"termination", "--termination", "&Frame termination",
               "How the encoders' frames end: both (each encoder returns to state 0 with its own "
               "tail), first (encoder 1 or the outer code terminated, the others left open), open "
               "(no tails), tail-biting (each encoder ends in the state it began in, no tails; "
               "PCCC and SCCC), tail-biting-outer or -inner (SCCC: that code tail-biting, the "
               "other terminated)."},
              {QStringLiteral("both"), QStringLiteral("first"), QStringLiteral("open"),
               QStringLiteral("tail-biting"), QStringLiteral("tail-biting-outer"),
               QStringLiteral("tail-biting-inner")},
              [](const RunSettings& settings) {
                const std::string_view name = terminationName(settings.inputs.termination);
                return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
              },
              [](RunSettings& settings, const QString& value) {
                settings.inputs.termination =
                    parseTermination(value.toStdString()).value_or(Termination::Both);
              }),
          switchOption({"tailInputs", "--tail-inputs", "Tail input bits sent by (&4)",
                        "all: every terminated encoder sends its tail input bits; first: only "
                        "encoder 1 does, the others send their tail parities alone."},
                       "all", "first", &TailRule::firstTailInputOnly),
          switchOption({"tailPattern", "--tail-pattern", "Tail sections and the pattern (&5)",
                        "whole: the tail sections send every bit; punctured: they continue the "
                        "puncturing pattern at sections N, N+1, …"},
                       "whole", "punctured", &TailRule::punctureTail)};
}

Refusal patternRefusal(std::span<const std::string_view> rows) {
  return unlessEmpty(
      [rows](const std::string& text) { return puncturePatternRefusal(text, rows); });
}

// The second constituent code and the puncturing patterns, checked against the rest of the
// inputs when the run starts.
std::vector<AdvancedOption> constituentOptions() {
  const Refusal polynomialRefusal = unlessEmpty(
      [](const std::string& text) { return polynomialListRefusal(text, kMaxTextLength); });
  std::vector<AdvancedOption> options{
      textOption({"numerator2", "--numerator2", "Second constituent code: &numerator",
                  "The feedforward polynomials of a second constituent code, separated by "
                  "commas (one parity output each, up to four): encoder 2 of a PCCC, the inner "
                  "code of an SCCC. Empty: the numerators of the main window."},
                 "the first code's", &RunInputs::numerator2, polynomialRefusal),
      textOption({"denominator2", "--denominator2", "Second constituent code: d&enominator",
                  "The feedback polynomial of the second constituent code; \"1\" for a "
                  "feedforward code. Empty: the denominator of the main window."},
                 "the first code's", &RunInputs::denominator2, polynomialRefusal),
      textOption({"puncture", "--puncture", "&PCCC puncturing pattern",
                  "Rows SYS,PAR1,PAR2 of 0 (left out) and 1 (sent), one period of 1 to 64 "
                  "sections each: the systematic bits, encoder 1's and encoder 2's parity bits "
                  "(a code of several parity outputs has one row for each, in polynomial "
                  "order: SYS,PAR1.1,PAR1.2,…,PAR2.1,…). "
                  "The bit of section t is sent where its row holds 1 at position t mod period; "
                  "tail bits always are. 11,10,01 gives rate 1/2. Empty: nothing punctured."},
                 "none, e.g. 11,10,01", &RunInputs::puncture, patternRefusal(kParallelPatternRows)),
      textOption({"punctureOuter", "--puncture-outer", "SCCC &outer puncturing pattern",
                  "Rows SYS,PAR of the outer code of an SCCC, read as the PCCC pattern is; the "
                  "interleaver then carries the outer bits sent. Empty: nothing punctured."},
                 "none, e.g. 11,10", &RunInputs::punctureOuter, patternRefusal(kSerialPatternRows)),
      textOption({"punctureInner", "--puncture-inner", "SCCC inner pun&cturing pattern",
                  "Rows SYS,PAR of the inner code of an SCCC. Empty: nothing punctured."},
                 "none, e.g. 11,10", &RunInputs::punctureInner,
                 patternRefusal(kSerialPatternRows))};
  // The widest pattern's rows of 64 characters and their commas.
  for (std::size_t i = 2; i < options.size(); ++i) {
    options[i].maxLength = kMaxPatternTextLength;
  }
  return options;
}

// A text of the simulation, refused in the dialog only where the text alone is wrong.
AdvancedOption simulationText(const OptionText& text, std::string SimulationTexts::*field) {
  const std::string commandLine = text.commandLine;
  return textOption(text, "", field, [commandLine](const std::string& typed) {
    return simulationTextRefusal(commandLine, typed);
  });
}

// The "Simulation" settings: iterative decoding of the code beside its bounds.
std::vector<AdvancedOption> simulationOptions() {
  return {switchOption({"simulate", "--simulate", "Simulate the code (&0)",
                        "Also decode the code iteratively over BPSK and AWGN at the Eb/N0 points "
                        "and write the section \"Simulated Error Rates\": BER and FER with 95 % "
                        "intervals, beside the bounds."},
                       "off", "on", &SimulationTexts::simulate),
          // The permutation of the simulated code and of the given-interleaver search, checked
          // here as a description; whether it fits the frame is checked when the run starts.
          textOption({"interleaver", "--interleaver", "Interleaver permutation (&6)",
                      "random: a new permutation every simulated frame (the uniform interleaver's "
                      "ensemble); random:SEED, s-random:S[:SEED], qpp:F1,F2, lte, ccsds, or "
                      "file:PATH with whitespace-separated 0-based indices: one given permutation, "
                      "simulated and, with the low-weight limit, searched for its exact low-weight "
                      "spectrum. Empty: random."},
                     "random", &RunInputs::interleaver,
                     unlessEmpty([](const std::string& text) { return interleaverRefusal(text); })),
          choiceOption(
              {"decoder", "--decoder", "Decoder al&gorithm",
               "log-map (exact) or max-log-map (faster, its extrinsic values scaled)."},
              {QStringLiteral("max-log-map"), QStringLiteral("log-map")},
              [](const RunSettings& settings) {
                return QString::fromStdString(settings.inputs.simulation.decoder);
              },
              [](RunSettings& settings, const QString& value) {
                settings.inputs.simulation.decoder = value.toStdString();
              }),
          simulationText({"extrinsicScale", "--extrinsic-scale", "Extrinsic &value scale",
                          "The factor on the extrinsic values max-log-map passes on, above 0 and "
                          "at most 1; 0.7 is usual."},
                         &SimulationTexts::extrinsicScale),
          simulationText({"iterations", "--iterations", "Iter&ations per frame",
                          "Decoder iterations per frame, 1 to 100."},
                         &SimulationTexts::iterations),
          switchOption({"earlyStop", "--early-stop", "Earl&y stop",
                        "Stop a frame's iterations once its hard decisions stay the same."},
                       "off", "on", &SimulationTexts::earlyStop),
          simulationText({"seed", "--seed", "Seed (random &key)",
                          "The same seed gives the same counts on any number of threads."},
                         &SimulationTexts::seed),
          simulationText({"minFrameErrors", "--min-frame-errors", "Frame errors to reac&h",
                          "A point ends after this many wrongly decoded frames."},
                         &SimulationTexts::minFrameErrors),
          simulationText({"maxFrames", "--max-frames", "Ma&ximum frames per point",
                          "A point ends after this many frames at the latest; the sweep ends after "
                          "a point without errors."},
                         &SimulationTexts::maxFrames),
          simulationText({"maxSeconds", "--max-seconds", "&Wall-time limit per point [s]",
                          "A point ends after this many seconds (0: no limit)."},
                         &SimulationTexts::maxSeconds),
          simulationText({"framesFrom", "--frames-from", "Frame window: first (&1)",
                          "Simulate only frames A to B - 1 of every point, to split one simulation "
                          "over machines and merge the records. Empty: no window."},
                         &SimulationTexts::framesFrom),
          simulationText({"framesTo", "--frames-to", "Frame window: end (&2)",
                          "The end B of the frame window (not simulated itself)."},
                         &SimulationTexts::framesTo)};
}

// The files a completed run also writes, as the command line's --json, --csv, --spectrum-csv.
std::vector<AdvancedOption> exportOptions() {
  return {exportOption({"jsonFile", "--json", "&JSON record",
                        "Also save the whole result (inputs, code, spectrum, bounds) as JSON in "
                        "this file, beside the results file; the results window and "
                        "brevandor-plot open it again."},
                       &ExportFiles::json),
          exportOption({"csvFile", "--csv", "&Bound table CSV",
                        "Also save the bound table as CSV in this file, beside the results "
                        "file."},
                       &ExportFiles::csv),
          exportOption({"spectrumCsvFile", "--spectrum-csv", "&Spectrum CSV",
                        "Also save the spectrum (A_d and B_d for every weight that holds "
                        "codewords) as CSV in this file, beside the results file."},
                       &ExportFiles::spectrumCsv),
          exportOption({"simulationCsvFile", "--simulation-csv", "Simulation CSV (&7)",
                        "Also save the simulated points (frames, errors, BER and FER with "
                        "their 95 % intervals) as CSV in this file, beside the results file; "
                        "needs the simulation."},
                       &ExportFiles::simulationCsv)};
}

}  // namespace

QString AdvancedOption::plainLabel() const {
  QString text = label;
  return text.remove(QLatin1Char('&'));
}

bool AdvancedOption::isDefault(const RunSettings& settings) const {
  return read(settings) == read(RunSettings{});
}

const std::vector<AdvancedOption>& advancedOptions() {
  static const std::vector<AdvancedOption> options = [] {
    std::vector<AdvancedOption> all{threadsOption(), maxWeightOption(), ebn0GridOption(),
                                    furtherBoundsOption()};
    all.push_back(standardCodeOption());
    all.push_back(constituentsOption());
    for (AdvancedOption& option : terminationOptions()) {
      all.push_back(std::move(option));
    }
    for (AdvancedOption& option : constituentOptions()) {
      all.push_back(std::move(option));
    }
    all.push_back(precisionOption());
    for (AdvancedOption& option : simulationOptions()) {
      all.push_back(std::move(option));
    }
    for (AdvancedOption& option : exportOptions()) {
      all.push_back(std::move(option));
    }
    return all;
  }();
  return options;
}

QString advancedSummary(const RunSettings& settings) {
  QStringList parts;
  for (const AdvancedOption& option : advancedOptions()) {
    if (!option.isDefault(settings)) {
      parts.append(option.plainLabel() + QLatin1Char(' ') + option.read(settings));
    }
  }
  return parts.join(QStringLiteral("; "));
}

}  // namespace brevandor
