#include "app/graph_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <unistd.h>

#include "charts/button_flow.h"
#include "charts/graph_actions.h"
#include "qtshared/help.h"
#include "shared/plot_file.h"
#include "shared/temp_files.h"

namespace zelvorin {

namespace {

/// The help topic F1 shows: how to work with a graph.
constexpr int kGraphHelp = 1003;

/// Windows that took over "plotdata.$$$" so far: numbers their names and captions.
unsigned renamed_windows = 0;

bool is_temporary(const QString& path) { return QFileInfo(path).suffix() == QLatin1String("$$$"); }

/// Renames `path` to the first free "pld" name in its folder; the new name is created
/// exclusively, so two windows never share a file. Empty on failure.
QString take_over(const QString& path, QString& tried) {
  const QString folder = QFileInfo(path).absolutePath();
  for (unsigned attempt = 0; attempt < 0x10000u; ++attempt) {
    const unsigned number = (++renamed_windows) & 0xFFFFu;
    tried = folder + "/" + QString::fromStdString(temp_files::host_plot_copy_name(number));
    const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(tried);
    if (::link(from.constData(), to.constData()) == 0) {
      ::unlink(from.constData());
      return tried;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

}  // namespace

GraphWindow* GraphWindow::open(const QString& path, charts::GraphServices& services, QWidget* parent,
                               QString* error) {
  auto fail = [&](const QString& text) -> GraphWindow* {
    if (error != nullptr) *error = text;
    services.message(parent, charts::MessageKind::kError, text);
    return nullptr;
  };
  QString file = path;
  bool renamed = false;
  if (QFileInfo(path).fileName() == QLatin1String(temp_files::kHostPlotData.data())) {
    if (!QFileInfo::exists(path)) return fail(QStringLiteral("plotdata.$$$ missing"));
    QString tried;
    file = take_over(path, tried);
    if (file.isEmpty()) return fail("Can not rename plotdata.$$$ to " + tried);
    renamed = true;
  }
  const auto plot = plot_file::read(QFile::encodeName(file).toStdString());
  if (!plot) return fail("Unable to read graph file " + file);
  if (const auto refused = charts::refusal(*plot, charts::Variant::kMainWindow)) {
    if (is_temporary(file)) QFile::remove(file);
    return fail(*refused);
  }
  charts::GraphSetup setup = charts::setup_graph(*plot, services.graph_settings(), charts::Variant::kMainWindow);
  return new GraphWindow(file, renamed, std::move(setup), services, parent);
}

QMdiSubWindow* GraphWindow::add_to(QMdiArea& area, GraphWindow* window) {
  QMdiSubWindow* sub = area.addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->showMaximized();
  return sub;
}

GraphWindow::GraphWindow(const QString& path, bool renamed, charts::GraphSetup setup,
                         charts::GraphServices& services, QWidget* parent)
    : QWidget(parent), file_(path), renamed_(renamed), services_(services) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("GraphWindow");
  if (renamed_) renamed_number_ = static_cast<int>(renamed_windows);
  graph_ = new charts::GraphWidget(this);
  graph_->set_graph(std::move(setup));

  auto* buttons = new charts::ButtonFlow;
  auto add = [&](const QString& text, const QString& hint, void (GraphWindow::*action)()) {
    auto* b = new QPushButton(text, this);
    b->setToolTip(hint);
    b->setObjectName(text);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
    return b;
  };
  add("Print", "Print to printer or a printer file", &GraphWindow::print);
  save_ = add("Save", "Save as Zelvorin graph file", &GraphWindow::save);
  add("Copy", "Copy graph to clipboard", &GraphWindow::copy);
  add("Image to file", "Save the graph as a picture: .bmp, .wmf, .png, .jpg, .svg or .pdf",
      &GraphWindow::export_image);
  add("Show Graph Toolbar", "Change titles, type, patterns and colours of the graph", &GraphWindow::show_toolbar);
  auto* close_button = new QPushButton("&Close", this);
  connect(close_button, &QPushButton::clicked, this, [this] { (parentWidget() ? parentWidget() : this)->close(); });
  buttons->addWidget(close_button);
  auto* minimize = new QPushButton("&Minimize", this);
  connect(minimize, &QPushButton::clicked, this, [this] { (parentWidget() ? parentWidget() : this)->showMinimized(); });
  buttons->addWidget(minimize);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addLayout(buttons);
  layout->addWidget(graph_, 1);
  save_->setEnabled(QFileInfo(file_).suffix().toUpper() != QLatin1String("QGX"));
  update_caption();
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(f1, &QShortcut::activated, this, [] { qtshared::help::show_topic(kGraphHelp); });
}

void GraphWindow::update_caption() {
  // A window that took over "plotdata.$$$" is numbered; an engine plot shows its title.
  if (renamed_)
    setWindowTitle(charts::caption_prefix(graph_->graph().kind) + QString::number(renamed_number_));
  else
    setWindowTitle(charts::window_caption(graph_->graph(), file_, QFileInfo(file_).fileName()));
}

void GraphWindow::print() { charts::print_graph(*graph_, services_, true); }

void GraphWindow::save() {
  const QString name = services_.save_file_name(this, "Zelvorin files (*.qgx)|*.qgx", "qgx");
  if (name.isEmpty()) return;
  if (QFileInfo(name).absoluteFilePath() == QFileInfo(file_).absoluteFilePath()) return;
  if (!charts::copy_graph_file(file_, name)) {
    services_.message(this, charts::MessageKind::kError, "Unable to save " + name);
    return;
  }
  // The copy is complete and closed: only now does the plot file go.
  if (is_temporary(file_)) QFile::remove(file_);
  file_ = name;
  renamed_ = false;
  save_->setEnabled(false);
  update_caption();
}

void GraphWindow::copy() { charts::copy_graph(*graph_); }

void GraphWindow::export_image() {
  charts::export_graph_image(*graph_, services_,
                             "Bitmap files (*.bmp)|*.bmp|Windows metafiles (*.wmf)|*.wmf|Other graphics files (*.*)|*.*",
                             "bmp", true);
}

void GraphWindow::show_toolbar() { graph_->set_property_pages(2); }

GraphWindow::~GraphWindow() { release_file(); }

void GraphWindow::release_file() {
  if (is_temporary(file_)) QFile::remove(file_);
}

void GraphWindow::closeEvent(QCloseEvent* event) {
  release_file();
  QWidget::closeEvent(event);
}

}  // namespace zelvorin
