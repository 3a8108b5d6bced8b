// The desktop program: shows the main window, with what it remembers from the last time;
// closing it ends the program.
#include <QApplication>
#include <csignal>

#include "brevandor_version.h"
#include "ui/main_dialog.h"
#include "ui/window_arguments.h"

int main(int argc, char* argv[]) {
  if (const auto exitCode = brevandor::answerHelpOrVersion(argc, argv)) {
    return *exitCode;
  }
  // A file-size limit or a FIFO whose reader left fails the write, which the run reports,
  // instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brevandor"));
  QApplication::setApplicationVersion(QStringLiteral(BREVANDOR_VERSION));
  // Ties the window to the installed menu entry (its icon and name in docks and task bars).
  QGuiApplication::setDesktopFileName(QStringLiteral(BREVANDOR_APP_ID));

  brevandor::MainDialog window;
  window.rememberIn(brevandor::defaultSettingsFile());
  QObject::connect(&window, &QDialog::finished, &application, &QApplication::quit);
  window.show();
  return QApplication::exec();
}
