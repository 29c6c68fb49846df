#include "app/clipboard_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/small_dialogs.h"
#include "app/user_messages.h"
#include "qtshared/window_title.h"

namespace zelvorin {

namespace {

QDialogButtonBox* ok_cancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

/// A group box of radio buttons numbered from 1; `preset` is checked.
QButtonGroup* radio_group(QDialog* dialog, QVBoxLayout* layout, const QString& title, const QStringList& captions,
                          int preset) {
  auto* box = new QGroupBox(title);
  auto* inner = new QVBoxLayout(box);
  auto* group = new QButtonGroup(dialog);
  int id = 1;
  for (const QString& caption : captions) {
    auto* button = new QRadioButton(caption);
    group->addButton(button, id);
    button->setChecked(id == preset);
    inner->addWidget(button);
    ++id;
  }
  layout->addWidget(box);
  return group;
}

}  // namespace

CopyDataDialog::CopyDataDialog(const HostWorkspace& ws, QWidget* parent)
    : QDialog(parent), nvars_(ws.shape.nvars), nobs_(ws.shape.nobs) {
  setObjectName(QStringLiteral("copyDataDialog"));
  setWindowTitle(QStringLiteral("Copy data to clipboard"));
  qtshared::keep_title_whole(*this);
  setProperty("helpContext", 106);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  first_var_ = new QComboBox;
  last_var_ = new QComboBox;
  for (int i = 0; i < nvars_; ++i) {
    const QString name = QString::fromStdString(ws.names[static_cast<std::size_t>(i)]).trimmed();
    first_var_->addItem(name);
    last_var_->addItem(name);
  }
  last_var_->setCurrentIndex(last_var_->count() - 1);
  first_obs_ = new QComboBox;
  last_obs_ = new QComboBox;
  for (int obs = 1; obs <= nobs_; ++obs) {
    const QString label = QString::fromStdString(observation_label(ws.shape, obs));
    first_obs_->addItem(label);
    last_obs_->addItem(label);
  }
  last_obs_->setCurrentIndex(last_obs_->count() - 1);
  form->addRow(QStringLiteral("First variable"), first_var_);
  form->addRow(QStringLiteral("Last variable"), last_var_);
  form->addRow(QStringLiteral("First observation"), first_obs_);
  form->addRow(QStringLiteral("Last observation"), last_obs_);
  layout->addLayout(form);
  names_ = new QCheckBox(QStringLiteral("Copy variable names to first row of clipboard"));
  descs_ = new QCheckBox(QStringLiteral("...and copy variable descriptions to second row"));
  names_->setChecked(true);
  descs_->setChecked(true);
  connect(names_, &QCheckBox::toggled, this, [this](bool on) {
    if (!on) descs_->setChecked(false);
    descs_->setEnabled(on);
  });
  layout->addWidget(names_);
  layout->addWidget(descs_);
  layout->addWidget(ok_cancel(this));
}

int CopyDataDialog::first_variable() const { return first_var_->currentIndex() + 1; }
int CopyDataDialog::last_variable() const { return last_var_->currentIndex() + 1; }
int CopyDataDialog::first_observation() const { return first_obs_->currentIndex() + 1; }
int CopyDataDialog::last_observation() const { return last_obs_->currentIndex() + 1; }
bool CopyDataDialog::with_names() const { return names_->isChecked(); }
bool CopyDataDialog::with_descriptions() const { return names_->isChecked() && descs_->isChecked(); }

void CopyDataDialog::accept() {
  if (!valid_range(first_variable(), last_variable(), nvars_) ||
      !valid_range(first_observation(), last_observation(), nobs_)) {
    user_messages().show(MessageKind::kError, QStringLiteral("Invalid data"));
    return;
  }
  QDialog::accept();
}

PasteLayoutDialog::PasteLayoutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("pasteLayoutDialog"));
  setWindowTitle(QStringLiteral("Additional clipboard information"));
  qtshared::keep_title_whole(*this);
  setProperty("helpContext", 107);
  auto* layout = new QVBoxLayout(this);
  rows_ = radio_group(this, layout, QStringLiteral("Clipboard rows contain... "),
                      {QStringLiteral("Variable names on the first line, descriptions on the second line, then data"),
                       QStringLiteral("Variable names with optional descriptions on the first line, then data"),
                       QStringLiteral("Data only")},
                      kNamesWithDescriptions);
  columns_ = radio_group(this, layout, QStringLiteral("Clipboard columns contain..."),
                         {QStringLiteral("Dates in the first column, then data"), QStringLiteral("Data only")},
                         kDatesFirst);
  auto* note = new QPlainTextEdit(QStringLiteral(
      "The pasted data is shown in the data editor. Please check it there, and correct any names or values, "
      "before pressing Go."));
  note->setReadOnly(true);
  note->setMaximumHeight(70);
  layout->addWidget(note);
  layout->addWidget(ok_cancel(this));
}

int PasteLayoutDialog::rows() const { return rows_->checkedId(); }
int PasteLayoutDialog::columns() const { return columns_->checkedId(); }

}  // namespace zelvorin
