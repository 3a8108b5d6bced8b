// brevandor-plot: one picture (SVG or PNG) of the bounds or the spectra of one or more runs
// saved as JSON (brevandor-cli --json), overlaid and labelled. Headless: draws on Qt's
// offscreen platform unless another is asked for.

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QChart>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "brevandor_version.h"
#include "cli/cancel_signals.h"
#include "cli/program_arguments.h"
#include "plot/chart_export.h"
#include "plot/run_charts.h"
#include "progress/printable_text.h"
#include "report/record_files.h"
#include "report/run_record_json.h"
#include "run/simulation_merge.h"

namespace {

using namespace brevandor;

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = cli::kExitRefused;

struct PlotCommand {
  std::vector<std::string> records;
  std::string what = "bounds";
  std::string output = "plot.svg";
  std::string title;
  std::vector<std::string> bounds;
  bool allWeights = false;
  std::string size = "960x640";
  std::string merge;  // set: merge the runs' simulations into this record, draw nothing
};

void describeOptions(CLI::App& app, PlotCommand& command) {
  app.add_option("runs", command.records, "Runs saved as JSON by brevandor-cli --json");
  app.add_option("-w,--what", command.what, "The picture: bounds or spectrum")
      ->capture_default_str()
      ->check(CLI::IsMember({"bounds", "spectrum"}));
  app.add_option("-o,--output", command.output, "The picture to write: a .svg or .png file")
      ->capture_default_str();
  app.add_option("-t,--title", command.title, "A title above the plot");
  app.add_option("-b,--bounds", command.bounds,
                 "The bounds to draw, by name: q, exp, viterbi, tsb, sphere, ..., or UB_Q, "
                 "TSB_Bit, ... (default: all)")
      ->delimiter(',')
      // One list per --bounds, so that the runs may follow it.
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("-s,--size", command.size, "The picture's size in pixels, WIDTHxHEIGHT")
      ->capture_default_str();
  app.add_flag("--all-weights", command.allWeights,
               "Spectrum: every weight that holds codewords, not only the first 50");
  app.add_option("--merge", command.merge,
                 "Add the simulated counts of the runs (frame windows of one simulation, "
                 "brevandor-cli --frames-from/--frames-to) and write the merged record to this "
                 "JSON file instead of drawing")
      ->type_name("OUT.json");
}

// Merges the simulations of `records` into the first and writes it to `path`; the exit
// status.
int mergeRecords(std::vector<RunRecord>& records, const std::string& path) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (const std::string refusal = mergeSimulatedRecord(records.front(), records[i]);
        !refusal.empty()) {
      std::fprintf(stderr, "brevandor-plot: --merge: run %zu: %s\n", i + 1,
                   printableText(refusal).c_str());
      return kExitUsage;
    }
  }
  if (const std::string failure = writeTextFile(path, runRecordJson(records.front()));
      !failure.empty()) {
    std::fprintf(stderr, "brevandor-plot: %s\n", printableText(failure).c_str());
    return kExitFailed;
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  // A full pipe or a file-size limit fails the write, which says so, instead of killing the
  // program half-way through its picture.
  cli::ignoreWriteSignals();
  CLI::App app{
      "Draws the bit-error-rate bounds or the distance spectra of one or more runs, read from\n"
      "the JSON files of brevandor-cli --json, as one labelled picture (SVG or PNG).",
      "brevandor-plot"};
  app.footer(
      "\nExample:\n"
      "  brevandor-plot --what bounds --title \"PCCC, N = 100 and 1000\" --output bounds.svg \\\n"
      "                 pccc-100.json pccc-1000.json\n"
      "\nExit status: 0 done, 1 a record could not be read or the picture not written,\n"
      "2 the command line or a record was refused.");
  app.set_version_flag("--version", "brevandor-plot (Brevandor) Version " BREVANDOR_VERSION);
  PlotCommand command;
  describeOptions(app, command);
  if (const std::optional<int> ended = cli::readProgramArguments(app, argc, argv)) {
    return *ended;
  }
  if (command.records.empty()) {
    std::fprintf(stderr, "brevandor-plot: name at least one saved run (RUN.json); see --help\n");
    return kExitUsage;
  }
  if (!plot::isPictureName(QString::fromStdString(command.output))) {
    std::fprintf(stderr, "brevandor-plot: --output: name a .svg or .png file, not '%s'\n",
                 printableText(command.output).c_str());
    return kExitUsage;
  }

  const std::optional<QSize> size = plot::pictureSize(QString::fromStdString(command.size));
  if (!size) {
    std::fprintf(stderr,
                 "brevandor-plot: --size: give WIDTHxHEIGHT, each %d to %d pixels, not '%s'\n",
                 plot::kSmallestSide, plot::kLargestSide, printableText(command.size).c_str());
    return kExitUsage;
  }

  std::vector<RunRecord> records;
  for (const std::string& path : command.records) {
    RecordReading reading = readRunRecordFile(path);
    if (!reading) {
      std::fprintf(stderr, "brevandor-plot: %s\n", printableText(reading.error).c_str());
      return reading.refused ? kExitUsage : kExitFailed;
    }
    records.push_back(std::move(*reading.record));
  }
  if (!command.merge.empty()) {
    return mergeRecords(records, command.merge);
  }
  std::vector<const RunRecord*> runs;
  for (const RunRecord& record : records) {
    runs.push_back(&record);
  }
  for (const std::string& bound : command.bounds) {
    const QStringList name{QString::fromStdString(bound)};
    bool found = false;
    for (const RunRecord& record : records) {
      for (const BoundColumn& column : record.bounds.columns) {
        found = found || plot::boundSelected(column, name);
      }
    }
    if (!found) {
      std::fprintf(stderr, "brevandor-plot: --bounds: no run holds the bound '%s'\n",
                   printableText(bound).c_str());
      return kExitUsage;
    }
  }

  // Pictures need no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  const plot::Figure figure =
      command.what == "spectrum" ? plot::Figure::Spectrum : plot::Figure::Bounds;
  plot::ChartOptions options;
  options.title = QString::fromStdString(command.title);
  for (const std::string& bound : command.bounds) {
    options.bounds.append(QString::fromStdString(bound));
  }
  options.range =
      command.allWeights ? plot::SpectrumRange::AllWeights : plot::SpectrumRange::FirstWeights;
  QString failure;
  try {
    failure = plot::saveChart(plot::makeChart(figure, runs, options),
                              plot::figureLegend(plot::figureCurves(figure, runs, options)),
                              QFile::decodeName(command.output.c_str()), *size);
  } catch (const std::bad_alloc&) {
    failure = QStringLiteral("cannot draw '%1': there is not enough memory")
                  .arg(QFile::decodeName(command.output.c_str()));
  }
  if (!failure.isEmpty()) {
    std::fprintf(stderr, "brevandor-plot: %s\n", printableText(failure.toStdString()).c_str());
    return kExitFailed;
  }
  return kExitSuccess;
}
