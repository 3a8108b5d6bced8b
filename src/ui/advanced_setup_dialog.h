#pragma once

#include <QDialog>
#include <vector>

#include "ui/advanced_options.h"

class QLabel;

namespace brevandor {

// The Advanced Setup window: one control for each option of advancedOptions(), opened with
// the window's settings. "OK" checks every value; a refused one is marked, its reason shown
// beside it, and the dialog stays open. "Defaults" puts every control back to its default.
class AdvancedSetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AdvancedSetupDialog(const RunSettings& settings, QWidget* parent = nullptr);

  // Writes the values the controls show into `settings` when every one is accepted; else
  // marks each refused control with its reason beside it, focuses the first and returns false.
  bool readSettings(RunSettings& settings);

  // Shows the dialog modally; the new settings when the user confirms, else `current`.
  static RunSettings choose(const RunSettings& current, QWidget* parent);

  void accept() override;

 private:
  // A control and the line beside it that says why its value was refused.
  struct Row {
    const AdvancedOption* option;
    QWidget* editor;
    QLabel* error;
  };

  void showValues(const RunSettings& settings);
  // Shows in the other controls what picking `value` of `option` implies.
  void fillOthers(const AdvancedOption& option, const QString& value);

  RunSettings settings_;
  std::vector<Row> rows_;
  bool showingValues_ = false;  // set while showValues fills the controls
};

}  // namespace brevandor
