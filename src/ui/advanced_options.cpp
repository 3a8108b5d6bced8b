#include "ui/advanced_options.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bounds/bound_catalogue.h"
#include "progress/run_context.h"
#include "run/bound_lists.h"
#include "run/field_checks.h"
#include "run/simulation_options.h"
#include "run/standard_codes.h"

namespace brevandor {

namespace {

AdvancedOption threadsOption() {
  AdvancedOption option;
  option.key = "threads";
  option.commandLine = "--threads";
  option.label = QStringLiteral("Worker &threads");
  option.toolTip = QStringLiteral(
      "How many threads share the calculation. \"all cores\" uses every core of this "
      "machine; fewer leave room for other work. The results do not depend on it.");
  option.editor = AdvancedOption::Editor::Count;
  option.minimum = 0;
  option.maximum = maxWorkerThreads();  // what a run accepts, as on the command line
  option.zeroText = QStringLiteral("all cores");
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

AdvancedOption ebn0GridOption() {
  AdvancedOption option;
  option.key = "ebn0";
  option.commandLine = "--ebn0";
  option.label = QStringLiteral("Eb/N0 po&ints [dB]");
  option.toolTip = QStringLiteral(
      "The signal-to-noise ratios of every bound section, as FROM:STEP:TO in dB: from -5 to "
      "30 dB, at most 1001 points. 0:0.25:5 gives the usual 21 rows.");
  option.editor = AdvancedOption::Editor::Text;
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
  AdvancedOption option;
  option.key = "furtherBounds";
  option.commandLine = "--bounds";
  option.label = QStringLiteral("F&urther bounds");
  option.toolTip = QStringLiteral(
      "Bounds written in a section of their own after the BER bounds: word-error union "
      "bounds, the tangential-sphere and simple bounds (tighter below the cutoff rate), and "
      "the sphere-packing lower bound of any code with the same length and rate.");
  option.editor = AdvancedOption::Editor::Checks;
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
  AdvancedOption option;
  option.key = "precision";
  option.commandLine = "--precision";
  option.label = QStringLiteral("Table p&recision");
  option.toolTip = QStringLiteral(
      "How the weight tables hold their counts. \"single\" is enough for the spectrum's shape "
      "and the bounds; \"double\" holds every count to about 1e-9 at any frame length, for "
      "twice the memory and about twice the time. \"default\" takes double for low-weight "
      "runs and frames over 1023 bits (single when double does not fit), single for the rest.");
  option.editor = AdvancedOption::Editor::Choice;
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
// option of the same name; empty for none.
AdvancedOption exportOption(const char* key, const char* commandLine, const QString& label,
                            const QString& toolTip, std::string ExportFiles::*path) {
  AdvancedOption option;
  option.key = key;
  option.commandLine = commandLine;
  option.label = label;
  option.toolTip = toolTip;
  option.editor = AdvancedOption::Editor::Text;
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

// Low-weight mode: the caption reads on into the value, "Low-weight terms only, d ≤ 20".
AdvancedOption maxWeightOption() {
  AdvancedOption option;
  option.key = "maxWeight";
  option.commandLine = "--max-weight";
  option.label = QStringLiteral("&Low-weight terms only, d \u2264");
  option.toolTip = QStringLiteral(
      "Computes the spectrum only for codeword weights up to D, which decide the error floor, "
      "and accepts frames of up to 1000000 bits. The bounds then become estimates of the "
      "error floor. \"whole spectrum\" computes every weight (frames up to 10000 bits).");
  option.editor = AdvancedOption::Editor::Count;
  option.minimum = 0;
  option.maximum = kMaxLowWeightLimit;
  option.zeroText = QStringLiteral("whole spectrum");
  option.read = [](const RunSettings& settings) {
    return QString::number(settings.inputs.maxWeight);
  };
  option.write = [](RunSettings& settings, const QString& value) {
    const QString text = value.trimmed();
    if (text == QStringLiteral("0")) {
      settings.inputs.maxWeight = 0;
      return QString();
    }
    const FrameLengthCheck limit = checkMaxWeight(text.toStdString());
    if (!limit.value) {
      return QString::fromStdString(limit.message);
    }
    settings.inputs.maxWeight = *limit.value;
    return QString();
  };
  return option;
}

// A standard code by name; picking one fills the fields of its code.
AdvancedOption standardCodeOption() {
  AdvancedOption option;
  option.key = "standardCode";
  option.commandLine = "--code";
  option.label = QStringLiteral("Standard code (&8)");
  option.toolTip = QStringLiteral(
      "A turbo code of a standard. Picking one fills the main window's polynomials and type "
      "and the encoder, termination, tail and pattern fields with its parameters; Get it "
      "refuses a field changed against it. none: the fields as they are.");
  option.editor = AdvancedOption::Editor::Choice;
  option.choices = {QStringLiteral("none")};
  for (const StandardCode& code : standardCodes()) {
    option.choices.append(
        QString::fromLatin1(code.name.data(), static_cast<int>(code.name.size())));
  }
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

// The encoders of a PCCC; Get it refuses more than two for the other types.
AdvancedOption constituentsOption() {
  AdvancedOption option;
  option.key = "constituents";
  option.commandLine = "--constituents";
  option.label = QStringLiteral("PCCC encoders, 2 to 4 (&3)");
  option.toolTip = QStringLiteral(
      "How many encoders a PCCC has, 2 to 4: each after the first reads the input through an "
      "independent uniform interleaver and sends its parity bits. Encoders after the first "
      "use the second constituent code where one is given.");
  option.editor = AdvancedOption::Editor::Count;
  option.minimum = kMinConstituents;
  option.maximum = kMaxConstituents;
  option.read = [](const RunSettings& settings) {
    return QString::number(settings.inputs.constituentCount);
  };
  option.write = [](RunSettings& settings, const QString& value) {
    const FrameLengthCheck count = checkConstituentCount(value.trimmed().toStdString());
    if (!count.value) {
      return QString::fromStdString(count.message);
    }
    settings.inputs.constituentCount = *count.value;
    return QString();
  };
  return option;
}

// A choice among fixed names, kept in RunInputs through `read` and `write`.
AdvancedOption choiceOption(const char* key, const char* commandLine, const QString& label,
                            const QString& toolTip, const QStringList& choices,
                            std::function<QString(const RunInputs&)> read,
                            std::function<void(RunInputs&, const QString&)> write) {
  AdvancedOption option;
  option.key = key;
  option.commandLine = commandLine;
  option.label = label;
  option.toolTip = toolTip;
  option.editor = AdvancedOption::Editor::Choice;
  option.choices = choices;
  option.read = [read](const RunSettings& settings) { return read(settings.inputs); };
  option.write = [choices, write](RunSettings& settings, const QString& value) {
    if (!choices.contains(value.trimmed())) {
      return QStringLiteral("Please choose one of %1.").arg(choices.join(QStringLiteral(", ")));
    }
    write(settings.inputs, value.trimmed());
    return QString();
  };
  return option;
}

// How the frames end and which tail bits are sent.
std::vector<AdvancedOption> terminationOptions() {
  return {
      choiceOption(
          "termination", "--termination", QStringLiteral("&Frame termination"),
          QStringLiteral("How the encoders' frames end: both (each encoder returns to state 0 "
                         "with its own tail), first (encoder 1 or the outer code terminated, "
                         "the others left open), open (no tails), tail-biting (PCCC, SCCC: each "
                         "encoder ends in the state it began in, no tails)."),
          {QStringLiteral("both"), QStringLiteral("first"), QStringLiteral("open"),
           QStringLiteral("tail-biting")},
          [](const RunInputs& inputs) {
            const std::string_view name = terminationName(inputs.termination);
            return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
          },
          [](RunInputs& inputs, const QString& value) {
            inputs.termination = parseTermination(value.toStdString()).value_or(Termination::Both);
          }),
      choiceOption(
          "tailInputs", "--tail-inputs", QStringLiteral("Tail input bits sent by (&4)"),
          QStringLiteral("all: every terminated encoder sends its tail input bits; first: only "
                         "encoder 1 does, the others send their tail parities alone."),
          {QStringLiteral("all"), QStringLiteral("first")},
          [](const RunInputs& inputs) {
            return inputs.tailRule.firstTailInputOnly ? QStringLiteral("first")
                                                      : QStringLiteral("all");
          },
          [](RunInputs& inputs, const QString& value) {
            inputs.tailRule.firstTailInputOnly = value == QStringLiteral("first");
          }),
      choiceOption(
          "tailPattern", "--tail-pattern", QStringLiteral("Tail sections and the pattern (&5)"),
          QStringLiteral("whole: the tail sections send every bit; punctured: they continue the "
                         "puncturing pattern at sections N, N+1, …"),
          {QStringLiteral("whole"), QStringLiteral("punctured")},
          [](const RunInputs& inputs) {
            return inputs.tailRule.punctureTail ? QStringLiteral("punctured")
                                                : QStringLiteral("whole");
          },
          [](RunInputs& inputs, const QString& value) {
            inputs.tailRule.punctureTail = value == QStringLiteral("punctured");
          })};
}

// A text option of RunInputs that Get it checks against the rest of the inputs; the dialog
// refuses only what is wrong in the text itself (`check`: why, or nothing).
AdvancedOption textOption(const char* key, const char* commandLine, const char* label,
                          const char* toolTip, const char* placeholder,
                          std::string RunInputs::*field,
                          std::function<std::string(const std::string&)> check) {
  AdvancedOption option;
  option.key = key;
  option.commandLine = commandLine;
  option.label = QString::fromUtf8(label);
  option.toolTip = QString::fromUtf8(toolTip);
  option.editor = AdvancedOption::Editor::Text;
  option.placeholder = QString::fromUtf8(placeholder);
  option.read = [field](const RunSettings& settings) {
    return QString::fromStdString(settings.inputs.*field);
  };
  option.write = [field, check](RunSettings& settings, const QString& value) {
    const std::string text = value.trimmed().toStdString();
    const std::string refusal = text.empty() ? std::string() : check(text);
    if (!refusal.empty()) {
      return QString::fromStdString(refusal);
    }
    settings.inputs.*field = text;
    return QString();
  };
  return option;
}

std::string polynomialRefusal(const std::string& text) {
  return polynomialListRefusal(text, kMaxTextLength);
}

std::function<std::string(const std::string&)> patternRefusal(
    std::span<const std::string_view> rows) {
  return [rows](const std::string& text) { return puncturePatternRefusal(text, rows); };
}

std::vector<AdvancedOption> constituentOptions() {
  std::vector<AdvancedOption> options{
      textOption("numerator2", "--numerator2", "Second constituent code: &numerator",
                 "The feedforward polynomials of a second constituent code, separated by commas "
                 "(one parity output each, up to four): encoder 2 of a PCCC, the inner code of "
                 "an SCCC. Empty: the numerators of the main window.",
                 "the first code's", &RunInputs::numerator2, polynomialRefusal),
      textOption("denominator2", "--denominator2", "Second constituent code: d&enominator",
                 "The feedback polynomial of the second constituent code; \"1\" for a "
                 "feedforward code. Empty: the denominator of the main window.",
                 "the first code's", &RunInputs::denominator2, polynomialRefusal),
      textOption("puncture", "--puncture", "&PCCC puncturing pattern",
                 "Rows SYS,PAR1,PAR2 of 0 (left out) and 1 (sent), one period of 1 to 64 "
                 "sections each: the systematic bits, encoder 1's and encoder 2's parity bits "
                 "(a code of several parity outputs has one row for each, in polynomial "
                 "order: SYS,PAR1.1,PAR1.2,…,PAR2.1,…). "
                 "The bit of section t is sent where its row holds 1 at position t mod period; "
                 "tail bits always are. 11,10,01 gives rate 1/2. Empty: nothing punctured.",
                 "none, e.g. 11,10,01", &RunInputs::puncture, patternRefusal(kParallelPatternRows)),
      textOption("punctureOuter", "--puncture-outer", "SCCC &outer puncturing pattern",
                 "Rows SYS,PAR of the outer code of an SCCC, read as the PCCC pattern is; the "
                 "interleaver then carries the outer bits sent. Empty: nothing punctured.",
                 "none, e.g. 11,10", &RunInputs::punctureOuter, patternRefusal(kSerialPatternRows)),
      textOption("punctureInner", "--puncture-inner", "SCCC inner pun&cturing pattern",
                 "Rows SYS,PAR of the inner code of an SCCC. Empty: nothing punctured.",
                 "none, e.g. 11,10", &RunInputs::punctureInner,
                 patternRefusal(kSerialPatternRows))};
  // The widest pattern's rows of 64 characters and their commas.
  for (std::size_t i = 2; i < options.size(); ++i) {
    options[i].maxLength = kMaxPatternTextLength;
  }
  return options;
}

// A choice of two words for a yes/no field of the simulation.
AdvancedOption simulationSwitch(const char* key, const char* commandLine, const char* label,
                                const char* toolTip, bool SimulationTexts::*field) {
  AdvancedOption option;
  option.key = key;
  option.commandLine = commandLine;
  option.label = QString::fromUtf8(label);
  option.toolTip = QString::fromUtf8(toolTip);
  option.editor = AdvancedOption::Editor::Choice;
  option.choices = {QStringLiteral("off"), QStringLiteral("on")};
  option.read = [field](const RunSettings& settings) {
    return settings.inputs.simulation.*field ? QStringLiteral("on") : QStringLiteral("off");
  };
  option.write = [field](RunSettings& settings, const QString& value) {
    settings.inputs.simulation.*field = value.trimmed() == QLatin1String("on");
    return QString();
  };
  return option;
}

// A text field of the simulation, refused in the dialog only where the text alone is wrong.
AdvancedOption simulationText(const char* key, const char* commandLine, const char* label,
                              const char* toolTip, std::string SimulationTexts::*field) {
  AdvancedOption option;
  option.key = key;
  option.commandLine = commandLine;
  option.label = QString::fromUtf8(label);
  option.toolTip = QString::fromUtf8(toolTip);
  option.editor = AdvancedOption::Editor::Text;
  option.read = [field](const RunSettings& settings) {
    return QString::fromStdString(settings.inputs.simulation.*field);
  };
  option.write = [field, commandLine](RunSettings& settings, const QString& value) {
    const std::string text = value.trimmed().toStdString();
    const std::string refusal = simulationTextRefusal(commandLine, text);
    if (!refusal.empty()) {
      return QString::fromStdString(refusal);
    }
    settings.inputs.simulation.*field = text;
    return QString();
  };
  return option;
}

// The permutation of the simulated code and of the given-interleaver search, checked in the
// dialog as a description; whether it fits the frame is checked when the run starts.
AdvancedOption interleaverOption() {
  AdvancedOption option;
  option.key = "interleaver";
  option.commandLine = "--interleaver";
  option.label = QStringLiteral("Interleaver permutation (&6)");
  option.toolTip = QStringLiteral(
      "random: a new permutation every simulated frame (the uniform interleaver's ensemble); "
      "random:SEED, s-random:S[:SEED], qpp:F1,F2, lte, ccsds, or file:PATH with "
      "whitespace-separated 0-based indices: one given permutation, simulated and, with the "
      "low-weight limit, searched for its exact low-weight spectrum. Empty: random.");
  option.editor = AdvancedOption::Editor::Text;
  option.placeholder = QStringLiteral("random");
  option.read = [](const RunSettings& settings) {
    return QString::fromStdString(settings.inputs.interleaver);
  };
  option.write = [](RunSettings& settings, const QString& value) {
    const std::string text = value.trimmed().toStdString();
    if (!text.empty()) {
      if (const std::string refusal = interleaverRefusal(text); !refusal.empty()) {
        return QString::fromStdString(refusal);
      }
    }
    settings.inputs.interleaver = text;
    return QString();
  };
  return option;
}

// The "Simulation" settings: iterative decoding of the code beside its bounds.
std::vector<AdvancedOption> simulationOptions() {
  std::vector<AdvancedOption> options{
      simulationSwitch("simulate", "--simulate", "Simulate the code (&0)",
                       "Also decode the code iteratively over BPSK and AWGN at the Eb/N0 points "
                       "and write the section \"Simulated Error Rates\": BER and FER with 95 % "
                       "intervals, beside the bounds.",
                       &SimulationTexts::simulate),
      interleaverOption(),
      simulationText("decoder", "--decoder", "Decoder al&gorithm",
                     "log-map (exact) or max-log-map (faster, its extrinsic values scaled).",
                     &SimulationTexts::decoder),
      simulationText("extrinsicScale", "--extrinsic-scale", "Extrinsic &value scale",
                     "The factor on the extrinsic values max-log-map passes on, above 0 and at "
                     "most 1; 0.7 is usual.",
                     &SimulationTexts::extrinsicScale),
      simulationText("iterations", "--iterations", "Iter&ations per frame",
                     "Decoder iterations per frame, 1 to 100.", &SimulationTexts::iterations),
      simulationSwitch("earlyStop", "--early-stop", "Earl&y stop",
                       "Stop a frame's iterations once its hard decisions stay the same.",
                       &SimulationTexts::earlyStop),
      simulationText("seed", "--seed", "Seed (random &key)",
                     "The same seed gives the same counts on any number of threads.",
                     &SimulationTexts::seed),
      simulationText("minFrameErrors", "--min-frame-errors", "Frame errors to reac&h",
                     "A point ends after this many wrongly decoded frames.",
                     &SimulationTexts::minFrameErrors),
      simulationText("maxFrames", "--max-frames", "Ma&ximum frames per point",
                     "A point ends after this many frames at the latest; the sweep ends after "
                     "a point without errors.",
                     &SimulationTexts::maxFrames),
      simulationText("maxSeconds", "--max-seconds", "&Wall-time limit per point [s]",
                     "A point ends after this many seconds (0: no limit).",
                     &SimulationTexts::maxSeconds),
      simulationText("framesFrom", "--frames-from", "Frame window: first (&1)",
                     "Simulate only frames A to B - 1 of every point, to split one simulation "
                     "over machines and merge the records. Empty: no window.",
                     &SimulationTexts::framesFrom),
      simulationText("framesTo", "--frames-to", "Frame window: end (&2)",
                     "The end B of the frame window (not simulated itself).",
                     &SimulationTexts::framesTo)};
  options[2].editor = AdvancedOption::Editor::Choice;
  options[2].choices = {QStringLiteral("max-log-map"), QStringLiteral("log-map")};
  return options;
}

// The files a completed run also writes, as the command line's --json, --csv, --spectrum-csv.
std::vector<AdvancedOption> exportOptions() {
  return {
      exportOption("jsonFile", "--json", QStringLiteral("&JSON record"),
                   QStringLiteral("Also save the whole result (inputs, code, spectrum, "
                                  "bounds) as JSON in this file, beside the results file; "
                                  "the results window and brevandor-plot open it again."),
                   &ExportFiles::json),
      exportOption("csvFile", "--csv", QStringLiteral("&Bound table CSV"),
                   QStringLiteral("Also save the bound table as CSV in this file, beside "
                                  "the results file."),
                   &ExportFiles::csv),
      exportOption("spectrumCsvFile", "--spectrum-csv", QStringLiteral("&Spectrum CSV"),
                   QStringLiteral("Also save the spectrum (A_d and B_d for every weight "
                                  "that holds codewords) as CSV in this file, beside the "
                                  "results file."),
                   &ExportFiles::spectrumCsv),
      exportOption("simulationCsvFile", "--simulation-csv", QStringLiteral("Simulation CSV (&7)"),
                   QStringLiteral("Also save the simulated points (frames, errors, BER and "
                                  "FER with their 95 % intervals) as CSV in this file, "
                                  "beside the results file; needs the simulation."),
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
