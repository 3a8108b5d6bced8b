// Takes the README's pictures: the main window after a calculation at N = 100 with all three
// bounds, the results window's Bounds, Spectrum and File tabs for that calculation, the
// Advanced Setup dialog, and, when saved records are given, the Bounds tab overlaying them.
// Usage: brevandor_screenshots OUTPUT_FOLDER [RECORD.json ...]
// Best run on the offscreen platform (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/advanced_setup_dialog.h"
#include "ui/main_dialog.h"
#include "ui/results_window.h"

namespace {

bool save(QWidget* widget, const QString& path) {
  QApplication::processEvents();
  const bool saved = widget->grab().save(path, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

// Ticks every bound in the Options dialog that the next click opens, and closes it with OK.
void chooseAllBounds(brevandor::MainDialog& window) {
  QTimer::singleShot(100, &window, []() {
    QWidget* options = QApplication::activeModalWidget();
    if (options == nullptr) {
      return;
    }
    for (const char* name : {"unionBoundExp", "viterbiBound"}) {
      options->findChild<QCheckBox*>(QLatin1String(name))->setChecked(true);
    }
    options->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
  });
  window.findChild<QPushButton*>(QStringLiteral("optionButton"))->click();
}

// Runs "Get it" and waits for the run to end; true when it completed.
bool runAndWait(brevandor::MainDialog& window) {
  QEventLoop loop;
  brevandor::RunOutcome outcome = brevandor::RunOutcome::Failed;
  QObject::connect(&window, &brevandor::MainDialog::calculationEnded, &loop,
                   [&](brevandor::RunOutcome ended) {
                     outcome = ended;
                     loop.quit();
                   });
  QTimer::singleShot(0, &window, [&window]() {
    window.findChild<QWidget*>(QStringLiteral("getItButton"))->setFocus();
    QMetaObject::invokeMethod(window.findChild<QObject*>(QStringLiteral("getItButton")), "click");
  });
  QTimer::singleShot(300000, &loop, &QEventLoop::quit);
  loop.exec();
  return outcome == brevandor::RunOutcome::Finished;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [RECORD.json ...]\n", argv[0]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir work;
  if (!output.exists() || !work.isValid()) {
    std::fprintf(stderr, "no folder %s, or no temporary folder\n", argv[1]);
    return 1;
  }
  QStringList records;
  for (int i = 2; i < argc; ++i) {
    records.append(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[i])));
  }

  // The tool (not the program) works in a scratch folder, so the window keeps its default
  // results file name and the log reads as it does for a user.
  const QString outputPath = output.absolutePath();
  QDir::setCurrent(work.path());
  brevandor::MainDialog window;
  window.findChild<QLineEdit*>(QStringLiteral("frameLength"))->setText(QStringLiteral("100"));
  window.show();
  chooseAllBounds(window);
  const bool finished = runAndWait(window);
  if (!finished) {
    std::fprintf(stderr, "the calculation at N = 100 did not complete\n");
    window.resultsViewer()->showFile(window.resultsPath());
  }

  const QDir target(outputPath);
  brevandor::ResultsWindow* results = window.resultsViewer();
  // The window opens no larger than its screen; the pictures keep one size on any screen.
  results->resize(1200, 760);
  auto* tabs = results->findChild<QTabWidget*>(QStringLiteral("resultsTabs"));
  bool saved = save(&window, target.filePath(QStringLiteral("main-window.png")));
  const char* tabPictures[] = {"results-bounds.png", "results-spectrum.png", "results-viewer.png"};
  for (int tab = 0; tab < 3; ++tab) {
    tabs->setCurrentIndex(tab);
    saved = save(results, target.filePath(QLatin1String(tabPictures[tab]))) && saved;
  }

  if (!records.isEmpty()) {
    results->setTicked(0, false);
    for (const QString& record : records) {
      const QString failure = results->openRecordFile(record);
      if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
      }
    }
    tabs->setCurrentIndex(0);
    saved = save(results, target.filePath(QStringLiteral("results-overlay.png"))) && saved;
  }
  brevandor::AdvancedSetupDialog setup(window.runSettings(), &window);
  setup.show();
  saved = save(&setup, target.filePath(QStringLiteral("advanced-setup.png"))) && saved;
  return saved && finished ? 0 : 1;
}
