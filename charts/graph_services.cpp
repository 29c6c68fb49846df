#include "charts/graph_services.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

#include "shared/dialog_folder.h"
#include "shared/ini_file.h"

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
  dialog.setDirectory(QFile::decodeName(dialog_folder::start().c_str()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString chosen = dialog.selectedFiles().front();
  dialog_folder::remember_file(QFile::encodeName(chosen).toStdString());
  return chosen;
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


GraphSettings DesktopGraphServices::graph_settings() {
  // Read at each use: the options dialog may have changed the file meanwhile.
  const ini::IniFile ini = ini::IniFile::load();
  return {ini.get_bool("Graphics", "Patterns", false), ini.get_bool("Graphics", "Lastlabel", true)};
}

bool DesktopGraphServices::greyscale() {
  return ini::IniFile::load().get_bool("Printing", "Greyscale", true);
}

}  // namespace charts
