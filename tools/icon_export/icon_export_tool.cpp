// Renders the program's icon, as the window draws it, into a hicolor icon theme tree:
// DIRECTORY/hicolor/SIZExSIZE/apps/NAME.png for every size given. The build runs it, so the
// installed icons are always the window's own picture.
// Usage: brevandor_icon_export DIRECTORY NAME SIZE...
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/app_icon.h"

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fputs("usage: brevandor_icon_export DIRECTORY NAME SIZE...\n", stderr);
    return 2;
  }
  // Nothing is shown: the offscreen platform works with or without a display, and its
  // notes about the session (no runtime folder on a build machine) are no news to a build.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "brevandor_icon_export: %s\n", qPrintable(message));
    }
  });
  QGuiApplication application(argc, argv);
  const QString directory = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&isNumber);
    if (!isNumber || size <= 0) {
      std::fprintf(stderr, "brevandor_icon_export: '%s' is not a size in pixels\n", argv[i]);
      return 2;
    }
    const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(directory).arg(size);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!QDir().mkpath(folder) || !brevandor::applicationIconPixmap(size).save(file, "PNG")) {
      std::fprintf(stderr, "brevandor_icon_export: cannot write '%s'\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
