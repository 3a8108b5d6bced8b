#include "ui/advanced_options.h"

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

AdvancedOption precisionOption() {
  AdvancedOption option;
  option.key = "precision";
  option.commandLine = "--precision";
  option.label = QStringLiteral("Table &precision");
  option.toolTip = QStringLiteral(
      "How the weight tables hold their counts. \"single\" is enough for the spectrum's shape "
      "and the bounds; \"double\" holds every count to about 1e-9 at any frame length, for "
      "twice the memory and about twice the time.");
  option.editor = AdvancedOption::Editor::Choice;
  option.choices = {QStringLiteral("single"), QStringLiteral("double")};
  option.read = [](const RunSettings& settings) {
    const std::string_view name = precisionName(settings.inputs.precision);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  };
  option.write = [](RunSettings& settings, const QString& value) {
    const auto precision = parsePrecision(value.trimmed().toStdString());
    if (!precision) {
      return QStringLiteral("Please choose single or double.");
    }
    settings.inputs.precision = *precision;
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
                                                   precisionOption()};
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
