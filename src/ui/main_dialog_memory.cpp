// What the main window remembers between program starts, and its list of recent results files.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

#include "ui/main_dialog.h"
#include "ui/path_field.h"

namespace brevandor {

void MainDialog::rememberIn(const QString& settingsFile) {
  settingsFile_ = settingsFile;
  applyMemory(loadWindowMemory(settingsFile_, currentMemory()));
}

WindowMemory MainDialog::currentMemory() const {
  WindowMemory memory = memory_;
  memory.numerator = widgets_.numerator->text();
  memory.denominator = widgets_.denominator->text();
  memory.frameLength = widgets_.frameLength->text();
  memory.typeIndex = widgets_.typeList->currentIndex();
  memory.resultsPath = resultsPath_;
  memory.settings = settings_;
  memory.windowSize = size();
  return memory;
}

void MainDialog::applyMemory(const WindowMemory& memory) {
  memory_ = memory;
  widgets_.numerator->setText(memory.numerator);
  widgets_.denominator->setText(memory.denominator);
  widgets_.frameLength->setText(memory.frameLength);
  widgets_.typeList->setCurrentIndex(memory.typeIndex);
  useResultsFile(memory.resultsPath);
  settings_ = memory.settings;
  settings_.inputs.resultsFileName = QFile::encodeName(resultsPath_).toStdString();
  showAdvancedSummary();
  if (memory.windowSize.isValid()) {
    // A stored size larger than the screen (an edited or foreign settings file) would open a
    // window no one can see whole, its pixels taking gigabytes.
    resize(memory.windowSize.boundedTo(screen()->availableGeometry().size()));
  }
}

void MainDialog::saveMemory() {
  if (settingsFile_.isEmpty()) {
    return;
  }
  memory_ = currentMemory();
  saveWindowMemory(settingsFile_, memory_);
}

void MainDialog::showRecentFiles() {
  QMenu* menu = widgets_.recentMenu;
  menu->clear();
  for (const QString& path : memory_.recentFiles) {
    QAction* item = menu->addAction(path);
    connect(item, &QAction::triggered, this, [this, path]() {
      useResultsFile(path);
      saveMemory();
    });
  }
  if (memory_.recentFiles.isEmpty()) {
    menu->addAction(QStringLiteral("No results files yet"))->setEnabled(false);
  }
  menu->popup(widgets_.fileName->mapToGlobal(widgets_.fileName->rect().bottomLeft()));
}

}  // namespace brevandor
