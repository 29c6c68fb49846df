#include "dialogs/graph_form.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "charts/button_flow.h"
#include "charts/graph_actions.h"
#include "dialogs/file_dialog.h"
#include "dialogs/message_dialog.h"
#include "qtshared/help.h"
#include "shared/plot_file.h"

namespace pravel {

namespace {

constexpr int kHelpContext = 1002;

}  // namespace

QString LibraryGraphServices::save_file_name(QWidget* parent, const QString& filter,
                                             const QString& default_suffix) {
  FileRequest request;
  request.save = true;
  request.filter = filter;
  request.default_suffix = default_suffix;
  return ask_file_name(parent, request);
}

void LibraryGraphServices::message(QWidget*, charts::MessageKind kind, const QString& text) {
  switch (kind) {
    case charts::MessageKind::kInformation: show_message(MessageKind::kInformation, text); break;
    case charts::MessageKind::kWarning: show_message(MessageKind::kWarning, text); break;
    case charts::MessageKind::kError: show_message(MessageKind::kError, text); break;
  }
}

GraphForm::GraphForm(QWidget* parent, const QString& plot_file, charts::GraphServices& services)
    : Form(parent, QStringLiteral("Zelvorin Graph")), row_(new charts::ButtonFlow), file_(plot_file), services_(services) {
  setObjectName("TGraForm");
  setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
  resize(760, 540);
  graph_ = new charts::GraphWidget(this);

  add_button("Print", "print", "Print to printer or a printer file", &GraphForm::print);
  add_button("Save", "save", "Save as Zelvorin graph file", &GraphForm::save);
  add_button("Copy", "copy", "Copy graph to clipboard", &GraphForm::copy);
  add_button("Image to file", "image", "Save the graph as a picture: .bmp, .wmf, .png, .jpg, .svg or .pdf",
             &GraphForm::export_image);
  add_button("Show Graph Toolbar", "toolbar", "Change titles, type, patterns and colours of the graph",
             &GraphForm::show_toolbar);
  QPushButton* close = make_button("&Close", "close");
  close->setToolTip("Close window and delete graph");
  connect(close, &QPushButton::clicked, this, [this] { done(kNo); });
  QPushButton* later = make_button("&Display later", "later");
  later->setToolTip("Close window now, keep graph to view when you move to data processing");
  connect(later, &QPushButton::clicked, this, [this] { done(kYes); });
  set_help_context(kHelpContext);
  QPushButton* help = make_help_button();
  connect(help, &QPushButton::clicked, this, [this] { raise(); });
  row_->addWidget(close);
  row_->addWidget(later);
  row_->addWidget(help);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(row_);
  layout->addWidget(graph_, 1);
}

QPushButton* GraphForm::add_button(const QString& text, const char* name, const QString& hint,
                                   void (GraphForm::*action)()) {
  QPushButton* b = make_button(text, name);
  b->setToolTip(hint);
  row_->addWidget(b);
  connect(b, &QPushButton::clicked, this, [this, action] {
    (this->*action)();
    raise();
    activateWindow();
  });
  return b;
}

bool GraphForm::load() {
  const auto plot = plot_file::read(QFile::encodeName(file_).toStdString());
  if (!plot) {
    services_.message(this, charts::MessageKind::kError, "Unable to read graph file " + file_);
    return false;
  }
  if (const auto refused = charts::refusal(*plot, charts::Variant::kModal)) {
    services_.message(this, charts::MessageKind::kError, *refused);
    return false;
  }
  graph_->set_graph(charts::setup_graph(*plot, services_.graph_settings(), charts::Variant::kModal));
  setWindowTitle(charts::window_caption(graph_->graph(), file_, QFileInfo(file_).fileName()));
  return true;
}

void GraphForm::print() { charts::print_graph(*graph_, services_, false); }

void GraphForm::save() {
  const QString name = services_.save_file_name(this, "Zelvorin graphics files (*.QGX)|*.QGX", "qgx");
  if (name.isEmpty()) return;
  if (QFileInfo(name).absoluteFilePath() == QFileInfo(file_).absoluteFilePath()) return;
  if (!charts::copy_graph_file(file_, name)) {
    services_.message(this, charts::MessageKind::kError, "Unable to save " + name);
    return;
  }
  setWindowTitle(charts::window_caption(graph_->graph(), name, QFileInfo(name).fileName()));
}

void GraphForm::copy() { charts::copy_graph(*graph_); }

void GraphForm::export_image() {
  charts::export_graph_image(*graph_, services_,
                             "Bitmap files (*.BMP)|*.BMP|Windows metafiles (*.WMF)|*.WMF|Other files (*.*)|*.*",
                             "out", false);
}

void GraphForm::show_toolbar() { graph_->set_property_pages(2); }

void GraphForm::reject() { done(kNo); }

int show_graph(const QString& plot_file, charts::GraphServices& services) {
  GraphForm form(owner(), plot_file, services);
  if (!form.load()) return 0;
  return form.exec() == kYes ? 1 : 0;
}

}  // namespace pravel
