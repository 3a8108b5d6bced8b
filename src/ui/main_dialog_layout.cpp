#include "ui/main_dialog_layout.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include "run/run_inputs.h"
#include "ui/field_marks.h"
#include "ui/log_view.h"
#include "ui/path_field.h"

namespace brevandor {

namespace {

constexpr int kTextFieldLimit = static_cast<int>(kMaxTextLength);
constexpr int kProgressSteps = 1000;

QPushButton* button(const char* name, const QString& text, const QString& tip, QWidget* parent) {
  auto* result = new QPushButton(text, parent);
  result->setObjectName(QLatin1String(name));
  result->setToolTip(tip);
  // Enter on a focused button presses that button; in a field it presses "Get it".
  result->setAutoDefault(true);
  return result;
}

QLineEdit* edit(const char* name, const QString& tip, QWidget* parent) {
  auto* result = new QLineEdit(parent);
  result->setObjectName(QLatin1String(name));
  result->setMaxLength(kTextFieldLimit);
  result->setToolTip(tip);
  return result;
}

QLabel* label(const QString& text, Qt::Alignment alignment, QWidget* parent) {
  auto* result = new QLabel(text, parent);
  result->setAlignment(alignment);
  return result;
}

// A thin rule between the numerator and the denominator, the bar of the fraction.
QFrame* fractionBar(QWidget* parent) {
  auto* bar = new QFrame(parent);
  bar->setFrameShape(QFrame::HLine);
  bar->setFrameShadow(QFrame::Plain);
  bar->setFixedHeight(3);
  return bar;
}

// "type  with  ( 1, "  to the left of the fraction.
QHBoxLayout* codeRowLeft(MainDialogWidgets& w, QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->addWidget(w.typeList);
  row->addWidget(label(QStringLiteral("with"), Qt::AlignCenter, parent));
  row->addWidget(label(QStringLiteral("( 1, "), Qt::AlignRight | Qt::AlignVCenter, parent));
  return row;
}

// The numerator over the denominator.
QVBoxLayout* fraction(MainDialogWidgets& w, QWidget* parent) {
  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  column->addWidget(w.numerator);
  column->addWidget(fractionBar(parent));
  column->addWidget(w.denominator);
  return column;
}

// " )  Conv. Code  [Advncd Setup]"  to the right of the fraction.
QHBoxLayout* codeRowRight(MainDialogWidgets& w, QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  row->addWidget(label(QStringLiteral(")"), Qt::AlignLeft | Qt::AlignVCenter, parent));
  row->addWidget(label(QStringLiteral("Conv.\nCode"), Qt::AlignLeft | Qt::AlignVCenter, parent));
  row->addWidget(w.advancedSetup, 1);
  return row;
}

void createControls(MainDialogWidgets& w, QDialog* dialog) {
  w.log = new LogView(dialog);
  w.log->setObjectName(QStringLiteral("log"));
  w.log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  w.log->setToolTip(QStringLiteral("What the calculation has done so far, stage by stage"));

  w.statusLine = new QLineEdit(dialog);
  w.statusLine->setObjectName(QStringLiteral("statusLine"));
  w.statusLine->setReadOnly(true);
  w.statusLine->setAlignment(Qt::AlignCenter);
  w.statusLine->setFocusPolicy(Qt::NoFocus);
  w.statusLine->setToolTip(QStringLiteral(
      "The time the calculation still needs, estimated from the steps done so far, for the "
      "whole run and for the current stage.\nUnits: h hours, min minutes, s seconds."));

  w.progress = new QProgressBar(dialog);
  w.progress->setObjectName(QStringLiteral("runProgress"));
  w.progress->setRange(0, kProgressSteps);
  w.progress->setValue(0);
  w.progress->setTextVisible(true);
  w.progress->setFormat(QString());
  w.progress->setToolTip(QStringLiteral(
      "How far the whole calculation is: the bar covers every stage (CWEF, TWEF, BER), each "
      "in proportion to the time it is expected to take"));

  w.typeList = new QComboBox(dialog);
  w.typeList->setObjectName(QStringLiteral("typeList"));
  w.typeList->addItems({QStringLiteral("PCCC"), QStringLiteral("SCCC"),
                        QStringLiteral("SCC with 1st-RC and 2nd-CC")});
  // Wide enough for every name, closed and open: the third one is long.
  w.typeList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  w.typeList->view()->setMinimumWidth(w.typeList->view()->sizeHintForColumn(0) + 24);
  w.typeList->setToolTip(
      QStringLiteral("How two copies of the code are joined through a random interleaver:\n"
                     "PCCC: in parallel (both encode the same frame)\n"
                     "SCCC: in series (the second encodes the first one's output)\n"
                     "SCC with 1st-RC and 2nd-CC: a rate-1/3 repetition code, then the code"));

  w.numerator = edit("numerator",
                     QStringLiteral("Numerator g(D): the feedforward polynomial of the code "
                                    "(1, g/h), e.g. 1+D+D^2 or 1+D2; exponents 0 to 9"),
                     dialog);
  w.denominator = edit("denominator",
                       QStringLiteral("Denominator h(D): the feedback polynomial, with the "
                                      "constant term 1; 1 for a code without feedback"),
                       dialog);
  w.codeMessage = createFieldMessage("codeMessage", dialog);
  w.frameLength = edit("frameLength",
                       QStringLiteral("Input frame length N: the information bits of one "
                                      "frame, 10 to 10000. Time grows about as N^3."),
                       dialog);
  w.frameLength->setAlignment(Qt::AlignCenter);
  // Digits only, as typed; the value is still checked when the fields are read.
  w.frameLength->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), w.frameLength));

  w.fileName = new PathField(dialog);
  w.fileName->setObjectName(QStringLiteral("fileName"));
  w.fileName->setAlignment(Qt::AlignCenter);
  w.recentMenu = new QMenu(w.fileName);
  w.recentMenu->setObjectName(QStringLiteral("recentFilesMenu"));
  w.recentFiles =
      w.fileName->addAction(dialog->style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                            QLineEdit::TrailingPosition);
  w.recentFiles->setObjectName(QStringLiteral("recentFilesAction"));
  w.recentFiles->setToolTip(QStringLiteral("Results files of recent calculations"));

  w.advancedSetup = button(
      "advancedSetupButton", QStringLiteral("&Advncd Setup"),
      QStringLiteral("Advanced Setup: worker threads and the settings beyond this window"), dialog);
  w.info = button("infoButton", QStringLiteral("&Info."),
                  QStringLiteral("About Brevandor, with a short help"), dialog);
  w.option = button("optionButton", QStringLiteral("&Option"),
                    QStringLiteral("Choose the bit-error-rate bounds to compute"), dialog);
  w.viewResults = button("viewResultsButton", QStringLiteral("&View Results"),
                         QStringLiteral("Open the results window: the runs of this session "
                                        "with their bounds, spectra and results files"),
                         dialog);
  w.selectFile = button("selectFileButton", QStringLiteral("&Select File Name"),
                        QStringLiteral("Choose where the results file is written"), dialog);
  w.cancel = button("cancelButton", QStringLiteral("&Cancel Calculation"),
                    QStringLiteral("Stop the calculation at its next step; the results file "
                                   "keeps what was written and says it was cancelled"),
                    dialog);
  w.getIt =
      button("getItButton", QStringLiteral("&Get it"),
             QStringLiteral("Start the calculation (Enter in any field does the same)"), dialog);
  w.exit = button("exitButton", QStringLiteral("E&xit"), QStringLiteral("Close Brevandor"), dialog);
  // Enter in a field starts a calculation; it never closes the window.
  w.getIt->setDefault(true);

  w.advancedSummary = new QLabel(dialog);
  w.advancedSummary->setObjectName(QStringLiteral("advancedSummary"));
  w.advancedSummary->setToolTip(
      QStringLiteral("Advanced settings that differ from their defaults (see Advncd Setup)"));
  w.advancedSummary->setVisible(false);
  // Several settings make a long line: it wraps instead of widening the window.
  w.advancedSummary->setWordWrap(true);
}

QGridLayout* controlGrid(MainDialogWidgets& w, QDialog* dialog) {
  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(8);
  grid->addLayout(codeRowLeft(w, dialog), 0, 0);
  grid->addLayout(fraction(w, dialog), 0, 1);
  grid->addLayout(codeRowRight(w, dialog), 0, 2);
  grid->addWidget(w.codeMessage, 1, 1, 1, 2);

  QLabel* frameLengthLabel =
      label(QStringLiteral("Input &Frame Len.(bits)"), Qt::AlignLeft | Qt::AlignVCenter, dialog);
  frameLengthLabel->setBuddy(w.frameLength);
  grid->addWidget(frameLengthLabel, 2, 0);
  grid->addWidget(w.frameLength, 2, 1);
  grid->addWidget(w.fileName, 2, 2);

  auto* infoAndOption = new QHBoxLayout;
  infoAndOption->addWidget(w.info);
  infoAndOption->addWidget(w.option);
  grid->addLayout(infoAndOption, 3, 0);
  grid->addWidget(w.viewResults, 3, 1);
  grid->addWidget(w.selectFile, 3, 2);

  grid->addWidget(w.cancel, 4, 0);
  grid->addWidget(w.getIt, 4, 1);
  grid->addWidget(w.exit, 4, 2);
  for (int column = 0; column < 3; ++column) {
    grid->setColumnStretch(column, 1);
  }
  return grid;
}

void setTabOrder(const MainDialogWidgets& w) {
  QWidget::setTabOrder(w.typeList, w.numerator);
  QWidget::setTabOrder(w.numerator, w.denominator);
  QWidget::setTabOrder(w.denominator, w.advancedSetup);
  QWidget::setTabOrder(w.advancedSetup, w.frameLength);
  QWidget::setTabOrder(w.frameLength, w.fileName);
  QWidget::setTabOrder(w.fileName, w.info);
  QWidget::setTabOrder(w.info, w.option);
  QWidget::setTabOrder(w.option, w.viewResults);
  QWidget::setTabOrder(w.viewResults, w.selectFile);
  QWidget::setTabOrder(w.selectFile, w.cancel);
  QWidget::setTabOrder(w.cancel, w.getIt);
  QWidget::setTabOrder(w.getIt, w.exit);
}

}  // namespace

MainDialogWidgets buildMainDialogWidgets(QDialog* dialog) {
  MainDialogWidgets w;
  createControls(w, dialog);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(w.log, 1);
  layout->addWidget(w.statusLine);
  layout->addWidget(w.progress);
  layout->addSpacing(6);
  layout->addLayout(controlGrid(w, dialog));
  layout->addWidget(w.advancedSummary);
  setTabOrder(w);
  return w;
}

}  // namespace brevandor
