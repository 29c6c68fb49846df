#include "app/options_dialog.h"

#include <QButtonGroup>

#include <algorithm>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/file_association.h"
#include "app/user_messages.h"
#include "qtshared/window_title.h"

namespace zelvorin {

namespace {

/// A framed pair of radio buttons; button 1 is `first`, button 0 is `second`.
QGroupBox* radio_pair(const QString& title, const QString& first, const QString& second, bool first_checked,
                      QButtonGroup*& group, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  auto* a = new QRadioButton(first, box);
  auto* b = new QRadioButton(second, box);
  group->addButton(a, 1);
  group->addButton(b, 0);
  (first_checked ? a : b)->setChecked(true);
  layout->addWidget(a);
  layout->addWidget(b);
  return box;
}

QString font_text(const settings::Font& f) {
  return QString::fromStdString(f.name) + QStringLiteral(", ") + QString::number(f.size);
}

std::filesystem::path program_path() {
  return QCoreApplication::applicationFilePath().toStdString();
}

}  // namespace

OptionsDialog::OptionsDialog(const AppSettings& current, const std::filesystem::path& temp_folder, int page,
                             QWidget* parent)
    : QDialog(parent), settings_(current) {
  setWindowTitle(QStringLiteral("Zelvorin Configuration Options"));
  qtshared::keep_title_whole(*this);
  associated_at_open_ = association::in_force(association::user_folders(), program_path());
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("pages");
  tabs_->setUsesScrollButtons(false);  // every tab shows whole: the dialog is as wide as they are
  tabs_->setElideMode(Qt::ElideNone);
  tabs_->addTab(startup_page(), QStringLiteral("Startup"));
  tabs_->addTab(graphics_page(), QStringLiteral("Graphics"));
  tabs_->addTab(bubble_page(), QStringLiteral("Bubble help"));
  tabs_->addTab(printing_page(), QStringLiteral("Results printing"));
  tabs_->addTab(editor_page(), QStringLiteral("Editor defaults"));
  tabs_->setCurrentIndex(std::clamp(page, 1, 5) - 1);
  // This run works in its own folder inside the temporary folder: show the folder itself.
  const QString shown = settings_.temp_dir.empty() ? QString::fromStdString(temp_folder.parent_path().string())
                                                   : QString::fromStdString(settings_.temp_dir);
  temp_->setText(shown);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
}

QWidget* OptionsDialog::startup_page() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(radio_pair(QStringLiteral("Main window position"), QStringLiteral("Use defaults"),
                               QStringLiteral("Use previous values"), settings_.position_default, position_, page));
  layout->addWidget(radio_pair(QStringLiteral("Variables window"), QStringLiteral("Always on top"),
                               QStringLiteral("Child window"), settings_.vars_on_top, vars_on_top_, page));
  layout->addWidget(radio_pair(QStringLiteral("Variables window position"), QStringLiteral("Use defaults"),
                               QStringLiteral("Use previous values"), settings_.vars_default, vars_default_, page));
  auto* temp_box = new QGroupBox(QStringLiteral("Location for temporary files"), page);
  auto* temp_row = new QHBoxLayout(temp_box);
  temp_ = new QLineEdit(temp_box);
  temp_->setReadOnly(true);
  auto* browse = new QPushButton(QStringLiteral("..."), temp_box);
  connect(browse, &QPushButton::clicked, this, &OptionsDialog::choose_temp_folder);
  temp_row->addWidget(temp_);
  temp_row->addWidget(browse);
  layout->addWidget(temp_box);
  associate_ = new QCheckBox(QStringLiteral("Associate ZVD files with Zelvorin"), page);
  associate_->setChecked(associated_at_open_);
  layout->addWidget(associate_);
  layout->addStretch();
  return page;
}

QWidget* OptionsDialog::graphics_page() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(radio_pair(QStringLiteral("Printing graphs"), QStringLiteral("Colour or greyscale"),
                               QStringLiteral("Black-and-white symbols or patterns"), settings_.greyscale, greyscale_,
                               page));
  layout->addWidget(radio_pair(QStringLiteral("Multiple line graphs"), QStringLiteral("Use patterned lines"),
                               QStringLiteral("Use thin/thick lines"), settings_.patterns, patterns_, page));
  last_label_ = new QCheckBox(QStringLiteral("Force labelling of last data point"), page);
  last_label_->setChecked(settings_.last_label);
  layout->addWidget(last_label_);
  layout->addStretch();
  return page;
}

QWidget* OptionsDialog::bubble_page() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  bubble_ = new QCheckBox(QStringLiteral("Display bubble help"), page);
  bubble_->setChecked(settings_.show_bubble);
  layout->addWidget(bubble_);
  layout->addStretch();
  return page;
}

QWidget* OptionsDialog::printing_page() {
  auto* page = new QWidget(this);
  auto* layout = new QFormLayout(page);
  page_numbers_ = new QCheckBox(QStringLiteral("Print page numbers"), page);
  page_numbers_->setChecked(settings_.printing.page_numbers);
  print_date_ = new QCheckBox(QStringLiteral("Print date and name of researcher"), page);
  print_date_->setChecked(settings_.printing.print_date);
  lines_ = new QLineEdit(QString::number(settings_.printing.lines_per_page), page);
  user_ = new QLineEdit(QString::fromStdString(settings_.printing.user_name), page);
  layout->addRow(page_numbers_);
  layout->addRow(print_date_);
  layout->addRow(QStringLiteral("Lines per page"), lines_);
  layout->addRow(QStringLiteral("Name of researcher"), user_);
  return page;
}

QWidget* OptionsDialog::editor_page() {
  auto* page = new QWidget(this);
  auto* layout = new QFormLayout(page);
  const auto font_row = [&](const QString& label, QLineEdit*& box, const settings::Font& font, bool fixed) {
    auto* row = new QHBoxLayout;
    box = new QLineEdit(font_text(font), page);
    box->setReadOnly(true);
    auto* button = new QPushButton(QStringLiteral("..."), page);
    connect(button, &QPushButton::clicked, this, [this, fixed] { choose_font(fixed); });
    row->addWidget(box);
    row->addWidget(button);
    layout->addRow(label, row);
  };
  font_row(QStringLiteral("Main font"), main_font_, settings_.main_font, false);
  font_row(QStringLiteral("Fixed font"), fixed_font_, settings_.fixed_font, true);
  clear_boxes_ = new QCheckBox(QStringLiteral("Clear editor boxes on loading new data "), page);
  clear_boxes_->setChecked(settings_.clear_boxes);
  layout->addRow(clear_boxes_);
  return page;
}

void OptionsDialog::choose_temp_folder() {
  const QString folder =
      QFileDialog::getExistingDirectory(this, QStringLiteral("Choose a temporary directory"), temp_->text());
  if (!folder.isEmpty()) temp_->setText(folder);
}

void OptionsDialog::choose_font(bool fixed) {
  settings::Font& f = fixed ? settings_.fixed_font : settings_.main_font;
  const QFont initial = to_qfont(f);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, this, QString(),
                                            fixed ? QFontDialog::MonospacedFonts : QFontDialog::FontDialogOptions());
  if (!ok) return;
  f.name = chosen.family().toStdString();
  f.size = std::min(16, chosen.pointSize() > 0 ? chosen.pointSize() : f.size);
  f.bold = chosen.bold();
  f.italic = chosen.italic();
  (fixed ? fixed_font_ : main_font_)->setText(font_text(f));
}

bool OptionsDialog::associate() const { return associate_->isChecked(); }

void OptionsDialog::accept() {
  settings_.position_default = position_->checkedId() == 1;
  settings_.vars_on_top = vars_on_top_->checkedId() == 1;
  settings_.vars_default = vars_default_->checkedId() == 1;
  settings_.greyscale = greyscale_->checkedId() == 1;
  settings_.patterns = patterns_->checkedId() == 1;
  settings_.last_label = last_label_->isChecked();
  settings_.show_bubble = bubble_->isChecked();
  settings_.printing.page_numbers = page_numbers_->isChecked();
  settings_.printing.print_date = print_date_->isChecked();
  bool ok = false;
  const int lines = lines_->text().trimmed().toInt(&ok);
  settings_.printing.lines_per_page = ok && lines > 0 ? lines : settings::kDefaultLinesPerPage;
  settings_.printing.user_name = user_->text().toStdString();
  settings_.clear_boxes = clear_boxes_->isChecked();
  if (associate() != associated_at_open_) {
    const auto folders = association::user_folders();
    if (associate()) association::set(folders, program_path());
    else association::remove(folders);
    associated_at_open_ = associate();
  }
  const QString folder = temp_->text().trimmed();
  if (!QDir(folder).exists()) {
    user_messages().show(MessageKind::kWarning,
                         QStringLiteral("Unable to find directory specified for temporary files - please enter a "
                                        "valid directory name"));
    return;
  }
  settings_.temp_dir = folder.toStdString();
  QDialog::accept();
}

}  // namespace zelvorin
