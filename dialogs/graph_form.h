// The modal graph window behind ShowGraphP: shows a plot file the engine has just written
// and lets the user keep it for the main program ("&Display later") or drop it ("&Close").
// It prints, saves a copy, copies and exports like the main program's graph window, and
// never deletes the plot file (the engine reuses the number of a plot that was not kept).
#pragma once

#include <QString>

#include "charts/graph_services.h"
#include "charts/graph_widget.h"
#include "dialogs/form.h"

namespace charts {
class ButtonFlow;
}

namespace pravel {

/// The desktop services with the library's own file dialog and message box.
class LibraryGraphServices final : public charts::DesktopGraphServices {
 public:
  QString save_file_name(QWidget* parent, const QString& filter, const QString& default_suffix) override;
  void message(QWidget* parent, charts::MessageKind kind, const QString& text) override;
};

class GraphForm : public Form {
  Q_OBJECT
 public:
  /// A form for the plot file `plot_file`; nothing is read before `load`.
  GraphForm(QWidget* parent, const QString& plot_file, charts::GraphServices& services);

  /// Reads the plot file. False after an error box when the file cannot be read or holds
  /// more than 15 sets or too many values.
  bool load();

  charts::GraphWidget& graph() { return *graph_; }

  /// The buttons' actions.
  void print();
  void save();
  void copy();
  void export_image();
  void show_toolbar();

 protected:
  /// Closing the window drops the graph, as "&Close" does.
  void reject() override;

 private:
  /// Adds a button whose action is followed by bringing the window to the top.
  QPushButton* add_button(const QString& text, const char* name, const QString& hint, void (GraphForm::*action)());

  charts::ButtonFlow* row_;          ///< the button panel
  QString file_;                     ///< the plot file
  charts::GraphServices& services_;  ///< dialogs and settings
  charts::GraphWidget* graph_;       ///< the graph control
};

/// Shows `plot_file` modally. Returns 1 when the user chose "&Display later", else 0 (also
/// when the file could not be shown).
int show_graph(const QString& plot_file, charts::GraphServices& services);

}  // namespace pravel
