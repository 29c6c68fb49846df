#include "dialogs/file_dialog.h"

#include "dialogs/message_dialog.h"
#include "qtshared/dialog_folder.h"
#include "qtshared/text_bridge.h"

namespace pravel {

QStringList qt_filters(std::string_view pipe_filter) {
  const QStringList parts = qtshared::to_qt(pipe_filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const qsizetype paren = description.lastIndexOf(" (");
    if (paren > 0) description.truncate(paren);
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      patterns << p;
      if (p.toLower() != p) patterns << p.toLower();
    }
    filters << description + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

FileDialog::FileDialog(QWidget* parent, const FileRequest& request)
    : QFileDialog(parent), max_length_(request.max_length) {
  setObjectName("fileDialog");
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  setWindowTitle(request.save ? tr("Save As") : tr("Open"));
  const QStringList filters = qt_filters(qtshared::from_qt(request.filter));
  setNameFilters(filters);
  if (request.filter_index >= 1 && request.filter_index <= filters.size())
    selectNameFilter(filters[request.filter_index - 1]);
  if (!request.default_suffix.isEmpty()) setDefaultSuffix(request.default_suffix);
  setDirectory(qtshared::dialog_start_folder());  // a start name with a folder moves on from it
  if (!request.start_name.isEmpty()) selectFile(request.start_name);
}

void FileDialog::accept() {
  const QStringList files = selectedFiles();
  if (max_length_ > 0 && !files.isEmpty() &&
      static_cast<int>(qtshared::path_from_qt(files.front()).size()) > max_length_) {
    show_message(MessageKind::kError,
                 tr("The name of this file is too long: at most %1 characters").arg(max_length_));
    return;
  }
  QFileDialog::accept();
}

QString ask_file_name(QWidget* parent, const FileRequest& request) {
  FileDialog dialog(parent, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString chosen = dialog.selectedFiles().front();
  qtshared::remember_dialog_file(chosen);
  return chosen;
}

}  // namespace pravel
