// The desktop program: shows the main window; closing it ends the program.
#include <QApplication>

#include "ui/main_dialog.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brevandor"));
  QApplication::setApplicationVersion(QStringLiteral(BREVANDOR_VERSION));

  brevandor::MainDialog window;
  QObject::connect(&window, &QDialog::finished, &application, &QApplication::quit);
  window.show();
  return QApplication::exec();
}
