#include "app/file_dialogs.h"

#include <QFileDialog>

#include "app/modal_hint.h"
#include "qtshared/dialog_folder.h"

namespace zelvorin {

QString ask_open_file(QWidget* parent, const QString& caption, const QString& filter, QString* selected_filter) {
  const ModalHint hint;
  const QString name =
      QFileDialog::getOpenFileName(parent, caption, qtshared::dialog_start_folder(), filter, selected_filter);
  qtshared::remember_dialog_file(name);
  return name;
}

QString ask_save_file(QWidget* parent, const QString& caption, const QString& filter, QString* selected_filter) {
  const ModalHint hint;
  const QString name =
      QFileDialog::getSaveFileName(parent, caption, qtshared::dialog_start_folder(), filter, selected_filter);
  qtshared::remember_dialog_file(name);
  return name;
}

}  // namespace zelvorin
