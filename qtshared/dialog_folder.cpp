#include "qtshared/dialog_folder.h"

#include "qtshared/text_bridge.h"
#include "shared/dialog_folder.h"

namespace qtshared {

QString dialog_start_folder() { return path_to_qt(dialog_folder::start().string()); }

void remember_dialog_file(const QString& file) {
  if (!file.isEmpty()) dialog_folder::remember_file(path_from_qt(file));
}

}  // namespace qtshared
