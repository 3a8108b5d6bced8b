#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "report/export_files.h"
#include "run/run_inputs.h"

namespace brevandor {

// Everything a run takes from the window: the run inputs, and the worker threads of the
// calculation (which belong to how the run is carried out, not to its results).
struct RunSettings {
  RunInputs inputs;
  int threads = 0;  // 0: all cores
  // Files a completed run also writes; relative paths lie beside the results file.
  ExportFiles exports;
};

// One setting of the Advanced Setup dialog, mirroring one command-line option of
// brevandor-cli. Its value travels as the text that option takes, so the dialog, the summary
// on the main window and the remembered settings all handle every option the same way.
// Adding an option to the window is one more entry in advancedOptions().
struct AdvancedOption {
  // How the dialog lets the user enter the value.
  enum class Editor {
    Count,   // a whole number from `minimum` to `maximum` (spin box)
    Choice,  // one of `choices` (drop-down list)
    Text,    // free text, checked by `write` (line edit)
    Checks,  // any of `choices`, one check box each, captioned by `choiceLabels`; the value
             // lists the checked ones separated by commas
  };

  const char* key = "";          // settings key and object name of the control
  const char* commandLine = "";  // the command-line option, e.g. "--threads"
  QString label;                 // caption in the dialog, with its mnemonic
  QString toolTip;               // what it does, for a newcomer
  Editor editor = Editor::Text;
  int minimum = 0;           // Count
  int maximum = 0;           // Count
  QString zeroText;          // Count: shown instead of 0 (e.g. "all cores")
  QStringList choices;       // Choice, Checks: the command-line words offered
  QStringList choiceLabels;  // Checks: the caption of each word's check box
  QString placeholder;       // Text: shown while the field is empty
  int maxLength = static_cast<int>(kMaxTextLength);  // Text: the most characters it takes

  // The value in `settings`, as the command line writes it.
  std::function<QString(const RunSettings& settings)> read;
  // Sets the value from its command-line text; returns an empty text, or why it is refused.
  std::function<QString(RunSettings& settings, const QString& value)> write;
  // Choice: the other settings that picking `value` implies (a standard code fills its
  // code's fields); none: picking a value changes nothing else.
  std::function<void(RunSettings& settings, const QString& value)> fillOthers;

  // The caption without its mnemonic marker.
  QString plainLabel() const;
  // True when `settings` holds this option's default value.
  bool isDefault(const RunSettings& settings) const;
};

// Every option of Advanced Setup, in the order the dialog shows them.
const std::vector<AdvancedOption>& advancedOptions();

// One line naming each advanced setting that is not at its default ("Worker threads 4"),
// separated by "; "; empty when all are at their defaults.
QString advancedSummary(const RunSettings& settings);

}  // namespace brevandor
