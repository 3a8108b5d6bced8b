#include "ui/main_dialog_layout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "run/run_inputs.h"

namespace brevandor {

namespace {

constexpr int kTextFieldLimit = static_cast<int>(kMaxTextLength);

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
  auto* result = new QPushButton(text, parent);
  result->setObjectName(QLatin1String(name));
  // Enter on a focused button presses that button; in a field it presses "Get it".
  result->setAutoDefault(true);
  return result;
}

QLineEdit* edit(const char* name, QWidget* parent) {
  auto* result = new QLineEdit(parent);
  result->setObjectName(QLatin1String(name));
  result->setMaxLength(kTextFieldLimit);
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
  w.log = new QPlainTextEdit(dialog);
  w.log->setObjectName(QStringLiteral("log"));
  w.log->setReadOnly(true);
  w.log->setUndoRedoEnabled(false);
  w.log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  w.statusLine = new QLineEdit(dialog);
  w.statusLine->setObjectName(QStringLiteral("statusLine"));
  w.statusLine->setReadOnly(true);
  w.statusLine->setAlignment(Qt::AlignCenter);
  w.statusLine->setFocusPolicy(Qt::NoFocus);

  w.typeList = new QComboBox(dialog);
  w.typeList->setObjectName(QStringLiteral("typeList"));
  w.typeList->addItems({QStringLiteral("PCCC"), QStringLiteral("SCCC"),
                        QStringLiteral("SCC with 1st-RC and 2nd-CC")});
  // The closed list stays as narrow as the short names; the open list shows every name whole.
  w.typeList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  w.typeList->setMinimumContentsLength(6);
  w.typeList->view()->setMinimumWidth(w.typeList->view()->sizeHintForColumn(0) + 24);

  w.numerator = edit("numerator", dialog);
  w.denominator = edit("denominator", dialog);
  w.frameLength = edit("frameLength", dialog);
  w.frameLength->setAlignment(Qt::AlignCenter);
  // Digits only, as typed; the value is still checked when the fields are read.
  w.frameLength->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), w.frameLength));
  w.fileName = edit("fileName", dialog);
  w.fileName->setReadOnly(true);
  w.fileName->setAlignment(Qt::AlignCenter);

  w.advancedSetup = button("advancedSetupButton", QStringLiteral("&Advncd Setup"), dialog);
  w.info = button("infoButton", QStringLiteral("&Info."), dialog);
  w.option = button("optionButton", QStringLiteral("&Option"), dialog);
  w.viewResults = button("viewResultsButton", QStringLiteral("&View Results"), dialog);
  w.selectFile = button("selectFileButton", QStringLiteral("&Select File Name"), dialog);
  w.cancel = button("cancelButton", QStringLiteral("&Cancel Calculation"), dialog);
  w.getIt = button("getItButton", QStringLiteral("&Get it"), dialog);
  w.exit = button("exitButton", QStringLiteral("E&xit"), dialog);
  // Enter in a field starts a calculation; it never closes the window.
  w.getIt->setDefault(true);

  w.advancedSummary = new QLabel(dialog);
  w.advancedSummary->setObjectName(QStringLiteral("advancedSummary"));
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

  QLabel* frameLengthLabel =
      label(QStringLiteral("Input &Frame Len.(bits)"), Qt::AlignLeft | Qt::AlignVCenter, dialog);
  frameLengthLabel->setBuddy(w.frameLength);
  grid->addWidget(frameLengthLabel, 1, 0);
  grid->addWidget(w.frameLength, 1, 1);
  grid->addWidget(w.fileName, 1, 2);

  auto* infoAndOption = new QHBoxLayout;
  infoAndOption->addWidget(w.info);
  infoAndOption->addWidget(w.option);
  grid->addLayout(infoAndOption, 2, 0);
  grid->addWidget(w.viewResults, 2, 1);
  grid->addWidget(w.selectFile, 2, 2);

  grid->addWidget(w.cancel, 3, 0);
  grid->addWidget(w.getIt, 3, 1);
  grid->addWidget(w.exit, 3, 2);
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
  layout->addSpacing(6);
  layout->addLayout(controlGrid(w, dialog));
  layout->addWidget(w.advancedSummary);
  setTabOrder(w);
  return w;
}

}  // namespace brevandor
