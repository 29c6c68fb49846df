// The estimation window: the user writes a single-equation or system specification, picks
// the estimation period and starts the estimation, which the engine runs as request 3.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QColor;
class QFont;

#include <functional>
#include <string>
#include <vector>

#include "app/equation_box.h"
#include "app/host_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace zelvorin {

/// What "&Start" reads from the window.
struct StartInputs {
  bool single_page = true;   ///< outer page "1" (single equation) showing, else page "2"
  bool var_page = false;     ///< page "2" shows the VAR page (not SURE)
  int single_method = 0;     ///< host state: Univariate method, option (from 0)
  int single_option = 0;
  int system_method = 0;     ///< host state: Multivariate method, option (from 0)
  int system_option = 0;
  QString period1;           ///< texts of the two period lists
  QString period2;
  QString window_size;       ///< text of the number box of page "1"
  QString var_order;         ///< text of the VAR order box
  QStringList lines;         ///< lines of the active editing box
};

/// One registration with the engine: a slot, or a character setting when `is_text`.
struct EngineSetting {
  int code = 0;          ///< slot number or character-setting code
  bool is_text = false;  ///< character setting
  int value = 0;         ///< the slot's value
  std::string text;      ///< the character setting's text
  bool operator==(const EngineSetting&) const = default;
};

/// The registrations of "&Start" in the order they are sent, or `refused` (nothing is sent)
/// when the specification text would pass `kMaxSpecification` characters.
struct StartRequest {
  std::vector<EngineSetting> settings;
  bool refused = false;
};
StartRequest build_start_request(const StartInputs& in);

/// An integer typed in a number box (blanks around it allowed), or -999.
int box_integer(const QString& text);

/// The lines of the equation-box file: its records are one text cut every 78 characters,
/// so they are joined as they stand and broken again at blanks into lines of at most 78
/// characters (a longer word keeps a line of its own).
QStringList equation_box_lines(const QStringList& records);

class EstimationWindow : public QWidget {
 public:
  /// The window over the host state it shares with the main window.
  explicit EstimationWindow(HostState& state, QWidget* parent = nullptr);

  /// Shows outer page 1 (single equation) or 2 (systems) and sets up its pages.
  void show_page(int outer);
  /// Sets up the pages, captions, help context and lists for the current methods.
  void set_up_pages();
  /// Fills the period lists with the loaded data set's observations and selects the whole
  /// sample; refills the variable list.
  void fill_periods();
  /// After a request: the variable list shows the data set's names; the period lists are
  /// filled again only when the observations changed, and select the program's sample.
  void follow_data_set();
  /// What "&Start" would send now.
  StartInputs inputs() const;
  /// The "&Start" button: registers the request and runs it. False when it was refused,
  /// or the engine was busy.
  bool start();
  /// Loads a text file into the active editing box, line by line.
  bool load_equ(const QString& path);
  /// Reloads the three editing boxes from the equation-box file the engine wrote.
  bool reload_equation_boxes();
  /// Empties the three editing boxes.
  void clear_boxes();

  /// The method caption shown in the status box.
  QString status_text() const;
  int help_context() const { return help_context_; }
  QPlainTextEdit* nonlin() const { return nonlin_; }
  QPlainTextEdit* varmemo() const { return varmemo_; }
  QPlainTextEdit* surememo() const { return surememo_; }
  QPlainTextEdit* active_box() const;
  QComboBox* period1() const { return period1_; }
  QComboBox* period2() const { return period2_; }
  QComboBox* variables_box() const { return variables_; }
  QLineEdit* window_size() const { return window_size_; }
  QLineEdit* var_order() const { return var_order_; }
  QLabel* explanation() const;
  /// The explanatory text of the VAR page showing (unrestricted or cointegrating VAR).
  QLabel* var_explanation() const;
  int outer_page() const;

  /// The window, its boxes and labels take `font` in `colour`.
  void apply_font(const QFont& font, const QColor& colour);
  /// The Help button: the help topic of the window's context.
  void show_help() const;

  /// Opens a graph window on a plot file the engine kept.
  std::function<void(const QString&)> open_plot;
  /// Runs after each request: the main window refreshes its status.
  std::function<void()> request_done;

 private:
  void build();
  void save_box();
  void get_box();
  void insert_variable();
  void period_typed(QComboBox* box, int* index);
  QString filter_start() const;

  HostState& state_;
  QStackedWidget* outer_ = nullptr;       ///< pages "1" to "5"
  QStackedWidget* texts_ = nullptr;       ///< explanatory texts "1" to "5" of page "1"
  QStackedWidget* system_ = nullptr;      ///< "var" and "sure"
  QStackedWidget* var_kind_ = nullptr;    ///< VAR pages "1" and "2"
  QPlainTextEdit* nonlin_ = nullptr;      ///< single-equation specification
  QPlainTextEdit* varmemo_ = nullptr;     ///< VAR specification
  QPlainTextEdit* surememo_ = nullptr;    ///< SURE specification
  QLabel* window_label_ = nullptr;        ///< label of `window_size_`, by method
  QLineEdit* window_size_ = nullptr;      ///< window length, lag window or maximum lag
  QLabel* var_order_label_ = nullptr;
  QLineEdit* var_order_ = nullptr;        ///< order of the VAR
  QComboBox* period1_ = nullptr;          ///< start of the estimation period
  QComboBox* period2_ = nullptr;          ///< end of the estimation period
  QComboBox* variables_ = nullptr;        ///< names of the loaded variables
  QLineEdit* status_ = nullptr;           ///< the chosen method's caption
  QPushButton* start_ = nullptr;
  int start_index_ = 0;                   ///< remembered index of the period start
  int end_index_ = 0;                     ///< remembered index of the period end
  int help_context_ = 20141;
};

}  // namespace zelvorin
