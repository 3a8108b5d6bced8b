#include "ui/window_memory.h"

#include <QSettings>

namespace brevandor {

namespace {

// Keys of the settings file.
constexpr const char* kNumerator = "inputs/numerator";
constexpr const char* kDenominator = "inputs/denominator";
constexpr const char* kFrameLength = "inputs/frameLength";
constexpr const char* kType = "inputs/type";
constexpr const char* kResultsPath = "inputs/resultsFile";
constexpr const char* kBounds = "options/bounds";
constexpr const char* kAdvancedGroup = "advanced";
constexpr const char* kWindowSize = "window/size";
constexpr const char* kRecentFiles = "results/recent";
constexpr const char* kSlowness = "estimate/slowness";
constexpr int kTypeCount = 3;

}  // namespace

void WindowMemory::addRecentFile(const QString& path) {
  recentFiles.removeAll(path);
  recentFiles.prepend(path);
  while (recentFiles.size() > kRecentFileCount) {
    recentFiles.removeLast();
  }
}

QString defaultSettingsFile() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Brevandor"),
                   QStringLiteral("brevandor"))
      .fileName();
}

WindowMemory loadWindowMemory(const QString& file, const WindowMemory& defaults) {
  const QSettings stored(file, QSettings::IniFormat);
  WindowMemory memory = defaults;
  memory.numerator = stored.value(kNumerator, defaults.numerator).toString();
  memory.denominator = stored.value(kDenominator, defaults.denominator).toString();
  memory.frameLength = stored.value(kFrameLength, defaults.frameLength).toString();
  memory.resultsPath = stored.value(kResultsPath, defaults.resultsPath).toString();
  bool ok = false;
  const int type = stored.value(kType).toInt(&ok);
  if (ok && type >= 0 && type < kTypeCount) {
    memory.typeIndex = type;
  }
  const int bounds = stored.value(kBounds).toInt(&ok);
  if (ok && bounds >= 0 && bounds <= static_cast<int>(kAllBerBounds.bits())) {
    memory.settings.inputs.boundSelection = BerBoundSet::fromBits(bounds);
  }
  for (const AdvancedOption& option : advancedOptions()) {
    const QString key =
        QStringLiteral("%1/%2").arg(QLatin1String(kAdvancedGroup), QLatin1String(option.key));
    if (stored.contains(key)) {
      RunSettings candidate = memory.settings;
      if (option.write(candidate, stored.value(key).toString()).isEmpty()) {
        memory.settings = candidate;
      }
    }
  }
  memory.windowSize = stored.value(kWindowSize, defaults.windowSize).toSize();
  memory.recentFiles =
      stored.value(kRecentFiles).toStringList().mid(0, WindowMemory::kRecentFileCount);
  const double slowness = stored.value(kSlowness).toDouble(&ok);
  if (ok && slowness > 0.0) {
    memory.slowness = slowness;
  }
  return memory;
}

void saveWindowMemory(const QString& file, const WindowMemory& memory) {
  QSettings stored(file, QSettings::IniFormat);
  stored.setValue(kNumerator, memory.numerator);
  stored.setValue(kDenominator, memory.denominator);
  stored.setValue(kFrameLength, memory.frameLength);
  stored.setValue(kType, memory.typeIndex);
  stored.setValue(kResultsPath, memory.resultsPath);
  stored.setValue(kBounds, memory.settings.inputs.boundSelection.bits());
  for (const AdvancedOption& option : advancedOptions()) {
    stored.setValue(
        QStringLiteral("%1/%2").arg(QLatin1String(kAdvancedGroup), QLatin1String(option.key)),
        option.read(memory.settings));
  }
  if (memory.windowSize.isValid()) {
    stored.setValue(kWindowSize, memory.windowSize);
  }
  stored.setValue(kRecentFiles, memory.recentFiles);
  stored.setValue(kSlowness, memory.slowness);
  stored.sync();
}

}  // namespace brevandor
