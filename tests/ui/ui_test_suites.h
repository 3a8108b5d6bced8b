#pragma once

#include <QObject>
#include <memory>

namespace brevandor::testing {

// One factory per QTest class of the window tests; ui_test_main runs them in turn.
std::unique_ptr<QObject> makeOptionsAboutTest();
std::unique_ptr<QObject> makeResultsWindowTest();
std::unique_ptr<QObject> makePlotProgramTest();
std::unique_ptr<QObject> makeMainDialogTest();
std::unique_ptr<QObject> makeMainDialogRunTest();
std::unique_ptr<QObject> makeMainDialogKeysTest();
std::unique_ptr<QObject> makeAdvancedSetupTest();
std::unique_ptr<QObject> makeWindowMemoryTest();
std::unique_ptr<QObject> makeCalculationWindowTest();

}  // namespace brevandor::testing
