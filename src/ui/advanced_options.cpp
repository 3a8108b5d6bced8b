#include "ui/advanced_options.h"

#include "bounds/further_bounds.h"

namespace brevandor {

namespace {

// The most worker threads the window offers; far more than any desktop has cores.
constexpr int kMaxThreads = 256;

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
  option.maximum = kMaxThreads;
  option.zeroText = QStringLiteral("all cores");
  option.read = [](const RunSettings& settings) { return QString::number(settings.threads); };
  option.write = [](RunSettings& settings, const QString& value) {
    bool ok = false;
    const int threads = value.trimmed().toInt(&ok);
    if (!ok || threads < 0 || threads > kMaxThreads) {
      return QStringLiteral("Please enter a number of threads from 0 (all cores) to %1.")
          .arg(kMaxThreads);
    }
    settings.threads = threads;
    return QString();
  };
  return option;
}

AdvancedOption ebn0GridOption() {
  AdvancedOption option;
  option.key = "ebn0";
  option.commandLine = "--ebn0";
  option.label = QStringLiteral("&Eb/N0 points [dB]");
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
    option.choices.append(QString::fromUtf8(info.name.data(), static_cast<int>(info.name.size())));
    QString caption =
        QString::fromUtf8(info.meaning.data(), static_cast<int>(info.meaning.size()));
    caption[0] = caption[0].toUpper();
    option.choiceLabels.append(caption);
  }
  option.read = [](const RunSettings& settings) {
    QStringList names;
    for (const FurtherBoundInfo& info : furtherBoundInfos()) {
      if ((settings.inputs.furtherBounds & info.bit) != 0) {
        names.append(QString::fromUtf8(info.name.data(), static_cast<int>(info.name.size())));
      }
    }
    return names.join(QLatin1Char(','));
  };
  option.write = [](RunSettings& settings, const QString& value) {
    std::int32_t mask = 0;
    for (const QString& name : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const std::string word = name.trimmed().toStdString();
      bool known = false;
      for (const FurtherBoundInfo& info : furtherBoundInfos()) {
        if (info.name == word) {
          mask |= info.bit;
          known = true;
        }
      }
      if (!known) {
        return QStringLiteral("There is no further bound called \"%1\".").arg(name);
      }
    }
    settings.inputs.furtherBounds = mask;
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

}  // namespace

QString AdvancedOption::plainLabel() const {
  QString text = label;
  return text.remove(QLatin1Char('&'));
}

bool AdvancedOption::isDefault(const RunSettings& settings) const {
  return read(settings) == read(RunSettings{});
}

const std::vector<AdvancedOption>& advancedOptions() {
  static const std::vector<AdvancedOption> options{threadsOption(), maxWeightOption(),
                                                   ebn0GridOption(), furtherBoundsOption()};
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
