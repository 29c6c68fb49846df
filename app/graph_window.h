// The graph window: one child window per plot file the engine kept, or per saved graph
// file (*.QGX). It shows the graph and prints, saves, copies and exports it; it owns the
// temporary plot file it shows and deletes it when it closes.
#pragma once

#include <QString>
#include <QWidget>

#include "charts/graph_services.h"
#include "charts/graph_widget.h"

class QMdiArea;
class QMdiSubWindow;
class QPushButton;

namespace zelvorin {

class GraphWindow : public QWidget {
 public:
  /// Opens the window for the plot or graph file `path`. The host's "plotdata.$$$" is first
  /// renamed to a "pld" name of its own. Returns null after an error box when the file is
  /// missing, cannot be renamed or read ("Unable to read graph file " + name), or holds
  /// too many values (that plot file is then deleted, as closing the window would).
  static GraphWindow* open(const QString& path, charts::GraphServices& services,
                           QWidget* parent = nullptr, QString* error = nullptr);

  ~GraphWindow() override;

  /// Puts `window` into `area` as a maximised child window.
  static QMdiSubWindow* add_to(QMdiArea& area, GraphWindow* window);

  /// The file shown: the plot file, or the saved graph file after a save.
  const QString& file_name() const { return file_; }
  /// True when the window took over "plotdata.$$$".
  bool renamed() const { return renamed_; }
  charts::GraphWidget& graph() { return *graph_; }
  QPushButton* save_button() const { return save_; }

  /// The buttons' actions.
  void print();
  void save();
  void copy();
  void export_image();
  void show_toolbar();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  GraphWindow(const QString& path, bool renamed, charts::GraphSetup setup,
              charts::GraphServices& services, QWidget* parent);
  void update_caption();
  /// Deletes the file shown when it is a temporary plot file (the window owns it).
  void release_file();

  QString file_;                      ///< the file shown
  bool renamed_ = false;              ///< took over "plotdata.$$$"
  int renamed_number_ = 0;            ///< running number of renamed windows, for the caption
  charts::GraphServices& services_;   ///< dialogs and settings
  charts::GraphWidget* graph_;        ///< the graph control
  QPushButton* save_;                 ///< disabled for saved graph files
};

}  // namespace zelvorin
