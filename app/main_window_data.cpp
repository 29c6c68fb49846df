// The main window's data commands: open, save and add.
#include <filesystem>

#include <QPlainTextEdit>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QMdiSubWindow>

#include "app/engine_link.h"
#include "app/engine_request.h"
#include "app/modal_hint.h"
#include "app/command_editor.h"
#include "app/data_editor.h"
#include "app/estimation_window.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/new_data_dialog.h"
#include "app/program_name.h"
#include "app/small_dialogs.h"
#include "app/user_messages.h"
#include "app/variables_window.h"
#include "app/zvd_host.h"
#include "qtshared/dialog_folder.h"

namespace zelvorin {

namespace {

constexpr int kAsciiFileHelp = 20102;  ///< the new-data dialog of an ASCII file
constexpr int kKeyboardHelp = 20101;   ///< the new-data dialog of data typed in

/// Data-input kinds the engine reads by itself, by extension (upper case).
int engine_kind(const QString& suffix) {
  if (suffix == QLatin1String("CSV") || suffix == QLatin1String("TXT") || suffix == QLatin1String("PRN")) return 6;
  if (suffix == QLatin1String("TSD")) return 7;
  return 0;
}

std::filesystem::path to_path(const QString& name) { return std::filesystem::path(name.toLocal8Bit().toStdString()); }

}  // namespace

bool MainWindow::confirm_replace() {
  if (!state_.data_loaded) return true;
  return user_messages().ask(
      MessageKind::kWarning,
      QStringLiteral("All currently loaded data will be lost. Ok to replace it with data from another file?"),
      Question::kOkCancel);
}

bool MainWindow::open_data_file(const QString& path) {
  if (state_.busy) return false;
  const QString suffix = QFileInfo(path).suffix().toUpper();
  if (suffix == QLatin1String("DAT") || suffix == QLatin1String("ASC")) return open_ascii_file(path);
  const bool zvd_file = suffix == QLatin1String("ZVD");
  const int kind = zvd_file ? 3 : engine_kind(suffix);
  if (kind == 0 || !confirm_replace()) return false;

  DataShape registered = state_.ws.shape;  // the engine writes back the shape of the files it reads
  if (zvd_file) {
    const ZvdRead read = ReadZvdFile(to_path(path));
    if (!read.workspace) {
      user_messages().show(MessageKind::kError, read.message);
      return false;
    }
    registered = read.workspace->shape;
    if (!register_data_set(*read.workspace, path.toStdString(), kind))
      user_messages().show(MessageKind::kWarning,
                           QStringLiteral("File contains invalid or duplicate variable names\nYou must edit them in "
                                          "the Variables window and press Go to register the new names before "
                                          "attempting to do any computation!"));
  } else {
    engine::register_char(charset::kDataFile, path.toStdString());
    engine::register_int(slots::kDataInputKind, kind);
  }

  if (run_data_request(state_, registered) == -1) {
    restore_engine_data_set();
    return false;
  }
  state_.data_file_name = path;
  after_data_load();
  show_loaded_data();
  return true;
}

void MainWindow::restore_engine_data_set() {
  // The engine refused the new data: it gets the loaded data set back, unchanged.
  if (!state_.data_loaded) return;
  register_data_set(state_.ws, state_.data_file_name.toStdString(), 3);
  run_request(state_, 1);
}

bool MainWindow::open_ascii_file(const QString& path) {
  if (!confirm_replace()) return false;
  if (state_.data_loaded && state_.settings.clear_boxes) {
    estimation_->clear_boxes();
    editor_->memo()->clear();
  }
  NewDataDialog dialog(QStringLiteral("Loading data from an ASCII file"), kAsciiFileHelp, NewDataDialog::Road::kAsciiFile,
                       state_.data_loaded ? state_.ws.shape.frequency : slots::kUnset, this);
  {
    const ModalHint hint;
    if (dialog.exec() != QDialog::Accepted) return false;  // the dialog registered slots 2, 3 and 7
  }
  DataShape shape = dialog.shape();
  derive_end(shape);
  engine::register_char(charset::kDataFile, path.toStdString());
  engine::register_int(slots::kDataInputKind, 2);
  // The user names the variables, X1, X2, ... offered.
  bool named = false;
  {
    const ModalHint hint;
    named = name_variables(shape.nvars, this);
  }
  if (!named) {
    // The loaded data set stays as it was.
    restore_engine_data_set();
    return false;
  }
  if (state_.data_loaded) estimation_frame_->hide();
  engine::register_int(slots::kNumObservations, shape.nobs);
  engine::register_int(slots::kNumVariables, shape.nvars);
  RegisterSample(shape);
  if (run_data_request(state_, shape) == -1) {
    restore_engine_data_set();
    return false;
  }
  state_.data_file_name = path;
  after_data_load();
  show_loaded_data();
  return true;
}

void MainWindow::update_captions() {
  setWindowTitle(main_window_title(state_.data_file_name));
  estimation_->set_up_pages();
  estimation_frame_->setWindowTitle(estimation_->windowTitle());
  data_editor_->set_caption();
  editor_->set_caption();
  // File dialogs open in the data file's folder from now on.
  if (QFileInfo(state_.data_file_name).isFile()) qtshared::remember_dialog_file(state_.data_file_name);
}

void MainWindow::new_action() {
  if (state_.busy) return;
  if (state_.data_loaded &&
      !user_messages().ask(MessageKind::kWarning,
                           QStringLiteral("All currently loaded data will be lost. Ok to start with new data?"),
                           Question::kOkCancel))
    return;
  NewDataDialog dialog(QStringLiteral("New data input from the keyboard"), kKeyboardHelp, NewDataDialog::Road::kKeyboard,
                       state_.data_loaded ? state_.ws.shape.frequency : slots::kUnset, this);
  bool accepted = false;
  {
    const ModalHint hint;
    accepted = dialog.exec() == QDialog::Accepted;
  }
  if (!accepted || !new_data_set(dialog.shape())) return;
  // The user types the values into the data editor; without variables there is nothing to
  // type and the empty data set is handed over at once.
  if (state_.ws.shape.nvars > 0)
    show_data_editor();
  else
    data_editor_->go();
}

bool MainWindow::new_data_set(const DataShape& shape) {
  if (state_.busy) return false;
  HostWorkspace ws;
  ws.shape = shape;
  derive_end(ws.shape);
  if (state_.data_loaded) {
    if (state_.settings.clear_boxes) {
      estimation_->clear_boxes();
      editor_->memo()->clear();
    }
    // The estimation window and the command editor wait for the new data.
    estimation_frame_->hide();
    editor_frame_->hide();
    for (QAction* a : {single_, multi_, process_}) a->setEnabled(false);
  }
  InitWorkspace(ws);
  engine::register_int(slots::kDataInputKind, 1);
  engine::register_int(slots::kNumVariables, ws.shape.nvars);
  engine::register_int(slots::kFrequency, ws.shape.frequency);
  engine::register_int(slots::kNumObservations, ws.shape.nobs);
  RegisterSample(ws.shape);
  engine::register_int(slots::kStartYear, ws.shape.start_year);
  engine::register_int(slots::kStartPeriod, ws.shape.start_period);
  engine::register_int(slots::kCenturyBase, ws.shape.century_base);
  if (run_data_request(state_, ws.shape) == -1) {
    restore_engine_data_set();
    refresh_commands();
    return false;
  }
  state_.data_file_name = QStringLiteral("untitled");
  after_data_load();
  return true;
}

void MainWindow::after_data_load() {
  const DataShape& s = state_.ws.shape;
  engine::register_int(slots::kNumObservations, s.nobs);
  state_.data_loaded = true;
  state_.sample_start = 1;
  state_.sample_end = s.nobs;
  for (QAction* a : data_actions_) a->setEnabled(true);
  update_captions();
  estimation_->fill_periods();
  place_variables_window(state_.settings.vars_on_top);
  show_sample_status();
}

void MainWindow::show_loaded_data() {
  show_data_editor();
  data_editor_->go();
}

bool MainWindow::save_zvd(const QString& path, int first, int last) {
  const QString message = WriteZvdFile(to_path(path), state_.ws, first, last);
  if (!message.isEmpty()) {
    user_messages().show(MessageKind::kError, message);
    return false;
  }
  state_.data_file_name = path;
  update_captions();
  return true;
}

bool MainWindow::add_zvd(const QString& path) {
  if (state_.busy || !state_.data_loaded) return false;
  ZvdRead read = ReadZvdFile(to_path(path));
  if (!read.workspace) {
    user_messages().show(MessageKind::kError, read.message);
    return false;
  }
  HostWorkspace joined = state_.ws;
  const QString refusal = join_data_sets(joined, *read.workspace);
  if (!refusal.isEmpty()) {
    user_messages().show(MessageKind::kError, refusal);
    return false;
  }
  register_data_set(joined, state_.data_file_name.toStdString(), 3);
  if (run_data_request(state_, joined.shape) == -1) {
    restore_engine_data_set();
    return false;
  }
  after_data_load();
  user_messages().show(MessageKind::kInformation, QStringLiteral("The variables in file ") + path +
                                                      QStringLiteral(" have been successfully ") +
                                                      QStringLiteral("added to the workspace."));
  return true;
}

void MainWindow::open_action() {
  const QString name = ask_open_file(
      this, QStringLiteral("Select data file"),
      kDataFileFilter + QStringLiteral(";;ASCII files (*.dat *.asc);;' ' or ',' delimited files "
                     "(*.csv *.prn *.txt);;AREMOS files (*.tsd);;All files (*)"));
  if (!name.isEmpty()) open_data_file(name);
}

void MainWindow::save_action() {
  const QFileInfo info(state_.data_file_name);
  if (state_.data_file_name == QLatin1String("untitled") || info.suffix().toUpper() != QLatin1String("ZVD")) {
    save_as_action();
    return;
  }
  if (!state_.data_loaded) return;
  if (user_messages().ask(MessageKind::kWarning,
                          QStringLiteral("This will overwrite current file (") + state_.data_file_name +
                              QStringLiteral("). Are you sure?"),
                          Question::kYesNo))
    save_zvd(state_.data_file_name, 0, state_.ws.shape.nobs - 1);
}

void MainWindow::save_as_action() {
  if (!state_.data_loaded) return;
  QString selected = kDataFileFilter;
  const QString name = ask_save_file(
      this, QStringLiteral("Enter name for data file"),
      QStringLiteral("ASCII data files (*.dat);;") + kDataFileFilter +
          QStringLiteral(";;CSV files (*.csv);;AREMOS files (*.tsd)"),
      &selected);
  if (!name.isEmpty()) save_data_as(name);
}

bool MainWindow::save_data_as(QString name) {
  if (state_.busy || !state_.data_loaded) return false;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".ZVD");
  const QString suffix = QFileInfo(name).suffix().toUpper();
  if (suffix == QLatin1String("ZVD")) {
    SaveSubsetDialog subset(state_.ws.shape, this);
    {
      const ModalHint hint;
      if (subset.exec() != QDialog::Accepted) return false;
    }
    return save_zvd(name, subset.first() - 1, subset.last() - 1);
  }
  int layout = 0;
  if (suffix == QLatin1String("DAT") || suffix == QLatin1String("ASC")) layout = 1;
  if (suffix == QLatin1String("CSV") || suffix == QLatin1String("TXT") || suffix == QLatin1String("PRN")) layout = 3;
  if (suffix == QLatin1String("TSD")) layout = 4;
  if (layout == 0) {
    user_messages().show(MessageKind::kError, QStringLiteral("Unable to save file - unrecognised file extension used!"));
    return false;
  }
  engine::register_int(slots::kActionPreset, 1);
  engine::register_int(slots::kDataProcessingPreset, 3);
  engine::register_int(slots::kDataSavingPreset, layout);
  engine::register_char(charset::kDataFile, name.toStdString());
  // The engine asks the rest (period, layout, what to do with an existing file) and may
  // write nothing; the data set takes the new name only when the file was written.
  const std::filesystem::path target = QFile::encodeName(name).toStdString();
  std::error_code ec;
  const auto before = std::filesystem::exists(target, ec) ? std::filesystem::last_write_time(target, ec)
                                                           : std::filesystem::file_time_type::min();
  if (run_engine_request(3) == -1) return false;
  if (!std::filesystem::exists(target, ec) || std::filesystem::last_write_time(target, ec) == before) return false;
  state_.data_file_name = name;
  update_captions();
  return true;
}

void MainWindow::add_action() {
  if (!state_.data_loaded) return;
  const auto is_zvd = [this] { return QFileInfo(state_.data_file_name).suffix().toUpper() == QLatin1String("ZVD"); };
  if (!is_zvd()) {
    if (!user_messages().ask(MessageKind::kInformation,
                             QStringLiteral("Before adding a file to the variables on the workspace you must save "
                                            "them in a ZVD file. Do you wish to continue?"),
                             Question::kYesNo))
      return;
    save_as_action();
    if (!is_zvd()) return;
  }
  const QString name = ask_open_file(this, QStringLiteral("Select data file"), kDataFileFilter);
  if (!name.isEmpty()) add_zvd(name);
}

}  // namespace zelvorin
