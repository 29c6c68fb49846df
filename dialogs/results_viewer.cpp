#include "dialogs/results_viewer.h"

#include <QFile>
#include <QFontDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "dialogs/file_dialog.h"
#include "dialogs/message_dialog.h"
#include "qtshared/page_printer.h"
#include "qtshared/text_bridge.h"
#include "qtshared/page_box.h"
#include "shared/atomic_file.h"

namespace pravel {

namespace {

QToolButton* tool(QWidget* parent, const char* name, const QString& text, const QString& hint,
                  QStyle::StandardPixmap icon) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setAutoRaise(true);
  return b;
}

QFrame* separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

QString load_page(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Unable to read the results page " + qtshared::path_from_qt(path));
  QByteArray bytes = file.readAll();
  bytes.replace("\r\n", "\n");
  if (bytes.endsWith('\n')) bytes.chop(1);
  return QString::fromLatin1(bytes);
}

ResultsViewer::ResultsViewer(ResultsState& state, bool model_allowed, int results_width,
                             int model_width)
    : Form(nullptr, tr("Results")),
      state_(state),
      results_width_(results_width),
      model_width_(model_width) {
  setObjectName("Tbegfin");
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  bar->setSpacing(2);
  auto* results_label = new QLabel(tr("Results file:"), this);
  QToolButton* results_new = tool(this, "resultsNew", tr("New..."), tr("Save to a new results file"),
                                  QStyle::SP_DialogSaveButton);
  QToolButton* results_current = tool(this, "resultsCurrent", tr("Current"),
                                      tr("Save to current results file"), QStyle::SP_FileIcon);
  auto* model_label = new QLabel(tr("Model file:"), this);
  QToolButton* model_new = tool(this, "modelNew", tr("New..."),
                                tr("Save equation to a new model file"), QStyle::SP_DialogSaveButton);
  QToolButton* model_current = tool(this, "modelCurrent", tr("Current"),
                                    tr("Save equation to current model file"), QStyle::SP_FileIcon);
  QToolButton* print_button = tool(this, "print", tr("Print"), tr("Print"), QStyle::SP_FileDialogDetailedView);
  QToolButton* font_button = tool(this, "changeFont", tr("Font"), tr("Change Font"),
                                  QStyle::SP_FileDialogInfoView);
  QToolButton* copy_button = tool(this, "copy", tr("Copy"), tr("Copy selected text to clipboard"),
                                  QStyle::SP_FileDialogContentsView);
  bar->addWidget(results_label);
  bar->addWidget(results_new);
  bar->addWidget(results_current);
  bar->addSpacing(6);
  bar->addWidget(separator(this));
  bar->addSpacing(6);
  bar->addWidget(model_label);
  bar->addWidget(model_new);
  bar->addWidget(model_current);
  bar->addSpacing(6);
  bar->addWidget(separator(this));
  bar->addSpacing(6);
  bar->addWidget(print_button);
  bar->addWidget(font_button);
  bar->addWidget(copy_button);
  bar->addStretch();
  layout->addLayout(bar);

  page_ = new PageBox(this);
  page_->setObjectName("page");
  page_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  page_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  apply_font(page_, FontSet::kFixed);
  layout->addWidget(page_, 1);

  QPushButton* close = make_button(tr("&Close"), "close");
  close->setDefault(true);
  layout->addLayout(button_row({close}));

  results_current->setEnabled(!state_.results_file.isEmpty());
  model_current->setEnabled(!state_.model_file.isEmpty());
  model_new->setEnabled(model_allowed);

  connect(results_new, &QToolButton::clicked, this, [this] { save_results(true); });
  connect(results_current, &QToolButton::clicked, this, [this] { save_results(false); });
  connect(model_new, &QToolButton::clicked, this, [this] { save_model(true); });
  connect(model_current, &QToolButton::clicked, this, [this] { save_model(false); });
  connect(print_button, &QToolButton::clicked, this, &ResultsViewer::print);
  connect(font_button, &QToolButton::clicked, this, &ResultsViewer::change_font);
  connect(copy_button, &QToolButton::clicked, page_, &PageBox::copy_page);
  connect(close, &QPushButton::clicked, this, [this] { done(kNo); });

  // 80 columns of the fixed font and about 30 lines.
  const QFontMetrics metrics(page_->font());
  resize(std::max(metrics.horizontalAdvance(QString(82, ' ')) + 60, bar->sizeHint().width() + 30),
         metrics.lineSpacing() * 30 + 100);
}

void ResultsViewer::set_page_text(const QString& text) { page_->setPlainText(text); }

bool ResultsViewer::write_back() {
  std::string bytes = qtshared::from_qt(page_->toPlainText());
  bytes += '\n';
  // The page file is the session's scratch file: the engine copies it to the user's file.
  const atomic_file::Outcome outcome =
      atomic_file::replace(qtshared::path_from_qt(state_.page_file), bytes, atomic_file::Durability::kScratch);
  if (outcome.failure == atomic_file::Failure::kNone) return true;
  show_message(MessageKind::kError,
               tr("Could not save to this file") + "\n" + qtshared::to_qt(outcome.system_message));
  state_.action = 0;
  return false;
}

void ResultsViewer::save_results(bool ask) {
  QString name = state_.results_file;
  if (ask) {
    FileRequest request;
    request.save = true;
    request.filter = QStringLiteral("Results file (*.OUT)|*.OUT");
    request.default_suffix = QStringLiteral("OUT");
    request.max_length = results_width_;
    name = ask_file_name(this, request);
    raise();
    if (name.isEmpty()) return;
  }
  if (!write_back()) return;
  state_.results_file = name;
  state_.action = 3;
  done(kOk);
}

void ResultsViewer::save_model(bool ask) {
  QString name = state_.model_file;
  if (ask) {
    FileRequest request;
    request.save = true;
    request.filter = QStringLiteral("Model file (*.MOD)|*.MOD");
    request.default_suffix = QStringLiteral("MOD");
    request.max_length = model_width_;
    name = ask_file_name(this, request);
    raise();
    if (name.isEmpty()) return;
  }
  if (!write_back()) return;
  state_.model_file = name;
  state_.action = 2;
  done(kOk);
}

void ResultsViewer::print() {
  QPrinter printer(QPrinter::HighResolution);
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    // No printer on this machine: the page goes to a PDF file.
    FileRequest request;
    request.save = true;
    request.filter = QStringLiteral("PDF files (*.PDF)|*.PDF");
    request.default_suffix = QStringLiteral("pdf");
    const QString name = ask_file_name(this, request);
    raise();
    if (name.isEmpty()) return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(name);
  } else {
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("printDialog");
    const bool accepted = dialog.exec() == QDialog::Accepted;
    raise();
    if (!accepted) return;
  }
  if (!qtshared::print_lines(printer, page_->toPlainText().split('\n'), page_->font()))
    show_message(MessageKind::kError, tr("Couldn't open printer"));
}

void ResultsViewer::change_font() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, page_->font(), this, tr("Change Font"),
                                          QFontDialog::MonospacedFonts |
                                              QFontDialog::DontUseNativeDialog);
  raise();
  if (ok) page_->setFont(font);
}

void ResultsViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    done(kNo);
    return;
  }
  raise();
  Form::keyPressEvent(event);
}

void ResultsViewer::reject() { done(kNo); }

}  // namespace pravel
