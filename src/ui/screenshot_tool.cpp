// Takes the README's pictures: the main window after a calculation at N = 10, the results
// viewer showing that calculation's file, and the Advanced Setup dialog. Usage:
// brevandor_screenshots OUTPUT_FOLDER
// Best run on the offscreen platform (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/advanced_setup_dialog.h"
#include "ui/main_dialog.h"
#include "ui/results_viewer.h"

namespace {

bool save(QWidget* widget, const QString& path) {
  const bool saved = widget->grab().save(path, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir work;
  if (!output.exists() || !work.isValid()) {
    std::fprintf(stderr, "no folder %s, or no temporary folder\n", argv[1]);
    return 1;
  }

  // The tool (not the program) works in a scratch folder, so the window keeps its default
  // results file name and the log reads as it does for a user.
  const QString outputPath = output.absolutePath();
  QDir::setCurrent(work.path());
  brevandor::MainDialog window;
  window.findChild<QLineEdit*>(QStringLiteral("frameLength"))->setText(QStringLiteral("10"));
  window.show();

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
  QTimer::singleShot(120000, &loop, &QEventLoop::quit);
  loop.exec();
  if (outcome != brevandor::RunOutcome::Finished) {
    std::fprintf(stderr, "the calculation at N = 10 did not complete\n");
    window.resultsViewer()->showFile(window.resultsPath());
  }
  QApplication::processEvents();

  const QDir target(outputPath);
  const bool mainSaved = save(&window, target.filePath(QStringLiteral("main-window.png")));
  const bool viewerSaved =
      save(window.resultsViewer(), target.filePath(QStringLiteral("results-viewer.png")));
  brevandor::AdvancedSetupDialog setup(window.runSettings(), &window);
  setup.show();
  QApplication::processEvents();
  const bool setupSaved = save(&setup, target.filePath(QStringLiteral("advanced-setup.png")));
  return mainSaved && viewerSaved && setupSaved && outcome == brevandor::RunOutcome::Finished ? 0
                                                                                              : 1;
}
