// The main window's data editor and variables window, and data copied to and pasted from
// the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

#include "app/clipboard_dialogs.h"
#include "app/clipboard_text.h"
#include "app/command_editor.h"
#include "app/data_editor.h"
#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/main_window.h"
#include "app/modal_hint.h"
#include "app/name_drag.h"
#include "app/new_data_dialog.h"
#include "app/user_messages.h"
#include "app/variables_window.h"
#include "shared/exchange_slots.h"

namespace zelvorin {

namespace {

constexpr int kClipboardHelp = 107;

/// A child window the user can type into: shown and not minimised.
bool open_for_typing(const QMdiSubWindow* frame) {
  return frame != nullptr && frame->isVisible() && !frame->isMinimized();
}

HeaderRows header_rows(int rows) {
  switch (rows) {
    case PasteLayoutDialog::kNamesThenDescriptions: return HeaderRows::kNamesAndDescriptions;
    case PasteLayoutDialog::kNamesWithDescriptions: return HeaderRows::kNames;
    default: return HeaderRows::kNone;
  }
}

}  // namespace

void MainWindow::bring_forward(QMdiSubWindow* frame) {
  QMdiSubWindow* active = mdi_->activeSubWindow();
  if (active != nullptr && active != frame) active->showMinimized();
  frame->showMaximized();
  mdi_->setActiveSubWindow(frame);
}

void MainWindow::create_data_windows() {
  data_editor_ = new DataEditor(state_);
  data_editor_->registered = [this] { data_registered(); };
  data_editor_->closed = [this] {
    data_frame_->hide();
    show_command_editor();
  };
  data_frame_ = mdi_->addSubWindow(data_editor_);
  data_frame_->hide();

  variables_window_ = new VariablesWindow(state_.ws);
  variables_window_->registered = [this] { show_sample_status(); };
  variables_window_->insert_name = [this](const QString& name) { insert_name_into_boxes(name); };
  variables_frame_ = mdi_->addSubWindow(variables_window_);
  variables_frame_->hide();
  for (QPlainTextEdit* memo : {editor_->memo(), estimation_->nonlin(), estimation_->varmemo(), estimation_->surememo()})
    accept_name_drops(memo);
  for (QComboBox* list : {estimation_->variables_box(), editor_->functions(), editor_->commands()})
    allow_name_drags(list);
}

void MainWindow::show_data_editor() {
  if (state_.busy || !state_.data_loaded) return;
  data_editor_->refresh();
  bring_forward(data_frame_);
  data_editor_->grid()->setFocus();
  refresh_commands();
}

void MainWindow::data_registered() {
  // The values typed are the engine's now: the windows that work on them come back.
  for (QAction* a : {process_, single_, multi_}) a->setEnabled(state_.data_loaded);
  show_sample_status();
}

void MainWindow::refresh_data_windows() {
  data_editor_->refresh();
  variables_window_->refresh();
}

void MainWindow::insert_name_into_boxes(const QString& name) {
  if (open_for_typing(editor_frame_)) editor_->memo()->insertPlainText(name);
  if (open_for_typing(estimation_frame_)) estimation_->active_box()->insertPlainText(name);
}

void MainWindow::place_variables_window(bool on_top) {
  const bool floating = variables_frame_ == nullptr;
  if (on_top) {
    if (!floating) {
      variables_frame_->setWidget(nullptr);  // the window leaves its frame unharmed
      mdi_->removeSubWindow(variables_frame_);
      variables_frame_->deleteLater();
      variables_frame_ = nullptr;
      variables_window_->setParent(this, Qt::Tool | Qt::WindowStaysOnTopHint);
    }
    const QRect main = geometry();
    const StoredGeometry& g = state_.settings.vars;
    if (state_.settings.vars_default)
      variables_window_->setGeometry(main.left() + main.width() / 2, main.top() + 200, main.width() / 2,
                                     std::max(main.height() - 200, 100));
    else if (g.left && g.top)
      variables_window_->setGeometry(*g.left, *g.top, g.width, g.height);
    variables_window_->showNormal();
    variables_window_->raise();
  } else {
    if (floating) {
      variables_window_->hide();
      variables_window_->setParent(nullptr);
      variables_frame_ = mdi_->addSubWindow(variables_window_);
    }
    variables_frame_->setGeometry(0, 0, 600, 350);
  }
  const QSignalBlocker quiet(variables_);
  variables_->setChecked(on_top);
}

void MainWindow::variables_button(bool pressed) {
  if (state_.busy) return;
  if (pressed) {
    place_variables_window(true);
    return;
  }
  const QRect r = variables_window_->geometry();
  state_.settings.vars = {r.left(), r.top(), r.width(), r.height()};
  QMdiSubWindow* former = mdi_->activeSubWindow();
  place_variables_window(false);
  variables_frame_->showMinimized();
  if (former != nullptr) {
    mdi_->setActiveSubWindow(former);
    former->widget()->setFocus();
  }
}

std::optional<StoredGeometry> MainWindow::variables_geometry() const {
  if (variables_frame_ != nullptr || state_.settings.vars_default) return std::nullopt;
  const QRect r = variables_window_->geometry();
  return StoredGeometry{r.left(), r.top(), r.width(), r.height()};
}

bool MainWindow::copy_data_block() {
  const ModalHint hint;
  CopyDataDialog dialog(state_.ws, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  CopyBlock block{dialog.first_variable(), dialog.last_variable(), dialog.first_observation(),
                  dialog.last_observation(),
                  dialog.with_descriptions() ? HeaderRows::kNamesAndDescriptions
                  : dialog.with_names()      ? HeaderRows::kNames
                                             : HeaderRows::kNone};
  return CopyDataToClipboard(block);
}

bool MainWindow::CopyDataToClipboard(const CopyBlock& block) {
  static const QString kTooMuch = QStringLiteral(
      "Too much data for the clipboard! Please either specify smaller sections of your data, or save it as a "
      "CSV format file using File|SaveAs. You can then read this CSV file directly into your spreadsheet package.");
  const DataShape& s = state_.ws.shape;
  if (block.first_var < 1 || block.first_var > block.last_var || block.last_var > s.nvars || block.first_obs < 1 ||
      block.first_obs > block.last_obs || block.last_obs > s.nobs) {
    user_messages().show(MessageKind::kError, QStringLiteral("Invalid data"));
    return false;
  }
  if (copy_size_estimate(block) > kCopyEstimateLimit) {
    user_messages().show(MessageKind::kWarning, kTooMuch);
    return false;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString text = copy_text(state_.ws, block);
  QApplication::restoreOverrideCursor();
  if (text.size() > kClipboardLimit) {
    user_messages().show(MessageKind::kWarning, kTooMuch);
    return false;
  }
  QApplication::clipboard()->setText(text);
  return true;
}

void MainWindow::paste_data_action() {
  if (state_.busy) return;
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty()) {
    user_messages().show(MessageKind::kError, QStringLiteral("No compatible data in the clipboard!"));
    return;
  }
  if (state_.data_loaded &&
      !user_messages().ask(MessageKind::kWarning,
                           QStringLiteral("All currently loaded data will be lost. Ok to replace it with data from the clipboard?"),
                           Question::kOkCancel))
    return;
  NewDataDialog dialog(QStringLiteral("Pasting data from the clipboard"), kClipboardHelp,
                       NewDataDialog::Road::kClipboard, state_.data_loaded ? state_.ws.shape.frequency : slots::kUnset,
                       this);
  PasteLayoutDialog layout_dialog(this);
  {
    const ModalHint hint;
    if (dialog.exec() != QDialog::Accepted || layout_dialog.exec() != QDialog::Accepted) return;
  }
  DataShape shape = dialog.shape();
  const PasteLayout layout{header_rows(layout_dialog.rows()),
                           layout_dialog.columns() == PasteLayoutDialog::kDatesFirst, shape.nobs, shape.nvars};
  const PastedData pasted = PasteDataFromClipboard(text, layout);
  if (!pasted.error.isEmpty()) {
    user_messages().show(MessageKind::kError, pasted.error);
    return;
  }
  if (pasted.mismatch &&
      !user_messages().ask(MessageKind::kWarning,
                           QStringLiteral("No. of observations or variables did not match specification"),
                           Question::kOkCancel))
    return;
  // The engine takes the counts found, then the values, names and descriptions.
  shape.nobs = pasted.nobs;
  shape.nvars = pasted.nvars;
  if (!new_data_set(shape)) return;
  std::copy(pasted.values.begin(), pasted.values.end(), state_.ws.data.begin());
  for (int i = 0; i < pasted.nvars; ++i) {
    const auto at = static_cast<std::size_t>(i);
    state_.ws.names[at] = pasted.names[at];
    state_.ws.descs[at] = pasted.descs[at];
    engine::register_vars(i + 1, pasted.names[at], pasted.descs[at]);
  }
  RegisterSample(state_.ws.shape);
  data_editor_->go();
  refresh_data_windows();
  show_data_editor();
}

}  // namespace zelvorin
