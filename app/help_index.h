// The help file's contents and its keyword search: a list of topic titles, filtered by a
// word when searching, from which a topic is shown in the help window.
#pragma once

#include <QDialog>

#include <vector>

#include "qtshared/help.h"

class QLineEdit;
class QListWidget;

namespace zelvorin {

class HelpIndexDialog : public QDialog {
 public:
  enum class Mode { kContents, kSearch };
  explicit HelpIndexDialog(Mode mode, QWidget* parent = nullptr);

  /// Lists the topics whose title or text holds `word` (case ignored; "" lists all).
  void filter(const QString& word);
  QLineEdit* search_box() const { return search_; }
  QListWidget* list() const { return list_; }
  /// Shows the selected topic in the help window.
  void show_selected();

 private:
  std::vector<qtshared::help::Topic> topics_;  ///< every topic of the help file
  QLineEdit* search_ = nullptr;              ///< the word searched for
  QListWidget* list_ = nullptr;              ///< titles of the topics listed
};

}  // namespace zelvorin
