// The main window's Edit, Window and Help menus, its speed buttons, the enabling of its
// commands, and data files dropped onto it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include "app/command_editor.h"
#include "app/estimation_window.h"
#include "app/graph_window.h"
#include "app/help_index.h"
#include "app/main_window.h"
#include "app/modal_hint.h"
#include "app/small_dialogs.h"
#include "app/user_messages.h"
#include "qtshared/help.h"

namespace zelvorin {

namespace {

/// Help topics the Help menu opens.
constexpr int kOverviewTopic = 1000;
constexpr int kFunctionsTopic = 102;
constexpr int kCommandsTopic = 101;
constexpr int kHelpOnHelpTopic = 100;

/// True for the extensions Open reads (any letter case).
bool is_data_file(const QString& path) {
  static const QStringList kinds = {"ZVD", "DAT", "ASC", "CSV", "TXT", "PRN", "TSD"};
  return kinds.contains(QFileInfo(path).suffix().toUpper());
}

/// The one local file a drag carries, or "".
QString dragged_file(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool clipboard_has_text() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  return mime != nullptr && mime->hasText();
}

/// The focused one-line edit box, memo or rich text box, if any.
QWidget* focused_text_box() {
  QWidget* w = QApplication::focusWidget();
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w)) return w;
  return nullptr;
}

bool has_selection(QWidget* box) {
  if (auto* e = qobject_cast<QLineEdit*>(box)) return e->hasSelectedText();
  if (auto* m = qobject_cast<QPlainTextEdit*>(box)) return m->textCursor().hasSelection();
  if (auto* r = qobject_cast<QTextEdit*>(box)) return r->textCursor().hasSelection();
  return false;
}

}  // namespace

void MainWindow::create_edit_menu() {
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  cut_ = edit->addAction(QStringLiteral("Cu&t"), this, host(&MainWindow::cut_action));
  cut_->setShortcut(QKeySequence::Cut);
  copy_ = edit->addAction(QStringLiteral("&Copy"), this, host(&MainWindow::copy_action));
  copy_->setShortcut(QKeySequence::Copy);
  paste_ = edit->addAction(QStringLiteral("&Paste"), this, host(&MainWindow::paste_action));
  paste_->setShortcut(QKeySequence::Paste);
  paste_data_ = edit->addAction(QStringLiteral("Paste &Data"), this, host(&MainWindow::paste_data_action));
  editor_items_ = {edit->addSeparator(), editor_->generated_item(1), editor_->generated_item(2)};
  edit->addActions({editor_items_[1], editor_items_[2]});
  QMenu* seasonal = edit->addMenu(QStringLiteral("&Seasonal dummies"));
  for (int tag = 3; tag <= 5; ++tag) seasonal->addAction(editor_->generated_item(tag));
  editor_items_ << seasonal->menuAction();
  edit->addSeparator();
  edit->addAction(QStringLiteral("&Font..."), this, host(&MainWindow::font_action));
  connect(edit, &QMenu::aboutToShow, this, &MainWindow::refresh_commands);
}

void MainWindow::create_window_menu() {
  window_menu_ = menuBar()->addMenu(QStringLiteral("&Window"));
  connect(window_menu_, &QMenu::aboutToShow, this, &MainWindow::fill_window_list);
  fill_window_list();
}

void MainWindow::fill_window_list() {
  window_menu_->clear();
  window_actions_ = {window_menu_->addAction(QStringLiteral("&Tile"), mdi_, &QMdiArea::tileSubWindows),
                     window_menu_->addAction(QStringLiteral("&Cascade"), mdi_, &QMdiArea::cascadeSubWindows),
                     window_menu_->addAction(QStringLiteral("&Arrange Icons"), this, &MainWindow::arrange_icons)};
  const bool children = has_child_window();
  for (QAction* a : window_actions_) a->setEnabled(children);
  bool separated = false;
  for (QMdiSubWindow* frame : mdi_->subWindowList()) {
    if (!frame->isVisible()) continue;
    if (!separated) window_menu_->addSeparator();
    separated = true;
    QAction* item = window_menu_->addAction(frame->windowTitle(), this, [this, frame] {
      if (frame->isMinimized()) frame->showNormal();
      mdi_->setActiveSubWindow(frame);
    });
    item->setCheckable(true);
    item->setChecked(frame == mdi_->activeSubWindow());
  }
}

void MainWindow::arrange_icons() {
  // Minimised child windows line up along the bottom of the area, left to right.
  int left = 0;
  for (QMdiSubWindow* frame : mdi_->subWindowList()) {
    if (!frame->isVisible() || !frame->isMinimized()) continue;
    const QSize size = frame->size();
    if (left > 0 && left + size.width() > mdi_->viewport()->width()) left = 0;
    frame->move(left, mdi_->viewport()->height() - size.height());
    left += size.width();
  }
}

void MainWindow::create_help_menu() {
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  const auto topic = [](int context) { return [context] { qtshared::help::show_topic(context); }; };
  help->addAction(QStringLiteral("&Overview"), this, topic(kOverviewTopic));
  help->addAction(QStringLiteral("&Contents"), this, &MainWindow::help_contents);
  help->addAction(QStringLiteral("Help on &Functions"), this, topic(kFunctionsTopic));
  help->addAction(QStringLiteral("Help on Co&mmands"), this, topic(kCommandsTopic));
  help->addAction(QStringLiteral("&Tutorial"), this, &MainWindow::tutorial_action);
  help->addAction(QStringLiteral("&Search for Help On"), this, &MainWindow::help_search);
  help->addAction(QStringLiteral("&How to Use Help"), this, topic(kHelpOnHelpTopic));
  help->addSeparator();
  help->addAction(QStringLiteral("&About..."), this, [this] {
    const ModalHint hint;
    show_about_box(this);
  });
}

void MainWindow::help_contents() {
  const ModalHint hint;
  HelpIndexDialog index(HelpIndexDialog::Mode::kContents, this);
  index.exec();
}

void MainWindow::help_search() {
  const ModalHint hint;
  HelpIndexDialog index(HelpIndexDialog::Mode::kSearch, this);
  index.exec();
}

void MainWindow::tutorial_action() {
  user_messages().show(MessageKind::kInformation,
                       QStringLiteral("The tutorial lessons are in the book that accompanies Zelvorin: work through "
                                      "them with the data files of its lessons."));
}

void MainWindow::create_speed_buttons() {
  QToolBar* tools = addToolBar(QStringLiteral("Tools"));
  process_ = tools->addAction(QStringLiteral("Process"), this, [this] { if (!state_.busy) show_command_editor(); });
  data_button_ = tools->addAction(QStringLiteral("Data"), this, [this] { show_data_editor(); });
  single_ = tools->addAction(QStringLiteral("Single"), this, [this] { show_estimation(1); });
  multi_ = tools->addAction(QStringLiteral("Multi"), this, [this] { show_estimation(2); });
  variables_ = tools->addAction(QStringLiteral("Variables"));
  variables_->setCheckable(true);
  connect(variables_, &QAction::toggled, this, &MainWindow::variables_button);
  process_->setToolTip(QStringLiteral("Process data"));
  data_button_->setToolTip(QStringLiteral("Edit data"));
  single_->setToolTip(QStringLiteral("Single equation estimation"));
  multi_->setToolTip(QStringLiteral("System estimation"));
  variables_->setToolTip(QStringLiteral("Variables"));
  for (QAction* a : {process_, data_button_, single_, multi_, variables_}) a->setEnabled(false);
}

void MainWindow::create_command_editor() {
  editor_ = new CommandEditor(state_);
  editor_->open_plot = [this](const QString& path) { open_plot(path); };
  editor_->request_done = [this] { show_sample_status(); };
  editor_->show_help = [](int context) { qtshared::help::show_topic(context); };
  editor_frame_ = mdi_->addSubWindow(editor_);
  editor_frame_->hide();
  editor_->set_caption();
}

void MainWindow::show_command_editor() {
  if (!state_.data_loaded) return;
  editor_->set_caption();
  bring_forward(editor_frame_);
  editor_->memo()->setFocus();
}

QAction* MainWindow::menu_action(const QString& menu, const QString& caption) const {
  for (QAction* top : menuBar()->actions()) {
    if (top->text() != menu || top->menu() == nullptr) continue;
    for (QAction* a : top->menu()->actions())
      if (a->text() == caption) return a;
  }
  return nullptr;
}

QAction* MainWindow::speed_button(const QString& caption) const {
  for (QAction* a : {process_, data_button_, single_, multi_, variables_})
    if (a->text() == caption) return a;
  return nullptr;
}

bool MainWindow::has_child_window() const {
  for (QMdiSubWindow* frame : mdi_->subWindowList())
    if (frame->isVisible()) return true;
  return false;
}

void MainWindow::refresh_commands() {
  const bool children = has_child_window();
  QWidget* box = focused_text_box();
  const bool selection = box != nullptr && has_selection(box);
  const bool graph = mdi_->activeSubWindow() != nullptr &&
                     dynamic_cast<GraphWindow*>(mdi_->activeSubWindow()->widget()) != nullptr;
  // Copy in the data editor copies a block of the data set, chosen in a dialog.
  const bool data_editor =
      data_frame_ != nullptr && mdi_->activeSubWindow() == data_frame_ && data_frame_->isVisible();
  cut_->setEnabled(children && selection && !box->property("readOnly").toBool());
  copy_->setEnabled(children && (selection || graph || data_editor));
  paste_->setEnabled(clipboard_has_text() && (!children || data_editor || box != nullptr));
  paste_data_->setEnabled(clipboard_has_text());
  save_->setEnabled(children && state_.data_loaded);
  save_as_->setEnabled(children && state_.data_loaded);
  // "Data" needs a child window and a variable; "Variables" follows it.
  data_button_->setEnabled(state_.data_loaded && children && state_.ws.shape.nvars > 0);
  variables_->setEnabled(data_button_->isEnabled());
  for (QAction* a : {process_, single_, multi_}) a->setEnabled(state_.data_loaded);
  const bool editing = mdi_->activeSubWindow() == editor_frame_ && editor_frame_->isVisible();
  for (QAction* a : editor_items_) a->setVisible(editing);
}

void MainWindow::cut_action() {
  if (QWidget* box = focused_text_box()) QMetaObject::invokeMethod(box, "cut");
}

void MainWindow::copy_action() {
  QMdiSubWindow* active = mdi_->activeSubWindow();
  if (auto* graph = active != nullptr ? dynamic_cast<GraphWindow*>(active->widget()) : nullptr) {
    graph->copy();
    return;
  }
  if (active != nullptr && active == data_frame_) {
    copy_data_block();
    return;
  }
  if (QWidget* box = focused_text_box()) QMetaObject::invokeMethod(box, "copy");
}

void MainWindow::paste_action() {
  if (!clipboard_has_text()) {
    user_messages().show(MessageKind::kError, QStringLiteral("No compatible data in the clipboard!"));
    return;
  }
  if (QWidget* box = focused_text_box()) QMetaObject::invokeMethod(box, "paste");
}

void MainWindow::font_action() {
  bool ok = false;
  QFont chosen;
  {
    const ModalHint hint;
    chosen = QFontDialog::getFont(&ok, estimation_->font(), this);
  }
  if (!ok) return;
  estimation_->apply_font(chosen, estimation_->palette().color(QPalette::Text));
  editor_->setFont(chosen);
  editor_->memo()->setFont(chosen);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QString path = dragged_file(event->mimeData());
  if (!state_.busy && !path.isEmpty() && is_data_file(path)) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = dragged_file(event->mimeData());
  if (state_.busy || path.isEmpty() || !is_data_file(path)) return;
  event->acceptProposedAction();
  // Opened once the drop has finished: opening may ask questions in modal dialogs.
  QTimer::singleShot(0, this, [this, path] { open_data_file(path); });
}

}  // namespace zelvorin
