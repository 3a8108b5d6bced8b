#include "ui/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/app_icon.h"

namespace brevandor {

namespace {

QLabel* line(const char* name, const QString& text, Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setAlignment(alignment);
  return label;
}

// The short help under the credits.
const char* const kHelp =
    "<p><b>How to use Brevandor</b></p>"
    "<p><b>The code</b> ( 1, numerator / denominator ): type the numerator g(D), the "
    "feedforward polynomial, above the denominator h(D), the feedback polynomial, e.g. "
    "1+D+D^2 over 1+D^2. Exponents run from 0 to 9 and may be written D^2 or D2; a "
    "denominator of 1 gives a code without feedback.</p>"
    "<p><b>The type</b> joins two copies of the code through a uniform (random) interleaver: "
    "PCCC in parallel, SCCC in series; \"SCC with 1st-RC and 2nd-CC\" puts a rate-1/3 "
    "repetition code in front of the code. Advanced Setup can give the second constituent a "
    "code of its own.</p>"
    "<p><b>Input Frame Len.(bits)</b>: the information bits N of one frame, 10 to 10000. "
    "Time grows about as N&sup3; and memory as N&sup2;. Above 1000 bits (low-weight runs "
    "aside), or when a calculation would take more than a minute or more than a quarter of "
    "the memory available, Brevandor first says how long and how much memory it expects "
    "(h hours, min minutes, s seconds).</p>"
    "<p><b>Option</b>: the bounds on the bit error rate of maximum-likelihood decoding, for "
    "Eb/N0 from 0 to 5 dB (or on the grid Advanced Setup sets): the union bound with the Q "
    "function, its exponential form, and "
    "the Viterbi bound (an improved union bound). <b>Advncd Setup</b>: the settings beyond "
    "this window, such as the worker threads.</p>"
    "<p><b>Results</b> go to the file shown beside \"Select File Name\" (by default "
    "results.txt in the current folder): the code's trellis, the distance spectrum and the "
    "bounds. \"View Results\" opens the results window: the session's runs with their "
    "plots, tables and files; the button inside the file field lists recent results "
    "files.</p>"
    "<p><b>Keys</b>: Enter starts the calculation, Escape never closes the window, and Alt "
    "with the underlined letter presses a button.</p>";

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("About Brevandor"));

  auto* icon = new QLabel(this);
  icon->setPixmap(applicationIcon().pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  ok->setToolTip(QStringLiteral("Close this box"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 5, 1);
  layout->addWidget(line("versionLine", QStringLiteral("Brevandor  Version 1.2"), left, this), 0,
                    1);
  layout->addWidget(ok, 0, 2, Qt::AlignTop);
  layout->addWidget(
      line("authorLine", QStringLiteral("Written by the Brevandor developers, 2024"), left, this),
      1, 1, 1, 2);
  layout->addWidget(
      line("webLine", QStringLiteral("https://brevandor.example.org"), Qt::AlignCenter, this), 2, 1,
      1, 2);
  layout->addWidget(
      line("groupLine", QStringLiteral("The Open Turbo Code Workbench"), Qt::AlignCenter, this), 3,
      1, 1, 2);
  layout->addWidget(line("placeLine", QStringLiteral("Channel coding tools for teaching and study"),
                         Qt::AlignCenter, this),
                    4, 1, 1, 2);
  QLabel* help = line("helpText", QString::fromUtf8(kHelp), left | Qt::AlignTop, this);
  help->setTextFormat(Qt::RichText);
  help->setWordWrap(true);
  help->setFixedWidth(help->fontMetrics().averageCharWidth() * 80);
  layout->addWidget(help, 5, 0, 1, 3);
  layout->setHorizontalSpacing(14);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace brevandor
