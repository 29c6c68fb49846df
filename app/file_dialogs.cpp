#include "app/file_dialogs.h"

#include <QFileDialog>

#include "app/modal_hint.h"
#include "qtshared/dialog_folder.h"

namespace zelvorin {

namespace {

/// QFileDialog::getOpenFileName or getSaveFileName.
using FileAsker = QString (*)(QWidget*, const QString&, const QString&, const QString&, QString*,
                              QFileDialog::Options);

QString ask_file(FileAsker asker, QWidget* parent, const QString& caption, const QString& filter,
                 QString* selected_filter) {
  const ModalHint hint;
  const QString name = asker(parent, caption, qtshared::dialog_start_folder(), filter, selected_filter, {});
  qtshared::remember_dialog_file(name);
  return name;
}

}  // namespace

QString ask_open_file(QWidget* parent, const QString& caption, const QString& filter, QString* selected_filter) {
  return ask_file(&QFileDialog::getOpenFileName, parent, caption, filter, selected_filter);
}

QString ask_save_file(QWidget* parent, const QString& caption, const QString& filter, QString* selected_filter) {
  return ask_file(&QFileDialog::getSaveFileName, parent, caption, filter, selected_filter);
}

}  // namespace zelvorin
