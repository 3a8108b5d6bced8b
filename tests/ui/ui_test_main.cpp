// Runs every QTest class of the window tests in one QApplication. Usage:
//   brevandor_ui_tests [-suite ClassName] [QTest options and test functions]
// Without -suite every class runs, and QTest options apply to each.
#include <QApplication>
#include <QTest>
#include <cstring>
#include <vector>

#include "ui_test_suites.h"

int main(int argc, char* argv[]) {
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication application(argc, argv);

  const char* onlySuite = nullptr;
  std::vector<char*> arguments{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-suite") == 0 && i + 1 < argc) {
      onlySuite = argv[++i];
    } else {
      arguments.push_back(argv[i]);
    }
  }

  using namespace brevandor::testing;
  const auto factories = {makeOptionsAboutTest,  makeResultsWindowTest,     makeMainDialogTest,
                          makeMainDialogRunTest, makeMainDialogKeysTest,    makeAdvancedSetupTest,
                          makeWindowMemoryTest,  makeCalculationWindowTest, makePlotProgramTest};
  int failures = 0;
  for (const auto& factory : factories) {
    const std::unique_ptr<QObject> suite = factory();
    const QByteArray name = QByteArray(suite->metaObject()->className()).split(':').last();
    if (onlySuite != nullptr && name != onlySuite) {
      continue;
    }
    failures += QTest::qExec(suite.get(), static_cast<int>(arguments.size()), arguments.data());
  }
  return failures == 0 ? 0 : 1;
}
