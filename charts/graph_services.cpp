#include "charts/graph_services.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>

namespace charts {

QString dialog_filter(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts[i];
    const qsizetype paren = text.indexOf('(');
    if (paren >= 0) text = text.left(paren).trimmed();
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      patterns << p.trimmed().toLower();
      if (p.trimmed().toUpper() != p.trimmed().toLower()) patterns << p.trimmed().toUpper();
    }
    out << text + " (" + patterns.join(' ') + ")";
  }
  return out.join(";;");
}

QString DesktopGraphServices::save_file_name(QWidget* parent, const QString& filter,
                                             const QString& default_suffix) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(dialog_filter(filter));
  dialog.setDefaultSuffix(default_suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

bool DesktopGraphServices::choose_printer(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool DesktopGraphServices::set_up_printer(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void DesktopGraphServices::message(QWidget* parent, MessageKind kind, const QString& text) {
  const QString title = QStringLiteral("Zelvorin");
  switch (kind) {
    case MessageKind::kInformation: QMessageBox::information(parent, title, text); break;
    case MessageKind::kWarning: QMessageBox::warning(parent, title, text); break;
    case MessageKind::kError: QMessageBox::critical(parent, title, text); break;
  }
}

namespace {

/// The value of `key` in `section` of the user's ini file (names compared without regard
/// to case), or `fallback`.
bool ini_flag(const QString& section, const QString& key, bool fallback) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  QFile file(folder + "/zelvorin.ini");
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return fallback;
  bool in_section = false;
  while (!file.atEnd()) {
    const QString line = QString::fromLatin1(file.readLine()).trimmed();
    if (line.startsWith('[')) {
      in_section = line.mid(1, line.indexOf(']') - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
    } else if (in_section) {
      const qsizetype eq = line.indexOf('=');
      if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
        const QString v = line.mid(eq + 1).trimmed().toLower();
        if (v == "1" || v == "true" || v == "-1") return true;
        if (v == "0" || v == "false") return false;
        return fallback;
      }
    }
  }
  return fallback;
}

}  // namespace

GraphSettings DesktopGraphServices::graph_settings() {
  return {ini_flag("Graphics", "Patterns", false), ini_flag("Graphics", "Lastlabel", true)};
}

bool DesktopGraphServices::greyscale() { return ini_flag("Printing", "Greyscale", true); }

}  // namespace charts
