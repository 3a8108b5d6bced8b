#pragma once

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>

#include "ui/main_dialog.h"

namespace brevandor::testing {

// The main window's control of that object name (null when there is none).
template <class Widget>
Widget* control(const MainDialog& dialog, const char* name) {
  return dialog.findChild<Widget*>(QLatin1String(name));
}

// Runs every event queued so far: a queued call posted now is handled after all of them, so a
// check that something did not happen can wait for that call instead of a fixed time.
inline bool processQueuedEvents() {
  bool reached = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
  return QTest::qWaitFor([&reached] { return reached; });
}

inline QLineEdit* field(const MainDialog& dialog, const char* name) {
  return control<QLineEdit>(dialog, name);
}
inline QPushButton* pushButton(const MainDialog& dialog, const char* name) {
  return control<QPushButton>(dialog, name);
}
inline QString logText(const MainDialog& dialog) {
  return control<QPlainTextEdit>(dialog, "log")->toPlainText();
}
inline QString statusText(const MainDialog& dialog) {
  return field(dialog, "statusLine")->text();
}

// Which of the six run-dependent controls are enabled, e.g. "getIt option cancel".
inline QString enabledControls(const MainDialog& dialog) {
  QStringList enabled;
  for (const char* name : {"getItButton", "selectFileButton", "exitButton", "viewResultsButton",
                           "optionButton", "cancelButton"}) {
    if (pushButton(dialog, name)->isEnabled()) {
      enabled.append(QString::fromLatin1(name).remove(QStringLiteral("Button")));
    }
  }
  return enabled.join(QLatin1Char(' '));
}

inline const QString kIdle = QStringLiteral("getIt selectFile exit viewResults option");
inline const QString kRunning = QStringLiteral("cancel");
inline const QString kStopping = QStringLiteral("selectFile exit viewResults option");

// The log as the window writes it at start-up.
inline const QString kIntroduction = QStringLiteral(
    "> This S/W calculates Distance Spectrum of Parallelly or Serially Concatenated Systematic "
    "Convolutional Codes. The same S-CC are used for Both constituent codes.\n"
    "> Any suggestions or questions ?\n"
    "> Write to brevandor@example.org \n"
    "> Press 'Get it' button to compute it and save to a file. \n"
    "> You may change the values in EditBoxes.\n");

}  // namespace brevandor::testing
