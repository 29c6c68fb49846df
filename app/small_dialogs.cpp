#include "app/small_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/modal_hint.h"
#include "app/program_name.h"
#include "app/user_messages.h"
#include "qtshared/window_title.h"

namespace zelvorin {

bool valid_range(int first, int last, int count) { return 1 <= first && first <= last && last <= count; }

SaveSubsetDialog::SaveSubsetDialog(const DataShape& shape, QWidget* parent)
    : QDialog(parent), count_(shape.nobs) {
  setObjectName(QStringLiteral("saveSubsetDialog"));
  setWindowTitle(QStringLiteral("Select subset of data to be saved"));
  qtshared::keep_title_whole(*this);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  first_ = new QComboBox;
  last_ = new QComboBox;
  for (int obs = 1; obs <= shape.nobs; ++obs) {
    const QString label = QString::fromStdString(observation_label(shape, obs));
    first_->addItem(label);
    last_->addItem(label);
  }
  last_->setCurrentIndex(last_->count() - 1);
  form->addRow(QStringLiteral("First observation"), first_);
  form->addRow(QStringLiteral("Last observation"), last_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &SaveSubsetDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SaveSubsetDialog::reject);
  layout->addWidget(buttons);
}

int SaveSubsetDialog::first() const { return first_->currentIndex() + 1; }
int SaveSubsetDialog::last() const { return last_->currentIndex() + 1; }

void SaveSubsetDialog::accept() {
  if (!valid_range(first(), last(), count_)) {
    user_messages().show(MessageKind::kError, QStringLiteral("Invalid data"));
    return;
  }
  QDialog::accept();
}

void show_about_box(QWidget* parent) {
  QDialog about(parent);
  about.setObjectName("aboutBox");
  about.setWindowTitle(QStringLiteral("About Zelvorin"));
  auto* layout = new QVBoxLayout(&about);
  auto* picture = new QLabel;
  picture->setPixmap(about.style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  layout->addWidget(picture, 0, Qt::AlignHCenter);
  auto* name = new QLabel(kProgramName + QStringLiteral(" version ") + program_version() +
                          QStringLiteral("\nInteractive econometric analysis"));
  name->setObjectName("programName");
  name->setAlignment(Qt::AlignHCenter);
  layout->addWidget(name, 0, Qt::AlignHCenter);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QPushButton* details = buttons->addButton(QStringLiteral("Details..."), QDialogButtonBox::ActionRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  QObject::connect(details, &QPushButton::clicked, &about, [&about] {
    QDialog box(&about);
    box.setWindowTitle(QStringLiteral("Details"));
    auto* l = new QVBoxLayout(&box);
    auto* text = new QPlainTextEdit(QStringLiteral(
        "Zelvorin: the windowed program, the engine library libqorv.so and the dialog library libpravel.so.\n"
        "Data sets of up to 3100 observations and 124000 values, 200 variables."));
    text->setReadOnly(true);
    l->addWidget(text);
    const ModalHint hint;
    box.exec();
  });
  layout->addWidget(buttons);
  about.exec();
}

}  // namespace zelvorin
