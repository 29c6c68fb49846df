// The main window: it hosts the child windows, owns the state the program shares with the
// engine, reads the settings at start-up and writes them back when it closes.
#pragma once

#include <QMainWindow>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>

#include "app/host_state.h"
#include "app/method_menus.h"
#include "charts/graph_services.h"

class QAction;
class QMenu;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace zelvorin {

class CommandEditor;
class DataEditor;
class EstimationWindow;
class VariablesWindow;
struct CopyBlock;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// Creates the window: state reset, workspace registered, settings read, folders
  /// settled and registered with the engine. `ini_path` is the settings file.
  explicit MainWindow(const std::filesystem::path& ini_path, QWidget* parent = nullptr);
  ~MainWindow() override;

  /// Joins the command-line parameters with single blanks and opens that file when it
  /// exists; called when both the splash has closed and the window has been shown.
  void OpenCommandLineFile(const QStringList& parameters);

  /// The splash window has closed: open the command-line file now, or when shown.
  void splash_closed(const QStringList& parameters);

  /// Opens a data file by its extension; false when nothing was loaded.
  bool open_data_file(const QString& path);
  /// Writes observations first..last (from 0) of the data set as a ZVD file.
  bool save_zvd(const QString& path, int first, int last);
  /// Joins a second ZVD file to the loaded data set.
  bool add_zvd(const QString& path);
  /// Starts a new data set of `shape` (from the new-data dialog): every value missing.
  bool new_data_set(const DataShape& shape);
  /// Save As to `name`: a name without extension gets ".ZVD", which the host writes (the
  /// subset dialog chooses the observations); the text formats are written by the engine.
  /// True, and the data set takes the name, only when the file was written.
  bool save_data_as(QString name);
  /// Runs engine request `request` (1 data input, 3 the road the slots registered before it
  /// name) for a window of the program; afterwards the program's copy is the engine's data
  /// set and the status line, the estimation window's lists and the data-dependent
  /// controls show it. The engine's result word.
  int run_engine_request(int request);
  /// Shows a text file in a results window, or a graph file (".QGX") in a graph window.
  bool open_text_file(const QString& path);

  /// The main menu's item with this caption (as shown, with its "&"), or nullptr.
  QAction* menu_action(const QString& menu, const QString& caption) const;
  /// The speed button with this caption ("Process", "Data", "Single", "Multi", "Variables").
  QAction* speed_button(const QString& caption) const;
  /// Sets the enabled state of the edit, file and window commands as the current focus,
  /// clipboard and child windows allow (run when a menu opens and on idle moments).
  void refresh_commands();

  const HostState& state() const { return state_; }
  /// The text of the status line.
  QString status_text() const;

  /// The estimation window (created with the main window, hidden until data is loaded).
  EstimationWindow* estimation() const { return estimation_; }
  QMdiSubWindow* estimation_frame() const { return estimation_frame_; }
  /// The item of a method menu with `tag`, or nullptr.
  QAction* method_action(MethodMenu menu, int tag) const;
  /// The command editor (created with the main window, hidden until "Process").
  CommandEditor* command_editor() const { return editor_; }
  QMdiSubWindow* command_editor_frame() const { return editor_frame_; }
  /// The "Process" button: the command editor comes forward maximised.
  void show_command_editor();
  /// The "Data" button: the data editor comes forward maximised, showing the data set.
  void show_data_editor();
  DataEditor* data_editor() const { return data_editor_; }
  QMdiSubWindow* data_editor_frame() const { return data_frame_; }
  /// The variables window; its frame is nullptr while it floats on top.
  VariablesWindow* variables_window() const { return variables_window_; }
  QMdiSubWindow* variables_frame() const { return variables_frame_; }
  /// The variables window floats on top (the Variables button pressed) or is a child.
  void place_variables_window(bool on_top);
  /// Copies a block of the data set to the clipboard as spreadsheet text; false when it
  /// was refused (with a message).
  bool CopyDataToClipboard(const CopyBlock& block);
  /// "Paste &Data": a new data set from the text on the clipboard.
  void paste_data_action();
  /// The "Single" (page 1) and "Multi" (page 2) buttons: the estimation window comes
  /// forward maximised at that page.
  void show_estimation(int page);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void create_menus();
  void create_edit_menu();
  void create_window_menu();
  void create_help_menu();
  void create_speed_buttons();
  /// `command` run from a menu or button: nothing while the engine runs a request.
  std::function<void()> host(void (MainWindow::*command)());
  /// Opens an ASCII file of numbers: the new-data dialog gives its shape, the engine reads it.
  bool open_ascii_file(const QString& path);
  void cut_action();
  void copy_action();
  void paste_action();
  void font_action();
  void arrange_icons();
  void fill_window_list();
  void help_contents();
  void help_search();
  void tutorial_action();
  /// Creates the command editor's window and its items in the Edit menu.
  void create_command_editor();
  /// Brings a child window forward maximised, minimising the active one.
  void bring_forward(QMdiSubWindow* frame);
  /// Creates the data editor and the variables window, and lets the editing boxes take
  /// dragged names.
  void create_data_windows();
  /// The data editor handed its values to the engine.
  void data_registered();
  /// The data editor and the variables window show the program's copy of the data set.
  void refresh_data_windows();
  /// A name from the variables window goes into the editing boxes open for typing.
  void insert_name_into_boxes(const QString& name);
  /// The Variables button pressed or released.
  void variables_button(bool pressed);
  /// Copy while the data editor is active: the copy dialog chooses the block.
  bool copy_data_block();
  /// The variables window's geometry to store: while it floats and its place is not the
  /// default one.
  std::optional<StoredGeometry> variables_geometry() const;
  /// True when a child window is showing.
  bool has_child_window() const;
  void read_settings();
  void settle_folders();
  void place_window();
  void after_data_load();
  /// After a file was read: the data editor comes forward on the data set and its Go
  /// hands the values to the engine.
  void show_loaded_data();
  /// The status line, the estimation window's lists and period boxes and the
  /// data-dependent controls show the program's copy of the data set.
  void show_sample_status();
  void open_action();
  void save_action();
  void save_as_action();
  void add_action();
  void new_action();
  void view_action();
  /// After the engine refused new data: hands it the loaded data set again.
  void restore_engine_data_set();
  /// Data file name changed: the captions follow, and file dialogs open in its folder.
  void update_captions();
  void options_action(int page);
  void create_method_menu(MethodMenu menu);
  void choose_method(MethodMenu menu, const MethodItem& item, QAction* action);
  void open_plot(const QString& path);
  /// Asks before replacing a loaded data set; true to go on.
  bool confirm_replace();

  std::filesystem::path ini_path_;
  HostState state_;
  QMdiArea* mdi_ = nullptr;
  QLabel* status_label_ = nullptr;
  QLabel* hint_label_ = nullptr;   ///< the hint line
  QList<QAction*> data_actions_;   ///< enabled once data is loaded
  QAction* save_ = nullptr;        ///< File Save
  QAction* save_as_ = nullptr;     ///< File Save As (menu and tool button)
  QAction* cut_ = nullptr;         ///< Edit commands
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  QAction* paste_data_ = nullptr;
  QMenu* window_menu_ = nullptr;   ///< Tile, Cascade, Arrange Icons and the child windows
  QList<QAction*> window_actions_; ///< Tile, Cascade, Arrange Icons
  QAction* process_ = nullptr;     ///< speed buttons
  QAction* data_button_ = nullptr;
  QAction* single_ = nullptr;
  QAction* multi_ = nullptr;
  QAction* variables_ = nullptr;
  QList<QAction*> method_actions_[2];  ///< Univariate and Multivariate items and submenus
  EstimationWindow* estimation_ = nullptr;
  CommandEditor* editor_ = nullptr;
  QMdiSubWindow* editor_frame_ = nullptr;
  QList<QAction*> editor_items_;   ///< the command editor's Edit items, shown while it is active
  QMdiSubWindow* estimation_frame_ = nullptr;
  DataEditor* data_editor_ = nullptr;
  QMdiSubWindow* data_frame_ = nullptr;
  VariablesWindow* variables_window_ = nullptr;
  QMdiSubWindow* variables_frame_ = nullptr;  ///< nullptr while the window floats on top
  charts::DesktopGraphServices graph_services_;  ///< the graph windows' dialogs
  QStringList pending_parameters_;
  bool shown_ = false;
};

}  // namespace zelvorin
