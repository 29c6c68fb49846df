#include "dialogs/form.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>
#include <stdexcept>

#include "qtshared/help.h"
#include "qtshared/text_bridge.h"
#include "qtshared/window_title.h"
#include "shared/ini_file.h"
#include "shared/settings.h"

namespace pravel {

void ensure_application() {
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "zelvorin";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
  }
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    throw std::runtime_error("The dialogs need a windowed application");
}

QWidget* owner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

namespace {

QColor windows_colour(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

settings::Font font_settings(FontSet set) {
  const ini::IniFile file = ini::IniFile::load();
  return set == FontSet::kMain ? settings::main_font(file) : settings::fixed_font(file);
}

QFont make_font(const settings::Font& f, FontSet set) {
  QFont font(qtshared::to_qt(f.name), f.size);
  if (set == FontSet::kFixed) {
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  } else {
    font.setStyleHint(QFont::SansSerif);
  }
  font.setBold(f.bold);
  font.setItalic(f.italic);
  return font;
}

}  // namespace

QFont settings_font(FontSet set) { return make_font(font_settings(set), set); }

void apply_font(QWidget* widget, FontSet set) {
  const settings::Font f = font_settings(set);
  widget->setFont(make_font(f, set));
  if (f.color != 0) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, windows_colour(f.color));
    palette.setColor(QPalette::Text, windows_colour(f.color));
    palette.setColor(QPalette::ButtonText, windows_colour(f.color));
    widget->setPalette(palette);
  }
}

Form::Form(QWidget* parent, const QString& caption) : QDialog(parent) {
  setWindowTitle(caption);
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  qtshared::keep_title_whole(*this);
}

void Form::set_help_context(int context) {
  help_context_ = context;
  if (help_ != nullptr) help_->setEnabled(context != 0);
}

QPushButton* Form::make_button(const QString& text, const char* name) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QPushButton* Form::make_help_button() {
  help_ = make_button(tr("&Help"), "help");
  help_->setEnabled(help_context_ != 0);
  connect(help_, &QPushButton::clicked, this, [this] { qtshared::help::show_topic(help_context_); });
  return help_;
}

QHBoxLayout* Form::button_row(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* b : buttons) row->addWidget(b);
  return row;
}

void Form::reject() { done(kCancel); }

void Form::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  raise();
  activateWindow();
}

bool Form::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) raise();
  return QDialog::event(event);
}

}  // namespace pravel
