#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/engine_link.h"
#include "app/engine_request.h"
#include "app/command_editor.h"
#include "app/estimation_window.h"
#include "app/file_dialogs.h"
#include "app/graph_window.h"
#include "app/modal_hint.h"
#include "app/modal_stacking.h"
#include "app/options_dialog.h"
#include "app/program_icon.h"
#include "app/program_name.h"
#include "app/results_window.h"
#include "app/small_dialogs.h"
#include "app/startup_folders.h"
#include "app/user_messages.h"
#include "shared/dialog_folder.h"
#include "shared/temp_files.h"

namespace zelvorin {

namespace fs = std::filesystem;

namespace {

/// The two lines of the status bar. The main window takes the status bar's minimum size,
/// not its hint, so the lines set that minimum themselves whenever their texts or font
/// change: the window is never narrower than the longer line.
class StatusLines : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  bool event(QEvent* event) override {
    const bool done = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest) {
      if (QWidget* bar = parentWidget()) {
        if (bar->layout() != nullptr) bar->layout()->invalidate();
        bar->setMinimumWidth(bar->minimumSizeHint().width());
      }
    }
    return done;
  }
};

}  // namespace

MainWindow::MainWindow(const fs::path& ini_path, QWidget* parent)
    : QMainWindow(parent), ini_path_(ini_path) {
  setWindowTitle(kProgramName);
  mdi_ = new QMdiArea(this);
  setCentralWidget(mdi_);
  // The status line holds two lines, the data set's status above the hint, so that
  // neither cuts the other off; the window is never narrower than the longer one.
  auto* status_lines = new StatusLines(this);
  auto* rows = new QVBoxLayout(status_lines);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  status_label_ = new QLabel(status_lines);
  status_label_->setObjectName("statusLine");
  hint_label_ = new QLabel(status_lines);
  hint_label_->setObjectName("hintLine");
  hint_label_->setToolTip(
      QStringLiteral("When the cursor points at a particular control, brief information about it appears here"));
  rows->addWidget(status_label_);
  rows->addWidget(hint_label_);
  statusBar()->addWidget(status_lines, 1);
  set_hint_line(hint_label_);
  setAcceptDrops(true);
  ModalStacking::install();  // the dialogs of every part of the program come up on top
  QApplication::setWindowIcon(program_icon());  // every window of the program shows it
  create_command_editor();  // before the menus, which hold its Edit items
  create_menus();
  // The edit commands follow the focus and the clipboard.
  connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::refresh_commands);
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &MainWindow::refresh_commands);
  connect(qApp, &QApplication::focusChanged, this, &MainWindow::refresh_commands);

  state_ = HostState{};
  InitWorkspace(state_.ws);
  estimation_ = new EstimationWindow(state_);
  estimation_->open_plot = [this](const QString& path) { open_plot(path); };
  estimation_->request_done = [this] { show_sample_status(); };
  estimation_frame_ = mdi_->addSubWindow(estimation_);
  estimation_frame_->setWindowTitle(estimation_->windowTitle());
  estimation_frame_->hide();
  create_data_windows();
  read_settings();
  estimation_->apply_font(to_qfont(state_.settings.main_font), text_colour(state_.settings.main_font));
  settle_folders();
  place_window();
}

MainWindow::~MainWindow() {
  // Closing the window below hides the sub-windows and moves the focus; those signals
  // must not reach a window that is already half destroyed.
  mdi_->disconnect(this);
  QApplication::clipboard()->disconnect(this);
  qApp->disconnect(this);
  set_hint_line(nullptr);
  std::error_code ec;
  if (!state_.temp_folder.empty()) fs::remove_all(state_.temp_folder, ec);
}

std::function<void()> MainWindow::host(void (MainWindow::*command)()) {
  return [this, command] {
    if (!state_.busy) (this->*command)();
  };
}

void MainWindow::create_menus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&New..."), this, host(&MainWindow::new_action));
  QAction* open = file->addAction(QStringLiteral("&Open..."), this, host(&MainWindow::open_action));
  open->setStatusTip(QStringLiteral("Select data file"));
  QAction* add = file->addAction(QStringLiteral("&Add..."), this, host(&MainWindow::add_action));
  save_ = file->addAction(QStringLiteral("&Save"), this, host(&MainWindow::save_action));
  save_as_ = file->addAction(QStringLiteral("Save &As..."), this, host(&MainWindow::save_as_action));
  file->addAction(QStringLiteral("&View..."), this, host(&MainWindow::view_action));
  file->addSeparator();
  file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
  connect(file, &QMenu::aboutToShow, this, &MainWindow::refresh_commands);
  data_actions_ = {add};

  create_edit_menu();

  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  const char* pages[] = {"&Startup...", "&Graphics...", "&Bubble help...", "&Results printing...",
                         "&Editor defaults..."};
  for (int i = 0; i < 5; ++i)
    options->addAction(QString::fromLatin1(pages[i]), this, [this, i] {
      if (!state_.busy) options_action(i + 1);
    });

  create_method_menu(MethodMenu::kUnivariate);
  create_method_menu(MethodMenu::kMultivariate);
  create_window_menu();
  create_help_menu();
  create_speed_buttons();
  QToolBar* tools = findChild<QToolBar*>();
  tools->insertAction(tools->actions().value(0), open);
  tools->insertAction(tools->actions().value(1), save_as_);
  refresh_commands();
}

void MainWindow::create_method_menu(MethodMenu menu) {
  const bool uni = menu == MethodMenu::kUnivariate;
  QMenu* top = menuBar()->addMenu(uni ? QStringLiteral("&Univariate") : QStringLiteral("&Multivariate"));
  top->menuAction()->setProperty("helpContext", method_menu_help(menu));
  QList<QAction*>& actions = method_actions_[uni ? 0 : 1];
  QMenu* group = nullptr;
  const char* group_caption = nullptr;
  for (const MethodItem& item : method_items(menu)) {
    QMenu* parent = top;
    if (item.group != nullptr) {
      if (group_caption != item.group) {
        group = top->addMenu(QString::fromLatin1(item.group));
        group->menuAction()->setCheckable(true);
        group->menuAction()->setProperty("helpContext", item.group_help);
        group_caption = item.group;
        actions << group->menuAction();
      }
      parent = group;
    }
    QAction* action = parent->addAction(QString::fromLatin1(item.caption));
    action->setCheckable(true);
    action->setData(item.tag);
    action->setProperty("helpContext", item.help);
    actions << action;
    connect(action, &QAction::triggered, this,
            [this, menu, &item, action] { choose_method(menu, item, action); });
  }
}

QAction* MainWindow::method_action(MethodMenu menu, int tag) const {
  for (QAction* a : method_actions_[menu == MethodMenu::kUnivariate ? 0 : 1])
    if (a->data().toInt() == tag) return a;
  return nullptr;
}

void MainWindow::choose_method(MethodMenu menu, const MethodItem& item, QAction* action) {
  if (state_.busy) {
    action->setChecked(!action->isChecked());  // the click changed nothing
    return;
  }
  const bool uni = menu == MethodMenu::kUnivariate;
  for (QAction* a : method_actions_[uni ? 0 : 1]) a->setChecked(false);
  action->setChecked(true);
  if (auto* group = qobject_cast<QMenu*>(action->parent()); group != nullptr && item.group != nullptr)
    group->menuAction()->setChecked(true);
  const MethodChoice choice = method_of_tag(item.tag);
  if (uni) {
    state_.single_method = choice.method;
    state_.single_option = choice.option;
    state_.univariate_caption = method_caption(menu, item);
    state_.single_help = item.help;
  } else {
    state_.system_method = choice.method;
    state_.system_option = choice.option;
    state_.multivariate_caption = method_caption(menu, item);
    state_.system_help = item.help;
  }
  if (state_.data_loaded) show_estimation(uni ? 1 : 2);
}

void MainWindow::show_estimation(int page) {
  if (state_.busy || !state_.data_loaded) return;
  estimation_->show_page(page);
  estimation_frame_->setWindowTitle(estimation_->windowTitle());
  bring_forward(estimation_frame_);
  if (page == 1) estimation_->nonlin()->setFocus();
  refresh_commands();
}

bool MainWindow::open_text_file(const QString& path) {
  if (QFileInfo(path).suffix().toUpper() == QLatin1String("QGX")) {
    GraphWindow* graph = GraphWindow::open(path, graph_services_, nullptr);
    if (graph == nullptr) return false;
    GraphWindow::add_to(*mdi_, graph);
    return true;
  }
  ResultsWindow* results = ResultsWindow::open(path);
  if (results == nullptr) {
    user_messages().show(MessageKind::kError, QStringLiteral("Unable to read file ") + path);
    return false;
  }
  results->set_text_font(to_qfont(state_.settings.fixed_font));
  if (QMdiSubWindow* active = mdi_->activeSubWindow()) active->showMinimized();
  QMdiSubWindow* frame = mdi_->addSubWindow(results);
  frame->setAttribute(Qt::WA_DeleteOnClose);
  frame->showMaximized();
  return true;
}

void MainWindow::view_action() {
  const QString name = ask_open_file(
      this, QString(),
      charts::dialog_filter(QStringLiteral(
          "Results files (*.out)|*.out|Graph files (*.qgx)|*.qgx|Batch files (*.bat)|*.bat|Model files "
          "(*.mod)|*.mod|Equation files (*.equ)|*.equ|Variable list files (*.lst)|*.lst|Text files "
          "(*.txt)|*.txt|All files (*.*)|*.*")));
  if (!name.isEmpty()) open_text_file(name);
}

void MainWindow::open_plot(const QString& path) {
  GraphWindow* window = GraphWindow::open(path, graph_services_, nullptr);
  if (window != nullptr) GraphWindow::add_to(*mdi_, window);
}

void MainWindow::read_settings() {
  const ini::IniFile file = ini::IniFile::load(ini_path_);
  state_.settings = read_app_settings(file);
  const AppSettings& s = state_.settings;
  setToolTipDuration(s.show_bubble ? -1 : 0);

  if (!s.workdir.empty()) {
    if (QDir(QString::fromStdString(s.workdir)).exists()) {
      QDir::setCurrent(QString::fromStdString(s.workdir));
    } else {
      user_messages().show(MessageKind::kWarning,
                           QStringLiteral("Unable to find last used directory\nThe current directory is kept."));
    }
  }
  engine::register_int(slots::kLinesPerPage, s.printing.lines_per_page);
}

void MainWindow::settle_folders() {
  const TempChoice temp = choose_temp_folder(state_.settings.temp_dir);
  if (!temp.message.isEmpty()) user_messages().show(MessageKind::kWarning, temp.message);
  state_.temp_folder = temp.folder;
  temp_files::publish_session_folder(temp.folder);  // the dialog library finds its panel file there
  engine::register_char(charset::kTempFolder, temp_files::folder_text(temp.folder));
  // Plot files are numbered afresh in a new folder, on both sides of the exchange.
  state_.plot_counter = 0;
  engine::register_int(slots::kPlotCounters, 0);

  const fs::path exe_folder = QCoreApplication::applicationDirPath().toStdString();
  state_.program_folder = program_folder(exe_folder);
  engine::register_char(charset::kProgramFolder, temp_files::folder_text(state_.program_folder));
}

void MainWindow::place_window() {
  const AppSettings& s = state_.settings;
  const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 1024, 768);
  const StoredGeometry designed{{}, {}, 640, 480};
  const StoredGeometry& g = s.position_default ? designed : s.main;
  const int left = g.left.value_or(screen.x() + (screen.width() - g.width) / 2);
  const int top = g.top.value_or(screen.y() + (screen.height() - g.height) / 2);
  setGeometry(left, top, g.width, g.height);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (state_.settings.maximized && !state_.settings.position_default) showMaximized();
  if (state_.pending_open) {
    state_.pending_open = false;
    OpenCommandLineFile(pending_parameters_);
  }
}

void MainWindow::splash_closed(const QStringList& parameters) {
  if (shown_) {
    OpenCommandLineFile(parameters);
  } else {
    state_.pending_open = true;
    pending_parameters_ = parameters;
  }
}

void MainWindow::OpenCommandLineFile(const QStringList& parameters) {
  if (parameters.isEmpty()) return;
  const QString name = parameters.join(QLatin1Char(' '));
  if (QFileInfo(name).isFile()) open_data_file(name);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (state_.busy ||
      !user_messages().ask(MessageKind::kWarning,
                           QStringLiteral("Are you sure you want to exit? All unsaved data will be lost."),
                           Question::kYesNo)) {
    event->ignore();
    return;
  }
  ini::IniFile file = ini::IniFile::load(ini_path_);
  AppSettings s = state_.settings;
  s.maximized = isMaximized();
  // The next run starts where this one worked: the last folder used, else the current one.
  s.workdir = dialog_folder::start().string();
  const QRect r = normalGeometry();
  const StoredGeometry main{r.left(), r.top(), r.width(), r.height()};
  write_exit_settings(file, s, main, variables_geometry());
  file.save();
  event->accept();
}

QString MainWindow::status_text() const { return status_label_->text(); }

int MainWindow::run_engine_request(int request) {
  const int result = run_request(state_, request);
  show_sample_status();
  return result;
}

void MainWindow::show_sample_status() {
  estimation_->follow_data_set();
  refresh_data_windows();
  estimation_frame_->setWindowTitle(estimation_->windowTitle());
  editor_->set_caption();
  refresh_commands();
  const DataShape& s = state_.ws.shape;
  if (!state_.data_loaded || s.nobs < 1) {
    status_label_->clear();
    return;
  }
  const int limit = limits::max_vars_for(s.nobs);
  const auto label = [&](int obs) { return QString::fromStdString(observation_label(s, obs)); };
  status_label_->setText(QStringLiteral("Current sample from %1 to %2. Min %3 Max %4. (%5 obs.) %6 variables, max %7.")
                             .arg(label(state_.sample_start), label(state_.sample_end), label(1),
                                  label(s.nobs))
                             .arg(s.nobs)
                             .arg(s.nvars)
                             .arg(limit));
  editor_->set_status(status_label_->text());
}

void MainWindow::options_action(int page) {
  OptionsDialog dialog(state_.settings, state_.temp_folder, page, this);
  {
    const ModalHint hint;
    if (dialog.exec() != QDialog::Accepted) return;
  }
  const bool new_temp = dialog.settings().temp_dir != state_.settings.temp_dir;
  state_.settings = dialog.settings();
  if (new_temp) {
    std::error_code ec;
    fs::remove_all(state_.temp_folder, ec);
    settle_folders();
  }
  setToolTipDuration(state_.settings.show_bubble ? -1 : 0);
  ini::IniFile file = ini::IniFile::load(ini_path_);
  const QRect r = geometry();
  write_option_settings(file, state_.settings, {r.left(), r.top(), r.width(), r.height()}, variables_geometry());
  file.save();
  engine::register_int(slots::kLinesPerPage, state_.settings.printing.lines_per_page);
}

}  // namespace zelvorin
