// The desktop program: shows the main window; closing it ends the program.
#include <QApplication>

#include "ui/main_dialog.h"
#include "ui/window_arguments.h"

int main(int argc, char* argv[]) {
  if (const auto exitCode = brevandor::answerHelpOrVersion(argc, argv)) {
    return *exitCode;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brevandor"));
  QApplication::setApplicationVersion(QStringLiteral(BREVANDOR_VERSION));
  // Ties the window to the installed menu entry (its icon and name in docks and task bars).
  QGuiApplication::setDesktopFileName(QStringLiteral(BREVANDOR_APP_ID));

  brevandor::MainDialog window;
  QObject::connect(&window, &QDialog::finished, &application, &QApplication::quit);
  window.show();
  return QApplication::exec();
}
