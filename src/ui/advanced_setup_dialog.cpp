#include "ui/advanced_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "run/constituent_options.h"
#include "ui/field_marks.h"

namespace brevandor {

namespace {

QWidget* createEditor(const AdvancedOption& option, QWidget* parent) {
  QWidget* editor = nullptr;
  switch (option.editor) {
    case AdvancedOption::Editor::Count: {
      auto* box = new QSpinBox(parent);
      box->setRange(option.minimum, option.maximum);
      box->setSpecialValueText(option.zeroText);
      editor = box;
      break;
    }
    case AdvancedOption::Editor::Choice: {
      auto* list = new QComboBox(parent);
      list->addItems(option.choices);
      editor = list;
      break;
    }
    case AdvancedOption::Editor::Text: {
      auto* field = new QLineEdit(parent);
      field->setPlaceholderText(option.placeholder);
      field->setMaxLength(option.maxLength);
      editor = field;
      break;
    }
    case AdvancedOption::Editor::Checks: {
      editor = new QWidget(parent);
      auto* column = new QVBoxLayout(editor);
      column->setContentsMargins(0, 0, 0, 0);
      for (qsizetype i = 0; i < option.choices.size(); ++i) {
        auto* box = new QCheckBox(option.choiceLabels.value(i, option.choices[i]), editor);
        box->setObjectName(QLatin1String(option.key) + QLatin1Char('_') + option.choices[i]);
        box->setToolTip(option.toolTip);
        column->addWidget(box);
        if (i == 0) {
          // The caption's mnemonic reaches the first box: a label gives the focus only to a
          // buddy that takes it, and the box column passes it on; not a stop of its own on Tab.
          editor->setFocusProxy(box);
          editor->setFocusPolicy(Qt::ClickFocus);
        }
      }
      break;
    }
  }
  editor->setObjectName(QLatin1String(option.key));
  editor->setToolTip(option.toolTip +
                     QStringLiteral("\nCommand line: %1").arg(QLatin1String(option.commandLine)));
  return editor;
}

// The value a control shows, as command-line text.
QString editorValue(const AdvancedOption& option, const QWidget* editor) {
  switch (option.editor) {
    case AdvancedOption::Editor::Count:
      return QString::number(static_cast<const QSpinBox*>(editor)->value());
    case AdvancedOption::Editor::Choice:
      return static_cast<const QComboBox*>(editor)->currentText();
    case AdvancedOption::Editor::Text:
      return static_cast<const QLineEdit*>(editor)->text();
    case AdvancedOption::Editor::Checks: {
      QStringList checked;
      for (const QString& choice : option.choices) {
        const auto* box =
            editor->findChild<QCheckBox*>(QLatin1String(option.key) + QLatin1Char('_') + choice);
        if (box->isChecked()) {
          checked.append(choice);
        }
      }
      return checked.join(QLatin1Char(','));
    }
  }
  return {};
}

void setEditorValue(const AdvancedOption& option, QWidget* editor, const QString& value) {
  switch (option.editor) {
    case AdvancedOption::Editor::Count:
      static_cast<QSpinBox*>(editor)->setValue(value.toInt());
      break;
    case AdvancedOption::Editor::Choice:
      static_cast<QComboBox*>(editor)->setCurrentText(value);
      break;
    case AdvancedOption::Editor::Text:
      static_cast<QLineEdit*>(editor)->setText(value);
      break;
    case AdvancedOption::Editor::Checks: {
      const QStringList checked = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
      for (const QString& choice : option.choices) {
        editor->findChild<QCheckBox*>(QLatin1String(option.key) + QLatin1Char('_') + choice)
            ->setChecked(checked.contains(choice));
      }
      break;
    }
  }
}

}  // namespace

AdvancedSetupDialog::AdvancedSetupDialog(const RunSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("advancedSetupDialog"));
  setWindowTitle(QStringLiteral("Advanced Setup"));

  auto* intro = new QLabel(
      QStringLiteral("Settings beyond the main window. Each one has the same effect as the "
                     "command-line option named in its tooltip."),
      this);
  intro->setWordWrap(true);

  auto* form = new QFormLayout;
  for (const AdvancedOption& option : advancedOptions()) {
    QWidget* editor = createEditor(option, this);
    auto* caption = new QLabel(option.label, this);
    caption->setBuddy(editor);
    caption->setToolTip(editor->toolTip());
    QLabel* error = createFieldMessage((std::string(option.key) + "Message").c_str(), this);
    auto* cell = new QVBoxLayout;
    cell->setSpacing(2);
    cell->addWidget(editor);
    cell->addWidget(error);
    form->addRow(caption, cell);
    rows_.push_back(Row{&option, editor, error});
  }

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setToolTip(QStringLiteral("Use these settings for the next calculations"));
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  cancel->setToolTip(QStringLiteral("Close without changing anything"));
  QPushButton* defaults = buttons->button(QDialogButtonBox::RestoreDefaults);
  defaults->setObjectName(QStringLiteral("defaultsButton"));
  defaults->setText(QStringLiteral("&Defaults"));
  defaults->setToolTip(QStringLiteral("Put every setting back to its default"));
  connect(buttons, &QDialogButtonBox::accepted, this, &AdvancedSetupDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(defaults, &QPushButton::clicked, this, [this]() { showValues(RunSettings{}); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  showValues(settings);
}

void AdvancedSetupDialog::showValues(const RunSettings& settings) {
  for (const Row& row : rows_) {
    setEditorValue(*row.option, row.editor, row.option->read(settings));
    markRefused(row.editor, false);
    showFieldMessage(row.error, {});
  }
}

bool AdvancedSetupDialog::readSettings(RunSettings& settings) {
  RunSettings read = settings;
  QWidget* firstRefused = nullptr;
  for (const Row& row : rows_) {
    const QString refusal = row.option->write(read, editorValue(*row.option, row.editor));
    markRefused(row.editor, !refusal.isEmpty());
    showFieldMessage(row.error, refusal);
    if (!refusal.isEmpty() && firstRefused == nullptr) {
      firstRefused = row.editor;
    }
  }
  // What the run would refuse of these settings together, refused here beside the option it
  // names, by the run's own check; what depends on the main window's code and type is left to
  // "Get it".
  if (const ConstituentOptionsCheck together = checkLowWeightOptions(read.inputs);
      !together && firstRefused == nullptr) {
    for (const Row& row : rows_) {
      if (together.option == row.option->commandLine) {
        markRefused(row.editor, true);
        showFieldMessage(row.error, QString::fromStdString(together.message));
        firstRefused = row.editor;
      }
    }
  }
  if (firstRefused != nullptr) {
    firstRefused->setFocus();
    return false;
  }
  settings = read;
  return true;
}

void AdvancedSetupDialog::accept() {
  if (readSettings(settings_)) {
    QDialog::accept();
  }
}

RunSettings AdvancedSetupDialog::choose(const RunSettings& current, QWidget* parent) {
  AdvancedSetupDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return current;
  }
  return dialog.settings_;
}

}  // namespace brevandor
