#include "app/results_window.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/file_dialogs.h"
#include "app/modal_hint.h"
#include "app/user_messages.h"
#include "charts/graph_services.h"
#include "qtshared/page_box.h"
#include "qtshared/page_printer.h"
#include "qtshared/text_bridge.h"
#include "shared/file_reading.h"

namespace zelvorin {

SaveChoice save_choice_for(const QString& file_name) {
  const QString suffix = QFileInfo(file_name).suffix().toUpper();
  if (suffix == QLatin1String("OUT"))
    return {QStringLiteral("Results files (*.OUT)|*.OUT"), QStringLiteral("Save to a new results file")};
  if (suffix == QLatin1String("BAT"))
    return {QStringLiteral("Batch files (*.BAT)|*.BAT"), QStringLiteral("Save to a new batch file")};
  if (suffix == QLatin1String("MOD"))
    return {QStringLiteral("Model files (*.MOD)|*.MOD"), QStringLiteral("Save to a new model file")};
  if (suffix == QLatin1String("EQU"))
    return {QStringLiteral("Equation files (*.EQU)|*.EQU"), QStringLiteral("Save to a new equation file")};
  if (suffix == QLatin1String("LST"))
    return {QStringLiteral("Variable list files (*.LST)|*.LST"), QStringLiteral("Save to a new results file")};
  return {QStringLiteral("All files (*.*)|*.*"), QStringLiteral("Save to a new file")};
}

ResultsWindow* ResultsWindow::open(const QString& path, QWidget* parent) {
  const file_reading::Contents file = file_reading::read_all(qtshared::path_from_qt(path));
  if (file.failure != file_reading::Failure::kNone) return nullptr;
  QString text = qtshared::to_qt(file.bytes);
  text.remove(QLatin1Char('\r'));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return new ResultsWindow(path, text, parent);
}

ResultsWindow::ResultsWindow(const QString& path, const QString& text, QWidget* parent)
    : QWidget(parent), file_(path), save_(save_choice_for(path)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(path);
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  const auto button = [&](const QString& caption, const QString& hint, void (ResultsWindow::*action)()) {
    auto* b = new QToolButton;
    b->setText(caption);
    b->setToolTip(hint);
    buttons->addWidget(b);
    connect(b, &QToolButton::clicked, this, action);
  };
  button(QStringLiteral("Save"), save_.hint, &ResultsWindow::save);
  button(QStringLiteral("Font"), QStringLiteral("Change Font"), &ResultsWindow::change_font);
  button(QStringLiteral("Copy"), QStringLiteral("Copy selected text to clipboard"), &ResultsWindow::copy);
  button(QStringLiteral("Print"), QStringLiteral("Print"), &ResultsWindow::print);
  buttons->addStretch();
  layout->addLayout(buttons);
  text_ = new qtshared::PageBox;
  text_->setReadOnly(true);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont fixed(QStringLiteral("Courier New"), 10);
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setFixedPitch(true);
  text_->setFont(fixed);
  text_->setPlainText(text);
  layout->addWidget(text_, 1);
}

QStringList ResultsWindow::lines() const {
  QStringList lines;
  for (QTextBlock b = text_->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  return lines;
}

bool ResultsWindow::save_to(const QString& path) {
  const QByteArray bytes = (lines().join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1();
  // Never opened when it is a folder, FIFO or device: QFile would wait on a FIFO.
  const bool writable = file_reading::writable_target(qtshared::path_from_qt(path)) == file_reading::Failure::kNone;
  QFile file(path);
  if (!writable || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    user_messages().show(MessageKind::kError, QStringLiteral("Unable to write file ") + path);
    return false;
  }
  return true;
}

void ResultsWindow::save() {
  const QString pattern = save_.filter.section(QLatin1Char('|'), 1, 1);
  QString name = ask_save_file(this, save_.hint, charts::dialog_filter(save_.filter));
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty() && pattern.startsWith(QLatin1String("*.")) && !pattern.endsWith('*'))
    name += pattern.mid(1);
  save_to(name);
}

void ResultsWindow::change_font() {
  bool ok = false;
  QFont font;
  {
    const ModalHint hint;
    font = QFontDialog::getFont(&ok, text_->font(), this, QString(), QFontDialog::MonospacedFonts);
  }
  if (!ok) return;
  QFont chosen = font;
  if (chosen.pointSize() > 16) chosen.setPointSize(16);
  text_->setFont(chosen);
}

void ResultsWindow::copy() { text_->copy_page(); }

void ResultsWindow::set_text_font(const QFont& font) {
  QFont fixed = font;
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setFixedPitch(true);
  text_->setFont(fixed);
}

void ResultsWindow::print() {
  QPrinter printer;
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  {
    const ModalHint hint;
    if (dialog.exec() != QDialog::Accepted) return;
  }
  if (!qtshared::print_lines(printer, lines(), text_->font()))
    user_messages().show(MessageKind::kError, QStringLiteral("Unable to print ") + file_);
}

}  // namespace zelvorin
