#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include "ui/advanced_options.h"

namespace brevandor {

// What the window remembers from one program start to the next: the last inputs as typed,
// the bounds and advanced settings, the window's size, the results files of recent runs and
// how fast this machine ran the last long calculations.
struct WindowMemory {
  static constexpr int kRecentFileCount = 8;

  QString numerator;
  QString denominator;
  QString frameLength;
  int typeIndex = 0;
  QString resultsPath;
  RunSettings settings;     // the bound selection and every advanced setting
  QSize windowSize;         // invalid: the window's own default
  QStringList recentFiles;  // most recent first, at most kRecentFileCount
  double slowness = 1.0;    // against the run estimate's rates (measuredSlowness)

  // Puts `path` first among the recent files (once), dropping the oldest beyond the limit.
  void addRecentFile(const QString& path);
};

// The settings file the program uses: Brevandor/brevandor.ini in the user's configuration
// folder.
QString defaultSettingsFile();

// Reads the memory from an INI settings file; what the file lacks (or holds in a form the
// window does not accept) keeps the value of `defaults`.
WindowMemory loadWindowMemory(const QString& file, const WindowMemory& defaults);

// Writes the memory to an INI settings file.
void saveWindowMemory(const QString& file, const WindowMemory& memory);

}  // namespace brevandor
