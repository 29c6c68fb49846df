// The main window's data commands: open, save and add.
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/main_window.h"
#include "app/user_messages.h"
#include "app/zvd_host.h"

namespace zelvorin {

namespace {

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
  const bool zvd_file = suffix == QLatin1String("ZVD");
  const int kind = zvd_file ? 3 : engine_kind(suffix);
  if (kind == 0 || !confirm_replace()) return false;

  HostWorkspace incoming;
  if (zvd_file) {
    ZvdRead read = ReadZvdFile(to_path(path));
    if (!read.workspace) {
      user_messages().show(MessageKind::kError, read.message);
      return false;
    }
    incoming = std::move(*read.workspace);
    if (!register_data_set(incoming, path.toStdString(), kind))
      user_messages().show(MessageKind::kWarning,
                           QStringLiteral("File contains invalid or duplicate variable names\nYou must edit them in "
                                          "the Variables window and press Go to register the new names before "
                                          "attempting to do any computation!"));
  } else {
    engine::register_char(charset::kDataFile, path.toStdString());
    engine::register_int(slots::kDataInputKind, kind);
  }

  state_.busy = true;
  const int status = engine::driver(1);
  state_.busy = false;
  if (status == -1) {
    // The engine refused the file: give it the loaded data set back, unchanged.
    if (state_.data_loaded) {
      register_data_set(state_.ws, state_.data_file_name.toStdString(), 3);
      engine::driver(1);
    }
    return false;
  }
  if (zvd_file) {
    state_.ws = std::move(incoming);
  } else {
    state_.ws = HostWorkspace{};
    RetrieveDataShape(state_.ws.shape);
    for (int i = 1; i <= state_.ws.shape.nvars; ++i) {
      const engine::Variable v = engine::retrieve_vars(i);
      state_.ws.names[static_cast<std::size_t>(i - 1)] = v.name;
      state_.ws.descs[static_cast<std::size_t>(i - 1)] = v.desc;
    }
  }
  state_.data_file_name = path;
  after_data_load();
  return true;
}

void MainWindow::after_data_load() {
  DataShape& s = state_.ws.shape;
  derive_end(s);
  engine::register_int(slots::kNumObservations, s.nobs);
  engine::retrieve_data(state_.ws.data, s.nobs, s.nvars);
  state_.data_loaded = true;
  state_.sample_start = 1;
  state_.sample_end = s.nobs;
  for (QAction* a : data_actions_) a->setEnabled(true);
  setWindowTitle(QStringLiteral("Zelvorin for Windows - ") + QFileInfo(state_.data_file_name).fileName());
  estimation_->fill_periods();
  estimation_frame_->setWindowTitle(estimation_->windowTitle());
  show_sample_status();
}

bool MainWindow::save_zvd(const QString& path, int first, int last) {
  const QString message = WriteZvdFile(to_path(path), state_.ws, first, last);
  if (!message.isEmpty()) {
    user_messages().show(MessageKind::kError, message);
    return false;
  }
  state_.data_file_name = path;
  setWindowTitle(QStringLiteral("Zelvorin for Windows - ") + QFileInfo(path).fileName());
  return true;
}

bool MainWindow::add_zvd(const QString& path) {
  if (state_.busy || !state_.data_loaded) return false;
  ZvdRead read = ReadZvdFile(to_path(path));
  if (!read.workspace) {
    user_messages().show(MessageKind::kError, QStringLiteral("Not a valid ZVD file!"));
    return false;
  }
  HostWorkspace joined = state_.ws;
  const QString refusal = join_data_sets(joined, *read.workspace);
  if (!refusal.isEmpty()) {
    user_messages().show(MessageKind::kError, refusal);
    return false;
  }
  register_data_set(joined, state_.data_file_name.toStdString(), 3);
  state_.busy = true;
  const int status = engine::driver(1);
  state_.busy = false;
  if (status == -1) {
    register_data_set(state_.ws, state_.data_file_name.toStdString(), 3);
    engine::driver(1);
    return false;
  }
  state_.ws = std::move(joined);
  after_data_load();
  user_messages().show(MessageKind::kInformation, QStringLiteral("The variables in file ") + path +
                                                      QStringLiteral(" have been successfully ") +
                                                      QStringLiteral("added to the workspace."));
  return true;
}

void MainWindow::open_action() {
  const QString name = QFileDialog::getOpenFileName(
      this, QStringLiteral("Select data file"), QString(),
      QStringLiteral("Qorv data files (*.zvd *.ZVD);;ASCII files (*.dat *.asc);;' ' or ',' delimited files "
                     "(*.csv *.prn *.txt);;AREMOS files (*.tsd);;All files (*)"));
  if (!name.isEmpty()) open_data_file(name);
}

void MainWindow::save_action() {
  const QFileInfo info(state_.data_file_name);
  if (state_.data_file_name == QLatin1String("untitled") || info.suffix().toUpper() != QLatin1String("ZVD")) {
    save_as_action();
    return;
  }
  if (user_messages().ask(MessageKind::kWarning,
                          QStringLiteral("This will overwrite current file (") + state_.data_file_name +
                              QStringLiteral("). Are you sure?"),
                          Question::kYesNo))
    save_zvd(state_.data_file_name, 0, state_.ws.shape.nobs - 1);
}

void MainWindow::save_as_action() {
  QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Enter name for data file"), QString(),
                                              QStringLiteral("Qorv data files (*.zvd)"));
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".ZVD");
  save_zvd(name, 0, state_.ws.shape.nobs - 1);
}

void MainWindow::add_action() {
  const QString name =
      QFileDialog::getOpenFileName(this, QStringLiteral("Select data file"), QString(),
                                   QStringLiteral("Qorv data files (*.zvd *.ZVD)"));
  if (!name.isEmpty()) add_zvd(name);
}

}  // namespace zelvorin
